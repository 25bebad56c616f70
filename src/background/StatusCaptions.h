// Status texts in window captions. On an ordinary window a caption sets the title; on a window that draws
// its own title bar, where a title would not be seen, the text is shown in a white box near the top of
// the window instead. Another program's title can come back after ten seconds.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/DesktopPlatform.h"
#include "settings/ParameterStore.h"
#include "text/Text.h"

namespace scrivano {

// Sets the title of one of the program's own windows and returns true, or returns false when the window
// is not one of them. Installed by the application for the whole run; called from any thread.
using OwnWindowCaption = std::function<bool(WindowHandle window, TextView text)>;
void SetOwnWindowCaption(OwnWindowCaption setter);

// Draws text in a white box near the top of the window (the overlay); called from any thread.
using CaptionOverlay = std::function<void(WindowHandle window, TextView text)>;

// Windows that draw their own title bar, and the browsers, by the program's class names.
inline constexpr char16_t kSelfDrawingClasses[] = u"Chrome_WidgetWin_1\tTXGuiFoundation\tMozillaWindowClass";
inline constexpr char16_t kBrowserClasses[] = u"Chrome_WidgetWin_1\tMozillaWindowClass\tIEFrame";

// True when the part of the title between ": (" and ")  " (the whole title without them) is empty or
// all digits: such a title is a caption of the program's own, never to be restored.
bool IsCountedCaption(TextView title);

// The captions of the whole run: the titles to restore, the restore worker and the last overlay.
// Thread rule: Show may be called from any thread.
class StatusCaptions {
 public:
  StatusCaptions(platform::DesktopPlatform& desktop, CaptionOverlay overlay,
                 std::chrono::milliseconds restoreDelay = std::chrono::seconds(10));
  // Stops the restore worker and puts back at once the titles not yet due.
  ~StatusCaptions();
  StatusCaptions(const StatusCaptions&) = delete;
  StatusCaptions& operator=(const StatusCaptions&) = delete;

  void Show(WindowHandle window, TextView text, bool restore);

 private:
  bool SetTitle(WindowHandle window, TextView text);
  void DrawOverlay(WindowHandle window, Text text);
  void RestoreLoop();

  platform::DesktopPlatform& desktop_;
  CaptionOverlay overlay_;
  const std::chrono::milliseconds restoreDelay_;

  std::mutex mutex_;
  // Per window being restored: the title to put back and when.
  struct Restore {
    Text title;
    std::chrono::steady_clock::time_point due;
  };
  std::map<WindowHandle, Restore> restoring_;
  // The title each window had before its latest restorable caption.
  std::map<WindowHandle, Text> captionTitles_;
  Text overlayTitle_;
  Text overlayText_;
  bool stopping_ = false;
  std::condition_variable wake_;
  std::thread worker_;
};

// Installs the captions of the run (not owned); nullptr removes them. Without them only the program's own
// windows get captions.
void SetStatusCaptions(StatusCaptions* captions);

// Shows text in the window's caption. An empty text changes no title (on a self-drawing window it draws the
// last overlay again when the window still has the same title). restore asks for the window's own title
// back after ten seconds, except on browsers and over titles that are captions of the program's own.
void ShowCaption(WindowHandle window, TextView text, bool restore);

}  // namespace scrivano
