// A form binds a handler only to an event its control publishes: the
// editors publish the docking, editing and pointer events of their lists,
// not only the events every control has.
#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/rtl/TypInfo.h"
#include "suite/editors/EditorsStartup.h"

namespace {

TEST(PublishedEvents, EditorsPublishTheEventsFormsBind) {
  InitializeEditors();
  const auto all = {"OnEditing", "OnEndDock", "OnStartDock", "OnMouseEnter", "OnMouseLeave"};
  const auto dock = {"OnEndDock", "OnStartDock"};
  const auto group = {"OnEditing", "OnEndDock", "OnStartDock"};
  const auto bar = {"OnEndDock", "OnStartDock", "OnMouseEnter", "OnMouseLeave"};
  const struct {
    const char* cls;
    std::initializer_list<const char*> events;
  } cases[] = {
      {"TcxTextEdit", all},    {"TcxMaskEdit", all},       {"TcxComboBox", all},
      {"TcxSpinEdit", all},    {"TcxCurrencyEdit", group}, {"TcxTrackBar", all},
      {"TcxCheckBox", all},    {"TcxRadioGroup", group},   {"TcxGroupBox", dock},
      {"TcxProgressBar", bar},
  };
  for (const auto& c : cases) {
    TClass cls = GetClass(c.cls);
    ASSERT_NE(cls, nullptr) << c.cls;
    for (const char* event : c.events)
      EXPECT_NE(GetPropInfo(cls, event), nullptr) << c.cls << "." << event;
  }
}

}  // namespace
