#include "platform/win/SuiteCursors.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/win/Input.h"

namespace {

const char* const kNames[] = {"CX_DRAGCOPYCURSOR",   "CX_FULLSCROLLCURSOR", "CX_HORSCROLLCURSOR",
                              "CX_VERSCROLLCURSOR",  "CX_UPSCROLLCURSOR",   "CX_RIGHTSCROLLCURSOR",
                              "CX_DOWNSCROLLCURSOR", "CX_LEFTSCROLLCURSOR", "CX_REMOVECURSOR",
                              "CX_VERTSIZECURSOR",   "CX_HORZSIZECURSOR",   "CX_MULTIDRAGCURSOR",
                              "CX_NODROPCURSOR",     "CX_DRAGCURSOR",       "CX_HANDPOINTCURSOR"};

TEST(SuiteCursors, FifteenDistinctPicturesWithTheirHotSpotOnTheShape) {
  std::set<std::vector<uint32_t>> pictures;
  for (const char* name : kNames) {
    win::CursorImage image;
    ASSERT_TRUE(win::SuiteCursorImage(name, &image)) << name;
    EXPECT_EQ(image.width, 32);
    ASSERT_EQ(image.argb.size(), 32u * 32u);
    pictures.insert(image.argb);
    int black = 0, white = 0;
    for (uint32_t p : image.argb) {
      black += p == 0xFF000000;
      white += p == 0xFFFFFFFF;
    }
    EXPECT_GT(black, 10) << name;
    EXPECT_GT(white, 10) << name << ": outlined for any background";
    EXPECT_NE(image.argb[static_cast<size_t>(image.yHotspot * 32 + image.xHotspot)], 0u) << name << ": hot spot";
    // Loaded by name through the program's instance, the layer knows its picture.
    win::HCURSOR cursor = win::LoadCursor(reinterpret_cast<win::HINSTANCE>(1), name);
    win::CursorImage loaded;
    ASSERT_TRUE(win::GetCursorImage(cursor, &loaded)) << name;
    EXPECT_EQ(loaded.argb, image.argb);
  }
  EXPECT_EQ(pictures.size(), 15u);
  win::CursorImage none;
  EXPECT_FALSE(win::SuiteCursorImage("CX_NOSUCHCURSOR", &none));
}

}  // namespace
