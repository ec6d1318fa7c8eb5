// The regular-expression mode with completion: characters the expression
// forces (a fixed separator, a literal prefix) are typed by the editor as
// soon as they are certain, caret moves pass over them together with the
// character before them, and deleting that character takes them along. A
// forced prefix cannot be deleted.
#pragma once

#include <string>

#include "suite/editors/cxMaskEditRegExprMode.h"

class TcxMaskEditRegExprExMode : public TcxMaskEditRegExprMode {
  VXN_DECLARE_CLASS(TcxMaskEditRegExprExMode)

 public:
  TcxMaskEditRegExprExMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);

  TcxEditMaskKind MaskKindOfMode() override { return emkRegExprEx; }
  void BeforePaste() override { SyncWithCaret(); }
  void CompileMask(const std::string& Mask) override;
  // The forced prefix of the expression.
  std::string EmptyMaskedText() override;
  // The accepted characters followed by the forced ones after them.
  std::string FormatText(const std::string& Text) override;
  bool IsTextValid(const std::string& Text) override;
  void PrepareForSelectAll() override;
  bool MoveToEnd() override;
  bool MoveToStart() override;
  bool MoveLeft() override;
  bool MoveRight() override;
  bool TypeChar(char32_t& Ch) override;
  bool Backspace() override;
  bool EraseSelection() override;
  void SetModeText(const std::string& Text) override;
  void UpdateEditValueIfNeeded() override;
  void TakeSelectionOut() override;
  void PutSelectionBack() override;

  const std::string& ForcedText() const { return FForcedText; }

 protected:
  // Walks from where the mode stands to the caret, a typed character and the
  // forced ones after it at a time, so the caret and the selection land on
  // the boundaries between such groups.
  void SyncWithCaret() override;

 private:
  void ForcedCharAdded(char32_t Ch) { FForcedText += Utf8Char(Ch); }
  void ForcedCharRemoved() { ++FRemovedForcedCount; }
  void ScratchForcedCharAdded(char32_t Ch) { FScratchForced += Utf8Char(Ch); }
  static std::string Utf8Char(char32_t Ch);
  void ClearForced();
  // Compiles Scratch from the pattern without completion and answers
  // whether there was one; FScratchForced then holds the forced prefix.
  bool CompileScratch(TcxRegExpr& Scratch);
  // Completion off and on again: ForcedText gets the characters forced at
  // the matcher's position (which moves past them).
  void Complete();
  // Completion back on where nothing may be forced any more; if something
  // is, the matcher has run past the text and the mode starts over.
  void RestoreAutoComplete();
  void ResyncFromStart();
  void StepForward();
  void StepBack();
  void RefitTail();
  void RefeedTail();

  std::string FForcedText;
  Integer FRemovedForcedCount = 0;
  std::string FScratchForced;
};
