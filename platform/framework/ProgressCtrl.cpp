#include "platform/framework/ProgressCtrl.h"

#include "platform/ui/CommCtrl.h"

namespace qm::fw {

bool ProgressCtrl::Create(DWORD style, const RECT& rect, Window* parent, UINT id) {
  return Window::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
}

void ProgressCtrl::SetRange(short lower, short upper) {
  ::SendMessageA(Handle(), PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
}

void ProgressCtrl::SetRange32(int lower, int upper) {
  ::SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

void ProgressCtrl::GetRange(int& lower, int& upper) const {
  PBRANGE range{};
  ::SendMessageA(Handle(), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  lower = range.iLow;
  upper = range.iHigh;
}

int ProgressCtrl::SetPos(int position) {
  return static_cast<int>(::SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

int ProgressCtrl::GetPos() const { return static_cast<int>(::SendMessageA(Handle(), PBM_GETPOS, 0, 0)); }

int ProgressCtrl::OffsetPos(int delta) {
  return static_cast<int>(::SendMessageA(Handle(), PBM_DELTAPOS, static_cast<WPARAM>(delta), 0));
}

int ProgressCtrl::SetStep(int step) {
  return static_cast<int>(::SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step), 0));
}

int ProgressCtrl::StepIt() { return static_cast<int>(::SendMessageA(Handle(), PBM_STEPIT, 0, 0)); }

}  // namespace qm::fw
