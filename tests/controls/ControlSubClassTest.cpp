// The hooks in front of standard controls: what they follow, what they
// paint, and how they take themselves out. Pixels are read in the
// platform's default look; the flat borders are the skin's own drawing.
#include "controls/ControlSubClass.h"

#include <gtest/gtest.h>

#include "tests/controls/SkinFixture.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Windows.h"

using namespace skintest;

namespace {

class ControlSubClassTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    skin = new TMenuSkin(form.get());
    ShowForm();
    skin->SetActive(true);
    Pump();
  }
  static void MoveTo(TControl* c) {
    TPoint p = c->ClientToScreen({c->Width() / 2, c->Height() / 2});
    win::InjectMouseMove({p.X, p.Y});
    Pump();
  }
  TMenuSkinColors C() { return ResolvedColors(skin->Colors()); }
  TMenuSkin* skin = nullptr;
};

TEST_F(ControlSubClassTest, AnEditBorderFollowsTheMouse) {
  TControlSubClass* hook = TControlSubClass::HookOf(edit);
  ASSERT_NE(hook, nullptr);
  EXPECT_FALSE(edit->Ctl3D());
  MoveTo(edit);
  EXPECT_TRUE(hook->Hot());
  EXPECT_EQ(WindowPixel(edit->Handle(), 0, 5), LightenColor(C().SelectBorder, 60));
  MoveTo(panel);  // out of the edit, still over the panel
  EXPECT_FALSE(hook->Hot());
  EXPECT_EQ(WindowPixel(edit->Handle(), 0, 5), DarkenColor(panel->Color(), 60));
}

// Switching Ctl3D off makes the edit's window anew; the hook stays.
TEST_F(ControlSubClassTest, TheHookSurvivesTheWindowMadeAnew) {
  auto* late = new TEdit(form.get());
  late->SetParent(panel);
  late->SetBounds(10, 40, 100, 21);
  late->HandleNeeded();
  skin->ApplySkinToComponent(late, true, true);
  TControlSubClass* hook = TControlSubClass::HookOf(late);
  ASSERT_NE(hook, nullptr);
  EXPECT_TRUE(late->Ctl3D());
  win::HWND before = late->Handle();
  Pump();  // the paint switches Ctl3D off; the new window follows
  EXPECT_FALSE(late->Ctl3D());
  EXPECT_NE(late->Handle(), before);
  EXPECT_EQ(TControlSubClass::HookOf(late), hook);
  EXPECT_FALSE(win::GetWindowLongPtr(late->Handle(), win::GWL_EXSTYLE) & win::WS_EX_CLIENTEDGE);
}

// Switched off, each hook puts back the control's procedure and Ctl3D at
// the control's next message.
TEST_F(ControlSubClassTest, DeactivationRestoresAtTheNextMessage) {
  TControlSubClass* hook = TControlSubClass::HookOf(edit);
  ASSERT_NE(hook, nullptr);
  skin->SetActive(false);
  EXPECT_EQ(TControlSubClass::HookOf(edit), hook);  // nothing yet
  edit->Perform(CM_TEXTCHANGED, 0, 0);
  EXPECT_EQ(TControlSubClass::HookOf(edit), nullptr);
  EXPECT_TRUE(edit->Ctl3D());
  Pump();
  EXPECT_EQ(TControlSubClass::HookOf(combo), nullptr);  // the repaint reached it
}

// The second click of a double click is a click too.
TEST_F(ControlSubClassTest, ADoubleClickTogglesACheckBoxTwice) {
  auto* box = new TCheckBox(form.get());
  box->SetParent(form.get());
  box->SetBounds(150, 60, 120, 20);
  box->SetCaption("Scan");
  box->HandleNeeded();
  skin->ApplySkinToComponent(box, true, true);
  ASSERT_NE(TControlSubClass::HookOf(box), nullptr);
  Pump();
  int toggles = 0;
  struct Count {
    int* N;
    void Click(TObject*) { ++*N; }
  } count{&toggles};
  box->OnClick = TNotifyEvent(&count, &Count::Click);
  TPoint p = box->ClientToScreen({8, 10});
  win::InjectClick({p.X, p.Y});
  win::InjectClick({p.X, p.Y});
  Pump();
  EXPECT_EQ(toggles, 2);
  EXPECT_FALSE(box->Checked());
}

TEST_F(ControlSubClassTest, ACheckedBoxShowsTheFlatSquareAndMark) {
  auto* box = new TCheckBox(form.get());
  box->SetParent(form.get());
  box->SetBounds(150, 60, 120, 20);
  box->SetChecked(true);
  box->HandleNeeded();
  skin->ApplySkinToComponent(box, true, true);
  Pump();
  box->Repaint();
  Pump();
  int s = win::GetSystemMetrics(win::SM_CXHTHUMB);
  int top = 3 + (20 - 6 - s) / 2;
  TRect inner{2, top + 2, s - 2, top + s - 2};
  EXPECT_EQ(ClientPixel(box, inner.Left, inner.Top + 3), Resolved(clBtnShadow));
  EXPECT_EQ(ClientPixel(box, inner.Left + 4, inner.Bottom - 3), Resolved(clHighlight));  // the tick
  EXPECT_EQ(ClientPixel(box, inner.Right - 2, inner.Top + 1), Resolved(clWindow));
}

// A control freed before its skin takes its hook with it; a skin freed
// before its controls leaves them their own procedures.
TEST_F(ControlSubClassTest, HooksFollowTheLifeOfTheirControlAndSkin) {
  auto* gone = new TEdit(form.get());
  gone->SetParent(form.get());
  gone->HandleNeeded();
  skin->ApplySkinToComponent(gone, true, false);
  ASSERT_NE(TControlSubClass::HookOf(gone), nullptr);
  Integer hooks = skin->ComponentCount();
  delete gone;
  EXPECT_LT(skin->ComponentCount(), hooks);

  auto* unshown = new TEdit(form.get());  // no window: nothing to destroy
  unshown->SetParent(form.get());
  skin->ApplySkinToComponent(unshown, true, false);
  ASSERT_NE(TControlSubClass::HookOf(unshown), nullptr);
  hooks = skin->ComponentCount();
  delete unshown;
  EXPECT_LT(skin->ComponentCount(), hooks);
  delete skin;
  Pump();
  edit->Perform(CM_TEXTCHANGED, 0, 0);
  EXPECT_EQ(TControlSubClass::HookOf(edit), nullptr);
}

}  // namespace
