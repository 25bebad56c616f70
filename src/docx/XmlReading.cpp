#include "docx/XmlReading.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "docx/DocumentPackage.h"

namespace scrivano::word {
namespace {

struct KnownNamespace {
  const char* prefix;
  const char* uri;
};

constexpr std::array<KnownNamespace, 11> kKnownNamespaces = {{
    {"w", "http://schemas.openxmlformats.org/wordprocessingml/2006/main"},
    {"r", "http://schemas.openxmlformats.org/officeDocument/2006/relationships"},
    {"wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"},
    {"mc", "http://schemas.openxmlformats.org/markup-compatibility/2006"},
    {"a", "http://schemas.openxmlformats.org/drawingml/2006/main"},
    {"pic", "http://schemas.openxmlformats.org/drawingml/2006/picture"},
    {"m", "http://schemas.openxmlformats.org/officeDocument/2006/math"},
    {"w14", "http://schemas.microsoft.com/office/word/2010/wordml"},
    {"wps", "http://schemas.microsoft.com/office/word/2010/wordprocessingShape"},
    {"v", "urn:schemas-microsoft-com:vml"},
    {"o", "urn:schemas-microsoft-com:office:office"},
}};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return text;
}

// The encoding named in the XML declaration at the start of ASCII-compatible bytes; empty when none.
std::string DeclaredEncoding(const std::string& bytes) {
  if (bytes.compare(0, 5, "<?xml") != 0) return {};
  const size_t close = bytes.find("?>");
  const std::string declaration = bytes.substr(0, close == std::string::npos ? 0 : close);
  const size_t at = declaration.find("encoding");
  if (at == std::string::npos) return {};
  size_t quote = declaration.find_first_of("\"'", at);
  if (quote == std::string::npos) return {};
  const size_t end = declaration.find(declaration[quote], quote + 1);
  if (end == std::string::npos) return {};
  return declaration.substr(quote + 1, end - quote - 1);
}

std::string Convert(const std::string& bytes, size_t skip, const std::string& from,
                    const std::string& partName) {
  iconv_t converter = iconv_open("UTF-8", from.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1))
    throw DocumentError("part " + partName + " is in an encoding this program does not know: " + from);
  std::string out;
  out.resize((bytes.size() - skip) * 2 + 16);
  char* in = const_cast<char*>(bytes.data()) + skip;
  size_t inLeft = bytes.size() - skip;
  size_t done = 0;
  bool failed = false;
  while (inLeft > 0) {
    char* target = out.data() + done;
    size_t outLeft = out.size() - done;
    const size_t result = iconv(converter, &in, &inLeft, &target, &outLeft);
    done = out.size() - outLeft;
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    failed = true;
    break;
  }
  iconv_close(converter);
  if (failed) throw DocumentError("part " + partName + " is not valid " + from);
  out.resize(done);
  return out;
}

// Prefix bindings in scope during a walk: (depth of the element declaring it, prefix, uri).
struct Binding {
  int depth;
  std::string prefix;  // "" for the default namespace
  std::string uri;
};

const std::string* Lookup(const std::vector<Binding>& bindings, const std::string& prefix) {
  for (auto binding = bindings.rbegin(); binding != bindings.rend(); ++binding)
    if (binding->prefix == prefix) return &binding->uri;
  return nullptr;
}

const KnownNamespace* Known(const std::string& uri) {
  for (const KnownNamespace& known : kKnownNamespaces)
    if (uri == known.uri) return &known;
  return nullptr;
}

class Renamer {
 public:
  explicit Renamer(pugi::xml_node root) : root_(root) {}

  void Enter(pugi::xml_node element, int depth) {
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
      const char* name = attribute.name();
      if (std::strcmp(name, "xmlns") == 0)
        bindings_.push_back({depth, "", attribute.value()});
      else if (std::strncmp(name, "xmlns:", 6) == 0)
        bindings_.push_back({depth, name + 6, attribute.value()});
    }
    if (const std::string renamed = Renamed(element.name(), true); !renamed.empty())
      element.set_name(renamed.c_str());
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
      if (std::strncmp(attribute.name(), "xmlns", 5) == 0) continue;
      if (const std::string renamed = Renamed(attribute.name(), false); !renamed.empty())
        attribute.set_name(renamed.c_str());
    }
  }

  void Leave(int depth) {
    while (!bindings_.empty() && bindings_.back().depth >= depth && bindings_.back().depth > 0)
      bindings_.pop_back();
  }

 private:
  // The usual name of a qualified name in a known namespace, or "" when it keeps its name.
  std::string Renamed(const char* qualified, bool element) {
    const char* colon = std::strchr(qualified, ':');
    if (!colon && !element) return {};  // an attribute without a prefix is in no namespace
    const std::string prefix = colon ? std::string(qualified, colon) : std::string();
    const std::string local = colon ? std::string(colon + 1) : std::string(qualified);
    const std::string* uri = Lookup(bindings_, prefix);
    if (!uri) return {};
    const KnownNamespace* known = Known(*uri);
    if (!known || prefix == known->prefix) return {};
    // The usual prefix must mean the same namespace here; when it is free, the root declares it.
    if (const std::string* taken = Lookup(bindings_, known->prefix)) {
      if (*taken != *uri) return {};
    } else {
      root_.append_attribute(("xmlns:" + std::string(known->prefix)).c_str()) = uri->c_str();
      bindings_.insert(bindings_.begin(), {0, known->prefix, *uri});
    }
    return std::string(known->prefix) + ":" + local;
  }

  pugi::xml_node root_;
  std::vector<Binding> bindings_;
};

}  // namespace

std::string DecodeXmlPart(const std::string& bytes, const std::string& partName) {
  auto starts = [&bytes](const char* prefix, size_t size) {
    return bytes.compare(0, size, prefix, size) == 0;
  };
  if (starts("\xEF\xBB\xBF", 3)) return bytes.substr(3);
  if (starts("\xFF\xFE", 2)) return Convert(bytes, 2, "UTF-16LE", partName);
  if (starts("\xFE\xFF", 2)) return Convert(bytes, 2, "UTF-16BE", partName);
  if (starts("<\0?\0", 4)) return Convert(bytes, 0, "UTF-16LE", partName);
  if (starts("\0<\0?", 4)) return Convert(bytes, 0, "UTF-16BE", partName);
  const std::string declared = Lower(DeclaredEncoding(bytes));
  // A part declared UTF-16 whose bytes begin as ASCII cannot be UTF-16: it is read as UTF-8, the only
  // reading that fits.
  if (declared.empty() || declared == "utf-8" || declared == "utf8" || declared == "us-ascii" ||
      declared == "ascii" || declared.starts_with("utf-16"))
    return bytes;
  return Convert(bytes, 0, DeclaredEncoding(bytes), partName);
}

void NormalizeXmlTree(pugi::xml_document& document, const std::string& partName) {
  for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_declaration) continue;
    if (pugi::xml_attribute encoding = child.attribute("encoding")) encoding.set_value("UTF-8");
  }
  const pugi::xml_node root = document.document_element();
  if (!root) return;
  Renamer renamer(root);
  // Depth first without recursion: the depth of a tree is the producer's to choose.
  pugi::xml_node node = root;
  int depth = 1;
  renamer.Enter(node, depth);
  for (;;) {
    pugi::xml_node child = node.first_child();
    while (child && child.type() != pugi::node_element) child = child.next_sibling();
    if (child) {
      if (++depth > kMaxElementDepth)
        throw DocumentError("part " + partName + " nests elements more than " +
                            std::to_string(kMaxElementDepth) + " levels deep");
      node = child;
      renamer.Enter(node, depth);
      continue;
    }
    for (;;) {
      renamer.Leave(depth);
      if (node == root) return;
      pugi::xml_node next = node.next_sibling();
      while (next && next.type() != pugi::node_element) next = next.next_sibling();
      if (next) {
        node = next;
        renamer.Enter(node, depth);
        break;
      }
      node = node.parent();
      --depth;
    }
  }
}

}  // namespace scrivano::word
