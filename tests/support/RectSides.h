// RECTs and POINTs as tuples, so that one EXPECT_EQ compares every side (or
// both coordinates) and prints them all when they differ.
#pragma once

#include <tuple>
#include <utility>

#include "platform/kernel/WinTypes.h"

namespace qm::test {

inline std::tuple<LONG, LONG, LONG, LONG> Sides(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline std::pair<LONG, LONG> XY(const POINT& p) { return {p.x, p.y}; }

}  // namespace qm::test
