#include "platform/ui/user/AccessKey.h"

#include "platform/kernel/NameCase.h"
#include "platform/kernel/Utf8.h"

namespace qm::ui::user {

char32_t AccessKeyOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    kernel::Utf8Char key = kernel::DecodeUtf8Char(text, i + 1);
    return key.wellFormed ? kernel::UpcaseNameChar(key.codePoint) : 0;
  }
  return 0;
}

}  // namespace qm::ui::user
