#include "platform/ui/gdi/FontEngine.h"

#include <cctype>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/kernel/Utf8.h"
#include "platform/ui/gdi/FaceFinder.h"
#include "platform/ui/gdi/GdiObjects.h"

namespace qm::ui::gdi {
namespace {

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library created = nullptr;
    if (FT_Init_FreeType(&created) != 0) created = nullptr;
    return created;
  }();
  return library;
}

// A request without a size gets the system font's cell.
constexpr LONG kDefaultCellHeight = 16;

int Round(double value) { return static_cast<int>(std::lround(value)); }

// The average character width in font units, weighted by how often each
// lowercase letter and the space occur in text. Newer OS/2 tables average
// over every glyph instead, which makes a font look far wider than it reads.
double WeightedAverageWidth(FT_Face face, const TT_OS2* os2) {
  if (os2 && os2->version < 3 && os2->xAvgCharWidth > 0) return os2->xAvgCharWidth;
  static constexpr int kWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                       56, 56, 17, 4,  49, 56,  71, 31, 10, 18, 3,  18, 2};
  double total = 0;
  auto advance = [&](char32_t ch) -> double {
    FT_Fixed value = 0;
    FT_UInt index = FT_Get_Char_Index(face, ch);
    if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &value) != 0) return -1;
    return double(value);
  };
  for (int i = 0; i < 26; ++i) {
    double width = advance(U'a' + i);
    if (width < 0) return os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : face->units_per_EM / 2.0;
    total += width * kWeights[i];
  }
  double space = advance(U' ');
  total += (space < 0 ? 0 : space) * 166;
  return total / 1000.0;
}

constexpr double kNarrowDialogFaceWidth = 0.9;

bool IsNarrowDialogFace(const std::string& faceName) {
  std::string name;
  for (char c : faceName) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name == "ms sans serif" || name == "ms shell dlg" || name == "ms shell dlg 2" || name == "helv";
}

}  // namespace

struct FontInstance::Impl {
  FT_Face face = nullptr;
  bool emboldenGlyphs = false;
  bool slantGlyphs = false;
  ~Impl() {
    if (face) FT_Done_Face(face);
  }
};

FontInstance::FontInstance(const LOGFONTA& logFont) : impl_(std::make_unique<Impl>()) {
  std::string faceName(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
  bool bold = logFont.lfWeight >= 600;
  bool italic = logFont.lfItalic != 0;
  FaceChoice choice = FindFace(faceName, logFont.lfPitchAndFamily, bold, italic);
  family_ = choice.family;
  underline_ = logFont.lfUnderline != 0;
  strikeOut_ = logFont.lfStrikeOut != 0;

  FT_Face face = nullptr;
  if (Library() == nullptr || choice.file.empty() ||
      FT_New_Face(Library(), choice.file.c_str(), choice.index, &face) != 0) {
    face = nullptr;
  }
  impl_->face = face;
  impl_->emboldenGlyphs = bold && !choice.bold;
  impl_->slantGlyphs = italic && !choice.italic;

  double unitsPerEm = face && face->units_per_EM ? face->units_per_EM : 2048.0;
  const TT_OS2* os2 = face ? static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
  const TT_HoriHeader* hhea = face ? static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA)) : nullptr;
  const TT_Postscript* post = face ? static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)) : nullptr;
  // The cell is measured as Windows measures TrueType faces: the OS/2 table's
  // Windows ascent and descent.
  double ascentUnits = os2 && os2->usWinAscent ? os2->usWinAscent : (face ? face->ascender : 1638);
  double descentUnits = os2 && os2->usWinAscent ? os2->usWinDescent : (face ? -face->descender : 410);
  double cellUnits = std::max(1.0, ascentUnits + descentUnits);

  LONG height = logFont.lfHeight == 0 ? kDefaultCellHeight : logFont.lfHeight;
  double emY = height < 0 ? -double(height) : height * unitsPerEm / cellUnits;
  double averageUnits = face ? WeightedAverageWidth(face, os2) : unitsPerEm / 2;
  double emX = logFont.lfWidth != 0 ? std::abs(double(logFont.lfWidth)) * unitsPerEm / averageUnits : emY;
  // The classic dialog faces were narrow bitmap fonts: their lower-case text
  // runs about a tenth narrower than the scalable sans that stands in for
  // them, for the same average over the alphabet. Dialog layouts were made
  // with those widths, so the stand-in is condensed to match; the dialog
  // units, measured from the alphabet, stay the same.
  if (logFont.lfWidth == 0 && IsNarrowDialogFace(faceName)) emX *= kNarrowDialogFaceWidth;
  if (face) FT_Set_Char_Size(face, FT_F26Dot6(std::lround(emX * 64)), FT_F26Dot6(std::lround(emY * 64)), 72, 72);

  double scaleY = emY / unitsPerEm, scaleX = emX / unitsPerEm;
  TEXTMETRICA& tm = metrics_;
  // A cell never cuts into ink: partial rows count as whole ones.
  tm.tmAscent = static_cast<int>(std::ceil(ascentUnits * scaleY - 0.01));
  tm.tmDescent = height > 0 ? height - tm.tmAscent : static_cast<int>(std::ceil(descentUnits * scaleY - 0.01));
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - Round(emY));
  if (hhea) {
    double gap = hhea->Line_Gap - ((ascentUnits + descentUnits) - (hhea->Ascender - hhea->Descender));
    tm.tmExternalLeading = std::max(0, Round(gap * scaleY));
  }
  tm.tmAveCharWidth = std::max(1, Round(averageUnits * scaleX));
  tm.tmMaxCharWidth = face ? std::max(1, Round(face->max_advance_width * scaleX)) : tm.tmAveCharWidth * 2;
  tm.tmWeight = bold ? FW_BOLD : FW_NORMAL;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFF;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = italic ? 1 : 0;
  tm.tmUnderlined = underline_ ? 1 : 0;
  tm.tmStruckOut = strikeOut_ ? 1 : 0;
  constexpr BYTE kVariablePitch = 0x01, kVector = 0x02, kTrueType = 0x04;
  FaceKind kind = KindOfFaceName(faceName, logFont.lfPitchAndFamily, nullptr);
  BYTE family = kind == FaceKind::Serif ? FF_ROMAN : kind == FaceKind::Mono ? FF_MODERN : FF_SWISS;
  tm.tmPitchAndFamily = BYTE(family | kVector | kTrueType | (kind == FaceKind::Mono ? 0 : kVariablePitch));
  tm.tmCharSet = ANSI_CHARSET;

  if (post) {
    lineThickness_ = std::max(1, Round(post->underlineThickness * scaleY));
    underlineOffset_ = std::clamp(Round(-post->underlinePosition * scaleY), 1, std::max(1, tm.tmDescent - 1));
  }
  strikeOutOffset_ = os2 && os2->yStrikeoutPosition > 0 ? Round(os2->yStrikeoutPosition * scaleY) : tm.tmAscent / 3;
}

FontInstance::~FontInstance() = default;

const Glyph& FontInstance::GlyphFor(char32_t ch) {
  auto it = glyphs_.find(ch);
  if (it != glyphs_.end()) return it->second;
  Glyph glyph;
  FT_Face face = impl_->face;
  // Control characters take no room and leave no mark, so a stray line end
  // or tab never shows as a missing-glyph box.
  if (ch < 0x20 || ch == 0x7F) return glyphs_.emplace(ch, std::move(glyph)).first->second;
  if (face && FT_Load_Char(face, ch, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) == 0) {
    FT_GlyphSlot slot = face->glyph;
    if (impl_->slantGlyphs && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Oblique(slot);
    if (impl_->emboldenGlyphs && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(slot);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
      const FT_Bitmap& bitmap = slot->bitmap;
      glyph.left = slot->bitmap_left;
      glyph.top = slot->bitmap_top;
      glyph.width = static_cast<int>(bitmap.width);
      glyph.rows = static_cast<int>(bitmap.rows);
      glyph.coverage.resize(std::size_t(glyph.width) * glyph.rows);
      for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
          for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[std::size_t(y) * glyph.width + x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else {
          std::copy_n(row, glyph.width, glyph.coverage.begin() + std::ptrdiff_t(y) * glyph.width);
        }
      }
    }
  } else {
    glyph.advance = metrics_.tmAveCharWidth;
  }
  return glyphs_.emplace(ch, std::move(glyph)).first->second;
}

std::shared_ptr<FontInstance> InstanceFor(const LOGFONTA& logFont) {
  using Key = std::tuple<LONG, LONG, bool, bool, bool, bool, BYTE, std::string>;
  static std::map<Key, std::shared_ptr<FontInstance>> cache;
  std::string faceName(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
  Key key{logFont.lfHeight,       logFont.lfWidth,          logFont.lfWeight >= 600,   logFont.lfItalic != 0,
          logFont.lfUnderline != 0, logFont.lfStrikeOut != 0, logFont.lfPitchAndFamily, faceName};
  auto& slot = cache[key];
  if (!slot) slot = std::make_shared<FontInstance>(logFont);
  return slot;
}

FontInstance& InstanceOf(FontObject& font) {
  if (!font.instance) font.instance = InstanceFor(font.logFont);
  return *font.instance;
}

std::u32string TextChars(const char* text, int count) {
  if (text == nullptr) return {};
  std::size_t length = count < 0 ? std::char_traits<char>::length(text) : std::size_t(count);
  return qm::kernel::DecodeUtf8(std::string_view(text, length));
}

int MeasureText(FontInstance& font, std::u32string_view text) {
  int width = 0;
  for (char32_t ch : text) width += font.GlyphFor(ch).advance;
  return width;
}

}  // namespace qm::ui::gdi
