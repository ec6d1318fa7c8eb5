#include "suite/editors/cxMaskEditRegExprMode.h"

#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Windows.h"
#include "suite/foundation/cxClasses.h"

VXN_IMPLEMENT_CLASS(TcxMaskEditRegExprMode, TcxMaskEditCustomMode)

TcxMaskEditRegExprMode::TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditCustomMode(AEdit, AProperties), FMatcher(std::make_unique<TcxRegExpr>()) {
  ApplyCaseInsensitive();
}

TcxMaskEditRegExprMode::~TcxMaskEditRegExprMode() = default;

// --- text helpers ---------------------------------------------------------------------------------

Integer TcxMaskEditRegExprMode::CharCount(const std::string& Text) { return static_cast<Integer>(Utf8CharCount(Text)); }

std::string TcxMaskEditRegExprMode::TakeFirst(std::string& Text, Integer Count) {
  const size_t bytes = Utf8ByteOffset(Text, static_cast<size_t>(std::max<Integer>(Count, 0)));
  std::string taken = Text.substr(0, bytes);
  Text.erase(0, bytes);
  return taken;
}

std::string TcxMaskEditRegExprMode::TakeLast(std::string& Text, Integer Count) {
  const Integer keep = std::max<Integer>(CharCount(Text) - std::max<Integer>(Count, 0), 0);
  const size_t bytes = Utf8ByteOffset(Text, static_cast<size_t>(keep));
  std::string taken = Text.substr(bytes);
  Text.erase(bytes);
  return taken;
}

char32_t TcxMaskEditRegExprMode::FirstChar(const std::string& Text) {
  size_t pos = 0;
  return Utf8Decode(Text, pos);
}

Integer TcxMaskEditRegExprMode::SelStart() { return OwnerEdit() ? OwnerEdit()->SelStart() : 0; }
Integer TcxMaskEditRegExprMode::SelLength() { return OwnerEdit() ? OwnerEdit()->SelLength() : 0; }
Integer TcxMaskEditRegExprMode::CaretCharIndex() { return OwnerEdit() ? OwnerEdit()->CaretCharIndex() : 0; }
bool TcxMaskEditRegExprMode::ShiftHeld() { return OwnerEdit() && OwnerEdit()->ShiftHeld(); }

void TcxMaskEditRegExprMode::Feed(const std::string& Text) {
  size_t pos = 0;
  while (pos < Text.size()) {
    char32_t ch = Utf8Decode(Text, pos);
    FMatcher->Next(ch);
  }
}

// --- compiling and converting ------------------------------------------------------------------------

void TcxMaskEditRegExprMode::ApplyCaseInsensitive() {
  if (Properties()) FMatcher->SetCaseInsensitive(Properties()->CaseInsensitive());
}

void TcxMaskEditRegExprMode::CompileMask(const std::string& Mask) {
  SetCompiledMask(Mask);
  if (IsMaskEmpty(Mask)) {
    // No pattern of an earlier mask may go on judging input.
    FMatcher->Clear();
    return;
  }
  try {
    FMatcher->Compile(Mask);
  } catch (const EcxRegExprError& e) {
    std::string message = TranslateResourceString(cxSMaskEditRegExprError);
    for (Integer i = 0; e.Errors && i < e.Errors->Count(); ++i) message += "\r\n" + e.Errors->Items(i).FullText();
    throw EcxMaskEditError(message);
  }
}

bool TcxMaskEditRegExprMode::CompileCopyInto(TcxRegExpr& Expression) {
  TStream* source = FMatcher->SourceStream();
  if (!source) return false;
  Expression.Compile(source);
  return true;
}

std::string TcxMaskEditRegExprMode::FormatText(const std::string& Text) {
  if (!FMatcher->Compiled()) return std::string();
  FMatcher->Reset();
  std::string result;
  size_t pos = 0;
  while (pos < Text.size()) {
    char32_t ch = Utf8Decode(Text, pos);
    if (FMatcher->Next(ch)) result += Utf8Encode(ch);
  }
  return result;
}

bool TcxMaskEditRegExprMode::IsTextValid(const std::string& Text) {
  if (Text.empty()) return true;
  TcxRegExpr scratch;
  scratch.SetCaseInsensitive(Properties()->CaseInsensitive());
  if (!CompileCopyInto(scratch)) return false;
  size_t pos = 0;
  while (pos < Text.size()) {
    char32_t ch = Utf8Decode(Text, pos);
    if (!scratch.Next(ch)) return false;
  }
  return Properties()->IgnoreMaskBlank() || scratch.IsFinal();
}

// --- the texts around the caret ------------------------------------------------------------------------

void TcxMaskEditRegExprMode::SyncWithCaret() {
  const std::string text = Text();
  // Besides a pending resync, a text that is no longer the two halves (an
  // empty mode facing a text is one such case) is taken again from the start.
  if (!FResyncPending && FTextBeforeCaret + FTextAfterCaret == text) return;
  FResyncPending = false;
  if (!FMatcher->Compiled()) return;
  FMatcher->Reset();
  FTextAfterCaret = text;
  FTextBeforeCaret.clear();
  const Integer caret = std::min(CaretCharIndex(), CharCount(text));
  for (Integer i = 0; i < caret; ++i) {
    char32_t ch = FirstChar(FTextAfterCaret);
    FMatcher->Next(ch);
    FTextBeforeCaret += TakeFirst(FTextAfterCaret, 1);
  }
}

bool TcxMaskEditRegExprMode::TailFits() {
  Integer accepted = 0;
  bool fits = true;
  size_t pos = 0;
  while (pos < FTextAfterCaret.size()) {
    char32_t ch = Utf8Decode(FTextAfterCaret, pos);
    if (!FMatcher->Next(ch)) {
      fits = false;
      break;
    }
    ++accepted;
  }
  for (Integer i = 0; i < accepted; ++i) FMatcher->Prev();
  return fits;
}

void TcxMaskEditRegExprMode::DropTextAfterCaret() {
  TcxCustomMaskEdit* edit = OwnerEdit();
  if (edit) {
    Variant stored;
    edit->DataBinding()->StoredDisplayText(stored);
    const std::string text = VarToStr(stored);
    const Integer start = SelStart();
    const std::string kept = Utf8Copy(text, 0, static_cast<size_t>(start)) +
                             Utf8Copy(text, static_cast<size_t>(start + CharCount(FTextAfterCaret)), std::string::npos);
    edit->DataBinding()->SetDisplayValue(Variant(kept));
    SetInnerSelStart(CharCount(kept));
  }
  FTextAfterCaret.clear();
}

void TcxMaskEditRegExprMode::TakeSelectionOut() {
  const Integer selStart = SelStart();
  const Integer selLength = SelLength();
  const Integer before = CharCount(FTextBeforeCaret);
  if (selStart == before) {
    FHeldSelection = TakeFirst(FTextAfterCaret, selLength);
    FHeldAtCaretStart = true;
  } else if (selStart + selLength == before) {
    FHeldSelection = TakeLast(FTextBeforeCaret, selLength);
    for (Integer i = 0; i < selLength; ++i) FMatcher->Prev();
    FHeldAtCaretStart = false;
  }
}

void TcxMaskEditRegExprMode::PutSelectionBack() {
  if (FHeldAtCaretStart) {
    FTextAfterCaret = FHeldSelection + FTextAfterCaret;
  } else {
    FTextBeforeCaret += FHeldSelection;
    Feed(FHeldSelection);
  }
}

void TcxMaskEditRegExprMode::StepLeft() {
  FMatcher->Prev();
  FTextAfterCaret = TakeLast(FTextBeforeCaret, 1) + FTextAfterCaret;
}

void TcxMaskEditRegExprMode::StepRight() {
  char32_t ch = FirstChar(FTextAfterCaret);
  FMatcher->Next(ch);
  TakeFirst(FTextAfterCaret, 1);
  FTextBeforeCaret += Utf8Encode(ch);
}

// --- caret moves ---------------------------------------------------------------------------------------------

bool TcxMaskEditRegExprMode::CaretAtFirstPosition() { return SelStart() == 0; }

bool TcxMaskEditRegExprMode::CaretAtEnd() { return SelStart() == CharCount(Text()); }

void TcxMaskEditRegExprMode::PrepareForSelectAll() {
  SyncWithCaret();
  Feed(FTextAfterCaret);
  FTextBeforeCaret += FTextAfterCaret;
  FTextAfterCaret.clear();
}

bool TcxMaskEditRegExprMode::MoveToEnd() {
  PrepareForSelectAll();
  return true;
}

bool TcxMaskEditRegExprMode::MoveToStart() {
  SyncWithCaret();
  if (!FTextBeforeCaret.empty()) {
    FTextAfterCaret = FTextBeforeCaret + FTextAfterCaret;
    FTextBeforeCaret.clear();
    FMatcher->Reset();
  }
  return true;
}

bool TcxMaskEditRegExprMode::MoveLeft() {
  SyncWithCaret();
  if (FTextBeforeCaret.empty()) return true;
  const Integer selLength = SelLength();
  if (selLength > 0 && !ShiftHeld()) {
    // The default handling collapses the selection to its start.
    if (SelStart() + selLength == CaretCharIndex())
      for (Integer i = 0; i < selLength && !FTextBeforeCaret.empty(); ++i) StepLeft();
    return true;
  }
  StepLeft();
  return true;
}

bool TcxMaskEditRegExprMode::MoveRight() {
  SyncWithCaret();
  if (FTextAfterCaret.empty()) return true;
  const Integer selLength = SelLength();
  if (selLength > 0 && !ShiftHeld()) {
    if (CaretCharIndex() == SelStart())
      for (Integer i = 0; i < selLength && !FTextAfterCaret.empty(); ++i) StepRight();
    return true;
  }
  StepRight();
  return true;
}

// --- typing and deleting ----------------------------------------------------------------------------------------

bool TcxMaskEditRegExprMode::TypeChar(char32_t& Ch) {
  SyncWithCaret();
  if (SelLength() > 0) TakeSelectionOut();
  bool answer = false;
  bool beep = false;
  char32_t ch = Ch;
  if (FMatcher->Next(ch)) {
    Ch = ch;
    FTextBeforeCaret += Utf8Encode(Ch);
    answer = true;
    if (!TailFits()) {
      if (!FHeldSelection.empty()) {
        // The selection must go before the character, and the tail after it.
        OwnerEdit()->SendKey(win::VK_DELETE);
        OwnerEdit()->SendChar(Ch);
        answer = false;
        beep = true;
      }
      DropTextAfterCaret();
    }
  } else {
    PutSelectionBack();
    beep = true;
  }
  FHeldSelection.clear();
  if (!answer && beep) Beep();
  return answer;
}

bool TcxMaskEditRegExprMode::Backspace() {
  SyncWithCaret();
  bool answer = true;
  if (SelLength() > 0) {
    TakeSelectionOut();
    if (!TailFits()) {
      OwnerEdit()->SendChar(8);
      DropTextAfterCaret();
      answer = false;
    }
  } else if (!FTextBeforeCaret.empty()) {
    FMatcher->Prev();
    TakeLast(FTextBeforeCaret, 1);
    // The default handling then deletes the character before the caret.
    if (!TailFits()) DropTextAfterCaret();
  }
  FHeldSelection.clear();
  if (!answer) Beep();
  return answer;
}

bool TcxMaskEditRegExprMode::EraseSelection() {
  SyncWithCaret();
  bool answer = true;
  if (SelLength() > 0) {
    TakeSelectionOut();
    if (!TailFits()) {
      OwnerEdit()->SendKey(win::VK_DELETE);
      DropTextAfterCaret();
      answer = false;
    }
  } else if (!FTextAfterCaret.empty()) {
    FHeldSelection = TakeFirst(FTextAfterCaret, 1);
    if (!TailFits()) {
      DropTextAfterCaret();
      // The default Delete then takes the last character left, so the text
      // ends at the caret.
      if (SelStart() > 0) SetInnerSelStart(SelStart() - 1);
    }
  }
  FHeldSelection.clear();
  if (!answer) Beep();
  return answer;
}

// --- texts set from outside ----------------------------------------------------------------------------------

void TcxMaskEditRegExprMode::SetModeText(const std::string& Text) {
  if (!FMatcher->Compiled()) return;
  FMatcher->Reset();
  if (PastedLength() < 1 || Text.empty()) {
    FTextBeforeCaret.clear();
    FTextAfterCaret = Text;
  } else {
    FTextAfterCaret = Text;
    FTextBeforeCaret = TakeFirst(FTextAfterCaret, SelStart() + PastedLength());
    Feed(FTextBeforeCaret);
    SetPastedLength(0);
  }
}

void TcxMaskEditRegExprMode::SyncEditValueFromText() {
  TcxMaskEditCustomMode::SyncEditValueFromText();
  if (!EditReady()) return;
  const std::string text = Text();
  OwnerEdit()->AssignSelStart(CharCount(text));
  FTextBeforeCaret = text;
  FTextAfterCaret.clear();
  if (FMatcher->Compiled()) {
    FMatcher->Reset();
    FMatcher->FilterText(FTextBeforeCaret);
  }
}
