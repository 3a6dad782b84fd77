// Drawing: device contexts over RGBA surfaces, pens, brushes, fonts, bitmaps,
// lines, rectangles, text and block transfers, plus the drawing helpers the
// controls use (FillRect, DrawText, DrawEdge, icons).
#pragma once

#include "platform/kernel/WinTypes.h"

// ---- Stock objects ---------------------------------------------------------
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int index);

// ---- Object creation and selection ---------------------------------------------
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);

constexpr int LF_FACESIZE = 32;
struct LOGFONTA {
  LONG lfHeight;  // < 0: character height in pixels; > 0: cell height; 0: default
  LONG lfWidth;   // 0: the face's natural width; else the average character width
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;  // FW_NORMAL 400, FW_BOLD 700
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_TT_ALWAYS = 32;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
HFONT CreateFontIndirectA(const LOGFONTA* logFont);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);

HDC CreateCompatibleDC(HDC dc);  // null: compatible with the screen
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // returns the previously selected object of that kind
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);  // BITMAP, LOGFONTA, LOGPEN, LOGBRUSH
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};
struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
};
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  std::uintptr_t lbHatch;
};

// ---- State -------------------------------------------------------------------
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);

constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);

// ---- Lines, shapes, pixels -------------------------------------------------------
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);  // the end point itself is not drawn
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);  // right and bottom edges excluded
BOOL Polyline(HDC dc, const POINT* points, int count);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL DrawFocusRect(HDC dc, const RECT* rect);

constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_ADJUST = 0x2000;
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);

// ---- Text ------------------------------------------------------------------------
struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
// Text is UTF-8; counts are in bytes.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
BOOL GetTextFaceA(HDC dc, int count, LPSTR faceName);  // the installed face actually used

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
// With DT_WORDBREAK: a word wider than the line is broken where it stops
// fitting, as a multiline edit control breaks it, instead of widening the line.
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
// "&x" underlines x (unless DT_NOPREFIX); "&&" is a literal ampersand; "\n" breaks a line.
int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format);

// ---- Block transfers ---------------------------------------------------------------
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD DSTINVERT = 0x00550009;
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);

// ---- Icons -------------------------------------------------------------------------
constexpr UINT DI_NORMAL = 0x0003;
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker, UINT flags);
BOOL DestroyIcon(HICON icon);
