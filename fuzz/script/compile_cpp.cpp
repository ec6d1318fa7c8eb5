// Compiles arbitrary text as C++Script: the grammar interpreter and the loader
// may refuse it with a compile error but must never crash, hang or exhaust
// the stack.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "script/fs_iinterpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TfsScript script(nullptr);
  script.LoadHostModules();
  // Units come from here, never from files the input names.
  script.OnGetUnit = TfsGetUnitEvent([](TfsScript*, const std::string& name, std::string& text) {
    text = name.size() % 2 ? "" : "begin end.";
  });
  script.SyntaxType = "C++Script";
  script.Lines()->SetText(std::string(reinterpret_cast<const char*>(data), size));
  try {
    script.CompileSource();
  } catch (const Exception&) {
    // An unknown language named by a first line raises out of a compile.
  }
  return 0;
}
