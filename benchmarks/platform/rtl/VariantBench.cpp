// The interpreter's hot path: Variant arithmetic, concatenation and copies.
#include <benchmark/benchmark.h>

#include "platform/rtl/Variants.h"

namespace {

void BM_VariantAddInteger(benchmark::State& state) {
  Variant sum = 0, one = 1;
  for (auto _ : state) {
    sum = sum + one;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_VariantAddInteger);

void BM_VariantAddDouble(benchmark::State& state) {
  Variant sum = 0.0, step = 0.5;
  for (auto _ : state) {
    sum = sum + step;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_VariantAddDouble);

void BM_VariantAddMixed(benchmark::State& state) {
  Variant sum = Currency::FromScaled(0), one = 1;
  for (auto _ : state) {
    sum = sum + one;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_VariantAddMixed);

void BM_VariantCompareInteger(benchmark::State& state) {
  Variant a = 1, b = 2;
  for (auto _ : state) benchmark::DoNotOptimize(a < b);
}
BENCHMARK(BM_VariantCompareInteger);

// "s := a + b": a new string each time.
void BM_VariantConcatenate(benchmark::State& state) {
  Variant a = "channel ", b = "sixteen";
  for (auto _ : state) {
    Variant s = a + b;
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_VariantConcatenate);

// "s := s + x" in a loop: appends in place, so a long text costs no copy.
void BM_VariantAppendInPlace(benchmark::State& state) {
  Variant piece = "x";
  for (auto _ : state) {
    Variant s = "";
    for (int i = 0; i < state.range(0); ++i) s += piece;
    benchmark::DoNotOptimize(s);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_VariantAppendInPlace)->Arg(1000)->Arg(10000);

void BM_VariantCopyString(benchmark::State& state) {
  Variant s = std::string(200, 'x');
  for (auto _ : state) {
    Variant copy = s;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_VariantCopyString);

void BM_VariantCopyArray(benchmark::State& state) {
  Variant a = VarArrayCreate({0, 999}, varVariant);
  for (auto _ : state) {
    Variant copy = a;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_VariantCopyArray);

}  // namespace
