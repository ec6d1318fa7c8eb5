// The edit controls over the EDIT window class: TCustomEdit/TEdit (one line)
// and TCustomMemo/TMemo (many lines, Lines kept in step with the window).
//
// The window does the typing, caret, selection and clipboard work; the
// control keeps the settings while there is no window and hands them to each
// new window. Positions (SelStart, SelLength) count characters, as the
// window's EM_GETSEL does.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/Classes.h"

VXN_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
// The input-method mode an edit asks for; kept as a setting, no input method
// is driven.
VXN_ENUM(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
         imSHanguel, imHanguel)
VXN_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)

class TCustomEdit : public TWinControl {
  VXN_DECLARE_CLASS(TCustomEdit)

 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  bool AutoSelect() const { return AutoSelect_; }
  void SetAutoSelect(bool Value) { AutoSelect_ = Value; }
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase CharCase() const { return CharCase_; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return HideSelection_; }
  void SetHideSelection(bool Value);
  // 0: no limit. Counts characters.
  Integer MaxLength() const { return MaxLength_; }
  // Kept as a window style only: the program's text is UTF-8 throughout.
  bool OEMConvert() const { return OEMConvert_; }
  void SetOEMConvert(bool Value);
  void SetMaxLength(Integer Value);
  bool Modified() const;
  void SetModified(bool Value);
  // 0: the text shows as it is.
  char32_t PasswordChar() const { return PasswordChar_; }
  void SetPasswordChar(char32_t Value);
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool Value);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment Value);

  Integer SelStart();
  void SetSelStart(Integer Value);
  Integer SelLength();
  void SetSelLength(Integer Value);
  std::string SelText();
  void SetSelText(const std::string& Value);

  bool CanUndo();
  void Undo();
  void ClearUndo();
  void Clear();
  virtual void ClearSelection();
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  void SelectAll();

  TNotifyEvent OnChange;

 protected:
  bool PaintsItself() const override { return true; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void DoEnter() override;
  void CMFontChanged(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  // EN_CHANGE from the window (not while a new window takes over the text).
  virtual void Change();
  // The selection as the window has it, in characters.
  void GetSel(Integer& Start, Integer& Stop);
  void SetSel(Integer Start, Integer Stop);

 private:
  bool AutoSelect_ = true;
  TBorderStyle BorderStyle_ = bsSingle;
  TEditCharCase CharCase_ = ecNormal;
  bool HideSelection_ = true;
  Integer MaxLength_ = 0;
  bool OEMConvert_ = false;
  bool Modified_ = false;  // kept while there is no window
  char32_t PasswordChar_ = 0;
  bool ReadOnly_ = false;
  TAlignment Alignment_ = taLeftJustify;
  bool Creating_ = false;
  std::unique_ptr<TBrush> Brush_;
};

class TEdit : public TCustomEdit {
  VXN_DECLARE_CLASS(TEdit)

 public:
  explicit TEdit(TComponent* AOwner);
};

class TCustomMemo;

// The lines of a memo. With a window they are the window's lines (wrapped
// lines count as lines, as the window has them); without one, the text's.
class TMemoStrings : public TStrings {
  VXN_DECLARE_CLASS(TMemoStrings)

 public:
  explicit TMemoStrings(TCustomMemo* Memo) : Memo_(Memo) {}
  Integer GetCount() const override;
  std::string Get(Integer Index) const override;
  void Put(Integer Index, const std::string& S) override;
  void Insert(Integer Index, const std::string& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void SetText(std::string_view Value) override;

 private:
  TCustomMemo* Memo_;
};

class TCustomMemo : public TCustomEdit {
  VXN_DECLARE_CLASS(TCustomMemo)

 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return Lines_.get(); }
  void SetLines(TStrings* Value) { Lines_->Assign(Value); }
  bool WordWrap() const { return WordWrap_; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return WantReturns_; }
  void SetWantReturns(bool Value) { WantReturns_ = Value; }
  bool WantTabs() const { return WantTabs_; }
  void SetWantTabs(bool Value) { WantTabs_ = Value; }
  TScrollStyle ScrollBars() const { return ScrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  // Column (X) and line (Y) of the caret, from 0.
  TPoint CaretPos();
  void SetCaretPos(const TPoint& Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void KeyPress(char32_t& Key) override;

 private:
  std::unique_ptr<TMemoStrings> Lines_;
  bool WordWrap_ = true;
  bool WantReturns_ = true;
  bool WantTabs_ = false;
  TScrollStyle ScrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
  VXN_DECLARE_CLASS(TMemo)

 public:
  explicit TMemo(TComponent* AOwner);
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterStdCtrlsClasses();
