// The thread's message queue. Posted messages (from any thread) and input
// come first, then WM_QUIT, then WM_PAINT for windows with something to
// repaint, then due timers; nested loops simply call GetMessageA or
// PeekMessageA again.
#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ui/DisplayBackend.h"
#include "platform/ui/user/IdleHook.h"
#include "platform/ui/user/WindowState.h"

using namespace qm::ui::user;

namespace {

struct Posted {
  MSG msg;
  int modifiers = -1;  // input only: the modifier keys held when it happened
};

struct Queue {
  std::mutex mutex;
  std::deque<Posted> posted;
  bool quitPending = false;
  int quitCode = 0;
  DWORD lastTime = 0;
  // Shared, so that a run holds the hook it started even when the hook
  // replaces itself, without a copy of the hook for every idle moment.
  std::shared_ptr<const IdleHook> idleHook;
  std::thread::id uiThread = std::this_thread::get_id();
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

bool InRange(UINT message, UINT low, UINT high) {
  return (low == 0 && high == 0) || (message >= low && message <= high);
}

bool MatchesWindow(HWND target, HWND filter) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return target == nullptr;
  return target == filter || IsDescendant(filter, target);
}

bool IsInputMessage(UINT message) {
  return (message >= WM_KEYDOWN && message <= 0x0109) || (message >= WM_MOUSEMOVE && message <= 0x020E) ||
         (message >= WM_NCLBUTTONDOWN && message <= 0x00A9);
}

bool TakeMessage(MSG* msg, HWND filter, UINT low, UINT high, bool remove) {
  Queue& q = TheQueue();
  {
    std::lock_guard lock(q.mutex);
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
      if (!MatchesWindow(it->msg.hwnd, filter) || !InRange(it->msg.message, low, high)) continue;
      *msg = it->msg;
      int modifiers = it->modifiers;
      if (remove) q.posted.erase(it);
      q.lastTime = msg->time;
      // Keyboard state follows the messages as the program takes them.
      if (remove && modifiers >= 0) NoteInputTaken(*msg, modifiers);
      return true;
    }
  }
  if (q.quitPending) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, static_cast<DWORD>(NowMs()), {}};
    if (remove) q.quitPending = false;
    return true;
  }
  if (InRange(WM_PAINT, low, high)) {
    HWND hwnd = NextWindowToPaint(filter == reinterpret_cast<HWND>(-1) ? nullptr : filter);
    if (hwnd && filter != reinterpret_cast<HWND>(-1)) {
      *msg = MSG{hwnd, WM_PAINT, 0, 0, static_cast<DWORD>(NowMs()), {}};
      return true;
    }
  }
  if (InRange(WM_TIMER, low, high)) {
    long long now = NowMs();
    for (Timer& timer : Wm().timers) {
      if (timer.dueMs > now || !MatchesWindow(timer.hwnd, filter)) continue;
      *msg = MSG{timer.hwnd, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.proc), static_cast<DWORD>(now), {}};
      if (remove) timer.dueMs = now + timer.elapseMs;
      return true;
    }
  }
  return false;
}

// Nothing at all to hand out, whatever a caller's filter: only then is the
// program idle.
bool QueueIsEmpty() {
  MSG probe;
  return !TakeMessage(&probe, nullptr, 0, 0, false);
}

// Milliseconds until the next timer is due; -1 without timers.
int NextTimerTimeout() {
  long long now = NowMs();
  long long best = -1;
  for (const Timer& timer : Wm().timers) {
    long long wait = std::max(0LL, timer.dueMs - now);
    if (best < 0 || wait < best) best = wait;
  }
  return static_cast<int>(best);
}

bool OnUiThread() { return std::this_thread::get_id() == TheQueue().uiThread; }

// Blocks until a message matching the filter can be handed out.
void WaitForMessage(HWND filter, UINT low, UINT high) {
  MSG probe;
  for (;;) {
    if (TakeMessage(&probe, filter, low, high, false)) return;
    ComposeScreen();
    IdlePoint point{true, !Wm().timers.empty()};
    if (QueueIsEmpty() && RunIdleHook(point) == IdleResult::Progress) continue;
    if (TakeMessage(&probe, filter, low, high, false)) return;
    qm::ui::Display().WaitForInput(NextTimerTimeout());
  }
}

}  // namespace

namespace qm::ui::user {

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetIdleHook(IdleHook hook) {
  TheQueue().idleHook = hook ? std::make_shared<const IdleHook>(std::move(hook)) : nullptr;
}

bool HasIdleHook() { return TheQueue().idleHook != nullptr; }

IdleResult RunIdleHook(const IdlePoint& point) {
  // Held: the hook may replace itself while it runs.
  std::shared_ptr<const IdleHook> hook = TheQueue().idleHook;
  return hook ? (*hook)(point) : IdleResult::Nothing;
}

void RemoveTimersOf(HWND hwnd) { std::erase_if(Wm().timers, [&](const Timer& t) { return t.hwnd == hwnd; }); }

void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT screenPoint, int modifiers) {
  Queue& q = TheQueue();
  std::lock_guard lock(q.mutex);
  q.posted.push_back(Posted{MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(NowMs()), screenPoint}, modifiers});
}

}  // namespace qm::ui::user

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  // Waiting for a window that is gone would never end.
  if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !FindOrDesktop(hwnd)) return -1;
  WaitForMessage(hwnd, filterMin, filterMax);
  TakeMessage(msg, hwnd, filterMin, filterMax, true);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  bool remove = (removeFlags & PM_REMOVE) != 0;
  if (TakeMessage(msg, hwnd, filterMin, filterMax, remove)) return TRUE;
  qm::ui::Display().WaitForInput(0);
  if (TakeMessage(msg, hwnd, filterMin, filterMax, remove)) return TRUE;
  ComposeScreen();
  if (QueueIsEmpty() && RunIdleHook(IdlePoint{false, !Wm().timers.empty()}) == IdleResult::Progress &&
      TakeMessage(msg, hwnd, filterMin, filterMax, remove))
    return TRUE;
  return FALSE;
}

BOOL WaitMessage() {
  WaitForMessage(nullptr, 0, 0);
  return TRUE;
}

DWORD GetMessageTime() { return TheQueue().lastTime; }

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && OnUiThread() && !Find(hwnd)) return FALSE;
  Queue& q = TheQueue();
  {
    std::lock_guard lock(q.mutex);
    q.posted.push_back(Posted{MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(NowMs()), {}}});
  }
  if (!OnUiThread()) qm::ui::Display().Wake();
  return TRUE;
}

BOOL PostThreadMessageA(DWORD, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(nullptr, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  Queue& q = TheQueue();
  q.quitPending = true;
  q.quitCode = exitCode;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindOrDesktop(hwnd);
  if (!w || !w->proc) return 0;
  return w->proc(hwnd, message, wParam, lParam);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  UINT key = static_cast<UINT>(msg->wParam);
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  UINT charMessage = WM_CHAR;
  WPARAM code = 0;
  // Printable characters arrive as text input (they depend on the host's
  // keyboard layout); key downs give the control characters and Alt+key.
  if (msg->message == WM_SYSKEYDOWN) {
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE)) return FALSE;
    charMessage = WM_SYSCHAR;
    code = (key >= 'A' && key <= 'Z' && !shift) ? key + ('a' - 'A') : key;
  } else if (key == VK_RETURN) {
    code = '\r';
  } else if (key == VK_BACK) {
    code = 8;
  } else if (key == VK_TAB) {
    code = '\t';
  } else if (key == VK_ESCAPE) {
    code = 27;
  } else if (control && key >= 'A' && key <= 'Z') {
    code = key - 'A' + 1;
  } else {
    return FALSE;
  }
  Queue& q = TheQueue();
  std::lock_guard lock(q.mutex);
  q.posted.push_front(Posted{MSG{msg->hwnd, charMessage, code, msg->lParam, msg->time, msg->pt}});
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  Window* w = Find(msg->hwnd);
  if (!w || !w->proc) return 0;
  // Input for a disabled window (or one inside a disabled window) is dropped here, once.
  if (IsInputMessage(msg->message) && !AcceptsInput(msg->hwnd)) return 0;
  if (msg->message != WM_PAINT) return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  unsigned long serial = Wm().paintSerial;
  LRESULT result = w->proc(msg->hwnd, WM_PAINT, msg->wParam, msg->lParam);
  // A paint handler that never called BeginPaint would be asked again forever.
  if ((w = Find(msg->hwnd)) && Wm().paintSerial == serial) {
    if (w->frameDirty) PaintFrameNow(*w);
    ValidateRect(msg->hwnd, nullptr);
  }
  return result;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  auto& wm = Wm();
  if (hwnd && !Find(hwnd)) return 0;
  if (!hwnd) id = wm.nextTimerId++;
  long long due = NowMs() + elapseMs;
  for (Timer& timer : wm.timers)
    if (timer.hwnd == hwnd && timer.id == id) {
      timer = Timer{hwnd, id, elapseMs, proc, due};
      return id;
    }
  wm.timers.push_back(Timer{hwnd, id, elapseMs, proc, due});
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = Wm().timers;
  auto before = timers.size();
  std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  return timers.size() != before;
}
