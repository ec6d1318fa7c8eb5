#include "platform/rtl/RtlStartup.h"

#include "platform/rtl/SysUtils.h"

void InitializeRtl() {
  static bool done = false;
  if (done) return;
  done = true;
  UseUserTextLocale();
}
