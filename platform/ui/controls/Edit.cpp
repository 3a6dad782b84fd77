// The single-line EDIT class: typing through WM_CHAR, caret movement, an
// optional selection, horizontal scrolling that keeps the caret in view,
// and read-only edits whose caret still moves.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/kernel/NameCase.h"
#include "platform/kernel/Utf8.h"
#include "platform/ui/Controls.h"
#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/EditText.h"
#include "platform/ui/dialogs/DialogHooks.h"

namespace qm::ui::controls {

namespace {

constexpr std::size_t kDefaultLimit = 30000;
constexpr int kMargin = 1;

struct EditState {
  HFONT font = nullptr;
  EditText edit;
  int scroll = 0;  // pixels of text scrolled out on the left
  bool focused = false;
  bool tracking = false;
  std::size_t limit = kDefaultLimit;
};

bool HasBorder(HWND hwnd) {
  return ((StyleOf(hwnd) & WS_BORDER) || (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) &&
         HasNoFrameArea(hwnd);
}

RECT TextArea(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  if (HasBorder(hwnd)) rect = RECT{rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
  return rect;
}

std::string Shown(HWND hwnd, const std::string& text) {
  if (!(StyleOf(hwnd) & ES_PASSWORD)) return text;
  return std::string(kernel::CountUtf8Chars(text), '*');
}

// Measures with the control's font in a DC of its own.
class Measure {
 public:
  Measure(HWND hwnd, const EditState& state) : dc(hwnd, state.font) {}

  int Width(const std::string& text) {
    if (text.empty()) return 0;
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

 private:
  MeasuringDC dc;
};

int PrefixWidth(HWND hwnd, Measure& measure, const EditText& edit, std::size_t offset) {
  return measure.Width(Shown(hwnd, edit.text.substr(0, offset)));
}

int AlignmentOffset(HWND hwnd, int textWidth, int areaWidth) {
  DWORD align = StyleOf(hwnd) & (ES_CENTER | ES_RIGHT);
  if (textWidth >= areaWidth || align == ES_LEFT) return 0;
  return align == ES_RIGHT ? areaWidth - textWidth : (areaWidth - textWidth) / 2;
}

// Scrolls by a third of the width when the caret would leave the view, as
// the classic edit does, and never leaves blank space on the right that
// text could fill.
void KeepCaretVisible(HWND hwnd, EditState& state) {
  RECT area = TextArea(hwnd);
  int visible = std::max(1, static_cast<int>(area.right - area.left) - 2 * kMargin);
  Measure measure(hwnd, state);
  int caretX = PrefixWidth(hwnd, measure, state.edit, state.edit.caret);
  int textWidth = measure.Width(Shown(hwnd, state.edit.text));
  if (caretX < state.scroll) state.scroll = std::max(0, caretX - visible / 3);
  if (caretX >= state.scroll + visible) state.scroll = caretX - visible + visible / 3;
  if (state.scroll > 0 && textWidth - state.scroll < visible - 1)
    state.scroll = std::max(0, std::max(textWidth - visible + 1, caretX - visible + 1));
}

std::size_t OffsetAt(HWND hwnd, EditState& state, int clientX) {
  RECT area = TextArea(hwnd);
  Measure measure(hwnd, state);
  int textWidth = measure.Width(Shown(hwnd, state.edit.text));
  int areaWidth = static_cast<int>(area.right - area.left) - 2 * kMargin;
  int x = clientX - (area.left + kMargin) + state.scroll - AlignmentOffset(hwnd, textWidth, areaWidth);
  std::size_t best = 0;
  int bestDistance = std::abs(x);
  for (std::size_t offset = 0; offset < state.edit.text.size();) {
    offset = state.edit.Next(offset);
    int distance = std::abs(PrefixWidth(hwnd, measure, state.edit, offset) - x);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = offset;
    }
  }
  return best;
}

void Changed(HWND hwnd, EditState& state, bool notify) {
  DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(state.edit.text.c_str()));
  KeepCaretVisible(hwnd, state);
  InvalidateRect(hwnd, nullptr, FALSE);
  if (notify) {
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
  }
}

void Moved(HWND hwnd, EditState& state) {
  KeepCaretVisible(hwnd, state);
  InvalidateRect(hwnd, nullptr, FALSE);
}

bool ReadOnly(HWND hwnd) { return (StyleOf(hwnd) & ES_READONLY) != 0; }

// Applies the style's filters; empty when the character is refused.
std::string Filtered(HWND hwnd, char32_t c) {
  DWORD style = StyleOf(hwnd);
  if ((style & ES_NUMBER) && (c < '0' || c > '9')) return {};
  // Upper case is the platform's one upper-casing, that of names.
  if (style & ES_UPPERCASE) c = kernel::UpcaseNameChar(c);
  if ((style & ES_LOWERCASE) && c < 0x80) c = static_cast<char32_t>(std::tolower(static_cast<int>(c)));
  std::string utf8;
  kernel::AppendUtf8(utf8, c);
  return utf8;
}

void Insert(HWND hwnd, EditState& state, const std::string& insertion, bool notify) {
  std::size_t kept = state.edit.text.size() - (state.edit.SelectionEnd() - state.edit.SelectionStart());
  std::string text = insertion;
  if (kept + text.size() > state.limit) {
    std::size_t room = state.limit > kept ? state.limit - kept : 0;
    EditText cut{text, room, room};
    text.resize(cut.Boundary(room));
    if (text.empty() && !insertion.empty()) {
      MessageBeep(0);
      return;
    }
  }
  state.edit.ReplaceSelection(text);
  Changed(hwnd, state, notify);
}

void OnChar(HWND hwnd, EditState& state, char32_t c) {
  if (c == 0x08) {
    if (ReadOnly(hwnd)) return;
    if (state.edit.DeleteBackward()) Changed(hwnd, state, true);
    return;
  }
  if (c < 0x20 || c == 0x7F) return;
  if (ReadOnly(hwnd)) {
    MessageBeep(0);
    return;
  }
  std::string utf8 = Filtered(hwnd, c);
  if (utf8.empty()) {
    MessageBeep(0);
    return;
  }
  Insert(hwnd, state, utf8, true);
}

bool OnKeyDown(HWND hwnd, EditState& state, WPARAM key) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  EditText& edit = state.edit;
  switch (key) {
    case VK_LEFT:
      if (edit.HasSelection() && !shift)
        edit.MoveTo(edit.SelectionStart(), false);
      else
        edit.MoveTo(edit.Previous(edit.caret), shift);
      break;
    case VK_RIGHT:
      if (edit.HasSelection() && !shift)
        edit.MoveTo(edit.SelectionEnd(), false);
      else
        edit.MoveTo(edit.Next(edit.caret), shift);
      break;
    case VK_HOME:
      edit.MoveTo(0, shift);
      break;
    case VK_END:
      edit.MoveTo(edit.text.size(), shift);
      break;
    case VK_DELETE:
      if (ReadOnly(hwnd)) return true;
      if (edit.DeleteForward()) Changed(hwnd, state, true);
      return true;
    default:
      return false;
  }
  Moved(hwnd, state);
  return true;
}

void Paint(HWND hwnd, HDC dc, EditState& state) {
  RECT client{};
  GetClientRect(hwnd, &client);
  bool enabled = IsWindowEnabled(hwnd);
  bool grey = ReadOnly(hwnd) || !enabled;
  HBRUSH brush = ControlColors(hwnd, dc, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  RECT rect = client;
  if (HasBorder(hwnd)) SunkenEdge(dc, rect);
  FillRect(dc, &rect, brush);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));

  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  auto width = [&](const std::string& text) {
    SIZE size{};
    if (!text.empty()) GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  const EditText& edit = state.edit;
  std::string shown = Shown(hwnd, edit.text);
  std::string before = Shown(hwnd, edit.text.substr(0, edit.SelectionStart()));
  std::string selected = Shown(hwnd, edit.text.substr(edit.SelectionStart(), edit.SelectionEnd() - edit.SelectionStart()));
  std::string after = Shown(hwnd, edit.text.substr(edit.SelectionEnd()));
  int areaWidth = static_cast<int>(rect.right - rect.left) - 2 * kMargin;
  int x = rect.left + kMargin - state.scroll + AlignmentOffset(hwnd, width(shown), areaWidth);
  int y = rect.top + std::max(0, static_cast<int>(rect.bottom - rect.top - metrics.tmHeight) / 2);

  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, x, y, before.c_str(), static_cast<int>(before.size()));
  int selectionX = x + width(before);
  int selectionWidth = width(selected);
  bool showSelection = edit.HasSelection() && (state.focused || (StyleOf(hwnd) & ES_NOHIDESEL));
  if (showSelection) {
    FillSysColor(dc, RECT{selectionX, y, selectionX + selectionWidth, y + metrics.tmHeight}, COLOR_HIGHLIGHT);
    COLORREF old = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    TextOutA(dc, selectionX, y, selected.c_str(), static_cast<int>(selected.size()));
    SetTextColor(dc, old);
  } else {
    TextOutA(dc, selectionX, y, selected.c_str(), static_cast<int>(selected.size()));
  }
  TextOutA(dc, selectionX + selectionWidth, y, after.c_str(), static_cast<int>(after.size()));
  if (state.focused) {
    int caretX = x + width(Shown(hwnd, edit.text.substr(0, edit.caret)));
    FillSysColor(dc, RECT{caretX, y, caretX + 1, y + metrics.tmHeight}, COLOR_WINDOWTEXT);
  }
  RestoreDC(dc, saved);
}

LRESULT GetSelection(const EditText& edit, WPARAM wParam, LPARAM lParam) {
  auto start = static_cast<DWORD>(edit.SelectionStart());
  auto end = static_cast<DWORD>(edit.SelectionEnd());
  if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
  if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
  if (start > 0xFFFF || end > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end)));
}

void SetSelection(HWND hwnd, EditState& state, WPARAM wParam, LPARAM lParam) {
  auto start = static_cast<std::intptr_t>(wParam);
  auto end = static_cast<std::intptr_t>(lParam);
  std::size_t size = state.edit.text.size();
  if (start == -1) {
    state.edit.MoveTo(state.edit.caret, false);
  } else {
    auto clamp = [size](std::intptr_t v) { return v < 0 ? size : std::min(static_cast<std::size_t>(v), size); };
    state.edit.Select(clamp(start), clamp(end));
  }
  Moved(hwnd, state);
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* state = AttachState<EditState>(hwnd);
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (create && create->lpszName) state->edit.SetText(create->lpszName);
  }
  EditState* state = StateOf<EditState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (std::optional<LRESULT> result = FontAndEraseMessage(hwnd, message, wParam, lParam, state->font)) return *result;
  switch (message) {
    case WM_NCDESTROY:
      DestroyState<EditState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      state->edit.SetText(text ? text : "");
      state->scroll = 0;
      Changed(hwnd, *state, true);
      return TRUE;
    }
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      return PaintWithFont(hwnd, state->font, [&](HDC dc) { Paint(hwnd, dc, *state); });
    case WM_SETFOCUS:
      state->focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      NotifyParent(hwnd, EN_SETFOCUS);
      dialogs::NoteFocusChange(hwnd);
      return 0;
    case WM_KILLFOCUS:
      state->focused = false;
      if (state->tracking) ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != hwnd) SetFocus(hwnd);
      int x = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)));
      state->edit.MoveTo(OffsetAt(hwnd, *state, x), GetKeyState(VK_SHIFT) < 0);
      BeginMouseHold(hwnd, state->tracking);
      Moved(hwnd, *state);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (state->tracking) {
        int x = static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)));
        state->edit.MoveTo(OffsetAt(hwnd, *state, x), true);
        Moved(hwnd, *state);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      return EndMouseHold(message, state->tracking);
    case WM_KEYDOWN:
      if (OnKeyDown(hwnd, *state, wParam)) return 0;
      break;
    case WM_CHAR:
      OnChar(hwnd, *state, static_cast<char32_t>(wParam));
      return 0;
    case EM_GETSEL:
      return GetSelection(state->edit, wParam, lParam);
    case EM_SETSEL:
      SetSelection(hwnd, *state, wParam, lParam);
      return 0;
    case EM_REPLACESEL: {
      const char* text = reinterpret_cast<const char*>(lParam);
      Insert(hwnd, *state, text ? text : "", true);
      return 0;
    }
    case EM_SETREADONLY:
      SetStyleBits(hwnd, ES_READONLY, wParam != 0);
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    case EM_LIMITTEXT:
      state->limit = wParam ? static_cast<std::size_t>(wParam) : 0x7FFFFFFE;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace qm::ui::controls
