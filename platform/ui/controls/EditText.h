// Text editing of the single-line edit control, kept apart from windows so
// it can be reasoned about on its own: UTF-8 text, a caret and a selection
// anchor as byte offsets that always sit on character boundaries.
// Characters are those of the platform's UTF-8 codec (platform/kernel/
// Utf8.h): bytes that are not UTF-8 stay in the text as they are, and each
// ill-formed subsequence is one character, the one U+FFFD drawing shows.
#pragma once

#include <cstddef>
#include <string>

namespace qm::ui::controls {

struct EditText {
  std::string text;
  std::size_t caret = 0;
  std::size_t anchor = 0;

  std::size_t SelectionStart() const { return caret < anchor ? caret : anchor; }
  std::size_t SelectionEnd() const { return caret < anchor ? anchor : caret; }
  bool HasSelection() const { return caret != anchor; }

  std::size_t Previous(std::size_t offset) const;
  std::size_t Next(std::size_t offset) const;
  // The nearest character boundary at or before offset (clamped to the text).
  std::size_t Boundary(std::size_t offset) const;

  void MoveTo(std::size_t offset, bool extend);
  void Select(std::size_t from, std::size_t to);
  // Replaces the selection with the given text and puts the caret after it.
  void ReplaceSelection(const std::string& replacement);
  // Backspace and Delete: the selection, else one character before or after.
  bool DeleteBackward();
  bool DeleteForward();
  void SetText(const std::string& newText);
};

}  // namespace qm::ui::controls
