// What an editor is bound to: the data binding stores, resets and writes
// the editor's value and supplies the default-values provider that its
// properties ask for unassigned values. The base binding keeps nothing
// outside the editor; data-bound bindings override its operations.
#pragma once

#include <memory>

#include "platform/rtl/Components.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/cxEditDefaultValuesProvider.h"

class TBasicAction;
class TcxCustomEdit;
class TcxEditDataBinding;

using TcxEditDataBindingClass = std::unique_ptr<TcxEditDataBinding> (*)(TcxCustomEdit* AEdit);
using TcxCustomEditDefaultValuesProviderClass =
    std::unique_ptr<TcxCustomEditDefaultValuesProvider> (*)(TPersistent* AOwner);

template <typename T>
std::unique_ptr<TcxEditDataBinding> CreateEditDataBinding(TcxCustomEdit* AEdit) {
  return std::make_unique<T>(AEdit);
}

template <typename T>
std::unique_ptr<TcxCustomEditDefaultValuesProvider> CreateEditDefaultValuesProvider(TPersistent* AOwner) {
  return std::make_unique<T>(AOwner);
}

class TcxEditDataBinding : public TPersistent {
  VXN_DECLARE_CLASS(TcxEditDataBinding)

 public:
  explicit TcxEditDataBinding(TcxCustomEdit* AEdit);
  ~TcxEditDataBinding() override;

  TPersistent* GetOwner() override;

  virtual bool CanCheckEditorValue() { return true; }
  virtual void DefaultValuesChanged();
  virtual void StoredDisplayText(Variant& Value);
  virtual bool Modified();
  virtual void StoredValue(Variant& Value);
  virtual void Reset();
  virtual void SetDisplayValue(const Variant& Value);
  virtual bool BeginEdit() { return true; }
  virtual void WriteValue(const Variant& Value) { (void)Value; }
  virtual bool IsDesigning();
  virtual bool ExecuteActionHook(TBasicAction* Action) {
    (void)Action;
    return false;
  }
  virtual TcxCustomEditDefaultValuesProviderClass ProviderClass() {
    return &CreateEditDefaultValuesProvider<TcxCustomEditDefaultValuesProvider>;
  }
  virtual bool UpdateActionHook(TBasicAction* Action) {
    (void)Action;
    return false;
  }
  virtual void UpdateDisplayValue();
  virtual void UpdateNotConnectedState() {}

  bool IsDataAvailable() { return IDefaultValuesProvider()->IsDataAvailable(); }
  TcxCustomEdit* Edit() const { return FEdit; }
  // Made of ProviderClass on first use (a constructor cannot ask a
  // descendant binding's class).
  TcxCustomEditDefaultValuesProvider* DefaultValuesProvider();
  IcxEditDefaultValuesProvider* IDefaultValuesProvider() { return DefaultValuesProvider(); }

 private:
  TcxCustomEdit* FEdit;
  std::unique_ptr<TcxCustomEditDefaultValuesProvider> FDefaultValuesProvider;
};
