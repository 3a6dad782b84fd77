#include "platform/ui/controls/EditText.h"

#include "platform/kernel/Utf8.h"

namespace qm::ui::controls {

std::size_t EditText::Previous(std::size_t offset) const { return kernel::PreviousUtf8Boundary(text, offset); }

std::size_t EditText::Next(std::size_t offset) const { return kernel::NextUtf8Boundary(text, offset); }

std::size_t EditText::Boundary(std::size_t offset) const { return kernel::Utf8BoundaryAtOrBefore(text, offset); }

void EditText::MoveTo(std::size_t offset, bool extend) {
  caret = Boundary(offset);
  if (!extend) anchor = caret;
}

void EditText::Select(std::size_t from, std::size_t to) {
  anchor = Boundary(from);
  caret = Boundary(to);
}

void EditText::ReplaceSelection(const std::string& replacement) {
  std::size_t start = SelectionStart();
  text.replace(start, SelectionEnd() - start, replacement);
  // Stray bytes on both sides of the cut may now form one character (E2,
  // then 82 AC after a deleted letter, is a euro sign): the caret never
  // stays inside it.
  caret = anchor = Boundary(start + replacement.size());
}

bool EditText::DeleteBackward() {
  if (!HasSelection()) {
    if (caret == 0) return false;
    anchor = Previous(caret);
  }
  ReplaceSelection({});
  return true;
}

bool EditText::DeleteForward() {
  if (!HasSelection()) {
    if (caret >= text.size()) return false;
    anchor = Next(caret);
  }
  ReplaceSelection({});
  return true;
}

void EditText::SetText(const std::string& newText) {
  text = newText;
  caret = anchor = 0;
}

}  // namespace qm::ui::controls
