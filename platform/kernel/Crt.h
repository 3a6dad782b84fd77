// The C runtime's file calls for Windows paths: the installer opens and
// examines files by their Windows names, which the host C library cannot
// resolve.
#pragma once

#include <cstdio>

#include "platform/kernel/WinTypes.h"

struct CrtStat {
  std::uint32_t size;  // low 32 bits, as the 32-bit runtime reports it
  bool isDirectory;
  bool isReadOnly;
};

// fopen with a Windows path; the mode is fopen's ("r", "rb", "r+", "w", "wb").
std::FILE* CrtOpenFile(LPCSTR windowsPath, LPCSTR mode);
// _stat with a Windows path: 0 on success, -1 when the name cannot be found.
int CrtStatFile(LPCSTR windowsPath, CrtStat* result);
