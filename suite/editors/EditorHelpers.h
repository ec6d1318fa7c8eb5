// Small drawing and conversion routines shared by the splitter's hot-zone
// styles, the progress bar and the track bar. Lines are drawn with the
// canvas's pen and fills with its brush, so each routine leaves the colour
// it used in them.
#pragma once

#include <string_view>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/rtl/Variants.h"
#include "suite/foundation/cxGraphics.h"

// A count or size of at least 1 (1..2147483647); setters of such properties
// refuse a smaller value.
using TcxNaturalNumber = Integer;

// R's Left, Top, Right and Bottom taken as the frame's pixels themselves:
// the left and top lines in FirstColor, the right and bottom ones in
// SecondColor. InnerRect is R moved in by one on each side, ready for the
// next frame.
void DrawRectFrame(TcxCanvas* ACanvas, const TRect& R, TColor FirstColor, TColor SecondColor, TRect& InnerRect);
// A pen line from From up to (not including) To in AColor.
void DrawColorLine(TcxCanvas* ACanvas, TColor AColor, const TPoint& From, const TPoint& To);
void ExtendRect(TRect& R, Integer DLeft, Integer DTop, Integer DRight, Integer DBottom);
Integer RectWidthOrZero(const TRect& R);
Integer RectHeightOrZero(const TRect& R);
// System colours are resolved first; each channel stays within 0..255.
TColor ShiftColorChannels(TColor AColor, Integer DRed, Integer DGreen, Integer DBlue);

bool IsNullOrEmptyVariant(const Variant& Value);
// The trimmed text read whole as an integer, with sign or "$" hexadecimal.
bool IsIntegerText(std::string_view Text);
// The minus signs and digits of Text, read as an integer; other characters
// are skipped, or end the scan when StopAtOthers. "0" when none was found.
// A minus sign anywhere but in front raises EConvertError, as does a value
// beyond the integer range.
Integer DigitsToInteger(std::string_view Text, bool StopAtOthers);
// Shift, Alt, Ctrl and the mouse buttons as the keyboard state has them now.
TShiftState CurrentShiftState();
// DrawText's direction flags for a control's BiDiMode: right-aligned
// right-to-left reading, or the reading alone.
win::UINT TextDirectionFlags(TBiDiMode AMode);
