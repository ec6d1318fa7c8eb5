#include "suite/pagecontrol/cxPCPainter.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "platform/forms/Controls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiText.h"
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
  if (HasFrame()) {
    const Integer frame = FrameWidth();
    margins = {margins.Left + frame, margins.Top + frame, margins.Right + frame, margins.Bottom + frame};
  }
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
  if (!FParentControl->OnDrawTab.Assigned()) return false;
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

void TcxPCCustomPainter::SetTabContentRects(Integer VisibleIndex, const TRect& ImageRect, const TRect& TextRect) {
  // The handler may change the canvas font for this tab only: it gets the
  // canvas back as it was.
  TcxCanvas* canvas = Canvas();
  TFont saved;
  saved.Assign(canvas->Font());
  FireDrawTabEx(VisibleIndex, canvas->Font());
  FContentVisibleIndex = VisibleIndex;
  FContentImageRect = ImageRect;
  FContentTextRect = TextRect;
  canvas->Font()->Assign(&saved);
}

namespace {

bool IsOneOf(Integer Value, std::initializer_list<Integer> Values) {
  for (Integer v : Values)
    if (v == Value) return true;
  return false;
}

// Where an image or a caption of Size (along x across) stands in R, Offset
// from the start of the text direction and centred across between the
// margins' Top and Bottom.
TRect ContentBox(const TRect& R, const TRect& Margins, Integer Offset, Integer Along, Integer Across,
                 Integer Rotation) {
  TRect box;
  switch (Rotation) {
    case 1:
      box.Bottom = R.Bottom - Offset;
      box.Top = box.Bottom - Along;
      box.Left = (R.Left + Margins.Top + R.Right - Margins.Bottom - Across) / 2;
      box.Right = box.Left + Across;
      break;
    case 2:
      box.Top = R.Top + Offset;
      box.Bottom = box.Top + Along;
      box.Right = (R.Left + Margins.Bottom + R.Right - Margins.Top + Across) / 2;
      box.Left = box.Right - Across;
      break;
    default:
      box.Left = R.Left + Offset;
      box.Top = (R.Top + Margins.Top + R.Bottom - Margins.Bottom - Across) / 2;
      box.Right = box.Left + Along;
      box.Bottom = box.Top + Across;
      break;
  }
  return box;
}

// Moves the start of the content along the text direction.
void AdvanceContentStart(TRect& R, Integer Rotation, Integer Amount) {
  switch (Rotation) {
    case 1:
      R.Bottom -= Amount;
      break;
    case 2:
      R.Top += Amount;
      break;
    default:
      R.Left += Amount;
      break;
  }
}

Integer ContentRoom(const TRect& R, Integer Rotation) {
  return Rotation == 0 ? R.Right - R.Left : R.Bottom - R.Top;
}

}  // namespace

IntegerPair TcxPCCustomPainter::AdjustedSpacing(Integer VisibleIndex, IntegerPair Spacing, bool HasImage) {
  TcxTab* tab = FParentInfo->VisibleTab(VisibleIndex);
  if (IsNativePainting() && IsOneOf(tab->Orientation(), {2, 9, 12})) std::swap(Spacing.First, Spacing.Second);
  if (PainterClass()->IsButtonStyle()) {
    if (HasImage && FParentControl->TabTextRotation() == 1) {
      ++Spacing.First;
      --Spacing.Second;
    }
    if (TabLooksActive(VisibleIndex)) {
      --Spacing.First;
      ++Spacing.Second;
    }
  }
  return Spacing;
}

TRect TcxPCCustomPainter::AdjustedContentMargins(Integer VisibleIndex, TRect Margins) {
  if (!PainterClass()->IsButtonStyle()) {
    if (FParentInfo->Rotate()) Margins.Top = Margins.Bottom = 0;
  } else {
    const Integer rotation = FParentControl->PaintedTextRotation();
    const bool active = TabLooksActive(VisibleIndex);
    if ((rotation != 2 && active) || (rotation == 2 && !active)) {
      ++Margins.Top;
      --Margins.Bottom;
    }
  }
  if (PainterClass()->MirrorsContentMargins() &&
      IsOneOf(FParentInfo->VisibleTab(VisibleIndex)->Orientation(), {5, 7, 10}))
    std::swap(Margins.Top, Margins.Bottom);
  return Margins;
}

void TcxPCCustomPainter::CalculateTabContentRects(Integer VisibleIndex) {
  TcxTab* tab = FParentInfo->VisibleTab(VisibleIndex);
  TcxCanvas* canvas = Canvas();
  const bool native = IsNativePainting();
  const TRect display = tab->DisplayRect();
  TRect r = display;
  if (native) {
    Integer w = display.Right - display.Left;
    Integer h = display.Bottom - display.Top;
    if (FParentControl->HasVerticalText()) std::swap(w, h);
    r = {0, 0, w, h};
  }
  Integer W = r.Right - r.Left;
  Integer H = r.Bottom - r.Top;
  if (FParentControl->DrawsTurnedText()) std::swap(W, H);

  const std::string& caption = tab->Caption();
  const bool hasImage = TabHasImage(VisibleIndex);
  const TSize image = ImageSize();
  const Integer border = FParentInfo->ImageBorder();
  Integer imagePart = 0;
  if (hasImage) {
    imagePart = 2 * border + image.cx;
    if (!caption.empty()) imagePart += ImageTextGap();
  }
  IntegerPair spacing = AdjustedSpacing(VisibleIndex, TabContentSpacing(VisibleIndex), hasImage);
  W -= spacing.First + spacing.Second;
  const bool cut = TextExtent(canvas, caption).cx > W - imagePart;
  if (cut) {
    W += spacing.First + spacing.Second;
    spacing = AdjustedSpacing(VisibleIndex, TabCutContentSpacing(VisibleIndex), hasImage);
    W -= spacing.First + spacing.Second;
  }

  // Mended: the shortened caption is written into a buffer of the caption's
  // length plus the ellipsis's spare room, never past it.
  std::string shortened = caption;
  shortened.resize(caption.size() + 4, '\0');
  win::RECT box{0, 0, W - imagePart, H};
  canvas->Canvas->RequiredState();
  win::DrawText(canvas->DeviceContext(), shortened.data(), static_cast<int>(caption.size()), &box,
                win::DT_CALCRECT | win::DT_SINGLELINE | win::DT_END_ELLIPSIS | win::DT_MODIFYSTRING);
  shortened.resize(std::char_traits<char>::length(shortened.c_str()));
  if (box.right - box.left > W - imagePart || shortened == "&...") box.right = box.left;
  if (box.bottom - box.top > H) box.bottom = box.top;
  const Integer tw = box.right - box.left;
  const Integer th = box.bottom - box.top;
  const Integer content = imagePart + tw;

  const Integer rotation = FParentControl->PaintedTextRotation();
  const TRect imageMargins = AdjustedContentMargins(VisibleIndex, TabImageMargins(VisibleIndex));
  const TRect textMargins = AdjustedContentMargins(VisibleIndex, TabTextMargins(VisibleIndex));
  const bool rotate = FParentInfo->Rotate();
  TRect imageRect;
  TRect textRect = cxRect(box);
  AdvanceContentStart(r, rotation, spacing.First);
  if (!cut && !(hasImage && rotate)) AdvanceContentStart(r, rotation, (W - content) / 2);
  if (hasImage) {
    imageRect = ContentBox(r, imageMargins, border, image.cx, image.cy, rotation);
    AdvanceContentStart(r, rotation, ImageTextGap() + 2 * border + image.cx);
  }
  if (tw > 0) {
    if (!cut && hasImage && rotate)
      AdvanceContentStart(r, rotation, (ContentRoom(r, rotation) - spacing.Second - tw) / 2);
    textRect = ContentBox(r, textMargins, 0, tw, th, rotation);
  }
  StoreTabContentRects(VisibleIndex, imageRect, textRect);
}

void TcxPCCustomPainter::ExcludeTabContent(Integer VisibleIndex) {
  if (IsNativePainting()) return;
  auto content = TcxRegion::CreateFromRect(FContentTextRect);
  content->Combine(TcxRegion::CreateFromRect(FContentImageRect), RegionUnion);
  content->Combine(TabRegion(VisibleIndex), RegionIntersection);
  Canvas()->ApplyClipRegion(std::move(content), RegionDifference);
}

void TcxPCCustomPainter::DrawCaptionAt(TCanvas* Target, Integer VisibleIndex, const TRect& TextBox,
                                       const TPoint& Offset, bool AEnabled) {
  const std::string& caption = FParentInfo->VisibleTab(VisibleIndex)->Caption();
  TRect r;
  if (IsNativePainting())
    r = {TextBox.Left + Offset.X, TextBox.Top + Offset.Y, TextBox.Right, TextBox.Bottom};
  else
    r = Bounds(Offset.X, Offset.Y, TextBox.Right - TextBox.Left, TextBox.Bottom - TextBox.Top);
  win::RECT rect = cxRECT(r);
  Target->RequiredState();
  if (IsNativePainting() && AEnabled) {
    int part = 0;
    int state = 0;
    TabThemePartAndState(VisibleIndex, part, state);
    UxDrawThemeText(OpenThemeByIndex(ThemeClassTab), Target->Handle(), part, state, caption, -1,
                    win::DT_SINGLELINE | win::DT_END_ELLIPSIS, 0, rect);
  } else {
    win::DrawText(Target->Handle(), caption.c_str(), -1, &rect, win::DT_END_ELLIPSIS | win::DT_SINGLELINE);
  }
}

void TcxPCCustomPainter::DrawCaptionOnBitmap(TBitmap* Bitmap, Integer VisibleIndex, const TRect& TextBox,
                                             TColor ATabColor, bool AEnabled) {
  TcxTab* tab = FParentInfo->VisibleTab(VisibleIndex);
  if (IsNativePainting())
    Bitmap->Canvas()->SetFont(Canvas()->Font());
  else
    PrepareContentBitmap(Bitmap, Canvas(), {TextBox.Right - TextBox.Left, TextBox.Bottom - TextBox.Top}, ATabColor);
  FillContentBitmap(Bitmap, FContentTextRect, VisibleIndex);
  TCanvas* target = Bitmap->Canvas();
  target->Brush()->SetStyle(bsClear);
  if (AEnabled) {
    if (tab->Highlighted())
      target->Font()->SetColor(HighlightedTabTextColor(VisibleIndex));
    else if (tab->IsHot())
      target->Font()->SetColor(FParentInfo->HotTrackColor());
    else
      target->Font()->SetColor(clBtnText);
  } else {
    target->Font()->SetColor(DisabledTextLightColor());
    DrawCaptionAt(target, VisibleIndex, TextBox, {1, 1}, AEnabled);
    target->Font()->SetColor(DisabledTextDarkColor());
  }
  FireDrawTabEx(VisibleIndex, target->Font());
  DrawCaptionAt(target, VisibleIndex, TextBox, {0, 0}, AEnabled);
}

void TcxPCCustomPainter::DrawTabImageAndText(Integer VisibleIndex) {
  TcxTab* tab = FParentInfo->VisibleTab(VisibleIndex);
  TcxCanvas* canvas = Canvas();
  const bool native = IsNativePainting();
  CalculateTabContentRects(VisibleIndex);
  canvas->Font()->SetColor(FParentInfo->FontColor());
  const TColor tabColor = TabColor(VisibleIndex);
  const bool enabled = tab->IsEnabledNow();
  TCanvas* target = native ? tab->NewNativeBitmap()->Canvas() : canvas->Canvas;

  const Integer imageIndex = FParentControl->TabImageIndex(tab->Index());
  if (imageIndex != -1)
    FParentControl->ImageList()->Draw(target, FContentImageRect.Left, FContentImageRect.Top, imageIndex, enabled,
                                      tabColor);

  if (!tab->Caption().empty()) {
    const TRect& textRect = FContentTextRect;
    if (FParentControl->DrawsTurnedText()) {
      TBitmap* bitmap = TabTextBitmap(VisibleIndex);
      if (!bitmap) {
        bitmap = NewTabTextBitmap(VisibleIndex);
        const TRect exchanged =
            Bounds(textRect.Left, textRect.Top, textRect.Bottom - textRect.Top, textRect.Right - textRect.Left);
        DrawCaptionOnBitmap(bitmap, VisibleIndex, exchanged, tabColor, enabled);
        canvas->RotateBitmap(bitmap, FParentControl->TabTextRotation(), false);
      }
      target->Draw(textRect.Left, textRect.Top, bitmap);
    } else if (native) {
      DrawCaptionOnBitmap(tab->NativeBitmap(), VisibleIndex, textRect, tabColor, enabled);
    } else {
      TBitmap bitmap;
      bitmap.SetPixelFormat(pf32bit);
      DrawCaptionOnBitmap(&bitmap, VisibleIndex, textRect, tabColor, enabled);
      target->Draw(textRect.Left, textRect.Top, &bitmap);
    }
  }
  ExcludeTabContent(VisibleIndex);
}
