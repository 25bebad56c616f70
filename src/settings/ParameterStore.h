// The 23 numbered parameters of section "PARAMETERS" in Data/config.ini.
//
// Thread rule: values are replaced wholesale on the user-interface thread (or the runner's main thread)
// and read from any thread. A reader always sees one whole set: it holds a shared snapshot while it reads.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "text/Text.h"

namespace scrivano {

// The index table: the parameter each role reads.
namespace Param {
inline constexpr int kTimerPeriod = 0;
inline constexpr int kLaunchMenu = 1;
inline constexpr int kClosedWindowTitles = 2;
inline constexpr int kProcessWatchLimit = 3;
inline constexpr int kMemoryMonitorLimit = 4;
inline constexpr int kDroppedLines = 5;
inline constexpr int kWesternChars = 6;
inline constexpr int kNeutralChars = 7;
inline constexpr int kSplitRunLengths = 8;
inline constexpr int kDeletedLineSubstrings = 9;
inline constexpr int kCombineOptions = 10;
inline constexpr int kBrowserRightClick = 11;
inline constexpr int kEscapeTitleWords = 12;
inline constexpr int kAutoTranslationClasses = 13;
inline constexpr int kAutoTranslationWait = 14;
inline constexpr int kTranslationPage = 15;
inline constexpr int kEntry0Report = 17;
inline constexpr int kWordMarker1 = 18;
inline constexpr int kWordMarker2 = 19;
inline constexpr int kHighlightPhrases = 20;
inline constexpr int kPhraseOptions = 21;
inline constexpr int kPhraseStopList = 22;
}  // namespace Param

inline constexpr int kParameterCount = 23;
inline constexpr char16_t kParameterSection[] = u"PARAMETERS";

// A window of the desktop, as an opaque number (an X11 window id on Linux); 0 is none.
using WindowHandle = std::uint64_t;

class ParameterValues {
 public:
  // The raw value of key "Para" + k; the empty text for an absent key or an index out of range.
  const Text& Value(int k) const;
  std::array<Text, kParameterCount> values;
};

class ParameterStore {
 public:
  ParameterStore();

  // Reads keys Para0 .. Para<count-1> of section PARAMETERS from the parameter file. A missing file or
  // key gives empty values.
  // False when the parameter file could not be read or holds no [PARAMETERS] section (every parameter is
  // then empty), so that the caller can say so once.
  bool LoadParameters(int count = kParameterCount);
  // Replaces one value (the runner's --param, tests).
  void SetValue(int k, TextView value);
  void SetAll(const std::array<Text, kParameterCount>& values);

  std::shared_ptr<const ParameterValues> Snapshot() const;
  // Bumped on every change, so that readers can keep a per-thread copy of the snapshot.
  std::uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }

  void SetParameterFile(TextView path);
  Text ParameterFile() const;

  std::atomic<WindowHandle> mainWindowHandle{0};

 private:
  void Publish(std::shared_ptr<const ParameterValues> values);

  mutable std::mutex mutex_;
  std::shared_ptr<const ParameterValues> values_;
  Text parameterFile_;
  std::atomic<std::uint64_t> generation_{1};
};

// The program-wide store, created on first use and living for the whole run.
ParameterStore& Parameters();

// The current values, cheap enough to call at every character.
std::shared_ptr<const ParameterValues> CurrentParameters();
Text ParameterText(int k);
// WideToInt of the raw value: leading white space, sign, digits; 0 when there is no number.
int ParameterInt(int k);
void LoadParameters(int count = kParameterCount);

// Reads one value of an initialisation file. source is the path of an existing file (when it has at most
// 260 characters) or else the text of an initialisation file itself; in the text form "\r\n" is put in
// front of source when it does not begin with one (the caller's text keeps the change). Returns true when
// a non-empty value was found; with complain set, "Could not find a parameter !" is shown otherwise.
bool ReadIniValue(Text& source, TextView section, TextView key, Text& value, bool complain);

}  // namespace scrivano
