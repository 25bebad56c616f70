#include "docx/DocumentPackage.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace scrivano::word {
namespace {

std::string ZipMessage(zip_error_t* error) {
  const std::string message = zip_error_strerror(error);
  zip_error_fini(error);
  return message;
}

struct SourceCloser {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourceHandle = std::unique_ptr<zip_source_t, SourceCloser>;

struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using FileHandle = std::unique_ptr<zip_file_t, FileCloser>;

std::string Megabytes(zip_uint64_t bytes) {
  return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

// A part that unpacks to many times its packed size, as only a packing bomb does; empty when it is not one.
std::string BombMessage(const std::string& name, const zip_stat_t& stat) {
  if (!(stat.valid & ZIP_STAT_COMP_SIZE) || stat.size <= kRatioCheckedFrom ||
      stat.size / std::max<zip_uint64_t>(stat.comp_size, 1) <= kMaxCompressionRatio)
    return {};
  return "part " + name + " unpacks to " + Megabytes(stat.size) + " from " + std::to_string(stat.comp_size) +
         " bytes: more than " + std::to_string(kMaxCompressionRatio) + " times, as only a packing bomb does";
}

// Reads what libzip wrote into an in-memory source after zip_close.
std::string DrainSource(zip_source_t* source) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(source, &stat) < 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(source) < 0)
    throw DocumentError("could not assemble the package");
  std::string bytes(stat.size, '\0');
  zip_uint64_t done = 0;
  while (done < stat.size) {
    const zip_int64_t got = zip_source_read(source, bytes.data() + done, stat.size - done);
    if (got <= 0) break;
    done += static_cast<zip_uint64_t>(got);
  }
  zip_source_close(source);
  if (done != stat.size) throw DocumentError("could not assemble the package");
  return bytes;
}

}  // namespace

DocumentPackage::DocumentPackage() = default;

DocumentPackage::DocumentPackage(std::string bytes) : original_(std::move(bytes)) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(original_.data(), original_.size(), 0, &error);
  if (!source) throw DocumentError("not a document package: " + ZipMessage(&error));
  archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (!archive_) {
    zip_source_free(source);
    throw DocumentError("not a document package: " + ZipMessage(&error));
  }
  zip_error_fini(&error);
  const zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (name) names_.emplace_back(name);
  }
}

DocumentPackage::~DocumentPackage() {
  if (archive_) zip_discard(archive_);
}

bool DocumentPackage::HasPart(const std::string& name) const {
  if (written_.count(name)) return true;
  return archive_ && zip_name_locate(archive_, name.c_str(), ZIP_FL_ENC_RAW) >= 0;
}

std::string DocumentPackage::ReadPart(const std::string& name) const {
  if (const auto found = written_.find(name); found != written_.end()) return found->second;
  const zip_int64_t index = archive_ ? zip_name_locate(archive_, name.c_str(), ZIP_FL_ENC_RAW) : -1;
  if (index < 0) throw DocumentError("the package has no part " + name);
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) < 0 ||
      !(stat.valid & ZIP_STAT_SIZE))
    throw DocumentError("damaged part " + name);
  CheckUnpackedSize(name, stat);
  std::string bytes;
  checksumMatches_[index] = Unpack(name, index, stat, &bytes);
  return bytes;
}

bool DocumentPackage::Unpack(const std::string& name, long long index, const zip_stat_t& stat,
                             std::string* bytes) const {
  FileHandle file(zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0));
  if (!file) throw DocumentError("damaged part " + name + ": " + zip_strerror(archive_));
  // Read in pieces: the size in the archive's directory may be forged, and memory is taken only for what
  // really comes out. One read goes past the size given, to see that the data end there.
  static constexpr size_t kCheckPiece = 64u << 10;
  std::string scratch;
  uLong checksum = crc32(0L, Z_NULL, 0);
  zip_uint64_t total = 0;
  for (;;) {
    const zip_uint64_t left = stat.size - std::min(total, stat.size);
    const size_t piece = std::max<size_t>(
        static_cast<size_t>(std::min<zip_uint64_t>(left, bytes ? kReadPiece : kCheckPiece)), 1);
    std::string& into = bytes ? *bytes : scratch;
    const size_t at = bytes ? static_cast<size_t>(total) : 0;
    into.resize(at + piece);
    const zip_int64_t got = zip_fread(file.get(), into.data() + at, piece);
    into.resize(at + static_cast<size_t>(std::max<zip_int64_t>(got, 0)));
    if (got < 0) {
      // libzip checks the checksum itself at the end of the data; the comparison below says the same.
      if (zip_error_code_zip(zip_file_get_error(file.get())) == ZIP_ER_CRC && total == stat.size) break;
      throw DocumentError("damaged part " + name + ": its data cannot be unpacked (" +
                          zip_file_strerror(file.get()) + ")");
    }
    if (got == 0) break;
    checksum = crc32(checksum, reinterpret_cast<const Bytef*>(into.data() + at), static_cast<uInt>(got));
    total += static_cast<zip_uint64_t>(got);
    if (total > stat.size)
      throw DocumentError("damaged part " + name + ": it unpacks to more than the " +
                          std::to_string(stat.size) + " bytes its entry gives");
  }
  if (total < stat.size)
    throw DocumentError("damaged part " + name + ": it unpacks to " + std::to_string(total) + " of the " +
                        std::to_string(stat.size) + " bytes its entry gives");
  return !(stat.valid & ZIP_STAT_CRC) || checksum == stat.crc;
}

void DocumentPackage::CheckUnpackedSize(const std::string& name, const zip_stat_t& stat) const {
  if (stat.size > kMaxPartBytes)
    throw DocumentError("part " + name + " unpacks to " + Megabytes(stat.size) + ", more than the " +
                        Megabytes(kMaxPartBytes) + " this program reads");
  if (const std::string bomb = BombMessage(name, stat); !bomb.empty()) throw DocumentError(bomb);
  if (unpacked_ + stat.size > kMaxTotalBytes)
    throw DocumentError("the parts read unpack to more than " + Megabytes(kMaxTotalBytes) + " (at part " +
                        name + ")");
  unpacked_ += stat.size;
}

void DocumentPackage::WritePart(const std::string& name, std::string bytes) {
  if (!HasPart(name)) names_.push_back(name);
  written_[name] = std::move(bytes);
}

std::string DocumentPackage::Save() const {
  // Every entry of the original that is copied is checked first: one whose checksum is wrong is
  // written anew from what it unpacked to, one that does not unpack whole stops the save.
  rebuilt_.clear();
  std::map<zip_uint64_t, std::string> mended;
  const zip_int64_t count = archive_ ? zip_get_num_entries(archive_, 0) : 0;
  for (zip_int64_t index = 0; index < count; ++index) {
    const char* entry = zip_get_name(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
    const std::string name = entry ? entry : "#" + std::to_string(index);
    // A part replaced by its name replaces the first entry of that name only.
    if (written_.count(name) && zip_name_locate(archive_, name.c_str(), ZIP_FL_ENC_RAW) == index) continue;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) < 0 ||
        !(stat.valid & ZIP_STAT_SIZE))
      throw DocumentError("damaged part " + name + ": its entry cannot be read");
    if (stat.name && std::string(stat.name).ends_with('/') && stat.size == 0) continue;  // a folder
    auto known = checksumMatches_.find(index);
    if (known == checksumMatches_.end()) {
      if (const std::string bomb = BombMessage(name, stat); !bomb.empty()) throw DocumentError(bomb);
      known = checksumMatches_.emplace(index, Unpack(name, index, stat, nullptr)).first;
    }
    if (known->second) continue;
    CheckUnpackedSize(name, stat);
    Unpack(name, index, stat, &mended[static_cast<zip_uint64_t>(index)]);
    rebuilt_.push_back(name);
  }

  // libzip rewrites the archive into a copy of the original bytes: entries that were not replaced keep
  // their stored (compressed) data unchanged. The copy is libzip's own (malloc'd, freed by libzip): while
  // it writes, the buffer source may clone the unchanged start of the archive and free those pieces itself,
  // so memory it did not get to own would be freed twice.
  zip_error_t error;
  zip_error_init(&error);
  void* base = original_.empty() ? nullptr : std::malloc(original_.size());
  if (!original_.empty() && !base) throw std::bad_alloc();
  if (base) std::memcpy(base, original_.data(), original_.size());
  SourceHandle source(zip_source_buffer_create(base, original_.size(), 1, &error));
  if (!source) {
    std::free(base);
    throw DocumentError("could not assemble the package: " + ZipMessage(&error));
  }
  zip_t* archive = zip_open_from_source(source.get(), base ? 0 : ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) throw DocumentError("could not assemble the package: " + ZipMessage(&error));
  zip_error_fini(&error);
  zip_source_keep(source.get());  // the result is read from it after zip_close

  for (const std::string& name : names_) {
    const auto found = written_.find(name);
    if (found == written_.end()) continue;
    zip_source_t* data = zip_source_buffer(archive, found->second.data(), found->second.size(), 0);
    const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_ENC_RAW);
    const bool stored =
        data && (index >= 0 ? zip_file_replace(archive, static_cast<zip_uint64_t>(index), data, 0) == 0
                            : zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8) >= 0);
    if (!stored) {
      if (data) zip_source_free(data);
      zip_discard(archive);
      throw DocumentError("could not store part " + name);
    }
  }
  for (const auto& [index, bytes] : mended) {
    zip_source_t* data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (!data || zip_file_replace(archive, index, data, 0) < 0) {
      if (data) zip_source_free(data);
      zip_discard(archive);
      const char* name = zip_get_name(archive_, index, ZIP_FL_ENC_RAW);
      throw DocumentError("could not store part " + std::string(name ? name : "?"));
    }
  }
  if (zip_close(archive) < 0) {
    const std::string message = zip_strerror(archive);
    zip_discard(archive);
    throw DocumentError("could not assemble the package: " + message);
  }
  return DrainSource(source.get());
}

std::string RelationshipPartFor(const std::string& partName) {
  const size_t slash = partName.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : partName.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? partName : partName.substr(slash + 1);
  return folder + "_rels/" + file + ".rels";
}

std::string ResolvePartTarget(const std::string& partName, const std::string& target) {
  if (!target.empty() && target[0] == '/') return target.substr(1);
  const size_t slash = partName.rfind('/');
  std::string path = slash == std::string::npos ? std::string() : partName.substr(0, slash);
  size_t from = 0;
  while (from <= target.size()) {
    size_t next = target.find('/', from);
    if (next == std::string::npos) next = target.size();
    const std::string piece = target.substr(from, next - from);
    if (piece == "..") {
      const size_t up = path.rfind('/');
      path = up == std::string::npos ? std::string() : path.substr(0, up);
    } else if (!piece.empty() && piece != ".") {
      path = path.empty() ? piece : path + "/" + piece;
    }
    from = next + 1;
  }
  return path;
}

std::string PartFolder(const std::string& partName) {
  const size_t slash = partName.rfind('/');
  return slash == std::string::npos ? std::string() : partName.substr(0, slash);
}

std::string PartExtension(const std::string& partName) {
  const size_t dot = partName.rfind('.');
  const size_t slash = partName.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = partName.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return extension;
}

}  // namespace scrivano::word
