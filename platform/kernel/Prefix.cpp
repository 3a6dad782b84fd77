// The prefix folder and the drive map, from the environment and the host
// boundary (host/).
#include "platform/kernel/Prefix.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "platform/kernel/host/AtomicWrite.h"
#include "platform/kernel/host/Process.h"

namespace qm::kernel {
namespace {

constexpr const char* kDriveMapFile = "drives";

struct PrefixState {
  std::mutex mutex;
  std::string root;
  bool ready = false;
  // Drives recorded in the prefix; C: and Z: have defaults besides.
  std::map<char, std::string> drives;
};

PrefixState& State() {
  static PrefixState state;
  return state;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string AbsoluteHostPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  return WithoutTrailingSlashes(absolute.lexically_normal().string());
}

std::string DefaultRoot() {
  const char* prefix = std::getenv("QUELLMOOR_PREFIX");
  if (prefix && *prefix) return AbsoluteHostPath(prefix);
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and is ignored.
  if (dataHome && dataHome[0] == '/') return WithoutTrailingSlashes(dataHome) + "/quellmoor";
  const char* home = std::getenv("HOME");
  std::string homeFolder = home && *home ? home : "";
  if (homeFolder.empty()) homeFolder = host::UserHomeFolder();
  return WithoutTrailingSlashes(homeFolder) + "/.local/share/quellmoor";
}

std::map<char, std::string> ReadDriveMap(const std::string& file) {
  std::map<char, std::string> drives;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // edited on Windows
    if (line.size() < 3 || line[1] != '=' || line[2] != '/') continue;
    char letter = static_cast<char>(line[0] & ~0x20);
    if (letter < 'A' || letter > 'Z') continue;
    drives[letter] = WithoutTrailingSlashes(line.substr(2));
  }
  return drives;
}

void WriteDriveMap(const std::string& file, const std::map<char, std::string>& drives) {
  std::string text = "# Drives of the Windows-like environment: letter=host folder\n";
  for (const auto& [letter, folder] : drives) text += std::string{letter, '='} + folder + '\n';
  // Replaced whole, so a reader never sees half a map.
  host::WriteFileAtomically(file, text);
}

void MakeReady(PrefixState& state) {
  if (state.ready) return;
  if (state.root.empty()) state.root = DefaultRoot();
  static constexpr const char* kSkeleton[] = {
      "drive_c/Windows/Temp", "drive_c/Windows/System", "drive_c/Windows/Start Menu/Programs",
      "drive_c/Windows/Desktop"};
  std::error_code ec;
  for (const char* folder : kSkeleton) std::filesystem::create_directories(state.root + "/" + folder, ec);
  state.drives = ReadDriveMap(state.root + "/" + kDriveMapFile);
  state.ready = true;
}

std::optional<std::string> FolderOf(const PrefixState& state, char letter) {
  auto it = state.drives.find(letter);
  if (it != state.drives.end()) return it->second;
  if (letter == 'C') {
    std::string folder;
    folder.reserve(state.root.size() + 8);
    folder.append(state.root).append("/drive_c");
    return folder;
  }
  if (letter == 'Z') return std::string("/");
  return std::nullopt;
}

}  // namespace

const std::string& PrefixRoot() {
  PrefixState& state = State();
  std::lock_guard lock(state.mutex);
  MakeReady(state);
  return state.root;
}

void SetPrefixRoot(const std::string& hostPath) {
  PrefixState& state = State();
  std::lock_guard lock(state.mutex);
  state.root = AbsoluteHostPath(hostPath);
  state.ready = false;
  state.drives.clear();
}

std::optional<std::string> DriveFolder(char driveLetter) {
  char letter = static_cast<char>(driveLetter & ~0x20);
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  PrefixState& state = State();
  std::lock_guard lock(state.mutex);
  MakeReady(state);
  return FolderOf(state, letter);
}

void MapDrive(char driveLetter, const std::string& hostFolder) {
  char letter = static_cast<char>(driveLetter & ~0x20);
  if (letter < 'A' || letter > 'Z') return;
  PrefixState& state = State();
  std::lock_guard lock(state.mutex);
  MakeReady(state);
  if (hostFolder.empty()) state.drives.erase(letter);
  else state.drives[letter] = AbsoluteHostPath(hostFolder);
  WriteDriveMap(state.root + "/" + kDriveMapFile, state.drives);
}

std::string HostToWindowsPath(const std::string& hostPath) {
  std::string path = AbsoluteHostPath(hostPath);
  PrefixState& state = State();
  std::lock_guard lock(state.mutex);
  MakeReady(state);
  char bestLetter = 0;
  std::string bestFolder;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::optional<std::string> folder = FolderOf(state, letter);
    if (!folder) continue;
    bool holds = *folder == "/" || path == *folder ||
                 (path.size() > folder->size() && path.compare(0, folder->size(), *folder) == 0 &&
                  path[folder->size()] == '/');
    if (holds && (bestLetter == 0 || folder->size() > bestFolder.size())) {
      bestLetter = letter;
      bestFolder = *folder;
    }
  }
  if (bestLetter == 0) return std::string();
  std::string rest = path.substr(bestFolder == "/" ? 1 : std::min(path.size(), bestFolder.size() + 1));
  for (char& c : rest)
    if (c == '/') c = '\\';
  return std::string{bestLetter, ':', '\\'} + rest;
}

}  // namespace qm::kernel
