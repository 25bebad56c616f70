// A small X11 program for the desktop tests: one top-level window with a given class and title, shown as
// a dialog or drawing its own title bar when asked. It ends when asked to close (WM_DELETE_WINDOW).
//
//   scrivano_test_client --class NAME --title TITLE [--dialog] [--self-drawn] [--at X,Y]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr unsigned kWidth = 480;
constexpr unsigned kHeight = 320;
constexpr int kOwnTitleBarHeight = 30;
constexpr unsigned long kBody = 0x2060A0;      // a blue the overlay's white stands out from
constexpr unsigned long kTitleBar = 0x303030;  // the title bar the client draws itself

void SetAtomProperty(Display* display, Window window, const char* property, const char* value) {
  const Atom atom = XInternAtom(display, value, False);
  XChangeProperty(display, window, XInternAtom(display, property, False), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&atom), 1);
}

}  // namespace

int main(int argc, char** argv) {
  std::string className = "ScrivanoTestClient", title = "Test client";
  bool dialog = false, selfDrawn = false;
  int x = 100, y = 100;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--class" && i + 1 < argc)
      className = argv[++i];
    else if (arg == "--title" && i + 1 < argc)
      title = argv[++i];
    else if (arg == "--dialog")
      dialog = true;
    else if (arg == "--self-drawn")
      selfDrawn = true;
    else if (arg == "--at" && i + 1 < argc)
      std::sscanf(argv[++i], "%d,%d", &x, &y);
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, kWidth, kHeight, 0, 0, kBody);
  std::string instance = className;
  for (char& c : instance) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  XClassHint hint{instance.data(), className.data()};
  XSetClassHint(display, window, &hint);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  XStoreName(display, window, title.c_str());
  const long pid = static_cast<long>(::getpid());
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
  if (dialog) SetAtomProperty(display, window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG");
  if (selfDrawn) {
    // Motif hints: flags (decorations given), functions, decorations (none), input mode, status.
    const long hints[5] = {1L << 1, 0, 0, 0, 0};
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
  }
  XSizeHints size{};
  size.flags = USPosition | PPosition;
  size.x = x;
  size.y = y;
  XSetWMNormalHints(display, window, &size);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  XSelectInput(display, window, ExposureMask | StructureNotifyMask);
  XMapWindow(display, window);
  const GC gc = XCreateGC(display, window, 0, nullptr);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == Expose && event.xexpose.count == 0 && selfDrawn) {
      XSetForeground(display, gc, kTitleBar);
      XFillRectangle(display, window, gc, 0, 0, kWidth, kOwnTitleBarHeight);
      XSetForeground(display, gc, 0xFFFFFF);
      XDrawString(display, window, gc, 10, 20, title.c_str(), static_cast<int>(title.size()));
    } else if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
      break;
    }
  }
  XFreeGC(display, gc);
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
