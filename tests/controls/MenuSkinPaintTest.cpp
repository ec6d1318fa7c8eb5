// Measuring and painting of menu items and tool buttons, read back as
// pixels. The skin draws everything itself through GDI, the same in both
// looks; these tests run in the platform's default look.
#include <gtest/gtest.h>

#include "tests/controls/SkinFixture.h"
#include "platform/win/GdiSurface.h"

using namespace skintest;

namespace {

class MenuSkinPaintTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    skin = new TMenuSkin(form.get());
    skin->SetActive(true);
    paper = std::make_unique<Paper>(200, 40);
    skin->UpdateColors(paper->Canvas());
  }
  // Paints a popup item at (10, 5), 150 x 22 (separators 4 high).
  void PaintPopup(TMenuItem* item, bool selected, int height = 22) {
    skin->DrawMenuItem(item, paper->Canvas(), {10, 5, 160, 5 + height}, selected);
  }
  TColor At(int x, int y) { return paper->At(x, y); }
  TMenuSkinColors C() { return ResolvedColors(skin->Colors()); }
  TMenuSkin* skin = nullptr;
  std::unique_ptr<Paper> paper;
};

TEST_F(MenuSkinPaintTest, MeasuresSeparatorsCaptionsShortcutsAndSubMenus) {
  TCanvas* c = paper->Canvas();
  auto measure = [&](TMenuItem* item) {
    Integer w = 0, h = 0;
    skin->MeasureMenuItem(item, c, w, h);
    return std::pair{w, h};
  };
  TMenuItem* line = AddItem(popup->Items(), "-");
  EXPECT_EQ(measure(line).second, 4);

  c->Font()->Assign(skin->Font());
  Integer th = c->TextHeight("W");
  open->SetShortCut(ShortCut('O', {ssCtrl}));
  auto [w, h] = measure(open);
  EXPECT_EQ(w, c->TextWidth("&OpenCtrl+OWWW") + 5 - c->TextWidth("&") + 24);
  EXPECT_EQ(h, th + (th * 3 + 2) / 4);

  TMenuItem* copy = popup->Items()->Items(0);
  EXPECT_EQ(measure(copy).first, c->TextWidth("Copy") + 5 + 24);
  AddItem(copy, "Sub");
  EXPECT_EQ(measure(copy).first, c->TextWidth("Copy") + 5 + 6 + 24);

  // A bar item has no icon column; a given size is never made smaller.
  EXPECT_EQ(measure(file).first, c->TextWidth("&File") + 5 - c->TextWidth("&"));
  Integer big = 500, tall = 90;
  skin->MeasureMenuItem(copy, c, big, tall);
  EXPECT_EQ(big, 500);
  EXPECT_EQ(tall, 90);

  // An inactive skin measures nothing.
  skin->SetActive(false);
  EXPECT_EQ(measure(copy), (std::pair<Integer, Integer>{0, 0}));
}

TEST_F(MenuSkinPaintTest, PopupItemBackgroundSelectionAndSeparator) {
  TMenuItem* copy = popup->Items()->Items(0);
  PaintPopup(copy, false);
  EXPECT_EQ(At(12, 10), C().IconFill);
  EXPECT_EQ(At(6, 10), C().MenuFill);  // the strip left of the item belongs to it
  EXPECT_EQ(At(158, 10), C().MenuFill);
  EXPECT_EQ(At(3, 10), clFuchsia);

  PaintPopup(copy, true);
  EXPECT_EQ(At(10, 6), C().SelectBorder);
  EXPECT_EQ(At(159, 20), C().SelectBorder);
  EXPECT_EQ(At(150, 10), C().SelectFill);
  EXPECT_EQ(At(12, 5), C().IconFill);  // the top row stays out of the selection

  // A disabled item is not selected.
  copy->SetEnabled(false);
  PaintPopup(copy, true);
  EXPECT_EQ(At(150, 10), C().MenuFill);

  TMenuItem* line = AddItem(popup->Items(), "-");
  Paper fresh(200, 40);
  skin->DrawMenuItem(line, fresh.Canvas(), {10, 5, 160, 9}, false);
  EXPECT_EQ(fresh.At(50, 7), C().SeparatorPen);
  EXPECT_EQ(fresh.At(150, 7), C().SeparatorPen);
  EXPECT_EQ(fresh.At(40, 7), C().MenuFill);  // starts 7 past the icon column
  EXPECT_EQ(fresh.At(50, 6), C().MenuFill);
  EXPECT_EQ(fresh.At(50, 8), C().MenuFill);
}

// A right-to-left menu has its icon column at the right.
TEST_F(MenuSkinPaintTest, RightToLeftItemsMirrorTheColumn) {
  popup->SetBiDiMode(bdRightToLeft);
  TMenuItem* copy = popup->Items()->Items(0);
  PaintPopup(copy, false);
  EXPECT_EQ(At(150, 10), C().IconFill);
  EXPECT_EQ(At(140, 10), C().IconFill);
  EXPECT_EQ(At(134, 10), C().MenuFill);
  EXPECT_EQ(At(12, 10), C().MenuFill);
  TMenuItem* line = AddItem(popup->Items(), "-");
  Paper fresh(200, 40);
  skin->DrawMenuItem(line, fresh.Canvas(), {10, 5, 160, 9}, false);
  EXPECT_EQ(fresh.At(12, 7), C().SeparatorPen);
  EXPECT_EQ(fresh.At(130, 7), C().MenuFill);  // ends 7 before the column
}

TEST_F(MenuSkinPaintTest, IconsAreDimmedGrayedAndLifted) {
  auto images = std::make_unique<TImageList>(form.get());
  images->SetWidth(16);
  images->SetHeight(16);
  auto red = SolidIcon(16, clRed);
  images->Add(red.get(), nullptr);
  popup->SetImages(images.get());
  TMenuItem* copy = popup->Items()->Items(0);
  copy->SetImageIndex(0);

  // Resting: 3 px down, centred in the column less one; lightened by DimLevel.
  PaintPopup(copy, false);
  EXPECT_EQ(At(13 + 5, 8 + 5), LightenColor(clRed, 30));
  EXPECT_EQ(At(13, 8 + 15), C().IconFill);  // the bottom-left colour is transparent

  // Selected: one pixel up and left, with a shadow two down and right.
  PaintPopup(copy, true);
  EXPECT_EQ(At(12 + 5, 7 + 5), Resolved(clRed));
  TColor shadow = DarkenColor(C().SelectFill, 50);
  EXPECT_EQ(At(12 + 17, 7 + 10), shadow);
  EXPECT_EQ(At(12 + 10, 7 + 17), shadow);
  EXPECT_EQ(At(12 + 18, 7 + 10), C().SelectFill);

  // Disabled: grayed, then lightened by 40; the text in DisabledFont.
  copy->SetEnabled(false);
  PaintPopup(copy, false);
  EXPECT_EQ(At(13 + 5, 8 + 5), LightenColor(GrayColor(clRed, 10), 40));
  bool disabledText = false;
  for (int x = 40; x < 100 && !disabledText; ++x)
    for (int y = 5; y < 27; ++y) disabledText |= At(x, y) == C().DisabledFont;
  EXPECT_TRUE(disabledText);
}

TEST_F(MenuSkinPaintTest, CheckAndRadioMarks) {
  TMenuItem* copy = popup->Items()->Items(0);
  copy->SetChecked(true);
  PaintPopup(copy, false);
  // A 10 x 10 box centred in the column: frame, fill, tick.
  EXPECT_EQ(At(17, 11), C().CheckedFrame);
  EXPECT_EQ(At(26, 20), C().CheckedFrame);
  EXPECT_EQ(At(25, 12), C().CheckedFill);
  EXPECT_EQ(At(19, 16), Resolved(clBlack));
  PaintPopup(copy, true);
  EXPECT_EQ(At(25, 12), C().CheckedSelectedFill);

  copy->SetRadioItem(true);
  copy->SetChecked(true);
  PaintPopup(copy, false);
  EXPECT_EQ(At(22, 16), C().SelectBorder);  // the dot
  EXPECT_EQ(At(17, 11), C().IconFill);      // the ellipse leaves the corner

  copy->SetChecked(false);
  PaintPopup(copy, false);
  EXPECT_EQ(At(22, 16), C().IconFill);
}

TEST_F(MenuSkinPaintTest, MenuBarSelectionCastsAStepShadow) {
  Paper bar(60, 30);
  skin->DrawMenuBarSelection(bar.Canvas(), false, false, clBtnFace, {0, 0, 40, 20});
  TColor fill = C().MenuBarFill;
  EXPECT_EQ(bar.At(0, 10), C().SelectBorder);
  EXPECT_EQ(bar.At(32, 10), C().SelectBorder);
  EXPECT_EQ(bar.At(10, 10), C().SelectFill);
  EXPECT_EQ(bar.At(33, 1), DarkenColor(fill, 10));
  EXPECT_EQ(bar.At(34, 10), DarkenColor(fill, 100));
  EXPECT_EQ(bar.At(36, 10), DarkenColor(fill, 60));
  EXPECT_EQ(bar.At(37, 10), DarkenColor(fill, 30));
  EXPECT_EQ(bar.At(38, 10), DarkenColor(fill, 10));
  EXPECT_EQ(bar.At(39, 3), fill);  // the corner finished in the bar colour

  // Right to left: a plain frame and a two-pixel strip.
  Paper rtl(60, 30);
  skin->DrawMenuBarSelection(rtl.Canvas(), true, false, clBtnFace, {0, 0, 40, 20});
  EXPECT_EQ(rtl.At(37, 10), C().SelectBorder);
  EXPECT_EQ(rtl.At(38, 10), DarkenColor(clBtnFace, 70));
  EXPECT_EQ(rtl.At(38, 1), Resolved(clBtnFace));
}

TEST_F(MenuSkinPaintTest, GradientSteps) {
  Paper strip(70, 1);
  skin->DrawGradient(strip.Canvas(), {0, 0, 70, 1}, false);
  TColor base = C().IconFill;
  struct Case {
    int X, Step;
  };
  // 0 at the edge, +1 there, +3 inside the column and 5 beyond, then +1 up to 96.
  for (Case c : {Case{0, 0}, Case{1, 1}, Case{2, 4}, Case{28, 82}, Case{29, 85}, Case{30, 86}, Case{40, 96},
                 Case{69, 96}})
    EXPECT_EQ(strip.At(c.X, 0), LightenColor(base, c.Step)) << c.X;
  Paper mirrored(70, 1);
  skin->DrawGradient(mirrored.Canvas(), {0, 0, 70, 1}, true);
  EXPECT_EQ(mirrored.At(69, 0), base);
  EXPECT_EQ(mirrored.At(0, 0), LightenColor(base, 96));
}

TEST_F(MenuSkinPaintTest, DropDownToolButtonGetsTwoHotFramesAndAnArrow) {
  bar->SetFlat(true);
  button->SetStyle(tbsDropDown);
  button->SetWidth(40);
  skin->SetActive(false);
  skin->SetActive(true);
  ShowForm();
  TPoint p = button->ClientToScreen({5, button->Height() / 2});
  win::InjectMouseMove({p.X, p.Y});
  Pump();
  ASSERT_EQ(bar->HotButton(), button);
  bar->Repaint();
  TRect r = button->BoundsRect();
  auto px = [&](int x, int y) { return ClientPixel(bar, x, y); };
  EXPECT_EQ(px(r.Left, r.Top + 6), C().SelectBorder);
  EXPECT_EQ(px(r.Right - 15, r.Top + 6), C().SelectBorder);
  EXPECT_EQ(px(r.Right - 14, r.Top + 6), C().SelectBorder);
  EXPECT_EQ(px(r.Right - 2, r.Top + 6), C().SelectBorder);
  EXPECT_EQ(px(r.Left + 5, r.Top + 6), C().SelectFill);
  EXPECT_EQ(px(r.Right - 10, r.Top + (r.Height() - 3) / 2 + 1), Resolved(clBlack));

  // Away from the mouse: the bar's face, lightened.
  TPoint away = form->ClientToScreen({300, 250});
  win::InjectMouseMove({away.X, away.Y});
  Pump();
  ASSERT_EQ(bar->HotButton(), nullptr);
  bar->Repaint();
  EXPECT_EQ(px(r.Left + 5, r.Top + 6), LightenColor(bar->Color(), 16));
}

}  // namespace
