#include <algorithm>

#include "CopyTest.h"

namespace {

namespace fs = std::filesystem;
using qm::test::CopyTest;
using qm::test::MessageBoxTextId;
using qm::ui::automation::Driver;
using qm::ui::automation::Id;
using qm::ui::automation::Text;

std::size_t IndexOf(const std::vector<std::string>& order, const std::string& file) {
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i] == file) return i;
  ADD_FAILURE() << file << " was not copied";
  return order.size();
}

TEST_F(CopyTest, TreesGoInListOrderAndSubdirectoriesBeforeADirectorysFiles) {
  const std::vector<std::string> files{"db/items.dat",    "db/maps/moor.map", "db/maps/fens/causeway.map",
                                       "bin/start.exe",   "doc/readme.txt",   "uninstall/uninstall.exe"};
  for (const std::string& file : files) qm::test::MakeFile(Source(file), 10 + file.size(), file[0]);
  fs::create_directories(Source("db/empty"));
  qm::test::MakeFile(Source("directx/ddraw.dll"), 5);
  RecordNewFiles();

  ASSERT_EQ(Copy({"db", "bin", "doc", "uninstall"}, 1), 0);

  std::vector<std::string> order;
  for (const auto& batch : arrivals) {
    EXPECT_EQ(batch.size(), 1u) << "one file per step of the copy";
    order.insert(order.end(), batch.begin(), batch.end());
  }
  ASSERT_EQ(order.size(), files.size());
  EXPECT_LT(IndexOf(order, "db/maps/fens/causeway.map"), IndexOf(order, "db/maps/moor.map"));
  EXPECT_LT(IndexOf(order, "db/maps/moor.map"), IndexOf(order, "db/items.dat"));
  EXPECT_LT(IndexOf(order, "db/items.dat"), IndexOf(order, "bin/start.exe"));
  EXPECT_LT(IndexOf(order, "bin/start.exe"), IndexOf(order, "doc/readme.txt"));
  EXPECT_LT(IndexOf(order, "doc/readme.txt"), IndexOf(order, "uninstall/uninstall.exe"));
  for (const std::string& file : files) EXPECT_EQ(qm::test::ReadHostFile(Destination(file)), qm::test::ReadHostFile(Source(file))) << file;
  EXPECT_TRUE(fs::is_directory(Destination("db/empty")));
  EXPECT_FALSE(fs::exists(Destination("directx")));
}

TEST_F(CopyTest, EmptyAndMissingSourceTreesGiveEmptyDestinationFolders) {
  fs::create_directories(Source("db"));
  EXPECT_EQ(Copy({"db", "bin", "doc", "uninstall"}, 0), 0);
  for (const char* tree : {"db", "bin", "doc", "uninstall"}) {
    SCOPED_TRACE(tree);
    EXPECT_TRUE(fs::is_directory(Destination(tree)));
    EXPECT_TRUE(fs::is_empty(Destination(tree)));
  }
}

// What an earlier run left at the destination is replaced without a
// question, read-only or not; the copy is the medium's file, read-only where
// that one is.
TEST_F(CopyTest, ReadOnlyFileAtTheDestinationIsReplacedWithoutAQuestion) {
  struct Earlier {
    const char* file;
    bool readOnly;
    bool sourceReadOnly;
  };
  const Earlier cases[] = {
      {"db/items.dat", true, false}, {"db/writable.dat", false, false}, {"db/both.dat", true, true}};
  constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read;
  for (const Earlier& earlier : cases) {
    qm::test::MakeFile(Source(earlier.file), 64, 'n');
    if (earlier.sourceReadOnly) fs::permissions(Source(earlier.file), kReadOnly);
    qm::test::MakeFile(Destination(earlier.file), 10, 'o');
    if (earlier.readOnly) fs::permissions(Destination(earlier.file), kReadOnly);
  }

  EXPECT_EQ(Copy({"db"}, 1), 0);
  for (const Earlier& earlier : cases) {
    SCOPED_TRACE(earlier.file);
    EXPECT_EQ(qm::test::ReadHostFile(Destination(earlier.file)), std::string(64, 'n'));
    const bool writable = (fs::status(Destination(earlier.file)).permissions() & fs::perms::owner_write) != fs::perms::none;
    EXPECT_EQ(writable, !earlier.sourceReadOnly);
  }
}

TEST_F(CopyTest, RetryCopiesTheFileOnceTheCauseIsGone) {
  qm::test::MakeFile(Source("db/items.dat"), 100, 'i');
  BlockDestination("db/items.dat");
  HWND owner = nullptr;
  driver->Wait("Error")
      .Expect(Id(MessageBoxTextId), CantCopyMessage("db/items.dat"))
      .Do("note the box's owner", [&] { owner = GetWindow(GetActiveWindow(), GW_OWNER); })
      .Click(Text("&Retry"))
      .Wait("Error")
      .Do("remove the cause", [&] { fs::remove_all(Destination("db/items.dat")); })
      .Click(Text("&Retry"));

  EXPECT_EQ(Copy({"db"}, 1), 0);
  EXPECT_EQ(owner, dialogWindow);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_EQ(qm::test::ReadHostFile(Destination("db/items.dat")), std::string(100, 'i'));
}

TEST_F(CopyTest, IgnoreSkipsTheFileAndTheCopyStillSucceeds) {
  qm::test::MakeFile(Source("db/a.dat"), 10);
  qm::test::MakeFile(Source("db/b.dat"), 10);
  qm::test::MakeFile(Source("bin/start.exe"), 10);
  BlockDestination("db/a.dat");
  driver->Wait("Error").Expect(Id(MessageBoxTextId), CantCopyMessage("db/a.dat")).Click(Text("&Ignore"));

  EXPECT_EQ(Copy({"db", "bin"}, 1), 0);
  EXPECT_TRUE(fs::is_directory(Destination("db/a.dat"))) << "the skipped file's destination stays as it was";
  EXPECT_TRUE(fs::exists(Destination("db/b.dat")));
  EXPECT_TRUE(fs::exists(Destination("bin/start.exe")));
}

TEST_F(CopyTest, AbortEndsTheCopyAndKeepsWhatWasCopied) {
  qm::test::MakeFile(Source("db/items.dat"), 10);
  qm::test::MakeFile(Source("bin/start.exe"), 10);
  qm::test::MakeFile(Source("doc/readme.txt"), 10);
  BlockDestination("bin/start.exe");
  driver->Wait("Error").Expect(Id(MessageBoxTextId), CantCopyMessage("bin/start.exe")).Click(Text("&Abort"));

  EXPECT_EQ(Copy({"db", "bin", "doc"}, 1), 1);
  EXPECT_TRUE(fs::exists(Destination("db/items.dat")));
  EXPECT_FALSE(fs::exists(Destination("doc")));
}

// Cancel is pressed after the first file; the question is answered with `answer`.
void CancelAfterTheFirstFile(CopyTest& test, Driver& driver, const char* answer) {
  for (const char* file : {"db/1.dat", "db/2.dat", "db/3.dat", "bin/start.exe"})
    qm::test::MakeFile(test.Source(file), 10);
  driver.Click(Id(IDCANCEL))
      .Wait("Install")
      .Expect(Id(MessageBoxTextId), "Are you sure you want to cancel?")
      .Click(Text(answer));
}

std::size_t FilesIn(const fs::path& folder) { return qm::test::FilesBelow(folder).size(); }

TEST_F(CopyTest, CancelAnsweredNoLetsTheCopyGoOn) {
  CancelAfterTheFirstFile(*this, *driver, "&No");
  EXPECT_EQ(Copy({"db", "bin"}, 1), 0);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_EQ(FilesIn(Destination("db")), 3u);
  EXPECT_TRUE(fs::exists(Destination("bin/start.exe")));
}

TEST_F(CopyTest, CancelAnsweredYesStopsBeforeTheNextFileOrFolder) {
  CancelAfterTheFirstFile(*this, *driver, "&Yes");
  EXPECT_EQ(Copy({"db", "bin"}, 1), 1);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_EQ(FilesIn(Destination("db")), 1u);
  EXPECT_FALSE(fs::exists(Destination("bin")));
  EXPECT_TRUE(IsWindow(dialogWindow)) << "the dialog stays until its creator destroys it";
}

// A Yes given while the last file is copied has no check of the copy after
// it; the copy still ends as cancelled, so that its caller records no
// installation the user called off. What was copied stays.
TEST_F(CopyTest, CancelAnsweredYesDuringTheLastFileStillEndsTheCopyAsCancelled) {
  qm::test::MakeFile(Source("uninstall/uninstall.exe"), 10);
  driver->Click(Id(IDCANCEL)).Wait("Install").Click(Text("&Yes"));
  EXPECT_EQ(Copy({"db", "uninstall"}, 1), 1);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_TRUE(fs::exists(Destination("uninstall/uninstall.exe")));
}

// The dialog lives only while the copy runs, whose pauses hand keys to the
// focused control as they are: Enter neither closes it nor asks to cancel.
TEST_F(CopyTest, EnterDoesNotCloseTheDialog) {
  qm::test::MakeFile(Source("db/1.dat"), 10);
  qm::test::MakeFile(Source("db/2.dat"), 10);
  driver->Key("Enter");
  EXPECT_EQ(Copy({"db"}, 1), 0);
  EXPECT_EQ(driver->StepsLeft(), 0u);
  EXPECT_TRUE(IsWindow(dialogWindow));
}

TEST_F(CopyTest, BarFollowsTheBytesCopiedAgainstTheExpectedTotal) {
  struct Row {
    const char* tree;
    std::size_t fileSize;
    std::uint32_t sizeKb;
    std::vector<int> positions;
  };
  const std::vector<Row> rows{
      {"half-and-half", 51200, 100, {500, 1000}},
      {"nothing-expected", 51200, 0, {0, 0}},
      {"more-than-expected", 1024, 1, {1000, 1000}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tree);
    positions.clear();
    // One driver at a time: the old one goes before the new one takes the loop.
    driver.reset();
    driver = std::make_unique<Driver>();
    qm::test::MakeFile(Source(std::string(row.tree) + "/first.dat"), row.fileSize);
    qm::test::MakeFile(Source(std::string(row.tree) + "/second.dat"), row.fileSize);
    RecordPositions();
    EXPECT_EQ(Copy({row.tree}, row.sizeKb), 0);
    EXPECT_EQ(positions, row.positions);
  }
}

// The bar's position is always the true one; its picture follows at most
// once a pace while the copy moves it, and at once at either end. The pace
// here is one no test outlasts: its ticks come from the test.
TEST_F(CopyTest, TheBarIsDrawnAtItsPaceAndAtOnceAtEitherEnd) {
  DestroyWindow(dialogWindow);
  dialog = new ProgressDialog(nullptr, 3'600'000);
  ASSERT_TRUE(dialog->Create(IDD_PROGRESS, nullptr));
  dialog->ShowWindow(SW_SHOW);
  dialogWindow = dialog->Handle();
  Pump();
  ASSERT_EQ(Copy({}, 100), 0);
  const HWND bar = GetDlgItem(dialogWindow, IDC_PROGRESS);
  RECT client{};
  GetClientRect(bar, &client);
  ASSERT_GT(client.right, 100);
  // How far the blue fill reaches along the bar's top row on the screen.
  const auto shownFill = [&] {
    POINT origin{0, 0};
    ClientToScreen(bar, &origin);
    int fill = 0;
    while (fill < client.right && qm::ui::ScreenSurface().At(origin.x + fill, origin.y) == 0xFF0000FFu) ++fill;
    return fill;
  };
  struct Row {
    const char* step;
    std::uint64_t copied;  // UINT64_MAX: the pace's timer ticks instead
    int position;
    int shown;  // the position the screen shows
  };
  constexpr std::uint64_t Tick = UINT64_MAX;
  const std::vector<Row> rows{
      {"a first move is drawn at once", 10 << 10, 100, 100},
      {"moves within the pace wait", 20 << 10, 200, 100},
      {"and wait", 30 << 10, 300, 100},
      {"the pace's end shows where the bar was left", Tick, 300, 300},
      {"a pace without a move ends the pacing", Tick, 300, 300},
      {"so the next move is drawn at once", 50 << 10, 500, 500},
      {"a move within that pace waits", 60 << 10, 600, 500},
      {"the end is drawn at once", 100 << 10, 1000, 1000},
      {"and so is the start", 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.step);
    if (row.copied == Tick)
      SendMessageA(dialogWindow, WM_TIMER, ProgressDialog::RedrawPaceTimer, 0);
    else
      dialog->UpdateProgress(row.copied);
    Pump();
    EXPECT_EQ(BarPosition(), row.position);
    EXPECT_EQ(shownFill(), static_cast<int>(row.shown / 1000.0 * client.right));
  }
}

TEST_F(CopyTest, TotalsOfTwoGigabytesAndMoreShowTrueProgress) {
  constexpr std::uint64_t GiB = 1ull << 30;
  struct Row {
    std::uint32_t sizeKb;
    std::uint64_t copied;
    int position;
  };
  const std::vector<Row> rows{
      {100, 51200, 500},
      {2 * 1024 * 1024, GiB, 500},
      {3 * 1024 * 1024, 3 * GiB / 2, 500},
      {4 * 1024 * 1024, 4 * GiB - 4 * GiB / 10, 900},
      {4 * 1024 * 1024 - 1, 3 * GiB, 750},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sizeKb);
    ASSERT_EQ(Copy({}, row.sizeKb), 0);
    dialog->UpdateProgress(row.copied);
    EXPECT_EQ(BarPosition(), row.position);
  }
}

TEST_F(CopyTest, DotEntriesAreLeftOutByNameEvenWhereTheSearchDoesNotListThem) {
  qm::test::TempDir driveFolder("qm-drive");
  for (const char* folder : {"alpha", "beta", "gamma"}) fs::create_directories(fs::path(driveFolder.Path()) / folder);
  qm::test::MakeFile(fs::path(driveFolder.Path()) / "file.txt", 3);
  qm::kernel::MapDrive('Q', driveFolder.Path());

  for (const std::string& dir : {std::string("Q:\\"), qm::test::WindowsPath(driveFolder.Path()) + "\\"}) {
    SCOPED_TRACE(dir);
    std::vector<std::string> names{"stale"};
    dialog->ListSubdirectories(dir, names);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "beta", "gamma"}));
  }
  std::vector<std::string> names{"stale"};
  dialog->ListSubdirectories("Q:\\missing\\", names);
  EXPECT_TRUE(names.empty());
}

}  // namespace
