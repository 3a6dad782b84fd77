// Drawing objects that delete their handle with them: pens, brushes, fonts,
// bitmaps. An object must be deselected from every DC before it goes.
#pragma once

#include <string>

#include "platform/ui/WinGdi.h"

namespace qm::fw {

class DC;

class GdiObject {
 public:
  GdiObject() = default;
  virtual ~GdiObject();
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  HGDIOBJ Handle() const { return handle; }
  bool DeleteObject();
  // Takes ownership of an existing handle (the previous one is deleted).
  void Attach(HGDIOBJ object);
  HGDIOBJ Detach();

 protected:
  bool Set(HGDIOBJ object);

 private:
  HGDIOBJ handle = nullptr;
};

class Pen : public GdiObject {
 public:
  Pen() = default;
  Pen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  bool CreatePen(int style, int width, COLORREF color);
};

class Brush : public GdiObject {
 public:
  Brush() = default;
  explicit Brush(COLORREF color) { CreateSolidBrush(color); }
  bool CreateSolidBrush(COLORREF color);
};

class Font : public GdiObject {
 public:
  bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCSTR faceName);
  bool CreateFontIndirect(const LOGFONTA& logFont);
};

class Bitmap : public GdiObject {
 public:
  bool CreateCompatibleBitmap(DC& dc, int width, int height);
  // A bitmap of the program's resources; false when there is none.
  bool LoadBitmap(UINT id);
  bool GetBitmap(BITMAP* info) const;
};

}  // namespace qm::fw
