// Kernel objects behind HANDLE values: find searches, snapshots, tokens,
// processes, threads, change notifications. One table for all of them, so CloseHandle works on any.
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
// The object shared: it stays alive for the holder even when another thread
// closes its handle meanwhile (a wait in progress). Null as LookupObject.
std::shared_ptr<KernelObject> ShareObject(HANDLE handle);
// Removes and destroys the object; false for a handle that is not open.
bool CloseObject(HANDLE handle);

template <class T>
T* LookupHandle(HANDLE handle) {
  return dynamic_cast<T*>(LookupObject(handle));
}

template <class T>
std::shared_ptr<T> ShareHandle(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(ShareObject(handle));
}

}  // namespace qm::kernel
