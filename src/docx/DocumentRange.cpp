#include <algorithm>
#include <cmath>

#include "docx/DocumentEngine.h"

namespace scrivano::word {
namespace {

// Applies Word's letter-case rule for replacements when case is not matched: a found text in capitals
// gives the replacement in capitals, a found text with a capital first letter gives the replacement one.
Text MatchLetterCase(const Text& found, Text replacement) {
  bool hasLetter = false, allUpper = true;
  for (const char16_t ch : found) {
    if (ch >= u'a' && ch <= u'z') allUpper = false;
    if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z')) hasLetter = true;
  }
  if (!hasLetter) return replacement;
  if (allUpper && found.size() > 1) {
    MakeUpper(replacement);
  } else if (!found.empty() && found[0] >= u'A' && found[0] <= u'Z' && !replacement.empty() &&
             replacement[0] >= u'a' && replacement[0] <= u'z') {
    replacement[0] = static_cast<char16_t>(replacement[0] - 32);
  }
  return replacement;
}

}  // namespace

// ---- Range and Selection ----

Range::Range(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end)
    : document_(std::move(document)), story_(std::move(story)) {
  anchorStart = start;
  anchorEnd = std::max(start, end);
  story_->Register(this);
}

Range::~Range() {
  story_->Unregister(this);
}

Selection::Selection(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end)
    : Range(std::move(document), std::move(story), start, end) {
  isSelection_ = true;
}

bool Range::Usable() const {
  return story_->Alive();
}

void Range::SetExtent(int start, int end) {
  const int length = story_->Length();
  anchorStart = std::clamp(start, 0, length);
  anchorEnd = std::clamp(end, anchorStart, length);
}

void Range::MoveToStory(std::shared_ptr<Story> story) {
  if (story == story_) return;
  story_->Unregister(this);
  story_ = std::move(story);
  story_->Register(this);
}

scrivano::Text Range::Text() {
  return Usable() ? story_->TextOf(anchorStart, anchorEnd) : scrivano::Text();
}

void Range::SetText(TextView text) {
  if (!Usable()) return;
  const RunFormat format = story_->FormatAt(anchorStart, anchorStart == anchorEnd);
  story_->Delete(anchorStart, anchorEnd);
  int at = anchorStart;
  const int count = story_->InsertText(anchorStart, text, format, &at);
  SetExtent(at, at + count);
}

void Range::SetStart(int start) {
  SetExtent(start, std::max(start, anchorEnd));
}

void Range::SetEnd(int end) {
  SetExtent(std::min(anchorStart, end), end);
}

void Range::SetRange(int start, int end) {
  SetExtent(start, std::max(start, end));
}

std::shared_ptr<word::Font> Range::Font() {
  return std::make_shared<word::Font>(shared_from_this());
}

void Range::InsertBefore(TextView text) {
  if (!Usable()) return;
  const int end = anchorEnd;
  int at = anchorStart;
  const int count = story_->InsertText(anchorStart, text, story_->FormatAt(anchorStart, false), &at);
  SetExtent(at, std::max(end, at) + count);
}

void Range::InsertAfter(TextView text) {
  if (!Usable()) return;
  const int start = anchorStart;
  // Nothing can follow a cell's end inside the cell: text after a range that ends with one goes to the
  // end of the cell, as Word puts it.
  const bool cellEnd = anchorEnd > anchorStart && story_->CharAt(anchorEnd - 1) == kCellMark;
  const int position = cellEnd ? anchorEnd - 1 : anchorEnd;
  int at = position;
  const int count = story_->InsertText(position, text, story_->FormatAt(position, true), &at);
  SetExtent(std::min(start, at), std::max(anchorEnd, at + count));
}

int Range::InsertAtPositions(std::vector<int> positions, TextView text) {
  return Usable() ? story_->InsertAtPositions(std::move(positions), text) : 0;
}

void Range::InsertBreak(int type) {
  const char16_t breakChar = type == kLineBreak     ? kLineBreakChar
                             : type == kPageBreak   ? kPageBreakChar
                             : type == kColumnBreak ? kColumnBreakChar
                                                    : 0;
  if (!breakChar) return;
  SetText(TextView(&breakChar, 1));
  SetExtent(anchorEnd, anchorEnd);
}

std::shared_ptr<Range> Range::GoTo(int what, int which, int count, int) {
  int target = anchorStart;
  if (what == kGoToPage && Usable() && story_ == document_->MainStory()) {
    const std::vector<int> starts = document_->PageStarts();
    const int pages = static_cast<int>(starts.size());
    auto pageOf = [&](int position) {
      return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    };
    int page = 0;
    switch (which) {
      case kGoToNext:
        page = pageOf(anchorEnd) + count;
        break;
      case kGoToPrevious:
        page = pageOf(anchorStart) - count;
        break;
      case kGoToLast:
        page = pages - 1;
        break;
      default:
        page = count - 1;
        break;
    }
    target = starts[static_cast<size_t>(std::clamp(page, 0, pages - 1))];
  }
  if (isSelection_) SetExtent(target, target);
  return std::make_shared<Range>(document_, story_, target, target);
}

std::shared_ptr<word::Paragraphs> Range::Paragraphs() {
  return std::make_shared<word::Paragraphs>(
      document_, story_, std::make_shared<Range>(document_, story_, anchorStart, anchorEnd));
}

std::shared_ptr<word::Find> Range::Find() {
  return std::make_shared<word::Find>(shared_from_this());
}

void Range::Select() {
  const std::shared_ptr<word::Selection> selection = document_->SelectionObject();
  if (selection.get() == this) return;
  selection->MoveToStory(story_);
  selection->SetExtent(anchorStart, anchorEnd);
}

// ---- Find and Replacement ----

std::shared_ptr<word::Replacement> Find::Replacement() {
  if (!replacement_) replacement_ = std::make_shared<word::Replacement>();
  return replacement_;
}

std::shared_ptr<word::Font> Replacement::Font() {
  if (!font_) font_ = std::make_shared<word::Font>(nullptr);
  return font_;
}

bool Find::Execute(const FindArgs& args) {
  Range& range = *range_;
  if (!range.Usable()) return false;
  Story& story = *range.story_;
  const int size = static_cast<int>(PatternPositions(args.findText).size());
  if (size == 0) return false;
  const int length = story.Length();
  const bool continuing = range.foundExtent_ == std::make_pair(range.Start(), range.End());
  const bool collapsed = range.Start() == range.End();
  int found = -1;
  if (args.forward) {
    const int from = continuing ? range.End() : range.Start();
    const int limit = continuing || collapsed || args.wrap == kWrapContinue ? length : range.End();
    found = story.FindForward(args.findText, from, limit, args.matchCase, args.matchWholeWord);
    if (found < 0 && args.wrap == kWrapContinue)
      found = story.FindForward(args.findText, 0, std::min(length, from + size - 1), args.matchCase,
                                args.matchWholeWord);
  } else {
    const int from = continuing ? range.Start() : range.End();
    const int low = continuing || collapsed || args.wrap == kWrapContinue ? 0 : range.Start();
    found = story.FindBackward(args.findText, from, low, args.matchCase, args.matchWholeWord);
    if (found < 0 && args.wrap == kWrapContinue)
      found = story.FindBackward(args.findText, length, std::max(0, from - size + 1), args.matchCase,
                                 args.matchWholeWord);
  }
  if (found < 0) return false;
  range.SetExtent(found, found + size);
  if (args.replace != kReplaceNone) ReplaceMatch(args);
  range.foundExtent_ = std::make_pair(range.Start(), range.End());
  return true;
}

void Find::ReplaceMatch(const FindArgs& args) {
  // Only the part that differs is rewritten, so that characters the replacement keeps keep their
  // formatting; new characters take the formatting of the match's first character.
  Range& range = *range_;
  Story& story = *range.story_;
  const int start = range.Start(), end = range.End();
  const Text found = PatternPositions(story.TextOf(start, end));
  // Compared in positions, marks included: a replacement may keep the cell mark it was found with.
  Text replacement =
      PatternPositions(args.matchCase ? args.replaceWith : MatchLetterCase(found, args.replaceWith));
  Replace(replacement, u"\r\n", u"\r");
  Replace(replacement, u"\n", u"\r");
  size_t prefix = 0;
  while (prefix < found.size() && prefix < replacement.size() && found[prefix] == replacement[prefix])
    ++prefix;
  size_t suffix = 0;
  while (suffix < found.size() - prefix && suffix < replacement.size() - prefix &&
         found[found.size() - 1 - suffix] == replacement[replacement.size() - 1 - suffix])
    ++suffix;
  const RunFormat format = story.FormatAt(start, false);
  const int cutFrom = start + static_cast<int>(prefix);
  story.Delete(cutFrom, end - static_cast<int>(suffix));
  int at = cutFrom;
  const int count = story.InsertText(
      cutFrom, TextView(replacement).substr(prefix, replacement.size() - prefix - suffix), format, &at);
  range.SetExtent(start, std::max(range.End(), at + count));
  if (args.format && replacement_ && replacement_->Font()) {
    const std::shared_ptr<word::Font> font = replacement_->Font();
    const int from = range.Start(), to = range.End();
    if (font->PendingColor()) {
      const std::string hex = HexFromColor(*font->PendingColor());
      story.ChangeRunProperties(from, to, [&](pugi::xml_node properties) {
        pugi::xml_node color = EnsureRunProperty(properties, "w:color");
        color.remove_attributes();
        color.append_attribute("w:val") = hex.c_str();
      });
    }
    if (font->PendingSize()) {
      const std::string halfPoints = std::to_string(std::lround(*font->PendingSize() * 2));
      story.ChangeRunProperties(from, to, [&](pugi::xml_node properties) {
        for (const char* name : {"w:sz", "w:szCs"}) {
          pugi::xml_node size = EnsureRunProperty(properties, name);
          size.remove_attributes();
          size.append_attribute("w:val") = halfPoints.c_str();
        }
      });
    }
  }
}

}  // namespace scrivano::word
