// The chooser's path box, its buttons and their answers: what typing
// enables, where Go leads, what OK accepts, creates or refuses, and the
// context menu of a tree item.
#include <string>
#include <vector>

#include "FoldersTest.h"
#include "platform/shell/Launcher.h"
#include "support/HostProbes.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"

namespace qm::test {
namespace {

using namespace qm::ui::automation;

const ControlRef kTree = Id(IDC_FOLDER_TREE);
const ControlRef kPath = Id(IDC_FOLDER_PATH);
const ControlRef kGo = Id(IDC_GO);

class FoldersDlgTest : public FoldersTest {
 protected:
  // Replaces the path box's text as a user does: everything selected, then typed.
  void TypePath(const std::string& text) {
    driver.Do("select the path", [] {
      SetFocus(FindControl(kPath));
      SendMessageA(FindControl(kPath), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    });
    driver.Type(text);
  }
  RecordingLauncher recorder;
  const std::vector<qm::shell::HostCommand>& launched = recorder.launched;
};

TEST_F(FoldersDlgTest, OpeningWithAnEmptyPathLeavesTheBoxEmptyAndOkAndGoDisabled) {
  MakeFolder("C:\\Games");
  driver.Expect(kPath, "").ExpectEnabled(Id(IDOK), false).ExpectEnabled(kGo, false)
      .SelectItem(kTree, {"My Computer", "(C:)"})
      .Expect(kPath, "C:\\")
      .ExpectEnabled(Id(IDOK), true)
      .SelectItem(kTree, {"My Computer"})
      // My Computer has no path: the box keeps the last one.
      .Expect(kPath, "C:\\");
  CancelAndRun();
}

TEST_F(FoldersDlgTest, OpeningOnAnExistingFolderShowsThePathAsGiven) {
  MakeFolder("C:\\Games\\Quellmoor");
  dialog.folderPath = "c:\\games\\QUELLMOOR";
  driver.ExpectSelected(kTree, {"My Computer", "(C:)", "Games", "Quellmoor"})
      .Expect(kPath, "c:\\games\\QUELLMOOR")
      .ExpectEnabled(Id(IDOK), true)
      .ExpectEnabled(kGo, true)
      .Click(Id(IDOK));
  EXPECT_EQ(RunChooser(), IDOK);
  EXPECT_EQ(dialog.folderPath, "c:\\games\\QUELLMOOR");
}

TEST_F(FoldersDlgTest, TypingEnablesGoOnlyForAnExistingDirectory) {
  MakeFolder("C:\\Games\\Quellmoor");
  MakeFile("C:\\Games\\readme.txt");
  struct Row {
    const char* typed;
    bool go;
  };
  for (const Row& row : std::vector<Row>{{"C:\\Games", true},
                                         {"C:\\Games\\readme.txt", false},
                                         {"C:\\Games\\Missing", false},
                                         {"c:\\games\\quellmoor", true}}) {
    TypePath(row.typed);
    driver.Do(row.typed, [row] {
      SCOPED_TRACE(row.typed);
      EXPECT_EQ(ControlText(kPath), row.typed);
      EXPECT_EQ(IsControlEnabled(kGo), row.go);
      EXPECT_TRUE(IsControlEnabled(Id(IDOK)));
    });
  }
  CancelAndRun();
}

TEST_F(FoldersDlgTest, GoRevealsTheTypedPathWhateverItsLetterCase) {
  MakeFolder("C:\\Games\\Quellmoor\\Saves");
  TypePath("c:\\GAMES\\quellmoor\\saves");
  driver.Click(kGo)
      .ExpectSelected(kTree, {"My Computer", "(C:)", "Games", "Quellmoor", "Saves"})
      // The selection writes the folder's own spelling into the box.
      .Expect(kPath, "C:\\Games\\Quellmoor\\Saves");
  CancelAndRun();
}

TEST_F(FoldersDlgTest, OkOnAMissingFolderAsksAndYesCreatesEveryLevel) {
  MakeFolder("C:\\Games");
  TypePath("C:\\Games\\New\\Deeper\\Quellmoor");
  driver.Click(Id(IDOK))
      .Do("the question", [] {
        EXPECT_NE(FindWindowByCaption("Install"), nullptr);
        EXPECT_NE(DescribeOpenWindows().find("Directory C:\\Games\\New\\Deeper\\Quellmoor doesn't exist. Create?"),
                  std::string::npos)
            << DescribeOpenWindows();
      })
      .Click(Text("&Yes"));
  EXPECT_EQ(RunChooser(), IDOK);
  EXPECT_EQ(dialog.folderPath, "C:\\Games\\New\\Deeper\\Quellmoor");
  EXPECT_TRUE(Exists("C:\\Games\\New\\Deeper\\Quellmoor"));
}

TEST_F(FoldersDlgTest, NoToTheQuestionStaysAndCancelThenEndsWithCancel) {
  TypePath("C:\\Games\\Quellmoor");
  driver.Click(Id(IDOK))
      .Click(Text("&No"))
      .Wait("Choose Directory")
      .Expect(kPath, "C:\\Games\\Quellmoor");
  CancelAndRun();
  EXPECT_FALSE(Exists("C:\\Games\\Quellmoor"));
}

// OK on a typed path, and Yes to creating it: the "is invalid" box, and
// back in the chooser.
void RefusedOnOk(Driver& driver, const char* typed) {
  driver.Click(Id(IDOK))
      .Click(Text("&Yes"))
      .Wait("Error")
      .Do(std::string("refused ") + typed, [typed] {
        EXPECT_NE(DescribeOpenWindows().find(std::string("Directory ") + typed + " is invalid"), std::string::npos)
            << DescribeOpenWindows();
      })
      .Click(Text("OK"))
      .Wait("Choose Directory");
}

TEST_F(FoldersDlgTest, ADriveRootOrATrailingBackslashIsNeverAccepted) {
  MakeFolder("C:\\Games");
  for (const char* typed : {"C:\\", "C:\\Games\\", "C:\\Games\\New\\"}) {
    TypePath(typed);
    RefusedOnOk(driver, typed);
  }
  CancelAndRun();
}

// A typed pattern is no folder, though the search it is tested with would
// find the folder it matches: C:\Games\Q* was accepted as a destination,
// and every file's copy into it failed.
TEST_F(FoldersDlgTest, APatternIsNeverTakenForTheFolderItMatches) {
  MakeFolder("C:\\Games\\Quellmoor");
  for (const char* typed : {"C:\\Games\\Q*", "C:\\Games\\Q?ellmoor"}) {
    TypePath(typed);
    driver.Do(std::string("no Go for ") + typed, [typed] {
      SCOPED_TRACE(typed);
      EXPECT_FALSE(IsControlEnabled(kGo));
    });
    RefusedOnOk(driver, typed);
  }
  CancelAndRun();
}

TEST_F(FoldersDlgTest, APathTooLongForThePlatformsBuffersIsRefusedWhole) {
  // Cut to 259 characters it would name a folder that can be made.
  const std::string longPath = "C:\\" + std::string(120, 'a') + "\\" + std::string(150, 'b');
  TypePath(longPath);
  driver.ExpectEnabled(kGo, false)
      .Click(Id(IDOK))
      .Wait("Error")
      .Do("the whole path in the box", [&] {
        EXPECT_NE(DescribeOpenWindows().find("Directory " + longPath + " is invalid"), std::string::npos);
      })
      .Click(Text("OK"));
  CancelAndRun();
  EXPECT_FALSE(Exists("C:\\" + std::string(120, 'a')));
}

// What the destination, the registry record and the links are given is
// the folder the typed text leads to, in its full form: a drive-relative
// "C:Games" in a link would be read against whatever folder is current.
TEST_F(FoldersDlgTest, OkTakesATypedPathInItsFullForm) {
  MakeFolder("C:\\Games\\Sub");
  MakeFolder("C:\\deep\\l1");
  const std::pair<const char*, const char*> rows[] = {
      {"C:Games\\Sub", "C:\\Games\\Sub"},
      {"C:/Games/Sub", "C:\\Games\\Sub"},
      {"c:\\\\Games\\\\\\Sub", "c:\\Games\\Sub"},
      {"C:\\Games\\Sub. ", "C:\\Games\\Sub"},
      {"C:\\Games\\.\\..\\deep\\l1", "C:\\deep\\l1"},
  };
  for (const auto& [typed, accepted] : rows) {
    SCOPED_TRACE(typed);
    TypePath(typed);
    driver.Click(Id(IDOK));
    EXPECT_EQ(RunChooser(), IDOK);
    EXPECT_EQ(dialog.folderPath, accepted);
  }
}

TEST_F(FoldersDlgTest, GoLeadsToTheFolderATypedPathNames) {
  MakeFolder("C:\\Games\\Quellmoor");
  MakeFolder("C:\\deep\\l1");
  TypePath("C:\\Games\\..\\deep\\l1");
  driver.Click(kGo).ExpectSelected(kTree, {"My Computer", "(C:)", "deep", "l1"}).Expect(kPath, "C:\\deep\\l1");
  CancelAndRun();
}

// Yes to making a path that holds a name no Windows path can hold makes
// nothing: the folders before that name were left behind.
TEST_F(FoldersDlgTest, AnInvalidNameInAPathToMakeLeavesNoFoldersBehind) {
  for (const char* typed : {"C:\\New1\\New2\\bad|name", "C:\\New1\\a<b\\New3"}) {
    TypePath(typed);
    RefusedOnOk(driver, typed);
  }
  CancelAndRun();
  EXPECT_FALSE(Exists("C:\\New1"));
}

TEST_F(FoldersDlgTest, RightClickSelectsTheItemAndItsOpenCommandReachesTheLauncher) {
  MakeFolder("C:\\Games\\Quellmoor");
  driver.ExpandItem(kTree, {"My Computer", "(C:)"})
      .RightClickItem(kTree, {"My Computer", "(C:)", "Games"})
      .Do("the item is selected", [] {
        EXPECT_EQ(TreeSelection(kTree), (ItemPath{"My Computer", "(C:)", "Games"}));
      })
      .ChooseMenuItem("&Open")
      .Wait("Choose Directory");
  CancelAndRun();
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_NE(launched[0].request.find("Games"), std::string::npos) << launched[0].request;
}

TEST_F(FoldersDlgTest, RightClickOnEmptySpaceClearsTheSelectionAndShowsNoMenu) {
  driver.Do("right click below the items", [] {
        HWND tree = FindControl(kTree);
        RECT client{};
        GetClientRect(tree, &client);
        POINT point{client.right / 2, client.bottom - 4};
        ClientToScreen(tree, &point);
        RightClickAt(point);
      })
      .Do("no menu, no selection", [] {
        EXPECT_EQ(DescribeOpenWindows().find("#32768"), std::string::npos) << DescribeOpenWindows();
        EXPECT_TRUE(TreeSelection(kTree).empty());
      });
  CancelAndRun();
  EXPECT_TRUE(launched.empty());
}

TEST_F(FoldersDlgTest, ComboEntriesAreOfferedInTheirOrder) {
  dialog.comboEntries = {"C:\\Games", "D:\\Spiele"};
  driver.Do("the list", [this] {
        ASSERT_EQ(dialog.pathCombo.GetCount(), 2);
        std::string text;
        dialog.pathCombo.GetLBText(1, text);
        EXPECT_EQ(text, "D:\\Spiele");
      });
  CancelAndRun();
}

}  // namespace
}  // namespace qm::test
