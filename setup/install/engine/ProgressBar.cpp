#include "install/engine/ProgressBar.h"

#include <string>

#include "platform/framework/Resources.h"

namespace {

constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

// One image of the percentage text on an opaque background, in a DC of its
// own that is compatible with the bar's buffer.
class TextImage {
 public:
  TextImage(qm::fw::DC& buffer, const std::string& text, SIZE size, COLORREF ink, COLORREF paper) {
    dc.CreateCompatibleDC(&buffer);
    bitmap.CreateCompatibleBitmap(buffer, size.cx, size.cy);
    previous = dc.SelectObject(bitmap);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(paper);
    dc.SetTextColor(ink);
    dc.TextOut(0, 0, text);
  }
  ~TextImage() { dc.SelectObject(previous); }

  qm::fw::DC* Dc() { return &dc; }

 private:
  qm::fw::Bitmap bitmap;
  qm::fw::DC dc;
  HGDIOBJ previous = nullptr;
};

}  // namespace

std::optional<ProgressBar::Picture> ProgressBar::PictureOf(int position, int width) const {
  int lower = 0;
  int upper = 0;
  GetRange(lower, upper);
  if (upper == 0) return std::nullopt;
  return Picture{static_cast<int>(static_cast<double>(position) / upper * width),
                 static_cast<int>(position * 100.0 / upper)};
}

void ProgressBar::SetPosAndRedraw(int position) {
  // Most files of a large copy leave the position where it was.
  if (painted && position == GetPos()) return;
  SetPosQuietly(position);
  ShowPos();
}

void ProgressBar::SetPosQuietly(int position) {
  if (position == GetPos()) return;
  // The control asks for a paint of its own whenever its position changes:
  // that request is taken back, unless the bar was waiting for a paint
  // already.
  const bool paintPending = GetUpdateRect(Handle(), nullptr, FALSE) != FALSE;
  SetPos(position);
  if (!paintPending && painted) ValidateRect(Handle(), nullptr);
}

void ProgressBar::ShowPos() {
  RECT client{};
  GetClientRect(&client);
  // The control keeps the position within its range: the picture follows
  // the kept one.
  if (painted && PictureOf(GetPos(), client.right) == painted) return;
  InvalidateRect(nullptr, false);
}

void ProgressBar::OnPaint() {
  qm::fw::PaintDC dc(this);
  RECT client{};
  GetClientRect(&client);
  const int width = client.right;
  const int height = client.bottom;
  if (!bufferReady) {
    memoryDC.CreateCompatibleDC(&dc);
    bufferBitmap.CreateCompatibleBitmap(dc, width, height);
    memoryDC.SelectObject(bufferBitmap);
    bufferReady = true;
  }

  int lower = 0;
  int upper = 0;
  GetRange(lower, upper);
  qm::fw::Brush blueBrush(Blue);
  qm::fw::Brush whiteBrush(White);
  // An empty range would divide by zero; the bar is then left undrawn.
  if (upper == 0) {
    painted.reset();
    return;
  }

  qm::fw::Pen bluePen(PS_SOLID, 1, Blue);
  qm::fw::Pen whitePen(PS_SOLID, 1, White);
  const int position = GetPos();
  const Picture picture = *PictureOf(position, width);
  const int fill = picture.fill;

  const HGDIOBJ previousPen = memoryDC.SelectObject(bluePen);
  const HGDIOBJ previousBrush = memoryDC.SelectObject(blueBrush);
  memoryDC.Rectangle(0, 0, fill, height);
  memoryDC.SelectObject(whitePen);
  memoryDC.SelectObject(whiteBrush);
  memoryDC.Rectangle(fill, 0, width, height);

  const std::string text = qm::fw::Format("%d%%", picture.percent);
  const SIZE extent = memoryDC.GetTextExtent(text);
  const int textX = (width - extent.cx) / 2;
  const int textY = (height - extent.cy) / 2;
  {
    TextImage overWhite(memoryDC, text, extent, Black, White);
    TextImage overBlue(memoryDC, text, extent, White, Blue);
    if (textX < fill && fill < textX + extent.cx) {
      const int split = fill - textX;
      memoryDC.BitBlt(fill, textY, extent.cx - split, extent.cy, overWhite.Dc(), split, 0, SRCCOPY);
      memoryDC.BitBlt(textX, textY, split, extent.cy, overBlue.Dc(), 0, 0, SRCCOPY);
    } else if (fill <= textX) {
      memoryDC.BitBlt(textX, textY, extent.cx, extent.cy, overWhite.Dc(), 0, 0, SRCCOPY);
    } else {
      memoryDC.BitBlt(textX, textY, extent.cx, extent.cy, overBlue.Dc(), 0, 0, SRCCOPY);
    }
  }
  memoryDC.SelectObject(previousBrush);
  memoryDC.SelectObject(previousPen);

  dc.BitBlt(0, 0, width, height, &memoryDC, 0, 0, SRCCOPY);
  painted = picture;
}
