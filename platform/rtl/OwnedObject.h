// Ownership of an object that must be freed through Free (a component, a
// thread, a dispatcher): their BeforeDestruction has to run before any
// destructor, which a plain delete skips.
#pragma once

#include <memory>

#include "platform/rtl/System.h"

struct FreeObject {
  void operator()(TObject* object) const {
    if (object) object->Free();
  }
};

template <typename T>
using OwnedObject = std::unique_ptr<T, FreeObject>;
