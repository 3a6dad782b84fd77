// The labels of a wizard's Back, Next, Cancel and Help buttons, set by the
// first page of a wizard on every visit.
#pragma once

#include "platform/framework/PropertySheet.h"

// Each label comes from the string table, or from its built-in text when the
// string is missing; a button the sheet does not have is skipped.
void SetWizardButtonLabels(qm::fw::PropertySheet& sheet);
