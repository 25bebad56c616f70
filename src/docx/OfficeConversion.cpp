#include "docx/OfficeConversion.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#include "text/FileBytes.h"

extern char** environ;

namespace scrivano::word {
namespace {

std::string LowerExtension(TextView path) {
  const std::string native = PathToNative(path);
  std::string extension = std::filesystem::path(native).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return extension;
}

// A private folder that is removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scrivano-office-XXXXXX").string();
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Runs the program with its output discarded; the exit status, or -1 when it could not start or was
// stopped after the timeout.
int RunQuietly(const std::vector<std::string>& arguments, int timeoutSeconds) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace

int RunProgramQuietly(const std::vector<std::string>& arguments, int timeoutSeconds) {
  return RunQuietly(arguments, timeoutSeconds);
}

bool NeedsConversion(TextView path, const std::string& bytes) {
  static const char* const kConverted[] = {".doc", ".dot", ".odt", ".ott", ".fodt", ".rtf"};
  const std::string extension = LowerExtension(path);
  for (const char* converted : kConverted)
    if (extension == converted) return true;
  static const std::string kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  return bytes.compare(0, kCompoundFile.size(), kCompoundFile) == 0 || bytes.compare(0, 5, "{\\rtf") == 0;
}

std::string OfficeConverterProgram() {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  size_t from = 0;
  while (from <= folders.size()) {
    size_t to = folders.find(':', from);
    if (to == std::string::npos) to = folders.size();
    const std::string folder = folders.substr(from, to - from);
    for (const char* name : {"soffice", "libreoffice"}) {
      const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    from = to + 1;
  }
  return {};
}

bool ConvertToDocx(TextView path, std::string& docx, std::string& reason, int timeoutSeconds) {
  const std::string program = OfficeConverterProgram();
  if (program.empty()) {
    reason = "no office converter is installed";
    return false;
  }
  ScratchFolder scratch;
  if (scratch.path().empty()) {
    reason = "no temporary folder";
    return false;
  }
  const std::string source = PathToNative(path);
  const std::string output = scratch.path() + "/out";
  const int status =
      RunQuietly({program, "-env:UserInstallation=file://" + scratch.path() + "/profile", "--headless",
                  "--norestore", "--convert-to", "docx", "--outdir", output, source},
                 timeoutSeconds);
  const std::string converted = output + "/" + std::filesystem::path(source).stem().string() + ".docx";
  if (status != 0 || !ReadFileBytes(FromUtf8(converted), docx) || docx.empty()) {
    reason =
        status < 0 ? "the office converter did not finish" : "the office converter could not read the file";
    return false;
  }
  return true;
}

}  // namespace scrivano::word
