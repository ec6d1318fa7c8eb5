#include "platform/rtl/RtlStartup.h"


void InitializeRtl() {
  static bool done = false;
  if (done) return;
  done = true;

}
