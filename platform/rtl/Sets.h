// Sets of enumeration values, as the class library's "set of" types: a bit
// per element ordinal, so a set of up to 64 elements fits one word and its
// bits are the ordinal value that the type registry and the component
// streams store.
#pragma once

#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> elements) {
    for (E e : elements) Bits_ |= Bit(e);
  }

  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.Bits_ = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return Bits_; }

  constexpr bool Contains(E e) const { return (Bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return Bits_ == 0; }
  constexpr TSet& Include(E e) {
    Bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    Bits_ &= ~Bit(e);
    return *this;
  }

  // Union, difference, intersection; <= is "is a subset of".
  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.Bits_ | b.Bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.Bits_ & ~b.Bits_); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.Bits_ & b.Bits_); }
  friend constexpr TSet operator+(TSet a, E e) { return a.Include(e); }
  friend constexpr TSet operator-(TSet a, E e) { return a.Exclude(e); }
  friend constexpr bool operator<=(TSet a, TSet b) { return (a.Bits_ & ~b.Bits_) == 0; }
  friend constexpr bool operator==(TSet a, TSet b) = default;
  TSet& operator+=(TSet b) { return *this = *this + b; }
  TSet& operator-=(TSet b) { return *this = *this - b; }
  TSet& operator+=(E e) { return Include(e); }
  TSet& operator-=(E e) { return Exclude(e); }

 private:
  static constexpr uint64_t Bit(E e) {
    auto ordinal = static_cast<unsigned>(e);
    return ordinal < 64 ? uint64_t{1} << ordinal : 0;
  }

  uint64_t Bits_ = 0;
};
