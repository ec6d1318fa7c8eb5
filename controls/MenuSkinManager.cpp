#include "controls/MenuSkinManager.h"

#include <algorithm>

#include "controls/ControlSubClass.h"
#include "controls/MenuSkin.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(TMenuSkinManager, TPersistent)

namespace {

std::unique_ptr<TMenuSkinManager>& Global() {
  static std::unique_ptr<TMenuSkinManager> manager;
  return manager;
}

template <typename T>
bool Has(const std::vector<T*>& List, const T* Item) {
  return std::find(List.begin(), List.end(), Item) != List.end();
}

template <typename T>
void Drop(std::vector<T*>& List, const T* Item) {
  List.erase(std::remove(List.begin(), List.end(), Item), List.end());
}

bool OwnsSkin(const TComponent* Form) {
  for (Integer i = 0; i < Form->ComponentCount(); ++i)
    if (dynamic_cast<TMenuSkin*>(Form->Components(i))) return true;
  return false;
}

// Whether Control sits in Container (through its parents or its owners).
bool LiesInside(TControl* Control, const TComponent* Container) {
  for (TControl* p = Control; p; p = p->Parent())
    if (p == Container) return true;
  for (TComponent* o = Control->Owner(); o; o = o->Owner())
    if (o == Container) return true;
  return false;
}

std::vector<TControlSubClass*> HooksOf(TMenuSkin* Skin) {
  std::vector<TControlSubClass*> hooks;
  for (Integer i = 0; i < Skin->ComponentCount(); ++i)
    if (auto* h = dynamic_cast<TControlSubClass*>(Skin->Components(i)); h && !h->Idle() && h->Control())
      hooks.push_back(h);
  return hooks;
}

}  // namespace

class TMenuSkinManager::TFormWatcher : public TComponent {
 public:
  explicit TFormWatcher(TMenuSkinManager* Manager) : TComponent(nullptr), Manager_(Manager) {}

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) Manager_->FormGone(AComponent);
  }

 private:
  TMenuSkinManager* Manager_;
};

TMenuSkinManager* TMenuSkinManager::Instance() { return Global().get(); }

TMenuSkinManager* TMenuSkinManager::Ensure() {
  if (!Global()) Global() = std::make_unique<TMenuSkinManager>();
  return Global().get();
}

void TMenuSkinManager::ReleaseIfUnused() {
  if (Global() && Global()->Skins_.empty()) Global().reset();
}

TMenuSkinManager::TMenuSkinManager() : Watcher_(std::make_unique<TFormWatcher>(this)) {
  if (Application) Application->HookMainWindow(TWindowHook(this, &TMenuSkinManager::ManagerHook));
}

TMenuSkinManager::~TMenuSkinManager() {
  if (Application) Application->UnhookMainWindow(TWindowHook(this, &TMenuSkinManager::ManagerHook));
}

void TMenuSkinManager::Watch(TComponent* Form) { Watcher_->FreeNotification(Form); }

void TMenuSkinManager::FormGone(TComponent* Form) {
  Drop(Pending_, Form);
  Drop(Skinned_, Form);
}

void TMenuSkinManager::Register(TMenuSkin* Skin) {
  if (!Has(Skins_, Skin)) Skins_.push_back(Skin);
  if (Skin->Owner() && !Has<TComponent>(Skinned_, Skin->Owner())) {
    Skinned_.push_back(Skin->Owner());
    Watch(Skin->Owner());
  }
  if (!ActiveSkin_ && Skin->Active() && !Skin->DisableSubclassing()) {
    ActiveSkin_ = Skin;
    ScanForms();
  }
}

void TMenuSkinManager::Unregister(TMenuSkin* Skin) {
  if (Skin == ActiveSkin_) SwitchActiveMenu(Skin);
  Drop(Skins_, Skin);
}

// A form is told about while its construction has only begun: what it is
// and whether it takes the skin is decided when the hook runs.
void TMenuSkinManager::ComponentNotice(TComponent* Component, TOperation Operation) {
  if (Operation == opRemove) {
    FormGone(Component);
    return;
  }
  if (!ActiveSkin_ || Has(Pending_, Component)) return;
  Pending_.push_back(Component);
  Watch(Component);
  Wake();
}

void TMenuSkinManager::SubclassingChanged(TMenuSkin* Skin, bool Previous) {
  if (Skin == ActiveSkin_) SwitchActiveMenu(Skin);
  else if (!ActiveSkin_ && !Previous) SwitchActiveMenu(nullptr);
}

void TMenuSkinManager::ScanForms() {
  if (!Screen) return;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TForm* form = Screen->Forms(i);
    if (Has<TComponent>(Skinned_, form) || Has<TComponent>(Pending_, form) || form->Tag == kSkinExcludedTag ||
        OwnsSkin(form))
      continue;
    Pending_.push_back(form);
    Watch(form);
  }
  if (!Pending_.empty()) Wake();
}

// The hook runs at the application window's next message; a form waiting
// to be skinned makes sure there is one.
void TMenuSkinManager::Wake() {
  if (Application) win::PostMessage(Application->Handle(), win::WM_NULL, 0, 0);
}

void TMenuSkinManager::SwitchActiveMenu(TMenuSkin* Leaving) {
  TMenuSkin* candidate = nullptr;
  for (TMenuSkin* s : Skins_)
    if (s != Leaving && s->Active() && !s->DisableSubclassing()) {
      candidate = s;
      break;
    }
  if (candidate) {
    if (!ActiveSkin_) {
      ScanForms();
    } else if (Leaving) {
      for (TControlSubClass* h : HooksOf(ActiveSkin_))
        if (!Leaving->Form() || !LiesInside(h->Control(), Leaving->Form())) h->HandOver(candidate);
      // Menus and tool bars of the other forms draw through the new skin.
      for (TComponent* container : std::vector<TComponent*>(Skinned_)) {
        if (container == Leaving->Form() || container == candidate->Form() ||
            container->ComponentState().Contains(csDestroying))
          continue;
        Leaving->ApplySkin(container, false, true);
        candidate->ApplySkin(container, true, true);
      }
    }
  } else {
    Pending_.clear();
    for (TComponent* container : std::vector<TComponent*>(Skinned_)) {
      if ((Leaving && container == Leaving->Form()) || container->ComponentState().Contains(csDestroying)) continue;
      if (Application && Application->MainForm()) RestoreContainerControls(container);
      // Mended: menus and tool bars do not keep handlers of a skin that may
      // be freed next.
      if (ActiveSkin_) ActiveSkin_->ApplySkin(container, false, true);
    }
    Skinned_.clear();
    if (Leaving && Leaving->Owner()) {
      Skinned_.push_back(Leaving->Form());
      Watch(Leaving->Form());
    }
  }
  ActiveSkin_ = candidate;
}

void TMenuSkinManager::RestoreContainerControls(TComponent* Container) {
  if (!ActiveSkin_) return;
  std::vector<TControlSubClass*> hooks = HooksOf(ActiveSkin_);
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    TControlSubClass* h = *it;
    if (!LiesInside(h->Control(), Container)) continue;
    try {
      TControl* control = h->Control();
      h->Restore();
      delete h;
      control->Invalidate();
    } catch (const std::exception&) {
      // A control that cannot take its look back keeps the flat one.
    }
  }
}

namespace {

bool InTree(const TMenuItem* Parent, const void* Item) {
  for (Integer i = 0; i < Parent->Count(); ++i)
    if (Parent->Items(i) == Item || InTree(Parent->Items(i), Item)) return true;
  return false;
}

}  // namespace

// The item of a posted request may have gone since: only the items of the
// forms' menus are taken.
bool TMenuSkinManager::IsLiveItem(const void* Item) const {
  if (!Screen || !Item) return false;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TForm* form = Screen->Forms(i);
    for (Integer k = 0; k < form->ComponentCount(); ++k)
      if (auto* menu = dynamic_cast<TMenu*>(form->Components(k)); menu && InTree(menu->Items(), Item)) return true;
  }
  return false;
}

bool TMenuSkinManager::ManagerHook(TMessage& Message) {
  if (Message.Msg == WM_SKINITEMFRAME && ActiveSkin_ && IsLiveItem(reinterpret_cast<const void*>(Message.LParam))) {
    auto* item = reinterpret_cast<TMenuItem*>(Message.LParam);
    TMenuItem* parent = item->Parent();
    TMenu* menu = item->GetParentMenu();
    if (parent && menu) {
      win::HMENU handle = parent == menu->Items() ? menu->Handle() : parent->Handle();
      win::RECT r;
      // The handle holds the visible items only.
      win::UINT position = 0;
      for (Integer i = 0; i < item->MenuIndex(); ++i)
        if (parent->Items(i)->Visible()) ++position;
      if (win::GetMenuItemRect(nullptr, handle, position, &r)) {
        win::HWND wnd = win::WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        if (wnd) ActiveSkin_->DrawPopupFrame(wnd, menu->IsRightToLeft());
      }
    }
  } else if (Message.Msg == WM_SKINWINDOWFRAME && ActiveSkin_ && Message.LParam) {
    ActiveSkin_->DrawPopupFrame(reinterpret_cast<win::HWND>(Message.LParam), Message.WParam != 0);
  }
  SkinPendingForms();
  return false;
}

void TMenuSkinManager::SkinPendingForms() {
  if (Pending_.empty() || !ActiveSkin_) return;
  std::vector<TComponent*> pending;
  pending.swap(Pending_);
  try {
    for (TComponent* component : pending) {
      auto* form = dynamic_cast<TCustomForm*>(component);
      if (!form || Has<TComponent>(Skinned_, form) || form->Tag == kSkinExcludedTag || OwnsSkin(form) ||
          form->ComponentState().Contains(csDestroying)) {
        if (!Has(Skinned_, component)) Watcher_->RemoveFreeNotification(component);
        continue;
      }
      Skinned_.push_back(form);
      ActiveSkin_->ApplySkin(form, true, true);
    }
  } catch (const std::exception&) {
    // A form that cannot take the skin keeps its own look.
  }
}
