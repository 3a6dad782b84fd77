// What the folder chooser costs a user: the time from Browse... to a chooser
// waiting for input, on the desktop alone and opened down to a folder eight
// levels deep whose every level holds many siblings, and how many folders
// the namespace had to list for each (only the desktop, My Computer and the
// folders on the way, however large the drives are; Z: is the host's whole
// root). Beside it, the same eight levels listed by a directory search, the
// least any chooser must do.
//
//   build/bench/bench_FolderChooserBench [siblings per level]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "install/folders/FoldersDlg.h"
#include "install/resources/InstallerResources.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Prefix.h"
#include "platform/shell/Namespace.h"
#include "platform/ui/Automation.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Startup.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
  double ms = 0;
  std::size_t listings = 0;
};

// From DoModal to the chooser's first wait for input.
Figures OpenChooser(const std::string& folderPath) {
  FoldersDlg dialog;
  dialog.folderPath = folderPath;
  qm::ui::automation::Driver driver;
  Figures f;
  const std::size_t before = qm::shell::NamespaceReadCount().folderListings;
  const auto start = Clock::now();
  driver.Do("open", [&] {
    f.ms = MillisecondsSince(start);
    f.listings = qm::shell::NamespaceReadCount().folderListings - before;
    dialog.EndDialog(IDCANCEL);
  });
  dialog.DoModal();
  return f;
}

// The levels searched as the kernel's directory search lists them.
double SearchLevels(const std::string& root, int depth) {
  const auto start = Clock::now();
  std::string folder = root;
  for (int level = 1; level <= depth; ++level) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      while (FindNextFileA(search, &found)) {
      }
      FindClose(search);
    }
    folder += "\\Level" + std::to_string(level);
  }
  return MillisecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int siblings = argc > 1 ? std::atoi(argv[1]) : 200;
  const std::string prefix = std::filesystem::temp_directory_path() / ("qm-chooser-bench-" + std::to_string(getpid()));
  qm::kernel::SetPrefixRoot(prefix);
  RegisterInstallerResources();
  qm::ui::UseDisplay(qm::ui::CreateHeadlessDisplay(1024, 768));
  qm::ui::StartWindowSystem();

  std::string deep = "C:\\Bench";
  CreateDirectoryA(deep.c_str(), nullptr);
  for (int level = 1; level <= 8; ++level) {
    for (int i = 0; i < siblings; ++i) CreateDirectoryA((deep + "\\Sibling" + std::to_string(i)).c_str(), nullptr);
    deep += "\\Level" + std::to_string(level);
    CreateDirectoryA(deep.c_str(), nullptr);
  }

  OpenChooser("");  // warms the font cache and the icons
  Figures desktop = OpenChooser("");
  Figures revealed = OpenChooser(deep);
  for (int run = 0; run < 2; ++run) {
    Figures again = OpenChooser("");
    if (again.ms < desktop.ms) desktop = again;
    again = OpenChooser(deep);
    if (again.ms < revealed.ms) revealed = again;
  }
  double search = SearchLevels("C:\\Bench", 8);
  for (int run = 0; run < 2; ++run) search = std::min(search, SearchLevels("C:\\Bench", 8));

  std::printf("%d sibling folders on each of 8 levels; Z: is the host's root\n", siblings);
  std::printf("%-44s %10s %16s\n", "", "ms", "folders listed");
  std::printf("%-44s %10.2f %16zu\n", "open the chooser (desktop, My Computer)", desktop.ms, desktop.listings);
  std::printf("%-44s %10.2f %16zu\n", "open it revealing a folder 8 levels deep", revealed.ms, revealed.listings);
  std::printf("%-44s %10.2f %16d\n", "directory search of the same 8 levels", search, 8);
  std::filesystem::remove_all(prefix);
  return 0;
}
