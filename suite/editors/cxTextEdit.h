// The single-line text editor and the base of every text-based editor. While
// it has the focus an inner edit window does the typing; otherwise, or where
// the inner edit cannot show the text (aligned other than left, the list
// styles), the editor paints the text itself. It moves values between the
// edit value and the shown text, checks what is pasted or inserted against
// the maximum length and the editing style, answers the window-text
// messages, and can complete typed text from its lookup items.
#pragma once

#include <memory>
#include <string>

#include "suite/editors/cxCustomInnerTextEdit.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxFormatController.h"
#include "suite/editors/cxTextEditLookupData.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/editors/cxTextEditViewInfo.h"

// The classes of a text editor kind whose settings are APropertiesClass.
TcxCustomEditKind TextEditKind(TcxCustomEditPropertiesClass APropertiesClass);

class TcxCustomTextEdit : public TcxCustomEdit,
                          public IcxInnerTextEditOwner,
                          public IcxTextEditLookupDataOwner,
                          public IcxFormatControllerListener {
  VXN_DECLARE_CLASS(TcxCustomTextEdit)

 public:
  explicit TcxCustomTextEdit(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomTextEdit() override;

  TcxCustomTextEditProperties* ActiveTextProperties() {
    return static_cast<TcxCustomTextEditProperties*>(ActiveProperties());
  }
  TcxCustomTextEditViewInfo* TextViewInfo() const { return static_cast<TcxCustomTextEditViewInfo*>(ViewInfo()); }
  // Nil while the inner edit is not made yet.
  IcxInnerTextEdit* InnerTextEdit() const { return dynamic_cast<IcxInnerTextEdit*>(InnerEdit()); }
  IcxTextEditLookupData* ILookupData() const { return FLookupData.get(); }
  TcxCustomTextEditLookupData* LookupData() const { return FLookupData.get(); }
  // The lookup data exist and the active properties use them.
  bool HasLookupData();

  void SetBeepOnEnter(bool Value) { FBeepOnEnter = Value; }
  bool SelectionHighlight() const { return FSelectionHighlight; }
  bool LookupChanging() const { return FLookupChanging; }
  bool LookupNavigating() const { return FLookupNavigating; }
  void SetLookupNavigating(bool Value) { FLookupNavigating = Value; }

  // Character positions in the shown text.
  Integer SelStart();
  void SetSelStart(Integer Value) { AssignSelStart(Value); }
  Integer SelLength();
  void SetSelLength(Integer Value) { AssignSelLength(Value); }
  std::string SelText();
  void SetSelection(Integer AStart, Integer ALength);
  Integer CaretCharIndex();
  void SetItemIndex(Integer Value) { AssignItemIndex(Value); }

  // The published Text is the window text.
  std::string GetText() const override;
  void SetText(const std::string& Value) override;

  // Introduced here, in slot order.
  virtual void RefreshFromProperties();
  virtual void SyncInnerEdit();
  // Whether Text may replace the selection, and the text and caret that
  // result (the caret in characters). Text counts up to its first #0.
  virtual bool CheckInsertedText(const std::string& Text, std::string& NewText, Integer& NewCaret);
  virtual void CheckValueRange();
  virtual void ClampValueToRange() {}
  virtual void FireNewLookupDisplayText(const std::string& Text);
  virtual Integer InnerTextHeight();
  virtual Integer ItemIndex();
  // Whether keys or the wheel move through the lookup items (drop-down
  // editors do).
  virtual bool CanNavigateLookup(bool ByWheel) {
    (void)ByWheel;
    return false;
  }
  virtual void LookupItemSelected(TObject* Sender);
  virtual std::string WindowText() { return CurrentDisplayText(); }
  virtual bool ApplyWindowText(const std::string& Text) { return TrySetDisplayText(Text); }
  virtual Variant ItemIndexToValue(Integer Index) { return Variant(Index); }
  virtual Variant LookupValueOfIndex(const Variant& Key);
  virtual Integer ValueToItemIndex(const Variant& Value);
  virtual bool NeedsLookupTextCheck();
  virtual void ResetSelectionHighlight();
  virtual void SetTextIfEditable(const std::string& Text);
  virtual void AssignItemIndex(Integer Value);
  virtual void AssignSelLength(Integer Value);
  virtual void AssignSelStart(Integer Value);
  virtual void InsertText(const std::string& Text);
  virtual void RevertInvalidLookupText();
  void EraseSelection() override;
  virtual void UndoChanges() { ResetEditValue(); }

  // Lookup steps of the keyboard: completes Text from the lookup items and
  // shows the completion selected.
  bool LocateAndApply(std::string& Text);
  // Whether a typed character runs the incremental search.
  bool CanTypeInto();
  void ShowSelectionHighlight(bool Value) override;

  // The editor base.
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) override;
  TRect GetInnerControlBounds(const TRect& R, TControl* AControl, bool& AWholeVisible) override;
  void PositionInnerEdit() override;
  bool IsEditingKey(Word Key, TShiftState Shift) override;
  bool IsEditingChar(char32_t Ch) override;
  void InnerEditChanged(TObject* Sender) override;
  void EditKeyDown(Word& Key, TShiftState Shift) override;
  void EditKeyPress(char32_t& Key) override;
  void AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) override;
  void DisplayTextOfValue(std::string& Text) override;
  bool EditingEnabled() override { return ActiveTextProperties()->EditingStyle() != esNoText; }
  void ApplyDisplayValue(const Variant& Value) override;
  void ApplyValidatedDisplayValue(const Variant& Value) override;
  bool IsAcceptableChar(char32_t Ch) override;
  void PropertiesChanged(TObject* Sender) override;
  using TcxCustomEdit::PropertiesChanged;
  bool TrySetDisplayText(const std::string& Text) override;
  void SetInnerEditValue(const Variant& Value) override;
  void UpdateTextFromEditValue() override;
  void UpdateEditValueFromText() override;
  void RefreshDrawnText() override;
  bool HandlesNavigationKeys() override { return true; }
  void CallInnerWindowProc(TMessage& Message) override;
  void RestoreInnerEditWindowProc() override;
  void ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void CopySelectionToClipboard() override;
  void CutToClipboard() override;
  bool InnerEditVisible() override;
  void PasteFromClipboard() override;
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override {
    (void)AEditFocused;
    AEditValue = DisplayValue;
  }
  void SelectWholeText() override;
  void KeyPress(char32_t& Key) override;

  // IcxInnerTextEditOwner
  bool BeepOnEnter() override { return FBeepOnEnter; }
  bool PopupClosedKey() override { return FPopupClosedKey; }
  void SetPopupClosedKey(bool Value) override { FPopupClosedKey = Value; }
  void SetLookupChanging(bool Value) override { FLookupChanging = Value; }
  void ForwardUnusedKey(Word& Key, TShiftState Shift) override { TcxCustomEdit::ForwardUnusedKey(Key, Shift); }
  TWinControl* LookupListControl() override { return FLookupData ? FLookupData->ListControl() : nullptr; }
  // IcxTextEditLookupDataOwner
  TcxCustomTextEditProperties* LookupProperties() override { return ActiveTextProperties(); }
  std::string LookupOwnerText() override { return CurrentDisplayText(); }
  bool LookupQueryEditing() override { return QueryEditing(); }
  bool LookupQueryingEditing() override { return false; }
  TcxContainerStyle* LookupActiveStyle() override { return ActiveStyle(); }
  // IcxFormatControllerListener
  void FormatChanged() override { RefreshFromProperties(); }

 protected:
  TcxCustomTextEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  void DoExit() override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;

  // Keeps the caret after the same digits when the separators move.
  void RegroupThousandsWhileTyping();

 private:
  void InitializeTextEdit();
  bool IsTextStyle(TcxEditingStyle Style) { return ActiveTextProperties()->EditingStyle() == Style; }
  bool IsIncrementalSearchUsed();
  // Steps through the lookup items; the current key's change marks the
  // editor modified and may post the value at once.
  void NavigateLookup(Integer Direction);
  void ApplyListPickHighlight();
  std::string SavedWindowText();

  bool FBeepOnEnter = true;
  std::unique_ptr<TcxCustomTextEditLookupData> FLookupData;
  bool FSelectionHighlight = false;
  bool FLookupChanging = false;
  bool FLookupNavigating = false;
  bool FUpdatingTextFromValue = false;
  bool FUpdatingValueFromText = false;
  bool FSettingWindowText = false;
  bool FPopupClosedKey = false;
  bool FPositioning = false;
  bool FFormatListening = false;
  std::string FSavedText;
  bool FTextSaved = false;
};

class TcxTextEdit : public TcxCustomTextEdit {
  VXN_DECLARE_CLASS(TcxTextEdit)

 public:
  explicit TcxTextEdit(TComponent* AOwner, bool AIsInplace = false);

  TcxTextEditProperties* TextProperties() const { return static_cast<TcxTextEditProperties*>(Properties()); }
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
};

class TcxEditRepositoryTextItem : public TcxEditRepositoryItemOf<TcxTextEditProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryTextItem)

 public:
  explicit TcxEditRepositoryTextItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// Regroups the thousands of the integer digits in Text when it then reads as
// a number; CaretChar is the caret's character index, kept after the same
// number of non-separator characters. False when Text is left as it was.
bool RegroupThousands(std::string& Text, Integer& CaretChar);

void RegisterTextEditClasses();
