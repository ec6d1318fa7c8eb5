#include "suite/editors/EditorsStartup.h"

#include "suite/foundation/FoundationStartup.h"

void InitializeEditors() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeFoundation();
}
