// What a tree view costs as it grows: inserting N items (a tenth of them
// parents of the rest), expanding every parent and painting once should
// grow in proportion to N; repainting the whole control should cost the same
// at any size, since only the rows on screen are drawn.
//
//   build/bench/bench_TreeViewBench [repaints]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/DisplayBackend.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/Startup.h"

namespace {

using Clock = std::chrono::steady_clock;

double MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

HTREEITEM Insert(HWND tree, const std::string& text, HTREEITEM parent) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>(text.c_str());
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

struct Figures {
  int items = 0;
  double insertUs = 0;
  double expandUs = 0;
  double firstPaintUs = 0;
  double repaintUs = 0;
};

Figures Measure(HWND frame, int count, int repaints) {
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS |
                                  TVS_HASLINES | TVS_LINESATROOT, 10, 10, 400, 500, frame, nullptr, nullptr, nullptr);
  UpdateWindow(frame);
  Figures f;
  f.items = count;
  std::vector<HTREEITEM> parents;
  auto start = Clock::now();
  for (int i = 0; i < count / 10; ++i) {
    HTREEITEM parent = Insert(tree, "Folder " + std::to_string(i), TVI_ROOT);
    parents.push_back(parent);
    for (int j = 0; j < 9; ++j) Insert(tree, "Item " + std::to_string(i) + "." + std::to_string(j), parent);
  }
  f.insertUs = MicrosecondsSince(start);
  start = Clock::now();
  for (HTREEITEM parent : parents) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  f.expandUs = MicrosecondsSince(start);
  start = Clock::now();
  UpdateWindow(tree);
  f.firstPaintUs = MicrosecondsSince(start);
  // Scrolled to the middle, as a user looking for something would be.
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(parents[parents.size() / 2]));
  UpdateWindow(tree);
  start = Clock::now();
  for (int i = 0; i < repaints; ++i) {
    InvalidateRect(tree, nullptr, TRUE);
    UpdateWindow(tree);
  }
  f.repaintUs = MicrosecondsSince(start) / repaints;
  DestroyWindow(tree);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  int repaints = argc > 1 ? std::atoi(argv[1]) : 200;
  qm::ui::UseDisplay(qm::ui::CreateHeadlessDisplay(1024, 768));
  qm::ui::StartWindowSystem();
  WNDCLASSEXA frameClass{};
  frameClass.cbSize = sizeof frameClass;
  frameClass.lpfnWndProc = DefWindowProcA;
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.lpszClassName = "BenchFrame";
  RegisterClassExA(&frameClass);
  HWND frame = CreateWindowExA(0, "BenchFrame", "Trees", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 600, nullptr,
                               nullptr, nullptr, nullptr);
  Measure(frame, 1000, 10);  // warms the font cache
  std::printf("%8s %12s %12s %12s %16s %14s\n", "items", "insert ms", "expand ms", "paint ms", "us per item",
              "repaint us");
  std::vector<Figures> all;
  for (int count : {1000, 10000, 100000}) {
    // The best of three runs, so that the allocator's first growth does not count.
    Figures f = Measure(frame, count, repaints);
    for (int run = 0; run < 2; ++run) {
      Figures again = Measure(frame, count, repaints);
      f.insertUs = std::min(f.insertUs, again.insertUs);
      f.expandUs = std::min(f.expandUs, again.expandUs);
      f.firstPaintUs = std::min(f.firstPaintUs, again.firstPaintUs);
      f.repaintUs = std::min(f.repaintUs, again.repaintUs);
    }
    all.push_back(f);
    double total = f.insertUs + f.expandUs + f.firstPaintUs;
    std::printf("%8d %12.2f %12.2f %12.2f %16.3f %14.1f\n", f.items, f.insertUs / 1000, f.expandUs / 1000,
                f.firstPaintUs / 1000, total / f.items, f.repaintUs);
  }
  double small = (all[0].insertUs + all[0].expandUs + all[0].firstPaintUs) / all[0].items;
  double large = (all[1].insertUs + all[1].expandUs + all[1].firstPaintUs) / all[1].items;
  std::printf("cost per item, 10,000 against 1,000 items: %.2f times (1 is proportional)\n", large / small);
  std::printf("repaint of the whole control, 10,000 against 1,000 items: %.2f times (1: only the rows on screen)\n",
              all[1].repaintUs / all[0].repaintUs);
  DestroyWindow(frame);
  return 0;
}
