// "06. Extract webpage text" in the runner: the companion program beside the runner, started for this
// run (on Qt's offscreen platform when there is no display), a line on standard error for each page as
// it ends, and the reply as the working text, laid out as the workbench's.
#pragma once

#include <stdexcept>
#include <string>

#include "tasks/TaskContext.h"

namespace scrivano::cli {

// No page could be read: the companion gave no reply (what) or every page failed to load.
class NoPageRead : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct WebPagesSummary {
  int pages = 0;   // addresses answered in the reply
  int failed = 0;  // of them, pages that could not be loaded
  // True when addresses were given and not one page could be read (also when no reply came).
  bool NothingRead() const { return failed > 0 && failed == pages; }
};

// Installs the runner's page extractor for this run; it fills summary. companionProgram: the companion's
// program file.
void InstallWebPageExtractor(std::string companionProgram, WebPagesSummary& summary);

// The summary's header lines: how many pages the reply names and how many of them could not be loaded.
WebPagesSummary SummarizeReply(TextView reply);

}  // namespace scrivano::cli
