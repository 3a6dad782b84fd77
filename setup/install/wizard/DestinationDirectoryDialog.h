// DestinationDirectoryDialog: the page that shows where the game goes, the
// free space of that drive and the space the game needs, and keeps the
// sheet's insufficientSpace flag current for the start page.
#pragma once

#include <string>

#include "platform/framework/PropertyPage.h"

class DestinationDirectoryDialog : public qm::fw::PropertyPage {
 public:
  DestinationDirectoryDialog();

  bool OnInitDialog() override;
  LRESULT OnWizardNext() override;
  LRESULT OnWizardBack() override;

  // Browse...: the folder chooser on the shown path; an accepted path
  // becomes the destination.
  void OnBrowse();
  // Puts text into the path field.
  void ShowPath(const std::string& text);
  // Re-reads the free space of the drive the shown path names, refreshes the
  // space texts and the sheet's insufficientSpace flag. Does nothing before
  // the page has a window.
  void UpdateSpaceInfo();

  std::string path;
  std::string availableLabel;
  std::string availableText;
  std::string requiredText;

 protected:
  void DoDataExchange(qm::fw::DataExchange& exchange) override;
};
