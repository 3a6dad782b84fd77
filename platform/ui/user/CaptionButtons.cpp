#include "platform/ui/user/CaptionButtons.h"

#include <array>
#include <string_view>

#include "platform/ui/gdi/Icons.h"

namespace qm::ui::user {

namespace {

constexpr int BoxWidth = 16;
constexpr int BoxHeight = 14;
constexpr int SmallIcon = 16;

// The boxes' glyphs, '#' for ink, each with its place in a 16 x 14 box.
struct Glyph {
  int left;
  int top;
  std::array<std::string_view, 9> rows;
};

constexpr Glyph CloseGlyph{4, 3, {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"}};
constexpr Glyph MinimizeGlyph{4, 9, {"######", "######"}};
constexpr Glyph MaximizeGlyph{3, 2,
                              {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#",
                               "#.......#", "#.......#", "#########"}};
constexpr Glyph HelpGlyph{5, 2,
                          {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."}};
// Two windows, the front one below and to the left of the one behind.
constexpr Glyph RestoreGlyph{4, 2,
                             {"..######", "..######", "..#....#", "######.#", "######.#", "#....###", "#....#..",
                              "#....#..", "######.."}};

void DrawGlyph(FramePainter& p, const Glyph& glyph, POINT at, std::uint32_t ink) {
  for (std::size_t y = 0; y < glyph.rows.size(); ++y)
    for (std::size_t x = 0; x < glyph.rows[y].size(); ++x)
      if (glyph.rows[y][x] == '#') {
        LONG px = at.x + glyph.left + LONG(x), py = at.y + glyph.top + LONG(y);
        p.Fill({px, py, px + 1, py + 1}, ink);
      }
}

// A raised grey box; pressed, it is sunk and its glyph moves a pixel down
// and right. A greyed glyph is etched, as disabled text is.
void DrawBox(FramePainter& p, RECT box, const Glyph& glyph, bool enabled, bool pressed) {
  p.Fill(box, SysPixel(COLOR_3DFACE));
  POINT at{box.left, box.top};
  if (pressed) {
    p.Ring(box, SysPixel(COLOR_3DDKSHADOW), SysPixel(COLOR_3DHILIGHT));
    p.Ring(Deflate(box, 1), SysPixel(COLOR_3DSHADOW), SysPixel(COLOR_3DFACE));
    at = {at.x + 1, at.y + 1};
  } else {
    p.Ring(box, SysPixel(COLOR_3DHILIGHT), SysPixel(COLOR_3DDKSHADOW));
    p.Ring(Deflate(box, 1), SysPixel(COLOR_3DFACE), SysPixel(COLOR_3DSHADOW));
  }
  if (enabled) {
    DrawGlyph(p, glyph, at, SysPixel(COLOR_BTNTEXT));
  } else {
    DrawGlyph(p, glyph, {at.x + 1, at.y + 1}, SysPixel(COLOR_3DHILIGHT));
    DrawGlyph(p, glyph, at, SysPixel(COLOR_3DSHADOW));
  }
}

// The icon drawn into `dest`, each pixel the average of the image's pixels
// it covers, so that a 32 x 32 icon keeps its smooth edges at 16 x 16.
void DrawIconImage(FramePainter& p, const Surface& image, RECT dest) {
  int width = dest.right - dest.left, height = dest.bottom - dest.top;
  if (image.width <= 0 || image.height <= 0) return;
  for (int j = 0; j < height; ++j) {
    int y0 = j * image.height / height, y1 = std::max(y0 + 1, (j + 1) * image.height / height);
    for (int i = 0; i < width; ++i) {
      int x0 = i * image.width / width, x1 = std::max(x0 + 1, (i + 1) * image.width / width);
      long sum[4] = {0, 0, 0, 0};  // alpha and colours weighted by alpha
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
          std::uint32_t px = image.At(x, y);
          long a = long(px >> 24);
          sum[0] += a;
          for (int c = 0; c < 3; ++c) sum[c + 1] += a * long((px >> (16 - 8 * c)) & 0xFF);
        }
      long count = long(x1 - x0) * (y1 - y0);
      long alpha = sum[0] / count;
      LONG dx = dest.left + i, dy = dest.top + j;
      if (alpha == 0 || !RectContains(p.clip, {dx, dy}) || !p.surface.Contains(dx, dy)) continue;
      std::uint32_t& under = p.surface.At(dx, dy);
      std::uint32_t out = 0xFF000000u;
      for (int c = 0; c < 3; ++c) {
        int shift = 16 - 8 * c;
        long over = sum[c + 1] / count;  // premultiplied by alpha / 255
        long base = long((under >> shift) & 0xFF);
        out |= std::uint32_t((over + base * (255 - alpha) + 127) / 255) << shift;
      }
      under = out;
    }
  }
}

HICON SmallClassIcon(const Window& w) {
  if (!w.windowClass) return nullptr;
  const WNDCLASSEXA& info = w.windowClass->info;
  return info.hIconSm ? info.hIconSm : info.hIcon;
}

bool HasBoxPair(const Window& w) { return (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0; }

WPARAM CommandOf(const Window& w, LRESULT box) {
  if (box == HTCLOSE) return SC_CLOSE;
  if (box == HTHELP) return SC_CONTEXTHELP;
  if (box == HTMINBUTTON) return SC_MINIMIZE;
  return w.maximized ? SC_RESTORE : SC_MAXIMIZE;
}

void SetPressed(HWND hwnd, LRESULT box) {
  Window* w = Find(hwnd);
  if (!w || w->pressedBox == box) return;
  w->pressedBox = box;
  DrawNonClient(*w);
}

LRESULT PartAtScreenPoint(HWND hwnd, POINT screen) {
  Window* w = Find(hwnd);
  if (!w) return HTNOWHERE;
  POINT o = WindowOriginOnScreen(*w);
  return CaptionPartAt(*w, {screen.x - o.x, screen.y - o.y});
}

}  // namespace

CaptionParts CaptionPartsOf(const Window& w) {
  CaptionParts parts;
  if (!HasCaption(w) || !(w.style & WS_SYSMENU)) return parts;
  int frame = FrameThickness(w);
  int top = frame + 2;
  int right = (w.rect.right - w.rect.left) - frame - 2;
  parts.close = {right - BoxWidth, top, right, top + BoxHeight};
  if (HasBoxPair(w)) {
    // The pair stands two pixels apart from the close box, side by side.
    right = parts.close.left - 2;
    parts.maximize = {right - BoxWidth, top, right, top + BoxHeight};
    parts.minimize = {parts.maximize.left - BoxWidth, top, parts.maximize.left, top + BoxHeight};
  } else if (w.exStyle & WS_EX_CONTEXTHELP) {
    right = parts.close.left - 2;
    parts.help = {right - BoxWidth, top, right, top + BoxHeight};
  }
  // Dialog frames show no icon, as on the classic desktop.
  bool dialogFrame = (w.exStyle & WS_EX_DLGMODALFRAME) || (w.style & DS_MODALFRAME);
  if (SmallClassIcon(w) && !dialogFrame)
    parts.icon = {frame + 2, frame + 1, frame + 2 + SmallIcon, frame + 1 + SmallIcon};
  return parts;
}

LRESULT CaptionPartAt(const Window& w, POINT p) {
  CaptionParts parts = CaptionPartsOf(w);
  if (RectContains(parts.close, p)) return HTCLOSE;
  if (RectContains(parts.maximize, p)) return HTMAXBUTTON;
  if (RectContains(parts.minimize, p)) return HTMINBUTTON;
  if (RectContains(parts.help, p)) return HTHELP;
  if (RectContains(parts.icon, p)) return HTSYSMENU;
  return HTNOWHERE;
}

bool CaptionBoxEnabled(const Window& w, LRESULT box) {
  CaptionParts parts = CaptionPartsOf(w);
  switch (box) {
    case HTCLOSE: return !IsEmptyRect(parts.close) && !CloseBoxDisabled(w);
    case HTMINBUTTON: return !IsEmptyRect(parts.minimize) && (w.style & WS_MINIMIZEBOX);
    case HTMAXBUTTON: return !IsEmptyRect(parts.maximize) && (w.style & WS_MAXIMIZEBOX);
    case HTHELP: return !IsEmptyRect(parts.help);
    default: return false;
  }
}

void DrawCaptionParts(FramePainter& p, const Window& w, POINT origin) {
  CaptionParts parts = CaptionPartsOf(w);
  auto draw = [&](const RECT& box, LRESULT hit, const Glyph& glyph) {
    if (IsEmptyRect(box)) return;
    DrawBox(p, Shifted(box, origin), glyph, CaptionBoxEnabled(w, hit), w.pressedBox == hit);
  };
  draw(parts.close, HTCLOSE, CloseGlyph);
  draw(parts.maximize, HTMAXBUTTON, w.maximized ? RestoreGlyph : MaximizeGlyph);
  draw(parts.minimize, HTMINBUTTON, MinimizeGlyph);
  draw(parts.help, HTHELP, HelpGlyph);
  if (!IsEmptyRect(parts.icon))
    if (const Surface* image = qm::ui::gdi::IconImage(SmallClassIcon(w)))
      DrawIconImage(p, *image, Shifted(parts.icon, origin));
}

void TrackCaptionBox(HWND hwnd, LRESULT box, POINT screen) {
  Window* w = Find(hwnd);
  if (!w || !CaptionBoxEnabled(*w, box)) return;
  SetCapture(hwnd);
  SetPressed(hwnd, box);
  bool over = true;
  bool released = false;
  MSG msg;
  while (GetCapture() == hwnd && Find(hwnd)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      over = PartAtScreenPoint(hwnd, msg.pt) == box;
      SetPressed(hwnd, over ? box : HTNOWHERE);
      continue;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      over = PartAtScreenPoint(hwnd, msg.pt) == box;
      screen = msg.pt;
      released = true;
      break;
    }
    // Keys do nothing while the box is held; Esc lets go of it.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
    if (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSCHAR) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  SetPressed(hwnd, HTNOWHERE);
  if (!released || !over || !(w = Find(hwnd))) return;
  SendMessageA(hwnd, WM_SYSCOMMAND, CommandOf(*w, box), MAKELPARAM(WORD(screen.x), WORD(screen.y)));
}

}  // namespace qm::ui::user
