#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/kernel/Prefix.h"
#include "platform/shell/Com.h"
#include "platform/shell/IdList.h"
#include "platform/shell/ShellFolders.h"

using qm::shell::ItemKind;

namespace {

std::vector<qm::shell::ItemBytes> Items(LPCITEMIDLIST list) { return qm::shell::SplitIdList(list).value(); }

const SHITEMID& AsItem(const qm::shell::ItemBytes& bytes) { return *reinterpret_cast<const SHITEMID*>(bytes.data()); }

}  // namespace

TEST(ShellFolders, SpecialFoldersAreInTheWindowsFolder) {
  const struct { int folder; const char* path; std::size_t items; } rows[] = {
      {CSIDL_PROGRAMS, "C:\\Windows\\Start Menu\\Programs", 5},
      {CSIDL_DESKTOPDIRECTORY, "C:\\Windows\\Desktop", 4},
      {CSIDL_DESKTOP, "C:\\Windows\\Desktop", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    LPITEMIDLIST list = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, row.folder, &list), S_OK);
    EXPECT_EQ(Items(list).size(), row.items);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_STREQ(path, row.path);
    EXPECT_TRUE(std::filesystem::is_directory(qm::kernel::ResolveWindowsPath(path).value()));
    ILFree(list);
  }
}

TEST(ShellFolders, MyComputerHasNoPath) {
  LPITEMIDLIST list = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list), S_OK);
  std::vector<qm::shell::ItemBytes> items = Items(list);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(qm::shell::KindOf(AsItem(items[0])), ItemKind::MyComputer);
  char path[MAX_PATH] = "unchanged";
  EXPECT_FALSE(SHGetPathFromIDListA(list, path));
  EXPECT_STREQ(path, "");
  ILFree(list);
  EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x7777, &list), E_INVALIDARG);
}

TEST(IdList, ItemsHaveTheDocumentedLayout) {
  LPITEMIDLIST list = qm::shell::IdListFromPath("C:\\Games\\Quellmoor");
  auto bytes = reinterpret_cast<const BYTE*>(list);
  // My Computer: 20 bytes, type 0x1F, then its class id.
  EXPECT_EQ(bytes[0] | (bytes[1] << 8), 20);
  EXPECT_EQ(bytes[2], 0x1F);
  EXPECT_EQ(bytes[4], 0xE0);
  EXPECT_EQ(bytes[19], 0x9D);
  // The drive: 25 bytes, type 0x2F, "C:\".
  EXPECT_EQ(bytes[20] | (bytes[21] << 8), 25);
  EXPECT_EQ(std::memcmp(bytes + 22, "\x2F" "C:\\", 4), 0);
  // Folders by name, each an even count; then the zero terminator.
  std::size_t at = 45;
  for (const char* name : {"Games", "Quellmoor"}) {
    std::size_t count = bytes[at] | (bytes[at + 1] << 8);
    EXPECT_EQ(count % 2, 0u);
    EXPECT_EQ(bytes[at + 2], 0x31);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes + at + 14), name);
    at += count;
  }
  EXPECT_EQ(bytes[at], 0);
  EXPECT_EQ(bytes[at + 1], 0);
  ILFree(list);
}

TEST(IdList, PathsRoundTrip) {
  std::filesystem::create_directories(qm::kernel::ResolveWindowsPath("C:\\Games\\Quellmoor").value());
  for (const char* path : {"C:\\", "D:\\", "C:\\Games", "C:\\Games\\Quellmoor", "C:\\Program Files\\A B\\c.txt",
                           "C:\\Spiele\\K\xC3\xB6nig", "Z:\\home\\me"}) {
    SCOPED_TRACE(path);
    LPITEMIDLIST list = qm::shell::IdListFromPath(path);
    ASSERT_NE(list, nullptr);
    char back[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(list, back));
    EXPECT_STREQ(back, path);
    ILFree(list);
  }
  EXPECT_EQ(qm::shell::IdListFromPath("relative\\path"), nullptr);
}

TEST(IdList, DamagedListsGiveNoPath) {
  const std::vector<std::vector<BYTE>> rows = {
      {1, 0, 0, 0},                                  // an item shorter than its count
      {4, 0, 0x2F, 'C', 0, 0},                       // a drive without My Computer before it
      {4, 0, 0x77, 0, 0, 0},                         // an unknown item
  };
  for (const auto& row : rows) {
    char path[MAX_PATH];
    EXPECT_FALSE(SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(row.data()), path));
  }
  // A folder may not follow My Computer directly: it needs its drive.
  std::vector<qm::shell::ItemBytes> items = {qm::shell::MyComputerItem(), qm::shell::FolderItem("Games")};
  LPITEMIDLIST list = qm::shell::BuildIdList(items);
  EXPECT_FALSE(qm::shell::PathFromIdList(list));
  ILFree(list);
}
