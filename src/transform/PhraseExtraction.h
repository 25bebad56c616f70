// The repeated-phrase report: every run of n consecutive words (an ASCII word or a single non-ASCII
// character), for n from a maximum down to a minimum, that occurs at least a given number of times;
// longer phrases first, each occurrence counted once and then blanked so that its shorter pieces are not
// counted again. With it, two small routines other operations share: a prompt whose options come from a
// numbered parameter, and the sorting of a tab-separated list.
#pragma once

#include <list>
#include <vector>

#include "tasks/TaskContext.h"
#include "text/Text.h"

namespace scrivano {

// One line of the input after its spaces were normalised.
struct LineEntry {
  Text line;
  Text phrase;           // left empty: the search reads the current window in place
  int count = 0;         // words of the line, later the words still in play
  int phraseLength = 0;  // length of phrase
  int cut = 0;           // end index of the first count words
  int windowEnd = 0;
  int windowStart = 0;
  int size = 0;  // length of line
};

// The line list, ordered by count, largest first.
using LineList = std::list<LineEntry>;

// The state of one extraction.
struct PhraseSearch {
  int minWords = 0;
  int maxWords = 0;
  int minRepeats = 0;
  std::vector<Text> stopList;  // items of parameter 22
  Text report;                 // the phrase list; first it holds the prompt
  Text countList;              // the count list, items separated by tabs
};

// The whole operation on context.workingText, which becomes the report. Also run by the document
// engine's "Extract phrases" on the gathered text of its documents. Returns false, leaving the text
// unchanged, when the prompt was cancelled; also false when the text held no line (the text is then
// empty and no report is made).
bool ExtractPhrases(TaskContext& context);

// Asks for the word numbers and the repetitions, reads the stop list, builds the line list and rebuilds
// the working text as the lines in list order, each followed by "\r". False when the prompt was cancelled
// or no line was found.
bool CollectLines(LineList& lines, PhraseSearch& search, TaskContext& context);

// The search over the lines CollectLines built, read from the working text as CollectLines left it; the
// working text becomes the report. The entries keep their counts and windows but give up their lines,
// which the search holds in its index.
void FindRepeatedPhrases(LineList& lines, PhraseSearch& search, TaskContext& context);

// A selection prompt whose options are the items of parameter k in ascending order. An empty message
// becomes "Please select or set an option:". True when the user confirmed; message then holds the
// answer.
bool AskParameterOption(Text& message, int k);

// Sorts the tab-separated list by code units, dropping duplicates. Mode 0: ascending, trimmed, a final
// tab kept. Mode 3: descending, each item preceded by "\r\n". Other modes leave the list alone.
void SortListItems(Text& list, int mode);

// Moves entry.cut back over its last word and lowers entry.count. The cut never goes below the end of a
// leading non-ASCII character.
void DropLastWord(LineEntry& entry);

}  // namespace scrivano
