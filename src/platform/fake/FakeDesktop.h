// A desktop in memory for tests: windows with classes, titles and rectangles in a stacking order, a
// foreground window, the cursor and the right mouse button. It records what was asked of it.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "platform/DesktopPlatform.h"

namespace scrivano::platform {

class FakeDesktop : public DesktopPlatform {
 public:
  struct FakeWindow {
    WindowHandle handle = 0;
    Text className;
    Text title;
    Rect rect;
  };

  explicit FakeDesktop(Rect screen = Rect{0, 0, 1280, 1024});

  // Adds a window on top of the others; returns its handle.
  WindowHandle AddWindow(TextView className, TextView title, Rect rect);
  void RemoveWindow(WindowHandle window);
  void SetForeground(WindowHandle window);
  void SetRightButton(bool down);
  // With activation off, requests are recorded but the foreground does not change.
  void SetActivationWorks(bool works);
  std::vector<WindowHandle> ActivationRequests() const;
  std::vector<WindowHandle> CloseRequests() const;
  std::vector<Point> CursorMoves() const;
  // Key events as sent: +code for a press, -code for a release, with the foreground window of the moment.
  struct KeyEvent {
    int key = 0;
    WindowHandle foreground = 0;
    bool operator==(const KeyEvent&) const = default;
  };
  std::vector<KeyEvent> KeyEvents() const;
  // Called (outside the lock) after every key event, as the program in front would react to it.
  void SetKeyHook(std::function<void(int key, bool down)> hook);
  void SetModifierKeysDown(bool down);

  bool Available() const override { return true; }
  WindowHandle WindowAt(Point point) override;
  std::vector<WindowHandle> TopLevelWindows() override;
  bool IsWindow(WindowHandle window) override;
  Text WindowClassName(WindowHandle window) override;
  Text WindowTitle(WindowHandle window) override;
  bool SetWindowTitle(WindowHandle window, TextView title) override;
  Rect WindowRect(WindowHandle window) override;
  WindowHandle ForegroundWindow() override;
  void RequestActivation(WindowHandle window) override;
  void RequestClose(WindowHandle window) override;
  Rect ScreenRect() override;
  Point CursorPosition() override;
  void SetCursorPosition(Point point) override;
  bool RightButtonDown() override;
  LockKeyStates LockKeys() override { return LockKeyStates(); }
  bool SendKey(int virtualKey, bool down) override;
  bool ModifierKeysDown() override;

 private:
  FakeWindow* Find(WindowHandle window);

  mutable std::mutex mutex_;
  Rect screen_;
  std::vector<FakeWindow> windows_;  // bottom first
  WindowHandle nextHandle_ = 0x1000;
  WindowHandle foreground_ = 0;
  Point cursor_;
  bool rightButton_ = false;
  bool activationWorks_ = true;
  std::vector<WindowHandle> activationRequests_;
  std::vector<WindowHandle> closeRequests_;
  std::vector<Point> cursorMoves_;
  std::vector<KeyEvent> keyEvents_;
  std::function<void(int, bool)> keyHook_;
  bool modifiersDown_ = false;
};

}  // namespace scrivano::platform
