#include "platform/win/WinStartup.h"

#include "platform/rtl/RtlStartup.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/UserPrivate.h"

void InitializeWin() {
  static bool done = false;
  if (done) return;
  done = true;
  InitializeRtl();
  win::user::EnsureUserLayer();
  win::InstallMenuWindows();
}
