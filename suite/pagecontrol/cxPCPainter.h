// The painter contract of a tab control: every metric, every pixel and the
// hit tests of the tab strip come from one painter object of the control's
// style. The class side of a painter (its style ID, name and behaviour
// flags, and its constructor) is a TcxPCPainterMeta; a class reference
// points to the one constant instance of it. The painter reads the control
// only through its parent info and the tab queries.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/rtl/System.h"
#include "platform/win/WinTypes.h"
#include "suite/pagecontrol/cxPCTypes.h"

class TcxCanvas;
class TcxCustomTabControl;
class TcxLookAndFeel;
class TcxPCCustomPainter;
class TcxRegion;
class TcxTab;
class TcxTabSlants;
class TControl;

// The class operations of a painter class.
class TcxPCPainterMeta {
 public:
  virtual ~TcxPCPainterMeta() = default;

  virtual bool AllowsRotation() const { return true; }
  // 0 tabs, 1 buttons, 2 flat buttons.
  virtual Integer TabStyleKind() const { return 0; }
  virtual TcxPCStyleID StyleID() const { return -1; }
  virtual std::string StyleName() const { return ""; }
  virtual bool MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
    (void)ALookAndFeel;
    return false;
  }
  virtual bool IsDefaultForLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
    (void)ALookAndFeel;
    return false;
  }
  virtual bool MirrorsContentMargins() const { return true; }
  virtual bool AllowsMultiSelect() const { return false; }
  virtual bool BringsSelectedRowToPage() const { return true; }
  virtual bool SpareStyleFlag() const { return false; }
  virtual bool IsButtonStyle() const { return false; }

  // A new painter of this class for the control.
  virtual std::unique_ptr<TcxPCCustomPainter> Construct(TcxCustomTabControl* AControl) const = 0;
};
using TcxPCCustomPainterClass = const TcxPCPainterMeta*;

// What a painter may read of its control.
class TcxPCPainterParentInfo : public TObject {
  VXN_DECLARE_CLASS(TcxPCPainterParentInfo)

 public:
  explicit TcxPCPainterParentInfo(TcxCustomTabControl* AControl) : FControl(AControl) {}

  TcxCanvas* Canvas() const;
  TColor Color() const;
  Integer Height() const;
  Integer Width() const;
  bool HideTabs() const;
  Integer ImageBorder() const;
  bool MultiLine() const;
  TcxPCNavigatorPosition NavigatorPosition() const;
  TcxPCOptions Options() const;
  bool RaggedRight() const;
  bool Rotate() const;
  bool ScrollOpposite() const;
  bool ShowFrame() const;
  Integer TabHeight() const;
  Integer TabWidth() const;
  TcxTabPosition TabPosition() const;
  TcxTabSlants* TabSlants() const;
  TColor FontColor() const;
  Integer MainTabVisibleIndex() const;
  Integer RowCount() const;
  Integer LeadingRowCount() const;
  TRect LeadingRowsRect() const;
  TRect TrailingRowsRect() const;
  TcxPCNavigatorButtons NavigatorButtons() const;
  Integer NavigatorButtonState(TcxPCNavigatorButton Button) const;
  TcxTab* VisibleTab(Integer VisibleIndex) const;
  TControl* TabPage(Integer VisibleIndex) const;
  TColor TabPageColor(Integer VisibleIndex) const;
  bool HasRowsOnBothSides() const;
  TColor HotTrackColor() const;

 private:
  TcxCustomTabControl* FControl;
};

// Whether the system offers COLOR_HOTLIGHT, from the version it reports:
// the 9x family from its second release on, or NT 5.
bool DetectHotLightColor(Integer Platform, Integer MajorVersion, Integer MinorVersion);
// The answer for this system, taken once.
bool SystemHasHotLightColor();

class TcxPCCustomPainter : public TObject {
  VXN_DECLARE_CLASS(TcxPCCustomPainter)

 public:
  explicit TcxPCCustomPainter(TcxCustomTabControl* AParent);
  ~TcxPCCustomPainter() override;

  virtual TcxPCCustomPainterClass PainterClass() const = 0;

  // The contract, in slot order.
  virtual Integer TabNormalWidth(TcxTab* Tab) = 0;
  // Left, Top, Right, Bottom deltas of the displayed rect.
  virtual TRect TabSizeCorrection(Integer VisibleIndex);
  virtual void DrawTabImageAndText(Integer VisibleIndex);
  virtual void DrawPageBackground();
  virtual Integer NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton);
  virtual Integer NavigatorTabsGap();
  virtual Integer NavigatorEdgeOffset();
  virtual Integer NavigatorEndOffset();
  virtual TColor PageColor();
  virtual TRect ClientAreaMargins();
  virtual TRect TabsAreaMargins();
  virtual TRect TabImageMargins(Integer VisibleIndex) = 0;
  virtual TRect TabTextMargins(Integer VisibleIndex) = 0;
  virtual Integer FrameWidth();
  virtual void GoDialogPopupPoint(const TPoint& Origin, TPoint& Point) = 0;
  virtual Integer ImageTextGap() = 0;
  virtual Integer MinTabNormalWidth() = 0;
  virtual IntegerPair TabsRowIndent() = 0;
  virtual TColor TabColor(Integer VisibleIndex) = 0;
  // The caller owns the region.
  virtual std::unique_ptr<TcxRegion> TabRegion(Integer VisibleIndex);
  virtual Integer TabClipMode(Integer VisibleIndex);
  virtual IntegerPair TabContentSpacing(Integer VisibleIndex) = 0;
  virtual void TabThemePartAndState(Integer VisibleIndex, int& Part, int& State);
  virtual IntegerPair TabsSpacing();
  virtual void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) = 0;
  virtual IntegerPair TabCutContentSpacing(Integer VisibleIndex) = 0;
  virtual void DrawContent();
  virtual void StoreTabContentRects(Integer VisibleIndex, const TRect& ImageRect, const TRect& TextRect) = 0;
  virtual bool IsNativePainting();
  virtual bool NavigatorButtonAt(Integer X, Integer Y, TcxPCNavigatorButton& Button) = 0;
  virtual bool IsPointInTab(Integer VisibleIndex, Integer X, Integer Y);
  virtual bool TabLooksActive(Integer VisibleIndex) = 0;
  virtual bool ExcludesOnlyTabContent(Integer VisibleIndex);
  virtual bool RepaintsAllOnResize();
  virtual bool HasFrame();
  virtual void Paint();
  virtual void DrawNavigatorButtons() = 0;
  virtual void DrawFrameAndPage();
  virtual void DrawFrame() = 0;
  virtual void DrawTabs() = 0;
  virtual void FillContentBitmap(TBitmap* Bitmap, const TRect& R, Integer VisibleIndex);
  virtual void InvalidateNavigatorButton(TcxPCNavigatorButton Button, Integer PreviousState);
  virtual void InvalidateNavigatorArea();
  virtual void InvalidateTab(Integer VisibleIndex, TabChangeKind Kind);
  virtual Integer TabNormalHeight() = 0;
  virtual void GoDialogButtonBounds(TRect& R) = 0;

  // Clip stack.
  void SaveClip();
  // Nothing when nothing is saved.
  void RestoreClip();
  // False, saving nothing, for an empty rect (or, with Intersect, one not
  // visible on the canvas).
  bool ClipToRect(const TRect& R, bool Intersect);
  Integer SavedClipCount() const { return static_cast<Integer>(FSavedClips.size()); }

  TRect PageClientRect();
  TRect PageAreaRect();
  TRect DeflateByMargins(const TRect& Bounds, const TRect& Margins, TcxTabPosition Position) const;

  // Moves a point drawn for a top tab inside R to the tab's side.
  static TPoint TurnPoint(const TRect& R, const TPoint& P, Integer Side);
  static void TurnPoints(const TRect& R, TPoint* Points, Integer LastIndex, Integer Side);
  // The polyline with its last pixel.
  void DrawPolyline(const TPoint* Points, Integer LastIndex, TColor AColor);
  void DrawTabOutline(const TRect& R, const TPoint* Points, TColor AColor, Integer Side, Integer LastIndex);

  void InvalidateRect(const TRect& R);
  void InvalidateTabRect(Integer VisibleIndex);
  void InvalidateTabRows(Integer VisibleIndex);

  bool IsOwnerDrawing() const;
  // True when the handler drew the tab itself.
  bool FireDrawTab(Integer VisibleIndex);
  void FireDrawTabEx(Integer VisibleIndex, TFont* AFont);
  static TColor HighlightedTabColor() { return clHighlight; }
  TColor HighlightedTabTextColor(Integer VisibleIndex);
  static TColor DisabledTextLightColor() { return clBtnHighlight; }
  static TColor DisabledTextDarkColor() { return clBtnShadow; }

  // Tab content.
  bool TabHasImage(Integer VisibleIndex);
  TSize ImageSize() const;
  TSize RotatedImageSize() const;
  TBitmap* TabTextBitmap(Integer VisibleIndex);
  TBitmap* NewTabTextBitmap(Integer VisibleIndex);
  void SetTabContentRects(Integer VisibleIndex, const TRect& ImageRect, const TRect& TextRect);
  void CalculateTabContentRects(Integer VisibleIndex);
  void ExcludeTabContent(Integer VisibleIndex);

  TcxPCPainterParentInfo* ParentInfo() const { return FParentInfo.get(); }
  TcxCustomTabControl* ParentControl() const { return FParentControl; }
  Integer ContentVisibleIndex() const { return FContentVisibleIndex; }
  const TRect& ContentImageRect() const { return FContentImageRect; }
  const TRect& ContentTextRect() const { return FContentTextRect; }

 protected:
  TcxCanvas* Canvas() const;

 private:
  IntegerPair AdjustedSpacing(Integer VisibleIndex, IntegerPair Spacing, bool HasImage);
  TRect AdjustedContentMargins(Integer VisibleIndex, TRect Margins);
  void DrawCaptionOnBitmap(TBitmap* Bitmap, Integer VisibleIndex, const TRect& TextBox, TColor ATabColor,
                           bool AEnabled);
  void DrawCaptionAt(TCanvas* Target, Integer VisibleIndex, const TRect& TextBox, const TPoint& Offset,
                     bool AEnabled);

  std::unique_ptr<TcxPCPainterParentInfo> FParentInfo;
  TcxCustomTabControl* FParentControl;
  std::vector<win::HRGN> FSavedClips;  // owned; null: no clip
  Integer FContentVisibleIndex = -1;
  TRect FContentImageRect;
  TRect FContentTextRect;
};
