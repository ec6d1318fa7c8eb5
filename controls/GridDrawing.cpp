#include "controls/GridDrawing.h"

#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"

using namespace win;

namespace {

HPEN MakePen(TColor color, Integer width, int style) {
  COLORREF rgb = ColorToRGB(color);
  if (width > 1 && style == PS_SOLID) {
    LOGBRUSH brush{BS_SOLID, rgb, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                        static_cast<DWORD>(width), &brush, 0, nullptr);
  }
  return CreatePen(style, width, rgb);
}

int GdiPenStyle(TPenStyle style) {
  switch (style) {
    case psDash:
      return PS_DASH;
    case psDot:
      return PS_DOT;
    case psDashDot:
      return PS_DASHDOT;
    case psDashDotDot:
      return PS_DASHDOTDOT;
    case psClear:
      return PS_NULL;
    case psInsideFrame:
      return PS_INSIDEFRAME;
    default:
      return PS_SOLID;
  }
}

class GdiGridDrawing : public TGridDrawing {
 public:
  explicit GdiGridDrawing(TCanvas* canvas) : Dc_(canvas->Handle()) {
    Base_ = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(Dc_, Base_) != 1) {
      DeleteObject(Base_);
      Base_ = nullptr;
    }
  }
  ~GdiGridDrawing() override {
    SelectClipRgn(Dc_, Base_);
    if (Base_) DeleteObject(Base_);
  }

  void SetClip(const TRect& R) override {
    SelectClipRgn(Dc_, Base_);
    IntersectClipRect(Dc_, R.Left, R.Top, R.Right, R.Bottom);
  }
  void IntersectClip(const TRect& R) override {
    IntersectClipRect(Dc_, R.Left, R.Top, R.Right, R.Bottom);
  }
  void ResetClip() override { SelectClipRgn(Dc_, Base_); }

  void FillRect(const TRect& R, TColor Color) override {
    OwnedGdiObject brush(CreateSolidBrush(ColorToRGB(Color)));
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    win::FillRect(Dc_, &r, static_cast<HBRUSH>(brush.Get()));
  }

  void Lines(const std::vector<TPoint>& Points, TColor Color, Integer Width) override {
    if (Points.size() < 2) return;
    OwnedGdiObject pen(MakePen(Color, Width, PS_SOLID));
    ObjectSelection selected(Dc_, pen.Get());
    int oldRop = SetROP2(Dc_, R2_COPYPEN);
    std::vector<POINT> pts;
    pts.reserve(Points.size());
    for (const TPoint& p : Points) pts.push_back({p.X, p.Y});
    Counts_.assign(pts.size() / 2, 2);
    PolyPolyline(Dc_, pts.data(), Counts_.data(), static_cast<DWORD>(Counts_.size()));
    SetROP2(Dc_, oldRop);
  }

  void Line(TPoint From, TPoint To, TColor Color, Integer Width, TPenStyle Style) override {
    OwnedGdiObject pen(CreatePen(GdiPenStyle(Style), Width, ColorToRGB(Color)));
    ObjectSelection selected(Dc_, pen.Get());
    MoveToEx(Dc_, From.X, From.Y, nullptr);
    LineTo(Dc_, To.X, To.Y);
  }

  void Box(const TRect& R, TColor Color, Integer PenWidth) override {
    OwnedGdiObject pen(CreatePen(PS_SOLID, PenWidth, ColorToRGB(Color)));
    OwnedGdiObject brush(CreateSolidBrush(ColorToRGB(Color)));
    ObjectSelection penSelected(Dc_, pen.Get());
    ObjectSelection brushSelected(Dc_, brush.Get());
    Rectangle(Dc_, R.Left, R.Top, R.Right, R.Bottom);
  }

  void Edge(const TRect& R, UINT EdgeKind, UINT Flags) override {
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    DrawEdge(Dc_, &r, EdgeKind, Flags);
  }

  void FocusRect(const TRect& R) override {
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    SetTextColor(Dc_, 0x000000);
    SetBkColor(Dc_, 0xFFFFFF);
    DrawFocusRect(Dc_, &r);
  }

  Integer TextHeight(const std::string& Text, const TGridFont& Font, Integer Width,
                     UINT Flags) override {
    ObjectSelection font(Dc_, FontHandle(Font));
    RECT r{0, 0, Width, 0};
    DrawText(Dc_, Text.c_str(), static_cast<int>(Text.size()), &r, Flags | DT_CALCRECT);
    return r.bottom - r.top;
  }

  void Text(const std::string& Text, const TGridFont& Font, TColor Color, const TRect& R,
            UINT Flags) override {
    ObjectSelection font(Dc_, FontHandle(Font));
    int oldMode = SetBkMode(Dc_, TRANSPARENT);
    COLORREF oldColor = SetTextColor(Dc_, ColorToRGB(Color));
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    DrawText(Dc_, Text.c_str(), static_cast<int>(Text.size()), &r, Flags);
    SetTextColor(Dc_, oldColor);
    SetBkMode(Dc_, oldMode);
  }

 private:
  // Cells mostly share one font; it is made again only when it changes.
  HFONT FontHandle(const TGridFont& f) {
    if (!(f == Current_) || !FontMade_) {
      Font_.SetName(f.Name);
      Font_.SetSize(f.Size);
      Font_.SetStyle(f.Style);
      Current_ = f;
      FontMade_ = true;
    }
    return Font_.Handle();
  }

  HDC Dc_;
  HRGN Base_ = nullptr;
  std::vector<DWORD> Counts_;
  TFont Font_;
  TGridFont Current_;
  bool FontMade_ = false;
};

}  // namespace

std::unique_ptr<TGridDrawing> NewGdiGridDrawing(TCanvas* Canvas) {
  return std::make_unique<GdiGridDrawing>(Canvas);
}
