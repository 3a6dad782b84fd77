#include <cstdint>
#include <vector>

#include "install/engine/ProgressBar.h"
#include "install/resources/ResourceIds.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/ui/DisplayBackend.h"
#include "support/installer/InstallerUiTest.h"

namespace {

// The copy dialog's template with the bar bound to its control, as the copy
// dialog binds it.
class BarHost : public qm::fw::Dialog {
 public:
  BarHost() : Dialog(IDD_PROGRESS) {}
  ProgressBar bar;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override { qm::fw::DdxControl(exchange, IDC_PROGRESS, bar); }
};

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> values;
  std::uint32_t At(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
};

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }
// Blue, white, or a blend of the two: text over the fill.
bool OverBlue(std::uint32_t p) { return Red(p) == Green(p) && Blue(p) == 255; }
// White, black, or a grey between: text over the remainder.
bool OverWhite(std::uint32_t p) { return Red(p) == Green(p) && Green(p) == Blue(p); }

class ProgressBarTest : public qm::test::InstallerUiTest {
 protected:
  void SetUp() override {
    InstallerUiTest::SetUp();
    ASSERT_TRUE(host.Create());
    host.ShowWindow(SW_SHOW);
    host.bar.SetRange(0, 1000);
    Pump();
  }
  void TearDown() override {
    host.DestroyWindow();
    InstallerUiTest::TearDown();
  }

  // The bar's client area as the screen shows it after painting `position`.
  Pixels Show(int position) {
    host.bar.SetPosAndRedraw(position);
    Pump();
    RECT client{};
    host.bar.GetClientRect(&client);
    POINT origin{0, 0};
    ClientToScreen(host.bar.Handle(), &origin);
    const qm::ui::Surface& screen = qm::ui::ScreenSurface();
    Pixels pixels;
    pixels.width = client.right;
    pixels.height = client.bottom;
    for (int y = 0; y < pixels.height; ++y)
      for (int x = 0; x < pixels.width; ++x) pixels.values.push_back(screen.At(origin.x + x, origin.y + y));
    return pixels;
  }

  BarHost host;
};

TEST_F(ProgressBarTest, EmptyBarIsWhiteWithBlackTextInTheMiddle) {
  const Pixels bar = Show(0);
  ASSERT_GT(bar.width, 100);
  int inkLeft = bar.width, inkRight = -1;
  for (int y = 0; y < bar.height; ++y)
    for (int x = 0; x < bar.width; ++x) {
      const std::uint32_t p = bar.At(x, y);
      ASSERT_TRUE(OverWhite(p)) << x << "," << y;
      if (Red(p) < 128) {
        inkLeft = std::min(inkLeft, x);
        inkRight = std::max(inkRight, x);
      }
    }
  ASSERT_GE(inkRight, 0) << "no text";
  EXPECT_NEAR((inkLeft + inkRight) / 2.0, bar.width / 2.0, 3.0);
  EXPECT_LT(inkRight - inkLeft, bar.width / 4);
}

TEST_F(ProgressBarTest, FullBarIsBlueWithWhiteText) {
  const Pixels bar = Show(1000);
  int ink = 0;
  for (int y = 0; y < bar.height; ++y)
    for (int x = 0; x < bar.width; ++x) {
      ASSERT_TRUE(OverBlue(bar.At(x, y))) << x << "," << y;
      ink += Red(bar.At(x, y)) > 128;
    }
  EXPECT_GT(ink, 0) << "no text";
  EXPECT_EQ(bar.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(bar.At(bar.width - 1, bar.height - 1), 0xFF0000FFu);
}

TEST_F(ProgressBarTest, FillEdgeThroughTheTextSplitsItsColoursExactlyAtTheEdge) {
  const Pixels bar = Show(500);
  const int fill = static_cast<int>(0.5 * bar.width);
  bool whiteInkLeft = false, blackInkRight = false;
  for (int y = 0; y < bar.height; ++y)
    for (int x = 0; x < bar.width; ++x) {
      const std::uint32_t p = bar.At(x, y);
      if (x < fill) {
        ASSERT_TRUE(OverBlue(p)) << x << "," << y;
        whiteInkLeft |= Red(p) > 128;
      } else {
        ASSERT_TRUE(OverWhite(p)) << x << "," << y;
        blackInkRight |= Red(p) < 128;
      }
    }
  EXPECT_TRUE(whiteInkLeft);
  EXPECT_TRUE(blackInkRight);
  EXPECT_EQ(bar.At(fill - 1, 0), 0xFF0000FFu);
  EXPECT_EQ(bar.At(fill, 0), 0xFFFFFFFFu);
}

TEST_F(ProgressBarTest, PercentageIsTruncatedAndPositionsBeyondTheRangeShowAFullBar) {
  struct Row {
    int position;
    int sameTextAs;  // a position that shows the same text with the fill clear of it
  };
  for (const Row& row : {Row{5, 0}, Row{999, 990}, Row{1500, 1000}}) {
    SCOPED_TRACE(row.position);
    const Pixels shown = Show(row.position);
    const Pixels reference = Show(row.sameTextAs);
    const int from = static_cast<int>(std::min(row.position, 1000) / 1000.0 * shown.width);
    const int to = static_cast<int>(row.sameTextAs / 1000.0 * shown.width);
    int differences = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x)
        if (x < std::min(from, to) || x >= std::max(from, to)) differences += shown.At(x, y) != reference.At(x, y);
    EXPECT_EQ(differences, 0);
  }
}

// A copy moves the bar once per file; only a move that changes what the bar
// shows may cost a repaint, and every such move must get one.
TEST_F(ProgressBarTest, RepaintsOnlyWhenThePictureChanges) {
  Show(0);
  RECT client{};
  host.bar.GetClientRect(&client);
  // The largest position that still shows an empty bar and 0%.
  int stillEmpty = 0;
  while (static_cast<int>((stillEmpty + 1) / 1000.0 * client.right) == 0 && stillEmpty < 9) ++stillEmpty;
  struct Row {
    int position;
    bool repaint;
  };
  const std::vector<Row> rows{
      {0, false},   {stillEmpty, false}, {500, true}, {500, false}, {1000, true},
      {1500, false}, {999, true},        {5, true},   {5, false},   {0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.position);
    host.bar.SetPosAndRedraw(row.position);
    EXPECT_EQ(GetUpdateRect(host.bar.Handle(), nullptr, FALSE) != FALSE, row.repaint);
    Pump();
  }
}

}  // namespace
