#include "platform/kernel/Process.h"

namespace qm::kernel {
namespace {

struct ClassNice {
  DWORD priorityClass;
  int nice;
};

// Highest nice value (lowest priority) first.
constexpr ClassNice kClasses[] = {
    {IDLE_PRIORITY_CLASS, 19},         {BELOW_NORMAL_PRIORITY_CLASS, 10}, {NORMAL_PRIORITY_CLASS, 0},
    {ABOVE_NORMAL_PRIORITY_CLASS, -5}, {HIGH_PRIORITY_CLASS, -10},        {REALTIME_PRIORITY_CLASS, -20},
};

}  // namespace

bool NiceOfPriorityClass(DWORD priorityClass, int* nice) {
  for (const ClassNice& entry : kClasses) {
    if (entry.priorityClass == priorityClass) {
      *nice = entry.nice;
      return true;
    }
  }
  return false;
}

DWORD PriorityClassOfNice(int nice) {
  // Halfway between two classes belongs to the lower priority.
  for (std::size_t i = 0; i + 1 < std::size(kClasses); ++i)
    if (2 * nice >= kClasses[i].nice + kClasses[i + 1].nice) return kClasses[i].priorityClass;
  return REALTIME_PRIORITY_CLASS;
}

}  // namespace qm::kernel
