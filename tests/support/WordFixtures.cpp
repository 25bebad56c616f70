#include "support/WordFixtures.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TempFolder.h"

namespace scrivano::test {
namespace {

constexpr char kSystemPython[] = "/usr/bin/python3";

constexpr char kPrelude[] = R"PY(
import sys, io, struct, zlib
import docx
from docx.shared import Pt, RGBColor, Inches, Cm
from docx.enum.text import WD_BREAK
from docx.oxml.ns import qn
from docx.oxml import OxmlElement

def picture():
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)
    rows = b''.join(b'\x00' + b'\xff\x00\x00' * 4 for _ in range(4))
    png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 4, 4, 8, 2, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
    return io.BytesIO(png)

def indent_chars(paragraph, hundredths):
    ppr = paragraph._p.get_or_add_pPr()
    ind = ppr.find(qn('w:ind'))
    if ind is None:
        ind = OxmlElement('w:ind')
        ppr.append(ind)
    ind.set(qn('w:firstLineChars'), str(hundredths))

def color_of(run):
    return str(run.font.color.rgb) if run.font.color is not None and run.font.color.type is not None else 'auto'

path = sys.argv[1]
)PY";

struct Outcome {
  int status = -1;
  std::string output;
};

Outcome Run(const std::string& command) {
  Outcome outcome;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return outcome;
  std::array<char, 4096> buffer{};
  size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    outcome.output.append(buffer.data(), got);
  const int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

Outcome RunPython(const std::string& script, const std::string& path) {
  TempFolder folder;
  folder.WriteBytes("script.py", std::string(kPrelude) + script);
  return Run(std::string(kSystemPython) + " " + Quote(folder.path() + "/script.py") + " " + Quote(path));
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

bool HavePythonDocx() {
  static const bool available = Run(std::string(kSystemPython) + " -c 'import docx'").status == 0;
  return available;
}

bool HaveOffice() {
  static const bool available = Run("command -v soffice").status == 0;
  return available;
}

bool MakeDocx(const std::string& path, const std::string& script) {
  const Outcome outcome = RunPython("d = docx.Document()\n" + script + "\nd.save(path)\n", path);
  EXPECT_EQ(outcome.status, 0) << "python3-docx could not write the fixture:\n" << outcome.output;
  return outcome.status == 0;
}

std::string ReadDocx(const std::string& path, const std::string& script) {
  const Outcome outcome = RunPython("d = docx.Document(path)\n" + script, path);
  EXPECT_EQ(outcome.status, 0) << "python3-docx could not read " << path << ":\n" << outcome.output;
  return outcome.output;
}

namespace {

// Converts every path in one LibreOffice run: the exported files' contents, nullopt where none came out.
std::vector<std::optional<std::string>> Export(const std::vector<std::string>& paths,
                                               const std::string& filter, const std::string& extension) {
  TempFolder folder;
  std::string command = "soffice -env:UserInstallation=file://" + folder.path() +
                        "/profile --headless --norestore --convert-to " + Quote(filter) + " --outdir " +
                        Quote(folder.path() + "/out");
  // Appended piece by piece: " " + a temporary led GCC 12 at -O2 to a spurious overlapping-copy warning.
  for (const std::string& path : paths) command.append(" ").append(Quote(path));
  Run(command);
  std::vector<std::optional<std::string>> results;
  for (const std::string& path : paths) {
    const std::string exported =
        folder.path() + "/out/" + std::filesystem::path(path).stem().string() + "." + extension;
    if (std::filesystem::exists(exported))
      results.emplace_back(ReadAll(exported));
    else
      results.emplace_back();
  }
  return results;
}

}  // namespace

std::vector<std::optional<std::string>> OfficeTexts(const std::vector<std::string>& paths) {
  std::vector<std::optional<std::string>> texts = Export(paths, "txt:Text (encoded):UTF8", "txt");
  for (auto& text : texts) {
    if (!text) continue;
    if (text->compare(0, 3, "\xEF\xBB\xBF") == 0) text->erase(0, 3);
    std::erase(*text, '\r');
  }
  return texts;
}

std::optional<std::string> OfficeText(const std::string& path) {
  return OfficeTexts({path}).front();
}

std::optional<std::string> OfficeExport(const std::string& path, const std::string& format) {
  return Export({path}, format, format).front();
}

std::optional<int> OfficePageCount(const std::string& path) {
  const std::optional<std::string> pdf = OfficeExport(path, "pdf");
  if (!pdf) return std::nullopt;
  TempFolder folder;
  folder.WriteBytes("layout.pdf", *pdf);
  const Outcome text = Run("pdftotext " + Quote(folder.path() + "/layout.pdf") + " -");
  if (text.status != 0) return std::nullopt;
  int pages = static_cast<int>(std::count(text.output.begin(), text.output.end(), '\f'));
  return pages;
}

std::string FixturePath(const std::string& name) {
  return std::string(SCRIVANO_TEST_DATA) + "/word/" + name;
}

void DocxTest::SetUp() {
  SKIP_WITHOUT_PYTHON_DOCX();
}

std::string DocxTest::Make(const std::string& name, const std::string& script) {
  const std::string path = folder_.path() + "/" + name;
  MakeDocx(path, script);
  return path;
}

}  // namespace scrivano::test
