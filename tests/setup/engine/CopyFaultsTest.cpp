// The copy under host faults: a full disk, a folder it may not write, a
// source that changes under it, a path the host cannot take, links that
// lead back up the tree, a very large folder. Each ends in the
// Abort/Retry/Ignore question or a complete copy; a file that could not be
// copied is never reported as copied, nor left half-written under its name.
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CopyTest.h"
#include "install/service/Service.h"

namespace {

namespace fs = std::filesystem;
using qm::test::MessageBoxTextId;
using qm::ui::automation::Text;

// Every entry below a folder, hidden ones included, relative to it.
std::vector<std::string> EntriesBelow(const fs::path& root) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    names.push_back(fs::relative(entry.path(), root).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

// While it lives, host files larger than limit cannot be written: a disk
// that fills up in the middle of the one file that is too large.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit lowered = {limit, previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }

 private:
  struct rlimit previous {};
};

// While it lives, this process is held to the permission bits of files as
// any user is, even when the tests run as the superuser.
class PermissionBitsHold {
 public:
  PermissionBitsHold() {
    header.version = _LINUX_CAPABILITY_VERSION_3;
    syscall(SYS_capget, &header, saved);
    __user_cap_data_struct lowered[2] = {saved[0], saved[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    syscall(SYS_capset, &header, lowered);
  }
  ~PermissionBitsHold() { syscall(SYS_capset, &header, saved); }

 private:
  __user_cap_header_struct header{};
  __user_cap_data_struct saved[2]{};
};

class CopyFaultTest : public qm::test::CopyTest {
 public:
  // Answers the next copy question with button, keeping its text.
  void Answer(const char* button) {
    driver->Wait("Error")
        .Do("read the question",
            [this] {
              char text[2048] = {};
              GetDlgItemTextA(GetActiveWindow(), MessageBoxTextId, text, sizeof text);
              questions.push_back(text);
            })
        .Click(Text(button));
  }

  std::vector<std::string> questions;
};

TEST_F(CopyFaultTest, ADiskFullAtTheFirstAMiddleOrTheLastFileAsksAndLeavesNoPartOfIt) {
  constexpr rlim_t Limit = 256 * 1024;
  const std::vector<std::string> files{"db/maps/moor.map", "db/items.dat", "bin/start.exe"};
  for (std::size_t full = 0; full < files.size(); ++full) {
    SCOPED_TRACE(files[full]);
    fs::remove_all(source.Path() + "/db");
    fs::remove_all(source.Path() + "/bin");
    fs::remove_all(destination.Path() + "/db");
    fs::remove_all(destination.Path() + "/bin");
    questions.clear();
    driver.reset();
    driver = std::make_unique<qm::ui::automation::Driver>();
    for (std::size_t i = 0; i < files.size(); ++i)
      qm::test::MakeFile(Source(files[i]), i == full ? Limit * 2 : 1000, static_cast<char>('a' + i));
    Answer("&Abort");
    int result;
    {
      FileSizeLimit limit(Limit);
      result = Copy({"db", "bin"}, 1);
    }
    EXPECT_EQ(result, 1) << "a file that could not be copied ends the copy on Abort";
    EXPECT_EQ(questions, std::vector<std::string>{CantCopyMessage(files[full])});
    for (std::size_t i = 0; i < files.size(); ++i) {
      SCOPED_TRACE(files[i]);
      if (i < full)
        EXPECT_EQ(qm::test::ReadHostFile(Destination(files[i])), qm::test::ReadHostFile(Source(files[i])));
      else
        EXPECT_FALSE(fs::exists(Destination(files[i]))) << "nothing of it under its name, nothing after it";
    }
    for (const std::string& entry : EntriesBelow(destination.Path()))
      EXPECT_EQ(entry.find(".~"), std::string::npos) << entry << " left beside the copies";
  }
}

TEST_F(CopyFaultTest, RetryAfterTheDiskHasRoomCopiesTheWholeFile) {
  constexpr rlim_t Limit = 128 * 1024;
  qm::test::MakeFile(Source("db/big.dat"), Limit * 3, 'b');
  std::unique_ptr<FileSizeLimit> limit = std::make_unique<FileSizeLimit>(Limit);
  driver->Wait("Error").Do("make room", [&] { limit.reset(); }).Click(Text("&Retry"));
  EXPECT_EQ(Copy({"db"}, 1), 0);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_EQ(qm::test::ReadHostFile(Destination("db/big.dat")), std::string(Limit * 3, 'b'));
}

TEST_F(CopyFaultTest, AReadOnlyDestinationFolderAsksForEveryFileAndIgnoreReportsNoCopy) {
  qm::test::MakeFile(Source("db/a.dat"), 10);
  qm::test::MakeFile(Source("db/b.dat"), 10);
  fs::create_directories(Destination("db"));
  fs::permissions(Destination("db"), fs::perms::owner_read | fs::perms::owner_exec);
  PermissionBitsHold hold;
  Answer("&Retry");
  Answer("&Ignore");
  Answer("&Abort");
  EXPECT_EQ(Copy({"db"}, 1), 1);
  ASSERT_EQ(questions.size(), 3u);
  EXPECT_EQ(questions[0], questions[1]) << "Retry asks again for the same file";
  EXPECT_NE(questions[1], questions[2]) << "Ignore goes on to the next file";
  EXPECT_TRUE(fs::is_empty(Destination("db")));
}

// A medium's folder that is there but cannot be read was copied as an
// empty one, and the copy answered success.
TEST_F(CopyFaultTest, AMediumFolderThatCannotBeReadIsAskedForAndIgnoreGoesOn) {
  struct Row {
    const char* answer;
    int result;
  } rows[] = {{"&Ignore", 0}, {"&Abort", 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    fs::remove_all(Source("db"));
    fs::remove_all(Destination("db"));
    questions.clear();
    driver.reset();
    driver = std::make_unique<qm::ui::automation::Driver>();
    qm::test::MakeFile(Source("db/locked/data.bin"), 10);
    qm::test::MakeFile(Source("db/open/data.bin"), 10);
    fs::permissions(Source("db/locked"), fs::perms::none);
    Answer("&Retry");
    Answer(row.answer);
    int result;
    {
      PermissionBitsHold hold;
      result = Copy({"db"}, 1);
    }
    fs::permissions(Source("db/locked"), fs::perms::owner_all);
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(questions, std::vector<std::string>(2, CantCopyMessage("db/locked/")));
    EXPECT_FALSE(fs::exists(Destination("db/locked/data.bin")));
    // After Ignore the rest of the medium follows; Abort ends the copy there.
    EXPECT_EQ(fs::exists(Destination("db/open/data.bin")), row.result == 0);
  }
}

TEST_F(CopyFaultTest, ASourceFileThatVanishesOrBecomesAFolderAfterTheListingIsAskedFor) {
  struct Row {
    const char* why;
    bool becomesFolder;
  } rows[] = {{"vanishes", false}, {"becomes a folder", true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const std::string tree = row.becomesFolder ? "bin" : "db";
    qm::test::MakeFile(Source(tree + "/one.dat"), 10, '1');
    qm::test::MakeFile(Source(tree + "/two.dat"), 10, '2');
    questions.clear();
    seen.clear();
    driver.reset();
    driver = std::make_unique<qm::ui::automation::Driver>();
    std::string changed;
    // After the first file, the one still to come changes at the source.
    driver->Do("change the other source file", [&] {
      changed = fs::exists(Destination(tree + "/one.dat")) ? tree + "/two.dat" : tree + "/one.dat";
      fs::remove(Source(changed));
      if (row.becomesFolder) fs::create_directories(Source(changed) / "inside");
    });
    Answer("&Abort");
    EXPECT_EQ(Copy({tree}, 1), 1);
    EXPECT_EQ(questions, std::vector<std::string>{CantCopyMessage(changed)});
    EXPECT_FALSE(fs::exists(Destination(changed)));
  }
}

TEST_F(CopyFaultTest, ADestinationPathLongerThanTheHostAllowsIsAskedForNotCrashedOn) {
  qm::test::MakeFile(Source("db/items.dat"), 10);
  struct Row {
    const char* why;
    std::string root;
  };
  std::string deep = DestinationRoot();
  for (int i = 0; i < 20; ++i) deep += std::string(240, static_cast<char>('a' + i)) + "\\";
  const std::vector<Row> rows{
      {"a name longer than a folder takes", DestinationRoot() + std::string(300, 'n') + "\\"},
      {"a path longer than the host takes", deep},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    questions.clear();
    driver.reset();
    driver = std::make_unique<qm::ui::automation::Driver>();
    Answer("&Abort");
    EXPECT_EQ(dialog->CopyTrees(SourceRoot(), row.root, {"db"}, 1), 1);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("items.dat"), std::string::npos);
  }
  for (const std::string& entry : EntriesBelow(destination.Path()))
    EXPECT_EQ(entry.find("items.dat"), std::string::npos) << entry;
}

TEST_F(CopyFaultTest, ADirectorySymlinkLoopInTheMediumWasCopiedWithoutEnd) {
  qm::test::MakeFile(Source("db/items.dat"), 100);
  qm::test::MakeFile(Source("db/maps/moor.map"), 24);
  fs::create_directory_symlink(".", Source("db/loop"));
  fs::create_directory_symlink("..", Source("db/maps/up"));
  fs::create_directory_symlink("../..", Source("db/maps/top"));
  // A link to a folder beside it, not above it, is copied like a folder.
  fs::create_directory_symlink("maps", Source("db/alias"));

  EXPECT_EQ(Copy({"db"}, 1), 0);
  EXPECT_EQ(qm::test::FilesBelow(Destination("db")),
            (std::set<std::string>{"items.dat", "maps/moor.map", "alias/moor.map"}));
  EXPECT_FALSE(fs::exists(Destination("db/loop")));
  EXPECT_FALSE(fs::exists(Destination("db/maps/up")));
  // The measurement of the medium walks the same links and ends as well.
  EXPECT_EQ(GetDirectorySize(qm::test::WindowsPath(Source("db"))), 100 + 24 + 24);
}

// A destination chosen inside the medium: the copy never walks into the
// folders it writes (it copied its own copies, db/maps/db/maps/..., until
// the paths grew too long, and answered success), while what the folder
// held before is copied like the rest.
TEST_F(CopyFaultTest, ADestinationInsideTheMediumIsNotCopiedIntoItself) {
  qm::test::MakeFile(Source("db/items.dat"), 100);
  qm::test::MakeFile(Source("db/maps/moor.map"), 24);
  const std::string inside = qm::test::WindowsPath(Source("db/maps")) + "\\";
  EXPECT_EQ(dialog->CopyTrees(SourceRoot(), inside, {"db"}, 1), 0);
  EXPECT_EQ(qm::test::FilesBelow(Source("db/maps")),
            (std::set<std::string>{"moor.map", "db/items.dat", "db/maps/moor.map"}));
  EXPECT_FALSE(fs::exists(Source("db/maps/db/maps/db")));
}

// A folder the first copy wrote, moved into the medium, is a source folder
// like any other for the next copy: what a copy wrote is told by identity,
// and an identity means nothing once the copy has ended (the host gives a
// removed folder's number to the next new one).
TEST_F(CopyFaultTest, AFolderAnEarlierCopyWroteIsCopiedWhenItIsOnTheMedium) {
  qm::test::MakeFile(Source("db/items.dat"), 100, 'i');
  ASSERT_EQ(Copy({"db"}, 1), 0);
  fs::remove_all(Source("db"));
  fs::rename(Destination("db"), Source("db"));
  EXPECT_EQ(Copy({"db"}, 1), 0);
  EXPECT_EQ(qm::test::ReadHostFile(Destination("db/items.dat")), std::string(100, 'i'));
}

TEST_F(CopyFaultTest, AFolderOfAHundredThousandEntriesIsCopiedWhole) {
  constexpr int Entries = 100000;
  fs::create_directories(Source("db/many"));
  for (int i = 0; i < Entries; ++i) std::ofstream(Source("db/many/f" + std::to_string(i)));
  EXPECT_EQ(Copy({"db"}, 1), 0);
  std::size_t copied = 0;
  for (const auto& entry : fs::directory_iterator(Destination("db/many"))) copied += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(copied, static_cast<std::size_t>(Entries));
  EXPECT_EQ(BarPosition(), 0) << "nothing of the 1 KB expected was copied: the files are empty";
}

}  // namespace
