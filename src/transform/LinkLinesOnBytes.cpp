// "08. Link adjacent lines" on the UTF-8 bytes (LineOperationsOnBytes.h): a line at a time as they come, or
// the whole text when it holds carriage returns of its own.
#include <memory>
#include <string>

#include "settings/ParameterStore.h"
#include "text/Text.h"
#include "transform/LineOperationsOnBytes.h"
#include "transform/Utf8Lines.h"

namespace scrivano {
namespace {

class LinkLinesBytes : public ByteOperation {
 public:
  LinkLinesBytes(bool lineFeedEnds, ByteWriter write)
      : lineFeedEnds_(lineFeedEnds), write_(std::move(write)) {}
  bool TakesWhole() const override { return true; }
  void Take(std::string_view bytes) override {
    own_.assign(bytes);
    text_ = &own_;
  }
  void TakeWhole(std::string& bytes) override { text_ = &bytes; }
  void Finish() override;

 private:
  bool lineFeedEnds_;
  ByteWriter write_;
  std::string own_;
  std::string* text_ = &own_;
};

// Whether the character that begins bytes is one of at least two units, or followed by another.
bool TwoUnitsOrMore(std::string_view bytes) {
  if (bytes.empty()) return false;
  const size_t first = UnitsAt(bytes, 0).bytes;
  return first == 4 || bytes.size() > first;
}

std::string_view WithoutSpaces(std::string_view line) {
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') + 1 - first);
}

// The text the common way, line by line as it comes: when its only carriage returns are those of its
// line breaks, the breaks are all the scan examines, and each is examined (except the first when the
// first line holds fewer than two units and the last when the last line does) and joined when the lines
// on both sides, without their spaces, are not empty.
class LinkPlainLinesBytes : public ByteOperation {
 public:
  LinkPlainLinesBytes(bool lineFeedEnds, ByteWriter write)
      : cutter_(lineFeedEnds), write_(std::move(write)), parameters_(CurrentParameters()) {}
  void Take(std::string_view bytes) override {
    cutter_.Take(bytes, [this](std::string_view line) { Line(line, false); });
  }
  void Finish() override {
    bool delivered = false;
    cutter_.Finish([&](std::string_view line) {
      delivered = true;
      Line(line, true);
    });
    if (!delivered) Line({}, true);  // the empty line after a final line break
    // 4. A line break whatever the text ended with.
    write_(kByteLineBreak);
  }

 private:
  void Line(std::string_view line, bool last) {
    if (ended_) return;
    // 1. A "=====" that a line break follows ends the text before it.
    if (const size_t mark = line.find("====="); !last && mark != std::string_view::npos) {
      line = line.substr(0, mark);
      last = ended_ = true;
    }
    // 2, 3. The line without its spaces, and what stands between it and the line before.
    const std::string_view content = WithoutSpaces(line);
    if (lines_ == 0) {
      firstOfTwoUnits_ = TwoUnitsOrMore(content);
    } else {
      const bool examined = !(lines_ == 1 && !firstOfTwoUnits_) && !(last && !TwoUnitsOrMore(content));
      if (examined && before_ != u'\n' && !content.empty()) {
        if (IsWestern(before_) && IsWestern(UnitsAt(content, 0).first)) write_(" ");
      } else {
        write_(kByteLineBreak);
      }
    }
    write_(content);
    // The unit before the next break: the line's last, or the line feed of the break before it.
    before_ = content.empty() ? u'\n' : UnitsAt(content, CharacterBefore(content, content.size())).last;
    ++lines_;
  }

  // Parameter 6 as it stands when the joining begins.
  bool IsWestern(char16_t ch) const {
    const Text& westernChars = parameters_->Value(Param::kWesternChars);
    return ch < 127 || (!westernChars.empty() && westernChars.find(ch) != Text::npos);
  }

  LineCutter cutter_;
  ByteWriter write_;
  std::shared_ptr<const ParameterValues> parameters_;
  size_t lines_ = 0;
  bool firstOfTwoUnits_ = false;
  char16_t before_ = u'\n';
  bool ended_ = false;
};

// A "\n" alone becomes "\r\n" in place from the end, so that the bytes are those of the text.
void AddCarriageReturns(std::string& bytes) {
  size_t lone = 0;
  for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
    lone += at == 0 || bytes[at - 1] != '\r';
  if (lone == 0) return;
  size_t from = bytes.size();
  bytes.resize(bytes.size() + lone);
  for (size_t to = bytes.size(); from > 0;) {
    const char b = bytes[--from];
    bytes[--to] = b;
    if (b == '\n' && (from == 0 || bytes[from - 1] != '\r')) bytes[--to] = '\r';
  }
}

// The steps of LinkAdjacentLines on the text's bytes. Its scan counts UTF-16 units from both ends of the
// text and looks at the units next to a carriage return, which a character of four bytes holds two of:
// those are worked out where they matter; everything it searches for and cuts at is ASCII.
void LinkLinesBytes::Finish() {
  std::string& text = *text_;
  if (lineFeedEnds_) AddCarriageReturns(text);
  // 1. Only the text before the first "=====", when a line break follows it.
  if (const size_t mark = text.find("=====");
      mark != std::string::npos && text.find("\r\n", mark) != std::string::npos)
    text.resize(mark);
  // 2. No runs of spaces next to a line break.
  size_t written = 0;
  {
    size_t i = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", i)) {
      size_t runStart = at;
      while (runStart > i && text[runStart - 1] == ' ') --runStart;
      std::memmove(text.data() + written, text.data() + i, runStart - i);
      written += runStart - i;
      std::memmove(text.data() + written, text.data() + at, 2);
      written += 2;
      i = at + 2;
      while (i < text.size() && text[i] == ' ') ++i;
    }
    std::memmove(text.data() + written, text.data() + i, text.size() - i);
    written += text.size() - i;
    text.resize(written);
    // Nor at the ends of the text.
    const size_t last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
    text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
  }
  // 3. The carriage returns from the third unit on to the fourth last.
  const std::string_view t = text;
  size_t lastExamined = 0;  // one past the last byte where an examined carriage return may stand
  for (size_t end = t.size(), units = 0; end > 0;) {
    const size_t at = CharacterBefore(t, end);
    units += UnitsAt(t, at).bytes == 4 ? 2 : 1;
    if (units >= 4) {
      lastExamined = at + 1;
      break;
    }
    end = at;
  }
  size_t firstExamined = 0;  // the byte where the third unit begins
  for (size_t units = 0; units < 2 && firstExamined < t.size();) {
    const Units u = UnitsAt(t, firstExamined);
    units += u.bytes == 4 ? 2 : 1;
    firstExamined += u.bytes;
  }
  const auto parameters = CurrentParameters();
  const Text& westernChars = parameters->Value(Param::kWesternChars);
  const auto isWestern = [&westernChars](char16_t ch) {
    return ch < 127 || (!westernChars.empty() && westernChars.find(ch) != Text::npos);
  };
  size_t pieceStart = 0;
  for (size_t i = t.find('\r', firstExamined); i != std::string_view::npos && i < lastExamined;
       i = t.find('\r', i + 1)) {
    const char16_t prev = UnitsAt(t, CharacterBefore(t, i)).last;
    const Units after = UnitsAt(t, i + 1);
    const char16_t next = after.bytes == 4 ? after.last : UnitsAt(t, i + 1 + after.bytes).first;
    if (prev != u'\n' && next != u'\r') {
      write_(t.substr(pieceStart, i - pieceStart));
      if (isWestern(prev) && isWestern(next)) write_(" ");
      pieceStart = t[i + 1] == '\n' ? i + 2 : i + 1;
    }
    ++i;  // the character after a carriage return is stepped over, joined or not
  }
  // 4. The rest, and a line break whatever the text ended with.
  write_(t.substr(pieceStart));
  write_(kByteLineBreak);
}

}  // namespace

std::unique_ptr<ByteOperation> LinkAdjacentLinesOnBytes(bool lineFeedEnds, bool loneCarriageReturns,
                                                        ByteWriter write) {
  if (loneCarriageReturns) return std::make_unique<LinkLinesBytes>(lineFeedEnds, std::move(write));
  return std::make_unique<LinkPlainLinesBytes>(lineFeedEnds, std::move(write));
}

}  // namespace scrivano
