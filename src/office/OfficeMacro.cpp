#include "office/OfficeMacro.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "text/Text.h"

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

// The module file of the library Standard that holds the macro.
std::string ModuleFileContent() {
  return std::string(kXmlHead) +
         "<!DOCTYPE script:module PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
         "\"module.dtd\">\n<script:module xmlns:script=\"http://openoffice.org/2000/script\" "
         "script:name=\"" +
         kModuleName + "\" script:language=\"StarBasic\">" + XmlEscaped(NextPieceMacroSource()) +
         "</script:module>\n";
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
    // Ctrl+N as this writes it, or as LibreOffice writes a binding it made itself.
    const bool shortcut = line.find(kShortcutPath) != std::string::npos &&
                          (line.find("oor:name=\"N_MOD1\"") != std::string::npos ||
                           line.find("Key['N_MOD1']") != std::string::npos);
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

constexpr char kDefaultInstallation[] = "/libreoffice/4";

// The configuration folder as the variables give it: $XDG_CONFIG_HOME, else ~/.config.
std::string ConfigFolder(const char* configHome, const char* home) {
  return configHome && *configHome ? std::string(configHome) : std::string(home ? home : ".") + "/.config";
}

// The value of NAME in a "NAME=value" list, or nullptr.
const char* Variable(const std::vector<std::string>& environment, std::string_view name) {
  for (const std::string& variable : environment)
    if (variable.size() > name.size() && variable.starts_with(name) && variable[name.size()] == '=')
      return variable.c_str() + name.size() + 1;
  return nullptr;
}

// A UserInstallation value as a folder: a file URL (percent escapes decoded), a path, or one that begins
// with $SYSUSERCONFIG, the configuration folder. Empty for anything else.
std::string InstallationFolder(std::string_view value, const std::vector<std::string>& environment) {
  constexpr std::string_view kFileUrl = "file://", kLocalhost = "localhost", kConfig = "$SYSUSERCONFIG";
  if (value.starts_with(kConfig))
    return ConfigFolder(Variable(environment, "XDG_CONFIG_HOME"), Variable(environment, "HOME")) +
           std::string(value.substr(kConfig.size()));
  if (value.starts_with(kFileUrl)) {
    value.remove_prefix(kFileUrl.size());
    if (value.starts_with(kLocalhost)) value.remove_prefix(kLocalhost.size());
    std::string folder;
    for (size_t i = 0; i < value.size(); ++i) {
      const auto hex = [&](size_t at) { return std::isxdigit(static_cast<unsigned char>(value[at])) != 0; };
      if (value[i] == '%' && i + 2 < value.size() && hex(i + 1) && hex(i + 2)) {
        folder += static_cast<char>(std::stoi(std::string(value.substr(i + 1, 2)), nullptr, 16));
        i += 2;
      } else {
        folder += value[i];
      }
    }
    return folder;
  }
  return value.starts_with('/') ? std::string(value) : std::string();
}

}  // namespace

std::string DefaultOfficeProfile() {
  return ConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")) + kDefaultInstallation + "/user";
}

std::string OfficeProfileOf(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment) {
  constexpr std::string_view kOption = "-env:UserInstallation=";
  std::string folder;
  for (const std::string& argument : arguments)
    if (argument.starts_with(kOption))
      folder = InstallationFolder(std::string_view(argument).substr(kOption.size()), environment);
  if (folder.empty())
    if (const char* value = Variable(environment, "UserInstallation"))
      folder = InstallationFolder(value, environment);
  if (folder.empty())
    folder = ConfigFolder(Variable(environment, "XDG_CONFIG_HOME"), Variable(environment, "HOME")) +
             kDefaultInstallation;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder + "/user";
}

bool NextPieceModuleCurrent(const std::string& userFolder) {
  const fs::path standard = fs::path(userFolder) / "basic" / "Standard";
  std::string module, index;
  // LibreOffice may write the module again in its own way; what this Scrivano relies on is the handshake.
  return ReadFile(standard / (std::string(kModuleName) + ".xba"), module) &&
         module.find("Sub BindNextPiece") != std::string::npos &&
         module.find(ToUtf8(kNextPieceReady)) != std::string::npos &&
         ReadFile(standard / "script.xlb", index) &&
         index.find("library:name=\"" + std::string(kModuleName) + "\"") != std::string::npos;
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
  if (!WriteFile(standard / (std::string(kModuleName) + ".xba"), ModuleFileContent(), message) ||
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
