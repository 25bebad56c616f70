// The overlay box of status captions on self-drawing windows: where it goes and when it goes away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <QTest>

#include "app/CaptionOverlay.h"
#include "platform/fake/FakeDesktop.h"

namespace scrivano {
namespace {

TEST(CaptionOverlay, TheBoxSitsBelowTwoCaptionHeightsAndStaysInsideTheWindow) {
  platform::FakeDesktop desktop;
  CCaptionOverlay overlay(desktop);
  const int caption = overlay.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QString shortText = QStringLiteral("Deleted!   ");
  const QString longText =
      QString(QStringLiteral("Warning !  300 (Free Mbytes) < 512 (Min Mbytes)   ")).repeated(8);
  struct Case {
    platform::Rect window;
    const QString& text;
  } cases[] = {
      {{100, 50, 900, 650}, shortText}, {{0, 0, 400, 600}, longText}, {{300, 200, 500, 900}, longText}};
  for (const Case& c : cases) {
    const QRect box = overlay.BoxRect(c.window, c.text);
    const QRect text = overlay.fontMetrics().boundingRect(QRect(0, 0, c.window.Width() - 24, 10000),
                                                          Qt::TextWordWrap, c.text);
    EXPECT_EQ(box.left(), c.window.left);
    EXPECT_EQ(box.top(), c.window.top + 2 * caption);
    EXPECT_EQ(box.height(), text.height() + 12);
    EXPECT_LE(box.right(), c.window.right - 12) << "inside the window's right edge";
    if (&c.text == &shortText) {
      EXPECT_EQ(box.width(), text.width() + 24);
    }
  }
}

TEST(CaptionOverlay, ShowsOverTheWindowInFrontAndGoesWhenItLeavesTheFront) {
  platform::FakeDesktop desktop;
  const WindowHandle browser = desktop.AddWindow(u"Chrome_WidgetWin_1", u"News", {100, 50, 900, 650});
  const WindowHandle editor = desktop.AddWindow(u"gedit", u"notes", {0, 0, 300, 200});
  desktop.SetForeground(browser);
  CCaptionOverlay overlay(desktop);
  overlay.ShowOver(browser, u"Warning !   ");
  QTRY_VERIFY_WITH_TIMEOUT(overlay.isVisible(), 2000);
  EXPECT_EQ(overlay.geometry().topLeft(),
            QPoint(100, 50 + 2 * overlay.style()->pixelMetric(QStyle::PM_TitleBarHeight)));
  desktop.SetForeground(editor);
  QTRY_VERIFY_WITH_TIMEOUT(!overlay.isVisible(), 2000);
  overlay.ShowOver(0, u"nowhere");
  overlay.ShowOver(browser, u"");
  QTest::qWait(50);
  EXPECT_FALSE(overlay.isVisible()) << "no window or no text: nothing shown";
}

}  // namespace
}  // namespace scrivano
