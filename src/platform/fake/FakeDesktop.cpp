#include "platform/fake/FakeDesktop.h"

#include <algorithm>

#include "text/Lists.h"

namespace scrivano::platform {

FakeDesktop::FakeDesktop(Rect screen) : screen_(screen) {}

FakeDesktop::FakeWindow* FakeDesktop::Find(WindowHandle window) {
  for (FakeWindow& w : windows_)
    if (w.handle == window) return &w;
  return nullptr;
}

WindowHandle FakeDesktop::AddWindow(TextView className, TextView title, Rect rect) {
  std::lock_guard lock(mutex_);
  FakeWindow window;
  window.handle = nextHandle_++;
  window.className = Text(className);
  window.title = Text(title);
  window.rect = rect;
  windows_.push_back(window);
  return windows_.back().handle;
}

WindowHandle FakeDesktop::AddX11Window(const WindowKind& kind, Rect rect) {
  std::lock_guard lock(mutex_);
  FakeWindow window;
  window.handle = nextHandle_++;
  window.title = kind.title;
  window.rect = rect;
  window.kind = kind;
  windows_.push_back(window);
  return windows_.back().handle;
}

void FakeDesktop::SetWindowShown(WindowHandle window, bool shown) {
  std::lock_guard lock(mutex_);
  if (FakeWindow* w = Find(window)) w->shown = shown;
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
    if (it->shown && it->rect.Contains(point)) return it->handle;
  return 0;
}

std::vector<WindowHandle> FakeDesktop::TopLevelWindows() {
  std::lock_guard lock(mutex_);
  std::vector<WindowHandle> handles;
  for (const FakeWindow& w : windows_)
    if (w.shown) handles.push_back(w.handle);
  return handles;
}

std::vector<WindowHandle> FakeDesktop::AllTopLevelWindows() {
  std::vector<WindowHandle> handles = TopLevelWindows();
  std::lock_guard lock(mutex_);
  for (const FakeWindow& w : windows_)
    if (!w.shown) handles.push_back(w.handle);
  return handles;
}

bool FakeDesktop::IsWindow(WindowHandle window) {
  std::lock_guard lock(mutex_);
  return Find(window) != nullptr;
}

Text FakeDesktop::WindowClassName(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  if (w && w->kind) {
    WindowKind kind = *w->kind;
    kind.title = w->title;  // on X11 a caption set since counts
    return ReportedClassName(kind);
  }
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

void FakeDesktop::SetLeftButton(bool down) {
  std::lock_guard lock(mutex_);
  leftButton_ = down;
}

void FakeDesktop::SetButtonsSwapped(bool swapped) {
  std::lock_guard lock(mutex_);
  buttonsSwapped_ = swapped;
}

std::vector<Point> FakeDesktop::PrimaryClicks() const {
  std::lock_guard lock(mutex_);
  return primaryClicks_;
}

void FakeDesktop::SetClickHook(std::function<void(Point)> hook) {
  std::lock_guard lock(mutex_);
  clickHook_ = std::move(hook);
}

bool FakeDesktop::PrimaryButtonDown() {
  std::lock_guard lock(mutex_);
  return buttonsSwapped_ ? rightButton_ : leftButton_;
}

bool FakeDesktop::SecondaryButtonDown() {
  std::lock_guard lock(mutex_);
  return buttonsSwapped_ ? leftButton_ : rightButton_;
}

bool FakeDesktop::ClickPrimaryButton(Point point) {
  std::function<void(Point)> hook;
  {
    std::lock_guard lock(mutex_);
    cursor_ = point;
    cursorMoves_.push_back(point);
    primaryClicks_.push_back(point);
    hook = clickHook_;
  }
  if (hook) hook(point);
  return true;
}

void FakeDesktop::SetDrawsOwnTitleBar(WindowHandle window, bool draws) {
  std::lock_guard lock(mutex_);
  if (FakeWindow* w = Find(window)) w->drawsOwnTitleBar = draws;
}

void FakeDesktop::SetWindowProcess(WindowHandle window, int pid) {
  std::lock_guard lock(mutex_);
  if (FakeWindow* w = Find(window)) w->pid = pid;
}

std::vector<std::vector<int>> FakeDesktop::KeyPresses() const {
  std::lock_guard lock(mutex_);
  return keyPresses_;
}

void FakeDesktop::AddProcess(const ProcessInfo& process, bool honoursTerm) {
  std::lock_guard lock(mutex_);
  processes_.push_back({process, honoursTerm});
}

void FakeDesktop::SetOwnProcess(const OwnProcessInfo& own) {
  std::lock_guard lock(mutex_);
  own_ = own;
}

void FakeDesktop::SetProcessListFails(bool fails) {
  std::lock_guard lock(mutex_);
  processListFails_ = fails;
}

void FakeDesktop::SetFreeMemory(std::optional<std::uint64_t> bytes) {
  std::lock_guard lock(mutex_);
  freeMemory_ = bytes;
}

bool FakeDesktop::HasProcess(int pid) const {
  std::lock_guard lock(mutex_);
  return std::any_of(processes_.begin(), processes_.end(),
                     [&](const FakeProcess& p) { return p.info.pid == pid; });
}

std::vector<FakeDesktop::EndRequest> FakeDesktop::EndRequests() const {
  std::lock_guard lock(mutex_);
  return endRequests_;
}

bool FakeDesktop::WindowIsOfClass(WindowHandle window, TextView classList) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  if (w && w->kind) {
    WindowKind kind = *w->kind;
    kind.title = w->title;  // a caption set since counts, as on X11
    return IsWindowOfAnyClass(kind, classList);
  }
  return w && !w->className.empty() && IsListItem(classList, w->className, u"\t");
}

bool FakeDesktop::DrawsOwnTitleBar(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  return w && w->drawsOwnTitleBar;
}

void FakeDesktop::SetModifierHeld(bool held) {
  std::lock_guard lock(mutex_);
  modifierHeld_ = held;
}

bool FakeDesktop::PressKeys(const std::vector<int>& virtualKeys, std::chrono::milliseconds hold) {
  (void)hold;  // nothing here reads the keys in real time
  {
    std::lock_guard lock(mutex_);
    if (modifierHeld_ || virtualKeys.empty()) return false;
    keyPresses_.push_back(virtualKeys);
  }
  const auto send = [this](int key, bool down) {
    std::function<void(int, bool)> hook;
    {
      std::lock_guard lock(mutex_);
      keyEvents_.push_back({down ? key : -key, foreground_});
      hook = keyHook_;
    }
    if (hook) hook(key, down);
  };
  for (const int key : virtualKeys) send(key, true);
  for (auto key = virtualKeys.rbegin(); key != virtualKeys.rend(); ++key) send(*key, false);
  return true;
}

int FakeDesktop::WindowProcessId(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  return w ? w->pid : 0;
}

std::optional<FindReplaceWords> FakeDesktop::OfficeFindReplaceWords(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const FakeWindow* w = Find(window);
  if (!w || !w->kind) return std::nullopt;
  WindowKind kind = *w->kind;
  kind.title = w->title;
  const FindReplaceWords* words = FindReplaceWordsOf(kind);
  return words ? std::optional<FindReplaceWords>(*words) : std::nullopt;
}

bool FakeDesktop::ListProcesses(std::vector<ProcessInfo>& processes) {
  std::lock_guard lock(mutex_);
  processes.clear();
  if (processListFails_) return false;
  for (const FakeProcess& p : processes_) processes.push_back(p.info);
  return true;
}

OwnProcessInfo FakeDesktop::OwnProcess() {
  std::lock_guard lock(mutex_);
  return own_;
}

bool FakeDesktop::EndProcess(int pid, bool force) {
  std::lock_guard lock(mutex_);
  endRequests_.push_back({pid, force});
  const auto it = std::find_if(processes_.begin(), processes_.end(),
                               [&](const FakeProcess& p) { return p.info.pid == pid; });
  if (it == processes_.end()) return false;
  if (force || it->honoursTerm) processes_.erase(it);
  return true;
}

std::optional<std::uint64_t> FakeDesktop::FreePhysicalMemory() {
  std::lock_guard lock(mutex_);
  return freeMemory_;
}

std::vector<FakeDesktop::KeyEvent> FakeDesktop::KeyEvents() const {
  std::lock_guard lock(mutex_);
  return keyEvents_;
}

void FakeDesktop::SetKeyHook(std::function<void(int key, bool down)> hook) {
  std::lock_guard lock(mutex_);
  keyHook_ = std::move(hook);
}

void FakeDesktop::SetProcessCommand(int pid, const ProcessCommand& command) {
  std::lock_guard lock(mutex_);
  processCommands_.emplace_back(pid, command);
}

void FakeDesktop::SetProgramHook(std::function<int(const ProcessCommand&)> hook) {
  std::lock_guard lock(mutex_);
  programHook_ = std::move(hook);
}

std::vector<ProcessCommand> FakeDesktop::ProgramsRun() const {
  std::lock_guard lock(mutex_);
  return programsRun_;
}

std::optional<ProcessCommand> FakeDesktop::ProcessCommandOf(int pid) {
  std::lock_guard lock(mutex_);
  for (const auto& [id, command] : processCommands_)
    if (id == pid) return command;
  return std::nullopt;
}

int FakeDesktop::RunProgram(const ProcessCommand& command, std::chrono::milliseconds limit) {
  (void)limit;
  std::function<int(const ProcessCommand&)> hook;
  {
    std::lock_guard lock(mutex_);
    programsRun_.push_back(command);
    hook = programHook_;
  }
  return hook ? hook(command) : kProgramNotStarted;
}

bool FakeDesktop::ModifierKeysDown() {
  std::lock_guard lock(mutex_);
  return modifierHeld_;
}

}  // namespace scrivano::platform
