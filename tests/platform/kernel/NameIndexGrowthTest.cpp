// A folder the kernel itself fills and empties, name by name, as a copy
// and an uninstall do: its index doubles its table as it grows and lays
// its names out again once deletes leave holes among them. Every answer
// must stay that of a fresh look at the folder through each of those.
#include <gtest/gtest.h>

#include "KernelFiles.h"
#include "platform/kernel/Prefix.h"

using namespace qm::test;

namespace {

std::string Name(int i) { return "Sound" + std::to_string(i) + ".Wav"; }

// How the kernel finds `name` (in another case) in C:\Sounds: the host
// name, or "" when it finds none.
std::string Found(int i) {
  std::string upper = "C:\\SOUNDS\\SOUND" + std::to_string(i) + ".WAV";
  std::optional<std::string> host = qm::kernel::ResolveWindowsPath(upper);
  if (!host || !HostExists(*host)) return "";
  return host->substr(HostOnC("Sounds/").size());
}

void Create(int i) {
  ASSERT_TRUE(CopyFileA("C:\\source.wav", ("C:\\Sounds\\" + Name(i)).c_str(), TRUE)) << Name(i);
}

TEST(NameIndexGrowth, AFolderFilledAndEmptiedByTheKernelKeepsEveryAnswer) {
  WriteHostFile(HostOnC("source.wav"), "x");
  ASSERT_TRUE(CreateDirectoryA("C:\\Sounds", nullptr));
  EXPECT_EQ(Found(0), "") << "the empty folder is indexed";
  constexpr int Count = 5000;
  for (int i = 0; i < Count; ++i) Create(i);
  // Three of every four go: well over a table's worth of holes.
  for (int i = 0; i < Count; ++i) {
    if (i % 4 == 0) continue;
    ASSERT_TRUE(DeleteFileA(("C:\\sounds\\" + Name(i)).c_str())) << Name(i);
  }
  // New names land among the holes the deletes left.
  for (int i = Count; i < Count + 1000; ++i) Create(i);
  for (int i = 0; i < Count + 1000; i += 3) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Found(i), i >= Count || i % 4 == 0 ? Name(i) : "");
  }
  EXPECT_EQ(SearchNames("C:\\Sounds\\*.wav").size(), static_cast<std::size_t>(Count / 4 + 1000));
}

}  // namespace
