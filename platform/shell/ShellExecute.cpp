#include "platform/shell/ShellExecute.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/CommandLine.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Prefix.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/kernel/host/ChildProcess.h"
#include "platform/registry/HiveText.h"
#include "platform/shell/Launcher.h"

namespace {

using qm::registry::EqualsIgnoreCase;

constexpr UINT kStarted = 33;

std::string Trim(const std::string& s) {
  std::size_t begin = s.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  std::size_t end = s.find_last_not_of(" \t");
  return s.substr(begin, end - begin + 1);
}

std::string Unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

bool EndsWithIgnoreCase(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && EqualsIgnoreCase(s.substr(s.size() - suffix.size()), suffix);
}

std::string WindowsDirectory() {
  char buffer[MAX_PATH];
  UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
  return (n > 0 && n < MAX_PATH) ? std::string(buffer, n) : std::string("C:\\Windows");
}

// The editor by its full name in the Windows or system folder, or by its
// bare name, which the search path finds there.
bool IsTextEditor(const std::string& program) {
  const std::string windows = WindowsDirectory();
  for (const std::string& name : {std::string("notepad"), std::string("notepad.exe")}) {
    if (EqualsIgnoreCase(program, name) || EqualsIgnoreCase(program, windows + "\\" + name) ||
        EqualsIgnoreCase(program, windows + "\\System\\" + name) ||
        EqualsIgnoreCase(program, windows + "\\System32\\" + name))
      return true;
  }
  return false;
}

bool IsProgram(const std::string& path) {
  for (const char* extension : {".exe", ".com", ".bat", ".cmd", ".pif"})
    if (EndsWithIgnoreCase(path, extension)) return true;
  return false;
}

std::optional<std::string> ExistingHostFile(const std::string& windowsPath) {
  DWORD attributes = GetFileAttributesA(windowsPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return qm::kernel::ResolveWindowsPath(windowsPath);
}

// Opens a document in the host's opener; false when it cannot be found or
// the opener cannot be started.
bool OpenDocument(const std::string& request, const std::string& windowsPath) {
  std::optional<std::string> host = ExistingHostFile(windowsPath);
  return host && qm::shell::Launch({request, {"xdg-open", *host}});
}

bool IsWebAddress(const std::string& file) {
  for (const char* scheme : {"http://", "https://"}) {
    std::string s = scheme;
    if (file.size() > s.size() && EqualsIgnoreCase(file.substr(0, s.size()), s)) return true;
  }
  return false;
}

HINSTANCE AsInstance(int value) { return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(value)); }

// What the shell made of a request: kStarted or an error below 32, and the
// started program's process when one was asked for.
struct Outcome {
  int instance;
  HANDLE process = nullptr;
};

Outcome Failed(int instance, DWORD error) {
  SetLastError(error);
  return {instance};
}

// A host program, its parameters split into arguments as a program of the
// platform receives them, in the working folder asked for.
Outcome RunProgram(const std::string& hostProgram, const std::string& parameters, const std::string& directory,
                   bool wantProcess) {
  std::string folder;
  if (!directory.empty()) {
    DWORD attributes = GetFileAttributesA(directory.c_str());
    std::optional<std::string> host = qm::kernel::ResolveWindowsPath(directory);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) || !host)
      return Failed(SE_ERR_PNF, ERROR_DIRECTORY);
    folder = *host;
  }
  std::vector<std::string> argv{hostProgram};
  for (std::string& argument : qm::kernel::SplitArguments(parameters)) argv.push_back(std::move(argument));
  HANDLE process = nullptr;
  if (!qm::kernel::StartProcess(hostProgram, argv, folder, wantProcess ? &process : nullptr)) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND: return {SE_ERR_FNF};
      case ERROR_PATH_NOT_FOUND: return {SE_ERR_PNF};
      case ERROR_ACCESS_DENIED: return {SE_ERR_ACCESSDENIED};
      case ERROR_BAD_EXE_FORMAT: return {ERROR_BAD_FORMAT};
      default: return {SE_ERR_NOASSOC};
    }
  }
  return {static_cast<int>(kStarted), process};
}

Outcome Open(LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show, bool wantProcess) {
  std::string verb = operation ? operation : "";
  if (!verb.empty() && !EqualsIgnoreCase(verb, "open")) return Failed(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
  std::string target = file ? file : "";
  if (target.empty()) return Failed(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
  if (IsWebAddress(target)) {
    if (qm::shell::Launch({target, {"xdg-open", target}})) return {static_cast<int>(kStarted)};
    return Failed(SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
  }
  std::string folder = directory ? directory : "";
  if (target.size() < 2 || target[1] != ':') {
    if (folder.empty()) return Failed(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    target = folder + (folder.back() == '\\' ? "" : "\\") + target;
  }
  std::string args = parameters ? parameters : "";
  // The editor is the host's viewer, started to outlive us: there is no
  // process of ours to wait for.
  if (IsTextEditor(target) || IsTextEditor(file)) {
    std::string line = target + (args.empty() ? "" : " " + args);
    if (WinExec(line.c_str(), static_cast<UINT>(show)) > 31) return {static_cast<int>(kStarted)};
    return Failed(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
  }
  std::optional<std::string> host = ExistingHostFile(target);
  if (host && qm::kernel::host::IsRunnableProgram(*host)) return RunProgram(*host, args, folder, wantProcess);
  // A program for the original platform, which this one cannot run.
  if (IsProgram(target)) return Failed(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
  // A document goes to the host's opener, which gives no process either.
  if (OpenDocument(target, target)) return {static_cast<int>(kStarted)};
  return Failed(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
}

}  // namespace

UINT WinExec(LPCSTR commandLine, UINT show) {
  (void)show;
  std::string line = Trim(commandLine ? commandLine : "");
  std::string program, rest;
  if (!line.empty() && line.front() == '"') {
    std::size_t close = line.find('"', 1);
    program = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    rest = close == std::string::npos ? "" : line.substr(close + 1);
  } else {
    std::size_t blank = line.find_first_of(" \t");
    program = line.substr(0, blank);
    rest = blank == std::string::npos ? "" : line.substr(blank + 1);
  }
  std::string document = Unquote(Trim(rest));
  if (!IsTextEditor(program) || document.empty() || !OpenDocument(commandLine, document)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return ERROR_FILE_NOT_FOUND;
  }
  return kStarted;
}

HINSTANCE ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
  (void)owner;
  return AsInstance(Open(operation, file, parameters, directory, show, false).instance);
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
  if (!info || (info->cbSize != SHELLEXECUTEINFOA_SIZE_32 && info->cbSize != sizeof(SHELLEXECUTEINFOA))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Outcome outcome = Open(info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory, info->nShow,
                         (info->fMask & SEE_MASK_NOCLOSEPROCESS) != 0);
  info->hInstApp = AsInstance(outcome.instance);
  info->hProcess = outcome.process;
  return outcome.instance > 32 ? TRUE : FALSE;
}
