#include "platform/db/DataSetTypes.h"

#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/Components.h"

VXN_IMPLEMENT_CLASS(EDatabaseError, Exception)

void DatabaseError(std::string_view Message, TComponent* Component) {
  if (Component && !Component->Name().empty())
    throw EDatabaseError(Component->Name() + ": " + std::string(Message));
  throw EDatabaseError(Message);
}

void DatabaseErrorFmt(std::string_view Fmt, TVarRecs Args, TComponent* Component) {
  DatabaseError(Format(Fmt, Args), Component);
}

std::string ExtractFieldName(std::string_view Fields, Integer& Pos) {
  if (Pos < 1) Pos = 1;
  size_t start = static_cast<size_t>(Pos - 1);
  if (start >= Fields.size()) {
    Pos = static_cast<Integer>(Fields.size()) + 1;
    return std::string();
  }
  size_t end = Fields.find(';', start);
  std::string_view name = Fields.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  Pos = end == std::string_view::npos ? static_cast<Integer>(Fields.size()) + 1 : static_cast<Integer>(end) + 2;
  return Trim(name);
}

std::vector<std::string> SplitFieldNames(std::string_view Fields) {
  std::vector<std::string> names;
  Integer pos = 1;
  while (pos <= static_cast<Integer>(Fields.size())) names.push_back(ExtractFieldName(Fields, pos));
  return names;
}

const char* FieldTypeName(TFieldType Type) {
  static const char* const names[] = {
      "Unknown",    "String",     "SmallInt",    "Integer",  "Word",     "Boolean",   "Float",
      "Currency",   "BCD",        "Date",        "Time",     "DateTime", "Bytes",     "VarBytes",
      "AutoInc",    "Blob",       "Memo",        "Graphic",  "FmtMemo",  "ParadoxOle", "dBaseOle",
      "TypedBinary", "Cursor",    "FixedChar",   "WideString", "Largeint", "ADT",     "Array",
      "Reference",  "DataSet",    "OraBlob",     "OraClob",  "Variant",  "Interface", "IDispatch",
      "Guid",       "TimeStamp",  "FMTBcd"};
  static_assert(sizeof(names) / sizeof(names[0]) == ftFMTBcd + 1);
  auto index = static_cast<unsigned>(Type);
  return index <= ftFMTBcd ? names[index] : "Unknown";
}

void DefineDesignPosition(TFiler* Filer, TPoint& Position) {
  TPoint* p = &Position;
  Filer->DefineProperty(
      "Left", [p](TReader& R) { p->X = R.ReadInteger(); }, [p](TWriter& W) { W.WriteInteger(p->X); }, p->X != 0);
  Filer->DefineProperty(
      "Top", [p](TReader& R) { p->Y = R.ReadInteger(); }, [p](TWriter& W) { W.WriteInteger(p->Y); }, p->Y != 0);
}
