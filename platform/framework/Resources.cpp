#include "platform/framework/Resources.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/kernel/SystemInfo.h"
#include "platform/ui/Resources.h"

namespace qm::fw {

HINSTANCE ResourceInstance() { return GetModuleHandleA(nullptr); }

bool LoadString(UINT id, std::string& text) {
  std::vector<char> buffer(256);
  for (;;) {
    const int length = LoadStringA(ResourceInstance(), id, buffer.data(), static_cast<int>(buffer.size()));
    if (length <= 0) return false;
    // A string that filled the buffer may have been cut: try a larger one.
    if (length < static_cast<int>(buffer.size()) - 1) {
      text.assign(buffer.data(), static_cast<std::size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 4);
  }
}

HICON LoadIcon(UINT id) { return LoadIconA(ResourceInstance(), MAKEINTRESOURCEA(static_cast<WORD>(id))); }

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (length > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    text.assign(buffer.data(), static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}

}  // namespace qm::fw
