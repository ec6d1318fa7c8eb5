#include "System.h"

#include <cmath>

#include "ObjectHandles.h"

TObject::~TObject() {
  if (FObjectHandle != 0) ObjectHandleSlot::Release(FObjectHandle);
}

TClass TObject::StaticClass() {
  static const TClassInfo info{"TObject", nullptr, []() -> TObject* { return new TObject; }};
  return &info;
}

Currency Currency::FromDouble(double d) {
  return FromScaled(static_cast<int64_t>(std::llround(d * Scale)));
}
