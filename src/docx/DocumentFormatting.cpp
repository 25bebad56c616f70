#include <cmath>

#include "docx/DocumentEngine.h"
#include "docx/SectionProperties.h"

namespace scrivano::word {

// ---- Font ----

float Font::Size() {
  if (!range_) return size_.value_or(static_cast<float>(kUndefined));
  Range& range = *range_;
  if (!range.Usable()) return static_cast<float>(kUndefined);
  Story& story = *range.story_;
  const StyleSheet& styles = range.document_->Styles();
  std::optional<float> size;
  bool mixed = false;
  story.ForEachRun(range.Start(), range.End(), [&](pugi::xml_node run, pugi::xml_node paragraph) {
    const float runSize = styles.RunSize(run, paragraph);
    if (!size)
      size = runSize;
    else if (*size != runSize)
      mixed = true;
  });
  if (mixed) return static_cast<float>(kUndefined);
  if (size) return *size;
  const RunFormat format = story.FormatAt(range.Start(), true);
  const pugi::xml_node paragraph = story.ParagraphAt(story.ParagraphIndexAt(range.Start())).node;
  return format.sourceRun ? styles.RunSize(format.sourceRun, paragraph) : styles.MarkSize(paragraph);
}

void Font::SetSize(float points) {
  if (!range_) {
    size_ = points;
    return;
  }
  if (!range_->Usable()) return;
  const std::string halfPoints = std::to_string(std::lround(points * 2));
  range_->story_->ChangeRunProperties(range_->Start(), range_->End(), [&](pugi::xml_node properties) {
    for (const char* name : {"w:sz", "w:szCs"}) {
      pugi::xml_node size = EnsureRunProperty(properties, name);
      size.remove_attributes();
      size.append_attribute("w:val") = halfPoints.c_str();
    }
  });
}

int Font::Color() {
  if (!range_) return color_.value_or(kColorAutomatic);
  if (!range_->Usable()) return kUndefined;
  std::optional<int> color;
  bool mixed = false;
  range_->story_->ForEachRun(range_->Start(), range_->End(), [&](pugi::xml_node run, pugi::xml_node) {
    const char* value = run.child("w:rPr").child("w:color").attribute("w:val").value();
    const int runColor = *value ? ColorFromHex(value) : kColorAutomatic;
    if (!color)
      color = runColor;
    else if (*color != runColor)
      mixed = true;
  });
  return mixed ? kUndefined : color.value_or(kColorAutomatic);
}

void Font::SetColor(int color) {
  if (!range_) {
    color_ = color;
    return;
  }
  if (!range_->Usable()) return;
  const std::string hex = HexFromColor(color);
  range_->story_->ChangeRunProperties(range_->Start(), range_->End(), [&](pugi::xml_node properties) {
    pugi::xml_node element = EnsureRunProperty(properties, "w:color");
    element.remove_attributes();
    element.append_attribute("w:val") = hex.c_str();
  });
}

// ---- Paragraphs and Paragraph ----

Paragraphs::Paragraphs(std::shared_ptr<Document> document, std::shared_ptr<Story> story,
                       std::shared_ptr<Range> scope)
    : document_(std::move(document)), story_(std::move(story)), scope_(std::move(scope)) {}

std::pair<int, int> Paragraphs::Span() {
  if (!scope_) return {0, story_->ParagraphCount() - 1};
  const int first = story_->ParagraphIndexAt(scope_->Start());
  const int last = scope_->End() > scope_->Start() ? story_->ParagraphIndexAt(scope_->End() - 1) : first;
  return {first, last};
}

int Paragraphs::Count() {
  if (!story_->Alive()) return 0;
  const auto [first, last] = Span();
  return last - first + 1;
}

std::shared_ptr<Paragraph> Paragraphs::Item(int index) {
  if (!story_->Alive()) return nullptr;
  const auto [first, last] = Span();
  const int at = first + index - 1;
  if (index < 1 || at > last) return nullptr;
  const int start = story_->ParagraphStart(at);
  return std::make_shared<Paragraph>(document_, story_, start, start + story_->ParagraphAt(at).Length());
}

Paragraph::Paragraph(std::shared_ptr<Document> document, std::shared_ptr<Story> story, int start, int end)
    : extent_(std::make_shared<word::Range>(std::move(document), std::move(story), start, end)) {}

const StoryParagraph* Paragraph::Current(int* index) {
  Story& story = *extent_->OwnStory();
  if (!story.Alive()) return nullptr;
  const int at = story.ParagraphIndexAt(extent_->Start());
  if (index) *index = at;
  return &story.ParagraphAt(at);
}

std::shared_ptr<Range> Paragraph::Range() {
  int index = 0;
  if (!Current(&index))
    return std::make_shared<word::Range>(extent_->ParentDocument(), extent_->OwnStory(), 0, 0);
  Story& story = *extent_->OwnStory();
  const int start = story.ParagraphStart(index);
  return std::make_shared<word::Range>(extent_->ParentDocument(), extent_->OwnStory(), start,
                                       start + story.ParagraphAt(index).Length());
}

float Paragraph::LeftIndent() {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return 0.0f;
  return TwipsToPoints(extent_->ParentDocument()->Styles().Indent(paragraph->node).left.value_or(0.0));
}

float Paragraph::CharacterUnitFirstLineIndent() {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return 0.0f;
  return static_cast<float>(
      extent_->ParentDocument()->Styles().Indent(paragraph->node).firstLineChars.value_or(0.0) / 100.0);
}

void Paragraph::SetCharacterUnitFirstLineIndent(float characters) {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return;
  const StyleSheet& styles = extent_->ParentDocument()->Styles();
  pugi::xml_node node = paragraph->node;
  // A character is as wide as the font is high: the size of the paragraph's first run, or of its mark.
  float size = styles.MarkSize(node);
  for (const Piece& piece : paragraph->pieces)
    if (piece.kind != PieceKind::kMark) {
      size = styles.RunSize(piece.run, node);
      break;
    }
  pugi::xml_node indent = EnsureParagraphProperty(EnsureParagraphProperties(node), "w:ind");
  for (const char* name : {"w:firstLine", "w:hanging", "w:firstLineChars", "w:hangingChars"})
    indent.remove_attribute(name);
  const long hundredths = std::lround(std::fabs(characters) * 100.0f);
  const long twips = std::lround(std::fabs(characters) * size * 20.0f);
  indent.append_attribute(characters < 0 ? "w:hangingChars" : "w:firstLineChars") = hundredths;
  indent.append_attribute(characters < 0 ? "w:hanging" : "w:firstLine") = twips;
  extent_->OwnStory()->Touch();
}

bool Paragraph::PageBreakBefore() {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return false;
  return extent_->ParentDocument()->Styles().PageBreakBefore(paragraph->node);
}

void Paragraph::SetPageBreakBefore(bool breakBefore) {
  const StoryParagraph* paragraph = Current();
  if (!paragraph || paragraph->kind == ParagraphKind::kRowEnd) return;
  pugi::xml_node properties = EnsureParagraphProperties(paragraph->node);
  properties.remove_child("w:pageBreakBefore");
  if (extent_->ParentDocument()->Styles().PageBreakBefore(paragraph->node) != breakBefore)
    EnsureParagraphProperty(properties, "w:pageBreakBefore").append_attribute("w:val") =
        breakBefore ? "1" : "0";
  extent_->OwnStory()->Touch();
}

// ---- PageSetup ----

float PageSetup::PageHeight() {
  const std::vector<pugi::xml_node> sections = Sections(*document_->MainStory());
  if (sections.empty()) return 792.0f;
  const auto height = NumberAttribute(sections.front().child("w:pgSz"), "w:h");
  return height ? TwipsToPoints(*height) : 792.0f;
}

void PageSetup::SetPageHeight(float points) {
  const std::string twips = std::to_string(std::lround(points * 20.0f));
  for (pugi::xml_node section : Sections(*document_->MainStory())) {
    pugi::xml_node size = EnsurePageSize(section);
    if (!size.attribute("w:h")) size.append_attribute("w:h");
    size.attribute("w:h").set_value(twips.c_str());
  }
  document_->NoteChange();
}

void PageSetup::TakePaperAndMargins(PageSetup& from) {
  const std::vector<pugi::xml_node> theirs = Sections(*from.document_->MainStory());
  if (theirs.empty()) return;
  for (pugi::xml_node section : Sections(*document_->MainStory())) {
    pugi::xml_node size = EnsurePageSize(section);
    for (const char* name : {"w:pgSz", "w:pgMar"}) {
      const pugi::xml_node given = theirs.front().child(name);
      if (!given) continue;
      pugi::xml_node own = section.child(name);
      if (!own) own = section.insert_child_after(name, size);
      own.remove_attributes();
      for (pugi::xml_attribute attribute = given.first_attribute(); attribute;
           attribute = attribute.next_attribute())
        own.append_attribute(attribute.name()) = attribute.value();
    }
  }
  document_->NoteChange();
}

}  // namespace scrivano::word
