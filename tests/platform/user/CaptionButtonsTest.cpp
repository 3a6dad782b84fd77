// The caption's boxes and icon: their pixels in the classic look, greyed
// boxes, hit testing, the pressed look while the mouse is held, and the
// system commands they send.
#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Surface.h"
#include "platform/ui/gdi/Icons.h"

namespace qm::test {
namespace {

constexpr DWORD kCaptioned = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
// A window of 160 x 60 at (10, 10) with a sizing frame of 4: the boxes' left
// edges on the screen, all 14 pixels high from y = 16.
constexpr RECT kFrameRect{10, 10, 170, 70};
constexpr LONG kMinimizeLeft = 114, kMaximizeLeft = 130, kCloseLeft = 148, kBoxTop = 16;

// A screen area as text: '#' black, 'W' white, 's' shadow grey, '.' face
// grey, '?' anything else.
std::vector<std::string> Art(LONG left, LONG top, int width, int height) {
  const qm::ui::Surface& screen = qm::ui::ScreenSurface();
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      switch (screen.At(left + x, top + y) & 0xFFFFFF) {
        case 0x000000: row += '#'; break;
        case 0xFFFFFF: row += 'W'; break;
        case 0x808080: row += 's'; break;
        case 0xC0C0C0: row += '.'; break;
        default: row += '?'; break;
      }
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> BoxArt(LONG left) { return Art(left, kBoxTop, 16, 14); }

// A raised box around the rows of its inside (x 2 to 13, y 2 to 11).
std::vector<std::string> Raised(const std::vector<std::string>& inside) {
  std::vector<std::string> rows{"WWWWWWWWWWWWWWW#", "W.............s#"};
  for (const std::string& row : inside) rows.push_back("W." + row + "s#");
  rows.push_back("Wssssssssssssss#");
  rows.push_back("################");
  return rows;
}

const std::vector<std::string> kMinimizeBox = Raised({
    "............", "............", "............", "............", "............", "............",
    "............", "..######....", "..######....", "............",
});
const std::vector<std::string> kMaximizeBox = Raised({
    ".#########..", ".#########..", ".#.......#..", ".#.......#..", ".#.......#..", ".#.......#..",
    ".#.......#..", ".#.......#..", ".#########..", "............",
});
const std::vector<std::string> kRestoreBox = Raised({
    "....######..", "....######..", "....#....#..", "..######.#..", "..######.#..", "..#....###..",
    "..#....#....", "..#....#....", "..######....", "............",
});
const std::vector<std::string> kCloseBox = Raised({
    "............", "..##....##..", "...##..##...", "....####....", ".....##.....", "....####....",
    "...##..##...", "..##....##..", "............", "............",
});
// Greyed, the maximize glyph is etched: shadow ink over a white copy one
// pixel down and right.
const std::vector<std::string> kGreyedMaximizeBox = Raised({
    ".sssssssss..", ".sssssssssW.", ".sWWWWWWWsW.", ".sW......sW.", ".sW......sW.", ".sW......sW.",
    ".sW......sW.", ".sW......sW.", ".sssssssssW.", "..WWWWWWWWW.",
});
// Held down, a box is sunk and its glyph moves a pixel down and right.
const std::vector<std::string> kPressedMinimizeBox{
    "###############W", "#sssssssssssss.W", "#s.............W", "#s.............W", "#s.............W",
    "#s.............W", "#s.............W", "#s.............W", "#s.............W", "#s.............W",
    "#s...######....W", "#s...######....W", "#..............W", "WWWWWWWWWWWWWWWW",
};

POINT CentreOf(LONG boxLeft) { return {boxLeft + 8, kBoxTop + 7}; }

class CaptionButtonsTest : public WindowTest {
 protected:
  HWND Captioned(DWORD extraStyle, const char* text = "Caption") {
    HWND hwnd = Create(kCaptioned | extraStyle, kFrameRect, nullptr, {}, 0, 0, text);
    Pump();
    return hwnd;
  }
  std::vector<WPARAM> Commands(HWND hwnd) const {
    std::vector<WPARAM> commands = WParams(hwnd, WM_SYSCOMMAND);
    for (WPARAM& command : commands) command &= 0xFFF0;
    return commands;
  }
};

TEST_F(CaptionButtonsTest, AllThreeBoxesInTheClassicLook) {
  HWND hwnd = Captioned(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  const struct {
    const char* name;
    LONG left;
    const std::vector<std::string>& art;
  } boxes[] = {{"minimize", kMinimizeLeft, kMinimizeBox},
               {"maximize", kMaximizeLeft, kMaximizeBox},
               {"close", kCloseLeft, kCloseBox}};
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.name);
    EXPECT_EQ(BoxArt(box.left), box.art);
  }
  // Each box is hit where it is drawn; the two pixels before the close box are caption.
  const struct {
    LONG x;
    LRESULT hit;
  } edges[] = {{kMinimizeLeft - 1, HTCAPTION}, {kMinimizeLeft, HTMINBUTTON}, {kMaximizeLeft, HTMAXBUTTON},
               {kMaximizeLeft + 16, HTCAPTION}, {kCloseLeft, HTCLOSE},     {kCloseLeft + 16, HTCAPTION}};
  for (const auto& edge : edges) {
    SCOPED_TRACE(edge.x);
    EXPECT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(edge.x, kBoxTop + 13)), edge.hit);
  }
}

TEST_F(CaptionButtonsTest, TheBoxTheStyleLacksIsGreyedAndDoesNothing) {
  struct Row {
    const char* name;
    DWORD style;
    bool minimizeShown, minimizeEnabled, maximizeEnabled;
  } rows[] = {
      {"both", WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true, true, true},
      {"minimize only", WS_MINIMIZEBOX, true, true, false},
      {"maximize only", WS_MAXIMIZEBOX, true, false, true},
      {"neither", 0, false, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HWND hwnd = Captioned(WS_THICKFRAME | row.style);
    if (row.name == std::string("minimize only")) {
      EXPECT_EQ(BoxArt(kMaximizeLeft), kGreyedMaximizeBox);
    }
    EXPECT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(CentreOf(kMinimizeLeft).x, CentreOf(kMinimizeLeft).y)),
              row.minimizeShown ? HTMINBUTTON : HTCAPTION);
    EXPECT_EQ(BoxArt(kCloseLeft), kCloseBox) << "the close box stays where it is";
    // Each click starts from the window as it was made.
    const struct {
      const char* box;
      LONG left;
      bool enabled;
      WPARAM command;
    } clicks[] = {{"maximize", kMaximizeLeft, row.maximizeEnabled, SC_MAXIMIZE},
                  {"minimize", kMinimizeLeft, row.minimizeEnabled, SC_MINIMIZE}};
    for (const auto& click : clicks) {
      SCOPED_TRACE(click.box);
      ClearLog();
      Click(CentreOf(click.left));
      EXPECT_EQ(Commands(hwnd), click.enabled ? std::vector<WPARAM>{click.command} : std::vector<WPARAM>{});
      ShowWindow(hwnd, SW_RESTORE);
      Pump();
    }
    DestroyWindow(hwnd);
  }
}

TEST_F(CaptionButtonsTest, SmallClassIconStandsAtTheCaptionsLeftSmoothed) {
  // 32 x 32: an opaque red left half, and on the right half white rows
  // alternating with transparent ones.
  qm::ui::Surface image(32, 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) image.At(x, y) = x < 16 ? 0xFFFF0000u : (y % 2 ? 0u : 0xFFFFFFFFu);
  ASSERT_NE(RegisterTestClass("IconWindow", 0, DefWindowProcA, qm::ui::gdi::InsertIcon(image, true)), 0);
  HWND hwnd = CreateOf("IconWindow", kCaptioned | WS_THICKFRAME, kFrameRect, nullptr, "Caption");
  Pump();
  // 16 x 16 at (frame + 2, frame + 1) of the window, the title after it.
  const qm::ui::Surface& screen = qm::ui::ScreenSurface();
  const std::uint32_t caption =
      qm::ui::PixelFromColor(GetSysColor(GetActiveWindow() == hwnd ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
  EXPECT_EQ(screen.At(16, 15), 0xFFFF0000u);
  EXPECT_EQ(screen.At(23, 30), 0xFFFF0000u);
  for (POINT outside : {POINT{15, 15}, POINT{16, 14}, POINT{16, 31}, POINT{32, 20}, POINT{33, 20}})
    EXPECT_EQ(screen.At(outside.x, outside.y), caption) << outside.x << "," << outside.y;
  // Half white, half transparent: each pixel blends both rows it covers.
  const std::uint32_t blended = screen.At(28, 20);
  for (int shift : {0, 8, 16}) {
    EXPECT_GT((blended >> shift) & 0xFF, (caption >> shift) & 0xFF);
    EXPECT_LT((blended >> shift) & 0xFF, 0xFFu);
  }
  EXPECT_EQ(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(20, 20)), HTSYSMENU);
  DestroyWindow(hwnd);
  UnregisterClassA("IconWindow", nullptr);
}

TEST_F(CaptionButtonsTest, BoxIsPressedWhileHeldOverItAndActsWhenReleased) {
  HWND hwnd = Captioned(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  const POINT onBox = CentreOf(kMinimizeLeft);
  const POINT offBox{onBox.x - 40, onBox.y};
  qm::ui::automation::Driver driver;
  driver.Do("held", [&] { EXPECT_EQ(BoxArt(kMinimizeLeft), kPressedMinimizeBox); })
      .Do("slide off", [&] { Mouse(qm::ui::InputKind::MouseMove, offBox); })
      .Do("raised off the box", [&] { EXPECT_EQ(BoxArt(kMinimizeLeft), kMinimizeBox); })
      .Do("back on", [&] { Mouse(qm::ui::InputKind::MouseMove, onBox); })
      .Do("held again", [&] {
        EXPECT_EQ(BoxArt(kMinimizeLeft), kPressedMinimizeBox);
        EXPECT_EQ(Commands(hwnd), std::vector<WPARAM>{}) << "nothing happens while the button is down";
      })
      .Do("let go", [&] { Mouse(qm::ui::InputKind::MouseUp, onBox); });
  ClearLog();
  Mouse(qm::ui::InputKind::MouseDown, onBox);
  Pump();
  EXPECT_EQ(driver.StepsLeft(), 0u);
  EXPECT_EQ(Commands(hwnd), std::vector<WPARAM>{SC_MINIMIZE});
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(CaptionButtonsTest, MaximizeBoxMaximizesAndThenRestoresToTheFormerPlace) {
  HWND hwnd = Captioned(WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  Click(CentreOf(kMaximizeLeft));
  ASSERT_TRUE(IsZoomed(hwnd));
  EXPECT_EQ(Sides(WindowRect(hwnd)), Sides({-4, -4, 644, 484}));
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_MAXIMIZE);
  // Maximized, the box shows the restore glyph at the screen's right edge.
  const LONG restoreLeft = 640 - 2 - 16 - 2 - 16;
  EXPECT_EQ(Art(restoreLeft, 2, 16, 14), kRestoreBox);
  Click({restoreLeft + 8, 9});
  EXPECT_FALSE(IsZoomed(hwnd));
  EXPECT_EQ(WindowRect(hwnd).left, kFrameRect.left);
  EXPECT_EQ(WindowRect(hwnd).right, kFrameRect.right);
  EXPECT_EQ(BoxArt(kMaximizeLeft), kMaximizeBox);
}

}  // namespace
}  // namespace qm::test
