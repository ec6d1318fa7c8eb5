#include "app/AppStartup.h"

#include "serial/SerialStartup.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/pagecontrol/PageControlStartup.h"
#include "suite/data/DataStartup.h"
#include "controls/ControlsStartup.h"
#include "report/ReportStartup.h"

void InitializeApp() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeSerial();
  InitializeEditors();
  InitializePageControl();
  InitializeData();
  InitializeControls();
  InitializeReport();
}
