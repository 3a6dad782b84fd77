// The hives of the current prefix.
#include "platform/kernel/Prefix.h"
#include "platform/registry/HiveFile.h"

namespace qm::registry {

HiveFile StoreOf(HiveId hive) {
  const char* file = hive == HiveId::CurrentUser ? "/user.reg" : "/system.reg";
  return HiveFile(qm::kernel::PrefixRoot() + file, SeedOf(hive));
}

}  // namespace qm::registry
