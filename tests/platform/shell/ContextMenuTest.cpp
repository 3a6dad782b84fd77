#include <gtest/gtest.h>

#include <filesystem>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/ContextMenu.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/Namespace.h"
#include "platform/ui/WinUser.h"
#include "support/HostProbes.h"

namespace {

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

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
