#include "platform/db/BlobFields.h"

#include <algorithm>
#include <cstring>

#include "platform/db/DataSet.h"
#include "platform/db/DbConsts.h"
#include "platform/forms/Forms.h"

// ---------------------------------------------------------------------------
// TBlobField

VXN_IMPLEMENT_CREATABLE_CLASS(TBlobField, TField)

VXN_PUBLISH(TBlobField) {
  P.Property("BlobType", &TBlobField::BlobType, &TBlobField::SetBlobType).Default(ftBlob);
  P.Property("Size", &TBlobField::Size, &TBlobField::SetSize).Default(0);
}

TBlobField::TBlobField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftBlob); }

void TBlobField::SetBlobType(TBlobType Value) { SetFieldType(Value); }

void TBlobField::SetFieldType(TFieldType Value) {
  if ((Value >= ftBlob && Value <= ftTypedBinary) || Value == ftOraBlob || Value == ftOraClob) SetDataType(Value);
}

void TBlobField::CheckTypeSize(Integer Value) const {
  if (Value < 0) DatabaseError(SInvalidFieldSize);
}

Integer TBlobField::BlobSize() const { return static_cast<Integer>(GetAsString().size()); }

Variant TBlobField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varString ? v : Variant(VarToStr(v));
}

std::string TBlobField::GetAsString() const {
  Variant v;
  return GetData(v) ? VarToStr(v) : std::string();
}

void TBlobField::SetVarValue(const Variant& Value) { SetAsStringValue(VarToStr(Value)); }

void TBlobField::SetAsStringValue(const std::string& Value) { SetData(Value.empty() ? Null() : Variant(Value)); }

void TBlobField::GetText(std::string& Text, bool DisplayText) const {
  (void)DisplayText;
  Text = GetClassDesc();
}

void TBlobField::SaveToStream(TStream& Stream) const {
  std::string bytes = GetAsString();
  Stream.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TBlobField::LoadFromStream(TStream& Stream) {
  std::string bytes;
  char chunk[4096];
  for (;;) {
    Int64 n = Stream.Read(chunk, sizeof chunk);
    if (n <= 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  SetAsStringValue(bytes);
}

void TBlobField::SaveToFile(const std::string& FileName) const {
  TFileStream file(FileName, fmCreate);
  SaveToStream(file);
}

void TBlobField::LoadFromFile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

VXN_IMPLEMENT_CREATABLE_CLASS(TMemoField, TBlobField)

VXN_PUBLISH(TMemoField) {
  P.Redeclare("BlobType").Default(ftMemo);
  P.Property("Transliterate", &TMemoField::Transliterate).Default(true);
}

TMemoField::TMemoField(TComponent* AOwner) : TBlobField(AOwner) { SetDataType(ftMemo); }

VXN_IMPLEMENT_CREATABLE_CLASS(TGraphicField, TBlobField)

VXN_PUBLISH(TGraphicField) { P.Redeclare("BlobType").Default(ftGraphic); }

TGraphicField::TGraphicField(TComponent* AOwner) : TBlobField(AOwner) { SetDataType(ftGraphic); }

// ---------------------------------------------------------------------------
// TBlobStream

VXN_IMPLEMENT_CLASS(TBlobStream, TStream)

TBlobStream::TBlobStream(TBlobField* Field, TBlobStreamMode Mode) : Field_(Field), Mode_(Mode) {
  TDataSet* ds = Field->DataSet();
  if (!ds) DatabaseErrorFmt(SDataSetMissing, {Field->DisplayName()});
  if (Mode != bmRead) {
    if (Field->ReadOnly()) DatabaseErrorFmt(SFieldReadOnly, {Field->DisplayName()});
    if (ds->State() != dsEdit && ds->State() != dsInsert && ds->State() != dsNewValue)
      DatabaseError(SNotEditing, ds);
  }
  if (Mode == bmWrite) {
    Modified_ = true;
  } else {
    Variant v;
    if (Field->GetData(v)) Data_ = VarToStr(v);
  }
}

TBlobStream::~TBlobStream() {
  if (!Modified_) return;
  try {
    Field_->SetData(Data_.empty() ? Null() : Variant(Data_));
  } catch (...) {
    // A destructor cannot pass the error on; the application reports it.
    if (Application) Application->HandleException(this);
  }
}

Int64 TBlobStream::Read(void* Buffer, Int64 Count) {
  if (Count <= 0 || Position_ >= static_cast<Int64>(Data_.size())) return 0;
  Int64 n = std::min<Int64>(Count, static_cast<Int64>(Data_.size()) - Position_);
  std::memcpy(Buffer, Data_.data() + Position_, static_cast<size_t>(n));
  Position_ += n;
  return n;
}

Int64 TBlobStream::Write(const void* Buffer, Int64 Count) {
  if (Mode_ == bmRead || Count <= 0) return 0;
  size_t end = static_cast<size_t>(Position_ + Count);
  if (Data_.size() < end) Data_.resize(end, '\0');
  std::memcpy(Data_.data() + Position_, Buffer, static_cast<size_t>(Count));
  Position_ += Count;
  Modified_ = true;
  return Count;
}

Int64 TBlobStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 base = Origin == soBeginning ? 0 : Origin == soCurrent ? Position_ : static_cast<Int64>(Data_.size());
  Int64 target = base + Offset;
  if (target < 0) throw EStreamError(SReadError);
  Position_ = target;
  return Position_;
}

void TBlobStream::SetSize(Int64 NewSize) {
  if (Mode_ == bmRead || NewSize < 0) return;
  Data_.resize(static_cast<size_t>(NewSize), '\0');
  if (Position_ > NewSize) Position_ = NewSize;
  Modified_ = true;
}

void TBlobStream::Truncate() { SetSize(Position_); }
