// A thread that turns the platform's change notifications on a tree into
// messages to a window.
#include "install/service/Service.h"
#include "platform/kernel/ChangeNotification.h"
#include "platform/kernel/FileApi.h"
#include "platform/kernel/Synch.h"
#include "platform/kernel/Thread.h"
#include "platform/ui/WinUser.h"

int StartDirectoryWatch(DirectoryWatch& watch, std::uint32_t notifyFilter) {
  // A second start would leave the first watch's thread running with
  // nobody to stop it.
  StopDirectoryWatch(watch);
  watch.running = 0;
  HANDLE change = FindFirstChangeNotificationA(watch.path.c_str(), TRUE, notifyFilter);
  if (change == INVALID_HANDLE_VALUE) return 0;
  // The thread reads the handle from the record, so it is there first.
  watch.changeHandle = change;
  HANDLE thread = CreateThread(nullptr, 0, DirectoryWatchThread, &watch, 0, nullptr);
  if (!thread) {
    FindCloseChangeNotification(change);
    watch.changeHandle = nullptr;
    return 0;
  }
  watch.threadHandle = thread;
  watch.running = 1;
  return 1;
}

int StopDirectoryWatch(DirectoryWatch& watch) {
  if (watch.running == 0) return 0;
  // The thread is asked to end and wakes from its wait; it has ended when
  // its handle is signalled.
  TerminateThread(watch.threadHandle, 0);
  WaitForSingleObject(watch.threadHandle, INFINITE);
  CloseHandle(watch.threadHandle);
  FindCloseChangeNotification(watch.changeHandle);
  watch.threadHandle = nullptr;
  watch.changeHandle = nullptr;
  watch.running = 0;
  return 1;
}

DWORD DirectoryWatchThread(void* parameter) {
  const DirectoryWatch& watch = *static_cast<const DirectoryWatch*>(parameter);
  while (WaitForSingleObject(watch.changeHandle, INFINITE) == WAIT_OBJECT_0) {
    PostMessageA(watch.window, watch.messageId, 0, 0);
    FindNextChangeNotification(watch.changeHandle);
  }
  return 1;
}
