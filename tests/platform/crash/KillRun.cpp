#include "KillRun.h"

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "platform/kernel/host/AtomicWrite.h"

namespace qm::test {
namespace {

unsigned SeedFromEnvironment() {
  if (const char* fixed = std::getenv("QUELLMOOR_KILL_SEED")) return static_cast<unsigned>(std::strtoul(fixed, nullptr, 10));
  return std::random_device{}();
}

}  // namespace

KillRun::KillRun() : seed(SeedFromEnvironment()), random(seed) {
  void* shared = mmap(nullptr, sizeof(KillProgress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (shared == MAP_FAILED) throw std::runtime_error("no shared memory for the kill run");
  progress = new (shared) KillProgress;
}

KillRun::~KillRun() { munmap(progress, sizeof(KillProgress)); }

std::string KillRun::SeedNote() const {
  return "kill moments drawn from seed " + std::to_string(seed) + " (QUELLMOOR_KILL_SEED=" + std::to_string(seed) +
         " draws them again)";
}

const KillProgress& KillRun::KillOne(long base, const std::function<void(KillProgress&)>& work) {
  progress->base = base;
  progress->started = base;
  progress->done = base;
  int ready[2];
  if (pipe(ready) != 0) throw std::runtime_error("no pipe for the kill run");
  pid_t child = fork();
  if (child < 0) throw std::runtime_error("cannot fork the writer");
  if (child == 0) {
    close(ready[0]);
    char byte = 1;
    (void)!write(ready[1], &byte, 1);
    close(ready[1]);
    work(*progress);
    _exit(0);
  }
  close(ready[1]);
  char byte;
  (void)!read(ready[0], &byte, 1);
  close(ready[0]);
  // Anywhere within the next two generations' writes: a fraction drawn
  // from the seed of the child's own pace, measured by the kills before.
  const double window = std::clamp(2 * microsecondsPerGeneration, 200.0, 20000.0);
  const double fraction = std::uniform_real_distribution<double>(0, 1)(random);
  const auto delay = std::chrono::microseconds(static_cast<long>(fraction * window));
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(delay);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  const double alive =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  const long finished = progress->done - base;
  if (finished > 0) microsecondsPerGeneration = (microsecondsPerGeneration + alive / static_cast<double>(finished)) / 2;
  if (progress->started != progress->done) ++killsMidWrite;
  return *progress;
}

const KillProgress& KillRun::KillWriter(long base, const std::function<bool(long generation)>& writeOne) {
  return KillOne(base, [&](KillProgress& child) {
    for (long generation = child.base + 1;; ++generation) {
      child.started = generation;
      if (!writeOne(generation)) _exit(3);
      child.done = generation;
    }
  });
}

bool KillRun::RunToEnd(const std::function<bool()>& work) {
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) _exit(work() ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

FolderLeftovers LeftoversIn(const std::string& hostFolder, const std::vector<std::string>& expected) {
  FolderLeftovers leftovers;
  for (const auto& entry : std::filesystem::directory_iterator(hostFolder)) {
    const std::string name = entry.path().filename();
    if (std::find(expected.begin(), expected.end(), name) != expected.end()) continue;
    if (qm::kernel::host::ReplacementWriter(name) != 0)
      leftovers.temporaries.push_back(name);
    else
      leftovers.strangers.push_back(name);
  }
  return leftovers;
}

}  // namespace qm::test
