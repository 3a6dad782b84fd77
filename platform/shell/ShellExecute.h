// Starting programs and opening documents and addresses. The platform runs
// no Windows programs; what it can do is hand a document to the host's
// opener: the Windows folder's text editor (notepad.exe) opens its file in
// the host's text viewer, an http(s) address opens in the host's browser,
// both through xdg-open and the launcher of Launcher.h.
#pragma once

#include "platform/kernel/WinTypes.h"

// Errors ShellExecuteA answers (as its HINSTANCE value); above 32 is success.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_NOASSOC = 31;

// Above 31 on success. "C:\Windows\notepad.exe <file>" (the file unquoted,
// blanks allowed, or quoted) opens the file; other programs, and a document
// that does not exist, give ERROR_FILE_NOT_FOUND.
UINT WinExec(LPCSTR commandLine, UINT show);

// Verb "open" (or none): an http or https address goes to the host browser;
// an existing document (not a program) to the host opener; the text editor
// as with WinExec.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
