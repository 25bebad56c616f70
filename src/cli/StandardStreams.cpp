#include "cli/StandardStreams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/FileBytes.h"

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
  struct stat info;
  const bool regular = ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode);
  // A file redirected to standard input is read from where the stream stands.
  const off_t at = regular ? ::lseek(STDIN_FILENO, 0, SEEK_CUR) : -1;
  const size_t expected = at >= 0 && info.st_size > at ? static_cast<size_t>(info.st_size - at) : 0;
  std::string bytes;
  if (!ReadAllBytes(STDIN_FILENO, expected, bytes))
    throw ReadFailed(std::string("cannot read standard input: ") + std::strerror(errno));
  return bytes;
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
