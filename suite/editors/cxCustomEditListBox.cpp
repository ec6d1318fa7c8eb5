#include "suite/editors/cxCustomEditListBox.h"

#include "platform/forms/Forms.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "suite/editors/EditorHelpers.h"
#include "suite/editors/cxCustomPopupWindow.h"
#include "suite/foundation/cxGraphics.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomEditListBox, TcxCustomInnerListBox)

TcxCustomEditListBox::TcxCustomEditListBox(TComponent* AOwner) : TcxCustomInnerListBox(AOwner) {
  SetBorderStyle(bsNone);
}

TControl* TcxCustomEditListBox::OwnerEdit() {
  for (TWinControl* parent = Parent(); parent; parent = parent->Parent())
    if (auto* popup = dynamic_cast<TcxCustomPopupWindow*>(parent)) return popup->OwnerControl();
  return nullptr;
}

bool TcxCustomEditListBox::DrawsFocusRect() {
  auto* owner = dynamic_cast<IcxEditListBoxOwner*>(OwnerEdit());
  if (!owner) return false;
  const TcxEditingStyle style = owner->ListOwnerEditingStyle();
  return style == esListPick || style == esNoText;
}

bool TcxCustomEditListBox::IsVisible() { return HandleAllocated() && IsWindowVisible(Handle()); }

// --- measuring --------------------------------------------------------------------------

// Measured on the screen: the list's own canvas draws only while an item is
// being painted.
Integer TcxCustomEditListBox::TextHeight(const std::string& Text) {
  TScreenCanvas canvas;
  canvas.Font()->Assign(Font());
  return canvas.TextHeight(Text);
}

Integer TcxCustomEditListBox::TextWidth(const std::string& Text) {
  TScreenCanvas canvas;
  canvas.Font()->Assign(Font());
  return canvas.TextWidth(Text);
}

Integer TcxCustomEditListBox::ItemHeightOf(Integer Index) {
  (void)Index;
  return TextHeight("Wg");
}

Integer TcxCustomEditListBox::ItemWidthOf(Integer Index) { return TextWidth(ItemText(Index)); }

void TcxCustomEditListBox::MeasureItem(Integer Index, Integer& Height) {
  (void)Index;
  Height = ItemHeightOf(-1);
}

// --- drawing ------------------------------------------------------------------------------

bool TcxCustomEditListBox::OwnerDrawsItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  (void)Index;
  (void)Rect;
  (void)State;
  return false;
}

void TcxCustomEditListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OwnerDrawsItem(Index, Rect, State)) return;
  Canvas()->FillRect(Rect);
  if (Index < 0 || Index >= Items()->Count()) return;
  const UINT direction = TextDirectionFlags(BiDiMode());
  // The indent is on the side where reading starts.
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  if (direction & DT_RTLREADING)
    r.right -= 2;
  else
    r.left += 2;
  const std::string text = ItemText(Index);
  DrawText(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
           DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | direction);
}

// --- selection --------------------------------------------------------------------------------

void TcxCustomEditListBox::SelectionChanged() {
  SyncScrollBars();
  if (OnSelectionChanged) OnSelectionChanged(this);
}

void TcxCustomEditListBox::ChangeItemIndex(Integer Value) {
  SetItemIndex(Value);
  SelectionChanged();
}

void TcxCustomEditListBox::Click() {
  TcxCustomInnerListBox::Click();
  SelectionChanged();
}

void TcxCustomEditListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxCustomInnerListBox::MouseMove(Shift, X, Y);
  if (!TrackMouse || !HandleAllocated() || GetCapture() == Handle()) return;
  const Integer item = ItemAtPos(TPoint{X, Y}, true);
  if (item != -1 && item != ItemIndex()) ChangeItemIndex(item);
}

bool TcxCustomEditListBox::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (TcxCustomInnerListBox::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  UINT lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const WPARAM code = WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN;
  LRESULT last = 1;
  for (UINT i = 0; i < lines; ++i) last = Perform(WM_VSCROLL, code, 0);
  return lines > 0 && last == 0;
}

void TcxCustomEditListBox::WndProc(TMessage& Message) {
  TcxCustomInnerListBox::WndProc(Message);
  // The list shows its selection as focused although the editor keeps the
  // focus.
  if (Message.Msg == CM_SHOWINGCHANGED && HandleAllocated())
    CallWindowProc(DefWndProc, Handle(), WM_SETFOCUS, 0, 0);
}

void RegisterCustomEditListBoxClasses() { RegisterClasses({TcxCustomEditListBox::StaticClass()}); }
