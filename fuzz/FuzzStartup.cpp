// Every fuzz target starts its folder libraries once before the first input.
#include "platform/rtl/UnitsStartup.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitializeUnits();
  return 0;
}
