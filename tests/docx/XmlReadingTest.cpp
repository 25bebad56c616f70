#include <gtest/gtest.h>

#include <string>

#include "docx/DocumentEngine.h"
#include "docx/DocumentPackage.h"
#include "docx/DocumentXml.h"
#include "docx/XmlReading.h"
#include "support/TempFolder.h"
#include "text/Utf16Bytes.h"

namespace scrivano::word {
namespace {

constexpr char kW[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

std::string Utf16(const std::string& utf8, bool bigEndian) {
  std::string bytes = TextToUtf16LeBytes(FromUtf8(utf8));
  if (bigEndian)
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
  return bytes;
}

// Every part is read by the encoding it declares and written back as UTF-8 under a UTF-8 declaration.
TEST(XmlReadingTest, PartsAreReadByTheirEncodingAndWrittenAsUtf8) {
  const std::string body = std::string("<w:t xmlns:w=\"") + kW + "\">用 log 文件</w:t>";
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"UTF-8 with a mark", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body},
      {"UTF-16LE with a mark",
       "\xFF\xFE" + Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, false)},
      {"UTF-16LE without a mark", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, false)},
      {"UTF-16BE with a mark",
       "\xFE\xFF" + Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, true)},
      {"GBK", "<?xml version=\"1.0\" encoding=\"GBK\"?><w:t xmlns:w=\"" + std::string(kW) +
                  "\">\xD3\xC3 log \xCE\xC4\xBC\xFE</w:t>"},
      {"UTF-16 declared over UTF-8 bytes (as this program once wrote)",
       "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body},
  };
  for (const Case& test : cases) {
    pugi::xml_document xml;
    ASSERT_NO_THROW(ParseXml(test.bytes, xml, "word/document.xml")) << test.what;
    EXPECT_EQ(ToUtf8(NodeText(xml.child("w:t"))), "用 log 文件") << test.what;
    const std::string saved = SerializeXml(xml);
    EXPECT_EQ(saved.find("encoding=\"UTF-16\""), std::string::npos) << test.what << ": " << saved;
    if (saved.starts_with("<?xml")) {
      EXPECT_NE(saved.find("encoding=\"UTF-8\""), std::string::npos) << test.what;
    }
    EXPECT_NE(saved.find("用 log 文件"), std::string::npos) << test.what;
  }
  pugi::xml_document xml;
  try {
    ParseXml("<?xml version=\"1.0\" encoding=\"X-NO-SUCH\"?><a/>", xml, "word/styles.xml");
    ADD_FAILURE() << "an unknown encoding is refused";
  } catch (const DocumentError& problem) {
    EXPECT_NE(std::string(problem.what()).find("word/styles.xml"), std::string::npos) << problem.what();
  }
}

// Elements are matched by namespace: whatever prefix a producer chose, the tree uses the usual one.
TEST(XmlReadingTest, KnownNamespacesGetTheirUsualPrefixes) {
  struct Case {
    const char* what;
    std::string xml;
    std::string expected;
  } cases[] = {
      {"ns0 for WordprocessingML",
       std::string("<ns0:document xmlns:ns0=\"") + kW +
           "\"><ns0:body><ns0:p><ns0:r><ns0:t>x</ns0:t></ns0:r>" + "</ns0:p></ns0:body></ns0:document>",
       std::string("<w:document xmlns:ns0=\"") + kW + "\" xmlns:w=\"" + kW +
           "\"><w:body><w:p><w:r><w:t>x</w:t></w:r></w:p></w:body></w:document>"},
      {"the default namespace, attributes keep no prefix",
       std::string("<document xmlns=\"") + kW +
           "\"><body><p><pPr><jc val=\"left\"/></pPr></p></body></document>",
       std::string("<w:document xmlns=\"") + kW + "\" xmlns:w=\"" + kW +
           "\"><w:body><w:p><w:pPr><w:jc val=\"left\"/></w:pPr></w:p></w:body></w:document>"},
      {"qualified attributes too", std::string("<x:p xmlns:x=\"") + kW + "\"><x:jc x:val=\"left\"/></x:p>",
       std::string("<w:p xmlns:x=\"") + kW + "\" xmlns:w=\"" + kW + "\"><w:jc w:val=\"left\"/></w:p>"},
      {"w bound to something else: left as it is",
       std::string("<w:p xmlns:w=\"urn:other\"><x:t xmlns:x=\"") + kW + "\"/></w:p>",
       std::string("<w:p xmlns:w=\"urn:other\"><x:t xmlns:x=\"") + kW + "\"/></w:p>"},
  };
  for (const Case& test : cases) {
    pugi::xml_document xml;
    ParseXml(test.xml, xml, "word/document.xml");
    EXPECT_EQ(SerializeXml(xml), test.expected) << test.what;
  }
}

std::string Nested(int depth) {
  std::string xml = std::string("<w:document xmlns:w=\"") + kW + "\"><w:body>";
  for (int i = 0; i < depth; ++i) xml += "<w:sdt><w:sdtContent>";
  xml += "<w:p><w:r><w:t>deep</w:t></w:r></w:p>";
  for (int i = 0; i < depth; ++i) xml += "</w:sdtContent></w:sdt>";
  return xml + "</w:body></w:document>";
}

std::string PackageWith(const std::string& documentXml) {
  DocumentPackage package(BlankPackageBytes());
  package.WritePart("word/document.xml", documentXml);
  return package.Save();
}

// Content controls nested 40,000 deep are refused with a message, not a crashed stack; a depth a real
// document reaches is read.
TEST(XmlReadingTest, NestingBeyondTheLimitIsRefused) {
  pugi::xml_document xml;
  try {
    ParseXml(Nested(20000), xml, "word/document.xml");
    ADD_FAILURE() << "refused";
  } catch (const DocumentError& problem) {
    EXPECT_EQ(std::string(problem.what()),
              "part word/document.xml nests elements more than 1000 levels deep");
  }
  EXPECT_NO_THROW(ParseXml(Nested(kMaxElementDepth / 2 - 4), xml, "word/document.xml"));
}

// Through the object model: the deep document fails to open with the reason, one under another prefix
// opens with its text.
TEST(XmlReadingTest, DocumentsOpen_DeepAndPrefixedDocuments) {
  test::TempFolder folder;
  folder.WriteBytes("deep.docx", PackageWith(Nested(40000)));
  folder.WriteBytes("ns0.docx", PackageWith(std::string("<ns0:document xmlns:ns0=\"") + kW +
                                            "\"><ns0:body><ns0:p><ns0:r><ns0:t>x</ns0:t></ns0:r></ns0:p>"
                                            "</ns0:body></ns0:document>"));
  const std::shared_ptr<Application> application = Application::Create();
  OpenFailure failure = OpenFailure::kNone;
  std::string reason;
  EXPECT_FALSE(application->Documents()->Open(FromUtf8(folder.path() + "/deep.docx"), &failure, &reason));
  EXPECT_EQ(failure, OpenFailure::kUnreadable);
  EXPECT_NE(reason.find("more than 1000 levels deep"), std::string::npos) << reason;
  const std::shared_ptr<Document> document =
      application->Documents()->Open(FromUtf8(folder.path() + "/ns0.docx"));
  ASSERT_TRUE(document);
  EXPECT_EQ(document->Content()->Text(), u"x\r");
}

}  // namespace
}  // namespace scrivano::word
