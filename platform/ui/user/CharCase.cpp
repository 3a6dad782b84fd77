#include <cstring>
#include <string>

#include "platform/kernel/NameCase.h"
#include "platform/ui/WinUser.h"

DWORD CharUpperBuffA(LPSTR text, DWORD length) {
  if (!text || length == 0) return 0;
  const std::string upper = qm::kernel::UpcaseName(std::string_view(text, length));
  // Case pairs are encoded in the same number of bytes, so the text keeps
  // its length; anything else would be a fault of the case table.
  const std::size_t written = upper.size() < length ? upper.size() : length;
  std::memcpy(text, upper.data(), written);
  return static_cast<DWORD>(written);
}
