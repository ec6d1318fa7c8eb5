// The settings object of an editor kind. An editor owns one, and a
// repository item owns one that any number of editors share. It holds the
// settings that do not depend on one editor (alignment, buttons, keys,
// read-only state, validation and change events), batches its change
// notices, and resolves unassigned values through the default-values
// provider that a data binding supplies.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Menus.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/OwnedObject.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/cxEditButtons.h"
#include "suite/editors/cxEditDefaultValuesProvider.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/foundation/cxClasses.h"

VXN_ENUM(TcxEditVertAlignment, taTopJustify, taBottomJustify, taVCenter)

class TcxCustomEditProperties;
class TcxCustomEditViewData;
struct TcxCustomEditViewDataClassInfo;
struct TcxEditSizeLimits;
// A view data class (see cxEditViewData.h).
using TcxCustomEditViewDataClass = const TcxCustomEditViewDataClassInfo*;

using TcxEditButtonClickEvent = TDelegate<void(TObject* Sender, Integer AButtonIndex)>;
using TcxEditClosePopupEvent = TDelegate<void(TObject* Sender, Integer AReason)>;
using TcxEditValidateEvent =
    TDelegate<void(TObject* Sender, Variant& DisplayValue, std::string& ErrorText, bool& Error)>;

// What the properties ask of the editor that validates through them. The
// editor base implements it; an owner that does is an editor.
class IcxEditPropertiesEditor {
 public:
  virtual ~IcxEditPropertiesEditor() = default;
  virtual TcxCustomEditProperties* OwnEditProperties() = 0;
  // The linked repository item's properties, else the own ones.
  virtual TcxCustomEditProperties* ActiveEditProperties() = 0;
  // The own properties' OnValidate, then the active ones' when an item is
  // linked.
  virtual void FireOnValidate(Variant& DisplayValue, std::string& ErrorText, bool& Error) = 0;
  virtual std::string CurrentDisplayText() = 0;
  // The editor's view of a display value as an edit value, and the states
  // that the text properties' validation and formats ask for. An editor that
  // says nothing: the value unchanged, not focused, not in place.
  virtual void DisplayValueToEditValue(const Variant& DisplayValue, Variant& EditValue, bool EditFocused) {
    (void)EditFocused;
    EditValue = DisplayValue;
  }
  virtual bool IsEditFocused() { return false; }
  virtual bool IsInplace() { return false; }
};

// Flags of the values a descendant properties class keeps assigned; this
// base knows ReadOnly alone.
class TcxCustomEditPropertiesValues : public TPersistent {
  VXN_DECLARE_CLASS(TcxCustomEditPropertiesValues)

 public:
  using TOwnerClass = TPersistent;
  explicit TcxCustomEditPropertiesValues(TPersistent* AOwner);

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FOwner; }
  virtual void RestoreDefaults();

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

 protected:
  TcxCustomEditProperties* Properties() const;
  void LockChanges();
  void UnlockChanges();
  void NotifyChanged();

 private:
  TPersistent* FOwner;
  bool FReadOnly = false;
};

using TcxCustomEditPropertiesValuesClass = TClass;

class TcxEditAlignment : public TPersistent {
  VXN_DECLARE_CLASS(TcxEditAlignment)

 public:
  explicit TcxEditAlignment(TPersistent* AOwner) : FOwner(AOwner) {}

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FOwner; }

  TAlignment Horz() const { return FHorz; }
  void SetHorz(TAlignment Value);
  bool IsHorzAssigned() const { return FIsHorzAssigned; }
  // Sets the field alone: unassigned and silent.
  void ShowHorz(TAlignment Value) { FHorz = Value; }
  TcxEditVertAlignment Vert() const { return FVert; }
  void SetVert(TcxEditVertAlignment Value);
  // Horz becomes unassigned; its stored value stays.
  void Reset();

  bool IsHorzStored() const { return FIsHorzAssigned; }
  bool IsVertStored() const { return FVert != taTopJustify; }

  TNotifyEvent OnChanged;

 private:
  void DoChanged();

  TPersistent* FOwner;
  TAlignment FHorz = taLeftJustify;
  bool FIsHorzAssigned = false;
  TcxEditVertAlignment FVert = taTopJustify;
};

// DisplayFormatOptions flags.
inline constexpr Byte dfoSupports = 1;
inline constexpr Byte dfoNoCurrencyValue = 2;

// SupportedOperations bit of an editor with buttons.
inline constexpr Cardinal esoHasButtons = 32;

inline constexpr TShortCut cxEditDefaultClickKey = scCtrl | 13;  // Ctrl+Enter

class TcxCustomEditProperties : public TcxInterfacedPersistent {
  VXN_DECLARE_CLASS(TcxCustomEditProperties)

 public:
  explicit TcxCustomEditProperties(TPersistent* AOwner);
  ~TcxCustomEditProperties() override;

  void Assign(TPersistent* Source) override;

  virtual void AlignmentChanged(TObject* Sender);
  virtual void AssignAlignment(TcxEditAlignment* Value);
  virtual void ButtonsChanged(TObject* Sender);
  virtual bool ValidatesDisplayValue() { return false; }
  virtual bool DefaultUseLeftAlignmentOnEditing() { return true; }
  virtual void ReleaseDefaultValuesProvider() { FDefaultValuesProvider = nullptr; }
  virtual void ComponentFreed(TComponent* Component) { (void)Component; }
  virtual TcxCustomEditPropertiesValuesClass AssignedValuesClass();
  virtual TAlignment DefaultHorzAlignment();
  virtual Byte DisplayFormatOptions() { return 0; }
  virtual std::string ValidationErrorText();
  virtual bool UsesProviderDisplayFormat(bool IgnoreProvider);
  virtual bool HasSeparateChangeEvents() { return false; }
  virtual bool WantsTabs() { return false; }
  virtual bool ComparesEditValues() { return false; }
  // TcxCustomEdit.
  virtual TClass EditClass();
  virtual TcxContainerStyleClass StyleClass() { return &CreateContainerStyle<TcxEditStyle>; }
  virtual TcxCustomEditViewDataClass ViewDataClass();
  virtual TcxContainerViewInfoClass ViewInfoClass();
  virtual void NotifyChanged();
  virtual bool EditValuesEqual(const Variant& A, const Variant& B);
  virtual std::unique_ptr<TcxCustomEditProperties> CreateOfSameClass();
  // A view data of ViewDataClass for one calculation; AExtra goes to its
  // extra flag.
  virtual std::unique_ptr<TcxCustomEditViewData> CreateViewData(TcxCustomEditStyle* AStyle, bool AIsInplace,
                                                                bool AExtra = false);
  virtual std::u16string DisplayTextOf(const Variant& Value, bool FullText);
  virtual Cardinal SupportedOperations();
  virtual bool IsActivationChar(char32_t Ch) {
    (void)Ch;
    return false;
  }
  // A kind may correct the value while it checks it.
  virtual bool IsEditValueValid(Variant& Value, bool Focused) {
    (void)Value;
    (void)Focused;
    return true;
  }
  virtual bool IsResettable() { return false; }
  virtual void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused);
  virtual void RestoreDefaults();
  virtual void CopyExtraDataTo(TcxCustomEditProperties* Properties) { (void)Properties; }
  virtual void ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                                    IcxEditPropertiesEditor* Edit);
  virtual Integer EditValueSource(bool Focused) {
    (void)Focused;
    return 0;
  }

  void LockChanges() { ++FUpdateCount; }
  void UnlockChanges(bool Invalidate = true);
  bool IsChangeLocked() const { return FChangeLock || FUpdateCount > 0; }
  void SetChangeLock(bool Value) { FChangeLock = Value; }
  Integer UpdateCount() const { return FUpdateCount; }

  IcxEditDefaultValuesProvider* DefaultValuesProvider() const { return FDefaultValuesProvider; }
  void SetDefaultValuesProvider(IcxEditDefaultValuesProvider* Value);
  bool CanModify();
  bool IsProviderDisplayFormatApplicable();
  // The size an editor of these properties takes for Value, measured by a
  // view data of its own.
  void MeasureEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AStyle, bool AIsInplace, const Variant& Value,
                       const TcxEditSizeLimits& ALimits, TSize& ASize);
  // Validation's call of the editor's OnValidate handlers.
  void RunOnValidate(Variant& Value, std::string& ErrorText, bool& Error, IcxEditPropertiesEditor* Edit,
                     bool& Changed);

  // The published alignment object, showing the effective alignment.
  TcxEditAlignment* Alignment();
  void SetAlignment(TcxEditAlignment* Value) { AssignAlignment(Value); }
  bool IsAlignmentStored() const;
  TcxEditAlignment* InnerAlignment() const { return FInnerAlignment.get(); }
  TcxCustomEditPropertiesValues* AssignedValues() const { return FAssignedValues.get(); }
  void SetAssignedValues(TcxCustomEditPropertiesValues* Value) { FAssignedValues->Assign(Value); }
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value);
  bool BeepOnError() const { return FBeepOnError; }
  void SetBeepOnError(bool Value) { FBeepOnError = Value; }
  TcxEditButtons* Buttons() const { return FButtons.get(); }
  void SetButtons(TcxEditButtons* Value) { FButtons->Assign(Value); }
  Byte ButtonsViewStyle() const { return FButtonsViewStyle; }
  void SetButtonsViewStyle(Byte Value);
  TShortCut ClearKey() const { return FClearKey; }
  void SetClearKey(TShortCut Value) { FClearKey = Value; }
  TShortCut ClickKey() const { return FClickKey; }
  void SetClickKey(TShortCut Value) { FClickKey = Value; }
  bool ImmediatePost() const { return FImmediatePost; }
  void SetImmediatePost(bool Value) { FImmediatePost = Value; }
  bool ReadOnly();
  void SetReadOnly(bool Value);
  bool IsReadOnlyStored() const { return FAssignedValues->ReadOnly(); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool UseLeftAlignmentOnEditing() const { return FUseLeftAlignmentOnEditing; }
  void SetUseLeftAlignmentOnEditing(bool Value);
  bool IsUseLeftAlignmentOnEditingStored() { return FUseLeftAlignmentOnEditing != DefaultUseLeftAlignmentOnEditing(); }
  bool UseMouseWheel() const { return FUseMouseWheel; }
  void SetUseMouseWheel(bool Value) { FUseMouseWheel = Value; }
  bool ValidateOnEnter() const { return FValidateOnEnter; }
  void SetValidateOnEnter(bool Value) { FValidateOnEnter = Value; }
  TcxFreeNotificator* FreeNotificator() const { return FFreeNotificator.get(); }

  TcxEditButtonClickEvent OnButtonClick;
  TNotifyEvent OnChange;
  TcxEditClosePopupEvent OnClosePopup;
  TNotifyEvent OnEditValueChanged;
  TcxEditValidateEvent OnValidate;
  TNotifyEvent OnPropertiesChanged;

 protected:
  // A descendant's constructor calls this to replace the flags object by one
  // of its AssignedValuesClass (the base constructor cannot ask for it).
  void RecreateAssignedValues();

 private:
  friend void ReleaseProviderFromLiveProperties(TObject* ProviderObject);
  void FreeNotification(TObject* Sender);
  bool OwnerIsWriting() const;
  bool OwnerIsDestroying() const;

  bool FAutoSelect = true;
  bool FBeepOnError = false;
  std::unique_ptr<TcxEditButtons> FButtons;
  Byte FButtonsViewStyle = 0;
  TShortCut FClearKey = 0;
  TShortCut FClickKey = cxEditDefaultClickKey;
  OwnedObject<TcxFreeNotificator> FFreeNotificator;
  bool FImmediatePost = false;
  std::unique_ptr<TcxEditAlignment> FInnerAlignment;
  bool FReadOnly = false;
  bool FTransparent = false;
  Integer FUpdateCount = 0;
  bool FUseLeftAlignmentOnEditing = true;
  bool FUseMouseWheel = true;
  bool FValidateOnEnter = false;
  std::unique_ptr<TcxEditAlignment> FAlignment;
  std::unique_ptr<TcxCustomEditPropertiesValues> FAssignedValues;
  bool FChangeLock = false;
  IcxEditDefaultValuesProvider* FDefaultValuesProvider = nullptr;
};

using TcxCustomEditPropertiesClass = TClass;

// Every properties object that exists, in the order they were made.
const std::vector<TcxCustomEditProperties*>& LivePropertiesList();
// Every live properties object whose provider is ProviderObject's drops it.
void ReleaseProviderFromLiveProperties(TObject* ProviderObject);

// Creates a properties object of a class by reference (a descendant of
// TcxCustomEditProperties); EClassNotFound when the class cannot be made.
std::unique_ptr<TcxCustomEditProperties> CreateEditProperties(TcxCustomEditPropertiesClass AClass,
                                                              TPersistent* AOwner);

inline constexpr const char* cxSEditValidateErrorText = "Invalid input value. Use escape key to abandon changes";
