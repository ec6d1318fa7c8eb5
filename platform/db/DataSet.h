// TDataSet: the abstract data set of the class library. It keeps the state
// machine (inactive, browse, edit, insert, ...), the fields, the events and
// the record window: a ring of record buffers around the current record that
// the data links look at. Descendants supply the records through the cursor
// protocol below (GetRecord, InternalFirst, InternalPost, ...).
//
// The record window. The data set keeps BufferCount record buffers (the
// largest window any link asks for). RecordCount of them are filled, in data
// set order; ActiveRecord is the current one. Moving inside the window only
// changes ActiveRecord; moving past its edge fetches a record and rotates
// the ring (a "scroll"), which links hear as deDataSetScroll with the number
// of buffers the rows moved (negative when the rows moved towards buffer 0,
// i.e. when the data set moved forward).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/DataSetTypes.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Variants.h"

class TDataSet;
class TDataSource;
class TDataSetField;
class TField;
class TFieldDefs;
class TFields;
class TStream;
class TStrings;

using TDataSetNotifyEvent = TDelegate<void(TDataSet* DataSet)>;
using TFilterRecordEvent = TDelegate<void(TDataSet* DataSet, bool& Accept)>;
using TDataSetErrorEvent = TDelegate<void(TDataSet* DataSet, EDatabaseError* E, TDataAction& Action)>;

// One record of the window: the record's identity (descendant-defined), its
// bookmark flag and its values (data fields by FieldNo - 1, calculated and
// lookup fields by their slot).
struct TRecordBuffer {
  Int64 RecordId = 0;
  TBookmarkFlag BookmarkFlag = bfCurrent;
  std::vector<Variant> Values;
  std::vector<Variant> CalcValues;
};

class TDataSet : public TComponent {
  VXN_DECLARE_CLASS(TDataSet)

 public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;
  void BeforeDestruction() override;

  // --- Opening and state ------------------------------------------------
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool Active() const { return State_ != dsInactive; }
  void SetActive(bool Value);
  TDataSetState State() const { return State_; }
  bool Bof() const { return Bof_; }
  bool Eof() const { return Eof_; }
  bool Modified() const { return Modified_; }
  bool CanModify() const { return GetCanModify(); }
  bool IsEmpty() const;
  bool IsUniDirectional() const { return UniDirectional_; }
  virtual bool IsSequenced() const { return true; }
  bool DefaultFields() const { return DefaultFields_; }
  bool Found() const { return Found_; }

  // --- Navigation -------------------------------------------------------
  void First();
  void Last();
  void Next();
  void Prior();
  // Moves Distance records (negative: back); answers how many it moved.
  Integer MoveBy(Integer Distance);
  // The number of records (raises on a closed data set).
  Integer RecordCount() const;
  // 1-based number of the current record; -1 when there is none.
  Integer RecNo() const { return GetRecNo(); }
  void SetRecNo(Integer Value);

  // --- Editing ----------------------------------------------------------
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  void Refresh();
  void CheckBrowseMode();
  // Asks the links to write their pending values (deUpdateRecord).
  void UpdateRecord();
  void ClearFields();
  // Append or Insert, then the values to the fields in order (Null skips a
  // field), then Post.
  void AppendRecord(const std::vector<Variant>& Values);
  void InsertRecord(const std::vector<Variant>& Values);
  void SetFields(const std::vector<Variant>& Values);

  // --- Controls -----------------------------------------------------------
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return DisableCount_ != 0; }

  // --- Fields -------------------------------------------------------------
  TFields& Fields() const { return *Fields_; }
  TFields& AggFields() const { return *AggFields_; }
  TFieldDefs& FieldDefs() const { return *FieldDefs_; }
  Integer FieldCount() const;
  TField* FindField(std::string_view FieldName) const;
  TField* FieldByName(std::string_view FieldName) const;
  TField* FieldByNumber(Integer FieldNo) const;
  // The fields of a ";"-separated list, in list order ("Field '%s' not found"
  // for a name that is not there).
  void GetFieldList(std::vector<TField*>& List, std::string_view FieldNames) const;
  std::vector<TField*> GetFieldList(std::string_view FieldNames) const;
  // The fields' names (or, with no fields, the definitions').
  void GetFieldNames(TStrings* List) const;
  // The values of a ";"-separated list: one value, or a Variant array for
  // several names. Writing takes the same form.
  Variant FieldValues(std::string_view FieldNames) const;
  void SetFieldValues(std::string_view FieldNames, const Variant& Value);

  // --- Bookmarks ----------------------------------------------------------
  TBookmarkStr Bookmark() const;
  void SetBookmark(const TBookmarkStr& Value);
  bool BookmarkAvailable() const;
  TBookmark GetBookmark() const { return Bookmark(); }
  void GotoBookmark(const TBookmark& ABookmark);
  void FreeBookmark(TBookmark& ABookmark) const { ABookmark.clear(); }
  virtual bool BookmarkValid(const TBookmark& ABookmark) const;
  // < 0, 0 or > 0 in data set order; an empty bookmark sorts last.
  virtual Integer CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const;

  // --- Searching ----------------------------------------------------------
  // Moves to the first record whose KeyFields hold KeyValues (one value or a
  // Variant array); answers whether one was found.
  virtual bool Locate(std::string_view KeyFields, const Variant& KeyValues, TLocateOptions Options);
  // The ResultFields of that record without moving; Null when none.
  virtual Variant Lookup(std::string_view KeyFields, const Variant& KeyValues, std::string_view ResultFields);

  // --- Filter -------------------------------------------------------------
  const std::string& Filter() const { return FilterText_; }
  void SetFilter(const std::string& Value);
  bool Filtered() const { return Filtered_; }
  void SetFiltered(bool Value);
  TFilterOptions FilterOptions() const { return FilterOptions_; }
  void SetFilterOptions(TFilterOptions Value);
  TFilterRecordEvent OnFilterRecord() const { return OnFilterRecord_; }
  void SetOnFilterRecord(TFilterRecordEvent Value);

  // --- Master and nested data sets ----------------------------------------
  // The data source this data set takes its master record from (nil here).
  virtual TDataSource* GetDataSource() const { return nullptr; }
  TDataSource* DataSource() const { return GetDataSource(); }
  TDataSetField* DataSetField() const { return DataSetField_; }
  virtual void SetDataSetField(TDataSetField* Value);
  // True when reading from the data source would read from this data set
  // (through masters or as the parent of a nested data set).
  bool IsLinkedTo(TDataSource* ADataSource) const;

  // --- Misc ---------------------------------------------------------------
  bool AutoCalcFields = true;
  // Brings FieldDefs up to date with the data set's structure.
  void InitFieldDefs();
  TStream* CreateBlobStream(TField* Field, TBlobStreamMode Mode);
  // Tells the data sources, and through them the links.
  virtual void DataEvent(TDataEvent Event, NativeInt Info);
  // Moves the underlying cursor to the current record.
  void UpdateCursorPos();
  void CursorPosChanged() { CurrentRecord_ = -1; }
  void Resync(TResyncMode Mode);

  // --- Record window (links and descendants) -------------------------------
  Integer BufferCount() const { return BufferCount_; }
  Integer WindowRecordCount() const { return RecordCount_; }
  Integer ActiveRecord() const { return ActiveRecord_; }
  // The link's way to read another row of the window: no events.
  void SetActiveRecordIndex(Integer Index);
  // Sizes the window for the largest link; called when links come and go.
  void UpdateBufferCount();

  // --- Events -------------------------------------------------------------
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  TDataSetErrorEvent OnDeleteError, OnEditError, OnPostError;

  // Streaming: persistent fields are the data set's children.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void DefineProperties(TFiler* Filer) override;
  TPoint DesignPosition;

  // Checks used by fields and links.
  void CheckActive() const;
  void CheckInactive() const;
  void CheckBiDirectional() const;
  void CheckCanModify() const;

  // The buffer fields read now: the current record, or the record being
  // calculated or filtered; nil when there is none.
  TRecordBuffer* GetActiveRecBuf() const;
  bool GetFieldData(const TField* Field, Variant& Value) const;
  void SetFieldData(TField* Field, const Variant& Value);
  // The data sources attached to this data set.
  const std::vector<TDataSource*>& DataSources() const { return DataSources_; }
  // Lookup and calculated fields of a buffer.
  void CalculateFields(TRecordBuffer& Buffer);

 protected:
  friend class TDataSource;
  friend class TField;
  friend class TDataSetField;

  // --- Cursor protocol of descendants ---------------------------------------
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalInitFieldDefs() = 0;
  // Puts the cursor before the first / after the last record.
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  // Moves the cursor (gmNext, gmPrior) or stays (gmCurrent) and fills
  // Buffer with the record there.
  virtual TGetResult GetRecord(TRecordBuffer& Buffer, TGetMode GetMode, bool DoCheck) = 0;
  virtual void InternalSetToRecord(const TRecordBuffer& Buffer) = 0;
  virtual TBookmark GetBookmarkData(const TRecordBuffer& Buffer) const = 0;
  virtual void InternalGotoBookmark(const TBookmark& ABookmark) = 0;
  virtual void InternalInitRecord(TRecordBuffer& Buffer);
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  // Stores the current buffer; the base checks the required fields.
  virtual void InternalPost();
  virtual void InternalCancel() {}
  virtual void InternalDelete() = 0;
  virtual void InternalRefresh() = 0;
  virtual bool GetCanModify() const { return Active(); }
  virtual Integer GetRecordCount() const { return -1; }
  virtual Integer GetRecNo() const { return -1; }
  virtual void SetRecNoValue(Integer Value) { (void)Value; }
  // The filter settings changed (the data set is open); the base does nothing.
  virtual void FilterChanged() {}
  // A new record was set up by Insert or Append: OnNewRecord.
  virtual void DoOnNewRecord();
  // A nested data set's parent must have a posted record before the nested
  // records change; the base has no parent.
  virtual void CheckParentState() {}
  void DoBeforeScroll();
  void DoAfterScroll();
  // A field's value in a buffer that is not the current one (data fields
  // from Values, calculated and lookup fields from CalcValues).
  Variant BufferFieldValue(const TRecordBuffer& Buffer, const TField* Field) const;
  // A data set for a TDataSetField of this data set that has none.
  virtual TDataSet* CreateNestedDataSet(TDataSetField* Field) {
    (void)Field;
    return nullptr;
  }

 public:
  // The data values (by FieldNo - 1) of every record in data set order;
  // aggregates are computed over them. The base has no records.
  virtual void ForEachRecordValues(const std::function<void(const std::vector<Variant>& Values)>& Proc) const {
    (void)Proc;
  }

 protected:

  // --- Helpers for descendants ---------------------------------------------
  TRecordBuffer& ActiveBuffer() const { return *Buffers_[static_cast<size_t>(ActiveRecord_)]; }
  // Sizes the value vectors of new buffers.
  void SetRecordLayout(Integer DataValueCount);
  void InitRecord(TRecordBuffer& Buffer);
  TDataSetState SetTempState(TDataSetState Value);
  void RestoreState(TDataSetState Value) { State_ = Value; }
  // Field objects: creates the default fields from FieldDefs, binds fields to
  // definitions (FieldNo, type check) and frees default fields.
  void CreateFields();
  void BindFields(bool Binding);
  void DestroyFields();
  void SetUniDirectional(bool Value) { UniDirectional_ = Value; }
  void SetState(TDataSetState Value);
  void ClearBuffers();
  TDataSetState StateBeforeTemp() const { return TempSavedState_; }
  // Runs Operation, retrying or aborting as the error event says.
  template <typename F>
  void CheckOperation(F Operation, const TDataSetErrorEvent& ErrorEvent);
  // Whether the record in Buffer passes OnFilterRecord (state dsFilter).
  bool RecordPassesFilterEvent(TRecordBuffer& Buffer);
  // A scratch buffer of the record layout.
  std::unique_ptr<TRecordBuffer> NewRecordBuffer() const;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Closes without events when the concrete class goes away.
  void CloseForDestruction();
  bool HasCalcFields() const { return CalcSlotCount_ > 0; }
  // Marks the aggregate values as out of date (data changed).
  void AggregatesChanged();

  TDataSetField* DataSetField_ = nullptr;

 private:
  void OpenCursor();
  void CloseCursor();
  void SetBufferCount(Integer Value);
  bool GetNextRecord();
  bool GetPriorRecord();
  Integer GetNextRecords();
  Integer GetPriorRecords();
  void ActivateBuffers();
  void MoveBuffer(Integer CurIndex, Integer NewIndex);
  void SetCurrentRecord(Integer Index);
  void BeginInsertAppend();
  void EndInsertAppend();
  void FreeFieldBuffers() {}
  void SetModified(bool Value) { Modified_ = Value; }
  void CheckRequiredFields();
  void CheckFieldsForOpen();
  void AssignCalcSlots();
  void RefreshLookupLists();
  void UpdateCalcFields(TField* Changed);
  void AddDataSource(TDataSource* Source);
  void RemoveDataSource(TDataSource* Source);
  void SetFieldsFromValues(const std::vector<Variant>& Values);

  std::unique_ptr<TFields> Fields_;
  std::unique_ptr<TFields> AggFields_;
  std::unique_ptr<TFieldDefs> FieldDefs_;
  std::vector<TDataSource*> DataSources_;
  std::vector<std::unique_ptr<TRecordBuffer>> Buffers_;
  std::unique_ptr<TRecordBuffer> CalcScratch_;
  TRecordBuffer* CalcBuffer_ = nullptr;
  TRecordBuffer* FilterBuffer_ = nullptr;
  Integer BufferCount_ = 0;
  Integer RecordCount_ = 0;
  Integer ActiveRecord_ = 0;
  Integer CurrentRecord_ = -1;
  Integer DataValueCount_ = 0;
  Integer CalcSlotCount_ = 0;
  TDataSetState State_ = dsInactive;
  TDataSetState TempSavedState_ = dsInactive;
  TDataSetState DisableState_ = dsInactive;
  TDataEvent EnableEvent_ = deDataSetChange;
  Integer DisableCount_ = 0;
  bool Bof_ = true;
  bool Eof_ = true;
  bool Modified_ = false;
  bool Found_ = false;
  bool DefaultFields_ = false;
  bool UniDirectional_ = false;
  bool StreamedActive_ = false;
  bool InternalOpenComplete_ = false;
  std::string FilterText_;
  bool Filtered_ = false;
  TFilterOptions FilterOptions_;
  TFilterRecordEvent OnFilterRecord_;
};

template <typename F>
void TDataSet::CheckOperation(F Operation, const TDataSetErrorEvent& ErrorEvent) {
  for (;;) {
    try {
      UpdateCursorPos();
      Operation();
      return;
    } catch (EDatabaseError& E) {
      TDataAction action = daFail;
      if (ErrorEvent) ErrorEvent(this, &E, action);
      if (action == daFail) throw;
      if (action == daAbort) Abort();
    }
  }
}
