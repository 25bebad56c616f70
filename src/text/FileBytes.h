// Files as bytes: reading whole, writing atomically, and whether a path exists. Nothing is reported to the
// user here; the text files of the toolkit and the settings build on these.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace scrivano {

std::string PathToNative(TextView path);
// Reads the whole file; a folder is refused, and a FIFO that no program writes to within a few seconds as
// well. On failure bytes is unchanged and why (when given) says why in a few words.
bool ReadFileBytes(TextView path, std::string& bytes, std::string* why = nullptr);
// Reads fd to its end into bytes, expectedSize (a regular file's size; 0 when unknown) in one buffer of
// that size. False with errno set on a read error; bytes then holds what was read.
bool ReadAllBytes(int fd, size_t expectedSize, std::string& bytes);
// Opens a file for reading as ReadFileBytes does: a folder is refused, a FIFO without a writer waited for
// a few seconds. -1 on failure, with why (when given) saying why in a few words.
int OpenForReading(TextView path, std::string* why = nullptr);
// Reads the regular file fd from offset at to its end, buffer.size() bytes at a time (without moving its
// offset), and hands every piece to consume, which returns false to stop there. False with errno set on
// a read error.
bool ReadChunksAt(int fd, off_t at, std::string& buffer,
                  const std::function<bool(std::string_view)>& consume);

// WriteFileBytesAtomically for bytes that come in pieces: Open, Write any number of times, Commit. Until
// Commit has succeeded path is untouched; a writer destroyed before that removes its temporary file.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  bool Open(TextView path);
  bool Write(std::string_view bytes);
  bool Commit();

 private:
  void Abandon();

  int fd_ = -1;
  bool failed_ = false;
  std::string target_;
  std::string temporary_;
  void* tracked_ = nullptr;
};
// Writes to a temporary file in the same folder (".NAME.XXXXXX", NAME shortened to fit the name limit)
// and renames it over path; an existing file keeps its permissions. A symbolic link at path is written
// through, also when its target does not exist yet; a loop of links fails. A file with other hard links
// is replaced by a new one: the other names keep the old content. On any failure path is untouched and
// the temporary file is removed.
bool WriteFileBytesAtomically(TextView path, std::string_view bytes);
// Makes SIGINT, SIGTERM and SIGHUP remove the temporary files being written before the program ends
// (for programs that keep the signals' default ending otherwise).
void RemoveTemporaryFilesOnSignals();
// A file or folder exists at path.
bool PathExists(TextView path);

}  // namespace scrivano
