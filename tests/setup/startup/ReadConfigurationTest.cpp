#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "install/startup/Installer.h"
#include "platform/kernel/Prefix.h"
#include "support/WindowsFiles.h"
#include "support/installer/InstallerStart.h"

namespace {

struct Case {
  const char* name;
  std::string content;
  std::uint32_t kb;
};

class ReadConfigurationTest : public testing::Test {
 protected:
  void SetUp() override {
    qm::test::MakeWindowsDirectory("C:\\dist\\cd1");
    qm::test::StartedAs("C:\\dist\\cd1\\setup.exe");
  }
  void TearDown() override { qm::test::ForgetStart(); }
  // Each case starts from a size no case produces, so an untouched field shows.
  static void ExpectSums(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_TRUE(qm::test::WriteWindowsFile("C:\\dist\\cd1\\install.cfg", c.content));
      Settings().requiredSizeKb = 4242;
      EXPECT_TRUE(Installer().ReadConfiguration());
      EXPECT_EQ(Settings().requiredSizeKb, c.kb);
    }
  }
};

TEST_F(ReadConfigurationTest, SumsTheSizeTokens) {
  ExpectSums({
      {"one line", "300 db 200 bin 12 doc", 512},
      {"several lines", "300 db\r\n200\tbin\n\n  12 doc\n", 512},
      {"empty file", "", 0},
      {"unit after the number", "512KB db", 512},
      {"negative size", "612 db -100 patch", 512},
      {"odd token count", "300 db 200 bin 12", 512},
      {"size without digits", "big db 5 bin", 5},
      {"negative total keeps its bits", "-1 db", 0xFFFFFFFFu},
      {"negative size alone", "-100 db", static_cast<std::uint32_t>(-100)},
      {"a DOS end of file mark ends it", std::string("300 db\x1a 5 x"), 300},
  });
}

TEST_F(ReadConfigurationTest, TokensOfAnyLengthAreReadWhole) {
  ExpectSums({
      {"long name", "300 " + std::string(10000, 'n') + " 200 bin 12 doc", 512},
      {"long size", "100" + std::string(9997, 'K') + " db 5 bin", 105},
  });
}

TEST_F(ReadConfigurationTest, NumbersBeyond32BitsStayAtTheLimitsAndTheSumWraps) {
  ExpectSums({
      {"above the signed range", "2147483648 db", 0x7FFFFFFFu},
      {"far above", std::string(10000, '9') + " db 5 bin", 0x80000004u},
      {"far below", "-99999999999999999999999 db", 0x80000000u},
      {"sum beyond the range", "2147483647 db 2 bin", 0x80000001u},
  });
}

// install.cfg as the host holds it, beside the installer on drive C:.
std::string HostConfigPath() { return *qm::kernel::ResolveWindowsPath("C:\\dist\\cd1") + "/install.cfg"; }

TEST_F(ReadConfigurationTest, AMissingInstallCfgOrOneThatIsNoRegularFileIsNotReadNorWaitedOn) {
  const std::string path = HostConfigPath();
  const struct {
    const char* what;
    void (*make)(const std::string& path);
  } rows[] = {
      {"missing", [](const std::string&) {}},
      // Nothing ever writes to the FIFO: opening it the usual way waits forever.
      {"a FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
      // An endless token of zero bytes.
      {"a link to /dev/zero", [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); }},
      {"a link to /dev/null", [](const std::string& p) { std::filesystem::create_symlink("/dev/null", p); }},
      {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::filesystem::remove_all(path);
    row.make(path);
    Settings().requiredSizeKb = 4242;
    EXPECT_FALSE(Installer().ReadConfiguration());
    EXPECT_EQ(Settings().requiredSizeKb, 4242u);
  }
}

TEST_F(ReadConfigurationTest, ATokenLongerThanAnyNameIsCutAndTheRestOfItSkipped) {
  // 100 MB: two pairs, then one token of zero bytes to the end of the file,
  // which the host stores sparse.
  const std::string path = HostConfigPath();
  { std::ofstream(path, std::ios::binary) << "7 db 5 bin "; }
  std::filesystem::resize_file(path, 100u << 20);
  Settings().requiredSizeKb = 4242;
  EXPECT_TRUE(Installer().ReadConfiguration());
  EXPECT_EQ(Settings().requiredSizeKb, 12u);

  ExpectSums({
      {"a name of a megabyte between pairs", "3 " + std::string(1u << 20, 'n') + " 4 bin", 7},
      {"a size of a megabyte", "6" + std::string(1u << 20, '0') + " db 1 bin", 0x7FFFFFFFu + 1u},
  });
}

}  // namespace
