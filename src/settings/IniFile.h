// An initialisation file with the rules of the Windows profile functions that Scrivano relies on:
// - the file is UTF-16 with its mark, or 8-bit text: UTF-8 (with or without its mark), else GB18030 or
//   Big5, and is written back in the encoding it came in;
// - section and key names match case-insensitively (ASCII letters);
// - the first matching section is searched, and the first occurrence of a key in it wins;
// - white space around the key and the value is removed, then one pair of matching surrounding quotes;
// - a value is cut to 65,535 characters (the 65,536-character buffer with its terminator).
#pragma once

#include <vector>

#include "text/Text.h"
#include "text/TextEncodings.h"

namespace scrivano {

inline constexpr char16_t kIniLineBreak[] = u"\r\n";
inline constexpr int kIniValueLimit = 65535;

class IniFile {
 public:
  // A missing or unreadable file loads as an empty one.
  static IniFile Load(TextView path);
  static IniFile FromBytes(std::string_view bytes);

  // The value of key in section, or the empty text.
  Text Value(TextView section, TextView key) const;
  bool HasSection(TextView section) const;

  // Sets one key, keeping every other line as it was. An existing key (first occurrence in the first
  // matching section) is rewritten in place; a new key goes after the last non-blank line of the
  // section; a new section goes at the end.
  void SetValue(TextView section, TextView key, TextView value);

  // The file's bytes in its own encoding; with a byte-order mark (UTF-8, else UTF-16LE) when a value holds
  // a character that encoding cannot store, or when the new bytes would no longer read as that encoding.
  std::string ToBytes() const;
  // The encoding as read; the line breaks are kept line by line, whatever lineBreak says.
  const TextFormat& Format() const { return format_; }

 private:
  size_t LineCount() const { return starts_.size() - 1; }
  // A line without its break, and its own break: "\r\n", "\n", "\r" or "" for the last line.
  TextView LineText(size_t i) const;
  TextView LineEnding(size_t i) const;
  TextView LineWithEnding(size_t i) const;
  void ReplaceLineText(size_t i, TextView text);
  // Inserts a line before line i (at the end for i == LineCount()).
  void InsertLine(size_t i, TextView text, TextView ending);
  // Gives the last line a break when it has none.
  void EndLastLine(TextView lineBreak);
  void ChangeValue(TextView section, TextView key, TextView value);
  // Finds the section headers again after a change.
  void IndexHeaders();
  // Index range [first, last) of the first section named section's lines (after its header), or
  // first == -1 when the file has no such section.
  void FindSection(TextView section, int& first, int& last) const;

  // The whole text, each line followed by its own break, and where each line starts (with the text's end
  // as the last entry): a few bytes per line, however short the lines are.
  Text text_;
  std::vector<size_t> starts_{0};
  std::vector<size_t> headers_;  // the lines that are section headers
  TextFormat format_;
};

// Writes one key to the file at path (created when missing) without a half-written file ever standing in
// its place. Returns false when it could not be written; nothing is shown to the user.
bool WriteIniValue(TextView path, TextView section, TextView key, TextView value);

}  // namespace scrivano
