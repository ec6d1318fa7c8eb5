#include "suite/data/cxDataStorage.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"

VXN_IMPLEMENT_CLASS(TcxValueDef, TObject)
VXN_IMPLEMENT_CLASS(TcxInternalValueDef, TcxValueDef)
VXN_IMPLEMENT_CLASS(TcxValueDefs, TObject)
VXN_IMPLEMENT_CLASS(TcxInternalValueDefs, TcxValueDefs)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxValueDefReader, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxDataStorage, TObject)

namespace {

[[noreturn]] void RaiseIndexError(Integer index) { throw EListError(Format(SListIndexError, {index})); }

Integer ReadInt32(const Byte* p) {
  int32_t value;
  std::memcpy(&value, p, 4);
  return value;
}

void WriteInt32(Byte* p, Integer value) {
  const int32_t v = value;
  std::memcpy(p, &v, 4);
}

constexpr Byte kInUse = 1;

}  // namespace

// --- value definition ------------------------------------------------------------

TcxValueDef::TcxValueDef(TcxValueDefs* AOwner, TcxValueTypeClass AValueTypeClass)
    : FOwner(AOwner), FValueTypeClass(AValueTypeClass) {}

TcxValueDef::~TcxValueDef() {
  if (FOwner) FOwner->DefDestroying(this);
}

bool TcxValueDef::IsStored() const {
  return FStored || !FOwner || !FOwner->Storage() || !FOwner->Storage()->KeepStoredOnly();
}

void TcxValueDef::CopySettings(TcxValueDef* Source) {
  AssignStored(Source->IsStored());
  AssignTextStored(Source->HasStoredText());
}

// A switch that changes the value's room would leave every live buffer of the
// list laid out for the old room: reading it then walks into the next value.
// So those buffers are released under the old layout first (the records stay,
// reading absent), and the list is laid out anew after the change.
void TcxValueDef::AssignStored(bool Value) {
  if (FStored == Value) return;
  const bool listed = FOwner && FOwner->IndexOf(this) >= 0;
  const bool relayout = listed && IsStored() != (Value || !FOwner->Storage()->KeepStoredOnly());
  if (relayout) FOwner->Storage()->ReleaseBuffersOf(FOwner);
  FStored = Value;
  NotifyChanged(false);
  if (relayout) FOwner->Storage()->ArrangeStructure(FOwner);
}

void TcxValueDef::AssignTextStored(bool Value) {
  if (FTextStored == Value) return;
  const bool listed = FOwner && FOwner->IndexOf(this) >= 0;
  const bool relayout = listed && IsStored();
  if (relayout) FOwner->Storage()->ReleaseBuffersOf(FOwner);
  FTextStored = Value;
  NotifyChanged(true);
  if (relayout) FOwner->Storage()->ArrangeStructure(FOwner);
}

void TcxValueDef::NotifyChanged(bool AIsTextStored) {
  if (FOwner) FOwner->DefChanged(this, AIsTextStored);
}

void TcxValueDef::ComputeSlot(Integer& ARunningOffset) {
  FDataWidth = FValueTypeClass->DataWidth();
  FOffset = ARunningOffset;
  if (IsStored()) {
    FRoom = 1 + FDataWidth + (HasStoredText() ? cxPointerSlotSize : 0);
    ARunningOffset += FRoom;
  } else {
    FRoom = 0;
  }
}

Integer TcxValueDef::CompareInBuffers(const Byte* ABuffer1, const Byte* ABuffer2) const {
  const bool absent1 = !ABuffer1 || ABuffer1[FOffset] == 0;
  const bool absent2 = !ABuffer2 || ABuffer2[FOffset] == 0;
  if (absent1 || absent2) return absent1 == absent2 ? 0 : (absent1 ? -1 : 1);
  return FValueTypeClass->CompareAt(ABuffer1 + FOffset + 1, ABuffer2 + FOffset + 1);
}

Variant TcxValueDef::ValueInBuffer(const Byte* ABuffer) const {
  const Byte* p = ABuffer + FOffset;
  Variant value = Null();
  if (p[0] != 0) FValueTypeClass->LoadVariant(p + 1, value);
  return value;
}

std::string TcxValueDef::TextInBuffer(const Byte* ABuffer) const {
  const Byte* p = ABuffer + FOffset;
  std::string text;
  if (HasStoredText())
    TcxValueType::LoadText(p + 1 + FDataWidth, text);
  else if (p[0] != 0)
    FValueTypeClass->DefaultText(p + 1, text);
  return text;
}

// The value converts before anything is written: a failed conversion leaves
// an absent value absent and a present one with its old bytes.
void TcxValueDef::StoreInBuffer(Byte* ABuffer, const Variant& AValue) const {
  Byte* p = ABuffer + FOffset;
  if (VarIsNull(AValue)) {
    MarkNull(p, true);
    return;
  }
  FValueTypeClass->StoreVariant(p + 1, AValue);
  MarkNull(p, false);
}

void TcxValueDef::StoreTextInBuffer(Byte* ABuffer, const std::string& AText) const {
  if (HasStoredText()) TcxValueType::StoreText(ABuffer + FOffset + 1 + FDataWidth, AText);
}

void TcxValueDef::MarkNull(Byte* AAssigned, bool ANull) const {
  if (!ANull) {
    AAssigned[0] = 1;
    return;
  }
  if (AAssigned[0] != 0) {
    FValueTypeClass->ReleaseData(AAssigned + 1);
    std::memset(AAssigned + 1, 0, static_cast<size_t>(FDataWidth));
  }
  AAssigned[0] = 0;
}

void TcxValueDef::ReleaseInBuffer(Byte* ABuffer) const {
  if (!IsStored()) return;
  Byte* p = ABuffer + FOffset;
  if (p[0] != 0) FValueTypeClass->ReleaseData(p + 1);
  if (HasStoredText()) TcxValueType::ReleaseText(p + 1 + FDataWidth);
}

Integer TcxValueDef::CompareWithNullFlags(bool ANull1, bool ANull2, const void* APrepared1,
                                          const void* APrepared2) const {
  if (ANull1 || ANull2) return ANull1 == ANull2 ? 0 : (ANull1 ? -1 : 1);
  return FValueTypeClass->ComparePrepared(APrepared1, APrepared2);
}

TcxValueDef* TcxInternalValueDef::MirroredDef() const { return dynamic_cast<TcxValueDef*>(TcxValueDef::LinkedObject()); }

TObject* TcxInternalValueDef::LinkedObject() const {
  TcxValueDef* mirrored = MirroredDef();
  return mirrored ? mirrored->LinkedObject() : nullptr;
}

// --- value definition lists ----------------------------------------------------------

TcxValueDefs::TcxValueDefs(TcxDataStorage* AStorage) : FStorage(AStorage) {}

TcxValueDefs::~TcxValueDefs() { ClearDefs(); }

TcxValueDef* TcxValueDefs::CreateValueDef(TcxValueTypeClass AValueTypeClass) {
  return new TcxValueDef(this, AValueTypeClass);
}

TcxValueDef* TcxValueDefs::AddValueDef(TcxValueTypeClass AValueTypeClass, bool AStored, TObject* ALinkObject,
                                       bool ATextStored) {
  std::unique_ptr<TcxValueDef> def(CreateValueDef(AValueTypeClass));
  def->AssignLinkedObject(ALinkObject);
  def->AssignStored(AStored);
  def->AssignTextStored(ATextStored);
  Integer offset = 0;
  def->ComputeSlot(offset);
  if (FStorage) FStorage->ValueDefInserted(Count(), def.get());
  FItems.push_back(std::move(def));
  if (FStorage) FStorage->ArrangeStructure(this);
  return FItems.back().get();
}

void TcxValueDefs::ClearDefs() {
  while (!FItems.empty()) FItems.back()->Free();
}

TcxValueDef* TcxValueDefs::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) RaiseIndexError(Index);
  return FItems[static_cast<size_t>(Index)].get();
}

Integer TcxValueDefs::IndexOf(const TcxValueDef* ADef) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == ADef) return static_cast<Integer>(i);
  return -1;
}

Integer TcxValueDefs::StoredCount() const {
  return static_cast<Integer>(std::count_if(FItems.begin(), FItems.end(), [](const auto& d) { return d->IsStored(); }));
}

void TcxValueDefs::DefChanged(TcxValueDef* ADef, bool AIsTextStored) {
  if (FStorage) FStorage->ValueDefChanged(ADef, AIsTextStored);
}

void TcxValueDefs::ArrangeRecord(Integer AStartOffset) {
  FStartOffset = AStartOffset;
  Integer offset = AStartOffset;
  for (auto& def : FItems) def->ComputeSlot(offset);
  FRecordSize = offset;
}

// Runs from the definition's destructor, while it still knows its layout.
void TcxValueDefs::DefDestroying(TcxValueDef* ADef) {
  const Integer index = IndexOf(ADef);
  if (index < 0) return;
  if (FStorage) FStorage->ValueDefRemoved(ADef);
  FItems[static_cast<size_t>(index)].release();
  FItems.erase(FItems.begin() + index);
  if (FStorage) FStorage->ArrangeStructure(this);
}

TcxValueDef* TcxInternalValueDefs::CreateValueDef(TcxValueTypeClass AValueTypeClass) {
  return new TcxInternalValueDef(this, AValueTypeClass);
}

TcxInternalValueDef* TcxInternalValueDefs::FindByLink(const TcxValueDef* ADef) const {
  for (Integer i = Count() - 1; i >= 0; --i) {
    auto* def = static_cast<TcxInternalValueDef*>(Items(i));
    if (def->MirroredDef() == ADef) return def;
  }
  return nullptr;
}

void TcxInternalValueDefs::RemoveByLink(const TcxValueDef* ADef) {
  if (TcxInternalValueDef* def = FindByLink(ADef)) def->Free();
}

// --- reader ------------------------------------------------------------------------------

std::string TcxValueDefReader::SupplyText(TcxValueDef*) { return {}; }
Variant TcxValueDefReader::SupplyValue(TcxValueDef*) { return Null(); }
bool TcxValueDefReader::SkipsValueDef(TcxValueDef*) { return false; }

// --- storage -----------------------------------------------------------------------------

TcxDataStorage::TcxDataStorage() {
  FInternalValueDefs = std::make_unique<TcxInternalValueDefs>(this);
  ArrangeStructure(FInternalValueDefs.get());
  FValueDefs = std::make_unique<TcxValueDefs>(this);
  ArrangeStructure(FValueDefs.get());
}

TcxDataStorage::~TcxDataStorage() {
  ClearStorage(false);
  // The ordinary definitions go first: each takes its internal mirror along.
  FValueDefs.reset();
  FInternalValueDefs.reset();
}

TcxValueDefs* TcxDataStorage::DefsOfRecord(Integer ARecordIndex) const {
  return ARecordIndex < 0 ? static_cast<TcxValueDefs*>(FInternalValueDefs.get()) : FValueDefs.get();
}

std::vector<TcxDataStorage::Buffer>& TcxDataStorage::BuffersOf(const TcxValueDefs* AValueDefs) {
  return AValueDefs == FInternalValueDefs.get() ? FInternalRecords : FRecords;
}

TcxDataStorage::Buffer& TcxDataStorage::Slot(Integer ARecordIndex) {
  return const_cast<Buffer&>(static_cast<const TcxDataStorage*>(this)->Slot(ARecordIndex));
}

const TcxDataStorage::Buffer& TcxDataStorage::Slot(Integer ARecordIndex) const {
  if (ARecordIndex >= 0) {
    if (ARecordIndex >= RecordCount()) RaiseIndexError(ARecordIndex);
    return FRecords[static_cast<size_t>(ARecordIndex)];
  }
  const Int64 k = -static_cast<Int64>(ARecordIndex) - 1;
  if (k >= InternalRecordCount()) RaiseIndexError(ARecordIndex);
  return FInternalRecords[static_cast<size_t>(k)];
}

bool TcxDataStorage::HasRecordBuffer(Integer ARecordIndex) const { return !Slot(ARecordIndex).empty(); }

Byte* TcxDataStorage::ExistingBuffer(Integer ARecordIndex) {
  Buffer& slot = Slot(ARecordIndex);
  return slot.empty() ? nullptr : slot.data();
}

Byte* TcxDataStorage::EnsureBuffer(Integer ARecordIndex) {
  Buffer& slot = Slot(ARecordIndex);
  if (slot.empty()) slot.assign(static_cast<size_t>(DefsOfRecord(ARecordIndex)->RecordSize()), 0);
  return slot.data();
}

void TcxDataStorage::ReleaseRecordBuffer(Integer ARecordIndex) {
  Buffer& slot = Slot(ARecordIndex);
  if (slot.empty()) return;
  Buffer buffer = std::move(slot);
  slot.clear();
  TcxValueDefs* defs = DefsOfRecord(ARecordIndex);
  for (Integer i = 0; i < defs->Count(); ++i) defs->Items(i)->ReleaseInBuffer(buffer.data());
}

void TcxDataStorage::ReleaseBuffersOf(TcxValueDefs* AValueDefs) {
  if (AValueDefs == FInternalValueDefs.get()) {
    for (Integer k = 0; k < InternalRecordCount(); ++k) ReleaseRecordBuffer(-(k + 1));
  } else {
    ReleaseRecords(false);
  }
}

void TcxDataStorage::ReleaseRecords(bool AEmptyList) {
  for (Integer i = 0; i < RecordCount(); ++i) ReleaseRecordBuffer(i);
  if (AEmptyList) FRecords.clear();
  if (FRecords.empty()) FRecordIDCounter = 1;
}

void TcxDataStorage::EnsureRecordID(Integer ARecordIndex) {
  if (!FKeepRecordIDs) return;
  Byte* buffer = EnsureBuffer(ARecordIndex);
  if (ReadInt32(buffer + 1) == 0) WriteInt32(buffer + 1, FRecordIDCounter++);
}

void TcxDataStorage::SetRecordCount(Integer Value) {
  if (Value < 0) Value = 0;
  while (RecordCount() < Value) AddRecord();
  while (RecordCount() > Value) RemoveRecord(RecordCount() - 1);
}

Integer TcxDataStorage::AddRecord() {
  FRecords.emplace_back();
  const Integer index = RecordCount() - 1;
  EnsureRecordID(index);
  return index;
}

void TcxDataStorage::InsertRecordAt(Integer ARecordIndex) {
  if (ARecordIndex < 0 || ARecordIndex > RecordCount()) RaiseIndexError(ARecordIndex);
  FRecords.emplace(FRecords.begin() + ARecordIndex);
  EnsureRecordID(ARecordIndex);
}

void TcxDataStorage::RemoveRecord(Integer ARecordIndex) {
  ReleaseRecordBuffer(ARecordIndex);
  if (ARecordIndex < 0) return;
  FRecords.erase(FRecords.begin() + ARecordIndex);
  if (FRecords.empty()) FRecordIDCounter = 1;
}

Integer TcxDataStorage::NewInternalRecord() {
  size_t k = 0;
  while (k < FInternalRecords.size() && !FInternalRecords[k].empty() && (FInternalRecords[k][0] & kInUse) != 0) ++k;
  if (k == FInternalRecords.size()) FInternalRecords.emplace_back();
  const Integer index = -static_cast<Integer>(k) - 1;
  EnsureBuffer(index)[0] |= kInUse;
  return index;
}

TcxValueDef* TcxDataStorage::ResolveValueDef(Integer ARecordIndex, TcxValueDef* AValueDef) const {
  if (!AValueDef) return nullptr;
  if (ARecordIndex < 0 && AValueDef->Owner() == FValueDefs.get()) return FInternalValueDefs->FindByLink(AValueDef);
  if (!AValueDef->IsStored()) return nullptr;  // no room in any buffer
  return AValueDef;
}

Variant TcxDataStorage::RecordValue(Integer ARecordIndex, TcxValueDef* AValueDef) {
  Byte* buffer = ExistingBuffer(ARecordIndex);
  TcxValueDef* def = ResolveValueDef(ARecordIndex, AValueDef);
  return buffer && def ? def->ValueInBuffer(buffer) : Null();
}

void TcxDataStorage::AssignRecordValue(Integer ARecordIndex, TcxValueDef* AValueDef, const Variant& AValue) {
  Slot(ARecordIndex);
  TcxValueDef* def = ResolveValueDef(ARecordIndex, AValueDef);
  if (!def) throw EInvalidOperation("The value is not stored in this record");
  def->StoreInBuffer(EnsureBuffer(ARecordIndex), AValue);
}

std::string TcxDataStorage::RecordText(Integer ARecordIndex, TcxValueDef* AValueDef) {
  Byte* buffer = ExistingBuffer(ARecordIndex);
  TcxValueDef* def = ResolveValueDef(ARecordIndex, AValueDef);
  return buffer && def ? def->TextInBuffer(buffer) : std::string();
}

void TcxDataStorage::AssignRecordText(Integer ARecordIndex, TcxValueDef* AValueDef, const std::string& AText) {
  Slot(ARecordIndex);
  TcxValueDef* def = ResolveValueDef(ARecordIndex, AValueDef);
  if (!def) throw EInvalidOperation("The value is not stored in this record");
  def->StoreTextInBuffer(EnsureBuffer(ARecordIndex), AText);
}

Integer TcxDataStorage::RecordID(Integer ARecordIndex) {
  Slot(ARecordIndex);
  if (!FKeepRecordIDs) return 0;
  return ReadInt32(EnsureBuffer(ARecordIndex) + 1);
}

void TcxDataStorage::AssignRecordID(Integer ARecordIndex, Integer AID) {
  Slot(ARecordIndex);
  if (FKeepRecordIDs) WriteInt32(EnsureBuffer(ARecordIndex) + 1, AID);
}

// Each record's value is found through its own definition: an internal record
// lays its values out by the mirror, which may sit at another offset.
Integer TcxDataStorage::CompareRecordValues(Integer ARecordIndex1, Integer ARecordIndex2, TcxValueDef* AValueDef) {
  const void* p1 = nullptr;
  const void* p2 = nullptr;
  const bool absent1 = PrepareCompare(ARecordIndex1, AValueDef, p1);
  const bool absent2 = PrepareCompare(ARecordIndex2, AValueDef, p2);
  if (absent1 || absent2) return absent1 == absent2 ? 0 : (absent1 ? -1 : 1);
  // Both definitions share the value type; the type compares data positions.
  TcxValueTypeClass type = AValueDef->ValueTypeClass();
  const Byte* b1 = ExistingBuffer(ARecordIndex1) + ResolveValueDef(ARecordIndex1, AValueDef)->Offset() + 1;
  const Byte* b2 = ExistingBuffer(ARecordIndex2) + ResolveValueDef(ARecordIndex2, AValueDef)->Offset() + 1;
  return type->CompareAt(b1, b2);
}

bool TcxDataStorage::PrepareCompare(Integer ARecordIndex, TcxValueDef* AValueDef, const void*& APrepared) {
  APrepared = nullptr;
  Byte* buffer = ExistingBuffer(ARecordIndex);
  TcxValueDef* def = ResolveValueDef(ARecordIndex, AValueDef);
  if (!buffer || !def || buffer[def->Offset()] == 0) return true;
  APrepared = def->ValueTypeClass()->PrepareDataPointer(buffer + def->Offset() + 1);
  return false;
}

void TcxDataStorage::StartLoading() {}
void TcxDataStorage::FinishLoading() {}

void TcxDataStorage::LoadRecord(Integer ARecordIndex, TcxValueDefReader* AReader) {
  Byte* buffer = EnsureBuffer(ARecordIndex);
  TcxValueDefs* defs = DefsOfRecord(ARecordIndex);
  for (Integer i = 0; i < defs->Count(); ++i) {
    TcxValueDef* def = defs->Items(i);
    // A value without room cannot be loaded (it would land on its neighbour).
    if (!def->IsStored() || AReader->SkipsValueDef(def)) continue;
    def->StoreInBuffer(buffer, AReader->SupplyValue(def));
    if (def->HasStoredText()) def->StoreTextInBuffer(buffer, AReader->SupplyText(def));
  }
}

void TcxDataStorage::LoadRecordVia(Integer ARecordIndex, const TcxLoadRecordMethod& AMethod, void* AData1,
                                   void* AData2) {
  TcxValueDefs* defs = DefsOfRecord(ARecordIndex);
  for (Integer i = 0; i < defs->Count(); ++i) AMethod(defs->Items(i), ARecordIndex, AData1, AData2);
}

void TcxDataStorage::ClearStorage(bool AKeepInternalRecords) {
  if (!AKeepInternalRecords) DropInternalRecords();
  ReleaseRecords(true);
}

void TcxDataStorage::DropInternalRecords() {
  ReleaseBuffersOf(FInternalValueDefs.get());
  FInternalRecords.clear();
  if (OnInternalRecordsCleared) OnInternalRecordsCleared(this);
}

void TcxDataStorage::AssignKeepStoredOnly(bool Value) {
  if (FStoredOnly == Value) return;
  ReleaseRecords(false);
  FStoredOnly = Value;
  ArrangeStructure(FValueDefs.get());
}

// Records that stay through the change get fresh IDs when IDs are now kept.
void TcxDataStorage::AssignKeepRecordIDs(bool Value) {
  if (FKeepRecordIDs == Value) return;
  ReleaseRecords(false);
  FKeepRecordIDs = Value;
  ArrangeStructure(FValueDefs.get());
  FRecordIDCounter = 1;
  for (Integer i = 0; i < RecordCount(); ++i) EnsureRecordID(i);
}

void TcxDataStorage::ArrangeStructure(TcxValueDefs* AValueDefs) { AValueDefs->ArrangeRecord(RecordHeaderSize()); }

void TcxDataStorage::ValueDefChanged(TcxValueDef*, bool) {}

void TcxDataStorage::ValueDefInserted(Integer APosition, TcxValueDef* ADef) {
  TcxValueDefs* defs = ADef->Owner();
  if (defs == FValueDefs.get())
    FInternalValueDefs->AddValueDef(ADef->ValueTypeClass(), ADef->Stored(), ADef, ADef->TextStored());
  if (ADef->Room() == 0) return;
  const size_t at = APosition < defs->Count() ? static_cast<size_t>(defs->Items(APosition)->Offset())
                                               : static_cast<size_t>(defs->RecordSize());
  for (Buffer& buffer : BuffersOf(defs)) {
    if (buffer.empty()) continue;
    buffer.insert(buffer.begin() + static_cast<std::ptrdiff_t>(std::min(at, buffer.size())),
                  static_cast<size_t>(ADef->Room()), Byte{0});
  }
}

void TcxDataStorage::ValueDefRemoved(TcxValueDef* ADef) {
  TcxValueDefs* defs = ADef->Owner();
  if (defs == FValueDefs.get()) FInternalValueDefs->RemoveByLink(ADef);
  if (!ADef->IsStored()) return;
  std::vector<Buffer>& buffers = BuffersOf(defs);
  const bool lastStored = defs->StoredCount() < 2;
  for (size_t k = 0; k < buffers.size(); ++k) {
    if (buffers[k].empty()) continue;
    const Integer index = defs == FValueDefs.get() ? static_cast<Integer>(k) : -static_cast<Integer>(k) - 1;
    if (lastStored) {
      ReleaseRecordBuffer(index);
      continue;
    }
    Buffer& buffer = buffers[k];
    ADef->ReleaseInBuffer(buffer.data());
    const auto from = buffer.begin() + ADef->Offset();
    buffer.erase(from, from + ADef->Room());
  }
}
