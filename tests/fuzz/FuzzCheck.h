// What the harnesses share: a check that stops the run with the input kept
// (libFuzzer saves the input of any crash), and a scratch prefix.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qm::fuzz {

// Fails the run: prints what did not hold and aborts, so libFuzzer keeps the
// input as a crash and the property is named beside it.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
  std::abort();
}

// A prefix folder of this process's own under the temporary folder, set
// through QUELLMOOR_PREFIX before the platform first looks for it.
std::string UseScratchPrefix(const char* harness);

}  // namespace qm::fuzz

#define QM_FUZZ_CHECK(condition) \
  do {                           \
    if (!(condition)) ::qm::fuzz::Fail(#condition, __FILE__, __LINE__); \
  } while (0)
