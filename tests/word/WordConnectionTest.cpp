#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/TempFolder.h"
#include "support/TestPrompts.h"
#include "support/WordFixtures.h"
#include "tasks/DesktopServices.h"
#include "toolkit/TextFiles.h"
#include "word/WordConnection.h"

namespace scrivano {
namespace {

using test::ReadDocx;
using test::TempFolder;
using test::TestPrompts;

TEST(ReviewCopyPathTest, NamesTheCopyBesideTheOriginal) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"/a/report.docx", u"/a/report.scrivano.docx"}, {u"/a/Report.DOCX", u"/a/Report.scrivano.DOCX"},
      {u"/a/old.doc", u"/a/old.scrivano.docx"},        {u"/a/notes.odt", u"/a/notes.scrivano.docx"},
      {u"/a.b/report", u"/a.b/report.scrivano.docx"},  // no extension: the folder's dot is not used
      {u"/a/.hidden", u"/a/.hidden.scrivano.docx"},    {u"relative.v2.docm", u"relative.v2.scrivano.docm"},
  };
  for (const auto& [path, copy] : cases) EXPECT_EQ(ReviewCopyPath(path), copy) << ToUtf8(path);
}

// Records what the connection asks of the desktop.
class RecordingDesktop : public DesktopServices {
 public:
  WindowHandle WindowAtListCorner(bool) override { return 0; }
  Text WindowClassName(WindowHandle) override { return {}; }
  void RunOnWordPieces(WindowHandle, const PieceConversion&) override {}
  bool OpenWithDefaultApplication(TextView path) override {
    opened.emplace_back(path);
    return true;
  }
  WindowsClosing CloseWindowsOfClass(TextView classList) override {
    closed.emplace_back(classList);
    return closing;
  }
  std::vector<Text> opened, closed;
  WindowsClosing closing;
};

TEST(CloseWordWindowsTest, AWaitThatGaveUpNamesTheWindowsLeftAndACancelledOneSaysNothing) {
  TestPrompts prompts;
  RecordingDesktop desktop;
  SetDesktopServices(&desktop);
  CloseWordWindows(u"OpusApp");  // all closed
  desktop.closing = {true, {u"a.odt - LibreOffice Writer"}};
  CloseWordWindows(u"OpusApp");  // the user pressed the right button
  desktop.closing = {false, {u"a.odt - LibreOffice Writer", u"b.docx - LibreOffice Writer"}};
  CloseWordWindows(u"OpusApp");
  SetDesktopServices(nullptr);
  EXPECT_EQ(desktop.closed, (std::vector<Text>{u"OpusApp", u"OpusApp", u"OpusApp"}));
  ASSERT_EQ(prompts.dialogs().size(), 1u);
  EXPECT_EQ(prompts.dialogs()[0].caption, u"Notice");
  EXPECT_EQ(prompts.dialogs()[0].text,
            Text(kOfficeWindowsStillOpen) + u"\r\na.odt - LibreOffice Writer\r\nb.docx - LibreOffice Writer");
}

class WordConnectionTest : public test::DocxTest {
 protected:
  // Opens the file and sets range to its content.
  void OpenWithContent(const std::string& path) {
    ASSERT_TRUE(word_.OpenDocument(FromUtf8(path)));
    word_.document = word_.application->ActiveDocument();
    word_.range = word_.document->Content();
  }
  Text ContentText() { return word_.document->Content()->Text(); }

  WordConnection word_;
};

TEST_F(WordConnectionTest, OpenDocument_ReportsEachFailureWithItsMessage) {
  TestPrompts prompts;
  folder_.WriteBytes("damaged.docx", "PK\x03\x04 damaged");
  folder_.WriteBytes("old.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "binary");
  // A password-protected .docx: a compound file holding the stream "EncryptedPackage".
  std::string encrypted = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
  for (const char ch : std::string("EncryptedPackage")) encrypted += {ch, '\0'};
  folder_.WriteBytes("secret.docx", encrypted);
  EXPECT_FALSE(word_.OpenDocument(folder_.File("missing.docx")));
  EXPECT_FALSE(word_.application) << "nothing is started for a missing file";
  EXPECT_FALSE(word_.OpenDocument(folder_.File("damaged.docx")));
  const char* path = std::getenv("PATH");
  const std::string savedPath = path ? path : "";
  ::setenv("PATH", folder_.path().c_str(), 1);  // no office converter to be found
  EXPECT_FALSE(word_.OpenDocument(folder_.File("old.doc")));
  ::setenv("PATH", savedPath.c_str(), 1);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(word_.OpenDocument(folder_.File("secret.docx")));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1)) << "no converter is tried";
  ASSERT_EQ(prompts.dialogs().size(), 4u);
  EXPECT_EQ(prompts.dialogs()[0].caption, u"The file does not exist !");
  EXPECT_EQ(prompts.dialogs()[0].text, folder_.File("missing.docx"));
  EXPECT_TRUE(prompts.dialogs()[1].text.starts_with(
      u"Failed to open the file\r\n" + folder_.File("damaged.docx") + u"\r\nnot a document package"))
      << ToUtf8(prompts.dialogs()[1].text);
  EXPECT_EQ(prompts.dialogs()[2].text, u"No OFFICE installed");
  EXPECT_EQ(prompts.dialogs()[2].caption, u"Notice");
  EXPECT_EQ(prompts.dialogs()[3].text,
            u"Failed to open the file\r\n" + folder_.File("secret.docx") +
                u"\r\nthe document is encrypted (protected by a password to open); "
                u"save it without the password and try again");
}

TEST_F(WordConnectionTest, ReplaceAllByRepetition_EveryOccurrenceOnceEvenWhenTheReplacementHoldsTheText) {
  struct Case {
    const char16_t *find, *replacement;
    const char16_t* expected;
  } cases[] = {
      {u"ab", u"x", u"x x-X Ax\r"},
      {u"a", u"ba", u"bab bab-BaB Babab\r"},  // holds the search text: each original a once
      {u"ab", u"AB", u"AB AB-AB AAB\r"},      // the same text in other letters: found again, still once
      {u"b", u"", u"a a-A Aa\r"},
  };
  for (const Case& test : cases) {
    TestPrompts prompts;
    OpenWithContent(Make("replace.docx", "d.add_paragraph('ab ab-AB Aab')"));
    word_.ReplaceAllByRepetition(test.find, test.replacement);
    EXPECT_EQ(ContentText(), test.expected) << ToUtf8(test.find) << " -> " << ToUtf8(test.replacement);
    word_.ReleaseWord();
  }
}

TEST_F(WordConnectionTest, RemoveMarkerParagraphsAndHighlightPhrases) {
  TestPrompts prompts;
  OpenWithContent(Make("markers.docx", R"PY(
for text in ['<m1>', 'keep the COVID-19 test', '<m2>', 'covid-19 and COVID-199 and COVID-19']:
    d.add_paragraph(text)
)PY"));
  word_.markerText2 = u"<m2>\r";
  EXPECT_FALSE(word_.RemoveMarkerParagraphs()) << "no marker text 1: nothing happens";
  word_.HighlightPhrases(u"");
  EXPECT_EQ(word_.document->Revision(), 0u) << "an empty list does nothing";
  word_.markerText1 = u"<m1>\r";
  EXPECT_TRUE(word_.RemoveMarkerParagraphs());
  EXPECT_EQ(ContentText(), u"keep the COVID-19 test\rcovid-19 and COVID-199 and COVID-19\r");
  // Listed twice: two successive whole-word occurrences; "COVID-199" is not a whole word.
  word_.HighlightPhrases(u"COVID-19\tCOVID-19");
  const std::string saved = folder_.path() + "/highlighted.docx";
  ASSERT_TRUE(word_.SaveDocumentAs(word_.document, FromUtf8(saved), 0));
  EXPECT_EQ(ReadDocx(saved, R"PY(
print('|'.join(r.text + '=' + color_of(r) for p in d.paragraphs for r in p.runs))
)PY"),
            "keep the =auto|COVID-19=0000FF| test=auto|covid-19=0000FF| and COVID-199 and COVID-19=auto\n");
}

TEST_F(WordConnectionTest, AppendToDocument_SaysWhenAReviewCopyReplacedOneAlreadyThere) {
  TestPrompts prompts;
  const std::string path = Make("old.docx", "d.add_paragraph('first')");
  const Text copy = ReviewCopyPath(FromUtf8(path));
  ASSERT_TRUE(WriteFileBytesAtomically(copy, "an older review copy"));
  EXPECT_TRUE(word_.AppendToDocument(FromUtf8(path), u"more"));
  CloseWordWindows(u"OpusApp");
  EXPECT_EQ(word_.TakeReviewCopies(), (std::vector<Text>{copy}));
  EXPECT_EQ(word_.TakeReplacedCopies(), (std::vector<Text>{copy}));
}

TEST_F(WordConnectionTest, AppendToDocument_WritesAReviewCopyAndShowsIt) {
  TestPrompts prompts;
  RecordingDesktop desktop;
  SetDesktopServices(&desktop);
  const std::string path = Make("notes.docx", "d.add_paragraph('first 第一')");
  std::string original;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(path), original));
  EXPECT_TRUE(word_.AppendToDocument(FromUtf8(path), u"page text 网页"));
  EXPECT_TRUE(word_.AppendToDocument(FromUtf8(path), u"more"));
  CloseWordWindows(u"OpusApp");
  SetDesktopServices(nullptr);
  const Text copy = ReviewCopyPath(FromUtf8(path));
  EXPECT_EQ(desktop.opened, (std::vector<Text>{copy, copy}));
  EXPECT_EQ(desktop.closed, (std::vector<Text>{u"OpusApp"}));
  EXPECT_EQ(word_.TakeReviewCopies(), (std::vector<Text>{copy}));
  EXPECT_TRUE(word_.TakeReplacedCopies().empty()) << "written twice in one run, but new at the first write";
  EXPECT_EQ(ReadDocx(ToUtf8(copy), "print('|'.join(p.text for p in d.paragraphs))"),
            "first 第一|page text 网页|more\n");
  std::string after;
  ASSERT_TRUE(ReadFileBytes(FromUtf8(path), after));
  EXPECT_EQ(after, original);
  EXPECT_TRUE(prompts.dialogs().empty());
}

TEST_F(WordConnectionTest, ListOpenDocuments_OldestInSlotOne) {
  TestPrompts prompts;
  const std::string first = Make("first.docx", "d.add_paragraph('12345')");
  const std::string second = Make("second.docx", "d.add_paragraph('ab')");
  ASSERT_TRUE(word_.OpenDocument(FromUtf8(first)));
  ASSERT_TRUE(word_.OpenDocument(FromUtf8(second)));
  ASSERT_TRUE(word_.NewDocument());
  word_.charactersProcessed = 0;
  word_.ListOpenDocuments();
  EXPECT_EQ(word_.documentSlots[1]->FullName(), FromUtf8(first));
  EXPECT_EQ(word_.documentSlots[2]->FullName(), FromUtf8(second));
  EXPECT_EQ(word_.documentSlots[3]->FullName(), u"");
  EXPECT_EQ(word_.slotEnd[1], 6);
  EXPECT_EQ(word_.charactersProcessed, 6 + 3 + 1);
  ASSERT_TRUE(word_.selectionSlots[2]);
  EXPECT_EQ(word_.selectionSlots[2]->ParentDocument(), word_.documentSlots[2]);
}

TEST_F(WordConnectionTest, NewAndSaveFailures) {
  TestPrompts prompts;
  EXPECT_FALSE(word_.NewDocument());
  EXPECT_TRUE(word_.StartWord());
  ASSERT_TRUE(word_.NewDocument());
  EXPECT_FALSE(word_.SaveDocumentAs(word_.document, folder_.File("no-such-folder/new.docx"), 0));
  EXPECT_EQ(prompts.Messages(),
            (std::vector<Text>{u"Application is empty. Failed to create Documents!",
                               folder_.File("no-such-folder/new.docx") +
                                   u"\r\nThe document could not be written: its folder does not exist."}));
  EXPECT_TRUE(word_.SaveDocumentAs(word_.document, folder_.File("new.docx"), 0));
  EXPECT_EQ(word_.document->FullName(), folder_.File("new.docx"));
}

}  // namespace
}  // namespace scrivano
