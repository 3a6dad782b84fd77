// Host-specific: dlopen, dlsym, dlerror.
#include "platform/kernel/host/SharedLibrary.h"

#include <dlfcn.h>

namespace qm::kernel::host {

bool SharedLibrary::Open(const std::string& name) {
  handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle) return true;
  const char* why = ::dlerror();
  error = why ? why : name + ": cannot open shared object file";
  return false;
}

void* SharedLibrary::Find(const char* symbol) {
  if (!handle) return nullptr;
  ::dlerror();
  void* address = ::dlsym(handle, symbol);
  if (!address) {
    const char* why = ::dlerror();
    error = why ? why : std::string("undefined symbol: ") + symbol;
  }
  return address;
}

}  // namespace qm::kernel::host
