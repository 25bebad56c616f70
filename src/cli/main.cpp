// scrivano-cli: runs the Function List's text functions on a file or a pipe, with scripted answers.
// Exit status: 0 the entry ran; 1 a result could not be written, or an unexpected failure such as running
// out of memory; 2 usage error or an entry that needs the desktop; 3 a question found no answer left; 4 the
// input could not be decoded, or the output encoded, without loss (and --lossy was not given); 5 web pages
// were asked for and not one could be read.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <new>
#include <string>

#include "cli/BytePath.h"
#include "cli/LossMessages.h"
#include "cli/ScriptedPrompts.h"
#include "cli/StandardStreams.h"
#include "cli/TextStreams.h"
#include "cli/WebPages.h"
#include "functions/FunctionTable.h"
#include "settings/ParameterStore.h"
#include "settings/ProgramPaths.h"
#include "tasks/WebPageExtraction.h"
#include "text/FileBytes.h"
#include "text/Pieces.h"
#include "text/TextEncodings.h"
#include "toolkit/TextFiles.h"
#include "transform/AlignSourceTarget.h"

namespace scrivano::cli {
namespace {

constexpr int kExitRan = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoAnswer = 3;
// Its own status, so that a script can try again with another --encoding or with --lossy without reading
// the message.
constexpr int kExitLoss = 4;
constexpr int kExitNoPage = 5;

constexpr const char* kExitStatuses =
    "Exit status: 0 the entry ran; 1 a result could not be written, or an unexpected failure; 2 usage error "
    "or an entry that needs the desktop; 3 a question found no answer left; 4 the input could not be "
    "decoded, "
    "or the output encoded, without loss (nothing written; --lossy allows it); 5 not one of the web pages "
    "asked for could be read.";

struct RunOptions {
  std::string entry;
  std::string inputFile;
  std::string outputFile;
  std::string encoding = "auto";
  std::string outputEncoding;
  bool keepEncoding = false;
  bool lossy = false;
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

// The input could not be decoded, or the output encoded, without loss.
class LossRefused : public std::runtime_error {
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

bool IsStandardStream(const std::string& file) {
  return file.empty() || file == "-";
}

// Regular files are read a chunk at a time and decoded straight into a buffer that any text of their size
// fits, so that neither the whole bytes nor a grown copy of the text are ever held beside it; the part of
// the buffer that the text does not need is never touched and costs no memory. Other inputs (pipes,
// terminals) are read whole and then decoded.
constexpr size_t kChunkBytes = size_t{1} << 18;

// A large text is filled in far fewer page faults when the system may back it with large pages. A small
// one is left alone: rounded up to large pages, its last page would be a good part of it.
void AdviseLargePages(Text& text) {
  constexpr size_t kLargeText = size_t{64} << 20;  // bytes
  if (text.capacity() * sizeof(char16_t) < kLargeText) return;
  constexpr uintptr_t kLargePage = uintptr_t{1} << 21;
  const auto begin = reinterpret_cast<uintptr_t>(text.data());
  const uintptr_t end = begin + text.capacity() * sizeof(char16_t);
  const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t last = end & ~(kLargePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// UTF-8 (or an encoding not named) is decoded a chunk at a time straight into the text; other encodings,
// and input whose bytes made the decoder give up (a mark, a zero byte, a byte that is not UTF-8), are
// read whole and decoded as DecodeTextFile decodes them. False with errno set on a read error.
bool DecodeRegularFile(int fd, off_t at, std::optional<Charset> charset, bool raw, bool lossy,
                       DecodedInput& input) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return false;
  const size_t size = info.st_size > at ? static_cast<size_t>(info.st_size - at) : 0;
  if (!charset || *charset == Charset::kUtf8) {
    InputDecoder decoder(raw, GiveUpFor(charset, lossy));
    Text text;
    std::string chunk(std::min(kChunkBytes, size + 1), '\0');
    try {
      text.reserve(decoder.UnitsAtMost(size));
    } catch (const std::bad_alloc&) {
      // Not that much room to spare: a first pass measures what the text needs.
      if (!ReadChunksAt(fd, at, chunk, [&decoder](std::string_view piece) {
            decoder.Measure(piece);
            return true;
          }))
        return false;
      text.reserve(decoder.ReservedUnits());
    }
    AdviseLargePages(text);
    if (!ReadChunksAt(fd, at, chunk, [&](std::string_view piece) {
          decoder.Decode(piece, text);
          return !decoder.GaveUp();
        }))
      return false;
    decoder.Finish(text);
    if (!decoder.GaveUp()) {
      input = FromDecoder(decoder, std::move(text));
      return true;
    }
  }
  // The chunks were read with pread: the stream still stands at the offset.
  std::string bytes;
  if (!ReadAllBytes(fd, size, bytes)) return false;
  input = DecodeWholeInput(std::move(bytes), charset, raw);
  return true;
}

DecodedInput ReadInput(const std::string& inputFile, std::optional<Charset> charset, bool raw, bool lossy,
                       std::optional<std::string> held) {
  if (held) return DecodeInput(std::move(*held), charset, raw, lossy);
  DecodedInput input;
  if (IsStandardStream(inputFile)) {
    struct stat info;
    const off_t at =
        ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode) ? ::lseek(STDIN_FILENO, 0, SEEK_CUR) : -1;
    if (at < 0) return DecodeInput(ReadStandardInput(), charset, raw, lossy);
    if (!DecodeRegularFile(STDIN_FILENO, at, charset, raw, lossy, input))
      throw ReadFailed(std::string("cannot read standard input: ") + std::strerror(errno));
    return input;
  }
  std::string why;
  const int fd = OpenForReading(FromUtf8(inputFile), &why);
  if (fd < 0) throw UsageError("cannot read the input file \"" + inputFile + "\": " + why);
  struct stat info;
  bool ok = true;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    ok = DecodeRegularFile(fd, 0, charset, raw, lossy, input);
  } else {
    std::string bytes;
    ok = ReadAllBytes(fd, 0, bytes);
    if (ok) input = DecodeInput(std::move(bytes), charset, raw, lossy);
  }
  const int readError = errno;
  ::close(fd);
  if (!ok) throw UsageError("cannot read the input file \"" + inputFile + "\": " + std::strerror(readError));
  return input;
}

// The output is encoded and written a slice at a time; a file is replaced only once all of it is written.
// Nothing is written when a character cannot be encoded without loss.
void WriteOutput(const std::string& outputFile, TextView text, StreamFormat format, bool raw, bool lossy) {
  size_t replaced = 0;
  size_t unencodable = std::string::npos;
  if (IsStandardStream(outputFile)) {
    unencodable = EncodeOutputInSlices(
        text, format, raw, lossy, [](std::string_view bytes) { WriteStandardOutput(bytes); }, &replaced);
  } else {
    AtomicFileWriter writer;
    bool ok = writer.Open(FromUtf8(outputFile));
    if (ok)
      unencodable = EncodeOutputInSlices(
          text, format, raw, lossy, [&](std::string_view bytes) { ok = ok && writer.Write(bytes); },
          &replaced);
    if (unencodable == std::string::npos && (!ok || !writer.Commit()))
      throw UsageError("cannot write the output file \"" + outputFile + "\"");
  }
  if (unencodable != std::string::npos)
    throw LossRefused(UnencodableOutputMessage(text, unencodable, format.charset));
  if (replaced > 0) std::cerr << "scrivano-cli: " << ReplacedMessage(replaced, true, format.charset) << '\n';
}

// Whether two paths name one file: the same device and inode, or, while neither exists yet, the same
// place once links and dots are resolved.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  const bool aExists = ::stat(a.c_str(), &first) == 0;
  const bool bExists = ::stat(b.c_str(), &second) == 0;
  if (aExists || bExists)
    return aExists && bExists && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  std::error_code error;
  const std::filesystem::path placeA = std::filesystem::weakly_canonical(a, error);
  if (error) return false;
  const std::filesystem::path placeB = std::filesystem::weakly_canonical(b, error);
  return !error && placeA == placeB;
}

// Refuses, before anything is written, a transcript that is the same file as the input, the output or
// the parameter file (also through other names or the redirected standard streams), and an output that
// is a loop of symbolic links.
void CheckFiles(const RunOptions& options) {
  struct stat info;
  if (!IsStandardStream(options.outputFile) && ::stat(options.outputFile.c_str(), &info) != 0 &&
      errno == ELOOP)
    throw UsageError("cannot write the output file \"" + options.outputFile +
                     "\": its symbolic links form a loop");
  if (options.transcriptFile.empty()) return;
  const std::pair<const std::string*, int> others[] = {
      {&options.inputFile, STDIN_FILENO}, {&options.outputFile, STDOUT_FILENO}, {&options.configFile, -1}};
  for (const auto& [file, stream] : others) {
    struct stat other;
    const bool same = IsStandardStream(*file)
                          ? stream >= 0 && ::fstat(stream, &other) == 0 && S_ISREG(other.st_mode) &&
                                ::stat(options.transcriptFile.c_str(), &info) == 0 &&
                                other.st_dev == info.st_dev && other.st_ino == info.st_ino
                          : SameFile(options.transcriptFile, *file);
    if (same)
      throw UsageError("the transcript file \"" + options.transcriptFile + "\" is the same file as the " +
                       (stream == STDIN_FILENO    ? "input"
                        : stream == STDOUT_FILENO ? "output"
                                                  : "parameter file"));
  }
}

// Refuses input that could not be decoded without loss, or says how much became U+FFFD with lossy.
void CheckDecoded(const DecodedInput& input, bool detected, bool lossy) {
  if (input.replaced == 0) return;
  if (!lossy) throw LossRefused(UndecodableInputMessage(input, detected));
  std::cerr << "scrivano-cli: " << ReplacedMessage(input.replaced, false, input.format.charset) << '\n';
}

// UTF-8 unless an encoding is named for the output (--output-encoding, or --encoding for both), or the
// input's is kept with its mark.
StreamFormat OutputFormat(const RunOptions& options, StreamFormat input) {
  if (options.keepEncoding) return input;
  const std::string& named = options.outputEncoding.empty() ? options.encoding : options.outputEncoding;
  return {CharsetFromName(named).value_or(Charset::kUtf8), false};
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
    std::string probe, why;
    if (!ReadFileBytes(parameterFile, probe, &why))
      throw UsageError("cannot read the parameter file \"" + options.configFile + "\": " + why);
  } else {
    const ProgramPaths paths = ResolveProgramPaths(OwnProgramFile());
    InstallDefaultParameterFile(paths);
    parameterFile = paths.parameterFile;
  }
  Parameters().SetParameterFile(parameterFile);
  if (!Parameters().LoadParameters(kParameterCount))
    std::cerr << "scrivano-cli: the parameter file \"" << ToUtf8(parameterFile)
              << "\" could not be read as one (no [PARAMETERS] section): every parameter is empty\n";
  for (const auto& [k, value] : overrides) Parameters().SetValue(k, value);
}

void OpenTranscript(const RunOptions& options, std::ofstream& transcriptFile) {
  if (options.transcriptFile.empty()) return;
  transcriptFile.open(options.transcriptFile, std::ios::binary | std::ios::trunc);
  if (!transcriptFile)
    throw UsageError("cannot write the transcript file \"" + options.transcriptFile + "\"");
}

void ReportUnusedAnswers(size_t unused) {
  if (unused > 0)
    std::cerr << "scrivano-cli: " << unused << (unused == 1 ? " answer was" : " answers were")
              << " not used\n";
}

void CloseTranscript(std::ofstream& transcriptFile) {
  if (!transcriptFile.is_open()) return;
  transcriptFile.close();
  if (!transcriptFile) throw WriteFailed("cannot write the transcript");
}

// Runs the entry on the input's bytes when it has an operation on them, the output is UTF-8 and the input
// turns out to be UTF-8 that decodes without loss; the result is then the decoded text's, byte for byte.
// False when the entry is to run on the decoded text instead; held then has the input's bytes when they
// could be read only once (a pipe) or were read whole already.
bool RunOnBytes(const RunOptions& options, const FunctionEntry& entry, std::optional<Charset> inputCharset,
                std::optional<std::string>& held) {
  if ((inputCharset && *inputCharset != Charset::kUtf8) ||
      (!options.keepEncoding && OutputFormat(options, {}).charset != Charset::kUtf8))
    return false;
  // The option the entry's question will be answered with, read as the question reads it.
  int option = 0;
  if (AsksOption(entry.number)) {
    if (options.answers.empty() || options.answers.front() == kCancelAnswer) return false;
    option = WideToInt(FromUtf8(options.answers.front()));
  }
  ByteWriter toOutput;  // set once the output is open
  std::unique_ptr<ByteOperation> operation = OperationOnBytes(
      entry.number, option, options.raw, [&toOutput](std::string_view bytes) { toOutput(bytes); });
  if (!operation) return false;

  ByteInput input;
  int opened = -1;
  struct stat info;
  if (IsStandardStream(options.inputFile)) {
    input.at =
        ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode) ? ::lseek(STDIN_FILENO, 0, SEEK_CUR) : -1;
    if (input.at >= 0) {
      input.fd = STDIN_FILENO;
    } else {
      input.at = 0;
      input.bytes = ReadStandardInput();
      input.held = true;
    }
  } else {
    std::string why;
    opened = OpenForReading(FromUtf8(options.inputFile), &why);
    if (opened < 0) throw UsageError("cannot read the input file \"" + options.inputFile + "\": " + why);
    input.fd = opened;
    if (::fstat(opened, &info) != 0 || !S_ISREG(info.st_mode)) {
      const bool read = ReadAllBytes(opened, 0, input.bytes);
      const int readError = errno;
      ::close(opened);
      if (!read)
        throw UsageError("cannot read the input file \"" + options.inputFile +
                         "\": " + std::strerror(readError));
      opened = input.fd = -1;
      input.held = true;
    }
  }
  const auto readFailed = [&](const std::string& why) {
    if (opened >= 0) ::close(opened);
    if (IsStandardStream(options.inputFile)) throw ReadFailed("cannot read standard input: " + why);
    throw UsageError("cannot read the input file \"" + options.inputFile + "\": " + why);
  };
  const ByteCheck check = CheckInputBytes(input, !inputCharset, operation->TakesWhole(), entry.number == 8);
  if (check == ByteCheck::kReadError) readFailed(std::strerror(errno));
  if (check == ByteCheck::kNotUtf8) {
    if (opened >= 0) ::close(opened);
    if (input.held) held = std::move(input.bytes);
    return false;
  }
  if (input.loneCarriageReturn) {
    // Carriage returns of the text's own: entry 8 then looks at the whole text.
    operation = OperationOnBytes(
        entry.number, option, options.raw, [&toOutput](std::string_view bytes) { toOutput(bytes); }, true);
    if (operation->TakesWhole() && !HoldWhole(input)) readFailed(std::strerror(errno));
  }

  std::ofstream transcriptFile;
  OpenTranscript(options, transcriptFile);
  ScriptedPrompts prompts(std::deque<std::string>(options.answers.begin(), options.answers.end()),
                          transcriptFile.is_open() ? &transcriptFile : nullptr, std::cerr);
  SetPromptHandler(&prompts);
  struct PromptsOff {
    ~PromptsOff() { SetPromptHandler(nullptr); }
  } promptsOff;
  if (AsksOption(entry.number)) {
    int asked = 0;
    AskAlignOption(asked);  // the same question, answered as foreseen
  }
  const StreamFormat format =
      options.keepEncoding ? StreamFormat{Charset::kUtf8, input.mark} : StreamFormat{};
  AtomicFileWriter writer;
  bool ok = IsStandardStream(options.outputFile) || writer.Open(FromUtf8(options.outputFile));
  Utf8Output output(options.raw, [&](std::string_view bytes) {
    if (IsStandardStream(options.outputFile))
      WriteStandardOutput(bytes);
    else
      ok = ok && writer.Write(bytes);
  });
  toOutput = [&output](std::string_view bytes) { output.Write(bytes); };
  if (format.byteOrderMark) output.Write(ByteOrderMark(Charset::kUtf8));
  const ByteRun run = RunOperation(input, *operation);
  if (run == ByteRun::kReadError) readFailed(std::strerror(errno));
  if (run == ByteRun::kChanged) readFailed("it changed while it was read");
  if (opened >= 0) ::close(opened);
  output.Flush();
  SetPromptHandler(nullptr);
  if (!IsStandardStream(options.outputFile) && (!ok || !writer.Commit()))
    throw UsageError("cannot write the output file \"" + options.outputFile + "\"");
  ReportUnusedAnswers(prompts.UnusedAnswers());
  CloseTranscript(transcriptFile);
  return true;
}

int Run(const RunOptions& options) {
  const FunctionEntry* entry = FindFunctionEntry(options.entry);
  if (!entry) throw UsageError("unknown entry \"" + options.entry + "\" (see scrivano-cli list)");
  if (!entry->run)
    throw UsageError("\"" + ToUtf8(entry->itemText) + "\" needs " + entry->needs + "; it cannot run here");
  const std::optional<Charset> inputCharset = CharsetFromName(options.encoding);

  CheckFiles(options);
  LoadRunParameters(options);
  std::optional<std::string> held;
  if (RunOnBytes(options, *entry, inputCharset, held)) return kExitRan;
  Text workingText;
  StreamFormat outputFormat;
  {
    DecodedInput input =
        ReadInput(options.inputFile, inputCharset, options.raw, options.lossy, std::move(held));
    CheckDecoded(input, !inputCharset, options.lossy);
    outputFormat = OutputFormat(options, input.format);
    workingText = std::move(input.text);
  }

  std::ofstream transcriptFile;
  OpenTranscript(options, transcriptFile);
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
  WebPagesSummary pages;
  if (entry->number == 6)
    InstallWebPageExtractor(ToUtf8(ResolveProgramPaths(OwnProgramFile()).companionProgram), pages);
  bool handBack = false;
  try {
    handBack = entry->run(context);
  } catch (...) {
    SetPromptHandler(nullptr);
    SetWebPageExtractor({});
    throw;
  }
  SetPromptHandler(nullptr);
  SetWebPageExtractor({});
  if (handBack) WriteOutput(options.outputFile, workingText, outputFormat, options.raw, options.lossy);
  ReportUnusedAnswers(prompts.UnusedAnswers());
  CloseTranscript(transcriptFile);
  if (pages.NothingRead()) {
    std::cerr << "scrivano-cli: not one of the web pages could be read\n";
    return kExitNoPage;
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
  scrivano::RemoveTemporaryFilesOnSignals();

  CLI::App app{"scrivano-cli: run Scrivano's text functions on a file or a pipe"};
  app.require_subcommand(1);
  app.footer(kExitStatuses);
  CLI::App* list = app.add_subcommand("list", "the nineteen Function List entries");
  CLI::App* run = app.add_subcommand("run", "run one entry on the input text");
  run->footer(kExitStatuses);
  RunOptions options;
  run->add_option(
         "ENTRY", options.entry,
         "a Function List number 0-18, or a name: align clean-tags combine delete-lines ending-lines "
         "trados link-lines lowercase uppercase remove-empty-lines split-en-zh split-lines "
         "trados-to-pairs word-processing extract-phrases")
      ->required();
  run->add_option("--input", options.inputFile, "input file (default: standard input)");
  run->add_option("--output", options.outputFile, "output file (default: standard output)");
  const auto named = [](bool orAuto) {
    return CLI::Validator(
        [orAuto](std::string& name) -> std::string {
          if ((orAuto && name == "auto") || scrivano::CharsetFromName(name)) return {};
          return "not an encoding: " + name;
        },
        orAuto ? "auto|utf8|utf16le|utf16be|gb18030|big5" : "utf8|utf16le|utf16be|gb18030|big5");
  };
  run->add_option("--encoding", options.encoding,
                  "encoding of the input (also of the output when named): auto (by its bytes), or one named "
                  "(gbk, gb2312, cp936 read as gb18030; cp950 as big5)")
      ->check(named(true));
  CLI::Option* outputEncoding =
      run->add_option("--output-encoding", options.outputEncoding, "encoding of the output (default: utf8)")
          ->check(named(false));
  run->add_flag("--keep-encoding", options.keepEncoding,
                "write the output in the input's encoding, with its byte-order mark if it had one")
      ->excludes(outputEncoding);
  run->add_flag(
      "--lossy", options.lossy,
      "go on where text would be lost: input bytes that cannot be decoded become U+FFFD, characters "
      "the output encoding lacks become ? (U+FFFD in UTF-8); without it, exit status 4");
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
  } catch (const LossRefused& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitLoss;
  } catch (const NoPageRead& e) {
    std::cerr << "scrivano-cli: " << e.what() << '\n';
    return kExitNoPage;
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
