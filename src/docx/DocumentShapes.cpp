#include "docx/DocumentEngine.h"

namespace scrivano::word {

std::vector<Document::ShapeInfo> Document::ShapeList() {
  std::vector<ShapeInfo> shapes;
  for (int i = 0; i < main_->ParagraphCount(); ++i) {
    for (const pugi::xml_node anchor : main_->ParagraphAt(i).anchors) {
      ShapeInfo info{anchor, {}, {}};
      if (IsNamed(anchor, "mc:AlternateContent")) {
        info.box = FirstDescendant(anchor.child("mc:Choice"), "w:txbxContent");
        info.fallbackBox = FirstDescendant(anchor.child("mc:Fallback"), "w:txbxContent");
      } else {
        info.box = FirstDescendant(anchor, "w:txbxContent");
      }
      shapes.push_back(info);
    }
  }
  // Text boxes whose shape was deleted with its paragraph are gone; their ranges no longer act.
  for (auto box = boxes_.begin(); box != boxes_.end();) {
    const bool present = std::any_of(shapes.begin(), shapes.end(), [&](const ShapeInfo& info) {
      return info.box.internal_object() == box->first;
    });
    if (present) {
      ++box;
      continue;
    }
    box->second->Kill();
    ownRevision_ += box->second->Revision();
    box = boxes_.erase(box);
  }
  return shapes;
}

std::shared_ptr<Story> Document::StoryOf(pugi::xml_node textBox) {
  auto& story = boxes_[textBox.internal_object()];
  if (!story) story = std::make_shared<Story>(textBox);
  return story;
}

void Document::SyncTextBoxFallbacks() {
  // The older copy of a text box's text (for programs that do not read the newer drawing) is kept equal
  // to the text the engine edited.
  for (ShapeInfo info : ShapeList()) {
    if (!info.box || !info.fallbackBox) continue;
    const auto found = boxes_.find(info.box.internal_object());
    if (found == boxes_.end() || found->second->Revision() == 0) continue;
    while (pugi::xml_node child = info.fallbackBox.first_child()) info.fallbackBox.remove_child(child);
    for (pugi::xml_node child = info.box.first_child(); child; child = child.next_sibling())
      info.fallbackBox.append_copy(child);
  }
}

// ---- Shapes, Shape, TextFrame ----

int Shapes::Count() {
  return static_cast<int>(document_->ShapeList().size());
}

std::shared_ptr<Shape> Shapes::Item(int index) {
  const std::vector<Document::ShapeInfo> shapes = document_->ShapeList();
  if (index < 1 || index > static_cast<int>(shapes.size())) return nullptr;
  return std::make_shared<Shape>(document_, shapes[static_cast<size_t>(index) - 1]);
}

std::shared_ptr<TextFrame> Shape::TextFrame() {
  return std::make_shared<word::TextFrame>(document_, info_.box);
}

std::shared_ptr<Range> TextFrame::TextRange() {
  if (!box_) return nullptr;
  const std::shared_ptr<Story> story = document_->StoryOf(box_);
  return std::make_shared<Range>(document_, story, 0, story->Length());
}

}  // namespace scrivano::word
