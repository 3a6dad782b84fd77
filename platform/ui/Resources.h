// The program's resources by id (strings, bitmaps, icons, dialog templates)
// and the system's own icons and cursors. The program registers its compiled-in
// resources at start; the window system and the program load them by id.
#pragma once

#include <cstddef>
#include <string>

#include "platform/kernel/WinTypes.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/WinUser.h"

inline LPCSTR const IDI_APPLICATION = MAKEINTRESOURCEA(32512);
inline LPCSTR const IDI_HAND = MAKEINTRESOURCEA(32513);
inline LPCSTR const IDI_ERROR = IDI_HAND;
inline LPCSTR const IDI_QUESTION = MAKEINTRESOURCEA(32514);
inline LPCSTR const IDI_EXCLAMATION = MAKEINTRESOURCEA(32515);
inline LPCSTR const IDI_WARNING = IDI_EXCLAMATION;
inline LPCSTR const IDI_ASTERISK = MAKEINTRESOURCEA(32516);
inline LPCSTR const IDI_INFORMATION = IDI_ASTERISK;
inline LPCSTR const IDC_ARROW = MAKEINTRESOURCEA(32512);
inline LPCSTR const IDC_IBEAM = MAKEINTRESOURCEA(32513);
inline LPCSTR const IDC_SIZENWSE = MAKEINTRESOURCEA(32642);
inline LPCSTR const IDC_SIZENESW = MAKEINTRESOURCEA(32643);
inline LPCSTR const IDC_SIZEWE = MAKEINTRESOURCEA(32644);
inline LPCSTR const IDC_SIZENS = MAKEINTRESOURCEA(32645);
inline LPCSTR const IDC_HELP = MAKEINTRESOURCEA(32651);

// A null instance loads the system's icons (IDI_*) and cursors.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
// The string's length, 0 when there is no such string (nothing is copied then).
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);

HBITMAP CreateBitmapFromPng(const void* data, std::size_t size);
HICON CreateIconFromPng(const void* data, std::size_t size);

namespace qm::ui {
void RegisterStringResource(UINT id, const std::string& text);
// PNG images; an icon keeps its alpha as the icon's mask.
void RegisterBitmapResource(UINT id, const void* pngData, std::size_t size);
void RegisterIconResource(UINT id, const void* pngData, std::size_t size);
void RegisterDialogResource(UINT id, const DialogTemplate& dialogTemplate);
// Null when there is no template of that id.
const DialogTemplate* FindDialogResource(UINT id);
}  // namespace qm::ui
