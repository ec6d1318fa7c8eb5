#include "platform/forms/BitBtn.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"

#include "tests/support/VisualStylesScope.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

using BitBtnTest = SizedHostTest;

TEST_F(BitBtnTest, BitBtnKindsAndOwnerDrawnGlyph) {
  auto* b = Place<TBitBtn>(10, 10, 90, 28);
  b->SetKind(bkCancel);
  EXPECT_EQ(b->Caption(), "Cancel");
  EXPECT_EQ(b->ModalResult(), mrCancel);
  EXPECT_TRUE(b->Cancel());
  b->SetKind(bkOK);
  EXPECT_EQ(b->Caption(), "OK");
  EXPECT_TRUE(b->Default());
  TBitmap glyph;
  glyph.SetSize(32, 16);  // two glyphs: up (red) and disabled (blue)
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clBlue);
  glyph.Canvas()->FillRect(TRect{16, 0, 32, 16});
  glyph.Canvas()->SetPixels(0, 15, clOlive);  // the transparent colour
  b->SetGlyph(&glyph);
  EXPECT_EQ(b->NumGlyphs(), 2);
  b->SetCaption("");
  int clicks = 0;
  struct C {
    int* n;
    void On(TObject*) { ++*n; }
  } c{&clicks};
  b->OnClick = TNotifyEvent(&c, &C::On);
  Show();
  b->Repaint();
  HDC dc = GetDC(b->Handle());
  EXPECT_EQ(GetPixel(dc, 45, 14) & 0xFFFFFF, ColorToRGB(clRed) & 0xFFFFFF);  // the glyph in the middle
  ReleaseDC(b->Handle(), dc);
  b->SetEnabled(false);
  b->Repaint();
  dc = GetDC(b->Handle());
  EXPECT_EQ(GetPixel(dc, 45, 14) & 0xFFFFFF, ColorToRGB(clBlue) & 0xFFFFFF);
  ReleaseDC(b->Handle(), dc);
  b->SetEnabled(true);
  TPoint p = b->ClientToScreen({45, 14});
  InjectClick({p.X, p.Y});
  Pump();
  EXPECT_EQ(clicks, 1);
}

// With the style a bit button is the style's push button.
TEST_F(BitBtnTest, FollowsTheVisualStyle) {
  VisualStylesScope styles(true);
  auto* bit = Place<TBitBtn>(150, 10, 80, 25);
  Show();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*bit, 40, 4), ThemeColor(u"Button", BP_PUSHBUTTON, PBS_NORMAL, TMT_FILLCOLOR));
}

}  // namespace
