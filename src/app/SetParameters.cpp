#include "app/SetParameters.h"

#include <vector>

#include "prompt/SelectionPrompt.h"
#include "text/Tokenizers.h"
#include "toolkit/TextFiles.h"

namespace scrivano {
namespace {

constexpr char16_t kSectionHeader[] = u"[PARAMETERS]";
constexpr char16_t kPromptHead[] = u"Please select an option:";
constexpr char16_t kKeepOneSetting[] = u"Must keep at least one setting for this parameter!";

struct Line {
  int start;  // index of the line's first character in the file text
  Text text;  // trimmed
};

// The non-blank lines after the section header, each with its position.
std::vector<Line> SectionLines(TextView text, int sectionAt) {
  std::vector<Line> lines;
  int pos = sectionAt;
  while (pos < Length(text)) {
    int end = Find(text, kLineBreak, pos);
    if (end < 0) end = Length(text);
    const Text line = Trimmed(text.substr(static_cast<size_t>(pos), static_cast<size_t>(end - pos)));
    if (pos > sectionAt && line.starts_with(u'[')) break;  // the next section
    if (!line.empty() && pos > sectionAt) lines.push_back({pos, line});
    pos = end + 2;
  }
  return lines;
}

Text FirstTabField(TextView line) {
  return Left(line, Find(line, u'\t'));
}

bool IsDescriptionLine(const Line& line) {
  const Text field = Find(line.text, u'\t') < 0 ? line.text : FirstTabField(line.text);
  return field.starts_with(u"//");
}

// True when the line holds key as a whole key ("Para1" does not match "Para10=").
bool HoldsKey(TextView line, TextView key) {
  for (int at = Find(line, key); at >= 0; at = Find(line, key, at + 1)) {
    const int after = at + Length(key);
    if (after == Length(line) || line[static_cast<size_t>(after)] < u'0' ||
        line[static_cast<size_t>(after)] > u'9')
      return true;
  }
  return false;
}

// Removes every whole line equal to line; returns how many characters went before limit.
int RemoveWholeLines(Text& text, TextView line, int limit, bool& removedAny) {
  const Text withBreak = Text(line) + kLineBreak;
  int removedBefore = 0;
  int at = 0;
  while ((at = Find(text, withBreak, at)) >= 0) {
    const bool lineStart = at == 0 || (at >= 2 && text[static_cast<size_t>(at - 1)] == u'\n' &&
                                       text[static_cast<size_t>(at - 2)] == u'\r');
    if (!lineStart) {
      ++at;
      continue;
    }
    text.erase(static_cast<size_t>(at), withBreak.size());
    removedAny = true;
    if (at < limit) removedBefore += std::min(Length(withBreak), limit - at);
  }
  return removedBefore;
}

int CountOccurrences(TextView text, TextView sub) {
  int count = 0;
  for (int at = Find(text, sub); at >= 0; at = Find(text, sub, at + Length(sub))) ++count;
  return count;
}

// Where a setting for a parameter without any goes: the end of the section.
int SectionEnd(TextView text, int sectionAt) {
  const int next = Find(text, u"\r\n[", sectionAt + 1);
  return next < 0 ? Length(text) : next + 2;
}

}  // namespace

Text DescriptionOption(TextView descriptionLine) {
  // Runs of tabs count as one; the first field is the description, the second the number.
  Text collapsed(descriptionLine);
  ReplaceUntilNone(collapsed, u"\t\t", u"\t");
  int pos = 0;
  Text description, number;
  NextTokenFound(collapsed, description, pos, u"\t");
  NextTokenFound(collapsed, number, pos, u"\t");
  const int padding = 10 - 2 * Length(number);
  // The description in the user's language; the number before it is what the answer is read by.
  return number + Text(static_cast<size_t>(padding > 0 ? padding : 0), u' ') + ShownText(description);
}

bool EditParameterFile(TextView parameterFile) {
  // 1. The file, in either of the text-file reader's encodings.
  Text text;
  if (!ReadTextFile(text, parameterFile)) return false;
  bool changed = false;
  const Text separator(1, kOptionSeparator);

  while (true) {
    // 2.1 and 2.2: the parameters by their descriptions, after the heading line.
    const int sectionAt = Find(text, kSectionHeader);
    if (sectionAt < 0) break;
    const std::vector<Line> lines = SectionLines(text, sectionAt);
    size_t settingsFrom = lines.empty() ? 0 : 1;
    Text prompt = kPromptHead;
    while (settingsFrom < lines.size() && IsDescriptionLine(lines[settingsFrom])) {
      prompt += separator + DescriptionOption(MidFrom(lines[settingsFrom].text, 2));
      ++settingsFrom;
    }
    // 2.3 Cancel is the default button.
    if (!AskSelection(prompt, -1.0f, true)) break;
    // 2.4 The number is the answer up to its first space.
    Text answer = Trimmed(prompt);
    const int space = Find(answer, u' ');
    const Text key = u"Para" + (space < 0 ? answer : Left(answer, space));

    // 2.5 The parameter's block: the first settings line with the key and the lines right after it.
    int blockAt = -1;
    Text settingsPrompt = kPromptHead;
    for (size_t i = settingsFrom; i < lines.size(); ++i) {
      if (!HoldsKey(lines[i].text, key)) {
        if (blockAt >= 0) break;
        continue;
      }
      if (blockAt < 0) blockAt = lines[i].start;
      settingsPrompt += separator + lines[i].text;
    }
    // 2.6
    if (!AskSelection(settingsPrompt, -1.0f, true)) continue;

    if (!settingsPrompt.empty()) {
      // 2.7 The answer becomes the first line of the block, and nowhere else.
      if (blockAt < 0) blockAt = SectionEnd(text, sectionAt);
      bool removed = false;
      blockAt -= RemoveWholeLines(text, settingsPrompt, blockAt, removed);
      if (blockAt > 0 &&
          !(blockAt >= 2 && text.compare(static_cast<size_t>(blockAt - 2), 2, kLineBreak) == 0)) {
        text.insert(static_cast<size_t>(blockAt), kLineBreak);
        blockAt += 2;
      }
      text.insert(static_cast<size_t>(blockAt), settingsPrompt + kLineBreak);
      changed = true;
      continue;
    }
    // 2.8 An empty answer deletes the setting chosen last, unless it is the parameter's only one.
    if (CountOccurrences(text, kLineBreak + key + u"=") < 2) {
      ShowMessage(kKeepOneSetting, u"Notice", MessageButtons::Ok, true);
      continue;
    }
    const Text lastItem = LastSelectedItem();
    bool removed = false;
    if (!lastItem.empty()) RemoveWholeLines(text, lastItem, 0, removed);
    changed = changed || removed;
  }

  // 3. Written back with a byte-order mark, replacing the file only once the new one is complete.
  if (!changed) return false;
  return WriteTextFile(parameterFile, Text(1, u'\xFEFF') + text, false);
}

}  // namespace scrivano
