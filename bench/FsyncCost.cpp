// What a copy would pay to promise its files after a power loss: small
// files written through the kernel's one atomic writer, once as CopyFileA
// writes them (the file system's own order) and once flushed to disk each
// (fsync of the file and of its folder), alternating, each into a folder
// of its own.
//
//   bench_FsyncCost [FOLDER] [FILES]      (defaults: a temporary folder, 300)
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Entries.h"

namespace host = qm::kernel::host;

namespace {

double MicrosecondsPerFile(const std::string& folder, int files, host::ReplacementFile::Flush flush) {
  host::MakeFolder(folder);
  const std::string content(3000, 'q');
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < files; ++i) {
    host::ReplacementFile file;
    if (!file.Open(folder + "/file" + std::to_string(i) + ".dat") || !host::WriteAll(file.File(), content) ||
        !file.Commit(host::ReplacementFile::Install::Replace, flush)) {
      std::perror("write");
      std::exit(1);
    }
  }
  std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / files;
}

}  // namespace

int main(int argc, char** argv) {
  char temporary[] = "/tmp/quellmoor-fsync-XXXXXX";
  std::string root = argc > 1 ? argv[1] : std::string(mkdtemp(temporary));
  const int files = argc > 2 ? std::atoi(argv[2]) : 300;
  double lazy = 0, flushed = 0;
  for (int round = 0; round < 3; ++round) {
    lazy += MicrosecondsPerFile(root + "/lazy" + std::to_string(round), files, host::ReplacementFile::Flush::Lazily);
    flushed += MicrosecondsPerFile(root + "/flushed" + std::to_string(round), files, host::ReplacementFile::Flush::ToDisk);
  }
  std::printf("%d files of 3000 bytes, 3 rounds: %.1f us a file as copied, %.1f us flushed to disk (%.0fx)\n", files,
              lazy / 3, flushed / 3, flushed / lazy);
  if (argc <= 1) std::system(("rm -rf '" + root + "'").c_str());
  return 0;
}
