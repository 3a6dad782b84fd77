// The folder tree inside the chooser: what it lists, when it reads the
// namespace, where a path leads it, and what it gives back.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FoldersTest.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/ShellFolders.h"
#include "platform/ui/CommCtrl.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

namespace fs = std::filesystem;

const ControlRef kTree = Id(IDC_FOLDER_TREE);

class ShellTreeTest : public FoldersTest {};

TEST_F(ShellTreeTest, OpensOnTheDesktopWithMyComputerExpandedAndSelected) {
  MakeFolder("C:\\Windows\\Desktop\\Saves");
  driver.ExpectItems(kTree, {"My Computer", "  (C:)", "  (Z:)", "Saves"})
      .ExpectSelected(kTree, {"My Computer"})
      .ExpectEnabled(Id(IDOK), false)
      .ExpectEnabled(Id(IDC_GO), false)
      .Do("selecting My Computer gave no path", [this] {
        std::string path = "untouched";
        EXPECT_FALSE(dialog.tree.GetSelectedPath(path));
        EXPECT_EQ(path, "untouched");
      });
  CancelAndRun();
}

TEST_F(ShellTreeTest, OpensDownToAnExistingFolderOnTheWay) {
  MakeFolder("C:\\Games\\Quellmoor\\Saves");
  MakeFolder("C:\\Games\\Other");
  dialog.folderPath = "C:\\Games\\Quellmoor";
  driver.ExpectSelected(kTree, {"My Computer", "(C:)", "Games", "Quellmoor"})
      .ExpectItems(kTree, {"My Computer", "  (C:)", "    Games", "      Other", "      Quellmoor", "    Windows",
                           "  (Z:)"})
      .ExpectEnabled(Id(IDOK), true)
      .Do("the selected folder's children are loaded", [this] {
        EXPECT_EQ(ChildCount({"My Computer", "(C:)", "Games", "Quellmoor"}), 1);
      });
  CancelAndRun();
}

TEST_F(ShellTreeTest, ListsFoldersOnlyAndGivesButtonsToThoseWithSubfolders) {
  MakeFolder("C:\\Games\\Quellmoor\\Saves");
  MakeFolder("C:\\Games\\Empty");
  MakeFile("C:\\Games\\readme.txt");
  MakeFile("C:\\Games\\Empty\\notes.txt");
  driver.ExpandItem(kTree, {"My Computer", "(C:)", "Games"})
      .ExpectItems(kTree, {"My Computer", "  (C:)", "    Games", "      Empty", "      Quellmoor", "    Windows",
                           "  (Z:)"})
      .Do("children flags", [this] {
        struct Row {
          std::vector<std::string> path;
          int children;
        };
        for (const Row& row : std::vector<Row>{{{"My Computer", "(C:)", "Games", "Empty"}, 0},
                                               {{"My Computer", "(C:)", "Games", "Quellmoor"}, 1},
                                               {{"My Computer", "(C:)", "Games"}, 1}}) {
          SCOPED_TRACE(row.path.back());
          EXPECT_EQ(ChildrenFlag(row.path), row.children);
        }
      });
  CancelAndRun();
}

TEST_F(ShellTreeTest, ExpandingCollapsingAndExpandingAgainListsAFolderOnce) {
  MakeFolder("C:\\Games\\Quellmoor");
  std::size_t before = 0;
  driver.ExpandItem(kTree, {"My Computer", "(C:)"})
      .Do("count", [&] { before = Listings(); })
      .ExpandItem(kTree, {"My Computer", "(C:)", "Games"})
      .CollapseItem(kTree, {"My Computer", "(C:)", "Games"})
      .ExpandItem(kTree, {"My Computer", "(C:)", "Games"})
      .Do("listed once", [&] {
        EXPECT_EQ(Listings() - before, 1u);
        EXPECT_EQ(ChildCount({"My Computer", "(C:)", "Games"}), 1);
      });
  CancelAndRun();
}

TEST_F(ShellTreeTest, SelectingAFolderNeverOpenedLoadsItsChildrenOnce) {
  MakeFolder("C:\\Games\\Quellmoor");
  MakeFolder("C:\\Games\\Other");
  std::size_t afterSelection = 0;
  driver.SelectItem(kTree, {"My Computer", "(C:)", "Games"})
      .Do("loaded by the selection", [&] {
        afterSelection = Listings();
        EXPECT_EQ(ChildCount({"My Computer", "(C:)", "Games"}), 2);
        EXPECT_FALSE(dialog.tree.GetItemState(FindTreeItem(kTree, {"My Computer", "(C:)", "Games"}), TVIS_EXPANDED) &
                     TVIS_EXPANDED);
      })
      .ExpandItem(kTree, {"My Computer", "(C:)", "Games"})
      .Do("the expansion adds none", [&] {
        EXPECT_EQ(Listings(), afterSelection);
        EXPECT_EQ(ChildCount({"My Computer", "(C:)", "Games"}), 2);
      });
  CancelAndRun();
}

TEST_F(ShellTreeTest, RevealPathIgnoresLetterCaseAndStopsWhereThePathLeavesTheTree) {
  MakeFolder("C:\\Games\\Quellmoor\\Saves");
  MakeFolder("C:\\Zürich\\Altstadt");
  MakeFile("C:\\Games\\readme.txt");
  struct Row {
    const char* path;
    std::vector<std::string> selected;
  };
  const std::vector<Row> rows = {
      {"c:\\GAMES\\quellmoor", {"My Computer", "(C:)", "Games", "Quellmoor"}},
      {"C:\\Games\\Quellmoor\\", {"My Computer", "(C:)", "Games", "Quellmoor"}},
      // A file is no folder of the tree: the walk ends at Games.
      {"C:\\Games\\readme.txt", {"My Computer", "(C:)", "Games"}},
      {"c:\\ZÜRICH\\altstadt", {"My Computer", "(C:)", "Zürich", "Altstadt"}},
  };
  for (const Row& row : rows) {
    driver.Do(row.path, [this, row] { dialog.tree.RevealPath(row.path); });
    driver.Do(std::string("where ") + row.path + " led", [row] {
      SCOPED_TRACE(row.path);
      EXPECT_EQ(TreeSelection(kTree), row.selected);
    });
  }
  CancelAndRun();
}

// Windows would hold one of them; the host may hold both.
TEST_F(ShellTreeTest, RevealPathOfTwoHostFoldersDifferingInCaseTakesTheOneTyped) {
  const std::optional<std::string> driveC = qm::kernel::ResolveWindowsPath("C:\\");
  ASSERT_TRUE(driveC);
  for (const char* name : {"Games", "games"}) fs::create_directories(*driveC + "/" + name + "/Quellmoor");
  for (const char* typed : {"C:\\games\\Quellmoor", "C:\\Games\\Quellmoor"}) {
    driver.Do(typed, [this, typed] { dialog.tree.RevealPath(typed); });
    driver.Do(std::string("where ") + typed + " led", [this, typed] {
      SCOPED_TRACE(typed);
      std::string path;
      EXPECT_TRUE(dialog.tree.GetSelectedPath(path));
      EXPECT_EQ(path, typed);
    });
  }
  CancelAndRun();
}

// The keypad's * opens everything below the selection; a link back up
// the path stops it instead of opening the same folders without end.
TEST_F(ShellTreeTest, OpeningEverythingBelowAFolderStopsAtALinkBackUp) {
  MakeFolder("C:\\Loop\\Real");
  const std::optional<std::string> loop = qm::kernel::ResolveWindowsPath("C:\\Loop");
  ASSERT_TRUE(loop);
  fs::create_directory_symlink(".", *loop + "/self");
  driver.SelectItem(kTree, {"My Computer", "(C:)", "Loop"})
      .Key("Multiply")
      .ExpectItems(kTree, {"My Computer", "  (C:)", "    Loop", "      Real", "      self", "    Windows", "  (Z:)"});
  CancelAndRun();
}

TEST_F(ShellTreeTest, RevealPathOfAMissingPathShowsThePathNotFoundBox) {
  driver.Do("reveal", [this] { dialog.tree.RevealPath("C:\\Nowhere\\Deeper"); })
      .Wait("Путь не найден")
      .Do("the box shows the path", [] {
        EXPECT_NE(DescribeOpenWindows().find("C:\\Nowhere\\Deeper"), std::string::npos) << DescribeOpenWindows();
      })
      .Click(Text("OK"))
      .Wait("Choose Directory")
      .ExpectSelected(kTree, {"My Computer"});
  CancelAndRun();
}

TEST_F(ShellTreeTest, EveryItemsRecordIsReturnedWhenTheDialogCloses) {
  MakeFolder("C:\\Games\\Quellmoor\\Saves\\Slot1");
  MakeFolder("C:\\Windows\\Desktop\\Saves");
  dialog.folderPath = "C:\\Games\\Quellmoor\\Saves";
  driver.ExpandItem(kTree, {"My Computer", "(Z:)"})
      .Do("records are out", [this] {
        // A record and its two lists for every item.
        EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, memoryBefore.blocks + 3 * dialog.tree.GetCount());
      });
  CancelAndRun();
  EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, memoryBefore.blocks);
  EXPECT_EQ(qm::shell::TaskMemoryUse().bytes, memoryBefore.bytes);
  EXPECT_EQ(qm::shell::LiveObjectCount(), objectsBefore);
}

TEST_F(ShellTreeTest, OpeningOverTheHostsWholeRootListsOnlyTheDesktopAndMyComputer) {
  // Z: is the host's root: opening must look into no drive's folders.
  const std::size_t before = Listings();
  driver.Do("count", [&] { EXPECT_EQ(Listings() - before, 2u) << "the desktop and My Computer only"; });
  CancelAndRun();
}

TEST_F(ShellTreeTest, ReloadingTheTreeReturnsTheRecordsOfTheItemsItReplaces) {
  driver.Do("reload", [this] {
    const qm::shell::TaskMemoryInUse loaded = qm::shell::TaskMemoryUse();
    dialog.tree.LoadDesktop();
    EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, loaded.blocks);
    EXPECT_TRUE(dialog.tree.LoadSpecialFolder(CSIDL_DRIVES));
    EXPECT_EQ(TreeItems(kTree), (std::vector<std::string>{"(C:)", "  Windows", "(Z:)"}));
    EXPECT_EQ(TreeSelection(kTree), (ItemPath{"(C:)"}));
  });
  CancelAndRun();
}

}  // namespace
}  // namespace qm::test
