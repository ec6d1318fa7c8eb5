#include "suite/editors/cxCustomInnerListBox.h"

#include <algorithm>

#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"
#include "suite/editors/InnerControlForwarding.h"
#include "suite/editors/cxContainerViewInfo.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomInnerListBox, TListBox)
VXN_PUBLISH(TcxCustomInnerListBox) {
  P.Property("AutoCompleteDelay", &TcxCustomInnerListBox::GetAutoCompleteDelay,
             &TcxCustomInnerListBox::SetAutoCompleteDelay)
      .Default(500);
}

namespace {

TOwnerDrawState ItemState(UINT AState) {
  TOwnerDrawState state;
  if (AState & ODS_SELECTED) state.Include(odSelected);
  if (AState & ODS_GRAYED) state.Include(odGrayed);
  if (AState & ODS_DISABLED) state.Include(odDisabled);
  if (AState & ODS_CHECKED) state.Include(odChecked);
  if (AState & ODS_FOCUS) state.Include(odFocused);
  if (AState & ODS_DEFAULT) state.Include(odDefault);
  if (AState & ODS_HOTLIGHT) state.Include(odHotLight);
  return state;
}

TPoint PointOf(LPARAM AParam) {
  return {static_cast<SHORT>(LOWORD(AParam)), static_cast<SHORT>(HIWORD(AParam))};
}

bool IsBarTrigger(UINT AMsg) {
  switch (AMsg) {
    case WM_WINDOWPOSCHANGED:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETHORIZONTALEXTENT:
    case LB_SETTOPINDEX:
    case LB_SETCARETINDEX:
    case WM_MOUSEWHEEL:
    case CM_WININICHANGE: return true;
    default: return false;
  }
}

}  // namespace

TcxCustomInnerListBox::TcxCustomInnerListBox(TComponent* AOwner) : TListBox(AOwner) {
  HostContainer = dynamic_cast<TcxContainer*>(AOwner);
  FSuiteCanvas = std::make_unique<TcxCanvas>(Canvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxCustomInnerListBox::LookAndFeelChanged);
  for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    auto* bar = new TcxScrollBar(nullptr);
    bar->SetKind(kind);
    bar->SetVisible(false);
    bar->SetSmallChange(1);
    bar->LookAndFeel()->SetMasterLookAndFeel(FLookAndFeel.get());
    bar->OnScroll = TScrollEvent(this, &TcxCustomInnerListBox::BarScrolled);
    bar->FreeNotification(this);
    (kind == sbHorizontal ? FHorzBar : FVertBar) = bar;
  }
  SetBorderStyle(bsNone);
  ControlStyle.Exclude(csOpaque);
  ControlStyle.Include(csDoubleClicks);
  SetParentColor(false);
  SetParentFont(true);
}

void TcxCustomInnerListBox::RemoveBar(TcxScrollBar*& ABar) {
  TcxScrollBar* bar = ABar;
  ABar = nullptr;
  if (!bar) return;
  bar->RemoveFreeNotification(this);
  // One placed on a parent belongs to that parent.
  if (!bar->Parent()) delete bar;
}

TcxCustomInnerListBox::~TcxCustomInnerListBox() {
  FBeingDestroyed = true;
  RemoveBar(FHorzBar);
  RemoveBar(FVertBar);
  FLookAndFeel.reset();
  FSuiteCanvas.reset();
}

void TcxCustomInnerListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHorzBar) FHorzBar = nullptr;
  if (AComponent == FVertBar) FVertBar = nullptr;
}

void TcxCustomInnerListBox::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TcxCustomInnerListBox::BothBarsVisible() const {
  return FHorzBar && FVertBar && FHorzBar->Visible() && FVertBar->Visible();
}

TRect TcxCustomInnerListBox::SizeGripBounds() {
  if (!BothBarsVisible() || !Parent()) return {};
  // The bars sit on the parent: their corner, taken into the window.
  return {FVertBar->Left() - Left(), FHorzBar->Top() - Top(), FVertBar->Left() - Left() + FVertBar->Width(),
          FHorzBar->Top() - Top() + FHorzBar->Height()};
}

// --- own scroll bars ------------------------------------------------------------

void TcxCustomInnerListBox::SyncBar(TcxScrollBar* ABar, LONG AObjectId) {
  if (!ABar) return;
  SCROLLBARINFO info;
  bool shown = false;
  if (Parent() && HandleAllocated() && CallGetScrollBarInfo(Handle(), AObjectId, info) &&
      !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN))) {
    ABar->SetEnabled(!(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && Parent()->Enabled());
    const TPoint topLeft = Parent()->ScreenToClient({info.rcScrollBar.left, info.rcScrollBar.top});
    const Integer w = info.rcScrollBar.right - info.rcScrollBar.left;
    const Integer h = info.rcScrollBar.bottom - info.rcScrollBar.top;
    if (topLeft.X >= 0 && topLeft.Y >= 0 && w <= Width() && h <= Height()) {
      ABar->SetBounds(topLeft.X, topLeft.Y, w, h);
      {
        ++FBarParentingLock;
        ScopeExit unlock([this] { --FBarParentingLock; });
        ABar->SetParent(Parent());
      }
      ABar->SetCtl3D(false);
      ABar->BringToFront();
      ABar->SetVisible(true);
      shown = true;
    }
  }
  if (!shown) {
    ABar->SetVisible(false);
    ABar->SetBounds(0, 0, 0, 0);
    return;
  }
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(Handle(), ABar->Kind() == sbHorizontal ? SB_HORZ : SB_VERT, &si)) return;
  ABar->SetSmallChange(1);
  ABar->SetScrollParams(si.nMin, si.nMax, std::min<Integer>(static_cast<Integer>(si.nPage), si.nMax), si.nPos);
}

void TcxCustomInnerListBox::SyncScrollBars() {
  if (FBeingDestroyed || FBarParentingLock >= 1 || !IsGetScrollBarInfoAvailable()) return;
  const bool saved = FSyncingScrollBars;
  FSyncingScrollBars = true;
  ScopeExit restore([&] { FSyncingScrollBars = saved; });
  SyncBar(FHorzBar, OBJID_HSCROLL);
  SyncBar(FVertBar, OBJID_VSCROLL);
}

void TcxCustomInnerListBox::BarScrolled(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos) {
  if (!HandleAllocated()) return;
  const bool vertical = Sender == FVertBar;
  if (vertical && (ScrollCode == scLineUp || ScrollCode == scLineDown)) {
    SetTopIndex(ScrollPos);
    ScrollPos = TopIndex();
    return;
  }
  const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(ScrollCode), static_cast<WORD>(ScrollPos));
  CallWindowProc(DefWndProc, Handle(), msg, wParam, 0);
  ScrollPos = GetScrollPos(Handle(), vertical ? SB_VERT : SB_HORZ);
}

// --- forwarding -------------------------------------------------------------------

void TcxCustomInnerListBox::Click() {
  TListBox::Click();
  if (!HostContainer) return;
  if (FVertBar) FVertBar->SetPosition(TopIndex());
  InnerControlForwarding::Click(HostContainer);
}

void TcxCustomInnerListBox::DblClick() {
  TListBox::DblClick();
  InnerControlForwarding::DblClick(HostContainer);
}

void TcxCustomInnerListBox::KeyDown(Word& Key, TShiftState Shift) {
  InnerControlForwarding::KeyDown(HostContainer, Key, Shift);
  if (Key != 0) TListBox::KeyDown(Key, Shift);
}

void TcxCustomInnerListBox::KeyPress(char32_t& Key) {
  if (Key == U'\t') {
    Key = 0;
    return;
  }
  InnerControlForwarding::KeyPress(HostContainer, Key);
  if (Key == U'\r') Key = 0;
  if (Key == 0) return;
  TListBox::KeyPress(Key);
  if (Key != 0) AutoCompleteKey(Key);
}

void TcxCustomInnerListBox::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  if (Key != 0) InnerControlForwarding::KeyUp(HostContainer, Key, Shift);
  if (Key != 0) TListBox::KeyUp(Key, Shift);
}

bool TcxCustomInnerListBox::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  return InnerControlForwarding::MouseWheel(HostContainer, Shift, WheelDelta, MousePos) ||
         TListBox::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomInnerListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TListBox::MouseDown(Button, Shift, X, Y);
  InnerControlForwarding::MouseDown(HostContainer, this, Button, Shift, X, Y);
}

void TcxCustomInnerListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TListBox::MouseMove(Shift, X, Y);
  InnerControlForwarding::MouseMove(HostContainer, this, Shift, X, Y);
}

void TcxCustomInnerListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TListBox::MouseUp(Button, Shift, X, Y);
  InnerControlForwarding::MouseUp(HostContainer, this, Button, Shift, X, Y);
}

void TcxCustomInnerListBox::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  if (HostContainer)
    InnerControlForwarding::DragOver(HostContainer, this, Source, X, Y, State, Accept);
  else
    TListBox::DragOver(Source, X, Y, State, Accept);
}

void TcxCustomInnerListBox::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (HostContainer)
    InnerControlForwarding::DragDrop(HostContainer, this, Source, X, Y);
  else
    TListBox::DragDrop(Source, X, Y);
}

void TcxCustomInnerListBox::ContextMenu(TMessage& Message) {
  // The list box shows its container's menu.
  auto* popup = HostContainer && !PopupMenu() ? dynamic_cast<IPopupComponent*>(HostContainer->PopupMenu()) : nullptr;
  if (!popup || !popup->AutoPopup()) {
    TListBox::WndProc(Message);
    return;
  }
  TPoint pt = PointOf(Message.LParam);
  if (pt.X == -1 && pt.Y == -1) pt = ClientToScreen({0, 0});
  bool handled = false;
  DoContextPopup(ScreenToClient(pt), handled);
  if (!handled) {
    popup->SetPopupComponent(this);
    popup->Popup(pt.X, pt.Y);
  }
  Message.Result = 1;
}

// --- auto-complete ------------------------------------------------------------------

void TcxCustomInnerListBox::AutoCompleteKey(char32_t& Key) {
  if (!AutoComplete) return;
  const UInt64 now = CurrentClock().TickCount64();
  if (now - FLastTypeTick >= AutoCompleteDelay) FTypedPrefix.clear();
  FLastTypeTick = now;
  if (Key == U'\b') {
    if (!FTypedPrefix.empty()) FTypedPrefix.erase(Utf8PrevCharPos(FTypedPrefix, FTypedPrefix.size()));
  } else if (Key >= U' ') {
    // Control characters (Escape) are no part of any item's text.
    FTypedPrefix += Utf8Encode(Key);
  }
  if (FTypedPrefix.empty()) {
    SetItemIndex(0);
    Click();
  } else if (HandleAllocated()) {
    const LRESULT found =
        SendMessage(Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(FTypedPrefix.c_str()));
    if (found != LB_ERR) {
      if (MultiSelect()) {
        SendMessage(Handle(), LB_SETSEL, FALSE, -1);
        SetSelected(static_cast<Integer>(found), true);
      }
      SetItemIndex(static_cast<Integer>(found));
      Click();
    }
  }
  if (!FTypedPrefix.empty() && Key != U'\b' && Key != U'\r' && Key != U'\x1b') Key = 0;
}

// --- drag start and item drawing ---------------------------------------------------

void TcxCustomInnerListBox::LeftButtonDown(TMessage& Message) {
  const TDragMode saved = DragMode();
  SetDragMode(dmManual);
  ScopeExit restore([this, saved] { SetDragMode(saved); });
  const bool shift = (Message.WParam & MK_SHIFT) != 0, ctrl = (Message.WParam & MK_CONTROL) != 0;
  if (MultiSelect() && !(shift && !ctrl)) {
    const Integer item = ItemAtPos(PointOf(Message.LParam), true);
    if (item >= 0 && Selected(item)) {
      HostContainer->BeginDrag(false);
      return;
    }
  }
  TcxContainer* container = HostContainer;
  TListBox::WndProc(Message);
  if (!(MultiSelect() && (ctrl || shift))) container->BeginDrag(false);
}

void TcxCustomInnerListBox::DrawListItem(const DRAWITEMSTRUCT& AItem) {
  TCanvas* canvas = Canvas();
  canvas->SetHandle(AItem.hDC);
  ScopeExit release([canvas] { canvas->SetHandle(nullptr); });
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  const TOwnerDrawState state = ItemState(AItem.itemState);
  if (state.Contains(odSelected)) {
    canvas->Brush()->SetColor(clHighlight);
    canvas->Font()->SetColor(clHighlightText);
  }
  const TRect rect{AItem.rcItem.left, AItem.rcItem.top, AItem.rcItem.right, AItem.rcItem.bottom};
  if (static_cast<int>(AItem.itemID) < 0)
    canvas->FillRect(rect);
  else
    DrawItem(static_cast<Integer>(static_cast<int>(AItem.itemID)), rect, state);
  if (state.Contains(odFocused) && DrawsFocusRect()) DrawFocusRect(AItem.hDC, &AItem.rcItem);
}

// --- messages ------------------------------------------------------------------------

void TcxCustomInnerListBox::WndProc(TMessage& Message) {
  if (HostContainer && HostContainer->HandleInnerDialogKey(Message)) return;
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TListBox::WndProc(Message);
      if (HostContainer) {
        Message.Result |= DLGC_WANTCHARS;
        if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      }
      return;
    case WM_LBUTTONDOWN:
      if (HostContainer && HostContainer->DragMode() == dmAutomatic && !ComponentState().Contains(csDesigning)) {
        LeftButtonDown(Message);
        return;
      }
      break;
    case WM_CONTEXTMENU: ContextMenu(Message); return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TListBox::WndProc(Message);
      TcxContainer* container = HostContainer;
      if (!container || container->IsBeingDestroyed()) return;
      if (Message.Msg == WM_SETFOCUS && container->HandleAllocated() &&
          reinterpret_cast<HWND>(Message.WParam) == container->Handle())
        return;
      InnerControlForwarding::FocusChanged(container);
      return;
    }
    case CM_MOUSELEAVE:
      TListBox::WndProc(Message);
      if (HostContainer) HostContainer->RefreshAtCursor();
      return;
    case CN_DRAWITEM:
      DrawListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    case WM_NCCALCSIZE:
      TListBox::WndProc(Message);
      if (!FSyncingScrollBars) SyncScrollBars();
      return;
    case WM_NCPAINT:
      TListBox::WndProc(Message);
      if (BothBarsVisible() && HandleAllocated()) {
        const TRect grip = SizeGripBounds();
        const RECT r{grip.Left, grip.Top, grip.Right, grip.Bottom};
        HDC dc = GetWindowDC(Handle());
        ScopeExit release([this, dc] { ReleaseDC(Handle(), dc); });
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      }
      return;
    case WM_SETREDRAW:
      TListBox::WndProc(Message);
      if (Message.WParam) SyncScrollBars();
      return;
    default: break;
  }
  TListBox::WndProc(Message);
  if (IsBarTrigger(Message.Msg)) {
    SyncScrollBars();
    if (Message.Msg == WM_WINDOWPOSCHANGED && BothBarsVisible() && HandleAllocated()) {
      const TRect grip = SizeGripBounds();
      const RECT r{grip.Left, grip.Top, grip.Right, grip.Bottom};
      RedrawWindow(Handle(), &r, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
  }
}

void TcxCustomInnerListBox::DefaultHandler(TMessage& Message) {
  if (HostContainer && HostContainer->HandleInnerDefaultMessage(Message)) return;
  TListBox::DefaultHandler(Message);
}

void RegisterCustomInnerListBoxClasses() { RegisterClasses({TcxCustomInnerListBox::StaticClass()}); }
