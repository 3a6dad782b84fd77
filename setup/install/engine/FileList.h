// A folder's files as the copy lists them: each name with the size its
// folder's search found. The names lie one after another in one block, so
// a folder of many thousand files is held in little more room than its
// names take, where a string for each would take 32 bytes or more.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FileList {
 public:
  void Clear() {
    names.clear();
    starts.clear();
    sizes.clear();
  }
  void Add(std::string_view name, std::uint64_t size) {
    starts.push_back(static_cast<std::uint32_t>(names.size()));
    names.append(name);
    sizes.push_back(size);
  }
  // The room the list's growth left over goes back: the list lives while
  // its folder is copied, and in a folder of many thousand files that is
  // megabytes.
  void ShrinkToFit() {
    names.shrink_to_fit();
    starts.shrink_to_fit();
    sizes.shrink_to_fit();
  }

  std::size_t Count() const { return starts.size(); }
  std::string_view Name(std::size_t i) const {
    const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : names.size();
    return std::string_view(names).substr(starts[i], end - starts[i]);
  }
  std::uint64_t Size(std::size_t i) const { return sizes[i]; }

 private:
  std::string names;                  // every name, end to end
  std::vector<std::uint32_t> starts;  // where each begins in names
  std::vector<std::uint64_t> sizes;
};
