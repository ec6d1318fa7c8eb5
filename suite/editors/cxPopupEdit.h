// The popup edit: a drop-down edit whose popup shows any control of the form.
// While the popup is open the control lives in the popup window, aligned to
// fill it; when the popup closes (or the edit goes) it is given back to its
// old parent with its old alignment, bounds and visibility, and a form its
// old border style. The popup takes the focus and is sizeable by default.
#pragma once

#include "suite/editors/cxDropDownEdit.h"
#include "suite/editors/cxEditRepository.h"

inline constexpr const char* scxSCircularReferencing = "Circular referencing is not allowed";

class TcxCustomPopupEditProperties : public TcxCustomDropDownEditProperties {
  VXN_DECLARE_CLASS(TcxCustomPopupEditProperties)

 public:
  explicit TcxCustomPopupEditProperties(TPersistent* AOwner);
  ~TcxCustomPopupEditProperties() override;

  void Assign(TPersistent* Source) override;
  TClass EditClass() override;
  bool PopupShowsLookupList() override { return false; }
  TcxEditPopupWindowClass PopupWindowClass() override { return &CreateEditPopupWindow<TcxPopupEditPopupWindow>; }
  bool PopupTakesFocus() override { return true; }
  // A freed popup control is forgotten.
  void ComponentFreed(TComponent* Component) override;

  TControl* PopupControl() const { return FPopupControl; }
  void SetPopupControl(TControl* Value);

 private:
  TControl* FPopupControl = nullptr;
};

class TcxPopupEditProperties : public TcxCustomPopupEditProperties {
  VXN_DECLARE_CLASS(TcxPopupEditProperties)

 public:
  explicit TcxPopupEditProperties(TPersistent* AOwner);
};

class TcxCustomPopupEdit : public TcxCustomDropDownEdit {
  VXN_DECLARE_CLASS(TcxCustomPopupEdit)

 public:
  explicit TcxCustomPopupEdit(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomPopupEdit() override;
  void BeforeDestruction() override;

  TcxCustomPopupEditProperties* ActivePopupProperties() {
    return static_cast<TcxCustomPopupEditProperties*>(ActiveProperties());
  }

  // Introduced here, in slot order.
  // For controls inside the popup: closes it later, from the queue, with
  // AReason for the close-up listeners; the edit gets the focus back.
  virtual void CloseWithReason(Integer AReason);
  virtual void RestorePopupControl();
  virtual void SavePopupControlState();

  bool CanOpenPopup() override;
  void FireInitPopup() override;
  TWinControl* PopupFocusTarget() override;
  TSize PopupContentSize() override;
  void PlacePopupContent(const TRect& AClientRect) override;
  void ArrangePopupWindow() override;

 protected:
  TcxCustomPopupEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  void PopupWindowClosed(TObject* Sender) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // The hosted control and where it came from; both are weak links,
  // cleared when the control or its parent is freed while it is hosted.
  struct SavedControlState {
    TControl* Control = nullptr;
    TAlign Align = alNone;
    TRect Bounds;
    TWinControl* Parent = nullptr;
    bool Visible = false;
    bool IsForm = false;
    TFormBorderStyle BorderStyle = bsNone;
  };
  void SetSavedParent(TWinControl* Value);

  SavedControlState FSaved;
};

class TcxPopupEdit : public TcxCustomPopupEdit {
  VXN_DECLARE_CLASS(TcxPopupEdit)

 public:
  explicit TcxPopupEdit(TComponent* AOwner, bool AIsInplace = false);

  TcxPopupEditProperties* PopupProperties() const { return static_cast<TcxPopupEditProperties*>(Properties()); }
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
};

class TcxEditRepositoryPopupItem : public TcxEditRepositoryItemOf<TcxPopupEditProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryPopupItem)

 public:
  explicit TcxEditRepositoryPopupItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

void RegisterPopupEditClasses();
