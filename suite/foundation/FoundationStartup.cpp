#include "suite/foundation/FoundationStartup.h"

#include "platform/forms/FormsStartup.h"
#include "suite/foundation/cxControl.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxDragAndDrop.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxPainterImages.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "suite/foundation/cxScrollBar.h"
#include "suite/foundation/cxTimer.h"
#include "platform/rtl/TypInfo.h"

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
  RegisterSuiteCursors();
  RegisterClasses({TcxTimer::StaticClass(), TcxScrollBar::StaticClass(), TcxControl::StaticClass(),
                   TcxControlScrollBar::StaticClass(), TcxSizeGrip::StaticClass(),
                   TcxControlChildComponent::StaticClass(), TcxDragAndDropObject::StaticClass(),
                   TcxDragControlObject::StaticClass(), TcxDragImageList::StaticClass()});
}
