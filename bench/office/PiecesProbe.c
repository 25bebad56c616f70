// Times one piece-by-piece run of a Function List entry inside a Writer window, on a display of the
// benchmark's own: double-clicks the entry, answers its selection prompt, and watches the Writer window's
// title, which reads "Do not perform ..." while Scrivano works in it. Prints milliseconds:
//   start=<from the answer until the title changed> run=<while the title said so>
// Usage: pieces-probe TIMEOUT-SECONDS ENTRY ANSWER WRITER-TITLE
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

static void Sleep(int ms) {
  struct timespec pause = {ms / 1000, (ms % 1000) * 1000 * 1000};
  nanosleep(&pause, NULL);
}

// The window's _NET_WM_NAME into title (empty when it has none).
static void TitleOf(Display* d, Window w, char* title, size_t size) {
  Atom utf8 = XInternAtom(d, "UTF8_STRING", False), name = XInternAtom(d, "_NET_WM_NAME", False), type;
  int format;
  unsigned long n = 0, after;
  unsigned char* data = NULL;
  title[0] = '\0';
  if (XGetWindowProperty(d, w, name, 0, 256, False, utf8, &type, &format, &n, &after, &data) == Success &&
      data) {
    snprintf(title, size, "%.*s", (int)n, (const char*)data);
    XFree(data);
  }
}

// The managed top-level window with exactly this title, or 0.
static Window WindowTitled(Display* d, const char* wanted) {
  Atom list = XInternAtom(d, "_NET_CLIENT_LIST", False), type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = NULL;
  Window found = 0;
  if (XGetWindowProperty(d, DefaultRootWindow(d), list, 0, 1024, False, XA_WINDOW, &type, &format, &count,
                         &after, &data) != Success ||
      !data)
    return 0;
  for (unsigned long i = 0; i < count && !found; ++i) {
    char title[512];
    TitleOf(d, ((Window*)data)[i], title, sizeof title);
    if (strcmp(title, wanted) == 0) found = ((Window*)data)[i];
  }
  XFree(data);
  return found;
}

static void Key(Display* d, KeySym key, int down) {
  XTestFakeKeyEvent(d, XKeysymToKeycode(d, key), down, CurrentTime);
  XFlush(d);
}

static void Tap(Display* d, KeySym key) {
  Key(d, key, True);
  Key(d, key, False);
}

// The first row is clicked, its highlight gives the row height. False when the list was not found.
static int DoubleClickEntry(Display* d, int entry) {
  const Window list = WindowTitled(d, "Function List");
  XWindowAttributes a;
  int x = 0, y = 0, middle = -1, height = 0;
  Window child;
  if (!list || !XGetWindowAttributes(d, list, &a)) return 0;
  XTranslateCoordinates(d, list, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  Click(d, x + 60, y + 18, 1);
  for (int i = 0; i < 400 && middle < 0; ++i) {
    Sleep(5);
    middle = SelectedRowMiddle(d, x + 60, y, y + a.height, &height);
  }
  if (middle < 0 || height < 8) return 0;
  Click(d, x + 60, middle + entry * height, 2);
  return 1;
}

static int IgnoreErrors(Display* d, XErrorEvent* e) {
  (void)d;
  (void)e;
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: pieces-probe TIMEOUT-SECONDS ENTRY ANSWER WRITER-TITLE\n");
    return 2;
  }
  const double limit = atof(argv[1]) * 1000;
  const char* answer = argv[3];
  const char* writerTitle = argv[4];
  Display* d = XOpenDisplay(NULL);
  if (!d) return 2;
  XSetErrorHandler(IgnoreErrors);
  const double start = NowMs();
  Window writer = 0, prompt = 0;
  while (!(writer = WindowTitled(d, writerTitle)) && NowMs() - start < limit) Sleep(20);
  if (!writer || !DoubleClickEntry(d, atoi(argv[2]))) {
    printf("error=no-writer-window-or-function-list\n");
    return 1;
  }
  while (!(prompt = WindowTitled(d, "General Selection")) && NowMs() - start < limit) Sleep(20);
  if (!prompt) {
    printf("error=no-prompt\n");
    return 1;
  }
  Sleep(300);
  Key(d, XK_Control_L, True);
  Tap(d, XK_a);
  Key(d, XK_Control_L, False);
  for (const char* c = answer; *c; ++c) Tap(d, (KeySym)*c);
  Tap(d, XK_Return);
  const double answered = NowMs();
  double changed = -1, restored = -1;
  char title[512];
  while (restored < 0 && NowMs() - start < limit) {
    TitleOf(d, writer, title, sizeof title);
    if (changed < 0 && strncmp(title, "Do not perform", 14) == 0) changed = NowMs();
    if (changed >= 0 && strcmp(title, writerTitle) == 0) restored = NowMs();
    Sleep(5);
  }
  if (restored < 0) {
    printf("error=timeout title=%s\n", title);
    return 1;
  }
  printf("start=%.0f run=%.0f\n", changed - answered, restored - changed);
  return 0;
}
