// The cell grid: a spreadsheet-like control that keeps a full record of
// properties and two texts for every cell (CellStore.h), lays the cells out
// with title, fixed and scrolling parts, paints them with merged ranges,
// per-cell borders, fonts and colours, selects and scrolls, edits cells in
// place, and moves, copies and fills the selection by dragging.
//
// Column 0 shows row numbers and row 0 column letters; columns 1..FixedCols
// and rows 1..FixedRows are fixed; the rest scroll.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/CellStore.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Mask.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"

class TGridDrawing;
class TCustomCellGrid;

VXN_ENUM(TCellGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
         goDrawFocusSelected, goRowSizing, goColSizing, goEditing, goTabs, goRowSelect,
         goAlwaysShowEditor, goThumbTracking)
using TCellGridOptions = TSet<TCellGridOption>;
VXN_ENUM(TCellGridDrawStateItem, gdSelected, gdFocused, gdFixed, gdTitled)
using TCellGridDrawState = TSet<TCellGridDrawStateItem>;

// The mouse operation in progress.
enum class TCellGridState {
  gsNormal,
  gsSelecting,
  gsRowSizing,
  gsColSizing,
  gsMoving,
  gsCopying,
  gsFilling
};

// A column or row border under the mouse: gsRowSizing or gsColSizing, the
// index sized, the border's position and the distance from the point to it.
struct TSizingHit {
  TCellGridState State = TCellGridState::gsNormal;
  Integer Index = 0;
  Integer Pos = 0;
  Integer Offset = 0;
};

using TDrawCellEvent = TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect,
                                      TCellGridDrawState State)>;
using TGetEditEvent =
    TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, std::string& Value)>;
using TSetEditEvent =
    TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, const std::string& Value)>;
using TSelectCellEvent =
    TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;
using TSetCellTextEvent =
    TDelegate<void(TObject* Sender, Integer ACol, Integer ARow, std::string& Value)>;
using TCellRangesEvent = TDelegate<void(TObject* Sender, TRect SrcRect, TRect DestRect)>;
using TBeforeSetCellPropEvent = TDelegate<void(TObject* Sender, TRect Range, bool& CanSetCellProp)>;
using TCellRangeEvent = TDelegate<void(TObject* Sender, TRect Range)>;
using TPasteCellsEvent =
    TDelegate<void(TObject* Sender, TPoint SrcTopLeft, TPoint SrcSize, TRect DestRect)>;

// The value of a cell-property selector: a number (ordinals, Booleans,
// colours), a font style or a text, whichever the selector takes.
// Mended: the font-style and text selectors take these typed values, never
// an address squeezed into a 32-bit number.
struct TCellPropValue {
  enum class Kind { Number, Style, Text };
  TCellPropValue(Integer V) : ValueKind(Kind::Number), Number(V) {}
  TCellPropValue(bool V) : ValueKind(Kind::Number), Number(V ? 1 : 0) {}
  TCellPropValue(TFontStyles V) : ValueKind(Kind::Style), Style(V) {}
  TCellPropValue(std::string V) : ValueKind(Kind::Text), Text(std::move(V)) {}
  TCellPropValue(const char* V) : ValueKind(Kind::Text), Text(V ? V : "") {}
  Kind ValueKind;
  Integer Number = 0;
  TFontStyles Style;
  std::string Text;
};

// The grid's own notices; captions, icons and buttons are fixed by the
// boxes that show them.
inline constexpr const char* SGridInvalidInput = "Invalid input value";
inline constexpr const char* SGridTooManyColumns = "A grid has at most 256 columns";
inline constexpr const char* SGridInvalidNumber = " is not a valid number";
inline constexpr const char* SGridInvalidDate = " is not a valid date";
inline constexpr const char* SGridInvalidTime = " is not a valid time";
inline constexpr const char* SGridMoveMerged = "Cannot move cells onto part of a merged range";
inline constexpr const char* SGridReadOnlyCells = "The operation would change read-only cells";
inline constexpr const char* SGridFillMerged = "Cannot fill cells across part of a merged range";
inline constexpr const char* SGridOverwrite = "Replace the contents of the destination cells?";

inline constexpr TColor kGridClientLineColor = 12632256;  // grey, red = green = blue = 192

// The in-place editor: a borderless multi-line mask edit that the grid lays
// over the current cell.
class TInplaceEdit : public TCustomMaskEdit {
  VXN_DECLARE_CLASS(TInplaceEdit)

 public:
  explicit TInplaceEdit(TComponent* AOwner);

  TCustomCellGrid* Grid() const { return Grid_; }
  // The record it was last filled from.
  TCellInfo* Cell() const { return Cell_; }
  // The text it was filled with (Escape puts it back).
  const std::string& StartText() const { return StartText_; }

  virtual void BoundsChanged();
  virtual void UpdateContents();
  void Move(const TRect& Loc);
  void UpdateLoc(const TRect& Loc);
  void Hide();
  void Deselect();
  bool WindowVisible();
  // Whether the selection touches the text's end (or start).
  bool AtRightEnd();
  bool AtLeftEnd();

 protected:
  friend class TCustomCellGrid;
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void DblClick() override;
  void ValidateEdit() override;
  // The grid alone shows and hides the editor's window.
  void UpdateShowing() override {}

 private:
  void SendToGrid(Word& Key, TShiftState Shift);
  void PasteText();
  void InternalMove(const TRect& Loc, bool Redraw);
  void InvalidateAround();

  TCustomCellGrid* Grid_;
  TCellInfo* Cell_ = nullptr;
  std::string StartText_;
  win::DWORD ClickTime_ = 0;
};

class TCustomCellGrid : public TCustomControl {
  VXN_DECLARE_CLASS(TCustomCellGrid)

 public:
  explicit TCustomCellGrid(TComponent* AOwner);
  ~TCustomCellGrid() override;

  // --- Cell store -----------------------------------------------------------------------
  TCellInfo* CellAt(Integer ACol, Integer ARow);
  TGridRect CellMergeRect(Integer ACol, Integer ARow) { return CellAt(ACol, ARow)->MergeRect; }
  TColor CellFillColor(Integer ACol, Integer ARow) { return CellAt(ACol, ARow)->FillColor; }
  void InitCellInfo(TCellInfo& Record, Integer ACol, Integer ARow) {
    Cells_->InitCellInfo(Record, ACol, ARow);
  }
  bool IsMergedCell(Integer ACol, Integer ARow) const { return Cells_->IsMergedCell(ACol, ARow); }
  bool RangeHasMergedCells(const TGridRect& Rect) const {
    return Cells_->RangeHasMergedCells(Rect);
  }
  bool RangeIsWhole(const TGridRect& Rect) const { return Cells_->RangeIsWhole(Rect); }
  TGridRect ExpandToMergedRanges(TGridCoord A, TGridCoord B) const {
    return Cells_->ExpandToMergedRanges(A, B);
  }
  bool RangeCutsMergedRange(const TGridRect& Rect) const {
    return Cells_->RangeCutsMergedRange(Rect);
  }
  bool RangeHasReadOnlyCell(const TGridRect& Rect) const {
    return Cells_->RangeHasReadOnlyCell(Rect);
  }
  void ResetRange(const TGridRect& Rect);
  void CopyRangeToBuffer(const TGridRect& Rect);
  void PasteBuffer(const TGridRect& Dest);
  void FreeCellBuffer() { CellBuffer_.clear(); }
  const std::string& CellBuffer() const { return CellBuffer_; }

  // --- Layout ---------------------------------------------------------------------------
  Integer ColCount() const { return ColCount_; }
  void SetColCount(Integer Value);
  Integer RowCount() const { return RowCount_; }
  void SetRowCount(Integer Value);
  Integer FixedCols() const { return FixedCols_; }
  void SetFixedCols(Integer Value);
  Integer FixedRows() const { return FixedRows_; }
  void SetFixedRows(Integer Value);
  Integer DefaultColWidth() const { return DefaultColWidth_; }
  void SetDefaultColWidth(Integer Value);
  Integer DefaultRowHeight() const { return DefaultRowHeight_; }
  void SetDefaultRowHeight(Integer Value);
  Integer GetColWidth(Integer Index) const;
  void SetColWidth(Integer Index, Integer Width);
  Integer GetRowHeight(Integer Index) const;
  void SetRowHeight(Integer Index, Integer Height);
  Integer GridLineWidth() const { return GridLineWidth_; }
  void SetGridLineWidth(Integer Value);
  bool ShowColTitle() const { return ShowColTitle_; }
  void SetShowColTitle(bool Value);
  bool ShowRowTitle() const { return ShowRowTitle_; }
  void SetShowRowTitle(bool Value);
  TCellGridOptions Options() const { return Options_; }
  void SetOptions(TCellGridOptions Value);
  TScrollStyle ScrollBars() const { return ScrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  bool Ctl3D() const { return Ctl3D_; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return ParentCtl3D_; }
  void SetParentCtl3D(bool Value) { ParentCtl3D_ = Value; }
  // Kept for form files: the forms library takes the reading order from
  // BiDiMode alone and has no docking, so the dock events never fire.
  bool ParentBiDiMode = true;
  TStartDragEvent OnStartDock;
  TEndDragEvent OnEndDock;
  bool AutoUpdate() const { return AutoUpdate_; }
  void SetAutoUpdate(bool Value);

  // Pixel rectangle of a cell without its trailing line; of a range of cells,
  // with the trailing line when WithLines. Cells out of view lie outside the
  // client area.
  TRect CellRect(Integer ACol, Integer ARow);
  TRect BoxRect(const TGridRect& Rect, bool WithLines);
  TGridCoord MouseCoord(Integer X, Integer Y);
  Integer VisibleColCount();
  Integer VisibleRowCount();

  // --- Current cell, selection, scrolling ------------------------------------------------
  Integer Col() const { return Current_.X; }
  Integer Row() const { return Current_.Y; }
  TGridCoord CurrentCell() const { return Current_; }
  TGridCoord AnchorCell() const { return Anchor_; }
  TGridRect Selection() const { return Selection_; }
  Integer LeftCol() const { return TopLeft_.X; }
  Integer TopRow() const { return TopLeft_.Y; }
  Integer ColOffset() const { return ColOffset_; }
  TCellGridState GridState() const { return GridState_; }

  void FocusCell(Integer ACol, Integer ARow, bool MoveAnchor, bool Show);
  void MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor);
  void SetSelection(const TGridRect& Rect);
  void MoveAnchor(TGridCoord Cell, bool Update);
  void MoveTopLeft(Integer ALeft, Integer ATop);
  void ClampInView(TGridCoord Cell);
  void UpdateScrollRange();
  void UpdateScrollPos();
  void ScrollByMessage(int Bar, win::WORD Code, Integer Thumb);

  void InvalidateCell(Integer ACol, Integer ARow);
  void InvalidateCells(const TGridRect& Rect);
  void InvalidateRow(Integer ARow);
  void RepaintIfAutoUpdate();

  // --- Drawing --------------------------------------------------------------------------
  bool DefaultDrawing() const { return DefaultDrawing_; }
  void SetDefaultDrawing(bool Value);
  bool AlwaysDrawFocus() const { return AlwaysDrawFocus_; }
  void SetAlwaysDrawFocus(bool Value);
  TColor FixedLineColor() const { return FixedLineColor_; }
  void SetFixedLineColor(TColor Value);
  TColor ClientLineColor() const { return ClientLineColor_; }
  void SetClientLineColor(TColor Value);
  TColor TitleColor() const { return Defaults_.TitleColor; }
  void SetTitleColor(TColor Value);
  TColor HighLightColor() const { return HighLightColor_; }
  void SetHighLightColor(TColor Value);
  TColor HighLightTextColor() const { return HighLightTextColor_; }
  void SetHighLightTextColor(TColor Value);
  TColor FocusedTitleColor() const { return FocusedTitleColor_; }
  void SetFocusedTitleColor(TColor Value);
  // The grid has the keyboard focus (itself or its editor).
  bool GridFocused();

  // --- Cell texts and properties ----------------------------------------------------------
  std::string GetCellForeText(Integer ACol, Integer ARow) { return CellAt(ACol, ARow)->ForeText; }
  std::string GetCellBackText(Integer ACol, Integer ARow) { return CellAt(ACol, ARow)->BackText; }
  void SetCellForeText(Integer ACol, Integer ARow, const std::string& Text);
  void SetCellBackText(Integer ACol, Integer ARow, const std::string& Text);
  void SetColumnCellProperty(Integer ACol, Integer Selector, const TCellPropValue& Value);
  void SetRowCellProperty(Integer ARow, Integer Selector, const TCellPropValue& Value);
  void SetRangeCellProperty(const TGridRect& Rect, Integer Selector, const TCellPropValue& Value);
  void SetAllCellsProperty(Integer Selector, const TCellPropValue& Value);
  void ClearRange(const TGridRect& Rect);
  void FillRange(const TGridRect& Source, Integer Offset, Integer Direction);
  bool ConfirmMoveTarget(const TGridRect& Source, Integer DX, Integer DY, bool IsMove);
  bool ConfirmFillTarget(const TGridRect& Source, Integer Offset, Integer Direction);

  void ShowCautionBox(const std::string& Text);
  void ShowErrorBox(const std::string& Text);
  bool AskConfirmation(const std::string& Text);

  // The grid-level cell defaults: each setter rewrites every non-title cell.
  TDataStyle CellDataStyle() const { return Defaults_.DataStyle; }
  void SetCellDataStyle(TDataStyle Value);
  TAlignMode CellAlignMode() const { return Defaults_.AlignMode; }
  void SetCellAlignMode(TAlignMode Value);
  bool CellShowForeText() const { return Defaults_.ShowForeText; }
  void SetCellShowForeText(bool Value);
  bool CellReadOnly() const { return Defaults_.ReadOnly; }
  void SetCellReadOnly(bool Value);
  bool CellAutoWordBreak() const { return Defaults_.AutoWordBreak; }
  void SetCellAutoWordBreak(bool Value);
  Integer CellLineWidth() const { return Defaults_.LineWidth; }
  void SetCellLineWidth(Integer Value);
  TPenStyle CellPenStyle() const { return Defaults_.PenStyle; }
  void SetCellPenStyle(TPenStyle Value);
  bool CellAllowNegative() const { return Defaults_.AllowNegative; }
  void SetCellAllowNegative(bool Value);
  bool CellTrailingZero() const { return Defaults_.TrailingZero; }
  void SetCellTrailingZero(bool Value);
  bool CellZeroNull() const { return Defaults_.ZeroNull; }
  void SetCellZeroNull(bool Value);
  bool CellThousandSep() const { return Defaults_.ThousandSep; }
  void SetCellThousandSep(bool Value);
  Integer CellMaxLength() const { return Defaults_.MaxLength; }
  void SetCellMaxLength(Integer Value);
  Integer CellIntLength() const { return Defaults_.IntLength; }
  void SetCellIntLength(Integer Value);
  Integer CellDecLength() const { return Defaults_.DecLength; }
  void SetCellDecLength(Integer Value);
  TColor CellColor() const { return Defaults_.Color; }
  void SetCellColor(TColor Value);
  Integer CellFontSize() const { return Defaults_.FontSize; }
  void SetCellFontSize(Integer Value);
  TColor CellFontColor() const { return Defaults_.FontColor; }
  void SetCellFontColor(TColor Value);
  TFontStyles CellFontStyle() const { return Defaults_.FontStyle; }
  void SetCellFontStyle(TFontStyles Value);

  bool ClientSizeable() const { return ClientSizeable_; }
  void SetClientSizeable(bool Value) { ClientSizeable_ = Value; }
  bool GridCanCopyMove() const { return GridCanCopyMove_; }
  void SetGridCanCopyMove(bool Value) { GridCanCopyMove_ = Value; }
  bool GridCanFill() const { return GridCanFill_; }
  void SetGridCanFill(bool Value) { GridCanFill_ = Value; }
  bool ShowPopup() const { return ShowPopup_; }
  void SetShowPopup(bool Value) { ShowPopup_ = Value; }

  // --- In-place editing -------------------------------------------------------------------
  TInplaceEdit* InplaceEditor() const { return InplaceEdit_.get(); }
  bool EditorMode() const { return EditorMode_; }
  void SetEditorMode(bool Value);
  void SelectAllEditorText();
  void ShowEditor();
  void ShowEditorChar(char32_t Ch);
  void HideEditor();
  void UpdateEdit();
  void UpdateText();
  TGridCoord EditingCell() const { return EditingCell_; }

  // --- Events -----------------------------------------------------------------------------
  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSelectCellEvent OnSelectCell;
  TSetEditEvent OnSetEditText;
  TSetEditEvent OnHideEdit;
  TSetCellTextEvent OnSetForeText;
  TSetCellTextEvent OnSetBackText;
  TNotifyEvent OnTopLeftChanged;
  TCellRangesEvent OnCopyMoveCells;
  TCellRangesEvent OnFillCells;
  TBeforeSetCellPropEvent BeforeSetCellProp;
  TCellRangeEvent AfterSetCellProp;
  TCellRangeEvent OnInsertCol;
  TCellRangeEvent OnInsertRow;
  TCellRangeEvent OnInsertCellRight;
  TCellRangeEvent OnInsertCellDown;
  TCellRangeEvent OnDeleteCol;
  TCellRangeEvent OnDeleteRow;
  TCellRangeEvent OnDeleteCellRight;
  TCellRangeEvent OnDeleteCellDown;
  TPasteCellsEvent OnPasteCells;
  TCellRangeEvent OnCutCells;

  // Per axis: where titles, fixed and scrolling cells lie for a client size.
  struct TAxisDrawInfo {
    Integer EffectiveLineWidth = 0;
    Integer TitleBoundary = 0;
    Integer FixedBoundary = 0;
    Integer GridBoundary = 0;
    Integer GridExtent = 0;
    Integer LastFullVisibleCell = 0;
    Integer FullVisBoundary = 0;
    Integer FixedCellCount = 0;
    Integer FirstGridCell = 0;
    Integer GridCellCount = 0;
    bool Columns = true;
    const TCustomCellGrid* Grid = nullptr;
    Integer Extent(Integer Index) const;
  };
  struct TDrawInfo {
    TAxisDrawInfo Horz;
    TAxisDrawInfo Vert;
  };
  TDrawInfo CalcDrawInfo();
  TDrawInfo CalcDrawInfoFor(Integer ClientWidth, Integer ClientHeight);
  TGridCoord CalcMaxTopLeft(TGridCoord Cell, const TDrawInfo& Info) const;

 protected:
  friend class TInplaceEdit;

  virtual bool FindSizingBorder(Integer X, Integer Y, TSizingHit& Hit);
  virtual TInplaceEdit* CreateInplaceEditor();
  virtual bool CanShowEditor();
  virtual void DrawCell(Integer ACol, Integer ARow, TCellGridDrawState AState,
                        const TRect& AClipRect, const TRect& ACellRect);
  virtual bool SelectCell(Integer ACol, Integer ARow);
  virtual bool CanEditAcceptKey(char32_t Key);
  virtual bool CanGridAcceptKey(Word Key, TShiftState Shift);
  virtual bool CanEditModify();
  virtual std::string GetEditText(Integer ACol, Integer ARow);
  virtual void SetEditText(Integer ACol, Integer ARow, const std::string& Value);
  virtual std::string GetEditMask(Integer ACol, Integer ARow);
  virtual Integer GetEditLimit();
  virtual void SizeChanged(Integer OldColCount, Integer OldRowCount);
  virtual void TopLeftChanged();
  virtual void TimedScroll(bool Left, bool Right, bool Up, bool Down);
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // The drawing the paint goes through; a descendant may wrap the default.
  virtual std::unique_ptr<TGridDrawing> CreateDrawing(TCanvas* ACanvas);

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void DoExit() override;
  void DefineProperties(TFiler* Filer) override;

  // The drawing of the paint under way (nil outside a paint).
  TGridDrawing* Drawing() const { return Drawing_; }

 private:
  // Layout.
  Integer AxisPos(const TAxisDrawInfo& Axis, Integer Index) const;
  Integer AxisCellAt(const TAxisDrawInfo& Axis, Integer Pos) const;
  void ChangeSize(Integer NewColCount, Integer NewRowCount);
  void ResizeExtents(Integer NewColCount, Integer NewRowCount);
  void ColWidthsStep();
  void RowHeightsStep();
  void TopLeftMoved(TGridCoord OldTopLeft);
  void SetScrollRangeOf(int Bar, Integer Max);
  void ScrollColOffset(win::WORD Code, Integer Thumb);
  void InvalidatePixels(const TRect& R);
  bool ShowsWindow();
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  void ResetToFirstScrollingCell();
  bool HideEdit(bool KeepOnRefusal);
  Integer PrevVisible(bool Columns, Integer From) const;
  Integer NextVisible(bool Columns, Integer From) const;

  // Painting (CellGridPaint.cpp).
  struct TRegion;
  void PaintLines(const TDrawInfo& Info);
  void PaintRegionLines(const TRegion& Region, bool Vertical, TColor Color);
  void PaintRegionCells(const TRegion& Region);
  void PaintSelectionFrame(const TDrawInfo& Info);
  void BuildRegions(const TDrawInfo& Info, std::vector<TRegion>& Regions);

  // Input (CellGridInput.cpp).
  void SelectMove(Integer X, Integer Y);
  void DrawSizeLine();
  void DrawDragOutline();
  TGridRect DragOutlineRect() const;
  TGridCoord DragCell(Integer X, Integer Y);
  TCellGridState FindDragHandle(Integer X, Integer Y, bool Ctrl);
  void SetGridCursor();
  void CancelMode();
  void TimerTick();
  void StopSelectTimer();
  void FinishCopyMove(bool IsMove);
  bool TakeNewOffset(TGridCoord Offset) const;
  TGridCoord FillOffsetFor(TGridCoord Cell, Integer& Direction) const;

  // Cell operations (CellGridCells.cpp).
  bool WriteForeText(Integer ACol, Integer ARow, const std::string& Text);
  void ApplyProperty(TCellInfo& Cell, Integer ACol, Integer ARow, Integer Selector,
                     const TCellPropValue& Value);

  TCellDefaults Defaults_;
  std::unique_ptr<TCells> Cells_;
  std::string CellBuffer_;
  Integer ColCount_ = 5;
  Integer RowCount_ = 5;
  Integer FixedCols_ = 0;
  Integer FixedRows_ = 0;
  Integer DefaultColWidth_ = 80;
  Integer DefaultRowHeight_ = 30;
  std::unique_ptr<std::vector<Integer>> ColWidths_;
  std::unique_ptr<std::vector<Integer>> RowHeights_;
  Integer GridLineWidth_ = 1;
  bool ShowColTitle_ = true;
  bool ShowRowTitle_ = true;
  TCellGridOptions Options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                            goRangeSelect};
  TScrollStyle ScrollBars_ = ssBoth;
  TBorderStyle BorderStyle_ = bsSingle;
  bool Ctl3D_ = true;
  bool ParentCtl3D_ = true;
  bool AutoUpdate_ = true;
  bool DefaultDrawing_ = true;
  bool AlwaysDrawFocus_ = false;
  TColor FixedLineColor_ = clBlack;
  TColor ClientLineColor_ = kGridClientLineColor;
  TColor HighLightColor_ = clBlack;
  TColor HighLightTextColor_ = clWhite;
  TColor FocusedTitleColor_ = clBlack;
  bool ClientSizeable_ = false;
  bool GridCanCopyMove_ = true;
  bool GridCanFill_ = true;
  bool ShowPopup_ = true;

  TGridCoord Current_;
  TGridCoord Anchor_;
  TGridRect Selection_;
  TGridCoord TopLeft_;
  Integer ColOffset_ = 0;
  bool UpdatingScrollRange_ = false;

  TGridDrawing* Drawing_ = nullptr;

  // Mouse operations.
  TCellGridState GridState_ = TCellGridState::gsNormal;
  Integer SizingIndex_ = 0;
  Integer SizingPos_ = 0;
  Integer SizingOffset_ = 0;
  TGridRect DragSource_;
  TGridCoord DragStart_;
  TGridCoord DragOffset_;
  Integer FillDirection_ = 0;
  bool OutlineShown_ = false;
  bool SizeLineShown_ = false;
  TPoint HitTest_;
  bool SelectTimerRunning_ = false;

  // In-place editing.
  std::unique_ptr<TInplaceEdit> InplaceEdit_;
  TGridCoord EditingCell_{-1, -1};
  bool EditorMode_ = false;
  bool CanModify_ = true;
  bool WritingBack_ = false;
  bool EditRefused_ = false;
};

class TCellGrid : public TCustomCellGrid {
  VXN_DECLARE_CLASS(TCellGrid)

 public:
  explicit TCellGrid(TComponent* AOwner);
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterCellGridClasses();
