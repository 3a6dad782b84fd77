// The process snapshot, from the host's process list (host/Process).
#include "platform/kernel/ToolHelp.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/kernel/HandleTable.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/host/Process.h"

namespace {

using namespace qm::kernel;

struct ProcessSnapshot : KernelObject {
  std::vector<PROCESSENTRY32> entries;
  size_t next = 0;
};

PROCESSENTRY32 EntryOf(const qm::kernel::host::ProcessInfo& process) {
  PROCESSENTRY32 entry;
  std::memset(&entry, 0, sizeof entry);
  entry.dwSize = sizeof entry;
  entry.th32ProcessID = static_cast<DWORD>(process.id);
  entry.th32ParentProcessID = static_cast<DWORD>(process.parentId);
  entry.cntThreads = static_cast<DWORD>(process.threads);
  entry.pcPriClassBase = 8;  // normal priority class
  std::strncpy(entry.szExeFile, process.executableName.c_str(), sizeof entry.szExeFile - 1);
  return entry;
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
  auto snapshot = std::make_unique<ProcessSnapshot>();
  if (flags & TH32CS_SNAPPROCESS) {
    std::vector<qm::kernel::host::ProcessInfo> processes;
    if (!qm::kernel::host::ListProcesses(&processes)) {
      SetLastErrorFromErrno(errno);
      return INVALID_HANDLE_VALUE;
    }
    for (const auto& process : processes) snapshot->entries.push_back(EntryOf(process));
    std::sort(snapshot->entries.begin(), snapshot->entries.end(),
              [](const PROCESSENTRY32& a, const PROCESSENTRY32& b) { return a.th32ProcessID < b.th32ProcessID; });
  }
  return InsertHandle(std::move(snapshot));
}

namespace {

BOOL NextEntry(HANDLE snapshotHandle, LPPROCESSENTRY32 entry, bool first) {
  auto* snapshot = LookupHandle<ProcessSnapshot>(snapshotHandle);
  if (!snapshot) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!entry || entry->dwSize != sizeof(PROCESSENTRY32)) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  if (first) snapshot->next = 0;
  if (snapshot->next >= snapshot->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *entry = snapshot->entries[snapshot->next++];
  return TRUE;
}

}  // namespace

BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) { return NextEntry(snapshot, entry, true); }

BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) { return NextEntry(snapshot, entry, false); }
