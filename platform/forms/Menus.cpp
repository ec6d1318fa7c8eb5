#include "platform/forms/Menus.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

using namespace win;

// Shortcuts -------------------------------------------------------------------------

namespace {

struct KeyName {
  Word Key;
  const char* Name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},   {VK_END, "End"},    {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},       {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

std::string KeyText(Word Key) {
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return std::string(1, static_cast<char>(Key));
  if (Key >= VK_F1 && Key <= VK_F1 + 23) return "F" + std::to_string(Key - VK_F1 + 1);
  for (const KeyName& k : kKeyNames)
    if (k.Key == Key) return k.Name;
  return std::string();
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::toupper(x) == std::toupper(y); });
}

// Command numbers of items: WM_COMMAND carries 16 bits, 0 is none.
std::unordered_map<Word, TMenuItem*>& Commands() {
  static std::unordered_map<Word, TMenuItem*> commands;
  return commands;
}

Word AllocateCommand(TMenuItem* Item) {
  static Word next = 0;
  for (int tries = 0; tries < 0xFFFF; ++tries) {
    if (++next == 0) next = 1;
    if (!Commands().count(next)) {
      Commands()[next] = Item;
      return next;
    }
  }
  throw EMenuError("Out of menu commands");
}

std::unordered_map<const TWinControl*, TMainMenu*>& FormMenus() {
  static std::unordered_map<const TWinControl*, TMainMenu*> menus;
  return menus;
}

TWinControl* TopForm(TWinControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return Control;
}

// A key at a control: its own or a parent's popup menu first, then the main
// menu of its form and of the program's main form.
// A form that waits (disabled by a modal form) takes no commands: its
// menu's shortcuts stay with the focused control.
bool TakesCommands(TWinControl* Form) { return !Form->HandleAllocated() || IsWindowEnabled(Form->Handle()); }

bool MenuKey(TWinControl* Control, TMessage& Message) {
  for (TControl* c = Control; c; c = c->Parent())
    if (auto* popup = dynamic_cast<TPopupMenu*>(c->PopupMenu()))
      if (popup->IsShortCut(Message)) return true;
  TWinControl* form = TopForm(Control);
  if (TMainMenu* menu = TMainMenu::OfForm(form); menu && TakesCommands(form) && menu->IsShortCut(Message)) return true;
  TWinControl* main = Application ? Application->MainForm() : nullptr;
  if (main && main != form && TakesCommands(main))
    if (TMainMenu* menu = TMainMenu::OfForm(main); menu && menu->IsShortCut(Message)) return true;
  return false;
}


TShiftState CurrentShift() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s += ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s += ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s += ssAlt;
  return s;
}

}  // namespace

void InstallMenuKeyHook() { SetMenuKeyHook(&MenuKey); }

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if (Key & 0xFF00) return scNone;
  TShortCut result = Key;
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut Value, Word& Key, TShiftState& Shift) {
  Key = Value & 0xFF;
  Shift = TShiftState();
  if (Value & scShift) Shift += ssShift;
  if (Value & scCtrl) Shift += ssCtrl;
  if (Value & scAlt) Shift += ssAlt;
}

std::string ShortCutToText(TShortCut Value) {
  std::string name = KeyText(Value & 0xFF);
  if (name.empty()) return std::string();
  std::string result;
  if (Value & scShift) result += "Shift+";
  if (Value & scCtrl) result += "Ctrl+";
  if (Value & scAlt) result += "Alt+";
  return result + name;
}

TShortCut TextToShortCut(const std::string& Text) {
  std::string rest = Text;
  TShortCut shift = 0;
  for (;;) {
    if (rest.size() > 6 && SameText(rest.substr(0, 6), "Shift+")) {
      shift |= scShift;
      rest.erase(0, 6);
    } else if (rest.size() > 5 && SameText(rest.substr(0, 5), "Ctrl+")) {
      shift |= scCtrl;
      rest.erase(0, 5);
    } else if (rest.size() > 4 && SameText(rest.substr(0, 4), "Alt+")) {
      shift |= scAlt;
      rest.erase(0, 4);
    } else {
      break;
    }
  }
  if (rest.empty()) return scNone;
  for (Word key = 8; key <= 0xFF; ++key)
    if (std::string name = KeyText(key); !name.empty() && SameText(name, rest)) return shift | key;
  return scNone;
}

std::string StripHotkey(const std::string& Text) {
  std::string result;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == cHotkey) {
      if (i + 1 < Text.size() && Text[i + 1] == cHotkey) result += cHotkey;
      if (i + 1 < Text.size()) ++i, result += Text[i] == cHotkey ? std::string() : std::string(1, Text[i]);
      continue;
    }
    result += Text[i];
  }
  return result;
}

// TMenuItem ---------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TMenuItem, TComponent)

VXN_PUBLISH(TMenuItem) {
  P.Property("Bitmap", &TMenuItem::Bitmap, &TMenuItem::SetBitmap).Stored(&TMenuItem::HasBitmap);
  P.Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
  P.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  P.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
  P.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
  P.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
  P.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  P.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  P.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  P.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
  P.Property("ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut).Default(0);
  P.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
  P.Event("OnClick", &TMenuItem::OnClick);
  P.Event("OnDrawItem", &TMenuItem::OnDrawItem);
  P.Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
  P.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), Command_(AllocateCommand(this)) {}

// Items belong to their owner component; freeing an item frees those listed
// under it, and an item freed elsewhere leaves its parent's list.
TMenuItem::~TMenuItem() {
  Destroying();
  while (!Items_.empty()) Items_.back()->Free();  // each leaves the list as it goes
  if (Parent_) Parent_->Remove(this);
  if (Handle_) DestroyMenu(Handle_);
  Commands().erase(Command_);
}

void TMenuItem::SetCaption(const std::string& Value) {
  if (Caption_ == Value) return;
  Caption_ = Value;
  MenuChanged(true);
}

void TMenuItem::TurnSiblingsOff() {
  if (!Parent_) return;
  for (TMenuItem* item : Parent_->Items_)
    if (item != this && item->RadioItem_ && item->GroupIndex_ == GroupIndex_ && item->Checked_) {
      item->Checked_ = false;
    }
}

void TMenuItem::SetChecked(bool Value) {
  if (Checked_ == Value) return;
  Checked_ = Value;
  if (Value && RadioItem_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetEnabled(bool Value) {
  if (Enabled_ == Value) return;
  Enabled_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetVisible(bool Value) {
  if (Visible_ == Value) return;
  Visible_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool Value) {
  if (RadioItem_ == Value) return;
  RadioItem_ = Value;
  if (Checked_ && RadioItem_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetGroupIndex(Byte Value) {
  if (GroupIndex_ == Value) return;
  GroupIndex_ = Value;
  if (Checked_ && RadioItem_) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value) {
  if (Default_ == Value) return;
  if (Value && Parent_)
    for (TMenuItem* item : Parent_->Items_) item->Default_ = false;
  Default_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(Integer Value) {
  if (ImageIndex_ == Value) return;
  ImageIndex_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (ShortCut_ == Value) return;
  ShortCut_ = Value;
  MenuChanged(true);
}

void TMenuItem::SetBreak(TMenuBreak Value) {
  if (Break_ == Value) return;
  Break_ = Value;
  MenuChanged(true);
}

TBitmap* TMenuItem::Bitmap() {
  if (!Bitmap_) Bitmap_ = std::make_unique<TBitmap>();
  return Bitmap_.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
  Bitmap()->Assign(Value);
  MenuChanged(true);
}

void TMenuItem::SetSubMenuImages(TCustomImageList* Value) {
  SubMenuImages_ = Value;
  MenuChanged(true);
}

TMenuItem* TMenuItem::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(SMenuIndexError);
  return Items_[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->Parent_) throw EMenuError(SMenuReinserted);
  if (Index < 0 || Index > Count()) throw EMenuError(SMenuIndexError);
  Items_.insert(Items_.begin() + Index, Item);
  Item->Parent_ = this;
  if (Item->Checked_ && Item->RadioItem_) Item->TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(Items_.begin(), Items_.end(), Item);
  if (it == Items_.end()) throw EMenuError(SMenuNotFound);
  Items_.erase(it);
  Item->Parent_ = nullptr;
  if (!ComponentState().Contains(csDestroying)) MenuChanged(true);
}

void TMenuItem::Delete(Integer Index) { Items(Index)->Free(); }

void TMenuItem::Clear() {
  while (!Items_.empty()) Items_.back()->Free();
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(Items_.begin(), Items_.end(), Item);
  return it == Items_.end() ? -1 : static_cast<Integer>(it - Items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  std::string wanted = StripHotkey(ACaption);
  for (TMenuItem* item : Items_)
    if (SameText(StripHotkey(item->Caption_), wanted)) return item;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->Parent_) item = item->Parent_;
  return item->Menu_;
}

TCustomImageList* TMenuItem::GetImageList() const {
  for (const TMenuItem* p = Parent_; p; p = p->Parent_) {
    if (p->SubMenuImages_) return p->SubMenuImages_;
    if (p->Menu_) return p->Menu_->Images();
  }
  return nullptr;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (Parent_ && Parent_->Menu_) return Parent_->Menu_;
  return Parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (Parent_) Parent_->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent*) {
  for (TMenuItem* item : Items_) Proc(item);
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  MenuChanged(true);
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, Rebuild);
}

void TMenuItem::Click() {
  if (!Enabled_) return;
  if (OnClick) OnClick(this);
}

win::HMENU TMenuItem::Handle() {
  if (!Handle_) {
    Handle_ = CreatePopupMenu();
    // Whether an item is drawn by us (its image) is the menu's call.
    TMenu* menu = GetParentMenu();
    for (TMenuItem* item : Items_)
      if (item->Visible_) item->AppendTo(Handle_, menu && menu->IsOwnerDraw(item), false);
  }
  return Handle_;
}

void TMenuItem::DestroyHandle() {
  for (TMenuItem* item : Items_) item->DestroyHandle();
  if (Handle_) DestroyMenu(Handle_);
  Handle_ = nullptr;
}

void TMenuItem::AppendTo(win::HMENU Menu, bool OwnerDraw, bool TopLevel) {
  std::string text = Caption_;
  if (ShortCut_ && !TopLevel) text += "\t" + ShortCutToText(ShortCut_);
  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_SUBMENU;
  info.fType = (IsLine() ? MFT_SEPARATOR : 0) | (OwnerDraw ? MFT_OWNERDRAW : 0) | (RadioItem_ ? MFT_RADIOCHECK : 0) |
               (Break_ == mbBreak ? MFT_MENUBREAK : Break_ == mbBarBreak ? MFT_MENUBARBREAK : 0);
  info.fState = (Enabled_ ? 0 : MFS_GRAYED) | (Checked_ ? MFS_CHECKED : 0) | (Default_ ? MFS_DEFAULT : 0);
  info.wID = Command_;
  info.dwItemData = Command_;
  info.dwTypeData = text.data();
  info.hSubMenu = Items_.empty() ? nullptr : Handle();
  InsertMenuItem(Menu, 0xFFFFFFFF, TRUE, &info);
}

void TMenuItem::DefaultDraw(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
  bool selected = State.Contains(odSelected);
  ACanvas->Brush()->SetColor(selected && !TopLevel ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  if (IsLine()) {
    Integer y = (ARect.Top + ARect.Bottom) / 2 - 1;
    ACanvas->Pen()->SetColor(clBtnShadow);
    ACanvas->MoveTo(ARect.Left + 1, y);
    ACanvas->LineTo(ARect.Right - 1, y);
    ACanvas->Pen()->SetColor(clBtnHighlight);
    ACanvas->MoveTo(ARect.Left + 1, y + 1);
    ACanvas->LineTo(ARect.Right - 1, y + 1);
    return;
  }
  Integer check = GetSystemMetrics(SM_CXMENUCHECK) + 4;
  TRect text = ARect;
  if (!TopLevel) {
    TCustomImageList* images = GetImageList();
    Integer glyphW = images ? std::max(check, images->Width() + 4) : check;
    if (images && ImageIndex_ >= 0 && ImageIndex_ < images->Count()) {
      if (Checked_) {
        ACanvas->Brush()->SetColor(clBtnHighlight);
        ACanvas->FrameRect(TRect{ARect.Left + 1, ARect.Top + 1, ARect.Left + glyphW - 1, ARect.Bottom - 1});
      }
      images->Draw(ACanvas, ARect.Left + 2, ARect.Top + (ARect.Bottom - ARect.Top - images->Height()) / 2, ImageIndex_,
                   Enabled_);
    } else if (HasBitmap()) {
      ACanvas->Draw(ARect.Left + 2, ARect.Top + (ARect.Bottom - ARect.Top - Bitmap_->Height()) / 2, Bitmap_.get());
    } else if (Checked_) {
      TColor c = !Enabled_ ? clGrayText : selected ? clHighlightText : clMenuText;
      ACanvas->Pen()->SetColor(c);
      ACanvas->Brush()->SetColor(c);
      Integer cx = ARect.Left + glyphW / 2, cy = (ARect.Top + ARect.Bottom) / 2;
      if (RadioItem_) {
        ACanvas->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
      } else {
        for (Integer d = 0; d < 3; ++d) {
          ACanvas->MoveTo(cx - 3, cy - 1 + d);
          ACanvas->LineTo(cx - 1, cy + 1 + d);
          ACanvas->LineTo(cx + 4, cy - 4 + d);
        }
      }
    }
    text.Left += glyphW + 2;
    text.Right -= check;
  }
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->Font()->SetColor(!Enabled_ ? clGrayText : selected && !TopLevel ? clHighlightText : clMenuText);
  if (Default_) ACanvas->Font()->SetStyle(ACanvas->Font()->GetStyle() + fsBold);
  ACanvas->RequiredState();
  RECT r{text.Left, text.Top, text.Right, text.Bottom};
  UINT align = TopLevel ? DT_CENTER : DT_LEFT;
  // A disabled item is embossed, except on the selection bar.
  auto draw = !Enabled_ && !(selected && !TopLevel) ? &DrawDisabledText
                                     : static_cast<int (*)(HDC, const char*, int, RECT*, UINT)>(&DrawText);
  draw(ACanvas->Handle(), Caption_.c_str(), static_cast<int>(Caption_.size()), &r, DT_SINGLELINE | DT_VCENTER | align);
  if (ShortCut_ && !TopLevel) {
    std::string key = ShortCutToText(ShortCut_);
    draw(ACanvas->Handle(), key.c_str(), static_cast<int>(key.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

// TMenu ---------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TMenu, TComponent)

VXN_PUBLISH(TMenu) {
  P.Property("Images", &TMenu::Images, &TMenu::SetImages);
  P.Property("BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode).Default(bdLeftToRight);
  P.Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
}

TMenu::TMenu(TComponent* AOwner)
    : TComponent(AOwner), Items_(std::make_unique<TMenuItem>(nullptr)), ImageChangeLink_(std::make_unique<TChangeLink>()) {
  Items_->Menu_ = this;
  ImageChangeLink_->OnChange = TNotifyEvent(this, &TMenu::ImageListChange);
}

TMenu::~TMenu() {
  Destroying();
  if (Images_) Images_->UnRegisterChanges(ImageChangeLink_.get());
  Items_->Clear();
  DestroyHandle();
}

win::HMENU TMenu::Handle() {
  if (!Handle_) {
    Handle_ = IsBar() ? CreateMenu() : CreatePopupMenu();
    // Sub-menu handles made before the items had their menu (a tree built
    // first and added later) are filled again with what the menu draws.
    Fill(Handle_, Items_.get(), IsBar());
  }
  return Handle_;
}

void TMenu::Fill(HMENU Menu, TMenuItem* Parent, bool TopLevel) {
  while (GetMenuItemCount(Menu) > 0) RemoveMenu(Menu, 0, MF_BYPOSITION);
  for (TMenuItem* item : Parent->Items_) {
    if (!item->Items_.empty() && item->Handle_) Fill(item->Handle_, item, false);
    if (item->Items_.empty() && item->Handle_) item->DestroyHandle();
    if (item->Visible_) item->AppendTo(Menu, IsOwnerDraw(item), TopLevel);
  }
}

void TMenu::DestroyHandle() {
  for (TMenuItem* item : Items_->Items_) item->DestroyHandle();
  if (Handle_) DestroyMenu(Handle_);
  Handle_ = nullptr;
}

// The handles are built again from the items; the sub-menu handles are kept
// and refilled so that an open menu loop still knows them.
void TMenu::RebuildHandle() {
  if (!Handle_) return;
  Fill(Handle_, Items_.get(), IsBar());
  Refilled();
}

void TMenu::MenuChanged(TMenuItem*, bool Rebuild) {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  if (Rebuild) RebuildHandle();
}

void TMenu::Loaded() {
  TComponent::Loaded();
  MenuChanged(nullptr, true);
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (!RelinkImageList(Images_, Value, ImageChangeLink_.get(), this)) return;
  MenuChanged(nullptr, true);
}

void TMenu::SetOwnerDraw(bool Value) {
  if (OwnerDraw_ == Value) return;
  OwnerDraw_ = Value;
  MenuChanged(nullptr, true);
}

void TMenu::ImageListChange(TObject*) { MenuChanged(nullptr, true); }

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == Images_) {
    Images_ = nullptr;
    MenuChanged(nullptr, true);
  }
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { Items_->GetChildren(Proc, Root); }

bool TMenu::IsOwnerDraw(const TMenuItem* Item) const {
  if (OwnerDraw_) return true;
  if (!Item || (IsBar() && Item->Parent_ == Items_.get())) return false;  // the bar draws its own captions
  TCustomImageList* images = Item->GetImageList();
  return (images && Item->ImageIndex_ >= 0) || Item->HasBitmap() || Item->OnDrawItem || Item->OnAdvancedDrawItem;
}

TMenuItem* TMenu::FindItem(uintptr_t Value, TFindItemKind Kind) const {
  std::function<TMenuItem*(TMenuItem*)> walk = [&](TMenuItem* parent) -> TMenuItem* {
    for (TMenuItem* item : parent->Items_) {
      bool hit = (Kind == fkCommand && item->Command_ == Value) ||
                 (Kind == fkHandle && item->Handle_ && reinterpret_cast<uintptr_t>(item->Handle_) == Value) ||
                 (Kind == fkShortCut && item->ShortCut_ && item->ShortCut_ == Value);
      if (hit) return item;
      if (TMenuItem* found = walk(item)) return found;
    }
    return nullptr;
  };
  return walk(Items_.get());
}

bool TMenu::DispatchCommand(Word ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(win::HMENU AMenu) {
  TMenuItem* item = AMenu == Handle_ ? nullptr : FindItem(reinterpret_cast<uintptr_t>(AMenu), fkHandle);
  if (AMenu != Handle_ && !item) return false;
  if (item) item->Click();
  return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_SYSKEYDOWN && Message.Msg != CN_KEYDOWN &&
      Message.Msg != CN_SYSKEYDOWN)
    return false;
  TShortCut sc = ShortCut(static_cast<Word>(Message.WParam), CurrentShift());
  if (sc == scNone) return false;
  TMenuItem* item = FindItem(sc, fkShortCut);
  if (!item) return false;
  // Every level up to the menu must be enabled and visible.
  for (TMenuItem* p = item; p && p != Items_.get(); p = p->Parent_)
    if (!p->Enabled_ || !p->Visible_) return false;
  // Parents hear first, as when the user opens them (items may update).
  std::vector<TMenuItem*> chain;
  for (TMenuItem* p = item->Parent_; p && p != Items_.get(); p = p->Parent_) chain.insert(chain.begin(), p);
  for (TMenuItem* p : chain) p->Click();
  if (!item->Enabled_) return false;
  item->Click();
  return true;
}

void TMenu::MeasureItemMessage(MEASUREITEMSTRUCT& Measure) {
  TMenuItem* item = FindItem(Measure.itemID, fkCommand);
  if (!item) return;
  WindowDc dc(nullptr);
  TCanvas canvas;  // deselects its objects before the DC goes back
  canvas.SetHandle(dc);
  NONCLIENTMETRICS m;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  HFONT font = CreateFontIndirect(&m.lfMenuFont);
  canvas.Font()->SetHandle(font);
  bool top = IsBar() && item->Parent_ == Items_.get();
  Integer width = 0, height = GetSystemMetrics(SM_CYMENU);
  if (item->IsLine()) {
    height = height / 2;
  } else {
    std::string text = StripHotkey(item->Caption_);
    width = canvas.TextWidth(text) + (top ? 12 : 0);
    if (item->ShortCut_ && !top) width += canvas.TextWidth(ShortCutToText(item->ShortCut_)) + 16;
    if (!top) {
      TCustomImageList* images = item->GetImageList();
      Integer check = GetSystemMetrics(SM_CXMENUCHECK) + 4;
      width += (images ? std::max(check, images->Width() + 4) : check) + 2;
      if (images) height = std::max(height, images->Height() + 4);
      if (item->HasBitmap()) height = std::max(height, item->Bitmap_->Height() + 4);
    }
  }
  if (item->OnMeasureItem) item->OnMeasureItem(item, &canvas, width, height);
  Measure.itemWidth = static_cast<UINT>(std::max<Integer>(width, 0));
  Measure.itemHeight = static_cast<UINT>(std::max<Integer>(height, 0));
}

void TMenu::DrawItemMessage(DRAWITEMSTRUCT& Draw) {
  TMenuItem* item = FindItem(Draw.itemID, fkCommand);
  if (!item) return;
  TCanvas canvas;
  canvas.SetHandle(Draw.hDC);
  NONCLIENTMETRICS m;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  canvas.Font()->SetHandle(CreateFontIndirect(&m.lfMenuFont));
  TOwnerDrawState state;
  if (Draw.itemState & 0x1) state += odSelected;
  if (Draw.itemState & 0x2) state += odGrayed;
  if (Draw.itemState & 0x4) state += odDisabled;
  if (Draw.itemState & 0x8) state += odChecked;
  if (Draw.itemState & 0x20) state += odDefault;
  TRect r{Draw.rcItem.left, Draw.rcItem.top, Draw.rcItem.right, Draw.rcItem.bottom};
  bool top = IsBar() && item->Parent_ == Items_.get();
  if (item->OnAdvancedDrawItem)
    item->OnAdvancedDrawItem(item, &canvas, r, state);
  else if (item->OnDrawItem)
    item->OnDrawItem(item, &canvas, r, state.Contains(odSelected));
  else
    item->DefaultDraw(&canvas, r, state, top);
  canvas.SetHandle(nullptr);
}

bool TMenu::HandleMenuMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
      if (Message.LParam != 0 || HIWORD(Message.WParam) != 0) return false;
      if (!FindItem(LOWORD(Message.WParam), fkCommand)) return false;
      DispatchCommand(LOWORD(Message.WParam));
      Message.Result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (!DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return false;
      Message.Result = 0;
      return true;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (!mis || mis->CtlType != ODT_MENU || !FindItem(mis->itemID, fkCommand)) return false;
      MeasureItemMessage(*mis);
      Message.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (!dis || dis->CtlType != ODT_MENU || !FindItem(dis->itemID, fkCommand)) return false;
      DrawItemMessage(*dis);
      Message.Result = 1;
      return true;
    }
    case WM_MENUSELECT: {
      // The selected item's hint becomes the application's hint.
      UINT flags = HIWORD(Message.WParam);
      if (flags == 0xFFFF && Message.LParam == 0) {
        if (Application) Application->SetHint("");
        return false;
      }
      TMenuItem* item = (flags & MF_POPUP) ? nullptr : FindItem(LOWORD(Message.WParam), fkCommand);
      if ((flags & MF_POPUP) && Message.LParam) {
        HMENU parent = reinterpret_cast<HMENU>(Message.LParam);
        HMENU sub = GetSubMenu(parent, LOWORD(Message.WParam));
        item = sub ? FindItem(reinterpret_cast<uintptr_t>(sub), fkHandle) : nullptr;
      }
      if (!item) return false;
      if (Application) Application->SetHint(item->Hint());
      return false;
    }
    default: return false;
  }
}

// TMainMenu -------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TMainMenu, TMenu)

VXN_PUBLISH(TMainMenu) {}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
  Destroying();
  AttachToForm(nullptr);
}

TMainMenu* TMainMenu::OfForm(const TWinControl* Form) {
  auto it = FormMenus().find(Form);
  return it == FormMenus().end() ? nullptr : it->second;
}

win::HMENU TMainMenu::Handle() {
  HMENU h = TMenu::Handle();
  return h;
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent && AComponent == FormComponent_) {
    // The form goes: nothing of it may be touched any more.
    FormMenus().erase(Form_);
    Form_ = nullptr;
    FormComponent_ = nullptr;
    SetWindowHandle(nullptr);
  }
  if (Operation == opRemove && AComponent && AComponent == WindowMenu_) WindowMenu_ = nullptr;
  TMenu::Notification(AComponent, Operation);
}

void TMainMenu::AttachToForm(TWinControl* Form) {
  if (Form_ == Form) return;
  if (Form_ && FormComponent_->ComponentState().Contains(csDestroying)) {
    FormMenus().erase(Form_);
    Form_ = nullptr;
    FormComponent_ = nullptr;
  }
  if (Form_) {
    TWinControl* old = Form_;
    FormMenus().erase(Form_);
    Form_->WindowProc = OldWindowProc_;
    if (Form_->HandleAllocated()) SetMenu(Form_->Handle(), nullptr);
    Form_->RemoveFreeNotification(this);
    SetWindowHandle(nullptr);
    Form_ = nullptr;
    FormComponent_ = nullptr;
    if (auto* form = dynamic_cast<TForm*>(old); form && form->Menu() == this) form->MenuAttached(nullptr);
  }
  if (!Form) return;
  if (TMainMenu* other = OfForm(Form)) other->AttachToForm(nullptr);
  Form_ = Form;
  FormComponent_ = Form;
  if (auto* form = dynamic_cast<TForm*>(Form_)) form->MenuAttached(this);
  FormMenus()[Form_] = this;
  Form_->FreeNotification(this);
  OldWindowProc_ = Form_->WindowProc;
  Form_->WindowProc = TWndMethod(this, &TMainMenu::FormWindowProc);
  if (Form_->HandleAllocated()) {
    SetWindowHandle(Form_->Handle());
    SetMenu(Form_->Handle(), Handle());
  }
}

void TMainMenu::Loaded() {
  TMenu::Loaded();
  // A main menu read with its form is that form's menu bar unless the form
  // already has one (its Menu names the bar; the references are set before
  // any Loaded runs).
  if (!Form_)
    if (auto* form = dynamic_cast<TWinControl*>(Owner()); form && !form->Parent() && !OfForm(form)) {
      auto* asForm = dynamic_cast<TForm*>(form);
      if (!asForm || !asForm->Menu()) AttachToForm(form);
    }
}

void TMainMenu::MenuChanged(TMenuItem* Source, bool Rebuild) {
  TMenu::MenuChanged(Source, Rebuild);
  if (Form_ && Form_->HandleAllocated() && HandleAllocated()) DrawMenuBar(Form_->Handle());
}

void TMainMenu::SetWindowMenu(TMenuItem* Value) {
  if (WindowMenu_ == Value) return;
  if (WindowMenu_) WindowMenu_->RemoveFreeNotification(this);
  WindowMenu_ = Value;
  ListedChildren_ = 0;
  if (WindowMenu_) WindowMenu_->FreeNotification(this);
}

// The children of the MDI frame are appended to the window menu's handle
// each time it opens; the previous list goes first.
void TMainMenu::ListChildren() {
  if (!WindowMenu_ || !WindowMenu_->Handle_) return;
  HMENU h = WindowMenu_->Handle_;
  for (; ListedChildren_ > 0; --ListedChildren_) RemoveMenu(h, GetMenuItemCount(h) - 1, MF_BYPOSITION);
  auto* frame = dynamic_cast<TForm*>(Form_);
  if (!frame || frame->FormStyle() != fsMDIForm || frame->MDIChildCount() == 0) return;
  if (GetMenuItemCount(h) > 0) {
    AppendMenu(h, MF_SEPARATOR, 0, nullptr);
    ++ListedChildren_;
  }
  Integer count = std::min(frame->MDIChildCount(), kMaxListedChildren);
  for (Integer i = 0; i < count; ++i) {
    TForm* child = frame->MDIChildren(i);
    std::string text = "&" + std::to_string(i + 1) + " " + child->Caption();
    UINT flags = MF_STRING | (child == frame->ActiveMDIChild() ? MF_CHECKED : 0);
    AppendMenu(h, flags, kFirstChildCommand + i, text.c_str());
    ++ListedChildren_;
  }
}

bool TMainMenu::ChildCommand(Word Command) {
  auto* frame = dynamic_cast<TForm*>(Form_);
  if (!frame || Command < kFirstChildCommand || Command >= kFirstChildCommand + kMaxListedChildren) return false;
  Integer index = Command - kFirstChildCommand;
  if (index >= frame->MDIChildCount()) return false;
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->MDIChildren(index)->Handle()), 0);
  return true;
}

void TMainMenu::FormWindowProc(TMessage& Message) {
  if (Message.Msg == WM_COMMAND && Message.LParam == 0 && HIWORD(Message.WParam) == 0 &&
      ChildCommand(LOWORD(Message.WParam))) {
    Message.Result = 0;
    return;
  }
  if (HandleMenuMessage(Message)) {
    if (Message.Msg == WM_INITMENUPOPUP && WindowMenu_ &&
        reinterpret_cast<HMENU>(Message.WParam) == WindowMenu_->Handle_)
      ListChildren();
    return;
  }
  TWinControl* form = Form_;
  TMainMenu* self = this;
  OldWindowProc_(Message);
  // The form's window may be made again: the new one gets the bar too.
  if (Message.Msg == WM_CREATE && form && OfForm(form) == self) {
    SetWindowHandle(form->Handle());
    SetMenu(form->Handle(), Handle());
  }
}

// TPopupMenu --------------------------------------------------------------------------------

namespace {

std::vector<TPopupMenu*>& PopupMenus() {
  static std::vector<TPopupMenu*> menus;
  return menus;
}

void PopupListProc(TMessage& Message) {
  for (TPopupMenu* menu : PopupMenus())
    if (menu->HandleMenuMessage(Message)) return;
  Message.Result = DefWindowProc(TPopupMenu::PopupWindow(), Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TPopupMenu, TMenu)

VXN_PUBLISH(TPopupMenu) {
  P.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  P.Property("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  P.Event("OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
  PopupMenus().push_back(this);
  SetWindowHandle(PopupWindow());
}

TPopupMenu::~TPopupMenu() {
  Destroying();
  PopupMenus().erase(std::remove(PopupMenus().begin(), PopupMenus().end(), this), PopupMenus().end());
  SetPopupComponent(nullptr);
}

win::HWND TPopupMenu::PopupWindow() {
  static HWND window = AllocateHWnd(TWndMethod(&PopupListProc));
  return window;
}

void TPopupMenu::SetPopupComponent(TComponent* Component) {
  if (PopupComponent_ == Component) return;
  if (PopupComponent_) PopupComponent_->RemoveFreeNotification(this);
  PopupComponent_ = Component;
  if (PopupComponent_) PopupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == PopupComponent_) PopupComponent_ = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  DoPopup(this);
  UINT align = Alignment_ == paRight ? TPM_RIGHTALIGN : Alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  // Items may have changed in OnPopup: the handle is refilled first.
  RebuildHandle();
  TrackPopupMenu(Handle(), align | TPM_RIGHTBUTTON, X, Y, 0, PopupWindow(), nullptr);
}

void RegisterMenusClasses() {
  RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
}
