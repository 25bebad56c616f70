#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "docx/DocumentStory.h"
#include "docx/DocumentXml.h"
#include "docx/RangeMarks.h"

namespace scrivano::word {
namespace {

constexpr char kNamespaces[] = R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")";

// Random bodies over the structures real documents nest: tables in cells, merged cells, content
// controls around blocks, rows and runs, simple and complex fields, tracked changes, bookmarks and
// comment ranges.
class BodyMaker {
 public:
  explicit BodyMaker(unsigned seed) : random_(seed) {}

  std::string Body() {
    std::string xml;
    const int blocks = Pick(2, 6);
    for (int i = 0; i < blocks; ++i) xml += Block(0);
    return xml + Paragraph();
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  std::string Id() { return std::to_string(nextId_++); }

  std::string Text() {
    static const char* const kWords[] = {"ab", "中文", "M1", "x y", "{12}", "Зд"};
    return kWords[Pick(0, 5)];
  }
  std::string Run() { return "<w:r><w:t xml:space=\"preserve\">" + Text() + "</w:t></w:r>"; }

  std::string Inline() {
    switch (Pick(0, 9)) {
      case 9: {  // long enough to be indexed in pieces
        std::string text;
        while (text.size() < 1600) text += " ab中文{12}x";
        return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
      }
      case 0:
        return "<w:sdt><w:sdtPr><w:alias w:val=\"c\"/></w:sdtPr><w:sdtContent>" + Run() +
               "</w:sdtContent></w:sdt>";
      case 1:
        return "<w:fldSimple w:instr=\"PAGE\">" + Run() + "</w:fldSimple>";
      case 2:
        return "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>DATE</w:instrText></w:r>"
               "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" +
               Run() + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
      case 3:
        return "<w:ins w:id=\"" + Id() + "\" w:author=\"a\">" + Run() + "</w:ins>";
      case 4:
        return "<w:del w:id=\"" + Id() + "\" w:author=\"a\"><w:r><w:delText>gone</w:delText></w:r></w:del>";
      case 5: {
        const std::string id = Id();
        return "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"b" + id + "\"/>" + Run() +
               "<w:bookmarkEnd w:id=\"" + id + "\"/>";
      }
      case 6:
        return "<w:hyperlink w:anchor=\"x\">" + Run() + "</w:hyperlink>";
      case 7:
        return "<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/></w:r>";
      default:
        return Run();
    }
  }

  std::string Paragraph() {
    std::string xml = "<w:p>";
    if (Pick(0, 3) == 0)
      xml += "<w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>";
    const int pieces = Pick(0, 3);
    for (int i = 0; i < pieces; ++i) xml += Inline();
    return xml + "</w:p>";
  }

  std::string Cell(int depth, bool merged) {
    std::string xml = "<w:tc>";
    if (merged) xml += "<w:tcPr><w:vMerge/></w:tcPr>";
    const int blocks = Pick(0, 2);
    for (int i = 0; i < blocks; ++i) xml += Block(depth + 1);
    return xml + Paragraph() + "</w:tc>";
  }

  std::string Table(int depth) {
    std::string xml = "<w:tbl><w:tblGrid><w:gridCol/><w:gridCol/></w:tblGrid>";
    const int rows = Pick(1, 3);
    for (int r = 0; r < rows; ++r) {
      std::string row = "<w:tr>" + Cell(depth, r > 0 && Pick(0, 2) == 0) + Cell(depth, false) + "</w:tr>";
      if (Pick(0, 4) == 0) row = "<w:sdt><w:sdtPr/><w:sdtContent>" + row + "</w:sdtContent></w:sdt>";
      xml += row;
    }
    return xml + "</w:tbl>";
  }

  std::string Block(int depth) {
    const int kind = depth >= 3 ? 0 : Pick(0, 4);
    if (kind == 1) return Table(depth);
    if (kind == 2) {
      std::string inner;
      const int blocks = Pick(1, 2);
      for (int i = 0; i < blocks; ++i) inner += Block(depth + 1);
      return "<w:sdt><w:sdtPr><w:alias w:val=\"b\"/></w:sdtPr><w:sdtContent>" + inner +
             "</w:sdtContent></w:sdt>";
    }
    if (kind == 3) {
      const std::string id = Id();
      return "<w:commentRangeStart w:id=\"" + id + "\"/>" + Paragraph() + "<w:commentRangeEnd w:id=\"" + id +
             "\"/><w:p><w:r><w:commentReference w:id=\"" + id + "\"/></w:r></w:p>";
    }
    return Paragraph();
  }

  std::mt19937 random_;
  int nextId_ = 1;
};

std::string Serialize(pugi::xml_node node) {
  std::ostringstream out;
  node.print(out, "", pugi::format_raw);
  return out.str();
}

// What makes a body a valid document: tables with rows, rows with cells, cells ending in a paragraph,
// no content control left empty.
std::string Problems(pugi::xml_node body) {
  std::string problems;
  for (pugi::xpath_node found : body.select_nodes(".//w:tbl[not(.//w:tr)]"))
    (void)found, problems += "table without rows; ";
  for (pugi::xpath_node found : body.select_nodes(".//w:tr[not(.//w:tc)]"))
    (void)found, problems += "row without cells; ";
  for (pugi::xpath_node found : body.select_nodes(".//w:tc")) {
    pugi::xml_node last = found.node().last_child();
    while (last && last.type() != pugi::node_element) last = last.previous_sibling();
    if (!IsNamed(last, "w:p")) problems += "cell not ending in a paragraph; ";
  }
  for (pugi::xpath_node found : body.select_nodes(".//w:sdtContent[not(*)]"))
    (void)found, problems += "empty content control; ";
  return problems;
}

// Where an index kept up to date by edits differs from a fresh reading of the same XML; "" when nowhere.
std::string IndexDifference(const Story& kept, const Story& read) {
  if (kept.ParagraphCount() != read.ParagraphCount()) return "paragraph count";
  for (int i = 0; i < kept.ParagraphCount(); ++i) {
    const StoryParagraph &a = kept.ParagraphAt(i), &b = read.ParagraphAt(i);
    const std::string where = "paragraph " + std::to_string(i);
    if (a.text != b.text || a.folded != b.folded) return where + " text";
    if (a.pageMarks != b.pageMarks) return where + " page marks";
    if (a.pieces.size() != b.pieces.size()) return where + " piece count";
    for (size_t k = 0; k < a.pieces.size(); ++k)
      if (a.pieces[k].local != b.pieces[k].local || a.pieces[k].length != b.pieces[k].length ||
          a.pieces[k].node != b.pieces[k].node)
        return where + " piece " + std::to_string(k);
  }
  return "";
}

// Deleting any range leaves a valid body whose text is the old text outside the range, indexed as a
// fresh reading of the XML indexes it, and no mark without its partner.
TEST(StoryEditsTest, Delete_RandomRangesOverNestedStructuresLeaveAValidDocument) {
  int deletions = 0;
  for (unsigned seed = 1; seed <= 150; ++seed) {
    BodyMaker maker(seed);
    const std::string inner = maker.Body();
    std::mt19937 random(seed * 7919u);
    for (int round = 0; round < 12; ++round) {
      pugi::xml_document xml;
      const std::string text = std::string("<w:body") + kNamespaces + ">" + inner + "</w:body>";
      ASSERT_TRUE(xml.load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
      pugi::xml_node body = xml.child("w:body");
      Story story(body);
      const int length = story.Length();
      const int a = std::uniform_int_distribution<int>(0, length)(random);
      const int b = std::uniform_int_distribution<int>(0, length)(random);
      const int start = std::min(a, b), end = std::max(a, b);
      const Text before = story.TextOf(0, length);
      story.Delete(start, end);
      ++deletions;
      RemoveUnmatchedRangeMarks(body);
      const std::string where = "seed " + std::to_string(seed) + ", delete [" + std::to_string(start) + ", " +
                                std::to_string(end) + ") of " + std::to_string(length);
      ASSERT_EQ(Problems(body), "") << where << "\n" << Serialize(body);
      const int after = story.Length();
      const Text now = story.TextOf(0, after);
      ASSERT_EQ(now.substr(0, static_cast<size_t>(start)), before.substr(0, static_cast<size_t>(start)))
          << where;
      const size_t kept = static_cast<size_t>(length - std::min(end, length - 1));
      ASSERT_GE(now.size(), kept) << where;
      ASSERT_EQ(now.substr(now.size() - kept), before.substr(before.size() - kept)) << where;
      Story fresh(body);
      ASSERT_FALSE(fresh.RepairedOnLoad()) << where << "\n" << Serialize(body);
      ASSERT_EQ(ToUtf8(fresh.TextOf(0, fresh.Length())), ToUtf8(now)) << where << "\n" << Serialize(body);
      ASSERT_EQ(IndexDifference(story, fresh), "") << where;
    }
  }
  EXPECT_EQ(deletions, 1800);
}

// Inserting at many positions in one pass gives the document that inserting at one position after the
// other (from the last, each in the formatting of the character before it) gives.
TEST(StoryEditsTest, InsertAtPositions_IsTheSameAsOneInsertionAfterTheOther) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    const std::string inner = BodyMaker(seed).Body();
    const std::string text = std::string("<w:body") + kNamespaces + ">" + inner + "</w:body>";
    pugi::xml_document batch, single;
    ASSERT_TRUE(batch.load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
    ASSERT_TRUE(single.load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
    Story batchStory(batch.child("w:body")), singleStory(single.child("w:body"));
    const int length = batchStory.Length();
    std::mt19937 random(seed);
    std::vector<int> positions;
    for (int i = 0; i < length / 3; ++i)
      positions.push_back(std::uniform_int_distribution<int>(0, length)(random));
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    const int inserted = batchStory.InsertAtPositions(positions, u" ");
    int expected = 0;
    for (auto position = positions.rbegin(); position != positions.rend(); ++position) {
      // Only where a character of a paragraph's text comes before: not at a mark or the story's start.
      if (*position <= 0 || *position >= length) continue;
      const Text before = singleStory.TextOf(*position - 1, *position);
      if (before == u"\r" || before == u"\r\a") continue;
      expected += singleStory.InsertText(*position, u" ", singleStory.FormatAt(*position - 1, false));
    }
    const std::string where = "seed " + std::to_string(seed);
    EXPECT_EQ(inserted, expected) << where;
    ASSERT_EQ(ToUtf8(batchStory.TextOf(0, batchStory.Length())),
              ToUtf8(singleStory.TextOf(0, singleStory.Length())))
        << where;
    ASSERT_EQ(Serialize(batch.child("w:body")), Serialize(single.child("w:body"))) << where;
    Story fresh(batch.child("w:body"));
    ASSERT_EQ(ToUtf8(fresh.TextOf(0, fresh.Length())), ToUtf8(batchStory.TextOf(0, batchStory.Length())))
        << where;
    // The index each single insertion kept up to date is the index a fresh reading makes.
    ASSERT_EQ(IndexDifference(singleStory, Story(single.child("w:body"))), "") << where;
  }
}

// A whole row holding a nested table: the nested rows go with the outer row, once.
TEST(StoryEditsTest, Delete_RowHoldingANestedTable) {
  const std::string nested = "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>in</w:t></w:r></w:p></w:tc></w:tr></w:tbl>";
  const std::string body =
      std::string("<w:body") + kNamespaces + "><w:p><w:r><w:t>M1</w:t></w:r></w:p><w:tbl><w:tr><w:tc>" +
      nested + "<w:p/></w:tc></w:tr><w:tr><w:tc><w:p><w:r><w:t>k</w:t></w:r></w:p></w:tc></w:tr>" +
      "</w:tbl><w:p><w:r><w:t>M2</w:t></w:r></w:p></w:body>";
  pugi::xml_document xml;
  ASSERT_TRUE(xml.load_string(body.c_str()));
  Story story(xml.child("w:body"));
  ASSERT_EQ(ToUtf8(story.TextOf(0, story.Length())), "M1\rin\r\a\r\a\r\a\r\ak\r\a\r\aM2\r");
  story.Delete(3, 9);  // the whole first row
  EXPECT_EQ(ToUtf8(story.TextOf(0, story.Length())), "M1\rk\r\a\r\aM2\r");
  EXPECT_EQ(Problems(xml.child("w:body")), "");
}

TEST(StoryEditsTest, Delete_LeavesNoEmptyControlsNoLoneMarksAndKeepsNumberingWhereItWas) {
  struct Case {
    const char* what;
    std::string body;
    int start, end;
    std::string xml;  // the body afterwards
  } cases[] = {
      {"a content control around deleted paragraphs goes",
       "<w:p><w:r><w:t>a</w:t></w:r></w:p><w:sdt><w:sdtPr/><w:sdtContent><w:p><w:r><w:t>b</w:t></w:r></w:p>"
       "</w:sdtContent></w:sdt><w:p><w:r><w:t>c</w:t></w:r></w:p><w:p/>",
       2, 4, "<w:p><w:r><w:t>a</w:t></w:r></w:p><w:p><w:r><w:t>c</w:t></w:r></w:p><w:p/>"},
      {"a bookmark whose end was deleted goes",
       "<w:p><w:bookmarkStart w:id=\"1\" "
       "w:name=\"x\"/><w:r><w:t>a</w:t></w:r></w:p><w:p><w:r><w:t>b</w:t></w:r>"
       "<w:bookmarkEnd w:id=\"1\"/></w:p><w:p/>",
       2, 4, "<w:p><w:r><w:t>a</w:t></w:r></w:p><w:p/>"},
      {"a deletion to the end: the last paragraph takes the first deleted one's numbering (none)",
       "<w:p><w:r><w:t>a</w:t></w:r></w:p><w:p><w:r><w:t>M2</w:t></w:r></w:p><w:p><w:pPr><w:numPr><w:numId "
       "w:val=\"1\"/></w:numPr></w:pPr><w:r><w:t>b</w:t></w:r></w:p>",
       2, 7, "<w:p><w:r><w:t>a</w:t></w:r></w:p><w:p/>"},
  };
  for (const Case& test : cases) {
    pugi::xml_document xml;
    ASSERT_TRUE(
        xml.load_string((std::string("<w:body") + kNamespaces + ">" + test.body + "</w:body>").c_str()));
    Story story(xml.child("w:body"));
    story.Delete(test.start, test.end);
    RemoveUnmatchedRangeMarks(xml.child("w:body"));
    std::string out;
    for (pugi::xml_node child : xml.child("w:body").children()) out += Serialize(child);
    EXPECT_EQ(out, test.xml) << test.what;
  }
}

}  // namespace
}  // namespace scrivano::word
