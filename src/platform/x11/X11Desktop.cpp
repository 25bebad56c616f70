#include "platform/x11/X11Desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/WindowClasses.h"

namespace scrivano::platform {
namespace {

// Windows may vanish between two requests; the errors that causes are expected and ignored. Other
// connections' errors go to the handler that was installed before.
std::atomic<Display*> quietDisplay{nullptr};
XErrorHandler previousHandler = nullptr;

int IgnoreOwnErrors(Display* display, XErrorEvent* event) {
  if (display == quietDisplay.load()) return 0;
  return previousHandler ? previousHandler(display, event) : 0;
}

// The keysym a virtual-key code stands for; NoSymbol for codes the program never sends.
KeySym KeySymOf(int virtualKey) {
  if (virtualKey >= 0x41 && virtualKey <= 0x5A) return XK_a + (virtualKey - 0x41);
  if (virtualKey >= 0x30 && virtualKey <= 0x39) return XK_0 + (virtualKey - 0x30);
  switch (virtualKey) {
    case 0x08:
      return XK_BackSpace;
    case 0x09:
      return XK_Tab;
    case 0x0D:
      return XK_Return;
    case 0x10:
      return XK_Shift_L;
    case 0x11:
      return XK_Control_L;
    case 0x12:
      return XK_Alt_L;
    case 0x1B:
      return XK_Escape;
    case 0x20:
      return XK_space;
    case 0x21:
      return XK_Prior;
    case 0x22:
      return XK_Next;
    case 0x23:
      return XK_End;
    case 0x24:
      return XK_Home;
    case 0x25:
      return XK_Left;
    case 0x26:
      return XK_Up;
    case 0x27:
      return XK_Right;
    case 0x28:
      return XK_Down;
    case 0x2E:
      return XK_Delete;
    default:
      return NoSymbol;
  }
}

}  // namespace

struct X11Desktop::Connection {
  Display* display = nullptr;
  Window root = 0;
  Atom wmState = 0;
  Atom netWmName = 0;
  Atom utf8String = 0;
  Atom netActiveWindow = 0;
  Atom netClientListStacking = 0;
  Atom wmProtocols = 0;
  Atom wmDeleteWindow = 0;
  Atom netWmPid = 0;
  Atom netWmWindowType = 0;
  Atom netWmWindowTypeDialog = 0;
  Atom motifWmHints = 0;
  Atom gtkFrameExtents = 0;
  bool xtest = false;

  ~Connection() {
    if (display) {
      quietDisplay.store(nullptr);
      XCloseDisplay(display);
    }
  }

  // The property as raw items, or an empty string when absent.
  std::string Property(Window window, Atom property, Atom type, int& format, unsigned long& count) const {
    Atom actualType = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    count = 0;
    format = 0;
    if (XGetWindowProperty(display, window, property, 0, 1 << 20, False, type, &actualType, &format, &count,
                           &after, &data) != Success ||
        !data) {
      return std::string();
    }
    const size_t itemSize = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
    std::string bytes(reinterpret_cast<const char*>(data), count * itemSize);
    XFree(data);
    return bytes;
  }

  bool HasWmState(Window window) const {
    int format;
    unsigned long count;
    return !Property(window, wmState, AnyPropertyType, format, count).empty();
  }

  // The window manager puts the client window inside a frame; the client is the one with WM_STATE.
  Window ClientWindow(Window window, int depth = 0) const {
    if (HasWmState(window)) return window;
    if (depth > 4) return 0;
    Window rootReturn, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = count; i-- > 0 && !found;) found = ClientWindow(children[i], depth + 1);
    if (children) XFree(children);
    return found;
  }

  Window ClientOrSelf(Window window) const {
    const Window client = ClientWindow(window);
    return client ? client : window;
  }

  // A client message about window with one datum and the current time, sent to target.
  void SendMessage(Window window, Window target, Atom type, long datum, long mask) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = datum;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, target, False, mask, &event);
    XFlush(display);
  }

  // Shift, Ctrl, Alt, Meta, the logo keys or AltGr held down now.
  bool ModifierKeysDown() const {
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (const KeySym symbol : {XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R, XK_Alt_L, XK_Alt_R,
                                XK_Meta_L, XK_Meta_R, XK_Super_L, XK_Super_R, XK_ISO_Level3_Shift}) {
      const KeyCode code = XKeysymToKeycode(display, symbol);
      if (code && (keys[code / 8] & (1 << (code % 8)))) return true;
    }
    return false;
  }

  Window ActiveWindow() const {
    int format;
    unsigned long count;
    const std::string bytes = Property(root, netActiveWindow, XA_WINDOW, format, count);
    if (format == 32 && count >= 1) {
      long value;
      std::memcpy(&value, bytes.data(), sizeof value);
      return static_cast<Window>(value);
    }
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus == PointerRoot || focus == None ? 0 : focus;
  }
};

std::unique_ptr<X11Desktop> X11Desktop::Open(const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (!display) return nullptr;
  auto x = std::make_unique<Connection>();
  x->display = display;
  x->root = DefaultRootWindow(display);
  x->wmState = XInternAtom(display, "WM_STATE", False);
  x->netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  x->utf8String = XInternAtom(display, "UTF8_STRING", False);
  x->netActiveWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  x->netClientListStacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
  x->wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
  x->wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  x->netWmPid = XInternAtom(display, "_NET_WM_PID", False);
  x->netWmWindowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  x->netWmWindowTypeDialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  x->motifWmHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  x->gtkFrameExtents = XInternAtom(display, "_GTK_FRAME_EXTENTS", False);
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  x->xtest = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != False;
  quietDisplay.store(display);
  XErrorHandler previous = XSetErrorHandler(IgnoreOwnErrors);
  if (previous != IgnoreOwnErrors) previousHandler = previous;
  return std::unique_ptr<X11Desktop>(new X11Desktop(std::move(x)));
}

X11Desktop::X11Desktop(std::unique_ptr<Connection> connection) : x_(std::move(connection)) {}

X11Desktop::~X11Desktop() = default;

WindowHandle X11Desktop::WindowAt(Point point) {
  std::lock_guard lock(mutex_);
  Window child = 0;
  int x = 0, y = 0;
  if (!XTranslateCoordinates(x_->display, x_->root, x_->root, point.x, point.y, &x, &y, &child) || !child)
    return 0;
  return x_->ClientOrSelf(child);
}

std::vector<WindowHandle> X11Desktop::TopLevelWindows() {
  std::lock_guard lock(mutex_);
  std::vector<WindowHandle> windows;
  int format;
  unsigned long count;
  const std::string bytes = x_->Property(x_->root, x_->netClientListStacking, XA_WINDOW, format, count);
  if (format == 32 && count > 0) {
    for (unsigned long i = 0; i < count; ++i) {
      long value;
      std::memcpy(&value, bytes.data() + i * sizeof(long), sizeof value);
      windows.push_back(static_cast<WindowHandle>(value));
    }
    return windows;
  }
  Window rootReturn, parent, *children = nullptr;
  unsigned int childCount = 0;
  if (!XQueryTree(x_->display, x_->root, &rootReturn, &parent, &children, &childCount)) return windows;
  for (unsigned int i = 0; i < childCount; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x_->display, children[i], &attributes) || attributes.map_state != IsViewable)
      continue;
    if (const Window client = x_->ClientWindow(children[i])) windows.push_back(client);
  }
  if (children) XFree(children);
  return windows;
}

std::vector<WindowHandle> X11Desktop::AllTopLevelWindows() {
  std::vector<WindowHandle> windows = TopLevelWindows();
  std::lock_guard lock(mutex_);
  // A window its program hid is withdrawn: the window manager lists it no more and hands it back to the
  // root, where it waits unmapped. Such a window still carries its program's WM_CLASS; the root's
  // helper windows without a class and override-redirect windows (menus, tips) are left out.
  Window rootReturn, parent, *children = nullptr;
  unsigned int childCount = 0;
  if (!XQueryTree(x_->display, x_->root, &rootReturn, &parent, &children, &childCount)) return windows;
  for (unsigned int i = 0; i < childCount; ++i) {
    const Window child = children[i];
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x_->display, child, &attributes) || attributes.map_state != IsUnmapped ||
        attributes.override_redirect)
      continue;
    XClassHint hint{nullptr, nullptr};
    if (!XGetClassHint(x_->display, child, &hint)) continue;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    const auto handle = static_cast<WindowHandle>(child);
    if (std::find(windows.begin(), windows.end(), handle) == windows.end()) windows.push_back(handle);
  }
  if (children) XFree(children);
  return windows;
}

bool X11Desktop::IsWindow(WindowHandle window) {
  if (!window) return false;
  std::lock_guard lock(mutex_);
  XWindowAttributes attributes;
  return XGetWindowAttributes(x_->display, static_cast<Window>(window), &attributes) != 0;
}

Text X11Desktop::WindowClassName(WindowHandle window) {
  if (!window) return Text();
  std::lock_guard lock(mutex_);
  const WindowKind kind = KindOf(window);
  return kind.className.empty() && kind.instanceName.empty() ? Text() : ReportedClassName(kind);
}

Text X11Desktop::WindowTitle(WindowHandle window) {
  if (!window) return Text();
  std::lock_guard lock(mutex_);
  return TitleOf(window);
}

Text X11Desktop::TitleOf(WindowHandle window) {
  int format;
  unsigned long count;
  const std::string utf8 =
      x_->Property(static_cast<Window>(window), x_->netWmName, x_->utf8String, format, count);
  if (!utf8.empty()) return FromUtf8(utf8);
  XTextProperty property;
  if (!XGetWMName(x_->display, static_cast<Window>(window), &property) || !property.value) return Text();
  Text title;
  char** list = nullptr;
  int listCount = 0;
  if (Xutf8TextPropertyToTextList(x_->display, &property, &list, &listCount) >= Success && list &&
      listCount > 0)
    title = FromUtf8(list[0]);
  if (list) XFreeStringList(list);
  XFree(property.value);
  return title;
}

WindowKind X11Desktop::KindOf(WindowHandle window) {
  WindowKind kind;
  XClassHint hint{nullptr, nullptr};
  if (XGetClassHint(x_->display, static_cast<Window>(window), &hint)) {
    if (hint.res_name) kind.instanceName = FromUtf8(hint.res_name);
    if (hint.res_class) kind.className = FromUtf8(hint.res_class);
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
  }
  kind.title = TitleOf(window);
  Window owner = 0;
  kind.dialog = XGetTransientForHint(x_->display, static_cast<Window>(window), &owner) && owner != 0 &&
                owner != x_->root;
  int format;
  unsigned long count;
  const std::string types =
      x_->Property(static_cast<Window>(window), x_->netWmWindowType, XA_ATOM, format, count);
  for (unsigned long i = 0; format == 32 && i < count && !kind.dialog; ++i) {
    long type;
    std::memcpy(&type, types.data() + i * sizeof(long), sizeof type);
    kind.dialog = static_cast<Atom>(type) == x_->netWmWindowTypeDialog;
  }
  if (kind.dialog && kind.className == u"libreoffice-writer")
    kind.officeWords = &officeWords_.ForProgramFolder(ProgramFolderOf(ProcessIdOf(window)));
  return kind;
}

bool X11Desktop::WindowIsOfClass(WindowHandle window, TextView classList) {
  if (!window) return false;
  std::lock_guard lock(mutex_);
  return IsWindowOfAnyClass(KindOf(window), classList);
}

bool X11Desktop::DrawsOwnTitleBar(WindowHandle window) {
  if (!window) return false;
  std::lock_guard lock(mutex_);
  int format;
  unsigned long count;
  // Client-side decorations announce their shadow margins.
  if (!x_->Property(static_cast<Window>(window), x_->gtkFrameExtents, AnyPropertyType, format, count).empty())
    return true;
  // Motif hints: flags, functions, decorations, ...; decorations asked for and none wanted.
  constexpr long kDecorationsFlag = 1L << 1;
  const std::string hints =
      x_->Property(static_cast<Window>(window), x_->motifWmHints, AnyPropertyType, format, count);
  if (format != 32 || count < 3) return false;
  long flags, decorations;
  std::memcpy(&flags, hints.data(), sizeof flags);
  std::memcpy(&decorations, hints.data() + 2 * sizeof(long), sizeof decorations);
  return (flags & kDecorationsFlag) != 0 && decorations == 0;
}

int X11Desktop::WindowProcessId(WindowHandle window) {
  if (!window) return 0;
  std::lock_guard lock(mutex_);
  return ProcessIdOf(window);
}

std::optional<FindReplaceWords> X11Desktop::OfficeFindReplaceWords(WindowHandle window) {
  if (!window) return std::nullopt;
  std::lock_guard lock(mutex_);
  const FindReplaceWords* words = FindReplaceWordsOf(KindOf(window));
  return words ? std::optional<FindReplaceWords>(*words) : std::nullopt;
}

int X11Desktop::ProcessIdOf(WindowHandle window) {
  int format;
  unsigned long count;
  const std::string bytes =
      x_->Property(static_cast<Window>(window), x_->netWmPid, XA_CARDINAL, format, count);
  if (format != 32 || count < 1) return 0;
  long pid;
  std::memcpy(&pid, bytes.data(), sizeof pid);
  return static_cast<int>(pid);
}

bool X11Desktop::PressKeys(const std::vector<int>& virtualKeys, std::chrono::milliseconds hold) {
  std::vector<KeyCode> codes;
  {
    std::lock_guard lock(mutex_);
    if (!x_->xtest || virtualKeys.empty()) return false;
    for (const int key : virtualKeys) {
      const KeySym symbol = KeySymOf(key);
      const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(x_->display, symbol);
      if (!code) return false;
      codes.push_back(code);
    }
    // The user's own modifier keys would turn Escape into Ctrl+Escape, T into Alt+T.
    if (x_->ModifierKeysDown()) return false;
    for (const KeyCode code : codes) XTestFakeKeyEvent(x_->display, code, True, CurrentTime);
    XFlush(x_->display);
  }
  for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
    if (hold.count() > 0) std::this_thread::sleep_for(hold);
    std::lock_guard lock(mutex_);
    XTestFakeKeyEvent(x_->display, *code, False, CurrentTime);
    XFlush(x_->display);
  }
  return true;
}

bool X11Desktop::SetWindowTitle(WindowHandle window, TextView title) {
  if (!window) return false;
  std::lock_guard lock(mutex_);
  const std::string utf8 = ToUtf8(title);
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  XChangeProperty(x_->display, static_cast<Window>(window), x_->netWmName, x_->utf8String, 8, PropModeReplace,
                  bytes, static_cast<int>(utf8.size()));
  XChangeProperty(x_->display, static_cast<Window>(window), XA_WM_NAME, x_->utf8String, 8, PropModeReplace,
                  bytes, static_cast<int>(utf8.size()));
  XFlush(x_->display);
  return true;
}

Rect X11Desktop::WindowRect(WindowHandle window) {
  if (!window) return Rect();
  std::lock_guard lock(mutex_);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(x_->display, static_cast<Window>(window), &attributes)) return Rect();
  Window child = 0;
  int x = 0, y = 0;
  if (!XTranslateCoordinates(x_->display, static_cast<Window>(window), x_->root, 0, 0, &x, &y, &child))
    return Rect();
  return Rect{x, y, x + attributes.width, y + attributes.height};
}

WindowHandle X11Desktop::ForegroundWindow() {
  std::lock_guard lock(mutex_);
  const Window active = x_->ActiveWindow();
  return active ? x_->ClientOrSelf(active) : 0;
}

void X11Desktop::RequestActivation(WindowHandle window) {
  if (!window) return;
  std::lock_guard lock(mutex_);
  XMapRaised(x_->display, static_cast<Window>(window));
  // Source 2: a request on the user's behalf, which window managers honour.
  x_->SendMessage(static_cast<Window>(window), x_->root, x_->netActiveWindow, 2,
                  SubstructureRedirectMask | SubstructureNotifyMask);
}

void X11Desktop::RequestClose(WindowHandle window) {
  if (!window) return;
  std::lock_guard lock(mutex_);
  x_->SendMessage(static_cast<Window>(window), static_cast<Window>(window), x_->wmProtocols,
                  static_cast<long>(x_->wmDeleteWindow), NoEventMask);
}

Rect X11Desktop::ScreenRect() {
  std::lock_guard lock(mutex_);
  const int screen = DefaultScreen(x_->display);
  return Rect{0, 0, DisplayWidth(x_->display, screen), DisplayHeight(x_->display, screen)};
}

Point X11Desktop::CursorPosition() {
  std::lock_guard lock(mutex_);
  Window rootReturn, child;
  int rootX = 0, rootY = 0, x, y;
  unsigned int mask;
  XQueryPointer(x_->display, x_->root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
  return Point{rootX, rootY};
}

void X11Desktop::SetCursorPosition(Point point) {
  std::lock_guard lock(mutex_);
  XWarpPointer(x_->display, None, x_->root, 0, 0, 0, 0, point.x, point.y);
  XFlush(x_->display);
}

bool X11Desktop::RightButtonDown() {
  std::lock_guard lock(mutex_);
  Window rootReturn, child;
  int rootX, rootY, x, y;
  unsigned int mask = 0;
  XQueryPointer(x_->display, x_->root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
  return (mask & Button3Mask) != 0;
}

unsigned int X11Desktop::ButtonMask() {
  Window rootReturn, child;
  int rootX, rootY, x, y;
  unsigned int mask = 0;
  XQueryPointer(x_->display, x_->root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
  return mask;
}

// The server reports the logical buttons, after the user's pointer mapping: button 1 is the primary one
// even when the physical buttons are swapped.
bool X11Desktop::PrimaryButtonDown() {
  std::lock_guard lock(mutex_);
  return (ButtonMask() & Button1Mask) != 0;
}

bool X11Desktop::SecondaryButtonDown() {
  std::lock_guard lock(mutex_);
  return (ButtonMask() & Button3Mask) != 0;
}

bool X11Desktop::ClickPrimaryButton(Point point) {
  std::lock_guard lock(mutex_);
  if (!x_->xtest) return false;
  // Synthetic button events go through the pointer mapping like a real mouse's: the physical button
  // that the mapping makes logical button 1 is the one to press.
  unsigned char map[32];
  const int count = XGetPointerMapping(x_->display, map, sizeof map);
  unsigned int physical = 1;
  for (int i = 0; i < count; ++i) {
    if (map[i] == 1) {
      physical = static_cast<unsigned int>(i + 1);
      break;
    }
  }
  XTestFakeMotionEvent(x_->display, -1, point.x, point.y, CurrentTime);
  XTestFakeButtonEvent(x_->display, physical, True, CurrentTime);
  XSync(x_->display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  XTestFakeButtonEvent(x_->display, physical, False, CurrentTime);
  XSync(x_->display, False);
  return true;
}

LockKeyStates X11Desktop::LockKeys() {
  std::lock_guard lock(mutex_);
  LockKeyStates states;
  const auto indicator = [&](const char* name, bool& on) {
    Bool state = False;
    const Atom atom = XInternAtom(x_->display, name, False);
    if (!XkbGetNamedIndicator(x_->display, atom, nullptr, &state, nullptr, nullptr)) return false;
    on = state != False;
    return true;
  };
  const bool caps = indicator("Caps Lock", states.capsLock);
  const bool num = indicator("Num Lock", states.numLock);
  const bool scroll = indicator("Scroll Lock", states.scrollLock);
  states.known = caps || num || scroll;
  return states;
}

bool X11Desktop::ModifierKeysDown() {
  std::lock_guard lock(mutex_);
  return x_->ModifierKeysDown();
}

bool X11Desktop::IsMinimized(WindowHandle window) {
  if (!window) return false;
  std::lock_guard lock(mutex_);
  int format;
  unsigned long count;
  const std::string state =
      x_->Property(static_cast<Window>(window), x_->wmState, x_->wmState, format, count);
  if (format != 32 || count < 1) return false;
  long value;
  std::memcpy(&value, state.data(), sizeof value);
  return value == IconicState;
}

Rect X11Desktop::FrameRect(WindowHandle window) {
  Rect rect = WindowRect(window);
  if (rect.Width() <= 0) return rect;
  std::lock_guard lock(mutex_);
  int format;
  unsigned long count;
  const Atom extents = XInternAtom(x_->display, "_NET_FRAME_EXTENTS", False);
  const std::string bytes = x_->Property(static_cast<Window>(window), extents, XA_CARDINAL, format, count);
  if (format != 32 || count < 4) return rect;
  long side[4];  // left, right, top, bottom
  std::memcpy(side, bytes.data(), sizeof side);
  return Rect{rect.left - static_cast<int>(side[0]), rect.top - static_cast<int>(side[2]),
              rect.right + static_cast<int>(side[1]), rect.bottom + static_cast<int>(side[3])};
}

std::vector<WindowHandle> X11Desktop::Descendants(WindowHandle window) {
  std::vector<WindowHandle> found;
  if (!window) return found;
  std::lock_guard lock(mutex_);
  std::vector<Window> pending{static_cast<Window>(window)};
  while (!pending.empty() && found.size() < 100000) {
    const Window parent = pending.back();
    pending.pop_back();
    Window rootReturn, parentReturn, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(x_->display, parent, &rootReturn, &parentReturn, &children, &count)) continue;
    for (unsigned int i = 0; i < count; ++i) {
      found.push_back(children[i]);
      pending.push_back(children[i]);
    }
    if (children) XFree(children);
  }
  return found;
}

}  // namespace scrivano::platform
