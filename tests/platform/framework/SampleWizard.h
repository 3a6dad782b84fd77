// A sample wizard of three pages built on the framework, with every kind of
// control the installer's pages use: texts (word-wrapped, with line breaks),
// an icon, a sunken picture, a group box, push buttons, check and radio
// buttons (one disabled), a read-only and an editable edit, progress bars
// (one drawing itself). Tests drive it like a user and take its pictures.
#pragma once

#include <string>

#include "platform/framework/Application.h"
#include "platform/framework/ProgressCtrl.h"
#include "platform/framework/PropertySheet.h"

namespace qm::test::sample {

constexpr UINT kWelcomePage = 701;
constexpr UINT kOptionsPage = 702;
constexpr UINT kReadyPage = 703;
constexpr UINT kPicture = 710;
constexpr UINT kIcon = 711;

constexpr int kCompact = 1012;
constexpr int kMedium = 1013;
constexpr int kFull = 1014;
constexpr int kProgramGroup = 1016;
constexpr int kDesktopLink = 1007;
constexpr int kFolder = 1020;
constexpr int kBrowse = 1001;
constexpr int kUserName = 1021;
constexpr int kPercentBar = 1018;
constexpr int kPlainBar = 1019;
constexpr int kReleaseNotes = 1003;
constexpr int kVisitWeb = 1004;

inline constexpr char kCaption[] = "Sample Setup";

// Templates, picture and icon of the sample, registered as the program's
// resources.
void RegisterResources();

// What the user chose, as the pages leave it.
struct Choices {
  int type = 2;  // 0 compact, 1 medium, 2 full
  bool programGroup = true;
  bool desktopLink = true;
  std::string folder = "C:\\Games\\Sample";
  std::string userName;
  bool releaseNotes = false;
  int browseClicks = 0;
  bool finished = false;
  int exitQuestions = 0;
};

// A progress bar that draws its own blue fill and percentage.
class PercentBar : public qm::fw::ProgressCtrl {
 protected:
  void OnPaint() override;
};

// A page of the sample: no Help button, and hidden before it moves on either
// way, as every page of the installer is.
class SamplePage : public qm::fw::PropertyPage {
 public:
  SamplePage(UINT templateId, Choices& choices) : PropertyPage(templateId), choices(choices) {
    psp.dwFlags &= ~PSP_HASHELP;
  }
  LRESULT OnWizardNext() override;
  LRESULT OnWizardBack() override;

 protected:
  Choices& choices;
};

class WelcomePage : public SamplePage {
 public:
  explicit WelcomePage(Choices& choices) : SamplePage(kWelcomePage, choices) {}
  bool OnSetActive() override;
  // Cancel anywhere in the wizard ends the program here.
  void OnCancel() override;
};

class OptionsPage : public SamplePage {
 public:
  explicit OptionsPage(Choices& choices) : SamplePage(kOptionsPage, choices) {}
  bool OnInitDialog() override;
  bool OnSetActive() override;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  int programGroup = 1;
  int desktopLink = 1;
};

class ReadyPage : public SamplePage {
 public:
  explicit ReadyPage(Choices& choices) : SamplePage(kReadyPage, choices) {}
  bool OnInitDialog() override;
  bool OnSetActive() override;
  bool OnWizardFinish() override;

  PercentBar percentBar;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;
};

class SampleSheet : public qm::fw::PropertySheet {
 public:
  SampleSheet(Choices& choices, qm::fw::Window* parent);

  WelcomePage welcome;
  OptionsPage options;
  ReadyPage ready;

 protected:
  // The close box does nothing: only Cancel leaves the wizard.
  void OnClose() override {}
};

// Opens the sample wizard modeless at start; Finish or Cancel ends the loop.
class SampleApplication : public qm::fw::Application {
 public:
  bool InitInstance() override;
  ~SampleApplication() override;

  Choices choices;
  SampleSheet* sheet = nullptr;
};

}  // namespace qm::test::sample
