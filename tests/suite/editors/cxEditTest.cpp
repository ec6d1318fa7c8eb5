// The editor base through a small test editor whose "inner edit" is a
// string: value flow and the order of the change events, held-back events,
// the modified flags and their stack, editing permission with read-only
// settings, providers and in-place use, validation (valid, invalid with and
// without a message, a handler changing the display value, refusal by the
// host), locks and stack released after a failed validation, posting and its
// failures, reset, the repository link, and the small shared routines.
#include "suite/editors/cxEdit.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Gdi.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/foundation/cxTimer.h"

class TTestEditProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TTestEditProperties)

 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  bool ValidatesDisplayValue() override { return true; }
  bool ComparesEditValues() override { return compares; }
  bool HasSeparateChangeEvents() override { return separate; }
  bool IsResettable() override { return true; }
  bool compares = true;
  bool separate = false;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestEditProperties, TcxCustomEditProperties)

class TTestEditItem : public TcxEditRepositoryItemOf<TTestEditProperties> {
  VXN_DECLARE_CLASS(TTestEditItem)

 public:
  explicit TTestEditItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestEditItem, TcxEditRepositoryItem)

// Measures a content of a fixed size, so that an auto-sizing editor's height
// is known.
class SizedViewData : public TcxCustomEditViewData {
 public:
  void CalculateEditSize(TcxCanvas*, const Variant&, const TcxEditSizeLimits&, TSize& ASize) override {
    ASize = {40, 17};
  }
};

class TSizedEditProperties : public TTestEditProperties {
  VXN_DECLARE_CLASS(TSizedEditProperties)

 public:
  using TTestEditProperties::TTestEditProperties;
  TcxCustomEditViewDataClass ViewDataClass() override { return EditViewDataClassOf<SizedViewData>(); }
};
VXN_IMPLEMENT_CREATABLE_CLASS(TSizedEditProperties, TTestEditProperties)


namespace {

class TestProvider : public TcxCustomEditDefaultValuesProvider {
 public:
  using TcxCustomEditDefaultValuesProvider::TcxCustomEditDefaultValuesProvider;
  bool DefaultCanModify() override { return canModify; }
  bool IsDataAware() override { return dataAware; }
  bool canModify = true;
  bool dataAware = false;
};

class TestBinding : public TcxEditDataBinding {
 public:
  using TcxEditDataBinding::TcxEditDataBinding;
  TcxCustomEditDefaultValuesProviderClass ProviderClass() override {
    return &CreateEditDefaultValuesProvider<TestProvider>;
  }
  TestProvider* Provider() { return static_cast<TestProvider*>(DefaultValuesProvider()); }
  bool BeginEdit() override {
    ++beginEdits;
    return allowEdit;
  }
  void WriteValue(const Variant& Value) override {
    if (refuseWrite) throw Exception("refused");
    written.push_back(Value);
  }
  void StoredValue(Variant& Value) override { Value = stored; }
  // A data-bound binding knows whether its data are being edited.
  bool Modified() override { return modified.value_or(TcxEditDataBinding::Modified()); }
  std::optional<bool> modified;
  int beginEdits = 0;
  bool allowEdit = true;
  bool refuseWrite = false;
  Variant stored;
  std::vector<Variant> written;
};

TcxCustomEditKind TestKind() {
  TcxCustomEditKind kind;
  kind.PropertiesClass = TTestEditProperties::StaticClass();
  kind.DataBindingClass = &CreateEditDataBinding<TestBinding>;
  return kind;
}

// The shown text stands in for an inner edit.
class TestEdit : public TcxCustomEdit {
 public:
  explicit TestEdit(TComponent* AOwner, bool AIsInplace = false) : TcxCustomEdit(AOwner, AIsInplace, TestKind()) {}
  using TcxCustomEdit::DoEnter;
  using TcxCustomEdit::DoExit;
  using TcxCustomEdit::PropertiesChanged;

  TTestEditProperties* Props() { return static_cast<TTestEditProperties*>(Properties()); }
  TestBinding* Binding() { return static_cast<TestBinding*>(DataBinding()); }
  // The user types Text.
  void Type(const std::string& Text) {
    text = Text;
    SetEditingModified(true);
  }

  void DisplayTextOfValue(std::string& Text) override { Text = text; }
  void UpdateTextFromEditValue() override { text = VarToStr(EditValue()); }
  void SetInnerEditValue(const Variant& Value) override { text = VarToStr(Value); }
  void ApplyDisplayValue(const Variant& Value) override { AssignEditValue(Value); }
  void SelectWholeText() override { ++selections; }
  void PropertiesChanged(TObject* Sender) override {
    ++propertiesChanges;
    TcxCustomEdit::PropertiesChanged(Sender);
  }

  std::string text;
  int selections = 0;
  int propertiesChanges = 0;
};

struct EventLog : TObject {
  std::vector<std::string> lines;
  void Change(TObject*) { lines.push_back("change"); }
  void ItemChange(TObject*) { lines.push_back("item change"); }
  void ValueChanged(TObject*) { lines.push_back("value"); }
  void Exit(TObject*) { lines.push_back("exit"); }
  void Posted(TObject*) { lines.push_back("posted"); }
  void Refuse(TObject*) { throw Exception("host refuses"); }
  void Editing(TObject*, bool& CanEdit) {
    lines.push_back("editing");
    if (edit) edit->SetEditValue(Variant("from handler"));
    CanEdit = allowEditing;
  }
  void Validate(TObject*, Variant& DisplayValue, std::string& ErrorText, bool& Error) {
    Error = failValidation;
    if (replaceText) ErrorText = *replaceText;
    if (replaceValue) DisplayValue = Variant(*replaceValue);
  }
  void Hook(TestEdit* e) {
    edit = nullptr;
    e->Properties()->OnChange = TNotifyEvent(this, &EventLog::Change);
    e->Properties()->OnEditValueChanged = TNotifyEvent(this, &EventLog::ValueChanged);
  }
  TcxCustomEdit* edit = nullptr;
  bool allowEditing = true;
  bool failValidation = true;
  std::optional<std::string> replaceText;
  std::optional<std::string> replaceValue;
};

std::vector<std::string> Lines(std::initializer_list<const char*> l) { return {l.begin(), l.end()}; }

// --- value and change events --------------------------------------------------

TEST(Edit, ValueStartsNullAndChangeEventsFollowRealChangesValueEventFirst) {
  TestEdit edit(nullptr);
  EventLog log;
  log.Hook(&edit);
  EXPECT_TRUE(VarIsNull(edit.EditValue()));
  EXPECT_FALSE(edit.MustStoreEditValue());

  edit.SetEditValue(Variant(1.0));
  EXPECT_EQ(log.lines, Lines({"value", "change"}));
  EXPECT_TRUE(edit.MustStoreEditValue());
  edit.SetEditValue(Variant(1.0));
  EXPECT_EQ(log.lines.size(), 2u) << "the same value again changes nothing";
  edit.SetEditValue(Variant(1));
  EXPECT_EQ(log.lines.size(), 4u) << "an integer after a double of the same number is a change";
  EXPECT_EQ(edit.text, "1");
  EXPECT_FALSE(edit.Modified()) << "a program's assignment leaves the editor unmodified";

  // Separate change events: the value event alone.
  edit.Props()->separate = true;
  edit.SetEditValue(Variant(2));
  EXPECT_EQ(log.lines.back(), "value");
  EXPECT_EQ(log.lines.size(), 5u);

  // A kind that does not compare values fires nothing on assignment.
  edit.Props()->compares = false;
  edit.Props()->separate = false;
  edit.SetEditValue(Variant(3));
  EXPECT_EQ(log.lines.size(), 5u);
  EXPECT_EQ(edit.EditValue(), Variant(3));
}

TEST(Edit, HeldBackEventsFireOnceChangeFirstOnlyWhenAskedTo) {
  for (bool invoke : {true, false}) {
    TestEdit edit(nullptr);
    EventLog log;
    log.Hook(&edit);
    edit.LockChangeEvents(true);
    edit.LockChangeEvents(true);
    for (int i = 1; i <= 3; ++i) edit.SetEditValue(Variant(i));
    edit.LockChangeEvents(false, invoke);
    EXPECT_TRUE(log.lines.empty()) << "nothing while the outer lock holds";
    edit.LockChangeEvents(false, invoke);
    EXPECT_EQ(log.lines, invoke ? Lines({"change", "value"}) : Lines({})) << invoke;
    edit.LockChangeEvents(false, true);  // an extra unlock is harmless
    EXPECT_FALSE(edit.ChangeEventsLocked());
  }
}

TEST(Edit, NotifyChangeImpliesTheValueEventForKindsThatDoNotCompare) {
  TestEdit edit(nullptr);
  EventLog log;
  log.Hook(&edit);
  edit.Props()->compares = false;
  edit.NotifyChange();
  EXPECT_EQ(log.lines, Lines({"change", "value"}));
  log.lines.clear();
  edit.Props()->compares = true;
  edit.NotifyChange();
  EXPECT_EQ(log.lines, Lines({"change"}));
}

TEST(Edit, InPlaceHandlersSeeAModifiedEditorThatIsRestoredAfter) {
  TestEdit edit(nullptr, true);
  bool seen = false;
  struct Probe : TObject {
    TestEdit* e;
    bool* seen;
    void Change(TObject*) { *seen = e->Modified() && e->ModifiedAfterEnter(); }
  } probe;
  probe.e = &edit;
  probe.seen = &seen;
  edit.Properties()->OnChange = TNotifyEvent(&probe, &Probe::Change);
  edit.SetEditValue(Variant("x"));
  EXPECT_TRUE(seen);
  EXPECT_FALSE(edit.Modified());
  EXPECT_EQ(edit.ModifiedStateDepth(), 0u);
}

// --- modified flags --------------------------------------------------------------

TEST(Edit, ModifiedFlagsAndTheirStack) {
  TestEdit edit(nullptr);
  edit.SetEditingModified(true);
  EXPECT_TRUE(edit.Modified());
  EXPECT_TRUE(edit.ModifiedAfterEnter());
  EXPECT_FALSE(edit.Validated());
  edit.PushModifiedState();
  edit.SetModifiedState(false);
  EXPECT_FALSE(edit.Modified());
  EXPECT_FALSE(edit.ModifiedAfterEnter());
  edit.SetModifiedState(true);
  EXPECT_FALSE(edit.ModifiedAfterEnter()) << "only a False value touches the editing flag";
  edit.PopModifiedState();
  EXPECT_TRUE(edit.Modified());
  EXPECT_TRUE(edit.ModifiedAfterEnter());
  EXPECT_EQ(edit.ModifiedStateDepth(), 0u);
  edit.SetEditingModified(false);
  EXPECT_TRUE(edit.Modified()) << "clearing the editing flag keeps Modified";
}

// --- editing permission ------------------------------------------------------------

TEST(Edit, QueryEditingFollowsReadOnlyTheProviderAndTheHandler) {
  struct Case {
    const char* name;
    int readOnly;  // -1 unassigned
    bool providerCanModify;
    bool handlerAllows;
    bool bindingAllows;
    bool expected;
  } cases[] = {
      {"defaults", -1, true, true, true, true},
      {"provider refuses", -1, false, true, true, false},
      {"ReadOnly False overrides the provider", 0, false, true, true, true},
      {"ReadOnly True", 1, true, true, true, false},
      {"handler refuses", -1, true, false, true, false},
      {"binding refuses to edit", -1, true, true, false, false},
  };
  for (const Case& c : cases) {
    TestEdit edit(nullptr);
    EventLog log;
    edit.OnEditing = TcxEditEditingEvent(&log, &EventLog::Editing);
    log.allowEditing = c.handlerAllows;
    edit.Binding()->Provider()->canModify = c.providerCanModify;
    edit.Binding()->allowEdit = c.bindingAllows;
    if (c.readOnly >= 0) edit.Properties()->SetReadOnly(c.readOnly == 1);
    EXPECT_EQ(edit.QueryEditing(), c.expected) << c.name;
    // Typing: the editor takes the value only when allowed.
    edit.SetUserChanging(true);
    edit.SetEditValue(Variant("typed"));
    EXPECT_EQ(VarIsNull(edit.EditValue()), !c.expected) << c.name;
    EXPECT_EQ(edit.ModifiedAfterEnter(), c.expected) << c.name;
  }
}

TEST(Edit, QueryEditingAsksNothingOnceModifiedAndIgnoresAssignmentsFromTheHandler) {
  TestEdit edit(nullptr);
  EventLog log;
  log.edit = &edit;
  edit.OnEditing = TcxEditEditingEvent(&log, &EventLog::Editing);
  EXPECT_TRUE(edit.QueryEditing());
  EXPECT_TRUE(VarIsNull(edit.EditValue())) << "an assignment inside OnEditing has no effect";
  EXPECT_EQ(edit.Binding()->beginEdits, 1);
  edit.SetEditingModified(true);
  EXPECT_TRUE(edit.QueryEditing());
  EXPECT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(edit.Binding()->beginEdits, 1);
}

TEST(Edit, InPlaceEditingAsksThePropertiesAndNotTheBinding) {
  TestEdit edit(nullptr, true);
  edit.Properties()->SetReadOnly(true);
  EXPECT_FALSE(edit.QueryEditing());
  edit.Properties()->SetReadOnly(false);
  EXPECT_TRUE(edit.QueryEditing());
  EXPECT_EQ(edit.Binding()->beginEdits, 0);
  EXPECT_TRUE(edit.IsInplace());
  EXPECT_FALSE(edit.AutoSize());
  EXPECT_TRUE(edit.WantedKeys().Contains(wkTab));
  EXPECT_EQ(edit.Properties()->DefaultValuesProvider(), nullptr) << "in place the host supplies the provider";
}

TEST(Edit, ReadOnlyPropertiesEndTheUsersEditing) {
  TestEdit edit(nullptr);
  EXPECT_TRUE(edit.AutoSize());
  EXPECT_EQ(edit.Properties()->DefaultValuesProvider(), edit.Binding()->Provider());
  edit.Type("abc");
  const int before = edit.propertiesChanges;
  edit.Properties()->SetReadOnly(true);
  EXPECT_GT(edit.propertiesChanges, before);
  EXPECT_TRUE(edit.IsReadOnly());
  EXPECT_FALSE(edit.ModifiedAfterEnter());
  edit.Properties()->SetTransparent(true);
  EXPECT_TRUE(edit.Transparent());
}

// --- validation ----------------------------------------------------------------------

TEST(Edit, ValidationTable) {
  const std::string defaultText = "Invalid input value. Use escape key to abandon changes";
  struct Case {
    const char* name;
    bool fail;
    std::optional<std::string> errorText;
    std::optional<std::string> newValue;
    bool report;
    bool expectedResult;
    std::string expectedMessage;  // empty: no exception
    std::string expectedText;
  } cases[] = {
      {"valid", false, {}, {}, true, true, "", "typed"},
      {"valid, handler's value applied", false, {}, "fixed", true, true, "", "fixed"},
      {"invalid, default message", true, {}, {}, true, false, defaultText, "typed"},
      {"invalid, own message", true, "bad", {}, true, false, "bad", "typed"},
      {"invalid, no message", true, "", {}, true, false, "", "typed"},
      {"invalid, not reported", true, {}, {}, false, false, "", "typed"},
      {"invalid, handler's value shown", true, "bad", "shown", true, false, "bad", "shown"},
  };
  for (const Case& c : cases) {
    TestEdit edit(nullptr);
    edit.SetEditValue(Variant("old"));
    EventLog log;
    log.failValidation = c.fail;
    log.replaceText = c.errorText;
    log.replaceValue = c.newValue;
    edit.Properties()->OnValidate = TcxEditValidateEvent(&log, &EventLog::Validate);
    edit.Properties()->SetBeepOnError(true);
    edit.Type("typed");
    const int beeps = win::BeepCount();
    std::string message;
    bool result = false;
    try {
      result = edit.ValidateDisplayText(c.report);
    } catch (const Exception& e) {
      message = e.Message;
    }
    EXPECT_EQ(message, c.expectedMessage) << c.name;
    if (message.empty()) {
      EXPECT_EQ(result, c.expectedResult) << c.name;
    }
    EXPECT_EQ(edit.text, c.expectedText) << c.name;
    if (c.fail) {
      EXPECT_TRUE(edit.ModifiedAfterEnter()) << c.name << ": Escape can still restore the old value";
      EXPECT_EQ(edit.EditValue(), Variant("old")) << c.name;
      EXPECT_EQ(win::BeepCount() - beeps, c.report ? 1 : 0) << c.name;
    } else {
      EXPECT_EQ(edit.EditValue(), Variant(c.expectedText)) << c.name;
      EXPECT_TRUE(edit.Validated()) << c.name;
      EXPECT_FALSE(edit.ModifiedAfterEnter()) << c.name << ": not focused, the editing is over";
      EXPECT_TRUE(edit.ValidateDisplayText(true)) << c.name << ": validated text is not checked again";
    }
    EXPECT_EQ(edit.ModifiedStateDepth(), 0u) << c.name;
  }
}

TEST(Edit, ValidationRefusedByTheHostPutsTheValuesTextBack) {
  TestEdit edit(nullptr);
  edit.SetEditValue(Variant("old"));
  edit.Type("typed");
  edit.Binding()->Provider()->canModify = false;
  edit.Binding()->modified = false;
  edit.SetUserChanging(true);
  EXPECT_TRUE(edit.ValidateDisplayText(true));
  EXPECT_EQ(edit.EditValue(), Variant("old"));
  EXPECT_EQ(edit.text, "old");
}

TEST(Edit, ValidateInputUpdatesTheTextOnSuccess) {
  TestEdit edit(nullptr);
  EventLog log;
  log.failValidation = false;
  log.replaceValue = "Clean";
  edit.Properties()->OnValidate = TcxEditValidateEvent(&log, &EventLog::Validate);
  edit.Type("dirty");
  edit.ValidateInput();
  EXPECT_EQ(edit.text, "Clean");
  EXPECT_TRUE(edit.Validated());
}

// --- on a form: exit, locks after a failed validation ------------------------------------

class EditOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    edit = new TestEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 120, 24);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 60, 120, 24);
    form->Show();
    Application->ProcessMessages();
    edit->OnExit = TNotifyEvent(&log, &EventLog::Exit);
    edit->Properties()->OnValidate = TcxEditValidateEvent(&log, &EventLog::Validate);
  }
  void TearDown() override {
    // Nothing left to validate when the form takes the focus away.
    edit->SetModifiedState(false);
    form.reset();
  }

  std::unique_ptr<TForm> form;
  TestEdit* edit = nullptr;
  TEdit* other = nullptr;
  EventLog log;
};

TEST_F(EditOnForm, ExitWithInvalidTextRaisesKeepsTheFocusAndFiresNoExit) {
  edit->SetFocus();
  edit->Type("bad");
  EXPECT_THROW(edit->DoExit(), Exception);
  EXPECT_TRUE(edit->Focused());
  EXPECT_TRUE(log.lines.empty());
  EXPECT_TRUE(edit->ModifiedAfterEnter());
  EXPECT_GE(edit->selections, 1);

  // An empty error text: no message, no exception, still no exit.
  log.replaceText = "";
  edit->DoExit();
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(EditOnForm, ChangeEventsAndTheStackRecoverAfterAFailedValidation) {
  edit->SetFocus();
  edit->Type("bad");
  EXPECT_THROW(edit->ExitProcessing(true), Exception);
  EXPECT_FALSE(edit->ChangeEventsLocked());
  EXPECT_EQ(edit->ModifiedStateDepth(), 0u);

  log.Hook(edit);
  edit->SetEditValue(Variant("next"));
  EXPECT_EQ(log.lines, Lines({"value", "change"})) << "the editor still fires its change events";

  // A write that fails while the exit holds the events back leaves no lock
  // and nothing on the stack either.
  log.failValidation = false;
  edit->Type("good");
  edit->Binding()->modified = true;
  edit->Binding()->refuseWrite = true;
  EXPECT_THROW(edit->ExitProcessing(true), Exception);
  EXPECT_FALSE(edit->ChangeEventsLocked());
  EXPECT_EQ(edit->ModifiedStateDepth(), 0u);
  EXPECT_FALSE(edit->Posting());
}

TEST_F(EditOnForm, ValidExitAppliesPostsAndFiresExit) {
  log.failValidation = false;
  edit->SetFocus();
  edit->Type("good");
  edit->Binding()->modified = true;
  other->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(log.lines, Lines({"exit"}));
  EXPECT_EQ(edit->EditValue(), Variant("good"));
  ASSERT_EQ(edit->Binding()->written.size(), 1u);
  EXPECT_EQ(edit->Binding()->written[0], Variant("good"));
  EXPECT_FALSE(edit->ModifiedAfterEnter());
  EXPECT_EQ(edit->ModifiedStateDepth(), 0u);
}

TEST_F(EditOnForm, EscapeRestoresTheValueOfEnterAndPostsWhenImmediate) {
  edit->SetEditValue(Variant("saved"));
  other->SetFocus();
  edit->SetFocus();
  Application->ProcessMessages();
  edit->SetUserChanging(true);
  edit->SetEditValue(Variant("typed"));
  edit->SetUserChanging(false);
  ASSERT_TRUE(edit->ModifiedAfterEnter());
  edit->Properties()->SetImmediatePost(true);
  edit->Binding()->modified = true;
  log.lines.clear();
  log.Hook(edit);
  edit->ResetEditValue();
  EXPECT_EQ(edit->EditValue(), Variant("saved"));
  EXPECT_EQ(log.lines, Lines({"change", "value"})) << "held back during the reset, change first";
  EXPECT_TRUE(edit->Modified());
  EXPECT_FALSE(edit->ModifiedAfterEnter());
  EXPECT_EQ(edit->selections, 1);
  ASSERT_EQ(edit->Binding()->written.size(), 1u);
  EXPECT_EQ(edit->Binding()->written[0], Variant("saved"));
  edit->Binding()->modified.reset();

  // Data-aware: the stored value comes back.
  edit->Binding()->Provider()->dataAware = true;
  edit->Binding()->stored = Variant("stored");
  edit->SetUserChanging(true);
  edit->SetEditValue(Variant("typed again"));
  edit->SetUserChanging(false);
  edit->ResetEditValue();
  EXPECT_EQ(edit->EditValue(), Variant("stored"));
}

// A modal form asked to close with OK checks the focused editor's text while
// it is still shown: invalid text is reported and the form stays; valid
// text is applied without a message.
TEST(EditModal, OkChecksTheTypedTextBeforeTheFormCloses) {
  win::ResetInputState();
  TForm form(nullptr);
  form.AfterConstruction();
  form.SetBounds(100, 100, 300, 200);
  auto* edit = new TestEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 120, 24);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetBounds(10, 60, 80, 24);
  ok->SetModalResult(mrOk);
  EventLog log;
  edit->Properties()->OnValidate = TcxEditValidateEvent(&log, &EventLog::Validate);
  struct Driver : TObject {
    TestEdit* edit;
    TButton* ok;
    EventLog* log;
    int idles = 0;
    bool focusedWhenReported = false;
    std::vector<std::string> reported;
    void Idle(TObject*, bool& Done) {
      Done = false;
      ++idles;
      if (idles == 2) {
        edit->SetFocus();
        edit->Type("bad");
        win::SendMessage(ok->Handle(), win::BM_CLICK, 0, 0);
      }
      if (idles == 4) {
        log->failValidation = false;
        edit->Type("good");
        win::SendMessage(ok->Handle(), win::BM_CLICK, 0, 0);
      }
      if (idles > 50) Application->Terminate();  // a safety net
    }
    void Reported(TObject*, Exception* E) {
      reported.push_back(E->Message);
      focusedWhenReported = edit->Focused();
    }
  } driver;
  driver.edit = edit;
  driver.ok = ok;
  driver.log = &log;
  Application->OnIdle = TIdleEvent(&driver, &Driver::Idle);
  Application->OnException = TExceptionEvent(&driver, &Driver::Reported);
  ScopeExit restore([] {
    Application->OnIdle = nullptr;
    Application->OnException = nullptr;
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(driver.idles, 4) << "the first OK did not close the form";
  EXPECT_EQ(driver.reported, std::vector<std::string>{"Invalid input value. Use escape key to abandon changes"});
  EXPECT_TRUE(driver.focusedWhenReported);
  EXPECT_EQ(edit->EditValue(), Variant("good"));
}

// --- posting ---------------------------------------------------------------------------------

TEST(Edit, StandAlonePostingWritesAndAFailureIsReportedAndRaised) {
  TestEdit edit(nullptr);
  edit.SetEditValue(Variant("v"));
  edit.PostEditValue(false);
  ASSERT_EQ(edit.Binding()->written.size(), 1u);
  edit.Binding()->refuseWrite = true;
  edit.Properties()->SetBeepOnError(true);
  const int beeps = win::BeepCount();
  EXPECT_THROW(edit.PostEditValue(false), Exception);
  EXPECT_FALSE(edit.Posting());
  EXPECT_EQ(win::BeepCount() - beeps, 1);
}

TEST(Edit, PostingValidatesFirstAndStopsOnInvalidText) {
  TestEdit edit(nullptr);
  EventLog log;
  log.replaceText = "";
  edit.Properties()->OnValidate = TcxEditValidateEvent(&log, &EventLog::Validate);
  edit.Type("bad");
  edit.SetUserChanging(true);
  edit.PostEditValue(true);
  EXPECT_TRUE(edit.Binding()->written.empty());
  EXPECT_TRUE(edit.UserChanging());
}

TEST(Edit, InPlacePostingTellsTheHostAndARefusalKeepsTheEditorModified) {
  TestEdit edit(nullptr, true);
  EventLog log;
  edit.OnPostEditValue = TNotifyEvent(&log, &EventLog::Posted);
  edit.SetEditingModified(true);
  edit.PostEditValue(false);
  EXPECT_EQ(log.lines, Lines({"posted"}));
  EXPECT_FALSE(edit.Modified());

  edit.OnPostEditValue = TNotifyEvent(&log, &EventLog::Refuse);
  edit.Properties()->SetBeepOnError(true);
  edit.SetEditingModified(true);
  const int beeps = win::BeepCount();
  EXPECT_NO_THROW(edit.PostEditValue(false));
  EXPECT_TRUE(edit.Modified());
  EXPECT_FALSE(edit.Posting());
  EXPECT_EQ(win::BeepCount() - beeps, 1);
}

// --- repository link ------------------------------------------------------------------------------

TEST(Edit, RepositoryItemSharesItsPropertiesAndBothHandlersRunOwnFirst) {
  TcxEditRepository repository(nullptr);
  auto* item = static_cast<TTestEditItem*>(repository.NewRepositoryItem(TTestEditItem::StaticClass()));
  TestEdit edit(nullptr);
  EventLog log;
  edit.Properties()->OnChange = TNotifyEvent(&log, &EventLog::Change);
  item->Properties()->OnChange = TNotifyEvent(&log, &EventLog::ItemChange);
  const int before = edit.propertiesChanges;
  edit.SetRepositoryItem(item);
  EXPECT_GT(edit.propertiesChanges, before);
  EXPECT_EQ(edit.ActiveProperties(), item->Properties());
  EXPECT_EQ(item->Properties()->DefaultValuesProvider(), edit.Binding()->Provider());
  EXPECT_EQ(edit.Properties()->DefaultValuesProvider(), nullptr);
  edit.SetEditValue(Variant("x"));
  EXPECT_EQ(log.lines, Lines({"change", "item change"}));

  // The item's change reaches the editor.
  const int linked = edit.propertiesChanges;
  item->Properties()->SetAutoSelect(false);
  EXPECT_EQ(edit.propertiesChanges, linked + 1);
  // Its own properties are silent while the item is linked.
  edit.Properties()->SetAutoSelect(false);
  EXPECT_EQ(edit.propertiesChanges, linked + 1);

  edit.SetRepositoryItem(nullptr);
  EXPECT_EQ(edit.ActiveProperties(), edit.Properties());
  EXPECT_TRUE(item->Listeners().empty());
}

TEST(Edit, AnUnfittingItemIsRefusedAndTheLinkStays) {
  TcxEditRepository repository(nullptr);
  auto* fitting = repository.NewRepositoryItem(TTestEditItem::StaticClass());
  auto* unfitting = repository.NewRepositoryItem(TcxEditRepositoryItem::StaticClass());
  TestEdit edit(nullptr);
  edit.SetRepositoryItem(fitting);
  try {
    edit.SetRepositoryItem(unfitting);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "The repository item is not acceptable");
  }
  EXPECT_EQ(edit.RepositoryItem(), fitting);
  TcxCustomEdit base(nullptr);
  EXPECT_NO_THROW(base.SetRepositoryItem(unfitting));
}

TEST(Edit, DestroyingTheItemGivesTheEditorItsOwnPropertiesBackFully) {
  TcxEditRepository repository(nullptr);
  auto* item = repository.NewRepositoryItem(TTestEditItem::StaticClass());
  TestEdit edit(nullptr);
  edit.SetRepositoryItem(item);
  const int before = edit.propertiesChanges;
  delete item;
  EXPECT_EQ(edit.RepositoryItem(), nullptr);
  EXPECT_EQ(edit.ActiveProperties(), edit.Properties());
  EXPECT_EQ(edit.Properties()->DefaultValuesProvider(), edit.Binding()->Provider());
  EXPECT_GT(edit.propertiesChanges, before) << "the editor recomputes with its own properties";
  const int fallen = edit.propertiesChanges;
  edit.Properties()->SetAutoSelect(false);
  EXPECT_GT(edit.propertiesChanges, fallen) << "own properties' changes are heard again";
}

TEST(Edit, AnEditorDestroyedBeforeItsItemLeavesTheItem) {
  TcxEditRepository repository(nullptr);
  auto* item = repository.NewRepositoryItem(TTestEditItem::StaticClass());
  {
    TestEdit edit(nullptr);
    edit.SetRepositoryItem(item);
    ASSERT_EQ(item->Listeners().size(), 1u);
  }
  EXPECT_TRUE(item->Listeners().empty());
  item->Properties()->SetAutoSelect(false);  // would reach a dead editor
}

// --- edit data and shared routines ------------------------------------------------------------------

TEST(Edit, EditDataForgetsAFreedEditor) {
  auto edit = std::make_unique<TestEdit>(nullptr, true);
  TcxCustomEditData data(edit.get());
  EXPECT_TRUE(data.Cleared());
  EXPECT_EQ(data.Edit(), edit.get());
  edit.reset();
  EXPECT_EQ(data.Edit(), nullptr);
}

TEST(Edit, SharedRoutines) {
  EXPECT_TRUE(VarEqualsSameType(Variant(1), Variant(1)));
  EXPECT_FALSE(VarEqualsSameType(Variant(1), Variant(1.0)));
  EXPECT_FALSE(VarEqualsSameType(Variant(1), Variant(2)));
  EXPECT_TRUE(VarEqualsSameType(Null(), Null()));
  for (char32_t ch : {U'\0', U'\t', U'\n', U'\f', U'\r', U' '}) EXPECT_TRUE(IsBlankChar(ch)) << int(ch);
  for (char32_t ch : {U'\v', U'a', U'\x1b'}) EXPECT_FALSE(IsBlankChar(ch)) << int(ch);
  EXPECT_EQ(ShiftStateToMouseKeys(TShiftState{ssShift, ssCtrl, ssLeft, ssRight, ssMiddle}),
            win::MK_SHIFT | win::MK_CONTROL | win::MK_LBUTTON | win::MK_RBUTTON | win::MK_MBUTTON);
  EXPECT_EQ(MouseButtonToShift(mbRight), TShiftState{ssRight});
  EXPECT_EQ(OptionalMouseButtonToShift(cxmbNone), TShiftState{});
  EXPECT_EQ(OptionalMouseButtonToShift(cxmbMiddle), TShiftState{ssMiddle});
  TestEdit edit(nullptr);
  EXPECT_EQ(GetOwnerComponent(edit.Properties()->Buttons()), &edit);
  EXPECT_EQ(GetOwnerComponent(nullptr), nullptr);
  win::HRGN a = win::CreateRectRgn(0, 0, 0, 0);
  win::HRGN b = win::CreateRectRgn(2, 2, 5, 5);
  EXPECT_TRUE(IsRegionEmpty(a));
  UniteRegions(a, b);
  EXPECT_FALSE(IsRegionEmpty(a));
  win::DeleteObject(a);
  win::DeleteObject(b);
  EXPECT_EQ(TcxCustomEditProperties(nullptr).EditClass(), TcxCustomEdit::StaticClass());
  EXPECT_EQ(GetClass("TcxCustomEdit"), TcxCustomEdit::StaticClass());
  // The mouse-wheel mode's cursor is the program's own picture.
  win::CursorImage image;
  EXPECT_TRUE(win::GetCursorImage(Screen->Cursors(crcxEditMouseWheel), &image));
  EXPECT_NE(Screen->Cursors(crcxEditMouseWheel), Screen->Cursors(crDefault));
}

// --- input, activation and refresh ----------------------------------------------------

class InputEdit;

// The editor's inner edit, the way a kind's inner edit works: an edit
// window that offers the editor's interface through a helper and passes its
// keys to the editor first.
class TestInnerEdit : public TEdit, public IcxInnerEditProvider {
 public:
  explicit TestInnerEdit(TComponent* AOwner) : TEdit(AOwner), helper(this) {}
  IcxCustomInnerEdit* GetInnerEdit() override { return &helper; }
  TcxCustomEdit* Owner() const { return static_cast<TcxCustomEdit*>(TEdit::Owner()); }

  struct Helper : IcxCustomInnerEdit {
    explicit Helper(TestInnerEdit* AEdit) : edit(AEdit) {}
    TWinControl* Control() override { return edit; }
    TcxContainer* ControlContainer() override { return edit->Owner(); }
    TcxCustomEdit* OwnerEdit() override { return edit->Owner(); }
    win::LRESULT CallDefaultWindowProc(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) override {
      return edit->Perform(Msg, WParam, LParam);
    }
    Variant EditValue() override { return Variant(edit->GetText()); }
    TNotifyEvent OnChange() override { return edit->TEdit::OnChange; }
    bool ReadOnly() override { return edit->TEdit::ReadOnly(); }
    void LockBounds(bool) override {}
    void FocusWithoutAutoSelect() override { edit->SetFocus(); }
    void AssignEditValue(const Variant& Value) override { edit->SetText(VarToStr(Value)); }
    void SetParent(TWinControl* Value) override { edit->SetParent(Value); }
    void SetOnChange(TNotifyEvent Value) override { edit->TEdit::OnChange = Value; }
    void SetReadOnly(bool Value) override { edit->TEdit::SetReadOnly(Value); }
    TestInnerEdit* edit;
  } helper;

 protected:
  void KeyDown(Word& Key, TShiftState Shift) override {
    Owner()->KeyDown(Key, Shift);
    if (Key != 0) TEdit::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    Owner()->KeyPress(Key);
    if (Key != 0) TEdit::KeyPress(Key);
  }
};

TcxCustomEditKind InputKind(bool AInner, TClass APropertiesClass = TTestEditProperties::StaticClass()) {
  TcxCustomEditKind kind = TestKind();
  kind.PropertiesClass = APropertiesClass;
  if (AInner) kind.InnerEditClass = &CreateInnerEditObject<TestInnerEdit>;
  return kind;
}

// Remembers what the editor's hooks saw; its text lives in the inner edit
// when it has one.
class InputEdit : public TcxCustomEdit {
 public:
  InputEdit(TComponent* AOwner, bool AIsInplace, bool AInner,
            TClass APropertiesClass = TTestEditProperties::StaticClass())
      : TcxCustomEdit(AOwner, AIsInplace, InputKind(AInner, APropertiesClass)) {}

  TestBinding* Binding() { return static_cast<TestBinding*>(DataBinding()); }
  TestInnerEdit* Inner() { return InnerEdit() ? static_cast<TestInnerEdit*>(InnerEdit()->Control()) : nullptr; }
  std::string Text() { return Inner() ? Inner()->GetText() : text; }

  void DisplayTextOfValue(std::string& Text) override { Text = this->Text(); }
  void UpdateTextFromEditValue() override { SetInnerEditValue(EditValue()); }
  // The value's text is shown without counting as the user's change.
  void SetInnerEditValue(const Variant& Value) override {
    if (!Inner()) {
      text = VarToStr(Value);
      return;
    }
    const TNotifyEvent changed = InnerEdit()->OnChange();
    InnerEdit()->SetOnChange(nullptr);
    ScopeExit reconnect([&] { InnerEdit()->SetOnChange(changed); });
    InnerEdit()->AssignEditValue(Value);
  }
  void ApplyDisplayValue(const Variant& Value) override { AssignEditValue(Value); }
  bool InnerEditVisible() override { return Inner() != nullptr; }
  bool IsEditingKey(Word Key, TShiftState) override { return editingKeys && Key == win::VK_DELETE; }
  bool IsEditingChar(char32_t) override { return editingKeys; }
  void ButtonDown(Integer AIndex) override { log.push_back("down " + std::to_string(AIndex)); }
  void ButtonUp(Integer AIndex) override { log.push_back("up " + std::to_string(AIndex)); }
  void CopySelectionToClipboard() override { log.push_back("copy"); }
  void CutToClipboard() override { log.push_back(UserChanging() ? "cut by the user" : "cut"); }
  void PasteFromClipboard() override { log.push_back(UserChanging() ? "paste by the user" : "paste"); }
  void SelectWholeText() override { log.push_back("select all"); }
  TcxCustomEditDataClass EditDataClass() override {
    return [](TcxCustomEdit* AEdit) { return std::make_unique<TcxCustomEditData>(AEdit); };
  }
  void StoreEditData(TcxCustomEditData*) override { log.push_back("store"); }
  void ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) override {
    if (Inner()) procDuringActivation = win::GetWindowLongPtr(Inner()->Handle(), win::GWLP_WNDPROC);
    TcxCustomEdit::ActivateEditing(AEditData);
    if (failActivation) throw Exception("activation failed");
  }
  void CallInnerWindowProc(TMessage& Message) override {
    if (Message.Msg == win::WM_CHAR) log.push_back("inner char");
    TcxCustomEdit::CallInnerWindowProc(Message);
  }

  std::string text;
  std::vector<std::string> log;
  bool editingKeys = false;
  bool failActivation = false;
  win::LONG_PTR procDuringActivation = 0;
};

void Pump() { Application->ProcessMessages(); }

win::POINT Screen(TControl* c, const TPoint& p) {
  const TPoint s = c->ClientToScreen(p);
  return {s.X, s.Y};
}

struct InputLog : TObject {
  std::vector<std::string> lines;
  Word lastUnused = 0;
  bool consume = true;
  void KeyDown(TObject*, Word& Key, TShiftState) {
    if (Key != win::VK_CONTROL && Key != win::VK_SHIFT) lines.push_back("keydown " + std::to_string(Key));
  }
  void KeyPress(TObject*, char32_t& Key) { lines.push_back("keypress " + std::to_string(Key)); }
  void Unused(TObject*, Word& Key, TShiftState) {
    lastUnused = Key;
    lines.push_back("unused " + std::to_string(Key));
    if (consume) Key = 0;
  }
  void ButtonClick(TObject*, Integer AIndex) { lines.push_back("button " + std::to_string(AIndex)); }
  void DblClick(TObject*) { lines.push_back("dblclick"); }
  void Change(TObject*) { lines.push_back("change"); }
  void Validate(TObject*, Variant&, std::string& ErrorText, bool& Error) {
    Error = failValidation;
    ErrorText = "bad";
  }
  bool failValidation = false;
};

// A stand-alone editor with an inner edit between two other controls, with
// a hidden ellipsis button, a text button "&Go" and a default button.
class EditInput : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 200);
    before = AddEdit();
    edit = new InputEdit(form.get(), false, true);
    edit->SetParent(form.get());
    edit->SetAutoSize(false);
    edit->SetBounds(10, 40, 200, 24);
    after = AddEdit();
    TcxEditButtons* buttons = edit->Properties()->Buttons();
    buttons->Add()->SetVisible(false);
    TcxEditButton* go = buttons->Add();
    go->SetKind(bkText);
    go->SetCaption("&Go");
    go->SetWidth(30);
    defaultButton = buttons->Add();
    defaultButton->SetKind(bkEllipsis);
    defaultButton->SetDefault(true);
    defaultButton->SetWidth(20);
    edit->OnKeyDown = TKeyEvent(&log, &InputLog::KeyDown);
    edit->OnKeyPress = TKeyPressEvent(&log, &InputLog::KeyPress);
    edit->OnUnusedKey = TcxEditUnusedKeyEvent(&log, &InputLog::Unused);
    edit->OnDblClick = TNotifyEvent(&log, &InputLog::DblClick);
    edit->Properties()->OnButtonClick = TcxEditButtonClickEvent(&log, &InputLog::ButtonClick);
    form->Show();
    Pump();
    edit->SetFocus();
    Pump();
  }
  void TearDown() override {
    edit->SetModifiedState(false);
    form.reset();
    win::ResetInputState();
  }
  TEdit* AddEdit() {
    auto* e = new TEdit(form.get());
    e->SetParent(form.get());
    e->SetBounds(10, 10 + 60 * form->ControlCount() / 2, 100, 22);
    return e;
  }
  TPoint ButtonCenter(Integer AIndex) {
    const TRect& r = edit->EditViewInfo()->Button(AIndex)->Bounds;
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  // The user types: keys reach the focused window through the message loop.
  void Press(win::UINT vk, bool shift = false, bool ctrl = false) {
    win::InjectKeyPress(vk, shift, ctrl);
    Pump();
  }

  std::unique_ptr<TForm> form;
  InputEdit* edit = nullptr;
  TEdit* before = nullptr;
  TEdit* after = nullptr;
  TcxEditButton* defaultButton = nullptr;
  InputLog log;
};

TEST_F(EditInput, TheInnerEditIsMadeThroughItsProviderAndServesTheEditor) {
  TestInnerEdit* inner = edit->Inner();
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), edit);
  EXPECT_EQ(edit->InnerControl(), inner);
  EXPECT_FALSE(inner->ParentShowHint());
  EXPECT_EQ(inner->BoundsRect(), edit->EditViewInfo()->InnerControlRect) << "placed in the content area";
  EXPECT_TRUE(inner->Focused()) << "the editor's focus goes to its inner edit";
  EXPECT_TRUE(edit->HasFocusInForm());
  EXPECT_TRUE(edit->OwnsWindow(inner->Handle()));
  EXPECT_TRUE(edit->OwnsWindow(edit->Handle()));
  EXPECT_FALSE(edit->OwnsWindow(after->Handle()));
  // The inner edit's changes are the editor's.
  edit->Properties()->OnChange = TNotifyEvent(&log, &InputLog::Change);
  inner->SetText("typed");
  EXPECT_EQ(log.lines, std::vector<std::string>{"change"});
  EXPECT_TRUE(edit->ModifiedAfterEnter());
  edit->Properties()->SetReadOnly(true);
  EXPECT_TRUE(inner->ReadOnly());
  // Two of the three buttons are shown; the view info knows their places in
  // the collection.
  ASSERT_EQ(edit->EditViewInfo()->ButtonCount(), 2);
  EXPECT_EQ(edit->DefaultButtonIndex(), 1);
  EXPECT_EQ(edit->ButtonIndexAt(ButtonCenter(0)), 0);
  EXPECT_EQ(edit->ButtonIndexAt({2, 2}), -1);
}

TEST_F(EditInput, KeysReachTheEditorThroughItsInnerEdit) {
  // Ctrl+Enter with a default button clicks it; OnKeyDown does not see it
  // and no character reaches the text.
  Press(win::VK_RETURN, false, true);
  EXPECT_EQ(log.lines, std::vector<std::string>{"button 2"});
  EXPECT_EQ(edit->Text(), "");
  // Without a default button Ctrl+Enter is an ordinary key.
  defaultButton->SetDefault(false);
  Pump();
  log.lines.clear();
  Press(win::VK_RETURN, false, true);
  ASSERT_FALSE(log.lines.empty());
  EXPECT_EQ(log.lines[0], "keydown 13");
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "button 2"), 0);

  // PageDown is not the editor's: the host gets it, the editor's key-press
  // step does not.
  log.lines.clear();
  Press(win::VK_NEXT);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"keydown 34", "unused 34"}));
}

TEST_F(EditInput, ClearKeyEmptiesTheValueAsTheUsersChange) {
  edit->SetEditValue(Variant("x"));
  edit->Properties()->SetClearKey(ShortCut(win::VK_DELETE, {}));
  edit->Properties()->OnChange = TNotifyEvent(&log, &InputLog::Change);
  Press(win::VK_DELETE);
  EXPECT_TRUE(VarIsNull(edit->EditValue()));
  EXPECT_TRUE(edit->Validated());
  EXPECT_TRUE(edit->ModifiedAfterEnter());
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "change"), 1);
  EXPECT_EQ(edit->Text(), "");
}

TEST_F(EditInput, EscapeResetsTypedTextAndSwallowsItsCharacter) {
  edit->SetEditValue(Variant("old"));
  after->SetFocus();
  edit->SetFocus();
  Pump();
  // Escape without changes is an ordinary key with its character.
  Press(win::VK_ESCAPE);
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "keypress 27"), 1);
  log.lines.clear();
  win::InjectText("new");
  Pump();
  ASSERT_TRUE(edit->ModifiedAfterEnter());
  Press(win::VK_ESCAPE);
  EXPECT_EQ(edit->EditValue(), Variant("old"));
  EXPECT_EQ(edit->Text(), "old");
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "keypress 27"), 0);
  EXPECT_FALSE(edit->EscapeHandled()) << "the swallowed character cleared the mark";
}

TEST_F(EditInput, TabMovesTheFocusBothWaysUnlessCtrlIsHeldOrTheHostTakesIt) {
  Press(win::VK_TAB);
  EXPECT_TRUE(after->Focused());
  edit->SetFocus();
  Pump();
  Press(win::VK_TAB, true);
  EXPECT_TRUE(before->Focused());
  edit->SetFocus();
  Pump();
  log.consume = false;
  log.lines.clear();
  Press(win::VK_TAB, false, true);
  EXPECT_TRUE(edit->Focused()) << "Ctrl+Tab is an ordinary key";
  EXPECT_EQ(log.lines[0], "keydown 9");
  // A host that consumes the Tab keeps the focus where it is.
  log.consume = true;
  Word key = win::VK_TAB;
  edit->KeyDown(key, {});
  EXPECT_EQ(key, 0);
  EXPECT_EQ(log.lastUnused, win::VK_TAB);
  EXPECT_TRUE(edit->Focused());
}

TEST_F(EditInput, RefusedEditingKeysGoToTheHostAndUnacceptableCharactersAreDropped) {
  edit->editingKeys = true;
  edit->Binding()->Provider()->canModify = false;
  Press(win::VK_DELETE);
  EXPECT_EQ(log.lastUnused, win::VK_DELETE);
  char32_t ch = U'a';
  edit->KeyPress(ch);
  EXPECT_EQ(ch, 0u) << "editing refused";
  edit->Binding()->modified = true;  // already editing: nothing is asked
  ch = U'a';
  edit->KeyPress(ch);
  EXPECT_EQ(ch, U'a');
  edit->Binding()->modified.reset();

  // The provider refuses a typed character; control characters pass.
  struct Refusing : TestProvider {
    using TestProvider::TestProvider;
    bool AcceptsTypedChar(char32_t Ch) override { return Ch != U'x'; }
  };
  edit->editingKeys = false;
  Refusing refusing(nullptr);
  edit->Properties()->SetDefaultValuesProvider(&refusing);
  ScopeExit restore([&] { edit->Properties()->SetDefaultValuesProvider(edit->Binding()->Provider()); });
  for (auto [in, out] : {std::pair{U'x', U'\0'}, {U'y', U'y'}, {U'\b', U'\b'}}) {
    ch = in;
    edit->KeyPress(ch);
    EXPECT_EQ(ch, out) << int(in);
  }
}

TEST_F(EditInput, EnterValidatesAndPostsAndAFailureLeavesNoLock) {
  edit->Properties()->SetValidateOnEnter(true);
  edit->Properties()->OnValidate = TcxEditValidateEvent(&log, &InputLog::Validate);
  edit->Properties()->OnChange = TNotifyEvent(&log, &InputLog::Change);
  edit->Inner()->SetText("good");
  edit->Binding()->modified = true;
  log.lines.clear();
  Word key = win::VK_RETURN;
  edit->KeyDown(key, {});
  EXPECT_EQ(key, 0);
  ASSERT_EQ(edit->Binding()->written.size(), 1u);
  EXPECT_EQ(edit->Binding()->written[0], Variant("good"));

  // Invalid text: the error is raised, nothing is posted, and the change
  // events are not left locked.
  log.failValidation = true;
  edit->Inner()->SetText("bad");
  key = win::VK_RETURN;
  EXPECT_THROW(edit->KeyDown(key, {}), Exception);
  EXPECT_EQ(edit->Binding()->written.size(), 1u);
  EXPECT_FALSE(edit->ChangeEventsLocked());
  // A write that fails is released the same way.
  log.failValidation = false;
  edit->Binding()->refuseWrite = true;
  edit->Inner()->SetText("refused");
  key = win::VK_RETURN;
  EXPECT_THROW(edit->KeyDown(key, {}), Exception);
  EXPECT_FALSE(edit->ChangeEventsLocked());
  EXPECT_EQ(edit->ModifiedStateDepth(), 0u);
  edit->Binding()->refuseWrite = false;
  log.lines.clear();
  edit->SetEditValue(Variant("after"));
  EXPECT_EQ(log.lines, std::vector<std::string>{"change"}) << "change events fire again";
}

TEST_F(EditInput, ClipboardMessagesRespectReadOnly) {
  struct Case {
    bool readOnly;
    win::UINT msg;
    const char* expected;  // nullptr: nothing
  } cases[] = {
      {false, win::WM_COPY, "copy"}, {false, win::WM_CUT, "cut by the user"}, {false, win::WM_PASTE, "paste by the user"},
      {true, win::WM_COPY, "copy"},  {true, win::WM_CUT, "copy"},            {true, win::WM_PASTE, nullptr},
  };
  for (const Case& c : cases) {
    edit->Properties()->SetReadOnly(c.readOnly);
    edit->log.clear();
    win::SendMessage(edit->Handle(), c.msg, 0, 0);
    EXPECT_EQ(edit->log, c.expected ? std::vector<std::string>{c.expected} : std::vector<std::string>{})
        << c.readOnly << " " << c.msg;
    EXPECT_FALSE(edit->UserChanging());
  }
}

TEST_F(EditInput, AcceleratorsClickEnabledTextButtons) {
  EXPECT_EQ(win::SendMessage(edit->Handle(), CM_DIALOGCHAR, 'G', 0), 1);
  EXPECT_EQ(log.lines, std::vector<std::string>{"button 1"}) << "the handler gets the collection index";
  EXPECT_EQ(win::SendMessage(edit->Handle(), CM_DIALOGCHAR, 'Q', 0), 0);
  edit->Properties()->Buttons()->Items(1)->SetEnabled(false);
  Pump();
  EXPECT_EQ(win::SendMessage(edit->Handle(), CM_DIALOGCHAR, 'G', 0), 0);
  EXPECT_EQ(log.lines.size(), 1u);
}

// The editor keeps the button it pressed while it holds the capture; the
// layout reads it back through the view data.
TEST_F(EditInput, APressedButtonFollowsTheMouseAndClicksWhenReleasedOverIt) {
  const TPoint on = ButtonCenter(0);
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(edit, on));
  Pump();
  EXPECT_EQ(edit->CapturedButtonIndex(), 0);
  EXPECT_EQ(edit->EditViewInfo()->Button(0)->State, ebbsPressed);
  EXPECT_EQ(edit->log, std::vector<std::string>{"down 0"});
  win::InjectMouseMove(Screen(edit, {5, 5}));
  Pump();
  EXPECT_EQ(edit->EditViewInfo()->Button(0)->State, ebbsNormal) << "off the button";
  EXPECT_EQ(edit->log, (std::vector<std::string>{"down 0", "up 0"}));
  win::InjectMouseMove(Screen(edit, on));
  Pump();
  EXPECT_EQ(edit->EditViewInfo()->Button(0)->State, ebbsPressed) << "back on it with the button held";
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(edit, on));
  Pump();
  EXPECT_EQ(log.lines, std::vector<std::string>{"button 1"});
  EXPECT_EQ(edit->CapturedButtonIndex(), -1);
  EXPECT_EQ(edit->log.back(), "up 0");

  // Released elsewhere: no click.
  log.lines.clear();
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(edit, on));
  Pump();
  win::InjectMouseMove(Screen(edit, {5, 5}));
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(edit, {5, 5}));
  Pump();
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(EditInput, TheViewDataAsksTheEditorForFocusAndCapture) {
  std::unique_ptr<TcxCustomEditViewData> viewData = edit->CreateViewData();
  EXPECT_EQ(viewData->Edit, static_cast<IcxViewDataEdit*>(edit));
  EXPECT_EQ(viewData->WindowHandle, edit->Handle());
  EXPECT_TRUE(viewData->FocusState());
  after->SetFocus();
  Pump();
  EXPECT_FALSE(viewData->FocusState());
  edit->InitializeViewData(viewData.get());
  EXPECT_FALSE(viewData->Focused);
  EXPECT_EQ(viewData->InnerEdit, edit->InnerEdit());
  // The border extents are those of the last layout without the buttons.
  const TRect extents = edit->GetBorderExtents();
  const TcxCustomEditViewInfo* vi = edit->EditViewInfo();
  EXPECT_EQ(vi->ClientRect.Left, extents.Left);
  EXPECT_EQ(edit->Width() - vi->ClientRect.Right, extents.Right);
}

TEST_F(EditInput, PropertiesSayWhatTheStreamKeepsOfTheSize) {
  EXPECT_TRUE(edit->IsHeightStored()) << "not auto-sizing";
  edit->SetAutoSize(true);
  EXPECT_FALSE(edit->IsHeightStored());
  EXPECT_TRUE(edit->IsWidthStored());
  edit->Properties()->SetButtonsViewStyle(2);
  EXPECT_FALSE(edit->IsWidthStored());
  const TcxContainerStyleValues unstored = edit->GetUnstoredStyleValues();
  for (Integer v : {svButtonStyle, svButtonTransparency, svPopupBorderStyle, svGradientButtons})
    EXPECT_TRUE(unstored & StyleValueBit(v)) << v;
  EXPECT_FALSE(unstored & StyleValueBit(svColor));
}

// An in-place editor in a host (the form): activation by key and by mouse,
// the edit data, and the double-click timer on the fake clock.
class EditActivation : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 320, 200);
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  InputEdit* MakeEdit(bool AInner) {
    auto* e = new InputEdit(form.get(), true, AInner);
    e->SetVisible(false);
    e->SetParent(form.get());
    e->SetBounds(20, 30, 200, 22);
    e->OnDblClick = TNotifyEvent(&log, &InputLog::DblClick);
    e->Properties()->OnButtonClick = TcxEditButtonClickEvent(&log, &InputLog::ButtonClick);
    return e;
  }

  std::unique_ptr<TForm> form;
  InputLog log;
};

TEST_F(EditActivation, ByKeyShowsFocusesAndTypesTheKeyThroughTheSubclassedInnerEdit) {
  InputEdit* edit = MakeEdit(true);
  edit->SetEditValue(Variant("v"));
  edit->SetEditingModified(true);
  std::unique_ptr<TcxCustomEditData> data;
  edit->HandleNeeded();
  const win::LONG_PTR proc = win::GetWindowLongPtr(edit->Inner()->Handle(), win::GWLP_WNDPROC);
  edit->ActivateByKey(U'k', data);
  ASSERT_NE(data, nullptr) << "made for a host that had none";
  EXPECT_EQ(edit->EditData(), data.get());
  EXPECT_FALSE(data->Cleared());
  EXPECT_TRUE(edit->Visible());
  EXPECT_TRUE(edit->Inner()->Focused());
  EXPECT_EQ(edit->log, (std::vector<std::string>{"store", "select all"}));
  EXPECT_EQ(edit->Text(), "k") << "the key replaced the value's selected text";
  EXPECT_TRUE(edit->ModifiedAfterEnter()) << "typed after the activation had cleared the flags";
  EXPECT_NE(edit->procDuringActivation, proc);
  EXPECT_EQ(win::GetWindowLongPtr(edit->Inner()->Handle(), win::GWLP_WNDPROC), proc);

  // The same data again: nothing more is stored. A failing activation puts
  // the window procedure back too.
  edit->log.clear();
  edit->failActivation = true;
  EXPECT_THROW(edit->ActivateByKey(U'z', data), Exception);
  EXPECT_EQ(std::count(edit->log.begin(), edit->log.end(), "store"), 0);
  EXPECT_EQ(win::GetWindowLongPtr(edit->Inner()->Handle(), win::GWLP_WNDPROC), proc);
  // While subclassed, the inner window's messages pass through the editor.
  edit->SubclassInnerEdit();
  edit->log.clear();
  win::SendMessage(edit->Inner()->Handle(), win::WM_CHAR, 'q', 0);
  EXPECT_EQ(edit->log, std::vector<std::string>{"inner char"});
  edit->RestoreInnerEditWindowProc();
  EXPECT_EQ(win::GetWindowLongPtr(edit->Inner()->Handle(), win::GWLP_WNDPROC), proc);
}

TEST_F(EditActivation, TheHostIsLeftOutOfTheTabOrderWhileTheEditorShows) {
  InputEdit* edit = MakeEdit(true);
  std::unique_ptr<TcxCustomEditData> data;
  edit->ActivateEditing(data);
  std::vector<TWinControl*> list{form.get(), edit};
  edit->GetTabOrderList(list);
  EXPECT_EQ(std::count(list.begin(), list.end(), form.get()), 0);
  EXPECT_TRUE(edit->WantedKeys().Contains(wkArrows));
  EXPECT_FALSE(edit->WantedKeys().Contains(wkTab)) << "the inner edit takes Tab";
  EXPECT_TRUE(edit->HandlesMouseWheel(TShiftState{}));
  edit->Properties()->SetUseMouseWheel(false);
  EXPECT_FALSE(edit->HandlesMouseWheel(TShiftState{}));
  EXPECT_TRUE(edit->HandlesMouseWheel(TShiftState{ssCtrl}));
}

TEST_F(EditActivation, ASecondClickWithinTheDoubleClickTimeIsADoubleClickOrPressesAButtonAgain) {
  TFakeClockScope clock;
  InputEdit* edit = MakeEdit(false);
  edit->Properties()->Buttons()->Add()->SetKind(bkEllipsis);
  std::unique_ptr<TcxCustomEditData> data;
  const TPoint text{10, 10};  // in the editor
  auto activateAt = [&](const TPoint& p) {
    edit->ActivateByMouse(TShiftState{ssLeft}, edit->Left() + p.X, edit->Top() + p.Y, data);
    Pump();
  };
  auto clickAt = [&](const TPoint& p) {
    win::InjectClick(Screen(edit, p));
    Pump();
  };

  activateAt(text);
  EXPECT_TRUE(edit->Focused());
  EXPECT_TRUE(edit->DblClickTimer()->Enabled());
  EXPECT_NE(win::GetCapture(), edit->Handle()) << "the host's press is over";
  clock.Advance(win::GetDoubleClickTime() / 2);
  Pump();
  clickAt(text);
  EXPECT_EQ(log.lines, std::vector<std::string>{"dblclick"});
  EXPECT_FALSE(edit->DblClickTimer()->Enabled());

  // Too late: the timer has switched itself off.
  log.lines.clear();
  activateAt(text);
  clock.Advance(win::GetDoubleClickTime() + 10);
  Pump();
  EXPECT_FALSE(edit->DblClickTimer()->Enabled());
  clickAt(text);
  EXPECT_TRUE(log.lines.empty());

  // On a button the second click presses the button again.
  const TRect& r = edit->EditViewInfo()->Button(0)->Bounds;
  const TPoint button{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  activateAt(button);
  win::InjectMouseMove(Screen(edit, button));
  Pump();
  EXPECT_EQ(log.lines, std::vector<std::string>{"button 0"}) << "the host's press ends over the button";
  ASSERT_TRUE(edit->DblClickTimer()->Enabled());
  log.lines.clear();
  clickAt(button);
  EXPECT_EQ(log.lines, std::vector<std::string>{"button 0"}) << "pressed again, no double click";
}

// Auto-sizing takes the measured size where the alignment leaves it free.
TEST(EditAutoSize, TakesItsOwnHeightUnlessItsAlignmentGivesIt) {
  win::ResetInputState();
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.Show();
  struct Case {
    TAlign align;
    bool ownHeight;
  } cases[] = {{alNone, true}, {alTop, true}, {alClient, false}};
  for (const Case& c : cases) {
    auto edit = std::make_unique<InputEdit>(&form, false, false, TSizedEditProperties::StaticClass());
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 150, 80);
    edit->SetAlign(c.align);
    Application->ProcessMessages();
    ASSERT_TRUE(edit->AutoSize());
    const TRect& inner = edit->EditViewInfo()->InnerControlRect;
    if (c.ownHeight)
      EXPECT_EQ(inner.Bottom - inner.Top, 17) << c.align << ": the content's height and the fixed part";
    else
      EXPECT_EQ(edit->Height(), form.ClientHeight()) << c.align;
    EXPECT_EQ(edit->Width(), c.align == alNone ? 150 : form.ClientWidth()) << c.align;
  }
  // Buttons-only editors with auto-width buttons take the measured width
  // too, unless their alignment gives it.
  for (TAlign align : {alNone, alTop}) {
    auto edit = std::make_unique<InputEdit>(&form, false, false, TSizedEditProperties::StaticClass());
    edit->Properties()->SetButtonsViewStyle(2);
    edit->Properties()->Buttons()->Add()->SetWidth(30);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 150, 80);
    edit->SetAlign(align);
    Application->ProcessMessages();
    ASSERT_EQ(edit->EditViewInfo()->ButtonCount(), 1);
    const TcxEditButtonViewInfo* button = edit->EditViewInfo()->Button(0);
    if (align == alNone) {
      EXPECT_LT(edit->Width(), 150) << "as wide as its button and border";
      EXPECT_EQ(button->VisibleBounds, button->Bounds) << "the button fits";
    } else {
      EXPECT_EQ(edit->Width(), form.ClientWidth());
    }
  }
  // Switched off, the size stays what it is given.
  auto edit = std::make_unique<InputEdit>(&form, false, false, TSizedEditProperties::StaticClass());
  edit->SetParent(&form);
  edit->SetAutoSize(false);
  edit->SetBounds(10, 10, 150, 80);
  EXPECT_EQ(edit->Height(), 80);
}

}  // namespace
