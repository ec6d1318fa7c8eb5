#include "platform/forms/ControlColors.h"

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/win/Gdi.h"

win::LRESULT AnswerControlColor(const TControl& Control, TBrush& Brush, win::HDC DC) {
  win::SetTextColor(DC, ColorToRGB(Control.Font()->GetColor()));
  win::SetBkColor(DC, ColorToRGB(Control.Color()));
  return reinterpret_cast<win::LRESULT>(Brush.Handle());
}
