// The text editor with an optional edit mask. While a mask is in force the
// editor shows a masked text and hands every key, paste, cut and caret move
// to a mode object that knows the mask's syntax; without one it behaves as
// the plain text editor. The properties compile a mask when it is set and
// convert values to masked texts for editors that are not focused.
#pragma once

#include <memory>
#include <string>

#include "suite/editors/cxTextEdit.h"
#include "suite/editors/cxTextEditProperties.h"

VXN_ENUM(TcxEditMaskKind, emkStandard, emkRegExpr, emkRegExprEx)
using TcxEditMask = std::string;

// A mask that cannot be compiled.
class EcxMaskEditError : public Exception {
  VXN_DECLARE_CLASS(EcxMaskEditError)

 public:
  using Exception::Exception;
};

class TcxCustomMaskEdit;
class TcxCustomMaskEditProperties;
class TcxMaskEditCustomMode;

// A mode class: makes modes of its class for an editor (or for properties
// alone when the editor is nil).
struct TcxMaskEditModeClassInfo {
  TClass Class;
  std::unique_ptr<TcxMaskEditCustomMode> (*Create)(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);
};
using TcxMaskEditModeClass = const TcxMaskEditModeClassInfo*;

template <typename T>
TcxMaskEditModeClass MaskEditModeClassOf() {
  static const TcxMaskEditModeClassInfo info{
      T::StaticClass(), [](TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) {
        return std::unique_ptr<TcxMaskEditCustomMode>(std::make_unique<T>(AEdit, AProperties));
      }};
  return &info;
}

// True for an empty mask or one of blank characters only.
bool IsMaskEmpty(const std::string& Mask);

// What a mask editor asks of the object that knows its mask's syntax. The
// key operations answer True to leave the key to the default handling.
class TcxMaskEditCustomMode : public TObject {
  VXN_DECLARE_CLASS(TcxMaskEditCustomMode)

 public:
  TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties);

  virtual TcxEditMaskKind MaskKindOfMode() { return emkStandard; }
  virtual void RemaskPastedText() = 0;
  virtual void CompileMask(const std::string& Mask) = 0;
  virtual std::string EmptyMaskedText() = 0;
  virtual std::string FormatText(const std::string& Text) = 0;
  virtual void PrepareForSelectAll() = 0;
  virtual bool CaretAtFirstPosition() = 0;
  virtual bool CaretAtEnd() = 0;
  virtual bool IsTextValid(const std::string& Text) = 0;
  virtual void UpdateCaretSelection() = 0;
  virtual void BeforePaste() = 0;
  virtual bool Backspace() = 0;
  virtual bool EraseSelection() = 0;
  virtual bool MoveToEnd() = 0;
  virtual bool MoveToStart() = 0;
  virtual bool MoveLeft() = 0;
  virtual bool MoveRight() = 0;
  virtual bool TypeChar(char32_t& Ch) = 0;
  virtual void SetModeText(const std::string& Text) = 0;
  virtual void SyncEditValueFromText();
  virtual void UpdateEditValueIfNeeded() = 0;
  virtual std::string DisplayValueOf(const std::string& Text) = 0;

  TcxCustomMaskEdit* OwnerEdit() const { return FOwnerEdit; }
  TcxCustomMaskEditProperties* Properties() const;
  const std::string& CompiledMask() const { return FCompiledMask; }
  Integer PastedLength() const { return FPastedLength; }
  void SetPastedLength(Integer Value) { FPastedLength = Value; }
  bool EditValuePending() const { return FEditValuePending; }
  TEditCharCase ModeCharCase() const { return FModeCharCase; }
  void SetModeCharCase(TEditCharCase Value) { FModeCharCase = Value; }
  TcxEditEchoMode ModeEchoMode() const { return FModeEchoMode; }
  void SetModeEchoMode(TcxEditEchoMode Value) { FModeEchoMode = Value; }

 protected:
  bool EditReady() const;
  void Beep();
  // Straight to the inner edit, past the editor's selection accessors.
  void SetInnerSelStart(Integer Value);
  void SetInnerSelLength(Integer Value);
  // The inner edit's text.
  std::string Text() const;
  void SetCompiledMask(const std::string& Mask) { FCompiledMask = Mask; }
  void SetEditValuePending(bool Value) { FEditValuePending = Value; }

 private:
  TcxCustomMaskEdit* FOwnerEdit;
  TcxCustomMaskEditProperties* FOwnProperties;
  std::string FCompiledMask;
  Integer FPastedLength = 0;
  bool FEditValuePending = false;
  TEditCharCase FModeCharCase = ecNormal;
  TcxEditEchoMode FModeEchoMode = eemNormal;
};

inline constexpr const char* cxSMaskEditInvalidEditValue = "The edit value is invalid";

class TcxCustomMaskEditProperties : public TcxCustomTextEditProperties {
  VXN_DECLARE_CLASS(TcxCustomMaskEditProperties)

 public:
  explicit TcxCustomMaskEditProperties(TPersistent* AOwner);
  ~TcxCustomMaskEditProperties() override;

  void Assign(TPersistent* Source) override;

  // Introduced here.
  virtual TcxMaskEditModeClass ModeClass(TcxEditMaskKind Kind);

  TClass EditClass() override;
  Byte DisplayFormatOptions() override;
  bool IsEditValueValid(Variant& Value, bool Focused) override;
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  void ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                            IcxEditPropertiesEditor* Edit) override;
  void MaxLengthChanged() override;
  void SetCharCase(TEditCharCase Value) override;
  bool HasLookupData() override;

  // A mode of the current kind for these properties alone, compiled with the
  // effective mask; nil when there is no mask.
  std::unique_ptr<TcxMaskEditCustomMode> CreateMode();
  bool IsMasked();

  TcxEditMaskKind MaskKind() const { return FMaskKind; }
  void SetMaskKind(TcxEditMaskKind Value);
  // The effective mask: the provider's for an empty standard mask.
  std::string EditMask();
  void SetEditMask(const std::string& Value);
  const std::string& OwnEditMask() const { return FEditMask; }
  // Without notification: a kind change drops a mask of the other syntax.
  void StoreEditMask(const std::string& Value) { FEditMask = Value; }
  bool IsEditMaskStored() const { return !FEditMask.empty(); }
  bool CaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool Value);
  bool IgnoreMaskBlank() const { return FIgnoreMaskBlank; }
  void SetIgnoreMaskBlank(bool Value) { FIgnoreMaskBlank = Value; }
  bool AlwaysShowBlanksAndLiterals() const { return FAlwaysShowBlanksAndLiterals; }
  void SetAlwaysShowBlanksAndLiterals(bool Value);
  const std::string& EmptyMaskText() const { return FEmptyMaskText; }
  void SetEmptyMaskText(const std::string& Value) { FEmptyMaskText = Value; }

 private:
  TcxEditMaskKind FMaskKind = emkStandard;
  std::string FEditMask;
  bool FCaseInsensitive = true;
  bool FIgnoreMaskBlank = false;
  bool FAlwaysShowBlanksAndLiterals = false;
  std::unique_ptr<TcxMaskEditCustomMode> FConversionMode;
  std::string FEmptyMaskText;
  bool FMaxLengthChanging = false;
};

class TcxMaskEditProperties : public TcxCustomMaskEditProperties {
  VXN_DECLARE_CLASS(TcxMaskEditProperties)

 public:
  using TcxCustomMaskEditProperties::TcxCustomMaskEditProperties;
};

class TcxCustomMaskEdit : public TcxCustomTextEdit {
  VXN_DECLARE_CLASS(TcxCustomMaskEdit)

 public:
  explicit TcxCustomMaskEdit(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomMaskEdit() override;

  TcxCustomMaskEditProperties* ActiveMaskProperties() {
    return static_cast<TcxCustomMaskEditProperties*>(ActiveProperties());
  }
  TcxMaskEditCustomMode* Mode() const { return FMode.get(); }
  bool ShiftHeld() const { return FShiftHeld; }
  void SetShiftHeld(bool Value) { FShiftHeld = Value; }
  bool IsMasked() { return ActiveMaskProperties()->IsMasked(); }

  // Introduced here.
  virtual bool AcceptsCharAtPosition(char32_t& Ch, Integer Position) {
    (void)Ch;
    (void)Position;
    return true;
  }
  virtual void ReapplyText();

  // The key goes to the window without passing the editor's handlers.
  void SendKey(Word Key);
  void SendChar(char32_t Ch);

  void InnerEditChanged(TObject* Sender) override;
  void EditKeyDown(Word& Key, TShiftState Shift) override;
  void EditKeyPress(char32_t& Key) override;
  void EditKeyUp(Word& Key, TShiftState Shift) override { TcxCustomTextEdit::EditKeyUp(Key, Shift); }
  void ApplyDisplayValue(const Variant& Value) override;
  void PropertiesChanged(TObject* Sender) override;
  using TcxCustomTextEdit::PropertiesChanged;
  void UpdateTextFromEditValue() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override;
  std::string WindowText() override;
  bool ApplyWindowText(const std::string& Text) override;
  void AssignSelLength(Integer Value) override;
  void AssignSelStart(Integer Value) override;
  void InsertText(const std::string& Text) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

 protected:
  TcxCustomMaskEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  void DblClick() override;
  void DoEnter() override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;

 private:
  void InitializeMaskEdit();
  std::string EmptyMaskedTextOfMode();
  // Compiles Mask in the mode; a mask the mode's syntax refuses is dropped
  // with the own mask of the properties, and the editor goes on unmasked.
  void CompileOrClearMask(const std::string& Mask);

  std::unique_ptr<TcxMaskEditCustomMode> FMode;
  std::string FMaskedText;
  bool FSendingKey = false;
  bool FShiftHeld = false;
};

class TcxMaskEdit : public TcxCustomMaskEdit {
  VXN_DECLARE_CLASS(TcxMaskEdit)

 public:
  explicit TcxMaskEdit(TComponent* AOwner, bool AIsInplace = false);

  TcxMaskEditProperties* MaskProperties() const { return static_cast<TcxMaskEditProperties*>(Properties()); }
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
};

class TcxEditRepositoryMaskItem : public TcxEditRepositoryItemOf<TcxMaskEditProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryMaskItem)

 public:
  explicit TcxEditRepositoryMaskItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

void RegisterMaskEditClasses();
