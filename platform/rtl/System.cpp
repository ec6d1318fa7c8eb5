#include "platform/rtl/System.h"

#include <cmath>

#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SysUtils.h"

TObject::~TObject() {
  if (FObjectHandle != 0) ObjectHandleSlot::Release(FObjectHandle);
}

TClass TObject::StaticClass() {
  static const TClassInfo info{"TObject", nullptr, []() -> TObject* { return new TObject; }};
  return &info;
}

// Outside the range a double has no Currency value: llround's answer there
// (the lowest value) would pass for data.
Currency Currency::FromDouble(double d) {
  const double scaled = d * Scale;
  if (!(std::fabs(scaled) < 9223372036854775808.0)) throw EConvertError("Floating point value out of the Currency range");
  return FromScaled(static_cast<int64_t>(std::llround(scaled)));
}
