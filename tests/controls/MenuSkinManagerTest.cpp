#include "controls/MenuSkinManager.h"

#include <gtest/gtest.h>

#include "tests/controls/SkinFixture.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

using namespace skintest;

namespace {

const char* kSkinnedForm = R"(object Main: TForm
  Left = 10
  Top = 10
  Width = 300
  Height = 200
  object MenuSkin1: TMenuSkin
    Active = True
    FlatMenu = True
  end
end
)";

// A form made after the skin, as the program's dialogs are.
struct LaterForm {
  TForm* form;
  TMainMenu* menu;
  TEdit* edit;
  explicit LaterForm(Integer Tag = 0) {
    form = new TForm(Application);
    form->Tag = Tag;
    form->SetBounds(200, 200, 200, 150);
    menu = new TMainMenu(form);
    auto* item = new TMenuItem(form);
    item->SetCaption("&Edit");
    menu->Items()->Add(item);
    form->SetMenu(menu);
    edit = new TEdit(form);
    edit->SetParent(form);
  }
  ~LaterForm() { delete form; }
};

class MenuSkinManagerTest : public SkinTest {
 protected:
  void TearDown() override {
    main.reset();
    SkinTest::TearDown();
  }
  // The main form, owned by the application as the program's is, with its
  // skin read from the form file (so registered with the manager).
  TMenuSkin* LoadSkin() {
    main.reset(new TForm(Application));
    ReadComponentText(kSkinnedForm, main.get());
    return dynamic_cast<TMenuSkin*>(main->FindComponent("MenuSkin1"));
  }
  std::unique_ptr<TForm> main;
};

TEST_F(MenuSkinManagerTest, FormsMadeLaterTakeTheActiveSkin) {
  TMenuSkin* skin = LoadSkin();
  ASSERT_NE(skin, nullptr);
  TMenuSkinManager* manager = TMenuSkinManager::Instance();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->ActiveSkin(), skin);

  LaterForm later;
  LaterForm excluded(kSkinExcludedTag);
  Pump();  // any message of the application window
  EXPECT_TRUE(later.menu->OwnerDraw());
  EXPECT_EQ(later.menu->Items()->Items(0)->OnDrawItem, TMenuDrawItemEvent(skin, &TMenuSkin::DrawMenuItem));
  EXPECT_NE(TControlSubClass::HookOf(later.edit), nullptr);
  EXPECT_FALSE(excluded.menu->OwnerDraw());
  EXPECT_EQ(TControlSubClass::HookOf(excluded.edit), nullptr);
}

// Freeing the only skin takes its look from every form it reached, and the
// manager goes with it.
TEST_F(MenuSkinManagerTest, TheLastSkinTakesTheManagerWithIt) {
  TMenuSkin* skin = LoadSkin();
  Application->SetMainForm(main.get());
  LaterForm later;
  TWndMethod own = later.edit->WindowProc;
  later.form->Show();
  Pump();
  ASSERT_NE(TControlSubClass::HookOf(later.edit), nullptr);
  delete skin;
  Application->SetMainForm(nullptr);
  EXPECT_EQ(TMenuSkinManager::Instance(), nullptr);
  EXPECT_EQ(later.edit->WindowProc, own);
  EXPECT_TRUE(later.edit->Ctl3D());
  EXPECT_FALSE(later.menu->OwnerDraw());
  EXPECT_FALSE(later.menu->Items()->Items(0)->OnDrawItem);
  Pump();
}

// Two skins: the first to register leads; when it goes, the hooks it put
// on other forms pass to the second.
TEST_F(MenuSkinManagerTest, TheSecondSkinTakesOverTheFirstsHooks) {
  TForm second(nullptr);
  TMenuSkin* first = LoadSkin();
  auto* secondSkin = dynamic_cast<TMenuSkin*>(ReadComponentText(kSkinnedForm, &second)->FindComponent("MenuSkin1"));
  ASSERT_TRUE(first && secondSkin);
  TMenuSkinManager* manager = TMenuSkinManager::Instance();
  EXPECT_EQ(manager->ActiveSkin(), first);
  LaterForm later;
  Pump();
  ASSERT_NE(TControlSubClass::HookOf(later.edit), nullptr);
  EXPECT_EQ(TControlSubClass::HookOf(later.edit)->Skin(), first);
  delete first;
  EXPECT_EQ(manager->ActiveSkin(), secondSkin);
  ASSERT_NE(TControlSubClass::HookOf(later.edit), nullptr);
  EXPECT_EQ(TControlSubClass::HookOf(later.edit)->Skin(), secondSkin);
  EXPECT_EQ(later.menu->Items()->Items(0)->OnDrawItem, TMenuDrawItemEvent(secondSkin, &TMenuSkin::DrawMenuItem));
  later.edit->Perform(CM_TEXTCHANGED, 0, 0);  // the hook works for the new skin
  EXPECT_NE(TControlSubClass::HookOf(later.edit), nullptr);

  // DisableSubclassing on the only active skin leaves nobody in charge.
  secondSkin->SetDisableSubclassing(true);
  EXPECT_EQ(manager->ActiveSkin(), nullptr);
}

// The frame request: the window gets the flat frame and the frame's
// procedure, until it hides.
TEST_F(MenuSkinManagerTest, PopupWindowsGetTheFlatFrame) {
  TMenuSkin* skin = LoadSkin();
  TForm window(nullptr);
  window.SetBorderStyle(bsDialog);
  window.SetBounds(300, 300, 120, 80);
  window.Show();
  Pump();
  win::HWND wnd = window.Handle();
  win::PostMessage(Application->Handle(), WM_SKINWINDOWFRAME, 0, reinterpret_cast<win::LPARAM>(wnd));
  Pump();
  EXPECT_TRUE(IsPopupFrameWindow(wnd));
  auto pixel = [&](int x, int y) { return WindowPixel(wnd, x, y); };
  TMenuSkinColors c = ResolvedColors(skin->Colors());
  EXPECT_EQ(pixel(0, 40), c.FrameColor);
  EXPECT_EQ(pixel(60, 0), c.FrameColor);
  EXPECT_EQ(pixel(119, 40), c.FrameColor);
  EXPECT_EQ(pixel(1, 40), c.IconFill);
  EXPECT_EQ(pixel(117, 40), c.MenuFill);
  window.Hide();
  EXPECT_FALSE(IsPopupFrameWindow(wnd));
}

// Before version 5.1 the skin shapes the window and draws a shadow of its
// own in the room that leaves; our platform reports 5.1, so this path is
// reached through a skin that believes otherwise.
class TOlderSkin : public TMenuSkin {
 public:
  explicit TOlderSkin(TComponent* AOwner) : TMenuSkin(AOwner) { IsWXP_ = false; }
};

TEST_F(MenuSkinManagerTest, BeforeVersion51TheFrameCastsItsOwnShadow) {
  auto* skin = new TOlderSkin(form.get());
  skin->SetActive(true);
  TForm window(nullptr);
  window.SetBorderStyle(bsDialog);
  window.SetBounds(300, 300, 120, 80);
  window.Show();
  Pump();
  win::HWND wnd = window.Handle();
  skin->DrawPopupFrame(wnd, false);
  win::HRGN rgn = win::CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(win::GetWindowRgn(wnd, rgn), win::ERROR);
  win::DeleteObject(rgn);
  TMenuSkinColors c = ResolvedColors(skin->Colors());
  EXPECT_EQ(WindowPixel(wnd, 117, 40), c.FrameColor);
  EXPECT_EQ(WindowPixel(wnd, 119, 40), c.ShadowColor);
  EXPECT_EQ(WindowPixel(wnd, 60, 79), c.ShadowColor);
  window.Hide();
  rgn = win::CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(win::GetWindowRgn(wnd, rgn), win::ERROR);  // the shape goes with the frame
  win::DeleteObject(rgn);
  delete skin;
}

}  // namespace
