#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/ContextMenu.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/Namespace.h"
#include "platform/shell/ShellExecute.h"
#include "platform/ui/WinUser.h"
#include "support/HostProbes.h"

namespace {

constexpr UINT kShow = 5;  // SW_SHOW

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

void MakeFile(const std::string& windowsPath) {
  std::filesystem::create_directories(std::filesystem::path(Host(windowsPath)).parent_path());
  std::ofstream(Host(windowsPath)) << "notes";
}

std::intptr_t Result(HINSTANCE instance) { return reinterpret_cast<std::intptr_t>(instance); }

// Records what would be launched; launches nothing.
class ShellExecute : public testing::Test {
 protected:
  qm::test::RecordingLauncher recorder;
  std::vector<qm::shell::HostCommand>& launched = recorder.launched;
  bool& launcherWorks = recorder.works;
};

}  // namespace

TEST_F(ShellExecute, TheTextEditorOpensItsFileInTheHostViewer) {
  MakeFile("C:\\Games\\Quellmoor Gold\\doc\\read me.txt");
  const std::string command = "C:\\Windows\\notepad.exe C:\\Games\\Quellmoor Gold\\doc\\read me.txt";
  EXPECT_GT(WinExec(command.c_str(), kShow), 31u);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].request, command);
  EXPECT_EQ(launched[0].argv,
            (std::vector<std::string>{"xdg-open", Host("C:\\Games\\Quellmoor Gold\\doc\\read me.txt")}));
}

TEST_F(ShellExecute, TheEditorIsFoundByAnyOfItsNames) {
  MakeFile("C:\\Notes\\a.txt");
  for (const char* command : {"c:\\windows\\NOTEPAD.EXE C:\\Notes\\a.txt", "notepad c:\\notes\\A.TXT",
                              "\"C:\\Windows\\notepad.exe\" \"C:\\Notes\\a.txt\"",
                              "C:\\Windows\\System32\\notepad.exe   C:\\Notes\\a.txt  "}) {
    SCOPED_TRACE(command);
    launched.clear();
    EXPECT_GT(WinExec(command, kShow), 31u);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].argv.at(1), Host("C:\\Notes\\a.txt"));
  }
}

TEST_F(ShellExecute, OtherProgramsAndMissingDocumentsAreNotFound) {
  MakeFile("C:\\Notes\\a.txt");
  for (const char* command : {"C:\\Games\\Quellmoor\\bin\\start.exe", "C:\\Windows\\write.exe C:\\Notes\\a.txt",
                              "C:\\Windows\\notepad.exe C:\\Notes\\missing.txt", "C:\\Windows\\notepad.exe", ""}) {
    SCOPED_TRACE(command);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WinExec(command, kShow), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  }
  EXPECT_TRUE(launched.empty());
}

TEST_F(ShellExecute, AViewerThatCannotStartIsReported) {
  MakeFile("C:\\Notes\\a.txt");
  launcherWorks = false;
  EXPECT_EQ(WinExec("C:\\Windows\\notepad.exe C:\\Notes\\a.txt", kShow), ERROR_FILE_NOT_FOUND);
  EXPECT_LE(Result(ShellExecuteA(nullptr, "open", "https://quellmoor.example/", nullptr, "", kShow)), 32);
}

TEST_F(ShellExecute, WebAddressesGoToTheHostBrowser) {
  for (const char* address : {"http://www.quellmoor.example/", "HTTPS://quellmoor.example/news?x=1&y=2"}) {
    SCOPED_TRACE(address);
    launched.clear();
    EXPECT_GT(Result(ShellExecuteA(nullptr, "open", address, nullptr, "", kShow)), 32);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].request, address);
    EXPECT_EQ(launched[0].argv, (std::vector<std::string>{"xdg-open", address}));
  }
}

TEST_F(ShellExecute, OpenHandlesDocumentsButRunsNoPrograms) {
  MakeFile("C:\\Games\\Quellmoor\\doc\\readme.txt");
  MakeFile("C:\\Games\\Quellmoor\\bin\\start.exe");
  EXPECT_GT(Result(ShellExecuteA(nullptr, nullptr, "readme.txt", nullptr, "C:\\Games\\Quellmoor\\doc", kShow)), 32);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].argv.at(1), Host("C:\\Games\\Quellmoor\\doc\\readme.txt"));
  EXPECT_GT(Result(ShellExecuteA(nullptr, "open", "C:\\Windows\\notepad.exe", "C:\\Games\\Quellmoor\\doc\\readme.txt",
                                 "", kShow)),
            32);
  EXPECT_EQ(launched.size(), 2u);

  EXPECT_EQ(Result(ShellExecuteA(nullptr, "open", "C:\\Games\\Quellmoor\\bin\\start.exe", nullptr, "", kShow)),
            SE_ERR_FNF);
  EXPECT_EQ(Result(ShellExecuteA(nullptr, "open", "C:\\Nothing.txt", nullptr, "", kShow)), SE_ERR_FNF);
  EXPECT_EQ(Result(ShellExecuteA(nullptr, "print", "C:\\Games\\Quellmoor\\doc\\readme.txt", nullptr, "", kShow)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(launched.size(), 2u);
}

TEST(Launcher, TheHostLauncherReportsAProgramThatCannotBeStarted) {
  EXPECT_FALSE(qm::shell::LaunchOnHost({"", {"/nonexistent/quellmoor-no-such-program"}}));
  EXPECT_FALSE(qm::shell::LaunchOnHost({"", {}}));
  EXPECT_TRUE(qm::shell::LaunchOnHost({"", {"/bin/true"}}));
}

namespace {

// The context menu of the last item of a path, asked of its folder.
class ContextMenu : public testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(Host("C:\\Games\\Quellmoor")); }
  void TearDown() override { EXPECT_EQ(qm::shell::LiveObjectCount(), 0u); }

  // Answers the failure of GetUIObjectOf, or S_OK with menu set.
  HRESULT MenuOf(const std::string& path, IContextMenu** menu) {
    IShellFolder* desktop = nullptr;
    SHGetDesktopFolder(&desktop);
    std::u16string name = qm::kernel::Utf8ToUtf16(path);
    LPITEMIDLIST list = nullptr;
    HRESULT result = desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &list, nullptr);
    if (SUCCEEDED(result)) {
      // The folder above the item, and the item's one level below it.
      std::vector<qm::shell::ItemBytes> items = qm::shell::SplitIdList(list).value();
      LPITEMIDLIST parentList = qm::shell::BuildIdList({items.begin(), items.end() - 1});
      LPITEMIDLIST itemList = qm::shell::BuildIdList({items.back()});
      IShellFolder* parent = desktop;
      if (items.size() > 1)
        desktop->BindToObject(parentList, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&parent));
      LPCITEMIDLIST asked[] = {itemList};
      result = parent->GetUIObjectOf(nullptr, 1, asked, IID_IContextMenu, nullptr, reinterpret_cast<void**>(menu));
      if (parent != desktop) parent->Release();
      CoTaskMemFree(parentList);
      CoTaskMemFree(itemList);
      CoTaskMemFree(list);
    }
    desktop->Release();
    return result;
  }

  HRESULT Invoke(IContextMenu* menu, LPCSTR verb, DWORD size = sizeof(CMINVOKECOMMANDINFO)) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = size;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
  }

  qm::test::RecordingLauncher recorder;
  std::vector<qm::shell::HostCommand>& launched = recorder.launched;
  bool& launcherWorks = recorder.works;
};

}  // namespace

TEST_F(ContextMenu, OpenOpensTheFolderInTheHostsFileManager) {
  for (const char* path : {"C:\\Games\\Quellmoor", "C:\\"}) {
    SCOPED_TRACE(path);
    launched.clear();
    IContextMenu* menu = nullptr;
    ASSERT_EQ(MenuOf(path, &menu), S_OK);
    EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), S_OK);
    EXPECT_EQ(Invoke(menu, "Open"), S_OK);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0].request, path);
    EXPECT_EQ(launched[0].argv, (std::vector<std::string>{"xdg-open", Host(path)}));
    char verb[8];
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
    EXPECT_STREQ(verb, "open");
    menu->Release();
  }
}

TEST_F(ContextMenu, QueryPutsOpenIntoThePopupMenuGreyedWhereNothingCanOpenIt) {
  std::pair<const char*, bool> cases[] = {{"C:\\Games\\Quellmoor", false},
                                          {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true}};
  for (const auto& [path, greyed] : cases) {
    SCOPED_TRACE(path);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(MenuOf(path, &menu), S_OK);
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 99, "Last");
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 7, 0x7FFF, 0), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    ASSERT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuItemID(popup, 0), 7u) << "the first command id, at the index asked for";
    char text[16] = {};
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Open");
    EXPECT_EQ((GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED) != 0, greyed);
    DestroyMenu(popup);
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 7, 0x7FFF, 0), HRESULT_FROM_WIN32(ERROR_INVALID_MENU_HANDLE))
        << "a destroyed menu takes no items";
    menu->Release();
  }
}

TEST_F(ContextMenu, FailuresCarryTheirCodes) {
  IContextMenu* menu = nullptr;
  ASSERT_EQ(MenuOf("C:\\Games\\Quellmoor", &menu), S_OK);
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(1)), E_INVALIDARG);
  EXPECT_EQ(Invoke(menu, "delete"), E_INVALIDARG);
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0), sizeof(CMINVOKECOMMANDINFO) - 1), E_INVALIDARG);
  launcherWorks = false;
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION));
  launcherWorks = true;
  std::filesystem::remove(Host("C:\\Games\\Quellmoor"));
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  menu->Release();
  // My Computer has a menu, but nothing on the host can open it.
  ASSERT_EQ(MenuOf("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", &menu), S_OK);
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION));
  menu->Release();
  // Only the launcher that could not start was asked.
  EXPECT_EQ(launched.size(), 1u);
}
