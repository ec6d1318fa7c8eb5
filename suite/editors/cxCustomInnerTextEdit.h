// The single-line edit window a text editor places inside itself: it does
// the typing, caret, selection and clipboard work while the editor has the
// focus, hands its keys, mouse, focus, drags and clipboard messages to the
// editor, keeps its window free of borders and margins, and tells the editor
// whether the editor consumed the key being processed. The editor talks to
// it through the helper's IcxInnerTextEdit.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/StdCtrls.h"
#include "suite/editors/cxInnerTextEdit.h"
#include "suite/foundation/cxClasses.h"

class TBasicAction;
class TcxCustomEdit;
class TcxCustomInnerTextEdit;

// What the inner edit needs of the text editor that owns it beyond the
// editor base. The text editor implements it.
class IcxInnerTextEditOwner {
 public:
  virtual ~IcxInnerTextEditOwner() = default;
  // False: Enter is swallowed before the window beeps at it.
  virtual bool BeepOnEnter() = 0;
  // Set by a drop-down editor when Enter or Escape closed its popup.
  virtual bool PopupClosedKey() = 0;
  virtual void SetPopupClosedKey(bool Value) = 0;
  virtual void ShowSelectionHighlight(bool Value) = 0;
  // The editor's LookupChanging flag.
  virtual void SetLookupChanging(bool Value) = 0;
  // The editor's unused-key path: a host may consume the key (0).
  virtual void ForwardUnusedKey(Word& Key, TShiftState Shift) = 0;
  virtual void EraseSelection() = 0;
  // The lookup's drop-down list; nil without one.
  virtual TWinControl* LookupListControl() = 0;
};

// The inner edit's face towards its editor.
class TcxCustomInnerTextEditHelper : public TcxInterfacedPersistent, public IcxInnerTextEdit {
  VXN_DECLARE_CLASS(TcxCustomInnerTextEditHelper)

 public:
  explicit TcxCustomInnerTextEditHelper(TcxCustomInnerTextEdit* AEdit);
  TcxCustomInnerTextEdit* Edit() const { return FEdit; }

  // IcxContainerInnerControl
  TWinControl* Control() override;
  TcxContainer* ControlContainer() override;
  // IcxCustomInnerEdit
  TcxCustomEdit* OwnerEdit() override;
  win::LRESULT CallDefaultWindowProc(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) override;
  Variant EditValue() override;
  TNotifyEvent OnChange() override;
  bool ReadOnly() override;
  void LockBounds(bool ALock) override;
  void FocusWithoutAutoSelect() override;
  void AssignEditValue(const Variant& Value) override;
  void SetParent(TWinControl* Value) override;
  void SetOnChange(TNotifyEvent Value) override;
  void SetReadOnly(bool Value) override;
  // IcxInnerTextEdit
  void ClearSelection() override;
  void CopyToClipboard() override;
  TAlignment Alignment() override;
  bool AutoSelect() override;
  TEditCharCase CharCase() override;
  TcxEditEchoMode EchoMode() override;
  bool HideSelection() override;
  char ImeLastChar() override;
  TImeMode ImeMode() override;
  std::string ImeName() override;
  bool KeyHandled() override;
  Integer MaxLength() override;
  bool IsMultiLine() override { return false; }
  bool OEMConvert() override;
  char PasswordChar() override;
  Integer SelLength() override;
  Integer SelStart() override;
  std::string SelText() override;
  void SelectAll() override;
  void SetAlignment(TAlignment Value) override;
  void SetAutoSelect(bool Value) override;
  void SetCharCase(TEditCharCase Value) override;
  void SetEchoMode(TcxEditEchoMode Value) override;
  void SetHideSelection(bool Value) override;
  void SetKeyHandled(bool Value) override;
  void SetImeMode(TImeMode Value) override;
  void SetImeName(const std::string& Value) override;
  void SetMaxLength(Integer Value) override;
  void SetOEMConvert(bool Value) override;
  void SetPasswordChar(char Value) override;
  void SetSelLength(Integer Value) override;
  void SetSelStart(Integer Value) override;
  void SetSelText(const std::string& Value) override;

 private:
  TcxCustomInnerTextEdit* FEdit;
};

class TcxCustomInnerTextEdit : public TCustomEdit, public IcxContainerInnerControl, public IcxInnerEditProvider {
  VXN_DECLARE_CLASS(TcxCustomInnerTextEdit)

 public:
  // AOwner is the text editor.
  explicit TcxCustomInnerTextEdit(TComponent* AOwner);
  ~TcxCustomInnerTextEdit() override;

  TcxCustomInnerTextEditHelper* Helper() const { return FHelper.get(); }
  TcxCustomEdit* OwnerEdit() const { return FOwnerEdit; }

  TcxEditEchoMode EchoMode() const { return FEchoMode; }
  void SetEchoMode(TcxEditEchoMode Value);
  // The inner edit's own password character; the window shows it only in
  // password echo, and "*" in its place while it is #0.
  char PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char Value);
  // Stores left alignment instead while the editor's properties ask for
  // left alignment during editing; a change makes the window anew.
  void SetAlignment(TAlignment Value);
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode Value) { FImeMode = Value; }
  const std::string& ImeName() const { return FImeName; }
  void SetImeName(const std::string& Value) { FImeName = Value; }
  // The editor consumed the key being processed.
  bool KeyHandled() const { return FKeyHandled; }
  void SetKeyHandled(bool Value) { FKeyHandled = Value; }
  // While locked, position changes are ignored; unlocking never goes below 0.
  void LockBounds(bool ALock);
  Integer BoundsLockCount() const { return FBoundsLockCount; }
  // The edit window's own procedure, past every message handler of ours.
  win::LRESULT CallDefaultWindowProc(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);
  virtual void ResetMargins();

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  bool CanFocus() override;
  void DefaultHandler(TMessage& Message) override;
  void DragDrop(TObject* Source, Integer X, Integer Y) override;
  // The class library has no action handling of its own for an edit, so
  // these answer what the editor's data binding answers.
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);

  // IcxContainerInnerControl
  TWinControl* Control() override { return this; }
  TcxContainer* ControlContainer() override;
  // IcxInnerEditProvider
  IcxCustomInnerEdit* GetInnerEdit() override { return FHelper.get(); }

 protected:
  void Click() override;
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
  void CreateHandle() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMKeyDown(TMessage& Message) override;
  void WMChar(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  IcxInnerTextEditOwner* TextOwner() const;
  void UpdateWindowPasswordChar();
  bool StartsOwnerDrag();
  void RouteClipboardMessage(win::UINT Msg);
  void FocusChangedInOwner();

  std::unique_ptr<TcxCustomInnerTextEditHelper> FHelper;
  TcxCustomEdit* FOwnerEdit = nullptr;  // the component owner
  TcxEditEchoMode FEchoMode = eemNormal;
  char FPasswordChar = 0;
  TImeMode FImeMode = imDontCare;
  std::string FImeName;
  bool FKeyHandled = false;
  Integer FBoundsLockCount = 0;
  bool FCreating = false;
};

// The alignment a new inner edit starts with.
inline constexpr TAlignment cxInnerTextEditDefaultAlignment = taLeftJustify;

void RegisterCustomInnerTextEditClasses();
