// The in-memory table under load: appending rows of five fields one by one
// (Append, five field writes, Post), and walking them once from the first
// record, reading every field.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/db/ADODataSet.h"
#include "platform/db/Field.h"
#include "platform/db/FieldDefs.h"

namespace {

TADODataSet* MakeTable() {
  auto* ds = new TADODataSet(nullptr);
  ds->FieldDefs().Add("ID", ftInteger);
  ds->FieldDefs().Add("Name", ftString, 20);
  ds->FieldDefs().Add("Price", ftFloat);
  ds->FieldDefs().Add("When", ftDateTime);
  ds->FieldDefs().Add("Done", ftBoolean);
  ds->Open();
  return ds;
}

void Fill(TADODataSet* ds, int rows) {
  TField* id = ds->FieldByName("ID");
  TField* name = ds->FieldByName("Name");
  TField* price = ds->FieldByName("Price");
  TField* when = ds->FieldByName("When");
  TField* done = ds->FieldByName("Done");
  for (int i = 0; i < rows; ++i) {
    ds->Append();
    id->SetAsInteger(i);
    name->SetAsString("row " + std::to_string(i));
    price->SetAsFloat(i * 0.25);
    when->SetAsDateTime(40000 + i / 1440.0);
    done->SetAsBoolean(i % 2 == 0);
    ds->Post();
  }
}

void BM_AppendRows(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TADODataSet* ds = MakeTable();
    Fill(ds, rows);
    benchmark::DoNotOptimize(ds->RecordCount());
    state.PauseTiming();
    ds->Free();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_AppendRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WalkRows(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  TADODataSet* ds = MakeTable();
  Fill(ds, rows);
  for (auto _ : state) {
    double sum = 0;
    size_t chars = 0;
    ds->First();
    while (!ds->Eof()) {
      sum += ds->Fields()[0]->AsInteger() + ds->Fields()[2]->AsFloat() + ds->Fields()[3]->AsDateTime();
      chars += ds->Fields()[1]->AsString().size() + (ds->Fields()[4]->AsBoolean() ? 1 : 0);
      ds->Next();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * rows);
  ds->Free();
}
BENCHMARK(BM_WalkRows)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
