// Watches the workbench start on a display of the benchmark's own: when its main window appears, when it
// first answers the user (a click on its Edit menu opens the menu), when the Input window shows text, and
// the longest time a click or an Escape went unanswered meanwhile. The menu is opened and closed again and again
// (Escape) until AFTER-SECONDS after the text showed. Prints one line of milliseconds since the probe
// started, and how many clicks were answered:
//   window=<ms> answer=<ms> text=<ms> longest-stall=<ms> answers=<n>
// With "handback", Function List entry 10 (Make uppercase) is run on the text next, and the probe adds
// the time from the double-click until the Output window shows the result, and the longest stall since:
//   handback=<ms> handback-longest-stall=<ms>
// Usage: workbench-probe TIMEOUT-SECONDS [AFTER-SECONDS [handback]]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "../ProbeCommon.h"

// The managed top-level window with exactly this title, or 0.
static Window WindowTitled(Display* d, const char* wanted) {
  Atom list = XInternAtom(d, "_NET_CLIENT_LIST", False), utf8 = XInternAtom(d, "UTF8_STRING", False),
       name = XInternAtom(d, "_NET_WM_NAME", False);
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = NULL;
  Window found = 0;
  if (XGetWindowProperty(d, DefaultRootWindow(d), list, 0, 1024, False, XA_WINDOW, &type, &format, &count,
                         &after, &data) != Success ||
      !data)
    return 0;
  for (unsigned long i = 0; i < count && !found; ++i) {
    const Window w = ((Window*)data)[i];
    unsigned char* title = NULL;
    unsigned long n = 0;
    if (XGetWindowProperty(d, w, name, 0, 256, False, utf8, &type, &format, &n, &after, &title) == Success &&
        title) {
      if (n == strlen(wanted) && memcmp(title, wanted, n) == 0) found = w;
      XFree(title);
    }
  }
  XFree(data);
  return found;
}

// Text shows in a text window: an area at the left of the main window, top pixels below its top, is
// mostly white (an edit view) with some dark pixels (letters).
static int TextShows(Display* d, Window main, int top) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, main, &a) || a.map_state != IsViewable) return 0;
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(d, main, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  const int w = 300, h = 120;
  XImage* image = XGetImage(d, DefaultRootWindow(d), x + 12, y + top, w, h, AllPlanes, ZPixmap);
  if (!image) return 0;
  long light = 0, dark = 0;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const unsigned long p = XGetPixel(image, i, j);
      const int v = (int)(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
      if (v > 230) ++light;
      if (v < 100) ++dark;
    }
  XDestroyImage(image);
  return light > w * h / 2 && dark > 20;
}

// Where the Input window's text begins below the main window's top (below the menu and tool bars), and
// the Output window's, below the middle of the main window.
enum { kInputTop = 90, kOutputBelowMiddle = 45 };

static int OutputTop(Display* d, Window main) {
  XWindowAttributes a;
  return XGetWindowAttributes(d, main, &a) ? a.height / 2 + kOutputBelowMiddle : 0;
}

// Double-clicks Function List entry 10 ("Make uppercase"): the first row is clicked, its highlight gives
// the row height. False when the list or its highlight was not found.
static int RunUppercaseEntry(Display* d) {
  const Window list = WindowTitled(d, "Function List");
  if (!list) return 0;
  XWindowAttributes a;
  int x = 0, y = 0;
  Window child;
  if (!XGetWindowAttributes(d, list, &a)) return 0;
  XTranslateCoordinates(d, list, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  Click(d, x + 60, y + 18, 1);
  int middle = -1, height = 0;
  for (int i = 0; i < 400 && middle < 0; ++i) {
    struct timespec pause = {0, 5 * 1000 * 1000};
    nanosleep(&pause, NULL);
    middle = SelectedRowMiddle(d, x + 60, y, y + a.height, &height);
  }
  if (middle < 0 || height < 8) return 0;
  Click(d, x + 60, middle + 10 * height, 2);
  return 1;
}

static int IgnoreErrors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;
}

// A menu of the program is open: an override-redirect window of the class "Scrivano" is mapped.
static int MenuOpen(Display* d) {
  Window root, parent, *children = NULL;
  unsigned int count = 0;
  int open = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !open; ++i) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, children[i], &a) || !a.override_redirect || a.map_state != IsViewable)
      continue;
    XClassHint hint = {NULL, NULL};
    if (!XGetClassHint(d, children[i], &hint)) continue;
    open = hint.res_class && strcmp(hint.res_class, "Scrivano") == 0;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
  }
  if (children) XFree(children);
  return open;
}

int main(int argc, char** argv) {
  const double limit = (argc > 1 ? atof(argv[1]) : 60) * 1000;
  const double after = (argc > 2 ? atof(argv[2]) : 3) * 1000;
  const int handBack = argc > 3 && strcmp(argv[3], "handback") == 0;
  double handStart = -1, handText = -1, handStall = 0;
  Display* d = XOpenDisplay(NULL);
  if (!d) return 2;
  XSetErrorHandler(IgnoreErrors);
  const double start = NowMs();
  Window main = 0;
  int placed = 0, lastX = -1, lastY = -1, answers = 0;
  double still = 0;
  double window = -1, answer = -1, lastAnswer = -1, text = -1, stall = 0, sent = -1, clicked = -1,
         closing = -1;
  while (NowMs() - start < limit) {
    if (!main && (main = WindowTitled(d, "Scrivano"))) window = NowMs() - start;
    const int open = main ? MenuOpen(d) : 0;
    // The first click waits until the window manager has framed and placed the window (its place has
    // not changed for a while); before that it would miss the menu bar.
    if (main && !placed) {
      int x = 0, y = 0;
      Window child;
      XWindowAttributes a;
      XTranslateCoordinates(d, main, DefaultRootWindow(d), 0, 0, &x, &y, &child);
      if (XGetWindowAttributes(d, main, &a) && a.map_state == IsViewable && x == lastX && y == lastY) {
        placed = NowMs() - still > 150;
      } else {
        lastX = x;
        lastY = y;
        still = NowMs();
      }
      if (!placed) {
        struct timespec pause = {0, 5 * 1000 * 1000};
        nanosleep(&pause, NULL);
        continue;
      }
    }
    // A click that found no menu bar (the window still being placed) is repeated after a while; the wait
    // counts from the first.
    const int repeat = sent >= 0 && NowMs() - clicked > 5000;
    if (main && ((sent < 0 && closing < 0) || repeat) && !open) {
      // A click on "Edit" in the menu bar.
      int x = 0, y = 0;
      Window child;
      XTranslateCoordinates(d, main, DefaultRootWindow(d), 0, 0, &x, &y, &child);
      XTestFakeMotionEvent(d, -1, x + 57, y + 8, CurrentTime);
      XTestFakeButtonEvent(d, 1, True, CurrentTime);
      XTestFakeButtonEvent(d, 1, False, CurrentTime);
      XFlush(d);
      clicked = NowMs();
      if (sent < 0) sent = clicked;
    } else if (sent >= 0 && open) {
      const double waited = NowMs() - sent;
      if (waited > stall) stall = waited;
      if (answer < 0) answer = NowMs() - start;
      lastAnswer = NowMs() - start;
      ++answers;
      sent = -1;
      closing = NowMs();
      XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Escape), True, CurrentTime);
      XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Escape), False, CurrentTime);
      XFlush(d);
    } else if (closing >= 0 && !open) {
      closing = -1;
    } else if (closing >= 0 && NowMs() - closing > 5000) {
      closing = -1;  // the menu stayed: asked to close by the next click
    }
    // A click waiting for the menu, or Escape waiting for it to close: the program has not answered yet.
    const double waiting = sent >= 0 ? NowMs() - sent : closing >= 0 ? NowMs() - closing : 0;
    if (waiting > stall) stall = waiting;
    if (handStart >= 0 && waiting > handStall) handStall = waiting;
    if (main && text < 0 && TextShows(d, main, kInputTop)) text = NowMs() - start;
    if (handStart >= 0 && handText < 0 && TextShows(d, main, OutputTop(d, main))) handText = NowMs() - handStart;
    // Done once the program has answered for a while after the text showed (a text shown piece by piece
    // is still coming in meanwhile); with the hand-back, the same once more after the Output text showed.
    const int opened = text >= 0 && lastAnswer >= text + after;
    if (opened && handBack && handStart < 0 && sent < 0 && closing < 0 && !open) {
      // The menu is closed and no click is pending: the list gets the double-click, then the wait goes on.
      if (!RunUppercaseEntry(d)) break;
      handStart = NowMs();
      continue;
    }
    if (opened && (!handBack || (handText >= 0 && lastAnswer >= handStart - start + handText + after)))
      break;
    struct timespec pause = {0, 5 * 1000 * 1000};
    nanosleep(&pause, NULL);
  }
  printf("window=%.0f answer=%.0f text=%.0f longest-stall=%.0f answers=%d", window, answer, text, stall,
         answers);
  if (handBack) printf(" handback=%.0f handback-longest-stall=%.0f", handText, handStall);
  printf("\n");
  XCloseDisplay(d);
  return text >= 0 && (!handBack || handText >= 0) ? 0 : 1;
}
