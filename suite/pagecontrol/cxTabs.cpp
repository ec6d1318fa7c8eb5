#include "suite/pagecontrol/cxTabs.h"

#include <algorithm>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "suite/foundation/cxClasses.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCConsts.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCPainter.h"

VXN_IMPLEMENT_CLASS(TcxTab, TPersistent)
VXN_IMPLEMENT_CLASS(TcxTabs, TStrings)
VXN_IMPLEMENT_CLASS(TcxVisibleTabList, TObject)

VXN_PUBLISH(TcxTab) {
  P.Property("Caption", &TcxTab::Caption, &TcxTab::SetCaption);
  P.Property("Enabled", &TcxTab::Enabled, &TcxTab::SetEnabled).Default(1);
  P.Property("Highlighted", &TcxTab::Highlighted, &TcxTab::SetHighlighted).Default(0);
  P.Property("ImageIndex", &TcxTab::ImageIndex, &TcxTab::SetImageIndex).Stored(&TcxTab::HasOwnImageIndex);
  P.Property("Selected", &TcxTab::Selected, &TcxTab::SetSelected).Default(0);
  P.Property("Visible", &TcxTab::Visible, &TcxTab::SetVisible).Default(1);
}

namespace {

TBitmap* NewDeviceIndependentBitmap(std::unique_ptr<TBitmap>& Slot) {
  Slot = std::make_unique<TBitmap>();
  Slot->SetPixelFormat(pf32bit);
  return Slot.get();
}

}  // namespace

// TcxTab ------------------------------------------------------------------------

TcxTab::TcxTab(TcxTabs* AOwner, Integer AIndex) : FImageIndex(AIndex), FIndex(AIndex), FTabs(AOwner) {}

TcxTab::~TcxTab() {
  FTabs->RemoveDestroyedTab(FIndex, false);
  FTextBitmap.reset();
  FNativeBitmap.reset();
  TcxCustomTabControl* control = TabControl();
  if (control->FocusMark() == control->VisibleTabList()->VisibleIndexOf(FIndex)) control->SetFocusMarkValue(-1);
}

TcxCustomTabControl* TcxTab::TabControl() const { return FTabs->TabControl(); }

void TcxTab::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  TcxCustomTabControl* control = TabControl();
  if (!control->WindowExists() || !FVisible) {
    FCaption = Value;
    return;
  }
  const bool wasShown = IsShown();
  const Integer oldWidth = NormalWidth;
  const Integer oldThickness = control->RowThickness();
  FCaption = Value;
  control->CalculateTabNormalWidth(this);
  bool changed;
  if (control->Rotate()) {
    control->RecalculateRowThickness();
    changed = control->RowThickness() != oldThickness;
  } else {
    changed = NormalWidth != oldWidth;
  }
  if (changed)
    Changed(tckLayout);
  else if (wasShown)
    Changed(tckContent);
}

void TcxTab::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  const bool wasShown = IsShown();
  FEnabled = Value;
  if (wasShown || IsShown()) Changed(tckEnabled);
}

void TcxTab::SetHighlighted(bool Value) {
  if (Value == FHighlighted) return;
  const bool wasShown = IsShown();
  FHighlighted = Value;
  if (wasShown || IsShown()) Changed(tckHighlight);
}

Integer TcxTab::ImageIndex() const { return TabControl()->TabImageIndex(FIndex); }

void TcxTab::SetImageIndex(Integer Value) {
  if (Value < 0) Value = -1;
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  if (IsShown()) Changed(tckLayout);
}

void TcxTab::SetSelected(bool Value) {
  if (Value == FSelected) return;
  TcxCustomTabControl* control = TabControl();
  if (control->IsLoading()) {
    FSelected = Value;
    return;
  }
  if (control->PainterClass()->AllowsMultiSelect()) {
    if (Value && !control->MultiSelect()) {
      for (Integer i = 0; i < FTabs->Count(); ++i)
        if (i != FIndex && FTabs->GetTab(i)->Selected()) {
          control->SetMultiSelect(true);
          break;
        }
    }
  } else if (Value && control->TabIndex() != FIndex) {
    return;
  }
  const bool wasShown = IsShown();
  FSelected = Value;
  if (wasShown || IsShown()) Changed(tckSelected);
}

void TcxTab::SetVisible(bool Value) {
  if (Value == FVisible) return;
  TcxCustomTabControl* control = TabControl();
  if (Value) {
    control->VisibleTabList()->AddTabIndex(FIndex);
    FVisible = true;
    Changed(tckLayout);
    return;
  }
  const bool moveSelection = control->StoredTabIndex() == FIndex && control->SelectionNeedsVisibleTab();
  const bool wasShown = IsShown();
  control->VisibleTabList()->RemoveTabIndex(FIndex);
  FVisible = false;
  if (wasShown || control->MultiLine())
    FTabs->TabChanged(-1, tckLayout);
  else
    control->CalculateLayout();
  if (moveSelection && control->MainVisibleIndex() != -1)
    control->SetTabIndex(control->VisibleTabList()->TabIndexAt(control->MainVisibleIndex()));
}

Integer TcxTab::VisibleIndex() const { return TabControl()->VisibleTabList()->VisibleIndexOf(FIndex); }

bool TcxTab::IsMainTab() const { return TabControl()->TabIndex() == FIndex; }

bool TcxTab::IsHot() const {
  const Integer mark = TabControl()->HotTabVisibleIndex();
  return mark != -1 && mark == VisibleIndex();
}

bool TcxTab::IsPressed() const {
  const Integer mark = TabControl()->PressedTabVisibleIndex();
  return mark != -1 && mark == VisibleIndex();
}

bool TcxTab::IsFocused() const {
  const Integer mark = TabControl()->FocusMark();
  return mark != -1 && mark == VisibleIndex();
}

bool TcxTab::IsEnabledNow() const { return TabControl()->Enabled() && FEnabled; }

bool TcxTab::IsShown() const { return !cxRectIsEmpty(VisibleRect()); }

Integer TcxTab::RowExtent() const { return TabControl()->Rotate() ? FTabs->CommonTabHeight : NormalWidth; }

TRect TcxTab::NormalRect() const {
  const TcxCustomTabControl* control = TabControl();
  const Integer along = control->Rotate() ? control->RowThickness() : NormalWidth;
  if (control->HasVerticalText())
    return Bounds(Position.X, Position.Y, FTabs->CommonTabHeight, along);
  return Bounds(Position.X, Position.Y, along, FTabs->CommonTabHeight);
}

TRect TcxTab::DisplayRect() const {
  TcxCustomTabControl* control = TabControl();
  SizeCorrection = control->Painter()->TabSizeCorrection(VisibleIndex());
  return AddRectMargins(NormalRect(), SizeCorrection);
}

TRect TcxTab::VisibleRect() const {
  if (!FVisible) return {};
  const TcxCustomTabControl* control = TabControl();
  const Integer v = VisibleIndex();
  if (!control->MultiLine() && (v < control->FirstDisplayed() || v > control->LastDisplayed())) return {};
  const TRect& band = DisplayedRow < control->LeadingRowCount() ? control->LeadingRowsRect()
                                                                 : control->TrailingRowsRect();
  const TRect display = DisplayRect();
  TRect result{std::max(display.Left, band.Left), std::max(display.Top, band.Top),
               std::min(display.Right, band.Right), std::min(display.Bottom, band.Bottom)};
  if (result.Right <= result.Left || result.Bottom <= result.Top) return {};
  return result;
}

Integer TcxTab::Side() const {
  const TcxCustomTabControl* control = TabControl();
  const bool sideways = control->TabPosition() == tpLeft || control->TabPosition() == tpRight;
  if (DisplayedRow < control->LeadingRowCount()) return sideways ? 2 : 0;
  return sideways ? 3 : 1;
}

Integer TcxTab::Orientation() const {
  static constexpr Integer table[4][3] = {{1, 2, 3}, {10, 11, 12}, {6, 4, 5}, {9, 7, 8}};
  return table[Side()][TabControl()->TabTextRotation()];
}

void TcxTab::Changed(TabChangeKind Kind) { FTabs->TabChanged(VisibleIndex(), Kind); }

void TcxTab::RepaintImage() {
  if (FImageIndex != -1 && IsShown()) Changed(tckContent);
}

TBitmap* TcxTab::NewNativeBitmap() {
  if (!FNativeBitmap) NewDeviceIndependentBitmap(FNativeBitmap);
  return FNativeBitmap.get();
}

void TcxTab::FreeNativeBitmap() { FNativeBitmap.reset(); }

TBitmap* TcxTab::NewTextBitmap() { return NewDeviceIndependentBitmap(FTextBitmap); }

void TcxTab::FreeTextBitmap() { FTextBitmap.reset(); }

void TcxTab::AssignTo(TPersistent* Dest) {
  auto* tab = dynamic_cast<TcxTab*>(Dest);
  if (!tab) {
    TPersistent::AssignTo(Dest);
    return;
  }
  tab->FCaption = FCaption;
  tab->FEnabled = FEnabled;
  tab->FHighlighted = FHighlighted;
  tab->SetImageIndex(ImageIndex());
  tab->FData = FData;
  tab->SetVisible(FVisible);
  tab->SetSelected(FSelected);
}

// TcxTabs -----------------------------------------------------------------------

TcxTabs::TcxTabs(TcxCustomTabControl* AControl) : FControl(AControl) {}

TcxTabs::~TcxTabs() {
  while (!FItems.empty()) delete FItems.back().release();
}

void TcxTabs::RaiseIndexError(const char* Method, Integer Index) const {
  throw Exception(std::string("TcxTabs.") + Method + ": " +
                  Format(TranslateResourceString(scxPCTabIndexError), {Index}));
}

void TcxTabs::CheckIndex(const char* Method, Integer Index, Integer Count) const {
  if (Index < 0 || Index >= Count) RaiseIndexError(Method, Index);
}

std::string TcxTabs::Get(Integer Index) const {
  CheckIndex("Get", Index, GetCount());
  return FItems[static_cast<size_t>(Index)]->FCaption;
}

void TcxTabs::Put(Integer Index, const std::string& S) { GetTab(Index)->SetCaption(S); }

TObject* TcxTabs::GetObject(Integer Index) const { return GetTab(Index)->FData; }

void TcxTabs::PutObject(Integer Index, TObject* AObject) { GetTab(Index)->FData = AObject; }

TcxTab* TcxTabs::GetTab(Integer Index) const {
  CheckIndex("GetTab", Index, GetCount());
  return FItems[static_cast<size_t>(Index)].get();
}

TcxTab* TcxTabs::GetVisibleTab(Integer VisibleIndex) const {
  const Integer count = VisibleCount();
  if (VisibleIndex < 0 || VisibleIndex >= count)
    throw Exception(std::string("TcxTabs.GetVisibleTab: ") +
                    Format(TranslateResourceString(scxPCTabVisibleIndexOutsOfBounds), {VisibleIndex, count - 1}));
  return FControl->VisibleTabList()->GetTab(VisibleIndex);
}

Integer TcxTabs::VisibleCount() const { return FControl->VisibleTabList()->Count(); }

void TcxTabs::Insert(Integer Index, const std::string& S) {
  if (Index < 0 || Index > GetCount()) RaiseIndexError("Insert", Index);
  FItems.insert(FItems.begin() + Index, std::make_unique<TcxTab>(this, Index));
  Renumber(Index + 1, GetCount() - 1);
  FItems[static_cast<size_t>(Index)]->FCaption = S;
  if (!FControl->IsLoading() && FControl->StoredTabIndex() == -1 && GetCount() == 1) FControl->StoreTabIndex(0);
  FControl->VisibleTabList()->Rebuild();
  TabChanged(-1, tckLayout);
}

void TcxTabs::Delete(Integer Index) {
  if (FDeleting) return;
  if (!FNotifying) {
    CheckIndex("Delete", Index, GetCount());
    FDeleting = true;
    struct ClearFlag {
      bool& flag;
      ~ClearFlag() { flag = false; }
    } clear{FDeleting};
    delete FItems[static_cast<size_t>(Index)].release();
  } else {
    FItems[static_cast<size_t>(Index)].release();
  }
  FItems.erase(FItems.begin() + Index);
  Renumber(Index, GetCount() - 1);
  FControl->VisibleTabList()->Rebuild();
  TabChanged(-1, tckLayout);
}

void TcxTabs::Clear() {
  while (!FItems.empty()) delete FItems.back().release();
  TabChanged(-1, tckLayout);
}

void TcxTabs::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  // Mended: both indexes are checked, so a bad one raises the list's index
  // error instead of reaching outside the array.
  CheckIndex("Move", CurIndex, GetCount());
  CheckIndex("Move", NewIndex, GetCount());
  std::unique_ptr<TcxTab> tab = std::move(FItems[static_cast<size_t>(CurIndex)]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(tab));
  Renumber(std::min(CurIndex, NewIndex), std::max(CurIndex, NewIndex));
  FControl->VisibleTabList()->Rebuild();
  TabChanged(-1, tckLayout);
}

void TcxTabs::RemoveDestroyedTab(Integer Index, bool Keep) {
  FNotifying = true;
  struct ClearFlag {
    bool& flag;
    ~ClearFlag() { flag = false; }
  } clear{FNotifying};
  if (!Keep) Delete(Index);
}

void TcxTabs::TabChanged(Integer VisibleIndex, TabChangeKind Kind) {
  if (FControl->IsLoading() || FControl->IsDestroying()) return;
  if (VisibleIndex == -1 || Kind == tckLayout)
    FControl->RecalculateLayout();
  else
    FControl->Painter()->InvalidateTab(VisibleIndex, Kind);
}

void TcxTabs::SetHotTab(Integer VisibleIndex) {
  const Integer old = FControl->HotTabVisibleIndex();
  if (old == VisibleIndex) return;
  FControl->SetHotTabMark(VisibleIndex);
  if (old != -1) TabChanged(old, tckHot);
  if (VisibleIndex != -1) TabChanged(VisibleIndex, tckHot);
}

void TcxTabs::SyncMainTab() {
  const Integer count = VisibleCount();
  Integer old = FControl->MainVisibleIndex();
  if (old >= count) old = -1;
  Integer main = -1;
  if (FControl->StoredTabIndex() != -1) {
    bool found = FControl->VisibleTabList()->FindTabIndex(FControl->StoredTabIndex(), main);
    if (!found && main == count) main = count - 1;
  }
  FControl->SetMainVisibleIndex(main);
  if (main == old) return;
  if (old != -1) TabChanged(old, tckMainTab);
  if (main != -1) TabChanged(main, tckMainTab);
  FControl->UpdateNavigatorButtonStates();
}

void TcxTabs::SetFocusedTab(Integer VisibleIndex) {
  const Integer count = VisibleCount();
  Integer old = FControl->FocusMark();
  if (old >= count) old = -1;
  if (VisibleIndex < 0 || VisibleIndex >= count) VisibleIndex = -1;
  FControl->SetFocusMarkValue(VisibleIndex);
  if (old == VisibleIndex) return;
  if (old != -1) TabChanged(old, tckFocusMark);
  if (VisibleIndex != -1) TabChanged(VisibleIndex, tckFocusMark);
  if (VisibleIndex != -1 && !FControl->MultiLine()) {
    FControl->ScrollSelectedIntoView(VisibleIndex);
    FControl->RecalculateLayout();
    FControl->RefreshHotTrack();
  }
}

void TcxTabs::FreeTextBitmaps() {
  for (auto& tab : FItems) tab->FreeTextBitmap();
}

void TcxTabs::RepaintImages() {
  for (Integer i = 0; i < GetCount(); ++i) FItems[static_cast<size_t>(i)]->RepaintImage();
}

void TcxTabs::Renumber(Integer First, Integer Last) {
  for (Integer i = First; i <= Last; ++i) FItems[static_cast<size_t>(i)]->FIndex = i;
}

// TcxVisibleTabList -------------------------------------------------------------

TcxTab* TcxVisibleTabList::GetTab(Integer VisibleIndex) const {
  const Integer count = Count();
  if (count == 0)
    throw Exception(std::string("TcxVisibleTabList.GetTab: ") + TranslateResourceString(scxPCVisibleTabListEmpty));
  if (VisibleIndex < 0 || VisibleIndex >= count)
    throw Exception(std::string("TcxVisibleTabList.GetTab: ") +
                    Format(TranslateResourceString(scxPCTabVisibleIndexOutsOfBounds), {VisibleIndex, count - 1}));
  return FControl->Tabs()->GetTab(FItems[static_cast<size_t>(VisibleIndex)]);
}

bool TcxVisibleTabList::FindTabIndex(Integer TabIndex, Integer& Position) const {
  const Integer count = Count();
  Position = 0;
  if (count == 0) return false;
  if (TabIndex == FItems.front()) return true;
  if (TabIndex < FItems.front()) return false;
  if (TabIndex == FItems.back()) {
    Position = count - 1;
    return true;
  }
  if (TabIndex > FItems.back()) {
    Position = count;
    return false;
  }
  Integer low = 0;
  Integer high = count - 1;
  while (high - low > 1) {
    const Integer middle = (low + high) / 2;
    const Integer value = FItems[static_cast<size_t>(middle)];
    if (value == TabIndex) {
      Position = middle;
      return true;
    }
    if (TabIndex < value)
      high = middle;
    else
      low = middle;
  }
  Position = high;
  return false;
}

void TcxVisibleTabList::AddTabIndex(Integer TabIndex) {
  Integer position;
  if (!FindTabIndex(TabIndex, position)) FItems.insert(FItems.begin() + position, TabIndex);
}

void TcxVisibleTabList::RemoveTabIndex(Integer TabIndex) {
  Integer position;
  if (FindTabIndex(TabIndex, position)) FItems.erase(FItems.begin() + position);
}

void TcxVisibleTabList::Rebuild() {
  TcxTabs* tabs = FControl->Tabs();
  FItems.clear();
  for (Integer i = 0; i < tabs->Count(); ++i)
    if (tabs->GetTab(i)->Visible()) FItems.push_back(i);
}

Integer TcxVisibleTabList::VisibleIndexOf(Integer TabIndex) const {
  Integer position;
  return FindTabIndex(TabIndex, position) ? position : -1;
}

void RegisterTabsClasses() { RegisterClasses({TcxTab::StaticClass()}); }
