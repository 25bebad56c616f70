// A small HTTP server on 127.0.0.1 for the tests' own pages: fixed pages by path (their bytes and
// content type as given), routes that answer a request as they like (each on a thread of its own, so that
// a slow one holds up no other; it should end once Stopping() is true), 404 for anything else. Every
// connection is closed after its answer.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace scrivano::test {

class PageServer {
 public:
  // Answers the request (its first bytes, from "GET ") on the client socket, which is closed after.
  using Route = std::function<void(int client, const std::string& request)>;

  PageServer() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(fd_, 64);
    thread_ = std::thread([this] { Serve(); });
  }
  ~PageServer() {
    stopping_ = true;
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
    for (std::thread& answer : answers_) answer.join();
  }
  bool Stopping() const { return stopping_; }

  std::string Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // The page at exactly this path (the query included).
  void AddPage(const std::string& path, std::string body,
               std::string contentType = "text/html; charset=utf-8") {
    std::lock_guard lock(mutex_);
    pages_[path] = {std::move(body), std::move(contentType)};
  }
  // Requests whose path starts with prefix.
  void AddRoute(const std::string& prefix, Route route) {
    std::lock_guard lock(mutex_);
    routes_.emplace_back(prefix, std::move(route));
  }

  static void Respond(int client, const std::string& status, const std::string& contentType,
                      const std::string& body) {
    const std::string response = "HTTP/1.1 " + status + "\r\nContent-Type: " + contentType +
                                 "\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
                                 "\r\n\r\n" + body;
    for (size_t sent = 0; sent < response.size();) {
      const ssize_t n = send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
  }

 private:
  void Serve() {
    while (!stopping_) {
      const int client = accept(fd_, nullptr, nullptr);
      if (client < 0) break;
      char buffer[4096];
      const ssize_t n = recv(client, buffer, sizeof buffer - 1, 0);
      const std::string request(buffer, n > 0 ? static_cast<size_t>(n) : 0);
      const size_t start = request.find(' ') + 1;
      const std::string path = request.substr(start, request.find(' ', start) - start);
      Route route;
      std::pair<std::string, std::string> page;
      {
        std::lock_guard lock(mutex_);
        if (const auto found = pages_.find(path); found != pages_.end()) page = found->second;
        for (const auto& [prefix, candidate] : routes_)
          if (page.second.empty() && path.starts_with(prefix)) route = candidate;
      }
      if (route && page.second.empty()) {
        answers_.emplace_back([route, client, request] {
          route(client, request);
          close(client);
        });
        continue;
      }
      if (!page.second.empty())
        Respond(client, "200 OK", page.second, page.first);
      else
        Respond(client, "404 Not Found", "text/plain", "not found");
      close(client);
    }
  }
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  std::vector<std::thread> answers_;
  std::mutex mutex_;
  std::map<std::string, std::pair<std::string, std::string>> pages_;
  std::vector<std::pair<std::string, Route>> routes_;
};

}  // namespace scrivano::test
