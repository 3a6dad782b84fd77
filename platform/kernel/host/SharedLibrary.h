// Host boundary: libraries loaded while the program runs. May hold opening
// a shared library by its name and finding the functions it exports.
#pragma once

#include <string>

namespace qm::kernel::host {

// A shared library opened by its name (as the host's loader finds it, e.g.
// "libexample.so.1"). It stays loaded until the process ends: what it set
// up for itself may be in use until then.
class SharedLibrary {
 public:
  // False, with Error() telling why in the loader's words, when the
  // library cannot be opened.
  bool Open(const std::string& name);
  bool IsOpen() const { return handle != nullptr; }
  // The address of an exported symbol; nullptr, with Error() set, when the
  // library has none of that name.
  void* Find(const char* symbol);
  const std::string& Error() const { return error; }

 private:
  void* handle = nullptr;
  std::string error;
};

}  // namespace qm::kernel::host
