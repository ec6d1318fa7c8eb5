// The layout of a text editor: the view data adds the display text, the
// text rectangle, the text flags (with the word-wrap decision of editors
// that grow with their text) and the selection colours; the view info keeps
// them and draws the text whenever the inner edit does not show it. The
// text-size calculation here is shared by the kinds whose content is a text.
#pragma once

#include <string>

#include "suite/editors/cxEditViewData.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/editors/cxTextRows.h"

class TcxCustomTextEditViewInfo;

// Paint options a host sets on the view data.
inline constexpr Integer cxepoAutoHeight = 2;
inline constexpr Integer cxepoShowEndEllipsis = 8;

// The text flags of a text editor (text-rows flags).
inline constexpr TcxTextRowsFlags cxTextEditDefaultFlags = 0x2C0;

class TcxCustomTextEditViewData : public TcxCustomEditViewData {
  VXN_DECLARE_CLASS(TcxCustomTextEditViewData)

 public:
  // Introduced here, in slot order.
  virtual bool InnerEditVisible();
  virtual Integer MaxLineCount() { return FMaxLineCount; }
  virtual bool IsComboLike() { return false; }
  virtual void CalculateTextFlags(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);
  virtual void PrepareDisplayText(const Variant& AValue, TcxCustomTextEditViewInfo* AViewInfo);
  virtual TcxTextRowsFlags DrawTextFlags();
  virtual void TextBounds(TRect& AMargins);

  void InitializeFromProperties() override;
  void EditValueToDisplayText(const Variant& AValue, std::string& AText) override;
  void CalculateEditSize(TcxCanvas* ACanvas, const Variant& AValue, const TcxEditSizeLimits& ALimits,
                         TSize& ASize) override;
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                     TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue, TcxCustomEditViewInfo* AViewInfo) override;
  void ContentExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, TRect& R) override;

  TcxCustomTextEditProperties* TextProperties() const;
  void SetMaxLineCount(Integer Value) { FMaxLineCount = Value; }

  bool ProviderFormatsValues = false;
  // Set by the editor or a host.
  Integer PaintOptions = 0;
  // The value is not shown (an empty text is drawn).
  bool HideValue = false;
  // An empty text measures no height.
  bool ZeroHeightWhenEmpty = false;
  Integer SelStart = 0;
  Integer SelLength = 0;
  // clDefault: not set.
  TColor SelTextColor = clDefault;
  TColor SelBackgroundColor = clDefault;

 private:
  void DecideWordWrap(TcxCanvas* ACanvas, TcxCustomTextEditViewInfo* AViewInfo);

  Integer FMaxLineCount = 0;
};

// The size of a text as an editor of the view data shows it. ALimits'
// MaxRows caps the rows and its Width wraps the text (negative: no
// wrapping); a positive ARowLimit fixes the number of rows.
void CalculateEditTextSize(TcxCanvas* ACanvas, TcxCustomEditViewData* AViewData, const std::string& AText,
                           TSize& ASize, bool AAddHorzOffsets, Integer ARowLimit, const TcxEditSizeLimits& ALimits,
                           TcxTextRowsFlags AFlags);
