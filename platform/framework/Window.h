// Window: an object bound to a window handle. Messages reach the object's
// WindowProc, which calls the typed handlers below; a handler's default
// passes the message on to the window's own procedure (Default).
//
// A subclass handles a message of its own, such as a private WM_USER
// message, by overriding WindowProc and passing everything else on:
//
//   LRESULT MainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
//     if (message == WM_USER + 1) { OnStart(); return 0; }
//     return Window::WindowProc(message, wParam, lParam);
//   }
#pragma once

#include <string>

#include "platform/framework/MessageMap.h"
#include "platform/ui/WinUser.h"

namespace qm::fw {

class Window {
 public:
  Window() = default;
  // A window still bound to the object is destroyed with it.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd; }
  // The object bound to hwnd, or a temporary wrapper for a window that no
  // object owns (a control found with GetDlgItem); null for a null handle.
  // Temporary wrappers live until the application's loop is next idle.
  static Window* FromHandle(HWND hwnd);
  // Only objects bound by Create, CreateEx or subclassing; null otherwise.
  static Window* FromHandlePermanent(HWND hwnd);
  static void DeleteTemporaryWrappers();

  // Creates a window bound to this object. Windows of a class made with
  // RegisterWindowClass reach the object from their first message on
  // (WM_NCCREATE, WM_CREATE included); windows of other classes, such as the
  // standard controls, once their creation is over.
  bool CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
  bool Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, Window* parent, UINT id,
              LPVOID param = nullptr);
  // Binds an existing window: its messages pass through this object first.
  bool SubclassWindow(HWND window);
  bool SubclassDlgItem(UINT id, Window* parent);
  HWND UnsubclassWindow();
  virtual bool DestroyWindow();

  // Dispatching: the chain of windows from a message's target up to its
  // top-level window may take a message before it is translated and
  // dispatched (dialog keyboard). True: taken.
  virtual bool PreTranslateMessage(MSG* msg);

  bool ShowWindow(int command);
  bool UpdateWindow();
  void Invalidate(bool erase = true);
  void InvalidateRect(const RECT* rect, bool erase = true);
  bool IsWindowVisible() const;
  bool EnableWindow(bool enable = true);
  bool IsWindowEnabled() const;
  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;
  int GetWindowText(LPSTR buffer, int size) const;
  Window* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  // The parent of a child window, the owner of a top-level window.
  Window* GetParent() const;
  void GetClientRect(RECT* rect) const;
  void GetWindowRect(RECT* rect) const;
  bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
  bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  bool ModifyStyle(DWORD remove, DWORD add);
  Window* SetFocus();
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // A null caption: the application's name.
  int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
  bool KillTimer(UINT_PTR id);

 protected:
  // Every message of the window; the default calls the handlers below and
  // passes the rest on to DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's own procedure (the one under this object).
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The message being handled, passed on to the window's own procedure.
  LRESULT Default();

  // Handlers; each default is Default() unless said otherwise.
  virtual int OnCreate(CREATESTRUCTA* create);  // -1 refuses the creation
  virtual void OnDestroy();
  virtual void OnPaint();
  virtual bool OnEraseBkgnd(HDC dc);  // true: erased
  virtual void OnClose();
  virtual void OnActivate(UINT state, HWND other, bool minimized);
  virtual void OnTimer(UINT_PTR id);
  // True: handled (the default handles nothing and lets Default run).
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // After the window is gone and unbound; a self-deleting object deletes
  // itself here. The default does nothing.
  virtual void PostNcDestroy();

  // Message-map entries, made once (in the constructor, say); they take a
  // control's notification before OnCommand and OnNotify see it:
  //   MapNotify(TVN_SELCHANGEDA, 1049, &ChooserDialog::OnSelChanged);  // void (NMHDR*, LRESULT*)
  //   MapCommand(CBN_EDITCHANGE, 1051, &ChooserDialog::UpdateButtons);  // void ()
  template <class T>
  void MapNotify(UINT code, int id, void (T::*handler)(NMHDR*, LRESULT*)) {
    T* self = static_cast<T*>(this);
    messageMap.AddNotify(code, id, [self, handler](NMHDR* header, LRESULT* result) { (self->*handler)(header, result); });
  }
  template <class T>
  void MapCommand(WORD code, int id, void (T::*handler)()) {
    T* self = static_cast<T*>(this);
    messageMap.AddCommand(code, id, [self, handler] { (self->*handler)(); });
  }

 private:
  friend LRESULT FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend void BindCreatedWindow(Window*, HWND);
  struct Message {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };

  void Bind(HWND window, WNDPROC original);
  void Unbind();

  HWND hwnd = nullptr;
  WNDPROC originalProc = nullptr;
  Message current;
  MessageMap messageMap;
};

// Registers a window class whose windows a Window object can own, like the
// classes a program registers for its frame windows; returns its name. The
// same arguments give the same class.
std::string RegisterWindowClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon);

}  // namespace qm::fw
