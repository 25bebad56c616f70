// Page extraction without the desktop, as the runner does it: the companion program started as a child
// (on Qt's offscreen platform when there is no display), reached through the socket it names once it
// serves, the address list handed over and its reply awaited within bounds, a report for each page as
// it ends. And what both ways of extraction share: sorting the working text's lines into documents and
// addresses, and handing the reply's text to the listed documents.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "tasks/TaskContext.h"
#include "text/Text.h"
#include "web/CompanionProtocol.h"

namespace scrivano {

// The working text's non-blank lines, trimmed, each followed by "\r\n": those that name existing files
// into fileList (documents that receive the pages' text), the others into addressList.
void SplitPageList(TextView text, Text& fileList, Text& addressList);
// The number of lines of a list made by SplitPageList.
int ListLineCount(TextView list);
// Once the reply is the working text: the section after its separator line goes to the end of every
// document of fileList, and the processed count is that section's length.
void DeliverPageReply(TaskContext& context, TextView fileList);

struct BatchTimes {
  // For the companion to serve its socket after the start.
  std::chrono::milliseconds socketWait{30000};
  // For the reply: a base plus a share per address (the companion gives up on a page after 30 s).
  std::chrono::milliseconds replyBase{15000};
  std::chrono::milliseconds replyPerAddress{35000};
};

struct BatchResult {
  enum class End { kReply, kNotStarted, kNoSocket, kNotHandedOver, kCompanionEnded, kTimeOut };
  End end = End::kNotStarted;
  std::string reply;  // UTF-8: header lines, the separator, the pages' text
  std::string error;  // for kNotStarted and kNotHandedOver: why
};

// Runs the companion at program on the addresses (UTF-8, "\r\n" after each). onPage gets each page's
// report as it ends, log each line the companion writes to its standard error that is its own (both
// from a thread of their own). The companion is ended before this returns.
BatchResult ExtractPagesWithCompanion(const std::string& program, const std::string& addressList,
                                      const BatchTimes& times,
                                      const std::function<void(const companion::PageReport&)>& onPage,
                                      const std::function<void(const std::string&)>& log);

// One sentence on why there is no reply (empty for kReply).
std::string BatchFailure(const BatchResult& result, const std::string& program, const BatchTimes& times,
                         int addresses);

}  // namespace scrivano
