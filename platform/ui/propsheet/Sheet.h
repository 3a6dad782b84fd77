// The state of one property sheet in wizard mode, shared by the files of this
// folder. The sheet window is a dialog built from a template of our own; its
// pages are child dialogs created the first time each becomes current.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/DialogTemplate.h"

namespace qm::ui::propsheet {

struct SheetPage {
  PROPSHEETPAGEA psp{};          // the page's own copy; WM_INITDIALOG's lParam points here
  DialogTemplate childTemplate;  // the page's template restyled as a child control dialog
  HWND hwnd = nullptr;
};

struct Sheet {
  HWND hwnd = nullptr;
  WNDPROC dialogProc = nullptr;  // the dialog window's own procedure, under our subclass
  bool modeless = false;
  bool ended = false;            // finished or cancelled
  bool destroyed = false;        // the window is gone; handlers still running must stop
  INT_PTR result = 0;
  int current = -1;
  UINT startPage = 0;
  DWORD wizardButtons = PSWIZB_BACK | PSWIZB_NEXT;
  bool finishTextSet = false;    // Finish replaces Back and Next for good
  bool cancelLocked = false;     // cancel-to-close: Cancel stays unavailable
  RECT pageArea{};               // client pixels of the sheet where the current page stands
  DialogTemplate sheetTemplate;
  std::vector<std::unique_ptr<SheetPage>> pages;
};

// The sheet whose window is hwnd; null for any other window. The shared
// pointer keeps the state alive while a handler that may destroy the window
// is still running.
std::shared_ptr<Sheet> FindSheet(HWND hwnd);

// Layout, in dialog units of the sheet's font ("MS Sans Serif" 8, the font of
// the pages): the page area, an etched line, the buttons at the bottom right.
DialogTemplate BuildSheetTemplate(const PROPSHEETHEADERA& header);
DialogTemplate BuildChildTemplate(const DialogTemplate& pageTemplate);
RECT PageAreaInDialogUnits(const DialogTemplate& sheetTemplate);

// Presses one of the sheet's buttons when it is shown and enabled.
void PressSheetButton(Sheet& sheet, int id);

}  // namespace qm::ui::propsheet
