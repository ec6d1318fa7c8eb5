// The track bar: an integer editor whose thumb slides along a track between
// Min and Max, with tick marks or numbers on one or both sides and an
// optional highlighted selection. Keys, clicks and drags move the thumb and
// post the value at once. The view data lays the bar out (working rect,
// thumb band, track, scale, thumb and selection); the view info paints it
// into a bitmap of its own and copies it to the screen in one step.
//
// Values are ranged in 64 bits, so Min and Max may lie anywhere in the
// integer range; the layout results a control acts on (track, thumb rect,
// pixels per value) stay in that control's view info, never in properties a
// repository item shares between editors.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/win/GdiFonts.h"
#include "suite/editors/EditorHelpers.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxFilterEditHelpers.h"
#include "suite/editors/cxTextEditViewInfo.h"
#include "suite/foundation/cxLookAndFeels.h"

VXN_ENUM(TcxTrackBarOrientation, tboHorizontal, tboVertical)
VXN_ENUM(TcxTrackBarTextOrientation, tbtoHorizontal, tbtoVertical)
VXN_ENUM(TcxTrackBarTickMarks, cxtmBoth, cxtmTopLeft, cxtmBottomRight)
VXN_ENUM(TcxTrackBarTickType, tbttTicks, tbttNumbers, tbttValueNumber)
VXN_ENUM(TcxTrackBarThumbType, cxttNone, cxttRegular, cxttCustom)
VXN_ENUM(TcxTrackBarThumbStep, cxtsNormal, cxtsJump)

using TcxGetThumbRectEvent = TDelegate<void(TObject* Sender, TRect& ARect)>;
using TcxDrawThumbEvent = TDelegate<void(TObject* Sender, TcxCanvas* ACanvas, const TRect& ARect)>;

// The integer an edit value stands for: Null, Empty and values of other
// kinds give Fallback; ordinals and integer texts (decimal or "$"/"0x"
// hexadecimal, blanks around) are read whole, beyond the integer range
// clamped to its ends.
Integer TrackBarValueToInteger(const Variant& Value, Integer Fallback);

class TcxCustomTrackBarProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TcxCustomTrackBarProperties)

 public:
  explicit TcxCustomTrackBarProperties(TPersistent* AOwner);
  ~TcxCustomTrackBarProperties() override;

  void Assign(TPersistent* Source) override;

  TClass EditClass() override;
  TcxContainerStyleClass StyleClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  bool HasSeparateChangeEvents() override { return false; }
  bool ComparesEditValues() override { return true; }
  Cardinal SupportedOperations() override { return 10253; }
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  std::u16string DisplayTextOf(const Variant& Value, bool FullText) override;
  virtual Integer ClampValue(Integer Value) const;

  Integer ValueToInteger(const Variant& Value) const { return TrackBarValueToInteger(Value, FMin); }
  // Max - Min, at least 1.
  Int64 Range() const;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  Integer Frequency() const { return FFrequency; }
  void SetFrequency(Integer Value);
  Integer Min() const { return FMin; }
  void SetMin(Integer Value);
  Integer Max() const { return FMax; }
  void SetMax(Integer Value);
  TcxTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TcxTrackBarOrientation Value);
  TcxTrackBarTextOrientation TextOrientation() const { return FTextOrientation; }
  void SetTextOrientation(TcxTrackBarTextOrientation Value);
  TcxNaturalNumber PageSize() const { return FPageSize; }
  void SetPageSize(TcxNaturalNumber Value);
  Integer SelectionStart() const { return FSelectionStart; }
  void SetSelectionStart(Integer Value);
  Integer SelectionEnd() const { return FSelectionEnd; }
  void SetSelectionEnd(Integer Value);
  // The selection as the control extends it: no change notice.
  void WriteSelection(Integer AStart, Integer AEnd) {
    FSelectionStart = AStart;
    FSelectionEnd = AEnd;
  }
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor Value);
  bool ShowTicks() const { return FShowTicks; }
  void SetShowTicks(bool Value);
  TcxTrackBarThumbType ThumbType() const { return FThumbType; }
  void SetThumbType(TcxTrackBarThumbType Value);
  bool ShowTrack() const { return FShowTrack; }
  void SetShowTrack(bool Value);
  TColor TickColor() const { return FTickColor; }
  void SetTickColor(TColor Value);
  TcxTrackBarTickType TickType() const { return FTickType; }
  void SetTickType(TcxTrackBarTickType Value);
  TcxTrackBarTickMarks TickMarks() const { return FTickMarks; }
  void SetTickMarks(TcxTrackBarTickMarks Value);
  TcxNaturalNumber TickSize() const { return FTickSize; }
  void SetTickSize(TcxNaturalNumber Value);
  TColor TrackColor() const { return FTrackColor; }
  void SetTrackColor(TColor Value);
  Integer TrackSize() const { return FTrackSize; }
  void SetTrackSize(Integer Value);
  Integer ThumbHeight() const { return FThumbHeight; }
  void SetThumbHeight(Integer Value);
  Integer ThumbWidth() const { return FThumbWidth; }
  void SetThumbWidth(Integer Value);
  TColor ThumbColor() const { return FThumbColor; }
  void SetThumbColor(TColor Value);
  TColor ThumbHighlightColor() const { return FThumbHighlightColor; }
  void SetThumbHighlightColor(TColor Value);
  TcxTrackBarThumbStep ThumbStep() const { return FThumbStep; }
  void SetThumbStep(TcxTrackBarThumbStep Value) { FThumbStep = Value; }

  TcxDrawThumbEvent OnDrawThumb;
  TcxGetThumbRectEvent OnGetThumbRect;

 private:
  template <typename T>
  void Change(T& Field, T Value);

  bool FAutoSize = true;
  Integer FBorderWidth = 0;
  Integer FFrequency = 1;
  Integer FMin = 0;
  Integer FMax = 10;
  TcxTrackBarOrientation FOrientation = tboHorizontal;
  TcxTrackBarTextOrientation FTextOrientation = tbtoHorizontal;
  TcxNaturalNumber FPageSize = 1;
  Integer FSelectionStart = 0;
  Integer FSelectionEnd = 0;
  TColor FSelectionColor = clHighlight;
  bool FShowTicks = true;
  TcxTrackBarThumbType FThumbType = cxttRegular;
  bool FShowTrack = true;
  TColor FTickColor = clWindowText;
  TcxTrackBarTickType FTickType = tbttTicks;
  TcxTrackBarTickMarks FTickMarks = cxtmBottomRight;
  TcxNaturalNumber FTickSize = 3;
  TColor FTrackColor = clWindow;
  Integer FTrackSize = 5;
  Integer FThumbHeight = 12;
  Integer FThumbWidth = 7;
  TColor FThumbColor = clBtnFace;
  TColor FThumbHighlightColor = clSilver;
  TcxTrackBarThumbStep FThumbStep = cxtsNormal;
};

class TcxTrackBarProperties : public TcxCustomTrackBarProperties {
  VXN_DECLARE_CLASS(TcxTrackBarProperties)

 public:
  using TcxCustomTrackBarProperties::TcxCustomTrackBarProperties;
};

// No border and no hot tracking unless set.
class TcxTrackBarStyle : public TcxEditStyle {
  VXN_DECLARE_CLASS(TcxTrackBarStyle)

 public:
  using TcxEditStyle::TcxEditStyle;
  TcxContainerBorderStyle DefaultBorderStyle() override;
  bool DefaultHotTrack() override { return false; }
};

class TcxCustomTrackBar;

// Mouse flags of the view info.
inline constexpr Byte tbfMouseOver = 1;
inline constexpr Byte tbfHotThumb = 2;
inline constexpr Byte tbfDragging = 4;

// Theme states of track and thumb.
inline constexpr Integer tbsNormal = 1;
inline constexpr Integer tbsHot = 2;
inline constexpr Integer tbsPressed = 3;
inline constexpr Integer tbsDisabled = 5;

class TcxCustomTrackBarViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxCustomTrackBarViewInfo)

 public:
  TcxCustomTrackBarViewInfo();
  ~TcxCustomTrackBarViewInfo() override;

  void AssignFrom(TcxContainerViewInfo* Source) override;
  void DrawTo(TcxCanvas* ACanvas) override;
  void OffsetBy(Integer DX, Integer DY) override;
  // The whole bar answers the mouse as one button.
  bool AnyButtonPressed() override { return true; }
  bool PointOnButton(const TPoint& P) override {
    (void)P;
    return true;
  }
  bool TextAtPoint(const TPoint& P, std::string& AText) override {
    (void)P;
    AText.clear();
    return false;
  }
  void DrawTextContent(TcxCanvas* ACanvas) override { (void)ACanvas; }

  virtual void DrawTrack(TcxCanvas* ACanvas);
  virtual void DrawSelection(TcxCanvas* ACanvas);
  virtual void DrawTicks(TcxCanvas* ACanvas);
  virtual void DrawThumb(TcxCanvas* ACanvas);
  // The thumb's hit-test rect in control coordinates.
  virtual TRect GetThumbRect();
  virtual Integer NativeThumbPart();
  virtual void DrawParts(TcxCanvas* ACanvas);

  TcxCustomTrackBarProperties* TrackProperties() const {
    return static_cast<TcxCustomTrackBarProperties*>(Properties);
  }
  // Drawn with the visual style's TrackBar class.
  bool IsNative();
  // Where value V lies along the track (the thumb's near edge).
  Integer ValuePixel(Int64 V) const;
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  TBitmap* Bitmap() const { return FBitmap.get(); }
  // The bitmap's canvas: it measures for the layout too, when the control's
  // own canvas has no device outside painting.
  TcxCanvas* BitmapCanvas() const { return FBitmapCanvas.get(); }

  Integer Position = 0;
  Integer BorderWidth = 0;
  Integer TrackSize = 0;
  Integer ThumbAlong = 0;
  Integer ThumbAcross = 0;
  Integer ThumbHeight = 0;
  Integer ThumbWidth = 0;
  Integer SelectionStart = 0;
  Integer SelectionEnd = 0;
  bool SelectionVisible = false;
  TColor TickColorInUse = clWindowText;
  bool OneSidedTicks = true;
  Integer ThumbState = tbsNormal;
  double PixelsPerUnit = 0;
  TRect ClientCopy;
  TRect W;
  TRect ThumbBand;
  TRect TrackRect;
  TRect ThumbRect;
  TRect SelectionRect;
  // The thumb's hit-test rect (control coordinates) of the last layout.
  TRect HitThumbRect;
  Integer Margin = 7;
  Byte MouseFlags = 0;

 private:
  void DrawPointedThumb(TcxCanvas* ACanvas, ArrowDirection ADirection, TColor AColor);
  void DrawMark(TcxCanvas* ACanvas, Int64 N, Integer R, bool IsEnd, const win::LOGFONT* ARotatedFont);
  void DrawBackground(TcxCanvas* ACanvas);

  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TcxCanvas> FBitmapCanvas;
};

class TcxCustomTrackBarViewData : public TcxCustomEditViewData {
  VXN_DECLARE_CLASS(TcxCustomTrackBarViewData)

 public:
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;

  virtual void CalculateTrackBarLayout(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateWorkingRect(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateThumbBand(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo);
  virtual Integer TickAreaSize(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo, bool ATopLeft);
  virtual void CalculateTrackRect(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateScale(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateThumbRect(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateSelectionRect(TcxCustomTrackBarViewInfo* AViewInfo);

  TcxCustomTrackBarProperties* TrackProperties() const {
    return static_cast<TcxCustomTrackBarProperties*>(Properties);
  }
  // The editor laid out (its edit value gives the position); nil when a
  // host paints a value.
  TcxCustomTrackBar* TrackBar = nullptr;

 private:
  // The rect of a custom thumb from OnGetThumbRect; false without one.
  bool CustomThumbRect(TRect& R);
};

class TcxCustomTrackBar : public TcxCustomEdit {
  VXN_DECLARE_CLASS(TcxCustomTrackBar)

 public:
  explicit TcxCustomTrackBar(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomTrackBar() override;

  TcxCustomTrackBarProperties* ActiveTrackProperties() {
    return static_cast<TcxCustomTrackBarProperties*>(ActiveProperties());
  }
  TcxCustomTrackBarProperties* Properties() const {
    return static_cast<TcxCustomTrackBarProperties*>(TcxCustomEdit::Properties());
  }
  void SetProperties(TcxCustomTrackBarProperties* Value) { TcxCustomEdit::SetProperties(Value); }
  TcxCustomTrackBarViewInfo* TrackViewInfo() const { return static_cast<TcxCustomTrackBarViewInfo*>(ViewInfo()); }

  Integer Position();
  void SetPosition(Integer Value);
  bool Selecting() const { return FSelecting; }
  Integer SelectionAnchor() const { return FSelectionAnchor; }

  void SetPositionByUser(Integer Value);
  void ExtendSelection(Integer Value);
  // The value at a point of the control, by the last layout.
  Integer PointToValue(const TPoint& P);

  bool HandlesNavigationKeys() override { return true; }
  // One line, as wide as the text rect of the last layout.
  void AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) override;
  void UpdateTextFromEditValue() override { RecalculateAtCursor(false); }
  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;

 protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void NotifyMouseEnter(TControl* AControl) override;
  void NotifyMouseLeave(TControl* AControl) override;
  void WndProc(TMessage& Message) override;

 private:
  Integer KeyToPosition(Word Key);
  bool ThumbHit(const TPoint& P);

  bool FSelecting = false;
  Integer FSelectionAnchor = 0;
};

class TcxTrackBar : public TcxCustomTrackBar {
  VXN_DECLARE_CLASS(TcxTrackBar)

 public:
  using TcxCustomTrackBar::TcxCustomTrackBar;
  TcxTrackBarStyle* Style() const { return static_cast<TcxTrackBarStyle*>(TcxCustomTrackBar::Style()); }
};

// A track-bar column's filter value is edited in a spin edit over the bar's
// range, paging as the bar does.
class TcxFilterTrackBarHelper : public TcxFilterSpinEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterTrackBarHelper)

 public:
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;

 protected:
  TcxFilterTrackBarHelper() = default;
};

// Start-up and finish, counted: the first start registers the classes, the
// editor kind and its filter helper; the last finish removes the kind and
// the helper again.
void InitializeTrackBar();
void FinalizeTrackBar();
