#include "suite/editors/cxMaskEditRegExprExMode.h"

#include "platform/rtl/Utf8.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(TcxMaskEditRegExprExMode, TcxMaskEditRegExprMode)

TcxMaskEditRegExprExMode::TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : TcxMaskEditRegExprMode(AEdit, AProperties) {
  Matcher()->OnForcedCharAdded = TcxRegExpr::TForcedCharAddedEvent(this, &TcxMaskEditRegExprExMode::ForcedCharAdded);
  Matcher()->OnForcedCharRemoved =
      TcxRegExpr::TForcedCharRemovedEvent(this, &TcxMaskEditRegExprExMode::ForcedCharRemoved);
  Matcher()->SetAutoComplete(true);
  ClearForced();
}

std::string TcxMaskEditRegExprExMode::Utf8Char(char32_t Ch) { return Utf8Encode(Ch); }

void TcxMaskEditRegExprExMode::ClearForced() {
  FForcedText.clear();
  FRemovedForcedCount = 0;
}

void TcxMaskEditRegExprExMode::Complete() {
  Matcher()->SetAutoComplete(false);
  Matcher()->SetAutoComplete(true);
}

void TcxMaskEditRegExprExMode::RestoreAutoComplete() {
  ClearForced();
  Matcher()->SetAutoComplete(true);
  if (!FForcedText.empty()) ResyncFromStart();
  ClearForced();
}

void TcxMaskEditRegExprExMode::ResyncFromStart() {
  ClearForced();
  FTextBeforeCaret.clear();
  FTextAfterCaret = Text();
  if (Matcher()->Compiled()) Matcher()->Reset();
  FResyncPending = true;
}

// --- compiling and converting ------------------------------------------------------------------------

void TcxMaskEditRegExprExMode::CompileMask(const std::string& Mask) {
  ClearForced();
  // Compiling with completion on reports the pattern's forced prefix.
  TcxMaskEditRegExprMode::CompileMask(Mask);
  if (!IsMaskEmpty(Mask)) SetEditValuePending(!EditReady());
}

void TcxMaskEditRegExprExMode::UpdateEditValueIfNeeded() {
  if (!EditValuePending()) return;
  if (OwnerEdit()) OwnerEdit()->AssignEditValueAndClick(Variant(EmptyMaskedText()));
  SetEditValuePending(false);
}

bool TcxMaskEditRegExprExMode::CompileScratch(TcxRegExpr& Scratch) {
  Scratch.SetCaseInsensitive(Properties()->CaseInsensitive());
  Scratch.SetAutoComplete(false);
  if (!CompileCopyInto(Scratch)) return false;
  Scratch.OnForcedCharAdded =
      TcxRegExpr::TForcedCharAddedEvent(this, &TcxMaskEditRegExprExMode::ScratchForcedCharAdded);
  FScratchForced.clear();
  Scratch.SetAutoComplete(true);
  return true;
}

std::string TcxMaskEditRegExprExMode::EmptyMaskedText() {
  TcxRegExpr scratch;
  return CompileScratch(scratch) ? FScratchForced : std::string();
}

std::string TcxMaskEditRegExprExMode::FormatText(const std::string& Text) {
  if (!Matcher()->Compiled()) return std::string();
  Matcher()->SetAutoComplete(false);
  ClearForced();
  std::string result = TcxMaskEditRegExprMode::FormatText(Text);
  Matcher()->SetAutoComplete(true);
  result += FForcedText;
  ClearForced();
  return result;
}

bool TcxMaskEditRegExprExMode::IsTextValid(const std::string& Text) {
  TcxRegExpr scratch;
  if (!CompileScratch(scratch)) return false;
  if (Text == FScratchForced) return true;
  scratch.SetAutoComplete(false);
  scratch.Reset();
  size_t pos = 0;
  while (pos < Text.size()) {
    char32_t ch = Utf8Decode(Text, pos);
    if (!scratch.Next(ch)) return false;
  }
  return Properties()->IgnoreMaskBlank() || scratch.IsFinal();
}

void TcxMaskEditRegExprExMode::SetModeText(const std::string& Text) {
  if (!Matcher()->Compiled()) return;
  Matcher()->SetAutoComplete(false);
  Matcher()->Reset();
  Feed(Text);
  ClearForced();
  Matcher()->SetAutoComplete(true);
  FTextBeforeCaret = Text + FForcedText;
  FTextAfterCaret.clear();
  ClearForced();
  if (EditReady()) {
    FResyncPending = true;
    SyncWithCaret();
  }
  SetPastedLength(0);
}

// --- walking to the caret ------------------------------------------------------------------------------------

void TcxMaskEditRegExprExMode::StepForward() {
  ClearForced();
  char32_t ch = FirstChar(FTextAfterCaret);
  Matcher()->Next(ch);
  FTextBeforeCaret += TakeFirst(FTextAfterCaret, 1 + CharCount(FForcedText));
}

void TcxMaskEditRegExprExMode::StepBack() {
  ClearForced();
  Matcher()->Prev();
  FTextAfterCaret = TakeLast(FTextBeforeCaret, FRemovedForcedCount + 1) + FTextAfterCaret;
  if (Matcher()->IsStart()) {
    FTextAfterCaret = FTextBeforeCaret + FTextAfterCaret;
    FTextBeforeCaret.clear();
  }
}

void TcxMaskEditRegExprExMode::SyncWithCaret() {
  if (!EditReady() || !OwnerEdit()->HandleAllocated() || !Matcher()->Compiled()) return;
  const std::string text = Text();
  if (FTextBeforeCaret + FTextAfterCaret != text) {
    // The mode lost track of the text (or never had it): walk from the start.
    FTextAfterCaret = text;
    FTextBeforeCaret.clear();
    Matcher()->Reset();
    FResyncPending = true;
  }
  if (!FResyncPending) return;
  FResyncPending = false;
  const Integer a = SelStart();
  const Integer e = a + SelLength();
  while (CharCount(FTextBeforeCaret) < a && !FTextAfterCaret.empty()) {
    StepForward();
    if (CharCount(FTextBeforeCaret) > a) {
      StepBack();
      SetInnerSelStart(CharCount(FTextBeforeCaret));
      break;
    }
  }
  while (CharCount(FTextBeforeCaret) > a) {
    StepBack();
    if (CharCount(FTextBeforeCaret) < a) {
      SetInnerSelStart(CharCount(FTextBeforeCaret));
      break;
    }
  }
  if (a < e) {
    while (CharCount(FTextBeforeCaret) < e && !FTextAfterCaret.empty()) StepForward();
    SetInnerSelLength(CharCount(FTextBeforeCaret) - SelStart());
  }
  ClearForced();
}

// --- the tail after an edit ----------------------------------------------------------------------------------

void TcxMaskEditRegExprExMode::RefitTail() {
  Matcher()->SetAutoComplete(false);
  if (TailFits())
    RefeedTail();
  else
    DropTextAfterCaret();
  RestoreAutoComplete();
}

void TcxMaskEditRegExprExMode::RefeedTail() {
  ClearForced();
  if (FTextAfterCaret.empty()) return;
  const Integer caret = SelStart();
  Feed(FTextAfterCaret);
  SetInnerSelStart(caret + CharCount(FTextAfterCaret));
  // What the tail now forces after it is typed at the end of the text.
  Matcher()->SetAutoComplete(true);
  const std::string forced = FForcedText;
  Matcher()->SetAutoComplete(false);
  size_t pos = 0;
  while (pos < forced.size()) OwnerEdit()->SendChar(Utf8Decode(forced, pos));
  FTextAfterCaret += forced;
  for (Integer i = CharCount(FTextAfterCaret); i > 0; --i) Matcher()->Prev();
  SetInnerSelStart(caret);
  ClearForced();
}

// --- selections ------------------------------------------------------------------------------------------------

void TcxMaskEditRegExprExMode::TakeSelectionOut() {
  Matcher()->SetAutoComplete(false);
  TcxMaskEditRegExprMode::TakeSelectionOut();
  ClearForced();
  Matcher()->SetAutoComplete(true);
  if (FForcedText.empty()) return;
  const Integer forced = CharCount(FForcedText);
  if (FHeldSelection.compare(0, FForcedText.size(), FForcedText) == 0) {
    // The text before the selection forces the characters it starts with:
    // they stay, and the selection shrinks to what follows them.
    FTextBeforeCaret += TakeFirst(FHeldSelection, forced);
    const Integer start = SelStart() + forced;
    const Integer length = SelLength() - forced;
    SetInnerSelStart(start);
    SetInnerSelLength(length);
  } else {
    Matcher()->Prev();
  }
  ClearForced();
}

void TcxMaskEditRegExprExMode::PutSelectionBack() {
  Matcher()->SetAutoComplete(false);
  TcxMaskEditRegExprMode::PutSelectionBack();
  RestoreAutoComplete();
  // The selection may have shrunk past forced characters while it was out.
  FResyncPending = true;
}

// --- keys --------------------------------------------------------------------------------------------------------

void TcxMaskEditRegExprExMode::PrepareForSelectAll() {
  SyncWithCaret();
  ClearForced();
  Matcher()->SetAutoComplete(false);
  TcxMaskEditRegExprMode::PrepareForSelectAll();
  RestoreAutoComplete();
}

bool TcxMaskEditRegExprExMode::MoveToEnd() {
  PrepareForSelectAll();
  return true;
}

bool TcxMaskEditRegExprExMode::MoveToStart() {
  SyncWithCaret();
  ClearForced();
  return TcxMaskEditRegExprMode::MoveToStart();
}

bool TcxMaskEditRegExprExMode::MoveLeft() {
  SyncWithCaret();
  ClearForced();
  if (SelLength() > 0 && !ShiftHeld()) {
    // The default handling collapses the selection; the mode walks to
    // wherever that leaves the caret at the next operation.
    FResyncPending = true;
    return true;
  }
  if (FTextBeforeCaret.empty()) return true;
  StepLeft();
  Integer removed = FRemovedForcedCount;
  // At the start the step back had no character of its own to pass: the
  // last forced one stood in for it.
  if (Matcher()->IsStart() && (SelStart() != 0 ? SelStart() : SelLength()) == removed) --removed;
  for (Integer i = 0; i < removed && !FTextBeforeCaret.empty(); ++i) {
    OwnerEdit()->SendKey(win::VK_LEFT);
    FTextAfterCaret = TakeLast(FTextBeforeCaret, 1) + FTextAfterCaret;
  }
  ClearForced();
  return true;
}

bool TcxMaskEditRegExprExMode::MoveRight() {
  SyncWithCaret();
  ClearForced();
  if (SelLength() > 0 && !ShiftHeld()) {
    FResyncPending = true;
    return true;
  }
  if (FTextAfterCaret.empty()) return true;
  StepRight();
  const Integer forced = CharCount(FForcedText);
  ClearForced();
  for (Integer i = 0; i < forced && !FTextAfterCaret.empty(); ++i) {
    OwnerEdit()->SendKey(win::VK_RIGHT);
    FTextBeforeCaret += TakeFirst(FTextAfterCaret, 1);
  }
  return true;
}

bool TcxMaskEditRegExprExMode::TypeChar(char32_t& Ch) {
  SyncWithCaret();
  ClearForced();
  const bool selection = SelLength() > 0;
  if (selection) TakeSelectionOut();
  ClearForced();
  char32_t ch = Ch;
  if (Matcher()->Next(ch)) {
    const std::string forced = FForcedText;
    ClearForced();
    FTextBeforeCaret += Utf8Encode(ch) + forced;
    OwnerEdit()->SendChar(ch);
    size_t pos = 0;
    while (pos < forced.size()) OwnerEdit()->SendChar(Utf8Decode(forced, pos));
    RefitTail();
  } else {
    if (selection) PutSelectionBack();
    Beep();
  }
  FHeldSelection.clear();
  // The mode has typed whatever was to be typed.
  return false;
}

bool TcxMaskEditRegExprExMode::Backspace() {
  SyncWithCaret();
  ClearForced();
  if (SelLength() > 0) {
    TakeSelectionOut();
    if (FHeldSelection.empty()) {
      // Only forced characters were selected.
      Beep();
    } else {
      OwnerEdit()->SendChar(8);
      FHeldSelection.clear();
      RefitTail();
    }
  } else if (!FTextBeforeCaret.empty()) {
    Matcher()->Prev();
    const Integer removed = FRemovedForcedCount;
    ClearForced();
    if (Matcher()->IsStart() && SelStart() == removed) {
      // The text before the caret is the forced prefix: it stays.
      char32_t ch = FirstChar(FTextBeforeCaret);
      Matcher()->Next(ch);
      ClearForced();
      Beep();
    } else {
      TakeLast(FTextBeforeCaret, removed + 1);
      for (Integer i = 0; i <= removed; ++i) OwnerEdit()->SendChar(8);
      RefitTail();
    }
  }
  FHeldSelection.clear();
  return false;
}

bool TcxMaskEditRegExprExMode::EraseSelection() {
  SyncWithCaret();
  ClearForced();
  if (SelLength() > 0) return Backspace();
  if (FTextAfterCaret.empty()) return false;
  if (SelStart() == 0) {
    Complete();
    if (!FForcedText.empty()) {
      // The forced prefix cannot be deleted.
      Matcher()->Prev();
      ClearForced();
      Beep();
      return false;
    }
  }
  ClearForced();
  char32_t ch = FirstChar(FTextAfterCaret);
  const bool accepted = Matcher()->Next(ch);
  const Integer count = accepted ? CharCount(FForcedText) + 1 : 1;
  ClearForced();
  for (Integer i = 0; i < count; ++i) OwnerEdit()->SendKey(win::VK_DELETE);
  TakeFirst(FTextAfterCaret, count);
  if (accepted) Matcher()->Prev();
  ClearForced();
  RefitTail();
  return false;
}
