#include "install/startup/SingleInstance.h"

#include <cstring>
#include <string>

#include "platform/kernel/FileApi.h"
#include "platform/kernel/SystemInfo.h"

namespace {

std::string FileNamePart(const char* path) {
  const char* slash = std::strrchr(path, '\\');
  return slash != nullptr ? slash + 1 : path;
}

}  // namespace

bool IsInstallerRunning() {
  char ownPath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH - 1);
  const std::string ownName = FileNamePart(ownPath);

  int matches = 0;
  std::vector<PROCESSENTRY32> processes;
  EnumerateProcesses(processes);
  for (PROCESSENTRY32& process : processes) {
    process.szExeFile[MAX_PATH - 1] = '\0';
    if (FileNamePart(process.szExeFile) == ownName) ++matches;
  }
  return matches > 1;
}

void EnumerateProcesses(std::vector<PROCESSENTRY32>& processes) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(PROCESSENTRY32);
  if (Process32First(snapshot, &entry)) {
    do {
      processes.push_back(entry);
    } while (Process32Next(snapshot, &entry));
  }
  CloseHandle(snapshot);
}
