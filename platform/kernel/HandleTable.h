// Kernel objects behind HANDLE values: find searches, snapshots, tokens,
// processes. One table for all of them, so CloseHandle works on any.
#pragma once

#include <memory>

#include "platform/kernel/WinTypes.h"

namespace qm::kernel {

struct KernelObject {
  virtual ~KernelObject() = default;
};

HANDLE InsertHandle(std::unique_ptr<KernelObject> object);
// Null for a handle that is not open (or a pseudo-handle).
KernelObject* LookupObject(HANDLE handle);
// Removes and destroys the object; false for a handle that is not open.
bool CloseObject(HANDLE handle);

template <class T>
T* LookupHandle(HANDLE handle) {
  return dynamic_cast<T*>(LookupObject(handle));
}

}  // namespace qm::kernel
