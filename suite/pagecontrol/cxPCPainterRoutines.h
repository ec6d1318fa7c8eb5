// Routines and values that the tab painters share: side lines of a rect,
// clip regions from tab outlines whose segments know their place in the
// figure, colour brightening, the face and scheme colours computed at
// start, and a screen canvas for measuring fonts without a window.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/rtl/System.h"
#include "suite/pagecontrol/cxPCTypes.h"

class TcxCanvas;
class TcxRegion;

// Where a segment of a tab outline lies in the figure.
enum TLinePosition : uint8_t { lpL = 0, lpLT = 1, lpT = 2, lpRT = 3, lpR = 4, lpRB = 5, lpB = 6, lpLB = 7 };

using TPoints = std::vector<TPoint>;
using TLinePositions = std::vector<TLinePosition>;

// The button face with each channel raised by 20 (above 235: 255); set at
// the painters' start.
extern TColor LightFaceColor;
// Colours of the OneNote look by the Office 11 scheme; refreshed when the
// system colours change.
extern std::array<TColor, 6> OneNoteSchemeColors;

TColor ComputeLightFaceColor();
void UpdateOneNoteSchemeColors();

// Draws a line along Sides[k] (0 left, 1 top, 2 right, 3 bottom) in
// Colors[k] for k up to LastIndex, moving that side inwards after each line;
// with Exclude the band drawn is taken out of the clip.
void DrawRectSideLines(TcxCanvas* ACanvas, TRect& R, const Integer* Sides, const TColor* Colors, Integer LastIndex,
                       bool Exclude);
void AppendFigurePoints(TPoints& Points, const TPoint* NewPoints, Integer LastPointIndex, Integer LastLineIndex,
                        const TLinePosition* NewPositions, TLinePositions& Positions);
bool FigureHasSide(TLinePosition Position, const TLinePositions& Positions);
// The region of a figure. Outer (Inner false): the figure with its right
// and bottom outline pixels; Inner: the body inside the left and top
// outline. Points is overwritten.
std::unique_ptr<TcxRegion> FigureOutlineRegion(TPoints& Points, Integer LastPointIndex,
                                               const TLinePositions& Positions, bool Inner,
                                               Integer LastPositionIndex);
// The band Width pixels deep along one side of R (tpTop its top, and so
// on): inside R, or with Outside just beyond that side.
TRect RectSideBand(const TRect& R, TcxTabPosition Side, Integer Width, bool Outside);
// A one-pixel frame in one colour; R shrinks to what it encloses.
void DrawFrameAndDeflate(TcxCanvas* ACanvas, TRect& R, TColor AColor);
// Width and height, exchanged unless Horizontal.
void OrientedRectExtents(const TRect& R, bool Horizontal, Integer& Width, Integer& Height);
void SwapPair(IntegerPair& Pair);
// The colour with its brightness raised by Percent (hue and saturation
// kept).
TColor BrightenColor(TColor AColor, Integer Percent);

// Made on first use.
TcxCanvas* PainterScreenCanvas();
void FreePainterScreenCanvas();
