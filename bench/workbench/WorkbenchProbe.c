// Watches the workbench start on a display of the benchmark's own: when its main window appears, when it
// first answers the user (a click on its Edit menu opens the menu), when the Input window shows text, and
// the longest time a click went unanswered meanwhile. The menu is opened and closed again and again
// (Escape) until AFTER-SECONDS after the text showed. Prints one line of milliseconds since the probe
// started, and how many clicks were answered:
//   window=<ms> answer=<ms> text=<ms> longest-stall=<ms> answers=<n>
// Usage: workbench-probe TIMEOUT-SECONDS [AFTER-SECONDS]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The managed top-level window titled exactly "Scrivano", or 0.
static Window MainWindow(Display* d) {
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
      if (n == 8 && memcmp(title, "Scrivano", 8) == 0) found = w;
      XFree(title);
    }
  }
  XFree(data);
  return found;
}

// Text shows in the Input window: the area below the main window's tool bar, at its left, is mostly
// white (an edit view) with some dark pixels (letters).
static int TextShows(Display* d, Window main) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, main, &a) || a.map_state != IsViewable) return 0;
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(d, main, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  const int w = 300, h = 120;
  XImage* image = XGetImage(d, DefaultRootWindow(d), x + 12, y + 90, w, h, AllPlanes, ZPixmap);
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
    if (!main && (main = MainWindow(d))) window = NowMs() - start;
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
    } else if (closing >= 0 && NowMs() - closing > 2000) {
      closing = -1;  // the menu stayed: asked to close by the next click
    }
    if (sent >= 0 && NowMs() - sent > stall) stall = NowMs() - sent;
    if (main && text < 0 && TextShows(d, main)) text = NowMs() - start;
    // Done once the program has answered for a while after the text showed (a text shown piece by piece
    // is still coming in meanwhile).
    if (text >= 0 && lastAnswer >= text + after) break;
    struct timespec pause = {0, 5 * 1000 * 1000};
    nanosleep(&pause, NULL);
  }
  printf("window=%.0f answer=%.0f text=%.0f longest-stall=%.0f answers=%d\n", window, answer, text, stall,
         answers);
  XCloseDisplay(d);
  return text >= 0 ? 0 : 1;
}
