// The settings of the spin edit: an Int64 or Double value kept within its
// limits, small and large steps that stop at, wrap around or refuse a limit,
// typing that may be switched off, and the spin buttons' position and fast
// buttons. Besides the properties classes, this module holds the rules the
// spin edit applies with them (the step to take for a spin key or button,
// the next value of a step, the typed text read as a value, the characters
// it accepts), as routines over the properties, so that the edit only
// supplies its state.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/TypInfo.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxSpinEditViewData.h"
#include "suite/editors/cxTextEditProperties.h"

VXN_ENUM(TcxSpinEditValueType, vtInt, vtFloat)

// Turns text that is not a number into a value; Error starts true.
using TcxSpinEditGetValueEvent = TDelegate<void(TObject* Sender, const std::string& AText, Variant& AValue,
                                                std::string& ErrorText, bool& Error)>;

inline constexpr const char* cxSEditSpinInvalidNumericValue = "Invalid numeric value";

// Step kinds, which are also the spin buttons' indexes: small backward
// (Down), small forward (Up), large backward (PageDown), large forward
// (PageUp).
inline constexpr Integer SpinStepDown = 0;
inline constexpr Integer SpinStepUp = 1;
inline constexpr Integer SpinStepPageDown = 2;
inline constexpr Integer SpinStepPageUp = 3;

// What happens to a step past a limit.
inline constexpr Integer SpinLimitRefuse = 0;
inline constexpr Integer SpinLimitStop = 1;
inline constexpr Integer SpinLimitWrap = 2;

class TcxCustomSpinEditProperties;

// Position and fast buttons of the spin buttons; owned by the properties.
class TcxSpinEditButtons : public TPersistent {
  VXN_DECLARE_CLASS(TcxSpinEditButtons)

 public:
  explicit TcxSpinEditButtons(TcxCustomSpinEditProperties* AOwner) : FOwner(AOwner) {}

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

  TcxSpinEditButtonsPosition Position() const { return FPosition; }
  void SetPosition(TcxSpinEditButtonsPosition Value);
  bool ShowFastButtons() const { return FShowFastButtons; }
  void SetShowFastButtons(bool Value);

 private:
  TcxCustomSpinEditProperties* FOwner;
  TcxSpinEditButtonsPosition FPosition = sbpVert;
  bool FShowFastButtons = false;
};

class TcxSpinEditPropertiesValues : public TcxTextEditPropertiesValues {
  VXN_DECLARE_CLASS(TcxSpinEditPropertiesValues)

 public:
  using TcxTextEditPropertiesValues::TcxTextEditPropertiesValues;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;

  bool ValueType() const { return FValueType; }
  void SetValueType(bool Value);

 private:
  bool FValueType = false;
};

class TcxCustomSpinEditProperties : public TcxCustomMaskEditProperties, public SpinButtonsSettings {
  VXN_DECLARE_CLASS(TcxCustomSpinEditProperties)

 public:
  explicit TcxCustomSpinEditProperties(TPersistent* AOwner);
  ~TcxCustomSpinEditProperties() override;

  void Assign(TPersistent* Source) override;

  // Introduced here, in slot order.
  virtual bool ClampAtLimits() { return true; }
  virtual Integer LimitBehaviour();
  virtual Variant MaxLimitValue();
  virtual Variant MinLimitValue();
  virtual bool ChecksTypedNumber() { return true; }
  virtual Variant NormalizeValue(const Variant& Value);
  virtual bool KeepsSelectionOnSpin() { return false; }

  // Overrides.
  TClass EditClass() override;
  void NotifyChanged() override;
  TcxCustomEditPropertiesValuesClass AssignedValuesClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  bool IsEditValueValid(Variant& Value, bool Focused) override;
  bool IsDisplayValueValid(Variant& Value, bool Focused) override;
  void ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                            IcxEditPropertiesEditor* Edit) override;
  Integer EditValueSource(bool Focused) override;
  Variant EmptyEditValue() override;
  bool FormatsValues() override { return true; }
  TcxSpinEditButtonsPosition SpinButtonsPosition() override { return FSpinButtons->Position(); }
  bool ShowFastButtons() override { return FSpinButtons->ShowFastButtons(); }

  // The value type's own range: vtFloat +-1.7e308, vtInt the Int64 range.
  Variant TypeLimit(bool Largest);
  Variant ConvertToValueType(const Variant& Value);
  // Numeric values only; anything else passes unchanged.
  Variant ConvertNumeric(const Variant& Value);
  // A numeric value beyond an applying bound becomes that bound (a Double).
  Variant ClampToRange(const Variant& Value);
  // Null when Ok is false.
  bool ParseValue(const std::string& Text, Variant& Value);
  // The plain text of a value: no format, no separators.
  std::string PlainText(const Variant& Value);

  TcxSpinEditPropertiesValues* AssignedValues() const {
    return static_cast<TcxSpinEditPropertiesValues*>(TcxCustomEditProperties::AssignedValues());
  }
  void SetAssignedValues(TcxSpinEditPropertiesValues* Value) { AssignedValues()->Assign(Value); }

  bool CanEdit() const { return FCanEdit; }
  void SetCanEdit(bool Value) { SetAndNotify(FCanEdit, Value); }
  bool Circular() const { return FCircular; }
  void SetCircular(bool Value) { SetAndNotify(FCircular, Value); }
  bool ExceptionOnInvalidInput() const { return FExceptionOnInvalidInput; }
  void SetExceptionOnInvalidInput(bool Value) { SetAndNotify(FExceptionOnInvalidInput, Value); }
  Double Increment() const { return FIncrement; }
  void SetIncrement(Double Value) { SetAndNotify(FIncrement, Value); }
  bool IsIncrementStored() const { return FIncrement != 1.0; }
  Double LargeIncrement() const { return FLargeIncrement; }
  void SetLargeIncrement(Double Value) { SetAndNotify(FLargeIncrement, Value); }
  bool IsLargeIncrementStored() const { return FLargeIncrement != 10.0; }
  TcxSpinEditButtons* SpinButtons() const { return FSpinButtons.get(); }
  void SetSpinButtons(TcxSpinEditButtons* Value) { FSpinButtons->Assign(Value); }
  bool UseCtrlIncrement() const { return FUseCtrlIncrement; }
  void SetUseCtrlIncrement(bool Value) { SetAndNotify(FUseCtrlIncrement, Value); }
  // The own type when assigned; else a data-bound edit follows its field,
  // a stand-alone one takes Doubles.
  TcxSpinEditValueType ValueType();
  void SetValueType(TcxSpinEditValueType Value);
  bool IsValueTypeStored() const { return AssignedValues()->ValueType(); }
  TcxSpinEditValueType OwnValueType() const { return FValueType; }

  TcxSpinEditGetValueEvent OnGetValue;

 private:
  template <typename T>
  void SetAndNotify(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    NotifyChanged();
  }

  bool FCanEdit = true;
  bool FCircular = false;
  bool FExceptionOnInvalidInput = false;
  Double FIncrement = 1.0;
  Double FLargeIncrement = 10.0;
  std::unique_ptr<TcxSpinEditButtons> FSpinButtons;
  bool FUseCtrlIncrement = false;
  TcxSpinEditValueType FValueType = vtInt;
  bool FAdjustingButtons = false;
};

class TcxSpinEditProperties : public TcxCustomSpinEditProperties {
  VXN_DECLARE_CLASS(TcxSpinEditProperties)

 public:
  using TcxCustomSpinEditProperties::TcxCustomSpinEditProperties;
};

class TcxEditRepositorySpinItem : public TcxEditRepositoryItemOf<TcxSpinEditProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositorySpinItem)

 public:
  explicit TcxEditRepositorySpinItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// --- the spin edit's rules --------------------------------------------------------------

// What the validation asks of a spin edit: whether its text was typed (and
// so must be parsed), and how it reads typed text as a value. An editor
// without it is taken as holding typed text with no kept value.
class SpinEditTypedValue {
 public:
  virtual ~SpinEditTypedValue() = default;
  virtual bool HasTypedText() = 0;
  virtual Variant KeptSpinValue() = 0;
  virtual bool ParseTypedValue(const Variant& DisplayValue, bool CanRaise, Variant& Value,
                               std::string& ErrorText) = 0;
};

// The step kind of a spin key (Up, Down, PageUp, PageDown), -1 for any other
// key or, with UseCtrlIncrement, without Ctrl.
Integer SpinStepKindOfKey(TcxCustomSpinEditProperties* Properties, Word Key, TShiftState Shift);

// The signed step of a kind, in the value type. An integer step that rounds
// to 0 moves by 1 in its direction.
Variant SpinIncrementOf(TcxCustomSpinEditProperties* Properties, Integer Kind);

// The value a step of Kind gives from Value; false when the step is refused
// (a limit that neither stops nor wraps, or a value that is no number).
// Wrapping always lands inside the limits: integers wrap around the range
// as often as the step asks, a Double past a limit takes the other one.
bool NextSpinValue(TcxCustomSpinEditProperties* Properties, const Variant& Value, Integer Kind, Variant& Result);

// Typed text as a value. The empty text is Null (with a provider that
// requires a value, 0 pulled into the range). Text that is no number goes to
// the OnGetValue handlers, the own properties' first, then the linked
// item's (Active, when it differs); failing those, the value is Kept and the
// answer false, raising "Invalid numeric value" (or the handler's text) when
// allowed and ExceptionOnInvalidInput is set.
bool ParseSpinTypedValue(TcxCustomSpinEditProperties* Own, TcxCustomSpinEditProperties* Active, TObject* Sender,
                         const Variant& DisplayValue, bool CanRaise, const Variant& Kept, Variant& Value,
                         std::string& ErrorText);

// A typed '.' or ',' stands for the decimal separator.
char32_t SpinEditTypedChar(char32_t Ch);
// Whether the edit takes a typed character (after SpinEditTypedChar);
// HasGetValueHandler: an OnGetValue handler on the own or linked properties.
bool IsSpinEditAcceptableChar(TcxCustomSpinEditProperties* Properties, char32_t Ch, bool HasGetValueHandler);

void RegisterSpinEditPropertiesClasses();
