// Entry point of the radio programming program.
#include <cstdio>

#include "app/AppStartup.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/UnitsStartup.h"
#include "platform/win/Display.h"
#include "platform/win/SdlDisplay.h"

void InitializeUnits() { InitializeApp(); }

int main() {
  InitializeUnits();
  // The display comes first: everything after it may make windows. No window
  // is opened here; a desktop window appears only once one is shown.
  try {
    win::InstallDisplayForEnvironment();
  } catch (const Exception& e) {
    std::fprintf(stderr, "vxn: %s\n", e.Message.c_str());
    return 1;
  }
  std::puts("vxn: the program has no main window yet; only its libraries and tests are built.");
  win::InstallDisplay(nullptr);  // closes the desktop connection before the statics go
  return 0;
}
