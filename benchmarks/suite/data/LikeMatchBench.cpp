// LIKE matching time on patterns that make a backtracking matcher explode:
// it must grow with text length times pattern length, nothing more.
#include <benchmark/benchmark.h>

#include <string>

#include "suite/data/cxLikeMatch.h"

static void BM_LikeAdversarial(benchmark::State& state) {
  const std::string text(static_cast<size_t>(state.range(0)), 'a');
  std::string pattern;
  for (int i = 0; i < 50; ++i) pattern += "%a";
  pattern += "%b";
  for (auto _ : state) benchmark::DoNotOptimize(LikeMatch(text, pattern));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LikeAdversarial)->Range(64, 16384)->Complexity(benchmark::oN);

static void BM_LikePlain(benchmark::State& state) {
  const std::string text = "The quick brown fox jumps over the lazy dog";
  for (auto _ : state) benchmark::DoNotOptimize(LikeMatch(text, "%brown%lazy%"));
}
BENCHMARK(BM_LikePlain);
