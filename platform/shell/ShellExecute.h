// Starting programs and opening documents and addresses. The platform runs
// no Windows programs. It runs host programs reached through a drive
// (Z:\usr\bin\true, or a script with its "#!" line, executable on the host)
// as processes of its own, and hands everything else to the host's opener
// through xdg-open and the launcher of Launcher.h: documents, http(s)
// addresses (the host's browser), and the Windows folder's text editor
// (notepad.exe), which opens its file in the host's text viewer.
#pragma once

#include "platform/kernel/WinTypes.h"

// Errors ShellExecuteA answers (as its HINSTANCE value); above 32 is success.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_NOASSOC = 31;
constexpr int ERROR_BAD_FORMAT = 11;  // a program the host cannot load

// Above 31 on success. "C:\Windows\notepad.exe <file>" (the file unquoted,
// blanks allowed, or quoted) opens the file; other programs, and a document
// that does not exist, give ERROR_FILE_NOT_FOUND.
UINT WinExec(LPCSTR commandLine, UINT show);

// Verb "open" (or none): an http or https address goes to the host browser;
// a host program runs with the parameters and in the directory given; an
// existing document (not a program) goes to the host opener; the text
// editor as with WinExec. A file without a drive is looked for in the
// directory.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);

constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;

struct SHELLEXECUTEINFOA {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCSTR lpVerb;
  LPCSTR lpFile;
  LPCSTR lpParameters;  // split into the program's arguments as its C runtime would
  LPCSTR lpDirectory;   // the program's working directory
  int nShow;
  HINSTANCE hInstApp;  // out: above 32 on success, else an SE_ERR_ code
  LPVOID lpIDList;
  LPCSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;  // out: with SEE_MASK_NOCLOSEPROCESS, the started program's
};
// The record's size on the 32-bit platform, which callers written for it
// give as cbSize; this build's own size is taken too.
constexpr DWORD SHELLEXECUTEINFOA_SIZE_32 = 60;

// As ShellExecuteA, FALSE with the last error set on failure. With
// SEE_MASK_NOCLOSEPROCESS, hProcess is the started program's process, for
// the caller to close; it is null when the request was handed on to the
// host (a document, an address, the text editor), as there is no process of
// ours to wait for.
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);
