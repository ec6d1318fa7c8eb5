// The editor drawing routines: the answers as tables, arrows and edge lines
// as pixel rows, each button style and content drawn with no styles (the
// classic path) and native buttons and backgrounds with our renderer, glyphs
// enabled and disabled, and the parent's image under a transparent editor.
#include "suite/editors/cxEditPainting.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Forms.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiText.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxSolidBrushCache.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

TEST(EditPainting, RemoveAccelChars) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"&Open", "Open"}, {"Save &as", "Save as"}, {"A && B", "A & B"}, {"End&", "End_"}, {"", ""},
               {"&&&x", "&x"}};
  for (const auto& c : cases) EXPECT_EQ(RemoveAccelChars(c.in), c.out) << c.in;
}

TEST(EditPainting, ComputeArrowSize) {
  const struct {
    TSize size;
    ArrowDirection dir;
    TSize arrow;
  } cases[] = {{{16, 16}, ArrowDown, {7, 4}}, {{16, 16}, ArrowLeft, {4, 7}}, {{15, 20}, ArrowUp, {7, 4}},
               {{20, 9}, ArrowRight, {3, 5}},  {{5, 5}, ArrowDown, {3, 2}}};
  for (const auto& c : cases) {
    const TSize a = ComputeArrowSize(c.size, c.dir);
    EXPECT_EQ(a.cx, c.arrow.cx) << c.size.cx << "x" << c.size.cy;
    EXPECT_EQ(a.cy, c.arrow.cy) << c.size.cx << "x" << c.size.cy;
  }
}

TEST(EditPainting, TextFlagsMapBothWaysAndDropTheRest) {
  const struct {
    TcxEditTextFlags flag;
    win::UINT format;
  } pairs[] = {{0x0001, win::DT_VCENTER},   {0x0002, win::DT_RIGHT},    {0x0010, win::DT_SINGLELINE},
               {0x0020, win::DT_WORDBREAK}, {0x0100, win::DT_CALCRECT}, {0x0200, win::DT_EXPANDTABS}};
  for (const auto& p : pairs) {
    EXPECT_EQ(TextFlagsToDrawTextFormat(p.flag), p.format);
    EXPECT_EQ(DrawTextFormatToTextFlags(p.format), p.flag);
  }
  EXPECT_EQ(DrawTextFormatToTextFlags(win::DT_CENTER | win::DT_BOTTOM | win::DT_RIGHT), EditTextRight);
  EXPECT_EQ(TextFlagsToDrawTextFormat(0x0004 | 0x0008 | EditTextVCenter), win::DT_VCENTER);
}

TEST(EditPainting, CenterSizeInRectShiftsOnlyWhereItStillFits) {
  EXPECT_EQ(CenterSizeInRect({0, 0, 10, 10}, {4, 3}, false), (TPoint{3, 3}));
  EXPECT_EQ(CenterSizeInRect({0, 0, 10, 10}, {4, 3}, true), (TPoint{4, 4}));
  // 9 wide in 10: centred at 0, one to the right still ends at 10; 10 high
  // in 10 cannot move down.
  EXPECT_EQ(CenterSizeInRect({0, 0, 10, 10}, {9, 10}, true), (TPoint{1, 0}));
}

TEST(EditPainting, SmallAnswers) {
  EXPECT_TRUE(IsBitmapUsable([] {
    static TBitmap b;
    b.SetSize(2, 2);
    return &b;
  }()));
  TBitmap empty;
  EXPECT_FALSE(IsBitmapUsable(&empty));
  EXPECT_FALSE(IsBitmapUsable(nullptr));
  EXPECT_EQ(HighlightedBorderColor(false), clHighlight);
  EXPECT_EQ(HighlightedBorderColor(true), Office11SelectionFrameColor);
  EXPECT_EQ(HighlightedButtonColor(true, true),
            TcxOffice11LookAndFeelPainter::Instance()->ButtonFaceColor(cxbsPressed));
  EXPECT_EQ(HighlightedButtonColor(false, false),
            TcxUltraFlatLookAndFeelPainter::Instance()->ButtonFaceColor(cxbsHot));
  EXPECT_TRUE(EditHasShadow(true, false));
  EXPECT_FALSE(EditHasShadow(true, true));
  EXPECT_EQ(NativeContentHeightCorrection(1, true), 1);
  EXPECT_EQ(NativeContentHeightCorrection(0, true), 0);
  EXPECT_EQ(NativeContentHeightCorrection(2, false), 0);
  // Our system is of the family that has the hot-light colour.
  EXPECT_EQ(SystemHotTrackColor(), static_cast<TColor>(win::GetSysColor(win::COLOR_HOTLIGHT)));
}

TEST(EditPainting, PainterClassForStyle) {
  {
    VisualStylesScope styles(false);
    EXPECT_EQ(PainterClassForStyle(true, lfFlat), TcxFlatLookAndFeelPainter::Instance());
    EXPECT_EQ(PainterClassForStyle(true, lfStandard), TcxStandardLookAndFeelPainter::Instance());
    EXPECT_EQ(PainterClassForStyle(false, lfUltraFlat), TcxUltraFlatLookAndFeelPainter::Instance());
    EXPECT_EQ(PainterClassForStyle(false, lfOffice11), TcxOffice11LookAndFeelPainter::Instance());
  }
  VisualStylesScope styles(true);
  EXPECT_EQ(PainterClassForStyle(true, lfFlat), TcxWinXPLookAndFeelPainter::Instance());
  EXPECT_EQ(PainterClassForStyle(false, lfFlat), TcxFlatLookAndFeelPainter::Instance());
}

class EditPaintingCanvas : public CanvasTest {};

TEST_F(EditPaintingCanvas, ArrowsAreStackedTrianglesCentredInTheRect) {
  Reset(12, 10);
  // Two arrows of 3 lines pointing down: 5 across, 6 along, centred in
  // 11 x 10 from (3, 2).
  DrawButtonArrows(canvas.get(), 3, {0, 0, 11, 10}, clBlack, false, 1, ArrowDown);
  EXPECT_EQ(Rows({0, 0, 12, 10}), (std::vector<std::string>{
                                      "............",
                                      "............",
                                      "...#####....",
                                      "....###.....",
                                      ".....#......",
                                      "...#####....",
                                      "....###.....",
                                      ".....#......",
                                      "............",
                                      "............",
                                  }));
  Reset(8, 8);
  DrawButtonArrows(canvas.get(), 3, {0, 0, 7, 7}, clBlack, true, 0, ArrowLeft);
  EXPECT_EQ(Rows({0, 0, 8, 8}), (std::vector<std::string>{
                                    "........",
                                    "........",
                                    ".....#..",
                                    "....##..",
                                    "...###..",
                                    "....##..",
                                    ".....#..",
                                    "........",
                                }))
      << "pressed: one right and one down";
}

TEST_F(EditPaintingCanvas, EdgeLinesShrinkTheRectAndPolylinesIncludeTheirEnds) {
  Reset(6, 5);
  TRect r{0, 0, 5, 4};
  DrawRectEdges(canvas.get(), r, {bLeft, bBottom}, clBlack);
  EXPECT_EQ(r, (TRect{1, 0, 5, 3}));
  EXPECT_EQ(Rows({0, 0, 6, 5}), (std::vector<std::string>{"#.....", "#.....", "#.....", "#####.", "......"}));

  // The same path with the pen and with the brush, points given backwards.
  const TPoint points[] = {{4, 3}, {4, 0}, {1, 0}, {1, 2}};
  Reset(6, 5);
  DrawOrthogonalPolyline(canvas.get(), points, 3, false, clBlack);
  const auto penRows = Rows({0, 0, 6, 5});
  Reset(6, 5);
  DrawOrthogonalPolyline(canvas.get(), points, 3, true, clBlack);
  EXPECT_EQ(Rows({0, 0, 6, 5}), penRows);
  EXPECT_EQ(penRows, (std::vector<std::string>{".####.", ".#..#.", ".#..#.", "....#.", "......"}));
}

TEST_F(EditPaintingCanvas, GlyphsEnabledShowTheBackgroundAndDisabledLookDifferent) {
  TBitmap glyph;
  glyph.SetSize(4, 4);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect({0, 0, 4, 4});
  glyph.Canvas()->Brush()->SetColor(clBlack);
  glyph.Canvas()->FillRect({1, 1, 3, 3});
  glyph.SetTransparentColor(clFuchsia);

  Reset(10, 10);
  PaintGlyphBitmap(canvas.get(), 2, 2, nullptr, clLime, true, &glyph);
  EXPECT_TRUE(Is(2, 2, clLime)) << "the transparent colour becomes the background";
  EXPECT_TRUE(Is(3, 3, clBlack));
  EXPECT_TRUE(Is(1, 1, clWhite));

  Reset(10, 10);
  PaintGlyphBitmap(canvas.get(), 2, 2, nullptr, clNone, true, &glyph);
  EXPECT_TRUE(Is(2, 2, clWhite)) << "clNone: what lay under it stays";
  EXPECT_TRUE(Is(3, 3, clBlack));

  Reset(10, 10);
  PaintGlyphBitmap(canvas.get(), 2, 2, nullptr, clLime, false, &glyph);
  EXPECT_TRUE(Is(2, 2, clLime));
  EXPECT_FALSE(Is(3, 3, clBlack)) << "the disabled look is not the glyph itself";
  EXPECT_FALSE(Is(3, 3, clLime));
}

// Gives the button colours distinct values for one test (several of them
// share a value by default) and puts them back afterwards.
class DistinctButtonColors {
 public:
  DistinctButtonColors() {
    for (size_t i = 0; i < std::size(kIndexes); ++i) saved_[i] = win::GetSysColor(kIndexes[i]);
    static constexpr win::COLORREF colors[] = {0xC0C0C0, 0xE0E0E0, 0x404040, 0xFFFFFF, 0x808080, 0xF0FFF8, 0x101010};
    win::SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, colors);
  }
  ~DistinctButtonColors() { win::SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved_); }

 private:
  static constexpr win::INT kIndexes[] = {win::COLOR_BTNFACE,      win::COLOR_3DLIGHT,   win::COLOR_3DDKSHADOW,
                                          win::COLOR_BTNHIGHLIGHT, win::COLOR_BTNSHADOW, win::COLOR_WINDOW,
                                          win::COLOR_BTNTEXT};
  win::COLORREF saved_[std::size(kIndexes)];
};

// One editor with one button filling a 30 x 20 surface, drawn with no
// styles unless a test says otherwise.
class EditButtonPainting : public ::testing::Test, public TestSurface {
 protected:
  DistinctButtonColors colors;
  void SetUp() override {
    Reset(30, 20);
    vi.WholeRect = {0, 0, 30, 20};
    vi.InsideBorderRect = vi.WholeRect;
    vi.InnerControlRect = vi.WholeRect;
    vi.FillColor = clWindow;
    vi.SetButtonCount(1);
    button = vi.Button(0);
    button->Bounds = {10, 0, 30, 20};
    button->VisibleBounds = button->Bounds;
    button->Kind = bkEllipsis;
    button->State = ebbsNormal;
  }
  void Draw(TcxEditButtonStyle style, TcxEditButtonState state) {
    Reset(30, 20);
    button->Style = style;
    button->State = state;
    PaintEditButton(canvas.get(), &vi, 0);
  }
  std::vector<std::string> Column(Integer x) const {
    std::vector<std::string> rows = Rows({x, 10, x + 1, 11}, legend);
    return rows;
  }
  // The colours of row 10 across the button.
  std::string Row10() const { return Rows({10, 10, 30, 11}, legend)[0]; }

  VisualStylesScope styles{false};
  TcxCustomEditViewInfo vi;
  TcxEditButtonViewInfo* button = nullptr;
  std::vector<std::pair<TColor, char>> legend{
      {clBtnFace, 'f'}, {cl3DLight, 'l'},   {cl3DDkShadow, 'd'}, {clBtnHighlight, 'h'}, {clBtnShadow, 's'},
      {clWindow, 'w'},  {clHighlight, 'H'}, {clBtnText, 'T'},    {clLime, 'L'}};
};

TEST_F(EditButtonPainting, ThreeDButtonIsRaisedAndPressedIsFlat) {
  Draw(bts3D, ebbsNormal);
  const std::string raised = Row10();
  EXPECT_EQ(raised.substr(0, 3), "lhf");
  EXPECT_EQ(raised.substr(17), "fsd");
  Draw(bts3D, ebbsPressed);
  const std::string pressed = Row10();
  EXPECT_EQ(pressed.substr(0, 3), "sff");
  EXPECT_EQ(pressed.substr(17), "ffs");
}

TEST_F(EditButtonPainting, FlatStylesAndTheirStates) {
  const struct {
    TcxEditButtonStyle style;
    TcxEditButtonState state;
    const char* left;   // the first three pixels of row 10
    const char* right;  // the last three
  } cases[] = {
      {btsFlat, ebbsNormal, "fhf", "fsf"},
      {btsFlat, ebbsPressed, "fsf", "fhf"},
      // Simple: a frame in the background colour, face lines inside.
      {btsSimple, ebbsNormal, "wff", "ffw"},
      // Hot-flat on the right: shadow line outside (right), face inside.
      {btsHotFlat, ebbsNormal, "fff", "ffs"},
      // Ultra-flat normal: a frame in the background colour; hot: the
      // highlight frame over the highlighted face.
      {btsUltraFlat, ebbsNormal, "wff", "ffw"},
  };
  for (const auto& c : cases) {
    Draw(c.style, c.state);
    const std::string row = Row10();
    EXPECT_EQ(row.substr(0, 3), c.left) << c.style << "/" << c.state << ": " << row;
    EXPECT_EQ(row.substr(17), c.right) << c.style << "/" << c.state << ": " << row;
  }

  // The outermost hot-flat button on the right (first edge) gets a whole
  // shadow frame.
  button->FirstEdge = true;
  Draw(btsHotFlat, ebbsNormal);
  EXPECT_EQ(Row10().substr(0, 3), "sff");
  EXPECT_EQ(Row10().substr(17), "ffs");
  button->FirstEdge = false;

  // Ultra-flat hot in place without a content rect: a whole frame; else only
  // side lines, none on the editor's border side and none at its last edge.
  button->IsInplace = true;
  Draw(btsUltraFlat, ebbsHot);
  EXPECT_TRUE(Is(15, 0, clHighlight));
  button->IsInplace = false;
  button->LastEdge = true;
  Draw(btsUltraFlat, ebbsHot);
  EXPECT_TRUE(Is(10, 10, clHighlight));
  EXPECT_FALSE(Is(29, 10, clHighlight));
  EXPECT_FALSE(Is(15, 0, clHighlight));
  button->LastEdge = false;

  Draw(btsUltraFlat, ebbsHot);
  EXPECT_TRUE(Is(10, 10, clHighlight));
  EXPECT_TRUE(Is(29, 10, clHighlight));
  EXPECT_EQ(Px(12, 10), RGBOf(HighlightedButtonColor(false, false)));
  Draw(btsOffice11, ebbsPressed);
  EXPECT_TRUE(Is(10, 10, Office11SelectionFrameColor));
  EXPECT_EQ(Px(12, 10), RGBOf(HighlightedButtonColor(true, true)));
}

TEST_F(EditButtonPainting, PressedOrHotSimpleButtonLooksFlat) {
  for (TcxEditButtonState state : {ebbsPressed, ebbsHot}) {
    Draw(btsFlat, state);
    const auto flat = Rows({10, 0, 30, 20});
    Draw(btsSimple, state);
    EXPECT_EQ(Rows({10, 0, 30, 20}), flat) << state;
  }
}

TEST_F(EditButtonPainting, EllipsisDotsAndDisabledEmboss) {
  // The 3-D button's content is 16 x 16 from (12, 2): wider than 11, so
  // dots of 2 with 2 between: 10 wide, from x 15, y 9.
  Draw(bts3D, ebbsNormal);
  EXPECT_EQ(Rows({14, 9, 26, 11}, legend),
            (std::vector<std::string>{"fTTffTTffTTf", "fTTffTTffTTf"}));
  Draw(bts3D, ebbsPressed);
  EXPECT_TRUE(Is(16, 10, clBtnText)) << "pressed: one right and down";
  EXPECT_TRUE(Is(15, 9, clBtnFace));
  Draw(bts3D, ebbsDisabled);
  EXPECT_EQ(Rows({15, 9, 18, 12}, legend), (std::vector<std::string>{"ssf", "ssh", "fhh"}));
}

TEST_F(EditButtonPainting, DropDownArrowAndTextContent) {
  button->Kind = bkDown;
  auto arrowBox = [&] {
    TRect box{1000, 1000, -1, -1};
    for (Integer y = 0; y < 20; ++y)
      for (Integer x = 0; x < 30; ++x)
        if (Is(x, y, clBtnText)) box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                                        std::max(box.Bottom, y + 1)};
    return box;
  };
  Draw(bts3D, ebbsNormal);
  const Integer arrowPixels = Count(clBtnText);
  EXPECT_GT(arrowPixels, 5);
  const TRect normalBox = arrowBox();
  EXPECT_NEAR(normalBox.Left + normalBox.Right, 10 + 30, 1) << "centred on the button's bounds";
  Draw(bts3D, ebbsPressed);
  EXPECT_EQ(arrowBox(), cxRectOffset(normalBox, 1, 1)) << "pressed: one right and one down";
  Draw(bts3D, ebbsDisabled);
  EXPECT_EQ(Count(clBtnText), 0);
  EXPECT_EQ(Count(clBtnShadow) > arrowPixels, true) << "the shadow arrow over the frame's shadow";
  EXPECT_GT(Count(clBtnHighlight), 0);

  button->Kind = bkText;
  button->Caption = "&W";
  button->TextColor = clLime;
  TFont font;
  font.SetName("Liberation Sans");
  font.SetSize(10);
  vi.Font = &font;
  Draw(btsSimple, ebbsNormal);
  EXPECT_GT(Count(clLime), 3) << "the caption in the button's text colour";
  button->TextColor = clDefault;
  vi.TextColor = clRed;
  Draw(btsSimple, ebbsNormal);
  EXPECT_GT(Count(clRed), 3) << "clDefault: the editor's text colour";
  Draw(btsHotFlat, ebbsHot);
  EXPECT_GT(Count(clWindow), 3) << "hot-flat, hot: the content colour";
}

TEST_F(EditButtonPainting, GlyphIsComposedOverTheFace) {
  TBitmap glyph;
  glyph.SetSize(6, 6);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect({0, 0, 6, 6});
  glyph.Canvas()->Brush()->SetColor(clLime);
  glyph.Canvas()->FillRect({2, 2, 4, 4});
  glyph.SetTransparentColor(clFuchsia);
  button->Kind = bkGlyph;
  button->Glyph = &glyph;
  Draw(bts3D, ebbsNormal);
  // Content 16 x 16 from (12, 2): the glyph from (17, 7), its middle at (19, 9).
  EXPECT_TRUE(Is(19, 9, clLime));
  EXPECT_TRUE(Is(17, 7, clBtnFace)) << "the transparent colour shows the face";
  EXPECT_EQ(Count(clFuchsia), 0);
  Draw(bts3D, ebbsDisabled);
  EXPECT_EQ(Count(clLime), 0) << "disabled: the image list's disabled look";
}

TEST_F(EditButtonPainting, WidthsOfButtons) {
  const Integer scroll = win::GetSystemMetrics(win::SM_CYHSCROLL);
  button->Kind = bkText;
  button->Caption = "";
  EXPECT_EQ(CalcEditButtonWidth(canvas.get(), button), scroll) << "never below the scroll-bar height";
  button->Caption = "&Browse files";
  EXPECT_EQ(CalcEditButtonWidth(canvas.get(), button), 4 + canvas->MeasureTextWidth("Browse files") + 3);
  TBitmap glyph;
  glyph.SetSize(5, 5);
  button->Kind = bkGlyph;
  button->Glyph = &glyph;
  EXPECT_EQ(CalcEditButtonWidth(canvas.get(), button), 9) << "a glyph button may be narrower";
  button->Width = 2;
  EXPECT_EQ(CalcEditButtonWidth(canvas.get(), button), 4) << "never below the margins";
  button->Width = 0;
  button->Kind = bkEllipsis;
  EXPECT_EQ(CalcEditButtonWidth(canvas.get(), button), scroll);
}

TEST_F(EditButtonPainting, ContentVerticalExtentByStyle) {
  for (auto [style, extent] : {std::pair{btsDefault, 0}, {bts3D, 4}, {btsFlat, 2}, {btsOffice11, 2}}) {
    button->Style = style;
    EXPECT_EQ(ButtonContentVerticalExtent(canvas.get(), &vi), extent) << style;
  }
}

TEST_F(EditButtonPainting, ClassicBackgroundLeavesTheButtonsOut) {
  vi.EditBorderStyle = ebsSingle;
  vi.BorderStyle = cbsSingle;
  vi.BorderColor = clRed;
  vi.BorderThickness = 1;
  vi.InsideBorderRect = {1, 1, 29, 19};
  vi.FillColor = clYellow;
  button->Bounds = {20, 1, 29, 19};
  button->VisibleBounds = button->Bounds;
  button->Style = btsSimple;
  int painted = 0;
  struct Handler {
    int* painted;
    void Draw(TObject*, TcxCanvas*, Integer, bool& Handled) {
      ++*painted;
      Handled = true;
    }
  } handler{&painted};
  vi.OnCustomDrawButton = TcxEditCustomDrawButtonEvent(&handler, &Handler::Draw);
  DrawEditBackgroundAndButtons(canvas.get(), &vi, true, NativeContentByTheme);
  EXPECT_EQ(painted, 1);
  EXPECT_TRUE(Is(0, 0, clRed));
  EXPECT_TRUE(Is(29, 19, clRed));
  EXPECT_TRUE(Is(5, 10, clYellow));
  EXPECT_TRUE(Is(24, 10, clWhite)) << "the button's area is not the background's";
  EXPECT_EQ(button->BackgroundColor, clYellow);

  // Without a handler the button draws; a partially transparent first
  // button lets the background be drawn under all of them.
  vi.OnCustomDrawButton = nullptr;
  Reset(30, 20);
  DrawEditBackgroundAndButtons(canvas.get(), &vi, true, NativeContentByTheme);
  EXPECT_TRUE(Is(20, 10, clYellow)) << "the simple button's frame in the background colour";
  EXPECT_TRUE(Is(24, 10, clBtnFace));
}

TEST_F(EditButtonPainting, BackgroundFillsByPlaceAndFillMode) {
  // A 1-pixel single border; what is filled yellow inside it and in it.
  vi.SetButtonCount(0);
  vi.EditBorderStyle = ebsSingle;
  vi.BorderColor = clRed;
  vi.InsideBorderRect = {2, 2, 28, 18};
  vi.FillColor = clYellow;
  const struct {
    bool inplace, margins, fill, transparent;
    bool interiorFilled, marginFilled;
  } cases[] = {
      {false, false, true, false, true, false},  {false, false, false, false, false, false},
      {false, false, true, true, false, false},  {true, false, true, false, true, true},
      {true, true, false, false, false, true},   {true, false, false, false, false, false},
  };
  for (const auto& c : cases) {
    vi.IsInplace = c.inplace;
    vi.HasInplaceMargins = c.margins;
    vi.Transparent = c.transparent;
    Reset(30, 20);
    DrawEditBackgroundAndButtons(canvas.get(), &vi, c.fill, NativeContentByTheme);
    EXPECT_EQ(Is(15, 10, clYellow), c.interiorFilled) << c.inplace << c.margins << c.fill << c.transparent;
    // (0, 0) is the margin outside the border drawn around the inside rect.
    EXPECT_EQ(Is(0, 0, clYellow), c.marginFilled) << c.inplace << c.margins << c.fill << c.transparent;
    // In place the fills go over where a border would be (in place there is
    // none); stand-alone it stays.
    EXPECT_EQ(Is(1, 1, clRed), !c.marginFilled) << c.inplace << c.margins << c.fill << c.transparent;
  }
}

TEST_F(EditButtonPainting, GlyphsAndImagesThroughABuffer) {
  TBitmap glyph;
  glyph.SetSize(3, 3);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect({0, 0, 3, 3});
  glyph.Canvas()->SetPixels(1, 1, clBlue);
  glyph.SetTransparentColor(clFuchsia);
  TBitmap buffer;
  buffer.SetSize(3, 3);
  FillRectWithColor(buffer.Canvas(), {0, 0, 3, 3}, clLime);
  PaintGlyphBitmap(canvas.get(), 4, 5, &buffer, clRed, true, &glyph);
  EXPECT_TRUE(Is(5, 6, clBlue));
  EXPECT_TRUE(Is(4, 5, clLime)) << "the buffer's own background, not the colour passed";

  TCustomImageList images(3, 3);
  images.AddMasked(&glyph, clFuchsia);
  Reset(30, 20);
  DrawImageListImage(canvas.get(), &images, 0, nullptr, true, clLime, {10, 2, 20, 12});
  EXPECT_TRUE(Is(11, 3, clBlue));
  EXPECT_TRUE(Is(10, 2, clLime)) << "a temporary bitmap filled with the background";
  EXPECT_TRUE(Is(13, 2, clWhite)) << "only the image's size";
}

// Native buttons and background, drawn by our visual-style renderer.
TEST_F(EditButtonPainting, NativeButtonsAndBackgroundWithOurRenderer) {
  VisualStylesScope on(true);
  button->NativeStyle = true;
  const struct {
    TcxEditButtonState state;
    Integer native;
  } states[] = {{ebbsDisabled, 4}, {ebbsNormal, 1}, {ebbsPressed, 3}, {ebbsHot, 2}};
  for (const auto& s : states) {
    button->State = s.state;
    SetButtonNativePart(button);
    EXPECT_EQ(button->NativePart, 1);
    EXPECT_EQ(button->NativeState, s.native);
  }
  // The drop-down button alone draws the combo box's part and nothing else.
  button->Kind = bkDown;
  button->SingleDropDown = true;
  button->State = ebbsHot;
  SetButtonNativePart(button);
  PaintEditButton(canvas.get(), &vi, 0);
  TestSurface expected;
  expected.Reset(30, 20);
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassComboBox), expected.bitmap->Canvas()->Handle(), 1, 2,
                        TRect{10, 0, 30, 20});
  EXPECT_EQ(Rows({10, 0, 30, 20}), expected.Rows({10, 0, 30, 20}));

  // A native ellipsis button: the button part, then the dots inside its
  // content rect.
  button->Kind = bkEllipsis;
  button->SingleDropDown = false;
  SetButtonNativePart(button);
  Reset(30, 20);
  PaintEditButton(canvas.get(), &vi, 0);
  expected.Reset(30, 20);
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassButton), expected.bitmap->Canvas()->Handle(), 1, 2,
                        TRect{10, 0, 30, 20});
  EXPECT_EQ(Px(10, 0), expected.Px(10, 0));
  EXPECT_GT(Count(clBtnText), 5);
  EXPECT_GE(CalcEditButtonWidth(canvas.get(), button), 1);

  // Off: no native part.
  button->NativeStyle = false;
  SetButtonNativePart(button);
  EXPECT_EQ(button->NativeState, 0);

  // The background: the edit part around a content rect filled with the
  // fill colour; the frame comes from the visual style.
  vi.SetButtonCount(0);
  vi.NativeDrawing = true;
  vi.BorderStyle = cbsSingle;
  vi.ThemeState = 1;
  vi.FillColor = clYellow;
  Reset(30, 20);
  DrawEditBackgroundAndButtons(canvas.get(), &vi, true, NativeContentByTheme);
  expected.Reset(30, 20);
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassEdit), expected.bitmap->Canvas()->Handle(), 1, 1,
                        TRect{0, 0, 30, 20});
  EXPECT_EQ(Px(0, 0), expected.Px(0, 0));
  EXPECT_TRUE(Is(15, 10, clYellow));
  // The content rect by margins and as the inner rect: the edit part is
  // drawn only outside it.
  vi.InnerControlRect = {5, 5, 20, 15};
  vi.InsideBorderRect = {2, 2, 28, 18};
  for (Integer mode : {NativeContentByMargins, NativeContentInnerRect}) {
    Reset(30, 20);
    DrawEditBackgroundAndButtons(canvas.get(), &vi, true, mode);
    EXPECT_TRUE(Is(10, 10, clYellow)) << mode;
    EXPECT_FALSE(Is(22, 10, clYellow)) << mode;  // right of the inner rect
    EXPECT_EQ(Is(4, 4, clYellow), mode == NativeContentByMargins) << mode;
    EXPECT_EQ(Px(0, 0), expected.Px(0, 0)) << mode;
  }
  vi.Transparent = true;
  Reset(30, 20);
  DrawEditBackgroundAndButtons(canvas.get(), &vi, true, NativeContentByTheme);
  EXPECT_TRUE(Is(15, 10, clWhite)) << "a transparent editor fills nothing";
}

// A panel with a coloured child under part of an editor: the editor's
// transparent background shows both.
TEST(EditTransparentBackground, PaintsTheParentAndTheChildrenBelowTheEditor) {
  VisualStylesScope styles(false);
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 120);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBevelOuter(bvNone);
  panel->SetBounds(0, 0, 150, 100);
  panel->SetColor(clLime);
  auto* below = new TPanel(&form);
  below->SetParent(panel);
  below->SetBevelOuter(bvNone);
  below->SetColor(clBlue);
  below->SetBounds(50, 20, 20, 20);
  auto* edit = new TPanel(&form);
  edit->SetParent(panel);
  edit->SetBounds(40, 10, 60, 30);
  auto* above = new TPanel(&form);
  above->SetParent(panel);
  above->SetBevelOuter(bvNone);
  above->SetColor(clRed);
  above->SetBounds(80, 20, 10, 10);
  form.Show();
  Application->ProcessMessages();

  TcxCustomEditViewInfo vi;
  vi.BackgroundControl = panel;
  vi.Edit = edit;
  vi.BackgroundOffset = {40, 10};
  TestSurface surface;
  surface.Reset(60, 30);
  DrawTransparentBackground(&vi, surface.canvas.get(), {0, 0, 60, 30});
  EXPECT_TRUE(surface.Is(2, 2, clLime));
  EXPECT_TRUE(surface.Is(15, 15, clBlue)) << "a child below the editor, at its place";
  EXPECT_TRUE(surface.Is(9, 9, clLime));
  EXPECT_FALSE(surface.Is(45, 15, clRed)) << "a child above the editor is not part of its background";

  // A part only: the rest of the surface stays as it was.
  surface.Reset(60, 30);
  DrawTransparentBackground(&vi, surface.canvas.get(), {0, 0, 10, 10});
  EXPECT_TRUE(surface.Is(2, 2, clLime));
  EXPECT_TRUE(surface.Is(15, 15, clWhite));

  // The control's window region, taken to where the control lies: its
  // children are cut by it too.
  win::SetWindowRgn(panel->Handle(), win::CreateRectRgn(0, 0, 45, 15), win::TRUE);
  surface.Reset(60, 30);
  DrawTransparentBackground(&vi, surface.canvas.get(), {0, 0, 60, 30});
  EXPECT_TRUE(surface.Is(2, 2, clLime));
  EXPECT_TRUE(surface.Is(5, 8, clWhite));
  EXPECT_TRUE(surface.Is(15, 15, clWhite));

  // A window region with nothing in it: nothing painted.
  win::SetWindowRgn(panel->Handle(), win::CreateRectRgn(0, 0, 0, 0), win::TRUE);
  surface.Reset(60, 30);
  DrawTransparentBackground(&vi, surface.canvas.get(), {0, 0, 60, 30});
  EXPECT_TRUE(surface.Is(2, 2, clWhite));
}

TEST(EditPainting, LogFontRoundTrip) {
  TestSurface surface;
  surface.Reset(4, 4);
  surface.canvas->Font()->SetName("Liberation Serif");
  surface.canvas->Font()->SetHeight(-17);
  win::LOGFONT lf = GetCanvasLogFont(surface.canvas.get());
  EXPECT_EQ(lf.lfHeight, -17);
  lf.lfHeight = -11;
  SetCanvasFontFromLogFont(surface.canvas.get(), lf);
  EXPECT_EQ(GetCanvasLogFont(surface.canvas.get()).lfHeight, -11);
  EXPECT_EQ(surface.canvas->Font()->GetName(), "Liberation Serif");
}

}  // namespace
