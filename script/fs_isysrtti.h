// The standard library every script gets first: the standard type names,
// True, False, nil, Null and the Variant type constants, the two shared
// helper items for string characters and Variant array elements, and the
// functions and procedures of six categories.
#pragma once

#include "script/fs_iinterpreter.h"

namespace fs_isysrtti {

class TFunctions : public TfsRTTIModule {
  VXN_DECLARE_CLASS(TFunctions)

 public:
  explicit TFunctions(TfsScript* script);
};

// Adds the module to the host module list (once).
void Register();

}  // namespace fs_isysrtti
