// The spin edit: a number typed, or stepped with the spin buttons, the
// spin keys and the mouse wheel. It keeps the last accepted value apart from
// the text, so that a step starts from the value and not from what the
// text happens to read as; typed text is read (and may be refused) only
// when the value is asked for or validated. A spin button held by the
// mouse repeats its step, a held spin key shows its button pressed.
#pragma once

#include <memory>
#include <string>

#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxSpinEditProperties.h"

class TcxTimer;

class TcxCustomSpinEdit : public TcxCustomMaskEdit, public SpinButtonsHolder, public SpinEditTypedValue {
  VXN_DECLARE_CLASS(TcxCustomSpinEdit)

 public:
  explicit TcxCustomSpinEdit(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomSpinEdit() override;

  TcxCustomSpinEditProperties* ActiveSpinProperties() {
    return static_cast<TcxCustomSpinEditProperties*>(ActiveProperties());
  }
  TcxCustomSpinEditProperties* OwnSpinProperties() const {
    return static_cast<TcxCustomSpinEditProperties*>(Properties());
  }
  bool Typed() const { return FTyped; }
  Variant KeptValue() const { return FKeptValue; }
  TcxTimer* AutoRepeatTimer() const { return FTimer.get(); }

  // Introduced here, in slot order.
  virtual Variant SpinIncrement(Integer Kind);
  // Focused: the typed text read as a number (may raise with
  // ExceptionOnInvalidInput) or the kept value; else the edit value.
  virtual Variant Value();
  // The text of a value: the edit format while focused, else the display
  // format.
  virtual std::string ValueText(const Variant& AValue);
  // Numbers only; one the properties refuse is ignored.
  virtual void AssignValue(const Variant& AValue);
  // True when the text changed.
  virtual bool SpinStep(Integer Kind);

  bool NextValue(Integer Kind, Variant& AValue);
  bool HasGetValueHandler();
  void StartAutoRepeat();
  void StopSpinning();
  void SetHeldButton(Integer AMarker);
  bool IsValueStored();

  // SpinButtonsHolder
  Integer HeldSpinButtonMarker() override { return FHeldButton; }
  // SpinEditTypedValue
  bool HasTypedText() override { return FTyped; }
  Variant KeptSpinValue() override { return FKeptValue; }
  bool ParseTypedValue(const Variant& DisplayValue, bool CanRaise, Variant& AValue,
                       std::string& ErrorText) override;

  // The editor base.
  TcxContainerStyleValues GetUnstoredStyleValues() override;
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) override;
  void InnerEditChanged(TObject* Sender) override;
  void ButtonDown(Integer AIndex) override;
  void EditKeyDown(Word& Key, TShiftState Shift) override;
  void EditKeyPress(char32_t& Key) override;
  void EditKeyUp(Word& Key, TShiftState Shift) override;
  bool IsAcceptableChar(char32_t Ch) override;
  void PropertiesChanged(TObject* Sender) override;
  using TcxCustomMaskEdit::PropertiesChanged;
  void UpdateTextFromEditValue() override;
  void UpdateEditValueFromText() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override;
  void ClampValueToRange() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 protected:
  TcxCustomSpinEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  void FocusChanged() override;
  void DblClick() override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

 private:
  void InitializeSpinEdit();
  void KeepValue(const Variant& AValue);
  void AutoRepeatTick(TObject* Sender);
  void FreeTimer();
  bool WheelStep(TShiftState Shift, Integer Kind);

  Variant FKeptValue;
  bool FTyped = false;
  bool FTyping = false;
  Integer FHeldButton = 0;
  std::unique_ptr<TcxTimer> FTimer;
  // A timer stopped from inside its own tick lives on until the next start
  // or stop: its tick is still running.
  std::unique_ptr<TcxTimer> FRetiredTimer;
  bool FTicking = false;
};

class TcxSpinEdit : public TcxCustomSpinEdit {
  VXN_DECLARE_CLASS(TcxSpinEdit)

 public:
  explicit TcxSpinEdit(TComponent* AOwner, bool AIsInplace = false);

  TcxSpinEditProperties* SpinProperties() const { return static_cast<TcxSpinEditProperties*>(Properties()); }
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
};

void RegisterSpinEditClasses();
