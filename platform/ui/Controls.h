// The standard controls' classes, styles, messages and notifications:
// buttons, statics, edits, list boxes, combo boxes.
#pragma once

#include "platform/ui/WinUser.h"

inline constexpr char WC_BUTTONA[] = "BUTTON";
inline constexpr char WC_STATICA[] = "STATIC";
inline constexpr char WC_EDITA[] = "EDIT";
inline constexpr char WC_LISTBOXA[] = "LISTBOX";
inline constexpr char WC_COMBOBOXA[] = "COMBOBOX";

// Button styles
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_3STATE = 0x5;
constexpr DWORD BS_AUTO3STATE = 0x6;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD BS_TYPEMASK = 0xF;
constexpr DWORD BS_LEFTTEXT = 0x20;
constexpr DWORD BS_ICON = 0x40;
constexpr DWORD BS_BITMAP = 0x80;
constexpr DWORD BS_MULTILINE = 0x2000;
constexpr DWORD BS_NOTIFY = 0x4000;
constexpr DWORD BS_FLAT = 0x8000;

// Button messages and notifications
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BM_GETIMAGE = 0x00F6;
constexpr UINT BM_SETIMAGE = 0x00F7;
constexpr UINT BST_UNCHECKED = 0x0;
constexpr UINT BST_CHECKED = 0x1;
constexpr UINT BST_INDETERMINATE = 0x2;
constexpr UINT BST_PUSHED = 0x4;
constexpr UINT BST_FOCUS = 0x8;
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;

// Static styles
constexpr DWORD SS_LEFT = 0x00;
constexpr DWORD SS_CENTER = 0x01;
constexpr DWORD SS_RIGHT = 0x02;
constexpr DWORD SS_ICON = 0x03;
constexpr DWORD SS_BLACKRECT = 0x04;
constexpr DWORD SS_GRAYRECT = 0x05;
constexpr DWORD SS_WHITERECT = 0x06;
constexpr DWORD SS_BLACKFRAME = 0x07;
constexpr DWORD SS_SIMPLE = 0x0B;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x0C;
constexpr DWORD SS_BITMAP = 0x0E;
constexpr DWORD SS_ETCHEDHORZ = 0x10;
constexpr DWORD SS_TYPEMASK = 0x1F;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD SS_NOTIFY = 0x100;
constexpr DWORD SS_CENTERIMAGE = 0x200;
constexpr DWORD SS_REALSIZEIMAGE = 0x800;
constexpr DWORD SS_SUNKEN = 0x1000;
// A word wider than the control is broken where it stops fitting, as a
// multiline edit control breaks it (DT_EDITCONTROL).
constexpr DWORD SS_EDITCONTROL = 0x2000;
constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;
constexpr WPARAM IMAGE_BITMAP = 0;
constexpr WPARAM IMAGE_ICON = 1;

// Edit styles, messages and notifications
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;

// List box styles, messages and notifications
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOREDRAW = 0x0004;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_COMBOBOX = 0x8000;  // the list of a combo box
constexpr DWORD LBS_STANDARD = LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER;
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;  // LOWORD: the nearest item; HIWORD 1: the point is outside the client area
constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;

// Combo box styles, messages and notifications
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_SETEDITSEL = 0x0142;  // lParam: MAKELPARAM(start, end); -1 start: no selection
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;  // lParam: RECT*, screen coordinates
constexpr UINT CB_GETITEMHEIGHT = 0x0154;          // wParam -1: the selection field; 0: the list's items
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_GETCOMBOBOXINFO = 0x0164;
constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
// The order a drop-down combo box reports in, the user's ways of choosing:
// - Up or Down with the list closed: CBN_SELENDOK, CBN_SELCHANGE;
// - the list opened (CBN_DROPDOWN, before it shows), arrows in it (one
//   CBN_SELCHANGE each), then Enter, F4 or Alt+Up: CBN_SELENDOK, CBN_CLOSEUP;
// - the list opened and an item clicked: CBN_SELENDOK, CBN_CLOSEUP,
//   CBN_SELCHANGE;
// - Esc, a click outside, Tab or the focus going elsewhere: CBN_SELENDCANCEL,
//   CBN_CLOSEUP.
// At CBN_SELCHANGE the edit field still shows the previous text; the chosen
// item's text replaces it right after. Typing sends CBN_EDITUPDATE before the
// new text shows and CBN_EDITCHANGE once it is shown; text the program sets
// (SetWindowText, a chosen item) sends neither.
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// The parts of a combo box: the edit field and the drop-down button in the
// combo box's client coordinates, and its edit and list windows.
struct COMBOBOXINFO {
  DWORD cbSize;
  RECT rcItem;
  RECT rcButton;
  DWORD stateButton;  // STATE_SYSTEM_PRESSED while the list is dropped
  HWND hwndCombo;
  HWND hwndItem;
  HWND hwndList;
};
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info);
