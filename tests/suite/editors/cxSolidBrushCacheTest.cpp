// The solid brush cache: lookup order, system colours, eviction of the least
// used entry, new entries not starting as the least used, and brushes held
// by an open paint surviving eviction.
#include "suite/editors/cxSolidBrushCache.h"

#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"

namespace {

TEST(SolidBrushCache, KeepsColoursInUnsignedOrderAndCountsUses) {
  TcxSolidBrushCache cache(8);
  const win::HBRUSH red = cache.Brush(clRed);
  cache.Brush(clBlue);
  cache.Brush(clLime);
  EXPECT_EQ(cache.Brush(clRed), red);
  EXPECT_EQ(cache.Count(), 3);
  for (Integer i = 1; i < cache.Count(); ++i)
    EXPECT_LT(static_cast<uint32_t>(cache.ColorAt(i - 1)), static_cast<uint32_t>(cache.ColorAt(i)));
  EXPECT_EQ(cache.UseCountAt(0), 1u);  // red, looked up twice
}

TEST(SolidBrushCache, SystemColoursNeverEnterTheCache) {
  TcxSolidBrushCache* cache = SolidBrushCache();
  ASSERT_NE(cache, nullptr);
  const Integer before = cache->Count();
  EXPECT_EQ(CachedSolidBrush(clBtnFace), win::GetSysColorBrush(15));
  EXPECT_EQ(CachedSolidBrush(clWindow), win::GetSysColorBrush(5));
  EXPECT_EQ(cache->Count(), before);
}

TEST(SolidBrushCache, FullCacheEvictsTheLeastUsedAndNewcomersStartAboveIt) {
  TcxSolidBrushCache cache(4);
  // Colours 1..4, each looked up once more than the one before.
  for (TColor c = 1; c <= 4; ++c)
    for (TColor n = 0; n < c; ++n) cache.Brush(c);
  ASSERT_EQ(cache.Count(), 4);
  cache.Brush(5);  // evicts 1, the least used
  EXPECT_EQ(cache.Count(), 4);
  EXPECT_EQ(cache.ColorAt(0), 2);
  EXPECT_EQ(cache.ColorAt(3), 5);
  // The newcomer is not the least used: the next miss evicts colour 2.
  EXPECT_GT(cache.UseCountAt(3), cache.UseCountAt(0));
  cache.Brush(6);
  EXPECT_EQ(cache.ColorAt(0), 3);
  EXPECT_EQ(cache.ColorAt(2), 5) << "two newcomers in a row do not evict each other";
}

TEST(SolidBrushCache, ABrushHeldByAnOpenPaintSurvivesEviction) {
  TcxSolidBrushCache cache(2);
  cache.BeginPaint();
  const win::HBRUSH held = cache.Brush(clRed);
  cache.Brush(clBlue);
  cache.Brush(clLime);  // evicts one of the two held brushes
  cache.Brush(clYellow);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_GE(cache.RetiredCount(), 1);
  win::LOGBRUSH info{};
  EXPECT_NE(win::GetObject(held, sizeof(info), &info), 0) << "the held brush is still alive";
  cache.EndPaint();
  EXPECT_EQ(cache.RetiredCount(), 0);

  // Outside a paint an evicted brush goes at once.
  cache.Brush(clFuchsia);
  EXPECT_EQ(cache.RetiredCount(), 0);
}

TEST(SolidBrushCache, ClearEmptiesTheCache) {
  TcxSolidBrushCache cache(4);
  cache.Brush(clRed);
  cache.Brush(clBlue);
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
}

}  // namespace
