#include "cli/BytePath.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/FileBytes.h"
#include "text/Utf8Check.h"
#include "transform/AlignPairsOnBytes.h"

namespace scrivano::cli {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// Pieces small enough to stay in the cache between reading and writing them.
constexpr size_t kChunkBytes = size_t{1} << 18;
constexpr size_t kSliceBytes = size_t{1} << 18;

// Hands the input from offset skip on, in chunks.
bool ReadInput(ByteInput& input, size_t skip, const std::function<bool(std::string_view)>& consume) {
  if (input.held) {
    consume(std::string_view(input.bytes).substr(std::min(skip, input.bytes.size())));
    return true;
  }
  std::string chunk(kChunkBytes, '\0');
  return ReadChunksAt(input.fd, input.at + static_cast<off_t>(skip), chunk, consume);
}

// A large buffer is filled in far fewer page faults when the system may back it with large pages. A small
// one is left alone: rounded up to large pages, its last page would be a good part of it.
void AdviseLargePages(char* data, size_t size) {
  constexpr size_t kLarge = size_t{64} << 20;
  if (size < kLarge) return;
  constexpr uintptr_t kLargePage = uintptr_t{1} << 21;
  const auto begin = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t last = (begin + size) & ~(kLargePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

bool AsksOption(int entryNumber) {
  return entryNumber == 1;
}

std::unique_ptr<ByteOperation> OperationOnBytes(int entryNumber, int option, bool raw, ByteWriter write,
                                                bool loneCarriageReturns) {
  switch (entryNumber) {
    case 1:
      return AlignPairsOnBytes(option, !raw, std::move(write));
    case 4:
      return DeleteLinesWithSubstringOnBytes(!raw, std::move(write));
    case 5:
      return ExtractEndingLinesOnBytes(!raw, std::move(write));
    case 8:
      return LinkAdjacentLinesOnBytes(!raw, loneCarriageReturns, std::move(write));
    case 9:
      return MakeLowercaseOnBytes(std::move(write));
    case 10:
      return MakeUppercaseOnBytes(std::move(write));
    case 12:
      return RemoveRedundantEmptyLinesOnBytes(!raw, std::move(write));
    case 15:
      return SplitLinesOnBytes(std::move(write));
    default:
      return nullptr;
  }
}

bool HoldWhole(ByteInput& input) {
  if (input.held) return true;
  struct stat info;
  if (::fstat(input.fd, &info) != 0) return false;
  const size_t size = info.st_size > input.at ? static_cast<size_t>(info.st_size - input.at) : 0;
  // Room to spare for line breaks the operation adds in place: room never written costs nothing.
  input.bytes.reserve(size + size / 8 + 16);
  AdviseLargePages(input.bytes.data(), input.bytes.capacity());
  // The checks read with pread: the file still stands at the offset.
  if (!ReadAllBytes(input.fd, size, input.bytes)) return false;
  input.held = true;
  return true;
}

ByteCheck CheckInputBytes(ByteInput& input, bool refuseZero, bool keepWhole, bool findLoneCarriageReturns) {
  Utf8Check check;
  bool well = true;
  std::string start;                // the first three bytes, for the mark
  bool carriageReturnLast = false;  // the piece before ended with a carriage return
  const auto consume = [&](std::string_view piece) {
    if (start.size() < kUtf8Mark.size()) start.append(piece.substr(0, kUtf8Mark.size() - start.size()));
    input.checkedBytes += piece.size();
    well = check.Take(piece) && !(refuseZero && std::memchr(piece.data(), 0, piece.size()));
    if (findLoneCarriageReturns && !input.loneCarriageReturn && !piece.empty()) {
      input.loneCarriageReturn = carriageReturnLast && piece.front() != '\n';
      for (size_t at = piece.find('\r'); at != std::string_view::npos && at + 1 < piece.size();
           at = piece.find('\r', at + 1))
        input.loneCarriageReturn = input.loneCarriageReturn || piece[at + 1] != '\n';
      carriageReturnLast = piece.back() == '\r';
    }
    return well;
  };
  if (keepWhole && !HoldWhole(input)) return ByteCheck::kReadError;
  if (!ReadInput(input, 0, consume)) return ByteCheck::kReadError;
  if (!well || !check.Finish()) return ByteCheck::kNotUtf8;
  input.mark = start == kUtf8Mark;
  input.loneCarriageReturn = input.loneCarriageReturn || carriageReturnLast;
  return ByteCheck::kUtf8;
}

ByteRun RunOperation(ByteInput& input, ByteOperation& operation) {
  const size_t skip = input.mark ? kUtf8Mark.size() : 0;
  if (operation.TakesWhole() && input.held) {
    input.bytes.erase(0, skip);
    operation.TakeWhole(input.bytes);
    operation.Finish();
    return ByteRun::kDone;
  }
  // The last bytes checked wait for what follows them: the check judges a block of sixteen, and a
  // sequence cut by a block's end, only with the bytes after it.
  constexpr size_t kJudgedLater = 32;
  Utf8Check check;
  size_t read = skip;
  bool same = true;
  std::string waiting;
  if (!ReadInput(input, skip, [&](std::string_view piece) {
        read += piece.size();
        same = read <= input.checkedBytes && check.Take(piece);
        if (!same) return false;
        if (piece.size() >= kJudgedLater) {
          // What waited is judged now, and so is the piece but its end.
          operation.Take(waiting);
          operation.Take(piece.substr(0, piece.size() - kJudgedLater));
          waiting.assign(piece.substr(piece.size() - kJudgedLater));
        } else if ((waiting += piece).size() > kJudgedLater) {
          operation.Take(std::string_view(waiting).substr(0, waiting.size() - kJudgedLater));
          waiting.erase(0, waiting.size() - kJudgedLater);
        }
        return true;
      }))
    return ByteRun::kReadError;
  if (!same || read != input.checkedBytes || !check.Finish()) return ByteRun::kChanged;
  operation.Take(waiting);
  operation.Finish();
  return ByteRun::kDone;
}

void Utf8Output::Write(std::string_view bytes) {
  // A large piece without a "\r" goes as it is, once what came before it has gone.
  if (bytes.size() >= kSliceBytes / 4 && (raw_ || !std::memchr(bytes.data(), '\r', bytes.size()))) {
    Hand(false);
    if (slice_.empty()) {
      write_(bytes);
      return;
    }
  }
  slice_.append(bytes);
  if (slice_.size() >= kSliceBytes) Hand(false);
}

void Utf8Output::Flush() {
  Hand(true);
}

void Utf8Output::Hand(bool last) {
  bool held = false;
  if (!raw_) {
    // "\r\n" becomes "\n"; a "\r" at the end waits for what follows it.
    char* const begin = slice_.data();
    char* const end = begin + slice_.size();
    char* to = begin;
    for (char* from = begin; from < end;) {
      char* cr = static_cast<char*>(std::memchr(from, '\r', static_cast<size_t>(end - from)));
      if (!cr) cr = end;
      if (to != from) std::memmove(to, from, static_cast<size_t>(cr - from));
      to += cr - from;
      from = cr;
      if (from == end) break;
      if (from + 1 < end) {
        if (from[1] != '\n') *to++ = '\r';
        ++from;
      } else if (last) {
        *to++ = *from++;
      } else {
        held = true;
        ++from;
      }
    }
    slice_.resize(static_cast<size_t>(to - begin));
  }
  if (!slice_.empty()) write_(slice_);
  slice_.clear();
  if (held) slice_.push_back('\r');
}

}  // namespace scrivano::cli
