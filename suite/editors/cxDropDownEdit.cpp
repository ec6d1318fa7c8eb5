#include "suite/editors/cxDropDownEdit.h"

#include <algorithm>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxEditViewInfo.h"

using namespace win;

namespace {

bool IsWindowOrInside(HWND AParent, HWND AWnd) { return AParent && AWnd && (AWnd == AParent || IsChild(AParent, AWnd)); }

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomDropDownEditProperties, TcxCustomMaskEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomDropDownEditViewData, TcxCustomTextEditViewData)
VXN_IMPLEMENT_CLASS(TcxEditPopupControlLookAndFeel, TcxLookAndFeel)
VXN_IMPLEMENT_CLASS(TcxCustomDropDownEdit, TcxCustomMaskEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomDropDownInnerEdit, TcxCustomInnerTextEdit)

TcxCustomEditKind DropDownEditKind(TcxCustomEditPropertiesClass APropertiesClass) {
  TcxCustomEditKind kind = TextEditKind(APropertiesClass);
  kind.InnerEditClass = &CreateInnerEditObject<TcxCustomDropDownInnerEdit>;
  return kind;
}

void TcxCustomDropDownInnerEdit::WndProc(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW) {
    auto* edit = dynamic_cast<TcxCustomDropDownEdit*>(OwnerEdit());
    if (edit && edit->IsPopupShown()) {
      Message.Result = 1;
      return;
    }
  }
  TcxCustomInnerTextEdit::WndProc(Message);
}

// --- properties ----------------------------------------------------------------------------------------

TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner) {
  Buttons()->Add()->SetKind(bkDown);
}

TcxCustomDropDownEditProperties::~TcxCustomDropDownEditProperties() = default;

TcxEditButton* TcxCustomDropDownEditProperties::GlyphButton() {
  const Integer index = GlyphButtonIndex();
  return index >= 0 && index < Buttons()->Count() ? Buttons()->Items(index) : nullptr;
}

void TcxCustomDropDownEditProperties::ApplyGlyphKind() {
  TcxEditButton* button = GlyphButton();
  if (!button) return;
  const bool hasGlyph = FButtonGlyph && !FButtonGlyph->Empty();
  if (hasGlyph)
    button->SetKind(bkGlyph);
  else if (button->Kind() == bkGlyph)
    button->SetKind(bkDown);
}

TBitmap* TcxCustomDropDownEditProperties::ButtonGlyph() {
  if (!FButtonGlyph) FButtonGlyph = std::make_unique<TBitmap>();
  return FButtonGlyph.get();
}

void TcxCustomDropDownEditProperties::SetButtonGlyph(TBitmap* Value) {
  if (Value)
    ButtonGlyph()->Assign(Value);
  else
    FButtonGlyph.reset();
  if (TcxEditButton* button = GlyphButton()) {
    button->SetGlyph(FButtonGlyph && !FButtonGlyph->Empty() ? FButtonGlyph.get() : nullptr);
    ApplyGlyphKind();
  }
}

void TcxCustomDropDownEditProperties::SetGlyphButtonIndex(Integer Value) {
  if (Value == GlyphButtonIndex()) return;
  // The index moves first: a button change notifies, and the kind rule must
  // then look at the new button.
  TcxEditButton* old = GlyphButton();
  FGlyphButtonIndex = Value;
  const bool hasGlyph = FButtonGlyph && !FButtonGlyph->Empty();
  if (TcxEditButton* button = GlyphButton(); button && hasGlyph) {
    button->SetGlyph(FButtonGlyph.get());
    button->SetKind(bkGlyph);
  }
  if (old) {
    old->SetGlyph(nullptr);
    if (old->Kind() == bkGlyph) old->SetKind(bkDown);
  }
}

void TcxCustomDropDownEditProperties::NotifyChanged() {
  if (FNotifying) return;
  FNotifying = true;
  ScopeExit done([this] { FNotifying = false; });
  ApplyGlyphKind();
  TcxCustomMaskEditProperties::NotifyChanged();
}

TcxCustomEditViewDataClass TcxCustomDropDownEditProperties::ViewDataClass() {
  return EditViewDataClassOf<TcxCustomDropDownEditViewData>();
}

TClass TcxCustomDropDownEditProperties::EditClass() { return TcxCustomDropDownEdit::StaticClass(); }

TAlignment TcxCustomDropDownEditProperties::PopupAlignment() const {
  switch (FPopupHorzAlignment) {
    case PopupHorzRight: return taRightJustify;
    case PopupHorzCentre: return taCenter;
    default: return taLeftJustify;
  }
}

void TcxCustomDropDownEditProperties::SetPopupAlignment(TAlignment Value) {
  Byte horz = PopupHorzLeft;
  if (Value == taRightJustify)
    horz = PopupHorzRight;
  else if (Value == taCenter)
    horz = PopupHorzCentre;
  if (horz == FPopupHorzAlignment) return;
  FPopupHorzAlignment = horz;
  NotifyChanged();
}

void TcxCustomDropDownEditProperties::SetPopupClientEdge(bool Value) {
  if (Value == FPopupClientEdge) return;
  FPopupClientEdge = Value;
  NotifyChanged();
}

void TcxCustomDropDownEditProperties::SetPopupSizeable(bool Value) {
  if (Value == FPopupSizeable) return;
  FPopupSizeable = Value;
  NotifyChanged();
}

void TcxCustomDropDownEditProperties::SetPopupSysPanelStyle(bool Value) {
  if (Value == FPopupSysPanelStyle) return;
  FPopupSysPanelStyle = Value;
  NotifyChanged();
}

// The sizes are read again at every opening: no change notice.
void TcxCustomDropDownEditProperties::SetPopupHeight(Integer Value) {
  FPopupHeight = std::max(Value, FPopupMinHeight);
}

void TcxCustomDropDownEditProperties::SetPopupWidth(Integer Value) {
  FPopupWidth = Value <= 0 ? 0 : std::max(Value, FPopupMinWidth);
}

void TcxCustomDropDownEditProperties::SetPopupMinHeight(Integer Value) {
  FPopupMinHeight = std::max<Integer>(Value, 0);
  SetPopupHeight(FPopupHeight);
}

void TcxCustomDropDownEditProperties::SetPopupMinWidth(Integer Value) {
  FPopupMinWidth = std::max<Integer>(Value, 0);
  SetPopupWidth(FPopupWidth);
}

void TcxCustomDropDownEditProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomDropDownEditProperties*>(Source);
  if (!source) {
    TcxCustomMaskEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomMaskEditProperties::Assign(Source);
  SetButtonGlyph(source->FButtonGlyph.get());
  SetImmediateDropDown(source->ImmediateDropDown());
  SetImmediatePopup(source->ImmediatePopup());
  SetPopupAlignment(source->PopupAlignment());
  SetPopupAutoSize(source->PopupAutoSize());
  SetPopupClientEdge(source->PopupClientEdge());
  // The minimums first, so that the sizes are not raised by stale ones.
  SetPopupMinHeight(source->PopupMinHeight());
  SetPopupMinWidth(source->PopupMinWidth());
  SetPopupHeight(source->PopupHeight());
  SetPopupWidth(source->PopupWidth());
  SetPopupSizeable(source->PopupSizeable());
  SetPopupSysPanelStyle(source->PopupSysPanelStyle());
  SetPostPopupValueOnTab(source->PostPopupValueOnTab());
  OnCloseQuery = source->OnCloseQuery;
  OnCloseUp = source->OnCloseUp;
  OnInitPopup = source->OnInitPopup;
  OnPopup = source->OnPopup;
}

// --- view data --------------------------------------------------------------------------------------------

bool TcxCustomDropDownEditViewData::CanButtonBeHot(Integer AIndex) {
  auto* props = dynamic_cast<TcxCustomDropDownEditProperties*>(Properties);
  return !(HotWhileOpen && props && AIndex == props->DropDownButtonIndex());
}

void TcxCustomDropDownEditViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                                  Integer AButton, TShiftState AShift,
                                                  TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomTextEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  auto* edit = dynamic_cast<TcxCustomTextEdit*>(EditControl());
  if (vi->EditingStyle == esListPick && Focused && Enabled && !IsDesigning && !(edit && edit->SelectionHighlight()))
    vi->DrawTextAsSelected = true;
}

// --- look and feel of the popup's controls ------------------------------------------------------------

TcxEditPopupControlLookAndFeel::TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* AEdit)
    : TcxLookAndFeel(AEdit), FEdit(AEdit) {
  UpdateCache();
}

TcxLookAndFeelKind TcxEditPopupControlLookAndFeel::EffectiveKind() const {
  if (!FEdit) return lfStandard;
  if (FEdit->IsInplace()) {
    TcxContainerStyle* style = FEdit->ActiveStyle();
    return style && style->LookAndFeel() ? style->LookAndFeel()->Kind() : lfStandard;
  }
  TcxCustomEditViewInfo* vi = FEdit->EditViewInfo();
  if (!vi || vi->ButtonCount() == 0) return lfStandard;
  switch (vi->Button(0)->Style) {
    case btsFlat:
    case btsSimple:
    case btsHotFlat: return lfFlat;
    case btsUltraFlat: return lfUltraFlat;
    case btsOffice11: return lfOffice11;
    default: return lfStandard;
  }
}

bool TcxEditPopupControlLookAndFeel::EffectiveNativeStyle() const {
  TcxCustomEditViewInfo* vi = FEdit ? FEdit->EditViewInfo() : nullptr;
  return vi && vi->NativeDrawing;
}

void TcxEditPopupControlLookAndFeel::SyncWithEdit() {
  TcxLookAndFeelValues changed;
  if (EffectiveKind() != Kind()) changed += lfvKind;
  if (EffectiveNativeStyle() != NativeStyle()) changed += lfvNativeStyle;
  Changed(changed);
}

// --- the editor ------------------------------------------------------------------------------------------

TcxCustomDropDownEdit::TcxCustomDropDownEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomMaskEdit(AOwner, AIsInplace, AKind) {
  if (!IsDesigning()) MakePopupWindow();
  FPopupControlsLookAndFeel = std::make_unique<TcxEditPopupControlLookAndFeel>(this);
  FPopupControlsLookAndFeel->OnChanged =
      TcxLookAndFeelChangedEvent(this, &TcxCustomDropDownEdit::PopupLookAndFeelChanged);
}

TcxCustomDropDownEdit::~TcxCustomDropDownEdit() {
  CancelPendingPopup();
  FPopupWindow.reset();
  FPopupControlsLookAndFeel.reset();
}

void TcxCustomDropDownEdit::BeforeDestruction() {
  // The window's events must not reach an editor on its way out.
  if (FPopupWindow) {
    FPopupWindow->OnPopupClosed = nullptr;
    FPopupWindow->OnPopupShown = nullptr;
    FPopupWindow->OnCloseQuery = nullptr;
    FPopupWindow->ClosePopup();
  }
  TcxCustomMaskEdit::BeforeDestruction();
}

void TcxCustomDropDownEdit::MakePopupWindow() {
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  FPopupWindow = props->PopupWindowClass()(this);
  FPopupWindow->ModalLoop = false;
  FPopupWindow->SetTakesFocus(props->PopupTakesFocus());
  FPopupWindow->SetTopMostWithOwner(!IsInplace());
  FPopupWindow->SetBiDiMode(BiDiMode());
  FPopupWindow->OnPopupClosed = TNotifyEvent(this, &TcxCustomDropDownEdit::PopupWindowClosed);
  FPopupWindow->OnCloseQuery = TCloseQueryEvent(this, &TcxCustomDropDownEdit::PopupWindowCloseQuery);
  FPopupWindow->OnPopupClosing = TNotifyEvent(this, &TcxCustomDropDownEdit::PopupWindowClosing);
  FPopupWindow->OnBeforePopup = TNotifyEvent(this, &TcxCustomDropDownEdit::PopupWindowShowing);
  FPopupWindow->OnPopupShown = TNotifyEvent(this, &TcxCustomDropDownEdit::PopupWindowShown);
}

std::unique_ptr<TcxCustomEditViewData> TcxCustomDropDownEdit::CreateViewData() {
  std::unique_ptr<TcxCustomEditViewData> viewData = TcxCustomMaskEdit::CreateViewData();
  if (auto* d = dynamic_cast<TcxCustomDropDownEditViewData*>(viewData.get())) {
    d->PopupOpen = IsPopupShown();
    d->HotWhileOpen = FHotWhileOpen;
  }
  return viewData;
}

bool TcxCustomDropDownEdit::IsPopupShown() { return FPopupWindow && FPopupWindow->Visible(); }

bool TcxCustomDropDownEdit::Focused() { return TcxCustomMaskEdit::Focused() || IsPopupShown(); }

IcxTextEditLookupData* TcxCustomDropDownEdit::PopupLookupList() {
  return HasLookupData() && ActiveTextProperties()->PopupShowsLookupList() ? ILookupData() : nullptr;
}

// --- opening -------------------------------------------------------------------------------------------

bool TcxCustomDropDownEdit::ShowRequestQueued() {
  if (!FPopupWindow || !FPopupWindow->HandleAllocated()) return false;
  MSG msg;
  return PeekMessage(&msg, FPopupWindow->Handle(), CM_SHOWPOPUPWINDOW, CM_SHOWPOPUPWINDOW, PM_NOREMOVE);
}

void TcxCustomDropDownEdit::SetPopupShown(bool Value) {
  if (Value == IsPopupShown()) return;
  if (!Value)
    ClosePopup(PopupCloseReasonUnknown);
  else if (!ShowRequestQueued())
    OpenPopup();
}

void TcxCustomDropDownEdit::OpenPopup() {
  if (!FPopupWindow || !HandleAllocated() || !IsWindowVisible(Handle())) return;
  FireInitPopup();
  if (!CanOpenPopup()) return;
  if (ActiveTextProperties()->HasLookupData() && ILookupData()) ILookupData()->BeforeDropDown();
  ArrangePopupWindow();
  FPopupWindow->HandleNeeded();
  FPopupWindow->SetFocusControl(PopupFocusTarget());
  PostMessage(FPopupWindow->Handle(), CM_SHOWPOPUPWINDOW, 0, 0);
}

void TcxCustomDropDownEdit::FireInitPopup() {
  FireOwnThenItem([this](TcxCustomDropDownEditProperties* p) {
    if (p->OnInitPopup) p->OnInitPopup(this);
  });
}

void TcxCustomDropDownEdit::FirePopup() {
  FCloseReason = PopupCloseReasonUnknown;
  FireOwnThenItem([this](TcxCustomDropDownEditProperties* p) {
    if (p->OnPopup) p->OnPopup(this);
  });
}

TWinControl* TcxCustomDropDownEdit::PopupFocusTarget() {
  TWinControl* target = InnerEdit() ? InnerEdit()->Control() : this;
  if (HasLookupData() && ActiveTextProperties()->PopupShowsLookupList() &&
      ActiveDropDownProperties()->PopupTakesFocus())
    if (TWinControl* list = ILookupData()->ListControl()) target = list;
  return target;
}

void TcxCustomDropDownEdit::AttachLookupList() {
  if (HasLookupData() && !IsDesigning() && ActiveTextProperties()->PopupShowsLookupList() && FPopupWindow)
    ILookupData()->InitializeList(FPopupWindow.get());
}

void TcxCustomDropDownEdit::ApplyPopupSettings() {
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  TcxCustomEditPopupWindow* w = FPopupWindow.get();
  w->SetOwnerParent(Parent());
  w->SetDirection(props->PopupDirection());
  w->SetHorzAlignment(props->PopupHorzAlignment());
  w->SetVertAlignment(props->PopupVertAlignment());
  w->SetPopupClientEdge(props->PopupClientEdge());
  w->SetPopupMinHeight(props->PopupMinHeight());
  w->SetPopupMinWidth(props->PopupMinWidth());
  w->SetPopupAutoSize(props->PopupAutoSize());
  w->SetPopupSizeable(props->PopupSizeable());
  w->SetPopupSysPanelStyle(props->PopupSysPanelStyle());
  auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData());
  if (IsInplace() && props->PopupSizeable() && data && data->UserSized) {
    w->SetPopupWidth(data->Width);
    w->SetPopupHeight(data->Height);
  } else {
    w->SetPopupWidth(props->PopupWidth());
    w->SetPopupHeight(props->PopupHeight());
  }
  auto* style = dynamic_cast<TcxCustomEditStyle*>(ActiveStyle());
  w->SetCloseButton(style ? style->MasterPopupOption() : true);
  TcxCustomEditViewInfo* vi = EditViewInfo();
  w->SetPopupBorderStyle(vi->PopupBorderStyle);
  w->SetNativeStyle(vi->NativeDrawing);
  w->SetShadow(vi->ShadowOn);
}

void TcxCustomDropDownEdit::ArrangePopupWindow() {
  TcxCustomEditPopupWindow* w = FPopupWindow.get();
  w->SetTakesFocus(ActiveDropDownProperties()->PopupTakesFocus());
  AttachLookupList();
  ApplyPopupSettings();
  w->FitToChildren();
  TPoint p;
  w->CalculatePosition(p);
  w->FitToWorkArea(p);
  w->SetBounds(p.X, p.Y, w->Width(), w->Height());
  w->RelayoutContent();
  if (TForm* form = GetParentForm(this)) {
    w->AlphaBlend = form->AlphaBlend;
    w->AlphaBlendValue = form->AlphaBlendValue;
    w->TransparentColor = form->TransparentColor;
    w->TransparentColorValue = form->TransparentColorValue;
  }
}

TRect TcxCustomDropDownEdit::PopupOwnerBounds() {
  TRect r = GetBorderDrawRect();
  if (IsInplace() && !cxRectIsEmpty(InplaceBounds())) r = InplaceBounds();
  if (EditViewInfo()->ShadowOn) r.Right += cxContainerShadowWidth;
  return cxRectOffset(r, Left(), Top());
}

void TcxCustomDropDownEdit::PlacePopupContent(const TRect& AClientRect) {
  if (HasLookupData()) ILookupData()->PositionList(AClientRect);
}

void TcxCustomDropDownEdit::PopupWindowShown(TObject*) {
  RecalculateAtCursor();
  FPopupWindow->CalculatePopupViewInfo();
  PlacePopupContent(FPopupWindow->PopupViewInfo()->ClientRect);
  FirePopup();
  RefreshDrawnText();
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  if (HasLookupData() && SelectionHighlight() && props->ImmediateDropDown() && props->PopupTakesFocus())
    ILookupData()->TypedTextChanged(Utf8Copy(CurrentDisplayText(), 0, static_cast<size_t>(std::max<Integer>(SelStart(), 0))));
  FResizedInOpening = false;
}

// --- closing -----------------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::ClosePopup(Integer AReason) {
  if (!IsPopupShown()) return;
  {
    LockChangeEvents(true);
    // An exception from the events or the posting leaves no lock behind; the
    // held-back change events fire only on the way out of a normal close.
    bool ok = false;
    ScopeExit unlock([&] { LockChangeEvents(false, ok); });
    if (AReason == PopupCloseReasonTab || AReason == PopupCloseReasonToggle || AReason == PopupCloseReasonAccept) {
      if (HasLookupData()) {
        const Variant oldKey = ILookupData()->CurrentKey();
        {
          LockClick(true);
          ScopeExit clicks([this] { LockClick(false); });
          ILookupData()->CommitItemIndex();
        }
        if (UserChanging() && !VarEqualsSameType(oldKey, ILookupData()->CurrentKey())) MarkModifiedAndClick();
      }
      if (!ActiveDropDownProperties()->PostAfterPopupClosed() && ActiveProperties()->ImmediatePost() &&
          CanPostEditValue())
        PostEditValue(true);
    }
    ok = true;
  }
  FCloseReason = AReason;
  FPopupWindow->ClosePopup();
}

void TcxCustomDropDownEdit::PopupWindowCloseQuery(TObject*, bool& CanClose) { CanClose = FireCloseQuery(); }

bool TcxCustomDropDownEdit::FireCloseQuery() {
  bool can = true;
  FireOwnThenItem([&](TcxCustomDropDownEditProperties* p) {
    if (p->OnCloseQuery) p->OnCloseQuery(this, can);
  });
  return can;
}

void TcxCustomDropDownEdit::FireCloseUp() {
  NotifyPopupClosed(FCloseReason);
  FireOwnThenItem([this](TcxCustomDropDownEditProperties* p) {
    if (p->OnCloseUp) p->OnCloseUp(this);
  });
}

void TcxCustomDropDownEdit::PopupWindowClosed(TObject*) {
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  if (props->PopupSizeable() && FResizedInOpening) {
    FUserSized = true;
    auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData());
    if (IsInplace() && data) {
      data->UserSized = true;
      data->Width = FPopupWindow->Width();
      data->Height = FPopupWindow->Height();
    } else {
      props->SetPopupWidth(FPopupWindow->Width());
      props->SetPopupHeight(FPopupWindow->Height());
    }
  }
  if (HasLookupData()) ILookupData()->CloseUp();
  if (ActiveTextProperties()->EditingStyle() == esListPick) RecalculateAtCursor();
  FireCloseUp();
  {
    LockChangeEvents(true);
    bool ok = false;
    ScopeExit unlock([&] { LockChangeEvents(false, ok); });
    if (props->PostAfterPopupClosed() && ActiveProperties()->ImmediatePost() && CanPostEditValue() &&
        ValidateDisplayText(true))
      PostEditValue(false);
    ok = true;
  }
  RecalculateAtCursor();
}

void TcxCustomDropDownEdit::CancelPendingPopup() {
  if (!FPopupWindow || !FPopupWindow->HandleAllocated()) return;
  MSG msg;
  if (PeekMessage(&msg, FPopupWindow->Handle(), CM_SHOWPOPUPWINDOW, CM_SHOWPOPUPWINDOW, PM_REMOVE))
    PopupWindowClosed(FPopupWindow.get());
}

// --- keys ----------------------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::EditKeyDown(Word& Key, TShiftState Shift) {
  const bool alt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && alt) || (Key == VK_F4 && !alt)) {
    if (IsPopupShown())
      ClosePopup(PopupCloseReasonToggle);
    else
      SetPopupShown(true);
    Key = 0;
    return;
  }
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && !alt && IsPopupShown()) {
    {
      const bool wasUser = UserChanging();
      SetUserChanging(true);
      ScopeExit user([&] { SetUserChanging(wasUser); });
      const bool accept = Key == VK_RETURN && QueryEditing();
      ClosePopup(accept ? PopupCloseReasonAccept : PopupCloseReasonCancel);
    }
    SetPopupClosedKey(true);
    if (!IsPopupShown()) {
      if (Key == VK_ESCAPE && HandleAllocated() && IsWindowOrInside(Handle(), GetCapture())) ReleaseCapture();
      Key = 0;
      return;
    }
  }
  TcxCustomMaskEdit::EditKeyDown(Key, Shift);
}

void TcxCustomDropDownEdit::EditKeyPress(char32_t& Key) {
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  if (Key >= 32 && Key <= 255 && props->ImmediateDropDown() && !IsPopupShown()) {
    SetPopupShown(true);
    if (props->PopupTakesFocus() && Key != 13 && CanOpenPopup() && PopupFocusTarget() &&
        FPopupWindow->HandleAllocated()) {
      PostMessage(FPopupWindow->Handle(), CM_POPUPTYPEDCHAR, static_cast<WPARAM>(Key), 0);
      Key = 0;
      return;
    }
  }
  TcxCustomMaskEdit::EditKeyPress(Key);
}

bool TcxCustomDropDownEdit::ShouldSendActivationKey(char32_t Key) {
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  if (!props->ImmediateDropDown()) return true;
  return !(props->PopupTakesFocus() && Key != 13);
}

void TcxCustomDropDownEdit::ActivateByKey(char32_t Key, std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxCustomMaskEdit::ActivateByKey(Key, AEditData);
  TcxCustomDropDownEditProperties* props = ActiveDropDownProperties();
  if (Key < 32 || !props->ImmediateDropDown() || props->ImmediatePopup() || ShouldSendActivationKey(Key)) return;
  SetPopupShown(true);
  if (CanOpenPopup() && PopupFocusTarget() && FPopupWindow && FPopupWindow->HandleAllocated())
    PostMessage(FPopupWindow->Handle(), CM_POPUPTYPEDCHAR, static_cast<WPARAM>(Key), 0);
}

bool TcxCustomDropDownEdit::IsClickKey(Word Key, TShiftState Shift) {
  if (TcxCustomMaskEdit::IsClickKey(Key, Shift)) return true;
  // Keys of an open popup stay away from the in-place host.
  return IsInplace() && IsPopupShown() &&
         (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl) || Key < 32 || Key > 255);
}

bool TcxCustomDropDownEdit::CanNavigateLookup(bool ByWheel) {
  if (InnerEditPending()) return false;
  return !(IsInplace() && !IsPopupShown() && !ByWheel);
}

void TcxCustomDropDownEdit::BeforeTabNavigation(TShiftState Shift) {
  if (IsPopupShown() && ActiveDropDownProperties()->PostPopupValueOnTab()) ClosePopup(PopupCloseReasonTab);
  TcxCustomMaskEdit::BeforeTabNavigation(Shift);
}

// --- activation, focus and validation -------------------------------------------------------------------------------

TcxCustomEditDataClass TcxCustomDropDownEdit::EditDataClass() {
  return [](TcxCustomEdit* AEdit) -> std::unique_ptr<TcxCustomEditData> {
    return std::make_unique<TcxCustomDropDownEditData>(AEdit);
  };
}

void TcxCustomDropDownEdit::StoreEditData(TcxCustomEditData* AEditData) {
  if (auto* data = dynamic_cast<TcxCustomDropDownEditData*>(AEditData)) {
    data->UserSized = false;
    data->Width = ActiveDropDownProperties()->PopupWidth();
    data->Height = ActiveDropDownProperties()->PopupHeight();
  }
}

void TcxCustomDropDownEdit::ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxCustomMaskEdit::ActivateEditing(AEditData);
  auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData());
  FUserSized = data && data->UserSized && ActiveDropDownProperties()->PopupSizeable();
  if (ActiveDropDownProperties()->ImmediatePopup()) SetPopupShown(true);
}

void TcxCustomDropDownEdit::ActivateByMouse(TShiftState Shift, Integer X, Integer Y,
                                            std::unique_ptr<TcxCustomEditData>& AEditData) {
  const bool was = FActivatingByMouse;
  FActivatingByMouse = true;
  ScopeExit restore([&] { FActivatingByMouse = was; });
  TcxCustomMaskEdit::ActivateByMouse(Shift, X, Y, AEditData);
}

void TcxCustomDropDownEdit::ValidateInput() {
  ClosePopup(PopupCloseReasonUnknown);
  if (auto* data = dynamic_cast<TcxCustomDropDownEditData*>(EditData())) data->UserSized = FUserSized;
  TcxCustomMaskEdit::ValidateInput();
  CancelPendingPopup();
}

void TcxCustomDropDownEdit::FocusChanged() {
  const bool popupHasFocus = ActiveDropDownProperties()->PopupTakesFocus();
  const bool innerFocused = InnerEdit() && InnerEdit()->Control()->Focused();
  if (!popupHasFocus && !innerFocused) ClosePopup(PopupCloseReasonUnknown);
  TcxCustomMaskEdit::FocusChanged();
}

void TcxCustomDropDownEdit::DoExit() {
  ClosePopup(PopupCloseReasonUnknown);
  FocusChanged();
  TcxCustomMaskEdit::DoExit();
}

void TcxCustomDropDownEdit::DoStartDock(TDragDockObject*& DragObject) {
  ClosePopup(PopupCloseReasonUnknown);
  TcxCustomMaskEdit::DoStartDock(DragObject);
}

void TcxCustomDropDownEdit::PropertiesChanged(TObject* Sender) {
  if (!ActiveDropDownProperties()->PopupSizeable()) FUserSized = false;
  if (IsPopupShown()) ArrangePopupWindow();
  TcxCustomMaskEdit::PropertiesChanged(Sender);
}

void TcxCustomDropDownEdit::ButtonDown(Integer AIndex) {
  TcxCustomMaskEdit::ButtonDown(AIndex);
  if (AIndex == ActiveDropDownProperties()->DropDownButtonIndex() && !IsPopupShown()) SetPopupShown(true);
}

// --- mouse ------------------------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  // The hot-while-open flag is the state before this press: a press that
  // closed the popup must not open it again.
  const bool wasOpen = FHotWhileOpen;
  TcxCustomMaskEdit::MouseDown(Button, Shift, X, Y);
  if (FActivatingByMouse || Button != mbLeft || !ActiveDropDownProperties()->ClickOpensPopup()) return;
  if (cxRectPtIn(EditViewInfo()->ClientRect, {X, Y}) && HandleAllocated() &&
      IsWindowOrInside(Handle(), GetFocus()) && !IsPopupShown() && !wasOpen)
    SetPopupShown(true);
}

bool TcxCustomDropDownEdit::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) {
  const bool changed = TcxCustomMaskEdit::RefreshState(P, AButton, Shift, AIsMouseEvent);
  TcxCustomEditViewInfo* vi = EditViewInfo();
  // A press (not the release) on the edit outside its buttons.
  if (IsPopupShown() && AIsMouseEvent && AButton == cxmbLeft && Shift.Contains(ssLeft) && vi->PressedButton == -1 &&
      cxRectPtIn(GetBorderDrawRect(), P))
    ClosePopup(PopupCloseReasonUnknown);
  if (AIsMouseEvent && !Shift.Contains(ssLeft))
    FHotWhileOpen = IsPopupShown() && (vi->StateFlags & csHot) != 0;
  FPopupControlsLookAndFeel->SyncWithEdit();
  return changed;
}

bool TcxCustomDropDownEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (TcxCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!CanNavigateLookup(true) || !IsPopupShown() || !HasLookupData() || ILookupData()->HasNoItems()) return false;
  if (TWinControl* list = ILookupData()->ListControl(); list && list->HandleAllocated())
    SendMessage(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<Word>(WheelDelta)),
                MAKELPARAM(static_cast<Word>(MousePos.X), static_cast<Word>(MousePos.Y)));
  return true;
}

// --- paste and lookup sync -------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::PasteFromClipboard() {
  if (!UserChanging() || !InnerTextEdit()) {
    TcxCustomMaskEdit::PasteFromClipboard();
    return;
  }
  const std::string before = InnerTextEdit()->Control()->GetText();
  TcxCustomMaskEdit::PasteFromClipboard();
  if (InnerTextEdit()->Control()->GetText() == before || !ActiveDropDownProperties()->ImmediateDropDown() ||
      IsPopupShown())
    return;
  SetPopupShown(true);
  if (HasLookupData() && HandleAllocated()) PostMessage(Handle(), CM_DROPDOWNSYNCLOOKUP, 0, 0);
}

void TcxCustomDropDownEdit::SyncLookupWithText() {
  if (!IsPopupShown() || !HasLookupData()) return;
  const Variant oldKey = ILookupData()->CurrentKey();
  {
    LockClick(true);
    ScopeExit clicks([this] { LockClick(false); });
    ILookupData()->SyncItemIndexWithText();
  }
  if (!VarEqualsSameType(oldKey, ILookupData()->CurrentKey())) MarkModifiedAndClick();
  switch (ActiveTextProperties()->EditingStyle()) {
    case esFreeText: {
      const std::string text = CurrentDisplayText();
      ShowSelectionHighlight(static_cast<size_t>(SelStart()) == Utf8CharIndex(text, text.size()) && ILookupData()->ContainsText(text));
      break;
    }
    case esListPick: ShowSelectionHighlight(true); break;
    default: break;
  }
}

// --- window -----------------------------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::CreateWnd() {
  TcxCustomMaskEdit::CreateWnd();
  AttachLookupList();
}

void TcxCustomDropDownEdit::DestroyWnd() {
  if (FPopupWindow) {
    ClosePopup(PopupCloseReasonUnknown);
    // A show request queued for the handle would go with it, leaving the
    // popup neither shown nor closed.
    CancelPendingPopup();
    FPopupWindow->DestroyHandle();
  }
  TcxCustomMaskEdit::DestroyWnd();
}

void TcxCustomDropDownEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DROPDOWNSYNCLOOKUP: SyncLookupWithText(); return;
    case CM_HINTSHOW:
      if (IsPopupShown()) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_BIDIMODECHANGED:
      TcxCustomMaskEdit::WndProc(Message);
      if (FPopupWindow) FPopupWindow->SetBiDiMode(BiDiMode());
      return;
    default: break;
  }
  TcxCustomMaskEdit::WndProc(Message);
}

void RegisterDropDownEditClasses() {
  RegisterClasses({TcxCustomDropDownEditProperties::StaticClass(), TcxCustomDropDownEditViewData::StaticClass(),
                   TcxCustomDropDownInnerEdit::StaticClass(), TcxCustomDropDownEdit::StaticClass()});
}
