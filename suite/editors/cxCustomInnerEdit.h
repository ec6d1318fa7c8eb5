// How an editor reaches the window it places inside itself (the text
// editors' edit window, a memo): the control, the editor that owns it, and
// the few things the editor does to it.
#pragma once

#include <memory>

#include "platform/rtl/Variants.h"
#include "suite/editors/cxContainer.h"

class TcxCustomEdit;

class IcxCustomInnerEdit : public IcxContainerInnerControl {
 public:
  static constexpr const char* IID = "{468D21B5-48AA-4077-8ED5-4C6112D460B1}";
  virtual TcxCustomEdit* OwnerEdit() = 0;
  // The window procedure the control had before the editor subclassed it.
  virtual win::LRESULT CallDefaultWindowProc(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) = 0;
  virtual Variant EditValue() = 0;
  virtual TNotifyEvent OnChange() = 0;
  virtual bool ReadOnly() = 0;
  virtual void LockBounds(bool ALock) = 0;
  virtual void FocusWithoutAutoSelect() = 0;
  virtual void AssignEditValue(const Variant& Value) = 0;
  virtual void SetParent(TWinControl* Value) = 0;
  virtual void SetOnChange(TNotifyEvent Value) = 0;
  virtual void SetReadOnly(bool Value) = 0;
};

// Offered by an inner edit object that hands out a helper implementing
// IcxCustomInnerEdit instead of implementing it itself.
class IcxInnerEditProvider {
 public:
  static constexpr const char* IID = "{35667555-6DC8-40D5-B705-B08D5697C621}";
  virtual ~IcxInnerEditProvider() = default;
  virtual IcxCustomInnerEdit* GetInnerEdit() = 0;
};

// Makes an editor's inner edit object with the editor as its owner; the
// editor holds it and frees it before its own components go.
using TcxInnerEditClass = std::unique_ptr<TComponent> (*)(TComponent* AOwner);

template <typename T>
std::unique_ptr<TComponent> CreateInnerEditObject(TComponent* AOwner) {
  return std::make_unique<T>(AOwner);
}
