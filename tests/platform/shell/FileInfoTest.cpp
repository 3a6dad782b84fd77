#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/dialogs/Screenshots.h"
#include "platform/gdi/GdiTestSupport.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/FileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "platform/ui/ShellIcons.h"

namespace {

std::string Host(const std::string& windowsPath) { return qm::kernel::ResolveWindowsPath(windowsPath).value(); }

using qm::ui::ShellIcon;

// The system image list of small icons, as SHGetFileInfoA gives it.
HIMAGELIST SmallIcons() {
  SHFILEINFOA info{};
  DWORD_PTR list = SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return reinterpret_cast<HIMAGELIST>(list);
}

}  // namespace

TEST(FileInfo, ItemsHaveTheirIconAndTypeName) {
  std::filesystem::create_directories(Host("C:\\Games\\Quellmoor"));
  for (const char* file : {"readme.txt", "start.exe", "save.qm1", "LICENSE", "Z\xC3\xBCrich.\xC3\xA9t\xC3\xA9"})
    std::ofstream(Host("C:\\Games\\Quellmoor") + "/" + file) << "x";
  const struct { const char* path; ShellIcon icon; ShellIcon open; const char* type; } rows[] = {
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

TEST(FileInfo, TheSystemImageListHoldsTheSmallIconsInTheirOrder) {
  HIMAGELIST images = SmallIcons();
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(SmallIcons(), images) << "one list for every caller";
  EXPECT_EQ(ImageList_GetImageCount(images), qm::ui::kShellIconCount);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
  EXPECT_EQ((std::pair{cx, cy}), (std::pair{16, 16}));
  // The closed folder: yellow inside, its corners left to what is below.
  qm::test::SurfaceCanvas canvas(16, 16, RGB(0, 128, 128));
  EXPECT_TRUE(ImageList_Draw(images, static_cast<int>(ShellIcon::Folder), canvas.dc(), 0, 0, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.At(7, 9), RGB(255, 255, 0));
  EXPECT_EQ(canvas.At(15, 0), RGB(0, 128, 128));
  EXPECT_EQ(canvas.At(0, 15), RGB(0, 128, 128));
}

TEST(FileInfo, EverySmallIconIsDrawnAndTellsItsKindApart) {
  HIMAGELIST images = SmallIcons();
  ASSERT_NE(images, nullptr);
  // Side by side on the dialog face and on a window's white, as a tree shows
  // them; the picture, four times enlarged, is for judging them by eye.
  const COLORREF grounds[] = {RGB(192, 192, 192), RGB(255, 255, 255)};
  constexpr int kCell = 20, kZoom = 4;
  qm::ui::Surface picture(qm::ui::kShellIconCount * kCell * kZoom, 2 * kCell * kZoom);
  std::vector<std::vector<std::uint32_t>> drawn(qm::ui::kShellIconCount);
  for (int row = 0; row < 2; ++row) {
    qm::test::SurfaceCanvas canvas(qm::ui::kShellIconCount * kCell, kCell, grounds[row]);
    for (int i = 0; i < qm::ui::kShellIconCount; ++i) {
      SCOPED_TRACE(i);
      ASSERT_TRUE(ImageList_Draw(images, i, canvas.dc(), i * kCell + 2, 2, ILD_TRANSPARENT));
      qm::test::SurfaceCanvas alone(16, 16, grounds[row]);
      ImageList_Draw(images, i, alone.dc(), 0, 0, ILD_TRANSPARENT);
      RECT ink = qm::test::InkBounds(alone.surface(), grounds[row]);
      EXPECT_GE(ink.right - ink.left, 12) << "an icon fills most of its square";
      EXPECT_GE(ink.bottom - ink.top, 8) << "the drive is the flattest";
      if (row == 0)
        for (int y = 0; y < 16; ++y)
          for (int x = 0; x < 16; ++x) drawn[i].push_back(alone.surface().At(x, y));
    }
    for (int y = 0; y < picture.height / 2; ++y)
      for (int x = 0; x < picture.width; ++x)
        picture.At(x, row * kCell * kZoom + y) = canvas.surface().At(x / kZoom, y / kZoom);
  }
  for (int i = 0; i < qm::ui::kShellIconCount; ++i)
    for (int j = i + 1; j < qm::ui::kShellIconCount; ++j) EXPECT_NE(drawn[i], drawn[j]) << i << " and " << j;
  ASSERT_TRUE(qm::ui::SavePng(picture, qm::test::ShotPath("shell-small-icons.png")));
}
