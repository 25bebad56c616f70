#include "background/StatusCaptions.h"

#include <algorithm>

#include "text/Tokenizers.h"

namespace scrivano {
namespace {

// Program-wide: installed once at start-up by the application, read by any thread.
std::mutex installMutex;
OwnWindowCaption ownWindowCaption;
StatusCaptions* statusCaptions = nullptr;

OwnWindowCaption OwnSetter() {
  std::lock_guard lock(installMutex);
  return ownWindowCaption;
}

}  // namespace

void SetOwnWindowCaption(OwnWindowCaption setter) {
  std::lock_guard lock(installMutex);
  ownWindowCaption = std::move(setter);
}

void SetStatusCaptions(StatusCaptions* captions) {
  std::lock_guard lock(installMutex);
  statusCaptions = captions;
}

bool IsCountedCaption(TextView title) {
  int pos = 0;
  Text part;
  NextToken(title, pos, part, u": (");
  NextToken(title, pos, part, u")  ");
  return std::all_of(part.begin(), part.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

StatusCaptions::StatusCaptions(platform::DesktopPlatform& desktop, CaptionOverlay overlay,
                               std::chrono::milliseconds restoreDelay)
    : desktop_(desktop), overlay_(std::move(overlay)), restoreDelay_(restoreDelay) {
  worker_ = std::thread([this] { RestoreLoop(); });
}

StatusCaptions::~StatusCaptions() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  worker_.join();
  // Other programs' windows do not keep a caption of a program that has gone.
  for (const auto& [window, restore] : restoring_)
    if (desktop_.IsWindow(window)) desktop_.SetWindowTitle(window, captionTitles_[window]);
}

bool StatusCaptions::SetTitle(WindowHandle window, TextView text) {
  if (const OwnWindowCaption setter = OwnSetter(); setter && setter(window, text)) return true;
  return desktop_.SetWindowTitle(window, text);
}

void StatusCaptions::Show(WindowHandle window, TextView text, bool restore) {
  if (!window) return;
  const bool selfDrawing =
      desktop_.WindowIsOfClass(window, kSelfDrawingClasses) || desktop_.DrawsOwnTitleBar(window);
  // 1. Whether the title comes back: not on browsers, not over the program's own counted captions, not
  // over a warning already on show; a self-drawing window keeps its title anyway.
  if (restore) {
    if (selfDrawing || desktop_.WindowIsOfClass(window, kBrowserClasses)) {
      restore = false;
    } else {
      const Text title = desktop_.WindowTitle(window);
      if (IsCountedCaption(title) || title.find(u" (Free Mbytes) < ") != Text::npos) {
        restore = false;
      } else {
        // While a restore is under way the window shows one of the program's captions: the title it had
        // before is the one to keep.
        std::lock_guard lock(mutex_);
        if (!restoring_.count(window)) captionTitles_[window] = title;
      }
    }
  }
  // 2. A self-drawing window gets the overlay; its title stays.
  if (selfDrawing) {
    DrawOverlay(window, text.empty() ? Text() : Text(text) + u"   ");
    return;
  }
  // 3. The title, and its restore unless one is under way for the window.
  if (text.empty()) return;
  SetTitle(window, text);
  if (!restore) return;
  {
    std::lock_guard lock(mutex_);
    if (restoring_.count(window)) return;
    restoring_[window] = Restore{Text(), std::chrono::steady_clock::now() + restoreDelay_};
  }
  wake_.notify_all();
}

void StatusCaptions::DrawOverlay(WindowHandle window, Text text) {
  const Text title = desktop_.WindowTitle(window);
  {
    std::lock_guard lock(mutex_);
    // 1. An empty text draws the last overlay again, on the window it was drawn on.
    if (text.empty()) {
      if (title != overlayTitle_ || overlayText_.empty()) return;
      text = overlayText_;
    }
    // 5.
    overlayTitle_ = title;
    overlayText_ = text;
  }
  if (overlay_) overlay_(window, text);
}

void StatusCaptions::RestoreLoop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (restoring_.empty()) {
      wake_.wait(lock);
      continue;
    }
    const auto next =
        std::min_element(restoring_.begin(), restoring_.end(),
                         [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    if (std::chrono::steady_clock::now() < next->second.due) {
      wake_.wait_until(lock, next->second.due);
      continue;
    }
    // The latest title remembered for that window goes back; a window that went is no error.
    const WindowHandle window = next->first;
    const Text title = captionTitles_[window];
    restoring_.erase(next);
    captionTitles_.erase(window);
    lock.unlock();
    if (desktop_.IsWindow(window)) SetTitle(window, title);
    lock.lock();
  }
}

void ShowCaption(WindowHandle window, TextView text, bool restore) {
  if (!window) return;
  StatusCaptions* captions = nullptr;
  {
    std::lock_guard lock(installMutex);
    captions = statusCaptions;
  }
  if (captions) {
    captions->Show(window, text, restore);
    return;
  }
  if (text.empty()) return;
  if (const OwnWindowCaption setter = OwnSetter()) setter(window, text);
}

}  // namespace scrivano
