#include "suite/foundation/cxPainterImages.h"

#include <array>

#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/OwnBitmaps.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/dxOffice11.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxRadioButtonImageList, TObject)

namespace {

// Rebuilds the radio-button images when the system colours change, before
// any look-and-feel tells its control.
class TSystemPaletteChangedNotifier : public TcxSystemPaletteChangedNotifier {
 public:
  TSystemPaletteChangedNotifier() : TcxSystemPaletteChangedNotifier(true) {}
  void DoSystemPaletteChanged() override;
};

struct SharedImages {
  std::unique_ptr<TCustomImageList> indicators;
  std::array<std::unique_ptr<TBitmap>, 2> patterns;
  std::array<std::unique_ptr<TBitmap>, 2> autoHide;
  std::unique_ptr<TSystemPaletteChangedNotifier> notifier;
  std::unique_ptr<TcxRadioButtonImageList> radio;
};

SharedImages& Shared() {
  // Never destroyed: windows and pictures cannot be freed once the display
  // has gone at program end.
  static SharedImages& images = *new SharedImages;
  return images;
}

void TSystemPaletteChangedNotifier::DoSystemPaletteChanged() {
  if (Shared().radio) Shared().radio->Rebuild();
  TcxSystemPaletteChangedNotifier::DoSystemPaletteChanged();
}

std::unique_ptr<TBitmap> NewBitmap(Integer w, Integer h, TColor fill) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect({0, 0, w, h});
  return b;
}

void Plot(TBitmap* b, Integer x, Integer y, TColor c) { b->Canvas()->SetPixels(x, y, c); }

void Fill(TBitmap* b, const TRect& r, TColor c) {
  b->Canvas()->Brush()->SetColor(c);
  b->Canvas()->FillRect(r);
}

// The indicator pictures are drawn here, black on white (white is their
// transparent colour), as no picture resources exist: a row arrow, a
// pencil-like edit mark, an insert star, three dots, and an arrow with dots.
constexpr Integer kIndicatorWidth = 12;
constexpr Integer kIndicatorHeight = 11;

std::unique_ptr<TBitmap> IndicatorPicture(int kind) {
  auto b = NewBitmap(kIndicatorWidth, kIndicatorHeight, clWhite);
  TBitmap* p = b.get();
  auto arrow = [&](Integer x0) {
    for (Integer i = 0; i < 5; ++i) Fill(p, {x0 + i, 1 + i, x0 + i + 1, 10 - i}, clBlack);
  };
  auto dots = [&](Integer x0) {
    for (Integer i = 0; i < 3; ++i) Fill(p, {x0 + i * 3, 5, x0 + i * 3 + 2, 7}, clBlack);
  };
  switch (kind) {
    case 0: arrow(4); break;
    case 1:  // edit: an I-beam
      Fill(p, {4, 1, 9, 2}, clBlack);
      Fill(p, {6, 1, 7, 10}, clBlack);
      Fill(p, {4, 9, 9, 10}, clBlack);
      break;
    case 2:  // insert: a star
      Fill(p, {6, 1, 7, 10}, clBlack);
      Fill(p, {2, 5, 11, 6}, clBlack);
      for (Integer i = 0; i < 7; ++i) {
        Plot(p, 3 + i, 2 + i, clBlack);
        Plot(p, 9 - i, 2 + i, clBlack);
      }
      break;
    case 3: dots(2); break;
    default:
      arrow(0);
      dots(6);
      break;
  }
  return b;
}

// A 16 x 16 pin on the transparent colour: standing (auto-hide on) or lying
// (off).
constexpr TColor kPinTransparent = clFuchsia;

std::unique_ptr<TBitmap> PinPicture(bool lying) {
  auto b = NewBitmap(16, 16, kPinTransparent);
  TBitmap* p = b.get();
  if (!lying) {
    Fill(p, {5, 1, 11, 2}, clBlack);
    Fill(p, {5, 1, 6, 9}, clBlack);
    Fill(p, {10, 1, 11, 9}, clBlack);
    Fill(p, {8, 2, 9, 9}, clWhite);
    Fill(p, {3, 9, 13, 10}, clBlack);
    Fill(p, {7, 10, 9, 15}, clBlack);
  } else {
    Fill(p, {14, 5, 15, 11}, clBlack);
    Fill(p, {7, 5, 15, 6}, clBlack);
    Fill(p, {7, 10, 15, 11}, clBlack);
    Fill(p, {7, 8, 14, 9}, clWhite);
    Fill(p, {6, 3, 7, 13}, clBlack);
    Fill(p, {1, 7, 6, 9}, clBlack);
  }
  b->SetTransparentColor(kPinTransparent);
  b->SetTransparent(true);
  return b;
}

void MakePatterns() {
  for (int i = 0; i < 2; ++i) {
    const TColor same = i == 0 ? clBtnFace : clBlack, other = i == 0 ? clBtnHighlight : cl3DDkShadow;
    auto b = NewBitmap(8, 8, same);
    for (Integer y = 0; y < 8; ++y)
      for (Integer x = 0; x < 8; ++x)
        if ((x & 1) != (y & 1)) Plot(b.get(), x, y, other);
    Shared().patterns[i] = std::move(b);
  }
}

}  // namespace

// ---------------------------------------------------------------------------

TcxRadioButtonImageList::TcxRadioButtonImageList() {
  Measure();
  MakePattern();
  BuildImages();
}

TcxRadioButtonImageList::~TcxRadioButtonImageList() = default;

Integer TcxRadioButtonImageList::Count() const { return FImages ? FImages->Count() : 0; }

Integer TcxRadioButtonImageList::ImageIndex(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked,
                                            bool AForcedHighlight, bool AFocusHighlight) {
  // The default state is no state of a radio button: it draws as normal.
  const Integer state = AState == cxbsDefault ? cxbsNormal : AState;
  return (state - 1) + 4 * (AChecked ? 1 : 0) + 8 * static_cast<Integer>(AKind) + 32 * (AFocusHighlight ? 1 : 0) +
         64 * (AForcedHighlight ? 1 : 0);
}

void TcxRadioButtonImageList::Measure() {
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  BITMAP info{};
  GetObject(boxes, sizeof(info), &info);
  DeleteObject(boxes);
  const Integer cellW = info.bmWidth / 4, cellH = info.bmHeight / 3;
  auto work = NewBitmap(cellW, cellH, clBlack);
  RECT cell{0, 0, cellW, cellH};
  DrawFrameControl(work->Canvas()->Handle(), &cell, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_FLAT);
  auto black = [&](Integer x, Integer y) { return (work->ScanLine(y)[x] & 0xFFFFFF) == 0; };
  Integer left = -1, top = -1, cols = 0, rows = 0;
  for (Integer x = 0; x < cellW; ++x) {
    bool any = false;
    for (Integer y = 0; y < cellH && !any; ++y) any = black(x, y);
    if (any) {
      if (left < 0) left = x;
      ++cols;
    }
  }
  for (Integer y = 0; y < cellH; ++y) {
    bool any = false;
    for (Integer x = 0; x < cellW && !any; ++x) any = black(x, y);
    if (any) {
      if (top < 0) top = y;
      ++rows;
    }
  }
  FWidth = cols;
  FHeight = rows;
  left = std::max<Integer>(left, 0);
  top = std::max<Integer>(top, 0);
  // The dot of a checked flat radio button.
  Fill(work.get(), {0, 0, cellW, cellH}, clBlack);
  DrawFrameControl(work->Canvas()->Handle(), &cell, DFC_BUTTON,
                   DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED | DFCS_FLAT);
  const uint32_t text = ColorToRGB(clWindowText);
  auto isText = [&](Integer x, Integer y) {
    if (x < 0 || y < 0 || x >= cellW || y >= cellH) return false;
    const uint32_t p = work->ScanLine(y)[x] & 0xFFFFFF;
    return ((p & 0xFF) << 16 | (p & 0xFF00) | ((p >> 16) & 0xFF)) == text;
  };
  const Integer cx = left + FWidth / 2 - 1, cy0 = top + FHeight / 2 - 2, ry = top + FHeight / 2 - 1;
  Integer y = cy0;
  while (isText(cx, y - 1)) --y;
  Integer dotTop = y;
  y = cy0;
  while (isText(cx, y)) ++y;
  Integer dotBottom = y;
  Integer x = cx;
  while (isText(x - 1, ry)) --x;
  Integer dotLeft = x;
  x = cx;
  while (isText(x, ry)) ++x;
  Integer dotRight = x;
  FDot = {dotLeft - left, dotTop - top, dotRight - left, dotBottom - top};
  // The opaque area: a black disc on white.
  FButtonMask = std::make_unique<TBitmap>();
  FButtonMask->SetMonochrome(true);
  FButtonMask->SetSize(FWidth, FHeight);
  TCanvas* mask = FButtonMask->Canvas();
  mask->Brush()->SetColor(clWhite);
  mask->FillRect({0, 0, FWidth, FHeight});
  mask->Brush()->SetColor(clBlack);
  mask->Pen()->SetColor(clBlack);
  mask->RoundRect(0, 0, FWidth, FHeight, FWidth, FHeight);
}

void TcxRadioButtonImageList::MakePattern() {
  const Integer W = FWidth, H = FHeight;
  FPattern.assign(static_cast<size_t>(W * H), 0);
  if (W <= 0 || H <= 0) return;
  auto at = [&](Integer x, Integer y) -> uint8_t& { return FPattern[static_cast<size_t>(y * W + x)]; };
  auto below = [&](Integer x, Integer y) { return (H - 1) * (W - 1 - x) < y * (W - 1); };
  auto above = [&](Integer x, Integer y) { return (H - 1) * (W - 1 - x) > y * (W - 1); };
  // The outline.
  auto outline = NewBitmap(W, H, clWhite);
  TCanvas* c = outline->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBlack);
  c->RoundRect(0, 0, W, H, W - 1, H - 1);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x)
      if ((outline->ScanLine(y)[x] & 0xFFFFFF) == 0) at(x, y) = below(x, y) ? 2 : 1;
  // The body.
  for (Integer y = 1; y <= H - 2; ++y) {
    for (Integer x = W / 2 - 1; x >= 0 && at(x, y) == 0; --x) at(x, y) = 5;
    for (Integer x = W / 2; x < W && at(x, y) == 0; ++x) at(x, y) = 5;
  }
  // The inner ring: the last body pixel before the outline on each walk
  // from the centre, and every pixel of the first and last inner row and
  // column.
  std::vector<bool> marked(FPattern.size(), false);
  auto mark = [&](Integer x, Integer y) { marked[static_cast<size_t>(y * W + x)] = true; };
  auto walk = [&](Integer x, Integer y, Integer dx, Integer dy, bool all) {
    Integer lastX = -1, lastY = -1;
    while (x >= 0 && y >= 0 && x < W && y < H && at(x, y) == 5) {
      if (all) mark(x, y);
      lastX = x;
      lastY = y;
      x += dx;
      y += dy;
    }
    if (lastX >= 0) mark(lastX, lastY);
  };
  for (Integer y = 1; y <= H - 2; ++y) {
    const bool all = y == 1 || y == H - 2;
    walk(W / 2 - 1, y, -1, 0, all);
    walk(W / 2, y, 1, 0, all);
  }
  for (Integer x = 1; x <= W - 2; ++x) {
    const bool all = x == 1 || x == W - 2;
    walk(x, H / 2 - 1, 0, -1, all);
    walk(x, H / 2, 0, 1, all);
  }
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      if (!marked[static_cast<size_t>(y * W + x)]) continue;
      if (below(x, y))
        at(x, y) = 4;
      else if (above(x, y))
        at(x, y) = 3;
      else
        at(x, y) = x > W / 2 - 1 ? 4 : 3;
    }
  // The dot.
  auto dot = NewBitmap(W, H, clWhite);
  dot->Canvas()->Brush()->SetColor(clBlack);
  dot->Canvas()->Pen()->SetColor(clBlack);
  dot->Canvas()->Ellipse(FDot);
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x)
      if ((dot->ScanLine(y)[x] & 0xFFFFFF) == 0) at(x, y) = 6;
}

void TcxRadioButtonImageList::BuildImages() {
  FImages = std::make_unique<TCustomImageList>(std::max<Integer>(FWidth, 1), std::max<Integer>(FHeight, 1));
  FImages->SetMasked(true);
  FImages->SetBkColor(clNone);
  if (FWidth <= 0 || FHeight <= 0) return;
  for (int a = 0; a <= 1; ++a)
    for (int b = 0; b <= 1; ++b)
      for (int kind = lfFlat; kind <= lfOffice11; ++kind)
        for (int checked = 0; checked <= 1; ++checked)
          for (int st = cxbsNormal; st <= cxbsDisabled; ++st) {
            const auto state = static_cast<TcxButtonState>(st);
            const auto k = static_cast<TcxLookAndFeelKind>(kind);
            const bool disabled = state == cxbsDisabled;
            TColor body;
            if (k == lfOffice11)
              body = state == cxbsNormal ? clWindow : TcxOffice11LookAndFeelPainter::Instance()->ButtonFaceColor(state);
            else if (disabled)
              body = clBtnFace;
            else if (k == lfUltraFlat)
              body = state == cxbsHot ? HotHighlightColor() : state == cxbsPressed ? PressedHighlightColor() : clWindow;
            else
              body = state == cxbsPressed ? clBtnFace : clWindow;
            TColor frame = clBtnShadow;
            if (k == lfUltraFlat)
              frame = a || state == cxbsHot || state == cxbsPressed || (b && !disabled) ? clHighlight : clBtnShadow;
            else if (k == lfOffice11)
              frame = disabled ? Office11DisabledSymbolColor
                      : a || b || state == cxbsHot || state == cxbsPressed ? Office11SelectionFrameColor
                                                                            : clBtnText;
            TColor dot = body;
            if (checked) dot = !disabled ? clWindowText : k == lfOffice11 ? Office11DisabledSymbolColor : clBtnShadow;
            TColor map[7] = {0, clBtnShadow, clBtnHighlight, body, body, body, dot};
            if (k == lfFlat) {
              map[3] = cl3DLight;
              map[4] = cl3DLight;
            } else if (k == lfStandard) {
              map[3] = cl3DDkShadow;
              map[4] = cl3DLight;
            } else {
              map[1] = frame;
              map[2] = frame;
            }
            uint32_t pixels[7];
            for (int v = 0; v < 7; ++v) {
              const COLORREF rgb = ColorToRGB(map[v]);
              pixels[v] = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
            }
            auto image = NewBitmap(FWidth, FHeight, clBlack);
            for (Integer y = 0; y < FHeight; ++y) {
              uint32_t* row = image->ScanLine(y);
              for (Integer x = 0; x < FWidth; ++x) row[x] = pixels[PatternAt(x, y)];
            }
            image->SetModified(true);
            FImages->Add(image.get(), FButtonMask.get());
          }
}

void TcxRadioButtonImageList::Rebuild() {
  FImages->Clear();
  BuildImages();
}

void TcxRadioButtonImageList::Draw(TcxCanvas* ACanvas, Integer X, Integer Y, TcxLookAndFeelKind AKind,
                                   TcxButtonState AState, bool AChecked, bool AForcedHighlight, bool AFocusHighlight,
                                   TColor ABkColor) {
  const Integer index = ImageIndex(AKind, AState, AChecked, AForcedHighlight, AFocusHighlight);
  if (index < 0 || index >= Count()) return;
  if (ABkColor == clDefault) {
    FImages->Draw(ACanvas->Canvas, X, Y, index);
    return;
  }
  auto work = NewBitmap(FWidth, FHeight, ABkColor);
  FImages->Draw(work->Canvas(), 0, 0, index);
  ACanvas->CopyRectFrom({X, Y, X + FWidth, Y + FHeight}, work->Canvas(), {0, 0, FWidth, FHeight});
}

TcxRadioButtonImageList* GetRadioButtonImages() {
  if (!Shared().radio) Shared().radio = std::make_unique<TcxRadioButtonImageList>();
  return Shared().radio.get();
}

// ---------------------------------------------------------------------------

void DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind) {
  TCustomImageList* images = Shared().indicators.get();
  if (AKind == ikNone || !images || AKind > images->Count()) return;
  images->Draw(ACanvas->Canvas, (R.Left + R.Right - images->Width()) / 2, (R.Top + R.Bottom - images->Height()) / 2,
               AKind - 1, true);
}

TCustomImageList* IndicatorImages() { return Shared().indicators.get(); }

TBitmap* ScrollBarPatternBitmap(Integer Index) {
  return Index >= 0 && Index < 2 ? Shared().patterns[Index].get() : nullptr;
}

void RebuildScrollBarPatternBitmaps() { MakePatterns(); }

TBitmap* AutoHideBitmap(Integer Index) { return Index >= 0 && Index < 2 ? Shared().autoHide[Index].get() : nullptr; }

void InitializePainterImages() {
  SharedImages& s = Shared();
  if (s.notifier) return;
  s.indicators = std::make_unique<TCustomImageList>(kIndicatorWidth, kIndicatorHeight);
  s.indicators->SetMasked(true);
  for (int k = 0; k < 5; ++k) {
    auto picture = IndicatorPicture(k);
    s.indicators->AddMasked(picture.get(), clWhite);
  }
  MakePatterns();
  s.autoHide[0] = PinPicture(false);
  s.autoHide[1] = PinPicture(true);
  s.notifier = std::make_unique<TSystemPaletteChangedNotifier>();
}

void FinalizePainterImages() {
  SharedImages& s = Shared();
  s.notifier.reset();
  s.autoHide = {};
  s.patterns = {};
  s.indicators.reset();
  s.radio.reset();
}
