#include "web/LocalSockets.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>

namespace scrivano::companion {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  address = sockaddr_un{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

bool SendAll(int fd, const std::string& bytes, Clock::time_point deadline, std::string* error) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    pollfd entry{fd, POLLOUT, 0};
    if (poll(&entry, 1, RemainingMs(deadline)) <= 0) {
      SetError(error, "the time ran out while sending");
      return false;
    }
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      SetError(error, std::string("sending failed: ") + std::strerror(errno));
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

long PeerUserId(int fd) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return -1;
  return static_cast<long>(credentials.uid);
}

int ConnectLocalSocket(const std::string& path, std::string* error) {
  sockaddr_un address;
  if (!FillAddress(path, address)) {
    SetError(error, "no socket path");
    return -1;
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    SetError(error, std::string("no socket: ") + std::strerror(errno));
    return -1;
  }
  // A full queue of pending connections (EAGAIN) is waited out for a moment.
  int result = -1;
  for (int attempt = 0; attempt < 200; ++attempt) {
    result = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (result == 0 || errno != EAGAIN) break;
    usleep(5000);
  }
  if (result != 0) {
    SetError(error, std::string("cannot connect: ") + std::strerror(errno));
    close(fd);
    return -1;
  }
  if (PeerUserId(fd) != static_cast<long>(getuid())) {
    SetError(error, "the socket belongs to another user");
    close(fd);
    return -1;
  }
  return fd;
}

bool Send(const std::string& path, const Message& message, int timeoutMs, std::string* error) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const int fd = ConnectLocalSocket(path, error);
  if (fd < 0) return false;
  const bool sent = SendAll(fd, EncodeMessage(message), deadline, error);
  close(fd);
  return sent;
}

std::optional<Message> Request(const std::string& path, const Message& request, int timeoutMs,
                               std::string* error) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const int fd = ConnectLocalSocket(path, error);
  if (fd < 0) return std::nullopt;
  std::optional<Message> reply;
  if (SendAll(fd, EncodeMessage(request), deadline, error)) {
    FrameReader reader;
    char buffer[65536];
    for (;;) {
      Message message;
      const auto status = reader.Next(message);
      if (status == FrameReader::Status::kMalformed) {
        SetError(error, "malformed reply: " + reader.error());
        break;
      }
      if (status == FrameReader::Status::kMessage) {
        if (message.requestId != request.requestId) continue;
        reply = std::move(message);
        break;
      }
      pollfd entry{fd, POLLIN, 0};
      if (poll(&entry, 1, RemainingMs(deadline)) <= 0) {
        SetError(error, "no reply within " + std::to_string(timeoutMs) + " ms");
        break;
      }
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) {
        SetError(error, "the connection was closed without a reply");
        break;
      }
      reader.Feed(std::string_view(buffer, static_cast<size_t>(n)));
    }
  }
  close(fd);
  return reply;
}

CopyDataEndpoint::CopyDataEndpoint(TextHandler onCopyData, LogHandler log, NoticeHandler onNotice)
    : onCopyData_(std::move(onCopyData)), log_(std::move(log)), onNotice_(std::move(onNotice)) {}

CopyDataEndpoint::~CopyDataEndpoint() {
  Close();
}

bool CopyDataEndpoint::Listen(const std::string& path) {
  Close();
  sockaddr_un address;
  if (!FillAddress(path, address)) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  unlink(path.c_str());
  // Created with no access for others from the start, then set to exactly 0600.
  const mode_t previous = umask(0177);
  const int bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  umask(previous);
  if (bound != 0 || chmod(path.c_str(), 0600) != 0 || listen(fd, 8) != 0 || pipe2(wakeFds_, O_CLOEXEC) != 0) {
    close(fd);
    return false;
  }
  listenFd_ = fd;
  path_ = path;
  thread_ = std::thread([this] { Serve(); });
  return true;
}

void CopyDataEndpoint::Close() {
  if (thread_.joinable()) {
    const char wake = 1;
    (void)!write(wakeFds_[1], &wake, 1);
    thread_.join();
  }
  for (int* fd : {&listenFd_, &wakeFds_[0], &wakeFds_[1]}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
  if (!path_.empty()) unlink(path_.c_str());
  path_.clear();
}

void CopyDataEndpoint::Serve() {
  struct Client {
    FrameReader reader;
    std::string pieces;  // kCopyDataPart payloads so far
  };
  std::map<int, Client> clients;
  const auto drop = [&](int fd, const std::string& why) {
    if (!why.empty() && log_) log_("companion connection refused: " + why);
    close(fd);
    clients.erase(fd);
  };
  for (;;) {
    std::vector<pollfd> entries{{wakeFds_[0], POLLIN, 0}, {listenFd_, POLLIN, 0}};
    for (const auto& [fd, client] : clients) entries.push_back({fd, POLLIN, 0});
    if (poll(entries.data(), entries.size(), -1) < 0 && errno != EINTR) break;
    if (entries[0].revents) break;
    if (entries[1].revents & POLLIN) {
      const int client = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client >= 0) {
        clients[client];
        if (PeerUserId(client) != static_cast<long>(getuid())) drop(client, "a peer of another user");
      }
    }
    for (size_t i = 2; i < entries.size(); ++i) {
      if (!entries[i].revents) continue;
      const int fd = entries[i].fd;
      char buffer[65536];
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        drop(fd, std::string());
        continue;
      }
      Client& client = clients[fd];
      FrameReader& reader = client.reader;
      reader.Feed(std::string_view(buffer, static_cast<size_t>(n)));
      Message message;
      FrameReader::Status status;
      std::string why;
      while ((status = reader.Next(message)) == FrameReader::Status::kMessage) {
        if (message.kind == MessageKind::kPageDone || message.kind == MessageKind::kReady) {
          if (onNotice_) onNotice_(message);
          continue;
        }
        if (message.kind == MessageKind::kCopyDataPart || message.kind == MessageKind::kCopyData) {
          if (client.pieces.size() + message.payload.size() > kMaxCopyData) {
            why = "a text longer than " + std::to_string(kMaxCopyData >> 20) + " MiB";
            status = FrameReader::Status::kMalformed;
            break;
          }
          client.pieces += message.payload;
          if (message.kind == MessageKind::kCopyDataPart) continue;
          std::string text = std::move(client.pieces);
          client.pieces = std::string();
          if (onCopyData_) onCopyData_(std::move(text));
          continue;
        }
        status = FrameReader::Status::kMalformed;
        why = "a message other than the extracted text";
        break;
      }
      if (status == FrameReader::Status::kMalformed) drop(fd, why.empty() ? reader.error() : why);
    }
  }
  for (const auto& [fd, client] : clients) close(fd);
}

}  // namespace scrivano::companion
