#include "platform/forms/Mask.h"

#include <cwctype>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "platform/rtl/ScopeExit.h"

using namespace win;

VXN_IMPLEMENT_CLASS(EDBEditError, Exception)

namespace {

std::u32string Decode(std::string_view s) {
  std::u32string out;
  for (size_t pos = 0; pos < s.size();) out += Utf8Decode(s, pos);
  return out;
}

std::string Encode(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) out += Utf8Encode(c);
  return out;
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

// Letters beyond ASCII (Chinese among them) count as letters, as a double-byte
// character did.
bool IsLetter(char32_t c) {
  if (c < 0x80) return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
  return std::iswalpha(static_cast<wint_t>(c)) || c >= 0x2E80;
}

char32_t Upper(char32_t c) { return static_cast<char32_t>(std::towupper(static_cast<wint_t>(c))); }
char32_t Lower(char32_t c) { return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c))); }

// The field separators are the last two unescaped ';' (or the last one).
void SplitFields(std::u32string_view all, std::u32string& mask, std::u32string& save, std::u32string& blank,
                 int& fields) {
  std::vector<size_t> seps;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] == U'\\') {
      ++i;
      continue;
    }
    if (all[i] == U';') seps.push_back(i);
  }
  fields = 1;
  mask = all;
  if (seps.empty()) return;
  if (seps.size() >= 2) {
    size_t a = seps[seps.size() - 2], b = seps.back();
    mask = all.substr(0, a);
    save = all.substr(a + 1, b - a - 1);
    blank = all.substr(b + 1);
    fields = 3;
  } else {
    mask = all.substr(0, seps[0]);
    save = all.substr(seps[0] + 1);
    fields = 2;
  }
}

}  // namespace

// EditMaskFormat ----------------------------------------------------------------------------

EditMaskFormat::EditMaskFormat(std::string_view EditMask) {
  std::u32string mask, save, blank;
  int fields = 1;
  SplitFields(Decode(EditMask), mask, save, blank, fields);
  if (fields >= 2 && !save.empty()) SaveLiterals_ = save[0] != U'0';
  if (fields >= 3 && !blank.empty()) Blank_ = blank[0];
  int caseConv = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    char32_t c = mask[i];
    Position p;
    switch (c) {
      case U'!': Reverse_ = true; continue;
      case U'>':
        if (i + 1 < mask.size() && mask[i + 1] == U'<') {
          ++i;
          caseConv = 0;
        } else {
          caseConv = 1;
        }
        continue;
      case U'<': caseConv = -1; continue;
      case U'\\':
        if (++i >= mask.size()) continue;
        p.Literal = true;
        p.Char = mask[i];
        break;
      case U'L': p.Type = Kind::Letter; p.Required = true; break;
      case U'l': p.Type = Kind::Letter; break;
      case U'A': p.Type = Kind::AlphaNum; p.Required = true; break;
      case U'a': p.Type = Kind::AlphaNum; break;
      case U'C': p.Type = Kind::Any; p.Required = true; break;
      case U'c': p.Type = Kind::Any; break;
      case U'0': p.Type = Kind::Digit; p.Required = true; break;
      case U'9': p.Type = Kind::Digit; break;
      case U'#': p.Type = Kind::DigitOrSign; break;
      case U':': p.Literal = true; p.Char = static_cast<unsigned char>(DefaultFormatSettings().TimeSeparator); break;
      case U'/': p.Literal = true; p.Char = static_cast<unsigned char>(DefaultFormatSettings().DateSeparator); break;
      case U'_': p.Literal = true; p.Char = U' '; break;
      default: p.Literal = true; p.Char = c; break;
    }
    p.Case = caseConv;
    Positions_.push_back(p);
  }
}

char32_t EditMaskFormat::Accept(size_t Pos, char32_t C) const {
  if (Pos >= Positions_.size() || Positions_[Pos].Literal || C < 0x20) return 0;
  const Position& p = Positions_[Pos];
  bool ok = false;
  switch (p.Type) {
    case Kind::Letter: ok = IsLetter(C); break;
    case Kind::AlphaNum: ok = IsLetter(C) || IsDigit(C); break;
    case Kind::Any: ok = true; break;
    case Kind::Digit: ok = IsDigit(C); break;
    case Kind::DigitOrSign: ok = IsDigit(C) || C == U'+' || C == U'-'; break;
  }
  if (!ok) return 0;
  if (p.Case > 0) return Upper(C);
  if (p.Case < 0) return Lower(C);
  return C;
}

size_t EditMaskFormat::NextInput(size_t Pos) const {
  while (Pos < Positions_.size() && Positions_[Pos].Literal) ++Pos;
  return std::min(Pos, Positions_.size());
}

size_t EditMaskFormat::PrevInput(size_t Pos) const {
  while (Pos > 0) {
    --Pos;
    if (!Positions_[Pos].Literal) return Pos;
  }
  return Positions_.size();
}

std::u32string EditMaskFormat::Template() const {
  std::u32string t;
  for (const Position& p : Positions_) t += p.Literal ? p.Char : Blank_;
  return t;
}

std::u32string EditMaskFormat::ToEditText(std::string_view Text) const {
  std::u32string value = Decode(Text);
  std::u32string edit = Template();
  // The slots the text's characters go to, in order.
  std::vector<size_t> slots;
  for (size_t i = 0; i < Positions_.size(); ++i)
    if (SaveLiterals_ || !Positions_[i].Literal) slots.push_back(i);
  if (Reverse_ && value.size() < slots.size()) value.insert(0, slots.size() - value.size(), U' ');
  for (size_t k = 0; k < slots.size() && k < value.size(); ++k) {
    size_t i = slots[k];
    if (Positions_[i].Literal) continue;
    char32_t c = value[k] == U' ' ? 0 : Accept(i, value[k]);
    edit[i] = c ? c : Blank_;
  }
  return edit;
}

std::string EditMaskFormat::ToText(const std::u32string& EditText) const {
  std::u32string text;
  for (size_t i = 0; i < Positions_.size() && i < EditText.size(); ++i) {
    if (Positions_[i].Literal) {
      if (SaveLiterals_) text += EditText[i];
    } else {
      text += EditText[i] == Blank_ ? U' ' : EditText[i];
    }
  }
  return Encode(text);
}

size_t EditMaskFormat::FirstMissing(const std::u32string& EditText) const {
  for (size_t i = 0; i < Positions_.size(); ++i)
    if (!Positions_[i].Literal && Positions_[i].Required && (i >= EditText.size() || EditText[i] == Blank_ ||
                                                            EditText[i] == U' '))
      return i;
  return Positions_.size();
}

// TCustomMaskEdit ---------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomMaskEdit, TCustomEdit)

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const std::string& Value) {
  if (Value == EditMask_) return;
  std::string oldText = GetText();
  EditMask_ = Value;
  Mask_ = EditMaskFormat(Value);
  if (IsMasked())
    SetEditText(Encode(Mask_.ToEditText(oldText)));
  else
    TCustomEdit::SetText(oldText);
  ApplyLimit();
  if (HandleAllocated()) {
    SetModified(false);
    if (GetFocus() == Handle()) SetCursor(Mask_.NextInput(0));
  }
}

void TCustomMaskEdit::ApplyLimit() {
  if (IsMasked())
    SetMaxLength(static_cast<Integer>(Mask_.Size()));
  else
    SetMaxLength(0);
}

std::string TCustomMaskEdit::EditText() const { return TCustomEdit::GetText(); }

void TCustomMaskEdit::SetEditText(const std::string& Value) {
  if (EditText() == Value) return;
  // The base compares the old text with the new one through GetText, which
  // must then read the edit text too.
  RawText_ = true;
  ScopeExit raw([this] { RawText_ = false; });
  TCustomEdit::SetText(Value);
}

std::string TCustomMaskEdit::GetText() const {
  if (!IsMasked() || RawText_) return TCustomEdit::GetText();
  return Mask_.ToText(Edit());
}

void TCustomMaskEdit::SetText(const std::string& Value) {
  if (!IsMasked()) {
    TCustomEdit::SetText(Value);
    return;
  }
  SetEditText(Encode(Mask_.ToEditText(Value)));
}

std::u32string TCustomMaskEdit::Edit() const {
  std::u32string e = Decode(EditText());
  // The window may hold anything (set through messages); read it as the mask.
  if (e.size() != Mask_.Size()) e.resize(Mask_.Size(), Mask_.Blank());
  return e;
}

void TCustomMaskEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  ApplyLimit();
}

void TCustomMaskEdit::Store(const std::u32string& Text) {
  std::string utf8 = Encode(Text);
  if (utf8 == EditText()) return;
  SetEditText(utf8);
  SetModified(true);
}

void TCustomMaskEdit::SetCursor(size_t Pos) {
  if (!HandleAllocated()) return;
  if (Pos >= Mask_.Size())
    SetSel(static_cast<Integer>(Mask_.Size()), static_cast<Integer>(Mask_.Size()));
  else
    SetSel(static_cast<Integer>(Pos), static_cast<Integer>(Pos + 1));
}

void TCustomMaskEdit::BlankRange(std::u32string& Text, size_t Start, size_t Stop) const {
  for (size_t i = Start; i < Stop && i < Text.size(); ++i)
    if (!Mask_.IsLiteral(i)) Text[i] = Mask_.Blank();
}

void TCustomMaskEdit::InputChar(char32_t C) {
  Integer s, t;
  GetSel(s, t);
  auto start = static_cast<size_t>(s);
  std::u32string text = Edit();
  // Typing the literal that stands at the caret steps over it.
  if (start < Mask_.Size() && Mask_.IsLiteral(start) && Mask_.LiteralAt(start) == C && t - s <= 1) {
    SetCursor(Mask_.NextInput(start + 1));
    return;
  }
  size_t pos = Mask_.NextInput(start);
  char32_t stored = Mask_.Accept(pos, C);
  if (!stored) {
    MessageBeep(0);
    return;
  }
  if (t - s > 1) BlankRange(text, start, static_cast<size_t>(t));
  text[pos] = stored;
  Store(text);
  SetCursor(Mask_.NextInput(pos + 1));
}

void TCustomMaskEdit::DeleteKey(bool Back) {
  Integer s, t;
  GetSel(s, t);
  std::u32string text = Edit();
  auto start = static_cast<size_t>(s);
  if (t - s > 1) {
    BlankRange(text, start, static_cast<size_t>(t));
    Store(text);
    SetCursor(Mask_.NextInput(start));
    return;
  }
  size_t pos = Back ? Mask_.PrevInput(start) : Mask_.NextInput(start);
  if (pos >= Mask_.Size()) return;
  text[pos] = Mask_.Blank();
  Store(text);
  SetCursor(pos);
}

void TCustomMaskEdit::ArrowKey(Word Key) {
  Integer s, t;
  GetSel(s, t);
  auto start = static_cast<size_t>(s);
  size_t pos = start;
  switch (Key) {
    case VK_LEFT: {
      size_t p = t - s > 1 ? Mask_.NextInput(start) : Mask_.PrevInput(start);
      pos = p < Mask_.Size() ? p : Mask_.NextInput(0);
      break;
    }
    case VK_RIGHT: pos = t - s > 1 ? Mask_.NextInput(static_cast<size_t>(t)) : Mask_.NextInput(start + 1); break;
    case VK_HOME: pos = Mask_.NextInput(0); break;
    case VK_END: pos = Mask_.Size(); break;
  }
  SetCursor(pos);
}

void TCustomMaskEdit::MaskClear() {
  if (ReadOnly()) return;
  Integer s, t;
  GetSel(s, t);
  if (s == t) return;
  std::u32string text = Edit();
  BlankRange(text, static_cast<size_t>(s), static_cast<size_t>(t));
  Store(text);
  SetCursor(Mask_.NextInput(static_cast<size_t>(s)));
}

// The clipboard's characters go in one by one as if typed; the first one a
// position refuses ends the paste with a beep.
void TCustomMaskEdit::MaskPaste() {
  if (ReadOnly()) return;
  std::string clip;
  if (!GetClipboardText(Handle(), &clip)) return;
  std::u32string chars = Decode(clip);
  Integer s, t;
  GetSel(s, t);
  std::u32string text = Edit();
  if (t - s > 1) BlankRange(text, static_cast<size_t>(s), static_cast<size_t>(t));
  size_t pos = static_cast<size_t>(s);
  for (char32_t c : chars) {
    if (c == U'\r' || c == U'\n') break;
    if (pos < Mask_.Size() && Mask_.IsLiteral(pos) && Mask_.LiteralAt(pos) == c) {
      ++pos;
      continue;
    }
    pos = Mask_.NextInput(pos);
    char32_t stored = Mask_.Accept(pos, c);
    if (!stored) {
      MessageBeep(0);
      break;
    }
    text[pos++] = stored;
  }
  Store(text);
  SetCursor(Mask_.NextInput(pos));
}

void TCustomMaskEdit::WndProc(TMessage& Message) {
  if (IsMasked()) {
    switch (Message.Msg) {
      case WM_CUT:
        SendMessage(Handle(), WM_COPY, 0, 0);
        MaskClear();
        return;
      case WM_CLEAR: MaskClear(); return;
      case WM_PASTE: MaskPaste(); return;
    }
  }
  TCustomEdit::WndProc(Message);
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0) return;
  bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_ESCAPE:
      if (Modified()) {
        Reset();
        Key = 0;
      }
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
      if (shift || ctrl) return;  // selecting stays the window's
      ArrowKey(Key);
      Key = 0;
      return;
    case VK_BACK:
    case VK_DELETE:
      if (Key == VK_DELETE && shift) {
        SendMessage(Handle(), WM_CUT, 0, 0);
      } else if (!ReadOnly()) {
        DeleteKey(Key == VK_BACK);
      }
      Key = 0;
      return;
    case VK_INSERT:
      if (shift) {
        SendMessage(Handle(), WM_PASTE, 0, 0);
        Key = 0;
      }
      return;
  }
}

void TCustomMaskEdit::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0) return;
  switch (Key) {
    case 3: return;  // copying is the window's
    case 22: SendMessage(Handle(), WM_PASTE, 0, 0); break;
    case 24: SendMessage(Handle(), WM_CUT, 0, 0); break;
    default:
      if (Key >= 0x20 && Key != 0x7F && !ReadOnly()) InputChar(Key);
      break;
  }
  // Backspace was done at the key; other control characters mean nothing here.
  Key = 0;
}

void TCustomMaskEdit::DoEnter() {
  if (IsMasked() && !ReEnter_) OldValue_ = EditText();
  ReEnter_ = false;
  TCustomEdit::DoEnter();
  if (IsMasked() && HandleAllocated() && SelLength() == 0) SetCursor(Mask_.NextInput(static_cast<size_t>(SelStart())));
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  SetEditText(OldValue_);
  SetModified(false);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  size_t missing = Mask_.FirstMissing(Edit());
  if (missing >= Mask_.Size()) return;
  if (HandleAllocated() && CanFocus()) {
    ReEnter_ = true;
    SetFocus();
  }
  SetCursor(missing);
  MessageBeep(0);
  throw EDBEditError(SMaskEditErr);
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  // Losing the focus because the window (or one around it) goes away is no
  // leaving: nobody could come back to mend the value.
  bool closing = false;
  for (TControl* c = this; c && !closing; c = c->Parent())
    closing = c->ComponentState().Contains(csDestroying) ||
              (dynamic_cast<TWinControl*>(c) && c->ControlState.Contains(csDestroyingHandle));
  if (!closing) ValidateEdit();
  TCustomEdit::CMExit(Message);
}

// TMaskEdit ---------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TMaskEdit, TCustomMaskEdit)
VXN_PUBLISH(TMaskEdit) {
  P.Property("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect).Default(true);
  P.Property("BorderStyle", &TMaskEdit::BorderStyle, &TMaskEdit::SetBorderStyle).Default(bsSingle);
  P.Property("CharCase", &TMaskEdit::CharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
  P.Property("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
  P.Property("MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength).Default(0);
  P.Property("ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly).Default(false);
  P.Property("Text", &TMaskEdit::GetText, &TMaskEdit::SetText);
  P.Event("OnChange", static_cast<TNotifyEvent TMaskEdit::*>(&TMaskEdit::OnChange));
}

TMaskEdit::TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}

void RegisterMaskClasses() {
  RegisterClasses({TMaskEdit::StaticClass()});
}
