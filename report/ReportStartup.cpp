#include "report/ReportStartup.h"

#include "script/ScriptStartup.h"
#include "platform/db/DbStartup.h"

void InitializeReport() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeScript();
  InitializeDb();
}
