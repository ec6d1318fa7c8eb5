// The answer a windowed control gives to its window's colour request
// (WM_CTLCOLOR*, reflected as CN_CTLCOLOR*): the window paints in the
// control's colour and font colour rather than the system's.
#pragma once

#include "platform/win/WinTypes.h"

class TBrush;
class TControl;

// Sets DC's text and background colours from Control and returns Brush's
// handle as the message's result; Brush must already hold the fill colour.
win::LRESULT AnswerControlColor(const TControl& Control, TBrush& Brush, win::HDC DC);
