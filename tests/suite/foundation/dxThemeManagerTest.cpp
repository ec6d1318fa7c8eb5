#include "suite/foundation/dxThemeManager.h"

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"

using namespace fake_theme;

namespace {

struct Subscriber {
  explicit Subscriber(std::vector<std::string>* log, std::string name, bool raise = false)
      : log_(log), name_(std::move(name)), raise_(raise) {
    n.OnThemeChanged = TNotifyEvent(this, &Subscriber::Changed);
  }
  void Changed(TObject*) {
    log_->push_back(name_ + (AreThemesAvailable(0) ? " on" : " off"));
    if (raise_) throw Exception("subscriber failed");
  }
  std::vector<std::string>* log_;
  std::string name_;
  bool raise_;
  TdxThemeChangedNotificator n;
};

}  // namespace

using ThemeManager = FakeThemeTest;

TEST(dxUxTheme, StartUpFactsAndTheClassTable) {
  EXPECT_TRUE(IsWinXPOrNewer());
  EXPECT_TRUE(VisualStyleLibraryPresent());
  const std::pair<int, std::u16string> names[] = {{0, u"Button"},     {2, u"ComboBox"}, {11, u"ScrollBar"},
                                                  {15, u"Tab"},       {22, u"TreeView"}, {23, u"Window"}};
  for (const auto& [i, name] : names) EXPECT_EQ(ThemeClassName(i), name);
  // Every entry point of the system's library is found by its name.
  const TdxUxThemeEntryPoints& e = UxThemeEntryPoints();
  EXPECT_TRUE(e.OpenThemeData && e.CloseThemeData && e.DrawThemeBackground && e.SetWindowTheme &&
              e.GetThemeSysString && e.IsThemeDialogTextureEnabled);
  EXPECT_EQ(SystemUxThemeLookup("NoSuchEntry"), nullptr);
}

TEST_F(ThemeManager, AvailabilityNeedsActiveStylesNotAnOpenClass) {
  for (int i = 0; i < ThemeClassCount; ++i) lib().refused.insert(Upper(ThemeClassName(i)));
  EXPECT_TRUE(AreThemesAvailable(0));
  EXPECT_FALSE(IsThemeClassAvailable(ThemeClassButton));
  lib().refused = {u"SCROLLBAR"};
  EXPECT_TRUE(AreThemesAvailable(ThemeClassMask(ThemeClassButton) | ThemeClassMask(ThemeClassHeader)));
  EXPECT_FALSE(AreThemesAvailable(ThemeClassMask(ThemeClassButton) | ThemeClassMask(ThemeClassScrollBar)));
  EXPECT_FALSE(IsThemeClassAvailable(ThemeClassScrollBar));
  // A failed open leaves the entry closed; the next request tries again.
  lib().refused.clear();
  EXPECT_TRUE(IsThemeClassAvailable(ThemeClassScrollBar));
}

TEST_F(ThemeManager, HandlesAreCachedAndReopenedForAnotherClassList) {
  win::HTHEME h = OpenThemeByIndex(ThemeClassComboBox);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(OpenThemeByIndex(ThemeClassComboBox, u"COMBOBOX"), h);
  EXPECT_EQ(lib().opened.size(), 1u);
  win::HTHEME other = OpenThemeByIndex(ThemeClassComboBox, u"Edit;ComboBox");
  EXPECT_NE(other, h);
  EXPECT_EQ(lib().closed, 1);
  EXPECT_EQ(lib().opened.back(), u"Edit;ComboBox");
  // After an explicit close the default name is used again; CloseAllThemes
  // keeps the remembered list.
  OpenThemeByIndex(ThemeClassHeader, u"Header;ListView");
  CloseAllThemes();
  OpenThemeByIndex(ThemeClassHeader);
  EXPECT_EQ(lib().opened.back(), u"Header;ListView");
  EXPECT_NE(CloseThemeByIndex(ThemeClassHeader), 1);
  EXPECT_EQ(CloseThemeByIndex(ThemeClassHeader), 0) << "not open";
  OpenThemeByIndex(ThemeClassHeader);
  EXPECT_EQ(lib().opened.back(), u"Header");
}

TEST_F(ThemeManager, IndexesOutsideTheTableOpenAndCloseNothing) {
  const size_t opened = lib().opened.size();
  for (int i : {-1, 24, 127, 128, 1000}) {
    EXPECT_EQ(OpenThemeByIndex(i), nullptr) << i;
    EXPECT_EQ(CloseThemeByIndex(i), 0) << i;
    EXPECT_FALSE(IsThemeClassAvailable(i)) << i;
  }
  EXPECT_EQ(lib().opened.size(), opened);
}

TEST_F(ThemeManager, ThemeChangeClosesHandlesAndTellsSubscribersOnce) {
  std::vector<std::string> log;
  Subscriber a(&log, "a"), b(&log, "b");
  TdxThemeChangedNotificator silent;  // no handler: skipped
  ASSERT_NE(OpenThemeByIndex(ThemeClassButton), nullptr);
  lib().active = false;
  ASSERT_NE(ThemeChangedReceiverWindow(), nullptr);
  EXPECT_EQ(win::SendMessage(ThemeChangedReceiverWindow(), win::WM_THEMECHANGED, 0, 0), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"a off", "b off"}));
  EXPECT_EQ(lib().closed, 1);
  EXPECT_FALSE(ThemesActive());
  EXPECT_FALSE(AreThemesAvailable(0));
  EXPECT_EQ(OpenThemeByIndex(ThemeClassButton), nullptr);
  EXPECT_EQ(CloseThemeByIndex(ThemeClassButton), 1);
  lib().active = true;
  win::SendMessage(ThemeChangedReceiverWindow(), win::WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(log.back(), "b on");
}

TEST_F(ThemeManager, AFailingSubscriberGoesToTheApplication) {
  std::vector<std::string> log;
  Subscriber a(&log, "a", true), b(&log, "b");
  std::string handled;
  struct Catcher {
    std::string* out;
    void Handle(TObject*, Exception* E) { *out = E->Message; }
  } catcher{&handled};
  Application->OnException = TExceptionEvent(&catcher, &Catcher::Handle);
  win::SendMessage(ThemeChangedReceiverWindow(), win::WM_THEMECHANGED, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(handled, "subscriber failed");
  EXPECT_EQ(log, (std::vector<std::string>{"a on"}));
}

TEST_F(ThemeManager, WithoutTheLibraryNothingIsAvailable) {
  std::vector<std::string> log;
  LoadVisualStyleLibrary(nullptr);
  Subscriber a(&log, "a");
  EXPECT_FALSE(VisualStyleLibraryPresent());
  EXPECT_FALSE(AreThemesAvailable(0));
  EXPECT_EQ(OpenThemeByIndex(ThemeClassButton), nullptr);
  EXPECT_EQ(CloseThemeByIndex(ThemeClassButton), 1);
  EXPECT_EQ(ThemeChangedReceiverWindow(), nullptr);
  EXPECT_TRUE(lib().opened.empty());
  const win::RECT r{0, 0, 1, 1};
  EXPECT_TRUE(win::FAILED(UxDrawThemeBackground(nullptr, nullptr, 1, 1, r)));
  EXPECT_TRUE(log.empty());
}

TEST(dxThemeManagerSystem, TheSystemLibraryAnswersConsistently) {
  // Whichever mode the platform runs in, availability and handles agree.
  const bool active = ThemesActive();
  EXPECT_EQ(AreThemesAvailable(0), active);
  EXPECT_EQ(OpenThemeByIndex(ThemeClassButton) != nullptr, active);
}
