// Typing over a standard edit mask: the masked text keeps its length and
// layout, literals stay where they are, the caret is a one-character
// selection that overwrites, caret moves skip literals, and deleting writes
// blank characters instead of removing them.
#pragma once

#include <memory>
#include <string>

#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxStandardMask.h"

class TcxMaskEditStandardMode : public TcxMaskEditCustomMode {
  VXN_DECLARE_CLASS(TcxMaskEditStandardMode)

 public:
  TcxMaskEditStandardMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
  ~TcxMaskEditStandardMode() override;

  // The character that erases Position (1-based); #0 leaves it as it is.
  virtual char32_t BlankChar(Integer Position);

  TcxEditMaskKind MaskKindOfMode() override { return emkStandard; }
  void RemaskPastedText() override;
  void CompileMask(const std::string& Mask) override;
  std::string EmptyMaskedText() override;
  std::string FormatText(const std::string& Text) override;
  void PrepareForSelectAll() override {}
  bool CaretAtFirstPosition() override;
  bool CaretAtEnd() override;
  bool IsTextValid(const std::string& Text) override;
  void UpdateCaretSelection() override;
  void BeforePaste() override;
  bool Backspace() override;
  bool EraseSelection() override;
  bool MoveToEnd() override;
  bool MoveToStart() override;
  bool MoveLeft() override;
  bool MoveRight() override;
  bool TypeChar(char32_t& Ch) override;
  void SetModeText(const std::string& Text) override;
  void SyncEditValueFromText() override;
  void UpdateEditValueIfNeeded() override;
  std::string DisplayValueOf(const std::string& Text) override;

  TcxStandardMask* Mask() const { return FMask.get(); }

 private:
  bool IsLiteral(Integer Position) const;
  Integer SelStart();
  Integer SelLength();
  void AssignSelStart(Integer Value);

  std::unique_ptr<TcxStandardMask> FMask;
  Integer FSavedSelStart = 0;
};
