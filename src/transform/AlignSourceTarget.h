// "01. Align source and target": conversions between the layouts translators keep bilingual text in:
// pairs of consecutive lines, one line per pair with a tab between source and target, a source file and a
// target file one after the other behind a "=====" line, and the segments of a translation memory.
//
// Every output pair or line is emitted preceded by "\r\n", so results begin with a line break. Source and
// target lines are trimmed by the line iterators. Nothing is kept between runs.
#pragma once

#include "text/Text.h"

namespace scrivano {

// How PairSections and PairLines write one pair.
namespace PairLayout {
inline constexpr int kSourceAboveTarget = 1;  // "\r\n" source "\r\n" target "\r\n"
inline constexpr int kSourceTabTarget = 2;    // "\r\n" source tab target
inline constexpr int kTargetAboveSource = 3;  // "\r\n" target "\r\n" source "\r\n"
inline constexpr int kTargetTabSource = 4;    // "\r\n" target tab source
}  // namespace PairLayout

// The entry: asks which conversion to apply and rewrites text. A cancelled prompt changes nothing.
void AlignSourceTarget(Text& text);

// The entry's question: false when it was cancelled, otherwise true with the number of the option chosen
// or typed (its leading digits).
bool AskAlignOption(int& option);
// The message of a source line without a partner (or a target line without one).
void ReportNotInPairs(TextView source, TextView target);

// Option 1: non-blank lines taken two at a time become source tab target. A source line without a
// partner is reported ("Source and target are not in pairs!") and ends the conversion; the pairs before
// it are the result.
Text ReturnPairsToTabPairs(TextView text);

// Option 2: each non-blank line (lines beginning with "*****" skipped) is cut at its first tab into a
// source line and a target line, each pair followed by an empty line. Pairs whose target still holds a
// tab, or whose source equals the target, come first under a banner.
Text TabPairsToReturnPairs(TextView text);

// Pairs the n-th non-blank line of the first "=====" section with the n-th of the second, in layout
// (see PairLayout). The walk ends with the shorter side; a side that runs out while the other still
// yields a line is reported. Without a "=====" line the target section is empty.
Text PairSections(TextView text, int layout);

// The pairing of PairSections on two sides given apart, so that nothing inside either side can be taken
// for a section separator.
Text PairLines(TextView sourceSide, TextView targetSide, int layout);

// Option 4: the contents of "<seg>" ... "</seg>" taken two at a time become source tab target.
// Unbalanced segments are reported with "Something wrong!"; what was converted before stays.
void TmxToTabPairs(Text& text);

// Option 5: glossary lines become term tab rest, split at the first slash or bracket. Lines that cannot
// be split continue the previous output line; lines split at a closing bracket come first under a
// separator line.
void GlossaryToTabPairs(Text& text);

}  // namespace scrivano
