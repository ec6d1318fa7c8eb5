#include "suite/editors/cxSpinEditProperties.h"

#include <cmath>
#include <limits>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Input.h"
#include "suite/editors/cxSpinEdit.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CLASS(TcxSpinEditButtons, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxSpinEditPropertiesValues, TcxTextEditPropertiesValues)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomSpinEditProperties, TcxCustomMaskEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxSpinEditProperties, TcxCustomSpinEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositorySpinItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxSpinEditButtons) {
  using T = TcxSpinEditButtons;
  P.Property("Position", &T::Position, &T::SetPosition).Default(sbpVert);
  P.Property("ShowFastButtons", &T::ShowFastButtons, &T::SetShowFastButtons).Default(false);
}

VXN_PUBLISH(TcxSpinEditPropertiesValues) {
  using V = TcxSpinEditPropertiesValues;
  P.Property("ValueType", &V::ValueType, &V::SetValueType).Default(false);
}

VXN_PUBLISH(TcxSpinEditProperties) {
  using T = TcxSpinEditProperties;
  using B = TcxCustomEditProperties;
  P.Property("Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AlwaysShowBlanksAndLiterals", &T::AlwaysShowBlanksAndLiterals, &T::SetAlwaysShowBlanksAndLiterals)
      .Default(false);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property("BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property("CanEdit", &T::CanEdit, &T::SetCanEdit).Default(true);
  P.Property("CaseInsensitive", &T::CaseInsensitive, &T::SetCaseInsensitive).Default(true);
  P.Property("Circular", &T::Circular, &T::SetCircular).Default(false);
  P.Property("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat).Stored(&T::IsDisplayFormatStored);
  P.Property("EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property("EditFormat", &T::EditFormat, &T::SetEditFormat).Stored(&T::IsEditFormatStored);
  P.Property("ExceptionOnInvalidInput", &T::ExceptionOnInvalidInput, &T::SetExceptionOnInvalidInput).Default(false);
  P.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property("IgnoreMaskBlank", &T::IgnoreMaskBlank, &T::SetIgnoreMaskBlank).Default(false);
  P.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property("ImeName", &T::ImeName, &T::SetImeName);
  P.Property("ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
  P.Property("Increment", &T::Increment, &T::SetIncrement).Stored(&T::IsIncrementStored);
  P.Property("LargeIncrement", &T::LargeIncrement, &T::SetLargeIncrement).Stored(&T::IsLargeIncrementStored);
  P.Property("MaskKind", &T::MaskKind, &T::SetMaskKind).Default(emkStandard);
  P.Property("EditMask", &T::OwnEditMask, &T::SetEditMask).Stored(&T::IsEditMaskStored);
  P.Property("MaxValue", &T::MaxValue, &T::SetMaxValue).Stored(&T::IsMaxValueStored);
  P.Property("MinValue", &T::MinValue, &T::SetMinValue).Stored(&T::IsMinValueStored);
  P.Property("PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("SpinButtons", &T::SpinButtons, &T::SetSpinButtons);
  P.Property("UseCtrlIncrement", &T::UseCtrlIncrement, &T::SetUseCtrlIncrement).Default(false);
  P.Property("UseDisplayFormatWhenEditing", &T::UseDisplayFormatWhenEditing, &T::SetUseDisplayFormatWhenEditing)
      .Default(false);
  P.Property("UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Stored(&T::IsUseLeftAlignmentOnEditingStored);
  P.Property("ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property("ValueType", &T::ValueType, &T::SetValueType).Stored(&T::IsValueTypeStored);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
  P.Property("OnGetValue", &T::OnGetValue, &T::OnGetValue);
  P.Property("OnValidate", &B::OnValidate, &B::OnValidate);
}

namespace {

constexpr Double kFloatLimit = 1.7e308;

// A Double as the nearest Int64 (halves to even), held at the Int64 range.
Int64 SaturatedRound(Double X) {
  if (std::isnan(X)) return 0;
  if (X >= 9223372036854775807.0) return std::numeric_limits<Int64>::max();
  if (X <= -9223372036854775808.0) return std::numeric_limits<Int64>::min();
  return Round(X);
}

bool IsForwardStep(Integer Kind) { return Kind == SpinStepUp || Kind == SpinStepPageUp; }

}  // namespace

// --- spin buttons ---------------------------------------------------------------------------

TPersistent* TcxSpinEditButtons::GetOwner() { return FOwner; }

void TcxSpinEditButtons::SetPosition(TcxSpinEditButtonsPosition Value) {
  if (Value == FPosition) return;
  FPosition = Value;
  if (FOwner) FOwner->NotifyChanged();
}

void TcxSpinEditButtons::SetShowFastButtons(bool Value) {
  if (Value == FShowFastButtons) return;
  FShowFastButtons = Value;
  if (FOwner) FOwner->NotifyChanged();
}

void TcxSpinEditButtons::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxSpinEditButtons*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (FOwner) FOwner->LockChanges();
  ScopeExit unlock([this] {
    if (FOwner) FOwner->UnlockChanges(true);
  });
  SetPosition(source->Position());
  SetShowFastButtons(source->ShowFastButtons());
}

// --- assigned values ------------------------------------------------------------------------

void TcxSpinEditPropertiesValues::SetValueType(bool Value) {
  if (Value == FValueType) return;
  FValueType = Value;
  NotifyChanged();
}

void TcxSpinEditPropertiesValues::RestoreDefaults() {
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(); });
  TcxTextEditPropertiesValues::RestoreDefaults();
  SetValueType(false);
}

void TcxSpinEditPropertiesValues::Assign(TPersistent* Source) {
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(); });
  TcxTextEditPropertiesValues::Assign(Source);
  if (auto* source = dynamic_cast<TcxSpinEditPropertiesValues*>(Source)) SetValueType(source->ValueType());
}

// --- properties -----------------------------------------------------------------------------

TcxCustomSpinEditProperties::TcxCustomSpinEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner) {
  RecreateAssignedValues();
  FSpinButtons = std::make_unique<TcxSpinEditButtons>(this);
  Buttons()->Add();
  Buttons()->Add();
  SetValidateOnEnter(true);
}

TcxCustomSpinEditProperties::~TcxCustomSpinEditProperties() = default;

TClass TcxCustomSpinEditProperties::EditClass() { return TcxSpinEdit::StaticClass(); }

TcxCustomEditPropertiesValuesClass TcxCustomSpinEditProperties::AssignedValuesClass() {
  return TcxSpinEditPropertiesValues::StaticClass();
}

TcxCustomEditViewDataClass TcxCustomSpinEditProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxSpinEditViewData>();
}

TcxContainerViewInfoClass TcxCustomSpinEditProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxSpinEditViewInfo>;
}

void TcxCustomSpinEditProperties::NotifyChanged() {
  // The fast buttons are edit buttons 2 and 3, there exactly while shown.
  if (FSpinButtons && !FAdjustingButtons) {
    const bool fast = FSpinButtons->ShowFastButtons();
    const Integer count = Buttons()->Count();
    if ((fast && count == 2) || (!fast && count == 4)) {
      FAdjustingButtons = true;
      LockChanges();
      ScopeExit unlock([this] {
        UnlockChanges(false);
        FAdjustingButtons = false;
      });
      if (fast) {
        Buttons()->Add();
        Buttons()->Add();
      } else {
        Buttons()->Delete(3);
        Buttons()->Delete(2);
      }
    }
  }
  TcxCustomMaskEditProperties::NotifyChanged();
}

TcxSpinEditValueType TcxCustomSpinEditProperties::ValueType() {
  if (AssignedValues()->ValueType()) return FValueType;
  if (IcxEditDefaultValuesProvider* provider = DefaultValuesProvider())
    return provider->DefaultIsFloatValue() ? vtFloat : vtInt;
  return vtFloat;
}

void TcxCustomSpinEditProperties::SetValueType(TcxSpinEditValueType Value) {
  if (AssignedValues()->ValueType() && Value == FValueType) return;
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  AssignedValues()->SetValueType(true);
  FValueType = Value;
  NotifyChanged();
}

Integer TcxCustomSpinEditProperties::LimitBehaviour() {
  if (FCircular) return SpinLimitWrap;
  return ClampAtLimits() ? SpinLimitStop : SpinLimitRefuse;
}

Variant TcxCustomSpinEditProperties::TypeLimit(bool Largest) {
  if (ValueType() == vtFloat) return Variant(Largest ? kFloatLimit : -kFloatLimit);
  return Variant(Largest ? std::numeric_limits<Int64>::max() : std::numeric_limits<Int64>::min());
}

Variant TcxCustomSpinEditProperties::MaxLimitValue() {
  if (!HasRangeBound(1)) return TypeLimit(true);
  return ValueType() == vtInt ? Variant(SaturatedRound(MaxValue())) : Variant(MaxValue());
}

Variant TcxCustomSpinEditProperties::MinLimitValue() {
  if (!HasRangeBound(0)) return TypeLimit(false);
  return ValueType() == vtInt ? Variant(SaturatedRound(MinValue())) : Variant(MinValue());
}

Variant TcxCustomSpinEditProperties::ConvertToValueType(const Variant& Value) {
  if (ValueType() == vtFloat) return Variant(Value.AsDouble());
  return Variant(static_cast<long long>(Value.AsInt64()));
}

Variant TcxCustomSpinEditProperties::ConvertNumeric(const Variant& Value) {
  return VarIsNumeric(Value) ? ConvertToValueType(Value) : Value;
}

Variant TcxCustomSpinEditProperties::ClampToRange(const Variant& Value) {
  if (!VarIsNumeric(Value)) return Value;
  const Double x = Value.AsDouble();
  if (HasRangeBound(0) && x < MinValue()) return Variant(MinValue());
  if (HasRangeBound(1) && x > MaxValue()) return Variant(MaxValue());
  return Value;
}

bool TcxCustomSpinEditProperties::ParseValue(const std::string& Text, Variant& Value) {
  Value = Null();
  if (ValueType() == vtFloat) {
    Extended x = 0;
    if (!TryStrToFloat(Text, x) || !(x >= -kFloatLimit && x <= kFloatLimit)) return false;
    Value = Variant(static_cast<Double>(x));
    return true;
  }
  Int64 n = 0;
  if (!TryStrToInt64(Text, n)) return false;
  Value = Variant(static_cast<long long>(n));
  return true;
}

std::string TcxCustomSpinEditProperties::PlainText(const Variant& Value) { return VarToStr(Value); }

Variant TcxCustomSpinEditProperties::NormalizeValue(const Variant& Value) {
  if (VarIsNull(Value) || (VarIsStr(Value) && VarToStr(Value).empty())) return ConvertToValueType(Variant(0));
  return ConvertToValueType(Value);
}

bool TcxCustomSpinEditProperties::IsEditValueValid(Variant& Value, bool Focused) {
  (void)Focused;
  bool valid = false;
  if (VarIsStr(Value) || VarIsNumeric(Value)) {
    Variant parsed;
    valid = ParseValue(VarToStr(Value), parsed);
  } else {
    valid = VarIsNull(Value) || VarIsDateKind(Value);
  }
  if (!valid) return false;
  try {
    Value = ConvertNumeric(NormalizeValue(Value));
  } catch (const EVariantError&) {
    return false;
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

bool TcxCustomSpinEditProperties::IsDisplayValueValid(Variant& Value, bool Focused) {
  try {
    if (!TcxCustomMaskEditProperties::IsDisplayValueValid(Value, Focused)) return false;
    if (!ChecksTypedNumber()) return true;
    const std::string text = VarToStr(Value);
    if (text.empty()) return true;
    Variant number;
    if (!ParseValue(text, number)) return false;
    // Out of the limits the text stays a number; the validation reports the
    // range.
    if (number < MinLimitValue() || number > MaxLimitValue()) Value = Variant(PlainText(number));
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

void TcxCustomSpinEditProperties::ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                                                       IcxEditPropertiesEditor* Edit) {
  auto* typed = dynamic_cast<SpinEditTypedValue*>(Edit);
  Variant v;
  if (!typed || typed->HasTypedText()) {
    const bool ok = typed ? typed->ParseTypedValue(Value, false, v, ErrorText)
                          : ParseSpinTypedValue(this, this, nullptr, Value, false, Null(), v, ErrorText);
    Error = !ok;
  } else {
    v = typed->KeptSpinValue();
  }
  if (!Error) {
    if (VarIsNull(v)) v = ConvertNumeric(ClampToRange(Variant(0)));
    Value = Variant(PlainText(v));
    bool outside = false;
    try {
      outside = v < MinLimitValue() || v > MaxLimitValue();
    } catch (const EVariantError&) {
      // A handler's value that is no number cannot be out of the limits.
    }
    if (outside) {
      Error = true;
      ErrorText = ValidationErrorText(cxEditRangeErrorIndex);
    }
  }
  bool changed = false;
  RunOnValidate(Value, ErrorText, Error, Edit, changed);
}

Integer TcxCustomSpinEditProperties::EditValueSource(bool Focused) {
  return !Focused && !AssignedValues()->DisplayFormat() ? 1 : 0;
}

Variant TcxCustomSpinEditProperties::EmptyEditValue() {
  Variant text;
  ConvertToEditValue(ClampToRange(Variant(0)), text, true);
  return text;
}

void TcxCustomSpinEditProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomSpinEditProperties*>(Source);
  if (!source) {
    TcxCustomMaskEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  SetDefaultValuesProvider(source->DefaultValuesProvider());
  AssignedValues()->SetValueType(false);
  if (source->AssignedValues()->ValueType()) SetValueType(source->OwnValueType());
  TcxCustomMaskEditProperties::Assign(Source);
  SetCanEdit(source->CanEdit());
  SetCircular(source->Circular());
  SetExceptionOnInvalidInput(source->ExceptionOnInvalidInput());
  SetIncrement(source->Increment());
  SetLargeIncrement(source->LargeIncrement());
  SetSpinButtons(source->SpinButtons());
  SetUseCtrlIncrement(source->UseCtrlIncrement());
  OnGetValue = source->OnGetValue;
}

// --- the spin edit's rules --------------------------------------------------------------

Integer SpinStepKindOfKey(TcxCustomSpinEditProperties* Properties, Word Key, TShiftState Shift) {
  Integer kind = -1;
  switch (Key) {
    case win::VK_UP:
      kind = SpinStepUp;
      break;
    case win::VK_DOWN:
      kind = SpinStepDown;
      break;
    case win::VK_PRIOR:
      kind = SpinStepPageUp;
      break;
    case win::VK_NEXT:
      kind = SpinStepPageDown;
      break;
    default:
      return -1;
  }
  if (Properties->UseCtrlIncrement() && !Shift.Contains(ssCtrl)) return -1;
  return kind;
}

Variant SpinIncrementOf(TcxCustomSpinEditProperties* Properties, Integer Kind) {
  const bool large = Kind == SpinStepPageDown || Kind == SpinStepPageUp;
  const Double increment = large ? Properties->LargeIncrement() : Properties->Increment();
  const bool forward = IsForwardStep(Kind);
  if (Properties->ValueType() == vtFloat) return Variant(forward ? increment : -increment);
  Int64 step = SaturatedRound(increment);
  // A step that rounds to nothing would leave the value where it is.
  if (step == 0) step = 1;
  if (!forward) step = step == std::numeric_limits<Int64>::min() ? std::numeric_limits<Int64>::max() : -step;
  return Variant(static_cast<long long>(step));
}

namespace {

// A value outside the limits steps to the near limit, or past the far one
// only when wrapping. Answers false for a value inside the limits.
template <typename T>
bool StepFromOutside(T X, T Lo, T Hi, bool Forward, Integer Behaviour, T& Next, bool& Refused) {
  Refused = false;
  if (X < Lo) {
    if (Forward) Next = Lo;
    else if (Behaviour == SpinLimitWrap) Next = Hi;
    else Refused = true;
    return true;
  }
  if (X > Hi) {
    if (!Forward) Next = Hi;
    else if (Behaviour == SpinLimitWrap) Next = Lo;
    else Refused = true;
    return true;
  }
  return false;
}

}  // namespace

bool NextSpinValue(TcxCustomSpinEditProperties* Properties, const Variant& Value, Integer Kind, Variant& Result) {
  const Integer behaviour = Properties->LimitBehaviour();
  const bool forward = IsForwardStep(Kind);
  Variant v;
  try {
    v = Properties->ConvertToValueType(Value);
  } catch (const EVariantError&) {
    return false;
  } catch (const EConvertError&) {
    return false;
  }
  const Variant minLimit = Properties->MinLimitValue();
  const Variant maxLimit = Properties->MaxLimitValue();
  const Variant step = SpinIncrementOf(Properties, Kind);
  bool refused = false;

  if (Properties->ValueType() == vtInt) {
    // Wide enough for any Int64 difference.
    using Wide = __int128;
    const Wide lo = minLimit.AsInt64();
    const Wide hi = maxLimit.AsInt64();
    Wide next = 0;
    if (!StepFromOutside<Wide>(v.AsInt64(), lo, hi, forward, behaviour, next, refused)) {
      next = v.AsInt64() + static_cast<Wide>(step.AsInt64());
      if (next < lo || next > hi) {
        if (behaviour == SpinLimitRefuse) return false;
        if (behaviour == SpinLimitStop) {
          next = next > hi ? hi : lo;
        } else {
          // Counted around the range, the jump from one limit to the other
          // being one step, as many times as the step asks.
          const Wide size = hi - lo + 1;
          Wide offset = (next - lo) % size;
          if (offset < 0) offset += size;
          next = lo + offset;
        }
      }
    }
    if (refused) return false;
    Result = Properties->ConvertNumeric(Variant(static_cast<long long>(next)));
    return true;
  }

  const Double lo = minLimit.AsDouble();
  const Double hi = maxLimit.AsDouble();
  Double next = 0;
  if (!StepFromOutside<Double>(v.AsDouble(), lo, hi, forward, behaviour, next, refused)) {
    next = v.AsDouble() + step.AsDouble();
    if (!(next >= lo && next <= hi)) {
      if (behaviour == SpinLimitRefuse) return false;
      const bool above = next > hi || (std::isnan(next) && forward);
      // Past a limit a Double stops there or, wrapping, takes the other one:
      // there is no unit to count around the range with.
      if (behaviour == SpinLimitStop) next = above ? hi : lo;
      else next = above ? lo : hi;
    }
  }
  if (refused) return false;
  Result = Properties->ConvertNumeric(Variant(next));
  return true;
}

bool ParseSpinTypedValue(TcxCustomSpinEditProperties* Own, TcxCustomSpinEditProperties* Active, TObject* Sender,
                         const Variant& DisplayValue, bool CanRaise, const Variant& Kept, Variant& Value,
                         std::string& ErrorText) {
  const std::string text = VarToStr(DisplayValue);
  if (text.empty()) {
    IcxEditDefaultValuesProvider* provider = Active->DefaultValuesProvider();
    Value = provider && provider->DefaultRequired() ? Active->ConvertNumeric(Active->ClampToRange(Variant(0)))
                                                    : Null();
    return true;
  }
  bool error = !Active->ParseValue(text, Value);
  if (error && (Own->OnGetValue || Active->OnGetValue)) {
    ErrorText.clear();
    try {
      if (Own->OnGetValue) Own->OnGetValue(Sender, text, Value, ErrorText, error);
      if (Active != Own && Active->OnGetValue) Active->OnGetValue(Sender, text, Value, ErrorText, error);
    } catch (const Exception& e) {
      if (CanRaise) throw Exception(e.Message);
      ErrorText = e.Message;
      return false;
    }
  }
  if (error) {
    if (ErrorText.empty()) ErrorText = TranslateResourceString(cxSEditSpinInvalidNumericValue);
    if (!Active->ExceptionOnInvalidInput()) ErrorText.clear();
    else if (CanRaise) throw Exception(ErrorText);
    Value = Kept;
  }
  Value = Active->ConvertNumeric(Value);
  return !error;
}

char32_t SpinEditTypedChar(char32_t Ch) {
  if (Ch == U'.' || Ch == U',') return static_cast<unsigned char>(DefaultFormatSettings().DecimalSeparator);
  return Ch;
}

bool IsSpinEditAcceptableChar(TcxCustomSpinEditProperties* Properties, char32_t Ch, bool HasGetValueHandler) {
  const bool canEdit = Properties->CanEdit();
  if (canEdit && HasGetValueHandler) return true;
  bool accepted = Properties->ValueType() == vtFloat ? IsNumericInputChar(Ch, 2)
                                                      : IsNumericInputChar(Ch, 0) || Ch == U'e' || Ch == U'E';
  accepted = accepted || Ch < 32 || (Ch < 256 && Properties->ExtraAcceptedChars()[Ch]);
  if (accepted && !canEdit && (Ch == 8 || (Ch >= 32 && Ch <= 255))) return false;
  return accepted;
}

void RegisterSpinEditPropertiesClasses() {
  RegisterClasses({TcxSpinEditButtons::StaticClass(), TcxSpinEditPropertiesValues::StaticClass(),
                   TcxSpinEditProperties::StaticClass(), TcxEditRepositorySpinItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxSpinEditProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositorySpinItem));
}
