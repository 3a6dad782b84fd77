// Line lists, grouped KB texts and pointer texts.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "install/service/Service.h"
#include "platform/kernel/Crt.h"

namespace {

// "КБайт" in code page 1251.
constexpr char kKbUnitWord[] = "\xCA\xC1\xE0\xE9\xF2";

}  // namespace

void ReadLineList(const std::string& name, std::vector<std::string>& lines) {
  lines.clear();
  std::FILE* file = CrtOpenFile(name.c_str(), "rb");
  if (file == nullptr) return;
  std::string text;
  char chunk[65536];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
  std::fclose(file);

  // A CR ends a line and the character after it is skipped, whatever it is.
  // A CR as the very last byte has nothing after it: the list then ends with
  // an empty line instead of reading beyond the text.
  std::size_t start = 0;
  for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', start)) {
    lines.push_back(text.substr(start, cr - start));
    start = cr + 2;
    if (start >= text.size()) {
      start = text.size();
      break;
    }
  }
  lines.push_back(text.substr(start));
}

bool WriteLineList(const std::vector<std::string>& lines, const std::string& name) {
  std::FILE* file = CrtOpenFile(name.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = true;
  for (const std::string& line : lines) {
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fwrite("\r\n", 1, 2, file) != 2)
      written = false;
  }
  if (std::fclose(file) != 0) written = false;
  return written;
}

std::string FormatKbText(std::int32_t kb) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d %s", static_cast<int>(kb), kKbUnitWord);
  std::string text = buffer;
  if (text.size() > 12) text.insert(text.size() - 12, " ");
  if (text.size() > 9) text.insert(text.size() - 9, " ");
  return text;
}

std::string PointerToText(const void* pointer) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "%08llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
  return buffer;
}

void* TextToPointer(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') && i + 2 < text.size() &&
      std::isxdigit(static_cast<unsigned char>(text[i + 2])))
    i += 2;
  std::uintptr_t value = 0;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    value = value * 16 + static_cast<std::uintptr_t>(c <= '9' ? c - '0' : c - 'A' + 10);
  }
  return reinterpret_cast<void*>(value);
}
