#include "capture/OfficeMacro.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace scrivano {
namespace {

namespace fs = std::filesystem;

constexpr char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr char kModuleName[] = "Scrivano";
constexpr char kCommand[] =
    "vnd.sun.star.script:Standard.Scrivano.NextPiece?language=Basic&amp;location=application";
constexpr char kShortcutPath[] =
    "/org.openoffice.Office.Accelerators/PrimaryKeys/Modules/"
    "org.openoffice.Office.Accelerators:Module['com.sun.star.text.TextDocument']";

bool ReadFile(const fs::path& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  content = bytes.str();
  return true;
}

// Written beside and renamed over, so that a failure leaves the old file whole.
bool WriteFile(const fs::path& path, const std::string& content, std::string& message) {
  const fs::path temporary = path.string() + ".scrivano-new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) {
      message = "Could not write " + temporary.string();
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  if (error) {
    message = "Could not replace " + path.string() + ": " + error.message();
    return false;
  }
  return true;
}

std::string XmlEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A library container (script.xlc or dialog.xlc) that lists the library Standard.
bool EnsureContainer(const fs::path& path, const std::string& index, std::string& message) {
  const std::string entry =
      " <library:library library:name=\"Standard\" xlink:href=\"$(USER)/basic/Standard/" + index +
      "/\" xlink:type=\"simple\" library:link=\"false\"/>\n";
  std::string content;
  if (!ReadFile(path, content)) {
    content = std::string(kXmlHead) +
              "<!DOCTYPE library:libraries PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
              "\"libraries.dtd\">\n<library:libraries xmlns:library=\"http://openoffice.org/2000/library\" "
              "xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n" +
              entry + "</library:libraries>\n";
    return WriteFile(path, content, message);
  }
  if (content.find("library:name=\"Standard\"") != std::string::npos) return true;
  const size_t end = content.rfind("</library:libraries>");
  if (end == std::string::npos) {
    message = path.string() + " is not a library list LibreOffice wrote; it was left alone.";
    return false;
  }
  content.insert(end, entry);
  return WriteFile(path, content, message);
}

// The library's index (script.xlb or dialog.xlb), with element listed when given.
bool EnsureLibraryIndex(const fs::path& path, const std::string& element, std::string& message) {
  const std::string open =
      "<library:library xmlns:library=\"http://openoffice.org/2000/library\" library:name=\"Standard\" "
      "library:readonly=\"false\" library:passwordprotected=\"false\"";
  const std::string line = element.empty() ? "" : " <library:element library:name=\"" + element + "\"/>\n";
  std::string content;
  if (!ReadFile(path, content)) {
    content = std::string(kXmlHead) +
              "<!DOCTYPE library:library PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
              "\"library.dtd\">\n" +
              open + (line.empty() ? "/>\n" : ">\n" + line + "</library:library>\n");
    return WriteFile(path, content, message);
  }
  if (line.empty() || content.find("library:name=\"" + element + "\"/>") != std::string::npos) return true;
  const size_t end = content.rfind("</library:library>");
  if (end != std::string::npos) {
    content.insert(end, line);
    return WriteFile(path, content, message);
  }
  // An empty library is one self-closing element.
  const size_t root = content.find("<library:library ");
  const size_t close = root == std::string::npos ? std::string::npos : content.find("/>", root);
  if (close == std::string::npos) {
    message = path.string() + " is not a library index LibreOffice wrote; it was left alone.";
    return false;
  }
  content.replace(close, 2, ">\n" + line + "</library:library>");
  return WriteFile(path, content, message);
}

// registrymodifications.xcu: Ctrl+N in Writer documents runs the macro, and the profile counts as set up
// (otherwise LibreOffice's first start would put its own Basic library over ours). Other items stay.
bool EnsureShortcut(const fs::path& path, std::string& message) {
  std::string content;
  if (!ReadFile(path, content)) {
    content = std::string(kXmlHead) +
              "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
              "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
              "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n</oor:items>\n";
  }
  const size_t end = content.rfind("</oor:items>");
  if (end == std::string::npos) {
    message = path.string() + " is not a settings file LibreOffice wrote; it was left alone.";
    return false;
  }
  // LibreOffice writes one item per line; the two this installs are replaced, every other line kept.
  std::string kept;
  std::istringstream lines(content.substr(0, end));
  for (std::string line; std::getline(lines, line);) {
    const bool shortcut = line.find(kShortcutPath) != std::string::npos &&
                          line.find("oor:name=\"N_MOD1\"") != std::string::npos;
    const bool setup = line.find("\"/org.openoffice.Setup/Office\"") != std::string::npos &&
                       line.find("oor:name=\"ooSetupInstCompleted\"") != std::string::npos;
    if (!shortcut && !setup) kept += line + "\n";
  }
  kept += std::string("<item oor:path=\"") + kShortcutPath +
          "\"><node oor:name=\"N_MOD1\" oor:op=\"replace\"><prop oor:name=\"Command\" oor:op=\"fuse\">"
          "<value xml:lang=\"en-US\">" +
          kCommand + "</value></prop></node></item>\n";
  kept +=
      "<item oor:path=\"/org.openoffice.Setup/Office\"><prop oor:name=\"ooSetupInstCompleted\" "
      "oor:op=\"fuse\"><value>true</value></prop></item>\n";
  kept += content.substr(end);
  return content == kept || WriteFile(path, kept, message);
}

}  // namespace

std::string DefaultOfficeProfile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config && *config) {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : ".") + "/.config";
  }
  return base + "/libreoffice/4/user";
}

bool InstallOfficeMacro(const std::string& userFolder, std::string& message) {
  const fs::path user(userFolder);
  const fs::path standard = user / "basic" / "Standard";
  std::error_code error;
  fs::create_directories(standard, error);
  if (error) {
    message = "Could not create " + standard.string() + ": " + error.message();
    return false;
  }
  const std::string module =
      std::string(kXmlHead) +
      "<!DOCTYPE script:module PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
      "\"module.dtd\">\n<script:module xmlns:script=\"http://openoffice.org/2000/script\" "
      "script:name=\"" +
      kModuleName + "\" script:language=\"StarBasic\">" + XmlEscaped(NextPieceMacroSource()) +
      "</script:module>\n";
  if (!WriteFile(standard / (std::string(kModuleName) + ".xba"), module, message) ||
      !EnsureLibraryIndex(standard / "script.xlb", kModuleName, message) ||
      !EnsureLibraryIndex(standard / "dialog.xlb", "", message) ||
      !EnsureContainer(user / "basic" / "script.xlc", "script.xlb", message) ||
      !EnsureContainer(user / "basic" / "dialog.xlc", "dialog.xlb", message) ||
      !EnsureShortcut(user / "registrymodifications.xcu", message))
    return false;
  message = "Ctrl+N in LibreOffice Writer now runs Scrivano's NextPiece macro (profile " + user.string() +
            "). Restart LibreOffice for it to take effect.";
  return true;
}

}  // namespace scrivano
