#include "suite/editors/cxTextEditProperties.h"

#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxTextEdit.h"
#include "suite/editors/cxTextEditLookupData.h"
#include "suite/editors/cxTextEditViewData.h"
#include "suite/editors/cxTextEditViewInfo.h"
#include "suite/editors/cxThousandSeparators.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxTextEditPropertiesValues, TcxCustomEditPropertiesValues)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomTextEditProperties, TcxCustomEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxTextEditProperties, TcxCustomTextEditProperties)

VXN_PUBLISH(TcxTextEditPropertiesValues) {
  using V = TcxTextEditPropertiesValues;
  P.Property("DisplayFormat", &V::DisplayFormat, &V::SetDisplayFormat).Stored(&V::IsDisplayFormatStored);
  P.Property("EditFormat", &V::EditFormat, &V::SetEditFormat).Stored(&V::IsEditFormatStored);
  P.Property("MaxLength", &V::MaxLength, &V::SetMaxLength).Stored(false);
  P.Property("MaxValue", &V::MaxValue, &V::SetMaxValue).Stored(&V::IsMaxValueStored);
  P.Property("MinValue", &V::MinValue, &V::SetMinValue).Stored(&V::IsMinValueStored);
}

VXN_PUBLISH(TcxTextEditProperties) {
  using T = TcxTextEditProperties;
  using B = TcxCustomEditProperties;
  P.Property("Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property("BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property("EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property("ImeName", &T::ImeName, &T::SetImeName);
  P.Property("IncrementalSearch", &T::IncrementalSearch, &T::SetIncrementalSearch).Default(true);
  P.Property("LookupItems", &T::LookupItems, &T::SetLookupItems);
  P.Property("LookupItemsSorted", &T::LookupItemsSorted, &T::SetLookupItemsSorted).Default(false);
  P.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Stored(&T::IsMaxLengthStored);
  P.Property("OEMConvert", &T::OEMConvert, &T::SetOEMConvert).Default(false);
  P.Property("PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Stored(&T::IsUseLeftAlignmentOnEditingStored);
  P.Property("ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(false);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
  P.Property("OnNewLookupDisplayText", &T::OnNewLookupDisplayText, &T::OnNewLookupDisplayText);
  P.Property("OnValidate", &B::OnValidate, &B::OnValidate);
}

std::string ApplyCharCase(const std::string& Text, TEditCharCase CharCase) {
  switch (CharCase) {
    case ecUpperCase:
      return UpperCase(Text);
    case ecLowerCase:
      return LowerCase(Text);
    default:
      return Text;
  }
}

namespace {

// The decimal text of a number in a float format, at most 15 significant
// digits as a double carries them.
std::string BcdToStrF(const TBcd& Bcd, TFloatFormat Format, Integer Precision, Integer Digits) {
  return FloatToStrF(BcdToDouble(Bcd), Format, Precision, Digits);
}

bool IsDateValue(const Variant& Value) { return VarType(Value) == varDate; }

}  // namespace

// --- assigned values ---------------------------------------------------------------

TcxCustomTextEditProperties* TcxTextEditPropertiesValues::TextProperties() const {
  return dynamic_cast<TcxCustomTextEditProperties*>(Properties());
}

void TcxTextEditPropertiesValues::SetFlag(bool& Flag, bool Value) {
  if (Flag == Value) return;
  Flag = Value;
  NotifyChanged();
}

void TcxTextEditPropertiesValues::SetDisplayFormat(bool Value) { SetFlag(FDisplayFormat, Value); }
void TcxTextEditPropertiesValues::SetEditFormat(bool Value) { SetFlag(FEditFormat, Value); }
void TcxTextEditPropertiesValues::SetMaxValue(bool Value) { SetFlag(FMaxValue, Value); }
void TcxTextEditPropertiesValues::SetMinValue(bool Value) { SetFlag(FMinValue, Value); }

void TcxTextEditPropertiesValues::SetMaxLength(bool Value) {
  FMaxLength = Value;
  if (TcxCustomTextEditProperties* properties = TextProperties()) properties->MaxLengthChanged();
}

void TcxTextEditPropertiesValues::RestoreDefaults() {
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(); });
  TcxCustomEditPropertiesValues::RestoreDefaults();
  SetDisplayFormat(false);
  SetEditFormat(false);
  SetMaxLength(false);
  SetMaxValue(false);
  SetMinValue(false);
}

void TcxTextEditPropertiesValues::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxTextEditPropertiesValues*>(Source);
  if (!source) {
    TcxCustomEditPropertiesValues::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(); });
  TcxCustomEditPropertiesValues::Assign(Source);
  SetDisplayFormat(source->DisplayFormat());
  SetEditFormat(source->EditFormat());
  SetMaxLength(source->MaxLength());
  SetMaxValue(source->MaxValue());
  SetMinValue(source->MinValue());
}

namespace {

bool OwnerPublishes(TcxCustomTextEditProperties* Properties, const char* Name) {
  return Properties && GetPropInfo(Properties->ClassType(), Name) != nullptr;
}

}  // namespace

bool TcxTextEditPropertiesValues::IsDisplayFormatStored() {
  TcxCustomTextEditProperties* p = TextProperties();
  return FDisplayFormat && p && p->OwnDisplayFormat().empty() && OwnerPublishes(p, "DisplayFormat");
}

bool TcxTextEditPropertiesValues::IsEditFormatStored() {
  TcxCustomTextEditProperties* p = TextProperties();
  return FEditFormat && p && p->OwnEditFormat().empty() && OwnerPublishes(p, "EditFormat");
}

bool TcxTextEditPropertiesValues::IsMaxValueStored() {
  TcxCustomTextEditProperties* p = TextProperties();
  return FMaxValue && p && p->OwnMaxValue() == 0 && OwnerPublishes(p, "MaxValue");
}

bool TcxTextEditPropertiesValues::IsMinValueStored() {
  TcxCustomTextEditProperties* p = TextProperties();
  return FMinValue && p && p->OwnMinValue() == 0 && OwnerPublishes(p, "MinValue");
}

// --- construction -----------------------------------------------------------------------

TcxCustomTextEditProperties::TcxCustomTextEditProperties(TPersistent* AOwner) : TcxCustomEditProperties(AOwner) {
  RecreateAssignedValues();
  FLookupItems = std::make_unique<TStringList>();
  FLookupItems->OnChange = TNotifyEvent(this, &TcxCustomTextEditProperties::LookupItemsChanged);
  FormatController()->AddFormatListener(this);
}

TcxCustomTextEditProperties::~TcxCustomTextEditProperties() {
  FormatController()->RemoveFormatListener(this);
  FLookupItems->OnChange = nullptr;
  FLookupItems.reset();
}

TcxCustomEditPropertiesValuesClass TcxCustomTextEditProperties::AssignedValuesClass() {
  return TcxTextEditPropertiesValues::StaticClass();
}

void TcxCustomTextEditProperties::LookupItemsChanged(TObject*) { NotifyChanged(); }

void TcxCustomTextEditProperties::FormatChanged() {
  FFormatAnnouncing = true;
  ScopeExit clear([this] { FFormatAnnouncing = false; });
  NotifyChanged();
}

TClass TcxCustomTextEditProperties::EditClass() { return TcxTextEdit::StaticClass(); }

TClass TcxCustomTextEditProperties::LookupDataClass() { return TcxCustomTextEditLookupData::StaticClass(); }

// --- alignment ---------------------------------------------------------------------------

void TcxCustomTextEditProperties::AlignmentChanged(TObject* Sender) {
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomEditProperties::AlignmentChanged(Sender);
}

void TcxCustomTextEditProperties::AssignAlignment(TcxEditAlignment* Value) {
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomEditProperties::AssignAlignment(Value);
}

// --- simple settings -----------------------------------------------------------------------

namespace {

template <typename V>
bool Store(V& Field, const V& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace

void TcxCustomTextEditProperties::SetCharCase(TEditCharCase Value) {
  if (Store(FCharCase, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetEchoMode(TcxEditEchoMode Value) {
  if (Store(FEchoMode, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetPasswordChar(char Value) {
  if (Store(FPasswordChar, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetHideSelection(bool Value) {
  if (Store(FHideSelection, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetHideCursor(bool Value) {
  if (Store(FHideCursor, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetListPickSelection(bool Value) {
  // Only the list-pick style shows the selection it governs.
  if (Store(FListPickSelection, Value) && EditingStyle() == esListPick) NotifyChanged();
}

void TcxCustomTextEditProperties::SetImeMode(TImeMode Value) {
  if (Store(FImeMode, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetImeName(const std::string& Value) {
  if (Store(FImeName, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetIncrementalSearch(bool Value) {
  if (Store(FIncrementalSearch, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetImmediateUpdateText(bool Value) {
  if (Store(FImmediateUpdateText, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetMRULookup(bool Value) {
  if (Store(FMRULookup, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetExtraAcceptedChars(const TcxCharSet& Value) {
  if (Store(FExtraAcceptedChars, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetUseDisplayFormatWhenEditing(bool Value) {
  if (Store(FUseDisplayFormatWhenEditing, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetOEMConvert(bool Value) {
  if (Store(FOEMConvert, Value)) NotifyChanged();
}

void TcxCustomTextEditProperties::SetLookupItems(TStrings* Value) { FLookupItems->Assign(Value); }

TcxTextEditViewStyle TcxCustomTextEditProperties::ViewStyle() {
  if (ButtonsViewStyle() == 1) return vsButtonsOnly;
  if (ButtonsViewStyle() == 2) return vsButtonsAutoWidth;
  return FHideCursor ? vsHideCursor : vsNormal;
}

void TcxCustomTextEditProperties::SetViewStyle(TcxTextEditViewStyle Value) {
  if (Value == ViewStyle()) return;
  static constexpr Byte buttonsViewStyles[] = {0, 0, 1, 2};
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  SetButtonsViewStyle(buttonsViewStyles[Value]);
  SetHideCursor(Value != vsNormal);
}

// --- inheritable settings -----------------------------------------------------------------

Integer TcxCustomTextEditProperties::DefaultMaxLength() {
  return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultMaxLength() : 0;
}

Integer TcxCustomTextEditProperties::MaxLength() {
  return AssignedValues()->MaxLength() ? FMaxLength : DefaultMaxLength();
}

void TcxCustomTextEditProperties::SetMaxLength(Integer Value) {
  if (Value < 0) Value = 0;
  if (AssignedValues()->MaxLength() && Value == FMaxLength) return;
  AssignedValues()->FMaxLength = true;
  FMaxLength = Value;
  MaxLengthChanged();
}

std::string TcxCustomTextEditProperties::DisplayFormat() {
  if (AssignedValues()->DisplayFormat()) return FDisplayFormat;
  if (DefaultValuesProvider()) {
    std::string format = DefaultValuesProvider()->DefaultDisplayFormat();
    if (!format.empty()) return format;
  }
  return DefaultDisplayFormat();
}

void TcxCustomTextEditProperties::SetDisplayFormat(const std::string& Value) {
  if (AssignedValues()->DisplayFormat() && Value == FDisplayFormat) return;
  AssignedValues()->FDisplayFormat = true;
  FDisplayFormat = Value;
  NotifyChanged();
}

std::string TcxCustomTextEditProperties::EditFormat() {
  bool isCurrency = false;
  bool providerFormats = false;
  std::string format;
  EditFormatOf(isCurrency, providerFormats, format, nullptr);
  return format;
}

void TcxCustomTextEditProperties::SetEditFormat(const std::string& Value) {
  if (AssignedValues()->EditFormat() && Value == FEditFormat) return;
  AssignedValues()->FEditFormat = true;
  FEditFormat = Value;
  NotifyChanged();
}

Double TcxCustomTextEditProperties::MaxValue() {
  if (AssignedValues()->MaxValue()) return FMaxValue;
  return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultMaxValue() : 0;
}

void TcxCustomTextEditProperties::SetMaxValue(Double Value) {
  if (AssignedValues()->MaxValue() && Value == FMaxValue) return;
  AssignedValues()->FMaxValue = true;
  FMaxValue = Value;
  NotifyChanged();
}

Double TcxCustomTextEditProperties::MinValue() {
  if (AssignedValues()->MinValue()) return FMinValue;
  return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultMinValue() : 0;
}

void TcxCustomTextEditProperties::SetMinValue(Double Value) {
  if (AssignedValues()->MinValue() && Value == FMinValue) return;
  AssignedValues()->FMinValue = true;
  FMinValue = Value;
  NotifyChanged();
}

// --- range -----------------------------------------------------------------------------------

bool TcxCustomTextEditProperties::HasValueRange() {
  const Double minValue = MinValue();
  const Double maxValue = MaxValue();
  if (maxValue > minValue) return true;
  return maxValue < minValue && AssignedValues()->MinValue() != AssignedValues()->MaxValue();
}

bool TcxCustomTextEditProperties::HasRangeBound(Integer Bound) {
  const Double minValue = MinValue();
  const Double maxValue = MaxValue();
  if (maxValue > minValue) return true;
  if (maxValue < minValue && AssignedValues()->MinValue() != AssignedValues()->MaxValue())
    return Bound == 0 ? AssignedValues()->MinValue() : AssignedValues()->MaxValue();
  return false;
}

void TcxCustomTextEditProperties::ValidateRange(const Variant& Value, std::string& ErrorText,
                                                IcxEditPropertiesEditor* Edit, bool& Error) {
  Variant editValue = Value;
  if (Edit) Edit->DisplayValueToEditValue(Value, editValue, Edit->IsEditFocused());
  if (!VarIsNumeric(editValue) && !IsDateValue(editValue)) return;
  const Double value = editValue.AsDouble();
  if ((HasRangeBound(0) && value < MinValue()) || (HasRangeBound(1) && value > MaxValue())) {
    Error = true;
    ErrorText = ValidationErrorText(cxEditRangeErrorIndex);
  }
}

std::string TcxCustomTextEditProperties::ValidationErrorText(Integer Index) {
  if (Index == cxEditRangeErrorIndex) return TranslateResourceString(cxSEditValueOutOfBounds);
  return TcxCustomEditProperties::ValidationErrorText();
}

void TcxCustomTextEditProperties::ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                                                       IcxEditPropertiesEditor* Edit) {
  if (FormatsValues() && HasValueRange()) ValidateRange(Value, ErrorText, Edit, Error);
  TcxCustomEditProperties::ValidateDisplayValue(Value, ErrorText, Error, Edit);
}

// --- texts -------------------------------------------------------------------------------------

bool TcxCustomTextEditProperties::IsLookupItem(const std::string& Text) {
  const std::string upper = AnsiUpperCase(Text);
  for (Integer i = 0; i < FLookupItems->Count(); ++i)
    if (AnsiUpperCase(FLookupItems->Strings(i)) == upper) return true;
  return false;
}

void TcxCustomTextEditProperties::ApplyEchoAndCase(std::string& Text) {
  if (FEchoMode == eemPassword) {
    // One password character per character shown, whatever its byte length.
    const char32_t echo = FPasswordChar ? static_cast<unsigned char>(FPasswordChar) : U'*';
    const std::string one = Utf8Encode(echo);
    const size_t count = Utf8CharCount(Text);
    Text.clear();
    for (size_t i = 0; i < count; ++i) Text += one;
    return;
  }
  Text = ApplyCharCase(Text, FCharCase);
}

bool TcxCustomTextEditProperties::IsDisplayValueValid(Variant& Value, bool Focused) {
  (void)Focused;
  const std::string text = VarToStr(Value);
  if (text.empty()) return true;
  const TcxEditingStyle style = EditingStyle();
  const bool valid =
      style == esFreeText || style == esNoText || !HasLookupData() ? true : IsLookupItem(text);
  if (valid) Value = Variant(ApplyCharCase(text, FCharCase));
  return valid;
}

bool TcxCustomTextEditProperties::IsEditValueValid(Variant& Value, bool Focused) {
  if (VarIsNull(Value) || !VarIsStr(Value)) return true;
  return IsDisplayValueValid(Value, Focused);
}

void TcxCustomTextEditProperties::EditFormatOf(bool& IsCurrency, bool& ProviderFormats, std::string& Format,
                                               IcxEditPropertiesEditor* Edit) {
  IsCurrency = false;
  ProviderFormats = false;
  Format.clear();
  if (AssignedValues()->EditFormat()) {
    Format = FEditFormat;
    return;
  }
  IcxEditDefaultValuesProvider* provider = DefaultValuesProvider();
  if ((!Edit || !Edit->IsInplace()) && provider && provider->DefinesEditFormat()) {
    ProviderFormats = true;
    return;
  }
  if (provider && !provider->DefaultEditFormat().empty()) {
    Format = provider->DefaultEditFormat();
    return;
  }
  if (AssignedValues()->DisplayFormat()) {
    Format = FDisplayFormat;
  } else if (provider) {
    Format = provider->DefaultDisplayFormat();
    if (Format.empty()) IsCurrency = !(DisplayFormatOptions() & dfoNoCurrencyValue) && provider->DefaultIsCurrency();
  }
  // A display format serves while editing only when asked to.
  if (!FUseDisplayFormatWhenEditing) Format.clear();
}

std::string TcxCustomTextEditProperties::FormatNumberValue(const Variant& Value, bool Focused,
                                                           IcxEditPropertiesEditor* Edit) {
  if (!Focused) {
    const std::string displayFormat = DisplayFormat();
    return displayFormat.empty() ? VarToStr(Value) : FormatFloat(displayFormat, Value.AsDouble());
  }
  bool isCurrency = false;
  bool providerFormats = false;
  std::string format;
  EditFormatOf(isCurrency, providerFormats, format, Edit);
  const Integer precision = DefaultValuesProvider() ? DefaultValuesProvider()->DefaultPrecision() : 15;
  TBcd bcd;
  if (isCurrency) {
    std::string text = VarToStr(Value);
    if (TryStrToBcd(text, bcd)) text = BcdToStrF(bcd, ffFixed, precision, DefaultFormatSettings().CurrencyDecimals);
    return text;
  }
  if (!format.empty()) return FormatFloat(format, Value.AsDouble());
  std::string text = VarToStr(Value);
  if (TryStrToBcd(text, bcd)) text = BcdToStrF(bcd, ffGeneral, precision, 0);
  if (UsesThousandSeparators(false)) InsertThousandSeparators(text);
  return text;
}

void TcxCustomTextEditProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) {
  if (!FormatsValues()) {
    EditValue = Variant(VarToStr(Value));
  } else if (VarIsClear(Value)) {
    EditValue = Variant(std::string());
  } else if (VarIsNumeric(Value) || VarIsStr(Value)) {
    EditValue = Variant(FormatNumberValue(Value, Focused));
  } else {
    throw EConvertError(TranslateResourceString(cxSEditNumericValueConvertError));
  }
}

void TcxCustomTextEditProperties::PrepareDisplayValue(const Variant& Value, Variant& Text, bool Focused) {
  Variant copy = Value;
  if (IsEditValueValid(copy, Focused))
    ConvertToEditValue(copy, Text, Focused);
  else if (IsDateValue(Value))
    Text = Variant(DateTimeToStr(VarToDateTime(Value)));
  else
    Text = Variant(VarToStr(Value));
}

std::u16string TcxCustomTextEditProperties::DisplayTextOf(const Variant& Value, bool FullText) {
  (void)FullText;
  std::string text;
  try {
    if (IsProviderDisplayFormatApplicable()) {
      text = VarToStr(Value);
    } else {
      Variant shown;
      PrepareDisplayValue(Value, shown, false);
      text = VarToStr(shown);
    }
  } catch (const Exception&) {
    // A value that cannot be shown shows as an empty text; echo and case
    // still apply to what there is.
    text.clear();
  }
  ApplyEchoAndCase(text);
  return Utf8ToUtf16(text);
}

bool TcxCustomTextEditProperties::EditValuesEqual(const Variant& A, const Variant& B) {
  return DisplayTextOf(A, true) == DisplayTextOf(B, true);
}

Cardinal TcxCustomTextEditProperties::SupportedOperations() {
  return TcxCustomEditProperties::SupportedOperations() | esoTextEditOperations;
}

// --- copying and streaming ------------------------------------------------------------------

void TcxCustomTextEditProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomTextEditProperties*>(Source);
  if (!source) {
    TcxCustomEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomEditProperties::Assign(Source);
  SetCharCase(source->CharCase());
  SetEchoMode(source->EchoMode());
  SetListPickSelection(source->ListPickSelection());
  SetHideCursor(source->HideCursor());
  SetHideSelection(source->HideSelection());
  SetImmediateUpdateText(source->ImmediateUpdateText());
  SetIncrementalSearch(source->IncrementalSearch());
  SetMRULookup(source->MRULookup());
  SetExtraAcceptedChars(source->ExtraAcceptedChars());
  SetLookupItemsSorted(false);
  SetLookupItems(source->LookupItems());
  SetLookupItemsSorted(source->LookupItemsSorted());

  TcxTextEditPropertiesValues* own = AssignedValues();
  TcxTextEditPropertiesValues* theirs = source->AssignedValues();
  own->SetDisplayFormat(false);
  if (theirs->DisplayFormat()) SetDisplayFormat(source->OwnDisplayFormat());
  own->SetEditFormat(false);
  if (theirs->EditFormat()) SetEditFormat(source->OwnEditFormat());
  own->SetMaxLength(false);
  if (theirs->MaxLength()) SetMaxLength(source->MaxLength());
  own->SetMaxValue(false);
  if (theirs->MaxValue()) SetMaxValue(source->OwnMaxValue());
  own->SetMinValue(false);
  if (theirs->MinValue()) SetMinValue(source->OwnMinValue());

  SetOEMConvert(source->OEMConvert());
  SetImeMode(source->ImeMode());
  SetImeName(source->ImeName());
  SetPasswordChar(source->PasswordChar());
  SetUseDisplayFormatWhenEditing(source->UseDisplayFormatWhenEditing());
  OnNewLookupDisplayText = source->OnNewLookupDisplayText;
}

void TcxCustomTextEditProperties::DefineProperties(TFiler* Filer) {
  TcxCustomEditProperties::DefineProperties(Filer);
  // Older streams said so instead of storing the flag; it is read, never
  // written.
  Filer->DefineProperty(
      "IsDisplayFormatAssigned",
      [this](TReader& Reader) { AssignedValues()->SetDisplayFormat(Reader.ReadBoolean()); }, nullptr, false);
}

// --- start-up ---------------------------------------------------------------------------------

void RegisterTextEditPropertiesClasses() {
  RegisterClasses({TcxTextEditPropertiesValues::StaticClass(), TcxTextEditProperties::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxTextEditProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryTextItem));
}

TcxCustomEditViewDataClass TcxCustomTextEditProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomTextEditViewData>();
}

TcxContainerViewInfoClass TcxCustomTextEditProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomTextEditViewInfo>;
}
