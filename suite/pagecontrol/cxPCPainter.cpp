#include "suite/pagecontrol/cxPCPainter.h"

#include "platform/forms/Controls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/UxTheme.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCImageList.h"

VXN_IMPLEMENT_CLASS(TcxPCPainterParentInfo, TObject)
VXN_IMPLEMENT_CLASS(TcxPCCustomPainter, TObject)

// TcxPCPainterParentInfo --------------------------------------------------------

TcxCanvas* TcxPCPainterParentInfo::Canvas() const { return FControl->Canvas(); }
TColor TcxPCPainterParentInfo::Color() const { return FControl->Color(); }
Integer TcxPCPainterParentInfo::Height() const { return FControl->Height(); }
Integer TcxPCPainterParentInfo::Width() const { return FControl->Width(); }
bool TcxPCPainterParentInfo::HideTabs() const { return FControl->HideTabs(); }
Integer TcxPCPainterParentInfo::ImageBorder() const { return FControl->ImageBorder(); }
bool TcxPCPainterParentInfo::MultiLine() const { return FControl->MultiLine(); }
TcxPCNavigatorPosition TcxPCPainterParentInfo::NavigatorPosition() const { return FControl->NavigatorPosition(); }
TcxPCOptions TcxPCPainterParentInfo::Options() const { return FControl->Options(); }
bool TcxPCPainterParentInfo::RaggedRight() const { return FControl->RaggedRight(); }
bool TcxPCPainterParentInfo::Rotate() const { return FControl->Rotate(); }
bool TcxPCPainterParentInfo::ScrollOpposite() const { return FControl->ScrollOpposite(); }
bool TcxPCPainterParentInfo::ShowFrame() const { return FControl->ShowFrame(); }
Integer TcxPCPainterParentInfo::TabHeight() const { return FControl->TabHeight(); }
Integer TcxPCPainterParentInfo::TabWidth() const { return FControl->TabWidth(); }
TcxTabPosition TcxPCPainterParentInfo::TabPosition() const { return FControl->TabPosition(); }
TcxTabSlants* TcxPCPainterParentInfo::TabSlants() const { return FControl->TabSlants(); }
TColor TcxPCPainterParentInfo::FontColor() const { return FControl->Font()->GetColor(); }
Integer TcxPCPainterParentInfo::MainTabVisibleIndex() const { return FControl->MainVisibleIndex(); }
Integer TcxPCPainterParentInfo::RowCount() const { return FControl->RowCount(); }
Integer TcxPCPainterParentInfo::LeadingRowCount() const { return FControl->LeadingRowCount(); }
TRect TcxPCPainterParentInfo::LeadingRowsRect() const { return FControl->LeadingRowsRect(); }
TRect TcxPCPainterParentInfo::TrailingRowsRect() const { return FControl->TrailingRowsRect(); }
TcxPCNavigatorButtons TcxPCPainterParentInfo::NavigatorButtons() const {
  return FControl->ShownNavigatorButtons();
}
Integer TcxPCPainterParentInfo::NavigatorButtonState(TcxPCNavigatorButton Button) const {
  return FControl->NavigatorButtonState(Button);
}
TcxTab* TcxPCPainterParentInfo::VisibleTab(Integer VisibleIndex) const {
  return FControl->Tabs()->GetVisibleTab(VisibleIndex);
}
TControl* TcxPCPainterParentInfo::TabPage(Integer VisibleIndex) const {
  return FControl->PageOfTab(VisibleTab(VisibleIndex)->Index());
}
TColor TcxPCPainterParentInfo::TabPageColor(Integer VisibleIndex) const {
  TControl* page = TabPage(VisibleIndex);
  return page ? page->Color() : FControl->Color();
}
bool TcxPCPainterParentInfo::HasRowsOnBothSides() const {
  switch (FControl->TabPosition()) {
    case tpTop:
    case tpLeft:
      return FControl->LeadingRowCount() != FControl->RowCount();
    default:
      return FControl->LeadingRowCount() != 0;
  }
}
TColor TcxPCPainterParentInfo::HotTrackColor() const {
  // Pure blue in the colour's blue-green-red byte order.
  return SystemHasHotLightColor() ? clHotLight : static_cast<TColor>(0xFF0000);
}

bool DetectHotLightColor(Integer Platform, Integer MajorVersion, Integer MinorVersion) {
  return (Platform == 1 && MinorVersion != 0) || (Platform == 2 && MajorVersion == 5);
}

bool SystemHasHotLightColor() {
  static const bool has = DetectHotLightColor(Win32Platform, Win32MajorVersion, Win32MinorVersion);
  return has;
}

// TcxPCCustomPainter ------------------------------------------------------------

TcxPCCustomPainter::TcxPCCustomPainter(TcxCustomTabControl* AParent)
    : FParentInfo(std::make_unique<TcxPCPainterParentInfo>(AParent)), FParentControl(AParent) {}

TcxPCCustomPainter::~TcxPCCustomPainter() {
  for (win::HRGN region : FSavedClips)
    if (region) win::DeleteObject(region);
}

TcxCanvas* TcxPCCustomPainter::Canvas() const { return FParentControl->Canvas(); }

TRect TcxPCCustomPainter::TabSizeCorrection(Integer VisibleIndex) {
  (void)VisibleIndex;
  return {};
}

void TcxPCCustomPainter::DrawPageBackground() {
  TcxCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(PageColor());
  canvas->Canvas->FillRect(PageClientRect());
}

Integer TcxPCCustomPainter::NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) {
  (void)Button;
  (void)NextButton;
  return 0;
}

Integer TcxPCCustomPainter::NavigatorTabsGap() { return 0; }
Integer TcxPCCustomPainter::NavigatorEdgeOffset() { return 0; }
Integer TcxPCCustomPainter::NavigatorEndOffset() { return 0; }

TColor TcxPCCustomPainter::PageColor() {
  const Integer main = FParentInfo->MainTabVisibleIndex();
  return main == -1 ? FParentInfo->Color() : FParentInfo->TabPageColor(main);
}

TRect TcxPCCustomPainter::ClientAreaMargins() {
  TRect margins = TabsAreaMargins();
  if (HasFrame()) margins = cxRectInflate(margins, FrameWidth(), FrameWidth());
  return margins;
}

TRect TcxPCCustomPainter::TabsAreaMargins() {
  TRect margins;
  if (FParentInfo->HideTabs() || FParentInfo->RowCount() == 0) return margins;
  const TRect leading = FParentInfo->LeadingRowsRect();
  const TRect trailing = FParentInfo->TrailingRowsRect();
  const bool trailingRows = FParentInfo->RowCount() > FParentInfo->LeadingRowCount();
  const bool leadingRows = FParentInfo->LeadingRowCount() > 0;
  switch (FParentInfo->TabPosition()) {
    case tpTop:
      margins.Top = leading.Bottom;
      if (trailingRows) margins.Bottom = FParentInfo->Height() - trailing.Top;
      break;
    case tpBottom:
      margins.Top = FParentInfo->Height() - trailing.Top;
      if (leadingRows) margins.Bottom = leading.Bottom;
      break;
    case tpLeft:
      margins.Top = leading.Right;
      if (trailingRows) margins.Bottom = FParentInfo->Width() - trailing.Left;
      break;
    case tpRight:
      margins.Top = FParentInfo->Width() - trailing.Left;
      if (leadingRows) margins.Bottom = leading.Right;
      break;
  }
  return margins;
}

Integer TcxPCCustomPainter::FrameWidth() { return 0; }

std::unique_ptr<TcxRegion> TcxPCCustomPainter::TabRegion(Integer VisibleIndex) {
  return TcxRegion::CreateFromRect(FParentInfo->VisibleTab(VisibleIndex)->VisibleRect());
}

Integer TcxPCCustomPainter::TabClipMode(Integer VisibleIndex) {
  (void)VisibleIndex;
  return RegionIntersection;
}

void TcxPCCustomPainter::TabThemePartAndState(Integer VisibleIndex, int& Part, int& State) {
  (void)VisibleIndex;
  Part = 0;
  State = 0;
}

IntegerPair TcxPCCustomPainter::TabsSpacing() { return {}; }

void TcxPCCustomPainter::DrawContent() {
  if (!FParentInfo->HideTabs()) {
    DrawNavigatorButtons();
    DrawTabs();
  }
  DrawFrameAndPage();
}

bool TcxPCCustomPainter::IsNativePainting() { return false; }

bool TcxPCCustomPainter::IsPointInTab(Integer VisibleIndex, Integer X, Integer Y) {
  (void)VisibleIndex;
  (void)X;
  (void)Y;
  return true;
}

bool TcxPCCustomPainter::ExcludesOnlyTabContent(Integer VisibleIndex) {
  (void)VisibleIndex;
  return false;
}

bool TcxPCCustomPainter::RepaintsAllOnResize() { return IsNativePainting(); }

bool TcxPCCustomPainter::HasFrame() { return FParentInfo->ShowFrame(); }

void TcxPCCustomPainter::Paint() { DrawContent(); }

void TcxPCCustomPainter::DrawFrameAndPage() {
  if (HasFrame()) DrawFrame();
  DrawPageBackground();
  Canvas()->ExcludeFromClip(PageAreaRect());
}

void TcxPCCustomPainter::FillContentBitmap(TBitmap* Bitmap, const TRect& R, Integer VisibleIndex) {
  (void)Bitmap;
  (void)R;
  (void)VisibleIndex;
}

void TcxPCCustomPainter::InvalidateNavigatorButton(TcxPCNavigatorButton Button, Integer PreviousState) {
  (void)Button;
  (void)PreviousState;
}

void TcxPCCustomPainter::InvalidateNavigatorArea() {}

void TcxPCCustomPainter::InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) {
  (void)VisibleIndex;
  (void)Kind;
}

// Clip stack.

void TcxPCCustomPainter::SaveClip() {
  win::HDC dc = Canvas()->DeviceContext();
  win::HRGN region = win::CreateRectRgn(0, 0, 0, 0);
  if (win::GetClipRgn(dc, region) != 1) {
    win::DeleteObject(region);
    region = nullptr;
  }
  FSavedClips.push_back(region);
}

void TcxPCCustomPainter::RestoreClip() {
  if (FSavedClips.empty()) return;
  win::HRGN region = FSavedClips.back();
  FSavedClips.pop_back();
  win::SelectClipRgn(Canvas()->DeviceContext(), region);
  if (region) win::DeleteObject(region);
}

bool TcxPCCustomPainter::ClipToRect(const TRect& R, bool Intersect) {
  if (cxRectIsEmpty(R)) return false;
  TcxCanvas* canvas = Canvas();
  if (Intersect) {
    const win::RECT r = cxRECT(R);
    if (!win::RectVisible(canvas->DeviceContext(), &r)) return false;
  }
  SaveClip();
  if (Intersect)
    canvas->IntersectClip(R);
  else
    canvas->ApplyClipRegion(TcxRegion::CreateFromRect(R), RegionCopy);
  return true;
}

// Rects.

TRect TcxPCCustomPainter::PageClientRect() {
  return NormalizeRect(DeflateByMargins(ControlBoundsRect(FParentControl), ClientAreaMargins(),
                                        FParentInfo->TabPosition()));
}

TRect TcxPCCustomPainter::PageAreaRect() {
  return NormalizeRect(DeflateByMargins(ControlBoundsRect(FParentControl), TabsAreaMargins(),
                                        FParentInfo->TabPosition()));
}

TRect TcxPCCustomPainter::DeflateByMargins(const TRect& Bounds, const TRect& Margins,
                                           TcxTabPosition Position) const {
  const TRect m = TurnRectForTabPosition(Margins, Position);
  return {Bounds.Left + m.Left, Bounds.Top + m.Top, Bounds.Right - m.Right, Bounds.Bottom - m.Bottom};
}

// Outlines.

TPoint TcxPCCustomPainter::TurnPoint(const TRect& R, const TPoint& P, Integer Side) {
  switch (Side) {
    case 1:
      return {P.X, (R.Bottom - 1) - (P.Y - R.Top)};
    case 2:
      return {(R.Right - 1) - ((R.Bottom - 1) - P.Y), (R.Bottom - 1) - (P.X - R.Left)};
    case 3:
      return {R.Left + ((R.Bottom - 1) - P.Y), (R.Bottom - 1) - (P.X - R.Left)};
    default:
      return P;
  }
}

void TcxPCCustomPainter::TurnPoints(const TRect& R, TPoint* Points, Integer LastIndex, Integer Side) {
  for (Integer i = 0; i <= LastIndex; ++i) Points[i] = TurnPoint(R, Points[i], Side);
}

void TcxPCCustomPainter::DrawPolyline(const TPoint* Points, Integer LastIndex, TColor AColor) {
  if (LastIndex < 0) return;
  TcxCanvas* canvas = Canvas();
  canvas->Pen()->SetColor(AColor);
  canvas->DrawPolyline(Points, LastIndex);
  const TPoint last = Points[LastIndex];
  canvas->Canvas->MoveTo(last.X, last.Y);
  canvas->Canvas->LineTo(last.X + 1, last.Y + 1);
}

void TcxPCCustomPainter::DrawTabOutline(const TRect& R, const TPoint* Points, TColor AColor, Integer Side,
                                        Integer LastIndex) {
  if (LastIndex < 0) return;
  std::vector<TPoint> turned(Points, Points + LastIndex + 1);
  TurnPoints(R, turned.data(), LastIndex, Side);
  DrawPolyline(turned.data(), LastIndex, AColor);
}

// Invalidation.

void TcxPCCustomPainter::InvalidateRect(const TRect& R) { FParentControl->InvalidateArea(R); }

void TcxPCCustomPainter::InvalidateTabRect(Integer VisibleIndex) {
  InvalidateRect(FParentInfo->VisibleTab(VisibleIndex)->VisibleRect());
}

void TcxPCCustomPainter::InvalidateTabRows(Integer VisibleIndex) {
  TRect rows;
  FParentControl->TabRowsRectOf(VisibleIndex, rows);
  InvalidateRect(rows);
}

// Events and colours.

bool TcxPCCustomPainter::IsOwnerDrawing() const {
  return FParentControl->OwnerDraw() && FParentControl->OnDrawTab.Assigned();
}

bool TcxPCCustomPainter::FireDrawTab(Integer VisibleIndex) {
  bool defaultDraw = true;
  FParentControl->OnDrawTab(FParentControl, FParentInfo->VisibleTab(VisibleIndex), defaultDraw);
  return !defaultDraw;
}

void TcxPCCustomPainter::FireDrawTabEx(Integer VisibleIndex, TFont* AFont) {
  if (FParentControl->OnDrawTabEx.Assigned())
    FParentControl->OnDrawTabEx(FParentControl, FParentInfo->VisibleTab(VisibleIndex), AFont);
}

TColor TcxPCCustomPainter::HighlightedTabTextColor(Integer VisibleIndex) {
  if (!IsNativePainting()) return clHighlightText;
  int part = 0;
  int state = 0;
  TabThemePartAndState(VisibleIndex, part, state);
  win::COLORREF color = 0;
  if (UxGetThemeColor(OpenThemeByIndex(ThemeClassTab), part, state, win::TMT_TEXTCOLOR, color) == 0)
    return static_cast<TColor>(color);
  return Canvas()->Font()->GetColor();
}

// Tab content.

bool TcxPCCustomPainter::TabHasImage(Integer VisibleIndex) {
  return ImageSize().cx > 0 &&
         FParentControl->TabImageIndex(FParentInfo->VisibleTab(VisibleIndex)->Index()) >= 0;
}

TSize TcxPCCustomPainter::ImageSize() const { return FParentControl->ImageList()->ImageSize(); }

TSize TcxPCCustomPainter::RotatedImageSize() const { return FParentControl->ImageList()->DrawnImageSize(); }

TBitmap* TcxPCCustomPainter::TabTextBitmap(Integer VisibleIndex) {
  return FParentInfo->VisibleTab(VisibleIndex)->TextBitmap();
}

TBitmap* TcxPCCustomPainter::NewTabTextBitmap(Integer VisibleIndex) {
  return FParentInfo->VisibleTab(VisibleIndex)->NewTextBitmap();
}
