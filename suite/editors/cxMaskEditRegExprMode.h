// Typing against a regular expression: the editor's text may only grow into
// something the expression can still match. The mode feeds the expression
// one character at a time and keeps it standing at the caret: the text left
// of the caret has been fed, the text right of it has not. After every edit
// the text right of the caret is tried against what now stands left of it
// and dropped when it can no longer follow.
#pragma once

#include <memory>
#include <string>

#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxRegExpr.h"

inline constexpr const char* cxSMaskEditRegExprError = "Regular expression errors:";

class TcxMaskEditRegExprMode : public TcxMaskEditCustomMode {
  VXN_DECLARE_CLASS(TcxMaskEditRegExprMode)

 public:
  TcxMaskEditRegExprMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  ~TcxMaskEditRegExprMode() override;

  TcxEditMaskKind MaskKindOfMode() override { return emkRegExpr; }
  void RemaskPastedText() override {}
  void CompileMask(const std::string& Mask) override;
  std::string EmptyMaskedText() override { return std::string(); }
  std::string FormatText(const std::string& Text) override;
  void PrepareForSelectAll() override;
  bool CaretAtFirstPosition() override;
  bool CaretAtEnd() override;
  bool IsTextValid(const std::string& Text) override;
  void UpdateCaretSelection() override { FResyncPending = true; }
  void BeforePaste() override {}
  bool Backspace() override;
  bool EraseSelection() override;
  bool MoveToEnd() override;
  bool MoveToStart() override;
  bool MoveLeft() override;
  bool MoveRight() override;
  bool TypeChar(char32_t& Ch) override;
  void SetModeText(const std::string& Text) override;
  void SyncEditValueFromText() override;
  void UpdateEditValueIfNeeded() override {}
  // The value is the text as shown.
  std::string DisplayValueOf(const std::string& Text) override { return Text; }

  // A selection about to be replaced leaves the texts around the caret, and
  // comes back when the replacement is refused.
  virtual void TakeSelectionOut();
  virtual void PutSelectionBack();

  void ApplyCaseInsensitive();
  TcxRegExpr* Matcher() const { return FMatcher.get(); }
  const std::string& TextBeforeCaret() const { return FTextBeforeCaret; }
  const std::string& TextAfterCaret() const { return FTextAfterCaret; }

 protected:
  // Brings TextBeforeCaret (and the matcher) to the editor's caret when the
  // caret may have moved behind the mode's back.
  virtual void SyncWithCaret();
  // Whether TextAfterCaret can follow what was fed; the matcher ends where it
  // started.
  bool TailFits();
  void DropTextAfterCaret();
  // Compiles Expression from the matcher's pattern; false when there is none.
  bool CompileCopyInto(TcxRegExpr& Expression);
  // One character over the caret, the matcher following it.
  void StepLeft();
  void StepRight();
  void Feed(const std::string& Text);

  Integer SelStart();
  Integer SelLength();
  Integer CaretCharIndex();
  bool ShiftHeld();

  static Integer CharCount(const std::string& Text);
  // Removes and answers the first / last Count characters of Text.
  static std::string TakeFirst(std::string& Text, Integer Count);
  static std::string TakeLast(std::string& Text, Integer Count);
  static char32_t FirstChar(const std::string& Text);

  std::string FTextBeforeCaret;
  std::string FTextAfterCaret;
  std::string FHeldSelection;
  bool FHeldAtCaretStart = false;
  bool FResyncPending = false;

 private:
  std::unique_ptr<TcxRegExpr> FMatcher;
};
