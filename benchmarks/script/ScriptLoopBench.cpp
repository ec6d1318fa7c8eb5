// A script's run time: a PascalScript loop of 1,000,000 rounds with an if,
// an integer sum and a call of a script function per round, locals only.
// Only the run is timed (the compile happens once, outside the loop).
#include <benchmark/benchmark.h>

#include "platform/rtl/Classes.h"
#include "script/ScriptStartup.h"
#include "script/fs_iinterpreter.h"

namespace {

const char* const kLoop = R"(function Next(x: Integer): Integer;
begin
  Result := x + 1;
end;

procedure Work;
var i, sum, k: Integer;
begin
  sum := 0;
  k := 0;
  for i := 1 to 1000000 do
  begin
    if i mod 2 = 0 then sum := sum + i mod 7;
    k := Next(k);
  end;
end;

begin
  Work;
end.)";

void BM_PascalScriptLoop(benchmark::State& state) {
  InitializeScript();
  TfsScript script(nullptr);
  script.LoadHostModules();
  script.Lines()->SetText(kLoop);
  if (!script.CompileSource()) {
    state.SkipWithError(script.ErrorText.c_str());
    return;
  }
  for (auto _ : state) script.RunMainBlock();
}
BENCHMARK(BM_PascalScriptLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace
