// TField, the base of every field of a data set, and TFields, a data set's
// ordered list of them. A field reads and writes its value in the data set's
// current record buffer; the field classes (StdFields.h, BlobFields.h, ...)
// give the value its type, text and checks.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/DataSetTypes.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Variants.h"

class TDataSet;
class TField;
class TFields;

using TFieldNotifyEvent = TDelegate<void(TField* Sender)>;
using TFieldGetTextEvent = TDelegate<void(TField* Sender, std::string& Text, bool DisplayText)>;
using TFieldSetTextEvent = TDelegate<void(TField* Sender, const std::string& Text)>;

// The cached key -> result pairs of a lookup field with LookupCache.
class TLookupList {
 public:
  void Add(const Variant& AKey, const Variant& AValue);
  void Clear() { Items_.clear(); }
  // The value of the first entry whose key equals AKey; Null when none.
  Variant ValueOfKey(const Variant& AKey) const;
  Integer Count() const { return static_cast<Integer>(Items_.size()); }

 private:
  std::vector<std::pair<Variant, Variant>> Items_;
};

// Equality of field values as locate, lookup and links compare them: Null
// equals only Null, arrays element by element, values that cannot be
// compared are unequal.
bool FieldValuesEqual(const Variant& A, const Variant& B);

class TField : public TComponent {
  VXN_DECLARE_CLASS(TField)

 public:
  explicit TField(TComponent* AOwner);
  ~TField() override;

  // --- Value -------------------------------------------------------------
  Variant Value() const { return GetAsVariant(); }
  void SetValue(const Variant& V) { SetAsVariant(V); }
  Variant AsVariant() const { return GetAsVariant(); }
  void SetAsVariant(const Variant& V);
  std::string AsString() const { return GetAsString(); }
  void SetAsString(const std::string& V) { SetAsStringValue(V); }
  Integer AsInteger() const { return GetAsInteger(); }
  void SetAsInteger(Integer V) { SetAsIntegerValue(V); }
  double AsFloat() const { return GetAsFloat(); }
  void SetAsFloat(double V) { SetAsFloatValue(V); }
  ::Currency AsCurrency() const { return GetAsCurrency(); }
  void SetAsCurrency(::Currency V) { SetAsCurrencyValue(V); }
  TDateTime AsDateTime() const { return GetAsDateTime(); }
  void SetAsDateTime(TDateTime V) { SetAsDateTimeValue(V); }
  bool AsBoolean() const { return GetAsBoolean(); }
  void SetAsBoolean(bool V) { SetAsBooleanValue(V); }

  // The edit text (OnGetText with DisplayText False, else the class's text)
  // and the display text; writing Text goes through OnSetText when assigned.
  std::string Text() const;
  void SetText(const std::string& Value);
  std::string DisplayText() const;

  bool IsNull() const;
  void Clear() { SetData(::Null()); }
  virtual bool IsBlob() const { return false; }
  // Whether the user may change the value: a data field of a modifiable,
  // open data set that is not read-only.
  virtual bool CanModify() const;
  // Copies the value of another field (or clears for nil).
  void Assign(TPersistent* Source) override;
  // Asks the data set's links to focus the control showing this field.
  void FocusControl();
  // Whether a typed character may appear in the field's text.
  virtual bool IsValidChar(char32_t InputChar) const;

  // Raw value access for the data set and the field classes: False (and
  // Null) when the field has no value in the current record.
  bool GetData(Variant& Value) const;
  // Validates (OnValidate) and stores the value in the current record.
  void SetData(const Variant& Value);

  // --- Properties --------------------------------------------------------
  TDataSet* DataSet() const { return DataSet_; }
  void SetDataSet(TDataSet* ADataSet);
  const std::string& FieldName() const { return FieldName_; }
  void SetFieldName(const std::string& Value);
  std::string FullName() const { return FieldName_; }
  std::string DisplayLabel() const { return DisplayLabel_.empty() ? FieldName_ : DisplayLabel_; }
  void SetDisplayLabel(const std::string& Value);
  std::string DisplayName() const { return DisplayLabel(); }
  Integer DisplayWidth() const { return DisplayWidth_ > 0 ? DisplayWidth_ : GetDefaultWidth(); }
  void SetDisplayWidth(Integer Value);
  // Stored rules of the form files.
  bool IsDisplayLabelStored() const { return !DisplayLabel_.empty(); }
  bool IsDisplayWidthStored() const { return DisplayWidth_ > 0; }
  bool IsAlignmentStored() const { return Alignment_ != DefaultAlignment(); }
  Integer Size() const { return Size_; }
  void SetSize(Integer Value);
  TFieldType DataType() const { return DataType_; }
  TFieldKind FieldKind() const { return FieldKind_; }
  void SetFieldKind(TFieldKind Value);
  // 1-based position of the field's definition; 0 for fields without one.
  Integer FieldNo() const { return FieldNo_; }
  Integer Index() const;
  void SetIndex(Integer Value);
  const std::string& Origin() const { return Origin_; }
  void SetOrigin(const std::string& Value) { Origin_ = Value; }
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool Value);
  bool Required() const { return Required_; }
  void SetRequired(bool Value) { Required_ = Value; }
  bool Visible() const { return Visible_; }
  void SetVisible(bool Value);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);
  const std::string& EditMask() const { return EditMask_; }
  void SetEditMask(const std::string& Value);
  bool Calculated() const { return FieldKind_ == fkCalculated; }
  void SetCalculated(bool Value) { SetFieldKind(Value ? fkCalculated : fkData); }
  bool Lookup() const { return FieldKind_ == fkLookup; }
  void SetLookup(bool Value) { SetFieldKind(Value ? fkLookup : fkData); }

  // Lookup fields: KeyFields of this data set find the record of
  // LookupDataSet whose LookupKeyFields hold the same values; the value is
  // that record's LookupResultField.
  const std::string& KeyFields() const { return KeyFields_; }
  void SetKeyFields(const std::string& Value);
  TDataSet* LookupDataSet() const { return LookupDataSet_; }
  void SetLookupDataSet(TDataSet* Value);
  const std::string& LookupKeyFields() const { return LookupKeyFields_; }
  void SetLookupKeyFields(const std::string& Value);
  const std::string& LookupResultField() const { return LookupResultField_; }
  void SetLookupResultField(const std::string& Value);
  bool LookupCache() const { return LookupCache_; }
  void SetLookupCache(bool Value);
  TLookupList& LookupList() { return LookupList_; }
  // Reads every record of LookupDataSet into the lookup list.
  void RefreshLookupList();

  TFieldNotifyEvent OnChange;
  TFieldNotifyEvent OnValidate;
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

  // Streaming: fields are children of their data set in form files.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // A field class that stands for several types takes the definition's
  // (a string field for ftFixedChar, a BLOB field for ftFmtMemo); others
  // keep their own.
  virtual void SetFieldType(TFieldType Value) { (void)Value; }

  // Runs OnChange (the data set calls it after the value changed).
  virtual void Change();
  // Runs OnValidate with the new value readable through the field.
  virtual void Validate(const Variant& NewValue);

 protected:
  friend class TDataSet;
  friend class TFields;

  void SetDataType(TFieldType Value) { DataType_ = Value; }
  void SetSizeValue(Integer Value) { Size_ = Value; }
  void SetFieldKindValue(TFieldKind Value) { FieldKind_ = Value; }
  void SetVisibleValue(bool Value) { Visible_ = Value; }
  // The alignment a form file leaves out.
  virtual TAlignment DefaultAlignment() const { return taLeftJustify; }
  void ReadState(TReader& Reader) override;
  void SetFieldNo(Integer Value) { FieldNo_ = Value; }
  // The width shown when DisplayWidth was never set.
  virtual Integer GetDefaultWidth() const { return 10; }
  // "Invalid field size" for a size the type cannot have (the base: any
  // size but 0).
  virtual void CheckTypeSize(Integer Value) const;
  // "(Blob)" from TBlobField: the class name without "T" and "Field", in
  // brackets, upper case when the field holds a value.
  std::string GetClassDesc() const;
  // Raises "Cannot access field '<name>' as type <TypeName>".
  [[noreturn]] void AccessError(const char* TypeName) const;
  void CheckInactive() const;
  // Tells the data set's links that the field's look changed.
  void PropertyChanged(bool LayoutAffected);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Typed access; the base refuses every type but Variant and String.
  virtual Variant GetAsVariant() const;
  virtual std::string GetAsString() const;
  virtual Integer GetAsInteger() const;
  virtual double GetAsFloat() const;
  virtual ::Currency GetAsCurrency() const;
  virtual TDateTime GetAsDateTime() const;
  virtual bool GetAsBoolean() const;
  // Stores a non-Null Variant converted to the field's type.
  virtual void SetVarValue(const Variant& Value);
  virtual void SetAsStringValue(const std::string& Value);
  virtual void SetAsIntegerValue(Integer Value);
  virtual void SetAsFloatValue(double Value);
  virtual void SetAsCurrencyValue(::Currency Value);
  virtual void SetAsDateTimeValue(TDateTime Value);
  virtual void SetAsBooleanValue(bool Value);
  // The text of the value: the display text or the edit text.
  virtual void GetText(std::string& Text, bool DisplayText) const;
  // Sets the value from its edit text.
  virtual void SetTextValue(const std::string& Value) { SetAsStringValue(Value); }

 private:
  TDataSet* DataSet_ = nullptr;
  std::string FieldName_;
  std::string DisplayLabel_;
  Integer DisplayWidth_ = 0;
  Integer Size_ = 0;
  TFieldType DataType_ = ftUnknown;
  TFieldKind FieldKind_ = fkData;
  Integer FieldNo_ = 0;
  // Place of a calculated or lookup field's value in a record buffer.
  Integer CalcSlot_ = -1;
  std::string Origin_;
  bool ReadOnly_ = false;
  bool Required_ = false;
  bool Visible_ = true;
  TAlignment Alignment_ = taLeftJustify;
  std::string EditMask_;
  std::string KeyFields_;
  TDataSet* LookupDataSet_ = nullptr;
  std::string LookupKeyFields_;
  std::string LookupResultField_;
  bool LookupCache_ = false;
  TLookupList LookupList_;
  // While OnValidate runs, the field reads the value being set.
  bool Validating_ = false;
  Variant ValidatingValue_;
};

// The fields of a data set, in their order. The list does not own them.
class TFields : public TObject {
  VXN_DECLARE_CLASS(TFields)

 public:
  explicit TFields(TDataSet* ADataSet) : DataSet_(ADataSet) {}

  Integer Count() const { return static_cast<Integer>(List_.size()); }
  // EDatabaseError "Field index out of range" for a bad index.
  TField* Fields(Integer Index) const;
  TField* operator[](Integer Index) const { return Fields(Index); }
  // Case-insensitive; nil when absent.
  TField* FindField(std::string_view FieldName) const;
  // EDatabaseError "Field '%s' not found" when absent.
  TField* FieldByName(std::string_view FieldName) const;
  TField* FieldByNumber(Integer FieldNo) const;
  Integer IndexOf(const TField* Field) const;
  void GetFieldNames(class TStrings* List) const;
  TDataSet* DataSet() const { return DataSet_; }
  const std::vector<TField*>& Items() const { return List_; }

  void Add(TField* Field);
  void Remove(TField* Field);
  void Clear() { List_.clear(); }
  // "Duplicate field name '%s'" when another field has the name.
  void CheckFieldName(std::string_view FieldName, const TField* Except = nullptr) const;
  void SetFieldIndex(TField* Field, Integer Value);

 private:
  TDataSet* DataSet_;
  std::vector<TField*> List_;
};
