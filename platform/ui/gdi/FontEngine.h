// Fonts: a LOGFONTA becomes an installed face found through fontconfig,
// scaled with FreeType, with hinted glyphs rendered to 8-bit coverage and
// cached. Windows face names map to installed faces of the same kind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/ui/WinGdi.h"

namespace qm::ui::gdi {

struct FontObject;

struct Glyph {
  int left = 0;  // ink box relative to the pen position on the baseline
  int top = 0;   // rows above the baseline
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<std::uint8_t> coverage;
};

class FontInstance {
 public:
  FontInstance(const LOGFONTA& logFont);
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  const Glyph& GlyphFor(char32_t ch);
  const TEXTMETRICA& Metrics() const { return metrics_; }
  const std::string& Family() const { return family_; }
  bool Underline() const { return underline_; }
  bool StrikeOut() const { return strikeOut_; }
  // Rows below the baseline where an underline starts, and its thickness.
  int UnderlineOffset() const { return underlineOffset_; }
  int LineThickness() const { return lineThickness_; }
  int StrikeOutOffset() const { return strikeOutOffset_; }  // rows above the baseline

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  TEXTMETRICA metrics_{};
  std::string family_;
  bool underline_ = false;
  bool strikeOut_ = false;
  int underlineOffset_ = 1;
  int lineThickness_ = 1;
  int strikeOutOffset_ = 3;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

// Instances are shared between fonts of the same description.
std::shared_ptr<FontInstance> InstanceFor(const LOGFONTA& logFont);
FontInstance& InstanceOf(FontObject& font);

// The characters of a narrow text argument (count -1: up to the terminating
// zero), decoded by the platform's UTF-8 codec: an ill-formed subsequence
// is one U+FFFD, drawn and measured as that character.
std::u32string TextChars(const char* text, int count);
int MeasureText(FontInstance& font, std::u32string_view text);

}  // namespace qm::ui::gdi
