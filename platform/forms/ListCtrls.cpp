#include "platform/forms/ListCtrls.h"

#include "platform/forms/ControlColors.h"

#include <algorithm>
#include <unordered_map>

#include "platform/win/ChildNotify.h"
#include "platform/win/EditControl.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

using namespace win;

namespace {

// The window's order for sorted lists: ASCII letters without case, equal
// strings in the order they came.
std::string SortKey(const std::string& s) {
  std::string k = s;
  for (char& c : k)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return k;
}

TOwnerDrawState DrawState(UINT itemState) {
  TOwnerDrawState s;
  if (itemState & ODS_SELECTED) s += odSelected;
  if (itemState & ODS_GRAYED) s += odGrayed;
  if (itemState & ODS_DISABLED) s += odDisabled;
  if (itemState & ODS_FOCUS) s += odFocused;
  return s;
}

TRect ToRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

// Ids of our lists' windows: the parent finds an owner-drawn list by it
// when the list asks for its items' heights.
LONG_PTR NextListId() {
  static LONG_PTR next = 0x4000;
  return next++;
}

// Draws one item through the control's canvas: selection colours first,
// then the program's drawing (or the text), then the focus rectangle.
template <typename Draw>
void DrawThroughCanvas(TCanvas* Canvas, TFont* Font, TColor Color, const DRAWITEMSTRUCT& dis, Draw draw) {
  Canvas->SetHandle(dis.hDC);
  Canvas->Font()->Assign(Font);
  Canvas->Brush()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  TOwnerDrawState state = DrawState(dis.itemState);
  if (state.Contains(odSelected)) {
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->Font()->SetColor(clHighlightText);
  }
  TRect rect = ToRect(dis.rcItem);
  if (static_cast<int>(dis.itemID) >= 0)
    draw(static_cast<Integer>(static_cast<int>(dis.itemID)), rect, state);
  else
    Canvas->FillRect(rect);
  if (state.Contains(odFocused)) DrawFocusRect(dis.hDC, &dis.rcItem);
  Canvas->SetHandle(nullptr);
}

}  // namespace

// TListControlItems ----------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TListControlItems, TStrings)

std::string TListControlItems::Get(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
  return Items_[static_cast<size_t>(Index)].Text;
}

TObject* TListControlItems::GetObject(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
  return Items_[static_cast<size_t>(Index)].Object;
}

void TListControlItems::PutObject(Integer Index, TObject* AObject) {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
  Items_[static_cast<size_t>(Index)].Object = AObject;
}

void TListControlItems::Put(Integer Index, const std::string& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertItem(Index, S, object);
}

Integer TListControlItems::Add(const std::string& S) { return InsertItem(-1, S, nullptr); }

void TListControlItems::Insert(Integer Index, const std::string& S) {
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, nullptr);
}

Integer TListControlItems::InsertItem(Integer Index, const std::string& S, TObject* AObject) {
  if (HWND wnd = Target_->ItemsWindow()) {
    LRESULT at = Index < 0 ? SendMessage(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()))
                           : SendMessage(wnd, LB_INSERTSTRING, static_cast<WPARAM>(Index),
                                         reinterpret_cast<LPARAM>(S.c_str()));
    if (at < 0) throw EOutOfResources("Cannot insert a list item");
    Index = static_cast<Integer>(at);
  } else if (Index < 0) {
    Index = GetCount();
    if (Target_->ItemsSorted()) {
      std::string key = SortKey(S);
      Index = 0;
      while (Index < GetCount() && SortKey(Items_[static_cast<size_t>(Index)].Text) <= key) ++Index;
    }
  }
  Items_.insert(Items_.begin() + Index, Entry{S, AObject});
  Target_->ItemInserted(Index);
  return Index;
}

void TListControlItems::Delete(Integer Index) {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
  if (HWND wnd = Target_->ItemsWindow()) SendMessage(wnd, LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
  Items_.erase(Items_.begin() + Index);
  Target_->ItemDeleted(Index);
}

void TListControlItems::Clear() {
  if (HWND wnd = Target_->ItemsWindow()) SendMessage(wnd, LB_RESETCONTENT, 0, 0);
  Items_.clear();
  Target_->ItemsCleared();
}

Integer TListControlItems::IndexOf(const std::string& S) const {
  for (size_t i = 0; i < Items_.size(); ++i)
    if (CompareStrings(Items_[i].Text, S) == 0) return static_cast<Integer>(i);
  return -1;
}

void TListControlItems::LoadWindow(HWND Wnd) const {
  // The kept order is already the window's, sorted or not.
  for (const Entry& e : Items_)
    SendMessage(Wnd, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(e.Text.c_str()));
}

void TListControlItems::SortAsWindow() {
  std::stable_sort(Items_.begin(), Items_.end(),
                   [](const Entry& a, const Entry& b) { return SortKey(a.Text) < SortKey(b.Text); });
}

// TCustomListBox -------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomListBox, TWinControl)
VXN_PUBLISH(TCustomListBox) {}

VXN_IMPLEMENT_CREATABLE_CLASS(TListBox, TCustomListBox)
VXN_PUBLISH(TListBox) {
  P.Property("BorderStyle", &TListBox::BorderStyle, &TListBox::SetBorderStyle).Default(bsSingle);
  P.Property("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect).Default(true);
  P.Property("IntegralHeight", &TListBox::IntegralHeight, &TListBox::SetIntegralHeight).Default(false);
  P.Property("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight);
  P.Property("Items", &TListBox::Items, &TListBox::SetItems);
  P.Property("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect).Default(false);
  P.Property("Sorted", &TListBox::Sorted, &TListBox::SetSorted).Default(false);
  P.Property("Style", &TListBox::Style, &TListBox::SetStyle).Default(lbStandard);
  P.Event("OnDrawItem", static_cast<TDrawItemEvent TListBox::*>(&TListBox::OnDrawItem));
  P.Event("OnMeasureItem", static_cast<TMeasureItemEvent TListBox::*>(&TListBox::OnMeasureItem));
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), Items_(new TListControlItems(this)), Canvas_(new TCanvas), Brush_(new TBrush) {
  // Clicks come from LBN_SELCHANGE and LBN_DBLCLK, not from the mouse messages.
  ControlStyle -= csClickEvents;
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  Brush_->SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() {
  DestroyHandle();
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  RegisterListBoxClass();
  WNDCLASSEX wc;
  if (GetClassInfoEx(nullptr, kListBoxClassName, &wc)) DefWndProc = wc.lpfnWndProc;
  Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  if (Sorted_) Params.Style |= LBS_SORT;
  if (MultiSelect_) Params.Style |= ExtendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (Style_ == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (Style_ == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (BorderStyle_ == bsSingle) {
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  SetWindowLongPtr(Handle(), GWLP_ID, NextListId());
  SendMessage(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  if (Style_ == lbOwnerDrawFixed) SendMessage(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight_);
  Items_->LoadWindow(Handle());
  if (MultiSelect_) {
    for (size_t i = 0; i < SavedSelected_.size() && static_cast<Integer>(i) < Items_->Count(); ++i)
      if (SavedSelected_[i]) SendMessage(Handle(), LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    if (SavedIndex_ >= 0) SendMessage(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(SavedIndex_), 0);
  } else if (SavedIndex_ >= 0) {
    SendMessage(Handle(), LB_SETCURSEL, static_cast<WPARAM>(SavedIndex_), 0);
  }
  SendMessage(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(SavedTop_), 0);
  SavedSelected_.clear();
  if (IntegralHeight_) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomListBox::DestroyWnd() {
  // The window may be of the kind before a change of MultiSelect: ask it as what it is.
  HWND wnd = Handle();
  bool multiWindow = GetWindowLongPtr(wnd, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  SavedIndex_ = static_cast<Integer>(SendMessage(wnd, multiWindow ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
  SavedTop_ = static_cast<Integer>(SendMessage(wnd, LB_GETTOPINDEX, 0, 0));
  SavedSelected_.assign(static_cast<size_t>(Items_->Count()), false);
  for (Integer i = 0; i < Items_->Count(); ++i)
    SavedSelected_[static_cast<size_t>(i)] = SendMessage(wnd, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
  TWinControl::DestroyWnd();
}

void TCustomListBox::ItemInserted(Integer Index) {
  if (HandleAllocated()) return;
  if (SavedIndex_ >= Index) ++SavedIndex_;
  if (static_cast<size_t>(Index) <= SavedSelected_.size())
    SavedSelected_.insert(SavedSelected_.begin() + Index, false);
}

void TCustomListBox::ItemDeleted(Integer Index) {
  if (HandleAllocated()) return;
  if (SavedIndex_ == Index) SavedIndex_ = -1;
  else if (SavedIndex_ > Index) --SavedIndex_;
  if (static_cast<size_t>(Index) < SavedSelected_.size()) SavedSelected_.erase(SavedSelected_.begin() + Index);
}

void TCustomListBox::ItemsCleared() {
  SavedIndex_ = -1;
  SavedTop_ = 0;
  SavedSelected_.clear();
}

Integer TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return SavedIndex_;
  return static_cast<Integer>(SendMessage(Handle(), MultiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= Items_->Count()) Value = -1;
  if (!HandleAllocated()) {
    SavedIndex_ = Value;
    return;
  }
  if (ItemIndex() == Value) return;
  SendMessage(Handle(), MultiSelect_ ? LB_SETCARETINDEX : LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

bool TCustomListBox::Selected(Integer Index) {
  if (Index < 0 || Index >= Items_->Count()) throw EStringListError(Format(SListIndexError, {Index}));
  if (!HandleAllocated())
    return MultiSelect_ ? static_cast<size_t>(Index) < SavedSelected_.size() && SavedSelected_[static_cast<size_t>(Index)]
                        : SavedIndex_ == Index;
  if (!MultiSelect_) return ItemIndex() == Index;
  return SendMessage(Handle(), LB_GETSEL, static_cast<WPARAM>(Index), 0) > 0;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
  if (Index < 0 || Index >= Items_->Count()) throw EStringListError(Format(SListIndexError, {Index}));
  if (!MultiSelect_) {
    if (Value) SetItemIndex(Index);
    else if (ItemIndex() == Index) SetItemIndex(-1);
    return;
  }
  if (!HandleAllocated()) {
    SavedSelected_.resize(static_cast<size_t>(Items_->Count()), false);
    SavedSelected_[static_cast<size_t>(Index)] = Value;
    return;
  }
  SendMessage(Handle(), LB_SETSEL, Value ? TRUE : FALSE, Index);
}

Integer TCustomListBox::SelCount() {
  if (!MultiSelect_) return -1;
  if (!HandleAllocated()) return static_cast<Integer>(std::count(SavedSelected_.begin(), SavedSelected_.end(), true));
  return static_cast<Integer>(SendMessage(Handle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (Value == MultiSelect_) return;
  MultiSelect_ = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (Value == ExtendedSelect_) return;
  ExtendedSelect_ = Value;
  if (MultiSelect_) RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (Value == Sorted_) return;
  Sorted_ = Value;
  if (!Value) {
    if (HandleAllocated()) RecreateWnd();
    return;
  }
  // Selections name items by place, and the places change.
  bool had = HandleAllocated();
  if (had) DestroyHandle();
  Items_->SortAsWindow();
  ItemsCleared();
  if (had) HandleNeeded();
}

Integer TCustomListBox::TopIndex() {
  if (!HandleAllocated()) return SavedTop_;
  return static_cast<Integer>(SendMessage(Handle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer Value) {
  if (!HandleAllocated()) {
    SavedTop_ = std::max<Integer>(0, Value);
    return;
  }
  SendMessage(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

Integer TCustomListBox::ItemHeight() {
  if (Style_ == lbStandard && HandleAllocated())
    return static_cast<Integer>(SendMessage(Handle(), LB_GETITEMHEIGHT, 0, 0));
  return ItemHeight_;
}

void TCustomListBox::SetItemHeight(Integer Value) {
  if (Value <= 0 || Value == ItemHeight_) return;
  ItemHeight_ = Value;
  if (Style_ == lbStandard || !HandleAllocated()) return;
  // A variable list measures its items again when it is made anew.
  if (Style_ == lbOwnerDrawFixed) SendMessage(Handle(), LB_SETITEMHEIGHT, 0, Value);
  else RecreateWnd();
  if (IntegralHeight_) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (Value == Style_) return;
  Style_ = Value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (Value == IntegralHeight_) return;
  IntegralHeight_ = Value;
  if (Value) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomListBox::CMCtl3DChanged(TMessage& Message) {
  TWinControl::CMCtl3DChanged(Message);
  if (BorderStyle_ == bsSingle && HandleAllocated()) PostMessage(Handle(), CM_RECREATEWND, 0, 0);
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (Value == BorderStyle_) return;
  BorderStyle_ = Value;
  RecreateWnd();
}

void TCustomListBox::SnapHeight(Integer& AHeight) {
  Integer border = BorderStyle_ == bsSingle ? 4 : 0;
  Integer item = std::max<Integer>(1, ItemHeight());
  Integer rows = std::max<Integer>(1, (AHeight - border) / item);
  AHeight = border + rows * item;
}

void TCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  // The list shows whole items only: the height drops to the last whole row.
  if (IntegralHeight_ && Style_ != lbOwnerDrawVariable) SnapHeight(AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

Integer TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  if (!HandleAllocated()) return -1;
  LRESULT r = SendMessage(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.X, Pos.Y));
  Integer index = static_cast<Integer>(LOWORD(static_cast<uintptr_t>(r)));
  bool outside = HIWORD(static_cast<uintptr_t>(r)) != 0;
  if (index >= Items_->Count()) return Existing ? -1 : Items_->Count();
  if (outside && Existing) return -1;
  return index;
}

TRect TCustomListBox::ItemRect(Integer Index) {
  RECT r{0, 0, 0, 0};
  if (HandleAllocated()) SendMessage(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
  return ToRect(r);
}

void TCustomListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(static_cast<uintptr_t>(Message.WParam))) {
        case LBN_SELCHANGE: Click(); return;
        case LBN_DBLCLK: DblClick(); return;
      }
      break;
    case CN_DRAWITEM: {
      const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      DrawThroughCanvas(Canvas_.get(), Font(), Color(), dis,
                        [this](Integer i, TRect r, TOwnerDrawState s) { DrawItem(i, r, s); });
      Message.Result = 1;
      return;
    }
    case CN_MEASUREITEM: {
      auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      Integer h = ItemHeight_;
      if (Style_ == lbOwnerDrawVariable) MeasureItem(static_cast<Integer>(mis.itemID), h);
      mis.itemHeight = static_cast<UINT>(std::max<Integer>(1, h));
      Message.Result = 1;
      return;
    }
    case CN_CTLCOLORLISTBOX: {
      Message.Result = AnswerControlColor(*this, *Brush_, reinterpret_cast<HDC>(Message.WParam));
      return;
    }
  }
  TWinControl::WndProc(Message);
}

void TCustomListBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  Canvas_->FillRect(Rect);
  if (Index < Items_->Count()) Canvas_->TextOut(Rect.Left + 2, Rect.Top, Items_->Strings(Index));
}

void TCustomListBox::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  if (HandleAllocated()) SendMessage(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TCustomListBox::CMColorChanged(TMessage& Message) {
  Brush_->SetColor(Color());
  TWinControl::CMColorChanged(Message);
}

// TCustomComboBox ------------------------------------------------------------------------------

namespace {

std::unordered_map<HWND, TCustomComboBox*>& CombosByPart() {
  static std::unordered_map<HWND, TCustomComboBox*> map;
  return map;
}

constexpr Integer kComboBorder = 2;

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace

// The subclass procedures reach the combo's private parts through this.
struct TComboBoxAccess {
  static LRESULT Edit(TCustomComboBox* c, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        bool alt = msg == WM_SYSKEYDOWN;
        if (c->ComboKey(static_cast<UINT>(wParam), alt)) return 0;
        if (!alt) {
          TMessage m{msg, wParam, lParam, 0};
          if (c->DoKeyDown(m)) return 0;
          wParam = m.WParam;
        }
        break;
      }
      case WM_CHAR: {
        // Enter and Escape belong to the combo (and the form), not the edit.
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
        TMessage m{msg, wParam, lParam, 0};
        if (c->DoKeyPress(m)) return 0;
        wParam = m.WParam;
        break;
      }
      case WM_GETDLGCODE:
        return CallWindowProc(c->DefEditProc_, hwnd, msg, wParam, lParam) | DLGC_WANTARROWS |
               (c->DroppedDown_ ? DLGC_WANTALLKEYS : 0);
      case WM_KILLFOCUS: {
        HWND to = reinterpret_cast<HWND>(wParam);
        if (to != c->Handle() && to != c->ListHandle_) c->CloseList(false);
        break;
      }
      case WM_NCDESTROY: {
        WNDPROC def = c->DefEditProc_;
        CombosByPart().erase(hwnd);
        return CallWindowProc(def, hwnd, msg, wParam, lParam);
      }
    }
    return CallWindowProc(c->DefEditProc_, hwnd, msg, wParam, lParam);
  }

  static LRESULT List(TCustomComboBox* c, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
      case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
      case WM_LBUTTONDOWN: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        // A press outside the list while it holds the pointer cancels it.
        if (!Inside(rc, pt)) {
          c->CloseList(false);
          return 0;
        }
        break;
      }
      case WM_LBUTTONUP: {
        LRESULT r = CallWindowProc(c->DefListProc_, hwnd, msg, wParam, lParam);
        RECT rc;
        GetClientRect(hwnd, &rc);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (Inside(rc, pt)) c->CloseList(true);
        return r;
      }
      case WM_NCDESTROY: {
        WNDPROC def = c->DefListProc_;
        CombosByPart().erase(hwnd);
        return CallWindowProc(def, hwnd, msg, wParam, lParam);
      }
    }
    return CallWindowProc(c->DefListProc_, hwnd, msg, wParam, lParam);
  }
};

LRESULT TCustomComboBox::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = CombosByPart().find(hwnd);
  if (it == CombosByPart().end()) return DefWindowProc(hwnd, msg, wParam, lParam);
  return TComboBoxAccess::Edit(it->second, hwnd, msg, wParam, lParam);
}

LRESULT TCustomComboBox::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = CombosByPart().find(hwnd);
  if (it == CombosByPart().end()) return DefWindowProc(hwnd, msg, wParam, lParam);
  return TComboBoxAccess::List(it->second, hwnd, msg, wParam, lParam);
}

LRESULT TCustomComboBox::SinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = CombosByPart().find(hwnd);
  if (it != CombosByPart().end() && it->second->HandleAllocated()) switch (msg) {
      case WM_COMMAND:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLORLISTBOX: return SendMessage(it->second->Handle(), msg, wParam, lParam);
    }
  if (msg == WM_NCDESTROY) CombosByPart().erase(hwnd);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

VXN_IMPLEMENT_CLASS(TCustomCombo, TWinControl)
VXN_IMPLEMENT_CLASS(TCustomComboBox, TCustomCombo)
VXN_PUBLISH(TCustomComboBox) {}

VXN_IMPLEMENT_CREATABLE_CLASS(TComboBox, TCustomComboBox)
VXN_PUBLISH(TComboBox) {
  P.Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount).Default(8);
  P.Property("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight);
  P.Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength).Default(0);
  P.Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted).Default(false);
  P.Property("Style", &TComboBox::Style, &TComboBox::SetStyle).Default(csDropDown);
  P.Property("Items", &TComboBox::Items, &TComboBox::SetItems);
  P.Property("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex).Default(-1);
  P.Event("OnChange", static_cast<TNotifyEvent TComboBox::*>(&TComboBox::OnChange));
  P.Event("OnSelect", static_cast<TNotifyEvent TComboBox::*>(&TComboBox::OnSelect));
  P.Event("OnDropDown", static_cast<TNotifyEvent TComboBox::*>(&TComboBox::OnDropDown));
  P.Event("OnCloseUp", static_cast<TNotifyEvent TComboBox::*>(&TComboBox::OnCloseUp));
  P.Event("OnDrawItem", static_cast<TDrawItemEvent TComboBox::*>(&TComboBox::OnDrawItem));
  P.Event("OnMeasureItem", static_cast<TMeasureItemEvent TComboBox::*>(&TComboBox::OnMeasureItem));
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomCombo(AOwner), Items_(new TListControlItems(this)), Canvas_(new TCanvas), Brush_(new TBrush) {
  DefWndProc = &DefWindowProc;
  // The open list holds the pointer; the combo must not take it back.
  ControlStyle -= csClickEvents;
  ControlStyle -= csCaptureMouse;
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  Brush_->SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
  DestroyHandle();
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  HWND self = Handle();
  if (HasEdit()) {
    RegisterEditClass();
    TRect face = GetClientRect();
    TRect button = ButtonRect();
    EditHandle_ = CreateWindowEx(0, kEditClassName, Text_.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                 kComboBorder + 1, kComboBorder + 1, button.Left - kComboBorder - 1,
                                 face.Height() - 2 * kComboBorder - 2, self, nullptr, nullptr, nullptr);
    SendMessage(EditHandle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    if (MaxLength_ > 0) SendMessage(EditHandle_, EM_LIMITTEXT, static_cast<WPARAM>(MaxLength_), 0);
    CombosByPart()[EditHandle_] = this;
    DefEditProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(EditHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::EditProc)));
  }
  static const char* const kSinkClass = "VxnComboListOwner";
  WNDCLASSEX wc;
  if (!GetClassInfoEx(nullptr, kSinkClass, &wc)) {
    wc = WNDCLASSEX{};
    wc.lpfnWndProc = &TCustomComboBox::SinkProc;
    wc.lpszClassName = kSinkClass;
    RegisterClassEx(&wc);
  }
  SinkHandle_ = CreateWindowEx(WS_EX_TOOLWINDOW, kSinkClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                               nullptr);
  CombosByPart()[SinkHandle_] = this;
  RegisterListBoxClass();
  DWORD style = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  if (Sorted_) style |= LBS_SORT;
  if (Style_ == csOwnerDrawFixed) style |= LBS_OWNERDRAWFIXED;
  if (Style_ == csOwnerDrawVariable) style |= LBS_OWNERDRAWVARIABLE;
  ListHandle_ = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kListBoxClassName, "", style, 0, 0, Width(),
                               ItemHeight_ + 2, SinkHandle_, nullptr, nullptr, nullptr);
  SendMessage(ListHandle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  CombosByPart()[ListHandle_] = this;
  DefListProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(ListHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::ListProc)));
  if (Style_ == csOwnerDrawFixed) SendMessage(ListHandle_, LB_SETITEMHEIGHT, 0, ItemHeight_);
  else if (!OwnerDraw()) ItemHeight_ = static_cast<Integer>(SendMessage(ListHandle_, LB_GETITEMHEIGHT, 0, 0));
  Items_->LoadWindow(ListHandle_);
  SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(ItemIndex_), 0);
}

void TCustomComboBox::DestroyWnd() {
  DroppedDown_ = false;
  if (EditHandle_) Text_ = GetWindowText(EditHandle_);
  if (ListHandle_) DestroyWindow(ListHandle_);
  if (SinkHandle_) DestroyWindow(SinkHandle_);
  ListHandle_ = SinkHandle_ = nullptr;
  EditHandle_ = nullptr;  // goes with the control's window
  TWinControl::DestroyWnd();
}

TRect TCustomComboBox::ButtonRect() const {
  Integer w = GetSystemMetrics(SM_CXVSCROLL);
  return TRect{Width() - kComboBorder - w, kComboBorder, Width() - kComboBorder, Height() - kComboBorder};
}

void TCustomComboBox::ItemInserted(Integer Index) {
  if (ItemIndex_ >= Index) ++ItemIndex_;
}

void TCustomComboBox::ItemDeleted(Integer Index) {
  if (ItemIndex_ == Index) {
    ItemIndex_ = -1;
    if (!HasEdit()) Text_.clear();
    if (HandleAllocated()) Invalidate();
  } else if (ItemIndex_ > Index) {
    --ItemIndex_;
  }
}

void TCustomComboBox::ItemsCleared() {
  ItemIndex_ = -1;
  ShowEditText("");
}

void TCustomComboBox::Clear() {
  Items_->Clear();
  ShowEditText("");
}

void TCustomComboBox::ShowEditText(const std::string& S) {
  Text_ = S;
  if (HandleAllocated() && EditHandle_) {
    SettingEditText_ = true;
    SetWindowText(EditHandle_, S.c_str());
    SendMessage(EditHandle_, EM_SETSEL, 0, static_cast<LPARAM>(-1));
    SettingEditText_ = false;
  }
  if (HandleAllocated()) Invalidate();
}

void TCustomComboBox::SetItemIndex(Integer Value) {
  if (Value < -1 || Value >= Items_->Count()) Value = -1;
  SelectIndex(Value, false);
}

void TCustomComboBox::SelectIndex(Integer Index, bool Notify) {
  ItemIndex_ = Index;
  if (HandleAllocated() && ListHandle_) SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(Index), 0);
  ShowEditText(Index >= 0 ? Items_->Strings(Index) : (HasEdit() && !Notify ? Text_ : std::string()));
  if (Notify) Select();
}

std::string TCustomComboBox::GetText() const {
  if (EditHandle_) return GetWindowText(EditHandle_);
  return Text_;
}

void TCustomComboBox::SetText(const std::string& Value) {
  if (!HasEdit()) {
    // A list without an edit can show only one of its items.
    Integer i = Items_->IndexOf(Value);
    if (i >= 0) SetItemIndex(i);
    return;
  }
  ItemIndex_ = Items_->IndexOf(Value);
  if (HandleAllocated() && ListHandle_) SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(ItemIndex_), 0);
  ShowEditText(Value);
}

bool TCustomComboBox::Focused() {
  if (!HandleAllocated()) return false;
  HWND f = GetFocus();
  return f == Handle() || (EditHandle_ && f == EditHandle_);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value == Style_) return;
  if (HandleAllocated() && EditHandle_) Text_ = GetWindowText(EditHandle_);
  Style_ = Value;
  if (!HasEdit()) Text_ = ItemIndex_ >= 0 ? Items_->Strings(ItemIndex_) : std::string();
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
  if (Value == Sorted_) return;
  Sorted_ = Value;
  if (!Value) return;
  bool had = HandleAllocated();
  if (had) DestroyHandle();
  std::string current = ItemIndex_ >= 0 ? Items_->Strings(ItemIndex_) : std::string();
  Items_->SortAsWindow();
  if (ItemIndex_ >= 0) ItemIndex_ = Items_->IndexOf(current);
  if (had) HandleNeeded();
}

void TCustomComboBox::SetItemHeight(Integer Value) {
  if (Value <= 0) return;
  ItemHeight_ = Value;
  if (HandleAllocated() && Style_ == csOwnerDrawFixed) SendMessage(ListHandle_, LB_SETITEMHEIGHT, 0, Value);
}

void TCustomComboBox::SetMaxLength(Integer Value) {
  MaxLength_ = std::max<Integer>(0, Value);
  if (HandleAllocated() && EditHandle_) SendMessage(EditHandle_, EM_LIMITTEXT, static_cast<WPARAM>(MaxLength_), 0);
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value == DroppedDown_) return;
  if (!Value) {
    CloseList(false);
    return;
  }
  HandleNeeded();
  DropDown();
  if (!HandleAllocated() || !ListHandle_) return;
  IndexBeforeDrop_ = ItemIndex_;
  Integer count = Items_->Count();
  Integer rows = std::clamp<Integer>(count, 1, DropDownCount_);
  Integer h = 0;
  for (Integer i = 0; i < rows; ++i)
    h += count ? static_cast<Integer>(SendMessage(ListHandle_, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0))
               : ItemHeight_;
  RECT wr;
  GetWindowRect(Handle(), &wr);
  SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(ItemIndex_), 0);
  SetWindowPos(ListHandle_, HWND_TOP, wr.left, wr.bottom, wr.right - wr.left, h + 2,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  if (ItemIndex_ >= 0) SendMessage(ListHandle_, LB_SETTOPINDEX, static_cast<WPARAM>(ItemIndex_), 0);
  DroppedDown_ = true;
  // The list holds the pointer so that a press anywhere else closes it.
  SetCapture(ListHandle_);
  Invalidate();
}

void TCustomComboBox::CloseList(bool Accept) {
  if (!DroppedDown_) return;
  DroppedDown_ = false;
  Integer picked = static_cast<Integer>(SendMessage(ListHandle_, LB_GETCURSEL, 0, 0));
  if (GetCapture() == ListHandle_) ReleaseCapture();
  ShowWindow(ListHandle_, SW_HIDE);
  if (Accept && picked >= 0 && picked != ItemIndex_)
    SelectIndex(picked, true);
  else
    SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(ItemIndex_), 0);
  Invalidate();
  CloseUp();
}

bool TCustomComboBox::ComboKey(UINT Key, bool Alt) {
  if (Key == VK_F4 || (Alt && (Key == VK_DOWN || Key == VK_UP))) {
    SetDroppedDown(!DroppedDown_);
    return true;
  }
  if (Alt) return false;
  if (DroppedDown_) {
    switch (Key) {
      case VK_RETURN: CloseList(true); return true;
      case VK_ESCAPE: CloseList(false); return true;
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
      case VK_HOME:
      case VK_END:
        // While open the keys move the highlight; Enter takes it.
        CallWindowProc(DefListProc_, ListHandle_, WM_KEYDOWN, Key, 0);
        return true;
    }
    return false;
  }
  Integer count = Items_->Count();
  if (count == 0) return Key == VK_UP || Key == VK_DOWN;
  Integer next = ItemIndex_;
  switch (Key) {
    case VK_UP: next = std::max<Integer>(0, ItemIndex_ - 1); break;
    case VK_DOWN: next = std::min<Integer>(count - 1, ItemIndex_ + 1); break;
    case VK_PRIOR: next = std::max<Integer>(0, ItemIndex_ - (DropDownCount_ - 1)); break;
    case VK_NEXT: next = std::min<Integer>(count - 1, std::max<Integer>(0, ItemIndex_) + DropDownCount_ - 1); break;
    case VK_HOME:
      if (HasEdit()) return false;
      next = 0;
      break;
    case VK_END:
      if (HasEdit()) return false;
      next = count - 1;
      break;
    default: return false;
  }
  if (next != ItemIndex_) SelectIndex(next, true);
  return true;
}

void TCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (DroppedDown_ ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_SETFOCUS:
      TWinControl::WndProc(Message);
      if (EditHandle_ && HandleAllocated()) {
        win::SetFocus(EditHandle_);
        SendMessage(EditHandle_, EM_SETSEL, 0, static_cast<LPARAM>(-1));
      }
      Invalidate();
      return;
    case WM_KILLFOCUS: {
      HWND to = reinterpret_cast<HWND>(Message.WParam);
      if (to != EditHandle_ && to != ListHandle_) CloseList(false);
      Invalidate();
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (ComboKey(static_cast<UINT>(Message.WParam), Message.Msg == WM_SYSKEYDOWN)) return;
      break;
    case WM_CHAR:
      // Type-ahead of the list picks an item in a list without an edit.
      if (!HasEdit() && Message.WParam >= 0x20 && !DoKeyPress(Message)) {
        auto c = static_cast<char32_t>(Message.WParam);
        for (Integer n = Items_->Count(), k = 1; k <= n; ++k) {
          Integer i = (std::max<Integer>(0, ItemIndex_) + k) % n;
          std::string s = Items_->Strings(i);
          if (!s.empty() && c < 0x80 && std::tolower(static_cast<unsigned char>(s[0])) == std::tolower(static_cast<int>(c))) {
            if (DroppedDown_) SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            else SelectIndex(i, true);
            break;
          }
        }
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!Focused() && CanFocus()) SetFocus();
      TPoint p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      TRect b = ButtonRect();
      bool onButton = p.X >= b.Left && p.X < b.Right && p.Y >= b.Top && p.Y < b.Bottom;
      if (onButton || !HasEdit()) SetDroppedDown(!DroppedDown_);
      break;
    }
    case WM_COMMAND:
      if (EditHandle_ && reinterpret_cast<HWND>(Message.LParam) == EditHandle_) {
        if (HIWORD(static_cast<uintptr_t>(Message.WParam)) == EN_CHANGE && !SettingEditText_) {
          Text_ = GetWindowText(EditHandle_);
          ItemIndex_ = Items_->IndexOf(Text_);
          SendMessage(ListHandle_, LB_SETCURSEL, static_cast<WPARAM>(ItemIndex_), 0);
          Change();
        }
        return;
      }
      if (ListHandle_ && reinterpret_cast<HWND>(Message.LParam) == ListHandle_) return;
      break;
    case WM_DRAWITEM: {
      const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      if (dis.hwndItem != ListHandle_) break;
      DrawThroughCanvas(Canvas_.get(), Font(), Color(), dis,
                        [this](Integer i, TRect r, TOwnerDrawState s) { DrawItem(i, r, s); });
      Message.Result = 1;
      return;
    }
    case WM_MEASUREITEM: {
      auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      Integer h = ItemHeight_;
      if (Style_ == csOwnerDrawVariable) MeasureItem(static_cast<Integer>(mis.itemID), h);
      mis.itemHeight = static_cast<UINT>(std::max<Integer>(1, h));
      Message.Result = 1;
      return;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      Message.Result = AnswerControlColor(*this, *Brush_, reinterpret_cast<HDC>(Message.WParam));
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(Message);
      if (EditHandle_) {
        TRect b = ButtonRect();
        MoveWindow(EditHandle_, kComboBorder + 1, kComboBorder + 1, b.Left - kComboBorder - 1,
                   Height() - 2 * kComboBorder - 2, TRUE);
      }
      return;
  }
  TWinControl::WndProc(Message);
}

void TCustomComboBox::PaintWindow(HDC DC) {
  RECT client{0, 0, Width(), Height()};
  FillRect(DC, &client, Brush_->Handle());
  RECT edge = client;
  TRect b = ButtonRect();
  RECT button{b.Left, b.Top, b.Right, b.Bottom};
  ScopedTheme field(u"Edit"), drop(u"ComboBox");
  if (field && drop) {
    // The field's frame and the style's drop-down button; the frame's fill
    // ring keeps the classic edge width.
    int fieldState = !Enabled() ? ETS_DISABLED : Focused() ? ETS_FOCUSED : ETS_NORMAL;
    int save = SaveDC(DC);
    ExcludeClipRect(DC, kComboBorder, kComboBorder, Width() - kComboBorder, Height() - kComboBorder);
    DrawThemeBackground(field.get(), DC, EP_EDITTEXT, fieldState, &edge, nullptr);
    RestoreDC(DC, save);
    int dropState = !Enabled() ? CBXS_DISABLED : DroppedDown_ ? CBXS_PRESSED : CBXS_NORMAL;
    DrawThemeBackground(drop.get(), DC, CP_DROPDOWNBUTTON, dropState, &button, nullptr);
  } else {
    DrawEdge(DC, &edge, EDGE_SUNKEN, BF_RECT);
    DrawFrameControl(DC, &button, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (DroppedDown_ ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
  }
  if (HasEdit()) return;
  // The face of a list without an edit shows the chosen item, marked while focused.
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_COMBOBOX;
  dis.itemID = static_cast<UINT>(ItemIndex_);
  dis.itemAction = ODA_DRAWENTIRE;
  bool focused = Focused() && !DroppedDown_;
  dis.itemState = (focused ? ODS_SELECTED | ODS_FOCUS : 0) | (Enabled() ? 0 : ODS_DISABLED);
  dis.hDC = DC;
  dis.rcItem = RECT{kComboBorder + 1, kComboBorder + 1, b.Left - 1, Height() - kComboBorder - 1};
  SavedDc saved(DC);
  IntersectClipRect(DC, dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom);
  DrawThroughCanvas(Canvas_.get(), Font(), Color(), dis, [this](Integer i, TRect r, TOwnerDrawState s) {
    if (!Enabled()) Canvas_->Font()->SetColor(clGrayText);
    if (OwnerDraw()) DrawItem(i, r, s + odComboBoxEdit);
    else {
      Canvas_->FillRect(r);
      Canvas_->TextOut(r.Left + 1, r.Top + (r.Height() - Canvas_->TextHeight("Wg")) / 2, Items_->Strings(i));
    }
  });
}

void TCustomComboBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  Canvas_->FillRect(Rect);
  if (Index >= 0 && Index < Items_->Count()) Canvas_->TextOut(Rect.Left + 2, Rect.Top, Items_->Strings(Index));
}

void TCustomComboBox::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::Change() { OnChange(this); }

// Without an OnSelect handler a choice counts as a change.
void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}

void TCustomComboBox::DropDown() { OnDropDown(this); }
void TCustomComboBox::CloseUp() { OnCloseUp(this); }

void TCustomComboBox::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  if (!HandleAllocated()) return;
  if (EditHandle_) SendMessage(EditHandle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
  if (ListHandle_) SendMessage(ListHandle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
  if (!OwnerDraw()) ItemHeight_ = static_cast<Integer>(SendMessage(ListHandle_, LB_GETITEMHEIGHT, 0, 0));
}

void TCustomComboBox::CMEnabledChanged(TMessage& Message) {
  TWinControl::CMEnabledChanged(Message);
  if (HandleAllocated() && EditHandle_) EnableWindow(EditHandle_, Enabled());
  if (!Enabled()) CloseList(false);
}

void RegisterListCtrlsClasses() {
  RegisterClasses({TListBox::StaticClass(), TComboBox::StaticClass()});
}
