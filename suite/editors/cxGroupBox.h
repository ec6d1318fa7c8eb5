// The suite's group box: a container editor that holds child controls
// inside a frame, with a caption at one of thirteen places; the captions on
// the left and right side read vertically, drawn with a rotated font. The
// frame is the Button visual style's group box or a classic frame of the
// style's border style.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/GdiFonts.h"
#include "suite/editors/cxEdit.h"
#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxTextEditViewInfo.h"

VXN_ENUM(TcxCaptionAlignment, alTopLeft, alTopCenter, alTopRight, alBottomLeft, alBottomCenter, alBottomRight,
         alLeftTop, alLeftCenter, alLeftBottom, alRightTop, alRightCenter, alRightBottom, alCenterCenter)

// The side a caption sits on.
enum class TcxCaptionSide { Top, Bottom, Left, Right, Centre };
TcxCaptionSide CaptionSideOf(TcxCaptionAlignment AAlignment);

class TcxCustomGroupBox;

class TcxCustomGroupBoxProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TcxCustomGroupBoxProperties)

 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;

  TClass EditClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
};

class TcxGroupBoxButtonViewInfo : public TcxEditButtonViewInfo {
  VXN_DECLARE_CLASS(TcxGroupBoxButtonViewInfo)

 public:
  // Where a button group's button stands in its grid.
  Integer Column = 0;
  Integer Row = 0;
};

class TcxGroupBoxViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxGroupBoxViewInfo)

 public:
  TcxGroupBoxViewInfo();
  ~TcxGroupBoxViewInfo() override;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void OffsetBy(Integer DX, Integer DY) override;
  TcxEditButtonViewInfoClass ButtonViewInfoClass() override;

  TRect CaptionRect;
  // The caption is drawn here first, then copied onto CaptionRect.
  std::unique_ptr<TBitmap> CaptionBitmap;
  std::unique_ptr<TcxCanvas> CaptionCanvas;
  TcxCustomGroupBox* GroupBox = nullptr;
  TcxCaptionAlignment Alignment = alTopLeft;
  // Height of "Qq" in the caption font.
  Integer CaptionHeight = 0;
  bool NeedsParentBackground = false;
  bool UsesParentBackground = false;

 private:
  void DrawFrame(TcxCanvas* ACanvas, bool AIntoCaption);
  void DrawThemedFrame(TcxCanvas* ACanvas);
  void DrawClassicFrame(TcxCanvas* ACanvas, bool AClearBrush);
  void DrawCaption(TcxCanvas* ACanvas);
};

class TcxGroupBoxViewData : public TcxCustomEditViewData {
  VXN_DECLARE_CLASS(TcxGroupBoxViewData)

 public:
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  TcxContainerStateFlags CalculateContainerState(const TRect& ABounds, const TPoint& P, Integer AButton,
                                                 TShiftState AShift, bool AIsMouseEvent) override;
  TColor CalculateBorderColor() override;
  void BorderExtent(TRect& R) override;
  void ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) override;
  // The native look follows the Edit theme, asked for by NativeStyle or by
  // the Office 11 kind.
  static bool IsNativeLookAndFeel(TcxLookAndFeel* ALookAndFeel);

  TcxCustomGroupBox* GroupBox = nullptr;

 private:
  // The caption's side when the caption takes room there; Centre otherwise.
  TcxCaptionSide SideWithRoom();
  Integer CaptionTextHeight();
  TRect CalculateCaptionRect(const TRect& ABounds);
};

class TcxCustomGroupBox : public TcxCustomEdit {
  VXN_DECLARE_CLASS(TcxCustomGroupBox)

 public:
  explicit TcxCustomGroupBox(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomGroupBox() override;

  TcxCaptionAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TcxCaptionAlignment Value);
  TColor CaptionBkColor() const { return FCaptionBkColor; }
  void SetCaptionBkColor(TColor Value) { FCaptionBkColor = Value; }
  // Colour and font are the normal style's.
  TColor StyleColor() const { return Style()->Color(); }
  void SetStyleColor(TColor Value) { Style()->SetColor(Value); }
  TFont* StyleFont() const { return Style()->Font(); }
  void SetStyleFont(TFont* Value) { Style()->SetFont(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
  // The published look and feel is the normal style's, which the box is
  // drawn by.
  TcxLookAndFeel* StyleLookAndFeel() const { return Style()->LookAndFeel(); }
  void SetStyleLookAndFeel(TcxLookAndFeel* Value) { Style()->SetLookAndFeel(Value); }
  void SetTransparentLook(bool Value);

  bool IsVerticalCaption() const;
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  const std::string& CaptionText() const { return FCaptionText; }
  win::UINT CaptionDrawFlags() const;
  // Puts the caption font into a canvas, with the theme's text colour when
  // native.
  void SelectCaptionFont(TcxCanvas* ACanvas, bool ANative);
  void UpdateCaptionFont();
  void UpdateCaptionText();

  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;
  bool DefaultParentColor() override { return true; }
  bool KeepsOwnTabOrder() override { return true; }
  void AlignInnerControl() override {}
  TcxContainerStyle* GetActiveStyle() override;
  bool UsesParentBackground() override;
  bool NeedsParentBackground() override { return UsesParentBackground() || IsTransparent(); }
  // The background's source changed: lay out and paint again.
  void ParentBackgroundChanged() override {
    RecalculateAtCursor(false);
    Invalidate();
  }
  TRect GetVisibleBounds() override;
  void SyncControlWithStyle(TObject* Sender) override;

  std::unique_ptr<TcxGroupBoxViewData> CreateLayoutViewData();
  bool SelectingFirst() const { return FSelectingFirst; }

 protected:
  TcxCustomGroupBox(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);
  bool CanFocusOnClick() override { return false; }
  void AdjustClientRect(TRect& Rect) override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  TcxCaptionAlignment FAlignment = alTopLeft;
  TColor FCaptionBkColor = clNone;
  std::unique_ptr<TFont> FCaptionFont;
  // The rotated font of a vertical caption (no rotation when not vertical).
  win::LOGFONT FCaptionLogFont{};
  bool FSelectingFirst = false;
  std::string FCaptionText;
};

class TcxGroupBox : public TcxCustomGroupBox {
  VXN_DECLARE_CLASS(TcxGroupBox)

 public:
  using TcxCustomGroupBox::TcxCustomGroupBox;
};

// --- the button group: one child button per item, in columns ----------------------------

class TcxButtonGroupItems;

class TcxButtonGroupItem : public TCollectionItem {
  VXN_DECLARE_CLASS(TcxButtonGroupItem)

 public:
  explicit TcxButtonGroupItem(TCollection* Collection);
  ~TcxButtonGroupItem() override;
  void Assign(TPersistent* Source) override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Integer Tag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }

 protected:
  // Tells the owner that this item changed.
  void NotifyItemChanged();
  TcxButtonGroupItems* GroupItems() const;

 private:
  std::string FCaption;
  bool FEnabled = true;
  Integer FTag = 0;
};

// The item notice a group reads while its properties report a change.
enum TcxButtonGroupItemChange { bgicAdded = 0, bgicDeleted = 1, bgicChanged = 2 };

// The captions of a list of items, for whoever lists them.
class IcxCaptionList {
 public:
  virtual ~IcxCaptionList() = default;
  virtual Integer CaptionCount() = 0;
  virtual std::string CaptionAt(Integer AIndex) = 0;
};

class TcxButtonGroupItems : public TOwnedCollection, public IcxCaptionList {
  VXN_DECLARE_CLASS(TcxButtonGroupItems)

 public:
  TcxButtonGroupItems(TPersistent* AOwner, TClass AItemClass);
  ~TcxButtonGroupItems() override;

  TcxButtonGroupItem* Items(Integer Index) const {
    return static_cast<TcxButtonGroupItem*>(TCollection::Items(Index));
  }
  TcxButtonGroupItem* Add() { return static_cast<TcxButtonGroupItem*>(TCollection::Add()); }

  // Reports an item change to the owner with the notice pending meanwhile.
  void NotifyItem(TcxButtonGroupItemChange AChange, Integer AIndex);
  bool NoticePending() const { return FNoticePending; }
  TcxButtonGroupItemChange NoticeChange() const { return FNoticeChange; }
  Integer NoticeIndex() const { return FNoticeIndex; }

  // IcxCaptionList
  Integer CaptionCount() override { return Count(); }
  std::string CaptionAt(Integer AIndex) override { return Items(AIndex)->Caption(); }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  void NotifyOwner();

  Integer FNoticeIndex = -1;
  TcxButtonGroupItemChange FNoticeChange = bgicChanged;
  bool FNoticePending = false;
};

class TcxCustomButtonGroupProperties : public TcxCustomGroupBoxProperties {
  VXN_DECLARE_CLASS(TcxCustomButtonGroupProperties)

 public:
  explicit TcxCustomButtonGroupProperties(TPersistent* AOwner);
  ~TcxCustomButtonGroupProperties() override;

  void Assign(TPersistent* Source) override;
  TClass EditClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  std::unique_ptr<TcxCustomEditProperties> CreateOfSameClass() override;
  Cardinal SupportedOperations() override;

  virtual std::unique_ptr<TcxButtonGroupItems> CreateItems();
  // Columns actually used: never more than the items fill.
  virtual Integer ColumnCount();
  // Asked only when there are items.
  Integer RowCount();

  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  TcxButtonGroupItems* Items() const { return FItems.get(); }
  void SetItems(TcxButtonGroupItems* Value) { FItems->Assign(Value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 protected:
  // A descendant's constructor makes its own kind of items (the base
  // constructor cannot reach CreateItems).
  void RecreateItems();

 private:
  Integer FColumns = 1;
  std::unique_ptr<TcxButtonGroupItems> FItems;
  bool FWordWrap = false;
};

class TcxButtonGroupViewInfo : public TcxGroupBoxViewInfo {
  VXN_DECLARE_CLASS(TcxButtonGroupViewInfo)

 public:
  TcxGroupBoxButtonViewInfo* GroupButton(Integer AIndex) const {
    return static_cast<TcxGroupBoxButtonViewInfo*>(Button(AIndex));
  }

  TcxTextFlags ButtonTextFlags = 0;
};

// What a kind of button needs around its image and caption.
struct TcxButtonGroupMetrics {
  Integer MeasureTextGap = 0;
  Integer MeasureWidthAdjust = 0;
  Integer FreeTextGap = 0;
  Integer FreeWidthAdjust = 0;
  Integer ButtonLeftOffset = 0;
  Integer ArrangeWidthAdjust = 0;
  Integer ColumnSpacing = 0;
  TSize ImageSize;
};

class TcxCustomButtonGroup;

class TcxButtonGroupViewData : public TcxGroupBoxViewData {
  VXN_DECLARE_CLASS(TcxButtonGroupViewData)

 public:
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtons(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                        TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void ContentSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                   TSize& ASize) override;
  void ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) override;

  virtual void ArrangeButtons(TcxButtonGroupViewInfo* AViewInfo);
  virtual void InitButtonViewInfos(TcxButtonGroupViewInfo* AViewInfo);
  virtual TcxTextFlags ButtonTextFlags();
  // AIsLimited: measuring for a given width. Without a canvas only what
  // the arrangement needs is filled.
  virtual void ButtonMetrics(bool AIsLimited, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics) = 0;
  virtual void SetButtonThemeState(TcxButtonGroupViewInfo* AViewInfo, TcxGroupBoxButtonViewInfo* AButton) = 0;
  // Whether the buttons draw by the Button visual style.
  static bool IsButtonNativeStyle(TcxLookAndFeel* ALookAndFeel);

  TcxEditButtonStyle ButtonStyle();
  TcxCustomButtonGroupProperties* GroupProperties() const {
    return static_cast<TcxCustomButtonGroupProperties*>(Properties);
  }

  // Set while the size for a given width is measured.
  bool Measuring = false;

 private:
  void CalculateButtonStates(TcxButtonGroupViewInfo* AViewInfo, const TPoint& P, Integer AButton,
                             TShiftState AShift);
};

class TcxCustomButtonGroup : public TcxCustomGroupBox {
  VXN_DECLARE_CLASS(TcxCustomButtonGroup)

 public:
  ~TcxCustomButtonGroup() override;

  TcxCustomButtonGroupProperties* ActiveGroupProperties() {
    return static_cast<TcxCustomButtonGroupProperties*>(ActiveProperties());
  }
  TcxButtonGroupViewInfo* GroupViewInfo() const { return static_cast<TcxButtonGroupViewInfo*>(ViewInfo()); }
  Integer ButtonCount() const { return static_cast<Integer>(FButtons.size()); }
  TWinControl* Buttons(Integer AIndex) const { return FButtons[static_cast<size_t>(AIndex)]; }
  // A button joins or leaves the list as it is made or freed.
  void AddButton(TWinControl* AButton);
  void RemoveButton(TWinControl* AButton);

  // The button at P (client coordinates), else -1.
  Integer ButtonAt(const TPoint& P);
  Integer FocusedButtonIndex();
  bool IsButtonNativeStyle();

  virtual void PlaceButtons();
  virtual TWinControl* CreateButton() = 0;
  virtual void InitButton(TWinControl* AButton);
  virtual void SyncButtonCount(Integer ACount);
  virtual void SyncButtonsStyle();
  virtual void UpdateButtons();
  virtual bool IsButtonDC(win::HDC ADC) {
    (void)ADC;
    return false;
  }

  bool Focused() override;
  bool KeepsOwnTabOrder() override { return SelectingFirst(); }
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag) override;
  void SyncControlWithStyle(TObject* Sender) override;
  void PropertiesChanged(TObject* Sender) override;
  void GetTabOrderList(std::vector<TWinControl*>& List) override;
  // The button under the click gets it, at its centre.
  void ActivateByMouse(TShiftState Shift, Integer X, Integer Y,
                       std::unique_ptr<TcxCustomEditData>& AEditData) override;
  // Arrow keys move the focus among the buttons.
  void EditKeyDown(Word& Key, TShiftState Shift) override;

 protected:
  TcxCustomButtonGroup(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);
  void CreateHandle() override;
  void ReadState(TReader& Reader) override;
  void CursorChanged() override;
  void CMEnabledChanged(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void MoveFocusByArrow(Word& Key);

 private:
  void FreeButton(Integer AIndex);
  void AppendButton();
  void ButtonKeyDown(TObject* /*Sender*/, Word& Key, TShiftState Shift) { KeyDown(Key, Shift); }
  void ButtonKeyPress(TObject* /*Sender*/, char32_t& Key) { KeyPress(Key); }
  void ButtonKeyUp(TObject* /*Sender*/, Word& Key, TShiftState Shift) { KeyUp(Key, Shift); }
  void ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void ButtonMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
  void ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void ButtonMouseWheel(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled);
  void ButtonDragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y);
  void ButtonDragOver(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);

  // The buttons are components of the group; the group frees them.
  std::vector<TWinControl*> FButtons;
};

void RegisterGroupBoxClasses();
