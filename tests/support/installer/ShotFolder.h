// Where a test writes its screenshots: the folder an environment variable
// names, so that a person can keep them and look, else a temporary one.
#pragma once

#include <cstdlib>
#include <string>

#include "support/TempDir.h"

namespace qm::test {

class ShotFolder {
 public:
  ShotFolder(const char* variable, const char* stem) : variable(variable), folder(stem) {}
  std::string Path(const std::string& name) const {
    const char* keep = std::getenv(variable);
    return std::string(keep && *keep ? keep : folder.Path()) + "/" + name;
  }

 private:
  const char* variable;
  TempDir folder;
};

}  // namespace qm::test
