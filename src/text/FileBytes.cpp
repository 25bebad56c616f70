#include "text/FileBytes.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>

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

// How long a FIFO may go without a writer before reading it gives up.
constexpr int kFifoWriterWaitMs = 5000;
// The longest file name most file systems take (NAME_MAX).
constexpr size_t kNameLimit = 255;
constexpr int kSymbolicLinkLimit = 40;

// The file a path finally names, so that writing through a symbolic link keeps the link, also one whose
// target does not exist yet. Empty for a loop (or a chain too long to follow).
std::string ResolvedTarget(std::string path) {
  for (int hops = 0; hops <= kSymbolicLinkLimit; ++hops) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return path;
    target.resize(static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    path = target.front() == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
  }
  return std::string();
}

// Temporary files being written, for the signal handler to remove. A slot is claimed by setting busy,
// then filled, then marked ready; the handler touches only ready slots.
struct TemporarySlot {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 ready
  char path[PATH_MAX];
};
TemporarySlot temporarySlots[8];

TemporarySlot* TrackTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return nullptr;
  for (TemporarySlot& slot : temporarySlots) {
    int expected = 0;
    if (!slot.state.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(2);
    return &slot;
  }
  return nullptr;
}

void ReleaseTemporary(TemporarySlot* slot) {
  if (slot) slot->state.store(0);
}

extern "C" void RemoveTemporariesAndDie(int signal) {
  for (TemporarySlot& slot : temporarySlots)
    if (slot.state.load() == 2) ::unlink(slot.path);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// A FIFO opened without waiting for a writer: waits a bounded time for the first byte or the end.
bool WaitForWriter(int fd) {
  struct pollfd ready = {fd, POLLIN, 0};
  int n;
  do n = ::poll(&ready, 1, kFifoWriterWaitMs);
  while (n < 0 && errno == EINTR);
  if (n <= 0) {
    if (n == 0) errno = ETIMEDOUT;
    return false;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

std::string PathToNative(TextView path) {
  return ToUtf8(path);
}

int OpenForReading(TextView path, std::string* why) {
  const auto fail = [why](const char* reason) {
    if (why) *why = reason;
    return -1;
  };
  // Not blocking at the open, so that a FIFO without a writer cannot hold the program forever.
  const int fd = ::open(PathToNative(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(std::strerror(errno));
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return fail("it is a folder");
  }
  if (S_ISFIFO(info.st_mode) ? !WaitForWriter(fd)
                             : ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    return fail(S_ISFIFO(info.st_mode) ? "nothing writes to it" : std::strerror(error));
  }
  return fd;
}

bool ReadFileBytes(TextView path, std::string& bytes, std::string* why) {
  const int fd = OpenForReading(path, why);
  if (fd < 0) return false;
  struct stat info;
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  std::string data;
  const bool ok = ReadAllBytes(fd, regular ? static_cast<size_t>(info.st_size) : 0, data);
  const int readError = errno;
  ::close(fd);
  if (!ok) {
    if (why) *why = std::strerror(readError);
    return false;
  }
  bytes.swap(data);
  return true;
}

bool ReadChunksAt(int fd, off_t at, std::string& buffer,
                  const std::function<bool(std::string_view)>& consume) {
  while (true) {
    // A full buffer unless the end comes first, so that the pieces do not depend on how reads fall.
    size_t filled = 0;
    while (filled < buffer.size()) {
      const ssize_t n = ::pread(fd, buffer.data() + filled, buffer.size() - filled, at);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      filled += static_cast<size_t>(n);
      at += n;
    }
    if (filled > 0 && !consume(std::string_view(buffer.data(), filled))) return true;
    if (filled < buffer.size()) return true;
  }
}

bool ReadAllBytes(int fd, size_t expectedSize, std::string& bytes) {
  // Straight into a buffer of the expected size; a small buffer then sees the end (or what was added
  // since), so that a file read whole is never copied or grown.
  bytes.clear();
  bytes.resize(expectedSize);
  size_t size = 0;
  char probe[1 << 14];
  while (true) {
    const bool full = size == bytes.size();
    char* const into = full ? probe : bytes.data() + size;
    const ssize_t n = ::read(fd, into, full ? sizeof probe : bytes.size() - size);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes.resize(size);
      return false;
    }
    if (full) {
      bytes.append(probe, static_cast<size_t>(n));
      // Grown past the expected size: read on into the spare capacity the growth left.
      bytes.resize(bytes.capacity());
    }
    size += static_cast<size_t>(n);
  }
  bytes.resize(size);
  return true;
}

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

bool AtomicFileWriter::Open(TextView path) {
  Abandon();
  failed_ = false;
  target_ = ResolvedTarget(PathToNative(path));
  const size_t slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  if (name.empty()) return false;
  // ".NAME.XXXXXX", with NAME shortened when the whole would pass the name limit.
  const std::string shortName = name.substr(0, std::min(name.size(), kNameLimit - 8));
  temporary_ = folder + (folder == "." ? "/." : ".") + shortName + ".XXXXXX";
  fd_ = ::mkstemp(temporary_.data());
  if (fd_ < 0) return false;
  tracked_ = TrackTemporary(temporary_);
  return true;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  failed_ = !WriteAll(fd_, bytes);
  return !failed_;
}

bool AtomicFileWriter::Commit() {
  if (fd_ < 0 || failed_) {
    Abandon();
    return false;
  }
  struct stat old;
  mode_t mode = 0666;
  if (::stat(target_.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  const bool ok = ::fchmod(fd_, mode) == 0 && ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!ok || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    ::unlink(temporary_.c_str());
    ReleaseTemporary(static_cast<TemporarySlot*>(tracked_));
    tracked_ = nullptr;
    return false;
  }
  ReleaseTemporary(static_cast<TemporarySlot*>(tracked_));
  tracked_ = nullptr;
  return true;
}

void AtomicFileWriter::Abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(temporary_.c_str());
  ReleaseTemporary(static_cast<TemporarySlot*>(tracked_));
  tracked_ = nullptr;
}

bool WriteFileBytesAtomically(TextView path, std::string_view bytes) {
  AtomicFileWriter writer;
  return writer.Open(path) && writer.Write(bytes) && writer.Commit();
}

void RemoveTemporaryFilesOnSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveTemporariesAndDie);
}

bool PathExists(TextView path) {
  struct stat info;
  return Length(path) < PATH_MAX && ::stat(PathToNative(path).c_str(), &info) == 0;
}

}  // namespace scrivano
