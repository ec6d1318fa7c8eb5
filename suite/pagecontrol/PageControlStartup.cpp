#include "suite/pagecontrol/PageControlStartup.h"

#include "suite/foundation/FoundationStartup.h"

void InitializePageControl() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeFoundation();
}
