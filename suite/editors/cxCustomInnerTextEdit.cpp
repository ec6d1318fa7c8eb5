#include "suite/editors/cxCustomInnerTextEdit.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/editors/InnerControlForwarding.h"
#include "suite/editors/cxEdit.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxCustomInnerTextEditHelper, TcxInterfacedPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomInnerTextEdit, TCustomEdit)

// --- helper ----------------------------------------------------------------------------

TcxCustomInnerTextEditHelper::TcxCustomInnerTextEditHelper(TcxCustomInnerTextEdit* AEdit)
    : TcxInterfacedPersistent(AEdit), FEdit(AEdit) {}

TWinControl* TcxCustomInnerTextEditHelper::Control() { return FEdit; }
TcxContainer* TcxCustomInnerTextEditHelper::ControlContainer() { return FEdit->ControlContainer(); }
TcxCustomEdit* TcxCustomInnerTextEditHelper::OwnerEdit() { return FEdit->OwnerEdit(); }

LRESULT TcxCustomInnerTextEditHelper::CallDefaultWindowProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  return FEdit->CallDefaultWindowProc(Msg, WParam, LParam);
}

Variant TcxCustomInnerTextEditHelper::EditValue() { return Variant(FEdit->GetText()); }
TNotifyEvent TcxCustomInnerTextEditHelper::OnChange() { return FEdit->OnChange; }
bool TcxCustomInnerTextEditHelper::ReadOnly() { return FEdit->ReadOnly(); }
void TcxCustomInnerTextEditHelper::LockBounds(bool ALock) { FEdit->LockBounds(ALock); }

void TcxCustomInnerTextEditHelper::FocusWithoutAutoSelect() {
  const bool saved = FEdit->AutoSelect();
  FEdit->SetAutoSelect(false);
  ScopeExit restore([this, saved] { FEdit->SetAutoSelect(saved); });
  FEdit->SetFocus();
}

void TcxCustomInnerTextEditHelper::AssignEditValue(const Variant& Value) {
  const std::string old = FEdit->GetText();
  FEdit->SetText(VarToStr(Value));
  // A designer's edit window reports no changes of its own.
  if (FEdit->ComponentState().Contains(csDesigning) && FEdit->GetText() != old) FEdit->OnChange(FEdit);
}

void TcxCustomInnerTextEditHelper::SetParent(TWinControl* Value) { FEdit->SetParent(Value); }
void TcxCustomInnerTextEditHelper::SetOnChange(TNotifyEvent Value) { FEdit->OnChange = Value; }
void TcxCustomInnerTextEditHelper::SetReadOnly(bool Value) { FEdit->SetReadOnly(Value); }
void TcxCustomInnerTextEditHelper::ClearSelection() { FEdit->ClearSelection(); }
void TcxCustomInnerTextEditHelper::CopyToClipboard() { FEdit->CopyToClipboard(); }
TAlignment TcxCustomInnerTextEditHelper::Alignment() { return FEdit->Alignment(); }
bool TcxCustomInnerTextEditHelper::AutoSelect() { return FEdit->AutoSelect(); }
TEditCharCase TcxCustomInnerTextEditHelper::CharCase() { return FEdit->CharCase(); }
TcxEditEchoMode TcxCustomInnerTextEditHelper::EchoMode() { return FEdit->EchoMode(); }
bool TcxCustomInnerTextEditHelper::HideSelection() { return FEdit->HideSelection(); }
// Composed input arrives as whole code points (WM_CHAR), so no trail byte of
// a double-byte character is ever outstanding.
char TcxCustomInnerTextEditHelper::ImeLastChar() { return 0; }
TImeMode TcxCustomInnerTextEditHelper::ImeMode() { return FEdit->ImeMode(); }
std::string TcxCustomInnerTextEditHelper::ImeName() { return FEdit->ImeName(); }
bool TcxCustomInnerTextEditHelper::KeyHandled() { return FEdit->KeyHandled(); }
Integer TcxCustomInnerTextEditHelper::MaxLength() { return FEdit->MaxLength(); }
bool TcxCustomInnerTextEditHelper::OEMConvert() { return FEdit->OEMConvert(); }
char TcxCustomInnerTextEditHelper::PasswordChar() { return FEdit->PasswordChar(); }
Integer TcxCustomInnerTextEditHelper::SelLength() { return FEdit->SelLength(); }
Integer TcxCustomInnerTextEditHelper::SelStart() { return FEdit->SelStart(); }
std::string TcxCustomInnerTextEditHelper::SelText() { return FEdit->SelText(); }

void TcxCustomInnerTextEditHelper::SelectAll() {
  if (FEdit->HandleAllocated()) FEdit->SelectAll();
}

void TcxCustomInnerTextEditHelper::SetAlignment(TAlignment Value) { FEdit->SetAlignment(Value); }
void TcxCustomInnerTextEditHelper::SetAutoSelect(bool Value) { FEdit->SetAutoSelect(Value); }
void TcxCustomInnerTextEditHelper::SetCharCase(TEditCharCase Value) { FEdit->SetCharCase(Value); }
void TcxCustomInnerTextEditHelper::SetEchoMode(TcxEditEchoMode Value) { FEdit->SetEchoMode(Value); }
void TcxCustomInnerTextEditHelper::SetHideSelection(bool Value) { FEdit->SetHideSelection(Value); }
void TcxCustomInnerTextEditHelper::SetKeyHandled(bool Value) { FEdit->SetKeyHandled(Value); }
void TcxCustomInnerTextEditHelper::SetImeMode(TImeMode Value) { FEdit->SetImeMode(Value); }
void TcxCustomInnerTextEditHelper::SetImeName(const std::string& Value) { FEdit->SetImeName(Value); }
void TcxCustomInnerTextEditHelper::SetMaxLength(Integer Value) { FEdit->SetMaxLength(Value); }
void TcxCustomInnerTextEditHelper::SetOEMConvert(bool Value) { FEdit->SetOEMConvert(Value); }
void TcxCustomInnerTextEditHelper::SetPasswordChar(char Value) { FEdit->SetPasswordChar(Value); }

void TcxCustomInnerTextEditHelper::SetSelLength(Integer Value) {
  if (FEdit->HandleAllocated()) FEdit->SetSelLength(Value);
}

void TcxCustomInnerTextEditHelper::SetSelStart(Integer Value) {
  if (FEdit->HandleAllocated()) FEdit->SetSelStart(Value);
}

void TcxCustomInnerTextEditHelper::SetSelText(const std::string& Value) { FEdit->SetSelText(Value); }

// --- inner edit ---------------------------------------------------------------------------

TcxCustomInnerTextEdit::TcxCustomInnerTextEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  FCreating = true;
  ScopeExit created([this] { FCreating = false; });
  FOwnerEdit = dynamic_cast<TcxCustomEdit*>(AOwner);
  FHelper = std::make_unique<TcxCustomInnerTextEditHelper>(this);
  ControlStyle += csDoubleClicks;
  SetParentColor(true);
  SetParentFont(false);
  TCustomEdit::SetAlignment(cxInnerTextEditDefaultAlignment);
  FEchoMode = eemNormal;
  FKeyHandled = false;
  UpdateWindowPasswordChar();
}

TcxCustomInnerTextEdit::~TcxCustomInnerTextEdit() { FHelper.reset(); }

IcxInnerTextEditOwner* TcxCustomInnerTextEdit::TextOwner() const {
  return dynamic_cast<IcxInnerTextEditOwner*>(FOwnerEdit);
}

TcxContainer* TcxCustomInnerTextEdit::ControlContainer() { return FOwnerEdit; }

LRESULT TcxCustomInnerTextEdit::CallDefaultWindowProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  return CallWindowProc(DefWndProc, Handle(), Msg, WParam, LParam);
}

void TcxCustomInnerTextEdit::ResetMargins() {
  SendMessage(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 1));
}

// --- properties -----------------------------------------------------------------------

void TcxCustomInnerTextEdit::UpdateWindowPasswordChar() {
  char32_t shown = 0;
  if (FEchoMode == eemPassword) shown = FPasswordChar ? static_cast<unsigned char>(FPasswordChar) : U'*';
  TCustomEdit::SetPasswordChar(shown);
}

void TcxCustomInnerTextEdit::SetEchoMode(TcxEditEchoMode Value) {
  if (FEchoMode == Value) return;
  FEchoMode = Value;
  UpdateWindowPasswordChar();
}

void TcxCustomInnerTextEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (FEchoMode == eemPassword) UpdateWindowPasswordChar();
}

void TcxCustomInnerTextEdit::SetAlignment(TAlignment Value) {
  if (FOwnerEdit && FOwnerEdit->ActiveProperties()->UseLeftAlignmentOnEditing()) Value = taLeftJustify;
  TCustomEdit::SetAlignment(Value);
}

void TcxCustomInnerTextEdit::LockBounds(bool ALock) {
  if (ALock)
    ++FBoundsLockCount;
  else if (FBoundsLockCount > 0)
    --FBoundsLockCount;
}

void TcxCustomInnerTextEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (FCreating || FBoundsLockCount > 0) return;
  if (!FOwnerEdit) {
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  // The editor must not realign its children while its inner edit moves.
  FOwnerEdit->SetInnerBoundsLock(true);
  ScopeExit unlock([this] { FOwnerEdit->SetInnerBoundsLock(false); });
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
}

bool TcxCustomInnerTextEdit::CanFocus() { return FOwnerEdit ? FOwnerEdit->CanFocus() : TCustomEdit::CanFocus(); }

bool TcxCustomInnerTextEdit::ExecuteAction(TBasicAction* Action) {
  return FOwnerEdit && FOwnerEdit->DataBinding()->ExecuteActionHook(Action);
}

bool TcxCustomInnerTextEdit::UpdateAction(TBasicAction* Action) {
  return FOwnerEdit && FOwnerEdit->DataBinding()->UpdateActionHook(Action);
}

// --- window --------------------------------------------------------------------------------

void TcxCustomInnerTextEdit::CreateHandle() {
  if (FOwnerEdit) FOwnerEdit->RequestRefresh();
  TCustomEdit::CreateHandle();
}

void TcxCustomInnerTextEdit::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~(ES_LEFT | ES_CENTER | ES_RIGHT);
  if (Alignment() == taRightJustify) Params.Style |= ES_RIGHT;
  if (Alignment() == taCenter) Params.Style |= ES_CENTER;
  Params.Style |= ES_AUTOHSCROLL;
  // The editor draws the frame.
  Params.Style &= ~(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME);
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TcxCustomInnerTextEdit::CreateWindowHandle(const TCreateParams& Params) {
  TCreateParams params = Params;
  params.Caption.clear();
  TCustomEdit::CreateWindowHandle(params);
  // The text goes in past the editor's hooks: taking it is no typing.
  if (HandleAllocated())
    CallDefaultWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Params.Caption.c_str()));
}

void TcxCustomInnerTextEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  ResetMargins();
}

void TcxCustomInnerTextEdit::WMSize(TMessage& Message) {
  TCustomEdit::WMSize(Message);
  ResetMargins();
}

void TcxCustomInnerTextEdit::DefaultHandler(TMessage& Message) {
  if (FOwnerEdit && FOwnerEdit->HandleInnerDefaultMessage(Message)) return;
  TCustomEdit::DefaultHandler(Message);
}

bool TcxCustomInnerTextEdit::StartsOwnerDrag() {
  if (!FOwnerEdit || FOwnerEdit->DragMode() != dmAutomatic || FOwnerEdit->ComponentState().Contains(csDesigning))
    return false;
  FOwnerEdit->BeginDrag(false);
  return true;
}

void TcxCustomInnerTextEdit::RouteClipboardMessage(UINT Msg) {
  TcxCustomEdit* owner = FOwnerEdit;
  const bool saved = owner->UserChanging();
  owner->SetUserChanging(true);
  ScopeExit restore([owner, saved] { owner->SetUserChanging(saved); });
  switch (Msg) {
    case WM_CUT:
      if (ReadOnly())
        owner->CopySelectionToClipboard();
      else
        owner->CutToClipboard();
      break;
    case WM_PASTE:
      if (!ReadOnly()) owner->PasteFromClipboard();
      break;
    case WM_CLEAR:
      if (!ReadOnly())
        if (IcxInnerTextEditOwner* text = TextOwner()) text->EraseSelection();
      break;
    default: break;
  }
}

void TcxCustomInnerTextEdit::WndProc(TMessage& Message) {
  if (FOwnerEdit && FOwnerEdit->HandleInnerDialogKey(Message)) return;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (StartsOwnerDrag()) return;
      break;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: Message.Result = 0; return;
    case WM_GETDLGCODE:
      TCustomEdit::WndProc(Message);
      Message.Result |= DLGC_WANTCHARS;
      if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
      if (FOwnerEdit && (FOwnerEdit->IsInplace() || FOwnerEdit->IsPopupShown())) Message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
      if (!FOwnerEdit) break;
      RouteClipboardMessage(Message.Msg);
      Message.Result = 0;
      return;
    default: break;
  }
  TCustomEdit::WndProc(Message);
}

// --- focus -----------------------------------------------------------------------------------

void TcxCustomInnerTextEdit::FocusChangedInOwner() {
  if (ComponentState().Contains(csDestroying) || !FOwnerEdit || FOwnerEdit->IsBeingDestroyed()) return;
  InnerControlForwarding::FocusChanged(FOwnerEdit);
}

void TcxCustomInnerTextEdit::WMSetFocus(TMessage& Message) {
  TCustomEdit::WMSetFocus(Message);
  // The focus coming over from the editor's own window changes nothing the
  // editor shows.
  if (FOwnerEdit && FOwnerEdit->HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == FOwnerEdit->Handle())
    return;
  FocusChangedInOwner();
}

void TcxCustomInnerTextEdit::WMKillFocus(TMessage& Message) {
  TCustomEdit::WMKillFocus(Message);
  FocusChangedInOwner();
}

// --- keys ----------------------------------------------------------------------------------

void TcxCustomInnerTextEdit::KeyDown(Word& Key, TShiftState Shift) {
  FKeyHandled = false;
  if (FOwnerEdit) {
    InnerControlForwarding::KeyDown(FOwnerEdit, Key, Shift);
    if (Key == 0) FKeyHandled = true;
  }
  if (Key != 0) TCustomEdit::KeyDown(Key, Shift);
}

void TcxCustomInnerTextEdit::KeyPress(char32_t& Key) {
  FKeyHandled = false;
  if (Key == U'\t') Key = 0;
  if (Key != 0 && FOwnerEdit) {
    InnerControlForwarding::KeyPress(FOwnerEdit, Key);
    if (Key == 0) FKeyHandled = true;
  }
  // The single-line window beeps at Enter and Escape.
  if ((Key == U'\r' || Key == U'\x1b') && FOwnerEdit) {
    IcxInnerTextEditOwner* text = TextOwner();
    const bool popupClosed = text && text->PopupClosedKey();
    if (FOwnerEdit->IsInplace() || popupClosed || (Key == U'\r' && text && !text->BeepOnEnter())) Key = 0;
    if (text) text->SetPopupClosedKey(false);
  }
  if (Key != 0) TCustomEdit::KeyPress(Key);
}

void TcxCustomInnerTextEdit::KeyUp(Word& Key, TShiftState Shift) {
  FKeyHandled = false;
  if (Key == VK_TAB) Key = 0;
  if (Key != 0 && FOwnerEdit) {
    InnerControlForwarding::KeyUp(FOwnerEdit, Key, Shift);
    if (Key == 0) FKeyHandled = true;
  }
  if (Key != 0) TCustomEdit::KeyUp(Key, Shift);
}

void TcxCustomInnerTextEdit::WMKeyDown(TMessage& Message) {
  const TShiftState shift = KeyDataToShiftState(Message.LParam);
  if (FOwnerEdit && FOwnerEdit->IsPopupShown()) {
    auto* properties = dynamic_cast<TcxCustomTextEditProperties*>(FOwnerEdit->ActiveProperties());
    IcxInnerTextEditOwner* text = TextOwner();
    TWinControl* list = text ? text->LookupListControl() : nullptr;
    if (list && properties && properties->IsLookupListKey(static_cast<Word>(Message.WParam), shift)) {
      SendMessage(list->Handle(), WM_KEYDOWN, Message.WParam, Message.LParam);
      return;
    }
  }
  TcxCustomInnerTextEditPrevState state;
  SaveInnerTextEditState(FHelper.get(), true, state);
  FKeyHandled = false;
  TCustomEdit::WMKeyDown(Message);
  auto key = static_cast<Word>(Message.WParam);
  // A key that neither the editor took nor changed anything in the window
  // may be the host's (a grid moving to the next row).
  if (!FKeyHandled && key != 0 && !InnerTextEditStateChanged(FHelper.get(), state))
    if (IcxInnerTextEditOwner* text = TextOwner()) {
      text->ForwardUnusedKey(key, shift);
      Message.WParam = key;
    }
}

void TcxCustomInnerTextEdit::WMChar(TMessage& Message) {
  TcxCustomInnerTextEditPrevState state;
  SaveInnerTextEditState(FHelper.get(), true, state);
  FKeyHandled = false;
  TCustomEdit::WMChar(Message);
  IcxInnerTextEditOwner* text = TextOwner();
  if (!text) return;
  text->SetLookupChanging(false);
  // Typing over an auto-completed tail ends its highlight.
  if (!FKeyHandled && InnerTextEditStateChanged(FHelper.get(), state)) text->ShowSelectionHighlight(false);
}

// --- mouse and drag ----------------------------------------------------------------------------

void TcxCustomInnerTextEdit::Click() {
  TCustomEdit::Click();
  InnerControlForwarding::Click(FOwnerEdit);
}

void TcxCustomInnerTextEdit::DblClick() {
  TCustomEdit::DblClick();
  InnerControlForwarding::DblClick(FOwnerEdit);
}

// The wheel is the editor's: answering "not handled" passes it on to the
// parent, which is the editor.
bool TcxCustomInnerTextEdit::DoMouseWheel(TShiftState, Integer, TPoint) { return false; }

void TcxCustomInnerTextEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomEdit::MouseDown(Button, Shift, X, Y);
  InnerControlForwarding::MouseDown(FOwnerEdit, this, Button, Shift, X, Y);
}

void TcxCustomInnerTextEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  InnerControlForwarding::MouseMove(FOwnerEdit, this, Shift, X, Y);
}

void TcxCustomInnerTextEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  InnerControlForwarding::MouseUp(FOwnerEdit, this, Button, Shift, X, Y);
}

void TcxCustomInnerTextEdit::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  if (FOwnerEdit)
    InnerControlForwarding::DragOver(FOwnerEdit, this, Source, X, Y, State, Accept);
  else
    TCustomEdit::DragOver(Source, X, Y, State, Accept);
}

void TcxCustomInnerTextEdit::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (FOwnerEdit)
    InnerControlForwarding::DragDrop(FOwnerEdit, this, Source, X, Y);
  else
    TCustomEdit::DragDrop(Source, X, Y);
}

void TcxCustomInnerTextEdit::CMMouseLeave(TMessage& Message) {
  TCustomEdit::CMMouseLeave(Message);
  // The editor's hot state follows the cursor out of the inner edit.
  if (FOwnerEdit && !FOwnerEdit->IsBeingDestroyed()) FOwnerEdit->RecalculateAtCursor(true);
}

void RegisterCustomInnerTextEditClasses() { RegisterClasses({TcxCustomInnerTextEdit::StaticClass()}); }
