#include "suite/foundation/cxLookAndFeels.h"

#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/rtl/TypInfo.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxLookAndFeel, TcxInterfacedPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxLookAndFeelController, TComponent)
VXN_IMPLEMENT_CLASS(TcxSystemPaletteChangedNotifier, TObject)
VXN_IMPLEMENT_CLASS(TcxSystemPaletteChangedListener, TObject)

VXN_PUBLISH(TcxLookAndFeel) {
  P.Property("AssignedValues", &TcxLookAndFeel::AssignedValues, &TcxLookAndFeel::SetAssignedValues).Stored(false);
  P.Property("Kind", &TcxLookAndFeel::Kind, &TcxLookAndFeel::SetKind).Stored(&TcxLookAndFeel::KindStored);
  P.Property("NativeStyle", &TcxLookAndFeel::NativeStyle, &TcxLookAndFeel::SetNativeStyle)
      .Stored(&TcxLookAndFeel::NativeStyleStored);
}

VXN_PUBLISH(TcxLookAndFeelController) {
  P.Property("Kind", &TcxLookAndFeelController::Kind, &TcxLookAndFeelController::SetKind).Default(lfUltraFlat);
  P.Property("NativeStyle", &TcxLookAndFeelController::NativeStyle, &TcxLookAndFeelController::SetNativeStyle)
      .Default(0);
}

namespace {

TcxLookAndFeel*& RootLookAndFeel() {
  static TcxLookAndFeel* root = nullptr;
  return root;
}

struct PaletteListenerState {
  std::unique_ptr<TcxSystemPaletteChangedListener> listener;
  Integer refCount = 0;
};

PaletteListenerState& ListenerState() {
  // Never destroyed: its window cannot be freed once the display has gone.
  static PaletteListenerState& state = *new PaletteListenerState;
  return state;
}

bool IsController(IcxLookAndFeelListener* AListener) {
  return dynamic_cast<TcxLookAndFeelController*>(AListener->GetListenerObject()) != nullptr;
}

}  // namespace

TcxLookAndFeel* TopLevelLookAndFeel() { return RootLookAndFeel(); }

// ---------------------------------------------------------------------------

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner),
      FSystemPaletteChangedNotifier(std::make_unique<TcxSystemPaletteChangedNotifier>(false)) {
  FSystemPaletteChangedNotifier->OnSystemPaletteChanged =
      TNotifyEvent(this, &TcxLookAndFeel::SystemColorsChanged);
  if (TcxLookAndFeel* root = RootLookAndFeel()) {
    root->AddChangeListener(this);
    UpdateCache();
  }
}

TcxLookAndFeel::~TcxLookAndFeel() {
  FSystemPaletteChangedNotifier.reset();
  FIsDestroying = true;
  // The children move themselves to the root meanwhile; the list does not
  // shrink while destroying, so each one present at the start is told once.
  const std::vector<IcxLookAndFeelListener*> listeners = FChangeListenerList;
  for (IcxLookAndFeelListener* l : listeners) l->MasterDestroying(this);
  FIsDestroying = false;
  FChangeListenerList.clear();
  if (TcxLookAndFeel* master = MasterLookAndFeel()) master->RemoveChangeListener(this);
  if (FIsRootLookAndFeel) {
    RootLookAndFeel() = nullptr;
    FIsRootLookAndFeel = false;
  }
}

void TcxLookAndFeel::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxLookAndFeel*>(Source);
  if (!source) {
    TcxInterfacedPersistent::Assign(Source);
    return;
  }
  SaveState();
  FKind = source->FKind;
  FNativeStyle = source->FNativeStyle;
  FAssignedValues = source->FAssignedValues;
  SetMasterLookAndFeel(source->MasterLookAndFeel());
  CheckChanges();
}

void TcxLookAndFeel::SetNativeStyle(bool Value) {
  const bool old = FCurrentNativeStyle;
  FAssignedValues += lfvNativeStyle;
  FNativeStyle = Value;
  if (EffectiveNativeStyle() != old) Changed({lfvNativeStyle});
}

void TcxLookAndFeel::ChangeKind(TcxLookAndFeelKind Value) {
  const TcxLookAndFeelKind old = FCurrentKind;
  FAssignedValues += lfvKind;
  FKind = Value;
  if (EffectiveKind() != old) Changed({lfvKind});
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues Value) {
  if (Value == FAssignedValues) return;
  SaveState();
  FAssignedValues = Value;
  CheckChanges();
}

TcxLookAndFeel* TcxLookAndFeel::MasterLookAndFeel() const {
  if (FIsRootLookAndFeel) return nullptr;
  return FMasterLookAndFeel ? FMasterLookAndFeel : RootLookAndFeel();
}

void TcxLookAndFeel::SetMasterLookAndFeel(TcxLookAndFeel* Value) {
  if (FIsRootLookAndFeel || Value == this || Value == MasterLookAndFeel()) return;
  SaveState();
  if (TcxLookAndFeel* old = MasterLookAndFeel()) old->RemoveChangeListener(this);
  FMasterLookAndFeel = Value;
  if (TcxLookAndFeel* now = MasterLookAndFeel()) now->AddChangeListener(this);
  CheckChanges();
}

namespace {

TcxCustomLookAndFeelPainterClass PainterOfKind(TcxLookAndFeelKind AKind) {
  switch (AKind) {
    case lfFlat: return TcxFlatLookAndFeelPainter::Instance();
    case lfStandard: return TcxStandardLookAndFeelPainter::Instance();
    case lfOffice11: return TcxOffice11LookAndFeelPainter::Instance();
    default: return TcxUltraFlatLookAndFeelPainter::Instance();
  }
}

}  // namespace

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::PainterForThemeClass(int AThemeClass) const {
  if (NativeStyle() && IsThemeClassAvailable(AThemeClass)) return TcxWinXPLookAndFeelPainter::Instance();
  return PainterOfKind(Kind());
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::PainterForThemeClasses(unsigned AThemeClasses) const {
  if (NativeStyle() && AreThemesAvailable(AThemeClasses)) return TcxWinXPLookAndFeelPainter::Instance();
  return PainterOfKind(Kind());
}

void TcxLookAndFeel::AddChangeListener(IcxLookAndFeelListener* AListener) {
  if (!AListener) return;
  const bool controller = IsController(AListener);
  if (controller && !FIsRootLookAndFeel) return;
  if (std::find(FChangeListenerList.begin(), FChangeListenerList.end(), AListener) != FChangeListenerList.end())
    return;
  FChangeListenerList.push_back(AListener);
  if (controller) ++FControllerCount;
}

void TcxLookAndFeel::RemoveChangeListener(IcxLookAndFeelListener* AListener) {
  auto it = std::find(FChangeListenerList.begin(), FChangeListenerList.end(), AListener);
  if (it == FChangeListenerList.end()) return;
  const bool controller = FIsRootLookAndFeel && IsController(AListener);
  if (!FIsDestroying) FChangeListenerList.erase(it);
  if (controller && --FControllerCount == 0) ClearAssignedValues();
}

void TcxLookAndFeel::MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues AChangedValues) {
  HandleMasterChanged(AChangedValues);
}

void TcxLookAndFeel::MasterDestroying(TcxLookAndFeel*) { SetMasterLookAndFeel(nullptr); }

TcxLookAndFeelKind TcxLookAndFeel::EffectiveKind() const {
  return FAssignedValues.Contains(lfvKind) ? FKind : InheritedKind();
}

bool TcxLookAndFeel::EffectiveNativeStyle() const {
  return FAssignedValues.Contains(lfvNativeStyle) ? FNativeStyle : InheritedNativeStyle();
}

void TcxLookAndFeel::SystemColorsChanged(TObject*) { Changed({lfvNativeStyle}); }

TcxLookAndFeelKind TcxLookAndFeel::InheritedKind() const {
  if (FIsRootLookAndFeel) return lfUltraFlat;
  if (FMasterLookAndFeel) return FMasterLookAndFeel->Kind();
  if (TcxLookAndFeel* root = RootLookAndFeel()) return root->Kind();
  return lfUltraFlat;
}

bool TcxLookAndFeel::InheritedNativeStyle() const {
  if (FIsRootLookAndFeel) return false;
  if (FMasterLookAndFeel) return FMasterLookAndFeel->NativeStyle();
  if (TcxLookAndFeel* root = RootLookAndFeel()) return root->NativeStyle();
  return false;
}

void TcxLookAndFeel::UpdateCache() {
  FCurrentKind = EffectiveKind();
  FCurrentNativeStyle = EffectiveNativeStyle();
}

void TcxLookAndFeel::Changed(TcxLookAndFeelValues AChangedValues) {
  if (AChangedValues.Empty() || FIsDestroying) return;
  UpdateCache();
  // Listeners may add or remove listeners while they are told: walk a copy
  // and skip the ones that left meanwhile, so that none is told twice and
  // the walk always ends.
  const std::vector<IcxLookAndFeelListener*> snapshot = FChangeListenerList;
  for (IcxLookAndFeelListener* l : snapshot) {
    if (std::find(FChangeListenerList.begin(), FChangeListenerList.end(), l) == FChangeListenerList.end()) continue;
    l->MasterChanged(this, AChangedValues);
  }
  if (OnChanged) OnChanged(this, AChangedValues);
}

void TcxLookAndFeel::SaveState() {
  FPrevKind = FCurrentKind;
  FPrevNativeStyle = FCurrentNativeStyle;
}

void TcxLookAndFeel::CheckChanges() {
  TcxLookAndFeelValues changed;
  if (EffectiveKind() != FPrevKind) changed += lfvKind;
  if (EffectiveNativeStyle() != FPrevNativeStyle) changed += lfvNativeStyle;
  Changed(changed);
}

void TcxLookAndFeel::HandleMasterChanged(TcxLookAndFeelValues AChangedValues) {
  Changed(AChangedValues - FAssignedValues);
}

// ---------------------------------------------------------------------------

TcxLookAndFeelController::TcxLookAndFeelController(TComponent* AOwner) : TComponent(AOwner) {
  if (TcxLookAndFeel* root = RootLookAndFeel()) root->AddChangeListener(this);
}

TcxLookAndFeelController::~TcxLookAndFeelController() {
  if (TcxLookAndFeel* root = RootLookAndFeel()) root->RemoveChangeListener(this);
}

TcxLookAndFeelKind TcxLookAndFeelController::Kind() const {
  TcxLookAndFeel* root = RootLookAndFeel();
  return root ? root->Kind() : lfUltraFlat;
}

void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind Value) {
  if (TcxLookAndFeel* root = RootLookAndFeel()) root->SetKind(Value);
}

bool TcxLookAndFeelController::NativeStyle() const {
  TcxLookAndFeel* root = RootLookAndFeel();
  return root && root->NativeStyle();
}

void TcxLookAndFeelController::SetNativeStyle(bool Value) {
  if (TcxLookAndFeel* root = RootLookAndFeel()) root->SetNativeStyle(Value);
}

void TcxLookAndFeelController::MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {}

// At design time this tells the owning form's designer that the form
// changed; forms of a running program have no designer.
void TcxLookAndFeelController::MasterDestroying(TcxLookAndFeel*) {}

// ---------------------------------------------------------------------------

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier(bool AIsPrimary) : FIsPrimary(AIsPrimary) {
  AcquirePaletteListener()->AddNotifier(this, FIsPrimary);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier() {
  if (TcxSystemPaletteChangedListener* listener = PaletteListener()) listener->RemoveNotifier(this, FIsPrimary);
  ReleasePaletteListener();
}

void TcxSystemPaletteChangedNotifier::DoSystemPaletteChanged() {
  if (OnSystemPaletteChanged) OnSystemPaletteChanged(this);
}

TcxSystemPaletteChangedListener::TcxSystemPaletteChangedListener() {
  AcquireOffice11Palette();
  FWindowHandle = AllocateHWnd(TWndMethod(this, &TcxSystemPaletteChangedListener::WndProc));
}

TcxSystemPaletteChangedListener::~TcxSystemPaletteChangedListener() {
  DeallocateHWnd(FWindowHandle);
  ReleaseOffice11Palette();
}

void TcxSystemPaletteChangedListener::AddNotifier(TcxSystemPaletteChangedNotifier* ANotifier, bool AIsPrimary) {
  (AIsPrimary ? FPrimaryNotifiers : FNotifiers).push_back(ANotifier);
}

void TcxSystemPaletteChangedListener::RemoveNotifier(TcxSystemPaletteChangedNotifier* ANotifier, bool AIsPrimary) {
  auto& list = AIsPrimary ? FPrimaryNotifiers : FNotifiers;
  list.erase(std::remove(list.begin(), list.end(), ANotifier), list.end());
}

void TcxSystemPaletteChangedListener::NotifyAll() {
  RecomputeOffice11Palette();
  for (auto* list : {&FPrimaryNotifiers, &FNotifiers}) {
    // A notifier may free notifiers; each one still present is told once.
    const std::vector<TcxSystemPaletteChangedNotifier*> snapshot = *list;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
      if (std::find(list->begin(), list->end(), *it) == list->end()) continue;
      (*it)->DoSystemPaletteChanged();
    }
  }
}

void TcxSystemPaletteChangedListener::WndProc(TMessage& Message) {
  struct DefaultAnswer {
    HWND wnd;
    TMessage& message;
    ~DefaultAnswer() { message.Result = DefWindowProc(wnd, message.Msg, message.WParam, message.LParam); }
  } answer{FWindowHandle, Message};
  if (Message.Msg == WM_SYSCOLORCHANGE) NotifyAll();
}

TcxSystemPaletteChangedListener* AcquirePaletteListener() {
  PaletteListenerState& s = ListenerState();
  if (s.refCount++ == 0) s.listener = std::make_unique<TcxSystemPaletteChangedListener>();
  return s.listener.get();
}

void ReleasePaletteListener() {
  PaletteListenerState& s = ListenerState();
  if (s.refCount <= 0) return;
  if (--s.refCount == 0) s.listener.reset();
}

TcxSystemPaletteChangedListener* PaletteListener() { return ListenerState().listener.get(); }

// ---------------------------------------------------------------------------

void InitializeLookAndFeels() {
  if (RootLookAndFeel()) return;
  auto* root = new TcxLookAndFeel(nullptr);
  root->FIsRootLookAndFeel = true;
  RootLookAndFeel() = root;
}

void FinalizeLookAndFeels() { delete RootLookAndFeel(); }

void RegisterLookAndFeelsClasses() {
  RegisterClasses({TcxLookAndFeel::StaticClass(), TcxLookAndFeelController::StaticClass()});
}
