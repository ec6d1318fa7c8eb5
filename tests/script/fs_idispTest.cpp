#include "script/fs_idisp.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "tests/script/ScriptBuild.h"

using namespace scriptbuild;

namespace {

// Records what reaches the platform's automation interface.
struct FakeDispatch : IDispatch {
  std::u16string Name;
  Word Flags = 0;
  TDispParams Params;
  bool ResultRequested = false;
  Integer Failure = 0;

  Integer GetIDsOfNames(const std::u16string& name, Integer& dispId) override {
    Name = name;
    dispId = 7;
    return 0;
  }
  Integer Invoke(Integer dispId, Word flags, const TDispParams& params, Variant* result,
                 TExcepInfo& info) override {
    EXPECT_EQ(dispId, 7);
    Flags = flags;
    Params = params;
    ResultRequested = result != nullptr;
    if (Failure) {
      info.Source = "Sheet";
      info.Description = "No such cell";
      return Failure;
    }
    if (result) *result = 99;
    return 0;
  }
};

FakeDispatch* gFake = nullptr;

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gFake = &fake;
    fsSetDispatchResolver([](const Variant&) -> IDispatch* { return gFake; });
  }
  void TearDown() override { fsSetDispatchResolver(nullptr); }

  // A member "Cells" with two arguments, as the designator builder makes it.
  std::unique_ptr<TfsOLEHelper> Cells(int i, int j) {
    auto h = std::make_unique<TfsOLEHelper>("Cells");
    h->AddArgument();
    h->AddArgument();
    h->Params(0)->SetValue(i);
    h->Params(1)->SetValue(j);
    return h;
  }

  FakeDispatch fake;
};

TEST_F(AutomationTest, CallsReadsAndAssignmentsPackTheirArguments) {
  auto h = Cells(1, 2);
  EXPECT_EQ(h->GetValue(), 99);
  EXPECT_EQ(fake.Name, u"Cells");
  EXPECT_EQ(fake.Flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  EXPECT_TRUE(fake.ResultRequested);
  ASSERT_EQ(fake.Params.Args.size(), 2u);
  EXPECT_EQ(fake.Params.Args[0], 2);  // the last argument first
  EXPECT_EQ(fake.Params.Args[1], 1);
  EXPECT_TRUE(fake.Params.NamedArgs.empty());

  // A call statement wants no result: a plain method call.
  h->ResultWanted = false;
  h->GetValue();
  EXPECT_EQ(fake.Flags, DISPATCH_METHOD);
  EXPECT_FALSE(fake.ResultRequested);

  // Assigning V with indexes I, J passes V, J, I; V is the property-put argument.
  h->SetValue(std::string("V"));
  EXPECT_EQ(fake.Flags, DISPATCH_PROPERTYPUT);
  ASSERT_EQ(fake.Params.Args.size(), 3u);
  EXPECT_EQ(fake.Params.Args[0], std::string("V"));
  EXPECT_EQ(fake.Params.Args[1], 2);
  EXPECT_EQ(fake.Params.Args[2], 1);
  EXPECT_EQ(fake.Params.NamedArgs, std::vector<Integer>{DISPID_PROPERTYPUT});
  EXPECT_FALSE(fake.ResultRequested);
}

TEST_F(AutomationTest, FailuresAndLimits) {
  fake.Failure = static_cast<Integer>(0x80020006);
  try {
    Cells(1, 1)->GetValue();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.what()),
              "OLE error:80020006: Cells\nSource        ::  Sheet\nDescription ::  No such cell");
  }
  EXPECT_EQ(fsOleErrorText(1, "X", TExcepInfo{"", "", "help.chm"}),
            "OLE error:00000001: X\nHelp File     ::  help.chm");

  TfsOLEHelper many("Many");
  for (int i = 0; i < fsMaxDispatchArgs; ++i) many.AddArgument();
  fake.Failure = 0;
  EXPECT_NO_THROW(many.GetValue());
  EXPECT_THROW(many.SetValue(1), Exception);  // one more than the block holds
  many.AddArgument();
  EXPECT_THROW(many.GetValue(), Exception);
}

TEST(AutomationUnavailable, MembersRaiseAClearError) {
  TfsOLEHelper h("Visible");
  try {
    h.SetValue(true);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("Automation objects are not supported"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("Visible"), std::string::npos);
  }
}

}  // namespace
