// Shared body of the compile fuzz targets: arbitrary text compiled in one
// script language. The grammar interpreter and the loader may refuse it with
// a compile error but must never crash, hang or exhaust the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "script/fs_iinterpreter.h"

// The host modules are registered once, in a parent script every input's
// script looks names up in: registering them for each input would leave the
// fuzzer a handful of runs a second.
inline TfsScript* HostScript() {
  static TfsScript* host = [] {
    auto* s = new TfsScript(nullptr);
    s->LoadHostModules();
    return s;
  }();
  return host;
}

inline int CompileScriptInput(const char* syntax, const uint8_t* data, size_t size) {
  TfsScript script(nullptr);
  script.ParentScript = HostScript();
  // Units come from here, never from files the input names.
  script.OnGetUnit = TfsGetUnitEvent([](TfsScript*, const std::string& name, std::string& text) {
    text = name.size() % 2 ? "" : "begin end.";
  });
  script.SyntaxType = syntax;
  script.Lines()->SetText(std::string(reinterpret_cast<const char*>(data), size));
  try {
    script.CompileSource();
  } catch (const Exception&) {
    // An unknown language named by a first line raises out of a compile.
  }
  return 0;
}
