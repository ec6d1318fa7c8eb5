// The canvas every control, painter and editor of the suite draws through:
// clip regions in logical coordinates, text with the suite's own flags
// (embossed when disabled), frames and edges in system colours, tiled
// fills, bitmap rotation and a few device-context queries; the region
// object that carries all clipping; a canvas over the screen for measuring;
// the border and grid-line enumerations and the computed highlight colours.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Sets.h"
#include "platform/win/WinTypes.h"

VXN_ENUM(TcxBorder, bLeft, bTop, bRight, bBottom)
using TcxBorders = TSet<TcxBorder>;
// As a bit mask: 1 left, 2 top, 4 right, 8 bottom.
inline constexpr TcxBorders cxBordersAll{bLeft, bTop, bRight, bBottom};

VXN_ENUM(TcxGridLines, glBoth, glNone, glVertical, glHorizontal)

// Mapped to RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND.
enum RegionOperation { RegionCopy = 0, RegionUnion = 1, RegionDifference = 2, RegionIntersection = 3 };

// The canvas text flags; CanvasTextFlagsToDrawTextFormat turns them into a
// DrawText format.
using TcxTextFlags = uint16_t;
inline constexpr TcxTextFlags TextLeft = 0x0001;
inline constexpr TcxTextFlags TextRight = 0x0002;
inline constexpr TcxTextFlags TextHCenter = 0x0004;
inline constexpr TcxTextFlags TextTop = 0x0008;
inline constexpr TcxTextFlags TextBottom = 0x0010;
inline constexpr TcxTextFlags TextVCenter = 0x0020;
inline constexpr TcxTextFlags TextSingleLine = 0x0040;
inline constexpr TcxTextFlags TextNoClip = 0x0080;
inline constexpr TcxTextFlags TextExpandTabs = 0x0100;
inline constexpr TcxTextFlags TextShowPrefix = 0x0200;
inline constexpr TcxTextFlags TextWordBreak = 0x0400;
inline constexpr TcxTextFlags TextEndEllipsis = 0x0800;
inline constexpr TcxTextFlags TextCalcOnly = 0x1000;
inline constexpr TcxTextFlags TextPathEllipsis = 0x2000;
inline constexpr TcxTextFlags TextNoCharBreak = 0x4000;

win::UINT CanvasTextFlagsToDrawTextFormat(TcxTextFlags Flags);

// Vertical text alignment of the painters' text operations.
enum TextVerticalAlignment { VAlignTop = 0, VAlignBottom = 1, VAlignCenter = 2 };

// A colour and an optional tiling bitmap (not owned).
struct TcxFillDescription {
  TColor Color = clDefault;
  TBitmap* Bitmap = nullptr;
};

struct TcxMargins {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
};

// Small rectangle helpers of the suite.
inline win::RECT cxRECT(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }
inline TRect cxRect(const win::RECT& R) { return {R.left, R.top, R.right, R.bottom}; }
inline bool cxRectIsEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }
inline TRect cxRectInflate(const TRect& R, Integer DX, Integer DY) {
  return {R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY};
}
inline TRect cxRectOffset(const TRect& R, Integer DX, Integer DY) {
  return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}
inline bool cxRectPtIn(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
TRect ShrinkRectByMargins(const TRect& R, const TcxMargins& Margins);

// One GDI region, owned (Handle 0 = none). A region read from a device
// context that had no clip region is marked NoClip: applied with RegionCopy
// it removes clipping again instead of clipping at its rectangle.
class TcxRegion : public TObject {
  VXN_DECLARE_CLASS(TcxRegion)

 public:
  TcxRegion();  // the empty rectangle (0, 0, 0, 0)
  explicit TcxRegion(win::HRGN AHandle);
  explicit TcxRegion(const TRect& R);
  TcxRegion(Integer Left, Integer Top, Integer Right, Integer Bottom);
  ~TcxRegion() override;

  static std::unique_ptr<TcxRegion> CreateFromHandle(win::HRGN AHandle);
  static std::unique_ptr<TcxRegion> CreateFromRect(const TRect& R);
  static std::unique_ptr<TcxRegion> CreateFromCoords(Integer Left, Integer Top, Integer Right, Integer Bottom);
  static std::unique_ptr<TcxRegion> CreateEmpty();

  // RegionCopy copies Other; the other operations combine Other into this.
  void Combine(const TcxRegion& Other, RegionOperation Operation);
  // The same, then frees Other.
  void Combine(std::unique_ptr<TcxRegion> Other, RegionOperation Operation);
  void Offset(Integer DX, Integer DY);
  bool ContainsPoint(const TPoint& P) const;
  bool ContainsXY(Integer X, Integer Y) const;
  TRect BoundsRect() const;
  bool IsEmpty() const;

  win::HRGN Handle = nullptr;
  bool NoClip = false;
};

class TcxCanvas : public TObject {
  VXN_DECLARE_CLASS(TcxCanvas)

 public:
  explicit TcxCanvas(TCanvas* ACanvas);
  ~TcxCanvas() override = default;

  TCanvas* Canvas;  // not owned

  TBrush* Brush() const { return Canvas->Brush(); }
  TFont* Font() const { return Canvas->Font(); }
  TPen* Pen() const { return Canvas->Pen(); }
  win::HDC DeviceContext() const { return Canvas->Handle(); }

  void AssignFont(TFont* AFont);
  void SetBrushColor(TColor Value);
  void PlotPixel(Integer X, Integer Y, TColor AColor);
  void MovePenTo(Integer X, Integer Y);
  void DrawLineTo(Integer X, Integer Y);
  void FillPolygon(const TPoint* Points, Integer LastIndex);
  void DrawPolyline(const TPoint* Points, Integer LastIndex);
  void DrawGraphic(Integer X, Integer Y, TGraphic* Graphic);
  void CopyRectFrom(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);
  void InvertRect(const TRect& R);
  void FillRectOrTile(const TRect& R, TBitmap* Bitmap);
  // The description's bitmap tiled, or its colour; no frame is drawn.
  void FrameAndFill(const TRect& R, const TcxFillDescription& Fill);
  void FillBorders(const TRect& R, TColor AColor, Integer Width, TcxBorders Borders);
  void DrawTwoColorFrame(const TRect& R, TColor LeftTopColor, TColor RightBottomColor, TcxBorders Borders,
                         Integer Width);
  void Draw3DEdge(const TRect& R, bool Sunken, bool Outer, TcxBorders Borders);
  void DrawFocusFrame(const TRect& R);

  TSize MeasureText(const std::string& Text);
  Integer MeasureTextWidth(const std::string& Text) { return MeasureText(Text).cx; }
  Integer MeasureTextHeight(const std::string& Text) { return MeasureText(Text).cy; }
  Integer FontHeight(TFont* AFont);
  void CalcTextRect(const std::string& Text, TRect& R, TcxTextFlags Flags);
  // Moves R.Top for a multi-line text aligned to the bottom or the centre.
  void CalcMultiLineTextTop(TRect& R, const std::string& Text, TextVerticalAlignment Alignment, bool WordBreak,
                            bool ShowPrefix, bool Enabled, bool NoCharBreak = false);
  void DrawAlignedText(const std::string& Text, const TRect& R, TcxTextFlags Flags, bool Enabled);
  // Mode 0 none, 1 quarter turn counter-clockwise, 2 clockwise, 3 half turn;
  // Mirror adds a flip (see the table in the module).
  void RotateBitmap(TBitmap* Bitmap, Integer Mode, bool Mirror);

  void BeginPath();
  void EndPath();
  void ExcludeFromClip(const TRect& R);
  void IntersectClip(const TRect& R);
  // The current clip as a new region; a DC without clip reads as the
  // rectangle (0, 0, 30000, 30000), marked NoClip.
  std::unique_ptr<TcxRegion> ReadClipRegion(bool ConsiderOrigin = true);
  // Frees the region.
  void ApplyClipRegion(std::unique_ptr<TcxRegion> Region, RegionOperation Operation = RegionCopy,
                       bool ConsiderOrigin = true);
  // Leaves the region to the caller, unchanged.
  void ApplyClipRegion(TcxRegion& Region, RegionOperation Operation = RegionCopy, bool ConsiderOrigin = true);

  TPoint ViewportOrigin() const;
  TPoint WindowOrigin() const;
  TPoint DCOrigin() const;
  void SetDCWindowOrigin(const TPoint& P);

 private:
  void DrawTextPrimitive(const std::string& Text, TRect R, win::UINT Format, bool UseDrawText, bool NoClip);
  void SelectClip(TcxRegion& Region, bool ConsiderOrigin);
};

// A canvas over the screen's device context.
class TScreenCanvas : public TCanvas {
  VXN_DECLARE_CLASS(TScreenCanvas)

 public:
  TScreenCanvas() = default;
  ~TScreenCanvas() override;

 protected:
  void CreateHandle() override;
};

// A TcxCanvas that owns its TScreenCanvas.
class TcxScreenCanvas : public TcxCanvas {
  VXN_DECLARE_CLASS(TcxScreenCanvas)

 public:
  TcxScreenCanvas();
  ~TcxScreenCanvas() override;

 private:
  std::unique_ptr<TScreenCanvas> FScreenCanvas;
};

// The colour the screen shows for AColor.
TColor NearestScreenColor(TColor AColor);
// Signed percentages of the button face, highlight and window colours;
// clHighlight itself when the button face is black or white.
TColor BlendSystemColors(Integer P1, Integer P2, Integer P3);
TColor HotHighlightColor();
TColor PressedHighlightColor();
