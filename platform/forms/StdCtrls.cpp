#include "platform/forms/StdCtrls.h"

#include "platform/forms/ControlColors.h"

#include <vector>

#include "platform/rtl/Utf8.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "platform/rtl/ScopeExit.h"

using namespace win;

namespace {

WNDPROC EditClassProc() {
  RegisterEditClass();
  WNDCLASSEX wc;
  GetClassInfoEx(nullptr, kEditClassName, &wc);
  return wc.lpfnWndProc;
}

// "\r", "\n" and "\r\n" each become "\r\n", the memo window's line break.
std::string AdjustLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (s[i] == '\n') {
      out += "\r\n";
    } else {
      out += s[i];
    }
  }
  return out;
}

// The lines of a text without a window: the line after a final break is not
// a line, as the window's last empty line is not.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t br = text.find("\r\n", start);
    if (br == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, br - start));
    start = br + 2;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

// TCustomEdit -------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomEdit, TWinControl)

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner), Brush_(new TBrush) {
  DefWndProc = EditClassProc();
  ControlStyle += csClickEvents;
  ControlStyle += csSetCaption;
  ControlStyle += csDoubleClicks;
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() {
  DestroyHandle();
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  DefWndProc = EditClassProc();
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (Alignment_ == taRightJustify) Params.Style |= ES_RIGHT;
  if (Alignment_ == taCenter) Params.Style |= ES_CENTER;
  if (CharCase_ == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (CharCase_ == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!HideSelection_) Params.Style |= ES_NOHIDESEL;
  if (OEMConvert_) Params.Style |= ES_OEMCONVERT;
  if (BorderStyle_ == bsSingle) {
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
  Params.WindowClassStyle = CS_DBLCLKS;
}

void TCustomEdit::CreateWnd() {
  {
    Creating_ = true;
    ScopeExit created([this] { Creating_ = false; });
    TWinControl::CreateWnd();
  }
  HWND wnd = Handle();
  SendMessage(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  SendMessage(wnd, EM_LIMITTEXT, static_cast<WPARAM>(MaxLength_), 0);
  SendMessage(wnd, EM_SETMODIFY, Modified_ ? 1 : 0, 0);
  if (PasswordChar_) SendMessage(wnd, EM_SETPASSWORDCHAR, PasswordChar_, 0);
  if (ReadOnly_) SendMessage(wnd, EM_SETREADONLY, 1, 0);
}

void TCustomEdit::DestroyWnd() {
  Modified_ = Modified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(static_cast<uintptr_t>(Message.WParam)) == EN_CHANGE && !Creating_) Change();
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      Brush_->SetColor(Color());
      Message.Result = AnswerControlColor(*this, *Brush_, reinterpret_cast<HDC>(Message.WParam));
      return;
    }
  }
  TWinControl::WndProc(Message);
}

void TCustomEdit::Change() {
  Perform(CM_CHANGED, 0, 0);
  OnChange(this);
}

void TCustomEdit::DoEnter() {
  // A click places the caret itself; only keyboard entry selects the text.
  if (AutoSelect_ && !ControlState.Contains(csLButtonDown) && HandleAllocated() &&
      !(GetWindowLongPtr(Handle(), GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  TWinControl::DoEnter();
}

// The frame is a creation style: a new window shows the new one. It is made
// from a posted notice, so whoever watches this one sees it first.
void TCustomEdit::CMCtl3DChanged(TMessage& Message) {
  TWinControl::CMCtl3DChanged(Message);
  if (BorderStyle_ == bsSingle && HandleAllocated()) PostMessage(Handle(), CM_RECREATEWND, 0, 0);
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  if (HandleAllocated()) SendMessage(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (BorderStyle_ == Value) return;
  BorderStyle_ = Value;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (CharCase_ == Value) return;
  CharCase_ = Value;
  RecreateWnd();  // the new window converts the text it starts with
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (HideSelection_ == Value) return;
  HideSelection_ = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(Integer Value) {
  MaxLength_ = Value;
  if (HandleAllocated()) SendMessage(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetOEMConvert(bool Value) {
  if (OEMConvert_ == Value) return;
  OEMConvert_ = Value;
  RecreateWnd();
}

bool TCustomEdit::Modified() const {
  if (!HandleAllocated()) return Modified_;
  return SendMessage(const_cast<TCustomEdit*>(this)->Handle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool Value) {
  Modified_ = Value;
  if (HandleAllocated()) SendMessage(Handle(), EM_SETMODIFY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (PasswordChar_ == Value) return;
  PasswordChar_ = Value;
  if (HandleAllocated()) {
    SendMessage(Handle(), EM_SETPASSWORDCHAR, Value, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  ReadOnly_ = Value;
  if (HandleAllocated()) SendMessage(Handle(), EM_SETREADONLY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (Alignment_ == Value) return;
  Alignment_ = Value;
  RecreateWnd();
}

void TCustomEdit::GetSel(Integer& Start, Integer& Stop) {
  DWORD s = 0, t = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
  Start = static_cast<Integer>(s);
  Stop = static_cast<Integer>(t);
}

void TCustomEdit::SetSel(Integer Start, Integer Stop) {
  SendMessage(Handle(), EM_SETSEL, static_cast<WPARAM>(Start), static_cast<LPARAM>(Stop));
}

Integer TCustomEdit::SelStart() {
  Integer s, t;
  GetSel(s, t);
  return s;
}

void TCustomEdit::SetSelStart(Integer Value) { SetSel(Value, Value); }

Integer TCustomEdit::SelLength() {
  Integer s, t;
  GetSel(s, t);
  return t - s;
}

void TCustomEdit::SetSelLength(Integer Value) {
  Integer s = SelStart();
  SetSel(s, s + Value);
}

std::string TCustomEdit::SelText() {
  Integer s, t;
  GetSel(s, t);
  return Utf8Copy(GetText(), static_cast<size_t>(s), static_cast<size_t>(t - s));
}

void TCustomEdit::SetSelText(const std::string& Value) {
  SendMessage(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

bool TCustomEdit::CanUndo() { return HandleAllocated() && SendMessage(Handle(), EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::Undo() { SendMessage(Handle(), WM_UNDO, 0, 0); }
void TCustomEdit::ClearUndo() { SendMessage(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }
void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::ClearSelection() { SendMessage(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessage(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessage(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessage(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::SelectAll() { SetSel(0, -1); }

// TEdit -------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TEdit, TCustomEdit)
VXN_PUBLISH(TEdit) {
  P.Property("Alignment", &TEdit::Alignment, &TEdit::SetAlignment).Default(taLeftJustify);
  P.Property("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(true);
  P.Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
  P.Property("CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
  P.Property("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(true);
  P.Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  P.Property("OEMConvert", &TEdit::OEMConvert, &TEdit::SetOEMConvert).Default(false);
  P.Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
  P.Property("Text", &TEdit::GetText, &TEdit::SetText);
  P.Event("OnChange", static_cast<TNotifyEvent TEdit::*>(&TEdit::OnChange));
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

// TMemoStrings ------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TMemoStrings, TStrings)

Integer TMemoStrings::GetCount() const {
  if (!Memo_->HandleAllocated()) return static_cast<Integer>(SplitLines(Memo_->GetText()).size());
  HWND wnd = Memo_->Handle();
  auto count = static_cast<Integer>(SendMessage(wnd, EM_GETLINECOUNT, 0, 0));
  // The empty line after a final break is where typing goes on, not a line.
  LRESULT last = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
  if (SendMessage(wnd, EM_LINELENGTH, static_cast<WPARAM>(last), 0) == 0) --count;
  return count;
}

std::string TMemoStrings::Get(Integer Index) const {
  if (!Memo_->HandleAllocated()) {
    auto lines = SplitLines(Memo_->GetText());
    if (Index < 0 || Index >= static_cast<Integer>(lines.size())) Error(SListIndexError, Index);
    return lines[static_cast<size_t>(Index)];
  }
  HWND wnd = Memo_->Handle();
  LRESULT start = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
  if (Index < 0 || start < 0) Error(SListIndexError, Index);
  LRESULT length = SendMessage(wnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  return Utf8Copy(Memo_->GetText(), static_cast<size_t>(start), static_cast<size_t>(length));
}

void TMemoStrings::Put(Integer Index, const std::string& S) {
  if (!Memo_->HandleAllocated()) {
    auto lines = SplitLines(Memo_->GetText());
    if (Index < 0 || Index >= static_cast<Integer>(lines.size())) Error(SListIndexError, Index);
    lines[static_cast<size_t>(Index)] = S;
    Memo_->SetText(JoinLines(lines));
    return;
  }
  HWND wnd = Memo_->Handle();
  LRESULT start = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
  if (Index < 0 || start < 0) Error(SListIndexError, Index);
  LRESULT length = SendMessage(wnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  SendMessage(wnd, EM_SETSEL, static_cast<WPARAM>(start), start + length);
  SendMessage(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(S.c_str()));
}

void TMemoStrings::Insert(Integer Index, const std::string& S) {
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  if (!Memo_->HandleAllocated()) {
    auto lines = SplitLines(Memo_->GetText());
    lines.insert(lines.begin() + Index, S);
    Memo_->SetText(JoinLines(lines));
    return;
  }
  HWND wnd = Memo_->Handle();
  LRESULT start = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
  std::string line;
  if (start >= 0) {
    line = S + "\r\n";
  } else {
    // After a last line without a break: the break goes before the new line.
    start = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Index - 1), 0);
    start += SendMessage(wnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    line = "\r\n" + S;
  }
  SendMessage(wnd, EM_SETSEL, static_cast<WPARAM>(start), start);
  SendMessage(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TMemoStrings::Delete(Integer Index) {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
  if (!Memo_->HandleAllocated()) {
    auto lines = SplitLines(Memo_->GetText());
    lines.erase(lines.begin() + Index);
    Memo_->SetText(JoinLines(lines));
    return;
  }
  HWND wnd = Memo_->Handle();
  LRESULT start = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
  LRESULT stop = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Index + 1), 0);
  if (stop < 0) stop = start + SendMessage(wnd, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  SendMessage(wnd, EM_SETSEL, static_cast<WPARAM>(start), stop);
  SendMessage(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Clear() { Memo_->Clear(); }

void TMemoStrings::SetText(std::string_view Value) { Memo_->SetText(AdjustLineBreaks(Value)); }

// TCustomMemo -------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomMemo, TCustomEdit)

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), Lines_(new TMemoStrings(this)) {
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
  ControlStyle -= csSetCaption;
}

TCustomMemo::~TCustomMemo() {
  DestroyHandle();
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  if (WantReturns_) Params.Style |= ES_WANTRETURN;
  // A wrapping memo has no horizontal room to scroll to.
  if (WordWrap_) Params.Style &= ~ES_AUTOHSCROLL;
  if (ScrollBars_ == ssVertical || ScrollBars_ == ssBoth) Params.Style |= WS_VSCROLL;
  if (!WordWrap_ && (ScrollBars_ == ssHorizontal || ScrollBars_ == ssBoth)) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(Message);
    if (WantTabs_)
      Message.Result |= DLGC_WANTTAB;
    else
      Message.Result &= ~DLGC_WANTTAB;
    // Without WantReturns, Enter is the dialog's (the default button's).
    if (!WantReturns_) Message.Result &= ~DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::WndProc(Message);
}

void TCustomMemo::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  if ((Key == U'\r' && !WantReturns_) || (Key == U'\t' && !WantTabs_)) Key = 0;
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (WordWrap_ == Value) return;
  WordWrap_ = Value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (ScrollBars_ == Value) return;
  ScrollBars_ = Value;
  RecreateWnd();
}

TPoint TCustomMemo::CaretPos() {
  HWND wnd = Handle();
  DWORD s = 0, t = 0;
  SendMessage(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
  auto line = static_cast<Integer>(SendMessage(wnd, EM_LINEFROMCHAR, t, 0));
  auto start = static_cast<Integer>(SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  return {static_cast<Integer>(t) - start, line};
}

void TCustomMemo::SetCaretPos(const TPoint& Value) {
  HWND wnd = Handle();
  LRESULT pos = SendMessage(wnd, EM_LINEINDEX, static_cast<WPARAM>(Value.Y), 0) + Value.X;
  SendMessage(wnd, EM_SETSEL, static_cast<WPARAM>(pos), pos);
}

// TMemo -------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TMemo, TCustomMemo)
VXN_PUBLISH(TMemo) {
  P.Property("Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
  P.Property("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
  P.Property("HideSelection", &TMemo::HideSelection, &TMemo::SetHideSelection).Default(true);
  P.Property("Lines", &TMemo::Lines, &TMemo::SetLines);
  P.Property("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
  P.Property("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
  P.Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
  P.Property("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
  P.Property("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false);
  P.Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
  P.Event("OnChange", static_cast<TNotifyEvent TMemo::*>(&TMemo::OnChange));
}

TMemo::TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}

void RegisterStdCtrlsClasses() {
  RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass()});
}
