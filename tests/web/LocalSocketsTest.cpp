#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "support/TempFolder.h"
#include "web/LocalSockets.h"

namespace scrivano::companion {
namespace {

using namespace std::chrono_literals;

class Endpoint : public testing::Test {
 protected:
  void SetUp() override {
    path = folder.path() + "/scrivano-1";
    ASSERT_TRUE(endpoint.Listen(path));
  }

  bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 500; ++i) {
      {
        std::lock_guard lock(mutex);
        if (condition()) return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  test::TempFolder folder;
  std::string path;
  std::mutex mutex;
  std::vector<std::string> texts, logs;
  std::vector<Message> notices;
  CopyDataEndpoint endpoint{[this](std::string text) {
                              std::lock_guard lock(mutex);
                              texts.push_back(std::move(text));
                            },
                            [this](const std::string& line) {
                              std::lock_guard lock(mutex);
                              logs.push_back(line);
                            },
                            [this](const Message& message) {
                              std::lock_guard lock(mutex);
                              notices.push_back(message);
                            }};
};

TEST_F(Endpoint, SocketFile_IsOnlyTheUsers) {
  struct stat info {};
  ASSERT_EQ(lstat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(info.st_uid, getuid());
}

// Another user cannot even connect (the test needs the superuser, who can become someone else).
TEST_F(Endpoint, AnotherUser_CannotConnect) {
  if (getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  // The socket's folder must be enterable for the other user, so that only the socket's mode stops it.
  chmod(folder.path().c_str(), 0755);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    _exit(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 1 : 0);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "another user connected (2: could not become another user)";
  EXPECT_TRUE(texts.empty());
}

TEST_F(Endpoint, CopyData_ReachesTheHandler) {
  ASSERT_TRUE(Send(path, {MessageKind::kCopyData, 0, "a\r\n=====\r\n文"}, 2000));
  EXPECT_TRUE(WaitFor([&] { return texts.size() == 1; }));
  EXPECT_EQ(texts.at(0), "a\r\n=====\r\n文");
}

// On one connection: the page reports and the socket's name as they come, then a text in pieces, whole.
TEST_F(Endpoint, NoticesAndATextInPieces_OnOneConnection) {
  const int fd = ConnectLocalSocket(path);
  ASSERT_GE(fd, 0);
  const std::string frames = EncodeMessage({MessageKind::kReady, 0, "vexo1-12"}) +
                             EncodeMessage({MessageKind::kPageDone, 0, "a\t5\t7\t"}) +
                             EncodeMessage({MessageKind::kCopyDataPart, 0, "head\r\n=====\r\n"}) +
                             EncodeMessage({MessageKind::kCopyDataPart, 0, "文"}) +
                             EncodeMessage({MessageKind::kCopyData, 0, "end"});
  ASSERT_EQ(send(fd, frames.data(), frames.size(), MSG_NOSIGNAL), static_cast<ssize_t>(frames.size()));
  EXPECT_TRUE(WaitFor([&] { return texts.size() == 1; }));
  close(fd);
  EXPECT_EQ(texts.at(0), "head\r\n=====\r\n文end");
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].payload, "vexo1-12");
  EXPECT_EQ(notices[1].kind, MessageKind::kPageDone);
  EXPECT_TRUE(logs.empty());
}

TEST_F(Endpoint, GarbageOrAnotherKind_EndsTheConnectionAndIsLogged) {
  for (const std::string& bytes :
       {std::string("hello there"), EncodeMessage({MessageKind::kGetAddress, 1, ""})}) {
    const int fd = ConnectLocalSocket(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    char byte;
    pollfd entry{fd, POLLIN, 0};
    ASSERT_EQ(poll(&entry, 1, 5000), 1);
    EXPECT_EQ(recv(fd, &byte, 1, 0), 0) << "the connection stays open";
    close(fd);
  }
  EXPECT_TRUE(WaitFor([&] { return logs.size() == 2; }));
  EXPECT_TRUE(texts.empty());
  // Still serving.
  ASSERT_TRUE(Send(path, {MessageKind::kCopyData, 0, "ok"}, 2000));
  EXPECT_TRUE(WaitFor([&] { return texts.size() == 1; }));
}

TEST(LocalSockets, RequestToASilentPeer_EndsAtItsLimit) {
  test::TempFolder folder;
  const std::string path = folder.path() + "/silent";
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(server, 1), 0);
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Request(path, {MessageKind::kGetAddress, 1, ""}, 300, &error).has_value());
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 250ms);
  EXPECT_LT(took, 3s);
  EXPECT_NE(error.find("no reply within 300 ms"), std::string::npos) << error;
  EXPECT_FALSE(Request(folder.path() + "/missing", {MessageKind::kGetAddress, 1, ""}, 300, &error));
  close(server);
}

}  // namespace
}  // namespace scrivano::companion
