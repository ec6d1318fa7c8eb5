// Container styles: the values a container or popup draws from (border,
// colours, edges, font, hot tracking, shadow, text, transparent border and
// a look-and-feel), each with an assigned bit. An unassigned value comes
// from the style controller's style of the same state, else from a default
// that depends on the state and the look-and-feel; the three state styles
// (focused, disabled, hot) take what they lack from the normal style.
// Changes are batched: one notice when the outermost update ends.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/foundation/cxLookAndFeels.h"

// A set of style value indices 0..31, bit i for value i.
using TcxContainerStyleValues = uint32_t;
constexpr TcxContainerStyleValues StyleValueBit(Integer Index) { return TcxContainerStyleValues{1} << Index; }

inline constexpr Integer svBorderColor = 0;
inline constexpr Integer svBorderStyle = 1;
inline constexpr Integer svColor = 2;
inline constexpr Integer svEdges = 3;
inline constexpr Integer svFont = 4;
inline constexpr Integer svHotTrack = 5;
inline constexpr Integer svShadow = 6;
inline constexpr Integer svTextColor = 7;
inline constexpr Integer svTextStyle = 8;
inline constexpr Integer svTransparentBorder = 9;
inline constexpr Integer cxContainerStyleValueCount = 10;

// State numbers of the four styles of a set.
inline constexpr Integer cxStateNormal = 0;
inline constexpr Integer cxStateFocused = 1;
inline constexpr Integer cxStateDisabled = 2;
inline constexpr Integer cxStateHot = 3;

class TcxContainerStyle;
class TcxContainerStyles;
class TcxStyleController;

// What a style asks of the container that owns it. The container control
// implements it; a style whose owner does not is a style without owner
// container.
class IcxContainerStyleOwner {
 public:
  virtual ~IcxContainerStyleOwner() = default;
  virtual TControl* StyleOwnerControl() = 0;
  virtual bool DefaultParentColor() = 0;
  virtual bool IsInplace() = 0;
  virtual TcxContainerStyleValues GetUnstoredStyleValues() = 0;
};

// Class references with their constructors.
using TcxContainerStyleClass = std::unique_ptr<TcxContainerStyle> (*)(TPersistent* AOwner, bool ADirectValues,
                                                                      TcxContainerStyle* AParentStyle, Integer AState);
using TcxContainerStylesClass = std::unique_ptr<TcxContainerStyles> (*)(TPersistent* AOwner,
                                                                        TcxContainerStyleClass AStyleClass);

template <typename T>
std::unique_ptr<TcxContainerStyle> CreateContainerStyle(TPersistent* AOwner, bool ADirectValues,
                                                        TcxContainerStyle* AParentStyle, Integer AState) {
  return std::make_unique<T>(AOwner, ADirectValues, AParentStyle, AState);
}

class TcxContainerStyle : public TPersistent {
  VXN_DECLARE_CLASS(TcxContainerStyle)

 public:
  TcxContainerStyle(TPersistent* AOwner, bool ADirectValues, TcxContainerStyle* AParentStyle, Integer AState);
  ~TcxContainerStyle() override;

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FOwner; }

  virtual void NotifyStyleChanged();
  virtual void ControllerChanged(TcxStyleController* AController);
  virtual void StyleControllerRemoved(TcxStyleController* AController);
  virtual TColor DefaultBorderColor();
  virtual TcxContainerBorderStyle DefaultBorderStyle();
  virtual TColor DefaultColor();
  virtual TcxBorders DefaultEdges() { return cxBordersAll; }
  virtual bool DefaultHotTrack() { return true; }
  virtual bool DefaultShadow() { return false; }
  virtual TColor DefaultTextColor();
  virtual TFontStyles DefaultTextStyle();
  virtual bool DefaultTransparentBorder() { return true; }
  virtual void StyleFontChanged(TObject* Sender);
  virtual TColor Color();
  virtual TcxStyleController* DefaultStyleController();
  // What the container paints with.
  virtual TColor GetPaintColor();
  virtual TColor TextColor();
  virtual TFontStyles TextStyle();
  virtual TcxContainerStyleValues NormalOnlyStyleValues() { return 632; }
  virtual Integer StyleValueCount() { return cxContainerStyleValueCount; }
  virtual bool StyleValueName(Integer Index, std::string& Name);
  virtual bool IsStyleActive();
  // Assigned on this style or on the same-state style of its controllers.
  virtual bool IsStyleValueAssigned(Integer Index);
  virtual void RestoreDefaults();

  // The value index of a name (ignoring case), -1 when none.
  Integer FindStyleValueByName(const std::string& Name);

  void BeginUpdate() { ++FUpdateLevel; }
  void EndUpdate();

  // Effective values (read) and their writers.
  TcxContainerStyleValues AssignedValues();
  void SetAssignedValues(TcxContainerStyleValues Value);
  TColor BorderColor();
  void SetBorderColor(TColor Value);
  TcxContainerBorderStyle BorderStyle();
  void SetBorderStyle(TcxContainerBorderStyle Value);
  void SetColor(TColor Value);
  TcxBorders Edges();
  void SetEdges(TcxBorders Value);
  TFont* Font();
  void SetFont(TFont* Value);
  bool HotTrack();
  void SetHotTrack(bool Value);
  TcxLookAndFeel* LookAndFeel();
  void SetLookAndFeel(TcxLookAndFeel* Value);
  bool Shadow();
  void SetShadow(bool Value);
  // Nil when the link is the default controller.
  TcxStyleController* StyleController();
  void SetStyleController(TcxStyleController* Value);
  void SetTextColor(TColor Value);
  void SetTextStyle(TFontStyles Value);
  bool TransparentBorder();
  void SetTransparentBorder(bool Value);

  // The own bit of one value; SetValueAssigned changes only the bit.
  bool IsValueAssignedHere(Integer Index) const { return IsAssignedHere(Index); }
  void SetValueAssigned(Integer Index, bool AAssigned);
  // Takes the controller chain's font unless the own font is assigned.
  void SyncFontWithController();

  // A copy of Font with TextColor and TextStyle, rebuilt on each call.
  TFont* EffectiveFont();

  TPersistent* Owner() const { return FOwner; }
  IcxContainerStyleOwner* OwnerContainer() const;
  Integer State() const { return FState; }
  TcxContainerStyle* BaseStyle() const { return FParentStyle; }
  bool IsNormalStyle() const { return FParentStyle == nullptr; }
  bool DirectValues() const { return FDirectValues; }
  // The controller the normal style is linked to (the default one included).
  TcxStyleController* ActiveStyleController() const;

  // Called for every batch of changes, with the style as sender.
  TNotifyEvent ChangeHandler;

  // Stored rules of the published values.
  bool IsValueStored(Integer Index);
  bool IsBorderColorStored() { return IsValueStored(svBorderColor); }
  bool IsBorderStyleStored() { return IsValueStored(svBorderStyle); }
  bool IsColorStored() { return IsValueStored(svColor); }
  bool IsEdgesStored() { return IsValueStored(svEdges); }
  bool IsFontStored() { return IsValueStored(svFont); }
  bool IsHotTrackStored() { return IsValueStored(svHotTrack); }
  bool IsShadowStored() { return IsValueStored(svShadow); }
  bool IsTextColorStored() { return IsValueStored(svTextColor); }
  bool IsTextStyleStored() { return IsValueStored(svTextStyle); }
  bool IsTransparentBorderStored() { return IsValueStored(svTransparentBorder); }
  bool IsLookAndFeelStored();
  bool IsStyleControllerStored() { return IsNormalStyle(); }

 protected:
  TcxContainerStyle* NormalStyle() { return FParentStyle ? FParentStyle : this; }
  // The style whose own slot holds value Index (this one or one of its
  // controllers' same-state styles); null: the default applies.
  TcxContainerStyle* ValueSource(Integer Index);
  TcxContainerStyle* ControllerStyle() const;
  bool IsAssignedHere(Integer Index) const { return (FAssignedValues & StyleValueBit(Index)) != 0; }
  // Sets the bit and notifies unless the bit was set and the value equal.
  template <typename V>
  void WriteValue(Integer Index, V& Slot, const V& Value);
  void CheckChanges();
  void ResetFont();
  bool OwnerHasParentColor() const;
  // Links the normal style to what DefaultStyleController answers now; a
  // descendant whose default controller differs calls it from its
  // constructor (the base constructor could only ask the base's).
  void RelinkDefaultStyleController();

  TColor FBorderColor = clWindowFrame;
  TcxContainerBorderStyle FBorderStyle = cbsNone;
  TColor FColor = clWindow;
  TcxBorders FEdges = cxBordersAll;
  bool FHotTrack = true;
  bool FShadow = false;
  TColor FTextColor = clWindowText;
  TFontStyles FTextStyle;
  bool FTransparentBorder = true;
  TcxContainerStyleValues FAssignedValues = 0;

 private:
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);

  TPersistent* FOwner;
  bool FDirectValues;
  TcxContainerStyle* FParentStyle = nullptr;
  Integer FState;
  std::unique_ptr<TFont> FOwnFont;
  TFont* FFont = nullptr;  // the own font, or a borrowed one
  std::unique_ptr<TFont> FDrawFont;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxStyleController* FStyleController = nullptr;
  Integer FUpdateLevel = 0;
  bool FPendingChange = false;
  Integer FFontLock = 0;
  bool FBeingDestroyed = false;
};

// The normal style and the three state styles of one owner.
class TcxContainerStyles : public TObject {
  VXN_DECLARE_CLASS(TcxContainerStyles)

 public:
  TcxContainerStyles(TPersistent* AOwner, TcxContainerStyleClass AStyleClass);
  ~TcxContainerStyles() override;

  TcxContainerStyle* Style(Integer AState) const { return FStyles[AState].get(); }
  TcxContainerStyle* NormalStyle() const { return Style(cxStateNormal); }
  TcxContainerStyle* FocusedStyle() const { return Style(cxStateFocused); }
  TcxContainerStyle* DisabledStyle() const { return Style(cxStateDisabled); }
  TcxContainerStyle* HotStyle() const { return Style(cxStateHot); }
  void SetStyle(Integer AState, TcxContainerStyle* Value) { Style(AState)->Assign(Value); }
  void SetChangeHandler(TNotifyEvent Value);

 private:
  std::unique_ptr<TcxContainerStyle> FStyles[4];
};

template <typename T>
std::unique_ptr<TcxContainerStyles> CreateContainerStyles(TPersistent* AOwner, TcxContainerStyleClass AStyleClass) {
  return std::make_unique<T>(AOwner, AStyleClass);
}

// A component whose styles many controls share.
class TcxStyleController : public TComponent {
  VXN_DECLARE_CLASS(TcxStyleController)

 public:
  explicit TcxStyleController(TComponent* AOwner);
  ~TcxStyleController() override;

  virtual void AddStyleListener(TcxContainerStyle* AStyle);
  virtual TcxContainerStyleClass GetStyleClass() { return &CreateContainerStyle<TcxContainerStyle>; }
  virtual TcxContainerStylesClass GetStylesClass() { return &CreateContainerStyles<TcxContainerStyles>; }
  virtual void RemoveStyleListener(TcxContainerStyle* AStyle);

  TcxContainerStyles* StyleSet() const { return FStyles.get(); }
  const std::vector<TcxContainerStyle*>& ListenerStyles() const { return FListeners; }
  bool BeingDestroyed() const { return FBeingDestroyed; }
  // Scales the font of the normal style (once) or passes on to its
  // controller.
  void ScaleFont(Integer M, Integer D);

  TNotifyEvent OnStyleChanged;

 protected:
  // For descendants whose styles are of other classes.
  TcxStyleController(TComponent* AOwner, TcxContainerStyleClass AStyleClass, TcxContainerStylesClass AStylesClass);
  void Loaded() override;
  void StylesChanged(TObject* Sender);

 private:
  std::unique_ptr<TcxContainerStyles> FStyles;
  std::vector<TcxContainerStyle*> FListeners;
  bool FBeingDestroyed = false;
  bool FFontScaled = false;
};

// The one controller that styles fall back on; created on first use.
TcxStyleController* DefaultContainerStyleController();

void RegisterContainerStylesClasses();
