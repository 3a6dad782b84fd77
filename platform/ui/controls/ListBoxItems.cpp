#include "platform/ui/controls/ListBoxItems.h"

#include "platform/kernel/NameCase.h"

namespace qm::ui::controls {

int ListItems::Add(const std::string& text, bool sorted) {
  int index = Count();
  if (sorted) {
    const std::string key = kernel::UpcaseName(text);
    index = 0;
    while (index < Count() && kernel::UpcaseName(At(index).text) <= key) ++index;
  }
  return Insert(index, text);
}

int ListItems::Insert(int index, const std::string& text) {
  if (index == -1) index = Count();
  if (index < 0 || index > Count()) return -1;
  items.insert(items.begin() + index, ListItem{text, 0});
  if (selection >= index) ++selection;
  return index;
}

int ListItems::Remove(int index) {
  if (!Valid(index)) return -1;
  items.erase(items.begin() + index);
  if (selection == index)
    selection = -1;
  else if (selection > index)
    --selection;
  return Count();
}

void ListItems::Clear() {
  items.clear();
  selection = -1;
}

int ListItems::Find(int start, const std::string& prefix, bool exact) const {
  if (items.empty()) return -1;
  const std::string key = kernel::UpcaseName(prefix);
  const int first = Valid(start) ? start + 1 : 0;
  for (int step = 0; step < Count(); ++step) {
    const int index = (first + step) % Count();
    const std::string text = kernel::UpcaseName(At(index).text);
    if (exact ? text == key : text.compare(0, key.size(), key) == 0) return index;
  }
  return -1;
}

}  // namespace qm::ui::controls
