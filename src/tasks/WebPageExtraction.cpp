#include "tasks/WebPageExtraction.h"

#include <memory>
#include <mutex>

namespace scrivano {
namespace {

std::mutex extractorMutex;
std::shared_ptr<WebPageExtractor> installedExtractor;

}  // namespace

void SetWebPageExtractor(WebPageExtractor extractor) {
  std::lock_guard lock(extractorMutex);
  installedExtractor = extractor ? std::make_shared<WebPageExtractor>(std::move(extractor)) : nullptr;
}

int ExtractWebpages(TaskContext& context) {
  std::shared_ptr<WebPageExtractor> extractor;
  {
    std::lock_guard lock(extractorMutex);
    extractor = installedExtractor;
  }
  if (!extractor)
    throw DesktopUnavailable("Extracting web pages needs the desktop and the companion program");
  return (*extractor)(context);
}

}  // namespace scrivano
