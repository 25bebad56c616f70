#include "functions/FunctionTable.h"

#include <array>
#include <charconv>

#include "prompt/SelectionPrompt.h"
#include "tasks/WebPageExtraction.h"
#include "transform/AlignSourceTarget.h"
#include "transform/CombineFiles.h"
#include "transform/LineOperations.h"
#include "transform/PhraseExtraction.h"
#include "transform/SplitEnglishChinese.h"
#include "transform/TagCleaning.h"
#include "transform/TradosFormats.h"
#include "word/WordProcessing.h"

namespace scrivano {
namespace {

// Entries that rewrite the working text in place and always hand it back.
template <void (*operation)(Text&)>
bool InPlaceEntry(TaskContext& context) {
  operation(*context.workingText);
  return true;
}

// Entries whose operation returns the new working text.
template <Text (*operation)(TextView)>
bool ReturnedTextEntry(TaskContext& context) {
  *context.workingText = operation(*context.workingText);
  return true;
}

// Hands back only when the result did not go into the office window.
bool TradosToSegmentationEntry(TaskContext& context) {
  return !TradosToSegmentation(*context.workingText);
}

bool MakeLowercaseEntry(TaskContext& context) {
  return InPlaceEntry<MakeLowercase>(context);
}

bool MakeUppercaseEntry(TaskContext& context) {
  return InPlaceEntry<MakeUppercase>(context);
}

// Hands back only when the tags were not cleaned inside the office window.
bool CleanVariousTagsEntry(TaskContext& context) {
  CleanVariousTags(context);
  return context.targetWindow == 0;
}

// The answer No keeps each pair on one line.
bool SplitEnglishChineseEntry(TaskContext& context) {
  const bool keepApart = AskYesNo(u"Keep source and target in different lines ?", u"Notice");
  SplitEnglishChinese(*context.workingText, !keepApart);
  return true;
}

bool ExtractPhrasesEntry(TaskContext& context) {
  ExtractPhrases(context);
  return true;
}

// The companion's reply (or, when there was none, the list as it was) is handed back either way.
bool ExtractWebpageTextEntry(TaskContext& context) {
  ExtractWebpages(context);
  return true;
}

// The working text lists the documents; it comes back with the report of the review copies written.
bool WordProcessingEntry(TaskContext& context) {
  WordProcessing(context);
  return true;
}

constexpr const char* kDesktop = "the desktop";

const std::array<FunctionEntry, kFunctionEntryCount> kEntries = {{
    {0, u"00. Return to Scrivano", nullptr, nullptr, kDesktop},
    {1, u"01. Align source and target", "align", InPlaceEntry<AlignSourceTarget>, nullptr},
    {2, u"02. Clean various tags", "clean-tags", CleanVariousTagsEntry, nullptr},
    {3, u"03. Combine windows/files text", "combine", InPlaceEntry<CombineWindowsOrFiles>, nullptr},
    {4, u"04. Delete lines with specified substring", "delete-lines", InPlaceEntry<DeleteLinesWithSubstring>,
     nullptr},
    {5, u"05. Extract ending lines", "ending-lines", InPlaceEntry<ExtractEndingLines>, nullptr},
    {6, u"06. Extract webpage text", nullptr, ExtractWebpageTextEntry, nullptr},
    {7, u"07. Generate Trados format", "trados", ReturnedTextEntry<GenerateTradosFormat>, nullptr},
    {8, u"08. Link adjacent lines", "link-lines", InPlaceEntry<LinkAdjacentLinesInPlace>, nullptr},
    {9, u"09. Make lowercase", "lowercase", MakeLowercaseEntry, nullptr},
    {10, u"10. Make uppercase", "uppercase", MakeUppercaseEntry, nullptr},
    {11, u"11. Open file(s)", nullptr, nullptr, kDesktop},
    {12, u"12. Remove redundant empty lines", "remove-empty-lines", InPlaceEntry<RemoveRedundantEmptyLines>,
     nullptr},
    {13, u"13. Replace text in Word documents", nullptr, nullptr, kDesktop},
    {14, u"14. Split English and Chinese", "split-en-zh", SplitEnglishChineseEntry, nullptr},
    {15, u"15. Split lines", "split-lines", InPlaceEntry<SplitLines>, nullptr},
    {16, u"16. Trados to segmentation format", "trados-to-pairs", TradosToSegmentationEntry, nullptr},
    {17, u"17. Word processing", "word-processing", WordProcessingEntry, nullptr},
    {18, u"18. Exit Scrivano", nullptr, nullptr, kDesktop},
}};

// Operations the runner offers beyond the nineteen entries; number -1.
const std::array<FunctionEntry, 1> kDirectOperations = {{
    {-1, u"Extract phrases", "extract-phrases", ExtractPhrasesEntry, nullptr},
}};

}  // namespace

std::span<const FunctionEntry> FunctionEntries() {
  return kEntries;
}

const FunctionEntry* FindFunctionEntry(std::string_view numberOrName) {
  int number = -1;
  const char* end = numberOrName.data() + numberOrName.size();
  const auto [ptr, error] = std::from_chars(numberOrName.data(), end, number);
  if (!numberOrName.empty() && error == std::errc() && ptr == end) {
    return number >= 0 && number < kFunctionEntryCount ? &kEntries[static_cast<size_t>(number)] : nullptr;
  }
  for (const auto* table : {kEntries.data(), kDirectOperations.data()}) {
    const size_t count = table == kEntries.data() ? kEntries.size() : kDirectOperations.size();
    for (size_t i = 0; i < count; ++i)
      if (table[i].name && numberOrName == table[i].name) return &table[i];
  }
  return nullptr;
}

}  // namespace scrivano
