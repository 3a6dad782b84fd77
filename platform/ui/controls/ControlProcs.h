// Window procedures of the standard control classes.
#pragma once

#include "platform/ui/WinUser.h"

namespace qm::ui::controls {

inline constexpr char kComboListClass[] = "ComboLBox";

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TreeViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qm::ui::controls
