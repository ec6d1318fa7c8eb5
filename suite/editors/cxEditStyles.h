// Edit styles: the container style with the four values of an editor's
// buttons and popup (button style, button transparency, popup border style,
// gradient buttons), and the style controller whose styles are edit styles.
// A stand-alone editor without its own controller follows the one default
// edit style controller.
#pragma once

#include "suite/editors/cxContainerStyles.h"
#include "suite/editors/cxEditTypes.h"

VXN_ENUM(TcxEditButtonTransparency, ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected)
VXN_ENUM(TcxEditPopupBorderStyle, epbsDefault, epbsSingle, epbsFrame3D, epbsFlat)

inline constexpr Integer svButtonStyle = 10;
inline constexpr Integer svButtonTransparency = 11;
inline constexpr Integer svPopupBorderStyle = 12;
inline constexpr Integer svGradientButtons = 13;
inline constexpr Integer cxEditStyleValueCount = 14;

class TcxEditStyleController;

class TcxCustomEditStyle : public TcxContainerStyle {
  VXN_DECLARE_CLASS(TcxCustomEditStyle)

 public:
  TcxCustomEditStyle(TPersistent* AOwner, bool ADirectValues, TcxContainerStyle* AParentStyle, Integer AState);

  void Assign(TPersistent* Source) override;
  Integer StyleValueCount() override { return cxEditStyleValueCount; }
  bool StyleValueName(Integer Index, std::string& Name) override;
  // The values a state style shares with the normal style.
  TcxContainerStyleValues NormalOnlyStyleValues() override { return 0x3A78; }
  // Nil in direct access mode and for the style of an in-place editor.
  TcxStyleController* DefaultStyleController() override;

  virtual TcxEditButtonStyle DefaultButtonStyle();
  virtual TcxEditButtonTransparency DefaultButtonTransparency();
  virtual bool DefaultGradientButtons();
  virtual TcxEditPopupBorderStyle DefaultPopupBorderStyle();

  TcxEditButtonStyle ButtonStyle();
  // Each state style keeps its own button style.
  void SetButtonStyle(TcxEditButtonStyle Value);
  TcxEditButtonTransparency ButtonTransparency();
  // A state style sets the normal style's value.
  void SetButtonTransparency(TcxEditButtonTransparency Value);
  bool GradientButtons();
  void SetGradientButtons(bool Value);
  TcxEditPopupBorderStyle PopupBorderStyle();
  void SetPopupBorderStyle(TcxEditPopupBorderStyle Value);
  // Kept by the normal style; a drop-down editor hands it to its popup.
  bool MasterPopupOption();
  void AssignMasterPopupOption(bool Value);

  TcxEditBorderStyle EditBorderStyle() { return static_cast<TcxEditBorderStyle>(BorderStyle()); }
  void SetEditBorderStyle(TcxEditBorderStyle Value) {
    SetBorderStyle(static_cast<TcxContainerBorderStyle>(Value));
  }
  TcxEditStyleController* EditStyleController();
  void SetEditStyleController(TcxEditStyleController* Value);

  bool IsButtonStyleStored() { return IsValueStored(svButtonStyle); }
  bool IsButtonTransparencyStored() { return IsValueStored(svButtonTransparency); }
  bool IsPopupBorderStyleStored() { return IsValueStored(svPopupBorderStyle); }

 private:
  // The style (this one or a controller's) whose own slot holds value
  // Index; nil: the default applies.
  TcxCustomEditStyle* EditValueSource(Integer Index);
  TcxCustomEditStyle* NormalEditStyle() { return static_cast<TcxCustomEditStyle*>(NormalStyle()); }
  template <typename V>
  void WriteEditValue(Integer Index, V TcxCustomEditStyle::*Slot, const V& Value);

  TcxEditButtonStyle FButtonStyle = btsDefault;
  TcxEditButtonTransparency FButtonTransparency = ebtNone;
  TcxEditPopupBorderStyle FPopupBorderStyle = epbsDefault;
  bool FGradientButtons = false;
  bool FMasterPopupOption = true;
};

class TcxEditStyle : public TcxCustomEditStyle {
  VXN_DECLARE_CLASS(TcxEditStyle)

 public:
  using TcxCustomEditStyle::TcxCustomEditStyle;
};

class TcxEditStyleController : public TcxStyleController {
  VXN_DECLARE_CLASS(TcxEditStyleController)

 public:
  explicit TcxEditStyleController(TComponent* AOwner);
  ~TcxEditStyleController() override;

  TcxContainerStyleClass GetStyleClass() override { return &CreateContainerStyle<TcxEditStyle>; }

  TcxEditStyle* Style() const { return EditStyle(cxStateNormal); }
  void SetStyle(TcxEditStyle* Value) { StyleSet()->SetStyle(cxStateNormal, Value); }
  TcxEditStyle* StyleFocused() const { return EditStyle(cxStateFocused); }
  void SetStyleFocused(TcxEditStyle* Value) { StyleSet()->SetStyle(cxStateFocused, Value); }
  TcxEditStyle* StyleDisabled() const { return EditStyle(cxStateDisabled); }
  void SetStyleDisabled(TcxEditStyle* Value) { StyleSet()->SetStyle(cxStateDisabled, Value); }
  TcxEditStyle* StyleHot() const { return EditStyle(cxStateHot); }
  void SetStyleHot(TcxEditStyle* Value) { StyleSet()->SetStyle(cxStateHot, Value); }

 private:
  TcxEditStyle* EditStyle(Integer AState) const { return static_cast<TcxEditStyle*>(StyleSet()->Style(AState)); }
};

// The controller of every stand-alone editor without one of its own.
TcxEditStyleController* DefaultEditStyleController();

void RegisterEditStylesClasses();
