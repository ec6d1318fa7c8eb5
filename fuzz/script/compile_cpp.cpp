// Compiles arbitrary text as C++Script.
#include "fuzz/script/CompileScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return CompileScriptInput("C++Script", data, size);
}
