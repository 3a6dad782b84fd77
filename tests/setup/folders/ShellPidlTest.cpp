#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "install/folders/ShellPidl.h"
#include "platform/kernel/CodePage.h"
#include "platform/framework/Application.h"
#include "platform/kernel/Prefix.h"
#include "platform/ui/Automation.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "platform/ui/ShellIcons.h"
#include "support/installer/InstallerUiTest.h"

using qm::shell::BuildIdList;
using qm::shell::DriveItem;
using qm::shell::FolderItem;
using qm::shell::MyComputerItem;

namespace {

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

std::vector<qm::shell::ItemBytes> Items(LPCITEMIDLIST list) { return qm::shell::SplitIdList(list).value(); }

std::string PathOf(LPCITEMIDLIST list) {
  char path[MAX_PATH];
  return SHGetPathFromIDListA(list, path) ? path : "<none>";
}

// A folder that answers every name with the record it is given.
class NamingFolder final : public IShellFolder {
 public:
  explicit NamingFolder(STRRET answer, HRESULT result = S_OK) : answer(answer), result(result) {}
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, LPITEMIDLIST*, ULONG*) override { return E_NOTIMPL; }
  HRESULT EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT BindToObject(LPCITEMIDLIST, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT BindToStorage(LPCITEMIDLIST, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
  HRESULT CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT GetAttributesOf(UINT, LPCITEMIDLIST*, SFGAOF*) override { return E_NOTIMPL; }
  HRESULT GetUIObjectOf(HWND, UINT, LPCITEMIDLIST*, REFIID, UINT*, void**) override { return E_NOTIMPL; }
  HRESULT GetDisplayNameOf(LPCITEMIDLIST, SHGDNF, STRRET* name) override {
    *name = answer;
    if (answer.uType == STRRET_WSTR) {
      std::size_t bytes = (std::char_traits<char16_t>::length(answer.pOleStr) + 1) * sizeof(WCHAR);
      name->pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
      std::memcpy(name->pOleStr, answer.pOleStr, bytes);
    }
    return result;
  }
  HRESULT SetNameOf(HWND, LPCITEMIDLIST, LPCWSTR, SHGDNF, LPITEMIDLIST*) override { return E_NOTIMPL; }

 private:
  STRRET answer;
  HRESULT result;
};

TEST(ShellPidl, ListsAreMeasuredJoinedAndCopiedInTheirLayout) {
  ShellPidl pidl;
  const qm::shell::TaskMemoryInUse before = qm::shell::TaskMemoryUse();
  LPITEMIDLIST computer = BuildIdList({MyComputerItem()});
  LPITEMIDLIST drive = BuildIdList({DriveItem('C')});
  LPITEMIDLIST games = BuildIdList({FolderItem("Games"), FolderItem("Quellmoor")});
  LPITEMIDLIST desktop = BuildIdList({});
  EXPECT_EQ(pidl.IdListSize(nullptr), 0u);
  EXPECT_EQ(pidl.IdListSize(desktop), 2u);
  EXPECT_EQ(pidl.IdListSize(computer), 22u);
  EXPECT_EQ(pidl.NextItemId(computer)->mkid.cb, 0);

  LPITEMIDLIST path = pidl.JoinIdLists(computer, drive);
  LPITEMIDLIST deeper = pidl.JoinIdLists(path, games);
  EXPECT_EQ(PathOf(path), "C:\\");
  EXPECT_EQ(PathOf(deeper), "C:\\Games\\Quellmoor");
  EXPECT_EQ(pidl.IdListSize(deeper), 20u + 25u + pidl.IdListSize(games));
  // Joined with nothing on either side, a list is copied whole.
  LPITEMIDLIST alone = pidl.JoinIdLists(nullptr, path);
  LPITEMIDLIST kept = pidl.JoinIdLists(path, nullptr);
  EXPECT_EQ(Items(alone), Items(path));
  EXPECT_EQ(Items(kept), Items(path));

  LPMALLOC allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  LPITEMIDLIST first = pidl.CopyFirstItemId(allocator, games);
  EXPECT_EQ(Items(first), std::vector<qm::shell::ItemBytes>{FolderItem("Games")});
  EXPECT_EQ(pidl.IdListSize(first), FolderItem("Games").size() + 2);
  for (LPITEMIDLIST list : {desktop, computer, drive, games, path, deeper, alone, kept, first}) allocator->Free(list);
  allocator->Release();
  EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, before.blocks);
}

TEST(ShellPidl, TheCopyOfTheFirstItemOfALongerListEndsAfterIt) {
  ShellPidl pidl;
  LPITEMIDLIST list = BuildIdList({MyComputerItem(), DriveItem('C'), FolderItem("Games")});
  LPMALLOC allocator = nullptr;
  SHGetMalloc(&allocator);
  LPITEMIDLIST copy = pidl.CopyFirstItemId(allocator, list);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Items(copy).size(), 1u);
  EXPECT_EQ(pidl.NextItemId(copy)->mkid.cb, 0) << "the copy runs on into the drive's count";
  allocator->Free(copy);
  allocator->Free(list);
}

TEST(ShellPidl, NamesAreReadFromEachKindOfRecord) {
  std::filesystem::create_directories(Host("C:\\Games\\Z\xC3\xBCrich"));
  ShellPidl pidl;
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
  LPITEMIDLIST computer = BuildIdList({MyComputerItem()});
  LPITEMIDLIST drive = BuildIdList({MyComputerItem(), DriveItem('C')});
  LPITEMIDLIST folder = BuildIdList({MyComputerItem(), DriveItem('C'), FolderItem("Games"), FolderItem("Z\xC3\xBCrich")});
  const qm::shell::TaskMemoryInUse before = qm::shell::TaskMemoryUse();
  const struct {
    LPCITEMIDLIST list;
    DWORD flags;
    const char* name;
  } rows[] = {
      {computer, SHGDN_NORMAL, "My Computer"},
      {drive, SHGDN_NORMAL, "(C:)"},
      {drive, SHGDN_FORPARSING, "C:\\"},
      {folder, SHGDN_NORMAL, "Z\xC3\xBCrich"},
      {folder, SHGDN_FORPARSING, "C:\\Games\\Z\xC3\xBCrich"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    char name[MAX_PATH];
    ASSERT_TRUE(pidl.GetItemName(desktop, row.list, row.flags, name));
    EXPECT_STREQ(name, row.name);
  }
  EXPECT_EQ(qm::shell::TaskMemoryUse().blocks, before.blocks) << "a wide name was not given back";
  desktop->Release();
  for (LPITEMIDLIST list : {computer, drive, folder}) CoTaskMemFree(list);
}

TEST(ShellPidl, ANameTooLongIsCutAtAWholeCharacter) {
  ShellPidl pidl;
  std::u16string wide(200, u'\x0436');  // 400 bytes in UTF-8
  STRRET answer{};
  answer.uType = STRRET_WSTR;
  answer.pOleStr = wide.data();
  NamingFolder folder(answer);
  LPITEMIDLIST item = BuildIdList({FolderItem("x")});
  char name[MAX_PATH + 1];
  std::memset(name, '#', sizeof name);
  ASSERT_TRUE(pidl.GetItemName(&folder, item, SHGDN_NORMAL, name));
  EXPECT_EQ(std::strlen(name), 258u);
  EXPECT_EQ(name[MAX_PATH], '#');
  EXPECT_EQ(qm::kernel::Utf8ToUtf16(name), std::u16string(129, u'\x0436'));

  // An offset outside the list, a failure and an unknown kind give no name.
  answer.uType = STRRET_OFFSET;
  answer.uOffset = 4000;
  NamingFolder outside(answer);
  NamingFolder failing(answer, E_FAIL);
  answer.uType = 7;
  NamingFolder unknown(answer);
  for (NamingFolder* bad : {&outside, &failing, &unknown}) {
    EXPECT_FALSE(pidl.GetItemName(bad, item, SHGDN_NORMAL, name));
    EXPECT_STREQ(name, "");
  }
  CoTaskMemFree(item);
}

TEST(ShellPidl, AnItemIsFoundFromTheDesktopByItsParsingName) {
  std::filesystem::create_directories(Host("C:\\Games\\Quellmoor"));
  ShellPidl pidl;
  IShellFolder* desktop = nullptr;
  SHGetDesktopFolder(&desktop);
  LPITEMIDLIST gamesList = BuildIdList({MyComputerItem(), DriveItem('C'), FolderItem("Games")});
  IShellFolder* games = nullptr;
  ASSERT_EQ(desktop->BindToObject(gamesList, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&games)), S_OK);
  LPITEMIDLIST quellmoor = BuildIdList({FolderItem("quellmoor")});
  LPITEMIDLIST absolute = pidl.ParseToIdList(games, quellmoor);
  EXPECT_EQ(PathOf(absolute), "C:\\Games\\Quellmoor");
  EXPECT_EQ(pidl.GetItemIcon(absolute, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
            static_cast<int>(qm::ui::ShellIcon::Folder));
  EXPECT_EQ(pidl.GetItemIcon(absolute, SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON),
            static_cast<int>(qm::ui::ShellIcon::OpenFolder));
  LPITEMIDLIST missing = BuildIdList({FolderItem("Missing")});
  EXPECT_EQ(pidl.ParseToIdList(games, missing), nullptr);
  for (LPITEMIDLIST list : {gamesList, quellmoor, absolute, missing}) CoTaskMemFree(list);
  games->Release();
  desktop->Release();
}

class ShellPidlMenu : public qm::test::InstallerUiTest {};

TEST_F(ShellPidlMenu, AFolderWithoutAMenuSaysSoWithTheCodeInHexadecimal) {
  STRRET unused{};
  NamingFolder folder(unused);  // answers GetUIObjectOf with E_NOTIMPL
  LPITEMIDLIST item = BuildIdList({FolderItem("x")});
  qm::ui::automation::Driver driver;
  driver.Wait(qm::fw::ApplicationName())
      .Expect(qm::ui::automation::Id(0xFFFF), "GetUIObjectOf failed! hr=80004001")
      .Click(qm::ui::automation::Text("OK"));
  EXPECT_FALSE(ShellPidl().RunContextMenu(nullptr, &folder, item, POINT{10, 10}));
  EXPECT_EQ(driver.StepsLeft(), 0u);
  CoTaskMemFree(item);
}

}  // namespace
