// The Office 11 colour scheme: which colour scheme of the standard visual
// style is active (blue, olive, silver or none), the palette of named
// colours the Office 11 look paints with, the two expand-button bitmaps,
// and the colour routines of that look (mixing, scaling, gradients).
#pragma once

#include "platform/forms/Graphics.h"
#include "platform/win/WinTypes.h"

// 0 none, 1 normal colour (blue), 2 homestead (olive), 3 metallic (silver).
using TOffice11Scheme = uint8_t;
inline constexpr TOffice11Scheme Office11SchemeNone = 0;
inline constexpr TOffice11Scheme Office11SchemeBlue = 1;
inline constexpr TOffice11Scheme Office11SchemeOlive = 2;
inline constexpr TOffice11Scheme Office11SchemeSilver = 3;

// The palette, in RGB; black until first computed.
extern TColor Office11FaceColor;
extern TColor Office11LightFaceColor;
extern TColor Office11GradientFirstColor;
extern TColor Office11GradientLastColor;
extern TColor Office11SecondGradientFirstColor;
extern TColor Office11SecondGradientLastColor;
extern TColor Office11ShadowColor;
extern TColor Office11LightColor;
extern TColor Office11LineColor;
extern TColor Office11BorderColor;
extern TColor Office11SelectionFrameColor;
extern TColor Office11HotFirstColor;
extern TColor Office11HotLastColor;
extern TColor Office11PressedFirstColor;
extern TColor Office11PressedLastColor;
extern TColor Office11SymbolColor;
extern TColor Office11DisabledSymbolColor;
extern TColor Office11PanelColor;
extern TColor Office11SelectionColor;
extern TColor Office11BackgroundColor;
extern TColor Office11DarkBorderColor;
extern TColor Office11ExpandButtonLightColor;
extern TColor Office11ExpandButtonDarkColor;

// The 11 x 11 expand-button pictures; null while the palette is not
// acquired.
TBitmap* Office11ExpandMinusBitmap();
TBitmap* Office11ExpandPlusBitmap();

// The first call computes the palette and makes the bitmaps; each call
// counts one use.
void AcquireOffice11Palette();
// Recomputes the palette (scheme detection included) and, while it is in
// use, makes the bitmaps again.
void RecomputeOffice11Palette();
// The last release frees the bitmaps; the colours stay.
void ReleaseOffice11Palette();
Integer Office11PaletteUseCount();

TOffice11Scheme DetectOffice11Scheme();
TOffice11Scheme CurrentOffice11ColorScheme();
bool Office11SchemeInUse();

// Per channel MulDiv(c2, 100 - p, 100) + MulDiv(c1, p, 100), capped at 255,
// then the nearest colour the screen shows.
TColor MixColorsByPercent(TColor Color1, TColor Color2, Integer Percent);
// Each channel times Percent / 100, rounded half to even.
TColor ScaleColorByPercent(TColor AColor, Integer Percent);
// Up to 256 bands from Color1 to Color2, left to right or top to bottom.
void FillGradientRect(win::HDC DC, const TRect& R, TColor Color1, bool Horizontal, TColor Color2);
void FillRectSolid(win::HDC DC, const TRect& R, TColor AColor);
