// Times the drawing work the installer's windows do most: the main window's
// gradient background and title, a progress bar repaint, dialog text and a
// full-screen copy. Run by hand: bench_DrawingBench [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/ui/Surface.h"
#include "platform/ui/SurfaceDC.h"
#include "platform/ui/WinGdi.h"

namespace {

void Time(const char* name, int repetitions, const std::function<void()>& work) {
  work();  // caches warm
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) work();
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-32s %9.3f ms per run (%d runs)\n", name, ms / repetitions, repetitions);
}

}  // namespace

int main(int argc, char** argv) {
  int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  constexpr int width = 1024, height = 768;
  auto screen = std::make_shared<qm::ui::Surface>(width, height);
  HDC dc = qm::ui::CreateSurfaceDC(screen, POINT{0, 0}, RECT{0, 0, width, height}, nullptr);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  SelectObject(memory, bitmap);

  Time("gradient background 1024x768", repetitions, [&] {
    for (int i = 0; i < height; ++i) {
      HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, BYTE(192 - (192 * i) / height)));
      HGDIOBJ old = SelectObject(memory, pen);
      MoveToEx(memory, 0, i, nullptr);
      LineTo(memory, width, i);
      SelectObject(memory, old);
      DeleteObject(pen);
    }
  });

  HFONT title = CreateFontA(30, 15, 0, 0, 700, 1, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_TT_ALWAYS,
                            PROOF_QUALITY, 0, "Times Roman");
  Time("title text with shadow", repetitions * 10, [&] {
    HGDIOBJ old = SelectObject(memory, title);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    TextOutA(memory, 25, 25, "Quellmoor Installation Utility", 30);
    SetTextColor(memory, RGB(255, 255, 255));
    TextOutA(memory, 20, 20, "Quellmoor Installation Utility", 30);
    SelectObject(memory, old);
  });

  Time("full-screen BitBlt", repetitions * 5, [&] { BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY); });

  Time("dialog paragraph DrawTextA", repetitions * 50, [&] {
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT rect{20, 20, 320, 200};
    DrawTextA(dc, "Setup will install the game in the following folder. To install to this folder, click "
                  "Next. To install to a different folder, click Browse and select another folder.",
              -1, &rect, DT_WORDBREAK);
    SelectObject(dc, old);
  });

  Time("progress bar repaint 300x20", repetitions * 50, [&] {
    HDC bar = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, 300, 20);
    SelectObject(bar, buffer);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ oldBrush = SelectObject(bar, blue);
    Rectangle(bar, 0, 0, 150, 20);
    SIZE size{};
    GetTextExtentPoint32A(bar, "50%", 3, &size);
    TextOutA(bar, (300 - size.cx) / 2, (20 - size.cy) / 2, "50%", 3);
    BitBlt(dc, 10, 10, 300, 20, bar, 0, 0, SRCCOPY);
    SelectObject(bar, oldBrush);
    DeleteObject(blue);
    DeleteDC(bar);
    DeleteObject(buffer);
  });

  DeleteObject(title);
  DeleteDC(memory);
  DeleteObject(bitmap);
  qm::ui::DestroySurfaceDC(dc);
  return 0;
}
