#include "platform/db/DataSource.h"

#include <gtest/gtest.h>

#include "tests/platform/db/DbFixture.h"

namespace {

// A link that writes down every notice it hears, in order.
class TRecordingLink : public TDataLink {
 public:
  std::vector<std::string> Log;
  std::string Take() {
    std::string s;
    for (const auto& n : Log) s += (s.empty() ? "" : " ") + n;
    Log.clear();
    return s;
  }
  // The values of one field over the rows of the window.
  std::vector<std::string> WindowValues(const std::string& field) {
    std::vector<std::string> values;
    Integer saved = ActiveRecord();
    for (Integer i = 0; i < RecordCount(); ++i) {
      SetActiveRecord(i);
      values.push_back(DataSet()->FieldByName(field)->AsString());
    }
    SetActiveRecord(saved);
    return values;
  }

  void DataEvent(TDataEvent Event, NativeInt Info) override {
    if (Event == deDisabledStateChange) Log.push_back("DisabledStateChange(" + std::to_string(Info) + ")");
    TDataLink::DataEvent(Event, Info);
  }

 protected:
  void ActiveChanged() override { Log.push_back("ActiveChanged"); }
  void CheckBrowseMode() override { Log.push_back("CheckBrowseMode"); }
  void DataSetChanged() override { Log.push_back("DataSetChanged"); }
  void DataSetScrolled(Integer Distance) override { Log.push_back("DataSetScrolled(" + std::to_string(Distance) + ")"); }
  void EditingChanged() override { Log.push_back("EditingChanged"); }
  void FocusControl(TField** Field) override {
    Log.push_back("FocusControl(" + (*Field)->FieldName() + ")");
    *Field = nullptr;
  }
  void LayoutChanged() override { Log.push_back("LayoutChanged"); }
  void RecordChanged(TField* Field) override {
    Log.push_back("RecordChanged(" + (Field ? Field->FieldName() : std::string("nil")) + ")");
  }
  void UpdateData() override { Log.push_back("UpdateData"); }
};

class DataSourceTest : public DbTest {
 protected:
  // Ten records: Name "r1" .. "r10", Qty 1 .. 10; closed.
  TADODataSet* Ten(const std::string& Name = "Ten") {
    TADODataSet* ds = MakeTable(Name, "Name:S10;Qty:I");
    ds->Open();
    for (int i = 1; i <= 10; ++i) ds->AppendRecord({"r" + std::to_string(i), i});
    ds->Close();
    return ds;
  }
  TDataSource* SourceOf(TDataSet* ds) {
    auto* source = new TDataSource(Owner());
    source->SetDataSet(ds);
    return source;
  }
};

TEST_F(DataSourceTest, NotificationOrderOfEachOperation) {
  TADODataSet* ds = Ten();
  TRecordingLink link;
  link.SetBufferCount(3);
  link.SetDataSource(SourceOf(ds));
  struct Step {
    const char* What;
    std::function<void()> Do;
    const char* Heard;
  };
  const Step steps[] = {
      {"open", [&] { ds->Open(); }, "ActiveChanged"},
      {"scroll 1", [&] { ds->Next(); }, "CheckBrowseMode DataSetScrolled(0)"},
      {"scroll 5", [&] { ds->MoveBy(5); }, "CheckBrowseMode DataSetScrolled(4)"},
      {"edit", [&] { ds->Edit(); }, "CheckBrowseMode EditingChanged RecordChanged(nil)"},
      {"set field", [&] { ds->FieldByName("Qty")->SetAsInteger(70); }, "RecordChanged(Qty)"},
      {"post", [&] { ds->Post(); }, "UpdateData CheckBrowseMode EditingChanged DataSetChanged"},
      {"insert", [&] { ds->Insert(); }, "CheckBrowseMode EditingChanged DataSetChanged"},
      {"cancel", [&] { ds->Cancel(); }, "CheckBrowseMode EditingChanged DataSetChanged"},
      {"delete", [&] { ds->Delete(); }, "CheckBrowseMode DataSetChanged"},
      {"focus", [&] { ds->FieldByName("Name")->FocusControl(); }, "FocusControl(Name)"},
      {"close", [&] { ds->Close(); }, "ActiveChanged"},
  };
  for (const Step& step : steps) {
    step.Do();
    EXPECT_EQ(link.Take(), step.Heard) << step.What;
  }
}

TEST_F(DataSourceTest, DisabledControlsMuteVisualLinksAndReplayOnEnable) {
  TADODataSet* ds = Ten();
  TDataSource* source = SourceOf(ds);
  TRecordingLink visual, plain;
  visual.SetVisualControl(true);
  visual.SetDataSource(source);
  plain.SetDataSource(source);
  ds->Open();
  visual.Take();
  plain.Take();

  ds->DisableControls();
  ds->Next();
  ds->Next();
  EXPECT_EQ(visual.Take(), "");
  EXPECT_EQ(plain.Take(), "CheckBrowseMode DataSetScrolled(1) CheckBrowseMode DataSetScrolled(1)");
  ds->EnableControls();
  EXPECT_EQ(visual.Take(), "DataSetChanged");  // the replay
  EXPECT_EQ(plain.Take(), "DataSetChanged");

  // Closed and opened again while disabled: links learn of the closing at
  // once and hear a layout change when controls come back.
  ds->DisableControls();
  ds->Close();
  ds->Open();
  EXPECT_EQ(visual.Take(), "DisabledStateChange(0) DisabledStateChange(1)");
  EXPECT_TRUE(visual.Active());
  EXPECT_TRUE(ds->ControlsDisabled());
  ds->EnableControls();
  EXPECT_FALSE(ds->ControlsDisabled());
  EXPECT_EQ(visual.Take(), "LayoutChanged");

  // Closed while disabled and left closed: the state change comes on enable.
  ds->DisableControls();
  ds->Close();
  visual.Take();
  ds->EnableControls();
  EXPECT_EQ(visual.Take(), "ActiveChanged");
  EXPECT_FALSE(visual.Active());
}

TEST_F(DataSourceTest, WindowFollowsTheCursorPastEachEnd) {
  TADODataSet* ds = Ten();
  TRecordingLink grid, single;
  TDataSource* source = SourceOf(ds);
  grid.SetBufferCount(3);
  grid.SetDataSource(source);
  single.SetDataSource(source);
  ds->Open();
  EXPECT_EQ(ds->BufferCount(), 3);  // the largest window any link asks for
  EXPECT_EQ(grid.RecordCount(), 3);
  EXPECT_EQ(single.RecordCount(), 1);
  EXPECT_EQ(grid.WindowValues("Name"), (std::vector<std::string>{"r1", "r2", "r3"}));
  ds->MoveBy(2);
  EXPECT_EQ(grid.ActiveRecord(), 2);
  grid.Take();
  ds->Next();  // past the bottom edge: the window moves one row
  EXPECT_EQ(grid.Take(), "CheckBrowseMode DataSetScrolled(1)");
  EXPECT_EQ(grid.ActiveRecord(), 2);
  EXPECT_EQ(grid.WindowValues("Name"), (std::vector<std::string>{"r2", "r3", "r4"}));
  EXPECT_EQ(single.WindowValues("Name"), (std::vector<std::string>{"r4"}));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "r4");  // reading the window moved nothing

  ds->Last();
  EXPECT_EQ(grid.ActiveRecord(), 2);
  EXPECT_EQ(grid.WindowValues("Name"), (std::vector<std::string>{"r8", "r9", "r10"}));
  grid.Take();
  ds->Next();  // at the end nothing moves
  EXPECT_EQ(grid.Take(), "CheckBrowseMode");
  ds->MoveBy(-3);  // two rows inside the window, then one past the top edge
  EXPECT_EQ(grid.Take(), "CheckBrowseMode DataSetScrolled(-1)");
  EXPECT_EQ(grid.ActiveRecord(), 0);
  EXPECT_EQ(grid.WindowValues("Name"), (std::vector<std::string>{"r7", "r8", "r9"}));

  // A wider window fills after the last row, then before the first.
  grid.SetBufferCount(6);
  EXPECT_EQ(grid.RecordCount(), 6);
  EXPECT_EQ(grid.WindowValues("Name"), (std::vector<std::string>{"r5", "r6", "r7", "r8", "r9", "r10"}));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "r7");
  // A window wider than the data set holds every record.
  ds->SetFilter("Qty < 3");
  ds->SetFiltered(true);
  EXPECT_EQ(grid.RecordCount(), 2);
  EXPECT_EQ(grid.ActiveRecord(), 0);
}

TEST_F(DataSourceTest, SourceStateAndEvents) {
  struct Handlers : TObject {
    std::vector<std::string> Log;
    void StateChange(TObject* s) { Log.push_back("state " + std::to_string(static_cast<TDataSource*>(s)->State())); }
    void DataChange(TObject*, TField* f) { Log.push_back("data " + (f ? f->FieldName() : std::string("nil"))); }
    void UpdateData(TObject*) { Log.push_back("update"); }
  } h;
  TADODataSet* ds = Ten();
  TDataSource* source = SourceOf(ds);
  source->OnStateChange = TNotifyEvent(&h, &Handlers::StateChange);
  source->OnDataChange = TDataChangeEvent(&h, &Handlers::DataChange);
  source->OnUpdateData = TNotifyEvent(&h, &Handlers::UpdateData);
  ds->Open();
  source->Edit();  // AutoEdit puts the data set in edit state
  ds->FieldByName("Qty")->SetAsInteger(5);
  ds->Post();
  EXPECT_EQ(h.Log, (std::vector<std::string>{"state 1", "data nil", "state 2", "data nil", "data Qty", "update",
                                             "state 1", "data nil"}));
  h.Log.clear();
  source->SetEnabled(false);
  EXPECT_EQ(source->State(), dsInactive);
  ds->Next();
  source->AutoEdit = false;
  source->SetEnabled(true);
  source->Edit();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(h.Log, (std::vector<std::string>{"state 0", "state 1", "data nil"}));
  // The data source lets go of a data set that is freed.
  ds->Free();
  EXPECT_EQ(source->DataSet(), nullptr);
  EXPECT_EQ(source->State(), dsInactive);
}

TEST_F(DataSourceTest, LinksEditAndRefuseCircularSources) {
  TADODataSet* ds = Ten();
  TDataSource* source = SourceOf(ds);
  TRecordingLink link;
  link.SetDataSource(source);
  ds->Open();
  link.SetReadOnly(true);
  EXPECT_FALSE(link.Edit());
  link.SetReadOnly(false);
  EXPECT_TRUE(link.Edit());
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_TRUE(link.Editing());
  ds->Cancel();
  // A data set cannot follow a master that reads from itself.
  ds->Close();
  EXPECT_EQ(ErrorOf([&] { ds->SetMasterSource(source); }), "Ten: Circular datalinks are not allowed");
  TADODataSet* other = Ten("Other");
  TDataSource* otherSource = SourceOf(other);
  other->SetMasterSource(source);
  EXPECT_TRUE(other->IsLinkedTo(source) == false && ds->IsLinkedTo(otherSource));
  EXPECT_EQ(ErrorOf([&] { ds->SetMasterSource(otherSource); }), "Ten: Circular datalinks are not allowed");
  auto* third = new TDataSource(Owner());
  third->SetName("Third");
  other->Close();
  EXPECT_EQ(ErrorOf([&] { third->SetDataSet(ds); }), "");
  EXPECT_TRUE(third->IsLinkedTo(ds) == false);
}

}  // namespace
