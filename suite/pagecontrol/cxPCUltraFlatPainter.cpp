#include "suite/pagecontrol/cxPCUltraFlatPainter.h"

#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCPainterRoutines.h"

VXN_IMPLEMENT_CLASS(TcxPCUltraFlatPainter, TcxPCExtraFlatPainter)

namespace {

constexpr TColor kBlack = static_cast<TColor>(0);

}  // namespace

bool TcxPCUltraFlatPainterClass::MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  return ALookAndFeel->PainterForThemeClasses(ThemeClassMask(ThemeClassTab))->PainterStyle() == 2;
}

std::unique_ptr<TcxPCCustomPainter> TcxPCUltraFlatPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCUltraFlatPainter>(AControl);
}

const TcxPCUltraFlatPainterClass& TcxPCUltraFlatPainterClass::Instance() {
  static const TcxPCUltraFlatPainterClass instance;
  return instance;
}

Integer TcxPCUltraFlatPainter::NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) {
  return Button == nbClose || NextButton == nbClose ? 3 : 1;
}

void TcxPCUltraFlatPainter::GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) {
  TcxPCExtraFlatPainter::GetNavigatorGlyphInfo(Button, Info);
  Info.Plain = ParentControl()->Enabled();
  Info.ThinCross = Button == nbClose;
  Info.FillColor = Info.LineColor;
}

TColor TcxPCUltraFlatPainter::NavigatorButtonFaceColor(Integer State) {
  if (State == nbsHot) return clBtnFace;
  return State == nbsPressed ? clBtnShadow : LightFaceColor;
}

Integer TcxPCUltraFlatPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  return CenteredNavigatorGlyphOffset(Button, Offset);
}

Integer TcxPCUltraFlatPainter::NavigatorButtonWidth(TcxPCNavigatorButton Button) {
  switch (Button) {
    case nbGoDialog: return 11;
    case nbClose: return 14;
    default: return 15;
  }
}

void TcxPCUltraFlatPainter::DrawNavigatorButtonFrame(TRect& R, Integer State) {
  DrawFrameAndDeflate(Canvas(), R, State == nbsHot || State == nbsPressed ? kBlack : clBtnShadow);
}

void TcxPCUltraFlatPainter::DrawFrame() { DrawPageFrame(clBtnShadow, clBtnShadow); }

void TcxPCUltraFlatPainter::MainTabFocusRect(TRect& R) {
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  R = main == -1 ? TRect{} : ParentInfo()->VisibleTab(main)->DisplayRect();
  R = DeflateByMargins(R, {1, 1, 1, 0}, ParentInfo()->TabPosition());
}

void TcxPCUltraFlatPainter::DrawMainTabOutline(const TRect& R) { DrawMainTabOutlineIn(R, kBlack, kBlack); }

bool TcxPCUltraFlatPainter::IsRowNextToPage(Integer Row) {
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  if (main != -1) return ParentInfo()->VisibleTab(main)->DisplayedRow == Row;
  const TcxTabPosition p = ParentInfo()->TabPosition();
  return p == tpBottom || p == tpRight ? Row == 0 : Row == ParentInfo()->RowCount() - 1;
}

void TcxPCUltraFlatPainter::DrawRowLines(const TRect& R, Integer Row) {
  const TColor near[3] = {clBtnFace, clBtnFace, kBlack};
  const TColor away[3] = {clBtnFace, kBlack, clBtnFace};
  DrawRowLinesIn(R, IsRowNextToPage(Row) ? near : away);
}
