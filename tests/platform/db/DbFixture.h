// Shared fixtures of the data-set tests: an owner that frees what the test
// made, a small table builder and a log of data-set events.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/db/ADODataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/db/FieldDefs.h"

struct TFreeComponent {
  void operator()(TComponent* c) const { c->Free(); }
};

// Owns every component of a test; freeing it frees them all.
class DbTest : public ::testing::Test {
 protected:
  DbTest() : Owner_(new TComponent(nullptr)) {}

  TComponent* Owner() const { return Owner_.get(); }

  // A named, closed table with the definitions "Name:S20;Qty:I;Price:F".
  TADODataSet* MakeTable(const std::string& Name, const std::string& Defs) {
    auto* ds = new TADODataSet(Owner());
    ds->SetName(Name);
    for (const std::string& def : SplitFieldNames(Defs)) {
      size_t colon = def.find(':');
      std::string field = def.substr(0, colon), kind = def.substr(colon + 1);
      TFieldType type = ftString;
      Integer size = 0;
      switch (kind[0]) {
        case 'S': type = ftString; size = kind.size() > 1 ? std::stoi(kind.substr(1)) : 20; break;
        case 'W': type = ftWideString; size = kind.size() > 1 ? std::stoi(kind.substr(1)) : 20; break;
        case 'I': type = ftInteger; break;
        case 'A': type = ftAutoInc; break;
        case 'F': type = ftFloat; break;
        case 'C': type = ftCurrency; break;
        case 'D': type = ftDateTime; break;
        case 'B': type = ftBoolean; break;
        case 'M': type = ftMemo; break;
        case 'L': type = ftBlob; break;
        case 'N': type = ftDataSet; break;
      }
      ds->FieldDefs().Add(field, type, size);
    }
    return ds;
  }

  // Appends one row per entry; Empty values are left unset.
  static void AddRows(TDataSet* ds, const std::vector<std::vector<Variant>>& rows) {
    for (const auto& row : rows) ds->AppendRecord(row);
  }

  // The values of one field, walking the data set from the first record.
  static std::vector<std::string> Column(TDataSet* ds, const std::string& field) {
    std::vector<std::string> values;
    ds->First();
    while (!ds->Eof()) {
      values.push_back(ds->FieldByName(field)->AsString());
      ds->Next();
    }
    return values;
  }

  // The message of the EDatabaseError that action raises ("" when none).
  static std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const EDatabaseError& e) {
      return e.Message;
    }
    return std::string();
  }

 private:
  std::unique_ptr<TComponent, TFreeComponent> Owner_;
};

// Records the data-set events it is attached to, by name.
class TEventLog : public TObject {
 public:
  std::vector<std::string> Names;

  void Attach(TDataSet* ds) {
    ds->BeforeOpen = TDataSetNotifyEvent(this, &TEventLog::DoBeforeOpen);
    ds->AfterOpen = TDataSetNotifyEvent(this, &TEventLog::DoAfterOpen);
    ds->BeforeClose = TDataSetNotifyEvent(this, &TEventLog::DoBeforeClose);
    ds->AfterClose = TDataSetNotifyEvent(this, &TEventLog::DoAfterClose);
    ds->BeforeInsert = TDataSetNotifyEvent(this, &TEventLog::DoBeforeInsert);
    ds->AfterInsert = TDataSetNotifyEvent(this, &TEventLog::DoAfterInsert);
    ds->BeforeEdit = TDataSetNotifyEvent(this, &TEventLog::DoBeforeEdit);
    ds->AfterEdit = TDataSetNotifyEvent(this, &TEventLog::DoAfterEdit);
    ds->BeforePost = TDataSetNotifyEvent(this, &TEventLog::DoBeforePost);
    ds->AfterPost = TDataSetNotifyEvent(this, &TEventLog::DoAfterPost);
    ds->BeforeCancel = TDataSetNotifyEvent(this, &TEventLog::DoBeforeCancel);
    ds->AfterCancel = TDataSetNotifyEvent(this, &TEventLog::DoAfterCancel);
    ds->BeforeDelete = TDataSetNotifyEvent(this, &TEventLog::DoBeforeDelete);
    ds->AfterDelete = TDataSetNotifyEvent(this, &TEventLog::DoAfterDelete);
    ds->BeforeScroll = TDataSetNotifyEvent(this, &TEventLog::DoBeforeScroll);
    ds->AfterScroll = TDataSetNotifyEvent(this, &TEventLog::DoAfterScroll);
    ds->OnNewRecord = TDataSetNotifyEvent(this, &TEventLog::DoOnNewRecord);
  }
  std::string Joined() const {
    std::string s;
    for (const auto& n : Names) s += (s.empty() ? "" : " ") + n;
    return s;
  }

 private:
  void DoBeforeOpen(TDataSet*) { Names.push_back("BeforeOpen"); }
  void DoAfterOpen(TDataSet*) { Names.push_back("AfterOpen"); }
  void DoBeforeClose(TDataSet*) { Names.push_back("BeforeClose"); }
  void DoAfterClose(TDataSet*) { Names.push_back("AfterClose"); }
  void DoBeforeInsert(TDataSet*) { Names.push_back("BeforeInsert"); }
  void DoAfterInsert(TDataSet*) { Names.push_back("AfterInsert"); }
  void DoBeforeEdit(TDataSet*) { Names.push_back("BeforeEdit"); }
  void DoAfterEdit(TDataSet*) { Names.push_back("AfterEdit"); }
  void DoBeforePost(TDataSet*) { Names.push_back("BeforePost"); }
  void DoAfterPost(TDataSet*) { Names.push_back("AfterPost"); }
  void DoBeforeCancel(TDataSet*) { Names.push_back("BeforeCancel"); }
  void DoAfterCancel(TDataSet*) { Names.push_back("AfterCancel"); }
  void DoBeforeDelete(TDataSet*) { Names.push_back("BeforeDelete"); }
  void DoAfterDelete(TDataSet*) { Names.push_back("AfterDelete"); }
  void DoBeforeScroll(TDataSet*) { Names.push_back("BeforeScroll"); }
  void DoAfterScroll(TDataSet*) { Names.push_back("AfterScroll"); }
  void DoOnNewRecord(TDataSet*) { Names.push_back("OnNewRecord"); }
};
