// What the whole-program benchmark probes share: a clock, and the Function List's highlighted row found and
// clicked with synthetic mouse events (as the tests do it).
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <time.h>

static double NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}


// The middle of the Function List's highlighted row in the pixel column x, or -1 (as the tests find it).
static int SelectedRowMiddle(Display* d, int x, int top, int bottom, int* height) {
  XImage* image = XGetImage(d, DefaultRootWindow(d), x, top, 1, (unsigned)(bottom - top), AllPlanes, ZPixmap);
  if (!image) return -1;
  int first = -1, last = -1;
  for (int y = 0; y < bottom - top; ++y) {
    const unsigned long p = XGetPixel(image, 0, y);
    const int red = (int)((p >> 16) & 0xFF), green = (int)((p >> 8) & 0xFF), blue = (int)(p & 0xFF);
    if (blue > 120 && blue > red + 60 && green < blue) {
      if (first < 0) first = y;
      last = y;
    }
  }
  XDestroyImage(image);
  if (height) *height = last - first + 1;
  return first < 0 ? -1 : top + (first + last) / 2;
}

static void Click(Display* d, int x, int y, int count) {
  XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
  for (int i = 0; i < count; ++i) {
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
  }
  XFlush(d);
}

