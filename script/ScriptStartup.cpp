#include "script/ScriptStartup.h"

#include "platform/forms/FormsStartup.h"
#include "script/LanguageGrammars.h"
#include "script/TfsILParser.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_idialogsrtti.h"
#include "script/fs_iformsrtti.h"
#include "script/fs_igraphicsrtti.h"
#include "script/fs_isysrtti.h"

namespace {

// Late-bound designators are built, at their first run, by a fresh loader
// over the designator's script.
std::unique_ptr<TfsDesignator> RebuildDesignator(const TfsXMLItem& source, TfsScript* script) {
  TfsXMLItem copy;
  copy.CopyFrom(source);
  TfsILParser loader(script);
  return loader.BuildDesignator(&copy, script);
}

}  // namespace

void InitializeScript() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
  RegisterBuiltInGrammars();
  fsSetDesignatorRebuilder(RebuildDesignator);
  // Host modules in the order every script declares them.
  fs_isysrtti::Register();
  fs_iclassesrtti::Register();
  fs_igraphicsrtti::Register();
  fs_iformsrtti::Register();
  fs_idialogsrtti::Register();
}
