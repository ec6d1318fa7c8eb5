// Basic types of the class library and its root object.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

using Integer = int32_t;
using Cardinal = uint32_t;
using Byte = uint8_t;
using Word = uint16_t;
using SmallInt = int16_t;
using ShortInt = int8_t;
using LongWord = uint32_t;
using LongInt = int32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using Extended = double;
using Single = float;
using Double = double;
using Boolean = bool;
using NativeInt = intptr_t;
using NativeUInt = uintptr_t;

// Days since 1899-12-30; the fraction is the time of day. Negative values keep
// the time as the absolute value of the fraction (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

// Fixed point with four decimals, stored as an integer scaled by 10000.
struct Currency {
  int64_t Value = 0;  // scaled by 10000

  static constexpr int64_t Scale = 10000;
  static constexpr Currency FromScaled(int64_t scaled) {
    Currency c;
    c.Value = scaled;
    return c;
  }
  // Rounds halves away from zero; EConvertError outside the range.
  static Currency FromDouble(double d);
  double ToDouble() const { return static_cast<double>(Value) / Scale; }

  friend constexpr bool operator==(Currency a, Currency b) { return a.Value == b.Value; }
  friend constexpr auto operator<=>(Currency a, Currency b) { return a.Value <=> b.Value; }
};

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  Integer cx = 0;
  Integer cy = 0;
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;

  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(Integer x, Integer y) { return {x, y}; }
constexpr TRect Rect(Integer left, Integer top, Integer right, Integer bottom) {
  return {left, top, right, bottom};
}
constexpr TRect Bounds(Integer left, Integer top, Integer width, Integer height) {
  return {left, top, left + width, top + height};
}

class TObject;

// Run-time description of a class: its name, its parent and, for classes that
// can be created by reference, factories (the virtual constructor). Factory
// builds a free-standing instance; OwnerFactory builds one for an owner (a
// component's owner, a collection item's collection, an owned persistent's
// owner) and is set for classes that name their owner type as TOwnerClass.
// The type registry (TypInfo.h) keeps its published-property table and
// handler methods in TypeData.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  TObject* (*Factory)() = nullptr;
  TObject* (*OwnerFactory)(TObject* owner) = nullptr;
  mutable void* TypeData = nullptr;  // owned by the type registry

  bool InheritsFrom(const TClassInfo* ancestor) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
      if (c == ancestor) return true;
    return false;
  }
};

using TClass = const TClassInfo*;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  // Kills the object's handle in the registry of live objects, if it has one.
  virtual ~TObject();

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }

  std::string ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }

  // Runs before any destructor when the object is freed through Free (the
  // component layer marks itself as being destroyed here).
  virtual void BeforeDestruction() {}

  // Frees the object; safe on nil through FreeAndNil.
  void Free() {
    BeforeDestruction();
    delete this;
  }

 private:
  friend struct ObjectHandleSlot;  // ObjectHandles.cpp
  // Handle in the registry of live objects; 0 until one is asked for.
  mutable int32_t FObjectHandle = 0;
};

template <typename T>
void FreeAndNil(T*& object) {
  T* p = object;
  object = nullptr;
  if constexpr (std::is_base_of_v<TObject, T>) {
    if (p) p->Free();
  } else {
    delete p;
  }
}

// Declares the class reference of a class derived from TObject; pair it with
// VXN_IMPLEMENT_CLASS (or VXN_IMPLEMENT_CREATABLE_CLASS) in the module.
#define VXN_DECLARE_CLASS(Name)                                     \
 public:                                                            \
  static TClass StaticClass();                                      \
  TClass ClassType() const override { return Name::StaticClass(); } \
                                                                    \
 private:

#define VXN_IMPLEMENT_CLASS(Name, Parent)                            \
  TClass Name::StaticClass() {                                       \
    static const TClassInfo info{#Name, Parent::StaticClass(), nullptr}; \
    return &info;                                                    \
  }

namespace vxn_class_detail {

template <typename T>
TObject* CreateDefault() {
  return new T;
}

// The owner's type is checked: an owner of the wrong class gives nil rather
// than an instance wired to an object it cannot use.
template <typename T>
TObject* CreateOwned(TObject* owner) {
  using Owner = typename T::TOwnerClass;
  Owner* typed = dynamic_cast<Owner*>(owner);
  if (owner && !typed) return nullptr;
  return new T(typed);
}

template <typename T>
constexpr TObject* (*DefaultFactoryOf())() {
  if constexpr (std::is_default_constructible_v<T>)
    return &CreateDefault<T>;
  else
    return nullptr;
}

template <typename T>
constexpr TObject* (*OwnerFactoryOf())(TObject*) {
  if constexpr (requires { typename T::TOwnerClass; }) {
    if constexpr (std::is_constructible_v<T, typename T::TOwnerClass*>) return &CreateOwned<T>;
  }
  return nullptr;
}

}  // namespace vxn_class_detail

// A class that can be created from its class reference: through its default
// constructor (Factory) and, when it names a TOwnerClass and has a
// constructor taking one, through that constructor (OwnerFactory).
#define VXN_IMPLEMENT_CREATABLE_CLASS(Name, Parent)                                    \
  TClass Name::StaticClass() {                                                         \
    static const TClassInfo info{#Name, Parent::StaticClass(),                         \
                                 vxn_class_detail::DefaultFactoryOf<Name>(),           \
                                 vxn_class_detail::OwnerFactoryOf<Name>()};            \
    return &info;                                                                      \
  }
