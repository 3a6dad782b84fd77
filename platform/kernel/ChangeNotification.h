// Change notifications on a folder or a folder tree. The handle is signalled
// once a change of the kinds asked for has happened since it was made or
// last re-armed (FindNextChangeNotification); however many changes come
// before the re-arm, a wait sees one. With watchSubtree, folders made below
// the watched one while it is watched are watched too.
#pragma once

#include "platform/kernel/WinTypes.h"

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x00000001;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x00000002;
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x00000004;
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x00000008;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x00000010;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_ACCESS = 0x00000020;
constexpr DWORD FILE_NOTIFY_CHANGE_CREATION = 0x00000040;
constexpr DWORD FILE_NOTIFY_CHANGE_SECURITY = 0x00000100;

// INVALID_HANDLE_VALUE with the last error set: the error of the path for a
// folder that does not exist, ERROR_DIRECTORY for a file,
// ERROR_INVALID_PARAMETER for a filter without a known kind.
HANDLE FindFirstChangeNotificationA(LPCSTR pathName, BOOL watchSubtree, DWORD notifyFilter);
BOOL FindNextChangeNotification(HANDLE changeHandle);
BOOL FindCloseChangeNotification(HANDLE changeHandle);
