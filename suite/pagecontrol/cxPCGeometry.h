// Small geometry routines of the tab strip, shared by the layout, the hit
// tests and the painters. Tab geometry is written for tabs on top and turned
// to the real side with TurnRectForTabPosition.
#pragma once

#include <string>

#include "platform/rtl/NamedInts.h"
#include "platform/rtl/System.h"
#include "suite/pagecontrol/cxPCTypes.h"

class TBitmap;
class TcxCanvas;

// A rect written for tpTop in the terms of Position: Left, Top, Right and
// Bottom name the sides at the tab side, across and so on.
TRect TurnRectForTabPosition(const TRect& R, TcxTabPosition Position);
// Adds the four margins to the four sides.
TRect AddRectMargins(const TRect& R, const TRect& Margins);
Integer PairPart(const IntegerPair& Pair, bool First);
// Vertical selects Y.
Integer PointCoordinate(const TPoint& P, bool Vertical);
void SetPointCoordinate(TPoint& P, bool Vertical, Integer Value);
// Leading sets Left (Top when vertical), otherwise Right (Bottom).
void SetRectSide(TRect& R, bool Leading, bool Vertical, Integer Value);
// Left <= Right and Top <= Bottom.
TRect NormalizeRect(const TRect& R);
// Single-line size of Text in the canvas's font.
TSize TextExtent(TcxCanvas* Canvas, const std::string& Text);
// Sizes the bitmap, gives it the canvas's font, pen and brush and fills it
// with AColor.
void PrepareContentBitmap(TBitmap* Bitmap, TcxCanvas* Canvas, const TSize& Size, TColor AColor);
Integer NavigatorButtonCount(TcxPCNavigatorButtons Buttons);
// Both scroll arrows are among the buttons.
bool PairHasButton(TcxPCNavigatorButtons Buttons);
