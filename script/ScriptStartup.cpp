#include "script/ScriptStartup.h"

#include "platform/forms/FormsStartup.h"

void InitializeScript() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
}
