// Script binding of the forms library: the constants used with controls and
// forms, the control class tree with the members beyond the published ones,
// the control events (bridged by fs_ievents), and the application object.
#pragma once

#include "script/fs_iinterpreter.h"

namespace fs_iformsrtti {

class TFunctions : public TfsRTTIModule {
  VXN_DECLARE_CLASS(TFunctions)

 public:
  explicit TFunctions(TfsScript* script);
};

// Adds the module to the host module list (once).
void Register();

}  // namespace fs_iformsrtti
