// Basic types of the class library and its root object.
#pragma once

#include <cstdint>
#include <string>

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
  static Currency FromDouble(double d);  // rounds halves away from zero
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
// can be created by reference, a factory (the virtual constructor). The object
// model of the component layer hangs its published-property table here.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  TObject* (*Factory)() = nullptr;
  mutable void* TypeData = nullptr;  // filled by the type registry

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
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }

  std::string ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }

  // Frees the object; safe on nil through FreeAndNil.
  void Free() { delete this; }
};

template <typename T>
void FreeAndNil(T*& object) {
  T* p = object;
  object = nullptr;
  delete p;
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

// A class that can be created from its class reference through a default
// constructor.
#define VXN_IMPLEMENT_CREATABLE_CLASS(Name, Parent)                    \
  TClass Name::StaticClass() {                                         \
    static const TClassInfo info{#Name, Parent::StaticClass(),         \
                                 []() -> TObject* { return new Name; }}; \
    return &info;                                                      \
  }
