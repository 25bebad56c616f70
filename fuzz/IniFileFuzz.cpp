// The parameter-file reader on any bytes: parse, look up, set a key and write the file back; reading the
// written bytes again must give the value that was set.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  scrivano::IniFile file = scrivano::IniFile::FromBytes(bytes);
  (void)file.Value(u"PARAMETERS", u"1");
  (void)file.Value(u"DIMENSIONS", u"Left");
  file.SetValue(u"PARAMETERS", u"7", u"x=y");
  file.SetValue(u"New Section", u"key", u"value");
  const scrivano::IniFile reread = scrivano::IniFile::FromBytes(file.ToBytes());
  if (reread.Value(u"New Section", u"key") != u"value") std::abort();
  return 0;
}
