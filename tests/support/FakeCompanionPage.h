// Stand-ins for the desktop tests of automatic translation: the clipboard in memory, and the companion's
// page served on the companion's socket (its address, and for "?q=" addresses a body in the second
// translation site's layout: the piece, then "[piece]").
#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "capture/ClipboardAccess.h"
#include "web/LocalSockets.h"

namespace scrivano::test {

class MemoryClipboard : public ClipboardAccess {
 public:
  bool ReadText(Text& out) override {
    std::lock_guard lock(mutex);
    if (failingReads > 0) {
      --failingReads;
      return false;
    }
    if (!hasText) return false;
    out = text;
    return true;
  }
  bool WriteText(TextView value) override {
    std::lock_guard lock(mutex);
    text = Text(value);
    hasText = true;
    return true;
  }
  std::mutex mutex;
  Text text;
  bool hasText = false;
  int failingReads = 0;  // the next reads that fail, as a clipboard held by another program
};

// The companion's page: its address, and a body in the second site's layout for "?q=" addresses.
class FakeCompanionPage {
 public:
  explicit FakeCompanionPage(WindowHandle window) {
    path_ = companion::SocketPath(companion::CompanionSocketName(window));
    unlink(path_.c_str());
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path_.c_str());
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd_, 8);
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeCompanionPage() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
    unlink(path_.c_str());
  }
  std::string Address() {
    std::lock_guard lock(mutex_);
    return address_;
  }
  void SetAddress(const std::string& address) {
    std::lock_guard lock(mutex_);
    address_ = address;
  }
  std::vector<std::string> AddressesSet() {
    std::lock_guard lock(mutex_);
    return addressesSet_;
  }
  int Hides() {
    std::lock_guard lock(mutex_);
    return hides_;
  }

 private:
  std::string Body() {
    const size_t q = address_.find("?q=");
    if (q == std::string::npos) return "nothing here";
    const std::string text = address_.substr(q + 3);
    return "有道翻译\n" + text + "\n[" + text + "]";
  }
  void Serve() {
    for (;;) {
      const int client = accept(fd_, nullptr, nullptr);
      if (client < 0) return;
      companion::FrameReader reader;
      companion::Message request;
      char buffer[4096];
      while (reader.Next(request) == companion::FrameReader::Status::kNeedMore) {
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        reader.Feed(std::string_view(buffer, static_cast<size_t>(n)));
      }
      companion::Message reply{companion::MessageKind::kDone, request.requestId, {}};
      {
        std::lock_guard lock(mutex_);
        switch (request.kind) {
          case companion::MessageKind::kGetAddress:
            reply.kind = companion::MessageKind::kAddress;
            reply.payload = address_;
            break;
          case companion::MessageKind::kSetAddress:
            address_ = request.payload;
            addressesSet_.push_back(request.payload);
            break;
          case companion::MessageKind::kGetBodyText:
            reply.kind = companion::MessageKind::kBodyText;
            reply.payload = Body();
            break;
          case companion::MessageKind::kHide:
            ++hides_;
            break;
          default:
            reply.kind = companion::MessageKind::kError;
        }
      }
      const std::string bytes = companion::EncodeMessage(reply);
      send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      close(client);
    }
  }
  std::string path_;
  int fd_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::string address_;
  std::vector<std::string> addressesSet_;
  int hides_ = 0;
};

}  // namespace scrivano::test
