// The class library's pseudo-random numbers: a linear congruential generator
// on RandSeed, so a program that sets RandSeed gets the same sequence again.
#pragma once

#include "platform/rtl/System.h"

// The generator's state; Randomize sets it from the clock.
extern LongInt RandSeed;

// An integer in [0, Range); 0 when Range is not positive.
Integer Random(Integer Range);
// A number in [0, 1).
Extended Random();
// Seeds the generator from the program's clock (tick count and wall time).
void Randomize();
