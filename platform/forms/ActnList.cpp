#include "platform/forms/ActnList.h"

#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/forms/ImgList.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

// ---------------------------------------------------------------------------
// TBasicActionLink

VXN_IMPLEMENT_CLASS(TBasicActionLink, TObject)
VXN_PUBLISH(TBasicActionLink) {}

TBasicActionLink::TBasicActionLink(TObject* AClient) { (void)AClient; }

TBasicActionLink::~TBasicActionLink() {
  if (Action_) Action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == Action_) return;
  if (Action_) Action_->UnRegisterChanges(this);
  Action_ = Value;
  if (Action_) Action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!Action_) return false;
  // The component is named only for the duration; the handler may free the
  // action, and then this link has lost it.
  Action_->SetActionComponent(AComponent);
  ScopeExit clear([this] {
    if (Action_) Action_->SetActionComponent(nullptr);
  });
  return Action_->Execute();
}

bool TBasicActionLink::Update() { return Action_ && Action_->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(Action_);
}

// ---------------------------------------------------------------------------
// TBasicAction

VXN_IMPLEMENT_CLASS(TBasicAction, TComponent)
VXN_PUBLISH(TBasicAction) {
  P.Event("OnExecute", &TBasicAction::OnExecute);
  P.Event("OnUpdate", &TBasicAction::OnUpdate);
}

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  // Links belong to their clients: they only lose their action here (their
  // clients hear of it through the free notification they asked for).
  while (!Clients_.empty()) {
    TBasicActionLink* link = Clients_.back();
    Clients_.pop_back();
    link->Action_ = nullptr;
  }
  if (ActionComponent_) ActionComponent_->RemoveFreeNotification(this);
}

void TBasicAction::SetActionComponent(TComponent* Value) {
  if (ActionComponent_ == Value) return;
  if (ActionComponent_ && ActionComponent_ != this) ActionComponent_->RemoveFreeNotification(this);
  ActionComponent_ = Value;
  if (ActionComponent_ && ActionComponent_ != this) ActionComponent_->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == ActionComponent_) ActionComponent_ = nullptr;
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (!Value || std::find(Clients_.begin(), Clients_.end(), Value) != Clients_.end()) return;
  Clients_.push_back(Value);
  Value->Action_ = this;
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  auto it = std::find(Clients_.begin(), Clients_.end(), Value);
  if (it == Clients_.end()) return;
  Clients_.erase(it);
  Value->Action_ = nullptr;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value) {
  if (Value == OnExecute) return;
  // A link copies the handler into its client only while the client still
  // runs the old one; the copy is taken first, since a client may unlink.
  std::vector<TBasicActionLink*> clients = Clients_;
  for (TBasicActionLink* link : clients)
    if (std::find(Clients_.begin(), Clients_.end(), link) != Clients_.end()) link->SetOnExecute(Value);
  OnExecute = Value;
  Change();
}

void TBasicAction::Change() {
  if (OnChange) OnChange(this);
  std::vector<TBasicActionLink*> clients = Clients_;
  for (TBasicActionLink* link : clients)
    if (std::find(Clients_.begin(), Clients_.end(), link) != Clients_.end()) link->Change();
}

// ---------------------------------------------------------------------------
// TContainedAction

VXN_IMPLEMENT_CLASS(TContainedAction, TBasicAction)
VXN_PUBLISH(TContainedAction) { P.Property("Category", &TContainedAction::Category, &TContainedAction::SetCategory); }

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TContainedAction::~TContainedAction() {
  if (ActionList_) ActionList_->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (Value == ActionList_) return;
  if (ActionList_) ActionList_->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

void TContainedAction::SetCategory(const std::string& Value) {
  if (Value == Category_) return;
  Category_ = Value;
  if (ActionList_) ActionList_->Change();
}

Integer TContainedAction::Index() const { return ActionList_ ? ActionList_->IndexOfAction(this) : -1; }

void TContainedAction::SetIndex(Integer Value) {
  if (ActionList_) ActionList_->MoveAction(this, Value);
}

TComponent* TContainedAction::GetParentComponent() const { return ActionList_; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

bool TContainedAction::Execute() {
  if (ActionList_ && ActionList_->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (ActionList_ && ActionList_->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

// ---------------------------------------------------------------------------
// TCustomAction

VXN_IMPLEMENT_CLASS(TCustomAction, TContainedAction)
VXN_PUBLISH(TCustomAction) {
  P.Property("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck).Default(false);
  P.Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
  P.Property("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false);
  P.Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true);
  P.Property("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex).Default(0);
  P.Property("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext).Default(0);
  P.Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
  P.Property("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1);
  P.Property("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut).Default(0);
  P.Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true);
}

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

template <typename F>
void TCustomAction::Tell(F Apply) {
  std::vector<TBasicActionLink*> clients = Clients();
  for (TBasicActionLink* link : clients) {
    const auto& now = Clients();
    if (std::find(now.begin(), now.end(), link) == now.end()) continue;
    if (auto* actionLink = dynamic_cast<TActionLink*>(link)) Apply(*actionLink);
  }
}

void TCustomAction::SetCaption(const std::string& Value) {
  if (Value == Caption_) return;
  Tell([&](TActionLink& link) { link.SetCaption(Value); });
  Caption_ = Value;
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == Checked_ || Checking_) return;
  Checking_ = true;
  ScopeExit done([this] { Checking_ = false; });
  Tell([&](TActionLink& link) { link.SetChecked(Value); });
  Checked_ = Value;
  if (Value && GroupIndex_ > 0 && ActionList()) {
    TCustomActionList* list = ActionList();
    for (Integer i = 0; i < list->ActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(list->Actions(i));
      if (other && other != this && other->GroupIndex_ == GroupIndex_) other->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == Enabled_) return;
  Tell([&](TActionLink& link) { link.SetEnabled(Value); });
  Enabled_ = Value;
  Change();
}

void TCustomAction::SetHelpContext(Integer Value) {
  if (Value == HelpContext_) return;
  Tell([&](TActionLink& link) { link.SetHelpContext(Value); });
  HelpContext_ = Value;
  Change();
}

void TCustomAction::SetHint(const std::string& Value) {
  if (Value == Hint_) return;
  Tell([&](TActionLink& link) { link.SetHint(Value); });
  Hint_ = Value;
  Change();
}

void TCustomAction::SetImageIndex(Integer Value) {
  if (Value == ImageIndex_) return;
  Tell([&](TActionLink& link) { link.SetImageIndex(Value); });
  ImageIndex_ = Value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Value == ShortCut_) return;
  Tell([&](TActionLink& link) { link.SetShortCut(Value); });
  ShortCut_ = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == Visible_) return;
  Tell([&](TActionLink& link) { link.SetVisible(Value); });
  Visible_ = Value;
  Change();
}

void TCustomAction::SetGroupIndex(Integer Value) {
  if (Value == GroupIndex_) return;
  GroupIndex_ = Value;
  // A checked action joining a group unchecks the group's others.
  if (Checked_ && GroupIndex_ > 0 && ActionList()) {
    TCustomActionList* list = ActionList();
    for (Integer i = 0; i < list->ActionCount(); ++i) {
      auto* other = dynamic_cast<TCustomAction*>(list->Actions(i));
      if (other && other != this && other->GroupIndex_ == GroupIndex_) other->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetAutoCheck(bool Value) {
  if (Value == AutoCheck_) return;
  AutoCheck_ = Value;
  Change();
}

bool TCustomAction::Execute() {
  if (ActionList() && ActionList()->State() != asNormal) return false;
  Update();
  if (!Enabled_) return false;
  if (AutoCheck_ && (!Checked_ || GroupIndex_ == 0)) SetChecked(!Checked_);
  return TContainedAction::Execute();
}

// ---------------------------------------------------------------------------
// TActionLink

VXN_IMPLEMENT_CLASS(TActionLink, TBasicActionLink)
VXN_PUBLISH(TActionLink) {}

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }

// ---------------------------------------------------------------------------
// TControlActionLink

VXN_IMPLEMENT_CLASS(TControlActionLink, TActionLink)
VXN_PUBLISH(TControlActionLink) {}

TControlActionLink::TControlActionLink(TObject* AClient) : TActionLink(AClient) { AssignClient(AClient); }

void TControlActionLink::AssignClient(TObject* AClient) { Client_ = dynamic_cast<TControl*>(AClient); }

bool TControlActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && Client_ && Client_->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && Client_ && Client_->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && Client_ && Client_->GetHint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && Client_ && Client_->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && Action() && Client_ && Client_->OnClick == Action()->OnExecute;
}

void TControlActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) Client_->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) Client_->SetEnabled(Value);
}

void TControlActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) Client_->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) Client_->SetVisible(Value);
}

void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) Client_->OnClick = Value;
}

// ---------------------------------------------------------------------------
// TCustomActionList

VXN_IMPLEMENT_CLASS(TCustomActionList, TComponent)
VXN_PUBLISH(TCustomActionList) {
  P.Property("Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
  P.Event("OnChange", &TCustomActionList::OnChange);
  P.Event("OnExecute", &TCustomActionList::OnExecute);
  P.Event("OnUpdate", &TCustomActionList::OnUpdate);
}

TCustomActionList::TCustomActionList(TComponent* AOwner)
    : TComponent(AOwner), ImageChangeLink_(std::make_unique<TChangeLink>()) {
  ImageChangeLink_->OnChange = TNotifyEvent(this, &TCustomActionList::ImageListChange);
}

TCustomActionList::~TCustomActionList() {
  if (Images_) Images_->UnRegisterChanges(ImageChangeLink_.get());
  while (!Actions_.empty()) Actions_.back()->Free();  // each leaves the list as it goes
}

TContainedAction* TCustomActionList::Actions(Integer Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EListError(SListIndexError, {Index});
  return Actions_[static_cast<size_t>(Index)];
}

Integer TCustomActionList::IndexOfAction(const TContainedAction* Action) const {
  auto it = std::find(Actions_.begin(), Actions_.end(), Action);
  return it == Actions_.end() ? -1 : static_cast<Integer>(it - Actions_.begin());
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (!RelinkImageList(Images_, Value, ImageChangeLink_.get(), this)) return;
  Change();
}

void TCustomActionList::SetState(TActionListState Value) {
  if (Value == State_) return;
  State_ = Value;
  if (State_ != asSuspendedEnabled) return;
  for (TContainedAction* action : Actions_)
    if (auto* custom = dynamic_cast<TCustomAction*>(action)) custom->SetEnabled(true);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  if (State_ != asNormal) return true;  // a suspended list updates nothing
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TContainedAction* action : Actions_)
    if (action->Owner() == Root) Proc(action);
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  if (!Action || Action->ActionList_ == this) return;
  if (Action->ActionList_) Action->ActionList_->RemoveAction(Action);
  Actions_.push_back(Action);
  Action->ActionList_ = this;
  Action->FreeNotification(this);
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  auto it = std::find(Actions_.begin(), Actions_.end(), Action);
  if (it == Actions_.end()) return;
  Actions_.erase(it);
  Action->ActionList_ = nullptr;
  Action->RemoveFreeNotification(this);
  Change();
}

void TCustomActionList::MoveAction(TContainedAction* Action, Integer NewIndex) {
  Integer current = IndexOfAction(Action);
  if (current < 0) return;
  NewIndex = std::clamp<Integer>(NewIndex, 0, ActionCount() - 1);
  if (NewIndex == current) return;
  Actions_.erase(Actions_.begin() + current);
  Actions_.insert(Actions_.begin() + NewIndex, Action);
  Change();
}

void TCustomActionList::Change() {
  if (ComponentState().Contains(csDestroying)) return;
  if (OnChange) OnChange(this);
}

void TCustomActionList::ImageListChange(TObject*) { Change(); }

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == Images_) {
    Images_ = nullptr;
    Change();
  } else if (auto* action = dynamic_cast<TContainedAction*>(AComponent)) {
    RemoveAction(action);
  }
}

// ---------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TAction, TCustomAction)
VXN_PUBLISH(TAction) {}

VXN_IMPLEMENT_CREATABLE_CLASS(TActionList, TCustomActionList)
VXN_PUBLISH(TActionList) {}

void RegisterActnListClasses() { RegisterClasses({TAction::StaticClass(), TActionList::StaticClass()}); }
