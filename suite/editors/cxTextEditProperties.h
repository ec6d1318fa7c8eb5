// The shareable settings of the single-line text editor and the base of the
// settings of every text-based editor: character case, password echo,
// maximum length, the lookup items of incremental search, the number formats
// used while editing and for display, and an optional value range. The object
// turns edit values into the texts an editor shows, validates texts, and
// decides how an editor's text may change (its editing style). It listens to
// the format controller for its whole life, so a change of the regional
// settings reaches the editors that use it.
#pragma once

#include <bitset>
#include <memory>
#include <string>

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Classes.h"
#include "suite/editors/cxEditProperties.h"
#include "suite/editors/cxFormatController.h"

VXN_ENUM(TcxEditEchoMode, eemNormal, eemPassword)
// How an editor's text may change: free typing; typing whose accepted text
// must be a lookup item; no typing, characters only pick an item; no editing
// at all (the caret hidden).
VXN_ENUM(TcxEditingStyle, esFreeText, esListText, esListPick, esNoText)
VXN_ENUM(TcxTextEditViewStyle, vsNormal, vsHideCursor, vsButtonsOnly, vsButtonsAutoWidth)

using TcxNewLookupDisplayTextEvent = TDelegate<void(TObject* Sender, const std::string& AText)>;

// Characters accepted even where the default-values provider rejects them.
using TcxCharSet = std::bitset<256>;

inline constexpr const char* cxSEditValueOutOfBounds = "Value out of bounds";
inline constexpr const char* cxSEditNumericValueConvertError = "Could not convert to numeric value";

// ValidationErrorText's index of the range error.
inline constexpr Integer cxEditRangeErrorIndex = 1;

// The operation bits a text editor adds to SupportedOperations.
inline constexpr Cardinal esoTextEditOperations = 0x85E;

class TcxCustomTextEditProperties;

// The assigned flags of the inheritable text settings.
class TcxTextEditPropertiesValues : public TcxCustomEditPropertiesValues {
  VXN_DECLARE_CLASS(TcxTextEditPropertiesValues)

 public:
  using TcxCustomEditPropertiesValues::TcxCustomEditPropertiesValues;

  void Assign(TPersistent* Source) override;
  void RestoreDefaults() override;

  bool DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(bool Value);
  bool EditFormat() const { return FEditFormat; }
  void SetEditFormat(bool Value);
  bool MaxLength() const { return FMaxLength; }
  void SetMaxLength(bool Value);
  bool MaxValue() const { return FMaxValue; }
  void SetMaxValue(bool Value);
  bool MinValue() const { return FMinValue; }
  void SetMinValue(bool Value);

  // Stored rules: a flag goes to the stream only where the owner's own value
  // would not (a zero bound, an empty format) and the owner publishes it.
  bool IsDisplayFormatStored();
  bool IsEditFormatStored();
  bool IsMaxValueStored();
  bool IsMinValueStored();

 private:
  // The properties set a flag together with its value and announce once.
  friend class TcxCustomTextEditProperties;
  TcxCustomTextEditProperties* TextProperties() const;
  void SetFlag(bool& Flag, bool Value);

  bool FDisplayFormat = false;
  bool FEditFormat = false;
  bool FMaxLength = false;
  bool FMaxValue = false;
  bool FMinValue = false;
};

class TcxCustomTextEditProperties : public TcxCustomEditProperties, public IcxFormatControllerListener {
  VXN_DECLARE_CLASS(TcxCustomTextEditProperties)

 public:
  explicit TcxCustomTextEditProperties(TPersistent* AOwner);
  ~TcxCustomTextEditProperties() override;

  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  // Introduced here, in slot order.
  void FormatChanged() override;
  virtual void ValidateRange(const Variant& Value, std::string& ErrorText, IcxEditPropertiesEditor* Edit,
                             bool& Error);
  virtual Variant EmptyEditValue() { return Variant(std::string()); }
  virtual bool IsLookupItem(const std::string& Text);
  virtual std::string DefaultDisplayFormat() { return {}; }
  virtual Integer DefaultMaxLength();
  virtual Integer DropDownRowCount() { return 8; }
  virtual TcxEditingStyle EditingStyle() { return FHideCursor ? esNoText : esFreeText; }
  // The class of the lookup data a text editor of this kind makes (a
  // TcxCustomTextEditLookupData); nil for none.
  virtual TClass LookupDataClass();
  virtual bool UsesThousandSeparators(bool WhileTyping) {
    (void)WhileTyping;
    return false;
  }
  virtual void EditFormatOf(bool& IsCurrency, bool& ProviderFormats, std::string& Format,
                            IcxEditPropertiesEditor* Edit);
  virtual bool FormatsValues() { return false; }
  virtual bool PopupShowsLookupList() { return false; }
  virtual bool IsMultiLine() { return false; }
  virtual bool IsLookupListKey(Word Key, TShiftState Shift) {
    (void)Key;
    (void)Shift;
    return false;
  }
  // Bound 0 is the minimum, 1 the maximum.
  virtual bool HasRangeBound(Integer Bound);
  virtual bool HasValueRange();
  virtual void ChangedHook() { NotifyChanged(); }
  virtual void MaxLengthChanged() { NotifyChanged(); }
  virtual void SetCharCase(TEditCharCase Value);
  virtual bool HasLookupData() { return LookupDataClass() != nullptr; }
  virtual void ApplyEchoAndCase(std::string& Text);
  virtual bool IsDisplayValueValid(Variant& Value, bool Focused);

  // Overrides of the editor properties.
  TClass EditClass() override;
  void AlignmentChanged(TObject* Sender) override;
  void AssignAlignment(TcxEditAlignment* Value) override;
  bool ValidatesDisplayValue() override { return true; }
  TcxCustomEditPropertiesValuesClass AssignedValuesClass() override;
  Byte DisplayFormatOptions() override { return dfoSupports; }
  std::string ValidationErrorText() override { return ValidationErrorText(0); }
  bool HasSeparateChangeEvents() override { return true; }
  bool ComparesEditValues() override { return true; }
  bool EditValuesEqual(const Variant& A, const Variant& B) override;
  std::u16string DisplayTextOf(const Variant& Value, bool FullText) override;
  Cardinal SupportedOperations() override;
  bool IsEditValueValid(Variant& Value, bool Focused) override;
  bool IsResettable() override { return EditingStyle() != esNoText; }
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  void ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                            IcxEditPropertiesEditor* Edit) override;
  Integer EditValueSource(bool Focused) override {
    (void)Focused;
    return 1;
  }

  // Index 1 is the range error; any other the inherited text.
  std::string ValidationErrorText(Integer Index);
  // The text an editor shows for an edit value.
  void PrepareDisplayValue(const Variant& Value, Variant& Text, bool Focused);
  std::string FormatNumberValue(const Variant& Value, bool Focused, IcxEditPropertiesEditor* Edit = nullptr);

  TcxTextEditPropertiesValues* AssignedValues() const {
    return static_cast<TcxTextEditPropertiesValues*>(TcxCustomEditProperties::AssignedValues());
  }
  void SetAssignedValues(TcxTextEditPropertiesValues* Value) { AssignedValues()->Assign(Value); }

  TEditCharCase CharCase() const { return FCharCase; }
  TcxEditEchoMode EchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode Value);
  // #0 stands for "*".
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool HideCursor() const { return FHideCursor; }
  void SetHideCursor(bool Value);
  bool ListPickSelection() const { return FListPickSelection; }
  void SetListPickSelection(bool Value);
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value);
  std::string ImeName() const { return FImeName; }
  void SetImeName(const std::string& Value);
  bool IncrementalSearch() const { return FIncrementalSearch; }
  void SetIncrementalSearch(bool Value);
  bool ImmediateUpdateText() const { return FImmediateUpdateText; }
  void SetImmediateUpdateText(bool Value);
  bool MRULookup() const { return FMRULookup; }
  void SetMRULookup(bool Value);
  const TcxCharSet& ExtraAcceptedChars() const { return FExtraAcceptedChars; }
  void SetExtraAcceptedChars(const TcxCharSet& Value);
  TStringList* LookupItems() const { return FLookupItems.get(); }
  void SetLookupItems(TStrings* Value);
  bool LookupItemsSorted() const { return FLookupItems->Sorted(); }
  void SetLookupItemsSorted(bool Value) { FLookupItems->SetSorted(Value); }
  Integer MaxLength();
  void SetMaxLength(Integer Value);
  bool IsMaxLengthStored() const { return AssignedValues()->MaxLength(); }
  std::string DisplayFormat();
  void SetDisplayFormat(const std::string& Value);
  bool IsDisplayFormatStored() const { return AssignedValues()->DisplayFormat(); }
  std::string EditFormat();
  void SetEditFormat(const std::string& Value);
  bool IsEditFormatStored() const { return AssignedValues()->EditFormat(); }
  Double MaxValue();
  void SetMaxValue(Double Value);
  bool IsMaxValueStored() const { return AssignedValues()->MaxValue(); }
  Double MinValue();
  void SetMinValue(Double Value);
  bool IsMinValueStored() const { return AssignedValues()->MinValue(); }
  bool UseDisplayFormatWhenEditing() const { return FUseDisplayFormatWhenEditing; }
  void SetUseDisplayFormatWhenEditing(bool Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  TcxTextEditViewStyle ViewStyle();
  void SetViewStyle(TcxTextEditViewStyle Value);
  bool FormatAnnouncing() const { return FFormatAnnouncing; }

  // The values as stored, whether assigned or not (the stream writes these).
  const std::string& OwnDisplayFormat() const { return FDisplayFormat; }
  const std::string& OwnEditFormat() const { return FEditFormat; }
  Double OwnMaxValue() const { return FMaxValue; }
  Double OwnMinValue() const { return FMinValue; }

  TcxNewLookupDisplayTextEvent OnNewLookupDisplayText;

 private:
  void LookupItemsChanged(TObject* Sender);

  TEditCharCase FCharCase = ecNormal;
  TcxEditEchoMode FEchoMode = eemNormal;
  char FPasswordChar = '\0';
  bool FHideSelection = true;
  bool FHideCursor = false;
  bool FListPickSelection = true;
  TImeMode FImeMode = imDontCare;
  std::string FImeName;
  bool FIncrementalSearch = true;
  bool FImmediateUpdateText = false;
  bool FMRULookup = false;
  TcxCharSet FExtraAcceptedChars;
  std::unique_ptr<TStringList> FLookupItems;
  Integer FMaxLength = 0;
  std::string FDisplayFormat;
  std::string FEditFormat;
  Double FMinValue = 0;
  Double FMaxValue = 0;
  bool FUseDisplayFormatWhenEditing = false;
  bool FOEMConvert = false;
  bool FFormatAnnouncing = false;
};

// The text editor's own properties, with the published settings.
class TcxTextEditProperties : public TcxCustomTextEditProperties {
  VXN_DECLARE_CLASS(TcxTextEditProperties)

 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
};

// Upper- or lower-cases the ASCII letters alone.
std::string ApplyCharCase(const std::string& Text, TEditCharCase CharCase);

// Registers the classes and the editor kind.
void RegisterTextEditPropertiesClasses();
