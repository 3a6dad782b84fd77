// Message-map entries: a control's notifications routed to a handler by the
// control's id and the notification code, for the codes that come with
// WM_COMMAND (BN_CLICKED, EN_CHANGE, CBN_EDITCHANGE, ...) and those that come
// with WM_NOTIFY (TVN_SELCHANGEDA, NM_RCLICK, ...). A window consults its
// entries before its OnCommand and OnNotify handlers.
#pragma once

#include <functional>
#include <vector>

#include "platform/ui/WinUser.h"

namespace qm::fw {

class MessageMap {
 public:
  using CommandHandler = std::function<void()>;
  // The handler writes the notification's answer into *result (0 unless it does).
  using NotifyHandler = std::function<void(NMHDR* header, LRESULT* result)>;

  void AddCommand(WORD code, int id, CommandHandler handler);
  void AddNotify(UINT code, int id, NotifyHandler handler);

  // True when an entry took the message.
  bool Command(WPARAM wParam, LPARAM lParam) const;
  bool Notify(LPARAM lParam, LRESULT* result) const;

 private:
  struct Entry {
    bool notify = false;
    UINT code = 0;
    int id = 0;
    CommandHandler command;
    NotifyHandler notification;
  };
  std::vector<Entry> entries;
};

}  // namespace qm::fw
