// The items of a list box, kept apart from windows so that their rules can
// be reasoned about alone: strings with a value each, in the order the
// program inserted them or sorted blind to case (LBS_SORT), one selection
// that follows its item when others come and go, and the searches the
// list and combo box messages make.
#pragma once

#include <string>
#include <vector>

#include "platform/kernel/WinTypes.h"

namespace qm::ui::controls {

struct ListItem {
  std::string text;
  LPARAM data = 0;
};

class ListItems {
 public:
  int Count() const { return static_cast<int>(items.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  const ListItem& At(int index) const { return items[static_cast<std::size_t>(index)]; }
  ListItem& At(int index) { return items[static_cast<std::size_t>(index)]; }

  // Where the text goes: sorted after its equals, else at the end.
  int Add(const std::string& text, bool sorted);
  // -1 adds at the end; an index beyond the end is refused (-1).
  int Insert(int index, const std::string& text);
  // The items left, or -1 for an index that does not exist.
  int Remove(int index);
  void Clear();

  // The first item from after `start` on (-1: from the first), wrapping
  // round, whose text begins with `prefix` (or, exact, is `prefix`), blind
  // to case; -1 when none.
  int Find(int start, const std::string& prefix, bool exact) const;

  int selection = -1;

 private:
  std::vector<ListItem> items;
};

}  // namespace qm::ui::controls
