// The process snapshot: every running process with its executable file name.
#pragma once

#include "platform/kernel/WinTypes.h"

constexpr DWORD TH32CS_SNAPPROCESS = 0x00000002;

// Laid out as on the 32-bit platform, 296 bytes, so dwSize checks agree.
struct PROCESSENTRY32 {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  DWORD th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  CHAR szExeFile[MAX_PATH];
};
static_assert(sizeof(PROCESSENTRY32) == 296);
using LPPROCESSENTRY32 = PROCESSENTRY32*;

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry);
