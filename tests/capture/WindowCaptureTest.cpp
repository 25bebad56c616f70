// Which windows a class list (parameter 10 of window mode, the office and dialog lists) takes, on the fake
// desktop with windows as X11 programs show them.
#include <gtest/gtest.h>

#include "capture/DesktopReach.h"
#include "platform/fake/FakeDesktop.h"

namespace scrivano {
namespace {

using platform::FakeDesktop;
using platform::Rect;

TEST(WindowsOfClass, AListNamesTableClassesWmClassPartsOrContainsTheReportedName) {
  FakeDesktop desktop;
  const Rect rect{0, 0, 100, 100};
  const WindowHandle plain = desktop.AddWindow(u"textclient", u"plain", rect);
  const WindowHandle document = desktop.AddX11Window(
      {u"libreoffice", u"libreoffice-writer", u"a.odt - LibreOffice Writer", false}, rect);
  const WindowHandle findReplace =
      desktop.AddX11Window({u"libreoffice", u"libreoffice-writer", u"Find and Replace", true}, rect);
  const WindowHandle sheet =
      desktop.AddX11Window({u"libreoffice", u"libreoffice-calc", u"b.ods - LibreOffice Calc", false}, rect);
  const WindowHandle gedit = desktop.AddX11Window({u"gedit", u"Gedit", u"notes.txt", false}, rect);
  const WindowHandle untitled = desktop.AddX11Window({u"gedit", u"Gedit", u"", false}, rect);
  desktop.SetWindowShown(untitled, false);  // hidden windows are not listed at all

  const struct {
    const char16_t* list;
    std::vector<WindowHandle> found;  // the top of the stacking order first
  } cases[] = {
      {u"libreoffice-writer", {findReplace, document}},
      {u"LibreOffice-Writer", {findReplace, document}},
      {u"libreoffice", {sheet, findReplace, document}},
      {u"OpusApp", {document}},
      {u"bosa_sdm\tgedit", {gedit, findReplace}},
      {u"Gedit;", {gedit}},
      {u"xterm\t\tlibreoffice-calc", {sheet}},
      {u"libre", {}},               // a part of a WM_CLASS name is no name
      {u"mytextclient2", {plain}},  // the reported name within an item still counts
      {u"text", {}},
      {u"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowsOfClass(desktop, c.list), c.found) << ToUtf8(c.list);
}

}  // namespace
}  // namespace scrivano
