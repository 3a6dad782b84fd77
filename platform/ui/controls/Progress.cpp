// The progress bar (msctls_progress32): a range, a position always held
// within it, and a sunken frame filled with navy blocks or a smooth bar.
#include <algorithm>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/controls/ControlProcs.h"
#include "platform/ui/controls/ControlSupport.h"

namespace qm::ui::controls {

namespace {

struct ProgressState {
  int low = 0;
  int high = 100;
  int position = 0;
  int step = 10;
};

int Clamp(const ProgressState& state, int position) {
  if (state.high < state.low) return state.low;
  return std::clamp(position, state.low, state.high);
}

LRESULT PackedRange(const ProgressState& state) {
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(state.low), static_cast<WORD>(state.high)));
}

LRESULT SetPosition(HWND hwnd, ProgressState& state, int position) {
  int previous = state.position;
  state.position = Clamp(state, position);
  if (state.position != previous) InvalidateRect(hwnd, nullptr, FALSE);
  return previous;
}

LRESULT SetRange(HWND hwnd, ProgressState& state, int low, int high) {
  LRESULT previous = PackedRange(state);
  state.low = low;
  state.high = high;
  state.position = Clamp(state, state.position);
  InvalidateRect(hwnd, nullptr, FALSE);
  return previous;
}

void Paint(HWND hwnd, HDC dc, const ProgressState& state) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  if (HasNoFrameArea(hwnd)) {
    Frame3d(dc, rect, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    rect = RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  }
  FillSysColor(dc, rect, COLOR_BTNFACE);
  RECT bar{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
  int width = bar.right - bar.left;
  int span = state.high - state.low;
  if (width <= 0 || span <= 0) return;
  int filled = static_cast<int>(static_cast<long long>(state.position - state.low) * width / span);
  if (StyleOf(hwnd) & PBS_SMOOTH) {
    FillSysColor(dc, RECT{bar.left, bar.top, bar.left + filled, bar.bottom}, COLOR_HIGHLIGHT);
    return;
  }
  // Blocks two thirds as wide as the bar is high, two pixels apart; the
  // last one is drawn only once the fill reaches into it.
  int blockWidth = std::max(2, (bar.bottom - bar.top) * 2 / 3);
  for (int x = bar.left; x < bar.left + filled; x += blockWidth + 2) {
    int right = std::min(x + blockWidth, static_cast<int>(bar.right));
    FillSysColor(dc, RECT{x, bar.top, right, bar.bottom}, COLOR_HIGHLIGHT);
  }
}

}  // namespace

LRESULT ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) AttachState<ProgressState>(hwnd);
  ProgressState* state = StateOf<ProgressState>(hwnd);
  if (!state) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      DestroyState<ProgressState>(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(hwnd, &paint);
      if (dc) Paint(hwnd, dc, *state);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case PBM_SETRANGE:
      return SetRange(hwnd, *state, LOWORD(static_cast<DWORD_PTR>(lParam)), HIWORD(static_cast<DWORD_PTR>(lParam)));
    case PBM_SETRANGE32:
      return SetRange(hwnd, *state, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
      if (lParam) {
        auto* range = reinterpret_cast<PBRANGE*>(lParam);
        range->iLow = state->low;
        range->iHigh = state->high;
      }
      return wParam ? state->low : state->high;
    case PBM_SETPOS:
      return SetPosition(hwnd, *state, static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return SetPosition(hwnd, *state, state->position + static_cast<int>(wParam));
    case PBM_GETPOS:
      return state->position;
    case PBM_SETSTEP: {
      int previous = state->step;
      state->step = static_cast<int>(wParam);
      return previous;
    }
    case PBM_STEPIT: {
      // Stepping past the end starts over from the beginning.
      int next = state->position + state->step;
      int span = state->high - state->low;
      if (span > 0 && next > state->high) next = state->low + (next - state->high) % span;
      if (span > 0 && next < state->low) next = state->high - (state->low - next) % span;
      return SetPosition(hwnd, *state, next);
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace qm::ui::controls
