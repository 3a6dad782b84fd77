// PropertySheet: a wizard over PropertyPage objects, modal (DoModal) or
// modeless (Create); the platform's sheet knows wizard mode only, so
// SetWizardMode comes before either. The sheet does not own its pages; a
// subclass usually holds them as members and adds them in its constructor.
//
// Cancel asks the current page (OnQueryCancel), then tells every page
// created so far (OnReset, then OnCancel). A modal sheet then ends and
// DoModal answers IDCANCEL. A modeless sheet stays open on its page: what
// follows is its pages' and its owner's decision (post WM_QUIT, destroy the
// sheet, or nothing, which resumes the wizard). StaysOpenOnCancel changes
// that choice.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/PropertyPage.h"
#include "platform/framework/Window.h"
#include "platform/ui/CommCtrl.h"

namespace qm::fw {

class PropertySheet : public Window {
 public:
  explicit PropertySheet(const std::string& caption, Window* parent = nullptr, UINT startPage = 0);

  void AddPage(PropertyPage* page);
  int GetPageCount() const { return static_cast<int>(pages.size()); }
  PropertyPage* GetPage(int index) const;
  PropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  bool SetActivePage(int index);
  void SetWizardMode() { wizardMode = true; }
  bool IsWizardMode() const { return wizardMode; }
  bool IsModeless() const { return modeless; }
  const std::string& Caption() const { return caption; }

  // style and exStyle are accepted for the usual call shape; the sheet's
  // window style is the platform wizard's.
  bool Create(Window* parent = nullptr, DWORD style = static_cast<DWORD>(-1), DWORD exStyle = 0);
  // ID_WIZFINISH when finished, IDCANCEL when cancelled, -1 on failure.
  INT_PTR DoModal();

  // PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH, PSWIZB_DISABLEDFINISH.
  void SetWizardButtons(DWORD flags);
  // Shows and enables Finish with this text; Back and Next go away.
  void SetFinishText(LPCSTR text);
  void CancelToClose();
  // PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_CANCEL, PSBTN_HELP; a button
  // that is hidden or disabled is not pressed.
  bool PressButton(int button);
  HWND GetCurrentPageHandle();

  bool PreTranslateMessage(MSG* msg) override;

  // Whether the sheet stays open after its pages have handled a Cancel. The
  // default: modeless sheets stay, modal sheets end.
  virtual bool StaysOpenOnCancel() const { return modeless; }

 protected:
  Window* parentWindow = nullptr;

 private:
  friend class PropertyPage;
  friend LONG_PTR FrameworkPageProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR Open(bool modelessSheet, Window* parent);
  void BindSheetWindow(HWND sheetWindow);

  std::string caption;
  UINT startPage = 0;
  bool wizardMode = false;
  bool modeless = false;
  std::vector<PropertyPage*> pages;
  std::vector<PROPSHEETPAGEA> pageHeaders;
};

}  // namespace qm::fw
