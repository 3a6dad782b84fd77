// Files and directories with Windows path rules over the drive map.
#pragma once

#include <compare>

#include "platform/kernel/WinTypes.h"

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData);

enum FINDEX_INFO_LEVELS { FindExInfoStandard, FindExInfoBasic, FindExInfoMaxInfoLevel };
enum FINDEX_SEARCH_OPS { FindExSearchNameMatch, FindExSearchLimitToDirectories, FindExSearchLimitToDevices };
// FindFirstFileA with choices: FindExInfoBasic leaves the short names out
// (cAlternateFileName empty), FindExSearchLimitToDirectories finds only
// directories. The search filter must be null; no additional flags are
// known.
HANDLE FindFirstFileExA(LPCSTR fileName, FINDEX_INFO_LEVELS infoLevel, LPVOID findData, FINDEX_SEARCH_OPS searchOp,
                        LPVOID searchFilter, DWORD additionalFlags);
BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData);
BOOL FindClose(HANDLE findFile);

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel };

struct WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
};

DWORD GetFileAttributesA(LPCSTR fileName);
// Attributes, times and size (0 for a folder) in a WIN32_FILE_ATTRIBUTE_DATA.
BOOL GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID fileInformation);
BOOL SetFileAttributesA(LPCSTR fileName, DWORD attributes);

// The full form of a path on a drive letter, as every call reads it:
// separators made backslashes and doubled ones single, "." and ".." folded,
// trailing dots and spaces of names gone, "X:a" taken from the drive's root;
// the drive letter's case and a trailing backslash stay. The host is not consulted. The length without
// the terminator, or the size needed with it when the buffer is too small;
// 0 with ERROR_INVALID_NAME for a path with no drive letter (the platform
// keeps no current folder) or with a name no Windows path can hold.
// `filePart`, when given, receives where the last name starts (null after
// a trailing backslash).
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes);
BOOL RemoveDirectoryA(LPCSTR pathName);
BOOL DeleteFileA(LPCSTR fileName);
BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists);

BOOL GetDiskFreeSpaceA(LPCSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD numberOfFreeClusters, LPDWORD totalNumberOfClusters);

// Generic handle close: find handles, snapshots, tokens, processes.
BOOL CloseHandle(HANDLE object);

#include <optional>

namespace qm::kernel {
// Fixes the free space GetDiskFreeSpaceA reports for a drive (tests of the
// space checks; a host disk's free space moves under a running test). No
// value restores the real one.
void SetDiskFreeSpaceOverride(char driveLetter, std::optional<ULONGLONG> freeBytes);
std::optional<ULONGLONG> DiskFreeSpaceOverride(char driveLetter);

// Which file or folder a path names, links followed: the volume and file
// index GetFileInformationByHandle reports for it, equal for every path of
// one entry however it is written or linked to. A walk of a tree compares
// them to see a folder it is already inside. Nothing, with the last error
// set, when the path names nothing.
struct FileIdentity {
  ULONGLONG volume = 0;
  ULONGLONG index = 0;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> IdentifyFile(LPCSTR fileName);
}  // namespace qm::kernel
