#include "platform/db/DbStartup.h"

#include "platform/forms/FormsStartup.h"

void InitializeDb() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
}
