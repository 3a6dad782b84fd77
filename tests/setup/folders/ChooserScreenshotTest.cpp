// Pictures of the chooser as a user meets it, and the window it is built
// as: a sizable dialog with the context-help box whose controls keep their
// places when it grows. QUELLMOOR_CHOOSER_SHOTS names a folder to keep the
// pictures in.
#include <filesystem>
#include <string>

#include "FoldersTest.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "support/installer/ShotFolder.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

const ControlRef kTree = Id(IDC_FOLDER_TREE);

class ChooserScreenshotTest : public FoldersTest {
 protected:
  void Shot(const std::string& name) {
    driver.Do("screenshot " + name, [this, name] {
      SaveScreenshot(shots.Path(name));
      EXPECT_TRUE(std::filesystem::exists(shots.Path(name))) << name;
    });
  }
  ShotFolder shots{"QUELLMOOR_CHOOSER_SHOTS", "chooser-shots"};
};

RECT WindowRectOf(const ControlRef& ref) {
  RECT rect{};
  GetWindowRect(FindControl(ref), &rect);
  return rect;
}

TEST_F(ChooserScreenshotTest, FirstOpeningDeepFolderMenuQuestionsAndALargerWindow) {
  std::string deep = "C:\\Games\\Quellmoor\\Saves\\Profiles\\Player One\\Slots\\Autosave\\Zürich";
  MakeFolder(deep);
  MakeFolder("C:\\Games\\Other");
  MakeFolder("C:\\Windows\\Desktop\\Notes");
  Shot("chooser-1-first.png");
  driver.Do("open down to the deep folder", [this, deep] {
    dialog.pathCombo.SetWindowText(deep);
    dialog.tree.RevealPath(deep);
  });
  driver.ExpectSelected(kTree, {"My Computer", "(C:)", "Games", "Quellmoor", "Saves", "Profiles", "Player One",
                                "Slots", "Autosave", "Zürich"});
  Shot("chooser-2-deep.png");
  driver.RightClickItem(kTree, {"My Computer", "(C:)", "Games", "Quellmoor"});
  Shot("chooser-3-menu.png");
  driver.Key("Esc").Wait("Choose Directory");
  driver.Do("type a missing folder", [] {
    SetFocus(FindControl(Id(IDC_FOLDER_PATH)));
    SendMessageA(FindControl(Id(IDC_FOLDER_PATH)), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  });
  driver.Type("C:\\Games\\Quellmoor\\").Click(Id(IDOK));
  Shot("chooser-4-question.png");
  driver.Click(Text("&Yes")).Wait("Error");
  Shot("chooser-5-error.png");
  driver.Click(Text("OK")).Wait("Choose Directory");

  RECT treeBefore{}, okBefore{};
  driver.Do("resize", [&] {
    HWND window = FindWindowByCaption("Choose Directory");
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    treeBefore = WindowRectOf(kTree);
    okBefore = WindowRectOf(Id(IDOK));
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, frame.left, frame.top, frame.right - frame.left + 200,
                 frame.bottom - frame.top + 120, SWP_NOZORDER);
  });
  Shot("chooser-6-larger.png");
  driver.Do("the controls kept their places", [&] {
    RECT tree = WindowRectOf(kTree);
    RECT ok = WindowRectOf(Id(IDOK));
    EXPECT_EQ(tree.left, treeBefore.left);
    EXPECT_EQ(tree.right, treeBefore.right);
    EXPECT_EQ(tree.bottom, treeBefore.bottom);
    EXPECT_EQ(ok.top, okBefore.top);
  });
  CancelAndRun();
}

}  // namespace
}  // namespace qm::test
