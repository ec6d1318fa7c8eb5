#include "suite/editors/cxCheckBox.h"

#include <algorithm>
#include <climits>

#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Messages.h"
#include "platform/win/OwnBitmaps.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxSolidBrushCache.h"
#include "suite/foundation/cxClasses.h"
#include "suite/foundation/cxVariants.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomCheckBoxProperties, TcxCustomEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCheckBoxProperties, TcxCustomCheckBoxProperties)
VXN_IMPLEMENT_CLASS(TcxCheckBoxStyle, TcxEditStyle)
VXN_IMPLEMENT_CLASS(TcxCustomCheckBoxViewInfo, TcxCustomTextEditViewInfo)
VXN_IMPLEMENT_CLASS(TcxCustomCheckBoxViewData, TcxCustomEditViewData)
VXN_IMPLEMENT_CLASS(TcxCheckBoxActionLink, TControlActionLink)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomCheckBox, TcxCustomEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCheckBox, TcxCustomCheckBox)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryCheckBoxItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxCheckBoxProperties) {
  using T = TcxCheckBoxProperties;
  using B = TcxCustomEditProperties;
  P.Property("Alignment", &T::HorzAlignment, &T::SetHorzAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed).Default(false);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("Caption", &T::Caption, &T::SetCaption).Stored(false);
  P.Property("DisplayChecked", &T::DisplayChecked, &T::SetDisplayChecked).Stored(&T::IsDisplayCheckedStored);
  P.Property("DisplayUnchecked", &T::DisplayUnchecked, &T::SetDisplayUnchecked).Stored(&T::IsDisplayUncheckedStored);
  P.Property("DisplayGrayed", &T::DisplayGrayed, &T::SetDisplayGrayed).Stored(&T::IsDisplayGrayedStored);
  P.Property("FullFocusRect", &T::FullFocusRect, &T::SetFullFocusRect).Default(false);
  P.Property("Glyph", &T::Glyph, &T::SetGlyph).Stored(&T::HasGlyphBitmap);
  P.Property("GlyphCount", &T::GlyphCount, &T::SetGlyphCount).Default(6);
  P.Property("ImmediatePost", &B::ImmediatePost, &B::SetImmediatePost).Default(false);
  P.Property("MultiLine", &T::MultiLine, &T::SetMultiLine).Default(false);
  P.Property("NullStyle", &T::NullStyle, &T::SetNullStyle).Default(nssGrayedChecked);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("UseAlignmentWhenInplace", &T::UseAlignmentWhenInplace, &T::SetUseAlignmentWhenInplace).Default(false);
  P.Property("ValueChecked", &T::ValueChecked, &T::SetValueChecked).Stored(&T::IsValueCheckedStored);
  P.Property("ValueGrayed", &T::ValueGrayed, &T::SetValueGrayed).Stored(&T::IsValueGrayedStored);
  P.Property("ValueUnchecked", &T::ValueUnchecked, &T::SetValueUnchecked).Stored(&T::IsValueUncheckedStored);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
}

VXN_PUBLISH(TcxCheckBox) {
  using C = TcxCheckBox;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Redeclare("ParentBackground").Default(true);
  P.Redeclare("ParentColor").Default(true);
  P.Redeclare("TabStop").Default(true);
  P.Property("Checked", &C::Checked, &C::SetChecked).Stored(false);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("State", &C::State, &C::SetState).Stored(&C::IsStateStored);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Transparent", &C::Transparent, &C::SetTransparentLook).Default(false);
  PublishEditorEvents(P, cxpeEditing | cxpeDock | cxpeMouseEnter);
}

// The texts of the three states.
inline constexpr const char* cxSEditCheckBoxChecked = "True";
inline constexpr const char* cxSEditCheckBoxUnchecked = "False";
inline constexpr const char* cxSEditCheckBoxGrayed = "";

namespace {

std::unique_ptr<TBitmap> gCheckMarkMask;
TSize gSystemCheckSize;
Integer gStartCount = 0;

// The system's check images: white where the unchecked image (column 0)
// and the checked one (column 1) agree, black where the check mark is.
void BuildCheckMarkMask() {
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  BITMAP info{};
  GetObject(boxes, sizeof(info), &info);
  gSystemCheckSize = {info.bmWidth / 4, info.bmHeight / 3};
  TBitmap strip;
  strip.SetPixelFormat(pf32bit);
  strip.SetSize(info.bmWidth, info.bmHeight);
  {
    MemoryDc source(nullptr);
    ObjectSelection selected(source.Dc(), boxes);
    BitBlt(strip.Canvas()->Handle(), 0, 0, info.bmWidth, info.bmHeight, source.Dc(), 0, 0, SRCCOPY);
  }
  DeleteObject(boxes);
  gCheckMarkMask = std::make_unique<TBitmap>();
  gCheckMarkMask->SetPixelFormat(pf32bit);
  gCheckMarkMask->SetSize(gSystemCheckSize.cx, gSystemCheckSize.cy);
  for (Integer y = 0; y < gSystemCheckSize.cy; ++y) {
    const uint32_t* row = strip.ScanLine(y);
    uint32_t* mask = gCheckMarkMask->ScanLine(y);
    for (Integer x = 0; x < gSystemCheckSize.cx; ++x)
      mask[x] = (row[x] & 0xFFFFFF) == (row[x + gSystemCheckSize.cx] & 0xFFFFFF) ? 0xFFFFFFFF : 0xFF000000;
  }
}

TRect Deflated(const TRect& R, Integer D) { return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D}; }

TRect Intersected(const TRect& A, const TRect& B) {
  return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
}

bool PointIn(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TcxCustomEditStyle* NormalStyleOf(TcxCustomEditStyle* AStyle) {
  return AStyle->IsNormalStyle() ? AStyle : static_cast<TcxCustomEditStyle*>(AStyle->BaseStyle());
}

bool ButtonThemeInEffect(TcxCustomEditStyle* AStyle) {
  return NativeThemeInEffect(AStyle->LookAndFeel()->NativeStyle(), ThemeClassButton);
}

// The visual style's check-box state: 1-4 unchecked, 5-8 checked, 9-12
// mixed, each normal, hot, pressed, disabled.
Integer ThemedCheckState(TcxCheckBoxState AState, TcxCheckButtonState AButton) {
  return static_cast<Integer>(AState) * 4 + AButton + 1;
}

// The mark in AColor through the mask, clipped to the inside R.
void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  TBitmap* mask = CheckMarkMask();
  if (!mask) return;
  TcxClipRegionScope clip(ACanvas);
  ACanvas->IntersectClip(R);
  ACanvas->SetBrushColor(AColor);
  ACanvas->Canvas->RequiredState();
  // Brush where the mask is black, the destination where it is white.
  BitBlt(ACanvas->DeviceContext(), R.Left - 2, R.Top - 2, mask->Width(), mask->Height(), mask->Canvas()->Handle(), 0,
         0, 0x00B8074A);
}

}  // namespace

TSize SystemCheckSize() { return gSystemCheckSize; }
TBitmap* CheckMarkMask() { return gCheckMarkMask.get(); }

Integer CheckGlyphIndex(TcxCheckBoxState AState, TcxCheckButtonState AButtonState, Integer AGlyphCount) {
  Integer index = static_cast<Integer>(AState);
  if (AButtonState == cxCheckButtonPressed) index += 3;
  if (index >= AGlyphCount && index > 2) index %= 3;
  return index;
}

TcxEditBorderStyle CheckBorderStyleFor(Integer AHoverLevel, TcxEditBorderStyle ABorderStyle) {
  if (AHoverLevel < 2) return ABorderStyle;
  static constexpr TcxEditBorderStyle hot[] = {ebsFlat, ebsThick, ebsThick, ebs3D, ebs3D, ebsUltraFlat, ebsOffice11};
  return hot[static_cast<size_t>(ABorderStyle)];
}

// --- properties --------------------------------------------------------------------------

TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner),
      FDisplayChecked(Utf8ToUtf16(TranslateResourceString(cxSEditCheckBoxChecked))),
      FDisplayUnchecked(Utf8ToUtf16(TranslateResourceString(cxSEditCheckBoxUnchecked))),
      FDisplayGrayed(Utf8ToUtf16(TranslateResourceString(cxSEditCheckBoxGrayed))),
      FValueChecked(true),
      FValueGrayed(Null()),
      FValueUnchecked(false) {}

TcxCustomCheckBoxProperties::~TcxCustomCheckBoxProperties() {
  if (FGlyph) FGlyph->OnChange = nullptr;
}

void TcxCustomCheckBoxProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomCheckBoxProperties*>(Source);
  if (!source) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(); });
  TcxCustomEditProperties::Assign(Source);
  SetAllowGrayed(source->AllowGrayed());
  SetDisplayChecked(source->DisplayChecked());
  SetDisplayUnchecked(source->DisplayUnchecked());
  SetDisplayGrayed(source->DisplayGrayed());
  SetFullFocusRect(source->FullFocusRect());
  SetGlyph(source->FGlyph.get());
  SetGlyphCount(source->GlyphCount());
  SetMultiLine(source->MultiLine());
  SetNullStyle(source->NullStyle());
  SetUseAlignmentWhenInplace(source->UseAlignmentWhenInplace());
  // The grayed value first: it may be the value another one gives up.
  SetValueGrayed(source->ValueGrayed());
  SetValueChecked(source->ValueChecked());
  SetValueUnchecked(source->ValueUnchecked());
}

TClass TcxCustomCheckBoxProperties::EditClass() { return TcxCheckBox::StaticClass(); }
TcxContainerStyleClass TcxCustomCheckBoxProperties::StyleClass() { return &CreateContainerStyle<TcxCheckBoxStyle>; }
TcxCustomEditViewDataClass TcxCustomCheckBoxProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomCheckBoxViewData>();
}
TcxContainerViewInfoClass TcxCustomCheckBoxProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomCheckBoxViewInfo>;
}

void TcxCustomCheckBoxProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool) {
  TcxCheckBoxState state = cbsGrayed;
  if (VariantsAreEqual(Value, FValueChecked))
    state = cbsChecked;
  else if (VariantsAreEqual(Value, FValueUnchecked))
    state = cbsUnchecked;
  EditValue = Variant(static_cast<Integer>(state));
}

TcxCheckBoxState TcxCustomCheckBoxProperties::StateOfValue(const Variant& Value) {
  Variant state;
  ConvertToEditValue(Value, state, false);
  return static_cast<TcxCheckBoxState>(state.AsInteger());
}

bool TcxCustomCheckBoxProperties::IsForeignValue(const Variant& Value) {
  return !VarEqualsSameType(Value, FValueChecked) && !VarEqualsSameType(Value, FValueGrayed) &&
         !VarEqualsSameType(Value, FValueUnchecked);
}

bool TcxCustomCheckBoxProperties::IsEditValueValid(Variant& Value, bool Focused) {
  return TcxCustomEditProperties::IsEditValueValid(Value, Focused) && !IsForeignValue(Value);
}

bool TcxCustomCheckBoxProperties::EditValuesEqual(const Variant& A, const Variant& B) {
  return StateOfValue(A) == StateOfValue(B);
}

std::u16string TcxCustomCheckBoxProperties::DisplayTextOf(const Variant& Value, bool) {
  switch (StateOfValue(Value)) {
    case cbsChecked: return FDisplayChecked;
    case cbsUnchecked: return FDisplayUnchecked;
    default: return FDisplayGrayed;
  }
}

void TcxCustomCheckBoxProperties::SetAllowGrayed(bool Value) {
  if (Value == FAllowGrayed) return;
  FAllowGrayed = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  FCaptionAssigned = true;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetDisplayChecked(const std::u16string& Value) {
  if (Value == FDisplayChecked) return;
  FDisplayChecked = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetDisplayUnchecked(const std::u16string& Value) {
  if (Value == FDisplayUnchecked) return;
  FDisplayUnchecked = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetDisplayGrayed(const std::u16string& Value) {
  if (Value == FDisplayGrayed) return;
  FDisplayGrayed = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetFullFocusRect(bool Value) {
  if (Value == FFullFocusRect) return;
  FFullFocusRect = Value;
  NotifyChanged();
}

TBitmap* TcxCustomCheckBoxProperties::Glyph() {
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = TNotifyEvent(this, &TcxCustomCheckBoxProperties::GlyphChanged);
  }
  return FGlyph.get();
}

void TcxCustomCheckBoxProperties::SetGlyph(TBitmap* Value) {
  if (!Value) {
    if (!FGlyph) return;
    FGlyph.reset();
    NotifyChanged();
    return;
  }
  Glyph()->Assign(Value);
}

void TcxCustomCheckBoxProperties::SetGlyphCount(Integer Value) {
  if (Value == FGlyphCount) return;
  FGlyphCount = Value;
  if (FGlyph) NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetNullStyle(TcxCheckBoxNullValueShowingStyle Value) {
  if (Value == FNullStyle) return;
  FNullStyle = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetUseAlignmentWhenInplace(bool Value) {
  if (Value == FUseAlignmentWhenInplace) return;
  FUseAlignmentWhenInplace = Value;
  NotifyChanged();
}

// Two states never share a value: one that another state holds is refused
// silently, and only the grayed state may be Null.
void TcxCustomCheckBoxProperties::SetValueChecked(const Variant& Value) {
  if (VarIsNull(Value) || !IsForeignValue(Value)) return;
  FValueChecked = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetValueGrayed(const Variant& Value) {
  if (!IsForeignValue(Value)) return;
  FValueGrayed = Value;
  NotifyChanged();
}

void TcxCustomCheckBoxProperties::SetValueUnchecked(const Variant& Value) {
  if (VarIsNull(Value) || !IsForeignValue(Value)) return;
  FValueUnchecked = Value;
  NotifyChanged();
}

bool TcxCustomCheckBoxProperties::IsDisplayCheckedStored() const {
  return FDisplayChecked != Utf8ToUtf16(TranslateResourceString(cxSEditCheckBoxChecked));
}
bool TcxCustomCheckBoxProperties::IsDisplayUncheckedStored() const {
  return FDisplayUnchecked != Utf8ToUtf16(TranslateResourceString(cxSEditCheckBoxUnchecked));
}
bool TcxCustomCheckBoxProperties::IsDisplayGrayedStored() const {
  return FDisplayGrayed != Utf8ToUtf16(TranslateResourceString(cxSEditCheckBoxGrayed));
}
bool TcxCustomCheckBoxProperties::IsValueCheckedStored() const { return !VarEqualsSameType(FValueChecked, true); }
bool TcxCustomCheckBoxProperties::IsValueGrayedStored() const { return !VarIsNull(FValueGrayed); }
bool TcxCustomCheckBoxProperties::IsValueUncheckedStored() const {
  return !VarEqualsSameType(FValueUnchecked, false);
}

// --- view data ----------------------------------------------------------------------------

TAlignment TcxCustomCheckBoxViewData::AlignmentInForce() {
  const std::string caption = CheckBox ? CheckBox->Caption() : std::string();
  if (IsInplace && !ShowsCaptionInplace && !CheckProperties()->UseAlignmentWhenInplace() && caption.empty())
    return taCenter;
  return CheckProperties()->HorzAlignment();
}

TcxTextFlags TcxCustomCheckBoxViewData::TextFlags() {
  const bool multiLine = CheckProperties()->MultiLine();
  TcxTextFlags flags = AlignmentInForce() == taCenter ? TextHCenter : TextLeft;
  flags |= TextShowPrefix;
  flags |= multiLine ? TextWordBreak | TextNoClip : TextSingleLine;
  flags |= IsInplace || !multiLine ? TextVCenter : TextTop;
  return flags;
}

void TcxCustomCheckBoxViewData::CalculateCheckBoxRects(TcxCustomCheckBoxViewInfo& vi, const TSize& AImageSize) {
  TRect k = vi.ClientRect, t = vi.ClientRect;
  const TAlignment alignment = vi.Alignment;
  const bool native = vi.NativeState != 0 || ButtonThemeInEffect(Style);
  if (IsInplace) {
    if (alignment == taLeftJustify) {
      t.Right -= 2;
      if (!ShowsCaptionInplace) k.Left += 2;
    } else if (alignment == taRightJustify) {
      t.Left += 2;
      if (!ShowsCaptionInplace) k.Right -= 2;
    }
    t.Top += ContentParams.Offsets.Top;
    t.Bottom -= ContentParams.Offsets.Bottom;
  } else {
    t = Deflated(t, 2);
    t.Top -= 1;
  }
  if (!IsInplace && !native) k = Deflated(k, 2);
  if (AImageSize.cy < k.Height()) {
    k.Top += (k.Height() - AImageSize.cy) / 2;
    k.Bottom = k.Top + AImageSize.cy;
  }
  if (AImageSize.cx < k.Width()) {
    if (alignment == taCenter) {
      k.Left += (k.Width() - AImageSize.cx) / 2;
      k.Right = k.Left + AImageSize.cx;
    } else if (alignment == taLeftJustify) {
      k.Right = k.Left + AImageSize.cx;
      t.Left = k.Right + 3;
    } else {
      k.Left = k.Right - AImageSize.cx;
      t.Right = k.Left - 3 + (IsInplace && ShowsCaptionInplace ? 1 : 0);
    }
  } else {
    t.Right = t.Left;
  }
  if (!Enabled) {
    // Room for the embossed copy of disabled text.
    t.Right += 1;
    t.Bottom += 1;
  }
  vi.CheckRect = k;
  vi.TextRect = t;
}

TcxCheckButtonState TcxCustomCheckBoxViewData::CalculateButtonState(const TPoint& P, Integer AButton,
                                                                     TShiftState AShift, TcxCheckButtonState AOld) {
  if (!Enabled) return cxCheckButtonDisabled;
  if (CheckBox && CheckBox->SpaceHeld()) return cxCheckButtonPressed;
  if (IsDesigning || !PointIn(Bounds(), P)) return cxCheckButtonNormal;
  AShift -= ssDouble;
  if (AShift.Empty()) return cxCheckButtonHot;
  if (AShift == TShiftState{ssLeft})
    return AButton == cxmbLeft || AOld == cxCheckButtonPressed ? cxCheckButtonPressed : cxCheckButtonNormal;
  return cxCheckButtonNormal;
}

void TcxCustomCheckBoxViewData::CalculateCheckFocusRect(TcxCanvas* ACanvas, TcxCustomCheckBoxViewInfo& vi) {
  vi.NativeState = 0;
  if (ButtonThemeInEffect(Style)) {
    const Integer b = vi.CheckButtonState;
    if (vi.CheckState == cbsGrayed) {
      switch (vi.NullStyle) {
        case nssUnchecked: vi.NativeState = b + 1; break;
        case nssInactive: vi.NativeState = CBS_UNCHECKEDDISABLED; break;
        default: vi.NativeState = b + 9; break;
      }
    } else {
      vi.NativeState = ThemedCheckState(vi.CheckState, b);
    }
  }
  vi.SetBackgroundColor(Style->Color());
  vi.FocusRect = TRect{};
  const bool centre = vi.Alignment == taCenter;
  const bool wanted = (!IsInplace || ShowsCaptionInplace) ? !centre : centre && InplaceFocusRect;
  if (!Focused || !wanted) return;
  TRect focus;
  if (centre) {
    focus = Deflated(vi.ClientRect, 1);
  } else if (!vi.Text.empty()) {
    focus = vi.TextRect;
    if (!CheckProperties()->FullFocusRect()) {
      ACanvas->AssignFont(Style->Font());
      ACanvas->CalcTextRect(vi.Text, focus, TextFlags());
      focus = Deflated(focus, -1);
    }
  } else {
    return;
  }
  if (centre) {
    focus.Top = std::max(focus.Top, vi.ClientRect.Top);
    focus.Bottom = std::min(focus.Bottom, vi.ClientRect.Bottom);
  } else {
    const TRect& t = vi.TextRect;
    const Integer inplace = IsInplace ? 1 : 0;
    focus = Intersected(focus, {t.Left - 1, t.Top - 1 + 2 * inplace, t.Right + 1, t.Bottom + 1 - 2 * inplace});
    focus.Right = std::min(focus.Right, Bounds().Right - 1);
  }
  vi.FocusRect = focus;
}

void TcxCustomCheckBoxViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                              Integer AButton, TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                              bool AIsMouseEvent) {
  if (!ACanvas) ACanvas = ContainerScreenCanvas();
  TcxCustomEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  auto& vi = static_cast<TcxCustomCheckBoxViewInfo&>(*AViewInfo);
  TcxCustomCheckBoxProperties* properties = CheckProperties();
  // No container border, whatever the edit style's border style says.
  vi.EditBorderStyle = ebsNone;
  vi.BorderStyle = cbsNone;
  vi.DrawTextAsSelected = false;
  vi.SelStart = vi.SelLength = 0;
  vi.Text = CheckBox ? CheckBox->Caption() : std::string();
  vi.Alignment = AlignmentInForce();
  vi.TextFlags = TextFlags();

  vi.CheckBorderStyle = CheckBorderStyleFor(vi.EditHoverLevel, NormalStyleOf(Style)->EditBorderStyle());
  vi.Glyph = properties->HasGlyphBitmap() ? properties->Glyph() : nullptr;
  vi.GlyphCount = properties->GlyphCount();
  vi.NullStyle = properties->NullStyle();
  vi.HasGlyph = vi.Glyph && !vi.Glyph->Empty() && vi.GlyphCount > 0;
  const bool native = ButtonThemeInEffect(Style);
  vi.NativeDrawing = native;
  vi.CheckBorderOffset =
      native || vi.HasGlyph ? 0 : 2 - ContainerBorderWidth(static_cast<TcxContainerBorderStyle>(vi.CheckBorderStyle));

  TSize image = SystemCheckSize();
  if (vi.HasGlyph) {
    image = {vi.Glyph->Width() / vi.GlyphCount, vi.Glyph->Height()};
  } else if (native) {
    SIZE size{};
    UxGetThemePartSize(OpenThemeByIndex(ThemeClassButton), ACanvas->DeviceContext(), BP_CHECKBOX,
                       CBS_CHECKEDNORMAL, TS_TRUE, size);
    image = {size.cx, size.cy};
  }
  CalculateCheckBoxRects(vi, image);
  vi.CheckButtonState = CalculateButtonState(P, AButton, AShift, vi.CheckButtonState);
  CalculateCheckFocusRect(ACanvas, vi);
  if (IsInplace && vi.CheckBorderStyle == ebsSingle)
    vi.BorderColor = vi.CheckButtonState == cxCheckButtonHot || (IsDesigning && Enabled) ? clHighlight : clBtnShadow;
  vi.TextColorAssigned = Style->IsStyleValueAssigned(svTextColor);
  vi.CheckBox = CheckBox;
  vi.ParentBackground = !IsInplace && CheckBox && CheckBox->UsesParentBackground();
  vi.Transparent = CheckBox ? CheckBox->IsTransparent() : properties->Transparent() && !IsInplace;
  if (CheckBox) {
    vi.Edit = CheckBox;
    vi.BackgroundControl = CheckBox->Parent();
    vi.BackgroundOffset = {CheckBox->Left(), CheckBox->Top()};
  }
}

void TcxCustomCheckBoxViewData::CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue,
                                                     TcxCustomEditViewInfo* AViewInfo) {
  if (!ACanvas) ACanvas = ContainerScreenCanvas();
  auto& vi = static_cast<TcxCustomCheckBoxViewInfo&>(*AViewInfo);
  vi.CheckState = UseFixedCheckedLook ? cbsChecked : CheckProperties()->StateOfValue(AValue);
  if (IsInplace && !ShowsCaptionInplace) vi.Text.clear();
  CalculateCheckFocusRect(ACanvas, vi);
}

void TcxCustomCheckBoxViewData::MeasureFixedPart(TcxCanvas* ACanvas, bool AIsInplace,
                                                 const TcxEditSizeLimits& ALimits, TSize& AExtraSize,
                                                 TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize) {
  TcxCustomEditViewData::MeasureFixedPart(ACanvas, AIsInplace, ALimits, AExtraSize, AViewInfo, AFixedSize);
  auto& vi = static_cast<TcxCustomCheckBoxViewInfo&>(*AViewInfo);
  TSize extra{vi.CheckRect.Width(), vi.CheckRect.Height()};
  const std::string caption = RemoveAccelChars(vi.Text);
  ACanvas->AssignFont(Style->Font());
  if (AIsInplace && vi.Alignment != taCenter && !caption.empty())
    extra.cx = ACanvas->MeasureTextWidth(caption) + (vi.TextRect.Left - vi.WholeRect.Left) +
               (vi.WholeRect.Right - vi.TextRect.Right);
  else if (AIsInplace)
    extra.cx += 4;
  if (AIsInplace) extra.cy += 2 * (1 - vi.CheckBorderOffset);
  if (!AIsInplace && !vi.NativeDrawing) extra.cy += 4;
  const std::string measured = AIsInplace || vi.Alignment == taCenter ? std::string("Gg") : caption;
  Integer textHeight = 0;
  if (!measured.empty()) {
    TRect r{0, 0, ALimits.Width > 0 ? ALimits.Width : vi.TextRect.Width(), 0};
    ACanvas->CalcTextRect(measured, r, TextFlags() & ~TextVCenter);
    textHeight = r.Height() + ContentParams.Offsets.Top + ContentParams.Offsets.Bottom;
  }
  extra.cy = std::max(extra.cy, textHeight);
  AExtraSize.cx += extra.cx;
  AExtraSize.cy += extra.cy;
}

void TcxCustomCheckBoxViewData::BorderExtent(TRect& R) { R = IsInplace ? InplaceOffsets : TRect{}; }

void TcxCustomCheckBoxViewData::ClientExtent(TcxCanvas*, TRect& R) { BorderExtent(R); }

// --- view info ----------------------------------------------------------------------------

void TcxCustomCheckBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  const bool fromElsewhere = Transparent || (!IsInplace && ParentBackground);
  HTHEME theme = NativeDrawing ? OpenThemeByIndex(ThemeClassButton) : nullptr;
  {
    TcxClipRegionScope clip(ACanvas);
    if (!Transparent) {
      // The check keeps what lies under it only when it lets it show.
      const bool seeThrough =
          (fromElsewhere || HasBackgroundDrawHandler()) &&
          (HasGlyph || (theme && UxIsThemeBackgroundPartiallyTransparent(theme, BP_CHECKBOX, std::max(1, NativeState))));
      if (!seeThrough) ACanvas->ExcludeFromClip(Deflated(CheckRect, CheckBorderOffset));
    }
    if (!IsInplace && ParentBackground && WindowHandle) {
      const RECT r{WholeRect.Left, WholeRect.Top, WholeRect.Right, WholeRect.Bottom};
      UxDrawThemeParentBackground(WindowHandle, ACanvas->DeviceContext(), &r);
    } else if (!IsInplace && Transparent) {
      DrawTransparentBackground(this, ACanvas, WholeRect);
    } else if (!IsInplace || !DrawCustomBackground(ACanvas)) {
      ACanvas->SetBrushColor(FillColor);
      ACanvas->Canvas->FillRect(WholeRect);
    }
  }
  TcxEditCheckParams check;
  check.State = CheckState;
  check.NullStyle = NullStyle;
  check.Focused = Focused;
  check.IsDesigning = IsDesigning;
  check.Fill = !fromElsewhere;
  check.FillColor = fromElsewhere ? clNone : FillColor;
  check.BorderColor = BorderColor;
  check.Native = NativeDrawing;
  check.BorderStyle = CheckBorderStyle;
  check.GlyphCount = GlyphCount;
  check.Glyph = HasGlyph ? Glyph : nullptr;
  check.ButtonState = CheckButtonState;
  DrawEditCheck(ACanvas, CheckRect, check);

  if (Alignment != taCenter) {
    if (Font) ACanvas->AssignFont(Font);
    ACanvas->Font()->SetColor(TextColor);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->DrawAlignedText(Text, TextRect, static_cast<TcxTextFlags>(TextFlags),
                             PaintingCopy || Enabled || TextColorAssigned || NativeDrawing);
    ACanvas->Brush()->SetStyle(bsSolid);
  }
  if (!cxRectIsEmpty(FocusRect)) ACanvas->DrawFocusFrame(FocusRect);
}

void TcxCustomCheckBoxViewInfo::AssignFrom(TcxContainerViewInfo* Source) {
  TcxCustomTextEditViewInfo::AssignFrom(Source);
  if (auto* source = dynamic_cast<TcxCustomCheckBoxViewInfo*>(Source)) {
    CheckButtonState = source->CheckButtonState;
    NativeState = source->NativeState;
  }
}

std::unique_ptr<TcxRegion> TcxCustomCheckBoxViewInfo::ChangedRegion(TcxContainerViewInfo* AViewInfo) {
  std::unique_ptr<TcxRegion> region = TcxCustomTextEditViewInfo::ChangedRegion(AViewInfo);
  auto* other = dynamic_cast<TcxCustomCheckBoxViewInfo*>(AViewInfo);
  if (other && (other->CheckButtonState != CheckButtonState || other->NativeState != NativeState)) {
    if (!region) region = TcxRegion::CreateEmpty();
    region->Combine(TcxRegion::CreateFromRect(CheckRect), RegionUnion);
  }
  return region;
}

bool TcxCustomCheckBoxViewInfo::RepaintChanges(TWinControl* AControl, const TRect& AExcludeRect,
                                               TcxCustomEditViewInfo* AOld) {
  bool result = TcxCustomTextEditViewInfo::RepaintChanges(AControl, AExcludeRect, AOld);
  auto* old = dynamic_cast<TcxCustomCheckBoxViewInfo*>(AOld);
  if (!old || old->CheckButtonState != CheckButtonState || old->NativeState != NativeState) {
    InvalidateControlRect(AControl, CheckRect, false);
    result = true;
  }
  return result;
}

void TcxCustomCheckBoxViewInfo::OffsetBy(Integer DX, Integer DY) {
  TcxCustomTextEditViewInfo::OffsetBy(DX, DY);
  CheckRect = cxRectOffset(CheckRect, DX, DY);
  FocusRect = cxRectOffset(FocusRect, DX, DY);
}

// --- the check image ----------------------------------------------------------------------

void DrawEditCheck(TcxCanvas* ACanvas, const TRect& R, const TcxEditCheckParams& AParams) {
  TcxCheckBoxState state = AParams.State;
  if (state == cbsGrayed && AParams.NullStyle == nssUnchecked) state = cbsUnchecked;
  const TcxCheckButtonState button = AParams.ButtonState;
  const bool disabled = button == cxCheckButtonDisabled;

  if (AParams.Glyph && AParams.GlyphCount > 0) {
    TBitmap* glyph = AParams.Glyph;
    Integer index = CheckGlyphIndex(state, button, AParams.GlyphCount);
    // A grayed state has no cell in a strip of one or two: it shows the
    // unchecked cell rather than pixels from beyond the strip.
    if (index >= AParams.GlyphCount) index = CheckGlyphIndex(cbsUnchecked, button, AParams.GlyphCount);
    if (index >= AParams.GlyphCount) index = 0;
    const Integer cellWidth = glyph->Width() / AParams.GlyphCount;
    TBitmap cell;
    cell.SetPixelFormat(pf32bit);
    cell.SetSize(R.Width(), R.Height());
    cell.Canvas()->CopyRect({0, 0, R.Width(), R.Height()}, glyph->Canvas(),
                            {index * cellWidth, (glyph->Height() - R.Height()) / 2,
                             index * cellWidth + R.Width(), (glyph->Height() - R.Height()) / 2 + R.Height()});
    cell.SetTransparentColor(glyph->TransparentColor());
    const TColor background = AParams.FillColor == clNone ? clNone : static_cast<TColor>(ColorToRGB(AParams.FillColor));
    PaintGlyphBitmap(ACanvas, R.Left, R.Top, nullptr, background, !disabled, &cell);
    return;
  }

  if (AParams.Native) {
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassButton), ACanvas->DeviceContext(), BP_CHECKBOX,
                          ThemedCheckState(state, button), R);
    return;
  }

  const TcxEditBorderStyle style = AParams.BorderStyle;
  const Integer w = ContainerBorderWidth(static_cast<TcxContainerBorderStyle>(style));
  const Integer b = 2 - w;
  TRect r = R;
  if (AParams.Fill && b > 0) ACanvas->FillBorders(r, AParams.FillColor, b, cxBordersAll);
  r = Deflated(r, std::max(b, 0));
  const bool flatKind = style == ebsUltraFlat || style == ebsOffice11;
  switch (style) {
    case ebsSingle: ACanvas->FillBorders(r, AParams.BorderColor, 1, cxBordersAll); break;
    case ebsThick: ACanvas->FillBorders(r, AParams.BorderColor, 2, cxBordersAll); break;
    case ebsFlat:
      ACanvas->Draw3DEdge(r, true, true, cxBordersAll);
      ACanvas->FillBorders(Deflated(r, 1), clBtnFace, 1, cxBordersAll);
      break;
    case ebs3D:
      ACanvas->Draw3DEdge(r, true, true, cxBordersAll);
      ACanvas->DrawTwoColorFrame(Deflated(r, 1), cl3DDkShadow, cl3DLight, cxBordersAll, 1);
      break;
    case ebsUltraFlat:
    case ebsOffice11: {
      const bool office11 = style == ebsOffice11;
      TColor frame;
      if (office11 && button == cxCheckButtonNormal && !AParams.Focused && !AParams.IsDesigning)
        frame = clBtnText;
      else if (button == cxCheckButtonHot || button == cxCheckButtonPressed || (AParams.IsDesigning && !disabled) ||
               (button == cxCheckButtonNormal && AParams.Focused))
        frame = HighlightedBorderColor(office11);
      else
        frame = clBtnShadow;
      ACanvas->FillBorders(r, frame, 1, cxBordersAll);
      break;
    }
    default: break;
  }
  const TRect inside = Deflated(R, 2);
  const bool marked = state == cbsChecked || (state == cbsGrayed && AParams.NullStyle == nssGrayedChecked);
  if (flatKind) {
    const bool office11 = style == ebsOffice11;
    TColor fill;
    switch (button) {
      case cxCheckButtonNormal:
        fill = state == cbsGrayed && AParams.NullStyle == nssInactive ? clBtnFace : clWindow;
        break;
      case cxCheckButtonHot:
      case cxCheckButtonPressed: fill = HighlightedButtonColor(button == cxCheckButtonPressed, office11); break;
      default: fill = clBtnFace; break;
    }
    const RECT area{inside.Left, inside.Top, inside.Right, inside.Bottom};
    FillRect(ACanvas->DeviceContext(), &area, SolidBrushCache()->Brush(fill));
    if (marked) DrawCheckMark(ACanvas, inside, state == cbsChecked && !disabled ? clBtnText : clBtnShadow);
    return;
  }
  UINT flags = DFCS_BUTTONCHECK;
  if (style != ebs3D) flags |= DFCS_FLAT;
  if (disabled) {
    flags |= DFCS_PUSHED | DFCS_BUTTON3STATE | (marked ? DFCS_CHECKED : DFCS_INACTIVE);
  } else {
    if (state == cbsChecked) flags |= DFCS_CHECKED;
    if (state == cbsGrayed) {
      flags |= DFCS_BUTTON3STATE;
      if (AParams.NullStyle == nssInactive) flags |= DFCS_INACTIVE;
      if (AParams.NullStyle == nssGrayedChecked) flags |= DFCS_CHECKED;
    }
    if (button == cxCheckButtonPressed) flags |= DFCS_PUSHED;
  }
  TcxClipRegionScope clip(ACanvas);
  ACanvas->IntersectClip(inside);
  RECT box{inside.Left - 2, inside.Top - 2, inside.Right + 2, inside.Bottom + 2};
  ACanvas->Canvas->RequiredState();
  DrawFrameControl(ACanvas->DeviceContext(), &box, DFC_BUTTON, flags);
}

// --- action link --------------------------------------------------------------------------

TcxCustomCheckBox* TcxCheckBoxActionLink::CheckBox() const { return dynamic_cast<TcxCustomCheckBox*>(Client()); }

bool TcxCheckBoxActionLink::IsCheckedLinked() const {
  TcxCustomCheckBox* box = CheckBox();
  TCustomAction* action = CustomAction();
  return TControlActionLink::IsCheckedLinked() && box && action && box->State() != cbsGrayed &&
         box->Checked() == action->Checked();
}

void TcxCheckBoxActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) SetCheckedQuietly(Value);
}

void TcxCheckBoxActionLink::SetCheckedQuietly(bool Value) {
  TcxCustomCheckBox* box = CheckBox();
  if (!box) return;
  box->LockClick(true);
  ScopeExit clicks([box] { box->LockClick(false); });
  box->LockChangeEvents(true, true);
  ScopeExit events([box] { box->LockChangeEvents(false, false); });
  box->SetChecked(Value);
}

// --- the edit -----------------------------------------------------------------------------

namespace {

TcxCustomEditKind CheckBoxKind(TcxCustomEditPropertiesClass APropertiesClass) {
  TcxCustomEditKind kind;
  kind.PropertiesClass = APropertiesClass;
  kind.StyleClass = &CreateContainerStyle<TcxCheckBoxStyle>;
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxCustomCheckBoxViewInfo>;
  return kind;
}

}  // namespace

TcxCustomCheckBox::TcxCustomCheckBox(TComponent* AOwner, bool AIsInplace)
    : TcxCustomCheckBox(AOwner, AIsInplace, TcxCustomCheckBoxProperties::StaticClass()) {}

TcxCustomCheckBox::TcxCustomCheckBox(TComponent* AOwner, bool AIsInplace, TcxCustomEditPropertiesClass AClass)
    : TcxCustomEdit(AOwner, AIsInplace, CheckBoxKind(AClass)) {
  SetConstructing(true);
  ScopeExit constructed([this] { SetConstructing(false); });
  ControlStyle -= csDoubleClicks;
  SetParentColor(true);
  SetParentBackground(true);
  SetBounds(Left(), Top(), 121, 21);
  Variant unchecked;
  DisplayValueToEditValue(Variant(static_cast<Integer>(cbsUnchecked)), unchecked, false);
  SetEditValue(unchecked);
}

TcxCustomCheckBox::~TcxCustomCheckBox() = default;

TcxCheckBoxState TcxCustomCheckBox::State() { return ActiveCheckProperties()->StateOfValue(EditValue()); }

void TcxCustomCheckBox::SetState(TcxCheckBoxState Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedState = Value;
    FStateAssignedWhileLoading = true;
    return;
  }
  if (Value == State()) return;
  Variant value;
  DisplayValueToEditValue(Variant(static_cast<Integer>(Value)), value, Focused());
  AssignEditValueAndClick(value);
}

bool TcxCustomCheckBox::IsStateStored() {
  TBasicAction* action = Action();
  if (!action) return State() != cbsUnchecked;
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (!custom) return false;
  return State() == cbsGrayed || Checked() != custom->Checked();
}

void TcxCustomCheckBox::DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool) {
  TcxCustomCheckBoxProperties* properties = ActiveCheckProperties();
  switch (DisplayValue.AsInteger()) {
    case cbsUnchecked: AEditValue = properties->ValueUnchecked(); break;
    case cbsChecked: AEditValue = properties->ValueChecked(); break;
    case cbsGrayed: AEditValue = properties->ValueGrayed(); break;
    default: AEditValue = Unassigned(); break;
  }
}

void TcxCustomCheckBox::CycleState() {
  {
    LockChangeEvents(true, true);
    bool fire = false;
    ScopeExit unlock([this, &fire] { LockChangeEvents(false, fire); });
    SetUserChanging(true);
    ScopeExit user([this] { SetUserChanging(false); });
    switch (State()) {
      case cbsChecked: SetState(cbsUnchecked); break;
      case cbsGrayed: SetState(cbsChecked); break;
      default: SetState(ActiveCheckProperties()->AllowGrayed() ? cbsGrayed : cbsChecked); break;
    }
    fire = true;
  }
  if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateDisplayText(true)) PostEditValue(false);
}

void TcxCustomCheckBox::ApplyEditValue(const Variant& Value) {
  const TcxCheckBoxState old = State();
  TcxCustomEdit::ApplyEditValue(Value);
  const TcxCheckBoxState now = State();
  if (now != old) {
    CheckViewInfo()->CheckState = now;
    Click();
    NotifyChange();
  }
  RecalculateAtCursor(false);
}

void TcxCustomCheckBox::PropertiesChanged(TObject* Sender) {
  TcxCustomCheckBoxProperties* properties = ActiveCheckProperties();
  if (properties->CaptionAssigned()) {
    properties->ClearCaptionAssigned();
    SetCaption(properties->Caption());
  }
  const TcxCheckBoxState state = State();
  if (CheckViewInfo()->CheckState != state) {
    CheckViewInfo()->CheckState = state;
    InvalidateCheckArea();
    if (!ChangeEventsLocked()) {
      Click();
      NotifyChange();
    }
  }
  TcxCustomEdit::PropertiesChanged(Sender);
}

bool TcxCustomCheckBox::UsesParentBackground() {
  return NativeThemeInEffect(Style()->LookAndFeel()->NativeStyle(), ThemeClassButton) && ParentBackground() &&
         !IsInplace() && !Transparent();
}

void TcxCustomCheckBox::SetTransparentLook(bool Value) {
  if (Value == Transparent()) return;
  SetTransparent(Value);
  RecalculateAtCursor(false);
  Invalidate();
}

TcxContainerStyleValues TcxCustomCheckBox::GetUnstoredStyleValues() {
  return TcxCustomEdit::GetUnstoredStyleValues() | StyleValueBit(svEdges);
}

std::unique_ptr<TcxCustomCheckBoxViewData> TcxCustomCheckBox::CreateLayoutViewData() {
  std::unique_ptr<TcxCustomEditViewData> made =
      ActiveProperties()->CreateViewData(static_cast<TcxCustomEditStyle*>(ActiveStyle()), IsInplace());
  std::unique_ptr<TcxCustomCheckBoxViewData> viewData(static_cast<TcxCustomCheckBoxViewData*>(made.release()));
  viewData->CheckBox = this;
  viewData->Enabled = Enabled();
  viewData->Focused = Focused();
  viewData->IsDesigning = IsDesigning();
  viewData->WindowHandle = HandleAllocated() ? Handle() : nullptr;
  return viewData;
}

void TcxCustomCheckBox::CalculateViewInfo(const TPoint& P, bool) {
  // The active style follows the state the layout finds: once more when
  // the state moved to another style.
  for (Integer pass = 0; pass < 2; ++pass) {
    TcxContainerStyle* style = ActiveStyle();
    std::unique_ptr<TcxCustomCheckBoxViewData> viewData = CreateLayoutViewData();
    TcxCanvas* canvas = ContainerScreenCanvas();
    viewData->ComputeLayout(canvas, {0, 0, Width(), Height()}, P, FLastButton, FLastShift, CheckViewInfo(), true);
    viewData->CalculateDisplayText(canvas, EditValue(), CheckViewInfo());
    if (ActiveStyle() == style) break;
  }
}

bool TcxCustomCheckBox::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag) {
  const TcxCheckButtonState old = CheckViewInfo()->CheckButtonState;
  FLastButton = AButton;
  FLastShift = Shift;
  ScopeExit forget([this] {
    FLastButton = cxmbNone;
    FLastShift = {};
  });
  const bool result = TcxCustomEdit::RefreshState(P, AButton, Shift, AFlag);
  // A click ends with the pressed check turning hot under the released
  // button.
  if (old == cxCheckButtonPressed && CheckViewInfo()->CheckButtonState == cxCheckButtonHot) CycleState();
  return result;
}

void TcxCustomCheckBox::InvalidateCheckArea() {
  if (HandleAllocated()) InvalidateControlRect(this, CheckViewInfo()->CheckRect, false);
}

void TcxCustomCheckBox::Loaded() {
  FInsideFinishLoading = true;
  LockChangeEvents(true, true);
  LockClick(true);
  ScopeExit finished([this] {
    LockClick(false);
    LockChangeEvents(false, false);
    FInsideFinishLoading = false;
  });
  TcxCustomEdit::Loaded();
  if (FStateAssignedWhileLoading)
    SetState(FLoadedState);
  else if (!IsDataAware())
    SetState(cbsUnchecked);
  FStateAssignedWhileLoading = false;
}

void TcxCustomCheckBox::KeyDown(Word& Key, TShiftState Shift) {
  TcxCustomEdit::KeyDown(Key, Shift);
  if (Key != VK_SPACE) return;
  const TcxCheckButtonState button = CheckViewInfo()->CheckButtonState;
  if (button != cxCheckButtonNormal && button != cxCheckButtonHot) return;
  FSpaceHeld = true;
  CheckViewInfo()->CheckButtonState = cxCheckButtonPressed;
  RecalculateAtCursor(false);
  Key = 0;
}

void TcxCustomCheckBox::KeyUp(Word& Key, TShiftState Shift) {
  TcxCustomEdit::KeyUp(Key, Shift);
  if (Key != VK_SPACE || CheckViewInfo()->CheckButtonState != cxCheckButtonPressed) return;
  FSpaceHeld = false;
  CheckViewInfo()->CheckButtonState = cxCheckButtonNormal;
  InvalidateCheckArea();
  CycleState();
}

void TcxCustomCheckBox::KeyPress(char32_t& Key) {
  TcxCustomEdit::KeyPress(Key);
  if (Key == U' ' && IsInplace() && CheckViewInfo()->CheckButtonState == cxCheckButtonNormal) {
    CycleState();
    Key = 0;
  }
}

void TcxCustomCheckBox::DoExit() {
  FSpaceHeld = false;
  TcxCustomEdit::DoExit();
}

void TcxCustomCheckBox::WMLButtonUp(TMessage& Message) {
  // The click comes from the check's own state change, not from the
  // control's clicked state.
  ControlState -= csClicked;
  TcxCustomEdit::WMLButtonUp(Message);
}

void TcxCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (!IsAccel(Message.WParam, Caption()) || !CanFocus()) {
    TcxCustomEdit::CMDialogChar(Message);
    return;
  }
  SetFocus();
  if (Focused()) CycleState();
  Message.Result = 1;
}

void TcxCustomCheckBox::CMTextChanged(TMessage& Message) {
  TcxCustomEdit::CMTextChanged(Message);
  CheckViewInfo()->Text = Caption();
  RecalculateAtCursor(false);
  Invalidate();
}

void TcxCustomCheckBox::CMParentColorChanged(TMessage& Message) {
  TcxCustomEdit::CMParentColorChanged(Message);
  if (UsesParentBackground()) Invalidate();
}

void TcxCustomCheckBox::ActionChange(TObject* Sender, bool CheckDefaults) {
  TcxCustomEdit::ActionChange(Sender, CheckDefaults);
  if (FStateAssignedWhileLoading && (ComponentState().Contains(csLoading) || FInsideFinishLoading)) return;
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action || (CheckDefaults && Checked())) return;
  if (auto* link = dynamic_cast<TcxCheckBoxActionLink*>(ActionLink())) link->SetCheckedQuietly(action->Checked());
}

std::unique_ptr<TControlActionLink> TcxCustomCheckBox::CreateActionLink() {
  return std::make_unique<TcxCheckBoxActionLink>(this);
}

bool TcxCustomCheckBox::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  (void)NewWidth;
  if (IsInplace() || IsConstructing() || !ContainerScreenCanvas()) return false;
  std::unique_ptr<TcxCustomCheckBoxViewData> viewData = CreateLayoutViewData();
  TcxEditSizeLimits limits;
  limits.MaxRows = ActiveCheckProperties()->MultiLine() ? 0 : 1;
  limits.Width = CheckViewInfo()->TextRect.Width();
  TSize size{};
  viewData->TotalEditSize(ContainerScreenCanvas(), EditValue(), limits, nullptr, size);
  if (size.cy <= 0) return false;
  NewHeight = size.cy;
  return true;
}

TcxCheckBox::TcxCheckBox(TComponent* AOwner, bool AIsInplace)
    : TcxCustomCheckBox(AOwner, AIsInplace, TcxCheckBoxProperties::StaticClass()) {}

// --- start-up -----------------------------------------------------------------------------

void InitializeCheckBox() {
  if (gStartCount++ > 0) return;
  BuildCheckMarkMask();
  RegisterClasses({TcxCheckBoxProperties::StaticClass(), TcxCheckBox::StaticClass(),
                   TcxEditRepositoryCheckBoxItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxCheckBoxProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryCheckBoxItem));
}

void FinalizeCheckBox() {
  if (gStartCount <= 0 || --gStartCount > 0) return;
  GetRegisteredEditProperties()->Unregister(TcxCheckBoxProperties::StaticClass());
  gCheckMarkMask.reset();
}
