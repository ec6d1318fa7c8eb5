// The painters: the drawing vocabulary of the whole suite. A painter is a
// class without data whose operations say how one kind of element (button,
// arrow, check box, radio button, header, footer, indicator, scroll-bar
// part, tab, expand button) is drawn and what colours and metrics it has. A
// look-and-feel hands out a painter class; controls call its operations
// through that class reference, so replacing the class changes the look of
// every control at once. A class reference is the one constant instance of
// the class (Instance()); no other painter object is ever made.
#pragma once

#include <string>

#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/Delegates.h"
#include "platform/win/UxTheme.h"
#include "suite/foundation/cxGraphics.h"

VXN_ENUM(TcxLookAndFeelKind, lfFlat, lfStandard, lfUltraFlat, lfOffice11)

// cxbsDefault is the default button of a dialog (normal otherwise).
enum TcxButtonState { cxbsDefault = 0, cxbsNormal = 1, cxbsHot = 2, cxbsPressed = 3, cxbsDisabled = 4 };

enum ArrowDirection { ArrowUp = 0, ArrowDown = 1, ArrowLeft = 2, ArrowRight = 3 };

// Parts of a scroll bar: the first arrow (up or left), the second (down or
// right), the thumb, the track before and after the thumb.
enum ScrollBarPart {
  ScrollBarPartNone = 0,
  ScrollBarPartLineUp = 1,
  ScrollBarPartLineDown = 2,
  ScrollBarPartThumb = 3,
  ScrollBarPartPageUp = 4,
  ScrollBarPartPageDown = 5
};

// The arrow of a scroll bar's arrow part.
ArrowDirection ScrollBarArrowDirection(bool Horizontal, ScrollBarPart Part);

// Painter style codes.
inline constexpr Integer PainterStyleFlat = 0;
inline constexpr Integer PainterStyleStandard = 1;
inline constexpr Integer PainterStyleUltraFlat = 2;
inline constexpr Integer PainterStyleNative = 3;
inline constexpr Integer PainterStyleOffice11 = 4;
// 0 lfFlat, 2 lfUltraFlat, 4 lfOffice11, every other code lfStandard.
TcxLookAndFeelKind StyleCodeToKind(Integer Code);

enum TcxIndicatorKind { ikNone = 0, ikArrow = 1, ikEdit = 2, ikInsert = 3, ikMultiDot = 4, ikMultiArrow = 5 };

// Which side arrows a header shows: 1 left, 2 right, 3 both.
using TcxHeaderArrows = Integer;
inline constexpr TcxHeaderArrows HeaderArrowLeft = 1;
inline constexpr TcxHeaderArrows HeaderArrowRight = 2;

// When assigned and answering true, the painter skips its own background.
using TcxDrawBackgroundEvent = TDelegate<bool(TcxCanvas* ACanvas, const TRect& R)>;

// What a header with arrows is drawn with; Bitmap and Color form its fill
// description.
struct TcxViewParams {
  TBitmap* Bitmap = nullptr;
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// Drawing helpers the painters share.
// A plus (collapsed) or minus (expanded) centred in R.
void DrawExpandMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded);
// A sort triangle of ASize: the right edge light, the left edge dark, the
// base light when ascending and dark when descending.
void DrawSortMark(TcxCanvas* ACanvas, const TRect& R, TPoint ASize, TColor ALightColor, TColor ADarkColor,
                  bool AAscending);
// The left and/or right arrows of a header, AArrowIndent from its edges.
void DrawSideArrows(TcxCanvas* ACanvas, TRect R, Integer AControlBorderWidth, TcxHeaderArrows AArrows,
                    Integer AArrowIndent, TColor AColor);

class TcxCustomLookAndFeelPainter;
using TcxCustomLookAndFeelPainterClass = const TcxCustomLookAndFeelPainter*;

class TcxCustomLookAndFeelPainter {
 public:
  static TcxCustomLookAndFeelPainterClass Instance();
  virtual ~TcxCustomLookAndFeelPainter() = default;
  TcxCustomLookAndFeelPainter(const TcxCustomLookAndFeelPainter&) = delete;
  TcxCustomLookAndFeelPainter& operator=(const TcxCustomLookAndFeelPainter&) = delete;

  // 0-7
  virtual void DrawArrowInButton(TcxCanvas* ACanvas, const TRect& R, TColor AColor) const;
  virtual void DrawBackgroundAndText(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                     TcxButtonState AState, TAlignment AAlignmentHorz,
                                     TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                                     const std::string& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                                     TcxDrawBackgroundEvent AOnDrawBackground, bool APlainBackground) const;
  virtual TRect FooterCellInnerRect(const TRect& R) const;
  virtual TRect FooterCellTextRect(const TRect& R) const;
  virtual Integer PainterStyle() const;
  virtual Integer ZeroValue5() const;
  virtual Integer ZeroValue6() const;
  virtual Integer ZeroValue7() const;
  // 8-61
  virtual TColor PaletteColor8() const;
  virtual TColor PaletteColor9() const;
  virtual TColor PaletteColor10() const;
  virtual TColor PaletteColor11() const;
  virtual TColor PaletteColor12() const;
  virtual TColor PaletteColor13() const;
  virtual TColor PaletteColor14() const;
  virtual TColor PaletteColor15() const;
  virtual TColor PaletteColor16() const;
  virtual TColor PaletteColor17() const;
  virtual TColor PaletteColor18() const;
  virtual TColor PaletteColor19() const;
  virtual TColor PaletteColor20() const;
  virtual TColor PaletteColor21() const;
  virtual TColor PaletteColor22() const;
  virtual TColor PaletteColor23() const;
  virtual TColor PaletteColor24() const;
  virtual TColor PaletteColor25() const;
  virtual TColor PaletteColor26() const;
  virtual TColor PaletteColor27() const;
  virtual TColor PaletteColor28() const;
  virtual TColor PaletteColor29() const;
  virtual TColor PaletteColor30() const;
  virtual TColor PaletteColor31() const;
  virtual TColor PaletteColor32() const;
  virtual TColor PaletteColor33() const;
  virtual TColor PaletteColor34() const;
  virtual TColor PaletteColor35() const;
  virtual TColor PaletteColor36() const;
  virtual TColor PaletteColor37() const;
  virtual TColor PaletteColor38() const;
  virtual TColor PaletteColor39() const;
  virtual TColor PaletteColor40() const;
  virtual TColor PaletteColor41() const;
  virtual TColor HeaderAreaColor() const;
  virtual TColor PaletteColor43() const;
  virtual TColor PaletteColor44() const;
  virtual TColor PaletteColor45() const;
  virtual TColor PaletteColor46() const;
  virtual TColor PaletteColor47() const;
  virtual TColor PaletteColor48() const;
  virtual TColor PaletteColor49() const;
  virtual TColor PaletteColor50() const;
  virtual TColor PaletteColor51() const;
  virtual TColor PaletteColor52() const;
  virtual TColor PaletteColor53() const;
  virtual TColor PaletteColor54() const;
  virtual TColor PaletteColor55() const;
  virtual TColor PaletteColor56() const;
  virtual TColor PaletteColor57() const;
  virtual TColor PaletteColor58() const;
  virtual TColor PaletteColor59() const;
  virtual TColor PaletteColor60() const;
  virtual TColor PaletteColor61() const;
  // 62-91
  virtual void DrawFilledArrow(TcxCanvas* ACanvas, const TRect& R, ArrowDirection ADirection, TColor AColor) const;
  virtual void DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, ArrowDirection ADirection,
                               bool ABordered) const;
  virtual void DrawButtonFace(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawStateArrowGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   ArrowDirection ADirection) const;
  virtual Integer ControlBorderWidth() const;
  virtual void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const;
  virtual TRect GroupButtonContentRect(const TRect& R, Integer AButtonCount, Integer AButtonIndex) const;
  virtual Integer ButtonBorderWidth(TcxButtonState AState) const;
  virtual TColor ButtonFaceColor(TcxButtonState AState) const;
  virtual TRect CalcButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const;
  // The four border widths as Left, Top, Right, Bottom.
  virtual TRect ButtonGroupBorderWidths(Integer AButtonCount, Integer AButtonIndex) const;
  virtual Integer ButtonCaptionOffset() const;
  virtual Integer ButtonPressedShift() const;
  virtual TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const;
  virtual TcxButtonState ButtonGlyphState(TcxButtonState AState) const;
  virtual void DrawButtonWithCaption(TcxCanvas* ACanvas, const TRect& R, const std::string& ACaption,
                                     TcxButtonState AState, bool ABordered = true, TColor AFaceColor = clDefault,
                                     TColor ATextColor = clDefault) const;
  virtual void DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, Integer AButtonCount,
                               Integer AButtonIndex, TColor AFrameColor) const;
  virtual void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawButtonOutline(TcxCanvas* ACanvas, const TRect& R, bool AStrong, bool AHot) const;
  virtual void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const;
  virtual bool ExpandButtonDrawnFirst() const;
  virtual void DrawGroupToggleButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState) const;
  virtual void DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AFrameColor,
                                     TColor AFillColor = clDefault) const;
  virtual Integer TreeExpandButtonSize() const;
  virtual Integer GroupToggleButtonSize() const;
  virtual bool ButtonsHotTrack() const;
  virtual bool IsPointInGroupToggleButton(const TRect& R, const TPoint& P) const;
  virtual Integer SmallExpandButtonSize() const;
  virtual Integer CheckBorderWidth() const;
  virtual TColor CheckBoxFillColor(TcxButtonState AState) const;
  // 92-117
  virtual void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                             TColor AColor) const;
  virtual void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawCheckBox(TcxCanvas* ACanvas, TRect& R, TcxButtonState AState, bool AChecked) const;
  virtual void DrawRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y, TcxButtonState AState, bool AChecked,
                               bool AForcedHighlight, TColor ABkColor, bool AFocusHighlight = false) const;
  virtual void DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxBorders ANeighbors,
                          TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                          TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                          const std::string& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                          TcxDrawBackgroundEvent AOnDrawBackground = nullptr, bool AIsLast = false) const;
  virtual void DrawHeaderDefault(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                 TcxBorders ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                 TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                 bool AShowEndEllipsis, const std::string& AText, TFont* AFont, TColor ATextColor,
                                 TColor ABkColor, TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const;
  virtual void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors, TcxBorders ABorders) const;
  virtual void InvertHeaderArea(TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawHeaderSectionItem(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                     TcxBorders ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                     TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                     bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                     TColor ATextColor, TColor ABkColor) const;
  virtual void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) const;
  virtual void DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& R, const TRect& ATextArea,
                                        TcxButtonState AState, TAlignment AAlignmentHorz,
                                        TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                                        const std::string& AText, TFont* AFont, TColor ATextColor,
                                        TColor ABkColor) const;
  virtual void DrawHeaderSectionText(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                     bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                     TColor ATextColor) const;
  virtual void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const;
  virtual TcxBorders HeaderFrameSides(TcxBorders ANeighbors) const;
  virtual Integer HeaderFrameWidth() const;
  virtual TRect ExpandHeaderRect(const TRect& R, TcxBorders ANeighbors, TcxBorders ASides) const;
  virtual TRect HeaderInnerRect(const TRect& R, TcxBorders ABorders) const;
  virtual bool HeaderSwitch109() const;
  virtual Integer HeaderHeightForFont(Integer ATextHeight) const;
  virtual Integer HeaderSectionFrameWidth(TcxButtonState AState) const;
  virtual TRect HeaderSectionTextBounds(const TRect& ABounds, TcxButtonState AState) const;
  virtual TRect HeaderSectionContentRect(const TRect& R, TcxButtonState AState) const;
  virtual Integer HeaderWidthForText(TcxCanvas* ACanvas, TcxBorders ASides, const std::string& AText,
                                     TFont* AFont) const;
  virtual bool HeaderSwitch115() const;
  // Sizes: X wide, Y high.
  virtual TPoint SortArrowAreaSize() const;
  virtual TPoint SortArrowSize() const;
  // 118-157
  virtual void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                              TextVerticalAlignment AAlignmentVert, bool AMultiLine, const std::string& AText,
                              TFont* AFont, TColor ATextColor, TColor ABkColor,
                              TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const;
  virtual TcxBorders FooterFrameSides() const;
  virtual Integer FooterFrameWidth() const;
  virtual Integer FooterCellFrameWidth() const;
  virtual Integer FooterCellIndent() const;
  virtual bool FooterSwitch123() const;
  virtual TColor FooterLineColor() const;
  virtual Integer FooterLineWidth() const;
  virtual void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawFooterLine(TcxCanvas* ACanvas, const TRect& R) const;
  virtual void DrawCheckBoxInRect(TcxCanvas* ACanvas, TRect R, TcxButtonState AState, bool AChecked) const;
  virtual void PaintCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  bool AHighlighted) const;
  virtual TPoint PlusButtonSize() const;
  virtual TPoint CloseButtonSize() const;
  virtual TPoint FilterButtonSize() const;
  virtual bool FilterSwitch135() const;
  virtual TPoint SmallButtonSize136() const;
  virtual TPoint SmallButtonSize137() const;
  virtual TPoint SmallButtonSize138() const;
  virtual TPoint AutoHideButtonSize() const;
  virtual TPoint SmallButtonSize140() const;
  virtual void DrawPlusButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawPlusGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawAutoHideButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AAutoHideOff,
                                  TColor ABkColor) const;
  virtual void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, const std::string& AText,
                       TcxButtonState AState, bool AVertical, TFont* AFont, TColor ATextColor, TColor ABkColor,
                       bool AShowPrefix = false) const;
  virtual void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                            bool AVertical) const;
  virtual void DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) const;
  virtual Integer TabExtraOffset147(bool AVertical) const;
  virtual Integer TabExtraOffset148(bool AVertical) const;
  virtual Integer TabFrameWidth(bool AVertical) const;
  virtual void DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor ABkColor,
                                 TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const;
  virtual void DrawIndicatorCellEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor ABkColor,
                                   TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const;
  virtual bool IndicatorSwitch152() const;
  virtual void DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, ScrollBarPart APart,
                                    TcxButtonState AState) const;
  virtual void DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText,
                                    TcxBorders ANeighbors, const TcxViewParams& AViewParams, TcxHeaderArrows AArrows,
                                    Integer AArrowIndent, TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const;
  virtual void DrawPanelBorder(TcxCanvas* ACanvas, TRect R) const;
  virtual void DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const;
  virtual void DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                            bool AHorizontal) const;

 protected:
  TcxCustomLookAndFeelPainter() = default;
};

// The classic raised and sunken 3-D look with two-pixel bevels.
class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  static TcxCustomLookAndFeelPainterClass Instance();
  Integer PainterStyle() const override;
  TColor PaletteColor49() const override;
  Integer ControlBorderWidth() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  Integer ButtonBorderWidth(TcxButtonState AState) const override;
  Integer ButtonCaptionOffset() const override;
  Integer ButtonPressedShift() const override;
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  void DrawGroupToggleButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState) const override;
  Integer TreeExpandButtonSize() const override;
  bool ButtonsHotTrack() const override;
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors, TcxBorders ABorders) const override;
  void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                              TcxButtonState AState) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  Integer HeaderFrameWidth() const override;
  Integer HeaderSectionFrameWidth(TcxButtonState AState) const override;
  TPoint SortArrowSize() const override;
  Integer FooterFrameWidth() const override;
  Integer FooterCellFrameWidth() const override;
  Integer FooterCellIndent() const override;
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AHighlighted) const override;
  void DrawPlusGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) const override;
  Integer TabFrameWidth(bool AVertical) const override;
  void DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, ScrollBarPart APart,
                            TcxButtonState AState) const override;
  void DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText, TcxBorders ANeighbors,
                            const TcxViewParams& AViewParams, TcxHeaderArrows AArrows, Integer AArrowIndent,
                            TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const override;
  void DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                    bool AHorizontal) const override;

 protected:
  TcxStandardLookAndFeelPainter() = default;
};

// One-pixel bevels.
class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  static TcxCustomLookAndFeelPainterClass Instance();
  Integer PainterStyle() const override;
  Integer ControlBorderWidth() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  Integer ButtonBorderWidth(TcxButtonState AState) const override;
  Integer ButtonCaptionOffset() const override;
  Integer ButtonPressedShift() const override;
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  Integer TreeExpandButtonSize() const override;
  bool ButtonsHotTrack() const override;
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors, TcxBorders ABorders) const override;
  void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                              TcxButtonState AState) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  Integer HeaderFrameWidth() const override;
  TPoint SortArrowSize() const override;
  Integer FooterFrameWidth() const override;
  Integer FooterCellFrameWidth() const override;
  Integer FooterCellIndent() const override;
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AHighlighted) const override;
  void DrawPlusGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) const override;
  Integer TabFrameWidth(bool AVertical) const override;
  void DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, ScrollBarPart APart,
                            TcxButtonState AState) const override;
  void DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                    bool AHorizontal) const override;

 protected:
  TcxFlatLookAndFeelPainter() = default;
};

// One-pixel single-colour frames; hot and pressed buttons in blended
// highlight colours.
class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  static TcxCustomLookAndFeelPainterClass Instance();
  Integer PainterStyle() const override;
  TColor PaletteColor16() const override;
  TColor PaletteColor47() const override;
  Integer ControlBorderWidth() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  Integer ButtonBorderWidth(TcxButtonState AState) const override;
  TColor ButtonFaceColor(TcxButtonState AState) const override;
  TRect CalcButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const override;
  TRect ButtonGroupBorderWidths(Integer AButtonCount, Integer AButtonIndex) const override;
  Integer ButtonCaptionOffset() const override;
  Integer ButtonPressedShift() const override;
  TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const override;
  TcxButtonState ButtonGlyphState(TcxButtonState AState) const override;
  void DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, Integer AButtonCount,
                       Integer AButtonIndex, TColor AFrameColor) const override;
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawButtonOutline(TcxCanvas* ACanvas, const TRect& R, bool AStrong, bool AHot) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  Integer TreeExpandButtonSize() const override;
  bool ButtonsHotTrack() const override;
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawHeaderDefault(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxBorders ANeighbors,
                         TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                         TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                         const std::string& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                         TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors, TcxBorders ABorders) const override;
  void DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                              TcxButtonState AState) const override;
  void DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& R, const TRect& ATextArea, TcxButtonState AState,
                                TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                bool AShowEndEllipsis, const std::string& AText, TFont* AFont, TColor ATextColor,
                                TColor ABkColor) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  TcxBorders HeaderFrameSides(TcxBorders ANeighbors) const override;
  Integer HeaderFrameWidth() const override;
  TPoint SortArrowSize() const override;
  TcxBorders FooterFrameSides() const override;
  Integer FooterFrameWidth() const override;
  Integer FooterCellFrameWidth() const override;
  Integer FooterCellIndent() const override;
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AHighlighted) const override;
  TPoint CloseButtonSize() const override;
  TPoint SmallButtonSize138() const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) const override;
  Integer TabFrameWidth(bool AVertical) const override;
  void DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, ScrollBarPart APart,
                            TcxButtonState AState) const override;
  void DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                    bool AHorizontal) const override;
  // 158-161
  virtual TColor HotStateFrameColor(TcxButtonState AState) const;
  virtual TColor PaletteColor159() const;
  virtual TColor PaletteColor160() const;
  virtual TColor HotFrameColor() const;

 protected:
  TcxUltraFlatLookAndFeelPainter() = default;
};

// The ultra-flat look in the colours of the Office 11 palette, with
// gradients and bitmaps.
class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
 public:
  static TcxCustomLookAndFeelPainterClass Instance();
  void DrawBackgroundAndText(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxButtonState AState,
                             TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                             bool AShowEndEllipsis, const std::string& AText, TFont* AFont, TColor ATextColor,
                             TColor ABkColor, TcxDrawBackgroundEvent AOnDrawBackground,
                             bool APlainBackground) const override;
  Integer PainterStyle() const override;
  TColor PaletteColor14() const override;
  TColor PaletteColor24() const override;
  TColor PaletteColor25() const override;
  TColor PaletteColor27() const override;
  TColor PaletteColor28() const override;
  TColor PaletteColor30() const override;
  TColor PaletteColor32() const override;
  TColor PaletteColor33() const override;
  TColor PaletteColor34() const override;
  TColor PaletteColor36() const override;
  TColor HeaderAreaColor() const override;
  TColor PaletteColor43() const override;
  TColor PaletteColor44() const override;
  TColor PaletteColor47() const override;
  TColor PaletteColor48() const override;
  TColor PaletteColor54() const override;
  TColor PaletteColor56() const override;
  TColor PaletteColor59() const override;
  TColor PaletteColor61() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  TColor ButtonFaceColor(TcxButtonState AState) const override;
  TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const override;
  void DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  bool ExpandButtonDrawnFirst() const override;
  void DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AFrameColor,
                             TColor AFillColor = clDefault) const override;
  Integer TreeExpandButtonSize() const override;
  Integer SmallExpandButtonSize() const override;
  TColor CheckBoxFillColor(TcxButtonState AState) const override;
  void DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxBorders ANeighbors,
                  TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                  TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                  const std::string& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                  TcxDrawBackgroundEvent AOnDrawBackground = nullptr, bool AIsLast = false) const override;
  void DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors, TcxBorders ABorders) const override;
  void DrawHeaderSectionItem(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxBorders ANeighbors,
                             TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                             TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                             const std::string& AText, TFont* AFont, TColor ATextColor,
                             TColor ABkColor) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  TcxBorders HeaderFrameSides(TcxBorders ANeighbors) const override;
  Integer HeaderFrameWidth() const override;
  bool HeaderSwitch115() const override;
  TColor FooterLineColor() const override;
  void DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, ScrollBarPart APart,
                            TcxButtonState AState) const override;
  void DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText, TcxBorders ANeighbors,
                            const TcxViewParams& AViewParams, TcxHeaderArrows AArrows, Integer AArrowIndent,
                            TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const override;
  void DrawPanelBorder(TcxCanvas* ACanvas, TRect R) const override;
  void DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  TColor HotStateFrameColor(TcxButtonState AState) const override;
  TColor PaletteColor159() const override;
  TColor PaletteColor160() const override;
  TColor HotFrameColor() const override;
  // 162-165
  virtual TColor SchemeColor162() const;
  virtual TColor SchemeColor163() const;
  virtual TColor SchemeColor164() const;
  virtual TColor SchemeMidColor165() const;

 protected:
  TcxOffice11LookAndFeelPainter() = default;
};

// Draws with the operating system's visual styles; every operation asks for
// its theme class on each call and, when it does not open, falls back to
// the standard painter's drawing (or the base one).
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
 public:
  static TcxCustomLookAndFeelPainterClass Instance();
  Integer PainterStyle() const override;
  TColor PaletteColor16() const override;
  TColor PaletteColor47() const override;
  TColor PaletteColor49() const override;
  void DrawFilledArrow(TcxCanvas* ACanvas, const TRect& R, ArrowDirection ADirection, TColor AColor) const override;
  void DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, ArrowDirection ADirection,
                       bool ABordered) const override;
  void DrawButtonFace(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  Integer ControlBorderWidth() const override;
  void DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const override;
  TRect GroupButtonContentRect(const TRect& R, Integer AButtonCount, Integer AButtonIndex) const override;
  Integer ButtonBorderWidth(TcxButtonState AState) const override;
  TColor ButtonFaceColor(TcxButtonState AState) const override;
  TRect CalcButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const override;
  TRect ButtonGroupBorderWidths(Integer AButtonCount, Integer AButtonIndex) const override;
  Integer ButtonCaptionOffset() const override;
  Integer ButtonPressedShift() const override;
  TColor ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor = clDefault) const override;
  void DrawButtonWithCaption(TcxCanvas* ACanvas, const TRect& R, const std::string& ACaption, TcxButtonState AState,
                             bool ABordered = true, TColor AFaceColor = clDefault,
                             TColor ATextColor = clDefault) const override;
  void DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) const override;
  bool ExpandButtonDrawnFirst() const override;
  void DrawGroupToggleButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState) const override;
  void DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AFrameColor,
                             TColor AFillColor = clDefault) const override;
  Integer TreeExpandButtonSize() const override;
  Integer GroupToggleButtonSize() const override;
  bool ButtonsHotTrack() const override;
  bool IsPointInGroupToggleButton(const TRect& R, const TPoint& P) const override;
  Integer SmallExpandButtonSize() const override;
  Integer CheckBorderWidth() const override;
  void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                     TColor AColor) const override;
  void DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y, TcxButtonState AState, bool AChecked,
                       bool AForcedHighlight, TColor ABkColor, bool AFocusHighlight = false) const override;
  void DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxBorders ANeighbors,
                  TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                  TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                  const std::string& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                  TcxDrawBackgroundEvent AOnDrawBackground = nullptr, bool AIsLast = false) const override;
  void InvertHeaderArea(TcxCanvas* ACanvas, const TRect& R) const override;
  void DrawHeaderSectionItem(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea, TcxBorders ANeighbors,
                             TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                             TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                             const std::string& AText, TFont* AFont, TColor ATextColor,
                             TColor ABkColor) const override;
  void DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const override;
  Integer HeaderFrameWidth() const override;
  bool HeaderSwitch109() const override;
  Integer HeaderSectionFrameWidth(TcxButtonState AState) const override;
  TRect HeaderSectionContentRect(const TRect& R, TcxButtonState AState) const override;
  bool HeaderSwitch115() const override;
  TPoint SortArrowSize() const override;
  void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                      TextVerticalAlignment AAlignmentVert, bool AMultiLine, const std::string& AText, TFont* AFont,
                      TColor ATextColor, TColor ABkColor,
                      TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const override;
  Integer FooterFrameWidth() const override;
  Integer FooterCellFrameWidth() const override;
  Integer FooterCellIndent() const override;
  bool FooterSwitch123() const override;
  void DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const override;
  void PaintCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AHighlighted) const override;
  TPoint PlusButtonSize() const override;
  TPoint CloseButtonSize() const override;
  TPoint SmallButtonSize138() const override;
  TPoint AutoHideButtonSize() const override;
  void DrawPlusButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawAutoHideButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AAutoHideOff,
                          TColor ABkColor) const override;
  void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides, const std::string& AText, TcxButtonState AState,
               bool AVertical, TFont* AFont, TColor ATextColor, TColor ABkColor,
               bool AShowPrefix = false) const override;
  void DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                    bool AVertical) const override;
  void DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) const override;
  Integer TabExtraOffset147(bool AVertical) const override;
  Integer TabExtraOffset148(bool AVertical) const override;
  Integer TabFrameWidth(bool AVertical) const override;
  void DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor ABkColor,
                         TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const override;
  void DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R, ScrollBarPart APart,
                            TcxButtonState AState) const override;
  void DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText, TcxBorders ANeighbors,
                            const TcxViewParams& AViewParams, TcxHeaderArrows AArrows, Integer AArrowIndent,
                            TcxDrawBackgroundEvent AOnDrawBackground = nullptr) const override;
  void DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const override;
  void DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                    bool AHorizontal) const override;
  // 158
  virtual void DrawThemedCaptionText(TcxCanvas* ACanvas, win::HTHEME ATheme, int APart, int AState,
                                     const TRect& ABounds, const TRect& ATextRect, TAlignment AAlignmentHorz,
                                     TextVerticalAlignment AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                                     bool AShowPrefix, const std::string& AText, TFont* AFont, TColor ATextColor,
                                     TColor ABkColor) const;

 protected:
  TcxWinXPLookAndFeelPainter() = default;
};

// The visual-style states of the painters' button states.
int ThemeButtonState(TcxButtonState AState);
int ScrollArrowThemeState(ArrowDirection ADirection, TcxButtonState AState);
