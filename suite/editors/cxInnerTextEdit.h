// The single-line edit window inside a text editor, seen from the editor's
// side: what the editor asks of it beyond any inner edit, the state it keeps
// across a key to learn whether the key changed anything, and the caret's
// character index.
#pragma once

#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/System.h"
#include "suite/editors/cxCustomInnerEdit.h"
#include "suite/editors/cxTextEditProperties.h"

class TCustomEdit;

class IcxInnerTextEdit : public IcxCustomInnerEdit {
 public:
  static constexpr const char* IID = "{263EED21-306D-456D-8B0A-6D2E3F1A6E0F}";
  virtual void ClearSelection() = 0;
  virtual void CopyToClipboard() = 0;
  virtual TAlignment Alignment() = 0;
  virtual bool AutoSelect() = 0;
  virtual TEditCharCase CharCase() = 0;
  virtual TcxEditEchoMode EchoMode() = 0;
  virtual bool HideSelection() = 0;
  // The trail byte of the last double-byte input-method character while
  // both of its characters are still to come; else 0.
  virtual char ImeLastChar() = 0;
  virtual TImeMode ImeMode() = 0;
  virtual std::string ImeName() = 0;
  // The editor consumed the key being processed.
  virtual bool KeyHandled() = 0;
  virtual Integer MaxLength() = 0;
  virtual bool IsMultiLine() = 0;
  virtual bool OEMConvert() = 0;
  virtual char PasswordChar() = 0;
  virtual Integer SelLength() = 0;
  virtual Integer SelStart() = 0;
  virtual std::string SelText() = 0;
  virtual void SelectAll() = 0;
  virtual void SetAlignment(TAlignment Value) = 0;
  virtual void SetAutoSelect(bool Value) = 0;
  virtual void SetCharCase(TEditCharCase Value) = 0;
  virtual void SetEchoMode(TcxEditEchoMode Value) = 0;
  virtual void SetHideSelection(bool Value) = 0;
  virtual void SetKeyHandled(bool Value) = 0;
  virtual void SetImeMode(TImeMode Value) = 0;
  virtual void SetImeName(const std::string& Value) = 0;
  virtual void SetMaxLength(Integer Value) = 0;
  virtual void SetOEMConvert(bool Value) = 0;
  virtual void SetPasswordChar(char Value) = 0;
  virtual void SetSelLength(Integer Value) = 0;
  virtual void SetSelStart(Integer Value) = 0;
  virtual void SetSelText(const std::string& Value) = 0;
};

// What an inner text edit showed before a key reached it.
struct TcxCustomInnerTextEditPrevState {
  bool TextKept = false;
  std::string KeptText;
  Integer KeptSelLength = 0;
  Integer KeptSelStart = 0;
};

void SaveInnerTextEditState(IcxInnerTextEdit* Edit, bool SaveText, TcxCustomInnerTextEditPrevState& State);
// True when the edit has no window, its selection moved, or the kept text
// differs from the edit's ignoring case.
bool InnerTextEditStateChanged(IcxInnerTextEdit* Edit, const TcxCustomInnerTextEditPrevState& State);

// The character index at the caret of an edit window, from the characters'
// x positions: the mask modes find the caret inside a selection with it.
Integer CaretCharIndex(TCustomEdit* Edit);
