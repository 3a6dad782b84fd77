#include <functional>

#include "WindowTestSupport.h"

#include "platform/ui/user/IdleHook.h"

namespace qm::test {
namespace {

struct Scroll {
  WORD code;
  int position;
};

// A window whose scroll messages are recorded and, like a real scrolling
// window, applied to its own bar: lines by 1, pages by 10, thumb positions
// as they come.
class ScrollBarTest : public WindowTest {
 protected:
  HWND Scrolling(DWORD style, RECT rect = {50, 50, 250, 250}) {
    auto scroll = [this](HWND hwnd, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
      if (m != WM_VSCROLL && m != WM_HSCROLL) return std::nullopt;
      int bar = m == WM_VSCROLL ? SB_VERT : SB_HORZ;
      WORD code = LOWORD(w);
      SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, bar, &info);
      scrolls.push_back({code, code == SB_THUMBTRACK || code == SB_THUMBPOSITION ? info.nTrackPos : info.nPos});
      int pos = info.nPos;
      if (code == SB_LINEDOWN) pos += 1;
      if (code == SB_LINEUP) pos -= 1;
      if (code == SB_PAGEDOWN) pos += 10;
      if (code == SB_PAGEUP) pos -= 10;
      if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) pos = info.nTrackPos;
      SetScrollPos(hwnd, bar, pos, TRUE);
      return 0;
    };
    return Create(WS_POPUP | WS_VISIBLE | style, rect, nullptr, scroll);
  }

  static void SetRange(HWND hwnd, int bar, int max, UINT page, int pos = 0, UINT extra = 0) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | extra, 0, max, page, pos, 0};
    SetScrollInfo(hwnd, bar, &info, TRUE);
  }

  // Window coordinates to the screen.
  static POINT At(HWND hwnd, int x, int y) { return {WindowRect(hwnd).left + x, WindowRect(hwnd).top + y}; }

  // Pumps; each time the loop waits for input the next action is taken.
  void WhileHeld(std::vector<std::function<void()>> actions) {
    std::size_t next = 0;
    ui::user::SetIdleHook([&](const ui::user::IdlePoint& point) {
      if (!point.programWaits || next == actions.size()) return ui::user::IdleResult::Nothing;
      actions[next++]();
      return ui::user::IdleResult::Progress;
    });
    Pump();
    ui::user::SetIdleHook({});
    EXPECT_EQ(next, actions.size());
  }

  std::vector<WORD> Codes() const {
    std::vector<WORD> codes;
    for (const Scroll& s : scrolls) codes.push_back(s.code);
    return codes;
  }
  // Scrolling(style) with the bar ranges set and nothing recorded yet.
  HWND Scrolled(DWORD style, int pos = 0) {
    HWND hwnd = Scrolling(style);
    if (style & WS_VSCROLL) SetRange(hwnd, SB_VERT, 99, 10, pos);
    if (style & WS_HSCROLL) SetRange(hwnd, SB_HORZ, 99, 10, pos);
    Pump();
    scrolls.clear();
    return hwnd;
  }

  // The screen's pixel at window coordinates.
  static COLORREF Pixel(HWND hwnd, int x, int y) {
    POINT p = At(hwnd, x, y);
    return qm::ui::ColorFromPixel(qm::ui::ScreenSurface().At(p.x, p.y));
  }

  std::vector<Scroll> scrolls;
};

TEST_F(ScrollBarTest, PageAndPositionStayInsideTheRange) {
  struct Row {
    const char* name;
    SCROLLINFO set;
    int returned;
    UINT page;
    int pos;
  } rows[] = {
      {"position past the last page", {sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 95, 0}, 90, 10, 90},
      {"position below the range", {sizeof(SCROLLINFO), SIF_ALL, 10, 50, 5, 3, 0}, 10, 5, 10},
      {"page larger than the range", {sizeof(SCROLLINFO), SIF_ALL, 0, 9, 40, 5, 0}, 0, 10, 0},
      {"no page: the last position is the maximum", {sizeof(SCROLLINFO), SIF_ALL, 0, 20, 0, 20, 0}, 20, 0, 20},
  };
  HWND hwnd = Scrolling(WS_VSCROLL);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &row.set, TRUE), row.returned);
    SCROLLINFO got{sizeof got, SIF_ALL, -1, -1, 99, -1, -1};
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &got));
    EXPECT_EQ(got.nPage, row.page);
    EXPECT_EQ(got.nPos, row.pos);
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), row.pos);
  }
  EXPECT_EQ(SetScrollPos(hwnd, SB_VERT, 7, TRUE), 20) << "SetScrollPos answers the previous position";
}

TEST_F(ScrollBarTest, BarIsShownOnlyWhileThereIsSomethingToScroll) {
  HWND hwnd = Scrolling(0);
  const LONG fullWidth = ClientRect(hwnd).right;

  SetRange(hwnd, SB_VERT, 99, 10);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_VSCROLL) << "a range to scroll brings the bar";
  EXPECT_EQ(ClientRect(hwnd).right, fullWidth - GetSystemMetrics(SM_CXVSCROLL));
  ASSERT_FALSE(Messages(hwnd, WM_SIZE).empty());
  EXPECT_EQ(LOWORD(Messages(hwnd, WM_SIZE).back().lParam), ClientRect(hwnd).right)
      << "the window hears of its narrower client";

  SetRange(hwnd, SB_VERT, 9, 10);
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & WS_VSCROLL) << "a page covering the range hides the bar";
  EXPECT_EQ(ClientRect(hwnd).right, fullWidth);

  SetRange(hwnd, SB_VERT, 9, 10, 0, SIF_DISABLENOSCROLL);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_VSCROLL) << "SIF_DISABLENOSCROLL keeps it, disabled";
  ClearLog();
  Click(At(hwnd, 200 - 8, 200 - 8));
  EXPECT_TRUE(scrolls.empty()) << "a disabled bar sends nothing";
}

TEST_F(ScrollBarTest, ArrowsAndTrackSendLineAndPageCodesEachEndedByEndScroll) {
  // A 200 by 200 window: the vertical bar spans x 184..200, y 0..184 above
  // the horizontal one; the corner square belongs to neither.
  struct Row {
    const char* name;
    int bar;
    POINT at;  // window coordinates
    std::vector<WORD> codes;
  } rows[] = {
      {"down arrow", SB_VERT, {192, 176}, {SB_LINEDOWN, SB_ENDSCROLL}},
      {"up arrow", SB_VERT, {192, 8}, {SB_LINEUP, SB_ENDSCROLL}},
      {"track below the thumb", SB_VERT, {192, 150}, {SB_PAGEDOWN, SB_ENDSCROLL}},
      {"right arrow", SB_HORZ, {176, 192}, {SB_LINERIGHT, SB_ENDSCROLL}},
      {"track left of the thumb", SB_HORZ, {30, 192}, {SB_PAGELEFT, SB_ENDSCROLL}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HWND hwnd = Scrolled(WS_VSCROLL | WS_HSCROLL, 50);
    const POINT at = At(hwnd, row.at.x, row.at.y);
    EXPECT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), row.bar == SB_VERT ? HTVSCROLL : HTHSCROLL);
    Click(at);
    EXPECT_EQ(Codes(), row.codes);
    DestroyWindow(hwnd);
  }
}

TEST_F(ScrollBarTest, DraggedThumbTracksThePointerAndEndsWithItsPosition) {
  HWND hwnd = Scrolled(WS_VSCROLL);  // 200 high: track 16..184, thumb 17 long
  Mouse(qm::ui::InputKind::MouseDown, At(hwnd, 192, 20));
  // The bar holds the mouse from its press on: the rest comes while it does.
  WhileHeld({[&] { Mouse(qm::ui::InputKind::MouseMove, At(hwnd, 192, 90)); },
             [&] { Mouse(qm::ui::InputKind::MouseMove, At(hwnd, 192, 500)); },  // far past the end
             [&] { Mouse(qm::ui::InputKind::MouseUp, At(hwnd, 192, 500)); }});
  ASSERT_EQ(Codes(), (std::vector<WORD>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_GT(scrolls[0].position, 30);
  EXPECT_LT(scrolls[0].position, 60);
  EXPECT_EQ(scrolls[1].position, 90) << "the thumb stops at the last page";
  EXPECT_EQ(scrolls[2].position, 90);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 90);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsOnItsTimerUntilReleased) {
  HWND hwnd = Scrolled(WS_VSCROLL);
  POINT arrow = At(hwnd, 192, 192);
  ui::user::SetIdleHook([&](const ui::user::IdlePoint&) {
    if (scrolls.size() >= 4) Mouse(qm::ui::InputKind::MouseUp, arrow);
    return ui::user::IdleResult::Nothing;
  });
  Mouse(qm::ui::InputKind::MouseMove, arrow);
  Mouse(qm::ui::InputKind::MouseDown, arrow);
  Pump();
  ui::user::SetIdleHook({});
  std::vector<WORD> codes = Codes();
  ASSERT_GE(codes.size(), 5u);
  EXPECT_EQ(codes.back(), SB_ENDSCROLL);
  codes.pop_back();
  for (WORD code : codes) EXPECT_EQ(code, SB_LINEDOWN);
  EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), static_cast<int>(codes.size()));
}

TEST_F(ScrollBarTest, ArrowsAndThumbDrawInTheClassicLookAtBothEnds) {
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), face = RGB(192, 192, 192),
                 light = RGB(223, 223, 223);
  HWND hwnd = Scrolling(WS_VSCROLL, {50, 50, 150, 250});  // bar x 84..100, arrows 0..16 and 184..200
  struct Row {
    const char* name;
    int pos;
    int thumbTop;
  } rows[] = {{"at the top", 0, 16}, {"at the bottom", 90, 184 - 16}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SetRange(hwnd, SB_VERT, 99, 10, row.pos);
    UpdateWindow(hwnd);
    Pump();
    // Arrow buttons: raised edges and a black triangle with its tip towards the end.
    EXPECT_EQ(Pixel(hwnd, 84, 0), light);
    EXPECT_EQ(Pixel(hwnd, 85, 1), white);
    EXPECT_EQ(Pixel(hwnd, 99, 15), black);
    EXPECT_EQ(Pixel(hwnd, 91, 6), black) << "the up arrow's tip";
    EXPECT_EQ(Pixel(hwnd, 88, 6), face);
    EXPECT_EQ(Pixel(hwnd, 88, 9), black) << "the up arrow's base";
    EXPECT_EQ(Pixel(hwnd, 91, 193), black) << "the down arrow's tip";
    EXPECT_EQ(Pixel(hwnd, 88, 190), black) << "the down arrow's base";
    // The thumb, a raised button 16 long (its page is a tenth of 168).
    EXPECT_EQ(Pixel(hwnd, 84, row.thumbTop), light) << "the thumb's top edge";
    EXPECT_EQ(Pixel(hwnd, 90, row.thumbTop + 8), face);
    EXPECT_EQ(Pixel(hwnd, 99, row.thumbTop + 15), black) << "the thumb's bottom edge";
    // The dotted track beside it.
    int trackY = row.pos == 0 ? 100 : 60;
    COLORREF a = Pixel(hwnd, 90, trackY), b = Pixel(hwnd, 91, trackY);
    EXPECT_TRUE((a == white && b == face) || (a == face && b == white));
  }
}

TEST_F(ScrollBarTest, WheelGoesToTheFocusWindowAndUpToAParentThatScrolls) {
  std::vector<int> deltas;
  HWND parent = Create(WS_POPUP | WS_VISIBLE, {10, 10, 300, 300}, nullptr,
                       On(WM_MOUSEWHEEL, [&](WPARAM w) { deltas.push_back(static_cast<short>(HIWORD(w))); }));
  HWND child = Create(WS_CHILD | WS_VISIBLE, {10, 10, 100, 100}, parent);
  SetFocus(child);
  qm::ui::InputEvent wheel;
  wheel.kind = qm::ui::InputKind::MouseWheel;
  wheel.point = {200, 200};  // not over the child: the wheel follows the focus
  wheel.wheelDelta = -2 * WHEEL_DELTA;
  qm::ui::InjectInput(wheel);
  Pump();
  ASSERT_EQ(Messages(child, WM_MOUSEWHEEL).size(), 1u);
  EXPECT_EQ(Messages(child, WM_MOUSEWHEEL)[0].lParam, MAKELPARAM(200, 200));
  EXPECT_EQ(deltas, std::vector<int>{-240});
}

}  // namespace
}  // namespace qm::test
