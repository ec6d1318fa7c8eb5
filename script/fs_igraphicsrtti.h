// Script binding of the forms library's colours, fonts, pens, brushes,
// canvases and graphics.
#pragma once

#include "script/fs_iinterpreter.h"

namespace fs_igraphicsrtti {

class TFunctions : public TfsRTTIModule {
  VXN_DECLARE_CLASS(TFunctions)

 public:
  explicit TFunctions(TfsScript* script);
};

void Register();

}  // namespace fs_igraphicsrtti
