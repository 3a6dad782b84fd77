#include "platform/directx/RuntimePackage.h"

#include "platform/registry/HiveText.h"

namespace qm::directx {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A file of the package must stay inside the package folder.
bool IsSafeRelativeName(std::string_view name) {
  if (name.empty() || name.front() == '\\' || name.front() == '/' || name.find(':') != std::string_view::npos)
    return false;
  std::size_t start = 0;
  while (true) {
    std::size_t end = name.find_first_of("\\/", start);
    std::string_view part = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part.empty() || part == "." || part == "..") return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace

std::optional<RuntimePackage> ParseRuntimePackage(std::string_view text, std::string* error) {
  using qm::registry::EqualsIgnoreCase;
  RuntimePackage package;
  bool haveVersion = false;
  int lineNumber = 0;
  auto fail = [&](const std::string& why) -> std::optional<RuntimePackage> {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  while (!text.empty()) {
    ++lineNumber;
    std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return fail("expected Name=value");
    std::string_view key = Trim(line.substr(0, equals));
    std::string_view value = Trim(line.substr(equals + 1));
    if (EqualsIgnoreCase(key, "Version")) {
      std::optional<DirectXVersion> version = ParseDirectXVersion(value);
      if (haveVersion || !version) return fail("bad or repeated Version");
      package.versionText = std::string(value);
      package.version = *version;
      haveVersion = true;
    } else if (EqualsIgnoreCase(key, "Restart")) {
      if (EqualsIgnoreCase(value, "yes")) {
        package.needsRestart = true;
      } else if (EqualsIgnoreCase(value, "no")) {
        package.needsRestart = false;
      } else {
        return fail("Restart must be yes or no");
      }
    } else if (EqualsIgnoreCase(key, "File")) {
      if (!IsSafeRelativeName(value)) return fail("file name outside the package");
      package.files.emplace_back(value);
    } else {
      return fail("unknown entry " + std::string(key));
    }
  }
  if (!haveVersion) {
    lineNumber = 0;
    return fail("no Version");
  }
  return package;
}

}  // namespace qm::directx
