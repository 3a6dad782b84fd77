// A temporary host folder that is removed with everything in it at the end
// of its scope.
#pragma once

#include <string>

namespace qm::test {

class TempDir {
 public:
  // In the system's temporary folder, or in parent when one is given.
  explicit TempDir(const std::string& stem = "quellmoor", const std::string& parent = "");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path; }

 private:
  std::string path;
};

}  // namespace qm::test
