#include "platform/fake/FakeDesktop.h"

#include <algorithm>


namespace scrivano::platform {

FakeDesktop::FakeDesktop(Rect screen) : screen_(screen) {}

FakeDesktop::FakeWindow* FakeDesktop::Find(WindowHandle window) {
  for (FakeWindow& w : windows_)
    if (w.handle == window) return &w;
  return nullptr;
}

WindowHandle FakeDesktop::AddWindow(TextView className, TextView title, Rect rect) {
  std::lock_guard lock(mutex_);
  windows_.push_back({nextHandle_++, Text(className), Text(title), rect});
  return windows_.back().handle;
}

void FakeDesktop::RemoveWindow(WindowHandle window) {
  std::lock_guard lock(mutex_);
  std::erase_if(windows_, [&](const FakeWindow& w) { return w.handle == window; });
  if (foreground_ == window) foreground_ = 0;
}

void FakeDesktop::SetForeground(WindowHandle window) {
  std::lock_guard lock(mutex_);
  foreground_ = window;
}

void FakeDesktop::SetRightButton(bool down) {
  std::lock_guard lock(mutex_);
  rightButton_ = down;
}

void FakeDesktop::SetActivationWorks(bool works) {
  std::lock_guard lock(mutex_);
  activationWorks_ = works;
}

std::vector<WindowHandle> FakeDesktop::ActivationRequests() const {
  std::lock_guard lock(mutex_);
  return activationRequests_;
}

std::vector<WindowHandle> FakeDesktop::CloseRequests() const {
  std::lock_guard lock(mutex_);
  return closeRequests_;
}

std::vector<Point> FakeDesktop::CursorMoves() const {
  std::lock_guard lock(mutex_);
  return cursorMoves_;
}

WindowHandle FakeDesktop::WindowAt(Point point) {
  std::lock_guard lock(mutex_);
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (it->rect.Contains(point)) return it->handle;
  return 0;
}

std::vector<WindowHandle> FakeDesktop::TopLevelWindows() {
  std::lock_guard lock(mutex_);
  std::vector<WindowHandle> handles;
  for (const FakeWindow& w : windows_) handles.push_back(w.handle);
  return handles;
}

bool FakeDesktop::IsWindow(WindowHandle window) {
  std::lock_guard lock(mutex_);
  return Find(window) != nullptr;
}

Text FakeDesktop::WindowClassName(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  return w ? w->className : Text();
}

Text FakeDesktop::WindowTitle(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  return w ? w->title : Text();
}

bool FakeDesktop::SetWindowTitle(WindowHandle window, TextView title) {
  std::lock_guard lock(mutex_);
  FakeWindow* w = Find(window);
  if (w) w->title = Text(title);
  return w != nullptr;
}

Rect FakeDesktop::WindowRect(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  return w ? w->rect : Rect();
}

WindowHandle FakeDesktop::ForegroundWindow() {
  std::lock_guard lock(mutex_);
  return foreground_;
}

void FakeDesktop::RequestActivation(WindowHandle window) {
  std::lock_guard lock(mutex_);
  activationRequests_.push_back(window);
  if (activationWorks_ && Find(window)) foreground_ = window;
}

void FakeDesktop::RequestClose(WindowHandle window) {
  std::lock_guard lock(mutex_);
  closeRequests_.push_back(window);
}

Rect FakeDesktop::ScreenRect() {
  std::lock_guard lock(mutex_);
  return screen_;
}

Point FakeDesktop::CursorPosition() {
  std::lock_guard lock(mutex_);
  return cursor_;
}

void FakeDesktop::SetCursorPosition(Point point) {
  std::lock_guard lock(mutex_);
  cursor_ = point;
  cursorMoves_.push_back(point);
}

bool FakeDesktop::RightButtonDown() {
  std::lock_guard lock(mutex_);
  return rightButton_;
}

std::vector<FakeDesktop::KeyEvent> FakeDesktop::KeyEvents() const {
  std::lock_guard lock(mutex_);
  return keyEvents_;
}

void FakeDesktop::SetKeyHook(std::function<void(int key, bool down)> hook) {
  std::lock_guard lock(mutex_);
  keyHook_ = std::move(hook);
}

void FakeDesktop::SetModifierKeysDown(bool down) {
  std::lock_guard lock(mutex_);
  modifiersDown_ = down;
}

bool FakeDesktop::SendKey(int virtualKey, bool down) {
  std::function<void(int, bool)> hook;
  {
    std::lock_guard lock(mutex_);
    keyEvents_.push_back({down ? virtualKey : -virtualKey, foreground_});
    hook = keyHook_;
  }
  if (hook) hook(virtualKey, down);
  return true;
}

bool FakeDesktop::ModifierKeysDown() {
  std::lock_guard lock(mutex_);
  return modifiersDown_;
}

}  // namespace scrivano::platform
