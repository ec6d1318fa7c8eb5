#include "platform/db/Field.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/DbConsts.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/ComponentStreams.h"

namespace {

// Field names compare case-insensitively; the plain ASCII fold answers
// almost every comparison without the locale's help.
bool SameFieldName(std::string_view a, std::string_view b) {
  if (SameText(a, b)) return true;
  auto ascii = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  };
  if (ascii(a) && ascii(b)) return false;
  return AnsiSameText(a, b);
}

}  // namespace

// ---------------------------------------------------------------------------

bool FieldValuesEqual(const Variant& A, const Variant& B) {
  if (VarIsArray(A) || VarIsArray(B)) {
    if (!VarIsArray(A) || !VarIsArray(B)) return false;
    if (VarArrayDimCount(A) != 1 || VarArrayDimCount(B) != 1) return false;
    Integer lowA = VarArrayLowBound(A, 1), highA = VarArrayHighBound(A, 1);
    Integer lowB = VarArrayLowBound(B, 1), highB = VarArrayHighBound(B, 1);
    if (highA - lowA != highB - lowB) return false;
    for (Integer i = 0; i <= highA - lowA; ++i)
      if (!FieldValuesEqual(VarArrayGet(A, {lowA + i}), VarArrayGet(B, {lowB + i}))) return false;
    return true;
  }
  if (VarIsClear(A) || VarIsClear(B)) return VarIsClear(A) && VarIsClear(B);
  try {
    return VarCompareValue(A, B) == vrEqual;
  } catch (const EVariantError&) {
    return false;
  } catch (const EConvertError&) {
    return false;
  }
}

void TLookupList::Add(const Variant& AKey, const Variant& AValue) { Items_.emplace_back(AKey, AValue); }

Variant TLookupList::ValueOfKey(const Variant& AKey) const {
  if (VarIsClear(AKey)) return Null();
  for (const auto& [key, value] : Items_)
    if (FieldValuesEqual(key, AKey)) return value;
  return Null();
}

// ---------------------------------------------------------------------------
// TField

VXN_IMPLEMENT_CLASS(TField, TComponent)

VXN_PUBLISH(TField) {
  P.Property("Alignment", &TField::Alignment, &TField::SetAlignment)
      .Stored(&TField::IsAlignmentStored);
  P.Property("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel)
      .Stored(&TField::IsDisplayLabelStored);
  P.Property("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
      .Stored(&TField::IsDisplayWidthStored);
  P.Property("EditMask", &TField::EditMask, &TField::SetEditMask);
  P.Property("FieldKind", &TField::FieldKind, &TField::SetFieldKind).Default(fkData);
  P.Property("FieldName", &TField::FieldName, &TField::SetFieldName);
  P.Property("Index", &TField::Index, &TField::SetIndex).Stored(false);
  P.Property("KeyFields", &TField::KeyFields, &TField::SetKeyFields);
  P.Property("LookupCache", &TField::LookupCache, &TField::SetLookupCache).Default(false);
  P.Property("LookupDataSet", &TField::LookupDataSet, &TField::SetLookupDataSet);
  P.Property("LookupKeyFields", &TField::LookupKeyFields, &TField::SetLookupKeyFields);
  P.Property("LookupResultField", &TField::LookupResultField, &TField::SetLookupResultField);
  P.Property("Origin", &TField::Origin, &TField::SetOrigin);
  P.Property("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly).Default(false);
  P.Property("Required", &TField::Required, &TField::SetRequired).Default(false);
  P.Property("Visible", &TField::Visible, &TField::SetVisible).Default(true);
  P.Event("OnChange", &TField::OnChange);
  P.Event("OnGetText", &TField::OnGetText);
  P.Event("OnSetText", &TField::OnSetText);
  P.Event("OnValidate", &TField::OnValidate);
}

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

TField::~TField() {
  // A data set does not lose a field while open: it closes first.
  if (DataSet_ && DataSet_->Active() && !DataSet_->ComponentState().Contains(csDestroying)) DataSet_->Close();
  if (DataSet_) {
    (FieldKind_ == fkAggregate ? DataSet_->AggFields() : DataSet_->Fields()).Remove(this);
    DataSet_ = nullptr;
  }
}

void TField::SetDataSet(TDataSet* ADataSet) {
  if (ADataSet == DataSet_) return;
  if (DataSet_) DataSet_->CheckInactive();
  if (ADataSet) {
    ADataSet->CheckInactive();
    (FieldKind_ == fkAggregate ? ADataSet->AggFields() : ADataSet->Fields()).CheckFieldName(FieldName_);
  }
  if (DataSet_) (FieldKind_ == fkAggregate ? DataSet_->AggFields() : DataSet_->Fields()).Remove(this);
  DataSet_ = ADataSet;
  if (ADataSet) (FieldKind_ == fkAggregate ? ADataSet->AggFields() : ADataSet->Fields()).Add(this);
}

TComponent* TField::GetParentComponent() const { return DataSet_; }

void TField::SetParentComponent(TComponent* Value) {
  // While a form file is read the name comes later; ReadState joins then.
  if (!ComponentState().Contains(csLoading)) SetDataSet(dynamic_cast<TDataSet*>(Value));
}

void TField::ReadState(TReader& Reader) {
  TComponent::ReadState(Reader);
  if (auto* ds = dynamic_cast<TDataSet*>(Reader.Parent)) SetDataSet(ds);
}

void TField::SetFieldName(const std::string& Value) {
  if (Value == FieldName_) return;
  if (DataSet_) {
    DataSet_->CheckInactive();
    if (!SameFieldName(Value, FieldName_))
      (FieldKind_ == fkAggregate ? DataSet_->AggFields() : DataSet_->Fields()).CheckFieldName(Value, this);
  }
  FieldName_ = Value;
  if (DisplayLabel_ == Value) DisplayLabel_.clear();
}

void TField::SetDisplayLabel(const std::string& Value) {
  DisplayLabel_ = Value == FieldName_ ? std::string() : Value;
  PropertyChanged(true);
}

void TField::SetDisplayWidth(Integer Value) {
  DisplayWidth_ = Value;
  PropertyChanged(true);
}

void TField::SetSize(Integer Value) {
  CheckInactive();
  CheckTypeSize(Value);
  Size_ = Value;
}

void TField::CheckTypeSize(Integer Value) const {
  if (Value != 0) DatabaseError(SInvalidFieldSize);
}

void TField::SetFieldKind(TFieldKind Value) {
  if (FieldKind_ == Value) return;
  if (Value == fkAggregate || FieldKind_ == fkAggregate) DatabaseError(SInvalidFieldKind, DataSet_);
  CheckInactive();
  FieldKind_ = Value;
}

Integer TField::Index() const {
  if (!DataSet_) return -1;
  return (FieldKind_ == fkAggregate ? DataSet_->AggFields() : DataSet_->Fields()).IndexOf(this);
}

void TField::SetIndex(Integer Value) {
  if (!DataSet_) return;
  (FieldKind_ == fkAggregate ? DataSet_->AggFields() : DataSet_->Fields()).SetFieldIndex(this, Value);
}

void TField::SetReadOnly(bool Value) {
  if (ReadOnly_ == Value) return;
  ReadOnly_ = Value;
  PropertyChanged(true);
}

void TField::SetVisible(bool Value) {
  if (Visible_ == Value) return;
  Visible_ = Value;
  PropertyChanged(true);
}

void TField::SetAlignment(TAlignment Value) {
  if (Alignment_ == Value) return;
  Alignment_ = Value;
  PropertyChanged(false);
}

void TField::SetEditMask(const std::string& Value) {
  EditMask_ = Value;
  PropertyChanged(false);
}

void TField::SetKeyFields(const std::string& Value) {
  CheckInactive();
  KeyFields_ = Value;
}

void TField::SetLookupDataSet(TDataSet* Value) {
  if (Value == LookupDataSet_) return;
  CheckInactive();
  if (Value && Value == DataSet_) DatabaseError(SCircularDataLink, this);
  if (LookupDataSet_) RemoveFreeNotification(LookupDataSet_);
  LookupDataSet_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TField::SetLookupKeyFields(const std::string& Value) {
  CheckInactive();
  LookupKeyFields_ = Value;
}

void TField::SetLookupResultField(const std::string& Value) {
  CheckInactive();
  LookupResultField_ = Value;
}

void TField::SetLookupCache(bool Value) {
  if (LookupCache_ == Value) return;
  LookupCache_ = Value;
  if (!Value)
    LookupList_.Clear();
  else if (DataSet_ && DataSet_->Active() && FieldKind_ == fkLookup)
    RefreshLookupList();
}

void TField::RefreshLookupList() {
  LookupList_.Clear();
  TDataSet* lookup = LookupDataSet_;
  if (!lookup || !lookup->Active()) return;
  std::vector<TField*> keys = lookup->GetFieldList(LookupKeyFields_);
  TField* result = lookup->FieldByName(LookupResultField_);
  TBookmark saved = lookup->Bookmark();
  lookup->DisableControls();
  auto restore = [&] {
    if (!saved.empty() && lookup->BookmarkValid(saved)) lookup->SetBookmark(saved);
    lookup->EnableControls();
  };
  try {
    lookup->First();
    while (!lookup->Eof()) {
      Variant key;
      if (keys.size() == 1) {
        key = keys[0]->Value();
      } else {
        key = VarArrayCreate({0, static_cast<Integer>(keys.size()) - 1}, varVariant);
        for (size_t i = 0; i < keys.size(); ++i) VarArrayPut(key, keys[i]->Value(), {static_cast<Integer>(i)});
      }
      LookupList_.Add(key, result->Value());
      lookup->Next();
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TField::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == LookupDataSet_) {
    LookupDataSet_ = nullptr;
    LookupList_.Clear();
  }
}

void TField::PropertyChanged(bool LayoutAffected) {
  if (DataSet_ && DataSet_->Active()) DataSet_->DataEvent(LayoutAffected ? deLayoutChange : deDataSetChange, 0);
}

void TField::CheckInactive() const {
  if (DataSet_) DataSet_->CheckInactive();
}

std::string TField::GetClassDesc() const {
  std::string name = ClassName();
  if (!name.empty() && name[0] == 'T') name.erase(0, 1);
  if (name.size() >= 5 && SameText(name.substr(name.size() - 5), "Field")) name.resize(name.size() - 5);
  std::string desc = "(" + name + ")";
  return IsNull() ? desc : AnsiUpperCase(desc);
}

void TField::AccessError(const char* TypeName) const {
  DatabaseErrorFmt(SFieldAccessError, {DisplayName(), TypeName});
}

// --- values ------------------------------------------------------------------

bool TField::GetData(Variant& Value) const {
  if (Validating_) {
    Value = ValidatingValue_;
    return !VarIsClear(Value);
  }
  if (!DataSet_) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  return DataSet_->GetFieldData(this, Value);
}

void TField::SetData(const Variant& Value) {
  if (!DataSet_) DatabaseErrorFmt(SDataSetMissing, {DisplayName()});
  DataSet_->SetFieldData(this, VarIsEmpty(Value) ? Null() : Value);
}

void TField::Validate(const Variant& NewValue) {
  if (!OnValidate) return;
  Validating_ = true;
  ValidatingValue_ = NewValue;
  try {
    OnValidate(this);
  } catch (...) {
    Validating_ = false;
    ValidatingValue_ = Variant();
    throw;
  }
  Validating_ = false;
  ValidatingValue_ = Variant();
}

void TField::Change() {
  if (OnChange) OnChange(this);
}

bool TField::IsNull() const {
  Variant v;
  return !GetData(v);
}

void TField::SetAsVariant(const Variant& V) {
  if (VarIsClear(V))
    Clear();
  else
    SetVarValue(V);
}

Variant TField::GetAsVariant() const {
  Variant v;
  return GetData(v) ? v : Null();
}

std::string TField::GetAsString() const { AccessError("String"); }
Integer TField::GetAsInteger() const { AccessError("Integer"); }
double TField::GetAsFloat() const { AccessError("Float"); }
::Currency TField::GetAsCurrency() const { AccessError("Currency"); }
TDateTime TField::GetAsDateTime() const { AccessError("DateTime"); }
bool TField::GetAsBoolean() const { AccessError("Boolean"); }
void TField::SetVarValue(const Variant&) { AccessError("Variant"); }
void TField::SetAsStringValue(const std::string&) { AccessError("String"); }
void TField::SetAsIntegerValue(Integer) { AccessError("Integer"); }
void TField::SetAsFloatValue(double) { AccessError("Float"); }
void TField::SetAsCurrencyValue(::Currency) { AccessError("Currency"); }
void TField::SetAsDateTimeValue(TDateTime) { AccessError("DateTime"); }
void TField::SetAsBooleanValue(bool) { AccessError("Boolean"); }

void TField::GetText(std::string& Text, bool DisplayText) const {
  (void)DisplayText;
  Text = GetAsString();
}

std::string TField::Text() const {
  std::string text;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), text, false);
  else
    GetText(text, false);
  return text;
}

void TField::SetText(const std::string& Value) {
  if (OnSetText)
    OnSetText(this, Value);
  else
    SetTextValue(Value);
}

std::string TField::DisplayText() const {
  std::string text;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), text, true);
  else
    GetText(text, true);
  return text;
}

bool TField::CanModify() const {
  if (FieldNo_ <= 0 || !DataSet_) return false;
  return !ReadOnly_ && DataSet_->CanModify();
}

void TField::Assign(TPersistent* Source) {
  if (!Source) {
    Clear();
    return;
  }
  if (auto* other = dynamic_cast<TField*>(Source)) {
    SetValue(other->Value());
    return;
  }
  TComponent::Assign(Source);
}

void TField::FocusControl() {
  if (!DataSet_ || !DataSet_->Active()) return;
  TField* field = this;
  DataSet_->DataEvent(deFocusControl, reinterpret_cast<NativeInt>(&field));
}

bool TField::IsValidChar(char32_t InputChar) const {
  (void)InputChar;
  return true;
}

// ---------------------------------------------------------------------------
// TFields

VXN_IMPLEMENT_CLASS(TFields, TObject)

TField* TFields::Fields(Integer Index) const {
  if (Index < 0 || Index >= Count()) DatabaseError(SFieldIndexError, DataSet_);
  return List_[static_cast<size_t>(Index)];
}

TField* TFields::FindField(std::string_view FieldName) const {
  for (TField* f : List_)
    if (SameFieldName(f->FieldName(), FieldName)) return f;
  return nullptr;
}

TField* TFields::FieldByName(std::string_view FieldName) const {
  TField* f = FindField(FieldName);
  if (!f) DatabaseErrorFmt(SFieldNotFound, {FieldName}, DataSet_);
  return f;
}

TField* TFields::FieldByNumber(Integer FieldNo) const {
  for (TField* f : List_)
    if (f->FieldNo() == FieldNo) return f;
  return nullptr;
}

Integer TFields::IndexOf(const TField* Field) const {
  auto it = std::find(List_.begin(), List_.end(), Field);
  return it == List_.end() ? -1 : static_cast<Integer>(it - List_.begin());
}

void TFields::GetFieldNames(TStrings* List) const {
  List->BeginUpdate();
  List->Clear();
  for (TField* f : List_) List->Add(f->FieldName());
  List->EndUpdate();
}

void TFields::Add(TField* Field) { List_.push_back(Field); }

void TFields::Remove(TField* Field) {
  auto it = std::find(List_.begin(), List_.end(), Field);
  if (it != List_.end()) List_.erase(it);
}

void TFields::CheckFieldName(std::string_view FieldName, const TField* Except) const {
  if (FieldName.empty()) DatabaseError(SFieldNameMissing, DataSet_);
  TField* other = FindField(FieldName);
  if (other && other != Except) DatabaseErrorFmt(SDuplicateFieldName, {FieldName}, DataSet_);
}

void TFields::SetFieldIndex(TField* Field, Integer Value) {
  Integer current = IndexOf(Field);
  if (current < 0) return;
  Value = std::clamp<Integer>(Value, 0, Count() - 1);
  if (Value == current) return;
  List_.erase(List_.begin() + current);
  List_.insert(List_.begin() + Value, Field);
  if (DataSet_ && DataSet_->Active()) DataSet_->DataEvent(deFieldListChange, 0);
}
