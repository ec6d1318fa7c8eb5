#include "controls/ControlsStartup.h"

#include "controls/CellGrid.h"
#include "controls/MenuSkin.h"
#include "platform/forms/FormsStartup.h"

void InitializeControls() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
  RegisterCellGridClasses();
  RegisterMenuSkinClasses();
}
