#include "docx/PageLayout.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <system_error>

#include "docx/OfficeConversion.h"
#include "text/FileBytes.h"

namespace scrivano::word {
namespace {

// A run of this many characters, found again in the story, puts the match back on track.
constexpr size_t kAnchorLength = 8;
// How far ahead of the last match such a run is looked for first.
constexpr size_t kNearWindow = 4096;

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  const std::string folders = path ? path : "/usr/bin:/bin";
  for (size_t from = 0; from <= folders.size();) {
    size_t to = folders.find(':', from);
    if (to == std::string::npos) to = folders.size();
    const std::string folder = folders.substr(from, to - from);
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    from = to + 1;
  }
  return {};
}

// A private folder removed with everything in it.
class LayoutFolder {
 public:
  LayoutFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scrivano-layout-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~LayoutFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  LayoutFolder(const LayoutFolder&) = delete;
  LayoutFolder& operator=(const LayoutFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Characters both sides show, spelled alike: no white space, controls, soft hyphens or zero-width marks.
void AddComparable(char16_t ch, const std::function<void(char16_t)>& add) {
  switch (ch) {
    case kNonBreakingHyphenChar:
    case 0x2010:
    case 0x2011:
      add(u'-');
      return;
    case 0xFB00:
      add(u'f'), add(u'f');
      return;
    case 0xFB01:
      add(u'f'), add(u'i');
      return;
    case 0xFB02:
      add(u'f'), add(u'l');
      return;
    case 0xFB03:
      add(u'f'), add(u'f'), add(u'i');
      return;
    case 0xFB04:
      add(u'f'), add(u'f'), add(u'l');
      return;
    default:
      break;
  }
  if (ch < 0x20 || IsWhiteSpace(ch) || ch == 0x00AD || ch == 0xFFFC || (ch >= 0x200B && ch <= 0x200D) ||
      ch == 0xFEFF)
    return;
  add(ch);
}

// The first occurrence of needle in haystack within [from, to), or npos.
size_t FindRun(const Text& haystack, size_t from, size_t to, TextView needle) {
  to = std::min(to, haystack.size());
  if (from >= to || needle.size() > to - from) return Text::npos;
  const auto begin = haystack.begin() + static_cast<long>(from),
             end = haystack.begin() + static_cast<long>(to);
  const auto found =
      std::search(begin, end, std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
  return found == end ? Text::npos : static_cast<size_t>(found - haystack.begin());
}

}  // namespace

std::string MissingLayoutProgram() {
  if (OfficeConverterProgram().empty()) return "LibreOffice";
  if (FindOnPath("pdftotext").empty()) return "pdftotext (poppler)";
  return {};
}

std::vector<int> MatchPageTexts(Story& story, const std::vector<Text>& pageTexts) {
  // 1. The characters of both sides, with their story positions and page numbers.
  Text storyChars;
  std::vector<int> storyPositions;
  for (int i = 0; i < story.ParagraphCount(); ++i) {
    const StoryParagraph& paragraph = story.ParagraphAt(i);
    const int start = story.ParagraphStart(i);
    for (int k = 0; k < paragraph.Length(); ++k)
      AddComparable(paragraph.text[static_cast<size_t>(k)], [&](char16_t ch) {
        storyChars.push_back(ch);
        storyPositions.push_back(start + k);
      });
  }
  Text pageChars;
  std::vector<size_t> pageOf;
  std::vector<size_t> pageBegin;
  for (size_t page = 0; page < pageTexts.size(); ++page) {
    pageBegin.push_back(pageChars.size());
    for (const char16_t ch : pageTexts[page])
      AddComparable(ch, [&](char16_t comparable) {
        pageChars.push_back(comparable);
        pageOf.push_back(page);
      });
  }

  // 2. Walk both in step; where they part, find the page's next few characters again in the story.
  std::vector<int> firstMatch(pageTexts.size(), -1);
  size_t at = 0;
  bool inStep = false;
  for (size_t j = 0; j < pageChars.size() && at < storyChars.size(); ++j) {
    if (!inStep || storyChars[at] != pageChars[j]) {
      const TextView anchor = TextView(pageChars).substr(j, kAnchorLength);
      size_t found = FindRun(storyChars, at, at + kNearWindow + anchor.size(), anchor);
      const bool pageStart = j == pageBegin[pageOf[j]];
      if (found == Text::npos && pageStart) found = FindRun(storyChars, at, storyChars.size(), anchor);
      inStep = found != Text::npos;
      if (!inStep) continue;
      at = found;
    }
    int& first = firstMatch[pageOf[j]];
    if (first < 0) first = storyPositions[at];
    ++at;
  }

  // 3. Page starts, in order; a page that begins a paragraph begins at its start.
  std::vector<int> starts{0};
  for (size_t page = 1; page < firstMatch.size(); ++page) {
    int start = firstMatch[page];
    if (start < 0) continue;
    const int index = story.ParagraphIndexAt(start);
    const int paragraphStart = story.ParagraphStart(index);
    const Text& text = story.ParagraphAt(index).text;
    bool onlySpaceBefore = true;
    for (int k = 0; k < start - paragraphStart && onlySpaceBefore; ++k) {
      const char16_t ch = text[static_cast<size_t>(k)];
      onlySpaceBefore = ch < 0x20 || IsWhiteSpace(ch);
    }
    if (onlySpaceBefore) start = paragraphStart;
    if (start > starts.back()) starts.push_back(start);
  }
  return starts;
}

bool LaidOutPageStarts(Document& document, std::vector<int>& starts, std::string& reason,
                       int timeoutSeconds) {
  const std::string missing = MissingLayoutProgram();
  if (!missing.empty()) {
    reason = missing + " is not installed";
    return false;
  }
  LayoutFolder folder;
  if (folder.path().empty()) {
    reason = "no temporary folder";
    return false;
  }
  // 1. The document as it is now, laid out as PDF.
  const std::string docx = folder.path() + "/layout.docx";
  try {
    if (!WriteFileBytesAtomically(FromUtf8(docx), document.SaveToBytes())) {
      reason = "the document could not be written for the layout";
      return false;
    }
  } catch (const DocumentError& problem) {
    reason = problem.what();
    return false;
  }
  const std::string out = folder.path() + "/out";
  const int converted = RunProgramQuietly(
      {OfficeConverterProgram(), "-env:UserInstallation=file://" + folder.path() + "/profile", "--headless",
       "--norestore", "--convert-to", "pdf", "--outdir", out, docx},
      timeoutSeconds);
  const std::string pdf = out + "/layout.pdf";
  if (converted != 0 || !std::filesystem::exists(pdf)) {
    reason = converted < 0 ? "LibreOffice did not finish the layout"
                           : "LibreOffice could not lay the document out";
    return false;
  }
  // 2. Each page's text.
  const std::string textFile = out + "/layout.txt";
  std::string bytes;
  if (RunProgramQuietly({FindOnPath("pdftotext"), "-enc", "UTF-8", pdf, textFile}, timeoutSeconds) != 0 ||
      !ReadFileBytes(FromUtf8(textFile), bytes)) {
    reason = "pdftotext could not read the layout";
    return false;
  }
  std::vector<Text> pages(1);
  for (const char16_t ch : FromUtf8(bytes)) {
    if (ch == u'\f')
      pages.emplace_back();
    else
      pages.back().push_back(ch);
  }
  if (pages.size() > 1 && pages.back().empty()) pages.pop_back();  // after the last page's form feed
  starts = MatchPageTexts(*document.MainStory(), pages);
  return true;
}

}  // namespace scrivano::word
