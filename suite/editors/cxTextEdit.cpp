#include "suite/editors/cxTextEdit.h"

#include <algorithm>
#include <cstring>

#include "platform/forms/Clipbrd.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxTextEditViewData.h"
#include "suite/editors/cxThousandSeparators.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomTextEdit, TcxCustomEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxTextEdit, TcxCustomTextEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryTextItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxTextEdit) {
  using C = TcxTextEdit;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BeepOnEnter", &C::BeepOnEnter, &C::SetBeepOnEnter).Default(true);
  P.Redeclare("TabStop").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Text", &C::GetText, &C::SetText);
  PublishEditorEvents(P, cxpeEditing | cxpeDock | cxpeMouseEnter);
}

using namespace win;

TcxCustomEditKind TextEditKind(TcxCustomEditPropertiesClass APropertiesClass) {
  TcxCustomEditKind kind;
  kind.PropertiesClass = APropertiesClass;
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxCustomTextEditViewInfo>;
  kind.InnerEditClass = &CreateInnerEditObject<TcxCustomInnerTextEdit>;
  return kind;
}

namespace {

// The change events of Body are fired once at its end; an exception
// releases the lock without firing them.
template <typename Body>
void WithChangeEventsHeld(TcxCustomEdit& Edit, Body body) {
  Edit.LockChangeEvents(true, true);
  ScopeExit release([&Edit] { Edit.LockChangeEvents(false, false); });
  body();
  release.Dismiss();
  Edit.LockChangeEvents(false, true);
}

// Clicks stay locked until the scope ends, however it ends.
auto ClicksLocked(TcxCustomEdit& Edit) {
  Edit.LockClick(true);
  return ScopeExit([&Edit] { Edit.LockClick(false); });
}

auto ModifiedStatePushed(TcxCustomEdit& Edit) {
  Edit.PushModifiedState();
  return ScopeExit([&Edit] { Edit.PopModifiedState(); });
}

auto FlagSet(bool& Flag, bool Value) {
  const bool old = Flag;
  Flag = Value;
  return ScopeExit([&Flag, old] { Flag = old; });
}

Integer CharCount(const std::string& Text) { return static_cast<Integer>(Utf8CharCount(Text)); }

// Characters [Start, Start + Count) of Text; Count < 0 runs to the end.
std::string Chars(const std::string& Text, Integer Start, Integer Count = -1) {
  if (Start < 0) Start = 0;
  return Utf8Copy(Text, static_cast<size_t>(Start), Count < 0 ? std::string::npos : static_cast<size_t>(Count));
}

}  // namespace

// --- construction -------------------------------------------------------------------------------

TcxCustomTextEdit::TcxCustomTextEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomTextEdit(AOwner, AIsInplace, TextEditKind(TcxCustomTextEditProperties::StaticClass())) {}

TcxCustomTextEdit::TcxCustomTextEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomEdit(AOwner, AIsInplace, AKind) {
  SetConstructing(true);
  ScopeExit constructed([this] { SetConstructing(false); });
  InitializeTextEdit();
}

void TcxCustomTextEdit::InitializeTextEdit() {
  FBeepOnEnter = true;
  FSelectionHighlight = false;
  if (InnerEdit()) InnerEdit()->Control()->SetColor(clWindow);
  SetBounds(Left(), Top(), 121, 21);
  if (TClass lookupClass = ActiveTextProperties()->LookupDataClass()) {
    TObject* made = CreateInstance(lookupClass, this);
    FLookupData.reset(dynamic_cast<TcxCustomTextEditLookupData*>(made));
    if (!FLookupData) {
      delete made;
      throw EClassNotFound(SClassNotFound, {std::string(lookupClass->Name)});
    }
    FLookupData->SetOnSelectItem(TNotifyEvent(this, &TcxCustomTextEdit::LookupItemSelected));
  }
  FormatController()->AddFormatListener(this);
  FFormatListening = true;
}

TcxCustomTextEdit::~TcxCustomTextEdit() {
  // Asked for its text once its properties are gone, the editor answers
  // what it showed last.
  FSavedText = WindowText();
  FTextSaved = true;
  if (FFormatListening) FormatController()->RemoveFormatListener(this);
  if (FLookupData) FLookupData->SetOnSelectItem(nullptr);
  FLookupData.reset();
}

bool TcxCustomTextEdit::HasLookupData() { return FLookupData && ActiveTextProperties()->HasLookupData(); }

void TcxCustomTextEdit::RefreshFromProperties() {
  ActiveProperties()->NotifyChanged();
  UpdateTextFromEditValue();
}

void TcxCustomTextEdit::Loaded() {
  TcxCustomEdit::Loaded();
  RecalculateAtCursor(false);
}

void TcxCustomTextEdit::DoExit() {
  TcxCustomEdit::DoExit();
  ShowSelectionHighlight(false);
}

// --- inner edit -----------------------------------------------------------------------------------

bool TcxCustomTextEdit::InnerEditVisible() {
  const TcxEditingStyle style = ActiveTextProperties()->EditingStyle();
  if ((style != esFreeText && style != esListText) || !InnerEdit() || IsDesigning()) return false;
  return HasFocusInForm() || ActiveProperties()->Alignment()->Horz() == taLeftJustify;
}

TRect TcxCustomTextEdit::GetInnerControlBounds(const TRect& R, TControl* AControl, bool& AWholeVisible) {
  if (!InnerEditVisible()) {
    // The editor paints the text: nothing of the inner edit shows.
    AWholeVisible = false;
    return TRect{};
  }
  TRect result = TcxCustomEdit::GetInnerControlBounds(R, AControl, AWholeVisible);
  TcxCustomTextEditViewInfo* vi = TextViewInfo();
  if (!AWholeVisible && !IsInplace() && vi->NativeDrawing && vi->IsComboLike) {
    result.Right -= 1;
    result.Bottom -= 1;
  }
  return result;
}

Integer TcxCustomTextEdit::InnerTextHeight() {
  TcxScreenCanvas* canvas = ContainerScreenCanvas();
  if (!canvas || !InnerEdit()) return 0;
  canvas->Font()->Assign(InnerEdit()->Control()->Font());
  return canvas->MeasureTextHeight("Zg");
}

void TcxCustomTextEdit::PositionInnerEdit() {
  if (!InnerEdit() || FPositioning) return;
  auto positioning = FlagSet(FPositioning, true);
  const Integer h = InnerTextHeight();
  TRect client = EditViewInfo()->ClientRect;
  TRect offsets;
  CreateViewData()->ContentOffsets(offsets);
  Integer y = client.Top + offsets.Top;
  switch (ActiveProperties()->Alignment()->Vert()) {
    case taBottomJustify:
      y = client.Bottom - h - offsets.Bottom;
      break;
    case taVCenter:
      y = client.Top + offsets.Top + (client.Height() - h - offsets.Top - offsets.Bottom) / 2;
      break;
    default:
      break;
  }
  const TRect bounds{client.Left + offsets.Left, std::max(y, client.Top + offsets.Top),
                     client.Left + offsets.Left + client.Width() - offsets.Left - offsets.Right + 1,
                     std::max(y, client.Top + offsets.Top) + h};
  TWinControl* inner = InnerEdit()->Control();
  if (inner->BoundsRect() != bounds) inner->SetBoundsRect(bounds);
  if (IsInplace()) {
    client.Top += 1;
    client.Bottom -= 1;
  }
  // The part of the inner edit that shows follows the new place.
  AlignControls(inner, client);
}

void TcxCustomTextEdit::SyncInnerEdit() {
  if (!InnerEdit() || ComponentState().Contains(csLoading)) return;
  IcxCustomInnerEdit* inner = InnerEdit();
  inner->LockBounds(true);
  ScopeExit unlock([inner] { inner->LockBounds(false); });
  TcxCustomEditViewInfo* vi = EditViewInfo();
  TWinControl* control = inner->Control();
  control->SetColor(vi->FillColor);
  TFont font;
  font.Assign(ActiveStyle()->Font());
  font.SetColor(vi->TextColor);
  control->Font()->Assign(&font);
}

bool TcxCustomTextEdit::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) {
  if (!HandleAllocated() || IsEditDestroying()) return false;
  const bool changed = TcxCustomEdit::RefreshState(P, AButton, Shift, AIsMouseEvent);
  if (changed) SyncInnerEdit();
  DoubleBuffered = !InnerEditVisible();
  return changed;
}

void TcxCustomTextEdit::AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) {
  // One line of text, as wide as it runs.
  if (ViewInfo())
    ALimits = {1, -1};
  else
    TcxCustomEdit::AutoSizeMeasureLimits(ALimits);
}

void TcxCustomTextEdit::CallInnerWindowProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS) {
    // Focused while hooked (activation by a host): the text is selected
    // here, and the window's own focus handling waits for the unhook.
    if (IcxInnerTextEdit* inner = InnerTextEdit(); inner && inner->AutoSelect()) SelectWholeText();
    Message.Result = 0;
    return;
  }
  TcxCustomEdit::CallInnerWindowProc(Message);
}

void TcxCustomTextEdit::RestoreInnerEditWindowProc() {
  TcxCustomEdit::RestoreInnerEditWindowProc();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || !inner->Control()->HandleAllocated() || GetFocus() != inner->Control()->Handle()) return;
  // The focus notice held back while hooked, without selecting again.
  const bool autoSelect = inner->AutoSelect();
  inner->SetAutoSelect(false);
  ScopeExit restore([inner, autoSelect] { inner->SetAutoSelect(autoSelect); });
  SendMessage(inner->Control()->Handle(), WM_SETFOCUS, 0, 0);
}

void TcxCustomTextEdit::ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) {
  TcxCustomEdit::ActivateEditing(AEditData);
  if (!HandleAllocated()) return;
  SetSelStart(0);
  if (ActiveProperties()->AutoSelect()) SelectWholeText();
}

// --- properties ------------------------------------------------------------------------------------

void TcxCustomTextEdit::PropertiesChanged(TObject* Sender) {
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner) inner->SetAlignment(properties->Alignment()->Horz());
  if (HasLookupData()) {
    FLookupData->ItemsChanged();
    if (!FLookupChanging) FLookupData->SyncItemIndexWithText();
  }
  if (inner && !InnerEditVisible()) RefreshDrawnText();
  if (!inner) return;
  inner->SetAlignment(properties->Alignment()->Horz());
  inner->SetAutoSelect(properties->AutoSelect() && !IsInplace());
  inner->SetCharCase(properties->CharCase());
  inner->SetEchoMode(properties->EchoMode());
  inner->SetHideSelection(properties->HideSelection());
  inner->SetImeMode(properties->ImeMode());
  inner->SetImeName(properties->ImeName());
  inner->SetMaxLength(properties->MaxLength());
  inner->SetOEMConvert(properties->OEMConvert());
  inner->SetPasswordChar(properties->PasswordChar());
  CheckValueRange();
  if (!Posting()) RevertInvalidLookupText();
  RefreshDrawnText();
  TcxCustomEdit::PropertiesChanged(Sender);
  inner->Control()->Invalidate();
}

void TcxCustomTextEdit::CheckValueRange() {
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  if (DataBinding()->IsDesigning() && properties->FormatsValues() && InnerEdit() && properties->HasValueRange())
    ClampValueToRange();
}

bool TcxCustomTextEdit::IsAcceptableChar(char32_t Ch) {
  if (TcxCustomEdit::IsAcceptableChar(Ch)) return true;
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  if (Ch < 256 && properties->ExtraAcceptedChars()[Ch]) return true;
  bool isCurrency = false, providerFormats = false;
  std::string format;
  properties->EditFormatOf(isCurrency, providerFormats, format, this);
  return !format.empty() || providerFormats;
}

bool TcxCustomTextEdit::IsEditingChar(char32_t Ch) { return Ch == 8 || Ch == 22 || Ch == 24 || Ch >= 32; }

// --- selection ----------------------------------------------------------------------------------------

Integer TcxCustomTextEdit::SelStart() {
  const TcxEditingStyle style = ActiveTextProperties()->EditingStyle();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || style == esNoText || (style == esListPick && !FSelectionHighlight)) return 0;
  return inner->SelStart();
}

Integer TcxCustomTextEdit::SelLength() {
  const TcxEditingStyle style = ActiveTextProperties()->EditingStyle();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || style == esNoText || (style == esListPick && !FSelectionHighlight)) return 0;
  return inner->SelLength();
}

std::string TcxCustomTextEdit::SelText() { return Chars(CurrentDisplayText(), SelStart(), SelLength()); }

void TcxCustomTextEdit::AssignSelStart(Integer Value) {
  if (IcxInnerTextEdit* inner = InnerTextEdit(); inner && !IsTextStyle(esNoText)) inner->SetSelStart(Value);
}

void TcxCustomTextEdit::AssignSelLength(Integer Value) {
  if (IcxInnerTextEdit* inner = InnerTextEdit(); inner && !IsTextStyle(esNoText)) inner->SetSelLength(Value);
}

void TcxCustomTextEdit::SetSelection(Integer AStart, Integer ALength) {
  SetSelStart(AStart);
  SetSelLength(ALength);
}

void TcxCustomTextEdit::SelectWholeText() {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SelectAll();
}

Integer TcxCustomTextEdit::CaretCharIndex() {
  auto* inner = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl());
  return inner ? ::CaretCharIndex(inner) : 0;
}

void TcxCustomTextEdit::ShowSelectionHighlight(bool Value) {
  if (!HandleAllocated() || Value == FSelectionHighlight) return;
  FSelectionHighlight = Value;
  CalculateViewInfoAtCursor();
  RefreshDrawnText();
}

void TcxCustomTextEdit::ResetSelectionHighlight() {
  if (HasLookupData()) ShowSelectionHighlight(false);
}

// --- lookup and item index ------------------------------------------------------------------------------

Integer TcxCustomTextEdit::ValueToItemIndex(const Variant& Value) {
  if (VarIsClear(Value)) return -1;
  return Value.AsInteger();
}

Integer TcxCustomTextEdit::ItemIndex() { return FLookupData ? ValueToItemIndex(FLookupData->CurrentKey()) : -1; }

Variant TcxCustomTextEdit::LookupValueOfIndex(const Variant& Key) {
  Variant value;
  DisplayValueToEditValue(Variant(FLookupData->DisplayTextOfKey(Key)), value, false);
  return value;
}

void TcxCustomTextEdit::AssignItemIndex(Integer Value) {
  if (!FLookupData) return;
  const Integer old = ItemIndex();
  {
    auto noClick = ClicksLocked(*this);
    FLookupData->SetCurrentKeyValue(ItemIndexToValue(Value));
    const Variant value = LookupValueOfIndex(FLookupData->CurrentKey());
    if (!VarEqualsSameType(value, EditValue())) SetEditValue(value);
  }
  if (ItemIndex() == old) return;
  SetModifiedState(false);
  Click();
}

void TcxCustomTextEdit::LookupItemSelected(TObject*) {
  const Variant value = LookupValueOfIndex(FLookupData->CurrentKey());
  if (!VarEqualsSameType(value, EditValue()) && !QueryEditing()) return;
  bool changed = false;
  {
    auto pushed = ModifiedStatePushed(*this);
    const Variant old = EditValue();
    AssignEditValueAndClick(value);
    changed = !VarEqualsSameType(old, EditValue());
  }
  if (changed) SetEditingModified(true);
  SelectWholeText();
  RecalculateAtCursor(false);
}

void TcxCustomTextEdit::FireNewLookupDisplayText(const std::string& Text) {
  auto* own = static_cast<TcxCustomTextEditProperties*>(Properties());
  if (own->OnNewLookupDisplayText) own->OnNewLookupDisplayText(this, Text);
  if (RepositoryItem() && ActiveTextProperties()->OnNewLookupDisplayText)
    ActiveTextProperties()->OnNewLookupDisplayText(this, Text);
}

bool TcxCustomTextEdit::NeedsLookupTextCheck() { return !IsInplace() && !IsDataAware(); }

void TcxCustomTextEdit::RevertInvalidLookupText() {
  if (!InnerEdit()) return;
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  const TcxEditingStyle style = properties->EditingStyle();
  if (style != esListText && style != esListPick) {
    if (!ModifiedAfterEnter()) DataBinding()->UpdateDisplayValue();
    return;
  }
  if (!ModifiedAfterEnter() && !NeedsLookupTextCheck()) {
    UpdateTextFromEditValue();
    return;
  }
  Variant shown(CurrentDisplayText());
  if (properties->IsDisplayValueValid(shown, IsEditFocused())) return;
  {
    auto pushed = ModifiedStatePushed(*this);
    DataBinding()->SetDisplayValue(properties->EmptyEditValue());
  }
  if (!ModifiedAfterEnter()) UpdateEditValueFromText();
}

// --- text and values --------------------------------------------------------------------------------------

void TcxCustomTextEdit::DisplayTextOfValue(std::string& Text) {
  Text = InnerEdit() ? VarToStr(InnerEdit()->EditValue()) : std::string();
}

std::string TcxCustomTextEdit::SavedWindowText() { return FTextSaved ? FSavedText : WindowText(); }

std::string TcxCustomTextEdit::GetText() const { return const_cast<TcxCustomTextEdit*>(this)->SavedWindowText(); }

void TcxCustomTextEdit::SetText(const std::string& Value) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TcxCustomTextEdit::SetInnerEditValue(const Variant& Value) {
  if (InnerEdit()) InnerEdit()->AssignEditValue(Value);
}

void TcxCustomTextEdit::SetTextIfEditable(const std::string& Text) {
  if (!QueryEditing()) return;
  SetText(Text);
  SetEditingModified(true);
}

void TcxCustomTextEdit::UpdateTextFromEditValue() {
  // The edit value is being taken from the text: the text stays.
  if (FUpdatingValueFromText) return;
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  Variant value = EditValue();
  const bool focused = IsEditFocused();
  Variant text;
  if (properties->ValidatesDisplayValue()) {
    if (properties->IsEditValueValid(value, focused)) {
      ConvertToEditValue(value, text, focused);
    } else if (focused) {
      text = properties->EmptyEditValue();
    } else {
      try {
        text = Variant(VarType(value) == varDate ? DateTimeToStr(VarToDateTime(value)) : VarToStr(value));
      } catch (const EVariantError&) {
        text = Variant(std::string());
      }
    }
  } else {
    ConvertToEditValue(EditValue(), text, focused);
  }
  ScopeExit refresh([this] {
    ResetSelectionHighlight();
    RefreshDrawnText();
  });
  auto pushed = ModifiedStatePushed(*this);
  auto updating = FlagSet(FUpdatingTextFromValue, true);
  DataBinding()->SetDisplayValue(text);
}

void TcxCustomTextEdit::UpdateEditValueFromText() {
  Variant value;
  DisplayValueToEditValue(Variant(CurrentDisplayText()), value, IsEditFocused());
  const bool user = UserChanging();
  {
    // The base's assignment compares, stores and notifies; it must neither
    // ask for editing again nor put the text back.
    auto updating = FlagSet(FUpdatingValueFromText, true);
    SetUserChanging(false);
    ScopeExit restore([this, user] { SetUserChanging(user); });
    TcxCustomEdit::ApplyEditValue(value);
  }
  if (user) SetEditingModified(true);
}

void TcxCustomTextEdit::ApplyDisplayValue(const Variant& Value) {
  DataBinding()->SetDisplayValue(Value);
  if (UserChanging()) return;
  ResetSelectionHighlight();
  UpdateEditValueFromText();
  SetModifiedState(false);
}

bool TcxCustomTextEdit::TrySetDisplayText(const std::string& Text) {
  Variant value(Text);
  if (!ActiveTextProperties()->IsDisplayValueValid(value, IsEditFocused())) return false;
  if (UserChanging() && !QueryEditing()) return false;
  ApplyDisplayValue(value);
  return true;
}

void TcxCustomTextEdit::ApplyValidatedDisplayValue(const Variant& Value) {
  if (IsTextStyle(esFreeText) && HasLookupData()) {
    const std::string text = VarToStr(Value);
    if (!FLookupData->ContainsText(text)) FireNewLookupDisplayText(text);
  }
  TcxCustomEdit::ApplyValidatedDisplayValue(Value);
}

void TcxCustomTextEdit::InnerEditChanged(TObject* Sender) {
  WithChangeEventsHeld(*this, [this, Sender] {
    TcxCustomEdit::InnerEditChanged(Sender);
    if (!EditViewInfo()->InnerEditVisible) RefreshDrawnText();
    TcxCustomTextEditProperties* properties = ActiveTextProperties();
    // Digits the user types are regrouped; a text written from the value
    // stays as its format made it.
    if (Focused() && properties->FormatsValues() && properties->UsesThousandSeparators(!FUpdatingTextFromValue))
      RegroupThousandsWhileTyping();
  });
}

void TcxCustomTextEdit::RefreshDrawnText() {
  if (IsEditDestroying()) return;
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData();
  InitializeViewData(viewData.get());
  if (auto* textData = dynamic_cast<TcxCustomTextEditViewData*>(viewData.get()))
    textData->PrepareDisplayText(Variant(CurrentDisplayText()), TextViewInfo());
  if (!HandleAllocated()) return;
  CalculateViewInfoAtCursor();
  ApplyListPickHighlight();
  Invalidate();
}

void TcxCustomTextEdit::ApplyListPickHighlight() {
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  const TcxEditingStyle style = properties->EditingStyle();
  if (style != esListPick && style != esNoText) return;
  TcxCustomTextEditViewInfo* vi = TextViewInfo();
  vi->RowsPrepared = false;
  if (style == esNoText || !FSelectionHighlight || !properties->ListPickSelection()) {
    vi->SelStart = 0;
    vi->SelLength = 0;
  } else if (vi->DrawTextAsSelected) {
    // The typed part shows inverted inside the selected-looking text.
    vi->SelStart = 0;
    vi->SelLength = CharCount(vi->Text) - SelLength();
    vi->SelBackgroundColor = clHighlightText;
    vi->SelTextColor = clHighlight;
  } else {
    vi->SelStart = SelStart();
    vi->SelLength = SelLength();
    vi->SelBackgroundColor = clHighlight;
    vi->SelTextColor = clHighlightText;
  }
}

// --- thousand separators ------------------------------------------------------------------------------------

bool RegroupThousands(std::string& Text, Integer& CaretChar) {
  std::string grouped = Text;
  InsertThousandSeparators(grouped);
  if (!IsNumberText(grouped)) return false;
  const std::string separator(1, DefaultFormatSettings().ThousandSeparator);
  Integer digits = 0;
  Integer index = 0;
  for (size_t pos = 0; pos < Text.size() && index < CaretChar; pos = Utf8NextCharPos(Text, pos), ++index)
    if (Text.compare(pos, separator.size(), separator) != 0) ++digits;
  Text = grouped;
  if (digits == 0) {
    CaretChar = -1;
    return true;
  }
  Integer seen = 0;
  index = 0;
  for (size_t pos = 0; pos < grouped.size(); pos = Utf8NextCharPos(grouped, pos)) {
    ++index;
    if (grouped.compare(pos, separator.size(), separator) != 0 && ++seen == digits) break;
  }
  CaretChar = index;
  return true;
}

void TcxCustomTextEdit::RegroupThousandsWhileTyping() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner) return;
  std::string text = CurrentDisplayText();
  Integer caret = inner->SelStart();
  if (!RegroupThousands(text, caret) || text == CurrentDisplayText()) return;
  SetInnerEditValue(Variant(text));
  if (caret >= 0) {
    inner->SetSelStart(caret);
    inner->SetSelLength(0);
  }
}

// --- clipboard and editing --------------------------------------------------------------------------------------

bool TcxCustomTextEdit::CheckInsertedText(const std::string& Text, std::string& NewText, Integer& NewCaret) {
  const std::string text = Text.substr(0, Text.find('\0'));
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  const TcxEditingStyle style = properties->EditingStyle();
  const bool user = UserChanging();
  if (user && style == esNoText) return false;
  if (style == esListPick || style == esNoText) SelectWholeText();
  const std::string window = WindowText();
  const Integer selStart = SelStart();
  const Integer selLength = SelLength();
  const Integer maxLength = properties->MaxLength();
  if (user && style == esFreeText && maxLength > 0) {
    // The window's own paste keeps what fits of the text and no more.
    NewText = Chars(window, 0, selStart) + text;
    NewCaret = std::min(CharCount(NewText), maxLength);
    // Nothing of a non-empty text would fit; a cut (empty text) removes
    // the selection and always passes.
    if (NewCaret < selStart || (NewCaret == selStart && !text.empty())) return false;
    NewText += Chars(window, selStart + selLength);
    if (CharCount(NewText) > maxLength) NewText = Chars(NewText, 0, maxLength);
  } else {
    if (style == esListPick)
      NewText = text;
    else
      NewText = Chars(window, 0, selStart) + text + Chars(window, selStart + selLength);
    NewCaret = selStart + CharCount(text);
  }
  Variant candidate(NewText);
  if (!properties->IsDisplayValueValid(candidate, IsEditFocused())) return false;
  if (user && !QueryEditing()) return false;
  NewText = VarToStr(candidate);
  return true;
}

void TcxCustomTextEdit::InsertText(const std::string& Text) {
  std::string newText;
  Integer newCaret = 0;
  if (!CheckInsertedText(Text, newText, newCaret)) return;
  ApplyDisplayValue(Variant(newText));
  SetSelStart(newCaret);
}

void TcxCustomTextEdit::EraseSelection() {
  const Integer length = SelLength();
  if (length <= 0) return;
  const Integer start = SelStart();
  const std::string text = CurrentDisplayText();
  if (TrySetDisplayText(Chars(text, 0, start) + Chars(text, start + length))) SetSelStart(start);
}

void TcxCustomTextEdit::CopySelectionToClipboard() {
  if (IsTextStyle(esListPick) || IsTextStyle(esNoText)) SelectWholeText();
  if (SelLength() > 0) InnerTextEdit()->CopyToClipboard();
}

void TcxCustomTextEdit::CutToClipboard() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || SelLength() <= 0) return;
  if (UserChanging()) {
    std::string newText;
    Integer newCaret = 0;
    if (CheckInsertedText(std::string(), newText, newCaret)) inner->CallDefaultWindowProc(WM_CUT, 0, 0);
    return;
  }
  inner->CopyToClipboard();
  InsertText(std::string());
}

void TcxCustomTextEdit::PasteFromClipboard() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || !Clipboard()->HasFormat(CF_TEXT)) return;
  const std::string text = Clipboard()->AsText();
  if (UserChanging()) {
    std::string newText;
    Integer newCaret = 0;
    if (CheckInsertedText(text, newText, newCaret)) inner->CallDefaultWindowProc(WM_PASTE, 0, 0);
    return;
  }
  InsertText(text);
}

// --- window messages -----------------------------------------------------------------------------------------------

void TcxCustomTextEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      Message.Result = 0;
      if (static_cast<Integer>(Message.WParam) < 1 || !Message.LParam) return;
      const std::string text = SavedWindowText();
      // Cut to the buffer, never inside a character.
      size_t n = std::min(text.size(), static_cast<size_t>(Message.WParam) - 1);
      if (n < text.size()) n = Utf8CharStart(text, n);
      auto* buffer = reinterpret_cast<char*>(Message.LParam);
      std::memcpy(buffer, text.data(), n);
      buffer[n] = '\0';
      Message.Result = static_cast<LRESULT>(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(SavedWindowText().size());
      return;
    case WM_SETTEXT: {
      if (FSettingWindowText) break;
      auto setting = FlagSet(FSettingWindowText, true);
      const char* text = reinterpret_cast<const char*>(Message.LParam);
      Message.Result = ApplyWindowText(text ? text : "") ? 1 : 0;
      return;
    }
    case WM_CLEAR: {
      const bool user = UserChanging();
      SetUserChanging(true);
      ScopeExit restore([this, user] { SetUserChanging(user); });
      if (!ActiveProperties()->ReadOnly() && DataBinding()->IsDataAvailable()) EraseSelection();
      return;
    }
    default:
      break;
  }
  TcxCustomEdit::WndProc(Message);
}

// --- keyboard ----------------------------------------------------------------------------------------------------------

bool TcxCustomTextEdit::IsIncrementalSearchUsed() {
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  const TcxEditingStyle style = properties->EditingStyle();
  return style == esListText || style == esListPick || (style == esFreeText && properties->IncrementalSearch());
}

bool TcxCustomTextEdit::IsEditingKey(Word Key, TShiftState Shift) {
  if (TcxCustomEdit::IsEditingKey(Key, Shift) || Key == VK_DELETE) return true;
  if (!HasLookupData() || FLookupData->HasNoItems() || !CanNavigateLookup(false) || IsPopupShown()) return false;
  if (Key == VK_PRIOR || Key == VK_NEXT) return true;
  return (Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssAlt);
}

void TcxCustomTextEdit::NavigateLookup(Integer Direction) {
  WithChangeEventsHeld(*this, [this, Direction] {
    auto navigating = FlagSet(FLookupNavigating, true);
    const Variant old = FLookupData->CurrentKey();
    {
      auto noClick = ClicksLocked(*this);
      FLookupData->Navigate(Direction, false);
    }
    if (VarEqualsSameType(old, FLookupData->CurrentKey())) return;
    MarkModifiedAndClick();
    if (CanPostEditValue() && ActiveProperties()->ImmediatePost() && ValidateDisplayText(true)) PostEditValue(false);
  });
}

void TcxCustomTextEdit::EditKeyDown(Word& Key, TShiftState Shift) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const TcxEditingStyle style = ActiveTextProperties()->EditingStyle();
  if (style == esListPick && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DELETE)) {
    // Nothing of a picked text is edited piecewise.
    ShowSelectionHighlight(false);
    ForwardUnusedKey(Key, Shift);
    Key = 0;
  }
  if (inner) inner->SetKeyHandled(true);
  const Word key = Key;
  const bool highlighted = FSelectionHighlight;
  // A key already taken must not reach the base's key table (a missing
  // clear key would match it).
  if (Key != 0) TcxCustomEdit::EditKeyDown(Key, Shift);
  if (key == VK_RETURN && highlighted) SelectWholeText();
  if (Key != 0) {
    switch (Key) {
      case VK_PRIOR:
      case VK_NEXT:
      case VK_UP:
      case VK_DOWN:
      case VK_HOME:
      case VK_END: {
        const bool homeOrEnd = Key == VK_HOME || Key == VK_END;
        if (homeOrEnd && style != esListPick) break;
        if (HasLookupData() && CanNavigateLookup(false) && !FLookupData->HasNoItems()) {
          const bool ctrl = Shift.Contains(ssCtrl);
          Integer direction = lnNext;
          switch (Key) {
            case VK_PRIOR: direction = ctrl ? lnFirst : lnPageUp; break;
            case VK_NEXT: direction = ctrl ? lnLast : lnPageDown; break;
            case VK_END: direction = lnLast; break;
            case VK_HOME: direction = lnFirst; break;
            case VK_UP: direction = lnPrevious; break;
            default: direction = lnNext; break;
          }
          NavigateLookup(direction);
          Key = 0;
        }
        if (!homeOrEnd && Key != 0 && !(inner && inner->IsMultiLine())) {
          ForwardUnusedKey(Key, Shift);
          Key = 0;
        }
        break;
      }
      case VK_LEFT:
      case VK_RIGHT:
        if (!Shift.Contains(ssShift) && SelLength() > 0) {
          const Integer caret = Key == VK_RIGHT ? SelStart() + SelLength() : SelStart();
          SetSelStart(caret);
          SetSelLength(0);
          Key = 0;
        }
        ShowSelectionHighlight(false);
        break;
      case VK_DELETE:
        if (style == esListText) {
          ForwardUnusedKey(Key, Shift);
          Key = 0;
        } else {
          ShowSelectionHighlight(false);
        }
        break;
      default:
        break;
    }
  }
  if (Key == VK_END && SelLength() == 0 && style != esListPick) ShowSelectionHighlight(false);
  if (Key != 0 && inner) inner->SetKeyHandled(false);
}

bool TcxCustomTextEdit::CanTypeInto() {
  const TcxEditingStyle style = ActiveTextProperties()->EditingStyle();
  if (style == esListText || style == esListPick) return true;
  if (SelLength() > 0 || FSelectionHighlight) return true;
  // Typing inside a free text inserts without completing.
  return SelStart() == CharCount(CurrentDisplayText());
}

bool TcxCustomTextEdit::LocateAndApply(std::string& Text) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  std::string s = Text;
  const char pending = inner ? inner->ImeLastChar() : 0;
  if (pending) s += pending;
  std::string tail;
  const bool found = FLookupData->LocateText(s, tail, false);
  if (found) {
    Text = s;
    if (pending && !Text.empty()) {
      // The window inserts the pending character itself.
      const size_t last = Utf8PrevCharPos(Text, Text.size());
      tail = Text.substr(last) + tail;
      Text.erase(last);
    }
  }
  FSelectionHighlight = found;
  if (Text.empty()) {
    if (!IsTextStyle(esListPick)) ApplyDisplayValue(Variant(std::string()));
    FSelectionHighlight = false;
  }
  if (found) {
    DataBinding()->SetDisplayValue(Variant(Text + tail));
    SetSelStart(CharCount(Text));
    SetSelLength(CharCount(tail));
  }
  RefreshDrawnText();
  return found;
}

void TcxCustomTextEdit::EditKeyPress(char32_t& Key) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner) inner->SetKeyHandled(true);
  TcxCustomEdit::EditKeyPress(Key);
  if (Key == 0) return;
  TcxCustomTextEditProperties* properties = ActiveTextProperties();
  const TcxEditingStyle style = properties->EditingStyle();
  FLookupChanging = false;
  const bool hasLookup = HasLookupData();
  const Variant oldKey = hasLookup ? FLookupData->CurrentKey() : Variant();
  bool found = false;
  {
    SetUserChanging(true);
    LockClick(true);
    ScopeExit release([this] {
      LockClick(false);
      SetUserChanging(false);
    });
    if (style == esListPick && Key == 8 && !properties->ListPickSelection()) {
      Key = 0;
      ShowSelectionHighlight(false);
    }
    const bool highlighted = FSelectionHighlight;
    if (Key == 8 && hasLookup && IsIncrementalSearchUsed()) {
      if (style == esListText && !CurrentDisplayText().empty() && !FSelectionHighlight) {
        const Integer start = SelStart();
        SetSelection(start, CharCount(CurrentDisplayText()) - start);
        ShowSelectionHighlight(true);
      }
      if (FSelectionHighlight) {
        std::string head = Chars(CurrentDisplayText(), 0, SelStart());
        if (!head.empty()) head.erase(Utf8PrevCharPos(head, head.size()));
        FLookupChanging = true;
        found = LocateAndApply(head);
      }
      if (style == esListPick) Key = 0;
    } else if (Key >= 32 && hasLookup) {
      const std::string ch = Utf8Encode(Key);
      if (IsIncrementalSearchUsed() && CanTypeInto()) {
        FLookupChanging = true;
        std::string t = CurrentDisplayText();
        const Integer start = SelStart();
        if (SelLength() > 0) {
          t = Chars(t, 0, start) + ch;
        } else if (style != esListPick) {
          t = Chars(t, 0, start) + ch + Chars(t, start);
        } else if (FSelectionHighlight) {
          t += ch;
          found = LocateAndApply(t);
          if (!found) t = ch;
        } else {
          t = ch;
        }
        if (!found) found = LocateAndApply(t);
        if (!found && style == esListPick && !properties->ListPickSelection()) {
          std::string alone = ch;
          found = LocateAndApply(alone);
        }
      }
      if ((style == esListText || style == esListPick) && !found) {
        // A character that matches no item goes nowhere.
        Key = 0;
        if (style == esListText && !CurrentDisplayText().empty()) ShowSelectionHighlight(true);
        if (style == esListPick && properties->ListPickSelection() && highlighted) ShowSelectionHighlight(true);
      }
    }
  }
  if (hasLookup && !VarEqualsSameType(oldKey, FLookupData->CurrentKey())) MarkModifiedAndClick();
  if (found) Key = 0;
  if (Key != 0 && inner) inner->SetKeyHandled(false);
}

void TcxCustomTextEdit::KeyPress(char32_t& Key) {
  if (Key == 27 && EscapeHandled() && FPopupClosedKey && !IsPopupShown()) FPopupClosedKey = false;
  TcxCustomEdit::KeyPress(Key);
}

bool TcxCustomTextEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (TcxCustomEdit::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const bool result = CanNavigateLookup(true) && !IsPopupShown() && HasLookupData() && !FLookupData->HasNoItems() &&
                      HandlesMouseWheel(Shift);
  if (result && QueryEditing()) NavigateLookup(WheelDelta >= 1 ? lnPrevious : lnNext);
  return result;
}

// --- the published editor -----------------------------------------------------------------------------------------------

TcxTextEdit::TcxTextEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomTextEdit(AOwner, AIsInplace, TextEditKind(TcxTextEditProperties::StaticClass())) {}

void RegisterTextEditClasses() {
  RegisterClasses({TcxCustomTextEdit::StaticClass(), TcxTextEdit::StaticClass(),
                   TcxEditRepositoryTextItem::StaticClass()});
}
