// The registry of tab styles against fake painter classes: registration,
// the search by ID and by look-and-feel, the default style and its errors.
#include "suite/pagecontrol/cxPCPaintersFactory.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

const FakePainterClass kTabs(1, "Tabs", {1, 3}, FakePainterClass::WithNativeStyle);
const FakePainterClass kButtons(2, "Buttons");
const FakePainterClass kFlat(7, "Flat", {0}, FakePainterClass::WithNativeStyle);

}  // namespace

TEST(PaintersFactory, RegistrationSearchAndDefaults) {
  FactoryScope factory{{&kTabs, &kButtons, &kFlat}};
  TcxPCPaintersFactory* f = PaintersFactory();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->PainterClassCount(), 3);
  RegisterPCPainterClass(&kTabs);  // once only
  EXPECT_EQ(f->PainterClassCount(), 3);
  EXPECT_EQ(f->PainterClasses(2), &kFlat);
  EXPECT_EQ(f->FindPainterClass(7), &kFlat);
  EXPECT_EQ(f->FindPainterClass(4), nullptr);
  try {
    f->GetPainterInstance(nullptr, nullptr);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "TcxPCPaintersFactory.GetPainterInstance: PCPainterClass is nil");
  }

  // The default style: Flat (the last that says so) while NativeStyle is
  // on, else the first registered.
  TcxLookAndFeel lookAndFeel(nullptr);
  lookAndFeel.SetKind(lfUltraFlat);
  EXPECT_EQ(f->GetStyleIDForLookAndFeel(&lookAndFeel), -1);
  lookAndFeel.SetNativeStyle(true);
  EXPECT_EQ(f->GetDefaultStyleID(&lookAndFeel), 7);
  lookAndFeel.SetNativeStyle(false);
  EXPECT_EQ(f->GetDefaultStyleID(&lookAndFeel), 1);
  lookAndFeel.SetKind(lfFlat);
  EXPECT_EQ(f->GetStyleIDForLookAndFeel(&lookAndFeel), 7);

  // The last class out takes the factory along.
  UnregisterPCPainterClass(&kTabs);
  UnregisterPCPainterClass(&kButtons);
  EXPECT_NE(PaintersFactory(), nullptr);
  UnregisterPCPainterClass(&kFlat);
  EXPECT_EQ(PaintersFactory(), nullptr);
  UnregisterPCPainterClass(&kTabs);  // no factory: nothing

  // No style at all: a tab control cannot be made.
  try {
    FakeTabControl control;
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "TcxPCPaintersFactory.GetDefaultStyleID: There are no styles registered");
  }
  TcxPCPaintersFactory empty;
  EXPECT_THROW(empty.GetDefaultStyleID(&lookAndFeel), Exception);
}
