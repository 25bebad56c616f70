#include "platform/OfficeWords.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "text/FileBytes.h"

namespace scrivano::platform {
namespace {

constexpr std::uint32_t kCatalogMagic = 0x950412de;
constexpr char kContextEnd = '\x04';
constexpr std::string_view kDialogContext = "findreplacedialog|";
constexpr std::string_view kTitleId = "findreplacedialog|FindReplaceDialog";
constexpr std::string_view kFindId = "findreplacedialog|label4";
constexpr std::string_view kReplaceId = "findreplacedialog|label5";
constexpr std::string_view kReplaceAllId = "findreplacedialog|replaceall";

class CatalogReader {
 public:
  explicit CatalogReader(std::string_view bytes) : bytes_(bytes) {}

  std::optional<std::uint32_t> Word(size_t at, bool bigEndian) const {
    if (at > bytes_.size() || bytes_.size() - at < 4) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const auto byte = static_cast<std::uint8_t>(bytes_[at + static_cast<size_t>(bigEndian ? i : 3 - i)]);
      value = (value << 8) | byte;
    }
    return value;
  }

  // The string of the table's entry (a length and an offset); nullopt when it reaches outside the bytes.
  std::optional<std::string_view> String(std::uint32_t table, std::uint32_t index, bool bigEndian) const {
    const size_t entry = size_t{table} + size_t{index} * 8;
    const auto length = Word(entry, bigEndian);
    const auto offset = Word(entry + 4, bigEndian);
    if (!length || !offset || *offset > bytes_.size() || bytes_.size() - *offset < *length)
      return std::nullopt;
    return bytes_.substr(*offset, *length);
  }

 private:
  std::string_view bytes_;
};

std::optional<std::string> EntryOf(const std::vector<CatalogEntry>& entries, std::string_view context,
                                   bool original) {
  for (const CatalogEntry& entry : entries)
    if (entry.context == context) return original ? entry.original : entry.translation;
  return std::nullopt;
}

// The word of the context in the catalog, or the fallback when the catalog lacks it or leaves it empty.
Text Word(const std::vector<CatalogEntry>& entries, std::string_view context, bool original,
          const Text& fallback) {
  const std::optional<std::string> word = EntryOf(entries, context, original);
  return word && !word->empty() ? FromUtf8(*word) : fallback;
}

FindReplaceWords WordsOf(const std::vector<CatalogEntry>& entries, bool original,
                         const FindReplaceWords& fallback) {
  FindReplaceWords words;
  words.title = Word(entries, kTitleId, original, fallback.title);
  words.findLabel = Word(entries, kFindId, original, fallback.findLabel);
  words.replaceLabel = Word(entries, kReplaceId, original, fallback.replaceLabel);
  words.replaceAllLabel = Word(entries, kReplaceAllId, original, fallback.replaceAllLabel);
  return words;
}

}  // namespace

FindReplaceWords EnglishFindReplaceWords() {
  return {"en-US", u"Find and Replace", u"_Find:", u"Re_place:", u"Replace A_ll"};
}

std::vector<CatalogEntry> ReadCatalog(std::string_view bytes, std::string_view contextPrefix) {
  std::vector<CatalogEntry> entries;
  const CatalogReader reader(bytes);
  const auto magic = reader.Word(0, false);
  if (!magic) return entries;
  const bool bigEndian = *magic != kCatalogMagic;
  if (bigEndian && reader.Word(0, true) != kCatalogMagic) return entries;
  const auto count = reader.Word(8, bigEndian);
  const auto originals = reader.Word(12, bigEndian);
  const auto translations = reader.Word(16, bigEndian);
  if (!count || !originals || !translations) return entries;
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto key = reader.String(*originals, i, bigEndian);
    if (!key) break;  // the table itself ends outside the bytes
    const size_t end = key->find(kContextEnd);
    if (end == std::string_view::npos || !key->substr(0, end).starts_with(contextPrefix)) continue;
    const auto translation = reader.String(*translations, i, bigEndian);
    if (!translation) continue;
    entries.push_back({std::string(key->substr(0, end)), std::string(key->substr(end + 1)),
                       std::string(translation->substr(0, translation->find('\0')))});
  }
  return entries;
}

std::vector<FindReplaceWords> ReadFindReplaceWords(const std::string& programFolder) {
  std::vector<FindReplaceWords> words{EnglishFindReplaceWords()};
  if (programFolder.empty()) return words;
  std::vector<std::filesystem::path> languages;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(programFolder + "/resource", error))
    if (entry.is_directory(error)) languages.push_back(entry.path());
  std::sort(languages.begin(), languages.end());
  bool englishRead = false;
  for (const std::filesystem::path& folder : languages) {
    std::string bytes;
    if (!ReadFileBytes(FromUtf8((folder / "LC_MESSAGES" / "svx.mo").string()), bytes)) continue;
    const std::vector<CatalogEntry> entries = ReadCatalog(bytes, kDialogContext);
    if (entries.empty()) continue;
    // The originals are this office's English words, which may have moved on since 7.4.
    if (!englishRead) {
      words[0] = WordsOf(entries, true, words[0]);
      words[0].language = "en-US";
      englishRead = true;
    }
    FindReplaceWords translated = WordsOf(entries, false, words[0]);
    translated.language = folder.filename().string();
    words.push_back(std::move(translated));
  }
  return words;
}

char16_t AccessKeyOf(TextView label) {
  for (size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != u'_' && label[i] != u'~') continue;
    if (label[i + 1] != label[i]) return label[i + 1];
    ++i;
  }
  return 0;
}

const std::vector<FindReplaceWords>& OfficeWordsCache::ForProgramFolder(const std::string& programFolder) {
  std::lock_guard lock(mutex_);
  auto found = byFolder_.find(programFolder);
  if (found == byFolder_.end())
    found = byFolder_.emplace(programFolder, ReadFindReplaceWords(programFolder)).first;
  return found->second;
}

}  // namespace scrivano::platform
