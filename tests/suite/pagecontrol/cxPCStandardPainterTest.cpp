// The standard painter's metrics for the three kinds of style, the
// navigator buttons' layout and glyphs, the drawing of one tab and the
// image and caption inside a tab. Drawn in the "no styles" mode: the
// classic lines and glyphs, never the visual style.
#include "suite/pagecontrol/cxPCStandardPainter.h"

#include <gtest/gtest.h>

#include "platform/forms/ImgList.h"
#include "suite/pagecontrol/cxPCPainterRoutines.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

// The standard painter with a frame that only records which tabs it drew.
class RecordingStandardPainter : public TcxPCStandardPainter {
 public:
  RecordingStandardPainter(TcxCustomTabControl* AControl, TcxPCCustomPainterClass AClass)
      : TcxPCStandardPainter(AControl), FClass(AClass) {}
  TcxPCCustomPainterClass PainterClass() const override { return FClass; }
  TColor TabColor(Integer) override { return clBtnFace; }
  void DrawTabFrame(Integer VisibleIndex) override { frames.push_back(VisibleIndex); }
  std::vector<Integer> frames;

 private:
  TcxPCCustomPainterClass FClass;
};

class StandardClass : public TcxPCStandardPainterClass {
 public:
  explicit StandardClass(Integer AKind) : FKind(AKind) {}
  TcxPCStyleID StyleID() const override { return FKind + 1; }
  Integer TabStyleKind() const override { return FKind; }
  bool IsDefaultForLookAndFeel(TcxLookAndFeel*) const override { return FKind == 0; }
  std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const override {
    return std::make_unique<RecordingStandardPainter>(AControl, this);
  }

 private:
  Integer FKind;
};

const StandardClass& Kind(Integer k) {
  static const StandardClass kinds[3] = {StandardClass(0), StandardClass(1), StandardClass(2)};
  return kinds[k];
}

class StandardPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control = std::make_unique<FakeTabControl>();
    control->AddTabs({"abcd", "efgh", "ijkl"});
    control->ShowWindow(200, 100);
  }
  TcxPCStandardPainter* painter() { return static_cast<TcxPCStandardPainter*>(control->Painter()); }
  RecordingStandardPainter* recorder() { return static_cast<RecordingStandardPainter*>(control->Painter()); }
  TRect ButtonRect(TcxPCNavigatorButton b) {
    for (const auto& e : painter()->NavigatorButtonList())
      if (e.Button == b) return e.Rect;
    return {};
  }

  VisualStylesScope classic{false};
  FactoryScope factory{{&Kind(0), &Kind(1), &Kind(2)}};
  std::unique_ptr<FakeTabControl> control;
};

}  // namespace

TEST_F(StandardPainterTest, MetricsByKind) {
  struct Case {
    Integer kind;
    IntegerPair tabsSpacing;
    Integer minHeight;
    TRect imageMargins[2];  // not active, active
    TRect textMargins[2];
    IntegerPair spacing[2];
    IntegerPair cutSpacing[2];
    bool buttons;
  };
  const Case cases[] = {
      {0, {0, 0}, 18, {{6, 1, 0, 0}, {8, 1, 0, 3}}, {{5, 1, 5, -1}, {5, 1, 5, 2}}, {{2, 2}, {4, 4}}, {{2, 2}, {4, 4}},
       false},
      {1, {3, 3}, 20, {{6, -1, 0, 1}, {7, -1, 0, 1}}, {{6, 0, 4, 1}, {6, 0, 4, 1}}, {{3, 3}, {3, 3}}, {{3, 3}, {3, 3}},
       true},
      {2, {10, 3}, 20, {{6, -1, 0, 1}, {7, -1, 0, 1}}, {{6, 0, 4, 1}, {6, 0, 4, 1}}, {{2, 2}, {4, 2}}, {{2, 2}, {3, 2}},
       true},
  };
  for (const auto& c : cases) {
    control->SetStyle(c.kind + 1);
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(painter()->TabsSpacing(), c.tabsSpacing);
    EXPECT_EQ(painter()->MinTabNormalHeight(), c.minHeight);
    for (Integer active = 0; active < 2; ++active) {
      const Integer v = active ? 0 : 1;  // tab 0 is the main tab
      EXPECT_EQ(painter()->TabImageMargins(v), c.imageMargins[active]);
      EXPECT_EQ(painter()->TabTextMargins(v), c.textMargins[active]);
      EXPECT_EQ(painter()->TabContentSpacing(v), c.spacing[active]);
      EXPECT_EQ(painter()->TabCutContentSpacing(v), c.cutSpacing[active]);
    }
    const TcxPCCustomPainterClass k = painter()->PainterClass();
    EXPECT_EQ(k->IsButtonStyle(), c.buttons);
    EXPECT_EQ(k->AllowsMultiSelect(), c.buttons);
    EXPECT_EQ(k->MirrorsContentMargins(), !c.buttons);
    EXPECT_TRUE(k->SpareStyleFlag());
    EXPECT_EQ(painter()->FrameWidth(), 2);
    EXPECT_EQ(painter()->ImageTextGap(), 6);
  }
}

TEST_F(StandardPainterTest, TabSizes) {
  TcxTab* tab = control->Tabs()->GetTab(0);
  tab->SetCaption("a");
  EXPECT_EQ(tab->NormalWidth, 42);  // the smallest tab
  const std::string wide = "a rather long caption for a tab";
  tab->SetCaption(wide);
  EXPECT_EQ(tab->NormalWidth, 12 + TextExtent(control->Canvas(), wide).cx);
  control->SetTabWidth(10);
  EXPECT_EQ(tab->NormalWidth, 10);  // taken as it stands, below the smallest

  control->SetTabHeight(5);
  const Integer font = PainterScreenCanvas()->FontHeight(control->Font()) + 8;
  EXPECT_EQ(painter()->TabNormalHeight(), std::max(font, 18));
  control->SetTabHeight(40);
  EXPECT_EQ(painter()->TabNormalHeight(), 40);
}

TEST_F(StandardPainterTest, NavigatorButtonsLayout) {
  // All tabs fit: no button.
  EXPECT_TRUE(painter()->NavigatorButtonList().empty());
  EXPECT_EQ(painter()->NavigatorAreaExtent({}), 0);
  EXPECT_EQ(control->TabsArea().Bounds, (TRect{0, 0, 200, 100}));
  TcxPCNavigatorButton hit;
  EXPECT_FALSE(painter()->NavigatorButtonAt(190, 5, hit));

  control->SetOptions(control->Options() + pcoCloseButton);
  ASSERT_EQ(painter()->NavigatorButtonList().size(), 1u);
  EXPECT_EQ(ButtonRect(nbClose), (TRect{180, 0, 200, 20}));
  EXPECT_TRUE(painter()->NavigatorButtonAt(190, 5, hit));
  EXPECT_EQ(hit, nbClose);

  // Too many tabs: the arrows and the go-to button come; the close button
  // is outermost, the go-to button next to the tabs.
  control->AddTabs({"mnopqrstuv", "wxyzabcdef", "ghijklmnop"});
  control->SetOptions(control->Options() + pcoGoDialog);
  EXPECT_EQ(ButtonRect(nbGoDialog), (TRect{128, 0, 140, 20}));
  EXPECT_EQ(ButtonRect(nbTopLeft), (TRect{140, 0, 160, 20}));
  EXPECT_EQ(ButtonRect(nbBottomRight), (TRect{160, 0, 180, 20}));
  EXPECT_EQ(ButtonRect(nbClose), (TRect{180, 0, 200, 20}));
  EXPECT_EQ(control->TabsArea().RowLength, 128);
  TRect go;
  painter()->GoDialogButtonBounds(go);
  EXPECT_EQ(go, (TRect{128, 0, 140, 20}));
  TPoint popup{-1, -1};
  painter()->GoDialogPopupPoint({3, 0}, popup);
  EXPECT_EQ(popup, (TPoint{137, 20}));  // right corner, below

  control->SetNavigatorPosition(npLeftTop);
  EXPECT_EQ(ButtonRect(nbClose), (TRect{0, 0, 20, 20}));
  EXPECT_EQ(ButtonRect(nbGoDialog), (TRect{60, 0, 72, 20}));
  EXPECT_EQ(control->TabsArea().Bounds.Left, 72);

  // Tabs on the right: the buttons stack downwards from the bottom end.
  control->SetNavigatorPosition(npRightBottom);
  control->SetTabPosition(tpRight);
  EXPECT_EQ(ButtonRect(nbGoDialog), (TRect{180, 27, 200, 40}));
  EXPECT_EQ(ButtonRect(nbClose), (TRect{180, 80, 200, 100}));
}

TEST_F(StandardPainterTest, NavigatorGlyphs) {
  TestSurface& s = control->surface;
  const std::vector<std::pair<TColor, char>> legend{{clBtnFace, '-'}, {clBtnText, 'x'}};
  painter()->DrawNavigatorButton(nbBottomRight, {0, 0, 20, 20});
  // A 5 x 9 arrow pointing right, centred in the face.
  EXPECT_EQ(s.Rows({6, 4, 13, 15}, legend), (std::vector<std::string>{"-------", "-x-----", "-xx----", "-xxx---",
                                                                       "-xxxx--", "-xxxxx-", "-xxxx--", "-xxx---",
                                                                       "-xx----", "-x-----", "-------"}));
  // The 3-D frame: light outside at the left and top, dark at the right and
  // bottom.
  EXPECT_TRUE(s.Is(0, 5, cl3DLight));
  EXPECT_TRUE(s.Is(1, 5, clBtnHighlight));
  EXPECT_TRUE(s.Is(19, 5, cl3DDkShadow));
  EXPECT_TRUE(s.Is(18, 5, clBtnShadow));

  // A disabled control embosses every glyph: a light copy one pixel right
  // and down under a dark one.
  control->SetEnabled(false);
  painter()->DrawNavigatorButton(nbBottomRight, {20, 0, 40, 20});
  Integer text = 0;
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 22; x < 38; ++x) text += s.Is(x, y, clBtnText);
  EXPECT_EQ(text, 0);
  EXPECT_TRUE(s.Is(27, 5, clBtnShadow));
  EXPECT_TRUE(s.Is(28, 14, clBtnHighlight));  // below the dark tip of the lowest row
}

TEST_F(StandardPainterTest, DrawingATabAndOwnerDrawing) {
  TestSurface& s = control->surface;
  painter()->SaveClip();
  painter()->DrawTabs();
  EXPECT_EQ(recorder()->frames, (std::vector<Integer>{0, 1, 2}));
  // Every drawn tab left the clip: a fill reaches only what no tab covers.
  s.canvas->SetBrushColor(clBlue);
  s.canvas->Canvas->FillRect({0, 0, 200, 100});
  painter()->RestoreClip();
  const TRect first = control->Tabs()->GetTab(0)->VisibleRect();
  EXPECT_FALSE(s.Is(first.Left + 1, first.Top + 1, clBlue));
  EXPECT_TRUE(s.Is(199, 50, clBlue));

  // A handler that draws the tab itself: nothing of the painter's, but the
  // tab still leaves the clip.
  recorder()->frames.clear();
  control->SetOwnerDraw(true);
  control->OnDrawTab = TcxDrawTabEvent(+[](TcxCustomTabControl*, TcxTab* tab, bool& defaultDraw) {
    defaultDraw = tab->Index() != 1;
  });
  s.Reset(200, 100);
  painter()->SaveClip();
  painter()->DrawTabs();
  s.canvas->SetBrushColor(clBlue);
  s.canvas->Canvas->FillRect({0, 0, 200, 100});
  painter()->RestoreClip();
  EXPECT_EQ(recorder()->frames, (std::vector<Integer>{0, 2}));
  const TRect second = control->Tabs()->GetTab(1)->VisibleRect();
  EXPECT_TRUE(s.Is(second.Left + 2, second.Top + 2, clWhite));
}

TEST_F(StandardPainterTest, CaptionPlacement) {
  // A caption that fits is centred: a tab of 12 + caption width keeps
  // 2 + (12 - 4) / 2 pixels before it.
  TcxTab* tab = control->Tabs()->GetTab(1);
  tab->SetCaption("a caption long enough");
  painter()->CalculateTabContentRects(1);
  const TRect display = tab->DisplayRect();
  const Integer width = TextExtent(control->Canvas(), "a caption long enough").cx;
  EXPECT_EQ(painter()->ContentTextRect().Left, display.Left + 6);
  EXPECT_EQ(painter()->ContentTextRect().Right - painter()->ContentTextRect().Left, width);

  // A cut caption starts right after the cut spacing and ends in an
  // ellipsis inside the room left.
  control->SetTabWidth(30);
  tab->SetCaption("a caption far too long");
  painter()->CalculateTabContentRects(1);
  const TRect cut = painter()->ContentTextRect();
  EXPECT_EQ(cut.Left, tab->DisplayRect().Left + 2);
  EXPECT_GT(cut.Right, cut.Left);
  EXPECT_LE(cut.Right, tab->DisplayRect().Right - 2);

  // No room even for the ellipsis: no caption at all.
  control->SetTabWidth(6);
  painter()->CalculateTabContentRects(1);
  EXPECT_EQ(painter()->ContentTextRect().Right, painter()->ContentTextRect().Left);
}

TEST_F(StandardPainterTest, DisabledCaptionIsEmbossed) {
  TestSurface& s = control->surface;
  control->Tabs()->GetTab(1)->SetEnabled(false);
  painter()->SaveClip();
  painter()->DrawTabImageAndText(1);
  painter()->RestoreClip();
  const TRect text = painter()->ContentTextRect();
  Integer light = 0, dark = 0, plain = 0;
  for (Integer y = text.Top; y < text.Bottom; ++y)
    for (Integer x = text.Left; x < text.Right; ++x) {
      light += s.Is(x, y, clBtnHighlight);
      dark += s.Is(x, y, clBtnShadow);
      plain += s.Is(x, y, clBtnText);
    }
  EXPECT_GT(light, 0);
  EXPECT_GT(dark, 0);
  EXPECT_EQ(plain, 0);
}

TEST_F(StandardPainterTest, RotatedTabKeepsItsImageAtTheStart) {
  auto images = BlankImages(4, 3);
  control->SetImages(images.get());
  control->SetRotate(true);  // tabs on top with captions reading upwards
  ASSERT_EQ(control->PaintedTextRotation(), 1);
  painter()->CalculateTabContentRects(1);
  const TRect display = control->Tabs()->GetTab(1)->DisplayRect();
  const TRect image = painter()->ContentImageRect();
  const TRect text = painter()->ContentTextRect();
  EXPECT_EQ(image.Bottom, display.Bottom - 2);  // right after the spacing, not centred
  EXPECT_EQ(image.Bottom - image.Top, 4);
  // The caption stands above the image, centred in what is left.
  const Integer gap = painter()->ImageTextGap();
  EXPECT_LE(text.Bottom, image.Top - gap);
  const Integer above = text.Top - (display.Top + 2);
  const Integer below = (image.Top - gap) - text.Bottom;
  EXPECT_LE(std::abs(above - below), 1);
  control->SetImages(nullptr);
}

TEST_F(StandardPainterTest, DrawTabExChangesOneTabOnly) {
  control->OnDrawTabEx = TcxDrawTabExEvent(+[](TcxCustomTabControl*, TcxTab* tab, TFont* font) {
    if (tab->Index() == 1) font->SetColor(clRed);
  });
  TestSurface& s = control->surface;
  painter()->SaveClip();
  painter()->DrawTabImageAndText(1);
  EXPECT_EQ(control->Canvas()->Font()->GetColor(), control->Font()->GetColor());  // given back
  const TRect red = painter()->ContentTextRect();
  painter()->DrawTabImageAndText(2);
  const TRect plain = painter()->ContentTextRect();
  painter()->RestoreClip();
  auto count = [&s](const TRect& r, TColor c) {
    Integer n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) n += s.Is(x, y, c);
    return n;
  };
  EXPECT_GT(count(red, clRed), 0);
  EXPECT_EQ(count(plain, clRed), 0);
  EXPECT_GT(count(plain, clBtnText), 0);
}
