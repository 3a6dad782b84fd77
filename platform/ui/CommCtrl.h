// The common controls the installer uses: the progress bar and the property
// sheet (wizard mode). The tree view comes with the folder chooser.
#pragma once

#include "platform/ui/WinUser.h"

struct DialogTemplate;

// ---- Progress bar ------------------------------------------------------------
inline constexpr char PROGRESS_CLASSA[] = "msctls_progress32";
constexpr DWORD PBS_SMOOTH = 0x01;
constexpr UINT PBM_SETRANGE = WM_USER + 1;    // lParam: MAKELPARAM(low, high), 16-bit
constexpr UINT PBM_SETPOS = WM_USER + 2;      // returns the previous position
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;  // wParam low, lParam high
constexpr UINT PBM_GETRANGE = WM_USER + 7;    // wParam: TRUE low / FALSE high; lParam: PBRANGE* or null
constexpr UINT PBM_GETPOS = WM_USER + 8;
struct PBRANGE {
  int iLow;
  int iHigh;
};

// ---- Property sheet ------------------------------------------------------------
struct PSHNOTIFY {
  NMHDR hdr;
  LPARAM lParam;
};

using LPFNPSPCALLBACKA = UINT (*)(HWND, UINT, struct PROPSHEETPAGEA*);

constexpr DWORD PSP_DEFAULT = 0x0000;
constexpr DWORD PSP_DLGINDIRECT = 0x0001;
constexpr DWORD PSP_USETITLE = 0x0008;
constexpr DWORD PSP_HASHELP = 0x0020;
constexpr DWORD PSP_USECALLBACK = 0x0080;

struct PROPSHEETPAGEA {
  DWORD dwSize;
  DWORD dwFlags;
  HINSTANCE hInstance;
  const DialogTemplate* pResource;  // the page's dialog template
  HICON hIcon;
  LPCSTR pszTitle;
  DLGPROC pfnDlgProc;
  LPARAM lParam;  // reaches the page as WM_INITDIALOG's lParam: a pointer to its PROPSHEETPAGEA copy
  LPFNPSPCALLBACKA pfnCallback;
};
using LPCPROPSHEETPAGEA = const PROPSHEETPAGEA*;
using HPROPSHEETPAGE = PROPSHEETPAGEA*;

constexpr DWORD PSH_DEFAULT = 0x00000000;
constexpr DWORD PSH_PROPTITLE = 0x00000001;
constexpr DWORD PSH_USEHICON = 0x00000002;
constexpr DWORD PSH_PROPSHEETPAGE = 0x00000008;
constexpr DWORD PSH_WIZARD = 0x00000020;
constexpr DWORD PSH_USEPSTARTPAGE = 0x00000040;
constexpr DWORD PSH_NOAPPLYNOW = 0x00000080;
constexpr DWORD PSH_HASHELP = 0x00000200;
constexpr DWORD PSH_MODELESS = 0x00000400;

struct PROPSHEETHEADERA {
  DWORD dwSize;
  DWORD dwFlags;
  HWND hwndParent;
  HINSTANCE hInstance;
  HICON hIcon;
  LPCSTR pszCaption;
  UINT nPages;
  UINT nStartPage;
  LPCPROPSHEETPAGEA ppsp;
};

// Modal: the result (>0 finished, 0 cancelled, -1 error). PSH_MODELESS: the
// sheet's window handle.
INT_PTR PropertySheetA(const PROPSHEETHEADERA* header);

// Notifications to pages (WM_NOTIFY with PSHNOTIFY); results through DWLP_MSGRESULT.
constexpr UINT PSN_FIRST = 0u - 200u;
constexpr UINT PSN_SETACTIVE = PSN_FIRST - 0;     // result 0: accept; -1: refuse
constexpr UINT PSN_KILLACTIVE = PSN_FIRST - 1;    // result FALSE: may leave
constexpr UINT PSN_APPLY = PSN_FIRST - 2;
constexpr UINT PSN_RESET = PSN_FIRST - 3;         // to every page created so far, on cancel; result
                                                  // non-zero: the sheet stays open on its page
constexpr UINT PSN_HELP = PSN_FIRST - 5;
constexpr UINT PSN_WIZBACK = PSN_FIRST - 6;       // result 0: previous page; -1: stay; else a template id
constexpr UINT PSN_WIZNEXT = PSN_FIRST - 7;       // result 0: next page; -1: stay
constexpr UINT PSN_WIZFINISH = PSN_FIRST - 8;     // result FALSE: finish; TRUE: stay
constexpr UINT PSN_QUERYCANCEL = PSN_FIRST - 9;   // result FALSE: cancel allowed

// Messages to the sheet
constexpr UINT PSM_SETCURSEL = WM_USER + 101;
constexpr UINT PSM_REMOVEPAGE = WM_USER + 102;
constexpr UINT PSM_ADDPAGE = WM_USER + 103;
constexpr UINT PSM_CHANGED = WM_USER + 104;
constexpr UINT PSM_CANCELTOCLOSE = WM_USER + 107;
constexpr UINT PSM_PRESSBUTTON = WM_USER + 113;
constexpr UINT PSM_SETTITLEA = WM_USER + 111;
constexpr UINT PSM_SETWIZBUTTONS = WM_USER + 112;
constexpr UINT PSM_SETFINISHTEXTA = WM_USER + 115;
constexpr UINT PSM_GETTABCONTROL = WM_USER + 116;
constexpr UINT PSM_ISDIALOGMESSAGE = WM_USER + 117;  // lParam MSG*; TRUE: taken (handled or dispatched)
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118;
constexpr UINT PSM_INDEXTOPAGE = WM_USER + 123;

constexpr DWORD PSWIZB_BACK = 0x00000001;
constexpr DWORD PSWIZB_NEXT = 0x00000002;
constexpr DWORD PSWIZB_FINISH = 0x00000004;
constexpr DWORD PSWIZB_DISABLEDFINISH = 0x00000008;

constexpr int PSBTN_BACK = 0;
constexpr int PSBTN_NEXT = 1;
constexpr int PSBTN_FINISH = 2;
constexpr int PSBTN_OK = 3;
constexpr int PSBTN_CANCEL = 5;
constexpr int PSBTN_HELP = 6;

// The sheet's own buttons, children of the sheet window.
constexpr int ID_WIZBACK = 0x3023;
constexpr int ID_WIZNEXT = 0x3024;
constexpr int ID_WIZFINISH = 0x3025;
constexpr int ID_PSRESTART = 0x3026;  // not a button: the sheet's page area
