// The short-lived calculator of an editor's layout. The properties make one
// for a single calculation (a layout, a measurement or a host's paint) with
// a style and an in-place flag; it fills a view info and is freed. It works
// without a window too: a host paints an editor's content into a cell, and
// an auto-sizing editor measures itself.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/cxContainer.h"
#include "suite/editors/cxEditProperties.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxEditViewInfo.h"

class TcxCustomEditViewData;

// What a layout asks of the editor it is computed for. The editor base
// implements it; the editor is a container, reached from here by a cross
// cast.
class IcxViewDataEdit {
 public:
  virtual ~IcxViewDataEdit() = default;
  virtual bool IsEditFocused() = 0;
  // The inner edit shows the text itself.
  virtual bool InnerEditVisible() = 0;
  // The button the mouse pressed while the editor holds the capture; -1
  // when none.
  virtual Integer CapturedButtonIndex() = 0;
};

// What the layout needs of an editor's inner edit: its control.
using TcxViewDataInnerEdit = IcxContainerInnerControl;

// A measuring limit: the most text rows and the widest the editor may be
// (negative: no limit).
struct TcxEditSizeLimits {
  Integer MaxRows = 1;
  Integer Width = -1;
};

// What the content of an editor keeps clear around it.
struct TcxEditContentParams {
  TRect Offsets;
  // Makes the horizontal offsets add up to 3.
  Integer ExtraWidth = 0;
  Integer NativeHeightCorrection = 0;
  // Set by kinds that lay their content out by rules of their own; the
  // view info shows it as extra flag 16.
  bool KindFlag = false;
};

// A view data class: makes view data of its class and answers, without an
// instance, whether a look-and-feel is drawn natively for it.
struct TcxCustomEditViewDataClassInfo {
  std::unique_ptr<TcxCustomEditViewData> (*Create)();
  bool (*IsNativeLookAndFeel)(TcxLookAndFeel* ALookAndFeel);
};

template <typename T>
TcxCustomEditViewDataClass EditViewDataClassOf() {
  static const TcxCustomEditViewDataClassInfo info{
      []() -> std::unique_ptr<TcxCustomEditViewData> { return std::make_unique<T>(); }, &T::IsNativeLookAndFeel};
  return &info;
}

using TcxEditGetDefaultButtonWidthEvent = TDelegate<void(TObject* Sender, Integer AIndex, Integer& AWidth)>;
using TcxEditGetDisplayTextEvent = TDelegate<void(TObject* Sender, std::string& AText)>;

// Extra flags of a view info: the view data's extra flag, the in-place
// margins are not empty, the content parameters' kind flag.
inline constexpr Integer cxEditExtraFlag = 1;
inline constexpr Integer cxEditHasInplaceMargins = 4;
inline constexpr Integer cxEditContentKindFlag = 16;

class TcxCustomEditViewData : public TPersistent {
  VXN_DECLARE_CLASS(TcxCustomEditViewData)

 public:
  TcxCustomEditViewData();
  ~TcxCustomEditViewData() override;

  virtual void CalculateButtonNativePart(TcxEditButtonViewInfo* AButtonViewInfo);
  virtual bool CanButtonBeHot(Integer AIndex) {
    (void)AIndex;
    return true;
  }
  virtual TcxContainerStateFlags CalculateContainerState(const TRect& ABounds, const TPoint& P, Integer AButton,
                                                         TShiftState AShift, bool AIsMouseEvent);
  virtual void ContentOffsets(TRect& R);
  virtual void InitializeFromProperties();
  virtual void FillContentParams(TcxEditContentParams& AParams);
  virtual void ResetState();
  virtual void EditValueToDisplayText(const Variant& AValue, std::string& AText) {
    (void)AValue;
    AText.clear();
  }
  virtual void MeasureFixedPart(TcxCanvas* ACanvas, bool AIsInplace, const TcxEditSizeLimits& ALimits,
                                TSize& AExtraSize, TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize);
  virtual void CalculateEditSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                                 TSize& ASize);
  virtual bool IsButtonForcedPressed(Integer AIndex) {
    (void)AIndex;
    return false;
  }
  // The constructor's work that descendants extend; the class reference
  // runs it right after making the object.
  virtual void Construct(TcxCustomEditProperties* AProperties, TcxCustomEditStyle* AStyle, bool AIsInplace);
  virtual void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                             TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex, TRect& R);
  virtual void CalculateButtons(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                                TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  virtual void InitializeButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                                        TRect& R);
  virtual void CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue, TcxCustomEditViewInfo* AViewInfo) {
    (void)ACanvas;
    (void)AValue;
    (void)AViewInfo;
  }
  virtual TColor CalculateBorderColor();
  virtual void BorderExtent(TRect& R);
  virtual TcxEditBorderStyle EffectiveBorderStyle();
  virtual void ClientExtent(TcxCanvas* ACanvas, TRect& R);
  virtual void ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R);
  virtual void FixedPartSize(TcxCanvas* ACanvas, const TcxEditSizeLimits& ALimits, TSize& AExtraSize,
                             TcxCustomEditViewInfo* AViewInfo, TSize& AFixedSize);
  virtual void ContentSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                           TSize& ASize);
  virtual void TotalContentOffsets(TSize& ASize);
  virtual bool HasShadow();
  // Class-level: whether ALookAndFeel draws natively for the edit theme
  // class.
  static bool IsNativeLookAndFeel(TcxLookAndFeel* ALookAndFeel);

  // The editor's whole size for AValue, measured without a window; the
  // editor's size constraints apply stand-alone.
  void TotalEditSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                     TcxCustomEditViewInfo* AViewInfo, TSize& ASize);
  void ValueDisplayText(const Variant& AValue, std::string& AText);
  void AdjustDisplayText(std::string& AText);
  bool FocusState();

  // The editor as a control; nil without an editor.
  TcxContainer* EditControl() const;
  const TRect& Bounds() const { return FBounds; }
  TcxContainerStateFlags StateFlags() const { return FStateFlags; }
  bool FocusedOrHot() const { return FFocusedOrHot; }

  TcxCustomEditProperties* Properties = nullptr;
  TcxCustomEditStyle* Style = nullptr;
  bool IsInplace = false;
  bool Extra = false;
  IcxViewDataEdit* Edit = nullptr;
  win::HWND WindowHandle = nullptr;
  bool Enabled = true;
  bool Focused = false;
  bool IsDesigning = false;
  // The editor's own scroll bars, while shown.
  TControl* HScrollBar = nullptr;
  TControl* VScrollBar = nullptr;
  TcxViewDataInnerEdit* InnerEdit = nullptr;
  // Margins around an in-place editor's content.
  TRect InplaceOffsets;
  Integer VisibleButtonCount = 0;
  bool ButtonsOnly = false;
  TAlignment HorzAlignment = taLeftJustify;
  TcxEditVertAlignment VertAlignment = taTopJustify;
  bool NativeStyle = false;
  TcxEditContentParams ContentParams;
  // Width and height limits of the text kinds' text.
  Integer MaxTextWidth = 0;
  Integer MaxTextHeight = 0;
  Integer LeftSideLeftmostButtonIndex = -1;
  Integer LeftSideRightmostButtonIndex = -1;
  Integer RightSideLeftmostButtonIndex = -1;
  Integer RightSideRightmostButtonIndex = -1;

  TcxEditGetDefaultButtonWidthEvent OnGetDefaultButtonWidth;
  TcxEditGetDisplayTextEvent OnGetDisplayText;

 private:
  void CalculateStateAndBorder(const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                               TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent);
  void CalculateEditRectangles(TcxCustomEditViewInfo* AViewInfo, const TRect& ABounds);
  void DistributeButtonsExtraWidth(TcxCustomEditViewInfo* AViewInfo, Integer AExtraWidth);
  void CalculateButtonStates(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, Integer AButton, TShiftState AShift,
                             Integer AOldPressedIndex);
  void MarkButtonEdges(TcxCustomEditViewInfo* AViewInfo);
  TcxEditButtonStyle ResolvedButtonStyle();
  TcxEditPopupBorderStyle ResolvedPopupBorderStyle(TcxEditBorderStyle ABorderInUse);
  TcxEditButton* EditButton(TcxEditButtonViewInfo* AButtonViewInfo) const;

  TRect FBounds;
  TcxContainerStateFlags FStateFlags = csNormal;
  bool FFocusedOrHot = false;
  TcxEditBorderStyle FBorderInUse = ebsNone;
};

// Makes a view data of AClass and runs its construction.
std::unique_ptr<TcxCustomEditViewData> CreateEditViewData(TcxCustomEditViewDataClass AClass,
                                                          TcxCustomEditProperties* AProperties,
                                                          TcxCustomEditStyle* AStyle, bool AIsInplace);

// The default button style and popup border style of an editor border
// style, and of a look-and-feel kind (in place).
TcxEditButtonStyle DefaultButtonStyleOf(TcxEditBorderStyle ABorderStyle);
TcxEditPopupBorderStyle DefaultPopupBorderStyleOf(TcxEditBorderStyle ABorderStyle);
TcxEditButtonStyle DefaultInplaceButtonStyleOf(TcxLookAndFeelKind AKind);
TcxEditPopupBorderStyle DefaultInplacePopupBorderStyleOf(TcxLookAndFeelKind AKind);
