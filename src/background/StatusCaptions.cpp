#include "background/StatusCaptions.h"

#include <mutex>


namespace scrivano {
namespace {

// Program-wide: installed once at start-up by the application, read by any thread.
std::mutex setterMutex;
OwnWindowCaption ownWindowCaption;

}  // namespace

void SetOwnWindowCaption(OwnWindowCaption setter) {
  std::lock_guard lock(setterMutex);
  ownWindowCaption = std::move(setter);
}

void ShowCaption(WindowHandle window, TextView text, bool /*restore*/) {
  if (!window || text.empty()) return;
  OwnWindowCaption setter;
  {
    std::lock_guard lock(setterMutex);
    setter = ownWindowCaption;
  }
  // Other programs' windows (titles restored after ten seconds, overlays on self-drawing browser
  // windows) are the background duties' part.
  if (setter) setter(window, text);
}

}  // namespace scrivano
