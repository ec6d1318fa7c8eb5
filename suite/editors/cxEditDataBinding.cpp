#include "suite/editors/cxEditDataBinding.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "suite/editors/cxEdit.h"

VXN_IMPLEMENT_CLASS(TcxEditDataBinding, TPersistent)

TcxEditDataBinding::TcxEditDataBinding(TcxCustomEdit* AEdit) : FEdit(AEdit) {}

TcxEditDataBinding::~TcxEditDataBinding() = default;

TPersistent* TcxEditDataBinding::GetOwner() { return FEdit; }

TcxCustomEditDefaultValuesProvider* TcxEditDataBinding::DefaultValuesProvider() {
  if (!FDefaultValuesProvider) FDefaultValuesProvider = ProviderClass()(this);
  return FDefaultValuesProvider.get();
}

void TcxEditDataBinding::DefaultValuesChanged() {
  if (!FEdit->RepositoryItem()) {
    FEdit->Properties()->NotifyChanged();
    return;
  }
  // The shared properties announce nothing to the item's other editors.
  TcxCustomEditProperties* shared = FEdit->ActiveProperties();
  shared->LockChanges();
  {
    ScopeExit unlock([shared] { shared->UnlockChanges(false); });
    shared->NotifyChanged();
  }
  FEdit->PropertiesChanged(shared);
}

void TcxEditDataBinding::StoredDisplayText(Variant& Value) {
  std::string text;
  FEdit->DisplayTextOfValue(text);
  Value = Variant(text);
}

bool TcxEditDataBinding::Modified() { return FEdit->ModifiedAfterEnter(); }

void TcxEditDataBinding::StoredValue(Variant& Value) { Value = FEdit->EditValue(); }

void TcxEditDataBinding::Reset() { FEdit->ResetEditValue(); }

void TcxEditDataBinding::SetDisplayValue(const Variant& Value) { FEdit->SetInnerEditValue(Value); }

bool TcxEditDataBinding::IsDesigning() { return FEdit->IsDesigning(); }

void TcxEditDataBinding::UpdateDisplayValue() { FEdit->UpdateTextFromEditValue(); }
