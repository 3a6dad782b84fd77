// CompleteSheet: the completion wizard, opened by the main window once every
// tree has been copied. Links page, DirectX page, then the installation
// complete page; Finish hands over to the main window, which carries out the
// choices and ends the program.
#pragma once

#include <string>

#include "install/wizard/CreateDesktopLinkPage.h"
#include "install/wizard/DirectXPage.h"
#include "install/wizard/InstallationCompletePage.h"
#include "platform/framework/PropertySheet.h"

class CompleteSheet : public qm::fw::PropertySheet {
 public:
  CompleteSheet(const std::string& caption, qm::fw::Window* parent, UINT startPage);

  // Finish on the last page: the main window creates the links, opens what
  // was asked for, offers the restart and posts the quit message.
  void Finish();
  // Cancel on any page: asks whether to resume or to leave setup. Leaving
  // keeps the copied files and the registry record and makes no links.
  void ConfirmExit();

  InstallationCompletePage completePage;
  CreateDesktopLinkPage linksPage;
  DirectXPage directXPage;
};
