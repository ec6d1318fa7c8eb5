// The tabs of a tab control: one TcxTab per line of the TcxTabs string list
// (the caption is the line's text, the data object the line's object), and
// the sorted list of the indexes of the visible tabs. Layout, hit tests and
// painters work in visible indexes (places in that list), TabIndex and the
// tab objects in tab indexes (places in TcxTabs).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Components.h"
#include "suite/pagecontrol/cxPCTypes.h"

class TBitmap;
class TcxCustomTabControl;
class TcxTabs;

class TcxTab : public TPersistent {
  VXN_DECLARE_CLASS(TcxTab)

 public:
  TcxTab(TcxTabs* AOwner, Integer AIndex);
  // Takes its own line out of the list first (a tab freed directly leaves
  // no dangling line behind).
  ~TcxTab() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Highlighted() const { return FHighlighted; }
  void SetHighlighted(bool Value);
  // The control's effective image index for this tab.
  Integer ImageIndex() const;
  void SetImageIndex(Integer Value);
  bool HasOwnImageIndex() const { return FImageIndex != FIndex; }
  bool Selected() const { return FSelected; }
  void SetSelected(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  TcxCustomTabControl* TabControl() const;
  TcxTabs* Tabs() const { return FTabs; }
  Integer Index() const { return FIndex; }
  Integer OwnImageIndex() const { return FImageIndex; }
  TObject* Data() const { return FData; }

  Integer VisibleIndex() const;
  bool IsMainTab() const;
  bool IsHot() const;
  bool IsPressed() const;
  bool IsFocused() const;
  bool IsEnabledNow() const;
  bool IsShown() const;
  Integer RowExtent() const;
  TRect NormalRect() const;
  // The normal rect with the painter's size correction (stored in the tab).
  TRect DisplayRect() const;
  TRect VisibleRect() const;
  // 0 top, 1 bottom, 2 left, 3 right.
  Integer Side() const;
  // 1 to 12, by side and text rotation.
  Integer Orientation() const;

  void Changed(TabChangeKind Kind);
  void RepaintImage();

  TBitmap* NativeBitmap() const { return FNativeBitmap.get(); }
  // Made once, 32 bits per pixel.
  TBitmap* NewNativeBitmap();
  void FreeNativeBitmap();
  TBitmap* TextBitmap() const { return FTextBitmap.get(); }
  TBitmap* NewTextBitmap();
  void FreeTextBitmap();

  // Written by the layout.
  Integer PlacementRow = 0;
  TPoint Position;
  Integer NormalWidth = 0;
  mutable TRect SizeCorrection;
  Integer DisplayedRow = 0;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  friend class TcxTabs;

  std::string FCaption;
  bool FEnabled = true;
  bool FHighlighted = false;
  Integer FImageIndex;
  Integer FIndex;
  TObject* FData = nullptr;
  std::unique_ptr<TBitmap> FNativeBitmap;
  bool FSelected = false;
  TcxTabs* FTabs;
  std::unique_ptr<TBitmap> FTextBitmap;
  bool FVisible = true;
};

class TcxTabs : public TStrings {
  VXN_DECLARE_CLASS(TcxTabs)

 public:
  explicit TcxTabs(TcxCustomTabControl* AControl);
  ~TcxTabs() override;

  Integer GetCount() const override { return static_cast<Integer>(FItems.size()); }
  std::string Get(Integer Index) const override;
  void Put(Integer Index, const std::string& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void Insert(Integer Index, const std::string& S) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Move(Integer CurIndex, Integer NewIndex) override;

  TcxTab* GetTab(Integer Index) const;
  TcxTab* Tab(Integer Index) const { return GetTab(Index); }
  TcxTab* GetVisibleTab(Integer VisibleIndex) const;
  Integer VisibleCount() const;
  TcxCustomTabControl* TabControl() const { return FControl; }
  // Shared by all tabs: the painter's normal height at the last layout.
  Integer CommonTabHeight = 0;

  void TabChanged(Integer VisibleIndex, TabChangeKind Kind);
  void SetHotTab(Integer VisibleIndex);
  void SyncMainTab();
  void SetFocusedTab(Integer VisibleIndex);
  void FreeTextBitmaps();
  void RepaintImages();
  void Renumber(Integer First, Integer Last);

 protected:
  // Keep: only drop the flag (the list is being torn down anyway).
  virtual void RemoveDestroyedTab(Integer Index, bool Keep);
  [[noreturn]] virtual void RaiseIndexError(const char* Method, Integer Index) const;

 private:
  friend class TcxTab;

  void CheckIndex(const char* Method, Integer Index, Integer Count) const;

  bool FNotifying = false;
  TcxCustomTabControl* FControl;
  std::vector<std::unique_ptr<TcxTab>> FItems;
  bool FDeleting = false;
};

class TcxVisibleTabList : public TObject {
  VXN_DECLARE_CLASS(TcxVisibleTabList)

 public:
  explicit TcxVisibleTabList(TcxCustomTabControl* AControl) : FControl(AControl) {}

  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxTab* GetTab(Integer VisibleIndex) const;
  // True with the place of TabIndex; false with the place it would take.
  bool FindTabIndex(Integer TabIndex, Integer& Position) const;
  void AddTabIndex(Integer TabIndex);
  void RemoveTabIndex(Integer TabIndex);
  void Rebuild();
  Integer VisibleIndexOf(Integer TabIndex) const;
  Integer TabIndexAt(Integer VisibleIndex) const { return FItems[static_cast<size_t>(VisibleIndex)]; }

 private:
  TcxCustomTabControl* FControl;
  std::vector<Integer> FItems;
};

void RegisterTabsClasses();
