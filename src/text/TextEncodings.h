// The encodings of the text files translators exchange, and how a file's bytes are told apart: Unicode
// with or without a byte-order mark, and the two Chinese Windows code pages, GB18030 (which covers GBK and
// GB2312) and Big5. Conversions to and from the code pages go through iconv.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/LineBreaks.h"
#include "text/Text.h"

namespace scrivano {

enum class Charset { kUtf8, kUtf16Le, kUtf16Be, kGb18030, kBig5 };

// How a file's text is stored, so that it can be written back as it came.
struct TextFormat {
  Charset charset = Charset::kUtf8;
  bool byteOrderMark = false;
  LineBreak lineBreak = LineBreak::kCrLf;

  bool operator==(const TextFormat&) const = default;
};

// "UTF-8", "UTF-16LE", "UTF-16BE", "GB18030", "Big5": the names shown to the user.
std::string_view CharsetName(Charset charset);
// A name as a user types it, in any letter case, with or without a hyphen: utf8, utf16le, utf16be,
// gb18030 (also gbk, gb2312, cp936), big5 (also cp950).
std::optional<Charset> CharsetFromName(std::string_view name);
// The byte-order mark of a Unicode encoding; empty for the code pages, whose files have none.
std::string_view ByteOrderMark(Charset charset);

// How the bytes of a text file are read when nothing else is known. A byte-order mark decides; then zero
// bytes standing where UTF-16 puts the high (or low) byte of ASCII characters mean UTF-16 without a mark;
// then bytes that are valid UTF-8 are UTF-8, and so are bytes with a few faults among many well-formed
// UTF-8 sequences (read with loss); the rest is GB18030 or Big5, whichever the character-set detector
// names, and GB18030 when it names neither. The line break is the one the bytes use most.
TextFormat DetectTextFormat(std::string_view bytes);

// What decoding a file gave: the text (without the mark), and where the bytes did not fit the encoding.
struct DecodedText {
  Text text;
  TextFormat format;
  // How many ill-formed sequences became U+FFFD, and the byte offset of the first (from the start of the
  // bytes given, mark included); npos when there is none.
  size_t replaced = 0;
  size_t firstBadByte = std::string::npos;

  bool Lossless() const { return replaced == 0; }
};

// Decodes a file's bytes by DetectTextFormat.
DecodedText DecodeTextFile(std::string_view bytes);
// Decodes them as charset says; the charset's mark at the start is skipped (and recorded in the format).
DecodedText DecodeTextFile(std::string_view bytes, Charset charset);

// The bytes of text in format: its mark, its line breaks (the text's "\r\n" become format.lineBreak), its
// encoding. When a character cannot be stored in the charset, returns false with firstUnencodable (when
// given) at its index in text; bytes is then unspecified. Unicode encodings store every text (a lone
// surrogate goes to UTF-8 as U+FFFD, and the text is then reported as not stored).
bool EncodeTextFile(TextView text, const TextFormat& format, std::string& bytes,
                    size_t* firstUnencodable = nullptr);

// The plain conversions. Decoding turns each ill-formed sequence into U+FFFD and returns how many there
// were, firstBad (when given) receiving the offset of the first (npos when none). Encoding returns the
// index of the first character the charset cannot hold, npos when it holds all.
size_t DecodeBytes(std::string_view bytes, Charset charset, Text& text, size_t* firstBad = nullptr);
size_t EncodeText(TextView text, Charset charset, std::string& bytes);

}  // namespace scrivano
