#include "suite/foundation/cxPopupWindow.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "suite/foundation/cxControlRoutines.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxPopupWindow, TForm)

TcxPopupWindow::TcxPopupWindow() : TForm(nullptr) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  FCanvas = std::make_unique<TcxCanvas>(Canvas());
}

TcxPopupWindow::~TcxPopupWindow() = default;

void TcxPopupWindow::ChangeFrameKind(PopupFrameKind Value) {
  const Integer dx = ClientExtent(0), dy = ClientExtent(1);
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
  }
  FFrameKind = Value;
}

Integer TcxPopupWindow::FrameWidth() const {
  switch (FFrameKind) {
    case PopupFrameSingle:
    case PopupFrameRaised: return 1;
    case PopupFrameDoubleRaised: return 2;
    default: return 0;
  }
}

Integer TcxPopupWindow::ClientExtent(Integer) const { return FrameWidth() + FrameSpacing; }

void TcxPopupWindow::TakeOwnerFont() {
  if (AnchorControl) Font()->Assign(AnchorControl->Font());
}

void TcxPopupWindow::DrawFrame() {
  const TRect r{0, 0, Width(), Height()};
  switch (FFrameKind) {
    case PopupFrameSingle: FCanvas->FillBorders(r, FrameLineColor, 1, cxBordersAll); break;
    case PopupFrameRaised: FCanvas->Draw3DEdge(r, false, false, cxBordersAll); break;
    case PopupFrameDoubleRaised:
      FCanvas->Draw3DEdge(r, false, true, cxBordersAll);
      FCanvas->Draw3DEdge(cxRectInflate(r, -1, -1), false, false, cxBordersAll);
      break;
    default: break;
  }
}

void TcxPopupWindow::CalculatePosition(TPoint& P) {
  Byte horz = HorizontalPlacement, vert = VerticalPlacement;
  const bool vertical = OpenDirection == 1;
  TRect R = AnchorRect;
  if (AnchorControl) {
    const TPoint a = AnchorControl->ClientToScreen(R.TopLeft()), b = AnchorControl->ClientToScreen(R.BottomRight());
    R = {a.X, a.Y, b.X, b.Y};
  }
  const Integer W = Width(), H = Height();
  TPoint Q;
  auto place = [&] {
    if (horz == 1) P.X = Q.X = (R.Left + R.Right - W) / 2;
    if (vert == 1) P.Y = Q.Y = (R.Top + R.Bottom - H) / 2;
    if (vertical) {
      if (horz == 0) P.X = Q.X = R.Left;
      if (horz == 2) {
        P.X = R.Right - W;
        Q.X = R.Right;
      }
      if (vert == 0) {
        P.Y = R.Top - H;
        Q.Y = R.Top;
      }
      if (vert == 2) P.Y = Q.Y = R.Bottom;
    } else {
      if (horz == 0) {
        P.X = R.Left - W;
        Q.X = R.Left;
      }
      if (horz == 2) P.X = Q.X = R.Right;
      if (vert == 0) P.Y = Q.Y = R.Top;
      if (vert == 2) {
        P.Y = R.Bottom - H;
        Q.Y = R.Bottom;
      }
    }
  };
  place();
  const TRect WA = GetMonitorWorkArea(Q);
  if (vertical) {
    const bool moreAbove = WA.Bottom - R.Bottom < R.Top - WA.Top;
    if (vert == 2 && P.Y + H > WA.Bottom && moreAbove)
      vert = 0;
    else if (vert == 0 && P.Y < WA.Top && !moreAbove)
      vert = 2;
  } else {
    const bool moreLeft = WA.Right - R.Right < R.Left - WA.Left;
    if (horz == 2 && P.X + W > WA.Right && moreLeft)
      horz = 0;
    else if (horz == 0 && P.X < WA.Left && !moreLeft)
      horz = 2;
  }
  place();
  if (vertical || horz == 1) {
    if (P.X + W > WA.Right) P.X = WA.Right - W;
    if (P.X < WA.Left) P.X = WA.Left;
  }
  if (!vertical || vert == 1) {
    if (P.Y + H > WA.Bottom) P.Y = WA.Bottom - H;
    if (P.Y < WA.Top) P.Y = WA.Top;
  }
}

void TcxPopupWindow::FitToChildren() {
  if (!AutoFit) return;
  Integer right = 0, bottom = 0;
  const Integer dx = ClientExtent(0), dy = ClientExtent(1);
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    right = std::max(right, c->Left() + c->Width());
    bottom = std::max(bottom, c->Top() + c->Height());
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  if (ControlCount() > 0) SetBounds(Left(), Top(), dx + right + ClientExtent(2), dy + bottom + ClientExtent(3));
}

void TcxPopupWindow::ClosePopup() { Hide(); }

void TcxPopupWindow::ShowPopup() {
  TakeOwnerFont();
  FitToChildren();
  TPoint p;
  CalculatePosition(p);
  SetBounds(p.X, p.Y, Width(), Height());
  Show();
}

void TcxPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      TForm::WndProc(Message);
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        FPrevActiveWindow = reinterpret_cast<HWND>(Message.LParam);
        if (FPrevActiveWindow) SendMessage(FPrevActiveWindow, WM_NCACTIVATE, TRUE, 0);
      } else {
        ClosePopup();
      }
      return;
    case WM_ACTIVATEAPP:
      TForm::WndProc(Message);
      if (!Message.WParam) {
        if (FPrevActiveWindow && IsWindow(FPrevActiveWindow)) SendMessage(FPrevActiveWindow, WM_NCACTIVATE, FALSE, 0);
        ClosePopup();
      }
      return;
    case CM_VISIBLECHANGED:
      TForm::WndProc(Message);
      VisibilityChanged();
      return;
    default: TForm::WndProc(Message);
  }
}

void TcxPopupWindow::Paint() {
  TForm::Paint();
  DrawFrame();
}
