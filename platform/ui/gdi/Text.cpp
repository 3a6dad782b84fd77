#include <algorithm>
#include <cstring>

#include "platform/ui/gdi/FontEngine.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/TextRun.h"

using namespace qm::ui::gdi;
using qm::ui::PixelFromColor;

namespace qm::ui::gdi {

void DrawTextRun(DeviceContext& dc, int x, int y, std::u32string_view text, int underlineIndex) {
  FontInstance& font = dc.Font();
  const TEXTMETRICA& tm = font.Metrics();
  const DcState& state = dc.State();
  int width = MeasureText(font, text);
  POINT at = dc.Device(x, y);
  if (state.bkMode == OPAQUE) dc.Fill({at.x, at.y, at.x + width, at.y + tm.tmHeight}, PixelFromColor(state.bkColor));
  std::uint32_t pixel = PixelFromColor(state.textColor);
  int baseline = at.y + tm.tmAscent;
  int penX = at.x;
  int underlineFrom = 0, underlineTo = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Glyph& glyph = font.GlyphFor(text[i]);
    if (!glyph.coverage.empty())
      dc.BlendMask(penX + glyph.left, baseline - glyph.top, glyph.width, glyph.rows, glyph.coverage.data(), pixel);
    if (static_cast<int>(i) == underlineIndex) {
      underlineFrom = penX;
      underlineTo = penX + glyph.advance;
    }
    penX += glyph.advance;
  }
  int thickness = font.LineThickness();
  if (font.Underline()) {
    int top = baseline + font.UnderlineOffset();
    dc.Fill({at.x, top, at.x + width, top + thickness}, pixel);
  } else if (underlineTo > underlineFrom) {
    int top = baseline + font.UnderlineOffset();
    dc.Fill({underlineFrom, top, underlineTo, top + thickness}, pixel);
  }
  if (font.StrikeOut()) {
    int top = baseline - font.StrikeOutOffset();
    dc.Fill({at.x, top, at.x + width, top + thickness}, pixel);
  }
}

}  // namespace qm::ui::gdi

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
  if (logFont == nullptr) return nullptr;
  auto font = std::make_unique<FontObject>();
  font->logFont = *logFont;
  font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
  return InsertObject(std::move(font));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA logFont{};
  logFont.lfHeight = height;
  logFont.lfWidth = width;
  logFont.lfEscapement = escapement;
  logFont.lfOrientation = orientation;
  logFont.lfWeight = weight;
  logFont.lfItalic = BYTE(italic != 0);
  logFont.lfUnderline = BYTE(underline != 0);
  logFont.lfStrikeOut = BYTE(strikeOut != 0);
  logFont.lfCharSet = BYTE(charSet);
  logFont.lfOutPrecision = BYTE(outPrecision);
  logFont.lfClipPrecision = BYTE(clipPrecision);
  logFont.lfQuality = BYTE(quality);
  logFont.lfPitchAndFamily = BYTE(pitchAndFamily);
  if (faceName) std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&logFont);
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || context->Target() == nullptr || (text == nullptr && count > 0) || count < 0) return FALSE;
  DrawTextRun(*context, x, y, TextChars(text, count));
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) return FALSE;
  FontInstance& font = context->Font();
  size->cx = MeasureText(font, TextChars(text, count));
  size->cy = font.Metrics().tmHeight;
  return TRUE;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || metrics == nullptr) return FALSE;
  *metrics = context->Font().Metrics();
  return TRUE;
}

BOOL GetTextFaceA(HDC dc, int count, LPSTR faceName) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || faceName == nullptr || count <= 0) return FALSE;
  const std::string& family = context->Font().Family();
  std::size_t length = std::min(family.size(), std::size_t(count - 1));
  std::memcpy(faceName, family.data(), length);
  faceName[length] = '\0';
  return TRUE;
}
