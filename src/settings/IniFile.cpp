#include "settings/IniFile.h"

#include "text/FileBytes.h"

namespace scrivano {
namespace {

char16_t FoldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
}

bool EqualsNoCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// "[name]" with optional white space before the bracket; the name is the text up to "]", trimmed.
bool SectionName(TextView line, Text& name) {
  // Most lines are no header: tell so without copying them.
  size_t first = 0;
  while (first < line.size() && IsWhiteSpace(line[first])) ++first;
  if (first == line.size() || line[first] != u'[') return false;
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
  DecodedText decoded = DecodeTextFile(bytes);
  file.format_ = decoded.format;
  Text& text = decoded.text;
  // Lines end at "\r\n", "\n" or "\r"; the text keeps the breaks and starts_ records where lines begin.
  size_t lines = 1;
  for (char16_t ch : text) lines += ch == u'\r' || ch == u'\n';
  file.starts_.reserve(lines + 1);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of(u"\r\n", start);
    if (end == Text::npos) {
      start = text.size();
    } else {
      start = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
    file.starts_.push_back(start);
  }
  file.text_ = std::move(text);
  file.IndexHeaders();
  return file;
}

TextView IniFile::LineText(size_t i) const {
  const TextView line = LineWithEnding(i);
  return line.substr(0, line.size() - LineEnding(i).size());
}

TextView IniFile::LineEnding(size_t i) const {
  const TextView line = LineWithEnding(i);
  size_t n = 0;
  while (n < line.size() && n < 2 &&
         (line[line.size() - 1 - n] == u'\r' || line[line.size() - 1 - n] == u'\n'))
    ++n;
  // "\n\n" would be two lines; only "\r\n" is one break of two characters.
  if (n == 2 && line.substr(line.size() - 2) != u"\r\n") n = 1;
  return line.substr(line.size() - n);
}

TextView IniFile::LineWithEnding(size_t i) const {
  return TextView(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
}

void IniFile::ReplaceLineText(size_t i, TextView text) {
  const size_t oldLength = LineText(i).size();
  text_.replace(starts_[i], oldLength, text);
  for (size_t j = i + 1; j < starts_.size(); ++j) starts_[j] = starts_[j] - oldLength + text.size();
}

void IniFile::InsertLine(size_t i, TextView text, TextView ending) {
  Text line(text);
  line.append(ending);
  text_.insert(starts_[i], line);
  starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(i), starts_[i]);
  for (size_t j = i + 1; j < starts_.size(); ++j) starts_[j] += line.size();
}

void IniFile::EndLastLine(TextView lineBreak) {
  if (LineCount() == 0 || !LineEnding(LineCount() - 1).empty()) return;
  text_.append(lineBreak);
  starts_.back() = text_.size();
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
  for (const size_t header : headers_) {
    const int i = static_cast<int>(header);
    if (first >= 0) {
      last = i;
      return;
    }
    SectionName(LineText(header), name);
    if (EqualsNoCase(name, section)) first = i + 1;
  }
  if (first >= 0) last = static_cast<int>(LineCount());
}

void IniFile::IndexHeaders() {
  headers_.clear();
  Text name;
  for (size_t i = 0; i < LineCount(); ++i)
    if (SectionName(LineText(i), name)) headers_.push_back(i);
}

Text IniFile::Value(TextView section, TextView key) const {
  int first, last;
  FindSection(section, first, last);
  Text lineKey, value;
  for (int i = first; first >= 0 && i < last; ++i) {
    if (KeyValue(LineText(static_cast<size_t>(i)), lineKey, value) && EqualsNoCase(lineKey, key)) {
      if (value.size() > kIniValueLimit) value.resize(kIniValueLimit);
      return value;
    }
  }
  return Text();
}

void IniFile::SetValue(TextView section, TextView key, TextView value) {
  ChangeValue(section, key, value);
  IndexHeaders();
}

void IniFile::ChangeValue(TextView section, TextView key, TextView value) {
  const Text newLine = Text(key) + u"=" + Text(value);
  const Text lineBreak =
      LineCount() == 0 || LineEnding(0).empty() ? Text(kIniLineBreak) : Text(LineEnding(0));
  int first, last;
  FindSection(section, first, last);
  if (first < 0) {
    EndLastLine(lineBreak);
    Text header(1, u'[');
    header.append(section).push_back(u']');
    InsertLine(LineCount(), header, lineBreak);
    InsertLine(LineCount(), newLine, lineBreak);
    return;
  }
  Text lineKey, oldValue;
  int lastFilled = first - 1;
  for (int i = first; i < last; ++i) {
    const TextView line = LineText(static_cast<size_t>(i));
    if (KeyValue(line, lineKey, oldValue) && EqualsNoCase(lineKey, key)) {
      ReplaceLineText(static_cast<size_t>(i), newLine);
      return;
    }
    if (!Trimmed(line).empty()) lastFilled = i;
  }
  if (static_cast<size_t>(lastFilled) + 1 == LineCount()) EndLastLine(lineBreak);
  InsertLine(static_cast<size_t>(lastFilled) + 1, newLine, lineBreak);
}

std::string IniFile::ToBytes() const {
  // The text keeps each line's own break, so the format changes none.
  TextFormat format = format_;
  format.lineBreak = LineBreak::kCrLf;
  std::string bytes;
  // A file without a mark was read by what its bytes showed; the new bytes must show the same, or a mark
  // says it for certain (UTF-8, or UTF-16LE for a text UTF-8 cannot hold).
  if (EncodeTextFile(text_, format, bytes)) {
    if (format.byteOrderMark) return bytes;
    const DecodedText reread = DecodeTextFile(bytes);
    if (reread.format.charset == format.charset && reread.text == text_) return bytes;
  }
  if (!EncodeTextFile(text_, {Charset::kUtf8, true}, bytes))
    EncodeTextFile(text_, {Charset::kUtf16Le, true}, bytes);
  return bytes;
}

bool WriteIniValue(TextView path, TextView section, TextView key, TextView value) {
  IniFile file = IniFile::Load(path);
  file.SetValue(section, key, value);
  return WriteFileBytesAtomically(path, file.ToBytes());
}

}  // namespace scrivano
