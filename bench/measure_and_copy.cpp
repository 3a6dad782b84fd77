// Measures the installer's two heavy file operations against the tools a user
// would reach for, in the same run and on the same data:
//   the required-size measurement of a medium's db, bin and doc trees
//   against `du -sb` of the same trees, and
//   CopyFileA of one large file against `cp`.
// Each side runs once to warm the caches, then a few times; the best time of
// each side counts.
//
//   bench_measure_and_copy MEDIUM LARGE_FILE COPY_FOLDER [REPEATS]
// All three are host paths; the installer side reaches them through Z:.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "install/service/Service.h"
#include "install/settings/InstallationSettings.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/SystemInfo.h"

namespace {

std::string OnDriveZ(const std::string& hostPath) {
  std::string path = "Z:" + hostPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void RunShell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

// Best wall time of `repeats` runs, in seconds, after one warm-up run;
// `prepare` runs untimed before each run.
double BestSeconds(int repeats, const std::function<void()>& prepare, const std::function<void()>& run) {
  prepare();
  run();
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    prepare();
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() < best) best = elapsed.count();
  }
  return best;
}

void Report(const char* what, double ours, const char* toolName, double tool, double goal) {
  double ratio = ours / tool;
  std::printf("%-28s installer %8.3f s   %-6s %8.3f s   ratio %5.2f  (goal <= %.2f: %s)\n", what, ours,
              toolName, tool, ratio, goal, ratio <= goal ? "met" : "missed");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s MEDIUM LARGE_FILE COPY_FOLDER [REPEATS]\n", argv[0]);
    return 2;
  }
  const std::string medium = argv[1];
  const std::string largeFile = argv[2];
  const std::string copyFolder = argv[3];
  const int repeats = argc > 4 ? std::atoi(argv[4]) : 3;

  qm::kernel::SetModuleFileNameOverride(OnDriveZ(medium + "/setup.exe"));
  InstallationSettings::Reset();
  InstallationSettings& settings = Settings();

  const std::string duCommand =
      "du -sb " + Quoted(medium + "/db") + " " + Quoted(medium + "/bin") + " " + Quoted(medium + "/doc") + " >/dev/null";
  double measure = BestSeconds(repeats, [] {}, [&] { settings.MeasureRequiredSize(); });
  double du = BestSeconds(repeats, [] {}, [&] { RunShell(duCommand); });
  std::printf("required size: %u KB\n", static_cast<unsigned>(settings.requiredSizeKb));
  RunShell("du -sbc " + Quoted(medium + "/db") + " " + Quoted(medium + "/bin") + " " + Quoted(medium + "/doc") +
           " | tail -n 1 | awk '{ printf \"du -sb total: %d bytes (%d KB, directories included)\\n\", $1, $1 / 1024 }'");

  RunShell("mkdir -p " + Quoted(copyFolder));
  const std::string ourCopy = copyFolder + "/installer-copy";
  const std::string toolCopy = copyFolder + "/cp-copy";
  double copy = BestSeconds(
      repeats, [&] { RunShell("rm -f " + Quoted(ourCopy)); },
      [&] {
        if (!CopyFileA(OnDriveZ(largeFile).c_str(), OnDriveZ(ourCopy).c_str(), FALSE)) {
          std::fprintf(stderr, "CopyFileA failed\n");
          std::exit(1);
        }
      });
  double cp = BestSeconds(
      repeats, [&] { RunShell("rm -f " + Quoted(toolCopy)); },
      [&] { RunShell("cp " + Quoted(largeFile) + " " + Quoted(toolCopy)); });
  RunShell("cmp -s " + Quoted(largeFile) + " " + Quoted(ourCopy));

  Report("measure db+bin+doc", measure, "du -sb", du, 1.5);
  Report("copy the large file", copy, "cp", cp, 1.1);
  return 0;
}
