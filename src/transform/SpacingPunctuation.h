// Spacing and punctuation by language. A character is Western when IsWesternChar says so (below U+007F or
// listed in parameter 6, read as each sweep over a text begins); every other character counts as Chinese
// here.
#pragma once

#include <cstdint>
#include <functional>

#include "text/Text.h"

namespace scrivano {

// White-space clean-up followed by the space rule: trims the ends (only U+0020 with spacesOnly, else all
// white space), collapses runs of spaces, takes spaces off line starts and ends, keeps at most two empty
// lines in a row, takes spaces away from tabs, and keeps a space only between two Western characters.
Text& NormalizeSpacing(Text& text, bool spacesOnly);

// Removes every U+0020 that does not stand between two Western characters; the first and the last
// character are never examined. Spaces go through the marker U+FFFF, so a U+FFFF already in the text
// goes as well, and a space after a removed one sees the marker as its left neighbour.
Text& ApplySpaceRule(Text& text);

// No space touches the separator afterwards.
void TightenAroundSeparator(Text& text, char16_t separator);

// Rewrites a segment's punctuation to the conventions of its language (half-width with a following space
// for Western, full-width for Chinese) and then cleans its spacing.
Text& NormalizeSegmentPunctuation(Text& segment, bool isWestern);

// "<<<", ">>>", "<<" and ">>" become a space; the full-width square brackets go.
void RemoveAngleMarks(Text& segment);

// Rewrites text piece by piece, each piece of some ten thousand characters and each after the first
// beginning at an index where startsPiece holds (an empty text is one empty piece). Passes that find
// nothing across such places give the same on the pieces one by one as on the whole text, and a piece
// stays in the cache through them all. rewrite learns whether its piece is the last.
void RewriteInPieces(Text& text, bool (*startsPiece)(TextView text, size_t at),
                     const std::function<void(Text& piece, bool isLast)>& rewrite);
// A piece start for passes whose patterns hold a carriage return only at their start, if at all.
bool IsCarriageReturnAt(TextView text, size_t at);

// Replace-all passes over one text, as Replace and ReplaceUntilNone make them, that skip at once a pattern
// holding a character the text lacks: the set of characters seen only grows with what the replacements
// put in, so a skipped pass would have found nothing. Long texts go through dozens of passes, and most
// patterns are absent from most texts. Every change of the text while the object lives must go through it.
class ReplacePasses {
 public:
  explicit ReplacePasses(Text& text);
  // For passes made of the watched characters alone: only those are looked for in the text, every other
  // character counts as present.
  ReplacePasses(Text& text, TextView watched);

  // False when the text cannot hold ch.
  bool MayHold(char16_t ch) const { return Present(ch); }
  // The same for a set of characters, as CharSet gives it: false when the text cannot hold all of them.
  bool MayHoldAll(uint64_t chars) const { return (present_ & chars) == chars; }
  static uint64_t CharSet(TextView chars);

  int Replace(TextView from, TextView to);
  int ReplaceUntilNone(TextView from, TextView to);
  // ReplaceUntilNone(removed + before, before) in one sweep: every run of removed just before a before.
  void RemoveRunsBefore(char16_t removed, char16_t before);
  // ReplaceUntilNone of four ch by one ch, then of two ch by one, in one sweep: every run of ch becomes
  // a single ch.
  void CollapseRuns(char16_t ch);
  // The three passes that take removed away around separator (removed + separator + removed, then
  // removed + separator, then separator + removed, each until none is left) in one sweep: every run of
  // removed that touches a separator goes.
  void RemoveRunsTouching(char16_t removed, char16_t separator);
  // A final `ending` (only when the text ends with it) becomes `by`.
  void ReplaceEnding(TextView ending, TextView by);

 private:
  int Run(TextView from, TextView to, int (*replace)(Text&, TextView, TextView));
  void Add(TextView chars);

  // The characters that the passes of this file look for each have a place of their own; every other
  // character shares the last place, so a pass holding one of them may run and find nothing.
  static uint64_t Bit(char16_t ch);
  bool Present(char16_t ch) const { return (present_ & Bit(ch)) != 0; }

  Text& text_;
  uint64_t present_ = 0;
};

}  // namespace scrivano
