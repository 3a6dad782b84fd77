// The folder chooser on the installer's screen fixture: folders and files
// made by their Windows names, the dialog run modally with the driver's
// steps, and what the namespace and the task allocator were asked for.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "install/folders/FoldersDlg.h"
#include "install/resources/ResourceIds.h"
#include "platform/shell/Com.h"
#include "platform/shell/Namespace.h"
#include "platform/ui/Automation.h"
#include "support/WindowsFiles.h"
#include "support/installer/InstallerUiTest.h"

namespace qm::test {

namespace automation = qm::ui::automation;

class FoldersTest : public InstallerUiTest {
 protected:
  void SetUp() override {
    InstallerUiTest::SetUp();
    memoryBefore = qm::shell::TaskMemoryUse();
    objectsBefore = qm::shell::LiveObjectCount();
  }

  static void MakeFolder(const std::string& path) { MakeWindowsDirectory(path); }
  static void MakeFile(const std::string& path) { ASSERT_TRUE(WriteWindowsFile(path, "data")); }

  // Runs the chooser with the steps queued on driver; its result.
  INT_PTR RunChooser() { return dialog.DoModal(); }
  // Cancel as the last step; the chooser must end with it.
  void CancelAndRun() {
    driver.Click(automation::Id(IDCANCEL));
    EXPECT_EQ(RunChooser(), IDCANCEL);
  }

  // Folders the namespace has listed so far.
  static std::size_t Listings() { return qm::shell::NamespaceReadCount().folderListings; }

  // The item's children flag as the tree holds it.
  int ChildrenFlag(const automation::ItemPath& path) {
    TVITEMA item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = automation::FindTreeItem(automation::Id(IDC_FOLDER_TREE), path);
    dialog.tree.GetItem(&item);
    return item.cChildren;
  }

  // The number of children the tree holds under the item, shown or not.
  int ChildCount(const automation::ItemPath& path) {
    int count = 0;
    HTREEITEM parent = automation::FindTreeItem(automation::Id(IDC_FOLDER_TREE), path);
    for (HTREEITEM child = dialog.tree.GetChildItem(parent); child; child = dialog.tree.GetNextSiblingItem(child))
      ++count;
    return count;
  }

  FoldersDlg dialog;
  automation::Driver driver;
  qm::shell::TaskMemoryInUse memoryBefore;
  std::size_t objectsBefore = 0;
};

}  // namespace qm::test
