// install.cfg as the installer reads it at start-up: any content is read
// (the file opens, so the reading says true) and gives the sum a plain
// reading of the format gives: white-space separated pairs, the leading
// decimal number of each size token, cut to 255 characters, held at the
// ends of the signed 32-bit range, summed with 32-bit wrap-around, of the
// text before a Ctrl-Z (which ends a file read in text mode).
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "install/settings/InstallationSettings.h"
#include "install/startup/Installer.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/SystemInfo.h"

namespace {

std::string configPath;

std::uint32_t ExpectedSum(const std::string& file) {
  const std::string text = file.substr(0, file.find('\x1a'));
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i == text.size()) break;
    std::size_t end = i;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
    tokens.push_back(text.substr(i, std::min<std::size_t>(end - i, 255)));
    i = end;
  }
  std::uint32_t sum = 0;
  for (std::size_t t = 0; t < tokens.size(); t += 2) {
    const std::string& token = tokens[t];
    std::size_t at = 0;
    bool negative = false;
    if (at < token.size() && (token[at] == '+' || token[at] == '-')) negative = token[at++] == '-';
    long long value = 0;
    for (; at < token.size() && token[at] >= '0' && token[at] <= '9'; ++at) {
      value = value * 10 + (token[at] - '0');
      if (value > 2147483648LL) value = 2147483648LL;
    }
    if (!negative && value > 2147483647LL) value = 2147483647LL;
    sum += static_cast<std::uint32_t>(negative ? -value : value);
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qm::fuzz::UseScratchPrefix("install-cfg");
  std::string folder = qm::kernel::PrefixRoot() + "/drive_c/dist";
  std::filesystem::create_directories(folder);
  configPath = folder + "/install.cfg";
  qm::kernel::SetModuleFileNameOverride("C:\\dist\\setup.exe");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  { std::ofstream(configPath, std::ios::binary | std::ios::trunc) << text; }
  Settings().requiredSizeKb = 0xDEADBEEF;
  QM_FUZZ_CHECK(Installer().ReadConfiguration());
  QM_FUZZ_CHECK(Settings().requiredSizeKb == ExpectedSum(text));
  return 0;
}
