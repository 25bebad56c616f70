#include "transform/AlignPairsOnBytes.h"

#include "prompt/SelectionPrompt.h"
#include "text/Text.h"
#include "transform/AlignSourceTarget.h"
#include "transform/Utf8Lines.h"

namespace scrivano {
namespace {

constexpr std::string_view kSeparatorMark = "=====";
constexpr std::string_view kAbnormalBanner =
    "\r\n====================  Above are abnormal pairs  ====================\r\n";

// NextNonBlankLineSkipping over the bytes, position for position: a line ends at "\r\n" (with
// lineFeedEnds also at a "\n" alone, which the text holds as "\r\n"), and the position becomes 0 after the
// last line, also when a line break ends the text.
class NonBlankLines {
 public:
  NonBlankLines(std::string_view text, bool lineFeedEnds, bool skipStars)
      : text_(text), lineFeedEnds_(lineFeedEnds), skipStars_(skipStars) {}

  bool Next(std::string_view& line) {
    do {
      line = TrimmedBytes(NextToken());
      if (!line.empty() && !(skipStars_ && line.starts_with("*****"))) return true;
    } while (pos_ != 0);
    return false;
  }
  bool AtEnd() const { return pos_ == 0; }

 private:
  std::string_view NextToken() {
    const size_t from = pos_;
    size_t end = from;
    size_t next = std::string_view::npos;
    for (size_t at = text_.find('\n', from); at != std::string_view::npos; at = text_.find('\n', at + 1)) {
      const bool carriageReturn = at > from && text_[at - 1] == '\r';
      if (lineFeedEnds_ || carriageReturn) {
        end = carriageReturn ? at - 1 : at;
        next = at + 1;
        break;
      }
    }
    if (next == std::string_view::npos) {
      pos_ = 0;
      return text_.substr(from);
    }
    pos_ = next >= text_.size() ? 0 : next;
    return text_.substr(from, end - from);
  }

  std::string_view text_;
  bool lineFeedEnds_;
  bool skipStars_;
  size_t pos_ = 0;
};

Text Units(std::string_view bytes) {
  return FromUtf8(bytes);
}

class AlignPairsBytes : public ByteOperation {
 public:
  AlignPairsBytes(int option, bool lineFeedEnds, ByteWriter write)
      : option_(option), lineFeedEnds_(lineFeedEnds), write_(std::move(write)) {}
  bool TakesWhole() const override { return true; }
  void Take(std::string_view bytes) override { text_ = bytes; }
  void TakeWhole(std::string& bytes) override { text_ = bytes; }
  void Finish() override {
    if (option_ == 1) ReturnPairsToTabPairs(text_);
    if (option_ == 2) TabPairsToReturnPairs();
    if (option_ == 3) PairSections();
  }

 private:
  void Pair(std::string_view source, std::string_view target) {
    write_("\r\n");
    write_(source);
    write_("\t");
    write_(target);
  }

  void ReturnPairsToTabPairs(std::string_view text) {
    NonBlankLines lines(text, lineFeedEnds_, false);
    std::string_view source, target;
    do {
      if (!lines.Next(source)) break;
      if (lines.AtEnd() || !lines.Next(target)) {
        ReportNotInPairs(Units(source), u"");
        break;
      }
      Pair(source, target);
    } while (!lines.AtEnd());
  }

  // The abnormal pairs first, under the banner when there are any, then the normal ones: two walks over
  // the lines rather than a copy of either collection.
  void TabPairsToReturnPairs() {
    bool abnormalSeen = false;
    for (const bool abnormal : {true, false}) {
      if (!abnormal && abnormalSeen) write_(kAbnormalBanner);
      NonBlankLines lines(text_, lineFeedEnds_, true);
      std::string_view line;
      do {
        if (!lines.Next(line)) break;
        // NextTokenByChar at the first tab: without one (or with one at the end) the target is the whole
        // line.
        const size_t tab = line.find('\t');
        const std::string_view source = line.substr(0, tab);
        const std::string_view target =
            tab == std::string_view::npos || tab + 1 >= line.size() ? line : line.substr(tab + 1);
        if ((target.find('\t') != std::string_view::npos || source == target) != abnormal) continue;
        abnormalSeen = true;
        write_("\r\n");
        write_(source);
        write_("\r\n");
        write_(target);
        write_("\r\n");
      } while (!lines.AtEnd());
    }
  }

  // The sections as NextSection cuts them: the source section is the text before the first "=====" that
  // a line break follows, the target section what follows that line up to the next such "=====".
  void PairSections() {
    const std::string_view text = text_;
    const auto separator = [&](size_t from, size_t& next) {
      const size_t mark = text.find(kSeparatorMark, from);
      if (mark == std::string_view::npos) return mark;
      for (size_t at = text.find('\n', mark); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        if (lineFeedEnds_ || text[at - 1] == '\r') {
          next = at + 1;
          return mark;
        }
      }
      return std::string_view::npos;
    };
    size_t next = 0;
    const size_t mark = separator(0, next);
    const std::string_view sourceSide = text.substr(0, mark);
    std::string_view targetSide;
    if (mark == std::string_view::npos) {
      ShowMessage(u"Could not get another section!", u"Notice", MessageButtons::Ok, true);
    } else {
      size_t after = 0;
      targetSide = text.substr(next, separator(next, after) - next);
    }
    // PairLines in layout 1, whose pairs ReturnPairsToTabPairs then puts on one line each.
    NonBlankLines sources(sourceSide, lineFeedEnds_, true);
    NonBlankLines targets(targetSide, lineFeedEnds_, true);
    std::string_view source, target;
    do {
      const bool hasSource = sources.Next(source);
      const bool hasTarget = targets.Next(target);
      if (hasSource != hasTarget) {
        // The side without a line shows the last it read: empty, or one passed over for its "*****".
        ReportNotInPairs(Units(source), Units(target));
        break;
      }
      if (hasSource) Pair(source, target);
    } while (!sources.AtEnd() && !targets.AtEnd());
  }

  int option_;
  bool lineFeedEnds_;
  ByteWriter write_;
  std::string_view text_;
};

}  // namespace

std::unique_ptr<ByteOperation> AlignPairsOnBytes(int option, bool lineFeedEnds, ByteWriter write) {
  if (option < 1 || option > 3) return nullptr;
  return std::make_unique<AlignPairsBytes>(option, lineFeedEnds, std::move(write));
}

}  // namespace scrivano
