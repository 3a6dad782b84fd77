// Dialog resources in their binary form, DLGTEMPLATE and DLGTEMPLATEEX,
// read into DialogTemplate. Every read is checked against the end of the
// data: a template that is cut short is refused, never read past.
#include <optional>

#include "platform/kernel/CodePage.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinUser.h"

namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
constexpr WORD kOrdinalMark = 0xFFFF;

class Reader {
 public:
  Reader(const void* data, std::size_t size) : bytes_(static_cast<const BYTE*>(data)), size_(data ? size : 0) {}

  bool Word(WORD& value) {
    if (offset_ + 2 > size_) return false;
    value = static_cast<WORD>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
  }
  bool Short(short& value) {
    WORD word = 0;
    if (!Word(word)) return false;
    value = static_cast<short>(word);
    return true;
  }
  bool Dword(DWORD& value) {
    WORD low = 0, high = 0;
    if (!Word(low) || !Word(high)) return false;
    value = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
    return true;
  }
  bool Byte(BYTE& value) {
    if (offset_ + 1 > size_) return false;
    value = bytes_[offset_++];
    return true;
  }
  // A zero-terminated UTF-16 string.
  bool String(std::string& value) {
    std::u16string text;
    for (WORD unit = 0;;) {
      if (!Word(unit)) return false;
      if (unit == 0) break;
      text.push_back(static_cast<char16_t>(unit));
    }
    value = qm::kernel::Utf16ToUtf8(text);
    return true;
  }
  // A string or an ordinal (0xFFFF and a number); an empty string is none.
  bool StringOrOrdinal(std::string& text, std::optional<WORD>& ordinal) {
    WORD first = 0;
    const std::size_t start = offset_;
    if (!Word(first)) return false;
    if (first == kOrdinalMark) {
      WORD number = 0;
      if (!Word(number)) return false;
      ordinal = number;
      text.clear();
      return true;
    }
    offset_ = start;
    ordinal.reset();
    return String(text);
  }
  bool Skip(std::size_t count) {
    if (offset_ + count > size_) return false;
    offset_ += count;
    return true;
  }
  bool AlignToDword() { return Skip((4 - offset_ % 4) % 4); }

 private:
  const BYTE* bytes_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

const char* PredefinedClass(WORD ordinal) {
  switch (ordinal) {
    case 0x0080: return WC_BUTTONA;
    case 0x0081: return WC_EDITA;
    case 0x0082: return WC_STATICA;
    case 0x0083: return WC_LISTBOXA;
    case 0x0084: return "SCROLLBAR";
    case 0x0085: return WC_COMBOBOXA;
    default: return nullptr;
  }
}

bool ReadItem(Reader& in, bool extended, DialogItemTemplate& item) {
  if (!in.AlignToDword()) return false;
  if (extended) {
    DWORD helpId = 0, id = 0;
    if (!in.Dword(helpId) || !in.Dword(item.exStyle) || !in.Dword(item.style) || !in.Short(item.x) ||
        !in.Short(item.y) || !in.Short(item.cx) || !in.Short(item.cy) || !in.Dword(id))
      return false;
    item.id = static_cast<int>(id);
  } else {
    WORD id = 0;
    if (!in.Dword(item.style) || !in.Dword(item.exStyle) || !in.Short(item.x) || !in.Short(item.y) ||
        !in.Short(item.cx) || !in.Short(item.cy) || !in.Word(id))
      return false;
    // IDC_STATIC is 0xFFFF in the 16 bits of a plain template.
    item.id = id == 0xFFFF ? IDC_STATIC : static_cast<int>(id);
  }
  std::optional<WORD> classOrdinal, titleOrdinal;
  if (!in.StringOrOrdinal(item.className, classOrdinal)) return false;
  if (classOrdinal) {
    const char* name = PredefinedClass(*classOrdinal);
    if (!name) return false;
    item.className = name;
  }
  if (!in.StringOrOrdinal(item.text, titleOrdinal)) return false;
  if (titleOrdinal) item.imageId = *titleOrdinal;
  WORD extraCount = 0;
  return in.Word(extraCount) && in.Skip(extraCount);
}

}  // namespace

bool ParseDialogResource(const void* data, std::size_t size, DialogTemplate& out) {
  Reader in(data, size);
  DialogTemplate result;
  WORD version = 0, signature = 0;
  if (!in.Word(version) || !in.Word(signature)) return false;
  result.extended = version == 1 && signature == kExtendedSignature;
  WORD itemCount = 0;
  if (result.extended) {
    if (!in.Dword(result.helpId) || !in.Dword(result.exStyle) || !in.Dword(result.style)) return false;
  } else {
    // A plain template starts with its style, read as the two words just taken.
    result.style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
    if (!in.Dword(result.exStyle)) return false;
  }
  if (!in.Word(itemCount) || !in.Short(result.x) || !in.Short(result.y) || !in.Short(result.cx) ||
      !in.Short(result.cy))
    return false;
  std::string menu, windowClass;
  std::optional<WORD> menuOrdinal, classOrdinal, captionOrdinal;
  if (!in.StringOrOrdinal(menu, menuOrdinal) || !menu.empty() || menuOrdinal) return false;
  if (!in.StringOrOrdinal(windowClass, classOrdinal) || !windowClass.empty() || classOrdinal) return false;
  if (!in.StringOrOrdinal(result.caption, captionOrdinal)) return false;
  if (result.style & DS_SETFONT) {
    if (!in.Word(result.pointSize)) return false;
    if (result.extended) {
      BYTE italic = 0;
      if (!in.Word(result.fontWeight) || !in.Byte(italic) || !in.Byte(result.fontCharset)) return false;
      result.fontItalic = italic != 0;
    }
    if (!in.String(result.fontFace)) return false;
  }
  for (WORD i = 0; i < itemCount; ++i) {
    DialogItemTemplate item;
    if (!ReadItem(in, result.extended, item)) return false;
    result.items.push_back(std::move(item));
  }
  out = std::move(result);
  return true;
}
