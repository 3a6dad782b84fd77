// Starting a program through the shell and waiting for its end.
#include <cstring>

#include "install/service/Service.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Synch.h"
#include "platform/kernel/SystemInfo.h"
#include "platform/shell/ShellExecute.h"

std::int32_t RunAndWait(HWND owner, const char* file, const char* parameters, const char* directory, int showCommand) {
  SHELLEXECUTEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = SHELLEXECUTEINFOA_SIZE_32;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = owner;
  info.lpFile = file;
  info.lpParameters = parameters;
  info.lpDirectory = directory;
  info.nShow = showCommand;
  if (!ShellExecuteExA(&info)) return -1;
  if (!info.hProcess) return 0;

  SetPriorityClass(info.hProcess, HIGH_PRIORITY_CLASS);
  // A class that cannot be read could not be put back: it is then left as
  // it is.
  const DWORD ownClass = GetPriorityClass(GetCurrentProcess());
  if (ownClass != 0) SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(info.hProcess, &exitCode);
  if (ownClass != 0) SetPriorityClass(GetCurrentProcess(), ownClass);
  CloseHandle(info.hProcess);
  return static_cast<std::int32_t>(exitCode);
}
