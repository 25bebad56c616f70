// Damage done to a zip archive in memory, as a disk or a careless tool does it: for tests of how
// damaged document packages are read and written.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace scrivano::test {

inline unsigned LittleEndian(const std::string& zip, size_t at, int bytes) {
  unsigned value = 0;
  for (int i = bytes - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(zip[at + static_cast<size_t>(i)]);
  return value;
}

inline void SetLittleEndian(std::string& zip, size_t at, unsigned value) {
  for (int i = 0; i < 4; ++i) zip[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The offset of the entry's record in the archive's central directory.
inline size_t DirectoryRecord(const std::string& zip, const std::string& name) {
  for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 4))
    if (LittleEndian(zip, at + 28, 2) == name.size() && zip.compare(at + 46, name.size(), name) == 0)
      return at;
  ADD_FAILURE() << "no entry " << name;
  return 0;
}

// Sets the unpacked size the archive's directory gives for the entry (a forged size).
inline void ForgeUnpackedSize(std::string& zip, const std::string& name, unsigned size) {
  SetLittleEndian(zip, DirectoryRecord(zip, name) + 24, size);
}

// Gives the entry another checksum, in its local header and in the directory alike.
inline void ForgeChecksum(std::string& zip, const std::string& name) {
  const size_t record = DirectoryRecord(zip, name);
  const unsigned wrong = LittleEndian(zip, record + 16, 4) ^ 0x5A5A5A5Au;
  SetLittleEndian(zip, record + 16, wrong);
  SetLittleEndian(zip, LittleEndian(zip, record + 42, 4) + 14, wrong);
}

// Flips bytes in the middle of the entry's packed data.
inline void GarbleData(std::string& zip, const std::string& name) {
  const size_t local = LittleEndian(zip, DirectoryRecord(zip, name) + 42, 4);
  const size_t data = local + 30 + LittleEndian(zip, local + 26, 2) + LittleEndian(zip, local + 28, 2);
  const size_t packed = LittleEndian(zip, DirectoryRecord(zip, name) + 20, 4);
  for (size_t i = packed / 3; i < packed / 3 + 16 && i < packed; ++i) zip[data + i] ^= 0x55;
}

}  // namespace scrivano::test
