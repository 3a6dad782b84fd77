// Pictures of every page and of the two questions, with pixel checks of the
// wizard picture. QUELLMOOR_WIZARD_SHOTS names a folder to keep them in.
#include <set>
#include <string>

#include "WizardTest.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DisplayBackend.h"
#include "support/installer/ShotFolder.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

class ScreenshotTest : public WizardTest {
 protected:
  ShotFolder shots{"QUELLMOOR_WIZARD_SHOTS", "wizard-shots"};
};

// The page's first control is the wizard picture; on screen it must show the
// picture, not a flat face.
void ExpectWizardPicture(HWND page) {
  HWND picture = GetWindow(page, GW_CHILD);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, static_cast<LONG>(SS_BITMAP));
  RECT pictureRect;
  RECT pageRect;
  GetWindowRect(picture, &pictureRect);
  GetWindowRect(page, &pageRect);
  EXPECT_LT(pictureRect.left - pageRect.left, 20) << "the picture stands at the left";
  const qm::ui::Surface& screen = qm::ui::ScreenSurface();
  std::set<std::uint32_t> colours;
  for (int y = pictureRect.top + 2; y < pictureRect.bottom - 2; y += 3)
    for (int x = pictureRect.left + 2; x < pictureRect.right - 2; x += 3)
      if (screen.Contains(x, y)) colours.insert(screen.At(x, y));
  EXPECT_GT(colours.size(), 8u) << "the picture area is nearly flat";
}

TEST_F(ScreenshotTest, EveryPageAndQuestion) {
  SetFreeKb('C', 2048);
  SetRequiredKb(4096);
  OpenWizard();
  const char* names[] = {"1-welcome.png", "2-type.png", "3-destination.png", "4-start.png"};
  for (const char* name : names) {
    driver.Do(name, [this, name] {
      SaveScreenshot(shots.Path(name));
      ExpectWizardPicture(sheet->GetCurrentPageHandle());
    });
    if (std::string(name) != "4-start.png") driver.Click(Id(ID_WIZNEXT));
  }
  driver.Click(Id(ID_WIZNEXT)).Wait("Warning").Screenshot(shots.Path("5-space-question.png")).Click(Id(IDNO));
  driver.Click(Id(IDCANCEL)).Screenshot(shots.Path("6-resume-exit.png")).Click(Text("&Resume"));
  RunToTheEnd();
}

}  // namespace
}  // namespace qm::test
