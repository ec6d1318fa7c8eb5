#include "serial/SerialStartup.h"

#include "platform/forms/FormsStartup.h"
#include "serial/AdSelCom.h"

void InitializeSerial() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeForms();
  RegisterAdSelComClasses();
}
