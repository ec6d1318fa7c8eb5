// Parses the input as a filter, query condition or aggregate expression over
// a small table and evaluates it on every record. A refused text must raise
// EDatabaseError and nothing else; an accepted one must evaluate without
// raising. Short texts also go through the table's Filter property.
//
// Input: byte 0 chooses the mode (bits 0-1) and the filter options (bits
// 2-3); the rest is the expression.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/db/ADODataSet.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/FilterExpression.h"
#include "platform/rtl/DateUtils.h"

namespace {

TADODataSet* Table() {
  static TADODataSet* table = [] {
    auto* ds = new TADODataSet(nullptr);
    ds->SetName("Fuzz");
    ds->FieldDefs().Add("Name", ftString, 20);
    ds->FieldDefs().Add("Qty", ftInteger);
    ds->FieldDefs().Add("Price", ftFloat);
    ds->FieldDefs().Add("Born", ftDateTime);
    ds->FieldDefs().Add("Member", ftBoolean);
    ds->FieldDefs().Add("Notes", ftMemo);
    ds->FieldDefs().Add("Big", ftLargeint);
    ds->FieldDefs().Add("Order Date", ftDate);
    ds->FieldDefs().Add("Wide", ftWideString, 10);
    ds->Open();
    ds->AppendRecord({"Ann", 3, 1.5, EncodeDate(2021, 1, 1), true, "note", 1LL << 40, 44000.0, "w"});
    ds->AppendRecord({"O'Brien", -5, -2.5e300, 0.5, false, Null(), Null(), Null(), "\xe6\xb1\x89"});
    ds->AppendRecord({Null(), Null(), Null(), Null(), Null(), Null(), 0LL, 1.0, Null()});
    ds->AppendRecord({"%_*", 2147483647, 0.0, -700000.0, true, "", -1LL, -1.0, ""});
    return ds;
  }();
  return table;
}

bool Param(std::string_view name, Variant& value) {
  if (name == "P1") value = Variant(5);
  else if (name == "P2") value = Variant("Ann");
  else if (name == "P3") value = Null();
  else if (name == "P4") value = VarFromDateTime(44000.5);
  else return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TADODataSet* ds = Table();
  const uint8_t control = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  TExprParserMode mode = (control & 3) == 0   ? TExprParserMode::Filter
                         : (control & 3) == 1 ? TExprParserMode::Query
                                              : TExprParserMode::Aggregate;
  TFilterOptions options;
  if (control & 4) options.Include(foCaseInsensitive);
  if (control & 8) options.Include(foNoPartialCompare);
  try {
    TFilterExpression expr(*ds, text, options, mode, Param);
    if (mode == TExprParserMode::Aggregate) {
      Variant v = expr.Aggregate([ds](const std::function<void(const std::vector<Variant>&)>& proc) {
        ds->ForEachRecordValues(proc);
      });
      (void)VarType(v);
    } else {
      ds->ForEachRecordValues([&](const std::vector<Variant>& row) { (void)expr.Evaluate(row); });
    }
  } catch (const EDatabaseError&) {
    return 0;
  }
  if (mode == TExprParserMode::Filter && text.size() < 4096) {
    try {
      ds->SetFilterOptions(options);
      ds->SetFilter(text);
      ds->SetFiltered(true);
      while (!ds->Eof()) ds->Next();
    } catch (const EDatabaseError&) {
      __builtin_trap();  // the same text parsed above
    }
    ds->SetFiltered(false);
  }
  return 0;
}
