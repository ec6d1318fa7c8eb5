#include "platform/win/WinStartup.h"

#include "platform/rtl/RtlStartup.h"

void InitializeWin() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeRtl();
}
