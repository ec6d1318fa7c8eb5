// Compiles and runs script source with the standard library and a Log
// procedure that collects what the script writes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "script/fs_iinterpreter.h"

namespace scriptrun {

class Runner {
 public:
  Runner() : Script(std::make_unique<TfsScript>(nullptr)) {
    Script->LoadHostModules();
    // Declared like the host modules' items, so ClearProgram keeps it.
    Script->DeclaredBy = fsDeclaredByModules;
    Script->DeclareFunction("procedure Log(v: Variant)",
                            [this](TObject*, TClass, const std::string&, Variant& p) -> Variant {
                              if (!Output.empty()) Output += " ";
                              Output += VarToStr(VarArrayGet(p, {0}));
                              return Null();
                            });
    Script->DeclaredBy = fsDeclaredByScript;
  }

  // "ok" or "message at line:col".
  std::string Compile(const std::string& language, const std::string& source) {
    Script->SyntaxType = language;
    Script->Lines()->SetText(source);
    if (Script->CompileSource()) return "ok";
    return Script->ErrorText + " at " + Script->ErrorPosition;
  }

  // What the program logged, or the compile error, or "raised: message".
  // The previous program is cleared first (items declared like the host
  // modules' stay).
  std::string Run(const std::string& language, const std::string& source) {
    Output.clear();
    Script->ClearProgram();
    const std::string compiled = Compile(language, source);
    if (compiled != "ok") return compiled;
    try {
      Script->RunMainBlock();
    } catch (const Exception& e) {
      return Output + (Output.empty() ? "" : " ") + "raised: " + e.Message;
    }
    return Output;
  }

  std::unique_ptr<TfsScript> Script;
  std::string Output;
};

// The value a PascalScript expression logs.
inline std::string Eval(const std::string& expression) {
  Runner r;
  return r.Run("PascalScript", "begin Log(" + expression + ") end.");
}

}  // namespace scriptrun
