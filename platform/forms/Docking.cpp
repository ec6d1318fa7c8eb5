#include "platform/forms/Docking.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/DockForm.h"
#include "platform/forms/Forms.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/forms/Graphics.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/Painting.h"

using namespace win;

// The dock machinery below reaches the controls' protected dock handlers.
struct TDockAccess {
  static void StartDock(TControl* c, TDragDockObject*& o) { c->DoStartDock(o); }
  static void EndDock(TControl* c, TObject* t, TPoint p) { c->DoEndDock(t, p.X, p.Y); }
  static void Canceled(TControl* c) { c->DragCanceled(); }
  static void PositionDockRect(TControl* c, TDragDockObject* o) { c->PositionDockRect(o); }
  static void CalcDockSizes(TControl* c) { c->CalcDockSizes(); }
  static TWinControl* CreateFloatHost(TControl* c, const TRect& r) { return c->CreateFloatingDockSite(r); }
  static TWinControl*& Host(TControl* c) { return c->HostDockSite_; }
  static std::vector<TControl*>& Clients(TWinControl* w) { return w->DockClients_; }
};

namespace {

std::vector<TWinControl*>& Sites() {
  static std::vector<TWinControl*> sites;
  return sites;
}

// The dock rect's frame is on the screen (drawn by a move past the threshold).
bool FrameShown = false;

void Erase(std::vector<TControl*>& list, TControl* c) { list.erase(std::remove(list.begin(), list.end(), c), list.end()); }

// An 8 by 8 checkerboard: the frame inverts every other pixel.
std::unique_ptr<TBitmap> HalftoneBitmap() {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(8, 8);
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) bmp->Canvas()->SetPixels(x, y, (x + y) % 2 ? clBlack : clWhite);
  return bmp;
}

void InvertFrame(const TRect& r, Integer w, TBrush* brush) {
  WindowDc dc(nullptr);
  ObjectSelection selected(dc.Dc(), brush->Handle());
  PatBlt(dc.Dc(), r.Left + w, r.Top, r.Width() - w, w, PATINVERT);
  PatBlt(dc.Dc(), r.Right - w, r.Top + w, w, r.Height() - w, PATINVERT);
  PatBlt(dc.Dc(), r.Left, r.Bottom - w, r.Width() - w, w, PATINVERT);
  PatBlt(dc.Dc(), r.Left, r.Top, w, r.Height() - w, PATINVERT);
}

bool CanFloat(TControl* c) { return c->FloatingDockSiteClass != nullptr; }

bool FloatsItself(const TControl* c) { return c->FloatingDockSiteClass && c->InheritsFrom(c->FloatingDockSiteClass); }

void ShowTopLevel(TWinControl* w) {
  if (auto* form = dynamic_cast<TForm*>(w)) {
    if (form->Visible() && !form->HandleAllocated()) form->SetVisible(false);  // Show makes the window
    form->Show();
    return;
  }
  w->SetVisible(true);
  ShowWindow(w->Handle(), SW_SHOW);
}

// Floats a control at a screen rectangle: in a new host, or as a window of
// its own.
void FloatControl(TControl* c, const TRect& r) {
  if (TWinControl* host = TDockAccess::CreateFloatHost(c, r)) {
    c->Dock(host, host->ClientRect());
    ShowTopLevel(host);
    return;
  }
  c->Dock(nullptr, r);
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) ShowTopLevel(w);
}

}  // namespace

// ---------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TDragDockObject, TBaseDragControlObject)

TDragDockObject::TDragDockObject(TControl* AControl)
    : TBaseDragControlObject(AControl), Brush_(std::make_unique<TBrush>()) {
  Brush_->SetBitmap(HalftoneBitmap().get());
}

TDragDockObject::~TDragDockObject() = default;

TCursor TDragDockObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  (void)Accepted;
  (void)X;
  (void)Y;
  return crDefault;
}

void TDragDockObject::AdjustDockRect(const TRect& ARect) {
  // The nearer edge moves onto the mouse.
  auto nearer = [](Integer a, Integer b) { return std::abs(a) < std::abs(b) ? a : b; };
  Integer dx = 0, dy = 0;
  if (ARect.Left > DragPos.X || ARect.Right < DragPos.X) dx = nearer(ARect.Left - DragPos.X, ARect.Right - DragPos.X);
  if (ARect.Top > DragPos.Y || ARect.Bottom < DragPos.Y) dy = nearer(ARect.Top - DragPos.Y, ARect.Bottom - DragPos.Y);
  DockRect = {DockRect.Left - dx, DockRect.Top - dy, DockRect.Right - dx, DockRect.Bottom - dy};
}

void TDragDockObject::DrawDragDockImage() { InvertFrame(DockRect, FrameWidth(), Brush_.get()); }

void TDragDockObject::EraseDragDockImage() { InvertFrame(EraseDockRect, FrameWidth(), Brush_.get()); }

// Dock sites ------------------------------------------------------------------

Integer DockSiteCount() { return static_cast<Integer>(Sites().size()); }

TWinControl* DockSites(Integer Index) { return Sites().at(static_cast<size_t>(Index)); }

TWinControl* FindDockSite(TControl* Client, const TPoint& Pos) {
  std::vector<TWinControl*> candidates;
  auto* clientWindow = dynamic_cast<TWinControl*>(Client);
  for (TWinControl* site : Sites()) {
    if (site == Client || !site->Showing() || (clientWindow && clientWindow->ContainsControl(site))) continue;
    TRect influence;
    bool canDock = true;
    site->GetSiteInfo(Client, influence, Pos, canDock);
    if (canDock && forms::PtInRect(influence, Pos)) candidates.push_back(site);
  }
  if (candidates.empty()) return nullptr;
  // In front: the innermost candidate under the mouse; near a site but over
  // none, the first.
  for (TControl* c = FindControl(WindowFromPoint(POINT{Pos.X, Pos.Y})); c; c = c->Parent())
    if (std::find(candidates.begin(), candidates.end(), c) != candidates.end()) return static_cast<TWinControl*>(c);
  return candidates.front();
}

void TWinControl::SetDockSite(bool Value) {
  if (DockSite_ == Value) return;
  DockSite_ = Value;
  auto& sites = Sites();
  if (Value)
    sites.push_back(this);
  else
    sites.erase(std::remove(sites.begin(), sites.end(), this), sites.end());
}

void forms::ForgetDockSite(TWinControl* Site) {
  auto& sites = Sites();
  sites.erase(std::remove(sites.begin(), sites.end(), Site), sites.end());
  for (TControl* c : TDockAccess::Clients(Site)) TDockAccess::Host(c) = nullptr;
  TDockAccess::Clients(Site).clear();
}

void forms::ForgetDockClient(TControl* Control) {
  TWinControl* host = TDockAccess::Host(Control);
  if (!host) return;
  if (host->ComponentState().Contains(csDestroying)) {
    Erase(TDockAccess::Clients(host), Control);
    TDockAccess::Host(Control) = nullptr;
    return;
  }
  // The host hears of the client's going as of an undock.
  host->Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<LPARAM>(Control));
  Control->SetParent(nullptr);
  Control->Dock(nullptr, Control->BoundsRect());
  TDockAccess::Host(Control) = nullptr;
}

// Docking a control ----------------------------------------------------------------

bool TControl::Floating() const {
  if (!FloatingDockSiteClass) return false;
  if (FloatsItself(this)) return !HostDockSite_ && !Parent_;
  return HostDockSite_ && HostDockSite_->InheritsFrom(FloatingDockSiteClass);
}

void TControl::CalcDockSizes() {
  if (!Floating()) return;
  UndockWidth_ = Width_;
  UndockHeight_ = Height_;
}

void TControl::Dock(TWinControl* NewDockSite, const TRect& ARect) {
  TWinControl* previous = HostDockSite_;
  TRect r = ARect;
  {
    ControlState += csDocking;
    ScopeExit docked([this] { ControlState -= csDocking; });
    DoDock(NewDockSite, r);
  }
  if (previous != NewDockSite) {
    if (previous) Erase(previous->DockClients_, this);
    if (NewDockSite && NewDockSite->DockSite()) NewDockSite->DockClients_.push_back(this);
  }
  HostDockSite_ = NewDockSite;
  if (previous && previous != NewDockSite) previous->DoRemoveDockClient(this);
}

void TControl::DoDock(TWinControl* NewDockSite, TRect& ARect) {
  // A graphic control's old place is repainted before it moves.
  if (!dynamic_cast<TWinControl*>(this)) InvalidateControl(Visible_, false);
  if (Parent_ != NewDockSite)
    UpdateBoundsRect(ARect);
  else
    SetBoundsRect(ARect);
  if (NewDockSite)
    NewDockSite->DoAddDockClient(this, ARect);
  else
    SetParent(nullptr);
}

bool TControl::ManualDock(TWinControl* NewDockSite, TControl* DropControl, TAlign ControlSide) {
  if (!NewDockSite) {
    TPoint topLeft{Left_, Top_};
    if (Parent_) topLeft = Parent_->ClientToScreen(topLeft);
    return ManualFloat({topLeft.X, topLeft.Y, topLeft.X + UndockWidth(), topLeft.Y + UndockHeight()});
  }
  CalcDockSizes();
  if (HostDockSite_ && !HostDockSite_->DoUnDock(NewDockSite, this)) return false;
  TDragDockObject object(this);
  TRect r = BoundsRect();
  if (Parent_) {
    TPoint origin = Parent_->ClientToScreen({0, 0});
    r = {r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y};
  }
  object.DragTarget = NewDockSite;
  object.DropAlign = ControlSide;
  object.DropOnControl = DropControl;
  object.DockRect = r;
  TPoint drop = NewDockSite->ScreenToClient({r.Left, r.Top});
  NewDockSite->DockDrop(&object, drop.X, drop.Y);
  return true;
}

bool TControl::ManualFloat(const TRect& ScreenPos) {
  if (HostDockSite_ && !HostDockSite_->DoUnDock(nullptr, this)) return false;
  FloatControl(this, ScreenPos);
  return true;
}

TWinControl* TControl::CreateFloatingDockSite(const TRect& Bounds) {
  if (!FloatingDockSiteClass || FloatsItself(this)) return nullptr;
  auto* host = dynamic_cast<TWinControl*>(CreateComponent(FloatingDockSiteClass, Application));
  if (!host) return nullptr;
  host->SetBounds(Bounds.Left, Bounds.Top, host->Width(), host->Height());
  host->SetClientWidth(Bounds.Width());
  host->SetClientHeight(Bounds.Height());
  return host;
}

void TControl::CMFloat(TMessage& Message) {
  auto* source = reinterpret_cast<TDragDockObject*>(Message.LParam);
  if (CanFloat(this)) FloatControl(this, source->DockRect);
}

void TControl::PositionDockRect(TDragDockObject* DragDockObject) {
  TControl* c = DragDockObject->Control;
  Integer w = c->UndockWidth(), h = c->UndockHeight();
  // The mouse keeps its place in the control, scaled to the floating size.
  auto left = static_cast<Integer>(std::lround(DragDockObject->DragPos.X - w * DragDockObject->MouseDeltaX));
  auto top = static_cast<Integer>(std::lround(DragDockObject->DragPos.Y - h * DragDockObject->MouseDeltaY));
  DragDockObject->DockRect = {left, top, left + w, top + h};
  DragDockObject->AdjustDockRect(DragDockObject->DockRect);
}

void TControl::DoStartDock(TDragDockObject*& DragObject) { OnStartDock(this, DragObject); }

void TControl::DoEndDock(TObject* Target, Integer X, Integer Y) { OnEndDock(this, Target, X, Y); }

void TControl::SendDockNotification(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!HostDockSite_ || DragObject() || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  TDockNotifyRec rec{Msg, WParam, LParam};
  HostDockSite_->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&rec));
}

// The dock site's side --------------------------------------------------------------

void TWinControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
  (void)ARect;
  Client->SetParent(this);
}

void TWinControl::DockDrop(TDragDockObject* Source, Integer X, Integer Y) {
  if (Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(Source), MAKELPARAM(static_cast<WORD>(X), static_cast<WORD>(Y))) >= 0 &&
      OnDockDrop)
    OnDockDrop(this, Source, X, Y);
}

void TWinControl::DockOver(TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  PositionDockRect(Source);
  DoDockOver(Source, X, Y, State, Accept);
}

void TWinControl::DoDockOver(TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  if (OnDockOver) OnDockOver(this, Source, X, Y, State, Accept);
}

void TWinControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) {
  RECT r{};
  GetWindowRect(Handle(), &r);
  // A drag docks a little before it reaches the site.
  InfluenceRect = {r.left - 10, r.top - 10, r.right + 10, r.bottom + 10};
  if (OnGetSiteInfo) OnGetSiteInfo(this, Client, InfluenceRect, MousePos, CanDock);
}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client) {
  bool allow = true;
  if (OnUnDock) OnUnDock(this, Client, NewTarget, allow);
  return allow;
}

void TWinControl::CMDockClient(TMessage& Message) {
  auto* source = reinterpret_cast<TDragDockObject*>(Message.WParam);
  TPoint origin = ClientToScreen({0, 0});
  TRect r = source->DockRect;
  r = {r.Left - origin.X, r.Top - origin.Y, r.Right - origin.X, r.Bottom - origin.Y};
  DisableAlign();
  ScopeExit aligned([this] { EnableAlign(); });
  source->Control->Dock(this, r);
  Message.Result = 0;
}

void TWinControl::CMUnDockClient(TMessage& Message) { Message.Result = 0; }

void TWinControl::CMDockNotification(TMessage& Message) { (void)Message; }

// A dock drag ---------------------------------------------------------------------

TDragDockObject* forms::StartDockDrag(TControl* Control, const TPoint& Pos, bool& OwnsObject) {
  TDragDockObject* object = nullptr;
  TDockAccess::StartDock(Control, object);
  OwnsObject = object == nullptr;
  if (!object) object = new TDragDockObject(Control);
  TDockAccess::CalcDockSizes(Control);
  TPoint origin = Control->Parent() ? Control->Parent()->ClientToScreen({Control->Left(), Control->Top()})
                                    : TPoint{Control->Left(), Control->Top()};
  object->DockRect = {origin.X, origin.Y, origin.X + Control->Width(), origin.Y + Control->Height()};
  object->EraseDockRect = object->DockRect;
  object->DragPos = Pos;
  if (Control->Width() > 0) object->MouseDeltaX = double(Pos.X - origin.X) / Control->Width();
  if (Control->Height() > 0) object->MouseDeltaY = double(Pos.Y - origin.Y) / Control->Height();
  FrameShown = false;
  return object;
}

namespace {

bool AskDockOver(TDragDockObject& Object, TWinControl* Site, TDragState State) {
  bool accept = true;
  Site->DockOver(&Object, Object.DragTargetPos.X, Object.DragTargetPos.Y, State, accept);
  return accept;
}

}  // namespace

void forms::DockDragTo(TDragDockObject& Object, const TPoint& Pos) {
  TControl* control = Object.Control;
  Object.DragPos = Pos;
  TWinControl* site = FindDockSite(control, Pos);
  auto* current = static_cast<TWinControl*>(Object.DragTarget);
  if (site != current) {
    if (current) {
      AskDockOver(Object, current, dsDragLeave);
      if (DragControl() != control) return;
    }
    Object.DragTarget = site;
    if (site) {
      Object.DragTargetPos = site->ScreenToClient(Pos);
      AskDockOver(Object, site, dsDragEnter);
      if (DragControl() != control) return;
    }
  }
  bool accepted = false;
  if (site) {
    Object.DragTargetPos = site->ScreenToClient(Pos);
    accepted = AskDockOver(Object, site, dsDragMove);
    if (DragControl() != control) return;
  }
  // Over no site that takes it, the control would float.
  Object.Floating = !accepted;
  if (!accepted) TDockAccess::PositionDockRect(control, &Object);
  if (FrameShown && Object.DockRect == Object.EraseDockRect) return;
  if (FrameShown) Object.EraseDragDockImage();
  Object.DrawDragDockImage();
  Object.EraseDockRect = Object.DockRect;
  FrameShown = true;
}

void forms::DockDragDone(TDragDockObject& Object, bool Drop) {
  if (FrameShown) Object.EraseDragDockImage();
  FrameShown = false;
  TControl* control = Object.Control;
  auto* site = static_cast<TWinControl*>(Object.DragTarget);
  // Asking once more decides whether the site takes the drop.
  bool accepted = site && AskDockOver(Object, site, dsDragLeave) && Drop;
  TPoint pos = accepted ? Object.DragTargetPos : TPoint{0, 0};
  TObject* target = nullptr;
  Object.Cancelling = !Drop;
  TWinControl* host = control->HostDockSite();
  if (accepted) {
    if (!host || host->DoUnDock(site, control)) {
      site->DockDrop(&Object, pos.X, pos.Y);
      Object.Dropped = true;
      target = site;
    }
  } else if (Drop && Object.Floating && CanFloat(control)) {
    if (!host || host->DoUnDock(nullptr, control)) {
      control->Perform(CM_FLOAT, 0, reinterpret_cast<LPARAM>(&Object));
      Object.Dropped = true;
      target = control->HostDockSite();  // the floating host; nil for a control floating itself
    }
  }
  if (!Object.Dropped) TDockAccess::Canceled(control);
  TDockAccess::EndDock(control, target, pos);
}
