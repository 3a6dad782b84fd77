#include "install/startup/Installer.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "install/settings/InstallationSettings.h"
#include "platform/kernel/Crt.h"

namespace {

// Reads the next white-space separated token, of any length. False when the
// file ends before a token starts.
bool ReadToken(std::FILE* file, std::string& token) {
  token.clear();
  int c;
  do {
    c = std::fgetc(file);
  } while (c != EOF && std::isspace(c));
  if (c == EOF) return false;
  do {
    token.push_back(static_cast<char>(c));
    c = std::fgetc(file);
  } while (c != EOF && !std::isspace(c));
  return true;
}

// The token's leading decimal integer (optional sign, then digits), 0 when
// it has none. Numbers beyond the signed 32-bit range stay at its ends
// instead of overflowing.
std::int32_t LeadingNumber(const std::string& token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (token[i] - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

bool Installer::ReadConfiguration() {
  std::string path = GetInstallerDirectory() + "install.cfg";
  std::FILE* file = CrtOpenFile(path.c_str(), "r");
  if (file == nullptr) return false;
  // The total is a signed 32-bit sum kept as its bit pattern; unsigned
  // arithmetic makes its wrap-around defined.
  std::uint32_t total = 0;
  std::string size;
  std::string name;
  while (ReadToken(file, size)) {
    total += static_cast<std::uint32_t>(LeadingNumber(size));
    ReadToken(file, name);
  }
  std::fclose(file);
  Settings().requiredSizeKb = total;
  return true;
}
