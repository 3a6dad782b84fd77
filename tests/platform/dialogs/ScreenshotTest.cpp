// Pictures of a dialog with every control kind and of each message box,
// for judging the look by eye. Run by hand:
//   test_platform_dialogs --gtest_also_run_disabled_tests --gtest_filter='*Screenshots*'
// The pictures go to QM_CONTROL_SHOTS (default /tmp/qm-control-shots).
#include "DialogTestSupport.h"
#include "Screenshots.h"

namespace qm::test {
namespace {

DialogTemplate Gallery() {
  const char* wrapped = "It is strongly recomended that you exit all Windows program before running this Setup "
                        "Program.\n\nClick Cancel to close Setup.";
  return Dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 300, 200, "Install",
                {Item(WC_STATICA, "", IDC_STATIC, 6, 7, 20, 20, SS_ICON, 32516),
                 Item(WC_STATICA, wrapped, IDC_STATIC, 35, 7, 150, 50, SS_LEFT),
                 Item(WC_STATICA, "Centred", IDC_STATIC, 190, 7, 100, 8, SS_CENTER),
                 Item(WC_STATICA, "Right-aligned", IDC_STATIC, 190, 19, 100, 8, SS_RIGHT),
                 Item(WC_STATICA, "1234 Kb", 1009, 190, 31, 100, 10, SS_LEFT | SS_SUNKEN),
                 Item(WC_STATICA, "", IDC_STATIC, 6, 62, 288, 2, SS_ETCHEDHORZ),
                 Item(WC_BUTTONA, "Installation type", IDC_STATIC, 6, 68, 110, 58, BS_GROUPBOX),
                 Item(WC_BUTTONA, "Compact", 1012, 14, 80, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_DISABLED),
                 Item(WC_BUTTONA, "Medium", 1013, 14, 94, 60, 10, BS_AUTORADIOBUTTON | WS_DISABLED),
                 Item(WC_BUTTONA, "&Full", 1014, 14, 108, 60, 10, BS_AUTORADIOBUTTON | WS_TABSTOP),
                 Item(WC_BUTTONA, "&Desktop link", 1015, 124, 72, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP),
                 Item(WC_BUTTONA, "&Start menu", 1016, 124, 86, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP),
                 Item(WC_BUTTONA, "Disabled", 1017, 124, 100, 80, 10, BS_AUTOCHECKBOX | WS_DISABLED),
                 Item(WC_STATICA, "&Name:", IDC_STATIC, 210, 72, 30, 8, SS_LEFT),
                 Item(WC_EDITA, "Quellmoor", 1019, 210, 82, 84, 12, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL),
                 Item(WC_EDITA, "C:\\Games\\Quellmoor\\Installation", 1020, 210, 100, 84, 12,
                      WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL),
                 Item(PROGRESS_CLASSA, "", 1018, 6, 132, 288, 14, 0),
                 Item(PROGRESS_CLASSA, "", 1021, 6, 150, 288, 10, PBS_SMOOTH),
                 Item(WC_BUTTONA, "&Resume", IDOK, 76, 178, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP),
                 Item(WC_BUTTONA, "E&xit Setup", IDCANCEL, 132, 178, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
                 Item(WC_BUTTONA, "Browse...", 1001, 188, 178, 50, 14, BS_PUSHBUTTON | WS_DISABLED)});
}

TEST_F(DialogTest, DISABLED_Screenshots) {
  handler = [](HWND dialog, UINT message, WPARAM, LPARAM) -> std::optional<LONG_PTR> {
    if (message != WM_INITDIALOG) return std::nullopt;
    CheckRadioButton(dialog, 1012, 1014, 1014);
    CheckDlgButton(dialog, 1015, BST_CHECKED);
    CheckDlgButton(dialog, 1017, BST_CHECKED);
    SendDlgItemMessageA(dialog, 1018, PBM_SETPOS, 40, 0);
    SendDlgItemMessageA(dialog, 1021, PBM_SETPOS, 70, 0);
    return TRUE;
  };
  HWND dialog = Open(Gallery());
  SavePaintedShot(dialog, "gallery");
  for (int i = 0; i < 2; ++i) Key(VK_TAB, dialog);
  SavePaintedShot(dialog, "gallery-focus-on-check-box");
  for (int i = 0; i < 4; ++i) Key(VK_TAB, dialog);
  SavePaintedShot(dialog, "gallery-focus-on-exit");
  DestroyWindow(dialog);

  const struct { const char* name; const char* text; const char* caption; UINT type; } boxes[] = {
      {"copy-error", "Can't copy file\nSource file: Z:\\medium\\db\\levels.dat\nDestination file: "
                     "C:\\Games\\Quellmoor\\db\\levels.dat\nFile not found or disk is full",
       "Error", MB_ABORTRETRYIGNORE | MB_ICONHAND},
      {"cancel-question", "Are you sure you want to cancel?", "Install", MB_YESNO | MB_ICONQUESTION},
      {"information", "Quellmoor was installed.", "Install", MB_OK | MB_ICONINFORMATION},
      {"warning", "There is not enough space on the disk.\nContinue anyway?", "Install",
       MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2},
      {"plain", "Insert the disk and try again.", nullptr, MB_RETRYCANCEL},
  };
  for (const auto& box : boxes) {
    std::string name = std::string("message-box-") + box.name;
    PlayWhenIdle({[name] {
                    SaveWindowShot(GetActiveWindow(), name);
                    InjectKey(VK_RETURN);
                  }});
    MessageBoxA(nullptr, box.text, box.caption, box.type);
  }
}

}  // namespace
}  // namespace qm::test
