#include "app/FunctionTable.h"

#include <array>
#include <charconv>

#include "app/SelectionPrompt.h"

namespace scrivano {
namespace {

bool MakeLowercaseEntry(TaskContext& context) {
  MakeLower(*context.workingText);
  return true;
}

bool MakeUppercaseEntry(TaskContext& context) {
  MakeUpper(*context.workingText);
  return true;
}

constexpr const char* kDesktop = "the desktop";
constexpr const char* kNotYet = "a later version of Scrivano";

const std::array<FunctionEntry, kFunctionEntryCount> kEntries = {{
    {0, u"00. Return to Scrivano", nullptr, nullptr, kDesktop},
    {1, u"01. Align source and target", "align", nullptr, kNotYet},
    {2, u"02. Clean various tags", "clean-tags", nullptr, kNotYet},
    {3, u"03. Combine windows/files text", "combine", nullptr, kNotYet},
    {4, u"04. Delete lines with specified substring", "delete-lines", nullptr, kNotYet},
    {5, u"05. Extract ending lines", "ending-lines", nullptr, kNotYet},
    {6, u"06. Extract webpage text", nullptr, nullptr, kDesktop},
    {7, u"07. Generate Trados format", "trados", nullptr, kNotYet},
    {8, u"08. Link adjacent lines", "link-lines", nullptr, kNotYet},
    {9, u"09. Make lowercase", "lowercase", MakeLowercaseEntry, nullptr},
    {10, u"10. Make uppercase", "uppercase", MakeUppercaseEntry, nullptr},
    {11, u"11. Open file(s)", nullptr, nullptr, kDesktop},
    {12, u"12. Remove redundant empty lines", "remove-empty-lines", nullptr, kNotYet},
    {13, u"13. Replace text in Word documents", nullptr, nullptr, "the document engine"},
    {14, u"14. Split English and Chinese", "split-en-zh", nullptr, kNotYet},
    {15, u"15. Split lines", "split-lines", nullptr, kNotYet},
    {16, u"16. Trados to segmentation format", "trados-to-pairs", nullptr, kNotYet},
    {17, u"17. Word processing", nullptr, nullptr, "the document engine"},
    {18, u"18. Exit Scrivano", nullptr, nullptr, kDesktop},
}};

// Operations the runner offers beyond the nineteen entries; number -1.
const std::array<FunctionEntry, 1> kDirectOperations = {{
    {-1, u"Extract phrases", "extract-phrases", nullptr, kNotYet},
}};

}  // namespace

std::span<const FunctionEntry> FunctionEntries() { return kEntries; }

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
