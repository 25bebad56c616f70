// A .docx file as a package of parts (a zip archive). Parts are read on demand from the bytes the package
// was opened with; saving writes the parts that were replaced and copies every other entry exactly as it
// was stored, so that whatever the engine does not touch (images, styles, headers, fields, comments,
// numbering, relationships) comes back byte for byte.
//
// Damage is never copied on: every part is checked against its stored size and checksum, whether it is
// read or only copied. A part that unpacks whole but to other bytes than its checksum says is written
// anew from what was read, and named (RebuiltParts); a part that cannot be unpacked whole, or unpacks to
// another size, fails the save with its name.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct zip;
struct zip_stat;

namespace scrivano::word {

// A package or a part that cannot be read or written; the message says why, for the user.
class DocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Limits on what a package may unpack to, against packing bombs: the size of one part read, the sum of
// the parts read, and how many times larger than its packed bytes a large part may be. Parts that are
// not read (pictures and the like) are copied as stored whatever their size.
inline constexpr unsigned long long kMaxPartBytes = 256ull << 20;
inline constexpr unsigned long long kMaxTotalBytes = 768ull << 20;
inline constexpr unsigned long long kRatioCheckedFrom = 32ull << 20;
inline constexpr unsigned long long kMaxCompressionRatio = 100;

class DocumentPackage {
 public:
  // An empty package, to which parts are then written.
  DocumentPackage();
  // Throws DocumentError when bytes are not a zip archive.
  explicit DocumentPackage(std::string bytes);
  ~DocumentPackage();
  DocumentPackage(const DocumentPackage&) = delete;
  DocumentPackage& operator=(const DocumentPackage&) = delete;

  bool HasPart(const std::string& name) const;
  // Throws DocumentError when the part is absent or damaged, or unpacks beyond the limits above.
  std::string ReadPart(const std::string& name) const;
  // Replaces or adds a part; it is compressed when the package is saved.
  void WritePart(const std::string& name, std::string bytes);
  // Entry names in archive order, parts added since at the end.
  const std::vector<std::string>& PartNames() const { return names_; }

  // The whole package as bytes. Throws DocumentError, also when a part of the original is damaged
  // beyond what a rebuild can mend.
  std::string Save() const;
  // The parts of the original whose data did not match their checksum and that the last Save wrote
  // anew from the bytes they unpacked to, in archive order.
  const std::vector<std::string>& RebuiltParts() const { return rebuilt_; }

 private:
  static constexpr unsigned long long kReadPiece = 4ull << 20;
  void CheckUnpackedSize(const std::string& name, const ::zip_stat& stat) const;
  // Unpacks the part at index whole, into bytes when given (else only to check it), and compares it
  // with its size and checksum. Throws DocumentError when it cannot be unpacked or unpacks to another
  // size; returns false when only the checksum differs.
  bool Unpack(const std::string& name, long long index, const ::zip_stat& stat, std::string* bytes) const;

  std::string original_;
  mutable unsigned long long unpacked_ = 0;  // by the parts read so far
  struct zip* archive_ = nullptr;            // reads original_
  std::vector<std::string> names_;
  std::map<std::string, std::string> written_;
  // What is known of the original's entries, by index: sound, or with a wrong checksum.
  mutable std::map<long long, bool> checksumMatches_;
  mutable std::vector<std::string> rebuilt_;
};

// "word/document.xml" -> "word/_rels/document.xml.rels"
std::string RelationshipPartFor(const std::string& partName);
// Resolves a relationship target against the folder of the part that holds the relationship.
std::string ResolvePartTarget(const std::string& partName, const std::string& target);
// "word/media/image1.png" -> "word/media"; "" for a part at the top.
std::string PartFolder(const std::string& partName);
// The part name's extension in lower case ("png"), or "".
std::string PartExtension(const std::string& partName);

}  // namespace scrivano::word
