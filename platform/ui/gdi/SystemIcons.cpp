// The system's message icons, drawn in the classic style at 32x32 with
// anti-aliased edges: an information and a question balloon, a red stop
// sign and a yellow warning triangle, plus a plain application window.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>

#include "platform/ui/Resources.h"
#include "platform/ui/gdi/FontEngine.h"
#include "platform/ui/gdi/Icons.h"

namespace qm::ui::gdi {
namespace {

constexpr int kSize = 32;
constexpr int kSamples = 4;

class IconPainter {
 public:
  IconPainter() : image_(kSize, kSize, 0) {}

  // Paints the area where `inside` holds, sampling each pixel on a grid.
  void Shape(const std::function<bool(double, double)>& inside, std::uint32_t rgb) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        int hits = 0;
        for (int j = 0; j < kSamples; ++j)
          for (int i = 0; i < kSamples; ++i)
            if (inside(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples)) ++hits;
        Over(x, y, rgb, hits * 255 / (kSamples * kSamples));
      }
  }

  // One character of a bold face, its ink centred on (centreX, centreY).
  void Character(char32_t ch, const char* face, int pixelHeight, double centreX, double centreY, std::uint32_t rgb) {
    LOGFONTA logFont{};
    logFont.lfHeight = -pixelHeight;
    logFont.lfWeight = FW_BOLD;
    std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    const Glyph& glyph = InstanceFor(logFont)->GlyphFor(ch);
    int left = static_cast<int>(std::lround(centreX - glyph.width / 2.0));
    int top = static_cast<int>(std::lround(centreY - glyph.rows / 2.0));
    for (int j = 0; j < glyph.rows; ++j)
      for (int i = 0; i < glyph.width; ++i)
        Over(left + i, top + j, rgb, glyph.coverage[std::size_t(j) * glyph.width + i]);
  }

  Surface Take() { return std::move(image_); }

 private:
  void Over(int x, int y, std::uint32_t rgb, int coverage) {
    if (coverage <= 0 || !image_.Contains(x, y)) return;
    std::uint32_t& dest = image_.At(x, y);
    double sa = coverage / 255.0, da = (dest >> 24) / 255.0;
    double oa = sa + da * (1 - sa);
    std::uint32_t out = std::uint32_t(std::lround(oa * 255)) << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
      double s = (rgb >> shift) & 0xFF, d = (dest >> shift) & 0xFF;
      double c = oa > 0 ? (s * sa + d * da * (1 - sa)) / oa : 0;
      out |= std::uint32_t(std::lround(c)) << shift;
    }
    dest = out;
  }

  Surface image_;
};

auto Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

auto Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
  return [=](double x, double y) {
    auto side = [](double px, double py, double qx, double qy, double x0, double y0) {
      return (qx - px) * (y0 - py) - (qy - py) * (x0 - px);
    };
    double d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y), d3 = side(cx, cy, ax, ay, x, y);
    bool negative = d1 < 0 || d2 < 0 || d3 < 0, positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
  };
}

auto Segment(double ax, double ay, double bx, double by, double halfWidth) {
  return [=](double x, double y) {
    double vx = bx - ax, vy = by - ay;
    double t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    double dx = x - (ax + t * vx), dy = y - (ay + t * vy);
    return dx * dx + dy * dy <= halfWidth * halfWidth;
  };
}

auto Box(double left, double top, double right, double bottom) {
  return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kBlue = 0x0000FF, kRed = 0xFF0000,
                        kDarkRed = 0x800000, kYellow = 0xFFFF00, kNavy = 0x000080, kGrey = 0x808080;

Surface Balloon(char32_t mark) {
  IconPainter p;
  // A soft shadow, the black rim, then the white balloon with its tail.
  p.Shape(Ellipse(17, 14.5, 14, 11.5), kGrey);
  p.Shape(Triangle(9, 21, 17, 23, 6, 31), kBlack);
  p.Shape(Ellipse(15.5, 13, 14.5, 12), kBlack);
  p.Shape(Ellipse(15.5, 13, 13.3, 10.8), kWhite);
  p.Shape(Triangle(9.6, 21.5, 15.5, 22.6, 7.6, 28.6), kWhite);
  p.Character(mark, "Times New Roman", 22, 15.5, 13, kBlue);
  return p.Take();
}

Surface Stop() {
  IconPainter p;
  p.Shape(Ellipse(17, 17, 14.5, 14.5), kGrey);
  p.Shape(Ellipse(15.5, 15.5, 15, 15), kDarkRed);
  p.Shape(Ellipse(15.5, 15.5, 13.8, 13.8), kRed);
  p.Shape(Segment(10, 10, 21, 21, 2), kWhite);
  p.Shape(Segment(21, 10, 10, 21, 2), kWhite);
  return p.Take();
}

Surface Warning() {
  IconPainter p;
  p.Shape(Triangle(16, 1, 31.5, 30, 0.5, 30), kBlack);
  p.Shape(Triangle(16, 3.6, 29.4, 28.6, 2.6, 28.6), kYellow);
  p.Character(U'!', "Arial", 22, 16, 18.5, kBlack);
  return p.Take();
}

Surface Application() {
  IconPainter p;
  p.Shape(Box(1, 3, 31, 29), kBlack);
  p.Shape(Box(2, 4, 30, 28), kWhite);
  p.Shape(Box(2, 4, 30, 9), kNavy);
  p.Shape(Box(26, 5, 29, 8), 0xC0C0C0);
  return p.Take();
}

}  // namespace

HICON SystemIcon(WORD id) {
  static std::map<WORD, HICON> icons;
  if (auto it = icons.find(id); it != icons.end()) return it->second;
  Surface image;
  if (IDI_ASTERISK == MAKEINTRESOURCEA(id))
    image = Balloon(U'i');
  else if (IDI_QUESTION == MAKEINTRESOURCEA(id))
    image = Balloon(U'?');
  else if (IDI_HAND == MAKEINTRESOURCEA(id))
    image = Stop();
  else if (IDI_EXCLAMATION == MAKEINTRESOURCEA(id))
    image = Warning();
  else if (IDI_APPLICATION == MAKEINTRESOURCEA(id))
    image = Application();
  else
    return nullptr;
  HICON icon = InsertIcon(std::move(image), true);
  icons.emplace(id, icon);
  return icon;
}

}  // namespace qm::ui::gdi
