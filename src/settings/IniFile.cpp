#include "settings/IniFile.h"

#include "text/AnsiCodec.h"
#include "text/FileBytes.h"

namespace scrivano {
namespace {

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; }

bool EqualsNoCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// "[name]" with optional white space before the bracket; the name is the text up to "]", trimmed.
bool SectionName(TextView line, Text& name) {
  const Text trimmed = Trimmed(line);
  if (!trimmed.starts_with(u'[')) return false;
  const size_t close = trimmed.find(u']');
  if (close == Text::npos) return false;
  name = Trimmed(TextView(trimmed).substr(1, close - 1));
  return true;
}

bool KeyValue(TextView line, Text& key, Text& value) {
  const size_t equals = line.find(u'=');
  if (equals == TextView::npos) return false;
  key = Trimmed(line.substr(0, equals));
  value = Trimmed(line.substr(equals + 1));
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return true;
}

}  // namespace

IniFile IniFile::Load(TextView path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return IniFile();
  return FromBytes(bytes);
}

IniFile IniFile::FromBytes(std::string_view bytes) {
  IniFile file;
  Text text;
  if (bytes.starts_with("\xFF\xFE")) {
    file.encoding_ = IniEncoding::kUtf16WithMark;
    text = Utf16LeBytesToText(bytes.substr(2));
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    file.encoding_ = IniEncoding::kUtf8WithMark;
    text = FromUtf8(bytes.substr(3));
  } else {
    text = DecodeAnsi(bytes);
  }
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(u"\r\n", start);
    if (end == Text::npos) {
      file.lines_.push_back({text.substr(start), Text()});
      break;
    }
    const size_t endLength = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1;
    file.lines_.push_back({text.substr(start, end - start), text.substr(end, endLength)});
    start = end + endLength;
  }
  return file;
}

bool IniFile::HasSection(TextView section) const {
  int first, last;
  FindSection(section, first, last);
  return first >= 0;
}

void IniFile::FindSection(TextView section, int& first, int& last) const {
  first = -1;
  last = -1;
  Text name;
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    if (!SectionName(lines_[static_cast<size_t>(i)].text, name)) continue;
    if (first >= 0) {
      last = i;
      return;
    }
    if (EqualsNoCase(name, section)) first = i + 1;
  }
  if (first >= 0) last = static_cast<int>(lines_.size());
}

Text IniFile::Value(TextView section, TextView key) const {
  int first, last;
  FindSection(section, first, last);
  Text lineKey, value;
  for (int i = first; first >= 0 && i < last; ++i) {
    if (KeyValue(lines_[static_cast<size_t>(i)].text, lineKey, value) && EqualsNoCase(lineKey, key)) {
      if (value.size() > kIniValueLimit) value.resize(kIniValueLimit);
      return value;
    }
  }
  return Text();
}

void IniFile::SetValue(TextView section, TextView key, TextView value) {
  const Text newLine = Text(key) + u"=" + Text(value);
  const Text lineBreak = lines_.empty() || lines_.front().ending.empty() ? Text(kIniLineBreak)
                                                                         : lines_.front().ending;
  int first, last;
  FindSection(section, first, last);
  if (first < 0) {
    if (!lines_.empty() && lines_.back().ending.empty()) lines_.back().ending = lineBreak;
    Text header(1, u'[');
    header.append(section).push_back(u']');
    lines_.push_back({header, lineBreak});
    lines_.push_back({newLine, lineBreak});
    return;
  }
  Text lineKey, oldValue;
  int lastFilled = first - 1;
  for (int i = first; i < last; ++i) {
    Line& line = lines_[static_cast<size_t>(i)];
    if (KeyValue(line.text, lineKey, oldValue) && EqualsNoCase(lineKey, key)) {
      line.text = newLine;
      return;
    }
    if (!Trimmed(line.text).empty()) lastFilled = i;
  }
  Line& before = lines_[static_cast<size_t>(lastFilled)];
  if (before.ending.empty()) before.ending = lineBreak;
  lines_.insert(lines_.begin() + lastFilled + 1, Line{newLine, lineBreak});
}

std::string IniFile::ToBytes() const {
  Text text;
  for (const Line& line : lines_) text += line.text + line.ending;
  switch (encoding_) {
    case IniEncoding::kUtf16WithMark:
      return "\xFF\xFE" + TextToUtf16LeBytes(text);
    case IniEncoding::kUtf8WithMark:
      return "\xEF\xBB\xBF" + ToUtf8(text);
    case IniEncoding::kLocale:
      break;
  }
  return EncodeAnsi(text);
}

bool WriteIniValue(TextView path, TextView section, TextView key, TextView value) {
  IniFile file = IniFile::Load(path);
  file.SetValue(section, key, value);
  return WriteFileBytesAtomically(path, file.ToBytes());
}

}  // namespace scrivano
