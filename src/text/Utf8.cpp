#include "text/Utf8.h"

#include <cstdint>


namespace scrivano {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Number of continuation bytes and the valid range of the second byte for a lead byte
// (Unicode Table 3-7, well-formed UTF-8 byte sequences).
struct LeadInfo {
  int continuation;
  unsigned char secondLow;
  unsigned char secondHigh;
};

bool Lead(unsigned char b, LeadInfo& info) {
  if (b >= 0xC2 && b <= 0xDF) return info = {1, 0x80, 0xBF}, true;
  if (b == 0xE0) return info = {2, 0xA0, 0xBF}, true;
  if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) return info = {2, 0x80, 0xBF}, true;
  if (b == 0xED) return info = {2, 0x80, 0x9F}, true;
  if (b == 0xF0) return info = {3, 0x90, 0xBF}, true;
  if (b >= 0xF1 && b <= 0xF3) return info = {3, 0x80, 0xBF}, true;
  if (b == 0xF4) return info = {3, 0x80, 0x8F}, true;
  return false;
}

}  // namespace

void AppendUtf8AsUtf16(std::string_view bytes, std::u16string& out) {
  out.reserve(out.size() + bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    LeadInfo info;
    if (!Lead(b, info)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    uint32_t cp = b & (0x3F >> info.continuation);
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < info.continuation; ++k, ++j) {
      const unsigned char lo = k == 0 ? info.secondLow : 0x80;
      const unsigned char hi = k == 0 ? info.secondHigh : 0xBF;
      if (j >= n || p[j] < lo || p[j] > hi) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (p[j] & 0x3F);
    }
    if (!ok) {
      out.push_back(kReplacement);  // the maximal valid prefix counts as one error
      i = j;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i = j;
  }
}

void AppendUtf16AsUtf8(std::u16string_view text, std::string& out) {
  out.reserve(out.size() + text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
}

}  // namespace scrivano
