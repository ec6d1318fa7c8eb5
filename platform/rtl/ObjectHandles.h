// The registry of live objects. Scripts, reports and Variants pass objects as
// Integers; an address never is one. An object gets a handle the first time
// one is asked for and keeps it for life; the handle dies when the object is
// freed and is never given to another object, so a stale handle is caught
// instead of reaching whatever now lives at the old address.
#pragma once

#include "platform/rtl/System.h"
#include "platform/rtl/Variants.h"

// 0 for nil.
Integer ObjectToHandle(const TObject* object);
// nil for 0. A handle of no live object raises EInvalidPointer; an object that
// is not of the expected class (nullptr accepts any) raises EInvalidCast.
TObject* HandleToObject(Integer handle, TClass expected = nullptr);
bool IsLiveObjectHandle(Integer handle);

template <typename T>
T* HandleToObject(Integer handle) {
  TObject* object = HandleToObject(handle, T::StaticClass());
  return object ? dynamic_cast<T*>(object) : nullptr;
}

// An Integer Variant holding the object's handle (0 for nil).
Variant VarFromObject(const TObject* object);
// The object behind an Integer Variant; Empty, Null and 0 give nil. Other
// kinds convert to Integer first (a cast error when they cannot).
TObject* VarToObject(const Variant& v, TClass expected = nullptr);

template <typename T>
T* VarToObject(const Variant& v) {
  TObject* object = VarToObject(v, T::StaticClass());
  return object ? dynamic_cast<T*>(object) : nullptr;
}

// Used by TObject's destructor.
struct ObjectHandleSlot {
  static Integer Acquire(const TObject* object);
  static void Release(Integer handle) noexcept;
};
