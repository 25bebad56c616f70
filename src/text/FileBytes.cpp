#include "text/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace scrivano {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file a path finally names, so that replacing a symbolic link's target keeps the link.
std::string ResolvedTarget(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && ::realpath(path.c_str(), resolved))
    return resolved;
  return path;
}

}  // namespace

std::string PathToNative(TextView path) { return ToUtf8(path); }

bool ReadFileBytes(TextView path, std::string& bytes) {
  const int fd = ::open(PathToNative(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string data;
  if (info.st_size > 0) data.reserve(static_cast<size_t>(info.st_size));
  char buffer[1 << 16];
  bool ok = true;
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    data.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  if (ok) bytes.swap(data);
  return ok;
}

bool WriteFileBytesAtomically(TextView path, std::string_view bytes) {
  const std::string target = ResolvedTarget(PathToNative(path));
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) return false;
  std::string temporary = folder + (folder == "." ? "/." : ".") + name + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  struct stat old;
  mode_t mode = 0666;
  if (::stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  const bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !ok || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool PathExists(TextView path) {
  struct stat info;
  return Length(path) < PATH_MAX && ::stat(PathToNative(path).c_str(), &info) == 0;
}

}  // namespace scrivano
