#include "suite/editors/cxMaskEditStandardMode.h"

#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxInnerTextEdit.h"

VXN_IMPLEMENT_CLASS(TcxMaskEditStandardMode, TcxMaskEditCustomMode)

namespace {

Integer CharCount(const std::string& Text) { return static_cast<Integer>(Utf8CharCount(Text)); }

std::string ReplaceChar(const std::string& Text, Integer Position, char32_t Ch) {
  return Utf8Copy(Text, 0, static_cast<size_t>(Position)) + Utf8Encode(Ch) +
         Utf8Copy(Text, static_cast<size_t>(Position) + 1, std::string::npos);
}

}  // namespace

TcxMaskEditStandardMode::TcxMaskEditStandardMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FMask(std::make_unique<TcxStandardMask>()) {}

TcxMaskEditStandardMode::~TcxMaskEditStandardMode() = default;

char32_t TcxMaskEditStandardMode::BlankChar(Integer) { return FMask->BlankChar(); }

bool TcxMaskEditStandardMode::IsLiteral(Integer Position) const {
  return Position >= 0 && Position < FMask->ItemCount() &&
         dynamic_cast<TcxStandardMaskLiteralItem*>(FMask->ItemList(Position)) != nullptr;
}

Integer TcxMaskEditStandardMode::SelStart() { return OwnerEdit() ? OwnerEdit()->SelStart() : 0; }
Integer TcxMaskEditStandardMode::SelLength() { return OwnerEdit() ? OwnerEdit()->SelLength() : 0; }

void TcxMaskEditStandardMode::AssignSelStart(Integer Value) {
  if (OwnerEdit()) OwnerEdit()->AssignSelStart(Value);
}

void TcxMaskEditStandardMode::CompileMask(const std::string& Mask) {
  SetCompiledMask(Mask);
  if (IsMaskEmpty(Mask)) return;
  FMask->SetMaskText(Mask);
  SetEditValuePending(!EditReady());
}

std::string TcxMaskEditStandardMode::EmptyMaskedText() { return FMask->EmptyValue(); }

std::string TcxMaskEditStandardMode::FormatText(const std::string& Text) {
  std::string text = Text;
  FMask->Format(text, true);
  return text;
}

std::string TcxMaskEditStandardMode::DisplayValueOf(const std::string& Text) {
  if (FMask->ItemCount() == 0) return Text;
  std::string text = Text;
  // An editor's own character case does the converting then.
  FMask->Format(text, Properties()->CharCase() == ecNormal);
  FMask->ValueText(text);
  return text;
}

bool TcxMaskEditStandardMode::IsTextValid(const std::string& Text) {
  if (FMask->IsValid(Text)) return true;
  return Properties()->IgnoreMaskBlank() && Text == FormatText(std::string());
}

void TcxMaskEditStandardMode::UpdateEditValueIfNeeded() {
  if (!EditValuePending()) return;
  if (OwnerEdit()) OwnerEdit()->AssignEditValueAndClick(Variant(FMask->EmptyValue()));
  SetEditValuePending(false);
}

void TcxMaskEditStandardMode::UpdateCaretSelection() {
  TcxCustomMaskEdit* edit = OwnerEdit();
  if (!edit || !edit->HandleAllocated() || !edit->IsMasked() || SelLength() != 0) return;
  // The caret of a standard mask is a one-character overwrite cursor.
  SetInnerSelLength(1);
}

void TcxMaskEditStandardMode::SetModeText(const std::string&) { UpdateCaretSelection(); }

void TcxMaskEditStandardMode::SyncEditValueFromText() {
  TcxMaskEditCustomMode::SyncEditValueFromText();
  UpdateCaretSelection();
}

bool TcxMaskEditStandardMode::CaretAtEnd() { return SelStart() == CharCount(Text()); }

bool TcxMaskEditStandardMode::CaretAtFirstPosition() {
  Integer first = 0;
  while (first < FMask->ItemCount() && IsLiteral(first)) ++first;
  const Integer selStart = SelStart();
  return first >= selStart && (SelLength() < 2 || OwnerEdit()->CaretCharIndex() == selStart);
}

void TcxMaskEditStandardMode::BeforePaste() {
  FSavedSelStart = SelStart();
  SetInnerSelStart(FSavedSelStart);
  SetInnerSelLength(PastedLength());
}

void TcxMaskEditStandardMode::RemaskPastedText() {
  AssignSelStart(FSavedSelStart + PastedLength());
  const Integer length = CharCount(Text());
  if (SelStart() >= length) AssignSelStart(length - 1);
  if (SelStart() < 0) AssignSelStart(0);
  if (IsLiteral(SelStart())) {
    OwnerEdit()->SetShiftHeld(false);
    MoveRight();
  }
}

bool TcxMaskEditStandardMode::EraseSelection() {
  const Integer selStart = SelStart();
  const Integer selEnd = selStart + SelLength();
  for (Integer p = selStart; p < selEnd; ++p) {
    if (p >= FMask->ItemCount() || IsLiteral(p)) continue;
    const char32_t blank = BlankChar(p + 1);
    if (blank == 0) continue;
    OwnerEdit()->SetInnerEditValue(Variant(ReplaceChar(Text(), p, blank)));
    AssignSelStart(selStart);
  }
  return false;
}

bool TcxMaskEditStandardMode::Backspace() {
  if (SelLength() <= 1) MoveLeft();
  EraseSelection();
  return false;
}

bool TcxMaskEditStandardMode::MoveToEnd() {
  if (OwnerEdit()->ShiftHeld()) return true;
  AssignSelStart(CharCount(Text()));
  return false;
}

bool TcxMaskEditStandardMode::MoveToStart() {
  if (OwnerEdit()->ShiftHeld()) return true;
  AssignSelStart(0);
  if (FMask->ItemCount() > 0 && IsLiteral(0)) MoveRight();
  return false;
}

bool TcxMaskEditStandardMode::MoveLeft() {
  TcxCustomMaskEdit* edit = OwnerEdit();
  const Integer selStart = SelStart();
  const Integer selLength = SelLength();
  if (edit->ShiftHeld()) {
    if (selLength != 1) return true;
    // The cursor moves one on, anchored before the next character; the two
    // sent Lefts and the default one that follows leave the character under
    // the former cursor and the one before it selected.
    edit->AssignSelStart(selStart + 1);
    edit->AssignSelLength(0);
    edit->SendKey(win::VK_LEFT);
    edit->SendKey(win::VK_LEFT);
    return true;
  }
  const Integer length = CharCount(Text());
  if (selLength >= 2) {
    Integer e = selStart + selLength;
    if (e >= length) --e;
    e = std::max<Integer>(e, 0);
    Integer n = 0;
    bool found = false;
    for (Integer p = selStart; p <= e; ++p) {
      if (!IsLiteral(p)) {
        found = true;
        break;
      }
      ++n;
    }
    if (!found) n = selStart + selLength < length ? 0 : e - selStart + 1;
    AssignSelStart(0);
    AssignSelStart(selStart + n);
    return false;
  }
  Integer r = 0;
  while (selStart - r - 1 >= 0 && IsLiteral(selStart - r - 1)) ++r;
  if (r < selStart) AssignSelStart(selStart - r - 1);
  return false;
}

bool TcxMaskEditStandardMode::MoveRight() {
  TcxCustomMaskEdit* edit = OwnerEdit();
  const Integer selStart = SelStart();
  const Integer selLength = SelLength();
  const Integer length = CharCount(Text());
  if (edit->ShiftHeld()) {
    if (selLength == 1 && edit->CaretCharIndex() == selStart) edit->AssignSelLength(0);
    return true;
  }
  if (selLength < 2) {
    Integer r = 0;
    while (IsLiteral(selStart + 1 + r)) ++r;
    const Integer next = selStart + r + 1;
    AssignSelStart(next > length ? selStart : next);
    return false;
  }
  Integer e = selStart + selLength;
  if (e < length) {
    Integer t = 0;
    bool found = false;
    for (Integer p = e - 1; p >= selStart; --p) {
      if (!IsLiteral(p)) {
        found = true;
        break;
      }
      ++t;
    }
    if (!found) t = 0;
    e = e - t - 1;
  }
  AssignSelStart(0);
  AssignSelStart(e);
  return false;
}

bool TcxMaskEditStandardMode::TypeChar(char32_t& Ch) {
  TcxCustomMaskEdit* edit = OwnerEdit();
  const std::string text = Text();
  const Integer p = SelStart();
  if (text.empty() || p >= CharCount(text) || p >= FMask->ItemCount()) return false;
  if (IsLiteral(p)) {
    edit->SetShiftHeld(false);
    if (SelLength() > 1) EraseSelection();
    MoveRight();
    if (SelStart() != p) return TypeChar(Ch);
    return false;
  }
  if (!FMask->ItemList(p)->Check(Ch) || !edit->AcceptsCharAtPosition(Ch, p + 1)) return false;
  if (Ch == 0) {
    Beep();
    return false;
  }
  if (SelLength() > 1) EraseSelection();
  edit->SetInnerEditValue(Variant(ReplaceChar(Text(), p, Ch)));
  AssignSelStart(p);
  edit->SetShiftHeld(false);
  MoveRight();
  return false;
}
