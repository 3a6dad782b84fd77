// PropertyPage: one page of a PropertySheet, built from a dialog template.
// Its window is made the first time the page becomes current; OnInitDialog
// runs then, once. The sheet's notifications reach the page as the virtual
// calls below.
#pragma once

#include "platform/framework/Dialog.h"
#include "platform/ui/CommCtrl.h"

namespace qm::fw {

class PropertySheet;

class PropertyPage : public Dialog {
 public:
  explicit PropertyPage(UINT templateId);

  // What the sheet is given for the page. Pages start with PSP_HASHELP; a
  // page without help clears it in its constructor.
  PROPSHEETPAGEA psp{};

  // The sheet the page was added to; null before AddPage.
  PropertySheet* GetSheet() const { return sheet; }
  // The sheet's Cancel becomes unavailable for the rest of its life.
  void CancelToClose();

  // Every time the page becomes current; false refuses. The default puts the
  // members into the controls, on every visit but the first.
  virtual bool OnSetActive();
  // When the page is left; false keeps it. The default takes the controls
  // into the members.
  virtual bool OnKillActive();
  // 0: the adjacent page; -1: stay; else the template id of the page to go to.
  virtual LRESULT OnWizardNext();
  virtual LRESULT OnWizardBack();
  // True: the sheet may finish.
  virtual bool OnWizardFinish();
  // Asked of the current page on Cancel; false refuses the cancel.
  virtual bool OnQueryCancel();
  // The sheet's cancel reaches every page created so far; the default calls
  // OnCancel, whose default does nothing.
  virtual void OnReset();
  void OnCancel() override;
  // Pages do not end like dialogs; Enter and Esc belong to the sheet.
  void OnOK() override;
  // The sheet's Help button.
  virtual void OnHelp();

  // The sheet takes the keyboard for its pages.
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  friend class PropertySheet;
  friend LONG_PTR FrameworkPageProc(HWND, UINT, WPARAM, LPARAM);
  PropertySheet* sheet = nullptr;
  bool firstSetActive = true;
};

}  // namespace qm::fw
