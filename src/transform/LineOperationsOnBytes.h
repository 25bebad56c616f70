// Line operations on the UTF-8 bytes of a text, for the runner: for well-formed UTF-8 each gives the bytes
// that decoding the text, running the operation on it and encoding the result would give, without the
// text ever being converted. They decide by ASCII characters, line breaks, white space and substrings, all
// of which UTF-8 keeps whole: a run of well-formed bytes that begins and ends at characters occurs in
// other well-formed bytes exactly where its characters occur in theirs.
//
// The bytes are the text's UTF-8 with its "\r\n" line breaks, except that with lineFeedEnds a "\n" alone
// stands for "\r\n" (the runner reads it so when not raw); the result is handed on the same way, so a
// "\n" alone written through stays one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace scrivano {

using ByteWriter = std::function<void(std::string_view bytes)>;

class ByteOperation {
 public:
  virtual ~ByteOperation() = default;
  // The next bytes of the text, cut anywhere; the result goes to the writer as soon as it is known.
  virtual void Take(std::string_view bytes) = 0;
  // After the last bytes.
  virtual void Finish() = 0;
  // Whether the operation looks at the whole text at once: it then takes all of it with TakeWhole, which it
  // may rewrite, instead of Take, and keeps it until Finish.
  virtual bool TakesWhole() const { return false; }
  virtual void TakeWhole(std::string& bytes) { Take(bytes); }
};

// "09." and "10.": the ASCII letters.
std::unique_ptr<ByteOperation> MakeLowercaseOnBytes(ByteWriter write);
std::unique_ptr<ByteOperation> MakeUppercaseOnBytes(ByteWriter write);
// "12.", "04." and "05.", a line at a time. DeleteLinesWithSubstringOnBytes gives nullptr when parameter 9
// holds half of a surrogate pair, which no bytes stand for.
std::unique_ptr<ByteOperation> RemoveRedundantEmptyLinesOnBytes(bool lineFeedEnds, ByteWriter write);
std::unique_ptr<ByteOperation> DeleteLinesWithSubstringOnBytes(bool lineFeedEnds, ByteWriter write);
std::unique_ptr<ByteOperation> ExtractEndingLinesOnBytes(bool lineFeedEnds, ByteWriter write);
// "15.", as the bytes come.
std::unique_ptr<ByteOperation> SplitLinesOnBytes(ByteWriter write);
// "08.": a line at a time, or, for a text with a carriage return that no line feed follows, on the whole
// text.
std::unique_ptr<ByteOperation> LinkAdjacentLinesOnBytes(bool lineFeedEnds, bool loneCarriageReturns,
                                                        ByteWriter write);

}  // namespace scrivano
