#include "suite/pagecontrol/PageControlStartup.h"

#include "platform/rtl/Classes.h"
#include "suite/foundation/FoundationStartup.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCPainterRegistration.h"
#include "suite/pagecontrol/cxPageControl.h"
#include "suite/pagecontrol/cxTabs.h"

void InitializePageControl() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeFoundation();
  RegisterTabsClasses();
  RegisterCustomTabControlClasses();
  RegisterPageControlClasses();
  InitializePCPainters();
}
