// scrivano-cli: runs the Function List's text functions on a file or a pipe, with scripted answers.
// Exit status: 0 the entry ran; 1 a result could not be written, or an unexpected failure such as running
// out of memory; 2 usage error or an entry that needs the desktop; 3 a question found no answer left.
#include <CLI/CLI.hpp>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "cli/ScriptedPrompts.h"
#include "cli/StandardStreams.h"
#include "cli/TextStreams.h"
#include "functions/FunctionTable.h"
#include "settings/ParameterStore.h"
#include "settings/ProgramPaths.h"
#include "toolkit/TextFiles.h"

namespace scrivano::cli {
namespace {

constexpr int kExitRan = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoAnswer = 3;

struct RunOptions {
  std::string entry;
  std::string inputFile;
  std::string outputFile;
  std::string encoding = "utf8";
  bool raw = false;
  std::vector<std::string> answers;
  std::vector<std::string> params;
  std::string configFile;
  std::string transcriptFile;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int ListEntries() {
  std::string listing;
  for (const FunctionEntry& entry : FunctionEntries()) {
    listing += ToUtf8(entry.itemText);
    if (entry.name) listing.append("  (").append(entry.name).append(")");
    if (!entry.run) listing.append("  [needs ").append(entry.needs).append("]");
    listing += '\n';
  }
  WriteStandardOutput(listing);
  return kExitRan;
}

std::string ReadInput(const std::string& inputFile) {
  if (inputFile.empty() || inputFile == "-") return ReadStandardInput();
  std::string bytes;
  if (!ReadFileBytes(FromUtf8(inputFile), bytes))
    throw UsageError("cannot read the input file \"" + inputFile + "\"");
  return bytes;
}

void WriteOutput(const std::string& outputFile, const std::string& bytes) {
  if (outputFile.empty() || outputFile == "-") return WriteStandardOutput(bytes);
  if (!WriteFileBytesAtomically(FromUtf8(outputFile), bytes))
    throw UsageError("cannot write the output file \"" + outputFile + "\"");
}

// --param N=VALUE, the last of a repeated N winning.
std::map<int, Text> ParseParams(const std::vector<std::string>& params) {
  std::map<int, Text> values;
  for (const std::string& param : params) {
    const size_t equals = param.find('=');
    const std::string number = param.substr(0, equals);
    const bool digits =
        !number.empty() && number.size() <= 2 && number.find_first_not_of("0123456789") == std::string::npos;
    const int k = digits ? std::stoi(number) : -1;
    if (equals == std::string::npos || k < 0 || k >= kParameterCount)
      throw UsageError("--param takes N=VALUE with N from 0 to 22, not \"" + param + "\"");
    values[k] = FromUtf8(param.substr(equals + 1));
  }
  return values;
}

void LoadRunParameters(const RunOptions& options) {
  const auto overrides = ParseParams(options.params);
  Text parameterFile;
  if (!options.configFile.empty()) {
    parameterFile = FromUtf8(options.configFile);
    std::string probe;
    if (!ReadFileBytes(parameterFile, probe))
      throw UsageError("cannot read the parameter file \"" + options.configFile + "\"");
  } else {
    const ProgramPaths paths = ResolveProgramPaths(OwnProgramFile());
    InstallDefaultParameterFile(paths);
    parameterFile = paths.parameterFile;
  }
  Parameters().SetParameterFile(parameterFile);
  Parameters().LoadParameters(kParameterCount);
  for (const auto& [k, value] : overrides) Parameters().SetValue(k, value);
}

int Run(const RunOptions& options) {
  const FunctionEntry* entry = FindFunctionEntry(options.entry);
  if (!entry) throw UsageError("unknown entry \"" + options.entry + "\" (see scrivano-cli list)");
  if (!entry->run)
    throw UsageError("\"" + ToUtf8(entry->itemText) + "\" needs " + entry->needs + "; it cannot run here");
  const StreamEncoding encoding =
      options.encoding == "utf16le" ? StreamEncoding::kUtf16Le : StreamEncoding::kUtf8;

  LoadRunParameters(options);
  Text workingText = DecodeInput(ReadInput(options.inputFile), encoding, options.raw);

  std::ofstream transcriptFile;
  if (!options.transcriptFile.empty()) {
    transcriptFile.open(options.transcriptFile, std::ios::binary | std::ios::trunc);
    if (!transcriptFile)
      throw UsageError("cannot write the transcript file \"" + options.transcriptFile + "\"");
  }
  ScriptedPrompts prompts(std::deque<std::string>(options.answers.begin(), options.answers.end()),
                          transcriptFile.is_open() ? &transcriptFile : nullptr, std::cerr);
  SetPromptHandler(&prompts);
  SetDocumentOpener([](TextView path) {
    std::cerr << "scrivano-cli: \"" << ToUtf8(path)
              << "\" was written; opening it in a text window needs the desktop\n";
    return false;
  });

  TaskContext context;
  context.workingText = &workingText;
  bool handBack = false;
  try {
    handBack = entry->run(context);
  } catch (...) {
    SetPromptHandler(nullptr);
    throw;
  }
  SetPromptHandler(nullptr);
  if (handBack) WriteOutput(options.outputFile, EncodeOutput(workingText, encoding, options.raw));
  if (const size_t unused = prompts.UnusedAnswers())
    std::cerr << "scrivano-cli: " << unused << (unused == 1 ? " answer was" : " answers were")
              << " not used\n";
  if (transcriptFile.is_open()) {
    transcriptFile.close();
    if (!transcriptFile) throw WriteFailed("cannot write the transcript");
  }
  return kExitRan;
}

}  // namespace
}  // namespace scrivano::cli

int main(int argc, char** argv) try {
  using namespace scrivano::cli;
  std::setlocale(LC_ALL, "");
  GuardStandardStreams();
  // A reader gone from the pipe is a write error with a message, like any other.
  std::signal(SIGPIPE, SIG_IGN);

  CLI::App app{"scrivano-cli: run Scrivano's text functions on a file or a pipe"};
  app.require_subcommand(1);
  CLI::App* list = app.add_subcommand("list", "the nineteen Function List entries");
  CLI::App* run = app.add_subcommand("run", "run one entry on the input text");
  RunOptions options;
  run->add_option(
         "ENTRY", options.entry,
         "a Function List number 0-18, or a name: align clean-tags combine delete-lines ending-lines "
         "trados link-lines lowercase uppercase remove-empty-lines split-en-zh split-lines "
         "trados-to-pairs word-processing extract-phrases")
      ->required();
  run->add_option("--input", options.inputFile, "input file (default: standard input)");
  run->add_option("--output", options.outputFile, "output file (default: standard output)");
  run->add_option("--encoding", options.encoding, "encoding of input and output")
      ->check(CLI::IsMember({"utf8", "utf16le"}));
  run->add_flag("--raw", options.raw, "no line-break conversion");
  run->add_option("--answer", options.answers, "answer to the next question, in order; \"<cancel>\" cancels")
      ->allow_extra_args(false);
  run->add_option("--param", options.params, "parameter N (0-22) for this run: N=VALUE")
      ->allow_extra_args(false);
  run->add_option("--config", options.configFile,
                  "the parameter file (default: the program's own config.ini)");
  run->add_option("--transcript", options.transcriptFile, "one JSON object per dialog shown, one per line");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "scrivano-cli: " << e.what() << "\n"
              << "Run with --help for usage.\n";
    return kExitUsage;
  }

  try {
    if (*list) return ListEntries();
    return Run(options);
  } catch (const UsageError& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitUsage;
  } catch (const BadAnswer& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitUsage;
  } catch (const scrivano::DesktopUnavailable& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitUsage;
  } catch (const ReadFailed& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitUsage;
  } catch (const NoAnswerLeft& e) {
    std::cerr << "scrivano-cli: no answer for question: " << e.what() << '\n';
    return kExitNoAnswer;
  } catch (const WriteFailed& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitFailed;
  }
} catch (const std::bad_alloc&) {
  std::fputs("scrivano-cli: out of memory\n", stderr);
  return 1;
} catch (const std::exception& e) {
  std::fprintf(stderr, "scrivano-cli: unexpected failure: %s\n", e.what());
  return 1;
} catch (...) {
  std::fputs("scrivano-cli: unexpected failure\n", stderr);
  return 1;
}
