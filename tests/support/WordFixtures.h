// Documents for the engine's tests, made and read back by programs other than the engine: python3-docx
// (Debian's package, which belongs to /usr/bin/python3) and LibreOffice's headless converter. Each
// LibreOffice call gets a profile folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace scrivano::test {

bool HavePythonDocx();
bool HaveOffice();

// Writes a .docx at path from a python3-docx script. The script sees `d` (a new docx.Document()), the
// names imported by the prelude in WordFixtures.cpp and `picture()` (a small PNG for add_picture); the
// document is saved after it. Fails the calling test when Python reports an error.
bool MakeDocx(const std::string& path, const std::string& script);

// Runs a script over an existing document (`d` = docx.Document(path)) and returns what it prints; fails
// the calling test when python3-docx cannot read the document.
std::string ReadDocx(const std::string& path, const std::string& script);

// What LibreOffice reads from each document: its plain-text export (UTF-8, without the byte-order mark,
// lines ended by "\n"), one LibreOffice run for all of them. nullopt for a document it could not open.
std::vector<std::optional<std::string>> OfficeTexts(const std::vector<std::string>& paths);
std::optional<std::string> OfficeText(const std::string& path);
// The document as LibreOffice saves it in another format (for example "fodt", whose XML also holds the
// text of text boxes, which the plain-text export leaves out). nullopt when it could not open it.
std::optional<std::string> OfficeExport(const std::string& path, const std::string& format);

// The number of pages LibreOffice lays the document out on (through poppler's pdftotext); nullopt when
// either could not read it.
std::optional<int> OfficePageCount(const std::string& path);

// tests/data/word/<name>
std::string FixturePath(const std::string& name);

// Tests on documents made by python3-docx in a private folder; skipped when python3-docx is missing.
class DocxTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Makes folder/name with MakeDocx; returns its path.
  std::string Make(const std::string& name, const std::string& script);

  TempFolder folder_;
};

}  // namespace scrivano::test

#define SKIP_WITHOUT_PYTHON_DOCX()         \
  if (!::scrivano::test::HavePythonDocx()) \
  GTEST_SKIP() << "python3-docx for /usr/bin/python3 is not installed"
#define SKIP_WITHOUT_OFFICE() \
  if (!::scrivano::test::HaveOffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed"
