#include "platform/kernel/HandleTable.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace qm::kernel {
namespace {

// Handle values count up in steps of four, as kernel handles do, and are
// never reused, so a stale handle cannot reach a newer object.
struct Table {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
  std::uintptr_t nextValue = 0x100;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

HANDLE InsertHandle(std::unique_ptr<KernelObject> object) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  std::uintptr_t value = table.nextValue;
  table.nextValue += 4;
  table.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

KernelObject* LookupObject(HANDLE handle) { return ShareObject(handle).get(); }

std::shared_ptr<KernelObject> ShareObject(HANDLE handle) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == table.objects.end() ? nullptr : it->second;
}

bool CloseObject(HANDLE handle) {
  std::shared_ptr<KernelObject> object;
  Table& table = TheTable();
  {
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == table.objects.end()) return false;
    object = std::move(it->second);
    table.objects.erase(it);
  }
  // Destroyed outside the lock (an object's destructor may close others),
  // or later by a holder of a shared reference.
  return true;
}

}  // namespace qm::kernel
