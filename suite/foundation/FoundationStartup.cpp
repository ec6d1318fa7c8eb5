#include "suite/foundation/FoundationStartup.h"

#include "platform/forms/FormsStartup.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxPainterImages.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

void InitializeFoundation() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
  InitializeUxTheme();
  InitializeThemeManager();
  RegisterLookAndFeelsClasses();
  InitializeLookAndFeels();
  InitializePainterImages();
}
