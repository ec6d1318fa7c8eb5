// Edit styles: the four extra values with their names and defaults, what a
// state style keeps and what it shares with the normal style, controllers
// (the default one included, and none for in-place editors), assignment and
// the stored rules.
#include "suite/editors/cxEditStyles.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"

namespace {

class EditorStandIn : public TWinControl, public IcxContainerStyleOwner {
 public:
  explicit EditorStandIn(TComponent* AOwner, bool AInplace) : TWinControl(AOwner), inplace(AInplace) {}
  TControl* StyleOwnerControl() override { return this; }
  bool DefaultParentColor() override { return false; }
  bool IsInplace() override { return inplace; }
  TcxContainerStyleValues GetUnstoredStyleValues() override { return 0; }
  bool inplace;
};

struct EditStyleSet {
  explicit EditStyleSet(TPersistent* owner) : styles(owner, &CreateContainerStyle<TcxEditStyle>) {}
  TcxEditStyle* operator[](Integer state) { return static_cast<TcxEditStyle*>(styles.Style(state)); }
  TcxContainerStyles styles;
};

// Puts the default controller's normal style back as it was.
struct DefaultControllerScope {
  ~DefaultControllerScope() { DefaultEditStyleController()->Style()->RestoreDefaults(); }
};

TEST(EditStyles, TheFourValuesHaveTheirNamesAndNormalDefaults) {
  EditStyleSet set(nullptr);
  TcxEditStyle* normal = set[cxStateNormal];
  EXPECT_EQ(normal->StyleValueCount(), 14);
  std::string name;
  const char* names[] = {"ButtonStyle", "ButtonTransparency", "PopupBorderStyle", "GradientButtons"};
  for (Integer i = 0; i < 4; ++i) {
    ASSERT_TRUE(normal->StyleValueName(10 + i, name));
    EXPECT_EQ(name, names[i]);
    EXPECT_EQ(normal->FindStyleValueByName(names[i]), 10 + i);
  }
  EXPECT_FALSE(normal->StyleValueName(14, name));
  EXPECT_EQ(normal->ButtonStyle(), btsDefault);
  EXPECT_EQ(normal->ButtonTransparency(), ebtNone);
  EXPECT_EQ(normal->PopupBorderStyle(), epbsDefault);
  EXPECT_FALSE(normal->GradientButtons());
  EXPECT_TRUE(normal->MasterPopupOption());
  EXPECT_EQ(normal->NormalOnlyStyleValues(), 0x3A78u);
}

TEST(EditStyles, SharedValuesSetOnAStateStyleChangeEveryState) {
  EditStyleSet set(nullptr);
  set[cxStateFocused]->SetButtonTransparency(ebtAlways);
  set[cxStateHot]->SetPopupBorderStyle(epbsFlat);
  set[cxStateDisabled]->SetGradientButtons(true);
  for (Integer state = 0; state < 4; ++state) {
    EXPECT_EQ(set[state]->ButtonTransparency(), ebtAlways) << state;
    EXPECT_EQ(set[state]->PopupBorderStyle(), epbsFlat) << state;
    EXPECT_TRUE(set[state]->GradientButtons()) << state;
  }
  EXPECT_EQ(set[cxStateNormal]->AssignedValues() & 0x3800u, 0x3800u);
  EXPECT_EQ(set[cxStateFocused]->AssignedValues() & 0x3800u, 0u);
}

TEST(EditStyles, ButtonStyleOfAStateStyleIsItsOwn) {
  EditStyleSet set(nullptr);
  set[cxStateNormal]->SetButtonStyle(bts3D);
  set[cxStateHot]->SetButtonStyle(btsHotFlat);
  EXPECT_EQ(set[cxStateHot]->ButtonStyle(), btsHotFlat);
  EXPECT_EQ(set[cxStateNormal]->ButtonStyle(), bts3D);
  EXPECT_EQ(set[cxStateFocused]->ButtonStyle(), bts3D);
  EXPECT_EQ(set[cxStateDisabled]->ButtonStyle(), bts3D);
}

TEST(EditStyles, MasterPopupOptionLivesInTheNormalStyle) {
  EditStyleSet set(nullptr);
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  set.styles.SetChangeHandler(TNotifyEvent(&counter, &Counter::Changed));
  set[cxStateFocused]->AssignMasterPopupOption(false);
  EXPECT_FALSE(set[cxStateNormal]->MasterPopupOption());
  EXPECT_FALSE(set[cxStateHot]->MasterPopupOption());
  EXPECT_EQ(changes, 1);
  set[cxStateHot]->AssignMasterPopupOption(false);
  EXPECT_EQ(changes, 1);
}

TEST(EditStyles, StandAloneStyleFollowsTheDefaultControllerAndInplaceDoesNot) {
  DefaultControllerScope restore;
  TForm form(nullptr);
  auto* standAlone = new EditorStandIn(&form, false);
  auto* inplace = new EditorStandIn(&form, true);
  EditStyleSet standAloneSet(standAlone);
  EditStyleSet inplaceSet(inplace);
  EditStyleSet direct(nullptr);
  TcxEditStyle directStyle(nullptr, true, nullptr, cxStateNormal);

  EXPECT_EQ(standAloneSet[cxStateNormal]->ActiveStyleController(), DefaultEditStyleController());
  EXPECT_EQ(standAloneSet[cxStateNormal]->StyleController(), nullptr);
  EXPECT_EQ(inplaceSet[cxStateNormal]->ActiveStyleController(), nullptr);
  EXPECT_EQ(directStyle.ActiveStyleController(), nullptr);

  DefaultEditStyleController()->Style()->SetButtonStyle(btsUltraFlat);
  EXPECT_EQ(standAloneSet[cxStateNormal]->ButtonStyle(), btsUltraFlat);
  EXPECT_EQ(standAloneSet[cxStateFocused]->ButtonStyle(), btsUltraFlat);
  EXPECT_EQ(inplaceSet[cxStateNormal]->ButtonStyle(), btsDefault);
  EXPECT_EQ(directStyle.ButtonStyle(), btsDefault);
  standAloneSet[cxStateNormal]->SetButtonStyle(btsFlat);
  EXPECT_EQ(standAloneSet[cxStateNormal]->ButtonStyle(), btsFlat);
}

TEST(EditStyles, OwnControllerIsFollowedStateByState) {
  TcxEditStyleController controller(nullptr);
  EditStyleSet set(nullptr);
  set[cxStateNormal]->SetEditStyleController(&controller);
  EXPECT_EQ(set[cxStateNormal]->EditStyleController(), &controller);
  controller.StyleHot()->SetButtonStyle(btsOffice11);
  controller.Style()->SetButtonTransparency(ebtHideInactive);
  EXPECT_EQ(set[cxStateHot]->ButtonStyle(), btsOffice11);
  EXPECT_EQ(set[cxStateNormal]->ButtonStyle(), btsDefault);
  EXPECT_EQ(set[cxStateFocused]->ButtonTransparency(), ebtHideInactive);
  EXPECT_TRUE(set[cxStateHot]->IsStyleValueAssigned(svButtonStyle));
  EXPECT_FALSE(set[cxStateFocused]->IsStyleValueAssigned(svButtonStyle));
}

TEST(EditStyles, AssignCopiesTheEditValuesInOneNotice) {
  EditStyleSet source(nullptr);
  source[cxStateNormal]->SetButtonStyle(btsSimple);
  source[cxStateNormal]->SetButtonTransparency(ebtInactive);
  source[cxStateNormal]->SetPopupBorderStyle(epbsFrame3D);
  source[cxStateNormal]->SetGradientButtons(true);
  source[cxStateNormal]->AssignMasterPopupOption(false);
  source[cxStateNormal]->SetShadow(true);

  EditStyleSet target(nullptr);
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  target.styles.SetChangeHandler(TNotifyEvent(&counter, &Counter::Changed));
  target[cxStateNormal]->Assign(source[cxStateNormal]);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(target[cxStateNormal]->ButtonStyle(), btsSimple);
  EXPECT_EQ(target[cxStateNormal]->ButtonTransparency(), ebtInactive);
  EXPECT_EQ(target[cxStateNormal]->PopupBorderStyle(), epbsFrame3D);
  EXPECT_TRUE(target[cxStateNormal]->GradientButtons());
  EXPECT_FALSE(target[cxStateNormal]->MasterPopupOption());
  EXPECT_TRUE(target[cxStateNormal]->Shadow());
}

TEST(EditStyles, StoredRulesFollowTheAssignedBits) {
  TForm form(nullptr);
  auto* editor = new EditorStandIn(&form, false);
  EditStyleSet set(editor);
  EXPECT_FALSE(set[cxStateNormal]->IsButtonStyleStored());
  set[cxStateNormal]->SetButtonStyle(btsFlat);
  set[cxStateHot]->SetButtonStyle(btsFlat);
  set[cxStateHot]->SetButtonTransparency(ebtAlways);
  EXPECT_TRUE(set[cxStateNormal]->IsButtonStyleStored());
  EXPECT_TRUE(set[cxStateHot]->IsButtonStyleStored());
  EXPECT_TRUE(set[cxStateNormal]->IsButtonTransparencyStored());
  EXPECT_FALSE(set[cxStateHot]->IsButtonTransparencyStored());
  EXPECT_FALSE(set[cxStateNormal]->IsPopupBorderStyleStored());
  EXPECT_TRUE(set[cxStateNormal]->IsStyleControllerStored());
  EXPECT_FALSE(set[cxStateHot]->IsStyleControllerStored());
}

TEST(EditStyles, PublishedBorderStyleUsesTheEditorNames) {
  EditStyleSet set(nullptr);
  const TPropInfo* info = GetPropInfo(set[cxStateNormal], "BorderStyle");
  ASSERT_NE(info, nullptr);
  SetEnumProp(set[cxStateNormal], *info, "ebsThick");
  EXPECT_EQ(set[cxStateNormal]->BorderStyle(), cbsThick);
  EXPECT_NE(GetPropInfo(set[cxStateNormal], "ButtonStyle"), nullptr);
  EXPECT_EQ(GetPropInfo(set[cxStateNormal], "GradientButtons"), nullptr);
}

}  // namespace
