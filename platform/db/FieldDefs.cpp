#include "platform/db/FieldDefs.h"

#include "platform/db/BlobFields.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSetField.h"
#include "platform/db/DbConsts.h"
#include "platform/db/Field.h"
#include "platform/db/StdFields.h"

// ---------------------------------------------------------------------------
// TFieldDef

VXN_IMPLEMENT_CREATABLE_CLASS(TFieldDef, TCollectionItem)

VXN_PUBLISH(TFieldDef) {
  P.Property("Name", &TFieldDef::Name, &TFieldDef::SetName);
  P.Property("Attributes", &TFieldDef::Attributes, &TFieldDef::SetAttributes).Default(0);
  P.Property("ChildDefs", [](TFieldDef& d) { return &d.ChildDefs(); }, nullptr)
      .Stored(&TFieldDef::HasChildDefs);
  P.Property("DataType", &TFieldDef::DataType, &TFieldDef::SetDataType).Default(ftUnknown);
  P.Property("Precision", &TFieldDef::Precision, &TFieldDef::SetPrecision).Default(0);
  P.Property("Size", &TFieldDef::Size, &TFieldDef::SetSize).Default(0);
}

TFieldDef::TFieldDef(TCollection* Collection) : TCollectionItem(Collection) {}

TFieldDef::~TFieldDef() = default;

void TFieldDef::SetName(const std::string& Value) {
  if (Name_ == Value) return;
  if (!Value.empty()) {
    if (auto* defs = dynamic_cast<TFieldDefs*>(Collection())) {
      TFieldDef* other = defs->FindDef(Value);
      if (other && other != this) DatabaseErrorFmt(SDuplicateFieldName, {Value}, defs->DataSet());
    }
  }
  Name_ = Value;
  Changed(false);
}

void TFieldDef::SetDataType(TFieldType Value) {
  DataType_ = Value;
  Changed(false);
}

void TFieldDef::SetSize(Integer Value) {
  if (Value < 0) DatabaseError(SInvalidFieldSize);
  Size_ = Value;
  Changed(false);
}

void TFieldDef::SetPrecision(Integer Value) {
  Precision_ = Value;
  Changed(false);
}

void TFieldDef::SetAttributes(TFieldAttributes Value) {
  Attributes_ = Value;
  Changed(false);
}

void TFieldDef::SetRequired(bool Value) {
  if (Value)
    Attributes_.Include(faRequired);
  else
    Attributes_.Exclude(faRequired);
  Changed(false);
}

TFieldDefs& TFieldDef::ChildDefs() {
  if (!ChildDefs_) ChildDefs_ = std::make_unique<TFieldDefs>(this);
  return *ChildDefs_;
}

bool TFieldDef::HasChildDefs() const { return ChildDefs_ && ChildDefs_->Count() > 0; }

TClass TFieldDef::FieldClass() const { return DefaultFieldClass(DataType_); }

TField* TFieldDef::CreateField(TComponent* Owner, TDataSet* ADataSet) {
  TClass cls = FieldClass();
  if (!cls) DatabaseErrorFmt(SUnknownFieldType, {Name_}, ADataSet);
  auto* field = static_cast<TField*>(CreateComponent(cls, Owner));
  try {
    field->SetFieldType(DataType_);
    if (Size_ != 0) field->SetSize(Size_);
    if (Precision_ != 0) {
      if (auto* f = dynamic_cast<TFloatField*>(field)) f->SetPrecision(Precision_);
      if (auto* f = dynamic_cast<TBCDField*>(field)) f->SetPrecision(Precision_);
      if (auto* f = dynamic_cast<TFMTBCDField*>(field)) f->SetPrecision(Precision_);
    }
    field->SetFieldName(Name_);
    field->SetRequired(Attributes_.Contains(faRequired));
    if (Attributes_.Contains(faReadonly)) field->SetReadOnly(true);
    if (Attributes_.Contains(faHiddenCol)) field->SetVisible(false);
    field->SetDataSet(ADataSet);
  } catch (...) {
    field->Free();
    throw;
  }
  return field;
}

void TFieldDef::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TFieldDef*>(Source)) {
    Name_ = src->Name_;
    DataType_ = src->DataType_;
    Size_ = src->Size_;
    Precision_ = src->Precision_;
    Attributes_ = src->Attributes_;
    if (src->HasChildDefs())
      ChildDefs().Assign(src->ChildDefs_.get());
    else if (ChildDefs_)
      ChildDefs_->Clear();
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

// ---------------------------------------------------------------------------
// TFieldDefs

VXN_IMPLEMENT_CLASS(TFieldDefs, TOwnedCollection)

TFieldDefs::TFieldDefs(TPersistent* AOwner) : TOwnedCollection(AOwner, TFieldDef::StaticClass()) {
  if (auto* ds = dynamic_cast<TDataSet*>(AOwner)) {
    DataSet_ = ds;
  } else if (auto* def = dynamic_cast<TFieldDef*>(AOwner)) {
    if (auto* parent = dynamic_cast<TFieldDefs*>(def->Collection())) DataSet_ = parent->DataSet_;
  }
}

TFieldDef* TFieldDefs::Add(const std::string& Name, TFieldType DataType, Integer Size, bool Required) {
  if (Name.empty()) DatabaseError(SFieldNameMissing, DataSet_);
  if (IndexOf(Name) >= 0) DatabaseErrorFmt(SDuplicateFieldName, {Name}, DataSet_);
  if (DataSet_ && DataSet_->Active() && this == &DataSet_->FieldDefs()) DatabaseError(SDataSetOpen, DataSet_);
  BeginUpdate();
  TFieldDef* def = nullptr;
  try {
    def = AddFieldDef();
    def->SetName(Name);
    def->SetDataType(DataType);
    def->SetSize(Size);
    def->SetRequired(Required);
  } catch (...) {
    if (def) def->Free();
    EndUpdate();
    throw;
  }
  EndUpdate();
  return def;
}

Integer TFieldDefs::IndexOf(std::string_view Name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (AnsiSameText(Items(i)->Name(), Name)) return i;
  return -1;
}

TFieldDef* TFieldDefs::FindDef(std::string_view Name) const {
  Integer i = IndexOf(Name);
  return i >= 0 ? Items(i) : nullptr;
}

TFieldDef* TFieldDefs::Find(std::string_view Name) const {
  TFieldDef* def = FindDef(Name);
  if (!def) DatabaseErrorFmt(SFieldNotFound, {Name}, DataSet_);
  return def;
}

void TFieldDefs::Update() {
  if (!Updated && DataSet_ && this == &DataSet_->FieldDefs()) DataSet_->InitFieldDefs();
  Updated = true;
}

void TFieldDefs::Update(TCollectionItem* Item) {
  (void)Item;
  Updated = false;
}

// ---------------------------------------------------------------------------

TClass DefaultFieldClass(TFieldType Type) {
  switch (Type) {
    case ftString:
    case ftFixedChar:
      return TStringField::StaticClass();
    case ftSmallint:
      return TSmallintField::StaticClass();
    case ftInteger:
      return TIntegerField::StaticClass();
    case ftWord:
      return TWordField::StaticClass();
    case ftBoolean:
      return TBooleanField::StaticClass();
    case ftFloat:
      return TFloatField::StaticClass();
    case ftCurrency:
      return TCurrencyField::StaticClass();
    case ftBCD:
      return TBCDField::StaticClass();
    case ftDate:
      return TDateField::StaticClass();
    case ftTime:
      return TTimeField::StaticClass();
    case ftDateTime:
      return TDateTimeField::StaticClass();
    case ftBytes:
      return TBytesField::StaticClass();
    case ftVarBytes:
      return TVarBytesField::StaticClass();
    case ftAutoInc:
      return TAutoIncField::StaticClass();
    case ftBlob:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
      return TBlobField::StaticClass();
    case ftMemo:
    case ftOraClob:
      return TMemoField::StaticClass();
    case ftGraphic:
      return TGraphicField::StaticClass();
    case ftWideString:
      return TWideStringField::StaticClass();
    case ftLargeint:
      return TLargeintField::StaticClass();
    case ftDataSet:
      return TDataSetField::StaticClass();
    case ftVariant:
      return TVariantField::StaticClass();
    case ftGuid:
      return TGuidField::StaticClass();
    case ftTimeStamp:
      return TSQLTimeStampField::StaticClass();
    case ftFMTBcd:
      return TFMTBCDField::StaticClass();
    default:
      return nullptr;
  }
}
