#include "suite/editors/EditorHelpers.h"

#include <algorithm>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiText.h"
#include "suite/editors/cxContainerViewInfo.h"

void DrawRectFrame(TcxCanvas* ACanvas, const TRect& R, TColor FirstColor, TColor SecondColor, TRect& InnerRect) {
  // The pen leaves out a line's last pixel, hence the +1 on the far ends.
  DrawColorLine(ACanvas, FirstColor, {R.Left, R.Top}, {R.Left, R.Bottom + 1});
  DrawColorLine(ACanvas, FirstColor, {R.Left, R.Top}, {R.Right + 1, R.Top});
  DrawColorLine(ACanvas, SecondColor, {R.Right, R.Top + 1}, {R.Right, R.Bottom});
  DrawColorLine(ACanvas, SecondColor, {R.Left + 1, R.Bottom}, {R.Right + 1, R.Bottom});
  InnerRect = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
}

void DrawColorLine(TcxCanvas* ACanvas, TColor AColor, const TPoint& From, const TPoint& To) {
  ACanvas->Pen()->SetColor(AColor);
  ACanvas->MovePenTo(From.X, From.Y);
  ACanvas->DrawLineTo(To.X, To.Y);
}

void ExtendRect(TRect& R, Integer DLeft, Integer DTop, Integer DRight, Integer DBottom) {
  R.Left += DLeft;
  R.Top += DTop;
  R.Right += DRight;
  R.Bottom += DBottom;
}

Integer RectWidthOrZero(const TRect& R) { return std::max<Integer>(R.Right - R.Left, 0); }
Integer RectHeightOrZero(const TRect& R) { return std::max<Integer>(R.Bottom - R.Top, 0); }

TColor ShiftColorChannels(TColor AColor, Integer DRed, Integer DGreen, Integer DBlue) {
  const uint32_t rgb = ColorToRGB(AColor);
  auto channel = [rgb](int shift, Integer delta) {
    const Int64 value = static_cast<Int64>((rgb >> shift) & 0xFF) + delta;
    return static_cast<uint32_t>(std::clamp<Int64>(value, 0, 255)) << shift;
  };
  return static_cast<TColor>(channel(0, DRed) | channel(8, DGreen) | channel(16, DBlue));
}

bool IsNullOrEmptyVariant(const Variant& Value) { return VarIsNull(Value) || VarIsEmpty(Value); }

bool IsIntegerText(std::string_view Text) {
  const std::string trimmed = Trim(Text);
  if (trimmed.empty()) return false;
  Integer value = 0, code = 0;
  Val(trimmed, value, code);
  return code == 0;
}

Integer DigitsToInteger(std::string_view Text, bool StopAtOthers) {
  std::string digits;
  for (const char c : Text) {
    if (c == '-' || (c >= '0' && c <= '9'))
      digits += c;
    else if (StopAtOthers)
      break;
  }
  if (digits.empty()) return 0;
  return StrToInt(digits);
}

TShiftState CurrentShiftState() { return GetKeyboardShiftState(); }

win::UINT TextDirectionFlags(TBiDiMode AMode) {
  if (AMode == bdRightToLeft) return win::DT_RIGHT | win::DT_RTLREADING;
  if (AMode == bdRightToLeftNoAlign || AMode == bdRightToLeftReadingOnly) return win::DT_RTLREADING;
  return 0;
}
