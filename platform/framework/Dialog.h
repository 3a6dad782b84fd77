// Dialog: a window built from a dialog template of the program's resources,
// modal (DoModal) or modeless (Create), with data exchange between the
// object's members and its controls (DoDataExchange, UpdateData).
#pragma once

#include "platform/framework/Window.h"
#include "platform/ui/DialogTemplate.h"

namespace qm::fw {

class DataExchange;

class Dialog : public Window {
 public:
  explicit Dialog(UINT templateId = 0, Window* parent = nullptr);

  UINT TemplateId() const { return templateId; }

  // Runs the dialog in its own loop; the result given to EndDialog, -1 when
  // the template is missing or the window cannot be made.
  virtual INT_PTR DoModal();
  // Modeless; the template's visibility style decides whether it shows.
  bool Create(UINT id, Window* parent = nullptr);
  bool Create(Window* parent = nullptr) { return Create(templateId, parent); }
  void EndDialog(INT_PTR result);

  // save false: members to controls; true: controls to members. False when a
  // control was missing or a value did not fit.
  bool UpdateData(bool save = true);

  bool PreTranslateMessage(MSG* msg) override;

  // Called once, when the window and its controls exist. The default puts
  // the members into the controls; true lets the dialog manager set the focus.
  virtual bool OnInitDialog();
  // Enter / the IDOK button: the default takes the controls into the members
  // and ends the dialog with IDOK.
  virtual void OnOK();
  // Esc, the close box / the IDCANCEL button: the default ends with IDCANCEL.
  virtual void OnCancel();

 protected:
  virtual void DoDataExchange(DataExchange& exchange);
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  const DialogTemplate* FindTemplate(UINT id) const;

  Window* parentWindow = nullptr;

 private:
  friend LONG_PTR FrameworkDialogProc(HWND, UINT, WPARAM, LPARAM);
  friend class PropertyPage;
  UINT templateId = 0;
};

}  // namespace qm::fw
