// The computed look of one container paint (border, background, shadow,
// state) and the small geometry routines that containers, popups and
// editor painting share: border widths, the 3-pixel shadow, frame fills and
// invalidation, window regions with a shadow, the visual-style test and the
// system's scroll-bar information.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/win/ScrollBars.h"
#include "suite/foundation/cxGraphics.h"

VXN_ENUM(TcxContainerBorderStyle, cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11)

// The state of a container: a small set of these bits.
using TcxContainerStateFlags = Integer;
inline constexpr TcxContainerStateFlags csNormal = 1;
inline constexpr TcxContainerStateFlags csFocused = 2;
inline constexpr TcxContainerStateFlags csDisabled = 4;
inline constexpr TcxContainerStateFlags csHot = 8;

// Extent of a transparent border on every side, and of the shadow below and
// to the right.
inline constexpr Integer cxContainerTransparentBorderExtent = 2;
inline constexpr Integer cxContainerShadowWidth = 3;

class TcxContainerViewInfo : public TObject {
  VXN_DECLARE_CLASS(TcxContainerViewInfo)

 public:
  TcxContainerViewInfo() = default;
  ~TcxContainerViewInfo() override = default;

  virtual void DrawBorderFrame(TcxCanvas* ACanvas, const TRect& R);
  virtual TcxContainerBorderStyle BorderStyleInUse() { return BorderStyle; }
  virtual void InternalPaint(TcxCanvas* ACanvas);
  virtual void SetBackgroundColor(TColor Value) { FillColor = Value; }
  // Copies only InnerControlRect, and only from another container view info.
  virtual void AssignFrom(TcxContainerViewInfo* Source);
  // The area that differs from AViewInfo; empty here.
  virtual std::unique_ptr<TcxRegion> ChangedRegion(TcxContainerViewInfo* AViewInfo);
  virtual void OffsetBy(Integer DX, Integer DY);
  virtual void DrawTo(TcxCanvas* ACanvas) { InternalPaint(ACanvas); }

  TRect WholeRect;
  TRect InsideBorderRect;
  TRect InnerControlRect;
  TcxContainerBorderStyle BorderStyle = cbsNone;
  Integer BorderThickness = 0;
  TColor BorderColor = clNone;
  TcxBorders Edges = cxBordersAll;
  bool ShadowOn = false;
  TColor FillColor = clWindow;
  bool NativeDrawing = false;
  Integer ThemedObjectKind = 0;
  Integer ThemePart = 0;
  Integer ThemeState = 0;
  TcxContainerStateFlags StateFlags = csNormal;
  // 0 the active style does not track the mouse, 1 tracking, 2 focused or hot.
  Integer HoverLevel = 0;

 protected:
  void PaintClassic(TcxCanvas* ACanvas);
  void PaintNative(TcxCanvas* ACanvas);
};

// A view info class: makes a view info of its class.
using TcxContainerViewInfoClass = std::unique_ptr<TcxContainerViewInfo> (*)();

template <typename T>
std::unique_ptr<TcxContainerViewInfo> CreateContainerViewInfo() {
  return std::make_unique<T>();
}

Integer ContainerBorderWidth(TcxContainerBorderStyle ABorderStyle);

// The border extents of a container or editor: the transparent border on
// every side; none for an inactive style or a native one without a border;
// 2 for any other native one; else AWidth on each side in AEdges. The shadow
// adds to the right and bottom.
TRect ContainerBorderExtents(bool ATransparentBorder, bool AStyleActive, bool ANative, bool ANoBorder, Integer AWidth,
                             TcxBorders AEdges, bool AShadow);
// Fills the shadow strips of R and removes them (with the corners beside
// them) from the clip region.
void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R);
void FillRectFrame(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInnerRect, TColor AColor);
void InvalidateRectFrame(win::HWND AWnd, const TRect& AOuterRect, const TRect& AInnerRect, bool AErase);
void InvalidateControlRect(TWinControl* AControl, const TRect& R, bool AErase);
// Moves each side of R inward by AWidth unless its edge is in AEdges.
TRect DeflateRectForAbsentEdges(const TRect& R, Integer AWidth, TcxBorders AEdges);
TRect GetControlSizeRect(TControl* AControl);

// Null when no region is wanted.
std::unique_ptr<TcxRegion> ContainerRegion(const TRect& R, bool ANoRegion, bool AShadow, const TRect& AExcludedRect);
// Sets the region only when it differs from the window's current one.
void ApplyContainerWindowRegion(win::HWND AWnd, const TRect& R, bool ANoRegion, const TRect& AExcludedRect,
                                bool AShadow);

bool NativeThemeInEffect(bool ANativeWanted, Integer AThemeClassIndex);
// Locale comparison; without case by comparing both upper-cased.
bool EqualStrings(const std::string& A, const std::string& B, bool ACaseSensitive);

TPoint GetMouseScreenPos();
TShiftState GetKeyboardShiftState();
bool IsHandleOfControl(win::HWND AWnd, TWinControl* AControl);
bool IsControlWindowVisible(TWinControl* AControl);

// The system's scroll-bar information, with the record size set first;
// false without the entry.
bool CallGetScrollBarInfo(win::HWND AWnd, win::LONG AObjectId, win::SCROLLBARINFO& AInfo);
bool IsGetScrollBarInfoAvailable();

// One canvas over the screen for measuring; null before start-up.
TcxScreenCanvas* ContainerScreenCanvas();

// Start-up (looks the entry up, creates the screen canvas) and shut-down.
void InitializeContainerViewInfo();
void FinalizeContainerViewInfo();
