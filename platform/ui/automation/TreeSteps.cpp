// The driver's tree steps. A step opens the closed items on its path one
// click at a time, letting the program answer each (it may load the
// children then), and acts once the item shows.
#include <memory>
#include <set>

#include "platform/ui/automation/TreeSupport.h"

namespace qm::ui::automation {

namespace {

enum class TreeAction { Select, Expand, Collapse, RightClick };

bool HasChildren(HWND tree, HTREEITEM item) {
  TVITEMA query{};
  query.mask = TVIF_CHILDREN | TVIF_HANDLE;
  query.hItem = item;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return query.cChildren != 0;
}

bool IsExpanded(HWND tree, HTREEITEM item) { return (ItemState(tree, item) & TVIS_EXPANDED) != 0; }

std::string Describe(const char* name, const ControlRef& tree, const ItemPath& path) {
  return std::string(name) + " " + tree.Describe() + (path.empty() ? "" : " " + Quoted(path));
}

Step TreeStep(const char* name, ControlRef ref, ItemPath path, TreeAction action) {
  // The items whose buttons this step clicked: clicking one again would
  // not open it either.
  auto opened = std::make_shared<std::set<HTREEITEM>>();
  return {Describe(name, ref, path), [=](bool) {
            if (path.empty()) throw AutomationError("an item path needs at least one text");
            HWND tree = FindControl(ref);
            if (!IsWindowVisible(tree) || !IsControlEnabled(ref))
              throw AutomationError("the tree " + ref.Describe() + " is hidden or disabled\n" + DescribeOpenWindows());
            auto open = [&](HTREEITEM item) {
              if (!opened->insert(item).second)
                throw AutomationError("clicking the button of \"" + ItemText(tree, item) + "\" did not open it");
              ClickAt(TreeItemPoint(tree, item, true));
              return StepResult::Again;
            };
            HTREEITEM item = nullptr;
            for (std::size_t i = 0; i < path.size(); ++i) {
              HTREEITEM child = ChildWithText(tree, item, path[i]);
              if (!child) FailLookup(tree, path, i, item);
              item = child;
              if (i + 1 == path.size() || IsExpanded(tree, item)) continue;
              if (!HasChildren(tree, item)) FailLookup(tree, path, i + 1, item);
              return open(item);
            }
            switch (action) {
              case TreeAction::Select: ClickAt(TreeItemPoint(tree, item, false)); break;
              case TreeAction::RightClick: RightClickAt(TreeItemPoint(tree, item, false)); break;
              case TreeAction::Expand:
                if (!IsExpanded(tree, item)) ClickAt(TreeItemPoint(tree, item, true));
                break;
              case TreeAction::Collapse:
                if (IsExpanded(tree, item)) ClickAt(TreeItemPoint(tree, item, true));
                break;
            }
            return StepResult::Done;
          }};
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "\n  " + line;
  return lines.empty() ? "\n  (nothing)" : out;
}

}  // namespace

Driver& Driver::SelectItem(const ControlRef& tree, ItemPath path) {
  return Add(TreeStep("select-item", tree, std::move(path), TreeAction::Select));
}

Driver& Driver::ExpandItem(const ControlRef& tree, ItemPath path) {
  return Add(TreeStep("expand-item", tree, std::move(path), TreeAction::Expand));
}

Driver& Driver::CollapseItem(const ControlRef& tree, ItemPath path) {
  return Add(TreeStep("collapse-item", tree, std::move(path), TreeAction::Collapse));
}

Driver& Driver::RightClickItem(const ControlRef& tree, ItemPath path) {
  return Add(TreeStep("right-click-item", tree, std::move(path), TreeAction::RightClick));
}

Driver& Driver::ExpectSelected(const ControlRef& tree, ItemPath path) {
  return Add({Describe("expect-selected", tree, path), [tree, path](bool) {
                ItemPath selected = TreeSelection(tree);
                if (selected != path)
                  throw AutomationError(selected.empty() ? std::string("nothing is selected")
                                                         : "the selection is " + Quoted(selected));
                return StepResult::Done;
              }});
}

Driver& Driver::ExpectItems(const ControlRef& tree, std::vector<std::string> lines) {
  return Add({"expect-items " + tree.Describe(), [tree, lines](bool) {
                std::vector<std::string> shown = TreeItems(tree);
                if (shown != lines) throw AutomationError("the tree shows:" + Lines(shown) + "\nexpected:" + Lines(lines));
                return StepResult::Done;
              }});
}

}  // namespace qm::ui::automation
