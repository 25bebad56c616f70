#include "cli/WebPages.h"

#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "tasks/WebPageExtraction.h"
#include "text/Tokenizers.h"
#include "web/PageBatch.h"

namespace scrivano::cli {
namespace {

std::mutex errorMutex;

void ErrorLine(const std::string& line) {
  std::lock_guard lock(errorMutex);
  std::fprintf(stderr, "scrivano-cli: %s\n", line.c_str());
  std::fflush(stderr);
}

std::string Seconds(long milliseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(milliseconds) / 1000.0);
  return text;
}

void ReportPage(const companion::PageReport& page) {
  if (page.characters < 0)
    ErrorLine(page.address + ": could not load the page: " + page.failure + " (" +
              Seconds(page.milliseconds) + ")");
  else
    ErrorLine(page.address + ": " + Seconds(page.milliseconds) + ", " + std::to_string(page.characters) +
              " characters");
}

}  // namespace

WebPagesSummary SummarizeReply(TextView reply) {
  WebPagesSummary summary;
  const size_t separator = reply.find(u"=====");
  const TextView header = reply.substr(0, separator == TextView::npos ? reply.size() : separator);
  for (size_t start = 0; start < header.size();) {
    size_t end = header.find(u"\r\n", start);
    if (end == TextView::npos) end = header.size();
    const TextView line = header.substr(start, end - start);
    if (line.find(u'\t') != TextView::npos) {
      ++summary.pages;
      if (line.find(u"\tCould not load the page: ") != TextView::npos) ++summary.failed;
    }
    start = end + 2;
  }
  return summary;
}

void InstallWebPageExtractor(std::string companionProgram, WebPagesSummary& summary) {
  SetWebPageExtractor([program = std::move(companionProgram), &summary](TaskContext& context) {
    Text text = *context.workingText;
    Trim(text);
    if (text.empty()) return 0;
    if (access(program.c_str(), X_OK) != 0)
      throw DesktopUnavailable("Extracting web pages needs the companion program vexo1, which is not at " +
                               program + " (it is built with Qt WebEngine)");
    Text fileList, addressList;
    SplitPageList(text, fileList, addressList);
    const int addresses = ListLineCount(addressList);
    const BatchTimes times;
    const BatchResult result = ExtractPagesWithCompanion(program, ToUtf8(addressList), times, ReportPage,
                                                         [](const std::string& line) { ErrorLine(line); });
    if (result.end != BatchResult::End::kReply) {
      summary.pages = summary.failed = addresses;
      throw NoPageRead(BatchFailure(result, program, times, addresses) +
                       "; no page was read, nothing was written");
    }
    *context.workingText = FromUtf8(result.reply);
    summary = SummarizeReply(*context.workingText);
    DeliverPageReply(context, fileList);
    if (summary.failed > 0)
      ErrorLine(std::to_string(summary.failed) + " of " + std::to_string(summary.pages) +
                " pages could not be loaded");
    return 1;
  });
}

}  // namespace scrivano::cli
