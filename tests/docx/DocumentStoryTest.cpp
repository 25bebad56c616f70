#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "docx/DocumentStory.h"
#include "docx/DocumentXml.h"

namespace scrivano::word {
namespace {

constexpr char kNamespaces[] =
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")"
    R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")";

// A body made of the given XML, as a story.
class Body {
 public:
  explicit Body(const std::string& inner) {
    const std::string text = std::string("<w:body") + kNamespaces + ">" + inner + "</w:body>";
    EXPECT_TRUE(xml_.load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
    story_ = std::make_unique<Story>(xml_.child("w:body"));
  }
  Story& story() { return *story_; }
  std::string Text() { return ToUtf8(story_->TextOf(0, story_->Length())); }
  // The body's XML without the namespace declarations.
  std::string Xml() {
    std::ostringstream out;
    for (pugi::xml_node child : xml_.child("w:body").children()) child.print(out, "", pugi::format_raw);
    return out.str();
  }
  RunFormat Plain() { return story_->FormatAt(0, false); }

 private:
  pugi::xml_document xml_;
  std::unique_ptr<Story> story_;
};

std::string P(const std::string& text) {
  return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}

std::string Cell(const std::string& paragraphs) {
  return "<w:tc>" + paragraphs + "</w:tc>";
}

// Word's text and positions of the kinds of content a paragraph holds.
TEST(DocumentStoryTest, TextAndLength_FollowWordsCharacterPositions) {
  struct Case {
    const char* what;
    std::string xml;
    std::string text;
    int length;
  } cases[] = {
      {"plain paragraphs", P("ab") + P("中文"), "ab\r中文\r", 6},
      {"tab, breaks, picture",
       "<w:p><w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:br w:type=\"page\"/><w:cr/>"
       "<w:drawing><wp:inline/></w:drawing></w:r></w:p>",
       "a\tb\vc\f\v\x01\r", 9},
      {"table: cell marks and the row mark take one position each",
       "<w:tbl><w:tr>" + Cell(P("A")) + Cell(P("B1") + P("B2")) + "</w:tr></w:tbl>" + P("z"),
       "A\r\aB1\rB2\r\a\r\az\r", 11},
      {"field code, bookmark, deleted revision and floating shape take none",
       "<w:p><w:bookmarkStart w:id=\"0\" w:name=\"x\"/><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
       "<w:r><w:instrText>PAGE</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
       "<w:r><w:t>7</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
       "<w:del><w:r><w:delText>gone</w:delText></w:r></w:del><w:ins><w:r><w:t>new</w:t></w:r></w:ins>"
       "<w:r><w:drawing><wp:anchor/></w:drawing></w:r><w:hyperlink><w:r><w:t>link</w:t></w:r></w:hyperlink></"
       "w:p>",
       "7newlink\r", 9},
      {"note and comment references take one position each, a symbol its code",
       "<w:p><w:r><w:t>{4</w:t></w:r><w:r><w:footnoteReference w:id=\"1\"/></w:r><w:r><w:t>2}</w:t>"
       "<w:endnoteReference w:id=\"2\"/><w:commentReference w:id=\"0\"/><w:sym w:font=\"Wingdings\" "
       "w:char=\"F04A\"/></w:r></w:p>",
       "{4\x02"
       "2}\x02\x05\uF04A\r",
       9},
      {"an empty body gets its paragraph", "", "\r", 1},
      {"a body ending in a table gets a last paragraph", "<w:tbl><w:tr>" + Cell(P("x")) + "</w:tr></w:tbl>",
       "x\r\a\r\a\r", 4},
  };
  for (const Case& test : cases) {
    Body body(test.xml);
    EXPECT_EQ(body.Text(), test.text) << test.what;
    EXPECT_EQ(body.story().Length(), test.length) << test.what;
  }
}

// Searches look for the first unit by its low byte: a byte that is the other half of a unit, a
// partial match, and a match at the very end must all come out right.
TEST(DocumentStoryTest, Find_ByteLevelSearchKeepsToWholeUnits) {
  struct Case {
    const char* text;
    const char16_t* pattern;
    int expected;
  } cases[] = {
      {"笠x{", u"{", 2},                // U+7B20 holds the byte of "{" as its other half
      {"{1{12}", u"{12}", 2},           // a partial match first
      {"ab{12}", u"{12}", 2},           // at the very end
      {"笠笠", u"{", -1},               //
      {"x{1", u"{12}", -1},             // longer than what is left
      {"中文中", u"中", 0},             //
      {"a\u4E2D\u2D4E", u"\u2D4E", 2},  // units with swapped bytes
  };
  for (const Case& test : cases) {
    Body body(P(test.text));
    EXPECT_EQ(body.story().FindForward(test.pattern, 0, body.story().Length(), true, false), test.expected)
        << test.text << " / " << ToUtf8(test.pattern);
  }
}

TEST(DocumentStoryTest, Find_CaseWholeWordsAndMarks) {
  Body body(P("Cat concat cat 中文字") + "<w:tbl><w:tr>" + Cell(P("end")) + Cell(P("中B")) +
            "</w:tr></w:tbl>" + P("&lt;Start&gt;") + P("x"));
  Story& story = body.story();
  const int length = story.Length();
  struct Case {
    const char16_t* pattern;
    bool matchCase, wholeWord;
    int from;
    int expected;
  } cases[] = {
      {u"cat", false, false, 0, 0},          {u"cat", true, false, 0, 7},      {u"cat", false, true, 1, 11},
      {u"文", false, true, 0, 16},            // a Chinese character is a word of its own
      {u"end\r\u0007", false, false, 0, 19},  // Word's text of a cell end
      {u"\u0007中", false, false, 0, 22},     // a match that spans two cells
      {u"<start>\r", false, false, 0, 27},   {u"<start>", true, false, 0, -1}, {u"x\r", false, false, 26, 35},
      {u"missing", false, false, 0, -1},
  };
  ASSERT_EQ(length, 37);
  for (const Case& test : cases)
    EXPECT_EQ(story.FindForward(test.pattern, test.from, length, test.matchCase, test.wholeWord),
              test.expected)
        << ToUtf8(test.pattern);
  EXPECT_EQ(story.FindForward(u"cat", 1, 13, false, false), 7) << "a match must end by the limit";
  EXPECT_EQ(story.FindForward(u"cat", 8, 13, false, false), -1);
  EXPECT_EQ(story.FindBackward(u"cat", length, 0, false, false), 11);
  EXPECT_EQ(story.FindBackward(u"cat", 11, 0, false, false), 7);
}

TEST(DocumentStoryTest, InsertText_JoinsTheRunItTakesItsFormatFrom) {
  Body body("<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>ab</w:t></w:r><w:r><w:t>cd</w:t></w:r></w:p>");
  Story& story = body.story();
  story.InsertText(1, u"X", story.FormatAt(0, false));
  EXPECT_EQ(body.Xml(), "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>aXb</w:t></w:r><w:r><w:t>cd</w:t></w:r></w:p>");
  // Formatted as the bold run, inserted between plain characters: a run of its own.
  story.InsertText(4, u" Y ", story.FormatAt(0, false));
  EXPECT_EQ(
      body.Xml(),
      "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>aXb</w:t></w:r><w:r><w:t>c</w:t></w:r>"
      "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\"> Y </w:t></w:r><w:r><w:t>d</w:t></w:r></w:p>");
  EXPECT_EQ(body.Text(), "aXbc Y d\r");
}

TEST(DocumentStoryTest, InsertText_ParagraphBreaksSplitTheParagraph) {
  Body body("<w:p><w:pPr><w:jc w:val=\"center\"/><w:sectPr/></w:pPr><w:r><w:t>abcd</w:t></w:r></w:p>" +
            P("z"));
  Story& story = body.story();
  int at = -1;
  EXPECT_EQ(story.InsertText(2, u"1\r\n2\n3\t", body.Plain(), &at), 6);
  EXPECT_EQ(at, 2);
  EXPECT_EQ(body.Text(), "ab1\r2\r3\tcd\rz\r");
  EXPECT_EQ(story.ParagraphCount(), 4);
  // Every new paragraph keeps the properties; the section break stays with the last piece.
  EXPECT_EQ(body.Xml().find("<w:sectPr/>"), body.Xml().rfind("<w:sectPr/>"));
  const pugi::xml_node third = story.ParagraphAt(2).node;
  EXPECT_TRUE(third.child("w:pPr").child("w:sectPr"));
  EXPECT_TRUE(story.ParagraphAt(0).node.child("w:pPr").child("w:jc"));
  EXPECT_FALSE(story.ParagraphAt(0).node.child("w:pPr").child("w:sectPr"));
}

TEST(DocumentStoryTest, Delete_StructureRules) {
  const std::string table = "<w:tbl><w:tr>" + Cell(P("A")) + Cell(P("B")) + "</w:tr><w:tr>" + Cell(P("C")) +
                            Cell(P("D")) + "</w:tr></w:tbl>";
  struct Case {
    const char* what;
    std::string xml;
    int start, end;
    std::string text;
  } cases[] = {
      {"inside a paragraph", P("abcdef"), 1, 3, "adef\r"},
      {"a mark joins the paragraphs", P("ab") + P("cd") + P("e"), 1, 4, "ad\re\r"},
      {"whole paragraphs go", P("ab") + P("cd") + P("e"), 0, 6, "e\r"},
      {"the last mark stays", P("ab") + P("cd"), 0, 6, "\r"},
      {"cell marks stay", table + P("z"), 0, 3, "\r\a\r\a\r\aC\r\aD\r\a\r\az\r"},
      {"a whole row goes", table + P("z"), 0, 5, "C\r\aD\r\a\r\az\r"},
      {"a whole table goes", P("a") + table + P("z"), 1, 12, "az\r"},
      {"a mark before a table stays", P("ab") + table, 1, 4, "a\r\r\aB\r\a\r\aC\r\aD\r\a\r\a\r"},
  };
  for (const Case& test : cases) {
    Body body(test.xml);
    body.story().Delete(test.start, test.end);
    EXPECT_EQ(body.Text(), test.text) << test.what;
  }
}

TEST(DocumentStoryTest, Delete_JoinKeepsTheFirstParagraphsPropertiesAndTheLastSectionBreak) {
  Body body(
      "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:t>ab</w:t></w:r></w:p>"
      "<w:p><w:pPr><w:sectPr/></w:pPr><w:r><w:t>cd</w:t></w:r></w:p>" +
      P("z"));
  body.story().Delete(1, 4);
  EXPECT_EQ(body.Text(), "ad\rz\r");
  const pugi::xml_node joined = body.story().ParagraphAt(0).node;
  EXPECT_TRUE(joined.child("w:pPr").child("w:jc"));
  EXPECT_TRUE(joined.child("w:pPr").child("w:sectPr"));
}

TEST(DocumentStoryTest, Delete_RemovesRunsAndContainersItEmpties) {
  Body body(
      "<w:p><w:r><w:t>a</w:t></w:r><w:hyperlink><w:r><w:t>link</w:t></w:r></w:hyperlink>"
      "<w:r><w:tab/></w:r><w:r><w:t>b</w:t></w:r></w:p>");
  body.story().Delete(1, 6);
  EXPECT_EQ(body.Xml(), "<w:p><w:r><w:t>a</w:t></w:r><w:r><w:t>b</w:t></w:r></w:p>");
}

TEST(DocumentStoryTest, ChangeRunProperties_SplitsAtTheEndsAndJoinsEqualRuns) {
  Body body("<w:p><w:r><w:t>abcdef</w:t></w:r></w:p>");
  auto bold = [](pugi::xml_node properties) { EnsureRunProperty(properties, "w:b"); };
  body.story().ChangeRunProperties(2, 4, bold);
  EXPECT_EQ(body.Xml(),
            "<w:p><w:r><w:t>ab</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>cd</w:t></w:r><w:r><w:t>ef</w:t></"
            "w:r></w:p>");
  body.story().ChangeRunProperties(0, 6, bold);
  EXPECT_EQ(body.Xml(), "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>abcdef</w:t></w:r></w:p>");
}

TEST(DocumentStoryTest, Anchors_MoveWithInsertionsAndDeletions) {
  Body body(P("abcdef") + P("xyz"));
  Story& story = body.story();
  StoryAnchor before{}, around{}, after{};
  before.anchorStart = 0, before.anchorEnd = 1;
  around.anchorStart = 2, around.anchorEnd = 5;
  after.anchorStart = 8, after.anchorEnd = 9;
  for (StoryAnchor* anchor : {&before, &around, &after}) story.Register(anchor);
  story.InsertText(2, u"12", body.Plain());  // at around's start: it moves, it does not grow
  EXPECT_EQ(std::make_pair(around.anchorStart, around.anchorEnd), std::make_pair(4, 7));
  EXPECT_EQ(std::make_pair(after.anchorStart, after.anchorEnd), std::make_pair(10, 11));
  story.Delete(3, 9);  // "bc" "2cde" "f\r": around is cut down to its start, the paragraphs join
  EXPECT_EQ(body.Text(), "ab1xyz\r");
  EXPECT_EQ(std::make_pair(before.anchorStart, before.anchorEnd), std::make_pair(0, 1));
  EXPECT_EQ(std::make_pair(around.anchorStart, around.anchorEnd), std::make_pair(3, 3));
  EXPECT_EQ(std::make_pair(after.anchorStart, after.anchorEnd), std::make_pair(4, 5));
  for (StoryAnchor* anchor : {&before, &around, &after}) story.Unregister(anchor);
}

TEST(DocumentStoryTest, InsertText_AtARowMarkGoesToTheRowsLastCell) {
  Body body("<w:tbl><w:tr>" + Cell(P("A")) + Cell(P("B")) + "</w:tr></w:tbl>" + P("z"));
  int at = -1;
  body.story().InsertText(4, u"+", body.Plain(), &at);
  EXPECT_EQ(at, 3);
  EXPECT_EQ(body.Text(), "A\r\aB+\r\a\r\az\r");
}

}  // namespace
}  // namespace scrivano::word
