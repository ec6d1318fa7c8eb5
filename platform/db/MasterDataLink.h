// TMasterDataLink: how a detail data set follows its master. The link looks
// at the master through a data source; FieldNames names the master fields
// whose values choose the detail records. A change of the master's record
// (or of one of those fields) raises OnMasterChange; a master that closes or
// has none of the fields raises OnMasterDisable. The link is not a visual
// control: disabling the master's controls does not mute it.
#pragma once

#include <string>
#include <vector>

#include "platform/db/DataSource.h"

class TMasterDataLink : public TDataLink {
  VXN_DECLARE_CLASS(TMasterDataLink)

 public:
  // ADataSet is the detail, which the link keeps in browse mode when the
  // master moves.
  explicit TMasterDataLink(TDataSet* ADataSet) : DetailDataSet_(ADataSet) {}

  TDataSet* DetailDataSet() const { return DetailDataSet_; }
  const std::string& FieldNames() const { return FieldNames_; }
  void SetFieldNames(const std::string& Value);
  // The master's fields of FieldNames (empty while the link is inactive).
  const std::vector<TField*>& Fields() const { return Fields_; }
  // The current values of Fields, one per field.
  std::vector<Variant> Values() const;

  TNotifyEvent OnMasterChange;
  TNotifyEvent OnMasterDisable;

  // A master closed while its controls are disabled frees its default
  // fields before the link hears of the state: the link lets go at once.
  void DataEvent(TDataEvent Event, NativeInt Info) override;

 protected:
  void ActiveChanged() override;
  void CheckBrowseMode() override;
  void LayoutChanged() override { ActiveChanged(); }
  void RecordChanged(TField* Field) override;

 private:
  TDataSet* DetailDataSet_;
  std::string FieldNames_;
  std::vector<TField*> Fields_;
};
