// "13. Replace text in Word documents" with waits a test can shorten.
#pragma once

#include <chrono>

#include "capture/DesktopReach.h"

namespace scrivano {

struct OfficeReplaceTimings {
  std::chrono::milliseconds poll{50};
  // A window to come to the front (the document, its Find and Replace window).
  std::chrono::milliseconds windowWait{10000};
  // After a document came to the front: its own Find and Replace window shows again, the one before hides.
  std::chrono::milliseconds documentSettle{700};
  // After moving to a field of the window.
  std::chrono::milliseconds fieldSettle{300};
  // Once the search and replacement are read, before the first document.
  std::chrono::milliseconds start{1000};
  // After Replace All, before the window is closed.
  std::chrono::milliseconds replaceAll{1000};
};

std::optional<Text> ReplaceInWordDocuments(DesktopReach& reach, Text& text,
                                           const OfficeReplaceTimings& timings);

}  // namespace scrivano
