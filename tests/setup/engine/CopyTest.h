// The copy dialog between two host folders, shown, with an automation
// driver that plays steps at the copy's idle points and in its message
// boxes: the fixture of the copy engine's tests.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "install/engine/ProgressDialog.h"
#include "install/resources/ResourceIds.h"
#include "platform/kernel/Prefix.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/DisplayBackend.h"
#include "support/HostFiles.h"
#include "support/installer/InstallerUiTest.h"
#include "support/TempDir.h"

namespace qm::test {

inline constexpr int MessageBoxTextId = 0xFFFF;

// A shown copy dialog between a source and a destination folder on the
// host, with an automation driver whose steps run at the copy's idle points
// (after each file) and inside its message boxes. A message box that no step
// answers fails the test instead of waiting.
class CopyTest : public qm::test::InstallerUiTest {
 public:
  void SetUp() override {
    InstallerUiTest::SetUp();
    dialog = new ProgressDialog(nullptr);
    ASSERT_TRUE(dialog->Create(IDD_PROGRESS, nullptr));
    dialog->ShowWindow(SW_SHOW);
    dialogWindow = dialog->Handle();
    Pump();
    driver = std::make_unique<qm::ui::automation::Driver>();
  }

  void TearDown() override {
    driver.reset();
    if (IsWindow(dialogWindow)) DestroyWindow(dialogWindow);
    InstallerUiTest::TearDown();
  }

  int Copy(const std::vector<std::string>& names, std::uint32_t sizeKb) {
    return dialog->CopyTrees(SourceRoot(), DestinationRoot(), names, sizeKb);
  }

  std::string SourceRoot() const { return qm::test::WindowsPath(source.Path()) + "\\"; }
  std::string DestinationRoot() const { return qm::test::WindowsPath(destination.Path()) + "\\"; }
  std::filesystem::path Source(const std::string& relative) const { return std::filesystem::path(source.Path()) / relative; }
  std::filesystem::path Destination(const std::string& relative) const { return std::filesystem::path(destination.Path()) / relative; }

  int BarPosition() const {
    return static_cast<int>(SendMessageA(GetDlgItem(dialogWindow, IDC_PROGRESS), PBM_GETPOS, 0, 0));
  }

  // At every idle point of the copy: the files that appeared since the last one.
  void RecordNewFiles() {
    driver->Add({"record new files", [this](bool) {
                   std::vector<std::string> fresh;
                   for (const std::string& file : qm::test::FilesBelow(destination.Path()))
                     if (seen.insert(file).second) fresh.push_back(file);
                   if (!fresh.empty()) arrivals.push_back(fresh);
                   return qm::ui::automation::StepResult::NotYet;
                 }});
  }

  // At every idle point of the copy: the bar's position.
  void RecordPositions() {
    driver->Add({"record bar position", [this](bool) {
                   positions.push_back(BarPosition());
                   return qm::ui::automation::StepResult::NotYet;
                 }});
  }

  // A folder where the copy wants to put a file makes that file's copy fail
  // until it is removed.
  void BlockDestination(const std::string& relative) { qm::test::MakeFile(Destination(relative) / "in-the-way", 1); }

  std::string CantCopyMessage(const std::string& relative) const {
    std::string windowsRelative = relative;
    for (char& c : windowsRelative)
      if (c == '/') c = '\\';
    return "Can't copy file\nSource file: " + SourceRoot() + windowsRelative +
           "\nDestination file: " + DestinationRoot() + windowsRelative + "\nFile not found or disk is full";
  }

  qm::test::TempDir source{"qm-copy-source"};
  qm::test::TempDir destination{"qm-copy-destination"};
  ProgressDialog* dialog = nullptr;
  HWND dialogWindow = nullptr;
  std::unique_ptr<qm::ui::automation::Driver> driver;
  std::set<std::string> seen;
  std::vector<std::vector<std::string>> arrivals;
  std::vector<int> positions;
};

}  // namespace qm::test
