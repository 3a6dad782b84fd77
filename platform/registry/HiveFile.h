// A hive's store file: read without a lock (writers replace it whole, by
// rename), updated under an exclusive file lock held over the whole
// read-modify-write, so that writers in different processes never lose each
// other's changes.
#pragma once

#include <functional>
#include <string>

#include "platform/registry/HiveText.h"

namespace qm::registry {

enum class HiveId { CurrentUser, LocalMachine };

class HiveFile {
 public:
  // seed is the hive a new store starts with.
  HiveFile(std::string hostPath, Hive seed) : hostPath(std::move(hostPath)), seed(std::move(seed)) {}

  // The stored hive; a missing store is created from the seed first.
  // ERROR_BADDB when the store cannot be parsed (the file is left as it is).
  LONG Read(Hive* hive) const;

  // Re-reads the store under the lock and applies change, which sets
  // *changed when it altered the hive; the store is rewritten only then (or
  // when it did not exist yet). An error from change is returned as is and
  // nothing is written.
  LONG Update(const std::function<LONG(Hive& hive, bool* changed)>& change) const;

  const std::string& HostPath() const { return hostPath; }

 private:
  std::string hostPath;
  Hive seed;
};

// The store of a hive in the current prefix: user.reg for HKEY_CURRENT_USER,
// system.reg for HKEY_LOCAL_MACHINE.
HiveFile StoreOf(HiveId hive);
const char* RootNameOf(HiveId hive);
// What a new prefix's hive holds.
Hive SeedOf(HiveId hive);

}  // namespace qm::registry
