// Scrivano's side of the companion's sockets, on plain POSIX local sockets: a request with a time limit,
// and the endpoint that receives the companion's extracted text. Both talk only to peers of the same user
// and refuse anything that is not a well-formed message of CompanionProtocol.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "web/CompanionProtocol.h"

namespace scrivano::companion {

// Connects to the socket at path; -1 when there is none, or when its peer is another user (the peer's
// credentials are checked, so a socket that someone else put in place is not talked to).
int ConnectLocalSocket(const std::string& path, std::string* error = nullptr);

// Sends the request on a new connection and waits for its reply, at most timeoutMs in all. nullopt
// when the socket is missing, the time is up, the peer closed the connection or sent something
// malformed; error says which.
std::optional<Message> Request(const std::string& path, const Message& request, int timeoutMs,
                               std::string* error = nullptr);
// Sends the message on a new connection without waiting for a reply.
bool Send(const std::string& path, const Message& message, int timeoutMs, std::string* error = nullptr);

// A listening socket (mode 0600) served on a thread of its own. Every complete kCopyData text that a
// peer of the same user sends (with the kCopyDataPart pieces before it on its connection, up to
// kMaxCopyData bytes in all) reaches onCopyData, and every kPageDone and kReady message reaches onNotice
// when one is given (on that thread); other kinds, malformed frames and peers of another user end their
// connection, and log gets a line saying why.
class CopyDataEndpoint {
 public:
  using TextHandler = std::function<void(std::string utf8)>;
  using LogHandler = std::function<void(const std::string& line)>;
  using NoticeHandler = std::function<void(const Message& message)>;
  // The longest text one connection may hand over in pieces.
  static constexpr std::size_t kMaxCopyData = std::size_t{256} << 20;

  CopyDataEndpoint(TextHandler onCopyData, LogHandler log, NoticeHandler onNotice = {});
  ~CopyDataEndpoint();
  CopyDataEndpoint(const CopyDataEndpoint&) = delete;
  CopyDataEndpoint& operator=(const CopyDataEndpoint&) = delete;

  // Listens at path (a stale socket file there is replaced). False when that fails.
  bool Listen(const std::string& path);
  void Close();
  const std::string& Path() const { return path_; }

 private:
  void Serve();

  TextHandler onCopyData_;
  LogHandler log_;
  NoticeHandler onNotice_;
  std::string path_;
  int listenFd_ = -1;
  int wakeFds_[2] = {-1, -1};
  std::thread thread_;
};

// The user id of the peer of a connected local socket, or -1 when unknown.
long PeerUserId(int fd);

}  // namespace scrivano::companion
