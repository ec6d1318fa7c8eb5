#include "platform/forms/GlyphLayout.h"

#include <gtest/gtest.h>

namespace {

// A 16x16 glyph and a 30x13 caption with 4 pixels between them. A margin
// is measured from the edge the glyph sits at; the far edge for a glyph on
// the right or at the bottom.
TEST(GlyphLayoutTest, GlyphAndCaptionFormOneBlock) {
  struct Case {
    TButtonLayout Layout;
    Integer Margin;
    TSize Button;
    TSize Text;
    TPoint Glyph;
    TPoint TextAt;
  };
  const Case cases[] = {
      {blGlyphLeft, -1, {80, 24}, {30, 13}, {15, 4}, {35, 5}},
      {blGlyphRight, -1, {80, 24}, {30, 13}, {49, 4}, {15, 5}},
      {blGlyphLeft, 2, {80, 24}, {30, 13}, {2, 4}, {22, 5}},
      {blGlyphRight, 2, {80, 24}, {30, 13}, {62, 4}, {28, 5}},
      {blGlyphTop, -1, {80, 60}, {30, 13}, {32, 13}, {25, 33}},
      {blGlyphBottom, 3, {80, 60}, {30, 13}, {32, 41}, {25, 24}},
      {blGlyphLeft, -1, {80, 24}, {0, 0}, {32, 4}, {48, 12}},  // no caption: no spacing either
  };
  for (const Case& c : cases) {
    TGlyphPlacement at = PlaceGlyphAndText(c.Layout, c.Margin, 4, c.Button, {16, 16}, c.Text);
    EXPECT_EQ(at.Glyph, c.Glyph) << static_cast<int>(c.Layout) << " margin " << c.Margin;
    EXPECT_EQ(at.Text, c.TextAt) << static_cast<int>(c.Layout) << " margin " << c.Margin;
  }
}

}  // namespace
