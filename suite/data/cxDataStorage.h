// The record storage of the data controller: raw record buffers, allocated
// on first write, laid out by the value definitions of the controller's
// fields. Ordinary records have indexes 0, 1, 2 ...; internal records (copies
// of records being edited or saved) have indexes -1, -2 ... and a mirrored
// list of value definitions of their own.
//
//   record buffer
//   +-------+-----------+-------------------------------+------------------+----
//   | flags | record ID | value 1                       | value 2          | ...
//   | 1     | 4 (only   | assigned 1 | data | text cell | ...              |
//   |       | with IDs) |            | width| (pointer, |                  |
//   |       |           |            |      | when text |                  |
//   |       |           |            |      | is stored)|                  |
//   +-------+-----------+-------------------------------+------------------+----
//   flags bit 0: the internal record is in use. Assigned byte 0: absent (Null).
// A value that is not stored takes no room. Buffers start zero-filled.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Delegates.h"
#include "suite/data/cxValueTypes.h"

class TcxDataStorage;
class TcxValueDefs;

class TcxValueDef : public TObject {
  VXN_DECLARE_CLASS(TcxValueDef)

 public:
  TcxValueDef(TcxValueDefs* AOwner, TcxValueTypeClass AValueTypeClass);
  // Leaves the owner list: the storage narrows the live buffers first.
  ~TcxValueDef() override;

  virtual TObject* LinkedObject() const { return FLinkObject; }
  virtual bool IsStored() const;
  virtual void AssignLinkedObject(TObject* Value) { FLinkObject = Value; }
  // Copies IsStored and HasStoredText through the two write accessors.
  virtual void CopySettings(TcxValueDef* Source);

  bool HasStoredText() const { return IsStored() && FTextStored; }
  void AssignStored(bool Value);
  void AssignTextStored(bool Value);
  bool Stored() const { return FStored; }
  bool TextStored() const { return FTextStored; }

  Integer Room() const { return FRoom; }
  Integer DataWidth() const { return FDataWidth; }
  Integer Offset() const { return FOffset; }
  TcxValueDefs* Owner() const { return FOwner; }
  TcxValueTypeClass ValueTypeClass() const { return FValueTypeClass; }

  // Lays the value out from a running offset, which it advances.
  void ComputeSlot(Integer& ARunningOffset);

  // Operations on one whole record buffer (nil where a buffer may be missing).
  Integer CompareInBuffers(const Byte* ABuffer1, const Byte* ABuffer2) const;
  Variant ValueInBuffer(const Byte* ABuffer) const;
  std::string TextInBuffer(const Byte* ABuffer) const;
  // The assigned byte and the data change only when the value converts; a
  // failed conversion leaves the value as it was and raises.
  void StoreInBuffer(Byte* ABuffer, const Variant& AValue) const;
  void StoreTextInBuffer(Byte* ABuffer, const std::string& AText) const;
  void MarkNull(Byte* AAssigned, bool ANull) const;
  void ReleaseInBuffer(Byte* ABuffer) const;
  Integer CompareWithNullFlags(bool ANull1, bool ANull2, const void* APrepared1, const void* APrepared2) const;

 protected:
  void NotifyChanged(bool AIsTextStored);

 private:
  friend class TcxValueDefs;

  Integer FRoom = 0;
  Integer FDataWidth = 0;
  bool FStored = true;
  TObject* FLinkObject = nullptr;
  Integer FOffset = 0;
  bool FTextStored = false;
  TcxValueDefs* FOwner;
  TcxValueTypeClass FValueTypeClass;
};

// The mirror of an ordinary value definition in the internal records.
class TcxInternalValueDef : public TcxValueDef {
  VXN_DECLARE_CLASS(TcxInternalValueDef)

 public:
  using TcxValueDef::TcxValueDef;
  // The linked object of the mirrored definition.
  TObject* LinkedObject() const override;
  bool IsStored() const override { return true; }
  TcxValueDef* MirroredDef() const;
};

class TcxValueDefs : public TObject {
  VXN_DECLARE_CLASS(TcxValueDefs)

 public:
  explicit TcxValueDefs(TcxDataStorage* AStorage);
  ~TcxValueDefs() override;

  TcxValueDef* AddValueDef(TcxValueTypeClass AValueTypeClass, bool AStored, TObject* ALinkObject,
                           bool ATextStored);
  // Frees the definitions from the last to the first.
  void ClearDefs();
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // EListError for a bad index.
  TcxValueDef* Items(Integer Index) const;
  Integer IndexOf(const TcxValueDef* ADef) const;
  Integer StoredCount() const;
  Integer StartOffset() const { return FStartOffset; }
  Integer RecordSize() const { return FRecordSize; }
  TcxDataStorage* Storage() const { return FStorage; }

  virtual void DefChanged(TcxValueDef* ADef, bool AIsTextStored);
  virtual TClass ValueDefClass() const { return TcxValueDef::StaticClass(); }
  virtual void ArrangeRecord(Integer AStartOffset);

 protected:
  // The virtual constructor of ValueDefClass.
  virtual TcxValueDef* CreateValueDef(TcxValueTypeClass AValueTypeClass);

 private:
  friend class TcxValueDef;
  void DefDestroying(TcxValueDef* ADef);

  TcxDataStorage* FStorage;
  std::vector<std::unique_ptr<TcxValueDef>> FItems;
  Integer FStartOffset = 0;
  Integer FRecordSize = 0;
};

class TcxInternalValueDefs : public TcxValueDefs {
  VXN_DECLARE_CLASS(TcxInternalValueDefs)

 public:
  using TcxValueDefs::TcxValueDefs;
  TClass ValueDefClass() const override { return TcxInternalValueDef::StaticClass(); }
  // Searches from the last definition to the first.
  TcxInternalValueDef* FindByLink(const TcxValueDef* ADef) const;
  void RemoveByLink(const TcxValueDef* ADef);

 protected:
  TcxValueDef* CreateValueDef(TcxValueTypeClass AValueTypeClass) override;
};

// Supplies the values of one record; the data controller derives readers that
// read unbound values, another record or a data set.
class TcxValueDefReader : public TObject {
  VXN_DECLARE_CLASS(TcxValueDefReader)

 public:
  virtual std::string SupplyText(TcxValueDef* AValueDef);
  virtual Variant SupplyValue(TcxValueDef* AValueDef);
  virtual bool SkipsValueDef(TcxValueDef* AValueDef);
};

using TcxLoadRecordMethod = TDelegate<void(TcxValueDef* AValueDef, Integer ARecordIndex, void* AData1, void* AData2)>;

class TcxDataStorage : public TObject {
  VXN_DECLARE_CLASS(TcxDataStorage)

 public:
  TcxDataStorage();
  ~TcxDataStorage() override;

  TcxValueDefs* ValueDefs() const { return FValueDefs.get(); }
  TcxInternalValueDefs* InternalValueDefs() const { return FInternalValueDefs.get(); }

  Integer RecordCount() const { return static_cast<Integer>(FRecords.size()); }
  // Appends or removes the last records until the count matches (a negative
  // count counts as 0).
  void SetRecordCount(Integer Value);
  Integer AddRecord();
  void InsertRecordAt(Integer ARecordIndex);
  // A negative index frees that internal record's slot.
  void RemoveRecord(Integer ARecordIndex);
  // The negative index of an internal record ready for use.
  Integer NewInternalRecord();
  Integer InternalRecordCount() const { return static_cast<Integer>(FInternalRecords.size()); }

  Variant RecordValue(Integer ARecordIndex, TcxValueDef* AValueDef);
  void AssignRecordValue(Integer ARecordIndex, TcxValueDef* AValueDef, const Variant& AValue);
  std::string RecordText(Integer ARecordIndex, TcxValueDef* AValueDef);
  void AssignRecordText(Integer ARecordIndex, TcxValueDef* AValueDef, const std::string& AText);
  Integer RecordID(Integer ARecordIndex);
  void AssignRecordID(Integer ARecordIndex, Integer AID);
  Integer CompareRecordValues(Integer ARecordIndex1, Integer ARecordIndex2, TcxValueDef* AValueDef);
  // True when the value is absent; otherwise APrepared is the value's
  // prepared data pointer, for CompareWithNullFlags.
  bool PrepareCompare(Integer ARecordIndex, TcxValueDef* AValueDef, const void*& APrepared);
  // Whether the record has a buffer yet.
  bool HasRecordBuffer(Integer ARecordIndex) const;

  void StartLoading();
  void FinishLoading();
  void LoadRecord(Integer ARecordIndex, TcxValueDefReader* AReader);
  void LoadRecordVia(Integer ARecordIndex, const TcxLoadRecordMethod& AMethod, void* AData1, void* AData2);

  void ClearStorage(bool AKeepInternalRecords = false);
  void DropInternalRecords();

  bool KeepStoredOnly() const { return FStoredOnly; }
  void AssignKeepStoredOnly(bool Value);
  bool KeepRecordIDs() const { return FKeepRecordIDs; }
  void AssignKeepRecordIDs(bool Value);
  Integer RecordHeaderSize() const { return FKeepRecordIDs ? 5 : 1; }

  TNotifyEvent OnInternalRecordsCleared;

  virtual void ArrangeStructure(TcxValueDefs* AValueDefs);
  virtual void ValueDefChanged(TcxValueDef* ADef, bool AIsTextStored);
  TcxValueDefs* DefsOfRecord(Integer ARecordIndex) const;

 private:
  friend class TcxValueDefs;
  friend class TcxValueDef;
  using Buffer = std::vector<Byte>;  // empty: the record has no buffer yet

  void ValueDefInserted(Integer APosition, TcxValueDef* ADef);
  void ValueDefRemoved(TcxValueDef* ADef);

  Buffer& Slot(Integer ARecordIndex);
  const Buffer& Slot(Integer ARecordIndex) const;
  Byte* ExistingBuffer(Integer ARecordIndex);
  Byte* EnsureBuffer(Integer ARecordIndex);
  void ReleaseRecordBuffer(Integer ARecordIndex);
  // Releases every buffer of the records a definition list lays out (the
  // records stay, reading absent).
  void ReleaseBuffersOf(TcxValueDefs* AValueDefs);
  void ReleaseRecords(bool AEmptyList);
  void EnsureRecordID(Integer ARecordIndex);
  TcxValueDef* ResolveValueDef(Integer ARecordIndex, TcxValueDef* AValueDef) const;
  // The buffers of the records that a definition list lays out.
  std::vector<Buffer>& BuffersOf(const TcxValueDefs* AValueDefs);

  std::vector<Buffer> FInternalRecords;
  std::unique_ptr<TcxInternalValueDefs> FInternalValueDefs;
  bool FStoredOnly = false;
  std::vector<Buffer> FRecords;
  Integer FRecordIDCounter = 1;
  bool FKeepRecordIDs = false;
  std::unique_ptr<TcxValueDefs> FValueDefs;
};
