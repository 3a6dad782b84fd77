// Windows path rules: whatever a program writes, a path never leaves its
// drive's folder. The pure rules give only clean components (no ".", "..",
// empty part or separator), written and read again they stay the same, a
// path read in a folder read before folds as when read whole, and a
// resolution over a small fixed drive lands inside the drive's folder.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathRules.h"
#include "platform/kernel/Prefix.h"

using namespace qm::kernel;

namespace {

std::string driveFolder;

bool IsCleanComponent(const std::string& part) {
  return !part.empty() && part != "." && part != ".." && part.find_first_of("\\/") == std::string::npos &&
         IsWindowsName(part);
}

// The resolved host path lies in the drive's folder and climbs nowhere.
bool StaysInDrive(const std::string& host) {
  if (host.compare(0, driveFolder.size(), driveFolder) != 0) return false;
  std::string_view rest = std::string_view(host).substr(driveFolder.size());
  if (rest.empty()) return true;
  if (rest.front() != '/') return false;
  rest.remove_prefix(1);
  while (!rest.empty()) {
    std::size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    if (part.empty() || part == "." || part == "..") return false;
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
    if (rest.empty()) break;  // a trailing separator
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qm::fuzz::UseScratchPrefix("path-rules");
  // Drive Q: is a small tree of its own: a folder, a file, a name that needs
  // a short name, a hidden entry.
  driveFolder = qm::kernel::PrefixRoot() + "/drive_q";
  std::filesystem::create_directories(driveFolder + "/Games/Quellmoor");
  std::filesystem::create_directories(driveFolder + "/Long Folder Name");
  std::ofstream(driveFolder + "/readme.txt") << "x";
  std::ofstream(driveFolder + "/.hidden") << "x";
  MapDrive('Q', driveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  ParsedPath parsed = ParseWindowsPath(text);
  if (parsed.error == ERROR_SUCCESS) {
    QM_FUZZ_CHECK(parsed.path.drive >= 'A' && parsed.path.drive <= 'Z');
    for (const std::string& part : parsed.path.components) QM_FUZZ_CHECK(IsCleanComponent(part));
    ParsedPath again = ParseWindowsPath(FormatWindowsPath(parsed.path));
    QM_FUZZ_CHECK(again.error == ERROR_SUCCESS);
    QM_FUZZ_CHECK(again.path.drive == parsed.path.drive);
    QM_FUZZ_CHECK(again.path.components == parsed.path.components);
  }

  // The parser keeps the folders it read last. A path read right after
  // another in its folder folds as the whole path does; a last name of "."
  // makes the parser read the whole path name by name.
  const std::size_t cut = text.find_last_of("\\/");
  if (cut != std::string::npos) ParseWindowsPath(text.substr(0, cut + 1) + "p");
  ParsedPath kept = ParseWindowsPath(text);
  ParsedPath whole = ParseWindowsPath(text + "\\.");
  QM_FUZZ_CHECK(kept.error == whole.error);
  QM_FUZZ_CHECK(kept.path.drive == whole.path.drive);
  QM_FUZZ_CHECK(kept.path.components == whole.path.components);

  SearchTarget search = SplitSearchPath(text);
  if (search.error == ERROR_SUCCESS) {
    QM_FUZZ_CHECK(!search.pattern.empty());
    QM_FUZZ_CHECK(search.pattern.find_first_of("\\/") == std::string::npos);
    QM_FUZZ_CHECK(search.pattern != "." && search.pattern != "..");
  }

  // The same text on drive Q:, resolved over its folder: a few levels only,
  // each level a lookup in the host folder.
  if (size <= 256) {
    std::string onQ = "Q:" + (text.size() >= 2 && text[1] == ':' ? text.substr(2) : text);
    ResolvedPath resolved = ResolvePath(onQ);
    if (resolved.error == ERROR_SUCCESS) QM_FUZZ_CHECK(StaysInDrive(resolved.host));
  }
  return 0;
}
