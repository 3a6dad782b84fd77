// Host-side helpers for the kernel's file tests: files are made and read
// directly on the host, in the test's own prefix, and looked at through
// the Windows calls.
#pragma once

#include <string>
#include <vector>

#include "platform/kernel/FileApi.h"

namespace qm::test {

// The host path of a name under drive C: ("Games/a.txt").
std::string HostOnC(const std::string& relative);
void WriteHostFile(const std::string& hostPath, const std::string& contents);
std::string ReadHostFile(const std::string& hostPath);
bool HostExists(const std::string& hostPath);
void MakeHostReadOnly(const std::string& hostPath);

struct Found {
  std::string name;
  std::string shortName;
  DWORD attributes;
};

// Every entry a search returns, in its order; empty when the first call fails.
std::vector<Found> SearchAll(const std::string& pattern);
// The same of a search begun already: `data` holds what its first call
// found. The search is closed.
std::vector<Found> EntriesOf(HANDLE search, WIN32_FIND_DATAA& data);
std::vector<std::string> SearchNames(const std::string& pattern);

}  // namespace qm::test
