#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "app/AppClipboard.h"
#include "app/QtText.h"
#include "app/TextWindow.h"
#include "capture/ClipboardRelay.h"
#include "platform/fake/FakeDesktop.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/AnsiCodec.h"

namespace scrivano {
namespace {

TEST(DocumentBytes, UsesUtf16UnlessTheFileIsEightBitText) {
  struct Case {
    std::string bytes;
    DocumentEncoding encoding;
    Text text;
  } cases[] = {
      {"", DocumentEncoding::kUtf16Le, u""},
      {std::string("\xFF\xFE"
                   "a\0",
                   4),
       DocumentEncoding::kUtf16Le,
       u"\xFEFF"
       u"a"},  // the mark stays
      {std::string("a\0\r\0\n\0", 6), DocumentEncoding::kUtf16Le, u"a\r\n"},
      {"\x2D\x4E\x87\x65", DocumentEncoding::kUtf16Le, u"中文"},  // no zero byte, but no UTF-8 either
      {"h\xC3\xA9llo\r\n", DocumentEncoding::kEightBit, u"héllo\r\n"},
      {"abc", DocumentEncoding::kEightBit, u"abc"},  // odd length
      {"ab", DocumentEncoding::kEightBit, u"ab"},
  };
  for (const Case& c : cases) {
    DocumentEncoding encoding;
    EXPECT_EQ(DecodeDocumentBytes(c.bytes, encoding), c.text) << c.bytes;
    EXPECT_EQ(encoding, c.encoding) << c.bytes;
    EXPECT_EQ(EncodeDocumentText(c.text, encoding), c.bytes);
  }
}

class TextWindowTest : public testing::Test {
 protected:
  // Loads the bytes, lets the edit run, saves, and returns the saved bytes.
  std::string RoundTrip(const std::string& bytes, const std::function<void(CScrivanoView&)>& edit) {
    folder.WriteBytes("f", bytes);
    auto* document = new CScrivanoDoc;
    CScrivanoView view(document);
    document->setParent(&view);
    EXPECT_TRUE(document->Load(folder.File("f"), view));
    edit(view);
    EXPECT_TRUE(document->Save(folder.File("g"), view));
    return folder.ReadBytes("g");
  }
  test::TestPrompts prompts;
  test::TempFolder folder;
};

TEST_F(TextWindowTest, AFileSavedWithoutAnEditKeepsItsBytes) {
  const std::string files[] = {
      TextToUtf16LeBytes(u"\xFEFF"
                         u"a\nb\rc\r\n\x00A0\r\n"),
      "odd UTF-8 line\nwith a lone line feed \xC3\xA9",
      std::string("abc\0", 5),
  };
  for (const std::string& bytes : files) EXPECT_EQ(RoundTrip(bytes, [](CScrivanoView&) {}), bytes);
}

TEST_F(TextWindowTest, FunctionsSeeTheFileTextAndEditsKeepLineBreaksAndSpaces) {
  const std::string saved = RoundTrip(TextToUtf16LeBytes(u"one\r\ntwo\xA0three"), [](CScrivanoView& view) {
    EXPECT_EQ(view.GetText(), u"one\r\ntwo\xA0three");
    view.moveCursor(QTextCursor::End);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClicks(&view, QStringLiteral("4"));
    EXPECT_TRUE(view.IsModified());
    EXPECT_EQ(view.GetText(), u"one\r\ntwo\xA0three\r\n4");
  });
  EXPECT_EQ(saved, TextToUtf16LeBytes(u"one\r\ntwo\xA0three\r\n4"));
}

TEST_F(TextWindowTest, AnEditedEightBitFileIsWrittenInItsOwnEncoding) {
  const std::string saved =
      RoundTrip("caf\xC3\xA9\r\n", [](CScrivanoView& view) { view.SetText(view.GetText() + u"中", true); });
  EXPECT_EQ(saved, "caf\xC3\xA9\r\n\xE4\xB8\xAD");
}

TEST_F(TextWindowTest, CopyAllAndPasteAllGoThroughTheRelayAndAFailedPasteKeepsTheText) {
  using namespace std::chrono_literals;
  platform::FakeDesktop desktop;
  AppClipboard clipboard;
  std::vector<Text> captions;
  RelayTimings timings;
  timings.clipboardRetry = 1ms;
  ClipboardRelay relay(
      desktop, clipboard, [&](WindowHandle, TextView caption) { captions.emplace_back(caption); }, timings);
  auto* document = new CScrivanoDoc;
  CScrivanoView view(document);
  document->setParent(&view);
  QClipboard* system = QGuiApplication::clipboard();

  view.SetText(u"one\r\ntwo 中文", false);
  ASSERT_TRUE(view.CopyAll(relay));
  EXPECT_EQ(system->text(), QStringLiteral("one\ntwo 中文"));
  EXPECT_FALSE(view.IsModified());

  // Another program's text, with either line break: each line ends in one "\r\n".
  system->setText(QStringLiteral("x\r\ny\nz"));
  ASSERT_TRUE(view.PasteAll(relay));
  EXPECT_EQ(view.GetText(), u"x\r\ny\r\nz");
  EXPECT_TRUE(view.IsModified());
  EXPECT_TRUE(captions.empty());

  // An empty text on the clipboard is a text: the window empties.
  system->setText(QString());
  view.SetModified(false);
  ASSERT_TRUE(view.PasteAll(relay));
  EXPECT_EQ(view.GetText(), u"");
  EXPECT_TRUE(view.IsModified());

  // Nothing on the clipboard: after its retry the relay says so, and the window keeps its text.
  view.SetText(u"kept", false);
  system->clear();
  EXPECT_FALSE(view.PasteAll(relay));
  EXPECT_EQ(view.GetText(), u"kept");
  EXPECT_FALSE(view.IsModified());
  EXPECT_EQ(captions, std::vector<Text>{u"Failed to copy, please retry later."});
}

// Lets the event loop run until the view has shown all of its text.
bool FinishShowing(CScrivanoView& view) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (view.TextLoading() && std::chrono::steady_clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return !view.TextLoading();
}

TEST_F(TextWindowTest, ALongTextIsShownPieceByPieceAndIsWholeForFunctionsAtOnce) {
  Text text;
  for (int i = 0; text.size() < 3'000'000; ++i)
    text += u"Line " + FromUtf8(std::to_string(i)) + u" of the text 中文的一行\r\n";
  text += u"last line without a break";
  auto* document = new CScrivanoDoc;
  CScrivanoView view(document);
  document->setParent(&view);

  view.SetText(text, true);
  EXPECT_TRUE(view.TextLoading());
  EXPECT_TRUE(view.isReadOnly()) << "the user could type between two pieces";
  EXPECT_LT(view.document()->characterCount(), static_cast<int>(text.size()));
  EXPECT_EQ(view.GetText(), text);
  ASSERT_TRUE(FinishShowing(view));
  EXPECT_FALSE(view.isReadOnly());
  EXPECT_TRUE(view.IsModified());
  EXPECT_EQ(view.GetText(), text);
  EXPECT_EQ(view.toPlainText(), ToQString(ToDisplayLines(text)));
  EXPECT_FALSE(view.document()->isUndoAvailable()) << "the loading is no edit to undo";
  view.moveCursor(QTextCursor::End);
  QTest::keyClicks(&view, QStringLiteral("!"));
  EXPECT_EQ(view.GetText(), text + u"!");
  EXPECT_TRUE(view.document()->isUndoAvailable());

  // Saved while its pieces still come in: it stays unmodified.
  view.SetText(text, true);
  view.SetModified(false);
  ASSERT_TRUE(FinishShowing(view));
  EXPECT_FALSE(view.IsModified());

  // A new text while the last one is being shown replaces it wholly.
  view.SetText(text, false);
  QCoreApplication::processEvents();
  view.SetText(u"short\r\ntext", true);
  ASSERT_TRUE(FinishShowing(view));
  QCoreApplication::processEvents();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("short\ntext"));
  EXPECT_EQ(view.GetText(), u"short\r\ntext");
  EXPECT_FALSE(view.isReadOnly());
  EXPECT_TRUE(view.IsModified());
}

}  // namespace
}  // namespace scrivano
