// The installer's file-system, system and text services: stateless free
// functions over Windows path strings. They show nothing and throw nothing;
// every outcome is a return value. Directory arguments carry no trailing
// backslash: the operations append "\" and a name, or "\*.*", themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"

// --- Directory tree operations -------------------------------------------

// True when a search for the name (or pattern) finds anything.
bool FileExists(const std::string& name);
// True when the first entry found for the name is a directory; false for null.
bool IsDirectory(const char* name);
inline bool IsDirectory(const std::string& name) { return IsDirectory(name.c_str()); }
// Creates every level of the path; true when the path is a directory
// afterwards. A path ending in a backslash is created but answers false,
// because a search never finds such a name.
bool CreateDirectoryPath(const std::string& path);
// Bytes of all files below dir, as a 32-bit number that wraps; 0 when dir is
// not a directory.
std::int32_t GetDirectorySize(const std::string& dir);
// The same walk with the full 64-bit file sizes and a 64-bit total.
std::uint64_t GetDirectorySize64(const std::string& dir);
// Deletes what it can below dir and then dir itself; true when dir is gone.
// Read-only and open files stay where they are.
bool DeleteDirectoryTree(const std::string& dir);
// True when dir holds nothing besides "." and "..", or cannot be searched.
bool IsDirectoryEmpty(const std::string& dir);
// True when the file cannot be opened for update (missing and read-only
// files count as busy).
bool IsFileBusy(const std::string& name);
// Last-write time of the first entry found (100-ns intervals since 1601);
// 0 when nothing is found.
std::uint64_t GetFileWriteTime(const std::string& name);
// The 8.3 name of the entry found, else its long name; empty when not found.
std::string GetShortEntryName(const std::string& name);
// The long name of the entry found; empty when not found.
std::string GetLongEntryName(const std::string& name);
// The path with its existing directory components in short / long form;
// file names, drives and missing components stay as written.
std::string ToShortPath(const std::string& path);
std::string ToLongPath(const std::string& path);

// --- Disk space and system queries ---------------------------------------

// Free space in KB of the drive whose root starts the path (C:\ for
// C:\Games); 0 on failure, at most 2147483647.
std::int32_t GetDiskFreeKb(const std::string& path);
// The KB count behind GetDiskFreeKb: bytes per cluster times free clusters
// over 1024, truncated, and capped at 2147483647.
std::int32_t FreeClustersToKb(std::uint32_t bytesPerCluster, std::uint32_t freeClusters);
bool IsWindowsNT();
// The temporary directory without its trailing backslash (a bare root keeps it).
std::string GetTempDirectory();
// Full file name of a loaded module; null (or a module not loaded) names the
// program itself.
std::string GetModulePath(const char* moduleName);

// --- Checksums -----------------------------------------------------------

// One byte into a running CRC-32 state (reflected polynomial 0xEDB88320).
std::uint32_t UpdateCrc32(std::uint32_t state, std::uint8_t byte);
// CRC-32 state after the file's bytes and, unless the file already ends in
// one, an end-of-file byte 0x1A; 0xFFFFFFFF when the file cannot be opened.
std::uint32_t FileCrc32(const std::string& name);
// CRC-32 state after the bytes of the string; not inverted at the end.
std::uint32_t StringCrc32(const char* text);

// --- Text utilities ------------------------------------------------------

// The file's lines, ended by CR (the character after a CR is skipped too);
// the text after the last CR is always the last line, even when empty.
// An unreadable file leaves the list empty.
void ReadLineList(const std::string& name, std::vector<std::string>& lines);
// Writes each line followed by CR LF; false when the file cannot be written.
bool WriteLineList(const std::vector<std::string>& lines, const std::string& name);
// "1 234 567 КБайт" with the unit word in code page 1251.
std::string FormatKbText(std::int32_t kb);
// The pointer as at least 8 upper-case hexadecimal digits.
std::string PointerToText(const void* pointer);
// The pointer written by PointerToText; null when nothing can be read.
void* TextToPointer(const std::string& text);

// --- Process launch and wait ---------------------------------------------

// Starts the file (a program, or a document through its default verb) with
// the parameters (may be null) in the directory (may be null), waits
// without processing messages until the started process has ended, and
// returns its exit code. While it waits the started process runs at high
// priority and the installer at normal priority; the installer's class is
// restored before the return. -1 when the shell cannot start the file
// (both priorities untouched); 0 when the shell hands the file on without a
// process to wait for (a document given to the host's opener): nothing to
// wait for and nothing failed.
std::int32_t RunAndWait(HWND owner, const char* file, const char* parameters, const char* directory, int showCommand);

// --- Directory change watcher --------------------------------------------

// The caller owns the record and fills in messageId, window and path; it
// must stay in place, with those three unchanged, while the watch runs: the
// watch thread reads it by address.
struct DirectoryWatch {
  std::uint32_t messageId = 0;
  HWND window = nullptr;
  HANDLE changeHandle = nullptr;
  HANDLE threadHandle = nullptr;
  std::string path;
  std::int32_t running = 0;
};

// Watches the tree below path for the changes in notifyFilter (the
// FILE_NOTIFY_CHANGE_ bits) and posts (messageId, 0, 0) to the window for
// each wake-up of the watch; changes that come together may share one.
// Returns 1 when the watch runs, 0 otherwise (nothing is left open then).
// A record that is running is stopped first.
int StartDirectoryWatch(DirectoryWatch& watch, std::uint32_t notifyFilter);
// Returns 1 when a running watch was stopped, 0 when the record was not
// running. Returns only once the watch thread has ended; the record's
// handles are closed and cleared.
int StopDirectoryWatch(DirectoryWatch& watch);
// The watch thread's routine; its parameter is the record. Returns 1 once
// its wait fails.
DWORD DirectoryWatchThread(void* watch);
