// Every text entry of the function table on any text, with scripted answers taken from the input.
// Input: one byte choosing the entry, then the answers, each ended by a 0x01 byte, up to a 0x00 byte, then
// the text (UTF-8, line breaks converted as the runner does). Entries that read the files the text names
// (combine, word processing) are left out: their text is a list of paths.
#include <stdlib.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <deque>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ScriptedPrompts.h"
#include "cli/TextStreams.h"
#include "functions/FunctionTable.h"
#include "settings/ParameterStore.h"
#include "settings/ProgramPaths.h"
#include "text/FileBytes.h"
#include "toolkit/TextFiles.h"

namespace {

using namespace scrivano;

std::vector<const FunctionEntry*> TextEntries() {
  std::vector<const FunctionEntry*> entries;
  for (const FunctionEntry& entry : FunctionEntries())
    if (entry.run && entry.number != 3 && entry.number != 17) entries.push_back(&entry);
  if (const FunctionEntry* phrases = FindFunctionEntry("extract-phrases")) entries.push_back(phrases);
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  // The shipped parameters, from a private folder that is removed again at once.
  char folder[] = "/tmp/scrivano-fuzz-XXXXXX";
  if (!::mkdtemp(folder)) return 0;
  const Text file = FromUtf8(std::string(folder) + "/config.ini");
  WriteFileBytesAtomically(file, DefaultParameterFile());
  Parameters().SetParameterFile(file);
  Parameters().LoadParameters(kParameterCount);
  ::unlink(PathToNative(file).c_str());
  ::rmdir(folder);
  SetDocumentOpener([](TextView) { return false; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<const FunctionEntry*> entries = TextEntries();
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const FunctionEntry& entry = *entries[data[0] % entries.size()];

  std::deque<std::string> answers;
  const size_t end = rest.find('\0');
  std::string_view script = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  while (!script.empty()) {
    const size_t stop = script.find('\1');
    answers.emplace_back(script.substr(0, stop));
    script = stop == std::string_view::npos ? std::string_view() : script.substr(stop + 1);
  }

  std::ostringstream log;
  cli::ScriptedPrompts prompts(std::move(answers), nullptr, log);
  SetPromptHandler(&prompts);
  Text workingText = cli::DecodeInput(std::string(rest), Charset::kUtf8, false, true).text;
  TaskContext context;
  context.workingText = &workingText;
  try {
    if (entry.run(context)) (void)cli::EncodeOutput(workingText, cli::StreamFormat(), false);
  } catch (const cli::NoAnswerLeft&) {
  } catch (const cli::BadAnswer&) {
  } catch (const DesktopUnavailable&) {
    // An entry that reaches for other programs' windows or the companion stops here, as in the runner.
  }
  SetPromptHandler(nullptr);
  return 0;
}
