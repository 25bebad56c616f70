#include "docx/DocumentPackage.h"

#include <zip.h>

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
  zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
  if (!file) throw DocumentError("damaged part " + name);
  // Read in pieces: the size in the archive's directory may be forged, and memory is taken only for what
  // really comes out.
  std::string bytes;
  bytes.reserve(static_cast<size_t>(std::min<zip_uint64_t>(stat.size, kReadPiece)));
  while (bytes.size() < stat.size) {
    const size_t done = bytes.size();
    const size_t piece = static_cast<size_t>(std::min<zip_uint64_t>(stat.size - done, kReadPiece));
    bytes.resize(done + piece);
    const zip_int64_t got = zip_fread(file, bytes.data() + done, piece);
    if (got <= 0) {
      bytes.resize(done);
      break;
    }
    bytes.resize(done + static_cast<size_t>(got));
  }
  zip_fclose(file);
  if (bytes.size() != stat.size) throw DocumentError("damaged part " + name);
  return bytes;
}

void DocumentPackage::CheckUnpackedSize(const std::string& name, const zip_stat_t& stat) const {
  auto megabytes = [](zip_uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB"; };
  if (stat.size > kMaxPartBytes)
    throw DocumentError("part " + name + " unpacks to " + megabytes(stat.size) + ", more than the " +
                        megabytes(kMaxPartBytes) + " this program reads");
  if ((stat.valid & ZIP_STAT_COMP_SIZE) && stat.size > kRatioCheckedFrom &&
      stat.size / std::max<zip_uint64_t>(stat.comp_size, 1) > kMaxCompressionRatio)
    throw DocumentError("part " + name + " unpacks to " + megabytes(stat.size) + " from " +
                        std::to_string(stat.comp_size) + " bytes: more than " +
                        std::to_string(kMaxCompressionRatio) + " times, as only a packing bomb does");
  if (unpacked_ + stat.size > kMaxTotalBytes)
    throw DocumentError("the parts read unpack to more than " + megabytes(kMaxTotalBytes) + " (at part " +
                        name + ")");
  unpacked_ += stat.size;
}

void DocumentPackage::WritePart(const std::string& name, std::string bytes) {
  if (!HasPart(name)) names_.push_back(name);
  written_[name] = std::move(bytes);
}

std::string DocumentPackage::Save() const {
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
