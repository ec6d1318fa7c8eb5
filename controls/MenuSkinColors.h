// The colour arithmetic every drawing of the menu skin shares. All of it
// works on RGB values: system colours are resolved first.
#pragma once

#include <initializer_list>

#include "platform/forms/Graphics.h"

// Each channel x moves towards white by p percent (p capped at 100): x +
// (255 - x) * p / 100, to the nearest integer with halves to the even one.
TColor LightenColor(TColor Color, Integer Percent);
// Red and blue lose d, green loses d - 2; each stays within 0..255.
TColor DarkenColor(TColor Color, Integer Amount);
// A grey of the mean channel plus Level, at most 240.
TColor GrayColor(TColor Color, Integer Level);
// The mean of each channel over the colours.
TColor AverageColor(std::initializer_list<TColor> Colors);
// Every pixel through GrayColor / LightenColor (Percent capped at 100).
void GrayBitmap(TBitmap* Bitmap, Integer Level);
void DimBitmap(TBitmap* Bitmap, Integer Percent);
