#include "platform/forms/ProgressBar.h"

#include <algorithm>

#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Rects.h"
#include "platform/win/UxTheme.h"
#include "platform/win/SysColors.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TProgressBar, TWinControl)
VXN_PUBLISH(TProgressBar) {
  P.Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
  P.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
  P.Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation).Default(pbHorizontal);
  P.Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
  P.Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false);
  P.Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 150, 16);
  DefWndProc = &DefWindowProc;
}

void TProgressBar::SetMin(Integer Value) {
  Min_ = Value;
  if (Max_ < Min_) Max_ = Min_;
  SetPosition(Position_);
  Invalidate();
}

void TProgressBar::SetMax(Integer Value) {
  Max_ = Value;
  if (Min_ > Max_) Min_ = Max_;
  SetPosition(Position_);
  Invalidate();
}

void TProgressBar::SetPosition(Integer Value) {
  Value = std::clamp(Value, Min_, Max_);
  if (Value == Position_) return;
  Position_ = Value;
  Invalidate();
}

void TProgressBar::SetSmooth(bool Value) {
  Smooth_ = Value;
  Invalidate();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  Orientation_ = Value;
  Invalidate();
}

void TProgressBar::StepBy(Integer Delta) {
  Integer next = Position_ + Delta;
  if (next > Max_) next = Min_ + (next - Max_);
  if (next < Min_) next = Max_ - (Min_ - next);
  SetPosition(next);
}

void TProgressBar::StepIt() { StepBy(Step_); }

namespace {

// With the visual style: its bar, then chunks in the filled extent (one
// stretch for a smooth bar, blocks otherwise). False without the style.
bool PaintThemedProgress(HDC DC, RECT r, bool vertical, bool smooth, long long done, long long span) {
  ScopedTheme theme(u"Progress");
  if (!theme) return false;
  HTHEME t = theme.get();
  FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawThemeBackground(t, DC, vertical ? PP_BARVERT : PP_BAR, 1, &r, nullptr);
  RECT inside;
  GetThemeBackgroundContentRect(t, DC, vertical ? PP_BARVERT : PP_BAR, 1, &r, &inside);
  if (span <= 0 || done <= 0) return true;
  Integer length = vertical ? inside.bottom - inside.top : inside.right - inside.left;
  auto filled = static_cast<Integer>(length * done / span);
  int chunk = vertical ? PP_CHUNKVERT : PP_CHUNK;
  auto piece = [&](Integer from, Integer to) {
    RECT f = vertical ? RECT{inside.left, inside.bottom - to, inside.right, inside.bottom - from}
                      : RECT{inside.left + from, inside.top, inside.left + to, inside.bottom};
    DrawThemeBackground(t, DC, chunk, 1, &f, nullptr);
  };
  if (smooth) {
    piece(0, filled);
    return true;
  }
  Integer thick = vertical ? inside.right - inside.left : inside.bottom - inside.top;
  Integer block = std::max<Integer>(2, thick * 2 / 3);
  for (Integer at = 0; at < filled; at += block + 2) piece(at, std::min(at + block, length));
  return true;
}

}  // namespace

void TProgressBar::PaintWindow(HDC DC) {
  RECT r{0, 0, Width(), Height()};
  if (PaintThemedProgress(DC, r, Orientation_ == pbVertical, Smooth_, Position_ - Min_, Max_ - Min_)) return;
  FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  InflateRect(&r, -1, -1);
  Integer span = Max_ - Min_;
  if (span <= 0 || Position_ <= Min_) return;
  bool vertical = Orientation_ == pbVertical;
  Integer length = vertical ? r.bottom - r.top : r.right - r.left;
  Integer filled = static_cast<Integer>(static_cast<long long>(length) * (Position_ - Min_) / span);
  HBRUSH bar = GetSysColorBrush(COLOR_HIGHLIGHT);
  if (Smooth_) {
    RECT f = vertical ? RECT{r.left, r.bottom - filled, r.right, r.bottom} : RECT{r.left, r.top, r.left + filled, r.bottom};
    FillRect(DC, &f, bar);
    return;
  }
  // Blocks two thirds as long as the bar is thick, two pixels apart.
  Integer thick = vertical ? r.right - r.left : r.bottom - r.top;
  Integer block = std::max<Integer>(2, thick * 2 / 3);
  for (Integer at = 0; at < filled; at += block + 2) {
    Integer end = std::min(at + block, length);
    RECT f = vertical ? RECT{r.left, r.bottom - end, r.right, r.bottom - at} : RECT{r.left + at, r.top, r.left + end, r.bottom};
    FillRect(DC, &f, bar);
  }
}

void RegisterProgressBarClasses() { RegisterClasses({TProgressBar::StaticClass()}); }
