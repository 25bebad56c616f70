// Generated realistic inputs for benchmarks: mixed English/Chinese lines as a translator's files hold
// them. When the shared translation memory is at hand (SCRIVANO_CORPUS or ../shared/corpus), its
// segments are used; otherwise a fixed built-in sample, and the benchmark says so once.
#pragma once

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "text/Text.h"

namespace scrivano::bench {

inline std::vector<Text> SampleSegments() {
  static const std::vector<Text> segments = [] {
    std::vector<Text> found;
    const char* env = std::getenv("SCRIVANO_CORPUS");
    const std::string folder = env ? env : std::string(SCRIVANO_SOURCE_DIR) + "/../shared/corpus";
    std::ifstream in(folder + "/tico19-en-zh.tmx", std::ios::binary);
    const std::string tmx((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t at = tmx.find("<seg>"); at != std::string::npos && found.size() < 4000;
         at = tmx.find("<seg>", at + 5)) {
      const size_t end = tmx.find("</seg>", at);
      if (end == std::string::npos) break;
      found.push_back(FromUtf8(tmx.substr(at + 5, end - at - 5)));
    }
    if (found.empty()) {
      std::fprintf(stderr, "note: corpus not found in %s; using the built-in sample text\n", folder.c_str());
      found = {u"About how long have these symptoms been going on?", u"这些症状已持续多长时间？",
               u"And all chest pain should be treated this way, especially with your age.",
               u"各种胸痛均应采取这种方法进行治疗，尤其要考虑年龄因素。", u"COVID-19 (coronavirus disease 2019)",
               u"2019 冠状病毒病（COVID-19）是由 SARS-CoV-2 引起的。"};
    }
    return found;
  }();
  return segments;
}

// About size bytes of UTF-16 text (size / 2 code units): segments one per line, "\r\n" separated.
inline Text MixedText(size_t size) {
  const auto segments = SampleSegments();
  Text text;
  text.reserve(size / 2 + 256);
  for (size_t i = 0; text.size() * 2 < size; ++i) {
    text += segments[i % segments.size()];
    text += u"\r\n";
  }
  return text;
}

// The text as XML character data, for documents built by hand: "&", "<" and ">" escaped.
inline std::string XmlEscaped(const Text& text) {
  std::string out;
  for (const char ch : ToUtf8(text)) {
    if (ch == '&')
      out += "&amp;";
    else if (ch == '<')
      out += "&lt;";
    else if (ch == '>')
      out += "&gt;";
    else
      out += ch;
  }
  return out;
}

}  // namespace scrivano::bench
