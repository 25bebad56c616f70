// The one table between the program's class names and what X11 programs report.
#include <gtest/gtest.h>

#include "platform/WindowClasses.h"

namespace scrivano::platform {
namespace {

TEST(WindowClasses, EachNameStandsForWhatX11ProgramsReport) {
  struct Case {
    WindowKind kind;
    const char16_t* reported;
    const char16_t* alsoOfClass;  // another name the window is of, or nullptr
    const char16_t* notOfClass;
  } cases[] = {
      {{u"libreoffice", u"libreoffice-writer", u"a.odt - LibreOffice Writer", false},
       u"OpusApp",
       u"libreoffice",
       u"#32770"},
      {{u"libreoffice", u"libreoffice-writer", u"Find and Replace", true},
       u"bosa_sdm",
       u"#32770",
       u"OpusApp"},
      {{u"libreoffice", u"libreoffice-writer", u"Word Count", true},
       u"#32770",
       u"libreoffice-writer",
       u"bosa_sdm"},
      {{u"chromium", u"Chromium", u"News - Chromium", false},
       u"Chrome_WidgetWin_1",
       u"chromium",
       u"MozillaWindowClass"},
      {{u"google-chrome", u"Google-chrome", u"Mail", false}, u"Chrome_WidgetWin_1", nullptr, u"#32770"},
      {{u"Navigator", u"firefox-esr", u"Page — Mozilla Firefox", false},
       u"MozillaWindowClass",
       u"Navigator",
       u"Chrome_WidgetWin_1"},
      {{u"fcitx", u"fcitx", u"", false}, u"WNWB Input", nullptr, u"#32770"},
      {{u"ibus-ui-gtk3", u"Ibus-ui-gtk3", u"", false}, u"WNWB Input", nullptr, u"OpusApp"},
      {{u"gedit", u"Gedit", u"notes.txt", false}, u"Gedit", u"gedit", u"WNWB Input"},
      {{u"gedit", u"Gedit", u"Save As", true}, u"#32770", u"GEDIT", u"Gedit-x"},
  };
  for (const Case& c : cases) {
    const std::string what = ToUtf8(c.kind.className) + " / " + ToUtf8(c.kind.title);
    EXPECT_EQ(ReportedClassName(c.kind), c.reported) << what;
    EXPECT_TRUE(IsWindowOfClass(c.kind, c.reported)) << what;
    if (c.alsoOfClass) {
      EXPECT_TRUE(IsWindowOfClass(c.kind, c.alsoOfClass)) << what;
    }
    EXPECT_FALSE(IsWindowOfClass(c.kind, c.notOfClass)) << what;
    EXPECT_FALSE(IsWindowOfClass(c.kind, u"")) << what;
  }
}

TEST(WindowClasses, AListFitsWhenAnyItemDoes) {
  const WindowKind firefox{u"Navigator", u"firefox", u"Page", false};
  EXPECT_TRUE(IsWindowOfAnyClass(firefox, u"Chrome_WidgetWin_1\tMozillaWindowClass\tIEFrame"));
  EXPECT_TRUE(IsWindowOfAnyClass(firefox, u"IEFrame\tnavigator"));
  EXPECT_FALSE(IsWindowOfAnyClass(firefox, u"Chrome_WidgetWin_1\t\tIEFrame"));
  EXPECT_FALSE(IsWindowOfAnyClass(firefox, u""));
}

TEST(WindowClasses, TheMatchingItemIsToldAsWrittenWithItsSelectionMark) {
  const WindowKind writer{u"libreoffice", u"libreoffice-writer", u"a.odt - LibreOffice Writer", false};
  EXPECT_EQ(MatchingClassItem(writer, u"Notepad;\tlibreoffice-writer;\tOpusApp"), u"libreoffice-writer;");
  EXPECT_EQ(MatchingClassItem(writer, u"OpusApp\tlibreoffice-writer;"), u"OpusApp");
  EXPECT_EQ(MatchingClassItem(writer, u"LIBREOFFICE"), u"LIBREOFFICE");
  EXPECT_EQ(MatchingClassItem(writer, u"bosa_sdm;\t;\tlibreoffice-calc"), u"");
  EXPECT_TRUE(IsWindowOfAnyClass(writer, u"OpusApp;"));
  EXPECT_FALSE(IsWindowOfAnyClass(writer, u";"));
}

}  // namespace
}  // namespace scrivano::platform
