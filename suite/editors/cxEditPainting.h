// The painting every editor shares: border and background (classic or by
// the visual style) with the buttons left out and then drawn one by one in
// their seven styles, button contents by kind, stacked arrows, edge lines,
// glyphs drawn enabled or disabled, the parent's image under a transparent
// editor, and small answers about colours, sizes and painter classes.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/ImgList.h"
#include "platform/win/GdiFonts.h"
#include "suite/editors/cxEditViewInfo.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxLookAndFeels.h"

// How the native background of an editor finds its content rectangle: the
// visual style's content rectangle of the whole control, the whole control
// less 3 pixels (right: the inner control's right edge less one), or the
// inner control's rectangle.
inline constexpr Integer NativeContentByTheme = 0;
inline constexpr Integer NativeContentByMargins = 1;
inline constexpr Integer NativeContentInnerRect = 2;

void DrawEditBackgroundAndButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, bool AFillInterior,
                                  Integer ANativeContentMode);
void PaintEditButton(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex);
void DrawEditButtonByStyle(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                           TcxEditButtonStyle AStyle, const TRect& R);
void DrawEditButtonContent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                           const TRect& AContentRect, const TRect& AArea, TColor AContentColor, TColor AFaceColor);
Integer CalcEditButtonWidth(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButton);
void SetButtonNativePart(TcxEditButtonViewInfo* AButton);
Integer ButtonContentVerticalExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo);

TSize ComputeArrowSize(const TSize& ASize, ArrowDirection ADirection);
// AExtraCount + 1 arrows in a row along ADirection, each AArrowSize lines
// deep, centred in R.
void DrawButtonArrows(TcxCanvas* ACanvas, Integer AArrowSize, const TRect& R, TColor AColor, bool APressed,
                      Integer AExtraCount, ArrowDirection ADirection);
// One-pixel lines inside R on ASides (left, right, top, bottom in that
// order); R shrinks past each.
void DrawRectEdges(TcxCanvas* ACanvas, TRect& R, TcxBorders ASides, TColor AColor);
// APoints holds ASegmentCount + 1 points joined by horizontal and vertical
// segments, end points included.
void DrawOrthogonalPolyline(TcxCanvas* ACanvas, const TPoint* APoints, Integer ASegmentCount, bool AUseBrush,
                            TColor AColor);
// The glyph at (X, Y), its transparent colour showing ABackgroundColor (or
// what lies under it with clNone or a buffer); composed in ABuffer when
// one is given.
void PaintGlyphBitmap(TcxCanvas* ACanvas, Integer X, Integer Y, TBitmap* ABuffer, TColor ABackgroundColor,
                      bool AEnabled, TBitmap* AGlyph);
void DrawImageListImage(TcxCanvas* ACanvas, TCustomImageList* AImages, Integer AImageIndex, TBitmap* ABuffer,
                        bool AEnabled, TColor ABackgroundColor, const TRect& R);
bool IsBitmapUsable(TBitmap* ABitmap);
// Where ASize lies centred in R; with AShift one pixel further right and
// down where it still ends inside R.
TPoint CenterSizeInRect(const TRect& R, const TSize& ASize, bool AShift);
// Paints the view info's background control under R of the canvas.
void DrawTransparentBackground(TcxCustomEditViewInfo* AViewInfo, TcxCanvas* ACanvas, const TRect& R);

TcxCustomLookAndFeelPainterClass PainterClassForStyle(bool ANative, TcxLookAndFeelKind AKind);
TColor SystemHotTrackColor();
TColor HighlightedBorderColor(bool AOffice11);
TColor HighlightedButtonColor(bool APressed, bool AOffice11);
bool EditHasShadow(bool AStyleShadow, bool ANativeLookAndFeel);
Integer NativeContentHeightCorrection(Integer AButtonCount, bool AIsInplace);
// "&x" gives "x", "&&" gives "&", a trailing "&" gives "_".
std::string RemoveAccelChars(const std::string& ACaption);

// The editors' text flags and the DrawText format bits they stand for.
using TcxEditTextFlags = Integer;
inline constexpr TcxEditTextFlags EditTextVCenter = 0x0001;
inline constexpr TcxEditTextFlags EditTextRight = 0x0002;
inline constexpr TcxEditTextFlags EditTextSingleLine = 0x0010;
inline constexpr TcxEditTextFlags EditTextWordBreak = 0x0020;
inline constexpr TcxEditTextFlags EditTextCalcRect = 0x0100;
inline constexpr TcxEditTextFlags EditTextExpandTabs = 0x0200;
win::UINT TextFlagsToDrawTextFormat(TcxEditTextFlags AFlags);
TcxEditTextFlags DrawTextFormatToTextFlags(win::UINT AFormat);

void FillDCRect(win::HDC DC, const TRect& R, TColor AColor);
// The four bands between AOuter and AInner with a brush handle.
void FillRectFrameWithBrush(win::HDC DC, const TRect& AOuter, const TRect& AInner, win::HBRUSH ABrush);
void SetCanvasFontFromLogFont(TcxCanvas* ACanvas, const win::LOGFONT& ALogFont);
win::LOGFONT GetCanvasLogFont(TcxCanvas* ACanvas);

// Puts a canvas's clip region back at the end of a scope.
class TcxClipRegionScope {
 public:
  explicit TcxClipRegionScope(TcxCanvas* ACanvas) : FCanvas(ACanvas), FSaved(ACanvas->ReadClipRegion()) {}
  ~TcxClipRegionScope() { FCanvas->ApplyClipRegion(std::move(FSaved)); }
  TcxClipRegionScope(const TcxClipRegionScope&) = delete;
  TcxClipRegionScope& operator=(const TcxClipRegionScope&) = delete;

 private:
  TcxCanvas* FCanvas;
  std::unique_ptr<TcxRegion> FSaved;
};

// Start-up: whether the system offers the hot-light colour.
void InitializeEditPainting();
