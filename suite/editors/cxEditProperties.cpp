#include "suite/editors/cxEditProperties.h"

#include <algorithm>

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxEditViewInfo.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomEditPropertiesValues, TPersistent)
VXN_IMPLEMENT_CLASS(TcxEditAlignment, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomEditProperties, TcxInterfacedPersistent)

VXN_PUBLISH(TcxCustomEditPropertiesValues) {
  using V = TcxCustomEditPropertiesValues;
  P.Property("ReadOnly", &V::ReadOnly, &V::SetReadOnly).Stored(false);
}

VXN_PUBLISH(TcxEditAlignment) {
  using A = TcxEditAlignment;
  P.Property("Horz", &A::Horz, &A::SetHorz).Stored(&A::IsHorzStored);
  P.Property("Vert", &A::Vert, &A::SetVert).Stored(&A::IsVertStored);
}

namespace {

std::vector<TcxCustomEditProperties*>& LiveProperties() {
  static std::vector<TcxCustomEditProperties*> list;
  return list;
}

}  // namespace

const std::vector<TcxCustomEditProperties*>& LivePropertiesList() { return LiveProperties(); }

void ReleaseProviderFromLiveProperties(TObject* ProviderObject) {
  // A properties object may drop others' providers while it releases its
  // own, so the walk works on a copy and skips what died meanwhile.
  const std::vector<TcxCustomEditProperties*> snapshot = LiveProperties();
  for (TcxCustomEditProperties* properties : snapshot) {
    const auto& live = LiveProperties();
    if (std::find(live.begin(), live.end(), properties) == live.end()) continue;
    IcxEditDefaultValuesProvider* provider = properties->FDefaultValuesProvider;
    if (provider && provider->ProviderObject() == ProviderObject) properties->ReleaseDefaultValuesProvider();
  }
}

std::unique_ptr<TcxCustomEditProperties> CreateEditProperties(TcxCustomEditPropertiesClass AClass,
                                                              TPersistent* AOwner) {
  TObject* made = AClass && AClass->OwnerFactory ? AClass->OwnerFactory(AOwner) : nullptr;
  auto* properties = dynamic_cast<TcxCustomEditProperties*>(made);
  if (!properties) {
    delete made;
    throw EClassNotFound(SClassNotFound, {std::string(AClass ? AClass->Name : "nil")});
  }
  return std::unique_ptr<TcxCustomEditProperties>(properties);
}

// --- assigned values ----------------------------------------------------------

TcxCustomEditPropertiesValues::TcxCustomEditPropertiesValues(TPersistent* AOwner) : FOwner(AOwner) {}

TcxCustomEditProperties* TcxCustomEditPropertiesValues::Properties() const {
  return dynamic_cast<TcxCustomEditProperties*>(FOwner);
}

void TcxCustomEditPropertiesValues::LockChanges() {
  if (TcxCustomEditProperties* p = Properties()) p->LockChanges();
}

void TcxCustomEditPropertiesValues::UnlockChanges() {
  if (TcxCustomEditProperties* p = Properties()) p->UnlockChanges(true);
}

void TcxCustomEditPropertiesValues::NotifyChanged() {
  if (TcxCustomEditProperties* p = Properties()) p->NotifyChanged();
}

void TcxCustomEditPropertiesValues::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  NotifyChanged();
}

void TcxCustomEditPropertiesValues::RestoreDefaults() { SetReadOnly(false); }

void TcxCustomEditPropertiesValues::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomEditPropertiesValues*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  SetReadOnly(source->ReadOnly());
}

// --- alignment ------------------------------------------------------------------

void TcxEditAlignment::DoChanged() {
  if (OnChanged) OnChanged(this);
}

void TcxEditAlignment::SetHorz(TAlignment Value) {
  if (FIsHorzAssigned && Value == FHorz) return;
  FIsHorzAssigned = true;
  FHorz = Value;
  DoChanged();
}

void TcxEditAlignment::SetVert(TcxEditVertAlignment Value) {
  if (Value == FVert) return;
  FVert = Value;
  DoChanged();
}

void TcxEditAlignment::Reset() {
  FIsHorzAssigned = false;
  DoChanged();
}

void TcxEditAlignment::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxEditAlignment*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  FVert = source->FVert;
  FHorz = source->FHorz;
  FIsHorzAssigned = source->FIsHorzAssigned;
  DoChanged();
}

// --- properties -------------------------------------------------------------------

TcxCustomEditProperties::TcxCustomEditProperties(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {
  LiveProperties().push_back(this);
  FFreeNotificator.reset(new TcxFreeNotificator(nullptr));
  FFreeNotificator->OnFreeNotification = TNotifyEvent(this, &TcxCustomEditProperties::FreeNotification);
  FAlignment = std::make_unique<TcxEditAlignment>(this);
  FAlignment->OnChanged = TNotifyEvent(this, &TcxCustomEditProperties::AlignmentChanged);
  FAssignedValues = std::make_unique<TcxCustomEditPropertiesValues>(this);
  FButtons = std::make_unique<TcxEditButtons>(this);
  FButtons->OnChange = TNotifyEvent(this, &TcxCustomEditProperties::ButtonsChanged);
  FInnerAlignment = std::make_unique<TcxEditAlignment>(this);
  // The class's own default, unknown to the member initialisers.
  FUseLeftAlignmentOnEditing = DefaultUseLeftAlignmentOnEditing();
}

TcxCustomEditProperties::~TcxCustomEditProperties() {
  FDefaultValuesProvider = nullptr;
  FButtons->OnChange = nullptr;
  FButtons.reset();
  FInnerAlignment.reset();
  FAssignedValues.reset();
  FAlignment.reset();
  FFreeNotificator->OnFreeNotification = nullptr;
  FFreeNotificator.reset();
  auto& live = LiveProperties();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void TcxCustomEditProperties::FreeNotification(TObject* Sender) {
  ComponentFreed(static_cast<TComponent*>(Sender));
}

void TcxCustomEditProperties::RecreateAssignedValues() {
  TObject* made = CreateInstance(AssignedValuesClass(), this);
  auto* values = dynamic_cast<TcxCustomEditPropertiesValues*>(made);
  if (!values) {
    delete made;
    throw EClassNotFound(SClassNotFound, {std::string(AssignedValuesClass()->Name)});
  }
  FAssignedValues.reset(values);
}

TcxCustomEditPropertiesValuesClass TcxCustomEditProperties::AssignedValuesClass() {
  return TcxCustomEditPropertiesValues::StaticClass();
}

// --- batching ---------------------------------------------------------------------

bool TcxCustomEditProperties::OwnerIsDestroying() const {
  auto* component = dynamic_cast<TComponent*>(const_cast<TcxCustomEditProperties*>(this)->GetOwner());
  return component && component->ComponentState().Contains(csDestroying);
}

bool TcxCustomEditProperties::OwnerIsWriting() const {
  auto* component = dynamic_cast<TComponent*>(const_cast<TcxCustomEditProperties*>(this)->GetOwner());
  return component && component->ComponentState().Contains(csWriting);
}

void TcxCustomEditProperties::NotifyChanged() {
  if (IsChangeLocked() || OwnerIsDestroying()) return;
  if (OnPropertiesChanged) OnPropertiesChanged(this);
}

void TcxCustomEditProperties::UnlockChanges(bool Invalidate) {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0 && Invalidate) NotifyChanged();
}

// --- alignment ----------------------------------------------------------------------

void TcxCustomEditProperties::AlignmentChanged(TObject*) {
  FInnerAlignment->Assign(FAlignment.get());
  NotifyChanged();
}

void TcxCustomEditProperties::AssignAlignment(TcxEditAlignment* Value) {
  FInnerAlignment->Assign(Value);
  NotifyChanged();
}

TAlignment TcxCustomEditProperties::DefaultHorzAlignment() {
  return FDefaultValuesProvider ? FDefaultValuesProvider->DefaultAlignment() : FAlignment->Horz();
}

TcxEditAlignment* TcxCustomEditProperties::Alignment() {
  FAlignment->OnChanged = nullptr;
  FAlignment->Assign(FInnerAlignment.get());
  // The handler goes back in every case: left off after the object was
  // written to a stream, later changes of the alignment would be lost.
  const TNotifyEvent handler(this, &TcxCustomEditProperties::AlignmentChanged);
  if ((FInnerAlignment->IsHorzAssigned() || FInnerAlignment->Vert() != taTopJustify) && OwnerIsWriting()) {
    FAlignment->OnChanged = handler;
    return FAlignment.get();
  }
  if (!FInnerAlignment->IsHorzAssigned()) FAlignment->ShowHorz(DefaultHorzAlignment());
  FAlignment->OnChanged = handler;
  return FAlignment.get();
}

bool TcxCustomEditProperties::IsAlignmentStored() const {
  return FInnerAlignment->IsHorzAssigned() || FInnerAlignment->Vert() != taTopJustify;
}

// --- buttons and simple values -----------------------------------------------------

void TcxCustomEditProperties::ButtonsChanged(TObject*) { NotifyChanged(); }

void TcxCustomEditProperties::SetAutoSelect(bool Value) {
  if (Value == FAutoSelect) return;
  FAutoSelect = Value;
  NotifyChanged();
}

void TcxCustomEditProperties::SetButtonsViewStyle(Byte Value) {
  if (Value == FButtonsViewStyle) return;
  FButtonsViewStyle = Value;
  NotifyChanged();
}

void TcxCustomEditProperties::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  NotifyChanged();
}

void TcxCustomEditProperties::SetUseLeftAlignmentOnEditing(bool Value) {
  if (Value == FUseLeftAlignmentOnEditing) return;
  FUseLeftAlignmentOnEditing = Value;
  NotifyChanged();
}

bool TcxCustomEditProperties::ReadOnly() {
  if (FAssignedValues->ReadOnly()) return FReadOnly;
  if (FDefaultValuesProvider) return FDefaultValuesProvider->DefaultReadOnly();
  return false;
}

void TcxCustomEditProperties::SetReadOnly(bool Value) {
  if (FAssignedValues->ReadOnly() && Value == FReadOnly) return;
  LockChanges();
  FAssignedValues->SetReadOnly(true);
  FReadOnly = Value;
  UnlockChanges(false);
  NotifyChanged();
}

bool TcxCustomEditProperties::CanModify() {
  if (FAssignedValues->ReadOnly() && !FReadOnly) return true;
  bool result = !ReadOnly();
  if (result && FDefaultValuesProvider) result = FDefaultValuesProvider->DefaultCanModify();
  return result;
}

// --- provider ------------------------------------------------------------------------

void TcxCustomEditProperties::SetDefaultValuesProvider(IcxEditDefaultValuesProvider* Value) {
  FDefaultValuesProvider = Value;
  if (dynamic_cast<IcxEditPropertiesEditor*>(GetOwner())) NotifyChanged();
}

std::string TcxCustomEditProperties::ValidationErrorText() {
  return TranslateResourceString(cxSEditValidateErrorText);
}

bool TcxCustomEditProperties::UsesProviderDisplayFormat(bool IgnoreProvider) {
  if (IgnoreProvider || !(DisplayFormatOptions() & dfoSupports) || !FDefaultValuesProvider) return false;
  return FDefaultValuesProvider->DefinesDisplayFormat(!(DisplayFormatOptions() & dfoNoCurrencyValue));
}

bool TcxCustomEditProperties::IsProviderDisplayFormatApplicable() {
  return (DisplayFormatOptions() & dfoSupports) && EditValueSource(true) == 0 && EditValueSource(false) == 1 &&
         FDefaultValuesProvider &&
         FDefaultValuesProvider->DefinesDisplayFormat(!(DisplayFormatOptions() & dfoNoCurrencyValue));
}

// --- values ---------------------------------------------------------------------------

bool TcxCustomEditProperties::EditValuesEqual(const Variant& A, const Variant& B) {
  Variant a, b;
  ConvertToEditValue(A, a, false);
  ConvertToEditValue(B, b, false);
  return VariantsAreEqual(a, b);
}

void TcxCustomEditProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool) {
  EditValue = Value;
}

TClass TcxCustomEditProperties::EditClass() { return TcxCustomEdit::StaticClass(); }

TcxCustomEditViewDataClass TcxCustomEditProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomEditViewData>();
}

TcxContainerViewInfoClass TcxCustomEditProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomEditViewInfo>;
}

std::unique_ptr<TcxCustomEditViewData> TcxCustomEditProperties::CreateViewData(TcxCustomEditStyle* AStyle,
                                                                               bool AIsInplace, bool AExtra) {
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateEditViewData(ViewDataClass(), this, AStyle, AIsInplace);
  viewData->Extra = AExtra;
  return viewData;
}

void TcxCustomEditProperties::MeasureEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AStyle, bool AIsInplace,
                                              const Variant& Value, const TcxEditSizeLimits& ALimits, TSize& ASize) {
  CreateViewData(AStyle, AIsInplace, false)->TotalEditSize(ACanvas, Value, ALimits, nullptr, ASize);
}

std::unique_ptr<TcxCustomEditProperties> TcxCustomEditProperties::CreateOfSameClass() {
  return CreateEditProperties(ClassType(), nullptr);
}

std::u16string TcxCustomEditProperties::DisplayTextOf(const Variant&, bool) { return {}; }

Cardinal TcxCustomEditProperties::SupportedOperations() { return FButtons->Count() > 0 ? esoHasButtons : 0; }

void TcxCustomEditProperties::RestoreDefaults() {
  FInnerAlignment->Reset();
  LockChanges();
  FAssignedValues->RestoreDefaults();
  UnlockChanges(true);
}

// --- validation -------------------------------------------------------------------------

void TcxCustomEditProperties::ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                                                   IcxEditPropertiesEditor* Edit) {
  if (!ValidatesDisplayValue()) return;
  if (ErrorText.empty()) ErrorText = ValidationErrorText();
  bool changed = false;
  RunOnValidate(Value, ErrorText, Error, Edit, changed);
}

void TcxCustomEditProperties::RunOnValidate(Variant& Value, std::string& ErrorText, bool& Error,
                                            IcxEditPropertiesEditor* Edit, bool& Changed) {
  Changed = false;
  if (!Edit) return;
  TcxCustomEditProperties* own = Edit->OwnEditProperties();
  TcxCustomEditProperties* active = Edit->ActiveEditProperties();
  if (!(own && own->OnValidate) && !(active && active->OnValidate)) return;
  const Variant previous = Value;
  Edit->FireOnValidate(Value, ErrorText, Error);
  if (!Error) return;
  Changed = !AnsiSameStr(VarToStr(Value), VarToStr(previous));
  if (!Changed) Value = Variant(Edit->CurrentDisplayText());
}

// --- assignment ---------------------------------------------------------------------------

void TcxCustomEditProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomEditProperties*>(Source);
  if (!source) {
    TcxInterfacedPersistent::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  SetAutoSelect(source->AutoSelect());
  FButtons->Assign(source->Buttons());
  SetButtonsViewStyle(source->ButtonsViewStyle());
  FBeepOnError = source->BeepOnError();
  FClearKey = source->ClearKey();
  FClickKey = source->ClickKey();
  SetUseLeftAlignmentOnEditing(source->UseLeftAlignmentOnEditing());
  FDefaultValuesProvider = source->DefaultValuesProvider();
  AssignAlignment(source->Alignment());
  FAssignedValues->SetReadOnly(false);
  if (source->AssignedValues()->ReadOnly()) SetReadOnly(source->ReadOnly());
  FImmediatePost = source->ImmediatePost();
  SetTransparent(source->Transparent());
  FUseMouseWheel = source->UseMouseWheel();
  FValidateOnEnter = source->ValidateOnEnter();
  OnButtonClick = source->OnButtonClick;
  OnChange = source->OnChange;
  OnEditValueChanged = source->OnEditValueChanged;
  OnValidate = source->OnValidate;
}
