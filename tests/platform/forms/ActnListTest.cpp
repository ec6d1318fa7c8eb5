#include "platform/forms/ActnList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/ImgList.h"
#include "platform/rtl/FormFiles.h"

namespace {

// Records who ran and which component the action named while it ran.
struct Recorder : TObject {
  std::vector<std::string> Log;
  TBasicAction* Watched = nullptr;
  void Execute(TObject* Sender) {
    auto* action = dynamic_cast<TBasicAction*>(Sender);
    std::string by = action && action->ActionComponent() ? action->ActionComponent()->Name() : "-";
    Log.push_back("action by " + by);
  }
  void OwnClick(TObject*) { Log.push_back("own click"); }
  void Disable(TObject* Sender) { static_cast<TCustomAction*>(Sender)->SetEnabled(false); }
  void Handle(TBasicAction*, bool& Handled) {
    Log.push_back("list");
    Handled = true;
  }
};

struct ActnListTest : ::testing::Test {
  TForm form{nullptr};
  TActionList* list = new TActionList(&form);
  TAction* action = new TAction(&form);
  TButton* button = new TButton(&form);
  Recorder rec;

  void SetUp() override {
    action->SetName("Action1");
    button->SetName("Button1");
    action->SetActionList(list);
    action->SetCaption("&Read");
    action->SetHint("Read the radio");
    action->OnExecute = TNotifyEvent(&rec, &Recorder::Execute);
    button->SetAction(action);
  }
};

TEST_F(ActnListTest, TheControlFollowsWhatItStillShares) {
  EXPECT_EQ(button->Caption(), "&Read");
  EXPECT_EQ(button->GetHint(), "Read the radio");
  EXPECT_EQ(action->ClientCount(), 1);

  action->SetEnabled(false);
  action->SetCaption("&Read again");
  EXPECT_FALSE(button->Enabled());
  EXPECT_EQ(button->Caption(), "&Read again");

  // A caption set by hand stays; the rest still follows.
  button->SetCaption("Mine");
  action->SetCaption("Other");
  action->SetEnabled(true);
  action->SetVisible(false);
  EXPECT_EQ(button->Caption(), "Mine");
  EXPECT_TRUE(button->Enabled());
  EXPECT_FALSE(button->Visible());

  // A new handler reaches the click only while the click still runs the old one.
  action->SetOnExecute(TNotifyEvent(&rec, &Recorder::Disable));
  EXPECT_TRUE(button->OnClick == action->OnExecute);
  button->OnClick = TNotifyEvent(&rec, &Recorder::OwnClick);
  action->SetOnExecute(TNotifyEvent(&rec, &Recorder::Execute));
  EXPECT_TRUE(button->OnClick == TNotifyEvent(&rec, &Recorder::OwnClick));
}

TEST_F(ActnListTest, AClickRunsTheActionUnlessTheControlHasAHandlerOfItsOwn) {
  struct Case {
    const char* name;
    bool enabled;
    bool ownHandler;
    bool listHandles;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"through the action", true, false, false, {"action by Button1"}},
      {"disabled action", false, false, false, {}},
      {"own handler", true, true, false, {"own click"}},
      {"list handles it", true, false, true, {"list"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rec.Log.clear();
    action->SetEnabled(c.enabled);
    button->OnClick = c.ownHandler ? TNotifyEvent(&rec, &Recorder::OwnClick) : action->OnExecute;
    list->OnExecute = c.listHandles ? TActionEvent(&rec, &Recorder::Handle) : TActionEvent();
    button->Click();
    EXPECT_EQ(rec.Log, c.expected);
    EXPECT_EQ(action->ActionComponent(), nullptr);
  }

  // A suspended list runs none of its actions.
  rec.Log.clear();
  list->OnExecute = TActionEvent();
  action->SetEnabled(true);
  button->OnClick = action->OnExecute;
  list->SetState(asSuspended);
  button->Click();
  EXPECT_TRUE(rec.Log.empty());
}

TEST_F(ActnListTest, ChecksInAGroupExcludeEachOtherAndAutoCheckFlips) {
  std::vector<TAction*> group;
  for (int i = 0; i < 3; ++i) {
    group.push_back(new TAction(&form));
    group.back()->SetActionList(list);
    group.back()->SetGroupIndex(1);
    group.back()->SetAutoCheck(true);
    group.back()->OnExecute = TNotifyEvent(&rec, &Recorder::Execute);
  }
  group[0]->SetChecked(true);
  group[1]->SetChecked(true);
  EXPECT_FALSE(group[0]->Checked());
  EXPECT_TRUE(group[1]->Checked());

  // In a group, executing only ever checks; alone, it flips both ways.
  group[1]->Execute();
  EXPECT_TRUE(group[1]->Checked());
  group[2]->Execute();
  EXPECT_TRUE(group[2]->Checked());
  EXPECT_FALSE(group[1]->Checked());
  action->SetAutoCheck(true);
  action->Execute();
  action->Execute();
  EXPECT_FALSE(action->Checked());
  EXPECT_EQ(rec.Log.size(), 4u);
}

TEST_F(ActnListTest, FreeingAnyPartLeavesNoDanglingLink) {
  // The action goes first: the control lets go of it.
  action->Free();
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(button->ActionLink(), nullptr);
  EXPECT_EQ(list->ActionCount(), 0);
  button->Click();  // nothing to run, nothing to crash

  // The control goes first: the action loses its client.
  auto* second = new TAction(&form);
  second->SetActionList(list);
  button->SetAction(second);
  EXPECT_EQ(second->ClientCount(), 1);
  button->Free();
  EXPECT_EQ(second->ClientCount(), 0);

  // The list goes: it frees the actions still in it.
  auto* images = new TImageList(&form);
  list->SetImages(images);
  images->Free();
  EXPECT_EQ(list->Images(), nullptr);
  Integer before = form.ComponentCount();
  list->Free();
  EXPECT_EQ(form.ComponentCount(), before - 2);
}

TEST(ActnListStream, ActionsAndTheControlsThatNameThemAreReadFromTheFormFile) {
  TForm form(nullptr);
  ReadComponentText(R"(object Form1: TForm
  Width = 300
  Height = 200
  object Button1: TButton
    Left = 8
    Top = 8
    Action = ReadAction
  end
  object Button2: TButton
    Left = 8
    Top = 40
    Caption = 'Kept'
    Action = WriteAction
  end
  object ActionList1: TActionList
    object ReadAction: TAction
      Category = 'Radio'
      Caption = '&Read'
      Enabled = False
    end
    object WriteAction: TAction
      Category = 'Radio'
      Caption = '&Write'
      ShortCut = 16471
    end
  end
end
)",
                    &form);
  auto* list = dynamic_cast<TActionList*>(form.FindComponent("ActionList1"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->ActionCount(), 2);
  EXPECT_EQ(list->Actions(0)->Name(), "ReadAction");
  EXPECT_EQ(list->Actions(1)->Category(), "Radio");
  EXPECT_EQ(static_cast<TCustomAction*>(list->Actions(1))->ShortCut(), 16471);
  auto* read = dynamic_cast<TButton*>(form.FindComponent("Button1"));
  auto* write = dynamic_cast<TButton*>(form.FindComponent("Button2"));
  ASSERT_TRUE(read && write);
  EXPECT_EQ(read->Action(), list->Actions(0));
  EXPECT_EQ(read->Caption(), "&Read");
  EXPECT_FALSE(read->Enabled());
  // A caption of the form's own is not overwritten by the action's.
  EXPECT_EQ(write->Caption(), "Kept");
}

}  // namespace
