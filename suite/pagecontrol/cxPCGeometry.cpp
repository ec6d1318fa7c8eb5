#include "suite/pagecontrol/cxPCGeometry.h"

#include <utility>

#include "platform/forms/Graphics.h"
#include "suite/foundation/cxGraphics.h"

TRect TurnRectForTabPosition(const TRect& R, TcxTabPosition Position) {
  switch (Position) {
    case tpBottom:
      return {R.Right, R.Bottom, R.Left, R.Top};
    case tpLeft:
      return {R.Top, R.Right, R.Bottom, R.Left};
    case tpRight:
      return {R.Bottom, R.Left, R.Top, R.Right};
    default:
      return R;
  }
}

TRect AddRectMargins(const TRect& R, const TRect& Margins) {
  return {R.Left + Margins.Left, R.Top + Margins.Top, R.Right + Margins.Right, R.Bottom + Margins.Bottom};
}

Integer PairPart(const IntegerPair& Pair, bool First) { return First ? Pair.First : Pair.Second; }

Integer PointCoordinate(const TPoint& P, bool Vertical) { return Vertical ? P.Y : P.X; }

void SetPointCoordinate(TPoint& P, bool Vertical, Integer Value) { (Vertical ? P.Y : P.X) = Value; }

void SetRectSide(TRect& R, bool Leading, bool Vertical, Integer Value) {
  if (Leading)
    (Vertical ? R.Top : R.Left) = Value;
  else
    (Vertical ? R.Bottom : R.Right) = Value;
}

TRect NormalizeRect(const TRect& R) {
  TRect result = R;
  if (result.Left > result.Right) std::swap(result.Left, result.Right);
  if (result.Top > result.Bottom) std::swap(result.Top, result.Bottom);
  return result;
}

TSize TextExtent(TcxCanvas* Canvas, const std::string& Text) { return Canvas->Canvas->TextExtent(Text); }

void PrepareContentBitmap(TBitmap* Bitmap, TcxCanvas* Canvas, const TSize& Size, TColor AColor) {
  Bitmap->SetSize(Size.cx, Size.cy);
  TCanvas* target = Bitmap->Canvas();
  target->SetFont(Canvas->Font());
  target->SetPen(Canvas->Pen());
  target->SetBrush(Canvas->Brush());
  target->Brush()->SetStyle(bsSolid);
  target->Brush()->SetColor(AColor);
  target->FillRect({0, 0, Size.cx, Size.cy});
}

Integer NavigatorButtonCount(TcxPCNavigatorButtons Buttons) {
  Integer count = 0;
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose}) count += Buttons.Contains(b);
  return count;
}

bool PairHasButton(TcxPCNavigatorButtons Buttons) {
  return Buttons.Contains(nbTopLeft) && Buttons.Contains(nbBottomRight);
}
