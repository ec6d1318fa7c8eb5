// Compiles arbitrary text as JScript.
#include "fuzz/script/CompileScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return CompileScriptInput("JScript", data, size);
}
