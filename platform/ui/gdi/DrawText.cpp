// Formatted text in a rectangle: alignment, line breaks, word wrapping,
// access-key prefixes and the measuring pass (DT_CALCRECT).
#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/gdi/FontEngine.h"
#include "platform/ui/gdi/TextRun.h"

using namespace qm::ui::gdi;

namespace {

struct Line {
  std::u32string text;
  int underline = -1;  // index into text of the access key, -1 for none
};

// Removes the prefix marks: "&&" is an ampersand, "&x" marks x.
Line StripPrefixes(const std::u32string& text, UINT format) {
  Line line;
  if (format & DT_NOPREFIX) {
    line.text = text;
    return line;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'&') {
      line.text.push_back(text[i]);
      continue;
    }
    if (i + 1 >= text.size()) break;
    ++i;
    if (text[i] != U'&' && !(format & DT_HIDEPREFIX)) line.underline = static_cast<int>(line.text.size());
    line.text.push_back(text[i]);
  }
  return line;
}

Line Slice(const Line& line, std::size_t from, std::size_t to) {
  Line part;
  part.text = line.text.substr(from, to - from);
  if (line.underline >= static_cast<int>(from) && line.underline < static_cast<int>(to))
    part.underline = line.underline - static_cast<int>(from);
  return part;
}

std::vector<Line> SplitParagraphs(const Line& all, bool singleLine) {
  std::vector<Line> lines;
  if (singleLine) {
    Line line;
    for (std::size_t i = 0; i < all.text.size(); ++i) {
      if (all.text[i] == U'\r' || all.text[i] == U'\n') continue;
      if (static_cast<int>(i) == all.underline) line.underline = static_cast<int>(line.text.size());
      line.text.push_back(all.text[i]);
    }
    lines.push_back(line);
    return lines;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i <= all.text.size(); ++i) {
    if (i < all.text.size() && all.text[i] != U'\n' && all.text[i] != U'\r') continue;
    lines.push_back(Slice(all, start, i));
    if (i + 1 < all.text.size() && all.text[i] == U'\r' && all.text[i + 1] == U'\n') ++i;
    start = i + 1;
  }
  return lines;
}

// Breaks a paragraph at spaces so each line fits `width`; a word wider than
// the whole line stands on a line of its own, or, with `breakWords`, is
// broken after the last character that fits (at least one a line).
void Wrap(FontInstance& font, const Line& paragraph, int width, bool breakWords, std::vector<Line>& out) {
  const std::u32string& text = paragraph.text;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.size();
    if (MeasureText(font, std::u32string_view(text).substr(start, end - start)) <= width) {
      out.push_back(Slice(paragraph, start, end));
      return;
    }
    // The longest run of whole words that fits.
    std::size_t breakAt = std::u32string::npos;
    int lineWidth = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
      if (text[i] == U' ' && i > start) {
        if (lineWidth > width) break;
        breakAt = i;
      }
      lineWidth += font.GlyphFor(text[i]).advance;
    }
    if (breakAt == std::u32string::npos && breakWords) {
      // The first word alone is too wide: the line ends where it stops fitting.
      int fitting = 0;
      breakAt = start;
      while (breakAt < text.size() && text[breakAt] != U' ' &&
             (breakAt == start || fitting + font.GlyphFor(text[breakAt]).advance <= width))
        fitting += font.GlyphFor(text[breakAt++]).advance;
    }
    if (breakAt == std::u32string::npos) {
      breakAt = text.find(U' ', start + 1);
      if (breakAt == std::u32string::npos) {
        out.push_back(Slice(paragraph, start, text.size()));
        return;
      }
    }
    std::size_t lineEnd = breakAt;
    while (lineEnd > start && text[lineEnd - 1] == U' ') --lineEnd;
    out.push_back(Slice(paragraph, start, lineEnd));
    start = breakAt;
    while (start < text.size() && text[start] == U' ') ++start;
    if (start >= text.size()) return;
  }
}

void ExpandTabs(Line& line, FontInstance& font) {
  int tabWidth = 8 * font.Metrics().tmAveCharWidth;
  int spaceWidth = std::max(1, font.GlyphFor(U' ').advance);
  Line out;
  int x = 0;
  for (std::size_t i = 0; i < line.text.size(); ++i) {
    if (static_cast<int>(i) == line.underline) out.underline = static_cast<int>(out.text.size());
    if (line.text[i] == U'\t') {
      int next = (x / tabWidth + 1) * tabWidth;
      do {
        out.text.push_back(U' ');
        x += spaceWidth;
      } while (x < next);
      continue;
    }
    out.text.push_back(line.text[i]);
    x += font.GlyphFor(line.text[i]).advance;
  }
  line = out;
}

void AddEllipsis(Line& line, FontInstance& font, int width) {
  if (MeasureText(font, line.text) <= width) return;
  const std::u32string dots = U"...";
  int dotsWidth = MeasureText(font, dots);
  while (!line.text.empty() && MeasureText(font, line.text) + dotsWidth > width) line.text.pop_back();
  if (line.underline >= static_cast<int>(line.text.size())) line.underline = -1;
  line.text += dots;
}

}  // namespace

int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format) {
  DeviceContext* context = LookupDC(dc);
  if (context == nullptr || rect == nullptr || text == nullptr) return 0;
  FontInstance& font = context->Font();
  const int lineHeight = font.Metrics().tmHeight;
  const int width = rect->right - rect->left;
  const bool singleLine = (format & DT_SINGLELINE) != 0;

  std::vector<Line> lines;
  for (Line& paragraph : SplitParagraphs(StripPrefixes(TextChars(text, count), format), singleLine)) {
    if (format & DT_EXPANDTABS) ExpandTabs(paragraph, font);
    if ((format & DT_WORDBREAK) && !singleLine)
      Wrap(font, paragraph, width, (format & DT_EDITCONTROL) != 0, lines);
    else
      lines.push_back(paragraph);
  }
  if (format & DT_END_ELLIPSIS)
    for (Line& line : lines) AddEllipsis(line, font, width);

  int textHeight = lineHeight * static_cast<int>(lines.size());
  int widest = 0;
  for (const Line& line : lines) widest = std::max(widest, MeasureText(font, line.text));

  if (format & DT_CALCRECT) {
    if (!lines.empty() && !(lines.size() == 1 && lines[0].text.empty()))
      rect->right = rect->left + widest;
    else
      rect->right = rect->left;
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }

  int y = rect->top;
  if (singleLine && (format & DT_VCENTER))
    y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (singleLine && (format & DT_BOTTOM))
    y = rect->bottom - lineHeight;

  DcState& state = context->State();
  auto savedClip = state.userClip;
  if (!(format & DT_NOCLIP)) context->IntersectClip(context->Device(*rect));
  int lineTop = y;
  for (const Line& line : lines) {
    int lineWidth = MeasureText(font, line.text);
    int x = rect->left;
    if (format & DT_CENTER)
      x = rect->left + (width - lineWidth) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - lineWidth;
    DrawTextRun(*context, x, lineTop, line.text, line.underline);
    lineTop += lineHeight;
  }
  state.userClip = savedClip;
  if (format & (DT_VCENTER | DT_BOTTOM)) return y - rect->top + textHeight;
  return textHeight;
}
