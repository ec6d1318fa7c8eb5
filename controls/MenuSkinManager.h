// The one manager behind every menu skin of the program: it keeps the
// registered skins, chooses the active one, and from a hook on the
// application window gives that skin to every form made later that has no
// skin of its own (unless the form's Tag is 999), and draws the flat frames
// that popup menus ask for.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/rtl/Classes.h"

class TMenuSkin;

class TMenuSkinManager : public TPersistent {
  VXN_DECLARE_CLASS(TMenuSkinManager)

 public:
  TMenuSkinManager();
  ~TMenuSkinManager() override;

  // The manager, or nil before the first skin was made (after the last
  // registered one went).
  static TMenuSkinManager* Instance();
  static TMenuSkinManager* Ensure();
  // Frees the manager when no skin is registered.
  static void ReleaseIfUnused();

  void Register(TMenuSkin* Skin);
  void Unregister(TMenuSkin* Skin);
  // A component was inserted or removed somewhere a skin hears of it.
  void ComponentNotice(TComponent* Component, TOperation Operation);
  // A skin's DisableSubclassing changed (Previous: its value before).
  void SubclassingChanged(TMenuSkin* Skin, bool Previous);

  void ScanForms();
  // Hands the skinning from Leaving (or none) to another active skin.
  void SwitchActiveMenu(TMenuSkin* Leaving);
  void RestoreContainerControls(TComponent* Container);

  TMenuSkin* ActiveSkin() const { return ActiveSkin_; }
  const std::vector<TMenuSkin*>& Skins() const { return Skins_; }
  const std::vector<TComponent*>& SkinnedContainers() const { return Skinned_; }
  const std::vector<TComponent*>& PendingForms() const { return Pending_; }

 private:
  bool ManagerHook(TMessage& Message);
  void SkinPendingForms();
  void Wake();
  bool IsLiveItem(const void* Item) const;

  // Hears of the listed forms' end, whoever owns them.
  class TFormWatcher;
  std::unique_ptr<TFormWatcher> Watcher_;
  void Watch(TComponent* Form);
  void FormGone(TComponent* Form);

  std::vector<TMenuSkin*> Skins_;
  std::vector<TComponent*> Skinned_;
  std::vector<TComponent*> Pending_;
  TMenuSkin* ActiveSkin_ = nullptr;
};
