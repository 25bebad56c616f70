#include "cli/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace scrivano::cli {

void GuardStandardStreams() {
  // Reading a stream opened for writing and writing one opened for reading both fail with EBADF.
  const int wrongWay[] = {O_WRONLY, O_RDONLY, O_RDONLY};
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", wrongWay[fd]);
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

std::string ReadStandardInput() {
  std::string bytes;
  char buffer[1 << 16];
  while (true) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n == 0) return bytes;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw ReadFailed(std::string("cannot read standard input: ") + std::strerror(errno));
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

void WriteStandardOutput(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw WriteFailed(std::string("cannot write standard output: ") + std::strerror(errno));
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace scrivano::cli
