// Menus: TMenuItem trees under a TMainMenu (the form's menu bar) or a
// TPopupMenu, built into menu handles of the window layer; shortcut keys,
// owner drawing with images, and the popup at a point for a control.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/ListCtrls.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/MenuWindows.h"

class TMenu;
class TCustomImageList;
class TChangeLink;

using TShortCut = Word;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

inline constexpr char cHotkey = '&';
inline constexpr const char* cLineCaption = "-";

inline constexpr const char* SMenuIndexError = "Menu index out of range";
inline constexpr const char* SMenuReinserted = "Menu inserted twice";
inline constexpr const char* SMenuNotFound = "Sub-menu is not in menu";

class EMenuError : public Exception {
 public:
  using Exception::Exception;
};

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+F10", "Alt+Del"; "" for scNone.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse; scNone for text it does not know.
TShortCut TextToShortCut(const std::string& Text);
// The caption without its "&" marks ("&&" gives one "&").
std::string StripHotkey(const std::string& Text);

VXN_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
VXN_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)

using TMenuDrawItemEvent = TDelegate<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TDelegate<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = TDelegate<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;

class TMenuItem : public TComponent {
  VXN_DECLARE_CLASS(TMenuItem)

 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return Caption_; }
  void SetCaption(const std::string& Value);
  bool Checked() const { return Checked_; }
  // Checking a radio item unchecks the others of its group.
  void SetChecked(bool Value);
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool Value);
  bool Visible() const { return Visible_; }
  void SetVisible(bool Value);
  bool RadioItem() const { return RadioItem_; }
  void SetRadioItem(bool Value);
  Byte GroupIndex() const { return GroupIndex_; }
  void SetGroupIndex(Byte Value);
  bool Default() const { return Default_; }
  void SetDefault(bool Value);
  Integer ImageIndex() const { return ImageIndex_; }
  void SetImageIndex(Integer Value);
  TShortCut GetShortCut() const { return ShortCut_; }
  void SetShortCut(TShortCut Value);
  const std::string& Hint() const { return Hint_; }
  void SetHint(const std::string& Value) { Hint_ = Value; }
  TMenuBreak Break() const { return Break_; }
  void SetBreak(TMenuBreak Value);
  // Made on first use; a picture beside the caption when there is no image.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  bool HasBitmap() const { return Bitmap_ && !Bitmap_->Empty(); }
  // Images for this item's sub-menu (the menu's Images otherwise).
  TCustomImageList* SubMenuImages() const { return SubMenuImages_; }
  void SetSubMenuImages(TCustomImageList* Value);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  Integer Count() const { return static_cast<Integer>(Items_.size()); }
  TMenuItem* Items(Integer Index) const;
  void Add(TMenuItem* Item);
  void Insert(Integer Index, TMenuItem* Item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* Item);
  // Frees the item at Index.
  void Delete(Integer Index);
  void Clear();
  Integer IndexOf(const TMenuItem* Item) const;
  // The item whose caption matches, "&" marks ignored.
  TMenuItem* Find(const std::string& ACaption) const;
  TMenuItem* Parent() const { return Parent_; }
  Integer MenuIndex() const { return Parent_ ? Parent_->IndexOf(this) : -1; }
  // The menu this item belongs to (through its parents), or null.
  TMenu* GetParentMenu() const;
  bool IsLine() const { return Caption_ == cLineCaption; }
  // The images of the item's menu level.
  TCustomImageList* GetImageList() const;

  // The command number of WM_COMMAND; items with a sub-menu have one too.
  Word Command() const { return Command_; }
  // The sub-menu handle of an item with children (made on demand).
  win::HMENU Handle();

  virtual void Click();
  // Paints the item as the menu draws it when no handler takes over.
  void DefaultDraw(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  void Loaded() override;
  // Something changed that the menu handle shows: rebuild.
  void MenuChanged(bool Rebuild);

 private:
  friend class TMenu;
  friend class TMainMenu;
  void AppendTo(win::HMENU Menu, bool OwnerDraw, bool TopLevel);
  void DestroyHandle();
  void TurnSiblingsOff();

  std::string Caption_;
  bool Checked_ = false;
  bool Enabled_ = true;
  bool Visible_ = true;
  bool RadioItem_ = false;
  Byte GroupIndex_ = 0;
  bool Default_ = false;
  Integer ImageIndex_ = -1;
  TShortCut ShortCut_ = 0;
  std::string Hint_;
  TMenuBreak Break_ = mbNone;
  std::unique_ptr<TBitmap> Bitmap_;
  TCustomImageList* SubMenuImages_ = nullptr;
  std::vector<TMenuItem*> Items_;
  TMenuItem* Parent_ = nullptr;
  TMenu* Menu_ = nullptr;  // set on the root item only
  Word Command_ = 0;
  win::HMENU Handle_ = nullptr;
};

class TMenu : public TComponent {
  VXN_DECLARE_CLASS(TMenu)

 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The invisible root whose children are the menu's items.
  TMenuItem* Items() const { return Items_.get(); }
  TCustomImageList* Images() const { return Images_; }
  void SetImages(TCustomImageList* Value);
  bool OwnerDraw() const { return OwnerDraw_; }
  void SetOwnerDraw(bool Value);
  // Right-to-left menus put the check column at the right; owner drawing
  // asks for it.
  TBiDiMode BiDiMode() const { return BiDiMode_; }
  void SetBiDiMode(TBiDiMode Value) { BiDiMode_ = Value; }
  bool IsRightToLeft() const { return BiDiMode_ != bdLeftToRight; }

  virtual win::HMENU Handle();
  bool HandleAllocated() const { return Handle_ != nullptr; }
  // The window that gets the menu's messages.
  win::HWND WindowHandle() const { return WindowHandle_; }
  void SetWindowHandle(win::HWND Value) { WindowHandle_ = Value; }

  enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
  TMenuItem* FindItem(uintptr_t Value, TFindItemKind Kind) const;
  // Runs the item of a WM_COMMAND; false when it is not one of ours.
  bool DispatchCommand(Word ACommand);
  // WM_INITMENUPOPUP for one of our sub-menus.
  bool DispatchPopup(win::HMENU AMenu);
  // A WM_KEYDOWN / WM_SYSKEYDOWN that is the shortcut of an enabled item
  // (with enabled and visible parents) clicks it.
  bool IsShortCut(TMessage& Message);
  // The menu messages of the window: WM_COMMAND, WM_MEASUREITEM,
  // WM_DRAWITEM (ODT_MENU), WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUCHAR.
  bool HandleMenuMessage(TMessage& Message);
  // Whether the item is drawn by us rather than by the window layer.
  bool IsOwnerDraw(const TMenuItem* Item) const;

  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // Items changed: the handle is built again when it exists.
  virtual void MenuChanged(TMenuItem* Source, bool Rebuild);
  void RebuildHandle();
  // Fills a handle with the visible items under Parent, sub-menus first.
  void Fill(win::HMENU Menu, TMenuItem* Parent, bool TopLevel);
  // After RebuildHandle filled the handles again.
  virtual void Refilled() {}
  void DestroyHandle();
  virtual bool IsBar() const { return false; }

 private:
  friend class TMenuItem;
  void ImageListChange(TObject* Sender);
  void DrawItemMessage(win::DRAWITEMSTRUCT& Draw);
  void MeasureItemMessage(win::MEASUREITEMSTRUCT& Measure);

  std::unique_ptr<TMenuItem> Items_;
  TCustomImageList* Images_ = nullptr;
  std::unique_ptr<TChangeLink> ImageChangeLink_;
  bool OwnerDraw_ = false;
  TBiDiMode BiDiMode_ = bdLeftToRight;
  win::HMENU Handle_ = nullptr;
  win::HWND WindowHandle_ = nullptr;
};

// The menu bar of a form (the one the form's Menu names, or the form given
// to AttachToForm, which the form's Menu then names; read with a form whose
// Menu names none, the form that owns it): shown in the form's frame, its
// shortcuts work in the whole form, and it is rebuilt when an item changes.
class TMainMenu : public TMenu {
  VXN_DECLARE_CLASS(TMainMenu)

 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;

  win::HMENU Handle() override;
  // Makes this the form's menu (null detaches); a TForm's Menu follows.
  void AttachToForm(TWinControl* Form);
  TWinControl* Form() const { return Form_; }

  // The main menu shown by a form, or null.
  static TMainMenu* OfForm(const TWinControl* Form);

  // The item under whose sub-menu an MDI frame lists its children ("&1
  // Caption", the active one checked); choosing one activates that child.
  TMenuItem* WindowMenu() const { return WindowMenu_; }
  void SetWindowMenu(TMenuItem* Value);
  static constexpr Word kFirstChildCommand = 0xFF00;
  static constexpr Integer kMaxListedChildren = 9;

 protected:
  void Loaded() override;
  void MenuChanged(TMenuItem* Source, bool Rebuild) override;
  bool IsBar() const override { return true; }
  void Refilled() override { ListedChildren_ = 0; }

 private:
  void FormWindowProc(TMessage& Message);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ListChildren();
  bool ChildCommand(Word Command);
  TMenuItem* WindowMenu_ = nullptr;
  Integer ListedChildren_ = 0;  // items appended to the window menu's handle
  TWinControl* Form_ = nullptr;
  // The same object seen as a component: usable while the form is being
  // destroyed and its control part is already gone.
  TComponent* FormComponent_ = nullptr;
  TWndMethod OldWindowProc_;
};

class TPopupMenu : public TMenu, public IPopupComponent {
  VXN_DECLARE_CLASS(TPopupMenu)

 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  TPopupAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TPopupAlignment Value) { Alignment_ = Value; }
  bool GetAutoPopup() const { return AutoPopup_; }
  void SetAutoPopup(bool Value) { AutoPopup_ = Value; }
  // The control the menu was popped up for.
  TComponent* PopupComponent() const { return PopupComponent_; }
  TNotifyEvent OnPopup;

  // Shows the menu at a screen point and returns when it closes; the chosen
  // item's OnClick runs from the message that follows.
  void Popup(Integer X, Integer Y) override;
  bool AutoPopup() const override { return AutoPopup_; }
  void SetPopupComponent(TComponent* Component) override;

  // The hidden window that gets the messages of every popup menu.
  static win::HWND PopupWindow();

 protected:
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TPopupAlignment Alignment_ = paLeft;
  bool AutoPopup_ = true;
  TComponent* PopupComponent_ = nullptr;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterMenusClasses();
// Lets menus' short cuts reach the menus before the focused control's keys;
// the folder's start-up calls it.
void InstallMenuKeyHook();
