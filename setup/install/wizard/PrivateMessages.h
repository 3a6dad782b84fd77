// The program's private messages: both sheets post them to their owner, the
// main window, with both parameters 0.
#pragma once

#include "platform/ui/WinUser.h"

// Cancel was pressed on a sheet; the main window takes no action.
constexpr UINT WM_SHEET_CANCEL = WM_USER + 1;
// The start page was confirmed: run the installation now.
constexpr UINT WM_START_INSTALLATION = WM_USER + 2;
