#include "suite/pagecontrol/cxPageControl.h"

#include <algorithm>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Docking.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "suite/pagecontrol/cxPCPainter.h"
#include "suite/pagecontrol/cxTabs.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxTabSheet, TCustomControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxPageControl, TcxCustomTabControl)

namespace {

constexpr const char* SPageIndexError = "%d is an invalid PageIndex value.  PageIndex must be between 0 and %d";

// Adds one silent level to a tab control for the length of a scope.
class SilentScope {
 public:
  explicit SilentScope(TcxCustomTabControl* AControl) : control_(AControl) { control_->BeginSilent(true); }
  ~SilentScope() { control_->BeginSilent(false); }
  SilentScope(const SilentScope&) = delete;
  SilentScope& operator=(const SilentScope&) = delete;

 private:
  TcxCustomTabControl* control_;
};

bool IsInside(TControl* AControl, TWinControl* AContainer) {
  for (TControl* c = AControl; c; c = c->Parent())
    if (c == AContainer) return true;
  return false;
}

}  // namespace

VXN_PUBLISH(TcxTabSheet) {
  P.Property("BorderWidth", &TcxTabSheet::BorderWidth, &TcxTabSheet::SetBorderWidth).Default(0);
  P.Property("Highlighted", &TcxTabSheet::Highlighted, &TcxTabSheet::SetHighlighted).Default(0);
  P.Property("ImageIndex", &TcxTabSheet::ImageIndex, &TcxTabSheet::SetImageIndex).Default(-1);
  P.Property("TabVisible", &TcxTabSheet::TabVisible, &TcxTabSheet::SetTabVisible).Default(1);
  P.Redeclare("Left").Stored(false);
  P.Redeclare("Top").Stored(false);
  P.Redeclare("Width").Stored(false);
  P.Redeclare("Height").Stored(false);
  P.Redeclare("Visible").Stored(false);
  P.Redeclare("ParentColor").Default(1);
  P.Event("OnHide", &TcxTabSheet::OnHide);
  P.Event("OnShow", &TcxTabSheet::OnShow);
}

// The platform's dock events, published here (the members are the base's).
VXN_PUBLISH(TcxPageControl) {
  P.Property("ActivePage", &TcxPageControl::ActivePage, &TcxPageControl::SetActivePage);
  P.Property("Focusable", &TcxPageControl::Focusable, &TcxPageControl::SetFocusable).Default(1);
  P.Property("DockSite", &TcxPageControl::DockSite, &TcxPageControl::SetDockSite).Default(0);
  P.Event("OnPageChanging", &TcxPageControl::OnPageChanging);
  P.Event("OnDockDrop", static_cast<TDockDropEvent TcxPageControl::*>(&TcxPageControl::OnDockDrop));
  P.Event("OnDockOver", static_cast<TDockOverEvent TcxPageControl::*>(&TcxPageControl::OnDockOver));
  P.Event("OnEndDock", static_cast<TEndDragEvent TcxPageControl::*>(&TcxPageControl::OnEndDock));
  P.Event("OnGetSiteInfo", static_cast<TGetSiteInfoEvent TcxPageControl::*>(&TcxPageControl::OnGetSiteInfo));
  P.Event("OnStartDock", static_cast<TStartDockEvent TcxPageControl::*>(&TcxPageControl::OnStartDock));
  P.Event("OnUnDock", static_cast<TUnDockEvent TcxPageControl::*>(&TcxPageControl::OnUnDock));
}

// TcxTabSheet ---------------------------------------------------------------------

TcxTabSheet::TcxTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  SetAlign(alClient);
  ControlStyle += csAcceptsControls;
  ControlStyle += csNoDesignVisible;
  SetVisible(false);
  SetParentColor(true);
  SetTabStop(false);
}

TcxTabSheet::~TcxTabSheet() {
  if (!FPageControl) return;
  if (FPageControl->FUndockPage == this) FPageControl->FUndockPage = nullptr;
  FPageControl->RemovePage(this);
}

void TcxTabSheet::SetBorderWidth(Integer Value) {
  if (Value < 0 || Value == FBorderWidth) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TcxTabSheet::SetHighlighted(bool Value) {
  if (Value == FHighlighted) return;
  FHighlighted = Value;
  SyncTab();
}

void TcxTabSheet::SetImageIndex(Integer Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  SyncTab();
}

void TcxTabSheet::SetTabVisible(bool Value) {
  if (Value == FTabVisible) return;
  FTabVisible = Value;
  SyncTab();
}

Integer TcxTabSheet::PageIndex() const { return FPageControl ? FPageControl->IndexOfPage(this) : -1; }

void TcxTabSheet::SetPageIndex(Integer Value) {
  if (!FPageControl) return;
  const Integer count = FPageControl->PageCount();
  if (Value > count - 1) throw EListError(Format(SPageIndexError, {Value, count - 1}));
  if (Value < 0) throw EListError(Format(SListIndexError, {Value}));
  FPageControl->MovePage(PageIndex(), Value);
}

Integer TcxTabSheet::TabVisibleIndex() const { return FTab ? FTab->VisibleIndex() : -1; }

void TcxTabSheet::AttachToPageControl(TcxPageControl* APageControl) {
  FPageControl = APageControl;
  FAttaching = true;
  ScopeExit done([this] { FAttaching = false; });
  TCustomControl::SetParent(APageControl);
}

void TcxTabSheet::Detach() {
  FPageControl = nullptr;
  FAttaching = true;
  ScopeExit done([this] { FAttaching = false; });
  TCustomControl::SetParent(nullptr);
}

void TcxTabSheet::MoveToPageControl(TcxPageControl* APageControl) {
  if (APageControl == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  if (!APageControl) return;
  APageControl->InsertPage(this);
  if (!APageControl->IsLoading() && !APageControl->ActivePage()) APageControl->SetActivePage(this);
}

void TcxTabSheet::SyncTab() {
  if (FPageControl) FPageControl->UpdateTab(this);
}

void TcxTabSheet::SetParent(TWinControl* AParent) {
  auto* pageControl = dynamic_cast<TcxPageControl*>(AParent);
  if (AParent && !pageControl) Abort();
  if (FAttaching || ComponentState().Contains(csLoading)) {
    TCustomControl::SetParent(AParent);
    return;
  }
  MoveToPageControl(pageControl);
}

void TcxTabSheet::ReadState(TReader& Reader) {
  TCustomControl::ReadState(Reader);
  if (auto* pageControl = dynamic_cast<TcxPageControl*>(Parent())) MoveToPageControl(pageControl);
}

void TcxTabSheet::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WindowClassStyle &= ~(win::CS_HREDRAW | win::CS_VREDRAW);
}

void TcxTabSheet::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect = {Rect.Left + FBorderWidth, Rect.Top + FBorderWidth, Rect.Right - FBorderWidth,
          Rect.Bottom - FBorderWidth};
}

void TcxTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_NCPAINT:
      if (FPageControl && FPageControl->Painter()->IsNativePainting()) {
        PaintNonClient();
        return;
      }
      break;
    case win::WM_WINDOWPOSCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

// The border the page's children keep off is drawn with the themed pane.
void TcxTabSheet::PaintNonClient() {
  if (!HandleAllocated()) return;
  const win::HDC dc = win::GetWindowDC(Handle());
  if (!dc) return;
  ScopeExit release([this, dc] { win::ReleaseDC(Handle(), dc); });
  win::SavedDc saved(dc);
  win::ExcludeClipRect(dc, FBorderWidth, FBorderWidth, Width() - FBorderWidth, Height() - FBorderWidth);
  DrawThemedBackground(dc);
}

void TcxTabSheet::DrawThemedBackground(win::HDC DC) {
  TRect r = FPageControl->Painter()->PageAreaRect();
  r = {r.Left - 2 - Left(), r.Top - 2 - Top(), r.Right + 2 - Left(), r.Bottom + 2 - Top()};
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassTab), DC, 9, 0, r);
}

void TcxTabSheet::WMEraseBkgnd(TMessage& Message) {
  const win::HDC dc = reinterpret_cast<win::HDC>(Message.WParam);
  Message.Result = 1;
  if (!FPageControl) {
    TCustomControl::WMEraseBkgnd(Message);
    return;
  }
  if (FPageControl->Painter()->IsNativePainting()) {
    DrawThemedBackground(dc);
    return;
  }
  win::POINT origin;
  win::OffsetWindowOrgEx(dc, Left(), Top(), &origin);
  ScopeExit restoreOrigin([dc, origin] { win::SetWindowOrgEx(dc, origin.x, origin.y, nullptr); });
  TcxCanvas* canvas = FPageControl->Canvas();
  canvas->Canvas->Lock();
  ScopeExit unlock([canvas] { canvas->Canvas->Unlock(); });
  const win::HDC previous = canvas->Canvas->HandleAllocated() ? canvas->Canvas->Handle() : nullptr;
  canvas->Canvas->SetHandle(dc);
  ScopeExit detach([canvas, previous] { canvas->Canvas->SetHandle(previous); });
  FPageControl->Painter()->DrawPageBackground();
}

void TcxTabSheet::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  SyncTab();
}

void TcxTabSheet::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  SyncTab();
}

void TcxTabSheet::CMColorChanged(TMessage& Message) {
  TCustomControl::CMColorChanged(Message);
  if (FTab) FTab->Changed(tckLayout);
  if (FBorderWidth != 0 && HandleAllocated())
    win::RedrawWindow(Handle(), nullptr, nullptr, win::RDW_FRAME | win::RDW_INVALIDATE);
}

void TcxTabSheet::CMShowingChanged(TMessage& Message) {
  TCustomControl::CMShowingChanged(Message);
  try {
    if (Showing())
      OnShow(this);
    else
      OnHide(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

// TcxPageControl ------------------------------------------------------------------

TcxPageControl::TcxPageControl(TComponent* AOwner) : TcxCustomTabControl(AOwner) {}

TcxPageControl::~TcxPageControl() {
  for (TcxTabSheet* page : FPages) {
    page->FPageControl = nullptr;
    page->FTab = nullptr;
  }
  FPages.clear();
  FActivePage = nullptr;
}

TcxTabSheet* TcxPageControl::Pages(Integer Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError(Format(SListIndexError, {Index}));
  return FPages[static_cast<size_t>(Index)];
}

Integer TcxPageControl::IndexOfPage(const TcxTabSheet* APage) const {
  auto it = std::find(FPages.begin(), FPages.end(), APage);
  return it == FPages.end() ? -1 : static_cast<Integer>(it - FPages.begin());
}

Integer TcxPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TcxPageControl::SetFocusable(bool Value) {
  if (Value == FFocusable) return;
  FFocusable = Value;
  SetTabStop(Value);
}

bool TcxPageControl::CanFocus() { return FFocusable && TcxCustomTabControl::CanFocus(); }

bool TcxPageControl::CanFocusOnClickAt(Integer X, Integer Y) {
  if (!FFocusable || !FActivePage || !CanFocusOnClick()) return false;
  const Integer v = TabAtPoint(X, Y);
  return v != -1 && VisibleTabList()->TabIndexAt(v) == ActivePageIndex();
}

TcxTabSheet* TcxPageControl::FindNextPage(TcxTabSheet* CurPage, bool GoForward, bool VisibleOnly) const {
  const Integer count = PageCount();
  if (count == 0) return nullptr;
  Integer start = IndexOfPage(CurPage);
  if (start == -1) start = GoForward ? count - 1 : 0;
  Integer i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TcxTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!VisibleOnly || (page->TabVisible() && page->Enabled())) return page;
  } while (i != start);
  return FPages[static_cast<size_t>(start)];
}

void TcxPageControl::SelectNextPage(bool GoForward, bool VisibleOnly) {
  TcxTabSheet* page = FindNextPage(FActivePage, GoForward, VisibleOnly);
  if (page && page != FActivePage) SetActivePage(page);
}

bool TcxPageControl::CanChangePage(TcxTabSheet* NewPage) {
  bool allow = true;
  if (OnPageChanging && !IsEventSuppressed()) OnPageChanging(this, NewPage, allow);
  return allow;
}

void TcxPageControl::PageChanged() { TcxCustomTabControl::TabChanged(); }

bool TcxPageControl::CanChangeTab(Integer NewIndex) {
  if (!TcxCustomTabControl::CanChangeTab(NewIndex)) return false;
  return NewIndex == -1 || CanChangePage(Pages(NewIndex));
}

void TcxPageControl::TabChanged() {
  if (TabIndex() != -1) {
    SilentScope silent(this);
    SyncActivePage();
  }
  TcxCustomTabControl::TabChanged();
}

void TcxPageControl::SyncActivePage() { SetActivePage(TabIndex() == -1 ? nullptr : Pages(TabIndex())); }

void TcxPageControl::SetActivePage(TcxTabSheet* Value) {
  if (Value && Value->PageControl() != this) return;
  ChangeActivePage(Value);
  if (Value != FActivePage) return;
  SilentScope silent(this);
  SetTabIndex(Value && Value->TabVisible() ? Value->PageIndex() : -1);
}

void TcxPageControl::ChangeActivePage(TcxTabSheet* APage) {
  if (APage == FActivePage || !CanChangePage(APage)) return;
  TForm* form = GetParentForm(this);
  if (form && FActivePage && form->ActiveControl() && IsInside(form->ActiveControl(), FActivePage)) {
    form->SetActiveControl(FActivePage);
    if (form->ActiveControl() != FActivePage) {
      // A control on the page kept the focus: the tab springs back.
      SilentScope silent(this);
      SetTabIndex(FActivePage->TabVisible() ? FActivePage->PageIndex() : -1);
      return;
    }
  }
  if (APage) {
    APage->BringToFront();
    APage->SetVisible(true);
    if (form && FActivePage && form->ActiveControl() == FActivePage)
      form->SetActiveControl(APage->CanFocus() ? static_cast<TWinControl*>(APage) : this);
  }
  if (FActivePage) FActivePage->SetVisible(false);
  FActivePage = APage;
  PageChanged();
  if (form && APage && form->ActiveControl() == APage) APage->SelectFirst();
  if (!IsLoading()) MarkDesignerModified();
}

void TcxPageControl::InsertPage(TcxTabSheet* APage) {
  if (Parent() || ParentWindow()) HandleNeeded();
  {
    FInserting = true;
    ScopeExit done([this] { FInserting = false; });
    FPages.push_back(APage);
    APage->AttachToPageControl(this);
    Tabs()->Add(APage->Caption());
  }
  APage->FTab = Tabs()->GetTab(Tabs()->Count() - 1);
  UpdateTab(APage);
}

void TcxPageControl::RemovePage(TcxTabSheet* APage) {
  const Integer index = IndexOfPage(APage);
  if (index == -1) return;
  const bool wasActive = APage == FActivePage;
  TcxTabSheet* next = FindNextPage(APage, true, !IsDesigning());
  if (next == APage) next = nullptr;
  FPages.erase(FPages.begin() + index);
  APage->FTab = nullptr;
  Tabs()->Delete(index);
  if (wasActive) {
    StoreTabIndex(-1);
    Tabs()->SyncMainTab();
    SetActivePage(next);
  } else {
    // Deliberately differs from the original, which made the page after the
    // removed one active: only the selection follows the active page's place.
    StoreTabIndex(FActivePage && FActivePage->TabVisible() ? FActivePage->PageIndex() : -1);
    Tabs()->SyncMainTab();
  }
  APage->Detach();
}

void TcxPageControl::MovePage(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  TcxTabSheet* page = FPages[static_cast<size_t>(CurIndex)];
  FPages.erase(FPages.begin() + CurIndex);
  FPages.insert(FPages.begin() + NewIndex, page);
  Tabs()->Move(CurIndex, NewIndex);
  for (Integer i = 0; i < PageCount(); ++i) FPages[static_cast<size_t>(i)]->FTab = Tabs()->GetTab(i);
  UpdateTab(page);
  SetTabIndex(NewIndex);
}

void TcxPageControl::UpdateTab(TcxTabSheet* APage) {
  if (IsLoading() || !APage->FTab) return;
  TcxTab* tab = APage->FTab;
  tab->SetCaption(APage->Caption());
  tab->SetEnabled(APage->Enabled());
  tab->SetImageIndex(APage->ImageIndex());
  tab->SetHighlighted(APage->Highlighted());
  tab->SetVisible(APage->TabVisible());
  if (APage == FActivePage) SetTabIndex(APage->TabVisible() ? APage->PageIndex() : -1);
}

void TcxPageControl::UpdateTabs() {
  for (TcxTabSheet* page : std::vector<TcxTabSheet*>(FPages)) UpdateTab(page);
}

void TcxPageControl::CloseTab() { delete FActivePage; }

void TcxPageControl::ImagesChanged(TObject* Sender) {
  if (!FInserting)
    for (TcxTabSheet* page : FPages)
      if (page->FTab) page->FTab->SetImageIndex(page->ImageIndex());
  TcxCustomTabControl::ImagesChanged(Sender);
}

void TcxPageControl::RecalculateLayout() {
  TcxCustomTabControl::RecalculateLayout();
  if (FActivePage) FActivePage->Invalidate();
}

void TcxPageControl::AlignControls(TControl* AControl, TRect& Rect) {
  TcxCustomTabControl::AlignControls(AControl, Rect);
  if (FActivePage && FActivePage->HandleAllocated() && FActivePage->BorderWidth() != 0 &&
      Painter()->IsNativePainting())
    FActivePage->PaintNonClient();
}

void TcxPageControl::Loaded() {
  TcxCustomTabControl::Loaded();
  UpdateTabs();
  if (!IsDesigning() && FActivePage && !FActivePage->Enabled()) SetActivePage(nullptr);
}

void TcxPageControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TcxTabSheet* page : FPages)
    if (page->Owner() == Root) Proc(page);
}

void TcxPageControl::MoveForeignChildOut(bool Inserting, TControl* AControl) {
  if (!Inserting || !Parent()) return;
  const TRect r = AControl->BoundsRect();
  AControl->SetParent(Parent());
  AControl->SetBounds(r.Left + Left(), r.Top + Top(), r.Width(), r.Height());
}

bool TcxPageControl::DoUnDock(TWinControl* NewTarget, TControl* Client) {
  return TcxCustomTabControl::DoUnDock(NewTarget, Client) && PrepareUndock(NewTarget, Client);
}

bool TcxPageControl::PrepareUndock(TWinControl* NewTarget, TControl* Client) {
  (void)NewTarget;
  // Only a control docked here has a page to give up.
  FUndockPage = PageOfDockClient(Client);
  if (FUndockPage) Client->SetAlign(alNone);
  return true;
}

TcxTabSheet* TcxPageControl::PageOfDockClient(TControl* Client) const {
  for (TcxTabSheet* page : FPages)
    if (Client->Parent() == page && Client->HostDockSite() == this) return page;
  return nullptr;
}

Integer TcxPageControl::DockAsNewSheet(TDragDockObject* DragDockObject) {
  TControl* control = DragDockObject->Control;
  if (auto* page = dynamic_cast<TcxTabSheet*>(control->Parent()); page && IndexOfPage(page) != -1) {
    page->SetPageIndex(PageCount() - 1);
    return 0;
  }
  auto* page = new TcxTabSheet(this);
  FNewDockPage = page;
  ScopeExit cleared([this] { FNewDockPage = nullptr; });
  try {
    if (auto* form = dynamic_cast<TCustomForm*>(control)) page->SetCaption(form->Caption());
    page->SetPageControl(this);
    control->Dock(this, DragDockObject->DockRect);
  } catch (...) {
    delete page;
    throw;
  }
  page->SetTabVisible(control->Visible());
  if (control->Visible()) SetActivePage(page);
  control->SetAlign(alClient);
  return 0;
}

void TcxPageControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
  (void)ARect;
  if (FNewDockPage) Client->SetParent(FNewDockPage);
}

void TcxPageControl::DoRemoveDockClient(TControl* Client) {
  TcxCustomTabControl::DoRemoveDockClient(Client);
  TcxTabSheet* page = FUndockPage;
  if (!page || ComponentState().Contains(csDestroying)) return;
  FUndockPage = nullptr;
  if (page == FActivePage) {
    TcxTabSheet* next = FindNextPage(page, true, true);
    SetActivePage(next == page ? nullptr : next);
  }
  delete page;
}

void TcxPageControl::DockOver(TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  win::RECT r{};
  win::GetWindowRect(Handle(), &r);
  Source->DockRect = {r.left, r.top, r.right, r.bottom};
  DoDockOver(Source, X, Y, State, Accept);
}

void TcxPageControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) {
  CanDock = PageOfDockClient(Client) == nullptr;
  TcxCustomTabControl::GetSiteInfo(Client, InfluenceRect, MousePos, CanDock);
}

void TcxPageControl::CMDockClient(TMessage& Message) {
  Message.Result = DockAsNewSheet(reinterpret_cast<TDragDockObject*>(Message.WParam));
}

void TcxPageControl::CMUnDockClient(TMessage& Message) {
  Message.Result = PrepareUndock(reinterpret_cast<TWinControl*>(Message.WParam),
                                 reinterpret_cast<TControl*>(Message.LParam))
                       ? 1
                       : 0;
}

void TcxPageControl::CMDockNotification(TMessage& Message) {
  const auto* rec = reinterpret_cast<const TDockNotifyRec*>(Message.LParam);
  if (TcxTabSheet* page = PageOfDockClient(reinterpret_cast<TControl*>(Message.WParam))) {
    if (rec->ClientMsg == win::WM_SETTEXT) {
      std::string text = rec->MsgLParam ? reinterpret_cast<const char*>(rec->MsgLParam) : "";
      page->SetCaption(text.substr(0, text.find_first_of("\r\n")));
    } else if (rec->ClientMsg == CM_VISIBLECHANGED) {
      page->SetTabVisible(rec->MsgWParam != 0);
    }
  }
  TcxCustomTabControl::CMDockNotification(Message);
}

TControl* TcxPageControl::DockClientAt(const TPoint& Pos) {
  if (!DockSite()) return nullptr;
  const Integer index = TabAtPoint(Pos.X, Pos.Y);
  if (index < 0 || index >= PageCount()) return nullptr;
  TcxTabSheet* page = FPages[static_cast<size_t>(index)];
  if (page->ControlCount() == 0) return nullptr;
  TControl* client = page->Controls(0);
  return client->HostDockSite() == this ? client : nullptr;
}

void TcxPageControl::WMLButtonDown(TMessage& Message) {
  TcxCustomTabControl::WMLButtonDown(Message);
  if (TControl* client = DockClientAt(TPoint{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)})) client->BeginDrag(false);
}

void TcxPageControl::WMLButtonDblClk(TMessage& Message) {
  TcxCustomTabControl::WMLButtonDblClk(Message);
  if (TControl* client = DockClientAt(TPoint{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)})) client->ManualDock(nullptr, nullptr, alNone);
}

void TcxPageControl::ShowControl(TControl* AControl) {
  if (auto* page = dynamic_cast<TcxTabSheet*>(AControl); page && page->PageControl() == this) SetActivePage(page);
  TcxCustomTabControl::ShowControl(AControl);
}

void TcxPageControl::SetChildOrder(TComponent* Child, Integer Order) {
  auto* page = dynamic_cast<TcxTabSheet*>(Child);
  if (!page || page->PageControl() != this) return;
  // Pages come one by one: a place beyond those read so far is the last.
  page->SetPageIndex(std::clamp<Integer>(Order, 0, PageCount() - 1));
}

void TcxPageControl::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_CONTROLCHANGE && IsDesigning()) {
    auto* control = reinterpret_cast<TControl*>(Message.WParam);
    if (control && !dynamic_cast<TcxTabSheet*>(control)) MoveForeignChildOut(Message.LParam != 0, control);
  }
  TcxCustomTabControl::Dispatch(Message);
}

void RegisterPageControlClasses() {
  RegisterClasses({TcxTabSheet::StaticClass(), TcxPageControl::StaticClass()});
}
