#include "controls/MenuSkin.h"

#include <gtest/gtest.h>

#include "tests/controls/SkinFixture.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/TypInfo.h"

using namespace skintest;

namespace {

class MenuSkinTest : public SkinTest {};

TEST_F(MenuSkinTest, OnlyAScrollingWindowMayOwnIt) {
  TComponent plain(nullptr);
  EXPECT_THROW(TMenuSkin{&plain}, EInvalidCast);
  TPanel notAForm(nullptr);
  EXPECT_THROW(TMenuSkin{&notAForm}, EInvalidCast);
  EXPECT_EQ(TMenuSkinManager::Instance(), nullptr);
}

TEST_F(MenuSkinTest, StartsWithItsDefaults) {
  auto* skin = new TMenuSkin(form.get());
  EXPECT_FALSE(skin->Active());
  EXPECT_EQ(skin->XPContainers(), TMenuSkin::AllContainers());
  EXPECT_EQ(skin->XPControls(), TMenuSkin::AllControls());
  EXPECT_EQ(skin->IconWidth(), 24);
  EXPECT_EQ(skin->DimLevel(), 30);
  EXPECT_EQ(skin->GrayLevel(), 10);
  EXPECT_EQ(skin->Font()->GetName(), Screen->MenuFont()->GetName());
  EXPECT_EQ(skin->SelectFontColor(), Screen->MenuFont()->GetColor());
  EXPECT_TRUE(skin->UseSystemColors());
  EXPECT_NE(TMenuSkinManager::Instance(), nullptr);  // made by the first skin
  delete skin;
  EXPECT_EQ(TMenuSkinManager::Instance(), nullptr);
}

// The derived colours with system colours, at the screen's depth and on a
// one-bit surface.
TEST_F(MenuSkinTest, UpdateColorsDerivesTheColourModel) {
  auto* skin = new TMenuSkin(form.get());
  Paper high(4, 4);
  skin->UpdateColors(high.Canvas());
  ASSERT_TRUE(skin->HighColor());
  const TMenuSkinColors& c = skin->Colors();
  EXPECT_EQ(c.MenuFill, LightenColor(clBtnFace, 86));
  EXPECT_EQ(c.IconFill, LightenColor(clBtnFace, 16));
  EXPECT_EQ(c.SelectFill, LightenColor(clHighlight, 68));
  EXPECT_EQ(c.CheckedFill, LightenColor(clHighlight, 80));
  EXPECT_EQ(c.CheckedSelectedFill, LightenColor(clHighlight, 50));
  EXPECT_EQ(c.DisabledFont, LightenColor(clBtnShadow, 10));
  EXPECT_EQ(c.SeparatorPen, LightenColor(clBtnShadow, 25));
  EXPECT_EQ(c.FrameColor, DarkenColor(clBtnFace, 90));
  EXPECT_EQ(c.ShadowColor, DarkenColor(clBtnFace, 76));
  EXPECT_EQ(c.SelectFont, skin->Font()->GetColor());

  // Own colours, dimmed selection.
  skin->SetUseSystemColors(false);
  skin->SetUseDimColor(true);
  skin->SetSelectColor(clRed);
  skin->SetColor(clYellow);
  skin->SetSeparatorColor(clGreen);
  EXPECT_TRUE(skin->ColorsDirty());
  skin->UpdateColors(high.Canvas());
  EXPECT_FALSE(skin->ColorsDirty());
  EXPECT_EQ(c.MenuFill, clYellow);
  EXPECT_EQ(c.SelectFill, LightenColor(clRed, 68));
  EXPECT_EQ(c.CheckedFill, LightenColor(clRed, 80));
  EXPECT_EQ(c.CheckedSelectedFill, LightenColor(clRed, 50));
  EXPECT_EQ(c.SeparatorPen, clGreen);

  TBitmap mono;
  mono.SetMonochrome(true);
  mono.SetSize(4, 4);
  skin->UpdateColors(mono.Canvas());
  EXPECT_FALSE(skin->HighColor());
  EXPECT_EQ(c.SelectFill, clRed);
  EXPECT_EQ(c.CheckedFill, clWhite);
  EXPECT_EQ(c.CheckedSelectedFill, Rgb(192, 192, 192));
  EXPECT_EQ(c.FrameColor, clBtnShadow);
  skin->SetUseSystemColors(true);
  skin->UpdateColors(mono.Canvas());
  EXPECT_EQ(c.MenuFill, clWhite);
  EXPECT_EQ(c.SelectFill, clWhite);
  EXPECT_EQ(c.SeparatorPen, clBtnShadow);
}

TEST_F(MenuSkinTest, ContrastTextColorFollowsTheBackground) {
  auto* skin = new TMenuSkin(form.get());
  skin->Font()->SetColor(clNavy);
  EXPECT_EQ(skin->ContrastTextColor(Rgb(200, 0, 200)), clNavy);   // red and blue bright
  EXPECT_EQ(skin->ContrastTextColor(Rgb(0, 201, 0)), clNavy);     // green bright
  EXPECT_EQ(skin->ContrastTextColor(Rgb(100, 100, 100)), LightenColor(Rgb(100, 100, 100), 90));
}

// The radio program's settings: menus and tool bar, nothing else.
TEST_F(MenuSkinTest, ActivationSkinsMenusAndToolBarByTheChosenMembers) {
  TMenuSkin* skin = RadioSkin();
  auto* own = AddItem(file, "Own");
  struct Own {
    void Draw(TObject*, TCanvas*, TRect, bool) {}
  } mine;
  own->OnDrawItem = TMenuDrawItemEvent(&mine, &Own::Draw);
  open->Tag = kSkinExcludedTag;
  auto* openChild = AddItem(open, "Child");
  ShowForm();
  skin->SetActive(true);

  TMenuDrawItemEvent draw(skin, &TMenuSkin::DrawMenuItem);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_EQ(file->OnDrawItem, draw);
  EXPECT_EQ(file->OnMeasureItem, TMenuMeasureItemEvent(skin, &TMenuSkin::MeasureMenuItem));
  EXPECT_EQ(popup->Items()->Items(0)->OnDrawItem, draw);
  EXPECT_FALSE(open->OnDrawItem);            // Tag 999 keeps its own drawing...
  EXPECT_EQ(openChild->OnDrawItem, draw);    // ...while its sub-items are skinned
  EXPECT_NE(own->OnDrawItem, draw);          // a handler of the form's stays
  EXPECT_TRUE(bar->Flat());
  EXPECT_EQ(bar->OnCustomDrawButton, TTBCustomDrawBtnEvent(skin, &TMenuSkin::DrawToolButton));
  EXPECT_EQ(TControlSubClass::HookOf(combo), nullptr);  // xcCombo is not chosen
  EXPECT_EQ(TControlSubClass::HookOf(edit), nullptr);

  skin->SetActive(false);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(file->OnDrawItem);
  EXPECT_FALSE(bar->OnCustomDrawButton);
  EXPECT_EQ(own->OnDrawItem, TMenuDrawItemEvent(&mine, &Own::Draw));

  skin->SetOverrideOwnerDraw(true);
  skin->SetActive(true);
  EXPECT_EQ(own->OnDrawItem, draw);
}

TEST_F(MenuSkinTest, AMainMenuTagged999IsLeftAlone) {
  TMenuSkin* skin = RadioSkin();
  menu->Tag = kSkinExcludedTag;
  skin->SetActive(true);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(file->OnDrawItem);
  EXPECT_TRUE(popup->OwnerDraw());  // a popup menu's Tag plays no part
}

// Controls are chosen by their class and their parent's.
TEST_F(MenuSkinTest, ControlsAreHookedByClassAndContainer) {
  auto* skin = new TMenuSkin(form.get());
  auto* tagged = new TEdit(form.get());
  tagged->SetParent(form.get());
  tagged->Tag = kSkinExcludedTag;
  auto* inTagged = new TEdit(form.get());
  auto* taggedPanel = new TPanel(form.get());
  taggedPanel->SetParent(form.get());
  taggedPanel->Tag = kSkinExcludedTag;
  inTagged->SetParent(taggedPanel);
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  skin->SetXPContainers({xccForm});
  ShowForm();
  skin->SetActive(true);
  EXPECT_NE(TControlSubClass::HookOf(combo), nullptr);
  EXPECT_NE(TControlSubClass::HookOf(panel), nullptr);
  EXPECT_EQ(TControlSubClass::HookOf(edit), nullptr);  // its panel is not a chosen container
  EXPECT_EQ(TControlSubClass::HookOf(tagged), nullptr);
  EXPECT_EQ(TControlSubClass::HookOf(inTagged), nullptr);
  EXPECT_EQ(TControlSubClass::HookOf(label), nullptr);

  // Changing the members while active applies them again at once.
  skin->SetXPContainers({xccForm, xccPanel});
  EXPECT_NE(TControlSubClass::HookOf(edit), nullptr);
  skin->SetXPControls(TMenuSkin::AllControls() - TXPControls{xcCombo});
  EXPECT_EQ(TControlSubClass::HookOf(combo), nullptr);
  EXPECT_NE(TControlSubClass::HookOf(edit), nullptr);

  // Inactive, the members are only stored.
  skin->SetActive(false);
  Pump();
  EXPECT_EQ(TControlSubClass::HookOf(edit), nullptr);
  skin->SetXPControls(TMenuSkin::AllControls());
  EXPECT_EQ(skin->XPControls(), TMenuSkin::AllControls());
  EXPECT_EQ(TControlSubClass::HookOf(combo), nullptr);
}

// Freeing the skin puts every window procedure back, whether it was active
// or had just been switched off with no message in between.
TEST_F(MenuSkinTest, FreeingTheSkinRestoresEveryWindowProcedure) {
  for (bool deactivateFirst : {false, true}) {
    TWndMethod comboProc = combo->WindowProc, editProc = edit->WindowProc, panelProc = panel->WindowProc;
    auto* skin = new TMenuSkin(form.get());
    ShowForm();
    skin->SetActive(true);
    Pump();
    ASSERT_NE(TControlSubClass::HookOf(edit), nullptr);
    EXPECT_FALSE(edit->Ctl3D());  // the flat border
    if (deactivateFirst) skin->SetActive(false);
    delete skin;
    EXPECT_EQ(combo->WindowProc, comboProc) << deactivateFirst;
    EXPECT_EQ(edit->WindowProc, editProc) << deactivateFirst;
    EXPECT_EQ(panel->WindowProc, panelProc) << deactivateFirst;
    EXPECT_TRUE(edit->Ctl3D()) << deactivateFirst;
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(file->OnDrawItem);
    Pump();  // messages after the free reach the controls' own procedures
  }
}

TEST_F(MenuSkinTest, AFormFileSetsItUpAndActivatesItAfterLoading) {
  TForm loaded(nullptr);
  ReadComponentText(R"(object Form1: TForm
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  object MenuSkin1: TMenuSkin
    Active = True
    IconWidth = 20
    XPContainers = [xccForm, xccToolbar, xccCoolbar]
    XPControls = [xcMainMenu, xcPopupMenu, xcToolbar]
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
    end
  end
end
)",
                    &loaded);
  auto* skin = dynamic_cast<TMenuSkin*>(loaded.FindComponent("MenuSkin1"));
  auto* main = dynamic_cast<TMainMenu*>(loaded.FindComponent("MainMenu1"));
  ASSERT_TRUE(skin && main);
  EXPECT_TRUE(skin->Active());
  EXPECT_EQ(skin->IconWidth(), 20);
  EXPECT_EQ(skin->XPControls(), (TXPControls{xcMainMenu, xcPopupMenu, xcToolbar}));
  // The menu comes after the skin in the file and is skinned all the same.
  EXPECT_TRUE(main->OwnerDraw());
  ASSERT_NE(TMenuSkinManager::Instance(), nullptr);
  EXPECT_EQ(TMenuSkinManager::Instance()->ActiveSkin(), skin);

  skin->SetActive(false);  // the handlers are the skin's, not the form's
  std::string text = WriteComponentText(&loaded);
  EXPECT_NE(text.find("XPControls = [xcMainMenu, xcPopupMenu, xcToolbar]"), std::string::npos) << text;
  EXPECT_EQ(text.find("DimLevel"), std::string::npos) << text;
}

}  // namespace
