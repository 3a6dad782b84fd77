// The installer's dialog templates, in dialog units.
#pragma once

#include <utility>
#include <vector>

#include "platform/ui/DialogTemplate.h"

// Every template of the program with its resource id.
std::vector<std::pair<unsigned, DialogTemplate>> InstallerDialogTemplates();
