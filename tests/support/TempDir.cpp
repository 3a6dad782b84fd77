#include "support/TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace qm::test {

TempDir::TempDir(const std::string& stem, const std::string& parent) {
  std::filesystem::path base = parent.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(parent);
  std::string pattern = (base / (stem + "-XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot create a temporary folder");
  path = buffer.data();
}

TempDir::~TempDir() {
  // Read-only folders must not keep the folder alive; a read-only file goes
  // with the folder that holds it, so files need no change (a folder of many
  // files is cleared quickly).
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code kind;
    if (it->is_directory(kind) && !it->is_symlink(kind))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path, ec);
}

}  // namespace qm::test
