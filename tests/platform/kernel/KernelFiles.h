// Host-side helpers for the kernel's file tests: files are made and read
// directly on the host, in the test's own prefix, and looked at through
// the Windows calls.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "platform/kernel/FileApi.h"
#include "support/CallFailure.h"

namespace qm::test {

// The host path of a name under drive C: ("Games/a.txt").
std::string HostOnC(const std::string& relative);
void WriteHostFile(const std::string& hostPath, const std::string& contents);
std::string ReadHostFile(const std::string& hostPath);
bool HostExists(const std::string& hostPath);
void MakeHostReadOnly(const std::string& hostPath);
// The permission bits of what a host path names (links followed); 0 when
// nothing is there.
unsigned ModeOf(const std::string& hostPath);
// Every name in a host folder, sorted: a failed write must leave nothing
// beside its target.
std::vector<std::string> HostEntries(const std::string& folder);

// Runs `write` while the host refuses this process writes past `bytes`,
// then lifts the limit again; what `write` answered.
template <class Write>
auto UnderFileSizeLimit(rlim_t bytes, Write&& write) {
  struct rlimit previous{};
  EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  struct rlimit limit = {bytes, previous.rlim_max};
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  auto result = write();
  setrlimit(RLIMIT_FSIZE, &previous);
  return result;
}

// What a search for one name finds; a test failure when it finds nothing.
WIN32_FIND_DATAA FindOne(const std::string& name);

struct Found {
  std::string name;
  std::string shortName;
  DWORD attributes;
  bool operator==(const Found&) const = default;
};
void PrintTo(const Found& found, std::ostream* out);

// Every entry a search returns, in its order; empty when the first call fails.
std::vector<Found> SearchAll(const std::string& pattern);
// The same of a search begun already: `data` holds what its first call
// found. The search is closed.
std::vector<Found> EntriesOf(HANDLE search, WIN32_FIND_DATAA& data);
std::vector<std::string> SearchNames(const std::string& pattern);
std::vector<std::string> NamesOf(const std::vector<Found>& entries);

}  // namespace qm::test
