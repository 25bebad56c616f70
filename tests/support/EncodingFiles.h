// The text files of tests/data/encodings (see the README there): one of each encoding translators
// exchange.
#pragma once

#include <string>

#include "text/FileBytes.h"

namespace scrivano::test {

// The file's bytes; empty when it cannot be read.
inline std::string EncodingsFile(const std::string& name) {
  std::string bytes;
  ReadFileBytes(FromUtf8(std::string(SCRIVANO_TEST_DATA) + "/encodings/" + name), bytes);
  return bytes;
}

// The text of gbk-crlf.txt in UTF-8, its line breaks as "\n".
inline constexpr char kGbkFileText[] =
    "这种疼痛是从您胸部延伸出来的吗？\n多喝水\n您发热达到多少度\n我还有咳嗽症状\n我有点感冒而且咳嗽\n"
    "今天我的胸部真的很痛\n";

}  // namespace scrivano::test
