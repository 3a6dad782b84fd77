#include "platform/framework/ComboBox.h"

#include <vector>

#include "platform/ui/Controls.h"

namespace qm::fw {

namespace {

LPARAM Text(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

bool ComboBox::Create(DWORD style, const RECT& rect, Window* parent, UINT id) {
  return Window::Create(WC_COMBOBOXA, "", style, rect, parent, id);
}

int ComboBox::AddString(const std::string& text) {
  return static_cast<int>(::SendMessageA(Handle(), CB_ADDSTRING, 0, Text(text)));
}

int ComboBox::InsertString(int index, const std::string& text) {
  return static_cast<int>(::SendMessageA(Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index), Text(text)));
}

int ComboBox::DeleteString(int index) {
  return static_cast<int>(::SendMessageA(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

void ComboBox::ResetContent() { ::SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }

int ComboBox::GetCount() const { return static_cast<int>(::SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }

int ComboBox::GetCurSel() const { return static_cast<int>(::SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

int ComboBox::SetCurSel(int index) {
  return static_cast<int>(::SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

int ComboBox::GetLBTextLen(int index) const {
  return static_cast<int>(::SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
}

bool ComboBox::GetLBText(int index, std::string& text) const {
  const int length = GetLBTextLen(index);
  if (length < 0) return false;
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  ::SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  text.assign(buffer.data(), static_cast<std::size_t>(length));
  return true;
}

int ComboBox::FindString(int startAfter, const std::string& prefix) const {
  return static_cast<int>(::SendMessageA(Handle(), CB_FINDSTRING, static_cast<WPARAM>(startAfter), Text(prefix)));
}

int ComboBox::FindStringExact(int startAfter, const std::string& text) const {
  return static_cast<int>(::SendMessageA(Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), Text(text)));
}

int ComboBox::SelectString(int startAfter, const std::string& prefix) {
  return static_cast<int>(::SendMessageA(Handle(), CB_SELECTSTRING, static_cast<WPARAM>(startAfter), Text(prefix)));
}

LRESULT ComboBox::GetItemData(int index) const {
  return ::SendMessageA(Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

int ComboBox::SetItemData(int index, LPARAM data) {
  return static_cast<int>(::SendMessageA(Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index), data));
}

void ComboBox::ShowDropDown(bool show) { ::SendMessageA(Handle(), CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0); }

bool ComboBox::GetDroppedState() const { return ::SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

DWORD ComboBox::GetEditSel() const { return static_cast<DWORD>(::SendMessageA(Handle(), CB_GETEDITSEL, 0, 0)); }

bool ComboBox::SetEditSel(int start, int end) {
  return ::SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end))) != 0;
}

bool ComboBox::LimitText(int maxChars) {
  return ::SendMessageA(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxChars), 0) != 0;
}

}  // namespace qm::fw
