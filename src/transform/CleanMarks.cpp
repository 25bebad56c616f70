#include "transform/CleanMarks.h"

#include "transform/SpacingPunctuation.h"

namespace scrivano {
namespace {

// Marks removed, with the line break in front of them, from the start of a line; in this order.
constexpr const char16_t* kLineStartMarks[] = {u"l ", u"- ", u"o ",     u"c ",     u"\u0001 ", u"u ",
                                               u". ", u"?",  u"\u00A7", u"\u00FC", u"\u00B7"};

// Bullets that start a new line wherever they stand; in this order.
constexpr const char16_t* kBullets[] = {u"\u25CB", u"\u25CF", u"\u25B2", u"\u25A0"};

void RemoveMarks(Text& piece) {
  ReplacePasses passes(piece);
  // 3. Line-start marks.
  for (const char16_t* mark : kLineStartMarks) passes.Replace(u"\r\n" + Text(mark), u"\r\n");
  // 4. Bullets.
  for (const char16_t* bullet : kBullets) passes.Replace(bullet, u"\r\n");
  // 5. Single quotation marks.
  passes.Replace(u"\u2019", u"'");
  passes.Replace(u"\u2018", u"'");
  // 6. Ideographic space, and the private-use pair that some converters leave for a space.
  passes.Replace(u"\u3000", u" ");
  passes.Replace(u"\uE5E5\uE5E5", u" ");
  // 7. Carets, and degree signs at line starts with their line break.
  passes.Replace(u"^", u"");
  passes.Replace(u"\r\n\u00B0", u"");
}

}  // namespace

Text CleanMarks(TextView text) {
  // 1. A line break in front, so that the first line is treated like every other line.
  Text work;
  work.reserve(text.size() + 2);
  work = u"\r\n";
  work.append(text);
  CleanMarksAfterLineBreak(work);
  return work;
}

void CleanMarksAfterLineBreak(Text& work) {
  // 2. The wait cursor is the desktop's affair.
  // 3 to 7, piece by piece: every pattern holding a line break starts with it.
  RewriteInPieces(work, IsCarriageReturnAt, [](Text& piece, bool) { RemoveMarks(piece); });
  // 8.
  NormalizeSpacing(work, true);
}

}  // namespace scrivano
