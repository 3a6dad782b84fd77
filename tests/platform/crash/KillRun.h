// Kills a child process at random moments of its work and lets the test
// look at what it left: the store, the copy, the links a killed program
// wrote must each be the old one or the new one, never a torn one.
#pragma once

#include <atomic>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace qm::test {

// Under AddressSanitizer every write and every check after a kill costs
// some twenty times as much: the sanitizer run kills a fifth as often, which
// still sees each writer killed mid-write many times, and leaves the counts
// that find rare moments to the normal build.
#if defined(__SANITIZE_ADDRESS__)
constexpr int KillsUnderSanitizer(int kills) { return kills / 5; }
#else
constexpr int KillsUnderSanitizer(int kills) { return kills; }
#endif

// What a child tells its parent, in memory they share: the generation it
// began writing last and the last one it finished. Generations count up
// over every child of one test.
struct KillProgress {
  std::atomic<long> started{0};
  std::atomic<long> done{0};
  std::atomic<long> base{0};  // the generation the child starts after
};

class KillRun {
 public:
  KillRun();
  ~KillRun();
  KillRun(const KillRun&) = delete;
  KillRun& operator=(const KillRun&) = delete;

  // The generator's seed; QUELLMOOR_KILL_SEED draws the same moments, as
  // fractions of the writer's pace, again.
  unsigned Seed() const { return seed; }
  std::string SeedNote() const;

  // Forks a child that runs work until it is killed with SIGKILL, at a
  // moment drawn from the seeded generator after the child is ready to
  // work; answers once the child is reaped. base is the generation work
  // starts after.
  const KillProgress& KillOne(long base, const std::function<void(KillProgress&)>& work);
  // KillOne of a writer of generation after generation: writeOne(g) for
  // g = base + 1, base + 2, ..., each marked begun before it and finished
  // after it; a write that fails ends the child with 3.
  const KillProgress& KillWriter(long base, const std::function<bool(long generation)>& writeOne);
  // A later run of the program that ends by itself: work in a child of its
  // own (a process that never wrote before). True when it ended with 0.
  bool RunToEnd(const std::function<bool()>& work);

  // How many kills landed while a generation was being written.
  int KillsMidWrite() const { return killsMidWrite; }

 private:
  unsigned seed;
  std::mt19937 random;
  KillProgress* progress = nullptr;
  double microsecondsPerGeneration = 2000;
  int killsMidWrite = 0;
};

// Hidden entries of a host folder that name a temporary file of a writer
// ("." name ".~" pid "-" count ".tmp"), and every other entry not in
// expected: what a listing of the folder would show beyond the real files.
struct FolderLeftovers {
  std::vector<std::string> temporaries;
  std::vector<std::string> strangers;
};
FolderLeftovers LeftoversIn(const std::string& hostFolder, const std::vector<std::string>& expected);

}  // namespace qm::test
