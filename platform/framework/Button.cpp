#include "platform/framework/Button.h"

#include "platform/ui/Controls.h"

namespace qm::fw {

bool Button::Create(LPCSTR text, DWORD style, const RECT& rect, Window* parent, UINT id) {
  return Window::Create(WC_BUTTONA, text, style, rect, parent, id);
}

int Button::GetCheck() const { return static_cast<int>(::SendMessageA(Handle(), BM_GETCHECK, 0, 0)); }

void Button::SetCheck(int check) { ::SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(check), 0); }

UINT Button::GetState() const { return static_cast<UINT>(::SendMessageA(Handle(), BM_GETSTATE, 0, 0)); }

void Button::Click() { ::SendMessageA(Handle(), BM_CLICK, 0, 0); }

}  // namespace qm::fw
