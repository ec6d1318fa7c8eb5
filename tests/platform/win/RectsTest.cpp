#include "platform/win/Rects.h"

#include <gtest/gtest.h>

namespace {

using namespace win;

TEST(Rects, IntersectUnionAndSubtract) {
  struct Case {
    RECT a, b;
    BOOL meet;
    RECT intersection, unionBox, difference;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}, {0, 0, 15, 15}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {}, {0, 0, 20, 10}, {0, 0, 10, 10}},  // touching only
      {{0, 0, 10, 10}, {0, 5, 10, 20}, TRUE, {0, 5, 10, 10}, {0, 0, 10, 20}, {0, 0, 10, 5}},
      {{0, 0, 10, 10}, {-5, -5, 20, 20}, TRUE, {0, 0, 10, 10}, {-5, -5, 20, 20}, {}},
      {{0, 0, 10, 10}, {3, 3, 3, 8}, FALSE, {}, {0, 0, 10, 10}, {0, 0, 10, 10}},  // empty b
  };
  for (const Case& c : cases) {
    RECT r;
    EXPECT_EQ(IntersectRect(&r, &c.a, &c.b), c.meet);
    EXPECT_EQ(r, c.intersection);
    UnionRect(&r, &c.a, &c.b);
    EXPECT_EQ(r, c.unionBox);
    SubtractRect(&r, &c.a, &c.b);
    EXPECT_EQ(r, c.difference);
  }
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(PtInRect(&r, {0, 0}));
  EXPECT_FALSE(PtInRect(&r, {10, 5}));
  InflateRect(&r, 2, -3);
  EXPECT_EQ(r, (RECT{-2, 3, 12, 7}));
  OffsetRect(&r, 2, -3);
  EXPECT_EQ(r, (RECT{0, 0, 14, 4}));
  EXPECT_TRUE(IsRectEmpty(nullptr));
}

}  // namespace
