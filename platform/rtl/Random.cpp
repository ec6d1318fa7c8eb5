#include "platform/rtl/Random.h"

#include <cstring>

#include "platform/rtl/Clock.h"

LongInt RandSeed = 0;

namespace {

uint32_t nextSeed() {
  const uint32_t next = static_cast<uint32_t>(RandSeed) * 0x08088405u + 1u;
  RandSeed = static_cast<LongInt>(next);
  return next;
}

}  // namespace

Integer Random(Integer Range) {
  const uint32_t seed = nextSeed();
  if (Range <= 0) return 0;
  return static_cast<Integer>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(Range)) >> 32);
}

Extended Random() { return static_cast<Extended>(nextSeed()) / 4294967296.0; }

void Randomize() {
  const UInt64 ticks = GetTickCount64();
  const double now = ClockNow();
  uint64_t nowBits;
  std::memcpy(&nowBits, &now, sizeof nowBits);
  const uint64_t mixed = (ticks * 0x9E3779B97F4A7C15ull) ^ nowBits ^ (nowBits >> 29);
  RandSeed = static_cast<LongInt>(static_cast<uint32_t>(mixed ^ (mixed >> 32)));
}
