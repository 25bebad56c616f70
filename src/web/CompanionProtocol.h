// The messages between Scrivano and its companion program vexo1, over local sockets in the user's
// runtime folder. One format for both directions, used by both programs:
//
//   offset  size  field
//   0       2     magic "VX"
//   2       1     version (kProtocolVersion)
//   3       1     kind (MessageKind)
//   4       4     request id, little-endian; a reply carries the id of its request
//   8       4     payload length in bytes, little-endian, at most kMaxPayload
//   12      n     payload: UTF-8 text
//
// A frame with another magic or version, an unknown kind, a longer payload or a payload that is not
// UTF-8 is malformed: the reader refuses it and the connection is dropped.
//
// Sockets: the companion listens on "vexo1-<window id>" (its main window's id in decimal), Scrivano on
// "scrivano-<window id>" (its main frame's). Both are created with mode 0600 and answer only peers of
// the same user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scrivano::companion {

inline constexpr std::uint8_t kProtocolVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
// Enough for the text of many long pages; anything larger is refused.
inline constexpr std::size_t kMaxPayload = 8u << 20;

enum class MessageKind : std::uint8_t {
  kAddressList = 1,      // Scrivano -> companion: the addresses, each followed by "\r\n"; no reply on this
                         // connection, the extracted text comes as kCopyData to Scrivano's socket
  kCopyData = 2,         // companion -> Scrivano: header lines, a "=====" line, the extracted text
  kGetAddress = 3,       // -> companion; answered by kAddress
  kAddress = 4,          // the page's address
  kSetAddress = 5,       // -> companion, payload the new address; answered by kDone
  kDone = 6,             // a request without an answer of its own was carried out
  kGetBodyText = 7,      // -> companion; answered by kBodyText
  kBodyText = 8,         // the inner text of the page's body
  kError = 9,            // a request could not be carried out; payload says why
  kGetWindowState = 10,  // -> companion; answered by kWindowState
  kWindowState = 11,     // "normal", "minimized" or "hidden"
  kHide = 12,            // -> companion: hide the window; answered by kDone
  kPageDone = 13,        // companion -> Scrivano, while it extracts: one page ended (a PageReport)
  kReady = 14,           // companion -> Scrivano, once it serves: the name of its socket
  kCopyDataPart = 15,    // companion -> Scrivano: a leading piece of a kCopyData text that does not fit
                         // one frame; the pieces and the final kCopyData come on one connection
};

struct Message {
  MessageKind kind = MessageKind::kDone;
  std::uint32_t requestId = 0;
  std::string payload;  // UTF-8
  bool operator==(const Message&) const = default;
};

// The frame's bytes. The payload must be UTF-8 and at most kMaxPayload bytes (not checked here: a
// larger one is refused by the reader on the other side).
std::string EncodeMessage(const Message& message);

// Reads frames from a byte stream that may arrive in any pieces.
class FrameReader {
 public:
  enum class Status { kNeedMore, kMessage, kMalformed };

  // Adds bytes read from the connection.
  void Feed(std::string_view bytes);
  // The next complete message, kNeedMore until one is complete, or kMalformed (for good: the reader
  // refuses everything after a malformed frame). error() says what was wrong.
  Status Next(Message& message);
  const std::string& error() const { return error_; }

 private:
  std::string buffer_;
  std::size_t consumed_ = 0;
  std::string error_;
};

bool IsKnownKind(std::uint8_t kind);
// Cuts UTF-8 text into pieces of at most maxBytes (at least 4), each ending at a character boundary.
std::vector<std::string_view> SplitUtf8(std::string_view text, std::size_t maxBytes);

// What the companion says about each page as it ends: "address \t milliseconds \t characters \t failure"
// (characters -1 and the reason in failure when the page could not be read).
struct PageReport {
  std::string address;
  long milliseconds = 0;
  long characters = -1;
  std::string failure;
  bool operator==(const PageReport&) const = default;
};
std::string EncodePageReport(const PageReport& report);
std::optional<PageReport> ParsePageReport(std::string_view payload);
bool IsValidUtf8(std::string_view bytes);

// The socket names and the folder they live in: $XDG_RUNTIME_DIR, or, without it, a folder of the user's
// own under the temporary folder (created with mode 0700; empty when that cannot be made safely).
std::string RuntimeFolder();
std::string CompanionSocketName(std::uint64_t windowId);
std::string ScrivanoSocketName(std::uint64_t windowId);
// The full path of a socket name in the runtime folder.
std::string SocketPath(std::string_view name);

// The launch token the companion expects as the first part of its argument: "<token>;<window id>" for
// page extraction (the window whose socket receives the reply), the token alone for translation.
inline constexpr std::string_view kLaunchToken = "vexo1-scrivano";
// The window id after the token, or nullopt when the argument is not "<token>" or "<token>;<digits>"
// (0 for the token alone).
std::optional<std::uint64_t> ParseLaunchArgument(std::string_view argument);

}  // namespace scrivano::companion
