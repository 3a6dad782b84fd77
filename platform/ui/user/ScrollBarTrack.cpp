// Holding a scroll bar: the modal loop, as dragging a window runs it, until
// the button is released. An arrow or the track sends its line or page
// message at once and again on a timer while the pointer stays on it (the
// track stops once the thumb has reached the pointer); the thumb follows
// the pointer with SB_THUMBTRACK and ends with SB_THUMBPOSITION. Every hold
// ends with SB_ENDSCROLL.
#include "platform/ui/user/ModalLoop.h"
#include "platform/ui/user/ScrollBars.h"

namespace qm::ui::user {

namespace {

constexpr UINT_PTR RepeatTimer = 0xFFF5;
constexpr UINT FirstDelayMs = 200;
constexpr UINT RepeatDelayMs = 50;

WORD CodeFor(ScrollPart part) {
  switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

class Hold {
 public:
  Hold(HWND hwnd, int bar) : hwnd_(hwnd), bar_(bar), message_(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL) {}

  bool Start(POINT screen) {
    Window* w = Find(hwnd_);
    if (!w) return false;
    ScrollBarState& s = BarState(*w, bar_);
    if (!s.CanScroll()) return false;
    POINT p = InWindow(*w, screen);
    BarGeometry g = GeometryOf(*w, bar_, s, s.pos);
    part_ = PartAt(g, p);
    if (part_ == ScrollPart::None) return false;
    SetCapture(hwnd_);
    if (part_ == ScrollPart::Thumb) {
      grip_ = Along(g, p) - g.thumbStart;
      s.tracking = true;
      s.trackPos = s.pos;
      Show(*w, ScrollPart::Thumb);
    } else {
      Show(*w, part_);
      Send(CodeFor(part_), 0);
      SetTimer(hwnd_, RepeatTimer, FirstDelayMs, nullptr);
    }
    return true;
  }

  void Run() {
    // No owner: the window keeps its activation and input while its bar is held.
    RunModalLoop(
        nullptr, hwnd_, [this] { return GetCapture() == hwnd_; },
        [this](MSG& msg) {
          if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) return ModalFilterResult::EndLoop;
          if (msg.hwnd == hwnd_ && msg.message == WM_MOUSEMOVE) {
            Follow(msg.pt);
            return ModalFilterResult::Handled;
          }
          if (msg.hwnd == hwnd_ && msg.message == WM_TIMER && msg.wParam == RepeatTimer) {
            Repeat();
            return ModalFilterResult::Handled;
          }
          if (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSCHAR) return ModalFilterResult::Handled;
          return ModalFilterResult::Dispatch;
        });
    Finish();
  }

 private:
  static POINT InWindow(const Window& w, POINT screen) {
    POINT o = WindowOriginOnScreen(w);
    return {screen.x - o.x, screen.y - o.y};
  }
  static int Along(const BarGeometry& g, POINT p) { return g.vertical ? p.y : p.x; }

  void Send(WORD code, int position) {
    SendMessageA(hwnd_, message_, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
  }

  void Show(Window& w, ScrollPart pressed) {
    ScrollBarState& s = BarState(w, bar_);
    s.pressed = pressed;
    RedrawScrollBar(w, bar_);
  }

  // Where the pointer is, measured against the bar as it is now: the
  // window may have moved its thumb since the button went down.
  ScrollPart PartUnderPointer(Window& w) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const ScrollBarState& s = BarState(w, bar_);
    return PartAt(GeometryOf(w, bar_, s, s.pos), InWindow(w, cursor));
  }

  void Follow(POINT screen) {
    Window* w = Find(hwnd_);
    if (!w) return;
    ScrollBarState& s = BarState(*w, bar_);
    if (part_ != ScrollPart::Thumb) {
      ScrollPart over = PartUnderPointer(*w) == part_ ? part_ : ScrollPart::None;
      if (over != s.pressed) Show(*w, over);
      return;
    }
    BarGeometry g = GeometryOf(*w, bar_, s, s.trackPos);
    int position = PositionForThumb(g, s, Along(g, InWindow(*w, screen)) - grip_);
    if (position == s.trackPos) return;
    s.trackPos = position;
    Show(*w, ScrollPart::Thumb);
    Send(SB_THUMBTRACK, position);
  }

  void Repeat() {
    SetTimer(hwnd_, RepeatTimer, RepeatDelayMs, nullptr);
    Window* w = Find(hwnd_);
    if (!w || part_ == ScrollPart::Thumb) return;
    bool over = PartUnderPointer(*w) == part_;
    if (over != (BarState(*w, bar_).pressed == part_)) Show(*w, over ? part_ : ScrollPart::None);
    if (over) Send(CodeFor(part_), 0);
  }

  void Finish() {
    KillTimer(hwnd_, RepeatTimer);
    if (GetCapture() == hwnd_) ReleaseCapture();
    Window* w = Find(hwnd_);
    if (!w) return;
    ScrollBarState& s = BarState(*w, bar_);
    bool thumb = s.tracking;
    int position = s.trackPos;
    s.tracking = false;
    if (thumb) Send(SB_THUMBPOSITION, position);
    if (!(w = Find(hwnd_))) return;
    Show(*w, ScrollPart::None);
    Send(SB_ENDSCROLL, 0);
  }

  HWND hwnd_;
  int bar_;
  UINT message_;
  ScrollPart part_ = ScrollPart::None;
  int grip_ = 0;  // where along the thumb the pointer took hold of it
};

}  // namespace

void TrackScrollBar(HWND hwnd, int bar, POINT screen) {
  Hold hold(hwnd, bar);
  if (hold.Start(screen)) hold.Run();
}

}  // namespace qm::ui::user
