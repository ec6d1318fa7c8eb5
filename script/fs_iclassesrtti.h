// Script binding of the class library's basic classes: objects, persistent
// objects, collections, lists, string lists, streams, components, and the
// interpreter's own XML document classes.
#pragma once

#include "script/fs_iinterpreter.h"

namespace fs_iclassesrtti {

class TFunctions : public TfsRTTIModule {
  VXN_DECLARE_CLASS(TFunctions)

 public:
  explicit TFunctions(TfsScript* script);
};

// Adds the module to the host module list (once).
void Register();

}  // namespace fs_iclassesrtti
