#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/kernel/Prefix.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "platform/ui/ShellIcons.h"

namespace {

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

using qm::ui::ShellIcon;

}  // namespace

TEST(FileInfo, ItemsHaveTheirIconAndTypeName) {
  std::filesystem::create_directories(Host("C:\\Games\\Quellmoor"));
  for (const char* file : {"readme.txt", "start.exe", "save.qm1", "LICENSE", "Z\xC3\xBCrich.\xC3\xA9t\xC3\xA9"})
    std::ofstream(Host("C:\\Games\\Quellmoor") + "/" + file) << "x";
  const struct {
    const char* path;
    ShellIcon icon;
    ShellIcon open;
    const char* type;
  } rows[] = {
      {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", ShellIcon::Computer, ShellIcon::Computer, "System Folder"},
      {"C:\\", ShellIcon::FixedDrive, ShellIcon::FixedDrive, "Local Disk"},
      {"C:\\Games", ShellIcon::Folder, ShellIcon::OpenFolder, "File Folder"},
      {"C:\\Games\\Quellmoor\\readme.txt", ShellIcon::File, ShellIcon::File, "Text Document"},
      {"C:\\Games\\Quellmoor\\start.exe", ShellIcon::File, ShellIcon::File, "Application"},
      {"C:\\Games\\Quellmoor\\save.qm1", ShellIcon::File, ShellIcon::File, "QM1 File"},
      {"C:\\Games\\Quellmoor\\LICENSE", ShellIcon::File, ShellIcon::File, "File"},
      {"C:\\Games\\Quellmoor\\Z\xC3\xBCrich.\xC3\xA9t\xC3\xA9", ShellIcon::File, ShellIcon::File,
       "\xC3\x89T\xC3\x89 File"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    SHFILEINFOA info{};
    EXPECT_NE(SHGetFileInfoA(row.path, 0, &info, sizeof info, SHGFI_TYPENAME), 0u);
    EXPECT_STREQ(info.szTypeName, row.type);
    SHGetFileInfoA(row.path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    EXPECT_EQ(info.iIcon, static_cast<int>(row.icon));
    SHGetFileInfoA(row.path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    EXPECT_EQ(info.iIcon, static_cast<int>(row.open));
  }
  // The desktop by its list.
  LPITEMIDLIST desktop = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop), S_OK);
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  EXPECT_EQ(info.iIcon, static_cast<int>(ShellIcon::Desktop));
  ILFree(desktop);
}

TEST(FileInfo, WhatCannotBeAnsweredIsZero) {
  SHFILEINFOA info{};
  EXPECT_EQ(SHGetFileInfoA("C:\\Missing", 0, &info, sizeof info, SHGFI_TYPENAME), 0u);
  EXPECT_EQ(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u) << "there are no large icons";
  EXPECT_EQ(SHGetFileInfoA("C:\\", 0, &info, sizeof info, 0x0100 /* SHGFI_ICON */), 0u);
  const BYTE damaged[] = {4, 0, 0x77, 0, 0, 0};
  EXPECT_EQ(SHGetFileInfoA(reinterpret_cast<LPCSTR>(damaged), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_TYPENAME), 0u);
}
