#include "suite/foundation/FoundationStartup.h"

#include "platform/forms/FormsStartup.h"

void InitializeFoundation() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
}
