#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/kernel/host/Entries.h"
#include "platform/kernel/host/FolderWatch.h"
#include "support/TempDir.h"

namespace host = qm::kernel::host;
namespace fs = std::filesystem;
using Kind = host::FolderChange::Kind;

namespace {

struct Note {
  Kind kind;
  std::string name;
  bool operator==(const Note&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Note& note) {
  return out << static_cast<int>(note.kind) << ":" << note.name;
}

std::vector<Note> Notes(const host::Descriptor& queue, int watch) {
  std::vector<host::FolderChange> changes;
  EXPECT_TRUE(host::ReadChanges(queue, &changes));
  std::vector<Note> notes;
  for (const host::FolderChange& change : changes) {
    EXPECT_EQ(change.watch, watch);
    notes.push_back({change.kind, change.name});
  }
  return notes;
}

}  // namespace

// The index of a folder's names relies on this: every change is noted by
// the time the call that made it returns, in order, and a queue with
// nothing new reads as empty instead of blocking.
TEST(FolderWatch, NotesEachChangeOnceItIsDone) {
  qm::test::TempDir dir;
  host::Descriptor queue = host::OpenChangeQueue();
  ASSERT_TRUE(queue);
  host::Descriptor folder = host::OpenFolder(dir.Path());
  ASSERT_TRUE(folder);
  int watch = host::WatchFolder(queue, folder);
  ASSERT_GE(watch, 0);
  EXPECT_EQ(host::WatchFolder(queue, folder), watch);
  EXPECT_TRUE(Notes(queue, watch).empty());

  std::ofstream(dir.Path() + "/made.txt") << "x";
  fs::create_directory(dir.Path() + "/sub");
  fs::rename(dir.Path() + "/made.txt", dir.Path() + "/Moved.TXT");
  fs::remove(dir.Path() + "/Moved.TXT");
  // Inside a subfolder: not this folder's business.
  std::ofstream(dir.Path() + "/sub/deeper.txt") << "x";
  EXPECT_EQ(Notes(queue, watch), (std::vector<Note>{{Kind::NameAdded, "made.txt"},
                                                    {Kind::NameAdded, "sub"},
                                                    {Kind::NameRemoved, "made.txt"},
                                                    {Kind::NameAdded, "Moved.TXT"},
                                                    {Kind::NameRemoved, "Moved.TXT"}}));
  EXPECT_TRUE(Notes(queue, watch).empty());

  std::vector<std::string> names;
  ASSERT_TRUE(host::ListOpenFolder(folder, &names));
  EXPECT_EQ(names, std::vector<std::string>{"sub"});
  // A second listing starts at the beginning again.
  ASSERT_TRUE(host::ListOpenFolder(folder, &names));
  EXPECT_EQ(names, std::vector<std::string>{"sub"});
}

TEST(FolderWatch, NotesTheFolderGoingAway) {
  qm::test::TempDir dir;
  fs::create_directory(dir.Path() + "/doomed");
  host::Descriptor queue = host::OpenChangeQueue();
  host::Descriptor folder = host::OpenFolder(dir.Path() + "/doomed");
  int watch = host::WatchFolder(queue, folder);
  ASSERT_GE(watch, 0);
  folder.Close();
  fs::remove(dir.Path() + "/doomed");
  std::vector<Note> notes = Notes(queue, watch);
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.front().kind, Kind::FolderGone);

  // An ended watch says so too.
  fs::create_directory(dir.Path() + "/kept");
  host::Descriptor kept = host::OpenFolder(dir.Path() + "/kept");
  int second = host::WatchFolder(queue, kept);
  ASSERT_TRUE(host::StopWatching(queue, second));
  EXPECT_EQ(Notes(queue, second), (std::vector<Note>{{Kind::FolderGone, ""}}));
}

TEST(FolderWatch, OpensOnlyFolders) {
  qm::test::TempDir dir;
  std::ofstream(dir.Path() + "/file") << "x";
  EXPECT_FALSE(host::OpenFolder(dir.Path() + "/file"));
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_FALSE(host::OpenFolder(dir.Path() + "/missing"));
  EXPECT_EQ(errno, ENOENT);
  // The test's own temporary folder lives on a local file system.
  EXPECT_TRUE(host::NotesSeeEveryChange(host::OpenFolder(dir.Path())));
}
