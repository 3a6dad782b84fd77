#include "platform/framework/MessageMap.h"

namespace qm::fw {

void MessageMap::AddCommand(WORD code, int id, CommandHandler handler) {
  entries.push_back(Entry{false, code, id, std::move(handler), {}});
}

void MessageMap::AddNotify(UINT code, int id, NotifyHandler handler) {
  entries.push_back(Entry{true, code, id, {}, std::move(handler)});
}

bool MessageMap::Command(WPARAM wParam, LPARAM) const {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  for (const Entry& entry : entries) {
    if (entry.notify || entry.id != id || entry.code != code) continue;
    // A copy: the handler may change the map's owner, even end it.
    CommandHandler handler = entry.command;
    handler();
    return true;
  }
  return false;
}

bool MessageMap::Notify(LPARAM lParam, LRESULT* result) const {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return false;
  for (const Entry& entry : entries) {
    if (!entry.notify || entry.code != header->code || static_cast<UINT_PTR>(entry.id) != header->idFrom) continue;
    NotifyHandler handler = entry.notification;
    *result = 0;
    handler(header, result);
    return true;
  }
  return false;
}

}  // namespace qm::fw
