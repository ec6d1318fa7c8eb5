// The progress bar: a display-only editor whose value, a number between Min
// and Max, is shown as a bar (solid, in LEDs, as a gradient, in gradient
// LEDs, or patterned with a bitmap, whole or in LEDs), with an optional
// overload zone in colours of its own beyond OverloadValue, a peak marker
// at the highest value shown, and a text (the percentage or the value). It
// takes no keys and no focus outside a grid cell.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/EditorHelpers.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditProperties.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxFilterEditHelpers.h"
#include "suite/editors/cxTextEditViewInfo.h"

VXN_ENUM(TcxProgressBarBarStyle, cxbsSolid, cxbsLEDs, cxbsGradient, cxbsGradientLEDs, cxbsBitmap, cxbsBitmapLEDs)
VXN_ENUM(TcxProgressBarBevelOuter, cxbvNone, cxbvLowered, cxbvRaised)
// A vertical bar fills from the bottom up; vertical text runs downward.
VXN_ENUM(TcxProgressBarOrientation, cxorHorizontal, cxorVertical)
VXN_ENUM(TcxProgressBarTextStyle, cxtsPercent, cxtsPosition)

// A margin in pixels, 0..65535.
using TcxBorderWidth = Word;

// The editor operations a progress bar supports.
inline constexpr Cardinal esoProgressBarOperations = 0x809;

class TcxCustomProgressBarViewInfo;

class TcxCustomProgressBarProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TcxCustomProgressBarProperties)

 public:
  explicit TcxCustomProgressBarProperties(TPersistent* AOwner);
  ~TcxCustomProgressBarProperties() override;

  // Copies the settings through their setters, inside one change lock.
  void Assign(TPersistent* Source) override;

  TClass EditClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  bool HasSeparateChangeEvents() override { return true; }
  bool ComparesEditValues() override { return true; }
  Cardinal SupportedOperations() override { return esoProgressBarOperations; }
  // Always a number: a text that reads wholly as a number, or a numeric or
  // date value as it is; anything else is 0.
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  // The converted value's text, with " %" after it in the percent style.
  std::u16string DisplayTextOf(const Variant& Value, bool FullText) override;

  // Keeps the view info's Position within Min..Max (when Min < Max).
  virtual void ClampViewInfoPosition(TcxCustomProgressBarViewInfo* AViewInfo);

  // The peak to show at APosition: the stored peak within Min..Max, raised
  // to APosition. A higher peak is kept, silently, so that the stored peak
  // follows the highest position shown whether or not the marker is on.
  Double EffectivePeakValue(Double APosition);

  TcxProgressBarBevelOuter BarBevelOuter() const { return FBarBevelOuter; }
  void SetBarBevelOuter(TcxProgressBarBevelOuter Value);
  TcxProgressBarBarStyle BarStyle() const { return FBarStyle; }
  void SetBarStyle(TcxProgressBarBarStyle Value);
  TColor BeginColor() const { return FBeginColor; }
  void SetBeginColor(TColor Value);
  TcxBorderWidth BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TcxBorderWidth Value);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor Value);
  // Reading makes an empty image when there is none; its changes notify.
  TBitmap* ForegroundImage();
  // Nil frees the image; a bitmap is copied.
  void SetForegroundImage(TBitmap* Value);
  // The image when there is one, without making it.
  TBitmap* ForegroundImageIfAny() const { return FForegroundImage.get(); }
  bool IsForegroundImageStored() const { return FForegroundImage && !FForegroundImage->Empty(); }
  // A new Min above Max drags Max (and OverloadValue and PeakValue) up.
  Double Min() const { return FMin; }
  void SetMin(Double Value);
  bool IsMinStored() const { return FMin != 0; }
  // A Max not above Min is ignored.
  Double Max() const { return FMax; }
  void SetMax(Double Value);
  bool IsMaxStored() const { return FMax != 100; }
  TcxProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TcxProgressBarOrientation Value);
  TColor OverloadBeginColor() const { return FOverloadBeginColor; }
  void SetOverloadBeginColor(TColor Value);
  TColor OverloadEndColor() const { return FOverloadEndColor; }
  void SetOverloadEndColor(TColor Value);
  // Kept within Min..Max.
  Double OverloadValue() const { return FOverloadValue; }
  void SetOverloadValue(Double Value);
  bool IsOverloadValueStored() const { return FOverloadValue != 80; }
  TColor PeakColor() const { return FPeakColor; }
  void SetPeakColor(TColor Value);
  TcxNaturalNumber PeakSize() const { return FPeakSize; }
  void SetPeakSize(TcxNaturalNumber Value);
  // Stored as given; painting clamps it.
  Double PeakValue() const { return FPeakValue; }
  void SetPeakValue(Double Value);
  bool IsPeakValueStored() const { return FPeakValue != 0; }
  bool ShowOverload() const { return FShowOverload; }
  void SetShowOverload(bool Value);
  bool ShowPeak() const { return FShowPeak; }
  void SetShowPeak(bool Value);
  bool ShowText() const { return FShowText; }
  void SetShowText(bool Value);
  TcxProgressBarTextStyle ShowTextStyle() const { return FShowTextStyle; }
  void SetShowTextStyle(TcxProgressBarTextStyle Value);
  bool SolidTextColor() const { return FSolidTextColor; }
  void SetSolidTextColor(bool Value);
  TcxProgressBarOrientation TextOrientation() const { return FTextOrientation; }
  void SetTextOrientation(TcxProgressBarOrientation Value);
  bool TransparentImage() const { return FTransparentImage; }
  void SetTransparentImage(bool Value);

 private:
  void ForegroundImageChanged(TObject*) { NotifyChanged(); }
  template <typename T>
  void Change(T& Field, T Value);

  TcxProgressBarBevelOuter FBarBevelOuter = cxbvNone;
  TcxProgressBarBarStyle FBarStyle = cxbsSolid;
  TColor FBeginColor = clNavy;
  TcxBorderWidth FBorderWidth = 0;
  TColor FEndColor = clWhite;
  std::unique_ptr<TBitmap> FForegroundImage;
  Double FMin = 0;
  Double FMax = 100;
  TcxProgressBarOrientation FOrientation = cxorHorizontal;
  TColor FOverloadBeginColor = static_cast<TColor>(0x8080FF);
  TColor FOverloadEndColor = clFuchsia;
  Double FOverloadValue = 80;
  TColor FPeakColor = clRed;
  TcxNaturalNumber FPeakSize = 2;
  Double FPeakValue = 0;
  bool FShowOverload = false;
  bool FShowPeak = false;
  bool FShowText = true;
  TcxProgressBarTextStyle FShowTextStyle = cxtsPercent;
  bool FSolidTextColor = false;
  TcxProgressBarOrientation FTextOrientation = cxorHorizontal;
  bool FTransparentImage = true;
};

// The laid-out bar and its painting. Rectangles are in the editor's
// coordinates; the bar is drawn off screen over DrawingArea and copied in
// one step.
class TcxCustomProgressBarViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxCustomProgressBarViewInfo)

 public:
  TcxCustomProgressBarViewInfo();
  ~TcxCustomProgressBarViewInfo() override;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void OffsetBy(Integer DX, Integer DY) override;
  bool TextAtPoint(const TPoint& P, std::string& AText) override;
  Integer TextPositionAtPoint(const TPoint& P) override {
    (void)P;
    return 0;
  }
  // The bar draws its text itself.
  void DrawTextContent(TcxCanvas* ACanvas) override { (void)ACanvas; }

  virtual void PaintProgressBar(TcxCanvas* ACanvas);

  // Max - Min, but at least 1.
  Double BarRange() const;
  // The text of the bar: the percentage or the position.
  std::string BarText() const;

  TColor BeginColor = clNavy;
  TColor EndColor = clWhite;
  TcxProgressBarBevelOuter BarBevelOuter = cxbvNone;
  Double Min = 0;
  Double Max = 100;
  // The value being shown.
  Double Position = 0;
  // The prepared pattern of the bitmap styles.
  std::unique_ptr<TBitmap> ForegroundImage;
  TcxProgressBarOrientation Orientation = cxorHorizontal;
  bool ShowText = true;
  TcxProgressBarTextStyle ShowTextStyle = cxtsPercent;
  TcxProgressBarOrientation TextOrientation = cxorHorizontal;
  bool SolidTextColor = false;
  TcxProgressBarBarStyle BarStyle = cxbsSolid;
  Double OverloadValue = 80;
  TColor OverloadBeginColor = static_cast<TColor>(0x8080FF);
  TColor OverloadEndColor = clFuchsia;
  bool ShowOverload = false;
  // The effective peak.
  Double PeakValue = 0;
  TColor PeakColor = clRed;
  TcxNaturalNumber PeakSize = 2;
  bool ShowPeak = false;
  bool OverloadVisible = false;
  bool PeakVisible = false;
  TRect DrawingArea;
  TRect BarRect;
  TRect OverloadRect;
  TRect PeakRect;
};

// Lays a progress bar out for a style and bounds.
class TcxCustomProgressBarViewData : public TcxCustomEditViewData {
  VXN_DECLARE_CLASS(TcxCustomProgressBarViewData)

 public:
  // Introduced here, in slot order.
  virtual void FillFromProperties(TcxCustomProgressBarViewInfo* AViewInfo);
  // Measuring takes the text without flags.
  virtual TcxTextRowsFlags MeasureTextFlags() { return 0; }

  // The value to show: the edit value (a sample 30 in sample mode) as a
  // number, kept in the range.
  void CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue, TcxCustomEditViewInfo* AViewInfo) override;
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void MeasureFixedPart(TcxCanvas* ACanvas, bool AIsInplace, const TcxEditSizeLimits& ALimits, TSize& AExtraSize,
                        TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize) override;

  TcxCustomProgressBarProperties* BarProperties() const {
    return static_cast<TcxCustomProgressBarProperties*>(Properties);
  }
};

// Publishes the settings.
class TcxProgressBarProperties : public TcxCustomProgressBarProperties {
  VXN_DECLARE_CLASS(TcxProgressBarProperties)

 public:
  using TcxCustomProgressBarProperties::TcxCustomProgressBarProperties;
};

// Shared progress bar settings of a repository.
class TcxEditRepositoryProgressBarItem : public TcxEditRepositoryItemOf<TcxProgressBarProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryProgressBarItem)

 public:
  explicit TcxEditRepositoryProgressBarItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// The control. Its layout comes from the properties' view data; writing
// Position keeps it in the range except while a form is loading (the first
// change of the properties after loading pulls it in).
class TcxCustomProgressBar : public TcxCustomEdit {
  VXN_DECLARE_CLASS(TcxCustomProgressBar)

 public:
  explicit TcxCustomProgressBar(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomProgressBar() override;

  TcxCustomProgressBarProperties* ActiveProperties() {
    return static_cast<TcxCustomProgressBarProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomProgressBarProperties* Properties() const {
    return static_cast<TcxCustomProgressBarProperties*>(TcxCustomEdit::Properties());
  }
  void SetProperties(TcxCustomProgressBarProperties* Value) { TcxCustomEdit::SetProperties(Value); }
  TcxCustomProgressBarViewInfo* ViewInfo() const {
    return static_cast<TcxCustomProgressBarViewInfo*>(TcxCustomEdit::ViewInfo());
  }

  // The value being shown.
  Double Position() const { return ViewInfo()->Position; }
  void SetPosition(Double Value) { AssignPosition(Value); }
  bool IsPositionStored() const { return Position() != 0; }

  // Introduced here, in slot order.
  // Pulls the edit value into Min..Max.
  virtual void ClampPositionToRange();
  // The same, unless in place, data-aware or before the inner edit exists.
  virtual void ClampPositionWhenReady();

  using TcxCustomEdit::PropertiesChanged;
  void PropertiesChanged(TObject* Sender) override;
  void UpdateTextFromEditValue() override;
  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;
  bool CanFocus() override { return IsInplace(); }
  bool DefaultParentColor() override { return true; }
  // One line, as wide as the text rect of the last layout.
  void AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) override;
  TcxContainerStyleValues GetUnstoredStyleValues() override;


 protected:
  void AssignPosition(Double Value);
  bool CanFocusOnClick() override { return IsInplace() && TcxCustomEdit::CanFocusOnClick(); }

 private:
  Double ConvertedPosition();
};

// Publishes Position, Properties and the control's properties and events.
class TcxProgressBar : public TcxCustomProgressBar {
  VXN_DECLARE_CLASS(TcxProgressBar)

 public:
  explicit TcxProgressBar(TComponent* AOwner) : TcxCustomProgressBar(AOwner) {}
};

// A progress-bar column's filter value is edited in a spin edit over the
// bar's range.
class TcxFilterProgressBarHelper : public TcxFilterSpinEditHelper {
  VXN_DECLARE_FILTER_EDIT_HELPER(TcxFilterProgressBarHelper)

 public:
  void InitializeProperties(TcxCustomEditProperties* ADest, TcxCustomEditProperties* ASource,
                            bool AKeepButtons) const override;

 protected:
  TcxFilterProgressBarHelper() = default;
};

// Start-up and finish, counted: the first start registers the classes, the
// editor kind and its filter helper; the last finish removes the kind and
// the helper again. Not InitializeProgressBar: the forms library's progress
// bar has that name.
void InitializeEditProgressBar();
void FinalizeEditProgressBar();
