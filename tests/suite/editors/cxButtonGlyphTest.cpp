// Button glyphs: cell counts from the strip, the image built per state
// (embossed or recoloured disabled images, masks), the shared glyph lists
// and their slots, the placement of glyph and caption for every layout with
// and without a caption, and drawing. Glyph drawing makes no visual-style
// call, so it is the same with our renderer and with no styles.
#include "suite/editors/cxButtonGlyph.h"

#include <gtest/gtest.h>

#include "platform/win/GdiText.h"
#include "tests/suite/foundation/CanvasFixture.h"

namespace {

// A bitmap filled with one colour.
std::unique_ptr<TBitmap> Strip(Integer AWidth, Integer AHeight, TColor AColor = clBlue) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(AWidth, AHeight);
  b->Canvas()->Brush()->SetColor(AColor);
  b->Canvas()->FillRect({0, 0, AWidth, AHeight});
  return b;
}

TEST(ButtonGlyph, StripOfSquareCellsSetsNumGlyphs) {
  const struct {
    Integer w, h, before, after;
  } cases[] = {
      {64, 16, 1, 4},  // four square cells
      {80, 16, 2, 1},  // five cells are refused
      {48, 20, 3, 3},  // cells that are not square keep the count
      {16, 16, 4, 1},
  };
  for (const auto& c : cases) {
    TcxButtonGlyph glyph;
    glyph.SetNumGlyphs(c.before);
    auto strip = Strip(c.w, c.h);
    glyph.SetGlyph(strip.get());
    EXPECT_EQ(glyph.NumGlyphs(), c.after) << c.w << "x" << c.h;
    EXPECT_EQ(glyph.Glyph()->Width(), c.w);
  }
}

TEST(ButtonGlyph, ChangesNotifyAndReleaseImages) {
  TcxButtonGlyph glyph;
  Integer changes = 0;
  struct Counter {
    Integer* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  glyph.OnChange = TNotifyEvent(&counter, &Counter::Changed);
  auto strip = Strip(32, 16);
  glyph.SetGlyph(strip.get());
  EXPECT_GE(changes, 1);
  EXPECT_NE(glyph.CreateButtonGlyph(cxbsNormal), -1);

  changes = 0;
  glyph.SetNumGlyphs(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(glyph.ImageIndex(0), -1) << "a new cell count throws the built images away";
  glyph.SetNumGlyphs(1);
  glyph.SetNumGlyphs(0);
  glyph.SetNumGlyphs(5);
  EXPECT_EQ(changes, 1) << "the same count, 0 and counts above 4 change nothing";
  EXPECT_EQ(glyph.NumGlyphs(), 1);

  glyph.SetGlyph(nullptr);
  EXPECT_TRUE(glyph.Glyph()->Empty());
  EXPECT_EQ(glyph.CreateButtonGlyph(cxbsNormal), -1);
  EXPECT_EQ(glyph.GlyphList(), nullptr);
}

// Draws the state's image over red and reads it back.
class GlyphImageTest : public CanvasTest {
 protected:
  void DrawState(TcxButtonGlyph& AGlyph, TcxButtonState AState) {
    Reset(16, 16);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect({0, 0, 16, 16});
    const Integer index = AGlyph.CreateButtonGlyph(AState);
    ASSERT_GE(index, 0);
    AGlyph.GlyphList()->Draw(bitmap->Canvas(), 0, 0, index);
  }
};

TEST_F(GlyphImageTest, OneCellGivesTheUpImageWhenPressedAndAnEmbossedCopyWhenDisabled) {
  TcxButtonGlyph glyph;
  auto strip = Strip(16, 16, clWhite);
  strip->Canvas()->Brush()->SetColor(clBlack);
  strip->Canvas()->FillRect({4, 4, 8, 8});
  strip->Canvas()->Brush()->SetColor(clLime);
  strip->Canvas()->FillRect({10, 10, 12, 12});
  glyph.SetGlyph(strip.get());

  EXPECT_EQ(glyph.CreateButtonGlyph(cxbsPressed), glyph.CreateButtonGlyph(cxbsNormal));
  EXPECT_EQ(glyph.CreateButtonGlyph(cxbsHot), glyph.CreateButtonGlyph(cxbsDefault));

  DrawState(glyph, cxbsNormal);
  EXPECT_TRUE(Is(5, 5, clBlack));
  EXPECT_TRUE(Is(10, 10, clLime));
  EXPECT_TRUE(Is(0, 15, clRed)) << "the bottom-left colour (white) is see-through";

  DrawState(glyph, cxbsDisabled);
  EXPECT_NE(glyph.ImageIndex(1), glyph.ImageIndex(0));
  // Black pixels become the shadow with a highlight one pixel down and
  // right; every other colour vanishes into the face, which is see-through.
  EXPECT_EQ(Rows({3, 3, 10, 10}, {{clBtnShadow, 's'}, {clRed, 'r'}}),
            (std::vector<std::string>{"rrrrrrr", "rssssrr", "rssss.r", "rssss.r", "rssss.r", "rr....r", "rrrrrrr"}));
  EXPECT_TRUE(Is(10, 10, clRed)) << "the lime square leaves no trace";
}

TEST_F(GlyphImageTest, DisabledCellIsRecolouredAndDownCellUsedFromThreeCells) {
  TcxButtonGlyph glyph;
  auto strip = Strip(48, 16, clBlue);
  TCanvas* c = strip->Canvas();
  c->Brush()->SetColor(clOlive);  // the glyph's transparent colour: becomes the face
  c->FillRect({16 + 2, 2, 16 + 4, 4});
  c->Brush()->SetColor(clYellow);
  c->FillRect({32 + 6, 6, 32 + 8, 8});
  glyph.SetGlyph(strip.get());
  ASSERT_EQ(glyph.NumGlyphs(), 3);

  DrawState(glyph, cxbsDisabled);
  EXPECT_TRUE(Is(2, 2, clBtnFace));
  EXPECT_TRUE(Is(8, 8, clRed)) << "cell 1's blue background is its mask colour";

  DrawState(glyph, cxbsPressed);
  EXPECT_TRUE(Is(6, 6, clYellow)) << "the down cell";
  EXPECT_NE(glyph.ImageIndex(2), glyph.ImageIndex(0));
}

TEST_F(GlyphImageTest, FixedTransparentModeMasksTheOliveColour) {
  TcxButtonGlyph glyph;
  auto strip = Strip(16, 16, clBlue);
  strip->Canvas()->Brush()->SetColor(clOlive);
  strip->Canvas()->FillRect({0, 0, 8, 16});
  strip->SetTransparentMode(tmFixed);
  strip->SetTransparentColor(clBlue);  // not consulted: the glyph's own colour is olive
  glyph.SetGlyph(strip.get());
  DrawState(glyph, cxbsNormal);
  EXPECT_TRUE(Is(2, 8, clRed));
  EXPECT_TRUE(Is(12, 8, clBlue));
}

TEST(GlyphCache, SameCellSizeSharesOneListAndTheCacheGoesWithTheLastGlyph) {
  ASSERT_EQ(GlyphCache(), nullptr) << "no glyph alive before the test";
  {
    TcxButtonGlyph a, b, c;
    ASSERT_NE(GlyphCache(), nullptr);
    auto one = Strip(16, 16);
    auto two = Strip(32, 16);
    auto big = Strip(24, 24);
    a.SetGlyph(one.get());
    b.SetGlyph(two.get());
    c.SetGlyph(big.get());
    a.CreateButtonGlyph(cxbsNormal);
    b.CreateButtonGlyph(cxbsNormal);
    b.CreateButtonGlyph(cxbsDisabled);
    c.CreateButtonGlyph(cxbsNormal);
    EXPECT_EQ(a.GlyphList(), b.GlyphList());
    EXPECT_NE(a.GlyphList(), c.GlyphList());
    EXPECT_EQ(GlyphCache()->Count(), 2);
    TcxGlyphList* shared = a.GlyphList();
    EXPECT_EQ(shared->UsedCount(), 3);

    a.SetGlyph(nullptr);
    EXPECT_EQ(GlyphCache()->Count(), 2) << "b still uses the list";
    EXPECT_EQ(shared->UsedCount(), 2);
    b.SetGlyph(nullptr);
    EXPECT_EQ(GlyphCache()->Count(), 1) << "the 16 x 16 list is freed";
    EXPECT_EQ(GlyphCache()->GetList(24, 24), c.GlyphList());
  }
  EXPECT_EQ(GlyphCache(), nullptr);
}

TEST(GlyphCache, ReleasedSlotsAreReusedBeforeTheListGrows) {
  TcxGlyphList list(16, 16);
  auto red = Strip(16, 16, clRed);
  auto lime = Strip(16, 16, clLime);
  EXPECT_EQ(list.AddMasked(red.get(), clNone), 0);
  EXPECT_EQ(list.AddMasked(red.get(), clNone), 1);
  EXPECT_EQ(list.AddMasked(red.get(), clNone), 2);
  list.ReleaseIndex(1);
  list.ReleaseIndex(1);  // a free slot is not freed twice
  EXPECT_EQ(list.UsedCount(), 2);
  EXPECT_EQ(list.Count(), 3) << "the image stays until the slot is reused";
  EXPECT_EQ(list.AddMasked(lime.get(), clNone), 1);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.UsedCount(), 3);
  TestSurface s;
  s.Reset(16, 16);
  list.Draw(s.bitmap->Canvas(), 0, 0, 1);
  EXPECT_TRUE(s.Is(3, 3, clLime)) << "the reused slot holds the new image";
}

// Layout: a 120 x 40 client, a 16 x 16 glyph cell, the caption "Save".
class GlyphLayoutTest : public CanvasTest {
 protected:
  void SetUp() override {
    Reset(200, 100);
    win::RECT r{0, 0, 1000, 0};
    bitmap->Canvas()->RequiredState();
    win::DrawText(canvas->DeviceContext(), "Save", 4, &r, win::DT_CALCRECT);
    tw = r.right - r.left;
    th = r.bottom - r.top;
    ASSERT_GT(tw, 0);
    cell = Strip(32, 16);
    glyph.SetGlyph(cell.get());  // two 16 x 16 cells
  }
  void Layout(TButtonLayout ALayout, Integer AMargin, Integer ASpacing, const std::string& ACaption = "Save",
              win::UINT ABiDi = 0, TRect AClient = {0, 0, 120, 40}, TPoint AOffset = {0, 0}) {
    glyph.CalcButtonLayout(canvas.get(), AClient, AOffset, ACaption, ALayout, AMargin, ASpacing, at, text, ABiDi,
                           false);
  }

  TcxButtonGlyph glyph;
  std::unique_ptr<TBitmap> cell;
  Integer tw = 0, th = 0;
  TPoint at;
  TRect text;
};

TEST_F(GlyphLayoutTest, EachLayoutWithGlyphAndCaption) {
  const Integer mx = (120 - 16 - tw) / 3;  // Margin and Spacing -1 share the room in three
  const Integer my = (40 - 16 - th) / 3;
  const Integer textTop = (40 - th - 1) / 2;
  const struct {
    TButtonLayout layout;
    Integer margin, spacing;
    win::UINT bidi;
    TPoint glyph;
    TPoint textAt;
  } cases[] = {
      {blGlyphLeft, -1, -1, 0, {mx, 12}, {mx + 16 + mx, textTop}},
      // the caption sits at Margin and the glyph after it, not at the edge
      {blGlyphRight, -1, -1, 0, {mx + tw + mx, 12}, {mx, textTop}},
      {blGlyphRight, 4, 2, 0, {4 + tw + 2, 12}, {4, textTop}},
      {blGlyphTop, -1, -1, 0, {52, my}, {(120 - tw) / 2, my + 16 + my}},
      {blGlyphBottom, -1, -1, 0, {52, my + th + my}, {(120 - tw) / 2, my}},
      {blGlyphLeft, 4, -1, 0, {4, 12}, {4 + 16 + (120 - 20 - tw) / 2, textTop}},
      {blGlyphLeft, -1, 4, 0, {(120 - 20 - tw) / 2, 12}, {(120 - 20 - tw) / 2 + 20, textTop}},
      {blGlyphTop, -1, 3, 0, {52, (40 - 19 - th) / 2}, {(120 - tw) / 2, (40 - 19 - th) / 2 + 19}},
      // right-to-left text swaps left and right
      {blGlyphLeft, -1, -1, win::DT_RIGHT, {mx + tw + mx, 12}, {mx, textTop}},
      {blGlyphRight, 5, 1, win::DT_RIGHT, {5, 12}, {5 + 16 + 1, textTop}},
  };
  for (const auto& c : cases) {
    Layout(c.layout, c.margin, c.spacing, "Save", c.bidi);
    const std::string what = std::to_string(static_cast<int>(c.layout)) + " margin " + std::to_string(c.margin) +
                             " spacing " + std::to_string(c.spacing) + " bidi " + std::to_string(c.bidi);
    EXPECT_EQ(at.X, c.glyph.X) << what;
    EXPECT_EQ(at.Y, c.glyph.Y) << what;
    EXPECT_EQ(text.Left, c.textAt.X) << what;
    EXPECT_EQ(text.Top, c.textAt.Y) << what;
    EXPECT_EQ(text.Right - text.Left, tw) << what;
    EXPECT_EQ(text.Bottom - text.Top, th) << what;
  }
}

TEST_F(GlyphLayoutTest, EachLayoutWithoutCaptionOrWithoutGlyph) {
  for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
    // The glyph alone: no spacing, centred whatever the layout.
    Layout(layout, -1, -1, "");
    EXPECT_EQ(at.X, 52) << static_cast<int>(layout);
    EXPECT_EQ(at.Y, 12) << static_cast<int>(layout);
    EXPECT_EQ(text.Right - text.Left, 0);
    EXPECT_EQ(text.Bottom - text.Top, 0);
  }
  glyph.SetGlyph(nullptr);
  // The caption alone keeps one pixel at the left and two at the right.
  const struct {
    TButtonLayout layout;
    Integer margin;
    TPoint textAt;
  } cases[] = {
      {blGlyphLeft, -1, {(120 - tw - 3) / 2 + 1, (40 - th - 1) / 2}},
      {blGlyphRight, -1, {(120 - tw - 3) / 2 + 1, (40 - th - 1) / 2}},
      {blGlyphTop, -1, {(120 - tw - 3) / 2 + 1, (40 - th) / 2}},
      {blGlyphBottom, -1, {(120 - tw - 3) / 2 + 1, (40 - th) / 2}},
      {blGlyphLeft, 6, {6 + 1, (40 - th - 1) / 2}},
      {blGlyphBottom, 6, {(120 - tw - 3) / 2 + 1, 6}},
  };
  for (const auto& c : cases) {
    Layout(c.layout, c.margin, -1);
    EXPECT_EQ(text.Left, c.textAt.X) << static_cast<int>(c.layout) << " " << c.margin;
    EXPECT_EQ(text.Top, c.textAt.Y) << static_cast<int>(c.layout) << " " << c.margin;
    EXPECT_EQ(text.Right - text.Left, tw);
  }
}

TEST_F(GlyphLayoutTest, ClientOriginAndOffsetMoveBoth) {
  Layout(blGlyphLeft, 4, 2, "Save", 0, {10, 20, 130, 60}, {1, 1});
  EXPECT_EQ(at.X, 10 + 4 + 1);
  EXPECT_EQ(at.Y, 20 + 12 + 1);
  EXPECT_EQ(text.Left, 10 + 4 + 16 + 2 + 1);
  EXPECT_EQ(text.Top, 20 + (40 - th - 1) / 2 + 1);
}

TEST_F(GlyphLayoutTest, DrawPutsGlyphAndCaptionWhereTheLayoutSays) {
  auto framed = Strip(16, 16, clWhite);
  framed->Canvas()->Brush()->SetColor(clLime);
  framed->Canvas()->FillRect({0, 0, 16, 8});
  glyph.SetGlyph(framed.get());
  canvas->Font()->SetColor(clBlack);
  glyph.Draw(canvas.get(), {0, 0, 120, 40}, {0, 0}, "Save", blGlyphLeft, 4, 2, cxbsNormal, 0, false, false);
  EXPECT_EQ(Count(clLime), 16 * 8);
  EXPECT_TRUE(Is(4, 12, clLime));
  EXPECT_TRUE(Is(19, 19, clLime));
  EXPECT_FALSE(Is(4, 11, clLime));
  // The caption's ink lies inside its box right of the glyph.
  const Integer left = 4 + 16 + 2;
  Integer ink = 0, stray = 0;
  for (Integer y = 0; y < 40; ++y)
    for (Integer x = 0; x < 120; ++x)
      if (!Is(x, y, clWhite) && !Is(x, y, clLime)) {
        const bool inside = x >= left && x < left + tw && y >= (40 - th - 1) / 2 && y < (40 - th - 1) / 2 + th;
        (inside ? ink : stray)++;
      }
  EXPECT_GT(ink, 0);
  EXPECT_EQ(stray, 0);
}

TEST_F(GlyphLayoutTest, DisabledCaptionGetsAHighlightCopyOneDownRight) {
  glyph.SetGlyph(nullptr);
  bitmap->Canvas()->Brush()->SetColor(clGray);
  bitmap->Canvas()->FillRect({0, 0, 200, 100});
  canvas->Font()->SetColor(clBlack);
  glyph.Draw(canvas.get(), {0, 0, 120, 40}, {0, 0}, "Save", blGlyphLeft, -1, -1, cxbsDisabled, 0, false, false);
  EXPECT_GT(Count(clBtnHighlight), 0);
  EXPECT_GT(Count(clBlack), 0);
  EXPECT_EQ(canvas->Font()->GetColor(), clBlack) << "the font colour is restored";
  EXPECT_EQ(canvas->Brush()->GetStyle(), bsSolid) << "the brush style is restored";
}

TEST_F(GlyphLayoutTest, NoGlyphAndNoCaptionDrawsNothing) {
  glyph.SetGlyph(nullptr);
  glyph.Draw(canvas.get(), {0, 0, 120, 40}, {0, 0}, "", blGlyphLeft, -1, -1, cxbsDisabled, 0, false, false);
  EXPECT_EQ(Count(clWhite), 200 * 100);
}

}  // namespace
