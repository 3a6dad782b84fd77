#include "platform/shell/LinkFormat.h"

#include <algorithm>

#include "platform/kernel/CodePage.h"

namespace qm::shell {

namespace {

constexpr DWORD kHeaderSize = 0x4C;
constexpr BYTE kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

constexpr DWORD HasLinkTargetIDList = 0x1;
constexpr DWORD HasLinkInfo = 0x2;
constexpr DWORD HasName = 0x4;
constexpr DWORD HasRelativePath = 0x8;
constexpr DWORD HasWorkingDir = 0x10;
constexpr DWORD HasArguments = 0x20;
constexpr DWORD HasIconLocation = 0x40;
constexpr DWORD IsUnicode = 0x80;

constexpr DWORD VolumeIDAndLocalBasePath = 0x1;

class Writer {
 public:
  void U16(WORD v) {
    bytes.push_back(static_cast<BYTE>(v));
    bytes.push_back(static_cast<BYTE>(v >> 8));
  }
  void U32(DWORD v) {
    U16(static_cast<WORD>(v));
    U16(static_cast<WORD>(v >> 16));
  }
  void Time(const FILETIME& t) {
    U32(t.dwLowDateTime);
    U32(t.dwHighDateTime);
  }
  void Raw(const void* data, std::size_t size) {
    auto p = static_cast<const BYTE*>(data);
    bytes.insert(bytes.end(), p, p + size);
  }
  void CString(const std::string& s) {
    Raw(s.data(), s.size());
    bytes.push_back(0);
  }
  void WideCString(const std::u16string& s) {
    for (char16_t c : s) U16(c);
    U16(0);
  }
  void PatchU32(std::size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<BYTE>(v >> (8 * i));
  }
  std::size_t Size() const { return bytes.size(); }
  std::vector<BYTE> bytes;
};

class Reader {
 public:
  Reader(const std::vector<BYTE>& bytes, std::size_t begin, std::size_t end) : bytes(bytes), pos(begin), end(end) {}
  bool Has(std::size_t n) const { return pos <= end && end - pos >= n; }
  bool U16(WORD* v) {
    if (!Has(2)) return false;
    *v = static_cast<WORD>(bytes[pos] | (bytes[pos + 1] << 8));
    pos += 2;
    return true;
  }
  bool U32(DWORD* v) {
    WORD lo, hi;
    if (!U16(&lo) || !U16(&hi)) return false;
    *v = lo | (static_cast<DWORD>(hi) << 16);
    return true;
  }
  bool Time(FILETIME* t) { return U32(&t->dwLowDateTime) && U32(&t->dwHighDateTime); }
  bool Skip(std::size_t n) {
    if (!Has(n)) return false;
    pos += n;
    return true;
  }
  std::size_t Pos() const { return pos; }

 private:
  const std::vector<BYTE>& bytes;
  std::size_t pos;
  std::size_t end;
};

bool IsDrivePath(const std::string& path) {
  return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

bool IsAscii(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The code-page copy of a path that only the Unicode copy can hold exactly:
// what a reader without Unicode support shows.
std::string AnsiFallback(const std::string& s) {
  std::u16string wide = qm::kernel::Utf8ToUtf16(s);
  std::string out;
  for (char16_t c : wide) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

void WriteLinkInfo(Writer& w, const ShellLinkData& link) {
  const bool unicode = !IsAscii(link.target);
  const DWORD headerSize = unicode ? 0x24 : 0x1C;
  const std::size_t start = w.Size();
  const DWORD volumeSize = static_cast<DWORD>(0x10 + link.volume.label.size() + 1);
  const std::string ansiPath = unicode ? AnsiFallback(link.target) : link.target;
  const DWORD volumeOffset = headerSize;
  const DWORD pathOffset = volumeOffset + volumeSize;
  const DWORD suffixOffset = pathOffset + static_cast<DWORD>(ansiPath.size() + 1);
  const DWORD unicodePathOffset = suffixOffset + 1;
  const std::u16string widePath = qm::kernel::Utf8ToUtf16(link.target);
  const DWORD unicodeSuffixOffset = unicodePathOffset + static_cast<DWORD>(2 * (widePath.size() + 1));

  w.U32(0);  // LinkInfoSize, patched below
  w.U32(headerSize);
  w.U32(VolumeIDAndLocalBasePath);
  w.U32(volumeOffset);
  w.U32(pathOffset);
  w.U32(0);  // no network location
  w.U32(suffixOffset);
  if (unicode) {
    w.U32(unicodePathOffset);
    w.U32(unicodeSuffixOffset);
  }
  w.U32(volumeSize);
  w.U32(link.volume.driveType);
  w.U32(link.volume.serialNumber);
  w.U32(0x10);
  w.CString(link.volume.label);
  w.CString(ansiPath);
  w.CString("");
  if (unicode) {
    w.WideCString(widePath);
    w.WideCString(u"");
  }
  w.PatchU32(start, static_cast<DWORD>(w.Size() - start));
}

void WriteString(Writer& w, const std::string& s) {
  std::u16string wide = qm::kernel::Utf8ToUtf16(s);
  if (wide.size() > 0xFFFF) wide.resize(0xFFFF);
  w.U16(static_cast<WORD>(wide.size()));
  for (char16_t c : wide) w.U16(c);
}

bool ReadCString(const std::vector<BYTE>& bytes, std::size_t at, std::size_t end, std::string* out) {
  out->clear();
  for (std::size_t i = at; i < end; ++i) {
    if (bytes[i] == 0) return true;
    *out += static_cast<char>(bytes[i]);
  }
  return false;
}

bool ReadWideCString(const std::vector<BYTE>& bytes, std::size_t at, std::size_t end, std::string* out) {
  if (at >= end) return false;
  const std::size_t units = (end - at) / 2;
  const std::size_t zero = qm::kernel::FindUtf16LeZero(bytes.data() + at, units);
  if (zero == units) return false;
  *out = qm::kernel::Utf16LeToUtf8(bytes.data() + at, zero);
  return true;
}

bool ReadLinkInfo(const std::vector<BYTE>& bytes, Reader& r, ShellLinkData* link, std::string* why) {
  const std::size_t start = r.Pos();
  DWORD size, headerSize, flags, volumeOffset, pathOffset, networkOffset, suffixOffset;
  DWORD unicodePathOffset = 0, unicodeSuffixOffset = 0;
  if (!r.U32(&size) || !r.U32(&headerSize) || !r.U32(&flags) || !r.U32(&volumeOffset) || !r.U32(&pathOffset) ||
      !r.U32(&networkOffset) || !r.U32(&suffixOffset)) {
    *why = "truncated LinkInfo";
    return false;
  }
  if (headerSize >= 0x24 && (!r.U32(&unicodePathOffset) || !r.U32(&unicodeSuffixOffset))) {
    *why = "truncated LinkInfo";
    return false;
  }
  if (size < headerSize || start + size > bytes.size()) {
    *why = "LinkInfo size out of range";
    return false;
  }
  const std::size_t end = start + size;
  if (flags & VolumeIDAndLocalBasePath) {
    Reader volume(bytes, start + volumeOffset, end);
    DWORD volumeSize, labelOffset;
    if (volumeOffset < headerSize || !volume.U32(&volumeSize) || volumeSize < 0x10 ||
        !volume.U32(&link->volume.driveType) || !volume.U32(&link->volume.serialNumber) ||
        !volume.U32(&labelOffset)) {
      *why = "bad VolumeID";
      return false;
    }
    bool labelRead = labelOffset == 0x14
                         ? ReadWideCString(bytes, start + volumeOffset + 0x14, end, &link->volume.label)
                         : ReadCString(bytes, start + volumeOffset + labelOffset, end, &link->volume.label);
    std::string base, suffix;
    bool pathRead = unicodePathOffset ? ReadWideCString(bytes, start + unicodePathOffset, end, &base)
                                      : ReadCString(bytes, start + pathOffset, end, &base);
    bool suffixRead = unicodeSuffixOffset ? ReadWideCString(bytes, start + unicodeSuffixOffset, end, &suffix)
                                          : ReadCString(bytes, start + suffixOffset, end, &suffix);
    if (!labelRead || !pathRead || !suffixRead) {
      *why = "unterminated LinkInfo string";
      return false;
    }
    link->target = base + suffix;
  }
  r.Skip(size - (r.Pos() - start));
  return true;
}

// A string of the string data. Its count covers every character stored,
// but a reader of the link sees the text up to a zero character only, so
// the string ends there: the rest can never reach a caller, nor a link
// written again from what was read.
bool ReadString(Reader& r, const std::vector<BYTE>& bytes, bool unicode, std::string* out) {
  WORD count;
  if (!r.U16(&count)) return false;
  std::size_t at = r.Pos();
  if (!r.Skip(unicode ? 2u * count : count)) return false;
  if (unicode) {
    *out = qm::kernel::Utf16LeToUtf8(bytes.data() + at, qm::kernel::FindUtf16LeZero(bytes.data() + at, count));
  } else {
    const char* text = reinterpret_cast<const char*>(bytes.data() + at);
    out->assign(text, std::find(text, text + count, '\0'));
  }
  return true;
}

}  // namespace

std::vector<BYTE> EncodeShellLink(const ShellLinkData& link) {
  // A target of another form goes into the LinkInfo too when the link holds
  // what only a LinkInfo carries beside it (a volume, or a relative path of
  // its own), so that a link read and written again keeps all of it.
  const LinkVolume none;
  const bool volumeSet = link.volume.driveType != none.driveType || link.volume.serialNumber != none.serialNumber ||
                         !link.volume.label.empty();
  const bool hasLinkInfo =
      IsDrivePath(link.target) ||
      (!link.target.empty() && (volumeSet || (!link.relativePath.empty() && link.relativePath != link.target)));
  const std::string relativePath = link.relativePath.empty() && !hasLinkInfo ? link.target : link.relativePath;
  DWORD flags = IsUnicode;
  if (hasLinkInfo) flags |= HasLinkInfo;
  if (!link.description.empty()) flags |= HasName;
  if (!relativePath.empty()) flags |= HasRelativePath;
  if (!link.workingDirectory.empty()) flags |= HasWorkingDir;
  if (!link.arguments.empty()) flags |= HasArguments;
  if (!link.iconLocation.empty()) flags |= HasIconLocation;

  Writer w;
  w.U32(kHeaderSize);
  w.Raw(kLinkClsid, sizeof kLinkClsid);
  w.U32(flags);
  w.U32(link.fileAttributes);
  w.Time(link.creationTime);
  w.Time(link.accessTime);
  w.Time(link.writeTime);
  w.U32(link.fileSize);
  w.U32(static_cast<DWORD>(link.iconIndex));
  w.U32(static_cast<DWORD>(link.showCommand));
  w.U16(link.hotKey);
  w.U16(0);
  w.U32(0);
  w.U32(0);
  if (hasLinkInfo) WriteLinkInfo(w, link);
  if (flags & HasName) WriteString(w, link.description);
  if (flags & HasRelativePath) WriteString(w, relativePath);
  if (flags & HasWorkingDir) WriteString(w, link.workingDirectory);
  if (flags & HasArguments) WriteString(w, link.arguments);
  if (flags & HasIconLocation) WriteString(w, link.iconLocation);
  w.U32(0);  // terminal block
  return w.bytes;
}

std::optional<ShellLinkData> DecodeShellLink(const std::vector<BYTE>& bytes, std::string* error) {
  std::string why;
  auto fail = [&](const char* text) -> std::optional<ShellLinkData> {
    if (error) *error = why.empty() ? text : why;
    return std::nullopt;
  };
  Reader r(bytes, 0, bytes.size());
  DWORD headerSize, flags, iconIndex, showCommand, reserved;
  WORD reserved16;
  ShellLinkData link;
  if (!r.U32(&headerSize) || headerSize != kHeaderSize || bytes.size() < kHeaderSize) return fail("not a shell link");
  for (std::size_t i = 0; i < sizeof kLinkClsid; ++i)
    if (bytes[4 + i] != kLinkClsid[i]) return fail("wrong link class");
  r.Skip(16);
  r.U32(&flags);
  r.U32(&link.fileAttributes);
  r.Time(&link.creationTime);
  r.Time(&link.accessTime);
  r.Time(&link.writeTime);
  r.U32(&link.fileSize);
  r.U32(&iconIndex);
  r.U32(&showCommand);
  r.U16(&link.hotKey);
  r.U16(&reserved16);
  r.U32(&reserved);
  r.U32(&reserved);
  link.iconIndex = static_cast<int>(static_cast<LONG>(iconIndex));
  link.showCommand = static_cast<int>(showCommand);

  if (flags & HasLinkTargetIDList) {
    WORD idListSize;
    if (!r.U16(&idListSize) || !r.Skip(idListSize)) return fail("truncated item-id list");
  }
  if ((flags & HasLinkInfo) && !ReadLinkInfo(bytes, r, &link, &why)) return fail("bad LinkInfo");
  const bool unicode = flags & IsUnicode;
  const struct {
    DWORD flag;
    std::string* field;
  } strings[] = {{HasName, &link.description},
                 {HasRelativePath, &link.relativePath},
                 {HasWorkingDir, &link.workingDirectory},
                 {HasArguments, &link.arguments},
                 {HasIconLocation, &link.iconLocation}};
  for (const auto& s : strings)
    if ((flags & s.flag) && !ReadString(r, bytes, unicode, s.field)) return fail("truncated string data");
  // Without a local path the link is found through its relative path, and
  // a volume without a path describes nothing.
  if (link.target.empty()) {
    link.target = link.relativePath;
    link.volume = LinkVolume{};
  }

  while (true) {
    DWORD blockSize;
    if (!r.U32(&blockSize)) return fail("missing terminal block");
    if (blockSize < 4) break;
    if (!r.Skip(blockSize - 4)) return fail("truncated extra data");
  }
  return link;
}

}  // namespace qm::shell
