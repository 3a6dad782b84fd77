#include <gtest/gtest.h>

#include <filesystem>

#include "platform/kernel/Prefix.h"
#include "support/WindowsFiles.h"
#include "support/installer/InstallerStart.h"

namespace {

using qm::test::MakeWindowsDirectory;
using qm::test::StartedAs;
using qm::test::WriteWindowsFile;

class InstallationSettingsTest : public testing::Test {
 protected:
  void TearDown() override { qm::test::ForgetStart(); }
};

TEST_F(InstallationSettingsTest, SourcePathsFollowTheInstallerDirectory) {
  InstallationSettings& root = StartedAs("E:\\setup.exe");
  EXPECT_EQ(root.installerDirectory, "E:\\");
  EXPECT_EQ(root.sourcePath, "E:\\");
  EXPECT_EQ(root.dbPath, "E:\\db");
  EXPECT_EQ(root.directxPath, "E:\\directx");

  InstallationSettings& folder = StartedAs("C:\\dist\\cd1\\setup.exe");
  EXPECT_EQ(folder.installerDirectory, "C:\\dist\\cd1\\");
  EXPECT_EQ(folder.binPath, "C:\\dist\\cd1\\bin");
  EXPECT_EQ(folder.docPath, "C:\\dist\\cd1\\doc");

  EXPECT_EQ(StartedAs("setup.exe").dbPath, "db");  // no directory: relative names
}

// The module's name is asked for with room for 259 characters: a longer one
// comes back cut short, and its last backslash is some parent's.
TEST_F(InstallationSettingsTest, AnInstallerPathTooLongForTheBufferGivesNoFolder) {
  const std::string folder = "C:\\" + std::string(240, 'd') + "\\";
  for (std::size_t nameLength : {14u, 15u, 16u, 40u}) {  // 258, 259, 260, 284 in all
    const std::string path = folder + std::string(nameLength - 4, 's') + ".exe";
    InstallationSettings& settings = StartedAs(path);
    if (path.size() < MAX_PATH - 1) EXPECT_EQ(settings.installerDirectory, folder) << path.size();
    else EXPECT_EQ(settings.installerDirectory, "") << path.size();
  }
}

TEST_F(InstallationSettingsTest, DestinationPathsAreAppendedWithoutNormalising) {
  InstallationSettings& settings = StartedAs("C:\\dist\\setup.exe");
  EXPECT_EQ(settings.GetStartExePath(), "C:\\Games\\Quellmoor\\bin\\start.exe");
  EXPECT_EQ(settings.GetUninstallExePath(), "C:\\Games\\Quellmoor\\uninstall\\uninstall.exe");
  EXPECT_EQ(settings.GetReadmePath(), "C:\\Games\\Quellmoor\\doc\\readme.txt");
  settings.destinationPath = "D:\\";
  EXPECT_EQ(settings.GetSetupExePath(), "D:\\\\bin\\setup.exe");
}

TEST(RemoveTrailingBackslash, RemovesAtMostOne) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"C:\\Games", "C:\\Games"}, {"E:\\", "E:"}, {"C:\\Games\\\\", "C:\\Games\\"}};
  for (const auto& [in, out] : cases) {
    std::string path = in;
    RemoveTrailingBackslash(path);
    EXPECT_EQ(path, out) << in;
  }
}

class MeasureRequiredSizeTest : public InstallationSettingsTest {
 protected:
  // A medium at C:\medium whose db, bin and doc trees hold the given byte
  // counts, beside uninstall and directx trees that are not counted.
  static InstallationSettings& MediumWith(std::size_t dbBytes, std::size_t binBytes, std::size_t docBytes) {
    for (const char* tree : {"db\\maps", "bin", "doc", "uninstall", "directx"})
      MakeWindowsDirectory(std::string("C:\\medium\\") + tree);
    EXPECT_TRUE(WriteWindowsFile("C:\\medium\\db\\maps\\moor.map", std::string(dbBytes, 'm')));
    EXPECT_TRUE(WriteWindowsFile("C:\\medium\\bin\\start.exe", std::string(binBytes, 'b')));
    EXPECT_TRUE(WriteWindowsFile("C:\\medium\\doc\\readme.txt", std::string(docBytes, 'd')));
    EXPECT_TRUE(WriteWindowsFile("C:\\medium\\uninstall\\uninstall.exe", std::string(5000, 'u')));
    EXPECT_TRUE(WriteWindowsFile("C:\\medium\\directx\\runtime.pak", std::string(5000, 'x')));
    return StartedAs("C:\\medium\\setup.exe");
  }
  // Grows the db tree's file to a sparse file of the given size.
  static bool GrowDb(std::uintmax_t size) {
    std::error_code error;
    std::filesystem::resize_file(*qm::kernel::ResolveWindowsPath("C:\\medium\\db\\maps\\moor.map"), size, error);
    return !error;
  }
};

TEST_F(MeasureRequiredSizeTest, DropsTheRemainderBelowOneKb) {
  MediumWith(1000, 20, 3).MeasureRequiredSize();
  EXPECT_EQ(Settings().requiredSizeKb, 0u);
  MediumWith(1000, 20, 4).MeasureRequiredSize();
  EXPECT_EQ(Settings().requiredSizeKb, 1u);
  StartedAs("C:\\nowhere\\setup.exe").MeasureRequiredSize();
  EXPECT_EQ(Settings().requiredSizeKb, 0u);
}

TEST_F(MeasureRequiredSizeTest, GameOfFourGibibytesIsNotMeasuredAsAFewKb) {
  InstallationSettings& settings = MediumWith(0, 2048, 0);
  ASSERT_TRUE(GrowDb((std::uintmax_t{4} << 30) + 1024));
  settings.MeasureRequiredSize();
  EXPECT_EQ(settings.requiredSizeKb, (4u << 20) + 1 + 2);
}

TEST_F(MeasureRequiredSizeTest, SizeBeyondTheKbFieldStaysAtItsLargestValue) {
  InstallationSettings& settings = MediumWith(0, 0, 0);
  if (!GrowDb(std::uintmax_t{5} << 40)) GTEST_SKIP() << "no sparse file of 5 TiB on this host";
  settings.MeasureRequiredSize();
  EXPECT_EQ(settings.requiredSizeKb, 0xFFFFFFFFu);
}

}  // namespace
