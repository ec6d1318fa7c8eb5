// The suite's check box: a full editor whose edit value is any Variant and
// whose visible state (unchecked, checked, grayed) is found by comparing
// that value with three configurable values. It draws itself, no button
// window: a check image (the Button visual style, a classic frame with the
// system's check mark, or a strip of user images) and a caption.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/ActnList.h"
#include "platform/forms/Graphics.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxTextEditViewInfo.h"

VXN_ENUM(TcxCheckBoxState, cbsUnchecked, cbsChecked, cbsGrayed)
VXN_ENUM(TcxCheckBoxNullValueShowingStyle, nssUnchecked, nssInactive, nssGrayedChecked)

// The state of the check image's button.
using TcxCheckButtonState = Integer;
inline constexpr TcxCheckButtonState cxCheckButtonNormal = 0;
inline constexpr TcxCheckButtonState cxCheckButtonHot = 1;
inline constexpr TcxCheckButtonState cxCheckButtonPressed = 2;
inline constexpr TcxCheckButtonState cxCheckButtonDisabled = 3;

class TcxCustomCheckBox;

class TcxCustomCheckBoxProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TcxCustomCheckBoxProperties)

 public:
  explicit TcxCustomCheckBoxProperties(TPersistent* AOwner);
  ~TcxCustomCheckBoxProperties() override;

  void Assign(TPersistent* Source) override;
  TClass EditClass() override;
  TcxContainerStyleClass StyleClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  bool IsEditValueValid(Variant& Value, bool Focused) override;
  bool EditValuesEqual(const Variant& A, const Variant& B) override;
  std::u16string DisplayTextOf(const Variant& Value, bool FullText) override;
  bool IsActivationChar(char32_t Ch) override { return Ch == U' '; }
  bool HasSeparateChangeEvents() override { return true; }
  bool ComparesEditValues() override { return true; }
  Cardinal SupportedOperations() override { return 0x2D2D; }

  // The state a value shows: checked when it equals ValueChecked, else
  // unchecked when it equals ValueUnchecked, else grayed.
  TcxCheckBoxState StateOfValue(const Variant& Value);
  // True when the value is none of the three values.
  bool IsForeignValue(const Variant& Value);

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool CaptionAssigned() const { return FCaptionAssigned; }
  void ClearCaptionAssigned() { FCaptionAssigned = false; }
  const std::u16string& DisplayChecked() const { return FDisplayChecked; }
  void SetDisplayChecked(const std::u16string& Value);
  const std::u16string& DisplayUnchecked() const { return FDisplayUnchecked; }
  void SetDisplayUnchecked(const std::u16string& Value);
  const std::u16string& DisplayGrayed() const { return FDisplayGrayed; }
  void SetDisplayGrayed(const std::u16string& Value);
  bool FullFocusRect() const { return FFullFocusRect; }
  void SetFullFocusRect(bool Value);
  // Made empty on first read.
  TBitmap* Glyph();
  void SetGlyph(TBitmap* Value);
  bool HasGlyphBitmap() const { return FGlyph != nullptr; }
  Integer GlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(Integer Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TcxCheckBoxNullValueShowingStyle NullStyle() const { return FNullStyle; }
  void SetNullStyle(TcxCheckBoxNullValueShowingStyle Value);
  bool UseAlignmentWhenInplace() const { return FUseAlignmentWhenInplace; }
  void SetUseAlignmentWhenInplace(bool Value);
  Variant ValueChecked() const { return FValueChecked; }
  void SetValueChecked(const Variant& Value);
  Variant ValueGrayed() const { return FValueGrayed; }
  void SetValueGrayed(const Variant& Value);
  Variant ValueUnchecked() const { return FValueUnchecked; }
  void SetValueUnchecked(const Variant& Value);
  // The horizontal part of the editor alignment.
  TAlignment HorzAlignment() { return Alignment()->Horz(); }
  void SetHorzAlignment(TAlignment Value) { Alignment()->SetHorz(Value); }

  bool IsDisplayCheckedStored() const;
  bool IsDisplayUncheckedStored() const;
  bool IsDisplayGrayedStored() const;
  bool IsValueCheckedStored() const;
  bool IsValueGrayedStored() const;
  bool IsValueUncheckedStored() const;

 private:
  void GlyphChanged(TObject*) { NotifyChanged(); }

  bool FAllowGrayed = false;
  std::string FCaption;
  bool FCaptionAssigned = false;
  std::u16string FDisplayChecked;
  std::u16string FDisplayUnchecked;
  std::u16string FDisplayGrayed;
  bool FFullFocusRect = false;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FGlyphCount = 6;
  bool FMultiLine = false;
  TcxCheckBoxNullValueShowingStyle FNullStyle = nssGrayedChecked;
  bool FUseAlignmentWhenInplace = false;
  Variant FValueChecked;
  Variant FValueGrayed;
  Variant FValueUnchecked;
};

class TcxCheckBoxProperties : public TcxCustomCheckBoxProperties {
  VXN_DECLARE_CLASS(TcxCheckBoxProperties)

 public:
  using TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties;
};

// A check box has no container border: every extent is zero.
class TcxCheckBoxStyle : public TcxEditStyle {
  VXN_DECLARE_CLASS(TcxCheckBoxStyle)

 public:
  using TcxEditStyle::TcxEditStyle;
  bool IsStyleActive() override { return false; }
};

class TcxCustomCheckBoxViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxCustomCheckBoxViewInfo)

 public:
  void InternalPaint(TcxCanvas* ACanvas) override;
  void AssignFrom(TcxContainerViewInfo* Source) override;
  std::unique_ptr<TcxRegion> ChangedRegion(TcxContainerViewInfo* AViewInfo) override;
  void OffsetBy(Integer DX, Integer DY) override;
  bool RepaintChanges(TWinControl* AControl, const TRect& AExcludeRect, TcxCustomEditViewInfo* AOld) override;
  bool HasHotButton() override { return true; }
  bool PointOnButton(const TPoint&) override { return true; }
  bool TextAtPoint(const TPoint&, std::string& AText) override {
    AText.clear();
    return false;
  }

  TcxCheckBoxState CheckState = cbsUnchecked;
  TcxCheckButtonState CheckButtonState = cxCheckButtonNormal;
  TAlignment Alignment = taLeftJustify;
  TcxEditBorderStyle CheckBorderStyle = ebsNone;
  Integer CheckBorderOffset = 0;
  TBitmap* Glyph = nullptr;  // the properties', not owned
  Integer GlyphCount = 0;
  bool HasGlyph = false;
  bool TextColorAssigned = false;
  TcxCheckBoxNullValueShowingStyle NullStyle = nssGrayedChecked;
  // 0 when the check is not drawn by the visual style.
  Integer NativeState = 0;
  TcxCustomCheckBox* CheckBox = nullptr;
  TRect CheckRect;
  TRect FocusRect;
  // Whether the edit shows its parent's background (not in place).
  bool ParentBackground = false;
};

class TcxCustomCheckBoxViewData : public TcxCustomEditViewData {
  VXN_DECLARE_CLASS(TcxCustomCheckBoxViewData)

 public:
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue, TcxCustomEditViewInfo* AViewInfo) override;
  void MeasureFixedPart(TcxCanvas* ACanvas, bool AIsInplace, const TcxEditSizeLimits& ALimits, TSize& AExtraSize,
                        TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize) override;
  TcxEditBorderStyle EffectiveBorderStyle() override { return ebsNone; }
  // No border: the extents are the in-place margins alone.
  void BorderExtent(TRect& R) override;
  void ClientExtent(TcxCanvas* ACanvas, TRect& R) override;

  TcxTextFlags TextFlags();
  TcxCustomCheckBoxProperties* CheckProperties() const {
    return static_cast<TcxCustomCheckBoxProperties*>(Properties);
  }

  TcxCustomCheckBox* CheckBox = nullptr;
  // An in-place host shows the caption too.
  bool ShowsCaptionInplace = false;
  // Paints the checked look whatever the value (a host's sample).
  bool UseFixedCheckedLook = false;
  // The in-place paint option that asks for a focus rectangle.
  bool InplaceFocusRect = false;

 private:
  TAlignment AlignmentInForce();
  void CalculateCheckBoxRects(TcxCustomCheckBoxViewInfo& AViewInfo, const TSize& AImageSize);
  TcxCheckButtonState CalculateButtonState(const TPoint& P, Integer AButton, TShiftState AShift,
                                           TcxCheckButtonState AOld);
  void CalculateCheckFocusRect(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo& AViewInfo);
};

class TcxCheckBoxActionLink : public TControlActionLink {
  VXN_DECLARE_CLASS(TcxCheckBoxActionLink)

 public:
  using TControlActionLink::TControlActionLink;
  bool IsCheckedLinked() const override;
  // Sets Checked with no click and no change events.
  void SetCheckedQuietly(bool Value);

 protected:
  void SetChecked(bool Value) override;
  TcxCustomCheckBox* CheckBox() const;
};

class TcxCustomCheckBox : public TcxCustomEdit {
  VXN_DECLARE_CLASS(TcxCustomCheckBox)

 public:
  explicit TcxCustomCheckBox(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomCheckBox() override;

  TcxCustomCheckBoxProperties* ActiveCheckProperties() {
    return static_cast<TcxCustomCheckBoxProperties*>(ActiveProperties());
  }
  TcxCustomCheckBoxViewInfo* CheckViewInfo() const { return static_cast<TcxCustomCheckBoxViewInfo*>(ViewInfo()); }

  bool Checked() { return State() == cbsChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbsChecked : cbsUnchecked); }
  TcxCheckBoxState State();
  void SetState(TcxCheckBoxState Value);
  bool IsStateStored();
  bool SpaceHeld() const { return FSpaceHeld; }
  bool InsideFinishLoading() const { return FInsideFinishLoading; }
  bool StateAssignedWhileLoading() const { return FStateAssignedWhileLoading; }

  // The user's click: checked, unchecked, grayed (when allowed) in turn.
  void CycleState();

  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag) override;
  bool DefaultParentColor() override { return true; }
  // Sizes itself; the editor base's measured auto-size does not apply.
  bool AutoSizeEnabled() override { return false; }
  // No border and no transparent border: the window is not clipped.
  TRect GetBorderExtents() override { return {}; }
  bool AllowsClickWhileLoading() override { return IsDataAware(); }
  bool UsesParentBackground() override;
  bool NeedsParentBackground() override { return UsesParentBackground() || IsTransparent(); }
  // The background's source changed: lay out and paint again.
  void ParentBackgroundChanged() override {
    RecalculateAtCursor(false);
    Invalidate();
  }
  void ApplyEditValue(const Variant& Value) override;
  void PropertiesChanged(TObject* Sender) override;
  void ClearEditValue() override { SetChecked(false); }
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override;
  TcxContainerStyleValues GetUnstoredStyleValues() override;
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  // Transparent, with a new layout and a repaint.
  void SetTransparentLook(bool Value);
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }

  // The layout of the view data for the control now (tests and hosts).
  std::unique_ptr<TcxCustomCheckBoxViewData> CreateLayoutViewData();

 protected:
  friend class TcxCheckBoxActionLink;
  TcxCustomCheckBox(TComponent* AOwner, bool AIsInplace, TcxCustomEditPropertiesClass APropertiesClass);
  void Loaded() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoExit() override;
  void WMLButtonUp(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMParentColorChanged(TMessage& Message) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  std::unique_ptr<TControlActionLink> CreateActionLink() override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;

 private:
  void InvalidateCheckArea();
  void FinishLoading();

  bool FSpaceHeld = false;
  bool FInsideFinishLoading = false;
  bool FStateAssignedWhileLoading = false;
  TcxCheckBoxState FLoadedState = cbsUnchecked;
  Integer FLastButton = cxmbNone;
  TShiftState FLastShift;
};

class TcxCheckBox : public TcxCustomCheckBox {
  VXN_DECLARE_CLASS(TcxCheckBox)

 public:
  explicit TcxCheckBox(TComponent* AOwner, bool AIsInplace = false);
};

class TcxEditRepositoryCheckBoxItem : public TcxEditRepositoryItemOf<TcxCheckBoxProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryCheckBoxItem)

 public:
  explicit TcxEditRepositoryCheckBoxItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// Paints a check image into R: a glyph strip's cell, the Button visual
// style's check part, or a frame by the border style with the system's
// check mark.
struct TcxEditCheckParams {
  TcxCheckBoxState State = cbsUnchecked;
  TcxCheckBoxNullValueShowingStyle NullStyle = nssGrayedChecked;
  bool Focused = false;
  bool IsDesigning = false;
  bool Fill = true;
  TColor FillColor = clWindow;
  TColor BorderColor = clBtnShadow;
  bool Native = false;
  TcxEditBorderStyle BorderStyle = ebs3D;
  Integer GlyphCount = 0;
  TBitmap* Glyph = nullptr;
  TcxCheckButtonState ButtonState = cxCheckButtonNormal;
};
void DrawEditCheck(TcxCanvas* ACanvas, const TRect& R, const TcxEditCheckParams& AParams);
// The glyph strip's cell for a state; cells repeat by threes.
Integer CheckGlyphIndex(TcxCheckBoxState AState, TcxCheckButtonState AButtonState, Integer AGlyphCount);
// The check border style that a hot-tracked check box shows.
TcxEditBorderStyle CheckBorderStyleFor(Integer AHoverLevel, TcxEditBorderStyle ABorderStyle);

// The system check image's size and the check mark's mask (black where the
// checked image differs from the unchecked one), made at start-up.
TSize SystemCheckSize();
TBitmap* CheckMarkMask();

// Start-up: the mask, the classes and the editor kind; the finish frees the
// mask after the last start.
void InitializeCheckBox();
void FinalizeCheckBox();
