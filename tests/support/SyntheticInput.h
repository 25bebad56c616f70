// Synthetic mouse and key events for the whole-program tests on a private display (XTest), and the
// Function List's selected row read off the screen. Include gtest before this header: Xlib's macros
// (None, Bool) would break gtest's templates.
#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/DesktopPlatform.h"
#include "support/DesktopWaits.h"

namespace scrivano::test {

inline void Click(Display* display, int x, int y, int count = 1) {
  XTestFakeMotionEvent(display, -1, x, y, 0);
  for (int i = 0; i < count; ++i) {
    XTestFakeButtonEvent(display, 1, True, 0);
    XTestFakeButtonEvent(display, 1, False, 0);
  }
  XFlush(display);
}

inline void PressKey(Display* display, KeySym key) {
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), True, 0);
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), False, 0);
  XFlush(display);
}

inline void PressChord(Display* display, KeySym modifier, KeySym key) {
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), True, 0);
  PressKey(display, key);
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, modifier), False, 0);
  XFlush(display);
}

// Printable ASCII (a path, say), one key each, with Shift for the characters on a key's shifted level.
inline void TypeText(Display* display, const std::string& text) {
  const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
  for (const char c : text) {
    const KeySym key = static_cast<KeySym>(static_cast<unsigned char>(c));  // Latin-1 keysyms are the codes
    const KeyCode code = XKeysymToKeycode(display, key);
    const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != key;
    if (shifted) XTestFakeKeyEvent(display, shift, True, 0);
    XTestFakeKeyEvent(display, code, True, 0);
    XTestFakeKeyEvent(display, code, False, 0);
    if (shifted) XTestFakeKeyEvent(display, shift, False, 0);
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// The vertical middle of the list's selected row, found by its highlight colour in one pixel column.
inline int SelectedRowMiddle(Display* display, int x, int top, int bottom) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, top, 1,
                            static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
  if (!image) return -1;
  int first = -1, last = -1;
  for (int y = 0; y < bottom - top; ++y) {
    const unsigned long pixel = XGetPixel(image, 0, y);
    const int red = static_cast<int>((pixel >> 16) & 0xFF), green = static_cast<int>((pixel >> 8) & 0xFF),
              blue = static_cast<int>(pixel & 0xFF);
    if (blue > 120 && blue > red + 60 && green < blue) {
      if (first < 0) first = y;
      last = y;
    }
  }
  XDestroyImage(image);
  return first < 0 ? -1 : top + (first + last) / 2;
}

// Selects the Function List's entry with a click on the first row and one Down key a row, each step seen
// on the screen, then double-clicks it.
inline testing::AssertionResult DoubleClickListEntry(Display* display, platform::Rect list, int number) {
  const int column = list.left + 60;
  const auto selectedRow = [&] { return SelectedRowMiddle(display, column, list.top, list.bottom); };
  int row = -1;
  Click(display, column, list.top + 18);
  // The first row, not one selected before.
  if (!Eventually([&] { return (row = selectedRow()) > 0 && row < list.top + 26; }))
    return testing::AssertionFailure() << "no selected row";
  for (int i = 0; i < number; ++i) {
    const int previous = row;
    PressKey(display, XK_Down);
    if (!Eventually([&] { return (row = selectedRow()) > previous; }))
      return testing::AssertionFailure() << "the selection did not move down at step " << i;
  }
  Click(display, column, row, 2);
  return testing::AssertionSuccess();
}

}  // namespace scrivano::test
