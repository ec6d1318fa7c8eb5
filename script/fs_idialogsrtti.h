// Script binding of the common dialogs and the message functions.
#pragma once

#include "script/fs_iinterpreter.h"

namespace fs_idialogsrtti {

class TFunctions : public TfsRTTIModule {
  VXN_DECLARE_CLASS(TFunctions)

 public:
  explicit TFunctions(TfsScript* script);
};

void Register();

}  // namespace fs_idialogsrtti
