#include "web/CompanionProtocol.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>

namespace scrivano::companion {
namespace {

constexpr char kMagic[2] = {'V', 'X'};

void PutUint32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t GetUint32(const char* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

}  // namespace

bool IsKnownKind(std::uint8_t kind) {
  return kind >= static_cast<std::uint8_t>(MessageKind::kAddressList) &&
         kind <= static_cast<std::uint8_t>(MessageKind::kCopyDataPart);
}

std::vector<std::string_view> SplitUtf8(std::string_view text, std::size_t maxBytes) {
  std::vector<std::string_view> pieces;
  while (text.size() > maxBytes) {
    std::size_t cut = maxBytes;
    // Back to the first byte of the character that would be cut.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = maxBytes;
    pieces.push_back(text.substr(0, cut));
    text.remove_prefix(cut);
  }
  pieces.push_back(text);
  return pieces;
}

std::string EncodePageReport(const PageReport& report) {
  return report.address + '\t' + std::to_string(report.milliseconds) + '\t' +
         std::to_string(report.characters) + '\t' + report.failure;
}

std::optional<PageReport> ParsePageReport(std::string_view payload) {
  std::string_view fields[4];
  for (int i = 0; i < 3; ++i) {
    const std::size_t tab = payload.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    fields[i] = payload.substr(0, tab);
    payload.remove_prefix(tab + 1);
  }
  fields[3] = payload;
  PageReport report;
  report.address = fields[0];
  report.failure = fields[3];
  const auto number = [](std::string_view field, long& value) {
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size();
  };
  if (!number(fields[1], report.milliseconds) || !number(fields[2], report.characters)) return std::nullopt;
  return report;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    size_t extra = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      code = lead & 0x07;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF.
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += extra + 1;
  }
  return true;
}

std::string EncodeMessage(const Message& message) {
  std::string frame(kMagic, sizeof kMagic);
  frame.push_back(static_cast<char>(kProtocolVersion));
  frame.push_back(static_cast<char>(message.kind));
  PutUint32(frame, message.requestId);
  PutUint32(frame, static_cast<std::uint32_t>(message.payload.size()));
  frame += message.payload;
  return frame;
}

void FrameReader::Feed(std::string_view bytes) {
  if (!error_.empty()) return;
  // Drop what was read already before the buffer grows.
  if (consumed_ > 0 && consumed_ == buffer_.size()) {
    buffer_.clear();
    consumed_ = 0;
  } else if (consumed_ > (1u << 16)) {
    buffer_.erase(0, consumed_);
    consumed_ = 0;
  }
  buffer_.append(bytes);
}

FrameReader::Status FrameReader::Next(Message& message) {
  if (!error_.empty()) return Status::kMalformed;
  const size_t available = buffer_.size() - consumed_;
  const char* frame = buffer_.data() + consumed_;
  // The header is checked as far as it has arrived, so that garbage is refused at once.
  if (available >= 1 && frame[0] != kMagic[0])
    error_ = "not a companion message";
  else if (available >= 2 && frame[1] != kMagic[1])
    error_ = "not a companion message";
  else if (available >= 3 && static_cast<std::uint8_t>(frame[2]) != kProtocolVersion)
    error_ = "protocol version " + std::to_string(static_cast<unsigned char>(frame[2])) + " is not " +
             std::to_string(kProtocolVersion);
  else if (available >= 4 && !IsKnownKind(static_cast<std::uint8_t>(frame[3])))
    error_ = "unknown message kind " + std::to_string(static_cast<unsigned char>(frame[3]));
  else if (available >= kHeaderSize && GetUint32(frame + 8) > kMaxPayload)
    error_ = "a payload of " + std::to_string(GetUint32(frame + 8)) + " bytes is over the limit of " +
             std::to_string(kMaxPayload);
  if (!error_.empty()) return Status::kMalformed;
  if (available < kHeaderSize) return Status::kNeedMore;
  const std::uint32_t length = GetUint32(frame + 8);
  if (available < kHeaderSize + length) return Status::kNeedMore;
  std::string_view payload(frame + kHeaderSize, length);
  if (!IsValidUtf8(payload)) {
    error_ = "the payload is not UTF-8 text";
    return Status::kMalformed;
  }
  message.kind = static_cast<MessageKind>(frame[3]);
  message.requestId = GetUint32(frame + 4);
  message.payload.assign(payload);
  consumed_ += kHeaderSize + length;
  return Status::kMessage;
}

std::string RuntimeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) return runtime;
  const char* temp = std::getenv("TMPDIR");
  std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/scrivano-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  // Only a folder of our own that nobody else can enter is safe for the sockets.
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 077) != 0)
    return std::string();
  return folder;
}

std::string CompanionSocketName(std::uint64_t windowId) {
  return "vexo1-" + std::to_string(windowId);
}

std::string ScrivanoSocketName(std::uint64_t windowId) {
  return "scrivano-" + std::to_string(windowId);
}

std::string SocketPath(std::string_view name) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return std::string();
  return folder + "/" + std::string(name);
}

std::optional<std::uint64_t> ParseLaunchArgument(std::string_view argument) {
  while (!argument.empty() && argument.front() == ' ') argument.remove_prefix(1);
  if (argument.substr(0, kLaunchToken.size()) != kLaunchToken) return std::nullopt;
  argument.remove_prefix(kLaunchToken.size());
  if (argument.empty()) return 0;
  if (argument.front() != ';' || argument.size() == 1) return std::nullopt;
  argument.remove_prefix(1);
  std::uint64_t window = 0;
  const auto [end, error] = std::from_chars(argument.data(), argument.data() + argument.size(), window);
  if (error != std::errc() || end != argument.data() + argument.size()) return std::nullopt;
  return window;
}

}  // namespace scrivano::companion
