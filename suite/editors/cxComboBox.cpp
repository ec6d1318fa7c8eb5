#include "suite/editors/cxComboBox.h"

#include <algorithm>
#include <climits>

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/foundation/cxControlRoutines.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomComboBoxProperties, TcxCustomDropDownEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxComboBoxProperties, TcxCustomComboBoxProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomComboBoxViewData, TcxCustomDropDownEditViewData)
VXN_IMPLEMENT_CLASS(TcxCustomComboBoxViewInfo, TcxCustomTextEditViewInfo)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomComboBoxInnerEdit, TcxCustomDropDownInnerEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomComboBoxListBox, TcxCustomEditListBox)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxComboBoxListBox, TcxCustomComboBoxListBox)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxComboBoxLookupData, TcxCustomTextEditLookupData)
VXN_IMPLEMENT_CLASS(TcxComboBoxPopupWindow, TcxCustomEditPopupWindow)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomComboBox, TcxCustomDropDownEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxComboBox, TcxCustomComboBox)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryComboBoxItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxComboBoxProperties) {
  using T = TcxComboBoxProperties;
  using D = TcxCustomDropDownEditProperties;
  using B = TcxCustomEditProperties;
  P.Property("Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property("BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property("ButtonGlyph", &T::ButtonGlyph, &T::SetButtonGlyph);
  P.Property("CaseInsensitive", &T::CaseInsensitive, &T::SetCaseInsensitive).Default(true);
  P.Property("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property("DropDownAutoWidth", &T::DropDownAutoWidth, &T::SetDropDownAutoWidth).Default(true);
  P.Property("DropDownListStyle", &T::DropDownListStyle, &T::SetDropDownListStyle).Default(lsEditList);
  P.Property("DropDownRows", &T::DropDownRows, &T::SetDropDownRows).Default(8);
  P.Property("DropDownSizeable", &T::DropDownSizeable, &T::SetDropDownSizeable).Default(false);
  P.Property("DropDownWidth", &T::DropDownWidth, &T::SetDropDownWidth).Default(0);
  P.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property("IgnoreMaskBlank", &T::IgnoreMaskBlank, &T::SetIgnoreMaskBlank).Default(false);
  P.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property("ImeName", &T::ImeName, &T::SetImeName);
  P.Property("ImmediateDropDown", &T::ImmediateDropDown, &T::SetImmediateDropDown).Default(true);
  P.Property("ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
  P.Property("ImmediateUpdateText", &T::ImmediateUpdateText, &T::SetImmediateUpdateText).Default(false);
  P.Property("IncrementalSearch", &T::IncrementalSearch, &T::SetIncrementalSearch).Default(true);
  P.Property("ItemHeight", &T::ItemHeight, &T::SetItemHeight).Default(0);
  P.Property("Items", &T::Items, &T::SetItems);
  P.Property("MaskKind", &T::MaskKind, &T::SetMaskKind).Default(emkStandard);
  P.Property("EditMask", &T::OwnEditMask, &T::SetEditMask).Stored(&T::IsEditMaskStored);
  P.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Stored(&T::IsMaxLengthStored);
  P.Property("OEMConvert", &T::OEMConvert, &T::SetOEMConvert).Default(false);
  P.Property("PopupAlignment", &T::PopupAlignment, &T::SetPopupAlignment).Default(taLeftJustify);
  P.Property("PostPopupValueOnTab", &T::PostPopupValueOnTab, &T::SetPostPopupValueOnTab).Default(false);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("Revertable", &T::Revertable, &T::SetRevertable).Default(false);
  P.Property("Sorted", &T::Sorted, &T::SetSorted).Default(false);
  P.Property("UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Stored(&T::IsUseLeftAlignmentOnEditingStored);
  P.Property("ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnCloseUp", &D::OnCloseUp, &D::OnCloseUp);
  P.Property("OnDrawItem", &T::OnDrawItem, &T::OnDrawItem);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
  P.Property("OnInitPopup", &D::OnInitPopup, &D::OnInitPopup);
  P.Property("OnMeasureItem", &T::OnMeasureItem, &T::OnMeasureItem);
  P.Property("OnNewLookupDisplayText", &T::OnNewLookupDisplayText, &T::OnNewLookupDisplayText);
  P.Property("OnPopup", &D::OnPopup, &D::OnPopup);
  P.Property("OnValidate", &B::OnValidate, &B::OnValidate);
}

VXN_PUBLISH(TcxComboBox) {
  using C = TcxComboBox;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BeepOnEnter", &C::BeepOnEnter, &C::SetBeepOnEnter).Default(true);
  P.Redeclare("ParentColor").Default(false);
  P.Redeclare("TabStop").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("ItemIndex", &C::GetItemIndex, &C::SetItemIndex).Stored(false);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Text", &C::GetText, &C::SetText);
  PublishEditorEvents(P, cxpeEditing | cxpeDock | cxpeMouseEnter);
}

// --- properties -------------------------------------------------------------------------------------------

TcxCustomComboBoxProperties::TcxCustomComboBoxProperties(TPersistent* AOwner)
    : TcxCustomDropDownEditProperties(AOwner) {}

TClass TcxCustomComboBoxProperties::EditClass() { return TcxComboBox::StaticClass(); }

TcxCustomEditViewDataClass TcxCustomComboBoxProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomComboBoxViewData>();
}

TcxContainerViewInfoClass TcxCustomComboBoxProperties::ViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomComboBoxViewInfo>;
}

TClass TcxCustomComboBoxProperties::LookupDataClass() { return TcxComboBoxLookupData::StaticClass(); }

TcxEditPopupWindowClass TcxCustomComboBoxProperties::PopupWindowClass() {
  return &CreateEditPopupWindow<TcxComboBoxPopupWindow>;
}

TcxEditingStyle TcxCustomComboBoxProperties::EditingStyle() {
  switch (FDropDownListStyle) {
    case lsEditFixedList: return esListText;
    case lsFixedList: return esListPick;
    default: return esFreeText;
  }
}

void TcxCustomComboBoxProperties::SetDropDownListStyle(TcxEditDropDownListStyle Value) {
  if (Value == FDropDownListStyle) return;
  FDropDownListStyle = Value;
  NotifyChanged();
}

void TcxCustomComboBoxProperties::SetDropDownRows(Integer Value) {
  if (Value <= 0 || Value == FDropDownRows) return;
  FDropDownRows = Value;
  NotifyChanged();
}

void TcxCustomComboBoxProperties::SetItemHeight(Integer Value) {
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  NotifyChanged();
}

void TcxCustomComboBoxProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomComboBoxProperties*>(Source);
  if (!source) {
    TcxCustomDropDownEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomDropDownEditProperties::Assign(Source);
  SetDropDownListStyle(source->DropDownListStyle());
  SetDropDownRows(source->DropDownRows());
  SetItemHeight(source->ItemHeight());
  SetRevertable(source->Revertable());
  OnDrawItem = source->OnDrawItem;
  OnMeasureItem = source->OnMeasureItem;
}

// --- view data and view info ---------------------------------------------------------------------------------

namespace {

TcxCustomComboBoxViewInfo* ComboViewInfo(TcxCustomEditViewInfo* AViewInfo, TcxCustomEditProperties* AProperties) {
  auto* vi = static_cast<TcxCustomComboBoxViewInfo*>(AViewInfo);
  vi->ComboProperties = dynamic_cast<TcxCustomComboBoxProperties*>(AProperties);
  return vi;
}

}  // namespace

void TcxCustomComboBoxViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                              Integer AButton, TShiftState AShift, TcxCustomEditViewInfo* AViewInfo,
                                              bool AIsMouseEvent) {
  TcxCustomDropDownEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  TcxCustomComboBoxViewInfo* vi = ComboViewInfo(AViewInfo, Properties);
  auto* edit = dynamic_cast<TcxCustomComboBox*>(EditControl());
  vi->ComboEdit = edit;
  if (!edit) return;
  vi->ItemIndex = -1;
  if (vi->ComboProperties && vi->ComboProperties->DropDownListStyle() == lsFixedList && edit->HasCustomDrawItem())
    vi->ItemIndex = edit->ItemIndex();
  vi->CustomDrawn = vi->ItemIndex != -1;
}

void TcxCustomComboBoxViewData::CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue,
                                                     TcxCustomEditViewInfo* AViewInfo) {
  TcxCustomDropDownEditViewData::CalculateDisplayText(ACanvas, AValue, AViewInfo);
  // With an editor the layout takes the editor's item.
  if (EditControl()) return;
  TcxCustomComboBoxViewInfo* vi = ComboViewInfo(AViewInfo, Properties);
  vi->ComboEdit = nullptr;
  TcxCustomComboBoxProperties* props = vi->ComboProperties;
  vi->ItemIndex = -1;
  if (props && props->DropDownListStyle() == lsFixedList && props->OnDrawItem)
    vi->ItemIndex = props->Items()->IndexOf(vi->Text);
  vi->CustomDrawn = vi->ItemIndex != -1;
}

TcxCustomComboBoxViewInfo::TcxCustomComboBoxViewInfo() {
  CustomDraw = TcxTextEditCustomDrawEvent(this, &TcxCustomComboBoxViewInfo::DrawItemText);
}

void TcxCustomComboBoxViewInfo::DrawItemText(TcxCustomTextEditViewInfo*, TcxCanvas* ACanvas, const TRect& R) {
  if (!CustomDrawn) {
    if (DrawTextAsSelected) {
      ACanvas->Brush()->SetColor(clHighlight);
      ACanvas->Canvas->FillRect(R);
    }
    if (!InnerEditVisible) DrawTextContent(ACanvas);
    return;
  }
  ACanvas->Brush()->SetColor(DrawTextAsSelected ? clHighlight : FillColor);
  if (Font) ACanvas->AssignFont(Font);
  ACanvas->Font()->SetColor(DrawTextAsSelected ? clHighlightText : TextColor);
  TOwnerDrawState state{odComboBoxEdit};
  if (Focused) state += {odSelected, odFocused};
  if (TcxCustomComboBox* edit = ComboEdit)
    edit->FireDrawItem(ACanvas, ItemIndex, R, state);
  else if (ComboProperties && ComboProperties->OnDrawItem)
    ComboProperties->OnDrawItem(nullptr, ACanvas, ItemIndex, R, state);
}

// --- inner edit --------------------------------------------------------------------------------------------

void TcxCustomComboBoxInnerEdit::WndProc(TMessage& Message) {
  // Clicks come from value changes, never from a button release.
  if (Message.Msg == WM_LBUTTONUP) ControlState -= csClicked;
  TcxCustomDropDownInnerEdit::WndProc(Message);
}

// --- list boxes ----------------------------------------------------------------------------------------------

TcxCustomComboBoxListBox::TcxCustomComboBoxListBox(TComponent* AOwner) : TcxCustomEditListBox(AOwner) {
  SetStyle(lbOwnerDrawVariable);
}

TcxCustomComboBox* TcxCustomComboBoxListBox::Edit() { return dynamic_cast<TcxCustomComboBox*>(OwnerEdit()); }

bool TcxCustomComboBoxListBox::OwnerDrawsItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  TcxCustomComboBox* edit = Edit();
  if (!edit || !edit->HasCustomDrawItem()) return false;
  edit->FireDrawItem(SuiteCanvas(), Index, Rect, State);
  return true;
}

std::string TcxCustomComboBoxListBox::ItemText(Integer Index) {
  TcxCustomComboBox* edit = Edit();
  if (!edit || !edit->LookupData()) return TcxCustomEditListBox::ItemText(Index);
  std::string text;
  edit->LookupData()->ItemText(Index, text);
  return text;
}

Integer TcxCustomComboBoxListBox::HeightForItemCount(Integer Count) {
  Integer height = 0;
  for (Integer i = 0; i < Count; ++i) height += ItemHeightOf(i);
  return height;
}

void TcxCustomComboBoxListBox::MeasureItem(Integer Index, Integer& Height) { Height = ItemHeightOf(Index); }

void TcxCustomComboBoxListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxCustomComboBox* edit = Edit();
  if (edit && edit->ListSelectionByCode()) {
    edit->SetListSelectionByCode(false);
    return;
  }
  TcxCustomEditListBox::MouseMove(Shift, X, Y);
}

// A press picks the item under the pointer and captures the mouse for the
// release, but leaves the focus in the edit: the list taking it would close
// the popup.
void TcxCustomComboBoxListBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) {
    TcxCustomComboBox* edit = Edit();
    if (edit && !edit->ActiveDropDownProperties()->PopupTakesFocus() && HandleAllocated()) {
      const Integer item = ItemAtPos({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}, true);
      if (item != -1 && item != ItemIndex()) TcxCustomEditListBox::ChangeItemIndex(item);
      SetCapture(Handle());
      Message.Result = 0;
      return;
    }
  }
  TcxCustomEditListBox::WndProc(Message);
}

void TcxCustomComboBoxListBox::ApplyListSettings() {
  if (HandleAllocated()) RecreateWnd();
}

Integer TcxComboBoxListBox::ItemHeightOf(Integer Index) {
  TcxCustomComboBox* edit = Edit();
  if (!edit) return TcxCustomComboBoxListBox::ItemHeightOf(Index);
  const Integer fixed = edit->ActiveComboProperties()->ItemHeight();
  Integer height = fixed > 0 ? fixed : TcxCustomComboBoxListBox::ItemHeightOf(Index);
  if (Index >= 0 && edit->HasCustomItemHeight()) edit->FireMeasureItem(Index, SuiteCanvas(), height);
  return height;
}

void TcxComboBoxListBox::ApplyListSettings() {
  SetItemHeight(ItemHeightOf(-1));
  TcxCustomComboBox* edit = Edit();
  SetStyle(edit && edit->HasCustomItemHeight() ? lbOwnerDrawVariable : lbOwnerDrawFixed);
  TcxCustomComboBoxListBox::ApplyListSettings();
}

void TcxComboBoxListBox::ChangeItemIndex(Integer Value) {
  if (TcxCustomComboBox* edit = Edit()) edit->SetListSelectionByCode(true);
  TcxCustomComboBoxListBox::ChangeItemIndex(Value);
}

void TcxComboBoxListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxCustomComboBoxListBox::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const Integer item = ItemAtPos({X, Y}, true);
  if (item == -1) return;
  SetMouseCapture(false);
  TcxCustomEditListBox::ChangeItemIndex(item);
  if (TcxCustomComboBox* edit = Edit()) edit->ClosePopup(PopupCloseReasonAccept);
}

void TcxComboBoxListBox::Resize() {
  TcxCustomComboBoxListBox::Resize();
  TcxCustomComboBox* edit = Edit();
  const TRect corner = SizeGripBounds();
  if (!edit || !edit->IsPopupShown() || !HandleAllocated() || corner.Width() <= 0 || corner.Height() <= 0) return;
  HRGN region = CreateRectRgn(corner.Left, corner.Top, corner.Right, corner.Bottom);
  ScopeExit free([region] { DeleteObject(region); });
  SendMessage(Handle(), WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
}

// --- lookup data ---------------------------------------------------------------------------------------------

TClass TcxComboBoxLookupData::ListBoxClass() { return TcxComboBoxListBox::StaticClass(); }

TcxComboBoxListBox* TcxComboBoxLookupData::ComboList() const { return dynamic_cast<TcxComboBoxListBox*>(List()); }

void TcxComboBoxLookupData::InitializeList(TWinControl* Parent) {
  TcxCustomTextEditLookupData::InitializeList(Parent);
  if (auto* edit = dynamic_cast<TcxCustomDropDownEdit*>(Owner()); edit && List())
    List()->OwnLookAndFeel()->SetMasterLookAndFeel(edit->PopupControlsLookAndFeel());
}

TSize TcxComboBoxLookupData::CalculateListSize(Integer AAvailableHeight, Integer AAvailableWidth) {
  (void)AAvailableHeight;  // the window is fitted into the work area later
  TcxComboBoxListBox* list = ComboList();
  if (!list) return TSize{0, 0};
  const Integer count = ItemCount();
  const Integer rows = std::min(ActiveProperties()->DropDownRowCount(), count);
  TSize size{0, list->HeightForItemCount(rows)};
  Integer widest = 0;
  for (Integer i = 0; i < count; ++i) widest = std::max(widest, list->ItemWidthOf(i));
  size.cx = widest + 4;
  if (list->HandleAllocated()) {
    SendMessage(list->Handle(), LB_SETHORIZONTALEXTENT, 0, 0);
    SendMessage(list->Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(size.cx), 0);
  }
  if (count > ActiveProperties()->DropDownRowCount()) size.cx += GetSystemMetrics(SM_CXVSCROLL);
  if (AAvailableWidth > 0 && AAvailableWidth < size.cx) size.cy += GetSystemMetrics(SM_CYHSCROLL);
  return size;
}

// A sized list grows only to the last whole item under the pointer and
// shrinks only once the pointer passes an item boundary.
bool TcxComboBoxLookupData::AdjustListSize(TSize& Size, Integer AMaxHeight) {
  TcxComboBoxListBox* list = ComboList();
  if (!list) return true;
  if (Size.cx == list->Width() && Size.cy == list->Height()) return true;
  const Integer max = AMaxHeight == 0 ? INT_MAX : AMaxHeight;
  const Integer count = ItemCount();
  const Integer vbar = GetSystemMetrics(SM_CXVSCROLL);
  const Integer hbarHeight = GetSystemMetrics(SM_CYHSCROLL);
  const Integer extent =
      list->HandleAllocated() ? static_cast<Integer>(SendMessage(list->Handle(), LB_GETHORIZONTALEXTENT, 0, 0)) : 0;
  auto withBars = [&](Integer sum, bool vertical) {
    return sum + (extent > Size.cx - (vertical ? vbar : 0) ? hbarHeight : 0);
  };
  Integer sum = 0;
  Integer h = 0;
  bool hidden = false;
  for (Integer i = 0; i < count; ++i) {
    const Integer itemHeight = list->ItemHeightOf(i);
    sum += itemHeight;
    const bool remaining = i < count - 1;
    h = withBars(sum, remaining);
    if (h == Size.cy && h <= max) {
      hidden = remaining;
      break;
    }
    if (h < Size.cy && h <= max) continue;
    if (h > max || Size.cy >= list->Height()) {
      sum -= itemHeight;
      h = withBars(sum, true);
      hidden = true;
    } else {
      hidden = remaining;
    }
    break;
  }
  Size.cy = h;
  Integer minWidth = 0;
  if (hidden) minWidth += vbar;
  if (h > sum) minWidth += vbar;
  Size.cx = std::max(Size.cx, minWidth);
  return true;
}

// --- popup window --------------------------------------------------------------------------------------------

void TcxComboBoxPopupWindow::FitToChildren() {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  vi->SizeGripCorner = GripBottomRight;
  EditPopupOwner* owner = OwnerEdit();
  const TRect ownerBounds = owner ? owner->PopupOwnerBounds() : AnchorRect;
  const TRect e = vi->ClientExtents();
  const TSize minimal = MinimalPopupSize();
  const TSize content = owner ? owner->PopupContentSize() : TSize{};
  auto* edit = dynamic_cast<TcxCustomDropDownEdit*>(owner);
  const bool userSized = edit && edit->UserSized() && PopupSizeable();
  Integer w;
  if (userSized || (!PopupAutoSize() && PopupWidth() > 0))
    w = PopupWidth();
  else if (PopupAutoSize())
    w = std::max<Integer>(content.cx + e.Left + e.Right, ownerBounds.Width());
  else
    w = ownerBounds.Width();
  if (PopupSizeable() && PopupMinWidth() > 0) w = std::max(w, PopupMinWidth());
  Integer h;
  if ((!userSized && PopupHeight() == 0) || (!PopupSizeable() && PopupAutoSize()))
    h = content.cy + e.Top + e.Bottom;
  else
    h = PopupHeight();
  if (PopupSizeable() && PopupMinHeight() > 0) h = std::max(h, PopupMinHeight());
  SetBounds(Left(), Top(), std::max<Integer>(w, minimal.cx), std::max<Integer>(h, minimal.cy));
}

// --- the editor ----------------------------------------------------------------------------------------------

TcxCustomEditKind ComboBoxKind(TcxCustomEditPropertiesClass APropertiesClass) {
  TcxCustomEditKind kind = DropDownEditKind(APropertiesClass);
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxCustomComboBoxViewInfo>;
  kind.InnerEditClass = &CreateInnerEditObject<TcxCustomComboBoxInnerEdit>;
  return kind;
}

TcxCustomComboBox::TcxCustomComboBox(TComponent* AOwner, bool AIsInplace)
    : TcxCustomComboBox(AOwner, AIsInplace, ComboBoxKind(TcxCustomComboBoxProperties::StaticClass())) {}

TcxCustomComboBox::TcxCustomComboBox(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomDropDownEdit(AOwner, AIsInplace, AKind) {
  ControlStyle -= csClickEvents;
}

void TcxCustomComboBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONUP) ControlState -= csClicked;
  TcxCustomDropDownEdit::WndProc(Message);
}

void TcxCustomComboBox::ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxCustomDropDownEdit::ActivateEditing(AEditData);
  if (LookupData()) LookupData()->SyncItemIndexWithText();
}

bool TcxCustomComboBox::CanOpenPopup() { return HasLookupData() && !ILookupData()->HasNoItems(); }

void TcxCustomComboBox::InnerEditChanged(TObject* Sender) {
  if (!HasLookupData()) {
    TcxCustomDropDownEdit::InnerEditChanged(Sender);
    return;
  }
  const Variant oldKey = ILookupData()->CurrentKey();
  {
    LockClick(true);
    ScopeExit unlock([this] { LockClick(false); });
    TcxCustomDropDownEdit::InnerEditChanged(Sender);
    const TcxEditingStyle style = ActiveTextProperties()->EditingStyle();
    if (!LookupChanging() &&
        (IsPopupShown() || (ShowRequestQueued() && !ActiveTextProperties()->IncrementalSearch()) ||
         style == esListText || style == esListPick))
      ILookupData()->SyncItemIndexWithText();
  }
  if (!VarEqualsSameType(oldKey, ILookupData()->CurrentKey())) MarkModifiedAndClick();
}

void TcxCustomComboBox::DblClick() {
  TcxCustomDropDownEdit::DblClick();
  if (!HasLookupData()) return;
  LockChangeEvents(true);
  const bool wasNavigating = LookupNavigating();
  SetLookupNavigating(true);
  bool ok = false;
  ScopeExit unlock([&] {
    SetLookupNavigating(wasNavigating);
    LockChangeEvents(false, ok);
  });
  const Variant oldKey = ILookupData()->CurrentKey();
  if (!IsPopupShown() && ActiveComboProperties()->Revertable()) ILookupData()->Navigate(lnNext, true);
  if (!VarEqualsSameType(oldKey, ILookupData()->CurrentKey()) && CanPostEditValue() &&
      ActiveProperties()->ImmediatePost() && ValidateDisplayText(true))
    PostEditValue(false);
  ok = true;
}

TSize TcxCustomComboBox::PopupContentSize() {
  TcxCustomEditPopupWindow* popup = PopupWindow();
  TcxComboBoxLookupData* data = ComboLookupData();
  if (!popup || !data) return TSize{0, 0};
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  const TRect e = popup->PopupViewInfo()->ClientExtents();
  TRect r = PopupOwnerBounds();
  if (Parent()) {
    const TPoint origin = Parent()->ClientToScreen({0, 0});
    r = cxRectOffset(r, origin.X, origin.Y);
  }
  const TRect areaTop = GetMonitorWorkArea({r.Left, r.Top});
  const TRect areaBottom = GetMonitorWorkArea({r.Left, r.Bottom});
  Integer above = r.Top - areaTop.Top - e.Top - e.Bottom;
  if (popup->PopupViewInfo()->Shadow) above += 3;
  const Integer below = areaBottom.Bottom - r.Bottom - e.Top - e.Bottom;
  const Integer height = std::max(above, below);
  Integer width;
  if (props->PopupSizeable() || props->PopupAutoSize())
    width = areaTop.Width() - e.Left - e.Right;
  else if (popup->PopupWidth() >= 1)
    width = popup->PopupWidth() - e.Left - e.Right;
  else
    width = r.Width() - e.Left - e.Right;
  return data->CalculateListSize(height, width);
}

void TcxCustomComboBox::ApplyPopupSettings() {
  TcxCustomDropDownEdit::ApplyPopupSettings();
  PopupWindow()->SetPopupSysPanelStyle(ActiveDropDownProperties()->PopupSizeable());
}

void TcxCustomComboBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxCustomDropDownEdit::MouseMove(Shift, X, Y);
  // A press on the edit dragged into the open list selects there, as in a
  // native combo box.
  // The press may have gone to the inner edit, which then holds the capture.
  const HWND capture = GetCapture();
  if (!HandleAllocated() || !capture || (capture != Handle() && !IsChild(Handle(), capture)) || !IsPopupShown() ||
      !HasLookupData())
    return;
  TWinControl* list = ILookupData()->ListControl();
  if (!list || !list->HandleAllocated()) return;
  const TPoint screen = ClientToScreen({X, Y});
  TcxCustomEditPopupWindow* popup = PopupWindow();
  const TPoint inPopup = popup->ScreenToClient(screen);
  if (!cxRectPtIn(popup->PopupViewInfo()->ClientRect, inPopup) || !ILookupData()->IsPointInList(screen)) return;
  const TPoint p = list->ScreenToClient(screen);
  SendMessage(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<Word>(p.X), static_cast<Word>(p.Y)));
}

void TcxCustomComboBox::PopupWindowShown(TObject* Sender) {
  TcxCustomDropDownEdit::PopupWindowShown(Sender);
  if (!HasLookupData()) return;
  TWinControl* list = ILookupData()->ListControl();
  if (list && list->HandleAllocated() && ILookupData()->IsPointInList(GetMouseScreenPos()))
    SetListSelectionByCode(true);
}

void TcxCustomComboBox::ResetPopupHeight() {
  auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData());
  if (IsInplace() && ActiveDropDownProperties()->PopupSizeable() && data)
    data->Height = 0;
  else
    ActiveDropDownProperties()->SetPopupHeight(0);
}

void TcxCustomComboBox::FireDrawItem(TcxCanvas* ACanvas, Integer AIndex, const TRect& ARect,
                                     TOwnerDrawState AState) {
  FireOwnThenItem<TcxCustomComboBoxProperties>([&](TcxCustomComboBoxProperties* p) {
    if (p->OnDrawItem) p->OnDrawItem(this, ACanvas, AIndex, ARect, AState);
  });
}

void TcxCustomComboBox::FireMeasureItem(Integer AIndex, TcxCanvas* ACanvas, Integer& AHeight) {
  FireOwnThenItem<TcxCustomComboBoxProperties>([&](TcxCustomComboBoxProperties* p) {
    if (p->OnMeasureItem) p->OnMeasureItem(this, AIndex, ACanvas, AHeight);
  });
}

bool TcxCustomComboBox::HasCustomDrawItem() {
  return static_cast<TcxCustomComboBoxProperties*>(Properties())->OnDrawItem ||
         ActiveComboProperties()->OnDrawItem;
}

bool TcxCustomComboBox::HasCustomItemHeight() {
  return static_cast<TcxCustomComboBoxProperties*>(Properties())->OnMeasureItem ||
         ActiveComboProperties()->OnMeasureItem;
}

TcxComboBox::TcxComboBox(TComponent* AOwner, bool AIsInplace)
    : TcxCustomComboBox(AOwner, AIsInplace, ComboBoxKind(TcxComboBoxProperties::StaticClass())) {}

void RegisterComboBoxClasses() {
  RegisterClasses({TcxCustomComboBoxProperties::StaticClass(), TcxComboBoxProperties::StaticClass(),
                   TcxCustomComboBoxViewData::StaticClass(), TcxCustomComboBoxInnerEdit::StaticClass(),
                   TcxCustomComboBoxListBox::StaticClass(), TcxComboBoxListBox::StaticClass(),
                   TcxComboBoxLookupData::StaticClass(), TcxCustomComboBox::StaticClass(),
                   TcxComboBox::StaticClass(), TcxEditRepositoryComboBoxItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxComboBoxProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryComboBoxItem));
}
