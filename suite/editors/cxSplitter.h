// The hot zone of a splitter bar: the grip in the middle of the bar that
// collapses or restores the neighbouring pane. A style computes where the
// zone and its parts lie and paints them, in one of four looks; the styles
// are listed by display name in the hot-zone style registry. The splitter
// itself is whoever implements HotZoneStyleOwner.
#pragma once

#include "platform/forms/Graphics.h"
#include "platform/rtl/Components.h"
#include "suite/editors/EditorHelpers.h"
#include "suite/foundation/cxClasses.h"
#include "suite/foundation/cxGraphics.h"

// What a hot-zone style asks of the splitter that holds it.
class HotZoneStyleOwner {
 public:
  virtual ~HotZoneStyleOwner() = default;
  // A style's setting changed: the splitter repaints.
  virtual void HotZoneStyleChanged() = 0;
  // 0 or 1: a vertical bar (the zone runs along its height); 2 or 3: a
  // horizontal bar (the zone runs along its width). Even codes point the
  // arrows at the left or upper pane, odd ones at the right or lower pane.
  virtual Integer SplitterDirectionCode() = 0;
  // Fills the zone and is the neutral colour of its frames.
  virtual TColor SplitterBackgroundColor() = 0;
};

class TcxHotZoneStyle : public TPersistent {
  VXN_DECLARE_CLASS(TcxHotZoneStyle)

 public:
  using TOwnerClass = HotZoneStyleOwner;

  explicit TcxHotZoneStyle(HotZoneStyleOwner* AOwner);

  // From a style of the same kind: every published setting; from another
  // style: SizePercent and Visible. Each value goes through its setter.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

  // Tells the owner, when there is one.
  virtual void Changed();
  // The owner's direction code; 0 without an owner.
  virtual Integer SplitterDirection();
  // Bounds is the splitter's client rect: the zone is centred on the bar's
  // length counted from 0, and lies 7 pixels thick against the bar's left
  // (vertical bar) or top (horizontal bar) side. The style's part areas are
  // computed along with it.
  virtual void CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect);
  // The thinnest and the thickest bar the styles are drawn for.
  virtual Integer SplitterMinSize() { return 8; }
  virtual Integer SplitterMaxSize() { return 8; }
  // Computes the zone, locks the canvas, sets the brush to the owner's
  // colour, paints the background and then the style's parts. The base
  // style has neither background nor parts and draws nothing.
  virtual void DrawHotZone(TcxCanvas* ACanvas, const TRect& Bounds, TRect& ZoneRect, bool Sunken, bool Highlighted);
  virtual void PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool Highlighted);

  HotZoneStyleOwner* Owner() const { return FOwner; }
  // The zone as last computed.
  const TRect& HotZoneRect() const { return FHotZoneRect; }

  TcxNaturalNumber SizePercent() const { return FSizePercent; }
  // Values below 1 are refused.
  void SetSizePercent(TcxNaturalNumber Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

 protected:
  bool IsHorizontalBar();
  // The owner's background colour (the button face without an owner).
  TColor OwnerColor();
  // A rect's extent along the bar (start, end) and across it (near, far).
  struct Extent {
    Int64 start, end, near, far;
  };
  Extent ExtentOf(const TRect& R);
  // A rect given by its extent along the bar and across it; 64-bit values
  // are brought into the integer range.
  TRect AxisRect(Int64 AlongFrom, Int64 AlongTo, Int64 AcrossFrom, Int64 AcrossTo);
  // A point given by its position along and across the bar.
  TPoint AxisPoint(Int64 Along, Int64 Across);
  void SetColor(TColor& Field, TColor Value);

  // What a style draws over its background; nothing here.
  virtual void DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted);

  // Dots every Gap + 2 pixels along R, Offset pixels in from its near side:
  // forward from R's start + Gap, else backward from R's end - 2 Gap. A
  // raised dot is a light 2 x 2 square under a shadow one moved down and
  // right by one; a sunken dot the other way round.
  void DrawHotZoneDots(TcxCanvas* ACanvas, const TRect& R, bool Sunken, Integer Offset, Integer Gap,
                       TColor LightColor, TColor ShadowColor, bool Forward);
  // A seven-line chevron in R; HighlightColor when highlighted and not
  // sunken, else AColor.
  void DrawHotZoneArrow(TcxCanvas* ACanvas, const TRect& R, bool Highlighted, TColor HighlightColor, TColor AColor,
                        bool Sunken);

 private:
  HotZoneStyleOwner* FOwner;  // not owned
  TRect FHotZoneRect{};
  TcxNaturalNumber FSizePercent = 30;
  bool FVisible = true;
};

// A published colour of a style: its reader, its setter (which tells the
// owner of a change) and its field with the default.
#define HOT_ZONE_COLOR(Name, Default)                        \
 public:                                                     \
  TColor Name() const { return F##Name; }                    \
  void Set##Name(TColor Value) { SetColor(F##Name, Value); } \
                                                             \
 private:                                                    \
  TColor F##Name = Default;

class TcxMediaPlayer9Style : public TcxHotZoneStyle {
  VXN_DECLARE_CLASS(TcxMediaPlayer9Style)
  HOT_ZONE_COLOR(ArrowColor, clWindowText)
  HOT_ZONE_COLOR(ArrowHighlightColor, clBlue)
  HOT_ZONE_COLOR(LightColor, clWindow)
  HOT_ZONE_COLOR(BorderColor, clBtnShadow)
  HOT_ZONE_COLOR(ShadowStartColor, static_cast<TColor>(0xF5E6CD))
  HOT_ZONE_COLOR(ShadowHighlightStartColor, static_cast<TColor>(0xAFF5C3))

 public:
  explicit TcxMediaPlayer9Style(HotZoneStyleOwner* AOwner) : TcxHotZoneStyle(AOwner) {}

  void CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) override;
  void PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool Highlighted) override;
  const TRect& ArrowArea() const { return FArrowArea; }

 protected:
  void DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) override;

 private:
  TRect FArrowArea{};
};

class TcxMediaPlayer8Style : public TcxHotZoneStyle {
  VXN_DECLARE_CLASS(TcxMediaPlayer8Style)
  HOT_ZONE_COLOR(ArrowColor, clWindowText)
  HOT_ZONE_COLOR(ArrowHighlightColor, clWindow)
  HOT_ZONE_COLOR(LightColor, clWindow)
  HOT_ZONE_COLOR(ShadowColor, clBtnShadow)

 public:
  explicit TcxMediaPlayer8Style(HotZoneStyleOwner* AOwner) : TcxHotZoneStyle(AOwner) {}

  void CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) override;
  void PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool Highlighted) override;
  const TRect& LeadingDotsArea() const { return FLeadingDotsArea; }
  const TRect& TrailingDotsArea() const { return FTrailingDotsArea; }
  const TRect& ArrowArea() const { return FArrowArea; }

 protected:
  void DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) override;

 private:
  TRect FLeadingDotsArea{};
  TRect FTrailingDotsArea{};
  TRect FArrowArea{};
};

class TcxXPTaskBarStyle : public TcxHotZoneStyle {
  VXN_DECLARE_CLASS(TcxXPTaskBarStyle)
  HOT_ZONE_COLOR(LightColor, clWindow)
  HOT_ZONE_COLOR(ShadowColor, clBtnShadow)

 public:
  explicit TcxXPTaskBarStyle(HotZoneStyleOwner* AOwner) : TcxHotZoneStyle(AOwner) {}

  void CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) override;
  void PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool Highlighted) override;
  const TRect& FirstDotRowArea() const { return FFirstDotRowArea; }
  const TRect& SecondDotRowArea() const { return FSecondDotRowArea; }

 protected:
  void DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) override;

 private:
  TRect FFirstDotRowArea{};
  TRect FSecondDotRowArea{};
};

class TcxSimpleStyle : public TcxHotZoneStyle {
  VXN_DECLARE_CLASS(TcxSimpleStyle)
  HOT_ZONE_COLOR(ArrowColor, clWindowText)
  HOT_ZONE_COLOR(ArrowHighlightColor, clWindow)
  HOT_ZONE_COLOR(LightColor, clWindow)
  HOT_ZONE_COLOR(ShadowColor, clBtnShadow)
  HOT_ZONE_COLOR(DotsColor, clHighlight)
  HOT_ZONE_COLOR(DotsShadowColor, clWindow)

 public:
  explicit TcxSimpleStyle(HotZoneStyleOwner* AOwner) : TcxHotZoneStyle(AOwner) {}

  void CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) override;
  void PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool Highlighted) override;
  const TRect& LeadingArrowArea() const { return FLeadingArrowArea; }
  const TRect& TrailingArrowArea() const { return FTrailingArrowArea; }

 protected:
  void DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) override;

 private:
  TRect FLeadingArrowArea{};
  TRect FTrailingArrowArea{};
};

#undef HOT_ZONE_COLOR

// The styles by display name, in registration order; made on first use.
TcxRegisteredClasses* HotZoneStyleRegistry();
// Counted: the first call registers the four styles, the last matching
// unregister removes them in the same order and frees the registry.
void RegisterHotZoneStyles();
void UnregisterHotZoneStyles();
