#include "platform/ui/DisplayBackend.h"

namespace qm::ui {

std::unique_ptr<DisplayBackend> CreateSdlDisplay() { return nullptr; }

}  // namespace qm::ui
