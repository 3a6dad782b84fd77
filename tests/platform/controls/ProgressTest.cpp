#include "ControlTest.h"

namespace qm::test {
namespace {

class ProgressTest : public ControlTest {
 protected:
  HWND Bar(DWORD style = 0) { return CreateControl(parent, PROGRESS_CLASSA, "", style, RECT{10, 10, 212, 38}, 1018); }
};

struct ProgressStep { UINT message; WPARAM wParam; LPARAM lParam; LRESULT returned; };
struct ProgressCase { const char* name; std::vector<ProgressStep> steps; int position; };

TEST_F(ProgressTest, PositionIsHeldWithinTheRange) {
  const ProgressCase cases[] = {
      {"beyond the top", {{PBM_SETRANGE32, 0, 1000, MAKELONG(0, 100)}, {PBM_SETPOS, 1500, 0, 0}}, 1000},
      {"below the bottom", {{PBM_SETRANGE, 0, MAKELPARAM(10, 20), MAKELONG(0, 100)}, {PBM_SETPOS, 3, 0, 10}}, 10},
      {"set returns the previous position", {{PBM_SETPOS, 40, 0, 0}, {PBM_SETPOS, 60, 0, 40}}, 60},
      {"narrowing the range pulls the position in",
       {{PBM_SETRANGE32, 0, 1000, MAKELONG(0, 100)}, {PBM_SETPOS, 800, 0, 0}, {PBM_SETRANGE32, 0, 500, MAKELONG(0, 1000)}},
       500},
      {"delta past the end", {{PBM_SETPOS, 90, 0, 0}, {PBM_DELTAPOS, 50, 0, 90}}, 100},
      {"step", {{PBM_SETSTEP, 30, 0, 10}, {PBM_STEPIT, 0, 0, 0}, {PBM_STEPIT, 0, 0, 30}}, 60},
      {"step past the end starts over", {{PBM_SETSTEP, 30, 0, 10}, {PBM_SETPOS, 90, 0, 0}, {PBM_STEPIT, 0, 0, 90}}, 20},
  };
  for (const ProgressCase& c : cases) {
    SCOPED_TRACE(c.name);
    HWND bar = Bar();
    for (const ProgressStep& step : c.steps)
      EXPECT_EQ(SendMessageA(bar, step.message, step.wParam, step.lParam), step.returned);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), c.position);
    DestroyWindow(bar);
  }
}

TEST_F(ProgressTest, BlocksFillThePartUpToThePosition) {
  const COLORREF navy = RGB(0, 0, 128);
  for (DWORD style : {DWORD{0}, DWORD{PBS_SMOOTH}}) {
    SCOPED_TRACE(style ? "smooth" : "blocks");
    HWND bar = Bar(style);
    SendMessageA(bar, PBM_SETPOS, 50, 0);
    auto picture = Capture(bar);
    int middle = picture.width / 2;
    EXPECT_GT(picture.Count(RECT{2, 2, middle - 10, picture.height - 2}, navy), 0);
    EXPECT_EQ(picture.Count(RECT{middle + 10, 0, picture.width, picture.height}, navy), 0);
    EXPECT_EQ(picture.At(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(picture.At(picture.width - 1, picture.height - 1), RGB(255, 255, 255));
    DestroyWindow(bar);
  }
}

WNDPROC originalProc = nullptr;

LRESULT RedPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return CallWindowProcA(originalProc, hwnd, message, wParam, lParam);
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  RECT client{};
  GetClientRect(hwnd, &client);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &client, red);
  DeleteObject(red);
  EndPaint(hwnd, &paint);
  return 0;
}

TEST_F(ProgressTest, SubclassReplacesThePaintingEntirely) {
  HWND bar = Bar();
  originalProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RedPaint)));
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
  EXPECT_EQ(SendMessageA(bar, PBM_SETPOS, 2000, 0), 0);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 1000);
  InvalidateRect(bar, nullptr, FALSE);
  auto picture = Capture(bar);
  EXPECT_EQ(picture.Count(RGB(255, 0, 0)), picture.width * picture.height);
}

}  // namespace
}  // namespace qm::test
