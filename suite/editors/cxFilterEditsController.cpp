#include "suite/editors/cxFilterEditsController.h"

#include <memory>

#include "suite/editors/cxFilterEditHelpers.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterEditsController, TcxRegisteredClassList)

namespace {

// A root class has no parent to stand for it; it keys itself.
TClass KeyOf(TClass APropertiesClass) {
  return APropertiesClass->Parent ? APropertiesClass->Parent : APropertiesClass;
}

std::unique_ptr<TcxFilterEditsController>& ControllerSlot() {
  static std::unique_ptr<TcxFilterEditsController> controller;
  return controller;
}

TcxValueTypeIsStringProc valueTypeIsString = nullptr;
TcxValueTypeIsValueValidProc valueTypeIsValueValid = nullptr;

}  // namespace

void TcxFilterEditsController::Register(TClass APropertiesClass, TClass AHelperClass) {
  TcxRegisteredClassList::Register(KeyOf(APropertiesClass), AHelperClass);
}

void TcxFilterEditsController::Unregister(TClass APropertiesClass, TClass AHelperClass) {
  TcxRegisteredClassList::Unregister(KeyOf(APropertiesClass), AHelperClass);
}

void TcxFilterEditsController::Register(TClass APropertiesClass, TcxCustomFilterEditHelperClass AHelper) {
  FHelpers[AHelper->ClassType()] = AHelper;
  Register(APropertiesClass, AHelper->ClassType());
}

void TcxFilterEditsController::Unregister(TClass APropertiesClass, TcxCustomFilterEditHelperClass AHelper) {
  Unregister(APropertiesClass, AHelper->ClassType());
}

TcxCustomFilterEditHelperClass TcxFilterEditsController::FindHelper(TClass APropertiesClass) const {
  Integer index = -1;
  if (!APropertiesClass || !FindEntry(APropertiesClass, index)) return nullptr;
  const auto it = FHelpers.find(Items(index).RegisteredClass);
  return it == FHelpers.end() ? nullptr : it->second;
}

TcxFilterEditsController* FilterEditsController() { return ControllerSlot().get(); }

void InitializeFilterEditsController() {
  if (!ControllerSlot()) ControllerSlot() = std::make_unique<TcxFilterEditsController>();
}

void FinalizeFilterEditsController() { ControllerSlot().reset(); }

void SetFilterValueTypeQueries(TcxValueTypeIsStringProc AIsString, TcxValueTypeIsValueValidProc AIsValueValid) {
  valueTypeIsString = AIsString;
  valueTypeIsValueValid = AIsValueValid;
}

bool FilterValueTypeIsString(const TObject* AValueTypeClass) {
  return AValueTypeClass && valueTypeIsString && valueTypeIsString(AValueTypeClass);
}

bool FilterValueTypeIsValueValid(const TObject* AValueTypeClass, Variant& AValue) {
  return !AValueTypeClass || !valueTypeIsValueValid || valueTypeIsValueValid(AValueTypeClass, AValue);
}
