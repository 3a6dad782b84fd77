// A device context: where drawing lands (a surface, through an origin and a
// clip rectangle) and the drawing state. Coordinates handed to the drawing
// calls are logical; Device() turns them into surface coordinates.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/Surface.h"
#include "platform/ui/WinGdi.h"

namespace qm::ui::gdi {

class FontInstance;

struct DcState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;  // memory DCs only
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  POINT position{0, 0};
  POINT viewportOrg{0, 0};
  std::optional<RECT> userClip;  // surface coordinates
};

class DeviceContext {
 public:
  DeviceContext(std::shared_ptr<Surface> surface, POINT origin, RECT clip, HWND window);
  // A memory DC, drawing into whatever bitmap is selected.
  DeviceContext();
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  bool IsMemory() const { return memory_; }
  HWND Window() const { return window_; }
  Surface* Target() const;
  DcState& State() { return state_; }

  HGDIOBJ Select(HGDIOBJ object);
  int Save();
  bool Restore(int level);

  // Logical to surface coordinates.
  POINT Device(int x, int y) const;
  RECT Device(const RECT& logical) const;
  // The rectangle drawing may touch, in surface coordinates.
  RECT Clip() const;
  void IntersectClip(const RECT& deviceRect);

  // Raster operations in surface coordinates; all clip and record what they touch.
  void Fill(RECT rect, std::uint32_t pixel);
  void Plot(int x, int y, std::uint32_t pixel);
  void Blend(int x, int y, std::uint32_t pixel, int coverage);  // coverage 0..255
  void Invert(int x, int y);
  // Blends `pixel` through an 8-bit coverage mask whose top-left lands at (left, top).
  void BlendMask(int left, int top, int width, int rows, const std::uint8_t* coverage, std::uint32_t pixel);
  void Touch(const RECT& rect);
  RECT TakeDrawn();

  FontInstance& Font();

 private:
  void Hold(const DcState& state);
  void Drop(const DcState& state);

  bool memory_ = false;
  std::shared_ptr<Surface> surface_;  // window DCs
  POINT origin_{0, 0};
  RECT baseClip_{0, 0, 0, 0};
  HWND window_ = nullptr;
  DcState state_;
  std::vector<DcState> saved_;
  RECT drawn_{0, 0, 0, 0};
};

HDC InsertDC(std::unique_ptr<DeviceContext> dc);
// Releases the DC; false for a handle that is not a live DC.
bool EraseDC(HDC dc);
// Null for a handle that is not a live DC.
DeviceContext* LookupDC(HDC dc);

RECT Intersect(const RECT& a, const RECT& b);
RECT Union(const RECT& a, const RECT& b);
bool IsEmpty(const RECT& r);

}  // namespace qm::ui::gdi
