// Editor properties: one notice per batch, suppressed notices while the
// owner dies, read-only resolution through the provider, the alignment that
// shows the effective value and keeps its handler after being written to a
// stream, assignment, validation through OnValidate, the live list and the
// provider's release.
#include "suite/editors/cxEditProperties.h"

#include <gtest/gtest.h>

namespace {

struct ChangeCounter {
  void Changed(TObject*) { ++count; }
  TNotifyEvent Handler() { return TNotifyEvent(this, &ChangeCounter::Changed); }
  int count = 0;
};

class StateComponent : public TComponent {
 public:
  using TComponent::TComponent;
  void SetWriting(bool On) { SetState(csWriting, On); }
};

class Provider : public TcxCustomEditDefaultValuesProvider {
 public:
  Provider() : TcxCustomEditDefaultValuesProvider(nullptr) {}
  TAlignment DefaultAlignment() override { return alignment; }
  bool DefaultReadOnly() override { return readOnly; }
  bool DefaultCanModify() override { return canModify; }
  bool DefinesDisplayFormat(bool IncludeCurrency) override {
    lastIncludeCurrency = IncludeCurrency;
    return definesDisplayFormat;
  }
  TAlignment alignment = taRightJustify;
  bool readOnly = false;
  bool canModify = true;
  bool definesDisplayFormat = true;
  bool lastIncludeCurrency = false;
};

// A kind that validates its display value.
class ValidatingProperties : public TcxCustomEditProperties {
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  bool ValidatesDisplayValue() override { return true; }
};

// A kind whose display format may come from the provider.
class FormattedProperties : public TcxCustomEditProperties {
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  Byte DisplayFormatOptions() override { return options; }
  Integer EditValueSource(bool Focused) override { return Focused ? 0 : 1; }
  Byte options = dfoSupports;
};

// An editor with its own properties and, optionally, a shared item's.
class EditorStandIn : public TComponent, public IcxEditPropertiesEditor {
 public:
  EditorStandIn() : TComponent(nullptr), own(this) {}
  TcxCustomEditProperties* OwnEditProperties() override { return &own; }
  TcxCustomEditProperties* ActiveEditProperties() override { return shared ? shared : &own; }
  void FireOnValidate(Variant& DisplayValue, std::string& ErrorText, bool& Error) override {
    if (own.OnValidate) own.OnValidate(this, DisplayValue, ErrorText, Error);
    if (shared && shared->OnValidate) shared->OnValidate(this, DisplayValue, ErrorText, Error);
  }
  std::string CurrentDisplayText() override { return displayText; }
  ValidatingProperties own;
  TcxCustomEditProperties* shared = nullptr;
  std::string displayText = "shown";
};

struct ValidateHandler {
  void Validate(TObject*, Variant& DisplayValue, std::string& ErrorText, bool& Error) {
    ++calls;
    seenErrorText = ErrorText;
    if (replacement) DisplayValue = Variant(std::string(replacement));
    Error = setError;
  }
  TcxEditValidateEvent Handler() { return TcxEditValidateEvent(this, &ValidateHandler::Validate); }
  int calls = 0;
  const char* replacement = nullptr;
  bool setError = true;
  std::string seenErrorText;
};

TEST(EditProperties, ABatchOfChangesGivesOneNotice) {
  TcxCustomEditProperties p(nullptr);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  p.LockChanges();
  p.LockChanges();
  for (int i = 0; i < 5; ++i) {
    p.SetAutoSelect(i % 2 == 0);
    p.SetTransparent(i % 2 == 1);
  }
  p.UnlockChanges(true);
  EXPECT_EQ(counter.count, 0);
  p.UnlockChanges(true);
  EXPECT_EQ(counter.count, 1);

  p.LockChanges();
  p.SetButtonsViewStyle(2);
  p.UnlockChanges(false);
  EXPECT_EQ(counter.count, 1);

  p.UnlockChanges(true);
  EXPECT_EQ(p.UpdateCount(), 0);
  EXPECT_EQ(counter.count, 1);
  p.SetUseLeftAlignmentOnEditing(false);
  EXPECT_EQ(counter.count, 2);
  p.SetChangeLock(true);
  p.SetUseLeftAlignmentOnEditing(true);
  EXPECT_EQ(counter.count, 2);
}

TEST(EditProperties, NoNoticeWhileTheOwnerIsBeingDestroyed) {
  TComponent owner(nullptr);
  TcxCustomEditProperties p(&owner);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  p.Buttons()->Add();
  EXPECT_EQ(counter.count, 1);
  owner.Destroying();
  p.SetAutoSelect(false);
  EXPECT_EQ(counter.count, 1);
}

TEST(EditProperties, ReadOnlyAndCanModifyFollowTheProvider) {
  Provider provider;
  TcxCustomEditProperties p(nullptr);
  EXPECT_FALSE(p.ReadOnly());
  EXPECT_TRUE(p.CanModify());
  p.SetDefaultValuesProvider(&provider);
  provider.readOnly = true;
  EXPECT_TRUE(p.ReadOnly());
  EXPECT_FALSE(p.CanModify());
  provider.readOnly = false;
  provider.canModify = false;
  EXPECT_FALSE(p.CanModify());
  EXPECT_FALSE(p.IsReadOnlyStored());
  provider.readOnly = true;
  p.SetReadOnly(false);
  EXPECT_FALSE(p.ReadOnly());
  EXPECT_TRUE(p.CanModify());  // assigned and not read-only: the provider is not asked
  EXPECT_TRUE(p.IsReadOnlyStored());
  p.SetReadOnly(true);
  EXPECT_TRUE(p.ReadOnly());
  EXPECT_FALSE(p.CanModify());
}

TEST(EditProperties, UnassignedAlignmentShowsTheProvidersButIsNotStored) {
  Provider provider;
  TcxCustomEditProperties p(nullptr);
  EXPECT_EQ(p.Alignment()->Horz(), taLeftJustify);
  p.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(p.Alignment()->Horz(), taRightJustify);
  EXPECT_FALSE(p.Alignment()->IsHorzAssigned());
  EXPECT_FALSE(p.IsAlignmentStored());
  p.Alignment()->SetHorz(taLeftJustify);
  EXPECT_TRUE(p.IsAlignmentStored());
  EXPECT_EQ(p.Alignment()->Horz(), taLeftJustify);
  p.RestoreDefaults();
  EXPECT_FALSE(p.IsAlignmentStored());
  EXPECT_EQ(p.Alignment()->Horz(), taRightJustify);
  p.Alignment()->SetVert(taVCenter);
  EXPECT_TRUE(p.IsAlignmentStored());
  EXPECT_TRUE(p.Alignment()->IsVertStored());
  EXPECT_FALSE(p.Alignment()->IsHorzStored());
}

TEST(EditProperties, AlignmentKeepsItsHandlerAfterTheOwnerWasWritten) {
  StateComponent owner(nullptr);
  TcxCustomEditProperties p(&owner);
  ChangeCounter counter;
  p.OnPropertiesChanged = counter.Handler();
  p.Alignment()->SetHorz(taCenter);
  owner.SetWriting(true);
  TcxEditAlignment* written = p.Alignment();
  EXPECT_EQ(written->Horz(), taCenter);
  owner.SetWriting(false);
  const int before = counter.count;
  written->SetHorz(taRightJustify);
  EXPECT_EQ(p.InnerAlignment()->Horz(), taRightJustify);
  EXPECT_EQ(counter.count, before + 1);
}

TEST(EditProperties, AssignCopiesSettingsAndEventsButNotOnClosePopup) {
  TcxCustomEditProperties source(nullptr);
  ValidateHandler validate;
  ChangeCounter sourceEvents;
  source.SetAutoSelect(false);
  source.Buttons()->Add()->SetKind(bkEllipsis);
  source.SetButtonsViewStyle(1);
  source.SetBeepOnError(true);
  source.SetClearKey(46);
  source.SetClickKey(13);
  source.SetUseLeftAlignmentOnEditing(false);
  source.Alignment()->SetHorz(taCenter);
  source.SetReadOnly(true);
  source.SetImmediatePost(true);
  source.SetTransparent(true);
  source.SetUseMouseWheel(false);
  source.SetValidateOnEnter(true);
  source.OnChange = sourceEvents.Handler();
  source.OnEditValueChanged = sourceEvents.Handler();
  source.OnValidate = validate.Handler();
  struct Clicks {
    void Click(TObject*, Integer) {}
    void Closed(TObject*, Integer) {}
  } clicks, targetClicks;
  source.OnButtonClick = TcxEditButtonClickEvent(&clicks, &Clicks::Click);
  source.OnClosePopup = TcxEditClosePopupEvent(&clicks, &Clicks::Closed);

  TcxCustomEditProperties target(nullptr);
  const TcxEditClosePopupEvent ownClosePopup(&targetClicks, &Clicks::Closed);
  target.OnClosePopup = ownClosePopup;
  ChangeCounter counter;
  target.OnPropertiesChanged = counter.Handler();
  target.Assign(&source);
  EXPECT_EQ(counter.count, 1);
  EXPECT_FALSE(target.AutoSelect());
  ASSERT_EQ(target.Buttons()->Count(), 1);
  EXPECT_EQ(target.Buttons()->Items(0)->Kind(), bkEllipsis);
  EXPECT_EQ(target.ButtonsViewStyle(), 1);
  EXPECT_TRUE(target.BeepOnError());
  EXPECT_EQ(target.ClearKey(), 46);
  EXPECT_EQ(target.ClickKey(), 13);
  EXPECT_FALSE(target.UseLeftAlignmentOnEditing());
  EXPECT_EQ(target.InnerAlignment()->Horz(), taCenter);
  EXPECT_TRUE(target.InnerAlignment()->IsHorzAssigned());
  EXPECT_TRUE(target.ReadOnly());
  EXPECT_TRUE(target.ImmediatePost());
  EXPECT_TRUE(target.Transparent());
  EXPECT_FALSE(target.UseMouseWheel());
  EXPECT_TRUE(target.ValidateOnEnter());
  EXPECT_TRUE(target.OnChange == source.OnChange);
  EXPECT_TRUE(target.OnEditValueChanged == source.OnEditValueChanged);
  EXPECT_TRUE(target.OnValidate == source.OnValidate);
  EXPECT_TRUE(target.OnButtonClick == source.OnButtonClick);
  EXPECT_TRUE(target.OnClosePopup == ownClosePopup);

  // An unassigned read-only state in the source clears the target's.
  TcxCustomEditProperties plain(nullptr);
  target.Assign(&plain);
  EXPECT_FALSE(target.AssignedValues()->ReadOnly());
  EXPECT_FALSE(target.ReadOnly());
}

TEST(EditProperties, ValidationRunsOnValidateOnlyForKindsThatValidate) {
  EditorStandIn editor;
  ValidateHandler handler;
  handler.setError = false;
  TcxCustomEditProperties plain(nullptr);
  plain.OnValidate = handler.Handler();
  editor.own.OnValidate = handler.Handler();
  Variant value(std::string("typed"));
  std::string errorText;
  bool error = false;
  plain.ValidateDisplayValue(value, errorText, error, &editor);
  EXPECT_EQ(handler.calls, 0);
  EXPECT_TRUE(errorText.empty());

  editor.own.ValidateDisplayValue(value, errorText, error, &editor);
  EXPECT_EQ(handler.calls, 1);
  EXPECT_EQ(handler.seenErrorText, "Invalid input value. Use escape key to abandon changes");
  EXPECT_EQ(VarToStr(value), "typed");
}

TEST(EditProperties, OnValidateErrorWithUnchangedTextShowsTheDisplayTextAgain) {
  struct Case {
    const char* replacement;
    const char* expectedValue;
    bool expectedChanged;
  } cases[] = {{nullptr, "shown", false}, {"typed", "shown", false}, {"fixed", "fixed", true}};
  for (const Case& c : cases) {
    EditorStandIn editor;
    ValidateHandler handler;
    handler.replacement = c.replacement;
    editor.own.OnValidate = handler.Handler();
    Variant value(std::string("typed"));
    std::string errorText = "bad";
    bool error = false;
    bool changed = true;
    editor.own.RunOnValidate(value, errorText, error, &editor, changed);
    EXPECT_TRUE(error);
    EXPECT_EQ(VarToStr(value), c.expectedValue) << (c.replacement ? c.replacement : "nil");
    EXPECT_EQ(changed, c.expectedChanged);
  }
}

TEST(EditProperties, OnValidateOfALinkedItemRunsAfterTheEditorsOwn) {
  EditorStandIn editor;
  TcxCustomEditProperties shared(nullptr);
  editor.shared = &shared;
  ValidateHandler sharedHandler;
  sharedHandler.setError = false;
  shared.OnValidate = sharedHandler.Handler();
  Variant value(std::string("x"));
  std::string errorText;
  bool error = false;
  bool changed = false;
  editor.own.RunOnValidate(value, errorText, error, &editor, changed);
  EXPECT_EQ(sharedHandler.calls, 1);
  editor.shared = nullptr;
  editor.own.RunOnValidate(value, errorText, error, &editor, changed);
  EXPECT_EQ(sharedHandler.calls, 1);
}

TEST(EditProperties, SupportedOperationsTellWhetherThereAreButtons) {
  TcxCustomEditProperties p(nullptr);
  EXPECT_EQ(p.SupportedOperations(), 0u);
  p.Buttons()->Add();
  p.Buttons()->Add();
  EXPECT_EQ(p.SupportedOperations(), 32u);
}

TEST(EditProperties, ProviderDisplayFormatNeedsTheOptionAndAProvider) {
  Provider provider;
  FormattedProperties p(nullptr);
  EXPECT_FALSE(p.UsesProviderDisplayFormat(false));
  EXPECT_FALSE(p.IsProviderDisplayFormatApplicable());
  p.SetDefaultValuesProvider(&provider);
  EXPECT_TRUE(p.UsesProviderDisplayFormat(false));
  EXPECT_TRUE(provider.lastIncludeCurrency);
  EXPECT_FALSE(p.UsesProviderDisplayFormat(true));
  EXPECT_TRUE(p.IsProviderDisplayFormatApplicable());
  p.options = dfoSupports | dfoNoCurrencyValue;
  EXPECT_TRUE(p.UsesProviderDisplayFormat(false));
  EXPECT_FALSE(provider.lastIncludeCurrency);
  p.options = 0;
  EXPECT_FALSE(p.UsesProviderDisplayFormat(false));
  EXPECT_FALSE(p.IsProviderDisplayFormatApplicable());
}

TEST(EditProperties, ANewProviderIsAnnouncedOnlyToAnEditor) {
  Provider provider;
  EditorStandIn editor;
  ChangeCounter counter;
  editor.own.OnPropertiesChanged = counter.Handler();
  editor.own.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(counter.count, 1);
  TComponent item(nullptr);
  TcxCustomEditProperties shared(&item);
  shared.OnPropertiesChanged = counter.Handler();
  shared.SetDefaultValuesProvider(&provider);
  EXPECT_EQ(counter.count, 1);
}

TEST(EditProperties, ADyingProviderIsReleasedFromEveryLiveProperties) {
  TcxCustomEditProperties a(nullptr), b(nullptr);
  auto provider = std::make_unique<Provider>();
  Provider other;
  a.SetDefaultValuesProvider(provider.get());
  b.SetDefaultValuesProvider(&other);
  const auto& live = LivePropertiesList();
  EXPECT_NE(std::find(live.begin(), live.end(), &a), live.end());
  provider.reset();
  EXPECT_EQ(a.DefaultValuesProvider(), nullptr);
  EXPECT_EQ(b.DefaultValuesProvider(), &other);
  const TcxCustomEditProperties* gone = nullptr;
  {
    TcxCustomEditProperties c(nullptr);
    EXPECT_EQ(live.back(), &c);
    gone = &c;
  }
  EXPECT_EQ(std::find(live.begin(), live.end(), gone), live.end());
}

TEST(EditProperties, EditValuesEqualAndCreateOfSameClass) {
  ValidatingProperties p(nullptr);
  EXPECT_TRUE(p.EditValuesEqual(Variant(std::string("1")), Variant(std::string("1"))));
  EXPECT_FALSE(p.EditValuesEqual(Variant(std::string("1")), Variant(std::string("2"))));
  TcxCustomEditProperties base(nullptr);
  std::unique_ptr<TcxCustomEditProperties> copy = base.CreateOfSameClass();
  EXPECT_EQ(copy->ClassType(), TcxCustomEditProperties::StaticClass());
  EXPECT_EQ(copy->GetOwner(), nullptr);
}

}  // namespace
