#include "SampleWizard.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <stdlib.h>
#include <unistd.h>

#include "FrameworkTest.h"
#include "platform/framework/DC.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Resources.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/Resources.h"

namespace qm::test::sample {
namespace {

std::vector<unsigned char> PngOf(const qm::ui::Surface& surface) {
  char path[] = "/tmp/quellmoor-sample-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return {};
  close(fd);
  std::vector<unsigned char> bytes;
  if (qm::ui::SavePng(surface, path)) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  unlink(path);
  return bytes;
}

void Fill(qm::ui::Surface& surface, int left, int top, int right, int bottom, std::uint32_t color) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) surface.At(x, y) = color;
}

// The wizard picture: a night-blue sky over hills, with a computer.
qm::ui::Surface Picture() {
  qm::ui::Surface picture(119, 257);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const int shade = 64 + 128 * y / picture.height;
      std::uint32_t pixel = 0xFF000000u | (0u << 16) | (std::uint32_t(shade / 2) << 8) | std::uint32_t(shade);
      const int hill = 190 + (x - 60) * (x - 60) / 80;
      if (y > hill) pixel = 0xFF008000u;
      picture.At(x, y) = pixel;
    }
  }
  Fill(picture, 30, 110, 90, 160, 0xFFC0C0C0u);  // monitor
  Fill(picture, 36, 116, 84, 150, 0xFF008080u);  // screen
  Fill(picture, 50, 160, 70, 168, 0xFF808080u);  // stand
  Fill(picture, 24, 168, 96, 180, 0xFFC0C0C0u);  // base
  Fill(picture, 70, 172, 88, 176, 0xFF000000u);  // drive slot
  return picture;
}

qm::ui::Surface Icon() {
  qm::ui::Surface icon(32, 32, 0x00000000u);
  Fill(icon, 4, 4, 28, 28, 0xFF000000u);  // the black edge
  Fill(icon, 5, 5, 27, 27, 0xFF0000C0u);
  Fill(icon, 9, 8, 23, 14, 0xFFFFFFFFu);
  Fill(icon, 12, 18, 20, 24, 0xFFC0C0C0u);
  return icon;
}

DialogItemTemplate WizardPicture() {
  return Item(WC_STATICA, "", IDC_STATIC, 5, 0, 81, 159, SS_BITMAP | SS_SUNKEN, kPicture);
}

void SetSheetButtonText(qm::fw::PropertySheet* sheet, int id, const char* text) {
  if (qm::fw::Window* button = sheet->GetDlgItem(id)) button->SetWindowText(text);
}

void DisableHelp(qm::fw::PropertySheet* sheet) {
  if (qm::fw::Window* help = sheet->GetDlgItem(IDHELP)) help->EnableWindow(false);
}

}  // namespace

void RegisterResources() {
  const std::vector<unsigned char> picture = PngOf(Picture());
  qm::ui::RegisterBitmapResource(kPicture, picture.data(), picture.size());
  const std::vector<unsigned char> icon = PngOf(Icon());
  qm::ui::RegisterIconResource(kIcon, icon.data(), icon.size());

  qm::ui::RegisterDialogResource(
      kWelcomePage,
      PageTemplate("Welcome",
                   {WizardPicture(), Item(WC_STATICA, "", IDC_STATIC, 97, 0, 20, 20, SS_ICON, kIcon),
                    Item(WC_STATICA,
                            "Welcome to the Sample Setup program. It shows each kind of control a "
                            "page holds.",
                            IDC_STATIC, 127, 0, 158, 18, SS_LEFT),
                    Item(WC_STATICA,
                            "It is strongly recommended that you close all other programs before running this "
                            "Setup program.\n\nClick Cancel to quit Setup. Click Next to continue.",
                            IDC_STATIC, 99, 31, 186, 51, SS_LEFT)}));

  qm::ui::RegisterDialogResource(
      kOptionsPage,
      PageTemplate(
          "Options",
          {WizardPicture(),
           Item(WC_STATICA, "Select the type of installation you prefer", IDC_STATIC, 99, 0, 182, 8, SS_LEFT),
           Item(WC_BUTTONA, "Type", IDC_STATIC, 99, 12, 80, 56, BS_GROUPBOX),
           Item(WC_BUTTONA, "Compact", kCompact, 106, 24, 60, 10,
                   BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP | WS_DISABLED),
           Item(WC_BUTTONA, "&Medium", kMedium, 106, 38, 60, 10, BS_AUTORADIOBUTTON),
           Item(WC_BUTTONA, "F&ull", kFull, 106, 52, 60, 10, BS_AUTORADIOBUTTON),
           Item(WC_BUTTONA, "Create &Program Group", kProgramGroup, 188, 24, 96, 10,
                   BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP),
           Item(WC_BUTTONA, "Create &Desktop Link", kDesktopLink, 188, 38, 96, 10, BS_AUTOCHECKBOX | WS_TABSTOP),
           Item(WC_BUTTONA, "Destination Folder", IDC_STATIC, 99, 74, 186, 28, BS_GROUPBOX),
           Item(WC_EDITA, "", kFolder, 104, 84, 117, 12, WS_BORDER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP),
           Item(WC_BUTTONA, "B&rowse...", kBrowse, 227, 83, 50, 14, BS_PUSHBUTTON | WS_TABSTOP),
           Item(WC_STATICA, "Your &name:", IDC_STATIC, 99, 112, 40, 8, SS_LEFT),
           Item(WC_EDITA, "", kUserName, 141, 110, 144, 12, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP),
           Item(WC_STATICA, "Space required\nSpace available", IDC_STATIC, 99, 130, 80, 18, SS_LEFT),
           Item(WC_STATICA, "12345 Kb\n67890 Kb", IDC_STATIC, 194, 130, 80, 18, SS_LEFT)}));

  qm::ui::RegisterDialogResource(
      kReadyPage,
      PageTemplate("Ready",
                   {WizardPicture(),
                    Item(WC_STATICA,
                            "Sample has been successfully set up.\n\n\nPress the Finish button to leave this "
                            "wizard.",
                            IDC_STATIC, 99, 0, 182, 36, SS_LEFT),
                    Item(PROGRESS_CLASSA, "", kPercentBar, 99, 52, 186, 14, 0),
                    Item(PROGRESS_CLASSA, "", kPlainBar, 99, 74, 186, 10, 0),
                    Item(WC_BUTTONA, "View Sample &Release Notes", kReleaseNotes, 101, 117, 186, 10,
                            BS_AUTOCHECKBOX | WS_TABSTOP),
                    Item(WC_BUTTONA, "Visit Sample On Web", kVisitWeb, 101, 134, 186, 10,
                            BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED)}));
}

void PercentBar::OnPaint() {
  qm::fw::PaintDC dc(this);
  RECT client{};
  GetClientRect(&client);
  int lower = 0, upper = 0;
  GetRange(lower, upper);
  const int position = GetPos();
  const int fill = upper > 0 ? static_cast<int>(static_cast<double>(position) / upper * client.right) : 0;
  dc.FillSolidRect(RECT{0, 0, fill, client.bottom}, RGB(0, 0, 255));
  dc.FillSolidRect(RECT{fill, 0, client.right, client.bottom}, RGB(255, 255, 255));

  const std::string text = qm::fw::Format("%d%%", upper > 0 ? position * 100 / upper : 0);
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(::GetParent(Handle()), WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? dc.SelectObject(font) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  RECT textRect = client;
  // The part of the text over the fill is white, the rest black.
  dc.SetTextColor(RGB(0, 0, 0));
  dc.DrawText(text, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const int saved = dc.SaveDC();
  IntersectClipRect(dc.Handle(), 0, 0, fill, client.bottom);
  dc.SetTextColor(RGB(255, 255, 255));
  textRect = client;
  dc.DrawText(text, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc.RestoreDC(saved);
  if (oldFont) dc.SelectObject(oldFont);
}

bool WelcomePage::OnSetActive() {
  qm::fw::PropertySheet* sheet = GetSheet();
  sheet->SetWizardButtons(PSWIZB_NEXT);
  DisableHelp(sheet);
  SetSheetButtonText(sheet, ID_WIZBACK, "&Back");
  SetSheetButtonText(sheet, ID_WIZNEXT, "&Next");
  SetSheetButtonText(sheet, IDCANCEL, "&Cancel");
  SetSheetButtonText(sheet, IDHELP, "Help");
  return PropertyPage::OnSetActive();
}

LRESULT SamplePage::OnWizardNext() {
  ShowWindow(SW_HIDE);
  return 0;
}

LRESULT SamplePage::OnWizardBack() {
  ShowWindow(SW_HIDE);
  return 0;
}

void WelcomePage::OnCancel() {
  ++choices.exitQuestions;
  ::PostMessageA(GetSheet()->Handle(), WM_QUIT, 0, 0);
}

bool OptionsPage::OnInitDialog() {
  PropertyPage::OnInitDialog();
  ::CheckRadioButton(Handle(), kCompact, kFull, kFull);
  SetDlgItemText(kFolder, choices.folder);
  return true;
}

bool OptionsPage::OnSetActive() {
  GetSheet()->SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  return PropertyPage::OnSetActive();
}

void OptionsPage::DoDataExchange(qm::fw::DataExchange& exchange) {
  qm::fw::DdxCheck(exchange, kProgramGroup, programGroup);
  qm::fw::DdxCheck(exchange, kDesktopLink, desktopLink);
  qm::fw::DdxText(exchange, kUserName, choices.userName);
  if (exchange.saveAndValidate) {
    choices.programGroup = programGroup == BST_CHECKED;
    choices.desktopLink = desktopLink == BST_CHECKED;
  }
}

bool OptionsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) != BN_CLICKED || (id != kBrowse && (id < kCompact || id > kFull)))
    return PropertyPage::OnCommand(wParam, lParam);
  if (id == kBrowse)
    ++choices.browseClicks;
  else
    choices.type = id - kCompact;  // the radio buttons' ids follow the types' order
  return true;
}

void ReadyPage::DoDataExchange(qm::fw::DataExchange& exchange) {
  qm::fw::DdxControl(exchange, kPercentBar, percentBar);
}

bool ReadyPage::OnInitDialog() {
  PropertyPage::OnInitDialog();
  percentBar.SetRange(0, 1000);
  percentBar.SetPos(420);
  SendDlgItemMessageA(Handle(), kPlainBar, PBM_SETRANGE32, 0, 100);
  SendDlgItemMessageA(Handle(), kPlainBar, PBM_SETPOS, 65, 0);
  CancelToClose();
  return true;
}

bool ReadyPage::OnSetActive() {
  DisableHelp(GetSheet());
  GetSheet()->SetFinishText("&Finish");
  return PropertyPage::OnSetActive();
}

bool ReadyPage::OnWizardFinish() {
  choices.releaseNotes = IsDlgButtonChecked(kReleaseNotes) == BST_CHECKED;
  choices.finished = true;
  ::PostQuitMessage(0);
  return true;
}

SampleSheet::SampleSheet(Choices& choices, qm::fw::Window* parent)
    : PropertySheet(kCaption, parent, 0), welcome(choices), options(choices), ready(choices) {
  AddPage(&welcome);
  AddPage(&options);
  AddPage(&ready);
  SetWizardMode();
}

bool SampleApplication::InitInstance() {
  RegisterResources();
  sheet = new SampleSheet(choices, nullptr);
  if (!sheet->Create()) return false;
  sheet->ShowWindow(SW_SHOW);
  mainWindow = sheet;
  return true;
}

SampleApplication::~SampleApplication() { delete sheet; }

}  // namespace qm::test::sample
