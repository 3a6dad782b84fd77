#include "platform/directx/DirectXVersion.h"

#include <vector>

namespace qm::directx {

std::optional<DirectXVersion> ParseDirectXVersion(std::string_view text) {
  std::vector<DWORD> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find('.', start);
    std::string_view part = text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (part.empty() || part.size() > 5) return std::nullopt;
    DWORD value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<DWORD>(c - '0');
    }
    if (value > 0xFFFF) return std::nullopt;
    parts.push_back(value);
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  if (parts.size() == 3) parts.insert(parts.begin() + 2, 0);
  if (parts.size() != 4 || parts[0] == 0) return std::nullopt;
  return DirectXVersion{(parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3]};
}

}  // namespace qm::directx
