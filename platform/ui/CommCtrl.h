// The common controls the installer uses: the progress bar, the property
// sheet (wizard mode), image lists and the tree view.
#pragma once

#include <cstring>

#include "platform/ui/WinUser.h"

// ---- Image lists ---------------------------------------------------------------
// Images of one size (16x16 small icons) in 32-bit colour, each with its own
// transparency: from the mask bitmap given with it (ILC_MASK; white is
// transparent), or from an icon's own alpha.
struct IMAGELIST;
using HIMAGELIST = IMAGELIST*;
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// The bitmap holds as many images side by side as its width allows; the
// index of the first one added, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Replaces the image at index, or appends it when index is -1; the index, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }
// Transparent pixels leave what is below.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);

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

// ---- Common notifications (WM_NOTIFY with an NMHDR) ----------------------------
constexpr UINT NM_FIRST = 0u;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;  // after the right button is released; non-zero: no WM_CONTEXTMENU
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;

// ---- Tree view -----------------------------------------------------------------
// Items are kept in exactly the order the program inserted and sorted them.
// An item's children show while it is expanded (TVIS_EXPANDED); the first
// expansion sends TVN_ITEMEXPANDING even before the item has children, so a
// program can load them then (cChildren 1 shows the button meanwhile). A
// TVM_EXPAND of an item already expanded once (TVIS_EXPANDEDONCE) notifies
// nothing; the user's expanding and collapsing always notifies.
inline constexpr char WC_TREEVIEWA[] = "SysTreeView32";

struct HTREEITEM__;
using HTREEITEM = HTREEITEM__*;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;  // with lines or buttons: top-level items get them too
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;  // the selection shows (grey) while the tree has no focus

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;

constexpr int I_CHILDRENCALLBACK = -1;
constexpr int I_IMAGECALLBACK = -1;
inline const LPSTR LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(static_cast<std::intptr_t>(-1));

struct TVITEMA {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;  // which bits of state to set, or to answer
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};
using LPTVITEMA = TVITEMA*;

struct TVINSERTSTRUCTA {
  HTREEITEM hParent;       // TVI_ROOT or null: the top level
  HTREEITEM hInsertAfter;  // TVI_FIRST, TVI_LAST, TVI_SORT (by text, ignoring case) or a sibling
  TVITEMA item;
};
using LPTVINSERTSTRUCTA = TVINSERTSTRUCTA*;

using PFNTVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
struct TVSORTCB {
  HTREEITEM hParent;
  PFNTVCOMPARE lpfnCompare;  // negative: the first item goes first
  LPARAM lParam;
};
using LPTVSORTCB = TVSORTCB*;

constexpr UINT TVHT_NOWHERE = 0x0001;  // below the last item
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

struct TVHITTESTINFO {
  POINT pt;  // client coordinates
  UINT flags;
  HTREEITEM hItem;
};
using LPTVHITTESTINFO = TVHITTESTINFO*;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;  // with TVE_COLLAPSE: the children go, TVIS_EXPANDEDONCE too

constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;  // the item at the top of the view
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;   // the next item shown when scrolling, whatever is on screen
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

constexpr WPARAM TVSIL_NORMAL = 0;
constexpr WPARAM TVSIL_STATE = 2;

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;     // lParam TVINSERTSTRUCTA*; the new item or null
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;      // lParam item; TVI_ROOT deletes all
constexpr UINT TVM_EXPAND = TV_FIRST + 2;          // wParam TVE_ code, lParam item
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;     // wParam TRUE: the label only; lParam RECT* holding the item
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;    // wParam TVSIL_NORMAL, lParam the list; the previous list
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;    // wParam TVGN_ code, lParam item
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;     // wParam TVGN_CARET, lParam item or null
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;       // lParam TVITEMA* with hItem and mask
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;        // lParam TVHITTESTINFO*; the item hit
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;  // lParam item; TRUE when it only scrolled
constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21; // lParam TVSORTCB*

constexpr UINT TVN_FIRST = 0u - 400u;
constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;    // non-zero answer: the selection stays
constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;  // non-zero answer: it stays as it is
constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;     // itemOld: the item, children before their parent
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;

constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

struct NMTREEVIEWA {
  NMHDR hdr;
  UINT action;  // TVC_ for selection changes, TVE_ for expansion
  TVITEMA itemOld;
  TVITEMA itemNew;
  POINT ptDrag;
};
using LPNMTREEVIEWA = NMTREEVIEWA*;

// TVM_GETITEMRECT takes the item in the rectangle it fills.
inline BOOL TreeView_GetItemRect(HWND tree, HTREEITEM item, RECT* rect, BOOL labelOnly) {
  std::memcpy(rect, &item, sizeof item);
  return static_cast<BOOL>(SendMessageA(tree, TVM_GETITEMRECT, labelOnly, reinterpret_cast<LPARAM>(rect)));
}

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};
