// Actions: one command (its caption, hint, image, check and enabled state,
// and what it does) shared by every control and menu item that names it.
// A client reaches its action through a link; the action tells each link of
// every change, and the link passes on only what the client still shares
// with the action (a client whose caption was changed by hand keeps it).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Menus.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Delegates.h"

class TBasicAction;
class TContainedAction;
class TCustomActionList;
class TCustomImageList;
class TControl;

// The client side of an action. Owned by its client; it leaves its action's
// list of links when it goes.
class TBasicActionLink : public TObject {
  VXN_DECLARE_CLASS(TBasicActionLink)

 public:
  explicit TBasicActionLink(TObject* AClient);
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return Action_; }
  virtual void SetAction(TBasicAction* Value);

  // Runs the action for AComponent (the client that was clicked); true when
  // something handled it.
  virtual bool Execute(TComponent* AComponent = nullptr);
  // Lets the action bring its state up to date; true when something did.
  virtual bool Update();
  // Whether the client's click still runs the action's OnExecute.
  virtual bool IsOnExecuteLinked() const { return true; }

  // Heard after the action changed (and after the link passed the change on).
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  virtual void AssignClient(TObject* AClient) { (void)AClient; }
  virtual void Change();
  virtual void SetOnExecute(const TNotifyEvent& Value) { (void)Value; }

 private:
  TBasicAction* Action_ = nullptr;
};

class TBasicAction : public TComponent {
  VXN_DECLARE_CLASS(TBasicAction)

 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // The component whose click is being executed (set for the duration).
  TComponent* ActionComponent() const { return ActionComponent_; }
  void SetActionComponent(TComponent* Value);

  // OnExecute, when assigned; true when it ran.
  virtual bool Execute();
  // OnUpdate, when assigned; true when it ran.
  virtual bool Update();
  virtual bool HandlesTarget(TObject* Target) {
    (void)Target;
    return false;
  }
  virtual void ExecuteTarget(TObject* Target) { (void)Target; }
  virtual void UpdateTarget(TObject* Target) { (void)Target; }

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  Integer ClientCount() const { return static_cast<Integer>(Clients_.size()); }

  // What the action does. Assign through SetOnExecute once clients are
  // linked, so that clicks still tied to the old handler follow.
  TNotifyEvent OnExecute;
  void SetOnExecute(const TNotifyEvent& Value);
  TNotifyEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  // Tells OnChange and every link.
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  const std::vector<TBasicActionLink*>& Clients() const { return Clients_; }

 private:
  TComponent* ActionComponent_ = nullptr;
  // Not owned: each link belongs to its client.
  std::vector<TBasicActionLink*> Clients_;
};

// An action that can sit in an action list.
class TContainedAction : public TBasicAction {
  VXN_DECLARE_CLASS(TContainedAction)

 public:
  explicit TContainedAction(TComponent* AOwner);
  ~TContainedAction() override;

  TCustomActionList* ActionList() const { return ActionList_; }
  void SetActionList(TCustomActionList* Value);
  const std::string& Category() const { return Category_; }
  void SetCategory(const std::string& Value);
  // Position in the list, -1 outside one; setting moves it.
  Integer Index() const;
  void SetIndex(Integer Value);

  // The list's OnExecute first; else the action's own.
  bool Execute() override;
  // The list's OnUpdate first; else the action's own.
  bool Update() override;

  // Stored inside its list in a form file.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TCustomActionList;
  TCustomActionList* ActionList_ = nullptr;
  std::string Category_;
};

// The shared state of a command.
class TCustomAction : public TContainedAction {
  VXN_DECLARE_CLASS(TCustomAction)

 public:
  explicit TCustomAction(TComponent* AOwner);

  const std::string& Caption() const { return Caption_; }
  void SetCaption(const std::string& Value);
  bool Checked() const { return Checked_; }
  void SetChecked(bool Value);
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool Value);
  Integer HelpContext() const { return HelpContext_; }
  void SetHelpContext(Integer Value);
  const std::string& Hint() const { return Hint_; }
  void SetHint(const std::string& Value);
  Integer ImageIndex() const { return ImageIndex_; }
  void SetImageIndex(Integer Value);
  TShortCut ShortCut() const { return ShortCut_; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return Visible_; }
  void SetVisible(bool Value);
  // Actions of one list with the same group index above 0 are checked one
  // at a time: checking one unchecks the others.
  Integer GroupIndex() const { return GroupIndex_; }
  void SetGroupIndex(Integer Value);
  // Executing flips Checked first (in a group, only towards checked).
  bool AutoCheck() const { return AutoCheck_; }
  void SetAutoCheck(bool Value);

  // Brings the state up to date, then runs the action when it is enabled.
  bool Execute() override;

 private:
  // Calls Apply on every client that is an action link (before the value
  // changes: a link passes it on only while its client equals the old one).
  template <typename F>
  void Tell(F Apply);

  std::string Caption_;
  bool Checked_ = false;
  bool Enabled_ = true;
  Integer HelpContext_ = 0;
  std::string Hint_;
  Integer ImageIndex_ = -1;
  TShortCut ShortCut_ = 0;
  bool Visible_ = true;
  Integer GroupIndex_ = 0;
  bool AutoCheck_ = false;
  // Set while Checked is being changed, so group partners do not recurse.
  bool Checking_ = false;
};

class TAction : public TCustomAction {
  VXN_DECLARE_CLASS(TAction)

 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// A link that passes the state of a custom action on to its client.
class TActionLink : public TBasicActionLink {
  VXN_DECLARE_CLASS(TActionLink)

 public:
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsCaptionLinked() const;
  virtual bool IsCheckedLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsHelpContextLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsImageIndexLinked() const;
  virtual bool IsShortCutLinked() const;
  virtual bool IsVisibleLinked() const;

 protected:
  friend class TCustomAction;
  // The custom action, or null for another kind of action.
  TCustomAction* CustomAction() const;
  virtual void SetCaption(const std::string& Value) { (void)Value; }
  virtual void SetChecked(bool Value) { (void)Value; }
  virtual void SetEnabled(bool Value) { (void)Value; }
  virtual void SetHelpContext(Integer Value) { (void)Value; }
  virtual void SetHint(const std::string& Value) { (void)Value; }
  virtual void SetImageIndex(Integer Value) { (void)Value; }
  virtual void SetShortCut(TShortCut Value) { (void)Value; }
  virtual void SetVisible(bool Value) { (void)Value; }
};

// The link of a control: caption, enabled, hint and visible follow the
// action while the control's own value still equals the action's; its
// OnClick follows the action's OnExecute likewise.
class TControlActionLink : public TActionLink {
  VXN_DECLARE_CLASS(TControlActionLink)

 public:
  explicit TControlActionLink(TObject* AClient);

  TControl* Client() const { return Client_; }

  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;

 protected:
  void AssignClient(TObject* AClient) override;
  void SetCaption(const std::string& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::string& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TControl* Client_ = nullptr;
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };

// Action and Handled: set Handled to stop the action's own handler.
using TActionEvent = TDelegate<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
  VXN_DECLARE_CLASS(TCustomActionList)

 public:
  explicit TCustomActionList(TComponent* AOwner);
  // Frees the actions it holds.
  ~TCustomActionList() override;

  Integer ActionCount() const { return static_cast<Integer>(Actions_.size()); }
  // EListError for an index outside 0..ActionCount-1.
  TContainedAction* Actions(Integer Index) const;
  Integer IndexOfAction(const TContainedAction* Action) const;

  TCustomImageList* Images() const { return Images_; }
  void SetImages(TCustomImageList* Value);

  // Suspended: no action of the list executes or updates
  // (asSuspendedEnabled also enables every action once).
  TActionListState State() const { return State_; }
  void SetState(TActionListState Value);

  // OnExecute / OnUpdate for Action; true when the handler set Handled.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnChange;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;

 protected:
  friend class TContainedAction;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);
  void MoveAction(TContainedAction* Action, Integer NewIndex);
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ImageListChange(TObject* Sender);

  // Each action belongs to its owner component (usually the form); the list
  // frees those still in it when it goes, as a menu frees its items.
  std::vector<TContainedAction*> Actions_;
  TCustomImageList* Images_ = nullptr;
  std::unique_ptr<class TChangeLink> ImageChangeLink_;
  TActionListState State_ = asNormal;
};

class TActionList : public TCustomActionList {
  VXN_DECLARE_CLASS(TActionList)

 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

void RegisterActnListClasses();
