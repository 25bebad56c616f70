// "13. Replace text in Word documents" on the fake desktop, against a stand-in that behaves as LibreOffice
// Writer was measured to: one Find and Replace window per document, hidden while another document is
// active and given the focus again with its own; Ctrl+H in a document whose window is open closes it. The
// window shows the words of one interface language and takes that language's access keys only.
#include <gtest/gtest.h>

#include <mutex>
#include <optional>

#include "office/OfficeReplace.h"
#include "platform/fake/FakeDesktop.h"
#include "support/TestPrompts.h"

namespace scrivano {
namespace {

using namespace std::chrono_literals;
using platform::FakeDesktop;
using platform::FindReplaceWords;
using platform::Rect;
using platform::WindowKind;

// As LibreOffice 7.4's catalogs give them; the last is made up, with other access keys than English.
const FindReplaceWords kEnglish = platform::EnglishFindReplaceWords();
const FindReplaceWords kSimplifiedChinese{"zh_CN", u"查找与替换", u"查找(_F):", u"替换(_P):",
                                          u"全部替换(_L)"};
const FindReplaceWords kOtherKeys{"xx", u"Chercher", u"_Texte :", u"_Nouveau :", u"Tout _remplacer"};

class MemoryClipboard : public ClipboardAccess {
 public:
  bool ReadText(Text& out) override {
    std::lock_guard lock(mutex_);
    out = text_;
    return true;
  }
  bool WriteText(TextView text) override {
    std::lock_guard lock(mutex_);
    text_ = Text(text);
    return true;
  }

 private:
  std::mutex mutex_;
  Text text_;
};

class WriterStandIn {
 public:
  struct Document {
    WindowHandle window = 0;
    Text text;
    WindowHandle dialog = 0;  // its Find and Replace window, 0 when closed
    Text search, replacement;
  };

  WriterStandIn(FakeDesktop& desktop, MemoryClipboard& clipboard) : desktop_(desktop), clipboard_(clipboard) {
    desktop_.SetKeyHook([this](int key, bool down) { OnKey(key, down); });
  }

  // The interface language of the windows opened from now on; the office knows every one of languages.
  void ShowLanguage(const FindReplaceWords& words) {
    words_ = words;
    languages_ = {kEnglish, kSimplifiedChinese, kOtherKeys, words};
  }

  size_t AddDocument(TextView title, TextView text) {
    Document document;
    document.window =
        desktop_.AddX11Window({u"libreoffice", u"libreoffice-writer", Text(title), false}, kRect);
    document.text = Text(text);
    documents_.push_back(document);
    Activate(document.window);
    return documents_.size() - 1;
  }

  // Ctrl+H in the document, then the two fields typed by the user.
  void OpenFindAndReplace(size_t index, TextView search, TextView replacement) {
    Activate(documents_[index].window);
    Open(documents_[index]);
    documents_[index].search = Text(search);
    documents_[index].replacement = Text(replacement);
    lastSearch_ = Text(search);
  }

  // What the window manager and Writer do when a window is activated.
  void Activate(WindowHandle window) {
    for (Document& document : documents_) {
      if (document.window == window) {
        for (Document& other : documents_)
          if (other.dialog && &other != &document) desktop_.SetWindowShown(other.dialog, false);
        if (document.dialog) desktop_.SetWindowShown(document.dialog, true);
        desktop_.SetForeground(document.dialog ? document.dialog : document.window);
        return;
      }
    }
    desktop_.SetForeground(window);
  }

  const Document& operator[](size_t index) const { return documents_[index]; }

 private:
  static constexpr Rect kRect{0, 0, 800, 600};

  void Open(Document& document) {
    document.dialog = desktop_.AddX11Window(
        {u"libreoffice", u"libreoffice-writer", words_.title, true, &languages_}, kRect);
    document.search = lastSearch_;  // the search is shared between the windows, the replacement is not
    document.replacement.clear();
    field_ = &document.search;
    desktop_.SetForeground(document.dialog);
  }

  void OnKey(int key, bool down) {
    if (key == kKeyControl) control_ = down;
    if (key == kKeyAlt) alt_ = down;
    if (!down) return;
    const WindowHandle front = desktop_.ForegroundWindow();
    for (Document& document : documents_) {
      if (front == document.window && control_ && key == 'H') {
        if (document.dialog) {
          desktop_.RemoveWindow(document.dialog);  // the window toggles: an open one closes
          document.dialog = 0;
          desktop_.SetForeground(document.window);
        } else {
          Open(document);
        }
        return;
      }
      if (front && front == document.dialog) {
        OnDialogKey(document, key);
        return;
      }
    }
  }

  static int KeyOf(TextView label) {
    const char16_t key = platform::AccessKeyOf(label);
    return key >= u'a' && key <= u'z' ? key - u'a' + u'A' : key;
  }

  void OnDialogKey(Document& document, int key) {
    if (alt_ && key == KeyOf(words_.findLabel)) field_ = &document.search;
    if (alt_ && key == KeyOf(words_.replaceLabel)) field_ = &document.replacement;
    if (control_ && key == 'A') selected_ = true;
    // An empty selection copies nothing.
    if (control_ && key == 'C' && !field_->empty()) clipboard_.WriteText(*field_);
    if (control_ && key == 'V') {
      Text pasted;
      clipboard_.ReadText(pasted);
      *field_ = selected_ ? pasted : *field_ + pasted;
      selected_ = false;
    }
    if (key == 0x2E && selected_) {
      field_->clear();
      selected_ = false;
    }
    if (alt_ && key == KeyOf(words_.replaceAllLabel) && !document.search.empty()) {
      Replace(document.text, document.search, document.replacement);
      lastSearch_ = document.search;
    }
  }

  FakeDesktop& desktop_;
  MemoryClipboard& clipboard_;
  std::vector<Document> documents_;
  FindReplaceWords words_ = kEnglish;
  std::vector<FindReplaceWords> languages_{kEnglish};
  Text lastSearch_;
  Text* field_ = nullptr;
  bool selected_ = false;
  bool control_ = false;
  bool alt_ = false;
};

RelayTimings QuickRelay() {
  RelayTimings timings;
  timings.poll = 1ms;
  timings.modifierRelease = 100ms;
  timings.keyHold = 0ms;
  timings.pasteSettle = 0ms;
  timings.captureWait = 30ms;
  timings.clipboardRetry = 1ms;
  timings.foregroundWait = 200ms;
  return timings;
}

OfficeReplaceTimings QuickReplace() {
  return {1ms, 200ms, 0ms, 0ms, 0ms, 0ms};
}

class OfficeReplace : public ::testing::Test {
 protected:
  std::optional<Text> Run() { return ReplaceInWordDocuments(reach, result, QuickReplace()); }

  test::TestPrompts prompts;
  FakeDesktop desktop;
  MemoryClipboard clipboard;
  ClipboardRelay relay{desktop, clipboard, nullptr, QuickRelay()};
  WriterStandIn writer{desktop, clipboard};
  DesktopReach reach{desktop, relay, [this](WindowHandle window) { writer.Activate(window); },
                     [this](WindowHandle window, TextView text) { desktop.SetWindowTitle(window, text); }};
  Text result = u"input";
};

// Whatever the interface language, its window is found by its title and driven by its own access keys.
TEST_F(OfficeReplace, EveryDocumentIsReplacedInItsOwnWindowAndTheUsersWindowStays) {
  for (const FindReplaceWords& language : {kEnglish, kSimplifiedChinese, kOtherKeys}) {
    SCOPED_TRACE(language.language);
    FakeDesktop desktop;
    MemoryClipboard clipboard;
    ClipboardRelay relay{desktop, clipboard, nullptr, QuickRelay()};
    WriterStandIn writer{desktop, clipboard};
    DesktopReach reach{desktop, relay, [&](WindowHandle window) { writer.Activate(window); },
                       [&](WindowHandle window, TextView text) { desktop.SetWindowTitle(window, text); }};
    writer.ShowLanguage(language);
    const size_t a = writer.AddDocument(u"a.odt - LibreOffice Writer", u"The cat sat on the mat.");
    const size_t b = writer.AddDocument(u"b.odt - LibreOffice Writer", u"Only a cat, a cat.");
    writer.OpenFindAndReplace(b, u"cat", u"bird");
    const WindowHandle usersWindow = writer[b].dialog;
    Text text = u"input";
    EXPECT_EQ(ReplaceInWordDocuments(reach, text, QuickReplace()),
              u"\r\nb.odt - LibreOffice Writer\r\na.odt - LibreOffice Writer");  // the top first
    EXPECT_EQ(text, u"Processing completed !  ( 2 documents )");
    EXPECT_EQ(writer[a].text, u"The bird sat on the mat.");
    EXPECT_EQ(writer[b].text, u"Only a bird, a bird.");
    // The window opened for the first document is closed again; the user's keeps its title.
    EXPECT_EQ(desktop.CloseRequests(), std::vector<WindowHandle>{writer[a].dialog});
    EXPECT_EQ(writer[b].dialog, usersWindow);
    EXPECT_EQ(desktop.WindowTitle(usersWindow), language.title);
  }
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(OfficeReplace, AnEmptyReplacementRemovesTheSearchTextOnlyOnceTheUserSaysSo) {
  const size_t a = writer.AddDocument(u"a - LibreOffice Writer", u"one [x] two [x]");
  const size_t b = writer.AddDocument(u"b - LibreOffice Writer", u"[x]three");
  writer.OpenFindAndReplace(a, u"[x]", u"");
  prompts.Answer(u"no");
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_EQ(result, u"input");
  EXPECT_EQ(writer[a].text, u"one [x] two [x]");
  prompts.Answer(u"yes");
  Run();
  EXPECT_EQ(result, u"Processing completed !  ( 2 documents )");
  EXPECT_EQ(writer[a].text, u"one  two ");
  EXPECT_EQ(writer[b].text, u"three");
  ASSERT_EQ(prompts.dialogs().size(), 2u);
  EXPECT_EQ(prompts.dialogs()[0].text,
            u"The Replace field is empty. Delete every \"[x]\" in the open documents?");
}

// Nothing replaced, nothing handed back: the text stays as it was and the box says why.
TEST_F(OfficeReplace, WhenNothingCanBeReplacedNothingIsTouchedAndTheBoxSaysWhy) {
  const size_t a = writer.AddDocument(u"a - LibreOffice Writer", u"keep me");
  const Text kept = u"\r\n\r\nNothing was replaced, and the Input window keeps its text.";
  // No Find and Replace window; then one with an empty search; then one in a made-up language whose access
  // keys are Cyrillic letters, which no key of the chords stands for.
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_TRUE(desktop.KeyEvents().empty());
  writer.OpenFindAndReplace(a, u"", u"x");
  EXPECT_EQ(Run(), std::nullopt);
  writer.ShowLanguage({"yy", u"Найти и заменить", u"_Найти:", u"_Заменить:", u"Заменить _все"});
  writer.OpenFindAndReplace(a, u"keep", u"lose");
  const size_t pressed = desktop.KeyEvents().size();
  EXPECT_EQ(Run(), std::nullopt);
  EXPECT_EQ(desktop.KeyEvents().size(), pressed);
  EXPECT_EQ(result, u"input");
  EXPECT_EQ(writer[a].text, u"keep me");
  EXPECT_EQ(
      prompts.Messages(),
      (std::vector<Text>{
          u"No parameter set !\r\n\r\nNo Find and Replace window of LibreOffice Writer is open. Open it in "
          u"a document (Ctrl+H), type what to find and what to replace it with, and choose this entry "
          u"again." +
              kept,
          u"No parameter set !\r\n\r\nThe Find field of the Find and Replace window is empty." + kept,
          u"Processing failed !\r\n\r\nIn this interface language (yy) the Find and Replace window's Find "
          u"(\"_Найти:\") has no access key of a Latin letter or a digit." +
              kept}));
  for (const FakeDesktop::KeyEvent& event : desktop.KeyEvents())
    EXPECT_NE(event.foreground, writer[a].window);
}

TEST_F(OfficeReplace, ADocumentThatDoesNotComeToTheFrontIsNotCounted) {
  const size_t a = writer.AddDocument(u"a - LibreOffice Writer", u"cat");
  const size_t b = writer.AddDocument(u"b - LibreOffice Writer", u"cat");
  writer.OpenFindAndReplace(b, u"cat", u"dog");
  // Another program keeps the front whenever the first document is asked for.
  const WindowHandle other = desktop.AddWindow(u"xterm", u"shell", Rect{0, 0, 10, 10});
  reach.activate = [&](WindowHandle window) {
    if (window == writer[a].window)
      desktop.SetForeground(other);
    else
      writer.Activate(window);
  };
  EXPECT_EQ(Run(), u"\r\nb - LibreOffice Writer");
  EXPECT_EQ(result, u"Processing completed !  ( 1 documents )");
  EXPECT_EQ(writer[a].text, u"cat");
  EXPECT_EQ(writer[b].text, u"dog");
}

}  // namespace
}  // namespace scrivano
