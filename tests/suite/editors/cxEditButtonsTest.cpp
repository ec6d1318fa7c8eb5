// Edit buttons: one default button per collection, the first button made
// at design time, change notices and their batching in Assign, the visible
// caption, refused negative widths and the glyph made on first read.
#include "suite/editors/cxEditButtons.h"

#include <gtest/gtest.h>

namespace {

class StateComponent : public TComponent {
 public:
  using TComponent::TComponent;
  void SetLoading(bool On) { SetState(csLoading, On); }
};

struct ChangeCounter {
  void Changed(TObject*) { ++count; }
  TNotifyEvent Handler() { return TNotifyEvent(this, &ChangeCounter::Changed); }
  int count = 0;
};

TEST(EditButtons, SettingDefaultLeavesExactlyOneDefaultButton) {
  TcxEditButtons buttons(nullptr);
  for (int i = 0; i < 3; ++i) buttons.Add();
  buttons.Items(0)->SetDefault(true);
  buttons.Items(1)->SetDefault(true);
  EXPECT_FALSE(buttons.Items(0)->Default());
  EXPECT_TRUE(buttons.Items(1)->Default());
  EXPECT_FALSE(buttons.Items(2)->Default());
  buttons.Items(1)->SetDefault(false);
  EXPECT_FALSE(buttons.Items(1)->Default());
}

TEST(EditButtons, OnlyTheFirstButtonMadeAtDesignTimeBecomesDefault) {
  struct Case {
    bool designing, loading, expected;
  } cases[] = {{true, false, true}, {false, false, false}, {true, true, false}};
  for (const Case& c : cases) {
    StateComponent owner(nullptr);
    owner.SetDesigning(c.designing);
    owner.SetLoading(c.loading);
    TcxEditButtons buttons(&owner);
    buttons.Add();
    buttons.Add();
    EXPECT_EQ(buttons.Items(0)->Default(), c.expected) << c.designing << c.loading;
    EXPECT_FALSE(buttons.Items(1)->Default());
  }
}

TEST(EditButtons, EveryChangeReachesOnChangeAndEqualValuesDoNot) {
  TcxEditButtons buttons(nullptr);
  TcxEditButton* b = buttons.Add();
  ChangeCounter counter;
  buttons.OnChange = counter.Handler();
  b->SetCaption("&Go");
  b->SetEnabled(false);
  b->SetKind(bkText);
  b->SetLeftAlignment(true);
  b->SetStretchable(false);
  b->SetVisible(false);
  b->SetWidth(20);
  b->SetTextColor(clRed);
  EXPECT_EQ(counter.count, 8);
  b->SetCaption("&Go");
  b->SetEnabled(false);
  b->SetKind(bkText);
  b->SetWidth(20);
  EXPECT_EQ(counter.count, 8);
}

TEST(EditButtons, AssignCopiesEveryValueInOneNotice) {
  TcxEditButtons source(nullptr);
  TcxEditButton* s = source.Add();
  s->SetCaption("a&&b");
  s->SetDefault(true);
  s->SetEnabled(false);
  s->Glyph()->SetWidth(4);
  s->Glyph()->SetHeight(3);
  s->SetKind(bkGlyph);
  s->SetLeftAlignment(true);
  s->SetStretchable(false);
  s->SetTextColor(clBlue);
  s->SetVisible(false);
  s->SetWidth(17);

  TcxEditButtons target(nullptr);
  TcxEditButton* t = target.Add();
  ChangeCounter counter;
  target.OnChange = counter.Handler();
  t->Assign(s);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(t->Caption(), "a&&b");
  EXPECT_EQ(t->VisibleCaption(), "a&b");
  EXPECT_TRUE(t->Default());
  EXPECT_FALSE(t->Enabled());
  ASSERT_TRUE(t->HasGlyph());
  EXPECT_EQ(t->Glyph()->Width(), 4);
  EXPECT_EQ(t->Glyph()->Height(), 3);
  EXPECT_EQ(t->Kind(), bkGlyph);
  EXPECT_TRUE(t->LeftAlignment());
  EXPECT_FALSE(t->Stretchable());
  EXPECT_EQ(t->TextColor(), clBlue);
  EXPECT_FALSE(t->Visible());
  EXPECT_EQ(t->Width(), 17);
}

TEST(EditButtons, VisibleCaptionDropsAcceleratorMarks) {
  struct Case {
    const char* caption;
    const char* visible;
  } cases[] = {{"&x", "x"}, {"a&&b", "a&b"}, {"ab&", "ab_"}, {"", ""}, {"&&&y", "&y"}};
  TcxEditButtons buttons(nullptr);
  TcxEditButton* b = buttons.Add();
  for (const Case& c : cases) {
    b->SetCaption(c.caption);
    EXPECT_EQ(b->VisibleCaption(), c.visible) << c.caption;
  }
}

TEST(EditButtons, NegativeWidthIsRefused) {
  TcxEditButtons buttons(nullptr);
  TcxEditButton* b = buttons.Add();
  b->SetWidth(12);
  b->SetWidth(-5);
  EXPECT_EQ(b->Width(), 12);
}

TEST(EditButtons, GlyphIsMadeOnFirstReadAndItsChangesNotify) {
  TcxEditButtons buttons(nullptr);
  TcxEditButton* b = buttons.Add();
  EXPECT_FALSE(b->HasGlyph());
  ChangeCounter counter;
  buttons.OnChange = counter.Handler();
  b->Glyph()->SetWidth(8);
  EXPECT_TRUE(b->HasGlyph());
  EXPECT_GE(counter.count, 1);
  b->SetGlyph(nullptr);
  EXPECT_FALSE(b->HasGlyph());
}

TEST(EditButtons, VisibleCountCountsVisibleButtons) {
  TcxEditButtons buttons(nullptr);
  for (int i = 0; i < 3; ++i) buttons.Add();
  buttons.Items(1)->SetVisible(false);
  EXPECT_EQ(buttons.VisibleCount(), 2);
}

}  // namespace
