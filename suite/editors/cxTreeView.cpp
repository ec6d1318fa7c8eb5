#include "suite/editors/cxTreeView.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/InnerControlForwarding.h"
#include "suite/editors/cxContainerViewInfo.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomInnerTreeView, TTreeView)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomTreeView, TcxContainer)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxTreeView, TcxCustomTreeView)

VXN_PUBLISH(TcxTreeView) {
  using C = TcxTreeView;
  P.Redeclare("Height").Default(100);
  P.Redeclare("Width").Default(120);
  P.Redeclare("ParentColor").Default(false);
  P.Property("Style", &C::Style, &C::SetStyle);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
#define CX_PUBLISH_TREE_PROPERTY(Name) P.Property(#Name, &C::Name, &C::Set##Name)
  CX_PUBLISH_TREE_PROPERTY(AutoExpand).Default(false);
  CX_PUBLISH_TREE_PROPERTY(ChangeDelay).Default(0);
  CX_PUBLISH_TREE_PROPERTY(HideSelection).Default(true);
  CX_PUBLISH_TREE_PROPERTY(HotTrack).Default(false);
  CX_PUBLISH_TREE_PROPERTY(Images);
  CX_PUBLISH_TREE_PROPERTY(Items);
  CX_PUBLISH_TREE_PROPERTY(Indent).Default(19);
  CX_PUBLISH_TREE_PROPERTY(MultiSelect).Default(false);
  CX_PUBLISH_TREE_PROPERTY(MultiSelectStyle).Default(static_cast<int64_t>(TMultiSelectStyle{msControlSelect}.Bits()));
  CX_PUBLISH_TREE_PROPERTY(ReadOnly).Default(false);
  CX_PUBLISH_TREE_PROPERTY(RightClickSelect).Default(false);
  CX_PUBLISH_TREE_PROPERTY(RowSelect).Default(false);
  CX_PUBLISH_TREE_PROPERTY(ShowButtons).Default(true);
  CX_PUBLISH_TREE_PROPERTY(ShowLines).Default(true);
  CX_PUBLISH_TREE_PROPERTY(ShowRoot).Default(true);
  CX_PUBLISH_TREE_PROPERTY(SortType).Default(stNone);
  CX_PUBLISH_TREE_PROPERTY(StateImages);
  CX_PUBLISH_TREE_PROPERTY(ToolTips).Default(true);
#undef CX_PUBLISH_TREE_PROPERTY
#define CX_PUBLISH_TREE_EVENT(Name) P.Event(#Name, &C::Get##Name, &C::Set##Name)
  CX_PUBLISH_TREE_EVENT(OnAddition);
  CX_PUBLISH_TREE_EVENT(OnAdvancedCustomDraw);
  CX_PUBLISH_TREE_EVENT(OnAdvancedCustomDrawItem);
  CX_PUBLISH_TREE_EVENT(OnCancelEdit);
  CX_PUBLISH_TREE_EVENT(OnChange);
  CX_PUBLISH_TREE_EVENT(OnChanging);
  CX_PUBLISH_TREE_EVENT(OnCollapsed);
  CX_PUBLISH_TREE_EVENT(OnCollapsing);
  CX_PUBLISH_TREE_EVENT(OnCompare);
  CX_PUBLISH_TREE_EVENT(OnCustomDraw);
  CX_PUBLISH_TREE_EVENT(OnCustomDrawItem);
  CX_PUBLISH_TREE_EVENT(OnDeletion);
  CX_PUBLISH_TREE_EVENT(OnEditing);
  CX_PUBLISH_TREE_EVENT(OnEdited);
  CX_PUBLISH_TREE_EVENT(OnExpanding);
  CX_PUBLISH_TREE_EVENT(OnExpanded);
  CX_PUBLISH_TREE_EVENT(OnGetImageIndex);
  CX_PUBLISH_TREE_EVENT(OnGetSelectedIndex);
  CX_PUBLISH_TREE_EVENT(OnCreateNodeClass);
#undef CX_PUBLISH_TREE_EVENT
}

namespace {

// Messages after which the tree's scroll bars may have changed.
bool ChangesScrollBars(UINT AMsg) {
  switch (AMsg) {
    case WM_WINDOWPOSCHANGED:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case TVM_INSERTITEMA:
    case CM_SHOWINGCHANGED: return true;
    default: return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomInnerTreeView

TcxCustomInnerTreeView::TcxCustomInnerTreeView(TComponent* AOwner) : TTreeView(AOwner) {
  FCanvas = std::make_unique<TcxCanvas>(Canvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  SetBorderStyle(bsNone);
  ControlStyle += csDoubleClicks;
  SetParentColor(false);
  SetParentFont(true);
}

TcxCustomInnerTreeView::~TcxCustomInnerTreeView() {
  FContainer = nullptr;
  FLookAndFeel.reset();
  FCanvas.reset();
}

TcxContainer* TcxCustomInnerTreeView::ControlContainer() { return FContainer; }

void TcxCustomInnerTreeView::SyncContainerScrollBars() {
  if (FContainer) FContainer->SyncScrollBarsFromInner(false);
}

bool TcxCustomInnerTreeView::BothContainerBarsShown() const {
  if (!FContainer) return false;
  TcxControlScrollBar* h = FContainer->HScrollBar();
  TcxControlScrollBar* v = FContainer->VScrollBar();
  return h && v && h->Visible() && v->Visible();
}

// The corner between the container's bars lies over the tree's frame, where
// neither bar paints.
void TcxCustomInnerTreeView::PaintSizeGrip() {
  if (!IsGetScrollBarInfoAvailable() || !BothContainerBarsShown() || !HandleAllocated()) return;
  const TRect grip = InnerControlSizeGripRect(this);
  const RECT r{grip.Left, grip.Top, grip.Right, grip.Bottom};
  HDC dc = GetWindowDC(Handle());
  if (!dc) return;
  ScopeExit release([this, dc] { ReleaseDC(Handle(), dc); });
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

void TcxCustomInnerTreeView::CreateWnd() {
  TTreeView::CreateWnd();
  SyncContainerScrollBars();
}

void TcxCustomInnerTreeView::Expand(TTreeNode* Node) {
  TTreeView::Expand(Node);
  SyncContainerScrollBars();
}

void TcxCustomInnerTreeView::Collapse(TTreeNode* Node) {
  TTreeView::Collapse(Node);
  SyncContainerScrollBars();
}

void TcxCustomInnerTreeView::Change(TTreeNode* Node) {
  TTreeView::Change(Node);
  SyncContainerScrollBars();
}

void TcxCustomInnerTreeView::CNNotify(TMessage& Message) {
  TTreeView::WndProc(Message);
  auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
  if (!header || header->code != TVN_DELETEITEMA) return;
  SyncContainerScrollBars();
  // The tree tells of a deletion before the node goes: the bars follow
  // once it has gone.
  if (FContainer) FContainer->PostUpdateScrollBars();
}

void TcxCustomInnerTreeView::DefaultHandler(TMessage& Message) {
  if (FContainer && FContainer->HandleInnerDefaultMessage(Message)) return;
  TTreeView::DefaultHandler(Message);
}

// --- forwarding -------------------------------------------------------------

void TcxCustomInnerTreeView::Click() {
  TTreeView::Click();
  InnerControlForwarding::Click(FContainer);
}

void TcxCustomInnerTreeView::DblClick() {
  TTreeView::DblClick();
  InnerControlForwarding::DblClick(FContainer);
}

bool TcxCustomInnerTreeView::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  return InnerControlForwarding::MouseWheel(FContainer, Shift, WheelDelta, MousePos) ||
         TTreeView::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomInnerTreeView::KeyDown(Word& Key, TShiftState Shift) {
  InnerControlForwarding::KeyDown(FContainer, Key, Shift);
  if (Key != 0) TTreeView::KeyDown(Key, Shift);
}

void TcxCustomInnerTreeView::KeyPress(char32_t& Key) {
  if (Key == U'\t') Key = 0;
  InnerControlForwarding::KeyPress(FContainer, Key);
  if (Key == U'\r') Key = 0;
  if (Key != 0) TTreeView::KeyPress(Key);
}

void TcxCustomInnerTreeView::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  InnerControlForwarding::KeyUp(FContainer, Key, Shift);
  if (Key != 0) TTreeView::KeyUp(Key, Shift);
}

void TcxCustomInnerTreeView::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TTreeView::MouseDown(Button, Shift, X, Y);
  InnerControlForwarding::MouseDown(FContainer, this, Button, Shift, X, Y);
}

void TcxCustomInnerTreeView::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TTreeView::MouseMove(Shift, X, Y);
  InnerControlForwarding::MouseMove(FContainer, this, Shift, X, Y);
}

void TcxCustomInnerTreeView::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TTreeView::MouseUp(Button, Shift, X, Y);
  InnerControlForwarding::MouseUp(FContainer, this, Button, Shift, X, Y);
}

// Drag and drop over the tree is for the container's handlers alone.
void TcxCustomInnerTreeView::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  InnerControlForwarding::DragOver(FContainer, this, Source, X, Y, State, Accept);
}

void TcxCustomInnerTreeView::DragDrop(TObject* Source, Integer X, Integer Y) {
  InnerControlForwarding::DragDrop(FContainer, this, Source, X, Y);
}

// --- messages ------------------------------------------------------------------

void TcxCustomInnerTreeView::WndProc(TMessage& Message) {
  if (FContainer && FContainer->HandleInnerDialogKey(Message)) return;
  const bool designing = ComponentState().Contains(csDesigning);
  switch (Message.Msg) {
    // WM_RBUTTONUP passes untouched: this tree asks for its context menu
    // from the button-up itself, so that request is the only one a right
    // click makes and the container must get it, not swallow it.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FContainer && FContainer->DragMode() == dmAutomatic && FContainer->GetDragKind() == dkDock && !designing) {
        FContainer->BeginDrag(false);
        return;
      }
      if (Message.Msg == WM_LBUTTONDOWN) {
        TTreeView::WndProc(Message);
        // A drag of the tree's own is the container's.
        if (FContainer && Dragging()) {
          CancelDrag();
          FContainer->BeginDrag(false);
        }
        return;
      }
      break;
    case WM_GETDLGCODE:
      TTreeView::WndProc(Message);
      if (FContainer) {
        Message.Result |= DLGC_WANTCHARS;
        if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      }
      return;
    case WM_SETFOCUS: {
      TTreeView::WndProc(Message);
      TcxCustomTreeView* container = FContainer;
      if (!container || container->IsBeingDestroyed() || ComponentState().Contains(csDestroying)) return;
      if (!container->HandleAllocated() || reinterpret_cast<HWND>(Message.WParam) != container->Handle())
        InnerControlForwarding::FocusChanged(container);
      return;
    }
    case WM_KILLFOCUS:
      TTreeView::WndProc(Message);
      if (FContainer && !FContainer->IsBeingDestroyed()) InnerControlForwarding::FocusChanged(FContainer);
      return;
    case CM_MOUSELEAVE:
      TTreeView::WndProc(Message);
      if (FContainer) FContainer->RefreshAtCursor();
      return;
    case WM_NCCALCSIZE:
    case WM_FONTCHANGE:
      TTreeView::WndProc(Message);
      SyncContainerScrollBars();
      return;
    case CN_NOTIFY: CNNotify(Message); return;
    case WM_NCPAINT:
      TTreeView::WndProc(Message);
      PaintSizeGrip();
      return;
    case WM_WINDOWPOSCHANGED:
      TTreeView::WndProc(Message);
      if (FContainer && !FContainer->IsBeingDestroyed() && !ComponentState().Contains(csDestroying) &&
          BothContainerBarsShown() && HandleAllocated()) {
        const TRect grip = InnerControlSizeGripRect(this);
        RECT window{};
        GetWindowRect(Handle(), &window);
        HRGN region = CreateRectRgn(window.left + grip.Left, window.top + grip.Top, window.left + grip.Right,
                                    window.top + grip.Bottom);
        ScopeExit free([region] { DeleteObject(region); });
        SendMessage(Handle(), WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
      }
      SyncContainerScrollBars();
      return;
    default: break;
  }
  TTreeView::WndProc(Message);
  if (ChangesScrollBars(Message.Msg)) SyncContainerScrollBars();
}

// ---------------------------------------------------------------------------
// TcxCustomTreeView

TcxCustomTreeView::TcxCustomTreeView(TComponent* AOwner)
    : TcxCustomTreeView(AOwner, TcxCustomInnerTreeView::StaticClass()) {}

TcxCustomTreeView::TcxCustomTreeView(TComponent* AOwner, TClass AInnerTreeViewClass) : TcxContainer(AOwner) {
  FInnerTreeView.reset(CreateInnerTreeView(AInnerTreeViewClass));
  TcxCustomInnerTreeView* inner = FInnerTreeView.get();
  inner->SetAutoSize(false);
  inner->SetAlign(alClient);
  inner->SetBorderStyle(bsNone);
  inner->SetParent(this);
  inner->SetContainer(this);
  SetInnerControl(inner);
  inner->LookAndFeel()->SetMasterLookAndFeel(Style()->LookAndFeel());
  SetBounds(Left(), Top(), 120, 100);
}

TcxCustomTreeView::~TcxCustomTreeView() {
  // Unlinked first: nothing the tree does while it goes reaches a container
  // half destroyed.
  SetInnerControl(nullptr);
  if (FInnerTreeView) {
    FInnerTreeView->SetContainer(nullptr);
    FInnerTreeView->LookAndFeel()->SetMasterLookAndFeel(nullptr);
  }
  FInnerTreeView.reset();
}

TcxCustomInnerTreeView* TcxCustomTreeView::CreateInnerTreeView(TClass AClass) {
  if (!AClass || !AClass->InheritsFrom(TcxCustomInnerTreeView::StaticClass()) || !AClass->OwnerFactory)
    throw EInvalidCast("Invalid inner tree view class");
  return static_cast<TcxCustomInnerTreeView*>(AClass->OwnerFactory(this));
}

TcxCustomInnerTreeView* TcxCustomTreeView::MakeInnerTreeView() { return CreateInnerTreeView(InnerTreeViewClass()); }

void TcxCustomTreeView::SelectNodeWithShift(TTreeNode* ANode, TShiftState AShiftState) {
  FInnerTreeView->Select(ANode, AShiftState);
}

void TcxCustomTreeView::SelectNodeArray(std::span<TTreeNode* const> ANodes) { FInnerTreeView->Select(ANodes); }

void TcxCustomTreeView::SelectNodeList(TList* ANodes) { FInnerTreeView->Select(ANodes); }

void TcxCustomTreeView::UnselectNode(TTreeNode* ANode) { FInnerTreeView->Deselect(ANode); }

void TcxCustomTreeView::AddToSelection(TTreeNode* ANode, bool AValidate) { FInnerTreeView->Subselect(ANode, AValidate); }

void TcxCustomTreeView::ClearNodeSelection(bool AKeepPrimary) { FInnerTreeView->ClearSelection(AKeepPrimary); }

TTreeNode* TcxCustomTreeView::NodeToSelectNext() { return FInnerTreeView->FindNextToSelect(); }

void TcxCustomTreeView::ExpandAllNodes() { FInnerTreeView->FullExpand(); }

TTreeNode* TcxCustomTreeView::NodeAtPoint(Integer X, Integer Y) const { return FInnerTreeView->GetNodeAt(X, Y); }

TTreeNode* TcxCustomTreeView::SelectedNode() const { return FInnerTreeView->Selected(); }

void TcxCustomTreeView::SetSelectedNode(TTreeNode* ANode) { FInnerTreeView->SetSelected(ANode); }

void TcxCustomTreeView::ScrollContent(TScrollBarKind AKind, TScrollCode ACode, Integer& APosition) {
  TcxContainer::ScrollContent(AKind, ACode, APosition);
  if (!FInnerTreeView || !FInnerTreeView->HandleAllocated()) return;
  const bool vertical = AKind == sbVertical;
  TcxControlScrollBar* bar = vertical ? VScrollBar() : HScrollBar();
  TMessage message;
  message.Msg = vertical ? WM_VSCROLL : WM_HSCROLL;
  message.WParam = MAKEWPARAM(static_cast<WORD>(ACode), static_cast<WORD>(APosition));
  message.LParam = bar && bar->HandleAllocated() ? reinterpret_cast<LPARAM>(bar->Handle()) : 0;
  // Straight to the tree's own scrolling, past the handlers above it.
  FInnerTreeView->TTreeView::DefaultHandler(message);
  APosition = GetScrollPos(FInnerTreeView->Handle(), vertical ? SB_VERT : SB_HORZ);
  SyncScrollBarsFromInner(false);
}

void TcxCustomTreeView::SyncControlWithStyle(TObject* Sender) {
  TcxContainer::SyncControlWithStyle(Sender);
  if (!FInnerTreeView) return;
  TTreeNodes* items = FInnerTreeView->Items();
  items->BeginUpdate();
  ScopeExit update([items] { items->EndUpdate(); });
  if (HScrollBar()) HScrollBar()->Invalidate();
  if (VScrollBar()) VScrollBar()->Invalidate();
}

void TcxCustomTreeView::AlignInnerControl() {
  if (ComponentState().Contains(csLoading)) return;
  const TRect before = FInnerTreeView ? FInnerTreeView->BoundsRect() : TRect{};
  TcxContainer::AlignInnerControl();
  if (!FInnerTreeView || FInnerTreeView->BoundsRect() == before || !FInnerTreeView->HandleAllocated()) return;
  // Moves the pointer made over the old place would hit the wrong nodes.
  MSG pending;
  while (PeekMessage(&pending, FInnerTreeView->Handle(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
  }
}

void TcxCustomTreeView::NotifyFontListeners() {
  TcxContainer::NotifyFontListeners();
  TcxContainer::AlignInnerControl();
  if (FInnerTreeView) FInnerTreeView->Invalidate();
}

bool TcxCustomTreeView::CanResize(Integer&, Integer&) { return true; }

void TcxCustomTreeView::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    if (FInnerTreeView)
      FInnerTreeView->CNNotify(Message);
    else
      DefaultHandler(Message);
    return;
  }
  TcxContainer::WndProc(Message);
}

void RegisterTreeViewClasses() {
  RegisterClasses({TcxCustomInnerTreeView::StaticClass(), TcxTreeView::StaticClass()});
}
