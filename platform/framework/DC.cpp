#include "platform/framework/DC.h"

#include "platform/framework/Window.h"

namespace qm::fw {

DC::~DC() { DeleteDC(); }

bool DC::CreateCompatibleDC(DC* other) {
  DeleteDC();
  hdc = ::CreateCompatibleDC(other ? other->Handle() : nullptr);
  ownsMemoryDC = hdc != nullptr;
  return ownsMemoryDC;
}

bool DC::DeleteDC() {
  if (!ownsMemoryDC || !hdc) return false;
  const BOOL deleted = ::DeleteDC(hdc);
  hdc = nullptr;
  ownsMemoryDC = false;
  return deleted != FALSE;
}

HGDIOBJ DC::SelectObject(HGDIOBJ object) { return ::SelectObject(hdc, object); }
HGDIOBJ DC::SelectStockObject(int index) { return ::SelectObject(hdc, ::GetStockObject(index)); }
COLORREF DC::SetTextColor(COLORREF color) { return ::SetTextColor(hdc, color); }
COLORREF DC::SetBkColor(COLORREF color) { return ::SetBkColor(hdc, color); }
int DC::SetBkMode(int mode) { return ::SetBkMode(hdc, mode); }
int DC::SaveDC() { return ::SaveDC(hdc); }
bool DC::RestoreDC(int saved) { return ::RestoreDC(hdc, saved) != FALSE; }
bool DC::MoveTo(int x, int y) { return ::MoveToEx(hdc, x, y, nullptr) != FALSE; }
bool DC::LineTo(int x, int y) { return ::LineTo(hdc, x, y) != FALSE; }
bool DC::Rectangle(int left, int top, int right, int bottom) {
  return ::Rectangle(hdc, left, top, right, bottom) != FALSE;
}
void DC::FillRect(const RECT& rect, HBRUSH brush) { ::FillRect(hdc, &rect, brush); }

void DC::FillSolidRect(const RECT& rect, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(hdc, &rect, brush);
  ::DeleteObject(brush);
}

void DC::FrameRect(const RECT& rect, HBRUSH brush) { ::FrameRect(hdc, &rect, brush); }
bool DC::DrawEdge(RECT& rect, UINT edge, UINT flags) { return ::DrawEdge(hdc, &rect, edge, flags) != FALSE; }
COLORREF DC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(hdc, x, y, color); }
COLORREF DC::GetPixel(int x, int y) const { return ::GetPixel(hdc, x, y); }

bool DC::TextOut(int x, int y, const std::string& text) {
  return ::TextOutA(hdc, x, y, text.c_str(), static_cast<int>(text.size())) != FALSE;
}

int DC::DrawText(const std::string& text, RECT& rect, UINT format) {
  return ::DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

SIZE DC::GetTextExtent(const std::string& text) const {
  SIZE size{};
  ::GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

bool DC::GetTextMetrics(TEXTMETRICA* metrics) const { return ::GetTextMetricsA(hdc, metrics) != FALSE; }

bool DC::BitBlt(int x, int y, int width, int height, DC* source, int sourceX, int sourceY, DWORD rop) {
  return ::BitBlt(hdc, x, y, width, height, source ? source->Handle() : nullptr, sourceX, sourceY, rop) != FALSE;
}

bool DC::StretchBlt(int x, int y, int width, int height, DC* source, int sourceX, int sourceY, int sourceWidth,
                    int sourceHeight, DWORD rop) {
  return ::StretchBlt(hdc, x, y, width, height, source ? source->Handle() : nullptr, sourceX, sourceY, sourceWidth,
                      sourceHeight, rop) != FALSE;
}

bool DC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(hdc, x, y, icon) != FALSE; }

PaintDC::PaintDC(Window* window) : hwnd(window ? window->Handle() : nullptr) {
  hdc = ::BeginPaint(hwnd, &paint);
}

PaintDC::~PaintDC() {
  ::EndPaint(hwnd, &paint);
  hdc = nullptr;
}

ClientDC::ClientDC(Window* window) : hwnd(window ? window->Handle() : nullptr) { hdc = ::GetDC(hwnd); }

ClientDC::~ClientDC() {
  ::ReleaseDC(hwnd, hdc);
  hdc = nullptr;
}

WindowDC::WindowDC(Window* window) : hwnd(window ? window->Handle() : nullptr) { hdc = ::GetWindowDC(hwnd); }

WindowDC::~WindowDC() {
  ::ReleaseDC(hwnd, hdc);
  hdc = nullptr;
}

}  // namespace qm::fw
