#include "platform/db/Params.h"

#include <cctype>

#include "platform/db/DbConsts.h"
#include "platform/db/Field.h"

namespace {

TFieldType DataTypeOfVariant(const Variant& v) {
  switch (VarType(v) & varTypeMask) {
    case varSmallint:
    case varShortInt:
      return ftSmallint;
    case varByte:
    case varWord:
      return ftWord;
    case varInteger:
    case varLongWord:
      return ftInteger;
    case varInt64:
      return ftLargeint;
    case varSingle:
    case varDouble:
      return ftFloat;
    case varCurrency:
      return ftCurrency;
    case varDate:
      return ftDateTime;
    case varBoolean:
      return ftBoolean;
    case varString:
      return ftString;
    case varOleStr:
      return ftWideString;
    case varFMTBcd:
      return ftFMTBcd;
    case varSQLTimeStamp:
      return ftTimeStamp;
    default:
      return ftUnknown;
  }
}

bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

}  // namespace

// ---------------------------------------------------------------------------
// TParam

VXN_IMPLEMENT_CREATABLE_CLASS(TParam, TCollectionItem)

VXN_PUBLISH(TParam) {
  P.Property("DataType", &TParam::DataType, &TParam::SetDataType).Default(ftUnknown);
  P.Property("Name", &TParam::Name, &TParam::SetName);
  P.Property("NumericScale", &TParam::NumericScale).Default(0);
  P.Property("ParamType", &TParam::ParamType, &TParam::SetParamType).Default(ptUnknown);
  P.Property("Precision", &TParam::Precision).Default(0);
  P.Property("Size", &TParam::Size).Default(0);
  P.Property("Value", &TParam::Value, &TParam::SetValue);
}

TParam::TParam(TCollection* Collection) : TCollectionItem(Collection) { Value_ = Null(); }

void TParam::SetDataType(TFieldType Value) { DataType_ = Value; }

void TParam::SetValue(const Variant& V) {
  if (DataType_ == ftUnknown) DataType_ = DataTypeOfVariant(V);
  Value_ = VarIsEmpty(V) ? Null() : V;
  Bound = true;
}

void TParam::SetTypedValue(TFieldType Type, const Variant& V) {
  DataType_ = Type;
  Value_ = V;
  Bound = true;
}

void TParam::AssignField(TField* Field) {
  if (!Field) return;
  DataType_ = Field->DataType() == ftAutoInc ? ftInteger : Field->DataType();
  if (Name_.empty()) Name_ = Field->FieldName();
  Size = Field->Size();
  Value_ = Field->Value();
  Bound = true;
}

void TParam::AssignFieldValue(TField* Field, const Variant& V) {
  if (!Field) return;
  DataType_ = Field->DataType() == ftAutoInc ? ftInteger : Field->DataType();
  Size = Field->Size();
  Value_ = VarIsEmpty(V) ? Null() : V;
  Bound = true;
}

void TParam::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TParam*>(Source)) {
    Name_ = p->Name_;
    DataType_ = p->DataType_;
    ParamType_ = p->ParamType_;
    Value_ = p->Value_;
    Size = p->Size;
    Precision = p->Precision;
    NumericScale = p->NumericScale;
    Bound = p->Bound;
    return;
  }
  if (auto* f = dynamic_cast<TField*>(Source)) return AssignField(f);
  TCollectionItem::Assign(Source);
}

// ---------------------------------------------------------------------------
// TParams

VXN_IMPLEMENT_CLASS(TParams, TOwnedCollection)

TParams::TParams(TPersistent* AOwner) : TOwnedCollection(AOwner, TParam::StaticClass()) {}

TParam* TParams::CreateParam(TFieldType FldType, const std::string& ParamName, TParamType ParamType) {
  TParam* p = AddParameter();
  p->SetName(ParamName);
  p->SetDataType(FldType);
  p->SetParamType(ParamType);
  return p;
}

TParam* TParams::FindParam(std::string_view Value) const {
  for (Integer i = 0; i < Count(); ++i)
    if (AnsiSameText(Items(i)->Name(), Value)) return Items(i);
  return nullptr;
}

TParam* TParams::ParamByName(std::string_view Value) const {
  TParam* p = FindParam(Value);
  if (!p) {
    auto* owner = dynamic_cast<TComponent*>(const_cast<TParams*>(this)->GetOwner());
    DatabaseErrorFmt(SParameterNotFound, {Value}, owner);
  }
  return p;
}

std::vector<TParam*> TParams::GetParamList(std::string_view ParamNames) const {
  std::vector<TParam*> list;
  Integer pos = 1;
  while (pos <= static_cast<Integer>(ParamNames.size())) list.push_back(ParamByName(ExtractFieldName(ParamNames, pos)));
  return list;
}

Variant TParams::ParamValues(std::string_view ParamNames) const {
  std::vector<TParam*> list = GetParamList(ParamNames);
  if (list.empty()) return ParamByName(ParamNames)->Value();
  if (list.size() == 1) return list[0]->Value();
  Variant result = VarArrayCreate({0, static_cast<Integer>(list.size()) - 1}, varVariant);
  for (size_t i = 0; i < list.size(); ++i) VarArrayPut(result, list[i]->Value(), {static_cast<Integer>(i)});
  return result;
}

void TParams::SetParamValues(std::string_view ParamNames, const Variant& Value) {
  std::vector<TParam*> list = GetParamList(ParamNames);
  if (list.empty()) return ParamByName(ParamNames)->SetValue(Value);
  if (list.size() == 1) return list[0]->SetValue(Value);
  Integer low = VarArrayLowBound(Value, 1);
  for (size_t i = 0; i < list.size(); ++i) list[i]->SetValue(VarArrayGet(Value, {low + static_cast<Integer>(i)}));
}

void TParams::AssignValues(const TParams& Value) {
  for (Integer i = 0; i < Value.Count(); ++i) {
    TParam* src = Value.Items(i);
    if (TParam* dst = FindParam(src->Name())) {
      dst->SetDataType(src->DataType());
      if (src->Bound) dst->SetValue(src->Value());
    }
  }
}

bool TParams::IsEqual(const TParams& Value) const {
  if (Count() != Value.Count()) return false;
  for (Integer i = 0; i < Count(); ++i) {
    TParam* a = Items(i);
    TParam* b = Value.Items(i);
    if (!AnsiSameText(a->Name(), b->Name()) || a->DataType() != b->DataType() ||
        !FieldValuesEqual(a->Value(), b->Value()))
      return false;
  }
  return true;
}

std::string TParams::ParseSQL(std::string_view SQL, bool DoCreate) {
  std::string result;
  std::vector<std::string> names;
  size_t i = 0;
  while (i < SQL.size()) {
    char c = SQL[i];
    if (c == '\'' || c == '"') {
      // Quoted text is copied as it stands (a doubled quote stays inside).
      size_t j = i + 1;
      while (j < SQL.size()) {
        if (SQL[j] == c) {
          if (j + 1 < SQL.size() && SQL[j + 1] == c) {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      size_t end = std::min(j + 1, SQL.size());
      result.append(SQL.substr(i, end - i));
      i = end;
      continue;
    }
    if (c == ':') {
      if (i + 1 < SQL.size() && SQL[i + 1] == ':') {
        result += ':';
        i += 2;
        continue;
      }
      size_t j = i + 1;
      while (j < SQL.size() && IsNameChar(static_cast<unsigned char>(SQL[j]))) ++j;
      if (j > i + 1) {
        names.emplace_back(SQL.substr(i + 1, j - i - 1));
        result += '?';
        i = j;
        continue;
      }
    }
    result += c;
    ++i;
  }
  if (DoCreate) {
    TParams old(nullptr);
    old.Assign(this);
    BeginUpdate();
    Clear();
    for (const std::string& name : names) {
      if (FindParam(name)) continue;
      TParam* p = AddParameter();
      p->SetName(name);
      p->SetParamType(ptInput);
      if (TParam* before = old.FindParam(name)) p->Assign(before);
    }
    EndUpdate();
  }
  return result;
}
