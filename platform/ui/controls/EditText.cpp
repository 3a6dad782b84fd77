#include "platform/ui/controls/EditText.h"

namespace qm::ui::controls {

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t EditText::Previous(std::size_t offset) const {
  offset = Boundary(offset);
  if (offset == 0) return 0;
  --offset;
  while (offset > 0 && IsContinuation(text[offset])) --offset;
  return offset;
}

std::size_t EditText::Next(std::size_t offset) const {
  offset = Boundary(offset);
  if (offset >= text.size()) return text.size();
  ++offset;
  while (offset < text.size() && IsContinuation(text[offset])) ++offset;
  return offset;
}

std::size_t EditText::Boundary(std::size_t offset) const {
  if (offset >= text.size()) return text.size();
  while (offset > 0 && IsContinuation(text[offset])) --offset;
  return offset;
}

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
  caret = anchor = start + replacement.size();
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

std::string EncodeUtf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    if (c >= 0xD800 && c < 0xE000) return {};
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x110000) {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace qm::ui::controls
