// Container styles: defaults by state and look-and-feel, the normal-only
// values, batching of change notices, controllers with their chains, the
// refused cycle and the fall-back when a controller dies, font
// synchronisation, assignment and the stored rules.
#include "suite/editors/cxContainerStyles.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"

namespace {

// A control standing in for the container that owns a style set.
class OwnerControl : public TWinControl, public IcxContainerStyleOwner {
 public:
  explicit OwnerControl(TComponent* AOwner) : TWinControl(AOwner) {}
  TControl* StyleOwnerControl() override { return this; }
  bool DefaultParentColor() override { return defaultParentColor; }
  bool IsInplace() override { return inplace; }
  TcxContainerStyleValues GetUnstoredStyleValues() override { return unstored; }
  bool defaultParentColor = false;
  bool inplace = false;
  TcxContainerStyleValues unstored = 0;
};

struct ChangeCounter {
  void Changed(TObject* Sender) {
    ++count;
    last = Sender;
  }
  TNotifyEvent Handler() { return TNotifyEvent(this, &ChangeCounter::Changed); }
  int count = 0;
  TObject* last = nullptr;
};

class ContainerStyles : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    owner = new OwnerControl(form.get());
    owner->SetParent(form.get());
    owner->SetParentColor(false);
    styles = std::make_unique<TcxContainerStyles>(owner, &CreateContainerStyle<TcxContainerStyle>);
  }
  void TearDown() override {
    styles.reset();
    form.reset();
  }
  TcxContainerStyle* Normal() { return styles->NormalStyle(); }
  TcxContainerStyle* Focused() { return styles->FocusedStyle(); }
  TcxContainerStyle* Disabled() { return styles->DisabledStyle(); }
  TcxContainerStyle* Hot() { return styles->HotStyle(); }

  std::unique_ptr<TForm> form;
  OwnerControl* owner = nullptr;
  std::unique_ptr<TcxContainerStyles> styles;
};

TEST_F(ContainerStyles, NormalDefaultsFollowTheLookAndFeelAndTheOwner) {
  EXPECT_EQ(Normal()->BorderColor(), clWindowFrame);
  EXPECT_EQ(Normal()->Color(), clWindow);
  EXPECT_EQ(Normal()->Edges(), cxBordersAll);
  EXPECT_TRUE(Normal()->HotTrack());
  EXPECT_FALSE(Normal()->Shadow());
  EXPECT_TRUE(Normal()->TransparentBorder());
  EXPECT_EQ(Normal()->TextColor(), Normal()->Font()->GetColor());
  EXPECT_EQ(Normal()->AssignedValues(), 0u);

  const std::pair<TcxLookAndFeelKind, TcxContainerBorderStyle> kinds[] = {
      {lfFlat, cbsFlat}, {lfStandard, cbs3D}, {lfUltraFlat, cbsUltraFlat}, {lfOffice11, cbsOffice11}};
  for (auto [kind, border] : kinds) {
    Normal()->LookAndFeel()->SetKind(kind);
    EXPECT_EQ(Normal()->BorderStyle(), border) << kind;
  }

  owner->defaultParentColor = true;
  EXPECT_EQ(Normal()->Color(), clBtnFace);
  TcxContainerStyles ownerless(nullptr, &CreateContainerStyle<TcxContainerStyle>);
  EXPECT_EQ(ownerless.NormalStyle()->Color(), clBtnFace);
}

TEST_F(ContainerStyles, StateStylesRaiseTheNormalBorderWhileItTracksTheMouse) {
  const struct {
    TcxContainerBorderStyle normal, raised;
  } table[] = {{cbsNone, cbsFlat},          {cbsSingle, cbsThick},        {cbsThick, cbsThick},
               {cbsFlat, cbs3D},            {cbs3D, cbs3D},               {cbsUltraFlat, cbsUltraFlat},
               {cbsOffice11, cbsOffice11}};
  for (const auto& row : table) {
    Normal()->SetBorderStyle(row.normal);
    for (bool hotTrack : {true, false}) {
      Normal()->SetHotTrack(hotTrack);
      const TcxContainerBorderStyle expected = hotTrack ? row.raised : row.normal;
      EXPECT_EQ(Focused()->BorderStyle(), expected) << row.normal << " hot track " << hotTrack;
      EXPECT_EQ(Hot()->BorderStyle(), expected) << row.normal << " hot track " << hotTrack;
      EXPECT_EQ(Disabled()->BorderStyle(), row.normal) << row.normal;
    }
  }
}

TEST_F(ContainerStyles, DisabledStyleDefaults) {
  Normal()->SetBorderColor(clRed);
  Normal()->SetTextColor(clGreen);
  Normal()->SetColor(clYellow);
  EXPECT_EQ(Disabled()->BorderColor(), clBtnShadow);
  EXPECT_EQ(Disabled()->TextColor(), clBtnShadow);
  EXPECT_EQ(Disabled()->Color(), clBtnFace);
  EXPECT_EQ(Focused()->BorderColor(), clRed);
  EXPECT_EQ(Focused()->TextColor(), clGreen);
  EXPECT_EQ(Focused()->Color(), clYellow);
  // A container that takes its parent's colour by default keeps the normal
  // colour when disabled.
  owner->defaultParentColor = true;
  EXPECT_EQ(Disabled()->Color(), clYellow);
}

TEST_F(ContainerStyles, NormalOnlyValuesWrittenOnAStateStyleChangeTheNormalStyle) {
  ChangeCounter counter;
  styles->SetChangeHandler(counter.Handler());
  Hot()->SetEdges({bLeft, bTop});
  Hot()->SetShadow(true);
  Focused()->SetTransparentBorder(false);
  Disabled()->SetHotTrack(false);
  for (Integer state = 0; state < 4; ++state) {
    TcxContainerStyle* s = styles->Style(state);
    EXPECT_EQ(s->Edges(), (TcxBorders{bLeft, bTop}));
    EXPECT_TRUE(s->Shadow());
    EXPECT_FALSE(s->TransparentBorder());
    EXPECT_FALSE(s->HotTrack());
    EXPECT_EQ(s->LookAndFeel(), Normal()->LookAndFeel());
    EXPECT_EQ(s->Font(), Normal()->Font());
  }
  EXPECT_EQ(Hot()->AssignedValues(), 0u);
  EXPECT_EQ(counter.last, Normal());
  EXPECT_EQ(counter.count, 4);
}

TEST_F(ContainerStyles, ChangesAreBatchedIntoOneNotice) {
  ChangeCounter counter;
  styles->SetChangeHandler(counter.Handler());
  Normal()->BeginUpdate();
  Normal()->BeginUpdate();
  Normal()->SetBorderColor(clRed);
  Normal()->SetBorderStyle(cbsSingle);
  Normal()->SetColor(clYellow);
  Normal()->SetEdges({bLeft});
  Normal()->SetHotTrack(false);
  Normal()->SetShadow(true);
  Normal()->SetTextColor(clBlue);
  Normal()->SetTextStyle({fsBold});
  Normal()->SetTransparentBorder(false);
  Normal()->Font()->SetSize(12);
  Normal()->EndUpdate();
  EXPECT_EQ(counter.count, 0);
  Normal()->EndUpdate();
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(Normal()->AssignedValues(), 0x3FFu);

  // An equal value written again changes nothing; a lone change notifies.
  Normal()->SetColor(clYellow);
  Normal()->SetTextColor(clBlue);
  EXPECT_EQ(counter.count, 1);
  Normal()->SetColor(clLime);
  EXPECT_EQ(counter.count, 2);
  Normal()->EndUpdate();  // never below zero
  Normal()->SetColor(clRed);
  EXPECT_EQ(counter.count, 3);
}

TEST_F(ContainerStyles, DirectValuesStyleAnswersFromItsSlotsAndNeverNotifies) {
  TFont font;
  font.SetStyle({fsItalic});
  TcxContainerStyle direct(nullptr, true, nullptr, 0);
  ChangeCounter counter;
  direct.ChangeHandler = counter.Handler();
  direct.SetFont(&font);
  direct.SetColor(clRed);
  direct.SetBorderStyle(cbsThick);
  EXPECT_EQ(counter.count, 0);
  EXPECT_EQ(direct.Font(), &font);
  EXPECT_EQ(direct.TextStyle(), TFontStyles{fsItalic});
  EXPECT_EQ(direct.Color(), clRed);
  EXPECT_EQ(direct.BorderColor(), clDefault);
  EXPECT_EQ(direct.BorderStyle(), cbsThick);
  EXPECT_EQ(direct.Edges(), TcxBorders());
  EXPECT_FALSE(direct.Shadow());
  EXPECT_EQ(direct.AssignedValues(), 0x3FFu);
}

class StyleControllers : public ContainerStyles {
 protected:
  std::unique_ptr<TcxStyleController> NewController() { return std::make_unique<TcxStyleController>(nullptr); }
};

TEST_F(StyleControllers, UnassignedValuesComeFromTheControllerOfTheSameState) {
  auto controller = NewController();
  controller->StyleSet()->HotStyle()->SetBorderColor(clRed);
  controller->StyleSet()->NormalStyle()->SetShadow(true);
  ChangeCounter counter;
  styles->SetChangeHandler(counter.Handler());
  Normal()->SetStyleController(controller.get());
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(Normal()->StyleController(), controller.get());
  EXPECT_EQ(Hot()->StyleController(), controller.get());
  EXPECT_EQ(Hot()->BorderColor(), clRed);
  EXPECT_EQ(Normal()->BorderColor(), clWindowFrame);
  EXPECT_EQ(Focused()->BorderColor(), clWindowFrame);
  EXPECT_TRUE(Hot()->IsStyleValueAssigned(svBorderColor));
  EXPECT_FALSE(Normal()->IsStyleValueAssigned(svBorderColor));
  EXPECT_TRUE(Hot()->Shadow());
  // The own value wins over the controller's.
  Hot()->SetBorderColor(clBlue);
  EXPECT_EQ(Hot()->BorderColor(), clBlue);
  // The controller's look-and-feel is the master of the style's.
  controller->StyleSet()->NormalStyle()->LookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(Normal()->LookAndFeel()->Kind(), lfStandard);
  EXPECT_EQ(Normal()->BorderStyle(), cbs3D);
}

TEST_F(StyleControllers, ControllerChangesReachItsListeners) {
  auto controller = NewController();
  Normal()->SetStyleController(controller.get());
  ChangeCounter counter, controllerEvents;
  styles->SetChangeHandler(counter.Handler());
  controller->OnStyleChanged = controllerEvents.Handler();
  controller->StyleSet()->NormalStyle()->SetColor(clAqua);
  EXPECT_EQ(controllerEvents.count, 1);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(Normal()->Color(), clAqua);
}

TEST_F(StyleControllers, CyclesAreRefused) {
  auto a = NewController();
  auto b = NewController();
  b->StyleSet()->NormalStyle()->SetStyleController(a.get());
  a->StyleSet()->NormalStyle()->SetStyleController(b.get());
  EXPECT_EQ(a->StyleSet()->NormalStyle()->StyleController(), nullptr);
  a->StyleSet()->NormalStyle()->SetStyleController(a.get());
  EXPECT_EQ(a->StyleSet()->NormalStyle()->StyleController(), nullptr);
  // A longer chain is fine as long as it does not come back.
  Normal()->SetStyleController(b.get());
  EXPECT_EQ(Normal()->StyleController(), b.get());
  a->StyleSet()->FocusedStyle()->SetTextColor(clMaroon);
  EXPECT_EQ(Focused()->TextColor(), clMaroon);
}

TEST_F(StyleControllers, DestroyingAControllerLeavesItsStylesOnTheDefault) {
  auto controller = NewController();
  auto chained = NewController();
  Normal()->SetStyleController(controller.get());
  chained->StyleSet()->NormalStyle()->SetStyleController(controller.get());
  controller->StyleSet()->NormalStyle()->SetColor(clRed);
  EXPECT_EQ(controller->ListenerStyles().size(), 2u);
  controller.reset();
  EXPECT_EQ(Normal()->StyleController(), nullptr);
  EXPECT_EQ(Normal()->ActiveStyleController(), DefaultContainerStyleController());
  EXPECT_EQ(chained->StyleSet()->NormalStyle()->StyleController(), nullptr);
  EXPECT_EQ(Normal()->Color(), clWindow);
  // A style that goes first leaves its controller's list.
  auto other = NewController();
  {
    TcxContainerStyles temporary(nullptr, &CreateContainerStyle<TcxContainerStyle>);
    temporary.NormalStyle()->SetStyleController(other.get());
    EXPECT_EQ(other->ListenerStyles().size(), 1u);
  }
  EXPECT_TRUE(other->ListenerStyles().empty());
}

TEST_F(StyleControllers, FontFollowsTheControllerUntilAssigned) {
  auto controller = NewController();
  controller->StyleSet()->NormalStyle()->Font()->SetName("Courier New");
  Normal()->SetStyleController(controller.get());
  EXPECT_EQ(Normal()->Font()->GetName(), "Courier New");
  EXPECT_EQ(Normal()->AssignedValues() & StyleValueBit(svFont), 0u);
  controller->StyleSet()->NormalStyle()->Font()->SetSize(14);
  EXPECT_EQ(Normal()->Font()->GetSize(), 14);
  // Its own font from now on.
  Normal()->Font()->SetName("Arial");
  EXPECT_NE(Normal()->AssignedValues() & StyleValueBit(svFont), 0u);
  controller->StyleSet()->NormalStyle()->Font()->SetSize(20);
  EXPECT_EQ(Normal()->Font()->GetName(), "Arial");
  EXPECT_EQ(Normal()->Font()->GetSize(), 14);
  // Effective font carries the text colour and style.
  Normal()->SetTextColor(clRed);
  Normal()->SetTextStyle({fsUnderline});
  TFont* drawn = Normal()->EffectiveFont();
  EXPECT_EQ(drawn->GetName(), "Arial");
  EXPECT_EQ(drawn->GetColor(), clRed);
  EXPECT_EQ(drawn->GetStyle(), TFontStyles{fsUnderline});
}

TEST_F(StyleControllers, ScaleFontScalesTheControllersOwnFontOnce) {
  auto controller = NewController();
  controller->StyleSet()->NormalStyle()->Font()->SetSize(10);
  controller->ScaleFont(2, 1);
  controller->ScaleFont(2, 1);
  EXPECT_EQ(controller->StyleSet()->NormalStyle()->Font()->GetSize(), 20);
  // Without a font of its own the call passes to its controller.
  auto outer = NewController();
  outer->StyleSet()->NormalStyle()->Font()->SetSize(9);
  auto inner = NewController();
  inner->StyleSet()->NormalStyle()->SetStyleController(outer.get());
  inner->ScaleFont(3, 1);
  EXPECT_EQ(outer->StyleSet()->NormalStyle()->Font()->GetSize(), 27);
}

TEST_F(ContainerStyles, ParentColourComesFirstForTheNormalStyle) {
  form->SetColor(clTeal);
  owner->SetParentColor(true);
  Normal()->SetColor(clRed);
  EXPECT_EQ(Normal()->Color(), clTeal);
  // What it paints with: an assigned colour first.
  EXPECT_EQ(Normal()->GetPaintColor(), clRed);
  Normal()->SetAssignedValues(0);
  EXPECT_EQ(Normal()->GetPaintColor(), clTeal);
  owner->inplace = true;
  EXPECT_EQ(Normal()->GetPaintColor(), clWindow);
}

TEST_F(ContainerStyles, AssignCopiesValuesControllerAndLookAndFeel) {
  auto controller = std::make_unique<TcxStyleController>(nullptr);
  TcxContainerStyles source(nullptr, &CreateContainerStyle<TcxContainerStyle>);
  TcxContainerStyle* s = source.NormalStyle();
  s->SetStyleController(controller.get());
  s->LookAndFeel()->SetKind(lfFlat);
  s->SetBorderStyle(cbsThick);
  s->SetShadow(true);
  s->SetTextColor(clNavy);
  s->Font()->SetName("Arial");
  ChangeCounter counter;
  styles->SetChangeHandler(counter.Handler());
  Normal()->Assign(s);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(Normal()->StyleController(), controller.get());
  EXPECT_EQ(Normal()->LookAndFeel()->Kind(), lfFlat);
  EXPECT_EQ(Normal()->BorderStyle(), cbsThick);
  EXPECT_TRUE(Normal()->Shadow());
  EXPECT_EQ(Normal()->TextColor(), clNavy);
  EXPECT_EQ(Normal()->Font()->GetName(), "Arial");
  EXPECT_EQ(Normal()->AssignedValues(), s->AssignedValues());

  // From a direct-values style the font takes the source's text colour.
  TFont font;
  TcxContainerStyle direct(nullptr, true, nullptr, 0);
  direct.SetFont(&font);
  direct.SetTextColor(clPurple);
  Normal()->Assign(&direct);
  EXPECT_EQ(Normal()->Font()->GetColor(), clPurple);
}

TEST_F(ContainerStyles, StoredRulesAndRestoringDefaults) {
  Normal()->SetColor(clRed);
  Normal()->SetEdges({bLeft});
  Hot()->SetColor(clBlue);
  Hot()->SetAssignedValues(Hot()->AssignedValues() | StyleValueBit(svEdges));
  EXPECT_TRUE(Normal()->IsColorStored());
  EXPECT_TRUE(Normal()->IsEdgesStored());
  EXPECT_FALSE(Normal()->IsBorderColorStored());
  EXPECT_TRUE(Hot()->IsColorStored());
  EXPECT_FALSE(Hot()->IsEdgesStored()) << "a normal-only value on a state style";
  EXPECT_FALSE(Hot()->IsLookAndFeelStored());
  EXPECT_TRUE(Normal()->IsLookAndFeelStored());
  owner->unstored = StyleValueBit(svColor);
  EXPECT_FALSE(Normal()->IsColorStored());

  owner->defaultParentColor = true;
  owner->SetParentFont(false);
  Normal()->LookAndFeel()->SetKind(lfFlat);
  Normal()->RestoreDefaults();
  EXPECT_EQ(Normal()->AssignedValues(), 0u);
  EXPECT_TRUE(Normal()->LookAndFeel()->AssignedValues().Empty());
  EXPECT_TRUE(owner->ParentFont());
  EXPECT_TRUE(owner->ParentColor());
}

TEST(ContainerStyleNames, NamesAndLookup) {
  TcxContainerStyle style(nullptr, false, nullptr, 0);
  std::string name;
  EXPECT_EQ(style.StyleValueCount(), 10);
  ASSERT_TRUE(style.StyleValueName(9, name));
  EXPECT_EQ(name, "TransparentBorder");
  EXPECT_FALSE(style.StyleValueName(10, name));
  EXPECT_EQ(style.FindStyleValueByName("hottrack"), 5);
  EXPECT_EQ(style.FindStyleValueByName("Colour"), -1);
}

}  // namespace
