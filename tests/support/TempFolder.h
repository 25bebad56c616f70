// A private temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <string>

#include "text/Text.h"

namespace scrivano::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // path/name as a Text.
  Text File(const std::string& name) const;
  void WriteBytes(const std::string& name, const std::string& bytes) const;
  std::string ReadBytes(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace scrivano::test
