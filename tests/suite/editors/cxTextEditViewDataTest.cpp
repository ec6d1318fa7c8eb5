// Text editor layout: the text rectangle for each alignment and editing
// style, the one-line minimum of a low editor, the selection colours, the
// word-wrap decision of an editor that grows with its text, the measured
// text sizes, and the text drawn by the view info (classic, no styles) when
// the inner edit does not show it.
#include "suite/editors/cxTextEditViewData.h"

#include <gtest/gtest.h>

#include "suite/editors/cxTextEditViewInfo.h"
#include "tests/suite/foundation/CanvasFixture.h"

namespace {

class StyleOwner : public TWinControl, public IcxContainerStyleOwner {
 public:
  explicit StyleOwner(bool AInplace) : TWinControl(nullptr), inplace(AInplace) {}
  TControl* StyleOwnerControl() override { return this; }
  bool DefaultParentColor() override { return false; }
  bool IsInplace() override { return inplace; }
  TcxContainerStyleValues GetUnstoredStyleValues() override { return 0; }
  bool inplace;
};

class ListProperties : public TcxCustomTextEditProperties {
 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  TcxEditingStyle EditingStyle() override { return style; }
  TcxEditingStyle style = esFreeText;
};

class TextLayout : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override {
    Reset(200, 60);
    owner = std::make_unique<StyleOwner>(false);
    styles = std::make_unique<TcxContainerStyles>(owner.get(), &CreateContainerStyle<TcxEditStyle>);
    style = static_cast<TcxEditStyle*>(styles->NormalStyle());
    style->SetEditBorderStyle(ebsSingle);
    style->LookAndFeel()->SetNativeStyle(false);
  }

  std::unique_ptr<TcxCustomTextEditViewData> Data(bool inplace = false) {
    auto vd = props.CreateViewData(style, inplace);
    return std::unique_ptr<TcxCustomTextEditViewData>(static_cast<TcxCustomTextEditViewData*>(vd.release()));
  }

  void Layout(TcxCustomTextEditViewData& vd, const TRect& bounds, const Variant& value = Variant("")) {
    vd.CalculateDisplayText(canvas.get(), value, &vi);
    vd.ComputeLayout(canvas.get(), bounds, {-1, -1}, cxmbNone, TShiftState{}, &vi, false);
  }

  Integer LineHeight() {
    canvas->AssignFont(style->Font());
    return canvas->MeasureTextHeight("Zg");
  }

  ListProperties props{nullptr};
  std::unique_ptr<StyleOwner> owner;
  std::unique_ptr<TcxContainerStyles> styles;
  TcxEditStyle* style = nullptr;
  TcxCustomTextEditViewInfo vi;
};

TEST_F(TextLayout, PropertiesMakeTextViewDataAndViewInfo) {
  EXPECT_NE(dynamic_cast<TcxCustomTextEditViewData*>(props.CreateViewData(style, false).get()), nullptr);
  EXPECT_NE(dynamic_cast<TcxCustomTextEditViewInfo*>(props.ViewInfoClass()().get()), nullptr);
}

TEST_F(TextLayout, TextRectangleAndFlagsByAlignmentAndStyle) {
  struct Case {
    TAlignment horz;
    TcxEditVertAlignment vert;
    TcxEditingStyle editing;
    TcxTextRowsFlags flags;
    TRect margins;  // from the inner control rectangle
  };
  const Case cases[] = {
      {taLeftJustify, taTopJustify, esFreeText, 0x2C0, {1, 1, 1, 3}},
      {taRightJustify, taTopJustify, esFreeText, 0x2C2, {1, 1, 1, 3}},
      {taCenter, taVCenter, esFreeText, 0x2D1, {1, 1, 1, 3}},
      {taLeftJustify, taBottomJustify, esFreeText, 0x2E0, {1, 1, 1, 3}},
      {taLeftJustify, taTopJustify, esListPick, 0x2C0, {2, 2, 1, 2}},
      {taLeftJustify, taVCenter, esNoText, 0x2D0, {2, 1, 1, 3}},
  };
  for (const Case& c : cases) {
    props.Alignment()->SetHorz(c.horz);
    props.Alignment()->SetVert(c.vert);
    props.style = c.editing;
    auto vd = Data();
    Layout(*vd, {0, 0, 120, 40});
    const TRect& inner = vi.InnerControlRect;
    EXPECT_EQ(vi.TextFlags, c.flags) << c.horz << " " << c.vert << " " << c.editing;
    EXPECT_EQ(vi.TextRect, (TRect{inner.Left + c.margins.Left, inner.Top + c.margins.Top,
                                  inner.Right - c.margins.Right, inner.Bottom - c.margins.Bottom}))
        << c.horz << " " << c.vert << " " << c.editing;
    EXPECT_EQ(vi.EditingStyle, c.editing);
  }
}

TEST_F(TextLayout, ALowEditorKeepsOneTextLineInsideItsClientArea) {
  auto vd = Data();
  Layout(*vd, {0, 0, 120, 9});
  EXPECT_EQ(vi.TextRect.Bottom, vi.InnerControlRect.Bottom);
  // The margins leave less than a line, the client area has room for one.
  const Integer bounds = LineHeight() + 6;
  Layout(*vd, {0, 0, 120, bounds});
  ASSERT_LT(vi.InnerControlRect.Height() - 4, LineHeight());
  EXPECT_EQ(vi.TextRect.Height(), LineHeight());
  EXPECT_LE(vi.TextRect.Bottom, vi.InnerControlRect.Bottom);
  // In place the rectangle stays as the margins leave it.
  auto inplace = Data(true);
  Layout(*inplace, {0, 0, 120, 9});
  EXPECT_LT(vi.TextRect.Height(), LineHeight());
}

TEST_F(TextLayout, SelectionColours) {
  struct Case {
    TColor text, background, styleColor;
    TColor shownText, shownBackground;
  };
  const Case cases[] = {
      {clRed, clDefault, clWindow, clRed, static_cast<TColor>(0xFFFF00)},
      {clDefault, clDefault, clWindow, clHighlightText, clHighlight},
      {clDefault, clDefault, clHighlight, static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0)},
      {clDefault, clBlue, clWindow, static_cast<TColor>(0x00FFFF), clBlue},
      {clLime, clBlue, clWindow, clLime, clBlue},
  };
  for (const Case& c : cases) {
    style->SetColor(c.styleColor);
    auto vd = Data();
    vd->SelStart = 1;
    vd->SelLength = 2;
    vd->SelTextColor = c.text;
    vd->SelBackgroundColor = c.background;
    vd->CalculateDisplayText(canvas.get(), Variant("abcd"), &vi);
    EXPECT_EQ(vi.SelTextColor, c.shownText);
    EXPECT_EQ(vi.SelBackgroundColor, c.shownBackground);
    EXPECT_EQ(vi.SelStart, 1);
    EXPECT_EQ(vi.SelLength, 2);
  }
  auto vd = Data();
  vd->HideValue = true;
  vd->CalculateDisplayText(canvas.get(), Variant("abcd"), &vi);
  EXPECT_EQ(vi.Text, "");
}

TEST_F(TextLayout, DisplayTextGoesThroughEchoAndCase) {
  props.SetEchoMode(eemPassword);
  auto vd = Data();
  vd->CalculateDisplayText(canvas.get(), Variant("secret"), &vi);
  EXPECT_EQ(vi.Text, "******");
  props.SetEchoMode(eemNormal);
  props.SetCharCase(ecUpperCase);
  auto upper = Data();
  upper->CalculateDisplayText(canvas.get(), Variant("abc"), &vi);
  EXPECT_EQ(vi.Text, "ABC");
}

TEST_F(TextLayout, AutoHeightWrapsOnlyTextThatNeedsMoreThanOneRow) {
  props.Alignment()->SetVert(taVCenter);
  auto vd = Data();
  vd->PaintOptions = cxepoAutoHeight;
  Layout(*vd, {0, 0, 200, 40}, Variant("short"));
  EXPECT_EQ(vi.TextFlags & TextRowsSingleLine, TextRowsSingleLine);
  EXPECT_EQ(vi.TextFlags & TextRowsVertAlignMask, TextRowsVAlignCenter);

  const Variant text("many words that cannot fit on one single short row");
  Layout(*vd, {0, 0, 80, 4 * LineHeight()}, text);
  EXPECT_EQ(vi.TextFlags & TextRowsSingleLine, 0u);
  EXPECT_EQ(vi.TextFlags & 0x4100u, 0x4100u);
  // Rows higher than the rectangle: aligned to the top.
  EXPECT_EQ(vi.TextFlags & TextRowsVertAlignMask, 0u);

  vd->PaintOptions = cxepoShowEndEllipsis;
  Layout(*vd, {0, 0, 80, 40}, text);
  EXPECT_EQ(vi.TextFlags, 0x2D0u | TextRowsEndEllipsis);
}

TEST_F(TextLayout, MeasuredTextSizes) {
  auto vd = Data();
  TSize offsets{};
  vd->TotalContentOffsets(offsets);
  const Integer line = LineHeight();
  canvas->AssignFont(style->Font());
  const Integer width = canvas->MeasureTextWidth("Hello");
  struct Case {
    const char* text;
    Integer rowLimit;
    TcxEditSizeLimits limits;
    TcxTextRowsFlags flags;
    bool zeroHeight;
    TSize size;
  };
  const Case cases[] = {
      {"Hello", 0, {1, -1}, 0x2C0, false, {width + offsets.cx, line + offsets.cy}},
      {"", 0, {1, -1}, 0x2C0, false, {offsets.cx, line + offsets.cy}},
      {"Hello", 3, {1, 50}, 0x2C0, false, {50, 3 * line + offsets.cy}},
      {"Hello Hello Hello", 0, {0, width + 4}, 0x2C0, false, {width + 4, 3 * line + offsets.cy}},
      {"Hello Hello Hello", 0, {2, width + 4}, 0x2C0, false, {width + 4, 2 * line + offsets.cy}},
      {"", 0, {1, 50}, 0x2C0, true, {50, 0}},
      {"", 0, {1, 50}, 0x2C0, false, {50, line + offsets.cy}},
  };
  for (const Case& c : cases) {
    vd->ZeroHeightWhenEmpty = c.zeroHeight;
    TSize size{};
    CalculateEditTextSize(canvas.get(), vd.get(), c.text, size, true, c.rowLimit, c.limits, c.flags);
    EXPECT_EQ(size.cx, c.size.cx) << c.text << " " << c.limits.Width;
    EXPECT_EQ(size.cy, c.size.cy) << c.text << " " << c.limits.Width;
  }
}

// No styles: the classic border and the view info's own text.
TEST_F(TextLayout, AnUnfocusedRightAlignedEditorDrawsItsTextAtTheRight) {
  props.Alignment()->SetHorz(taRightJustify);
  style->SetColor(clWhite);
  style->SetTextColor(clBlack);
  auto vd = Data();
  Layout(*vd, {0, 0, 200, 24}, Variant("abc"));
  vi.DrawTo(canvas.get());
  Integer leftmost = 1000, rightmost = -1;
  for (Integer y = vi.TextRect.Top; y < vi.TextRect.Bottom; ++y)
    for (Integer x = vi.InnerControlRect.Left; x < vi.InnerControlRect.Right; ++x)
      if (Px(x, y) != 0xFFFFFF) {
        leftmost = std::min(leftmost, x);
        rightmost = std::max(rightmost, x);
      }
  // The text hugs the right edge of the text rectangle, nothing at its left.
  EXPECT_GT(leftmost, vi.TextRect.Left + 100);
  EXPECT_LT(rightmost, vi.TextRect.Right);
  EXPECT_GE(rightmost, vi.TextRect.Right - 3);
  // The one-pixel frame inside the border has the background colour.
  EXPECT_TRUE(Is(vi.InnerControlRect.Left, vi.InnerControlRect.Top + 5, clWhite));
}

TEST_F(TextLayout, SelectionIsDrawnInItsColours) {
  style->SetColor(clWhite);
  auto vd = Data();
  vd->SelStart = 0;
  vd->SelLength = 3;
  vd->SelBackgroundColor = clBlue;
  vd->SelTextColor = clYellow;
  props.style = esListPick;  // the view info draws the text
  Layout(*vd, {0, 0, 200, 24}, Variant("abcdef"));
  vi.DrawTo(canvas.get());
  EXPECT_GT(Count(clBlue), 10);
  EXPECT_GT(Count(clYellow), 0);
  // A selection past the end of the text is shortened to it.
  vd->SelStart = 4;
  vd->SelLength = 10;
  Layout(*vd, {0, 0, 200, 24}, Variant("abcdef"));
  vi.DrawTo(canvas.get());
  EXPECT_EQ(vi.SelLength, 2);
}

}  // namespace
