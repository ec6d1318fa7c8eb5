#include "suite/editors/cxPopupEdit.h"

#include "platform/forms/CustomForms.h"
#include "suite/editors/cxCustomPopupWindow.h"
#include "suite/foundation/cxClasses.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomPopupEditProperties, TcxCustomDropDownEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxPopupEditProperties, TcxCustomPopupEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomPopupEdit, TcxCustomDropDownEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxPopupEdit, TcxCustomPopupEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryPopupItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxPopupEditProperties) {
  using T = TcxPopupEditProperties;
  using B = TcxCustomEditProperties;
  using D = TcxCustomDropDownEditProperties;
  P.Property("Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property("BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property("ButtonGlyph", [](T& p) { return p.ButtonGlyph(); }, &T::SetButtonGlyph)
      .Stored([](T& p) { return !p.ButtonGlyph()->Empty(); });
  P.Property("CaseInsensitive", &T::CaseInsensitive, &T::SetCaseInsensitive).Default(true);
  P.Property("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property("EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property("IgnoreMaskBlank", &T::IgnoreMaskBlank, &T::SetIgnoreMaskBlank).Default(false);
  P.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property("ImeName", &T::ImeName, &T::SetImeName);
  P.Property("ImmediateDropDown", &T::ImmediateDropDown, &T::SetImmediateDropDown).Default(true);
  P.Property("ImmediatePopup", &T::ImmediatePopup, &T::SetImmediatePopup).Default(true);
  P.Property("IncrementalSearch", &T::IncrementalSearch, &T::SetIncrementalSearch).Default(true);
  P.Property("LookupItems", &T::LookupItems, &T::SetLookupItems);
  P.Property("LookupItemsSorted", &T::LookupItemsSorted, &T::SetLookupItemsSorted).Default(false);
  P.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Stored(&T::IsMaxLengthStored);
  P.Property("MaskKind", &T::MaskKind, &T::SetMaskKind).Default(emkStandard);
  P.Property("EditMask", &T::OwnEditMask, &T::SetEditMask).Stored(&T::IsEditMaskStored);
  P.Property("OEMConvert", &T::OEMConvert, &T::SetOEMConvert).Default(false);
  P.Property("PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
  P.Property("PopupAlignment", &T::PopupAlignment, &T::SetPopupAlignment).Default(taLeftJustify);
  P.Property("PopupAutoSize", &T::PopupAutoSize, &T::SetPopupAutoSize).Default(true);
  P.Property("PopupClientEdge", &T::PopupClientEdge, &T::SetPopupClientEdge).Default(false);
  P.Property("PopupControl", &T::PopupControl, &T::SetPopupControl);
  P.Property("PopupHeight", &T::PopupHeight, &T::SetPopupHeight).Default(200);
  P.Property("PopupMinHeight", &T::PopupMinHeight, &T::SetPopupMinHeight).Default(100);
  P.Property("PopupMinWidth", &T::PopupMinWidth, &T::SetPopupMinWidth).Default(100);
  P.Property("PopupSizeable", &T::PopupSizeable, &T::SetPopupSizeable).Default(true);
  P.Property("PopupSysPanelStyle", &T::PopupSysPanelStyle, &T::SetPopupSysPanelStyle).Default(false);
  P.Property("PopupWidth", &T::PopupWidth, &T::SetPopupWidth).Default(250);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Stored(&T::IsUseLeftAlignmentOnEditingStored);
  P.Property("ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnCloseQuery", &D::OnCloseQuery, &D::OnCloseQuery);
  P.Property("OnCloseUp", &D::OnCloseUp, &D::OnCloseUp);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
  P.Property("OnInitPopup", &D::OnInitPopup, &D::OnInitPopup);
  P.Property("OnPopup", &D::OnPopup, &D::OnPopup);
  P.Property("OnValidate", &B::OnValidate, &B::OnValidate);
}

VXN_PUBLISH(TcxPopupEdit) {
  using C = TcxPopupEdit;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BeepOnEnter", &C::BeepOnEnter, &C::SetBeepOnEnter).Default(true);
  P.Redeclare("TabStop").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Text", &C::GetText, &C::SetText);
}

// --- properties ----------------------------------------------------------------------------------------

TcxCustomPopupEditProperties::TcxCustomPopupEditProperties(TPersistent* AOwner)
    : TcxCustomDropDownEditProperties(AOwner) {
  SetPopupAutoSize(true);
  SetPopupHeight(200);
  SetPopupMinHeight(100);
  SetPopupMinWidth(100);
  SetPopupSizeable(true);
  SetPopupWidth(250);
}

TcxCustomPopupEditProperties::~TcxCustomPopupEditProperties() = default;

TClass TcxCustomPopupEditProperties::EditClass() { return TcxPopupEdit::StaticClass(); }

void TcxCustomPopupEditProperties::SetPopupControl(TControl* Value) {
  if (Value == FPopupControl) return;
  if (FPopupControl) FreeNotificator()->RemoveSender(FPopupControl);
  FPopupControl = Value;
  if (FPopupControl) FreeNotificator()->AddSender(FPopupControl);
}

void TcxCustomPopupEditProperties::ComponentFreed(TComponent* Component) {
  TcxCustomDropDownEditProperties::ComponentFreed(Component);
  if (Component == FPopupControl) FPopupControl = nullptr;
}

void TcxCustomPopupEditProperties::Assign(TPersistent* Source) {
  TcxCustomDropDownEditProperties::Assign(Source);
  if (auto* source = dynamic_cast<TcxCustomPopupEditProperties*>(Source)) SetPopupControl(source->PopupControl());
}

TcxPopupEditProperties::TcxPopupEditProperties(TPersistent* AOwner) : TcxCustomPopupEditProperties(AOwner) {
  SetImmediateDropDown(true);
  SetImmediatePopup(true);
}

// --- the editor ------------------------------------------------------------------------------------------

TcxCustomPopupEdit::TcxCustomPopupEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomPopupEdit(AOwner, AIsInplace, DropDownEditKind(TcxCustomPopupEditProperties::StaticClass())) {}

TcxCustomPopupEdit::TcxCustomPopupEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomDropDownEdit(AOwner, AIsInplace, AKind) {}

TcxCustomPopupEdit::~TcxCustomPopupEdit() { RestorePopupControl(); }

void TcxCustomPopupEdit::BeforeDestruction() {
  // The control goes home before the window that holds it does. This also
  // covers a popup requested but not shown yet: the drop-down's own
  // cancelling of that request runs when this class is already gone.
  RestorePopupControl();
  TcxCustomDropDownEdit::BeforeDestruction();
}

void TcxCustomPopupEdit::CloseWithReason(Integer AReason) {
  SetCloseReason(AReason);
  TcxCustomPopupWindow::PostClosePopup(PopupWindow());
}

void TcxCustomPopupEdit::SetSavedParent(TWinControl* Value) {
  if (FSaved.Parent == Value) return;
  if (FSaved.Parent) FSaved.Parent->RemoveFreeNotification(this);
  FSaved.Parent = Value;
  if (FSaved.Parent) FSaved.Parent->FreeNotification(this);
}

void TcxCustomPopupEdit::SavePopupControlState() {
  TControl* control = ActivePopupProperties()->PopupControl();
  if (!control) return;
  // A popup arranged again while open (a settings change) finds the control
  // already hosted; its state from before the opening is the one to keep.
  if (FSaved.Control == control && PopupWindow() && control->Parent() == PopupWindow()) return;
  if (FSaved.Control && FSaved.Control != control) FSaved.Control->RemoveFreeNotification(this);
  FSaved.Control = control;
  control->FreeNotification(this);
  FSaved.Align = control->Align();
  FSaved.Bounds = control->BoundsRect();
  SetSavedParent(control->Parent());
  FSaved.Visible = control->Visible();
  if (auto* form = dynamic_cast<TForm*>(control)) {
    FSaved.IsForm = true;
    FSaved.BorderStyle = form->BorderStyle();
    form->SetBorderStyle(bsNone);
  } else {
    FSaved.IsForm = false;
  }
}

// The control saved at the opening is the one given back, even when the
// settings name another one by now.
void TcxCustomPopupEdit::RestorePopupControl() {
  TControl* control = FSaved.Control;
  if (!control) return;
  FSaved.Control = nullptr;
  control->RemoveFreeNotification(this);
  TWinControl* parent = FSaved.Parent;
  SetSavedParent(nullptr);
  control->Hide();
  control->SetParent(parent);
  control->SetAlign(FSaved.Align);
  if (auto* form = dynamic_cast<TForm*>(control); form && FSaved.IsForm) form->SetBorderStyle(FSaved.BorderStyle);
  control->SetBoundsRect(FSaved.Bounds);
  control->SetVisible(FSaved.Visible);
}

void TcxCustomPopupEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TcxCustomDropDownEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSaved.Control) FSaved.Control = nullptr;
  if (AComponent == FSaved.Parent) FSaved.Parent = nullptr;
}

bool TcxCustomPopupEdit::CanOpenPopup() { return ActivePopupProperties()->PopupControl() != nullptr; }

void TcxCustomPopupEdit::FireInitPopup() {
  if (TControl* control = ActivePopupProperties()->PopupControl()) {
    bool circular = control == PopupWindow() || control == this;
    for (TWinControl* p = Parent(); p && !circular; p = p->Parent()) circular = control == p;
    if (circular) throw Exception(TranslateResourceString(scxSCircularReferencing));
  }
  TcxCustomDropDownEdit::FireInitPopup();
}

TWinControl* TcxCustomPopupEdit::PopupFocusTarget() {
  return dynamic_cast<TWinControl*>(ActivePopupProperties()->PopupControl());
}

TSize TcxCustomPopupEdit::PopupContentSize() {
  TControl* control = ActivePopupProperties()->PopupControl();
  return control ? TSize{control->Width(), control->Height()} : TSize{0, 0};
}

void TcxCustomPopupEdit::PlacePopupContent(const TRect& AClientRect) {
  if (TControl* control = ActivePopupProperties()->PopupControl())
    control->SetBounds(AClientRect.Left, AClientRect.Top, AClientRect.Width(), AClientRect.Height());
}

void TcxCustomPopupEdit::ArrangePopupWindow() {
  TControl* control = ActivePopupProperties()->PopupControl();
  if (control) {
    SavePopupControlState();
    // Unaligned on its way in, so that the window takes the control's own
    // size and not the one an alignment in the window would give it.
    control->SetAlign(alNone);
    control->SetParent(PopupWindow());
    control->Show();
  }
  TcxCustomDropDownEdit::ArrangePopupWindow();
  if (control) control->SetAlign(alClient);
}

void TcxCustomPopupEdit::PopupWindowClosed(TObject* Sender) {
  RestorePopupControl();
  TcxCustomDropDownEdit::PopupWindowClosed(Sender);
}

TcxPopupEdit::TcxPopupEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomPopupEdit(AOwner, AIsInplace, DropDownEditKind(TcxPopupEditProperties::StaticClass())) {}

void RegisterPopupEditClasses() {
  RegisterClasses({TcxCustomPopupEditProperties::StaticClass(), TcxPopupEditProperties::StaticClass(),
                   TcxCustomPopupEdit::StaticClass(), TcxPopupEdit::StaticClass(),
                   TcxEditRepositoryPopupItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxPopupEditProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryPopupItem));
}
