// The painters: base colours and metrics, the drawings of the classic
// painters (in the "no styles" mode: they never ask the visual-style
// service) and the native painter against a recording visual-style library
// (every class opens unless a test refuses it) and with its fall-backs.
#include "suite/foundation/cxLookAndFeelPainters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "suite/foundation/cxPainterImages.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/UxTheme.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"

using namespace fake_theme;

namespace {

TcxCustomLookAndFeelPainterClass Base() { return TcxCustomLookAndFeelPainter::Instance(); }
TcxCustomLookAndFeelPainterClass Standard() { return TcxStandardLookAndFeelPainter::Instance(); }
TcxCustomLookAndFeelPainterClass Flat() { return TcxFlatLookAndFeelPainter::Instance(); }
TcxCustomLookAndFeelPainterClass UltraFlat() { return TcxUltraFlatLookAndFeelPainter::Instance(); }
TcxCustomLookAndFeelPainterClass Office11() { return TcxOffice11LookAndFeelPainter::Instance(); }
TcxCustomLookAndFeelPainterClass Native() { return TcxWinXPLookAndFeelPainter::Instance(); }

}  // namespace

namespace {

// A painter whose header frame is one pixel wide, to show the header
// metrics of the base class.
class FramedHeaderPainter : public TcxCustomLookAndFeelPainter {
 public:
  FramedHeaderPainter() = default;
  Integer HeaderFrameWidth() const override { return 1; }
  TcxBorders HeaderFrameSides(TcxBorders ANeighbors) const override { return cxBordersAll - ANeighbors; }
};

}  // namespace

TEST(cxLookAndFeelPainters, StyleCodesAndKinds) {
  EXPECT_EQ(Base()->PainterStyle(), 1);
  EXPECT_EQ(TcxFlatLookAndFeelPainter::Instance()->PainterStyle(), 0);
  EXPECT_EQ(TcxUltraFlatLookAndFeelPainter::Instance()->PainterStyle(), 2);
  EXPECT_EQ(TcxWinXPLookAndFeelPainter::Instance()->PainterStyle(), 3);
  EXPECT_EQ(TcxOffice11LookAndFeelPainter::Instance()->PainterStyle(), 4);
  const TcxLookAndFeelKind kinds[] = {lfFlat, lfStandard, lfUltraFlat, lfStandard, lfOffice11, lfStandard};
  for (Integer code = 0; code < 6; ++code) EXPECT_EQ(StyleCodeToKind(code), kinds[code]) << code;
  EXPECT_EQ(ScrollBarArrowDirection(true, ScrollBarPartLineUp), ArrowLeft);
  EXPECT_EQ(ScrollBarArrowDirection(true, ScrollBarPartLineDown), ArrowRight);
  EXPECT_EQ(ScrollBarArrowDirection(false, ScrollBarPartLineUp), ArrowUp);
  EXPECT_EQ(ScrollBarArrowDirection(false, ScrollBarPartLineDown), ArrowDown);
  EXPECT_EQ(TcxStandardLookAndFeelPainter::Instance(), TcxStandardLookAndFeelPainter::Instance());
}

TEST(cxLookAndFeelPainters, BaseColoursAndMetrics) {
  TcxCustomLookAndFeelPainterClass p = Base();
  EXPECT_EQ(p->PaletteColor41(), p->PaletteColor29());
  EXPECT_EQ(p->PaletteColor8(), 0xCFCFCF);
  EXPECT_EQ(p->HeaderAreaColor(), clBtnFace);
  EXPECT_EQ(p->PaletteColor47(), 0x0000FF);
  EXPECT_EQ(p->PaletteColor61(), clWhite);
  EXPECT_EQ(p->ButtonGlyphColor(cxbsDisabled, clRed), clBtnShadow);
  EXPECT_EQ(p->ButtonGlyphColor(cxbsHot, clRed), clRed);
  EXPECT_EQ(p->ButtonGlyphColor(cxbsNormal), clBtnText);
  const TColor fills[] = {clWindow, clWindow, clWindow, clBtnFace, clBtnFace};
  for (int s = cxbsDefault; s <= cxbsDisabled; ++s)
    EXPECT_EQ(p->CheckBoxFillColor(static_cast<TcxButtonState>(s)), fills[s]) << s;
  EXPECT_EQ(p->CalcButtonFocusRect(nullptr, {0, 0, 6, 6}), (TRect{0, 0, 6, 6}));
  EXPECT_EQ(p->CalcButtonFocusRect(nullptr, {0, 0, 20, 10}), (TRect{4, 4, 16, 6}));
  EXPECT_EQ(p->ButtonGroupBorderWidths(3, 1), (TRect{0, 0, 0, 0}));
  EXPECT_EQ(p->SortArrowAreaSize(), (TPoint{16, 0}));
  EXPECT_EQ(p->CloseButtonSize(), (TPoint{16, 14}));
  EXPECT_EQ(p->FilterButtonSize(), (TPoint{15, 0}));
  EXPECT_EQ(p->HeaderHeightForFont(13), 17);
  EXPECT_EQ(p->HeaderSectionContentRect({0, 0, 10, 10}, cxbsNormal), (TRect{1, 1, 9, 9}));
  EXPECT_EQ(p->HeaderSectionTextBounds({0, 0, 10, 10}, cxbsPressed), (TRect{1, 1, 11, 11}));
  EXPECT_EQ(p->FooterCellTextRect({0, 0, 10, 10}), (TRect{2, 2, 8, 8}));
  EXPECT_EQ(p->GroupToggleButtonSize(), 15);
  EXPECT_EQ(p->SmallExpandButtonSize(), 9);
  EXPECT_TRUE(p->IsPointInGroupToggleButton({0, 0, 5, 5}, {4, 4}));
  EXPECT_FALSE(p->IsPointInGroupToggleButton({0, 0, 5, 5}, {5, 4}));
}

using PainterHeaders = CanvasTest;

TEST_F(PainterHeaders, HeaderMetricsFollowTheFrameWidth) {
  FramedHeaderPainter p;
  TFont font;
  const Integer text = canvas->MeasureTextWidth("Name");
  // The right side subtracts what the left side adds.
  EXPECT_EQ(p.HeaderWidthForText(canvas.get(), {bLeft, bRight}, "Name", &font), text + 4);
  EXPECT_EQ(p.HeaderWidthForText(canvas.get(), {bLeft}, "Name", &font), text + 5);
  EXPECT_EQ(p.HeaderHeightForFont(13), 19);
  EXPECT_EQ(p.HeaderInnerRect({0, 0, 10, 10}, {bLeft, bBottom}), (TRect{1, 0, 10, 9}));
  // Sides the frame already draws do not grow; the others do.
  EXPECT_EQ(p.ExpandHeaderRect({10, 10, 20, 20}, {bLeft}, cxBordersAll), (TRect{9, 10, 20, 20}));
  EXPECT_EQ(p.ExpandHeaderRect({10, 10, 20, 20}, TcxBorders(), cxBordersAll), (TRect{10, 10, 20, 20}));
}

namespace {

class Painting : public CanvasTest {
 protected:
  // The box of the pixels of a colour, or an empty rect.
  TRect Box(TColor c) const {
    TRect b{9999, 9999, -1, -1};
    for (Integer y = 0; y < bitmap->Height(); ++y)
      for (Integer x = 0; x < bitmap->Width(); ++x)
        if (Is(x, y, c)) b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x + 1), std::max(b.Bottom, y + 1)};
    return b.Right < 0 ? TRect{} : b;
  }
  // A background that is none of the system colours drawn with.
  void Yellow() {
    canvas->SetBrushColor(clYellow);
    canvas->Canvas->FillRect({0, 0, bitmap->Width(), bitmap->Height()});
  }
  std::vector<TColor> Snapshot() const {
    std::vector<TColor> px;
    for (Integer y = 0; y < bitmap->Height(); ++y)
      for (Integer x = 0; x < bitmap->Width(); ++x) px.push_back(Px(x, y));
    return px;
  }
};

}  // namespace

TEST_F(Painting, FilledArrowsPointEachWay) {
  struct Case {
    ArrowDirection dir;
    TPoint apex;
    TRect base;  // the full row or column opposite the apex
  } cases[] = {
      {ArrowUp, {4, 2}, {2, 6, 7, 7}},
      {ArrowDown, {4, 6}, {2, 2, 7, 3}},
      {ArrowLeft, {2, 4}, {6, 2, 7, 7}},
      {ArrowRight, {6, 4}, {2, 2, 3, 7}},
  };
  for (const Case& c : cases) {
    // A 9 x 9 square inside a wider rect: the arrow is drawn in the square.
    Reset(13, 9);
    Base()->DrawFilledArrow(canvas.get(), {2, 0, 11, 9}, c.dir, clBlack);
    EXPECT_EQ(Box(clBlack), cxRectOffset({2, 2, 7, 7}, 2, 0)) << c.dir;
    EXPECT_TRUE(Is(c.apex.X + 2, c.apex.Y, clBlack)) << c.dir;
    for (Integer y = c.base.Top; y < c.base.Bottom; ++y)
      for (Integer x = c.base.Left; x < c.base.Right; ++x) EXPECT_TRUE(Is(x + 2, y, clBlack)) << c.dir << " " << x;
  }
}

TEST_F(Painting, DisabledArrowGlyphIsEmbossedAndPressedOneMoves) {
  Reset(12, 12);
  Standard()->DrawStateArrowGlyph(canvas.get(), {0, 0, 9, 9}, cxbsDisabled, ArrowDown);
  EXPECT_EQ(Box(clBtnShadow), (TRect{2, 2, 7, 7}));
  EXPECT_TRUE(Is(5, 7, clBtnHighlight)) << "the light copy lies one pixel right and down";
  Reset(12, 12);
  Standard()->DrawStateArrowGlyph(canvas.get(), {0, 0, 9, 9}, cxbsPressed, ArrowDown);
  EXPECT_EQ(Box(clBtnText), (TRect{3, 3, 8, 8})) << "pressed moves by ButtonPressedShift";
  Reset(12, 12);
  Base()->DrawArrowInButton(canvas.get(), {0, 0, 10, 10}, clBlack);
  // w = 10 div 2 (5, odd), h = 3: a downward triangle 5 wide, 3 high.
  EXPECT_EQ(Box(clBlack), (TRect{2, 4, 7, 7}));
}

TEST_F(Painting, ButtonFramesOfEachPainterAndState) {
  struct Case {
    TcxCustomLookAndFeelPainterClass painter;
    TcxButtonState state;
    TColor ring0, ring1, ring2;  // pixels (0, 0), (1, 1), (2, 2)
    Integer border;
  } cases[] = {
      {Standard(), cxbsDefault, clBlack, clBtnHighlight, cl3DLight, 3},
      {Standard(), cxbsNormal, clBtnHighlight, cl3DLight, clBtnFace, 2},
      {Standard(), cxbsPressed, clBlack, clBtnShadow, clBtnFace, 2},
      {Flat(), cxbsDefault, clBlack, clBtnHighlight, clBtnFace, 2},
      {Flat(), cxbsNormal, clBtnHighlight, clBtnFace, clBtnFace, 1},
      {Flat(), cxbsPressed, clBtnShadow, clBtnFace, clBtnFace, 1},
      {UltraFlat(), cxbsDefault, clWindowFrame, clWindowFrame, clBtnFace, 2},
      {UltraFlat(), cxbsNormal, clBtnText, clBtnFace, clBtnFace, 1},
      {UltraFlat(), cxbsHot, clHighlight, HotHighlightColor(), HotHighlightColor(), 1},
      {UltraFlat(), cxbsDisabled, clBtnShadow, clBtnFace, clBtnFace, 1},
      {Office11(), cxbsHot, Office11SelectionFrameColor, Office11HotFirstColor, Office11HotFirstColor, 1},
      {Office11(), cxbsDisabled, Office11DisabledSymbolColor, clBtnFace, clBtnFace, 1},
  };
  for (const Case& c : cases) {
    Reset(12, 10);
    c.painter->DrawButtonWithCaption(canvas.get(), {0, 0, 12, 10}, "", c.state);
    EXPECT_TRUE(Is(0, 0, c.ring0)) << c.painter->PainterStyle() << " " << c.state;
    EXPECT_TRUE(Is(1, 1, c.ring1)) << c.painter->PainterStyle() << " " << c.state;
    EXPECT_TRUE(Is(2, 2, c.ring2)) << c.painter->PainterStyle() << " " << c.state;
    EXPECT_EQ(c.painter->ButtonBorderWidth(c.state), c.border);
  }
  // Right and bottom rings of the raised bevel.
  Reset(12, 10);
  Standard()->DrawButtonFrame(canvas.get(), {0, 0, 12, 10}, cxbsNormal);
  EXPECT_TRUE(Is(11, 9, cl3DDkShadow) && Is(10, 8, clBtnShadow));
  EXPECT_EQ(UltraFlat()->ButtonGroupBorderWidths(1, 0), (TRect{2, 2, 1, 2})) << "only the first-button rule";
  EXPECT_EQ(UltraFlat()->ButtonGroupBorderWidths(3, 2), (TRect{1, 2, 2, 2}));
}

TEST_F(Painting, ButtonCaptionRectIsMadeEven) {
  // The caption goes where DrawAlignedText puts it in the adjusted rect: a
  // 21-high face becomes 20 high, a 16-high one also moves its top up.
  struct Case {
    TRect button, caption;
  } cases[] = {{{0, 0, 40, 21}, {0, 0, 40, 20}}, {{0, 0, 40, 16}, {0, -1, 40, 16}}};
  for (const Case& c : cases) {
    Reset(40, 24);
    Base()->DrawButtonWithCaption(canvas.get(), c.button, "Ok", cxbsNormal, false);
    const auto drawn = Snapshot();
    Reset(40, 24);
    canvas->SetBrushColor(clBtnFace);
    canvas->Canvas->FillRect(c.button);
    canvas->Canvas->Font()->SetColor(clBtnText);
    canvas->Canvas->Brush()->SetStyle(bsClear);
    canvas->DrawAlignedText("Ok", c.caption, TextHCenter | TextVCenter | TextSingleLine | TextShowPrefix, true);
    EXPECT_EQ(Snapshot(), drawn) << c.button.Height();
  }
}

TEST_F(Painting, CheckMarksAndFrames) {
  Reset(13, 13);
  Base()->DrawCheckMark(canvas.get(), {0, 0, 13, 13}, cxbsNormal, false, clBlack);
  EXPECT_EQ(Count(clWindow), 169) << "unchecked only fills";
  Base()->DrawCheckMark(canvas.get(), {0, 0, 13, 13}, cxbsNormal, true, clBlack);
  // Three passes from (1, 5 + d) down to (5, 9 + d) and up to the corner.
  for (Integer d = 0; d < 3; ++d) {
    EXPECT_TRUE(Is(1, 5 + d, clBlack)) << d;
    EXPECT_TRUE(Is(5, 9 + d, clBlack)) << d;
  }
  EXPECT_FALSE(Is(5, 12, clBlack));
  EXPECT_FALSE(Is(1, 4, clBlack));
  struct Case {
    TcxCustomLookAndFeelPainterClass painter;
    TcxButtonState state;
    TColor outer, inner, fill, mark;
  } cases[] = {
      {Standard(), cxbsNormal, cl3DDkShadow, clBtnShadow, clWindow, clBtnText},
      {Standard(), cxbsDisabled, cl3DDkShadow, clBtnShadow, clBtnFace, clGrayText},
      {Flat(), cxbsPressed, clBtnShadow, clBtnFace, clBtnFace, clBtnText},
      {UltraFlat(), cxbsHot, clBtnText, clWindow, clWindow, clBtnText},
  };
  for (const Case& c : cases) {
    Reset(13, 13);
    TRect r{0, 0, 13, 13};
    c.painter->DrawCheckBox(canvas.get(), r, c.state, true);
    EXPECT_EQ(r, (TRect{2, 2, 11, 11})) << "deflated by CheckBorderWidth";
    EXPECT_TRUE(Is(0, 0, c.outer) && Is(1, 1, c.inner) && Is(2, 2, c.fill)) << c.painter->PainterStyle();
    EXPECT_GT(Count(c.mark), 0) << c.painter->PainterStyle() << " " << c.state;
  }
}

TEST_F(Painting, RadioImagesCoverEveryLookStateAndHighlight) {
  TcxRadioButtonImageList* images = GetRadioButtonImages();
  ASSERT_EQ(images->Count(), 128);
  const Integer W = images->Width(), H = images->Height();
  EXPECT_GT(W, 8);
  EXPECT_LE(W, 13);
  EXPECT_EQ(images->PatternAt(0, 0), 0) << "the corner lies outside the circle";
  EXPECT_EQ(images->PatternAt(W / 2, H / 2), 6) << "the dot sits in the middle";
  EXPECT_EQ(images->PatternAt(0, H / 2), 1);
  EXPECT_EQ(images->PatternAt(W - 1, H / 2), 2);
  EXPECT_EQ(TcxRadioButtonImageList::ImageIndex(lfStandard, cxbsDefault, false, false, false),
            TcxRadioButtonImageList::ImageIndex(lfStandard, cxbsNormal, false, false, false));
  EXPECT_EQ(TcxRadioButtonImageList::ImageIndex(lfOffice11, cxbsDisabled, true, true, true), 127);
  struct Case {
    TcxCustomLookAndFeelPainterClass painter;
    TcxButtonState state;
    bool checked, forced;
    TColor left, dot;  // the outline pixel at the left middle, the centre
  } cases[] = {
      {Standard(), cxbsNormal, true, false, clBtnShadow, clWindowText},
      {Standard(), cxbsDisabled, true, false, clBtnShadow, clBtnShadow},
      {Flat(), cxbsPressed, false, false, clBtnShadow, clBtnFace},
      {UltraFlat(), cxbsHot, false, false, clHighlight, HotHighlightColor()},
      {UltraFlat(), cxbsNormal, true, true, clHighlight, clWindowText},
      {UltraFlat(), cxbsNormal, false, false, clBtnShadow, clWindow},
      {Office11(), cxbsDisabled, true, false, Office11DisabledSymbolColor, Office11DisabledSymbolColor},
  };
  for (const Case& c : cases) {
    Reset(W + 4, H + 4);
    canvas->SetBrushColor(clRed);
    canvas->Canvas->FillRect({0, 0, W + 4, H + 4});
    c.painter->DrawRadioButton(canvas.get(), 2, 2, c.state, c.checked, c.forced, clDefault);
    EXPECT_TRUE(Is(2, 2, clRed)) << "masked";
    EXPECT_TRUE(Is(2, 2 + H / 2, c.left)) << c.painter->PainterStyle() << " " << c.state;
    EXPECT_TRUE(Is(2 + W / 2, 2 + H / 2, c.dot)) << c.painter->PainterStyle() << " " << c.state;
  }
  // Over a background colour the corners take that colour.
  Standard()->DrawRadioButton(canvas.get(), 2, 2, cxbsNormal, false, false, clBlue);
  EXPECT_TRUE(Is(2, 2, clBlue));
  EXPECT_TRUE(Is(1, 1, clRed));
}

TEST_F(Painting, HeaderFramesAndSortMarks) {
  Reset(20, 10);
  Standard()->DrawHeaderFrame(canvas.get(), {0, 0, 20, 10}, {bLeft, bRight}, TcxBorders());
  EXPECT_TRUE(Is(0, 1, clBtnFace) && Is(0, 8, clBtnFace) && Is(0, 5, clBtnHighlight));
  EXPECT_TRUE(Is(19, 0, clBtnHighlight) && Is(19, 1, clBtnFace) && Is(19, 5, clBtnShadow));
  Reset(20, 10);
  UltraFlat()->DrawHeaderFrame(canvas.get(), {0, 0, 20, 10}, TcxBorders(), TcxBorders());
  EXPECT_EQ(Count(clBtnText), 20 + 10 - 1) << "right and bottom lines, always";
  EXPECT_TRUE(Is(19, 0, clBtnText) && Is(0, 9, clBtnText) && Is(0, 0, clWhite));
  // Standard sort mark, 8 x 7, centred: right edge light, left edge dark,
  // base light when ascending and dark when descending.
  const std::vector<std::string> up = {"...DL...", "..DDLL..", "..D..L..", ".DD..LL.",
                                       ".D....L.", "DD....LL", "DLLLLLLL"};
  for (bool ascending : {true, false}) {
    Reset(20, 20);
    Yellow();
    Standard()->DrawSortArrow(canvas.get(), {0, 0, 20, 20}, ascending);
    std::vector<std::string> expected = up;
    if (!ascending) {
      std::reverse(expected.begin(), expected.end());
      expected[0] = "DDDDDDDD";
    }
    const TRect box{6, 6, 14, 13};
    EXPECT_EQ(Rows(box, {{clBtnHighlight, 'L'}, {clBtnShadow, 'D'}, {clYellow, '.'}}), expected) << ascending;
    Integer marked = 0;
    for (const std::string& row : expected) marked += static_cast<Integer>(std::count_if(row.begin(), row.end(), [](char c) { return c != '.'; }));
    EXPECT_EQ(Count(clYellow), 400 - marked) << "nothing outside the mark";
  }
  Reset(20, 20);
  Yellow();
  UltraFlat()->DrawSortArrow(canvas.get(), {0, 0, 20, 20}, true);
  EXPECT_GT(Count(clBtnShadow), 0);
  EXPECT_EQ(Count(clBtnHighlight), 0);
}

TEST_F(Painting, Office11HeaderFrameColumns) {
  Reset(20, 10);
  TcxOffice11LookAndFeelPainter const* p = dynamic_cast<const TcxOffice11LookAndFeelPainter*>(Office11());
  Office11()->DrawHeaderFrame(canvas.get(), {0, 0, 20, 10}, TcxBorders(), cxBordersAll);
  const TColor L = p->SchemeMidColor165(), D = p->SchemeColor162(), E = p->SchemeColor163(), S = p->SchemeColor164();
  for (Integer y = 1; y <= 7; ++y) EXPECT_EQ(Px(0, y), RGBOf(S)) << y;
  EXPECT_EQ(Px(0, 8), RGBOf(D));
  EXPECT_EQ(Px(19, 0), RGBOf(MixColorsByPercent(L, E, 50)));
  EXPECT_EQ(Px(19, 8), RGBOf(MixColorsByPercent(D, E, 50)));
  EXPECT_EQ(Px(19, 4), RGBOf(E));
  EXPECT_EQ(Px(10, 9), RGBOf(E));
  EXPECT_EQ(Px(10, 0), RGBOf(L));
}

TEST_F(Painting, Office11CallsOnDrawBackgroundOnlyWhereItShould) {
  int calls = 0;
  struct Counter {
    int* calls;
    bool Draw(TcxCanvas*, const TRect&) {
      ++*calls;
      return true;
    }
  } counter{&calls};
  const TcxDrawBackgroundEvent event(&counter, &Counter::Draw);
  TFont font;
  Office11()->DrawHeader(canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, TcxBorders(), cxBordersAll, cxbsNormal,
                         taLeftJustify, VAlignTop, false, false, "A", &font, clBlack, clWhite, event, false);
  Office11()->DrawHeaderSectionItem(canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, TcxBorders(), cxBordersAll,
                                    cxbsPressed, taLeftJustify, VAlignTop, false, false, "A", &font, clBlack, clWhite);
  EXPECT_EQ(calls, 0);
  Office11()->DrawBackgroundAndText(canvas.get(), {0, 0, 30, 20}, {0, 0, 30, 20}, cxbsNormal, taLeftJustify,
                                    VAlignTop, false, false, "", &font, clBlack, clWhite, event, false);
  Office11()->DrawHeaderWithArrows(canvas.get(), {0, 0, 30, 20}, "", TcxBorders(), {nullptr, clWhite, &font, clBlack},
                                   0, 4, event);
  EXPECT_EQ(calls, 2);
  // The pressed glyph colour depends on whether a scheme is in use.
  EXPECT_EQ(Office11()->ButtonGlyphColor(cxbsPressed), Office11SchemeInUse() ? Office11SymbolColor : clHighlightText);
}

TEST_F(Painting, StandardHeaderWithArrowsBetweenNeighbours) {
  Reset(40, 16);
  TFont font;
  Standard()->DrawHeaderWithArrows(canvas.get(), {0, 0, 40, 16}, "", {bLeft, bRight},
                                   {nullptr, clBtnFace, &font, clBlack}, HeaderArrowLeft | HeaderArrowRight, 6);
  EXPECT_TRUE(Is(20, 0, clBlack) && Is(20, 15, clBlack)) << "black at the top and bottom";
  EXPECT_FALSE(Is(0, 3, clBlack)) << "no black at the sides";
  EXPECT_FALSE(Is(39, 3, clBlack));
  // Both side arrows in clWindowText, one near each edge.
  const TRect arrows = Box(clWindowText);
  EXPECT_LT(arrows.Left, 8);
  EXPECT_GT(arrows.Right, 32);
}

TEST_F(Painting, FootersAndIndicators) {
  Reset(30, 12);
  TFont font;
  Standard()->DrawFooterCell(canvas.get(), {0, 0, 30, 12}, taLeftJustify, VAlignTop, false, "", &font, clBlack, clYellow);
  EXPECT_TRUE(Is(0, 0, clBtnShadow) && Is(29, 11, clBtnHighlight) && Is(1, 1, clYellow));
  Reset(30, 12);
  UltraFlat()->DrawFooterFrame(canvas.get(), {0, 0, 30, 12});
  EXPECT_EQ(Count(clBtnShadow), 30 + 12 - 1);
  EXPECT_TRUE(Is(29, 0, clBtnShadow) && Is(0, 11, clBtnShadow));
  // Indicator kind 3 draws the third picture, centred.
  TCustomImageList* images = IndicatorImages();
  ASSERT_EQ(images->Count(), 5);
  Reset(30, 20);
  Flat()->DrawIndicatorCell(canvas.get(), {0, 0, 30, 20}, ikInsert, clBtnFace);
  const auto drawn = Snapshot();
  Reset(30, 20);
  Flat()->DrawIndicatorCell(canvas.get(), {0, 0, 30, 20}, ikNone, clBtnFace);
  images->Draw(canvas->Canvas, (30 - images->Width()) / 2, (20 - images->Height()) / 2, 2);
  EXPECT_EQ(Snapshot(), drawn);
}

TEST_F(Painting, ScrollBarParts) {
  // Nothing for an empty rect or a disabled thumb, in all three looks.
  for (auto painter : {Standard(), Flat(), UltraFlat()}) {
    Reset(16, 16);
    painter->DrawScrollBarElement(canvas.get(), false, {0, 0, 16, 16}, ScrollBarPartThumb, cxbsDisabled);
    painter->DrawScrollBarElement(canvas.get(), false, {4, 4, 4, 16}, ScrollBarPartLineUp, cxbsNormal);
    EXPECT_EQ(Count(clWhite), 256) << painter->PainterStyle();
  }
  auto arrow = [&](TcxCustomLookAndFeelPainterClass p, TcxButtonState s) {
    Reset(16, 16);
    p->DrawScrollBarElement(canvas.get(), true, {0, 0, 16, 16}, ScrollBarPartLineDown, s);
    return Snapshot();
  };
  EXPECT_EQ(arrow(Standard(), cxbsHot), arrow(Standard(), cxbsNormal));
  EXPECT_EQ(arrow(Flat(), cxbsHot), arrow(Flat(), cxbsNormal));
  EXPECT_NE(arrow(UltraFlat(), cxbsHot), arrow(UltraFlat(), cxbsNormal));
  // Thumb: the scroll frame, then the face.
  Reset(16, 16);
  Standard()->DrawScrollBarElement(canvas.get(), false, {0, 0, 16, 16}, ScrollBarPartThumb, cxbsNormal);
  EXPECT_TRUE(Is(0, 0, clBtnFace) && Is(15, 15, cl3DDkShadow) && Is(1, 1, clBtnHighlight) && Is(14, 14, clBtnShadow));
  // Page areas: the pressed pattern has black where x and y share parity.
  Reset(16, 16);
  Flat()->DrawScrollBarElement(canvas.get(), false, {0, 0, 16, 16}, ScrollBarPartPageDown, cxbsPressed);
  EXPECT_TRUE(Is(0, 0, clBlack) && Is(1, 0, cl3DDkShadow) && Is(3, 3, clBlack));
  EXPECT_EQ(canvas->Brush()->GetBitmap(), nullptr);
}

TEST_F(Painting, ExpandButtonsAndGlyphs) {
  Reset(9, 9);
  Base()->DrawSmallExpandButton(canvas.get(), {0, 0, 9, 9}, false, clBlack, clWindow);
  EXPECT_TRUE(Is(0, 0, clBlack) && Is(8, 8, clBlack) && Is(1, 1, clWindow));
  // A plus: the mark spans s = (9 - 4) div 2 pixels each way from the centre.
  EXPECT_TRUE(Is(2, 4, clBtnText) && Is(6, 4, clBtnText) && Is(4, 2, clBtnText) && Is(4, 6, clBtnText));
  Base()->DrawSmallExpandButton(canvas.get(), {0, 0, 9, 9}, true, clBlack, clWindow);
  EXPECT_FALSE(Is(4, 2, clBtnText)) << "a minus when expanded";
  // The disabled plus is embossed in every painter, whatever PaletteColor16.
  for (auto painter : {Base(), UltraFlat()}) {
    Reset(13, 13);
    Yellow();
    painter->DrawPlusGlyph(canvas.get(), {0, 0, 13, 13}, cxbsDisabled);
    EXPECT_GT(Count(clBtnHighlight), 0);
    EXPECT_GT(Count(clBtnShadow), 0);
    EXPECT_EQ(Count(0x800000), 0);
  }
  Reset(13, 13);
  Yellow();
  UltraFlat()->DrawPlusGlyph(canvas.get(), {0, 0, 13, 13}, cxbsNormal);
  EXPECT_GT(Count(0x800000), 0);
  EXPECT_EQ(Count(clBtnHighlight), 0);
  // Tree expand buttons leave their rect out of the clip.
  Reset(12, 12);
  Standard()->DrawTreeExpandButton(canvas.get(), {0, 0, 12, 12}, false, clDefault);
  EXPECT_TRUE(Is(0, 0, clBtnHighlight) && Is(11, 11, cl3DDkShadow) && Is(10, 10, clBtnShadow));
  canvas->SetBrushColor(clRed);
  canvas->Canvas->FillRect({0, 0, 12, 12});
  EXPECT_EQ(Count(clRed), 0);
}

namespace {


class NativePainter : public FakeThemeTest {
 protected:
  void SetUp() override {
    FakeThemeTest::SetUp();
    canvasFixture.Reset(40, 30);
  }
  TcxCanvas* Canvas() { return canvasFixture.canvas.get(); }
  std::vector<std::string> Calls() {
    std::vector<std::string> out;
    for (const std::string& c : lib().calls)
      if (c.rfind("Content", 0) != 0 && c.rfind("Size", 0) != 0) out.push_back(c);
    lib().calls.clear();
    return out;
  }
  std::vector<TColor> Snapshot() {
    std::vector<TColor> px;
    for (Integer y = 0; y < 30; ++y)
      for (Integer x = 0; x < 40; ++x) px.push_back(canvasFixture.Px(x, y));
    return px;
  }
  TestSurface canvasFixture;
};

}  // namespace

TEST_F(NativePainter, CallSequencesWithPartsAndStates) {
  TFont font;
  struct Case {
    std::function<void()> draw;
    std::vector<std::string> calls;
  } cases[] = {
      {[&] { Native()->DrawButtonFace(Canvas(), {0, 0, 20, 10}, cxbsDefault); },
       {"Background Button 1 5 0,0,20,10"}},
      {[&] { Native()->DrawToolButton(Canvas(), {0, 0, 20, 10}, cxbsNormal); },
       {"Background ToolBar 1 2 0,0,20,10"}},
      {[&] { Native()->DrawToolButton(Canvas(), {0, 0, 20, 10}, cxbsHot); }, {"Background ToolBar 1 5 0,0,20,10"}},
      {[&] { Native()->DrawCheckMark(Canvas(), {0, 0, 13, 13}, cxbsHot, true, clRed); },
       {"Background Button 3 6 0,0,13,13"}},
      {[&] { Native()->DrawRadioButton(Canvas(), 3, 4, cxbsDisabled, false, false, clDefault); },
       {"Background Button 2 4 3,4,16,17"}},
      {[&] { Native()->DrawArrowButton(Canvas(), {0, 0, 16, 16}, cxbsPressed, ArrowRight, true); },
       {"Background ScrollBar 1 15 0,0,16,16"}},
      {[&] { Native()->DrawScrollBarElement(Canvas(), true, {0, 0, 30, 16}, ScrollBarPartThumb, cxbsDisabled); },
       {"Background ScrollBar 2 4 0,0,30,16", "Background ScrollBar 8 0 0,0,30,16"}},
      {[&] { Native()->DrawScrollBarElement(Canvas(), false, {0, 0, 16, 30}, ScrollBarPartPageDown, cxbsHot); },
       {"Background ScrollBar 7 2 0,0,16,30"}},
      {[&] { Native()->DrawScrollBarElement(Canvas(), false, {0, 0, 16, 16}, ScrollBarPartLineUp, cxbsNormal); },
       {"Background ScrollBar 1 1 0,0,16,16"}},
      {[&] { Native()->DrawDropDownButton(Canvas(), {0, 0, 16, 16}, cxbsDisabled, true); },
       {"Background ComboBox 1 4 0,0,16,16"}},
      {[&] { Native()->PaintCloseButton(Canvas(), {0, 0, 16, 14}, cxbsHot); }, {"Background Window 19 2 0,0,16,14"}},
      {[&] { Native()->DrawTreeExpandButton(Canvas(), {0, 0, 9, 9}, true, clDefault); },
       {"Background TreeView 2 2 0,0,9,9"}},
      {[&] { Native()->DrawGroupToggleButton(Canvas(), {0, 0, 15, 15}, false, cxbsPressed); },
       {"Background ExplorerBar 7 3 0,0,15,15"}},
      {[&] { Native()->DrawFooterFrame(Canvas(), {0, 0, 20, 10}); }, {"Edge Edit 0 0 4 15"}},
      {[&] { Native()->DrawButtonWithCaption(Canvas(), {0, 0, 30, 12}, "Go", cxbsHot); },
       {"Background Button 1 2 0,0,30,12", "Text Button 1 2 \"Go\" 37 0,0,30,12"}},
      {[&] {
         Native()->DrawHeader(Canvas(), {0, 0, 30, 12}, {2, 1, 28, 11}, TcxBorders(), cxBordersAll, cxbsPressed,
                              taCenter, VAlignCenter, false, false, "H", &font, clBlack, clWhite, nullptr, true);
       },
       {"Background Header 1 3 0,0,30,12", "Text Header 1 3 \"H\" 10277 3,2,29,12"}},
      {[&] {
         Native()->DrawFooterCell(Canvas(), {0, 0, 30, 12}, taRightJustify, VAlignBottom, false, "F", &font, clBlack,
                                  clWhite);
       },
       {"Background TrackBar 1 1 0,0,30,12", "Text TrackBar 1 1 \"F\" 10282 4,4,26,8"}},
  };
  for (const Case& c : cases) {
    Calls();
    c.draw();
    EXPECT_EQ(Calls(), c.calls);
  }
}

TEST_F(NativePainter, LastHeaderUsesItsOwnPartOnlyUnderBlueAndOlive) {
  TFont font;
  struct Case {
    std::u16string color;
    TcxButtonState state;
    std::string part;
  } cases[] = {{u"NormalColor", cxbsNormal, "3"}, {u"HomeStead", cxbsNormal, "3"}, {u"Metallic", cxbsNormal, "1"},
               {u"NormalColor", cxbsHot, "1"},    {u"NormalColor", cxbsPressed, "1"}};
  lib().fileName = u"Luna.msstyles";
  for (const Case& c : cases) {
    lib().colorName = c.color;
    RecomputeOffice11Palette();
    Calls();
    Native()->DrawHeader(Canvas(), {0, 0, 30, 12}, {0, 0, 30, 12}, TcxBorders(), cxBordersAll, c.state, taLeftJustify,
                         VAlignTop, false, false, "", &font, clBlack, clWhite, nullptr, true);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].substr(0, 19), "Background Header " + c.part) << Utf16ToUtf8(c.color) << c.state;
  }
  lib().fileName = u"aero.msstyles";
  RecomputeOffice11Palette();
}

TEST_F(NativePainter, TabsAndTabStrips) {
  TFont font;
  Native()->DrawTab(Canvas(), {10, 0, 30, 20}, {bTop, bRight}, "T", cxbsPressed, false, &font, clBlack, clWhite, true);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"Background Tab 1 3 8,0,30,21 clipped",
                                               "Text Tab 1 3 \"T\" 8229 8,0,30,19"}));
  // Vertical tabs are drawn turned into a bitmap, then copied.
  Native()->DrawTab(Canvas(), {0, 0, 12, 30}, cxBordersAll, "", cxbsNormal, true, &font, clBlack, clWhite);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"Background Tab 1 1 0,0,30,12 clipped"}));
  EXPECT_EQ(canvasFixture.Px(3, 20), static_cast<TColor>(PartColor(1, 1)));
  Native()->DrawTabStripBase(Canvas(), {0, 20, 40, 24}, cxBordersAll, false);
  // Pane content margins 2, 3, 2, 3: the pane reaches 10 further down.
  EXPECT_EQ(Calls(), (std::vector<std::string>{"Background Tab 9 0 0,20,40,34 clipped"}));
}

TEST_F(NativePainter, MetricsFromTheStyle) {
  lib().colors[{1, 1, win::TMT_BORDERCOLOR}] = win::RGB(1, 2, 3);
  EXPECT_EQ(Native()->PaletteColor47(), static_cast<TColor>(win::RGB(1, 2, 3)));
  EXPECT_EQ(Native()->ButtonBorderWidth(cxbsNormal), 2) << "left content margin";
  EXPECT_EQ(Native()->ButtonGroupBorderWidths(3, 1), (TRect{2, 3, 2, 3}));
  EXPECT_EQ(Native()->HeaderFrameWidth(), 2) << "(2 + 3) div 2";
  EXPECT_EQ(Native()->CalcButtonFocusRect(Canvas(), {0, 0, 20, 20}), (TRect{2, 3, 18, 17}));
  EXPECT_EQ(Native()->CheckBorderWidth(), 0);
  EXPECT_EQ(Native()->PlusButtonSize(), (TPoint{13, 13}));
  EXPECT_EQ(Native()->CloseButtonSize(), (TPoint{17, 17}));
  EXPECT_EQ(Native()->ControlBorderWidth(), 1);
  EXPECT_EQ(Native()->TabExtraOffset147(false), 1);
  EXPECT_EQ(Native()->ButtonFaceColor(cxbsNormal), clBtnFace) << "property 204 is not answered";
  EXPECT_EQ(Native()->GroupButtonContentRect({0, 0, 10, 10}, 1, 0), (TRect{0, 0, 10, 10}));
  lib().partiallyTransparent = true;
  EXPECT_EQ(Native()->GroupButtonContentRect({0, 0, 10, 10}, 1, 0), (TRect{-1, -1, 11, 11}));
  EXPECT_TRUE(Native()->IsPointInGroupToggleButton({0, 0, 20, 20}, {10, 10}));
  EXPECT_FALSE(Native()->IsPointInGroupToggleButton({0, 0, 20, 20}, {0, 0})) << "outside the part's region";
}

TEST_F(NativePainter, ClassesThatDoNotOpenFallBack) {
  lib().refused = {u"BUTTON", u"COMBOBOX", u"LISTVIEW", u"TREEVIEW", u"SCROLLBAR", u"HEADER", u"TAB"};
  EXPECT_EQ(Native()->ButtonBorderWidth(cxbsDefault), 2) << "the standard painter would say 3";
  EXPECT_EQ(Native()->PaletteColor47(), clBtnShadow);
  EXPECT_EQ(Native()->ControlBorderWidth(), 2);
  EXPECT_EQ(Native()->CheckBorderWidth(), 2);
  EXPECT_EQ(Native()->ButtonFaceColor(cxbsHot), clBtnFace);
  EXPECT_EQ(Native()->ButtonGroupBorderWidths(2, 0), (TRect{2, 2, 2, 2}));
  EXPECT_EQ(Native()->ButtonCaptionOffset(), 2);
  EXPECT_EQ(Native()->ButtonPressedShift(), 0);
  EXPECT_TRUE(Native()->ButtonsHotTrack());
  EXPECT_EQ(Native()->SmallButtonSize138(), (TPoint{15, 15}));
  EXPECT_EQ(Native()->TreeExpandButtonSize(), 12);
  // Drawings fall back to the standard painter's pixels.
  auto same = [&](std::function<void(TcxCustomLookAndFeelPainterClass)> draw) {
    canvasFixture.Reset(40, 30);
    draw(Standard());
    const auto standard = Snapshot();
    canvasFixture.Reset(40, 30);
    draw(Native());
    return Snapshot() == standard;
  };
  EXPECT_TRUE(same([&](auto p) { p->DrawScrollBarElement(Canvas(), false, {0, 0, 16, 30}, ScrollBarPartThumb, cxbsNormal); }));
  EXPECT_TRUE(same([&](auto p) { p->DrawControlBorder(Canvas(), {0, 0, 20, 20}); }));
  EXPECT_TRUE(same([&](auto p) { p->DrawDropDownButton(Canvas(), {0, 0, 16, 16}, cxbsNormal, false); }));
  EXPECT_TRUE(same([&](auto p) { p->DrawCheckFrame(Canvas(), {0, 0, 13, 13}, cxbsNormal); }));
  EXPECT_TRUE(same([&](auto p) { p->DrawEdgedBar(Canvas(), {0, 0, 30, 10}, {clYellow, nullptr}, true); }));
  // The small expand button: framed in the fill colour, not filled.
  canvasFixture.Reset(40, 30);
  Native()->DrawSmallExpandButton(Canvas(), {0, 0, 9, 9}, false, clRed, clBlue);
  EXPECT_TRUE(canvasFixture.Is(0, 0, clBlue));
  EXPECT_TRUE(canvasFixture.Is(1, 1, clWhite));
  EXPECT_EQ(canvasFixture.Count(clRed), 0);
  // No black frame, no section frame: the header goes through DrawHeader.
  TFont font;
  canvasFixture.Reset(40, 30);
  Native()->DrawHeaderSectionItem(Canvas(), {0, 0, 40, 20}, {0, 0, 40, 20}, TcxBorders(), cxBordersAll, cxbsPressed,
                                  taLeftJustify, VAlignTop, false, false, "", &font, clBlack, clYellow);
  EXPECT_TRUE(canvasFixture.Is(0, 0, clBtnHighlight)) << "the standard raised header frame";
  EXPECT_TRUE(Calls().empty());
}

TEST_F(NativePainter, Office11FollowsScrollBarAvailabilityAtEachCall) {
  auto office = TcxOffice11LookAndFeelPainter::Instance();
  office->DrawScrollBarElement(Canvas(), false, {0, 0, 16, 16}, ScrollBarPartLineDown, cxbsNormal);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"Background ScrollBar 1 5 0,0,16,16"}));
  lib().active = false;
  win::SendMessage(ThemeChangedReceiverWindow(), win::WM_THEMECHANGED, 0, 0);
  canvasFixture.Reset(40, 30);
  office->DrawScrollBarElement(Canvas(), false, {0, 0, 16, 16}, ScrollBarPartLineDown, cxbsNormal);
  const auto drawn = Snapshot();
  canvasFixture.Reset(40, 30);
  Standard()->DrawScrollBarElement(Canvas(), false, {0, 0, 16, 16}, ScrollBarPartLineDown, cxbsNormal);
  EXPECT_EQ(Snapshot(), drawn);
  EXPECT_TRUE(Calls().empty());
}

// The native painter over the system library, in both modes: with our own
// visual style it draws the style's parts (not the classic bevel), with the
// style off it falls back to exactly the classic drawing.
TEST(NativePainterOnTheSystemLibrary, StyleOnDrawsThePartsStyleOffTheClassicLook) {
  const bool was = win::VisualStylesEnabled();
  ScopeExit restore([was] {
    win::SetVisualStylesEnabled(was);
    CloseAllThemes();
  });
  struct Drawing {
    const char* name;
    std::function<void(TcxCustomLookAndFeelPainterClass, TcxCanvas*)> draw;
  };
  const Drawing drawings[] = {
      {"button face", [](auto p, TcxCanvas* c) { p->DrawButtonFace(c, {2, 2, 26, 18}, cxbsNormal); }},
      {"checked box", [](auto p, TcxCanvas* c) { p->DrawCheckMark(c, {2, 2, 15, 15}, cxbsNormal, true, clDefault); }},
  };
  auto picture = [](TcxCustomLookAndFeelPainterClass p, const Drawing& d) {
    TestSurface s;
    s.Reset(28, 20);
    d.draw(p, s.canvas.get());
    std::vector<TColor> pixels;
    for (Integer y = 0; y < 20; ++y)
      for (Integer x = 0; x < 28; ++x) pixels.push_back(s.Px(x, y));
    return pixels;
  };
  auto painted = [](const std::vector<TColor>& pixels) {
    return std::count_if(pixels.begin(), pixels.end(), [](TColor c) { return c != 0xFFFFFF; });
  };

  // "no styles": the native painter is the classic one.
  win::SetVisualStylesEnabled(false);
  CloseAllThemes();
  ASSERT_FALSE(AreThemesAvailable(0));
  for (const Drawing& d : drawings) {
    const auto classic = picture(Standard(), d);
    EXPECT_GT(painted(classic), 20) << d.name;
    EXPECT_EQ(picture(Native(), d), classic) << d.name;
  }

  // Our renderer: the style draws, and not the classic bevel.
  win::SetVisualStylesEnabled(true);
  CloseAllThemes();
  if (!win::IsThemeActive()) GTEST_SKIP() << "the style is off in this environment";
  InitializeThemeManager();
  ASSERT_TRUE(AreThemesAvailable(0));
  for (const Drawing& d : drawings) {
    const auto styled = picture(Native(), d);
    EXPECT_GT(painted(styled), 20) << d.name << ": the style drew (almost) nothing";
    EXPECT_NE(styled, picture(Standard(), d)) << d.name << ": the classic drawing instead of the style's";
  }
}
