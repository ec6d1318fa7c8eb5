// TDataSource, the connector between a data set and the objects that show or
// follow it, and TDataLink, the base of those objects. A link looks at a
// window of BufferCount records of the data set's record window and hears
// the data set's notices as calls of its virtual operations.
#pragma once

#include <vector>

#include "platform/db/DataSetTypes.h"
#include "platform/rtl/Components.h"

class TDataSet;
class TDataLink;
class TField;

using TDataChangeEvent = TDelegate<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
  VXN_DECLARE_CLASS(TDataSource)

 public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return DataSet_; }
  void SetDataSet(TDataSet* ADataSet);
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool Value);
  bool AutoEdit = true;
  // The data set's state as this source passes it on (dsInactive when
  // disabled or without a data set).
  TDataSetState State() const { return State_; }
  // Puts the data set in edit state when AutoEdit allows and it browses.
  void Edit();
  // Whether reading from this source would read from ADataSet.
  bool IsLinkedTo(TDataSet* ADataSet) const;

  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnUpdateData;

  // The data set's notices: links first (the non-visual ones, then the
  // visual ones), then this source's own events.
  void DataEvent(TDataEvent Event, NativeInt Info);
  // Only the links whose VisualControl equals Visual (the data set mutes
  // visual links while its controls are disabled).
  void NotifyLinkTypes(TDataEvent Event, NativeInt Info, bool Visual);
  const std::vector<TDataLink*>& DataLinks() const { return DataLinks_; }
  void DefineProperties(TFiler* Filer) override;
  TPoint DesignPosition;

 protected:
  friend class TDataLink;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void AddDataLink(TDataLink* Link);
  void RemoveDataLink(TDataLink* Link);
  void UpdateState();
  void SetState(TDataSetState Value);

  TDataSet* DataSet_ = nullptr;
  bool Enabled_ = true;
  TDataSetState State_ = dsInactive;
  std::vector<TDataLink*> DataLinks_;
};

class TDataLink : public TPersistent {
  VXN_DECLARE_CLASS(TDataLink)

 public:
  TDataLink() = default;
  ~TDataLink() override;

  TDataSource* DataSource() const { return DataSource_; }
  void SetDataSource(TDataSource* ADataSource);
  TDataSet* DataSet() const;
  bool Active() const { return Active_; }
  bool Editing() const { return Editing_; }
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool Value);
  // Whether disabling the data set's controls mutes this link.
  bool VisualControl() const { return VisualControl_; }
  void SetVisualControl(bool Value) { VisualControl_ = Value; }
  bool DataSourceFixed() const { return DataSourceFixed_; }
  void SetDataSourceFixed(bool Value) { DataSourceFixed_ = Value; }

  // The link's window: up to BufferCount rows of the data set's window.
  Integer BufferCount() const { return BufferCount_; }
  void SetBufferCount(Integer Value);
  // Rows of the window that hold records.
  Integer RecordCount() const;
  // The current record's row in the window. Setting it makes another row
  // the one fields read, without moving the data set or sending notices;
  // set it back when done.
  Integer ActiveRecord() const;
  void SetActiveRecord(Integer Value);
  bool Bof() const;
  bool Eof() const;

  // Puts the data set in edit state when the link and the source allow it;
  // answers whether the link is editing afterwards.
  bool Edit();
  // Writes the link's pending value (UpdateData) outside a notice.
  void UpdateRecord();

  // The window's first row in the data set's window; the data set keeps it.
  Integer FirstRecord() const { return FirstRecord_; }

  // Receives every notice of the data source.
  virtual void DataEvent(TDataEvent Event, NativeInt Info);

 protected:
  friend class TDataSource;
  friend class TDataSet;

  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  // The default reactions chain to RecordChanged(nil).
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(Integer Distance) {
    (void)Distance;
    DataSetChanged();
  }
  virtual void EditingChanged() {}
  // Field is a reference the link may clear to say it focused the control.
  virtual void FocusControl(TField** Field) { (void)Field; }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* Field) { (void)Field; }
  virtual void UpdateData() {}

  // Keeps the window around the data set's active record and inside the
  // data set's window.
  void UpdateRange();
  void AdjustFirstRecord(Integer Delta) { FirstRecord_ += Delta; }

 private:
  void UpdateState();
  void SetActive(bool Value);
  void SetEditing(bool Value);

  TDataSource* DataSource_ = nullptr;
  Integer BufferCount_ = 1;
  Integer FirstRecord_ = 0;
  bool Active_ = false;
  bool Editing_ = false;
  bool ReadOnly_ = false;
  bool Updating_ = false;
  bool VisualControl_ = false;
  bool DataSourceFixed_ = false;
};
