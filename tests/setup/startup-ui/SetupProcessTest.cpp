// The built installer run as a program of its own, unattended through
// response scripts, as a user would start it from the medium.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/registry/HiveText.h"
#include "platform/ui/gdi/Png.h"
#include "support/HostFiles.h"
#include "support/TempDir.h"
#include "support/installer/InstallerStart.h"
#include "support/installer/RunningCopy.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The build tree: named by the environment, else the one holding this test
// program (build/tests/<program>).
fs::path BuildDir() {
  if (const char* build = std::getenv("QUELLMOOR_BUILD_DIR")) return build;
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path();
}

std::string BuiltSetup() { return (BuildDir() / "setup" / "setup").string(); }

// A medium in `folder`: the built installer under `name` beside an
// install.cfg and a small db tree.
std::string LayOutMedium(const std::string& folder, const std::string& name) {
  fs::create_directories(fs::path(folder) / "db");
  std::ofstream(fs::path(folder) / "db" / "items.dat") << "items";
  std::ofstream(fs::path(folder) / "install.cfg") << "1 db\n";
  const std::string program = folder + "/" + name;
  fs::copy_file(BuiltSetup(), program, fs::copy_options::overwrite_existing);
  return program;
}

// Writes a response script into folder; the variable that hands it to the installer.
std::string ScriptIn(const std::string& folder, const std::string& text) {
  const std::string path = folder + "/answers.script";
  std::ofstream(path) << text;
  return "QUELLMOOR_SCRIPT=" + path;
}

// Whether `entry` ("NAME=value") sets the variable that `assignment` sets.
bool SameVariable(const std::string& entry, const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  return entry.compare(0, equals + 1, assignment, 0, equals + 1) == 0;
}

// A child process with the test's environment plus the given variables,
// which replace the test's own of the same names; its stderr goes to
// `errorFile` when one is given. It is killed if the test ends while it
// still runs.
class Child {
 public:
  Child(const std::string& program, const std::vector<std::string>& variables, const std::string& errorFile = "") {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      const std::string text = *entry;
      if (text.rfind("QUELLMOOR_SCRIPT=", 0) == 0 || text.rfind("QUELLMOOR_SCREENSHOTS=", 0) == 0) continue;
      bool replaced = false;
      for (const std::string& variable : variables) replaced = replaced || SameVariable(text, variable);
      if (!replaced) environment.push_back(text);
    }
    environment.insert(environment.end(), variables.begin(), variables.end());
    std::vector<char*> envp;
    for (std::string& text : environment) envp.push_back(text.data());
    envp.push_back(nullptr);
    const std::string name = fs::path(program).filename().string();
    std::vector<char*> argv{const_cast<char*>(name.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!errorFile.empty())
      posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Child() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }

  bool Started() const { return pid > 0; }
  bool Running() { return pid > 0 && waitpid(pid, &status, WNOHANG) == 0; }
  // The exit status; -1 when the process did not exit normally.
  int Wait() {
    if (pid <= 0) return -1;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid = -1;
  int status = 0;
};

class SetupProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(BuiltSetup())) << BuiltSetup();
    ASSERT_NE(std::getenv("QUELLMOOR_SOURCE_DIR"), nullptr);
  }
  // The response script that takes every default answer.
  static std::string DefaultAnswers() {
    return std::string("QUELLMOOR_SCRIPT=") + std::getenv("QUELLMOOR_SOURCE_DIR") + "/tools/default-install.script";
  }
  // The user's registry store, in a prefix folder that exists.
  static std::string UserStore() {
    const std::string prefix = std::getenv("QUELLMOOR_PREFIX");
    fs::create_directories(prefix);
    return prefix + "/user.reg";
  }
};

using qm::test::ReadHostFile;
using qm::test::UniqueName;

TEST_F(SetupProcessTest, SecondProcessOfTheSameNameIsToldSoAndEndsWithZero) {
  qm::test::TempDir firstFolder("qm-first");
  qm::test::TempDir secondFolder("qm-second");
  const std::string name = UniqueName();

  // The first installer reads its script from a pipe: once the test can
  // open the pipe, the first one is running. It reads the whole script at
  // start-up, before its own check, so it waits there until the test closes
  // the pipe, after the second one has gone.
  const std::string pipe = firstFolder.Path() + "/script";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  Child first(LayOutMedium(firstFolder.Path(), name), {"QUELLMOOR_SCRIPT=" + pipe});
  ASSERT_TRUE(first.Started());
  const int pipeEnd = open(pipe.c_str(), O_WRONLY);
  ASSERT_GE(pipeEnd, 0);

  const std::string script = ScriptIn(secondFolder.Path(),
                                      "wait \"Install\"\n"
                                      "expect 0xFFFF \"Installer already running\"\n"
                                      "click \"OK\"\n");
  Child second(LayOutMedium(secondFolder.Path(), name), {script});
  EXPECT_EQ(second.Wait(), 0) << "after OK the second one ends by itself, with no window left to wait on";
  EXPECT_TRUE(first.Running()) << "the first installer is not disturbed";

  const std::string end = "end\n";
  EXPECT_EQ(write(pipeEnd, end.data(), end.size()), static_cast<ssize_t>(end.size()));
  close(pipeEnd);
  EXPECT_EQ(first.Wait(), 0);
}

TEST_F(SetupProcessTest, CopyUnderAnotherNameIsNotTakenForASecondInstance) {
  qm::test::TempDir otherFolder("qm-other");
  qm::test::TempDir mediumFolder("qm-renamed");
  const std::string name = UniqueName();
  {
    // Stands for an installer of the original name that is running.
    qm::test::RunningCopy other(otherFolder.Path(), name);
    ASSERT_TRUE(other.Started());
    const std::string script = ScriptIn(mediumFolder.Path(), "wait \"Install\"\nscreenshot \"started.png\"\nend\n");
    Child renamed(LayOutMedium(mediumFolder.Path(), name + "-copy"),
                  {script, "QUELLMOOR_SCREENSHOTS=" + mediumFolder.Path()});
    EXPECT_EQ(renamed.Wait(), 0);
  }

  const std::string data = ReadHostFile(mediumFolder.Path() + "/started.png");
  const auto screen = qm::ui::gdi::DecodePng(data.data(), data.size());
  ASSERT_TRUE(screen.has_value());
  // The right edge of the screen, beside the wizard: the main window's gradient.
  const std::uint32_t pixel = screen->At(screen->width - 8, screen->height / 2);
  EXPECT_EQ(pixel & 0xFFFF00u, 0u);
  EXPECT_GT(pixel & 0xFFu, 50u);
}

TEST_F(SetupProcessTest, UnknownDisplayNameEndsTheProgramWithTheKnownOnesAndStatusTwo) {
  qm::test::TempDir mediumFolder("qm-display");
  const std::string errors = mediumFolder.Path() + "/stderr.txt";
  // With a script that would end the run at once, a name that was not
  // refused shows as exit status 0 instead of a program waiting unseen.
  Child installer(LayOutMedium(mediumFolder.Path(), UniqueName()),
                  {"QUELLMOOR_DISPLAY=sld", ScriptIn(mediumFolder.Path(), "end\n")}, errors);
  ASSERT_TRUE(installer.Started());
  EXPECT_EQ(installer.Wait(), 2);
  const std::string text = ReadHostFile(errors);
  EXPECT_NE(text.find("QUELLMOOR_DISPLAY=sld names no known display"), std::string::npos) << text;
  for (const char* known : {"\n  headless ", "\n  sdl "}) EXPECT_NE(text.find(known), std::string::npos) << text;
}

// The sample medium as the build lays it out, with the installer renamed so
// that no other installer on the machine stands in its way.
std::string CopySampleMedium(const std::string& folder, const std::string& name) {
  const fs::path sample = BuildDir() / "sample-medium";
  fs::copy(sample, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::rename(fs::path(folder) / "setup", fs::path(folder) / name);
  return folder + "/" + name;
}

std::string InstalledGame() {
  const char* prefix = std::getenv("QUELLMOOR_PREFIX");
  return std::string(prefix ? prefix : "") + "/drive_c/Games/Quellmoor";
}

TEST_F(SetupProcessTest, DefaultAnswersInstallTheSampleMediumAndTheRunEnds) {
  qm::test::TempDir mediumFolder("qm-sample");
  const std::string program = CopySampleMedium(mediumFolder.Path(), UniqueName());
  Child installer(program, {DefaultAnswers()});
  ASSERT_EQ(installer.Wait(), 0);

  std::set<std::string> expected;
  for (const char* tree : {"db", "bin", "doc", "uninstall"})
    for (const std::string& file : qm::test::FilesBelow(fs::path(mediumFolder.Path()) / tree))
      expected.insert(std::string(tree) + "/" + file);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(qm::test::FilesBelow(InstalledGame()), expected);
}

// A medium in a folder whose name no Windows path can hold: every path
// into it is refused, so it read as an empty medium, and the run installed
// nothing and said it had. Now it says so at start, before any window of
// the wizard, and writes nothing.
TEST_F(SetupProcessTest, AMediumInAFolderNoWindowsPathCanNameIsRefusedAtStart) {
  qm::test::TempDir parent("qm-names");
  for (const char* name : {"Disc: 1", "Disc? 2"}) {
    SCOPED_TRACE(name);
    const std::string folder = parent.Path() + "/" + name;
    const std::string program = CopySampleMedium(folder, UniqueName());
    // A script that meets the wizard instead of the box ends with status 1.
    Child installer(program, {ScriptIn(parent.Path(), "wait \"Error\"\nclick \"OK\"\n")});
    EXPECT_EQ(installer.Wait(), 0);
    EXPECT_FALSE(fs::exists(InstalledGame()));
  }
}

TEST_F(SetupProcessTest, CancelledCopyEndsTheRunWithZeroAndKeepsWhatWasCopied) {
  qm::test::TempDir mediumFolder("qm-sample");
  const std::string program = CopySampleMedium(mediumFolder.Path(), UniqueName());
  // The Cancel click comes at the copy's first pause, after its first file.
  Child installer(program, {ScriptIn(mediumFolder.Path(),
                                     "wait \"Install\"\n"
                                     "click 0x3024\nclick 0x3024\nclick 0x3024\nclick 0x3024\n"
                                     "click 2\n"
                                     "expect 0xFFFF \"Are you sure you want to cancel?\"\n"
                                     "click \"&Yes\"\n")});
  ASSERT_EQ(installer.Wait(), 0) << "the program ends by itself after the cancel";
  EXPECT_EQ(qm::test::FilesBelow(InstalledGame()).size(), 1u);
}

const char kStoreStart[] = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n";

TEST_F(SetupProcessTest, AStoreThatCannotBeReadIsReportedAtTheLinksPageAndTheRunEndsWithZero) {
  const std::string store = UserStore();
  const struct {
    const char* what;
    void (*make)(const std::string& path);
  } rows[] = {
      {"a key 100,000 levels deep",
       [](const std::string& p) {
         std::string deep = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software";
         for (int i = 0; i < 100000; ++i) deep += "\\k";
         std::ofstream(p, std::ios::binary | std::ios::trunc) << deep << "]\r\n";
       }},
      {"binary",
       [](const std::string& p) {
         std::ofstream(p, std::ios::binary | std::ios::trunc) << std::string("\x7F" "ELF\x02\x01\x01\0\0\xFF\xFE[", 13);
       }},
      {"truncated in a value",
       [](const std::string& p) {
         std::ofstream(p, std::ios::binary | std::ios::trunc)
             << kStoreStart << "[HKEY_CURRENT_USER\\Software\\ryk]\r\n\"destinationPath\"=\"C:\\\\Ga";
       }},
      // A good start, then 100 MB of one line of zero bytes (stored sparse).
      {"100 MB of one line",
       [](const std::string& p) {
         std::ofstream(p, std::ios::binary | std::ios::trunc) << kStoreStart;
         fs::resize_file(p, 100u << 20);
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    qm::test::TempDir mediumFolder("qm-store");
    const std::string program = LayOutMedium(mediumFolder.Path(), UniqueName());
    row.make(store);
    const std::string before = ReadHostFile(store);
    Child installer(program, {ScriptIn(mediumFolder.Path(),
                                       "wait \"Install\"\n"
                                       "click 0x3024\nclick 0x3024\nclick 0x3024\nclick 0x3024\n"
                                       "wait-idle\n"
                                       "wait \"Error\"\n"
                                       "expect 0xFFFF \"open key\"\n"
                                       "click \"OK\"\n"
                                       "click 0x3024\nclick 0x3024\nclick 0x3025\n")});
    EXPECT_EQ(installer.Wait(), 0);
    EXPECT_TRUE(ReadHostFile(store) == before) << "the store was changed";
    EXPECT_TRUE(fs::exists(InstalledGame() + "/db/items.dat")) << "the copy before it went on as usual";
    fs::remove_all(InstalledGame());
  }
}

TEST_F(SetupProcessTest, AValidStoreOfAnUnusualShapeIsReadAndKeptAndGetsTheRecord) {
  const std::string store = UserStore();
  std::string many = std::string(kStoreStart) + "[HKEY_CURRENT_USER\\Software\\Many]\r\n";
  for (int i = 0; i < 100000; ++i) many += "\"v" + std::to_string(i) + "\"=dword:0000002a\r\n";
  const struct {
    const char* what;
    std::string text;
    const char* keptKey;
    const char* keptValue;
  } rows[] = {
      {"100,000 values in one key", many + "\r\n", "Software\\Many", "v99999"},
      {"a key named ..",
       std::string(kStoreStart) + "[HKEY_CURRENT_USER\\Software\\..]\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\..\\ryk]\r\n\"kept\"=\"yes\"\r\n\r\n",
       "Software\\..\\ryk", "kept"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    qm::test::TempDir mediumFolder("qm-store");
    const std::string program = LayOutMedium(mediumFolder.Path(), UniqueName());
    std::ofstream(store, std::ios::binary | std::ios::trunc) << row.text;
    Child installer(program, {DefaultAnswers()});
    EXPECT_EQ(installer.Wait(), 0);
    std::optional<qm::registry::Hive> hive = qm::registry::ParseHive(ReadHostFile(store), "HKEY_CURRENT_USER");
    ASSERT_TRUE(hive);
    ASSERT_NE(hive->FindKey(row.keptKey), nullptr);
    EXPECT_NE(hive->FindKey(row.keptKey)->FindValue(row.keptValue), nullptr);
    ASSERT_NE(hive->FindKey("Software\\ryk"), nullptr);
    EXPECT_NE(hive->FindKey("Software\\ryk")->FindValue("destinationPath"), nullptr);
    fs::remove_all(InstalledGame());
  }
}

TEST_F(SetupProcessTest, AnInstallCfgThatCannotBeReadIsMeasuredInsteadAndTheRunEndsWithZero) {
  const struct {
    const char* what;
    void (*make)(const std::string& path);
    const char* required;
  } rows[] = {
      // Nothing ever writes to it: opened the usual way, start-up waits forever.
      {"a FIFO", [](const std::string& p) { mkfifo(p.c_str(), 0600); }, "3 Kb"},
      {"a link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }, "3 Kb"},
      {"a folder", [](const std::string& p) { fs::create_directory(p); }, "3 Kb"},
      // 100 MB, stored sparse: one pair, then one token of zero bytes.
      {"100 MB",
       [](const std::string& p) {
         std::ofstream(p, std::ios::binary) << "7 db ";
         fs::resize_file(p, 100u << 20);
       },
       "7 Kb"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    qm::test::TempDir mediumFolder("qm-config");
    const std::string program = LayOutMedium(mediumFolder.Path(), UniqueName());
    // The trees measure 3 KB.
    std::ofstream(mediumFolder.Path() + "/db/items.dat", std::ios::binary | std::ios::trunc) << std::string(3072, 'i');
    const std::string config = mediumFolder.Path() + "/install.cfg";
    fs::remove(config);
    row.make(config);
    const std::string script =
        "wait \"Install\"\nclick 0x3024\nclick 0x3024\nexpect 1010 \"" + std::string(row.required) + "\"\nend\n";
    Child installer(program, {ScriptIn(mediumFolder.Path(), script)});
    EXPECT_EQ(installer.Wait(), 0);
  }
}

}  // namespace
