#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "app/AppClipboard.h"
#include "app/QtText.h"
#include "app/TextWindow.h"
#include "capture/ClipboardRelay.h"
#include "platform/fake/FakeDesktop.h"
#include "support/EncodingFiles.h"
#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "text/Utf16Bytes.h"
#include "text/LineBreaks.h"
#include "text/TextEncodings.h"

namespace scrivano {
namespace {

using test::EncodingsFile;

constexpr char16_t kEnglishLine[] = u"but a more important problem now is this chest pain";

class TextWindowTest : public testing::Test {
 protected:
  TextWindowTest() : document(new CScrivanoDoc), view(document) { document->setParent(&view); }

  // Loads the bytes, lets the edit run, saves, and returns the saved bytes.
  std::string RoundTrip(const std::string& bytes, const std::function<void(CScrivanoView&)>& edit) {
    folder.WriteBytes("f", bytes);
    EXPECT_TRUE(document->Load(folder.File("f"), view));
    edit(view);
    EXPECT_EQ(SaveTo("g"), CScrivanoDoc::SaveResult::kSaved);
    return folder.ReadBytes("g");
  }
  // Types text at the end, as the user does.
  void TypeAtEnd(const QString& text) {
    view.moveCursor(QTextCursor::End);
    view.insertPlainText(text);
  }
  CScrivanoDoc::SaveResult SaveTo(const std::string& name) { return document->Save(folder.File(name), view); }

  test::TestPrompts prompts;
  test::TempFolder folder;
  CScrivanoDoc* document;
  CScrivanoView view;
};

TEST_F(TextWindowTest, EveryEncodingIsShownWithCrLfAndWrittenBackAsItCame) {
  struct Case {
    const char* file;
    TextFormat format;
    Text firstLine;
    std::string typedBytes;  // "新" in the file's encoding
  } cases[] = {
      {"gbk-crlf.txt",
       {Charset::kGb18030, false, LineBreak::kCrLf},
       u"这种疼痛是从您胸部延伸出来的吗？",
       "\xD0\xC2"},
      {"gbk-odd.txt",
       {Charset::kGb18030, false, LineBreak::kCrLf},
       u"这种疼痛是从您胸部延伸出来的吗？",
       "\xD0\xC2"},
      {"big5-lf.txt", {Charset::kBig5, false, LineBreak::kLf}, u"她也出現相同的症狀", "\xB7\x73"},
      {"gb18030-4byte.txt", {Charset::kGb18030, false, LineBreak::kLf}, u"罕用字：𠀀𪚥，À ẞ", "\xD0\xC2"},
      {"utf8-lf.txt", {Charset::kUtf8, false, LineBreak::kLf}, kEnglishLine, "\xE6\x96\xB0"},
      {"utf8-mark.txt", {Charset::kUtf8, true, LineBreak::kCrLf}, kEnglishLine, "\xE6\x96\xB0"},
      {"utf16le-mark.txt", {Charset::kUtf16Le, true, LineBreak::kCrLf}, kEnglishLine, "\xB0\x65"},
      {"utf16be-mark.txt", {Charset::kUtf16Be, true, LineBreak::kLf}, kEnglishLine, "\x65\xB0"},
      {"utf16le.txt", {Charset::kUtf16Le, false, LineBreak::kCrLf}, kEnglishLine, "\xB0\x65"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string bytes = EncodingsFile(c.file);
    folder.WriteBytes(c.file, bytes);
    ASSERT_TRUE(document->Load(folder.File(c.file), view));
    EXPECT_EQ(document->Format(), c.format);
    EXPECT_FALSE(document->ReadWithLoss());
    const Text text = view.GetText();
    EXPECT_TRUE(text.starts_with(c.firstLine + u"\r\n")) << ToUtf8(text);
    EXPECT_EQ(text.find(u'\xFFFD'), Text::npos);
    Text crLf = text;
    ToCrLf(crLf);
    EXPECT_EQ(crLf, text) << "a line break other than \"\\r\\n\"";

    EXPECT_EQ(SaveTo(c.file), CScrivanoDoc::SaveResult::kSaved);
    EXPECT_EQ(folder.ReadBytes(c.file), bytes);

    TypeAtEnd(QStringLiteral("新"));
    EXPECT_EQ(SaveTo(c.file), CScrivanoDoc::SaveResult::kSaved);
    EXPECT_EQ(folder.ReadBytes(c.file), bytes + c.typedBytes);
    DecodedText reread = DecodeTextFile(folder.ReadBytes(c.file));
    EXPECT_EQ(reread.format, c.format);
    ToCrLf(reread.text);
    EXPECT_EQ(reread.text, text + u"新");
  }
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST_F(TextWindowTest, ACharacterTheEncodingLacksIsSavedAsUtf8OnlyWhenTheUserAgrees) {
  const std::string big5 = EncodingsFile("big5-lf.txt");
  folder.WriteBytes("big5.txt", big5);
  ASSERT_TRUE(document->Load(folder.File("big5.txt"), view));
  TypeAtEnd(QStringLiteral("简体"));

  prompts.Answer(u"no");
  EXPECT_EQ(SaveTo("big5.txt"), CScrivanoDoc::SaveResult::kCancelled);
  EXPECT_EQ(folder.ReadBytes("big5.txt"), big5);
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(
      prompts.dialogs()[0].text,
      u"\"简\" (U+7B80, line 4, column 1) cannot be stored in Big5, the encoding of \"big5.txt\".\r\n\r\n"
      u"Save it as UTF-8 instead? If not, nothing is saved.");
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Scrivano");
  EXPECT_EQ(document->Format().charset, Charset::kBig5);

  prompts.Answer(u"yes");
  EXPECT_EQ(SaveTo("big5.txt"), CScrivanoDoc::SaveResult::kSaved);
  EXPECT_EQ(document->Format(), (TextFormat{Charset::kUtf8, false, LineBreak::kLf}));
  const DecodedText saved = DecodeTextFile(folder.ReadBytes("big5.txt"));
  EXPECT_EQ(saved.format, document->Format());
  EXPECT_TRUE(saved.text.ends_with(u"的發熱症狀\n简体")) << ToUtf8(saved.text);
  // From then on the file is UTF-8: no more questions.
  TypeAtEnd(QStringLiteral("字"));
  EXPECT_EQ(SaveTo("big5.txt"), CScrivanoDoc::SaveResult::kSaved);
  EXPECT_EQ(prompts.dialogs().size(), 2u);
}

TEST_F(TextWindowTest, AFileReadWithLossIsToldAndKeepsItsBytesUntilTheUserAgreesToUtf8) {
  std::string broken = EncodingsFile("gbk-crlf.txt");
  broken.insert(34, "\xFF");  // after the first line and its break
  folder.WriteBytes("broken.txt", broken);
  ASSERT_TRUE(document->Load(folder.File("broken.txt"), view));
  EXPECT_TRUE(document->ReadWithLoss());
  document->TellReadWithLoss();
  EXPECT_EQ(
      prompts.Messages(),
      std::vector<Text>{u"\"broken.txt\" is not valid GB18030 text: 1 byte sequence (at byte offset 34) "
                        u"could not be read and shows as \"\xFFFD\".\r\n\r\nSaved without an edit, the file "
                        u"keeps its bytes; after an edit, Scrivano asks before saving it. File > Reopen "
                        u"with Encoding reads it in another encoding."});
  EXPECT_EQ(SaveTo("broken.txt"), CScrivanoDoc::SaveResult::kSaved);
  EXPECT_EQ(folder.ReadBytes("broken.txt"), broken);

  TypeAtEnd(QStringLiteral("新"));
  for (const char16_t* answer : {u"no", u"yes"}) prompts.Answer(answer);
  EXPECT_EQ(SaveTo("broken.txt"), CScrivanoDoc::SaveResult::kCancelled);
  EXPECT_EQ(folder.ReadBytes("broken.txt"), broken);
  EXPECT_EQ(
      prompts.dialogs().back().text,
      u"\"broken.txt\" was not read as GB18030 without loss: 1 byte sequence (at byte offset 34) shows as "
      u"\"\xFFFD\", and its bytes cannot be written back.\r\n\r\nSave it as UTF-8 instead, with "
      u"\"\xFFFD\" in its place? If not, nothing is saved.");
  EXPECT_EQ(SaveTo("broken.txt"), CScrivanoDoc::SaveResult::kSaved);
  const DecodedText saved = DecodeTextFile(folder.ReadBytes("broken.txt"));
  EXPECT_EQ(saved.format, (TextFormat{Charset::kUtf8, false, LineBreak::kCrLf}));
  EXPECT_EQ(saved.text, view.GetText());
  EXPECT_FALSE(document->ReadWithLoss());
}

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
  const std::string saved = RoundTrip(TextToUtf16LeBytes(u"one\r\ntwo\xA0three"), [](CScrivanoView& shown) {
    EXPECT_EQ(shown.GetText(), u"one\r\ntwo\xA0three");
    shown.moveCursor(QTextCursor::End);
    QTest::keyClick(&shown, Qt::Key_Return);
    QTest::keyClicks(&shown, QStringLiteral("4"));
    EXPECT_TRUE(shown.IsModified());
    EXPECT_EQ(shown.GetText(), u"one\r\ntwo\xA0three\r\n4");
  });
  EXPECT_EQ(saved, TextToUtf16LeBytes(u"one\r\ntwo\xA0three\r\n4"));
}

TEST_F(TextWindowTest, AnEditedEightBitFileIsWrittenInItsOwnEncoding) {
  const std::string saved = RoundTrip(
      "caf\xC3\xA9\r\n", [](CScrivanoView& shown) { shown.SetText(shown.GetText() + u"中", true); });
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

  // A long result over a saved text is one edit, all its pieces: Undo brings the saved text back whole.
  view.SetModified(false);
  view.ReplaceText(text);
  EXPECT_TRUE(view.TextLoading());
  ASSERT_TRUE(FinishShowing(view));
  EXPECT_EQ(view.GetText(), text);
  EXPECT_TRUE(view.IsModified());
  view.undo();
  EXPECT_EQ(view.GetText(), u"short\r\ntext");
  EXPECT_FALSE(view.IsModified());
  view.redo();
  EXPECT_EQ(view.GetText(), text);

  // Over a long text, which goes piece by piece first: the same.
  view.SetModified(false);
  view.ReplaceText(u"short");
  EXPECT_TRUE(view.TextLoading());
  ASSERT_TRUE(FinishShowing(view));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("short"));
  view.undo();
  EXPECT_EQ(view.toPlainText(), ToQString(ToDisplayLines(text)));
  EXPECT_FALSE(view.IsModified());
}

}  // namespace
}  // namespace scrivano
