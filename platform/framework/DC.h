// Device contexts: DC wraps a handle (a memory DC made with
// CreateCompatibleDC is deleted with the object); PaintDC brackets a paint
// handler with BeginPaint and EndPaint; ClientDC and WindowDC take a window's
// DC and release it.
#pragma once

#include <string>

#include "platform/framework/GdiObject.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace qm::fw {

class Window;

class DC {
 public:
  DC() = default;
  explicit DC(HDC dc) : hdc(dc) {}
  virtual ~DC();
  DC(const DC&) = delete;
  DC& operator=(const DC&) = delete;

  HDC Handle() const { return hdc; }
  // A memory DC compatible with other (null: with the screen), owned by this
  // object.
  bool CreateCompatibleDC(DC* other);
  bool DeleteDC();

  HGDIOBJ SelectObject(HGDIOBJ object);
  HGDIOBJ SelectObject(GdiObject& object) { return SelectObject(object.Handle()); }
  HGDIOBJ SelectStockObject(int index);

  COLORREF SetTextColor(COLORREF color);
  COLORREF SetBkColor(COLORREF color);
  int SetBkMode(int mode);
  int SaveDC();
  bool RestoreDC(int saved);

  bool MoveTo(int x, int y);
  bool LineTo(int x, int y);
  bool Rectangle(int left, int top, int right, int bottom);
  bool Rectangle(const RECT& rect) { return Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
  void FillRect(const RECT& rect, HBRUSH brush);
  void FillRect(const RECT& rect, Brush& brush) { FillRect(rect, brush.Handle()); }
  void FillSolidRect(const RECT& rect, COLORREF color);
  void FrameRect(const RECT& rect, HBRUSH brush);
  bool DrawEdge(RECT& rect, UINT edge, UINT flags);
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF GetPixel(int x, int y) const;

  bool TextOut(int x, int y, const std::string& text);
  int DrawText(const std::string& text, RECT& rect, UINT format);
  SIZE GetTextExtent(const std::string& text) const;
  bool GetTextMetrics(TEXTMETRICA* metrics) const;

  bool BitBlt(int x, int y, int width, int height, DC* source, int sourceX, int sourceY, DWORD rop);
  bool StretchBlt(int x, int y, int width, int height, DC* source, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, DWORD rop);
  bool DrawIcon(int x, int y, HICON icon);

 protected:
  HDC hdc = nullptr;

 private:
  bool ownsMemoryDC = false;
};

class PaintDC : public DC {
 public:
  explicit PaintDC(Window* window);
  ~PaintDC() override;
  const PAINTSTRUCT& Paint() const { return paint; }

 private:
  HWND hwnd = nullptr;
  PAINTSTRUCT paint{};
};

class ClientDC : public DC {
 public:
  explicit ClientDC(Window* window);  // null: the screen
  ~ClientDC() override;

 private:
  HWND hwnd = nullptr;
};

class WindowDC : public DC {
 public:
  explicit WindowDC(Window* window);
  ~WindowDC() override;

 private:
  HWND hwnd = nullptr;
};

}  // namespace qm::fw
