#include "install/resources/DialogTemplates.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "install/resources/ResourceIds.h"

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr char DIALOG_FONT[] = "MS Sans Serif";
constexpr WORD DIALOG_POINTS = 8;

DialogItemTemplate Text(const char* text, int id, short x, short y, short cx, short cy, DWORD style = SS_LEFT) {
  return {WC_STATICA, text, id, x, y, cx, cy, CHILD | style, 0, 0};
}

DialogItemTemplate Picture(DWORD kind, int imageId, short x, short y, short cx, short cy, DWORD extra = 0) {
  return {WC_STATICA, "", IDC_STATIC, x, y, cx, cy, CHILD | kind | extra, 0, imageId};
}

DialogItemTemplate Button(const char* text, int id, short x, short y, short cx, short cy, DWORD style) {
  return {WC_BUTTONA, text, id, x, y, cx, cy, CHILD | style, 0, 0};
}

DialogTemplate Popup(const char* caption, short cx, short cy, DWORD style) {
  DialogTemplate t;
  t.style = WS_POPUP | DS_MODALFRAME | DS_SETFONT | style;
  t.cx = cx;
  t.cy = cy;
  t.caption = caption;
  t.fontFace = DIALOG_FONT;
  t.pointSize = DIALOG_POINTS;
  return t;
}

// Wizard pages share one size and the wizard picture at their left.
DialogTemplate Page(const char* caption) {
  DialogTemplate t;
  t.style = WS_CHILD | WS_DISABLED | DS_SETFONT;
  t.cx = 294;
  t.cy = 159;
  t.caption = caption;
  t.fontFace = DIALOG_FONT;
  t.pointSize = DIALOG_POINTS;
  t.items.push_back(Picture(SS_BITMAP, IDB_WIZARD, 5, 0, 81, 159, SS_SUNKEN));
  return t;
}

DialogTemplate WelcomePage() {
  DialogTemplate t = Page("Install");
  t.items.push_back(Picture(SS_ICON, IDI_WELCOME, 97, 0, 20, 20));
  t.items.push_back(Text("Welcome to Quellmoor Setup program. This program will install Quellmoor on your computer.",
                         IDC_STATIC, 127, 0, 158, 18));
  t.items.push_back(Text("It is strongly recomended that you exit all Windows program before running this Setup "
                         "Program.\n\nClick Cancel to close Setup and close any programs you have running. Click "
                         "Next to continue with the Setup Program.",
                         IDC_STATIC, 99, 31, 186, 51));
  t.items.push_back(Text("", IDC_STATIC, 100, 87, 164, 62));
  return t;
}

DialogTemplate InstallationTypePage() {
  DialogTemplate t = Page("Installation Type");
  t.items.push_back(Text("Select type of installation you prefer", IDC_STATIC, 99, 17, 182, 8));
  t.items.push_back(
      Button("Compact", IDC_COMPACT, 101, 75, 44, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_DISABLED));
  t.items.push_back(Button("Medium", IDC_MEDIUM, 101, 97, 41, 10, BS_AUTORADIOBUTTON | WS_DISABLED));
  t.items.push_back(Button("Full", IDC_FULL, 101, 118, 27, 10, BS_AUTORADIOBUTTON));
  return t;
}

DialogTemplate DestinationPage() {
  DialogTemplate t = Page("Destination directory");
  t.items.push_back(Text("Setup will install Quellmoor in the following folder.\n\nTo install into a different "
                         "folder, Click Browse, and select another folder.\n\nYou can choose not to install "
                         "Quellmoor by clicking Cancel to Exit Setup.",
                         IDC_STATIC, 99, 0, 158, 75));
  t.items.push_back(Button("Destination Folder", IDC_STATIC, 99, 97, 181, 28, BS_GROUPBOX));
  t.items.push_back({WC_EDITA, "", IDC_DESTINATION_PATH, 104, 107, 117, 12,
                     CHILD | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP, 0, 0});
  t.items.push_back(Button("Browse...", IDC_BROWSE, 225, 106, 50, 14, BS_PUSHBUTTON | WS_TABSTOP));
  t.items.push_back(Text("Space available on C:", IDC_AVAILABLE_LABEL, 105, 134, 70, 8));
  t.items.push_back(Text("Space required", IDC_STATIC, 105, 148, 49, 8));
  t.items.push_back(Text("", IDC_AVAILABLE_TEXT, 194, 134, 87, 8));
  t.items.push_back(Text("", IDC_REQUIRED_TEXT, 194, 148, 86, 8));
  return t;
}

DialogTemplate StartPage() {
  DialogTemplate t = Page("Start Installation");
  t.items.push_back(Text("You are now ready to install Quellmoor.\n\nPress the Next button to begin the "
                         "installation or the Back button to reenter the installation information",
                         IDC_STATIC, 99, 0, 182, 44));
  return t;
}

DialogTemplate LinksPage() {
  DialogTemplate t = Page("Links");
  t.items.push_back(
      Text("Check buttons below to create program group and desktop link", IDC_STATIC, 99, 10, 158, 26));
  t.items.push_back(Button("Create Program Group", IDC_PROGRAM_GROUP, 101, 63, 86, 10, BS_AUTOCHECKBOX | WS_TABSTOP));
  t.items.push_back(Button("Create Desktop Link", IDC_DESKTOP_LINK, 101, 83, 81, 10, BS_AUTOCHECKBOX | WS_TABSTOP));
  return t;
}

DialogTemplate DirectXPage() {
  DialogTemplate t = Page("Direct X Setup");
  t.items.push_back(Text("Game needs DirectX 7 to be installed. Click Next to install it or uncheck button below "
                         "to skip DirectX7 installation",
                         IDC_DIRECTX_NEEDED, 97, 58, 182, 20));
  t.items.push_back(Text("Appropriate DirectX allready instaled on your computer. Check the button below to "
                         "reinstall it anyway.",
                         IDC_DIRECTX_PRESENT, 98, 57, 174, 20));
  t.items.push_back(
      Button("Install DirectX 7", IDC_INSTALL_DIRECTX, 156, 82, 65, 10, BS_AUTOCHECKBOX | WS_TABSTOP));
  return t;
}

DialogTemplate CompletePage() {
  DialogTemplate t = Page("Installation Complete");
  t.items.push_back(Text("Quellmoor has been successfuly installed.\n\n\nPress the Finish button to exit this "
                         "installation.",
                         IDC_STATIC, 99, 0, 182, 36));
  t.items.push_back(Button("View Quellmoor Release Notes", IDC_RELEASE_NOTES, 101, 117, 186, 10,
                           BS_AUTOCHECKBOX | WS_TABSTOP));
  t.items.push_back(Button("Visit Quellmoor On Web", IDC_WEB_PAGE, 101, 134, 186, 10,
                           BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED));
  return t;
}

// The small dialogs appear in the middle of the screen.
DialogTemplate ResumeExitDialog() {
  DialogTemplate t = Popup("Install", 190, 103, WS_CAPTION | WS_SYSMENU | DS_CENTER);
  t.items.push_back(Picture(SS_ICON, IDI_RESUME, 6, 7, 20, 20));
  t.items.push_back(Text("Setup is not complete. If you quit the Setup Program now, the program will not be "
                         "installed.\n\n You may run the Setup Program at a later time to complete the "
                         "installation.\n\nTo continue installing, click Resume. To quit the Setup Program click "
                         "Exit Setup.",
                         IDC_STATIC, 35, 7, 150, 68));
  t.items.push_back(Button("&Resume", IDOK, 40, 84, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP));
  t.items.push_back(Button("E&xit Setup", IDCANCEL, 101, 84, 50, 14, BS_PUSHBUTTON | WS_TABSTOP));
  return t;
}

DialogTemplate WaitingDialog() {
  DialogTemplate t = Popup("", 227, 42, DS_CENTER);
  t.items.push_back(Text("Please wait...", IDC_STATIC, 0, 17, 227, 8, SS_CENTER));
  return t;
}

DialogTemplate ProgressDialog() {
  DialogTemplate t = Popup("", 300, 54, DS_CENTER);
  t.items.push_back(Text("Copying files..", IDC_STATIC, 14, 4, 44, 8));
  t.items.push_back({PROGRESS_CLASSA, "", IDC_PROGRESS, 7, 18, 286, 18, CHILD | WS_BORDER, 0, 0});
  t.items.push_back(Button("Cancel", IDCANCEL, 124, 38, 50, 14, BS_PUSHBUTTON | WS_TABSTOP));
  return t;
}

DialogTemplate RestartDialog() {
  DialogTemplate t = Popup("Install", 188, 42, WS_CAPTION | WS_SYSMENU | DS_CENTER);
  t.items.push_back(Text("It is necessary to restart your computer. Restart now?", IDC_STATIC, 7, 7, 174, 9));
  t.items.push_back(Button("Restart Now", IDOK, 32, 21, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP));
  t.items.push_back(Button("Don't Restart", IDCANCEL, 102, 21, 50, 14, BS_PUSHBUTTON | WS_TABSTOP));
  return t;
}

// A sizable dialog: the user may make it larger, the controls keep their
// places.
DialogTemplate ChooseDirectoryDialog() {
  DialogTemplate t = Popup("Choose Directory", 227, 156, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  t.extended = true;
  t.exStyle = WS_EX_CONTEXTHELP;
  t.items.push_back({WC_COMBOBOXA, "", IDC_FOLDER_PATH, 7, 7, 184, 128,
                     CHILD | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 0});
  t.items.push_back(Button("Go", IDC_GO, 194, 7, 26, 12, BS_PUSHBUTTON | WS_TABSTOP));
  t.items.push_back({WC_TREEVIEWA, "Tree1", IDC_FOLDER_TREE, 7, 24, 213, 105,
                     CHILD | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                         TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                     0, 0});
  t.items.push_back(Button("OK", IDOK, 114, 135, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP));
  t.items.push_back(Button("Cancel", IDCANCEL, 170, 135, 50, 14, BS_PUSHBUTTON | WS_TABSTOP));
  return t;
}

}  // namespace

std::vector<std::pair<unsigned, DialogTemplate>> InstallerDialogTemplates() {
  return {
      {IDD_DESTINATION, DestinationPage()},   {IDD_RESUME_EXIT, ResumeExitDialog()},
      {IDD_WELCOME, WelcomePage()},           {IDD_START, StartPage()},
      {IDD_COMPLETE, CompletePage()},         {IDD_LINKS, LinksPage()},
      {IDD_WAITING, WaitingDialog()},         {IDD_PROGRESS, ProgressDialog()},
      {IDD_RESTART, RestartDialog()},         {IDD_INSTALLATION_TYPE, InstallationTypePage()},
      {IDD_DIRECTX, DirectXPage()},           {IDD_CHOOSE_DIRECTORY, ChooseDirectoryDialog()},
  };
}
