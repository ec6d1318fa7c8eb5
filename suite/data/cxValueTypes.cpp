#include "suite/data/cxValueTypes.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ObjectHandles.h"
#include "platform/rtl/SqlTimSt.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxDataStreams.h"
#include "suite/editors/cxFilterEditsController.h"
#include "suite/foundation/cxVariants.h"

namespace {

template <typename T>
T LoadAt(const void* p) {
  T value;
  std::memcpy(&value, p, sizeof(T));
  return value;
}

template <typename T>
void StoreAt(void* p, const T& value) {
  std::memcpy(p, &value, sizeof(T));
}

// The heap cell a pointer slot refers to (nil when none).
template <typename Cell>
Cell* CellAt(const Byte* p) {
  return LoadAt<Cell*>(p);
}

// Puts the value into the slot's cell, creating the cell on first store.
template <typename Cell>
void StoreCell(Byte* p, Cell&& value) {
  if (Cell* cell = CellAt<Cell>(p)) {
    *cell = std::move(value);
  } else {
    StoreAt<Cell*>(p, new Cell(std::move(value)));
  }
}

template <typename Cell>
void ReleaseCell(Byte* p) {
  delete CellAt<Cell>(p);
  StoreAt<Cell*>(p, nullptr);
}

template <typename T>
Integer Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// How many values hold each object handle; the last one to let go frees the
// object. Values of one process, user-interface thread only.
std::unordered_map<Integer, Integer>& ObjectHolders() {
  static std::unordered_map<Integer, Integer> holders;
  return holders;
}

// Drops one holder of a handle; answers whether it was the last one.
bool DropObjectHolder(Integer handle) {
  auto& holders = ObjectHolders();
  const auto it = holders.find(handle);
  if (it == holders.end()) return false;
  if (--it->second > 0) return false;
  holders.erase(it);
  return true;
}

// A missing cell sorts first; texts compare by code unit (bytes as unsigned
// values, char_traits<char> does so), a proper prefix first.
template <typename Text>
Integer CompareTextCells(const void* P1, const void* P2) {
  const auto* s1 = static_cast<const Text*>(P1);
  const auto* s2 = static_cast<const Text*>(P2);
  if (!s1 || !s2) return Sign(s1 != nullptr, s2 != nullptr);
  const int c = s1->compare(*s2);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

VXN_IMPLEMENT_CLASS(TcxValueType, TObject)

#define VXN_IMPLEMENT_VALUE_TYPE(Name, Parent) \
  VXN_IMPLEMENT_CLASS(Name, Parent)            \
  TcxValueTypeClass Name::Class() {            \
    static const Name instance;                \
    return &instance;                          \
  }

TcxValueTypeClass TcxValueType::Class() {
  static const TcxValueType instance;
  return &instance;
}

VXN_IMPLEMENT_VALUE_TYPE(TcxStringValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxWideStringValueType, TcxStringValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxSmallintValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxIntegerValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxObjectValueType, TcxIntegerValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxWordValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxBooleanValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxFloatValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxCurrencyValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxDateTimeValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxLargeIntValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxFMTBcdValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxSQLTimeStampValueType, TcxValueType)
VXN_IMPLEMENT_VALUE_TYPE(TcxVariantValueType, TcxValueType)
VXN_IMPLEMENT_CLASS(TcxValueTypeClassList, TObject)

// --- base -------------------------------------------------------------------

Integer TcxValueType::CompareAt(const Byte* P1, const Byte* P2) const {
  return ComparePrepared(PrepareDataPointer(P1), PrepareDataPointer(P2));
}

void TcxValueType::ReleaseData(Byte*) const {}

void TcxValueType::LoadVariant(const Byte*, Variant& V) const { V = Null(); }

void TcxValueType::DefaultText(const Byte* P, std::string& Text) const {
  Variant value;
  LoadVariant(P, value);
  try {
    Text = VarToStr(value);
  } catch (const EVariantError&) {
    Text.clear();
  }
}

void TcxValueType::StreamInData(Byte* P, TStream* AStream) const { StoreVariant(P, FetchVariant(AStream)); }

void TcxValueType::StoreVariant(Byte*, const Variant&) const {}

void TcxValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  Variant value;
  LoadVariant(P, value);
  PutVariant(AStream, value);
}

Integer TcxValueType::ComparePrepared(const void* P1, const void* P2) const {
  Variant v1, v2;
  PreparedToVariant(P1, v1);
  PreparedToVariant(P2, v2);
  return CompareVariants(v1, v2);
}

void TcxValueType::PreparedToVariant(const void* P, Variant& V) const {
  LoadVariant(static_cast<const Byte*>(P), V);
}

void TcxValueType::ReleaseText(Byte* Cell) { ReleaseCell<std::string>(Cell); }

void TcxValueType::LoadText(const Byte* Cell, std::string& Text) {
  const std::string* cell = CellAt<std::string>(Cell);
  Text = cell ? *cell : std::string();
}

void TcxValueType::StoreText(Byte* Cell, const std::string& Text) { StoreCell(Cell, std::string(Text)); }

void TcxValueType::StreamInText(Byte* Cell, TStream* AStream) { StoreText(Cell, FetchText(AStream)); }

void TcxValueType::StreamOutText(const Byte* Cell, TStream* AStream) {
  std::string text;
  LoadText(Cell, text);
  PutText(AStream, text);
}

std::string TcxValueType::TypeCaption() const {
  std::string name = ClassName();
  if (name == "TcxValueType") return {};
  if (name.rfind("Tcx", 0) == 0) name.erase(0, 3);
  const size_t at = name.find("ValueType");
  if (at != std::string::npos) name.erase(at, 9);
  return name;
}

bool TcxValueType::AcceptsVariant(Variant& V) const {
  if (VarIsNull(V) || VariantTypeCode() == varVariant) return true;
  try {
    V = VarAsType(V, VariantTypeCode());
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

// --- String and WideString --------------------------------------------------

void TcxStringValueType::ReleaseData(Byte* P) const { ReleaseCell<std::string>(P); }

void TcxStringValueType::LoadVariant(const Byte* P, Variant& V) const { PreparedToVariant(CellAt<std::string>(P), V); }

void TcxStringValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(FetchText(AStream)));
}

void TcxStringValueType::StoreVariant(Byte* P, const Variant& V) const { StoreCell(P, V.AsString()); }

void TcxStringValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  const std::string* cell = CellAt<std::string>(P);
  PutText(AStream, cell ? *cell : std::string());
}

Integer TcxStringValueType::ComparePrepared(const void* P1, const void* P2) const {
  return CompareTextCells<std::string>(P1, P2);
}

void TcxStringValueType::PreparedToVariant(const void* P, Variant& V) const {
  const auto* cell = static_cast<const std::string*>(P);
  V = cell ? Variant(*cell) : Null();
}

const void* TcxStringValueType::PrepareDataPointer(const Byte* P) const { return CellAt<void>(P); }

void TcxWideStringValueType::ReleaseData(Byte* P) const { ReleaseCell<std::u16string>(P); }

void TcxWideStringValueType::LoadVariant(const Byte* P, Variant& V) const {
  PreparedToVariant(CellAt<std::u16string>(P), V);
}

void TcxWideStringValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(FetchWideText(AStream)));
}

void TcxWideStringValueType::StoreVariant(Byte* P, const Variant& V) const { StoreCell(P, V.AsWideString()); }

// The code units go out as they are: a trip through narrow text would lose
// every character the narrow form cannot hold.
void TcxWideStringValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  const std::u16string* cell = CellAt<std::u16string>(P);
  PutWideText(AStream, cell ? *cell : std::u16string());
}

Integer TcxWideStringValueType::ComparePrepared(const void* P1, const void* P2) const {
  return CompareTextCells<std::u16string>(P1, P2);
}

void TcxWideStringValueType::PreparedToVariant(const void* P, Variant& V) const {
  const auto* cell = static_cast<const std::u16string*>(P);
  V = cell ? Variant(*cell) : Null();
}

// --- 16-bit integers ----------------------------------------------------------

void TcxSmallintValueType::LoadVariant(const Byte* P, Variant& V) const {
  V = VarAsType(Variant(static_cast<int>(LoadAt<int16_t>(P))), varSmallint);
}

void TcxSmallintValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(static_cast<int>(FetchInt16(AStream))));
}

// The range check of the conversion replaces silent truncation to 16 bits,
// which stored a different number than the one given.
void TcxSmallintValueType::StoreVariant(Byte* P, const Variant& V) const {
  StoreAt<int16_t>(P, static_cast<int16_t>(VarAsType(V, varSmallint).AsInteger()));
}

void TcxSmallintValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutInt16(AStream, LoadAt<int16_t>(P));
}

Integer TcxSmallintValueType::ComparePrepared(const void* P1, const void* P2) const {
  return LoadAt<int16_t>(P1) - LoadAt<int16_t>(P2);
}

void TcxWordValueType::LoadVariant(const Byte* P, Variant& V) const { V = Variant(LoadAt<uint16_t>(P)); }

void TcxWordValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(static_cast<int>(FetchUInt16(AStream))));
}

void TcxWordValueType::StoreVariant(Byte* P, const Variant& V) const {
  StoreAt<uint16_t>(P, static_cast<uint16_t>(VarAsType(V, varWord).AsInteger()));
}

void TcxWordValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutUInt16(AStream, LoadAt<uint16_t>(P));
}

Integer TcxWordValueType::ComparePrepared(const void* P1, const void* P2) const {
  return static_cast<Integer>(LoadAt<uint16_t>(P1)) - static_cast<Integer>(LoadAt<uint16_t>(P2));
}

// --- Integer and Object -------------------------------------------------------

void TcxIntegerValueType::LoadVariant(const Byte* P, Variant& V) const { V = Variant(LoadAt<int32_t>(P)); }

void TcxIntegerValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(FetchInt32(AStream)));
}

void TcxIntegerValueType::StoreVariant(Byte* P, const Variant& V) const { StoreAt<int32_t>(P, V.AsInteger()); }

void TcxIntegerValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutInt32(AStream, LoadAt<int32_t>(P));
}

Integer TcxIntegerValueType::ComparePrepared(const void* P1, const void* P2) const {
  return Sign(LoadAt<int32_t>(P1), LoadAt<int32_t>(P2));
}

// Only a handle handed out by the registry of live objects reaches the slot,
// and only an object reached through one is ever freed: an integer from a
// stream, a filter or a typing mistake is never taken for an address.
void TcxObjectValueType::StoreVariant(Byte* P, const Variant& V) const {
  const Integer handle = V.AsInteger();
  if (handle != 0 && !IsLiveObjectHandle(handle))
    throw EInvalidCast(Format("%d is not the handle of a live object", {handle}));
  const Integer old = LoadAt<int32_t>(P);
  if (old == handle) return;
  // A value stored over another lets go of it without freeing it.
  if (old != 0) DropObjectHolder(old);
  if (handle != 0) ++ObjectHolders()[handle];
  std::memset(P, 0, cxPointerSlotSize);
  StoreAt<int32_t>(P, handle);
}

void TcxObjectValueType::ReleaseData(Byte* P) const {
  const Integer handle = LoadAt<int32_t>(P);
  std::memset(P, 0, cxPointerSlotSize);
  if (handle == 0 || !DropObjectHolder(handle)) return;
  if (IsLiveObjectHandle(handle)) HandleToObject(handle)->Free();
}

// --- Boolean, floats, Currency, LargeInt ------------------------------------------

void TcxBooleanValueType::LoadVariant(const Byte* P, Variant& V) const { V = Variant(LoadAt<uint8_t>(P) != 0); }

void TcxBooleanValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(FetchBoolean(AStream)));
}

void TcxBooleanValueType::StoreVariant(Byte* P, const Variant& V) const {
  StoreAt<uint8_t>(P, V.AsBoolean() ? 1 : 0);
}

void TcxBooleanValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutBoolean(AStream, LoadAt<uint8_t>(P) != 0);
}

Integer TcxBooleanValueType::ComparePrepared(const void* P1, const void* P2) const {
  return static_cast<Integer>(LoadAt<uint8_t>(P1)) - static_cast<Integer>(LoadAt<uint8_t>(P2));
}

namespace {

Integer CompareDoubles(double a, double b) { return a == b ? 0 : (a > b ? 1 : -1); }

}  // namespace

void TcxFloatValueType::LoadVariant(const Byte* P, Variant& V) const { V = Variant(LoadAt<double>(P)); }

void TcxFloatValueType::StreamInData(Byte* P, TStream* AStream) const { StoreAt<double>(P, FetchExtended(AStream)); }

void TcxFloatValueType::StoreVariant(Byte* P, const Variant& V) const { StoreAt<double>(P, V.AsDouble()); }

void TcxFloatValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutExtended(AStream, LoadAt<double>(P));
}

Integer TcxFloatValueType::ComparePrepared(const void* P1, const void* P2) const {
  return CompareDoubles(LoadAt<double>(P1), LoadAt<double>(P2));
}

void TcxDateTimeValueType::LoadVariant(const Byte* P, Variant& V) const { V = VarFromDateTime(LoadAt<double>(P)); }

void TcxDateTimeValueType::DefaultText(const Byte* P, std::string& Text) const {
  Variant value;
  LoadVariant(P, value);
  try {
    Text = VarToStr(value);
  } catch (const EVariantError&) {
    try {
      Text = DateTimeToStr(LoadAt<double>(P));
    } catch (const Exception&) {
      Text.clear();
    }
  }
}

void TcxDateTimeValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(FetchDateTime(AStream)));
}

void TcxDateTimeValueType::StoreVariant(Byte* P, const Variant& V) const { StoreAt<double>(P, V.AsDouble()); }

void TcxDateTimeValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutDateTime(AStream, LoadAt<double>(P));
}

Integer TcxDateTimeValueType::ComparePrepared(const void* P1, const void* P2) const {
  return CompareDoubles(LoadAt<double>(P1), LoadAt<double>(P2));
}

void TcxCurrencyValueType::LoadVariant(const Byte* P, Variant& V) const {
  V = Variant(Currency::FromScaled(LoadAt<int64_t>(P)));
}

void TcxCurrencyValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(FetchCurrency(AStream)));
}

void TcxCurrencyValueType::StoreVariant(Byte* P, const Variant& V) const {
  StoreAt<int64_t>(P, V.AsCurrency().Value);
}

void TcxCurrencyValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutInt64(AStream, LoadAt<int64_t>(P));
}

Integer TcxCurrencyValueType::ComparePrepared(const void* P1, const void* P2) const {
  return Sign(LoadAt<int64_t>(P1), LoadAt<int64_t>(P2));
}

void TcxLargeIntValueType::LoadVariant(const Byte* P, Variant& V) const {
  V = Variant(static_cast<long long>(LoadAt<int64_t>(P)));
}

void TcxLargeIntValueType::StreamInData(Byte* P, TStream* AStream) const {
  StoreVariant(P, Variant(static_cast<long long>(FetchInt64(AStream))));
}

void TcxLargeIntValueType::StoreVariant(Byte* P, const Variant& V) const { StoreAt<int64_t>(P, V.AsInt64()); }

void TcxLargeIntValueType::StreamOutData(const Byte* P, TStream* AStream) const {
  PutInt64(AStream, LoadAt<int64_t>(P));
}

Integer TcxLargeIntValueType::ComparePrepared(const void* P1, const void* P2) const {
  return Sign(LoadAt<int64_t>(P1), LoadAt<int64_t>(P2));
}

// --- FMTBcd and SQLTimeStamp --------------------------------------------------------

static_assert(sizeof(TBcd) == 34, "the decimal record is 34 bytes");
static_assert(sizeof(TSQLTimeStamp) == 16, "the time stamp record is 16 bytes");

void TcxFMTBcdValueType::LoadVariant(const Byte* P, Variant& V) const { V = VarFMTBcdCreate(LoadAt<TBcd>(P)); }

void TcxFMTBcdValueType::DefaultText(const Byte* P, std::string& Text) const { Text = BcdToStr(LoadAt<TBcd>(P)); }

void TcxFMTBcdValueType::StoreVariant(Byte* P, const Variant& V) const { StoreAt<TBcd>(P, VarToBcd(V)); }

Integer TcxFMTBcdValueType::ComparePrepared(const void* P1, const void* P2) const {
  return BcdCompare(LoadAt<TBcd>(P1), LoadAt<TBcd>(P2));
}

void TcxSQLTimeStampValueType::LoadVariant(const Byte* P, Variant& V) const {
  V = VarFromDateTime(SQLTimeStampToDateTime(LoadAt<TSQLTimeStamp>(P)));
}

void TcxSQLTimeStampValueType::StoreVariant(Byte* P, const Variant& V) const {
  StoreAt<TSQLTimeStamp>(P, VarToSQLTimeStamp(V));
}

Integer TcxSQLTimeStampValueType::ComparePrepared(const void* P1, const void* P2) const {
  const auto a = LoadAt<TSQLTimeStamp>(P1);
  const auto b = LoadAt<TSQLTimeStamp>(P2);
  if (a.Year != b.Year) return a.Year - b.Year;
  if (a.Month != b.Month) return a.Month - b.Month;
  if (a.Day != b.Day) return a.Day - b.Day;
  if (a.Hour != b.Hour) return a.Hour - b.Hour;
  if (a.Minute != b.Minute) return a.Minute - b.Minute;
  if (a.Second != b.Second) return a.Second - b.Second;
  return static_cast<Integer>(a.Fractions - b.Fractions);
}

// --- Variant ------------------------------------------------------------------------

void TcxVariantValueType::ReleaseData(Byte* P) const { ReleaseCell<Variant>(P); }

void TcxVariantValueType::LoadVariant(const Byte* P, Variant& V) const { PreparedToVariant(CellAt<Variant>(P), V); }

void TcxVariantValueType::StoreVariant(Byte* P, const Variant& V) const { StoreCell(P, Variant(V)); }

Integer TcxVariantValueType::ComparePrepared(const void* P1, const void* P2) const {
  const auto* v1 = static_cast<const Variant*>(P1);
  const auto* v2 = static_cast<const Variant*>(P2);
  if (!v1 || !v2) return Sign(v1 != nullptr, v2 != nullptr);
  return CompareVariants(*v1, *v2);
}

void TcxVariantValueType::PreparedToVariant(const void* P, Variant& V) const {
  const auto* cell = static_cast<const Variant*>(P);
  V = cell ? *cell : Null();
}

const void* TcxVariantValueType::PrepareDataPointer(const Byte* P) const { return CellAt<void>(P); }

// --- registry -------------------------------------------------------------------------

TcxValueTypeClass TcxValueTypeClassList::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
  return FItems[static_cast<size_t>(Index)];
}

void TcxValueTypeClassList::RegisterItem(TcxValueTypeClass AValueTypeClass) {
  if (std::find(FItems.begin(), FItems.end(), AValueTypeClass) == FItems.end()) FItems.push_back(AValueTypeClass);
}

void TcxValueTypeClassList::UnregisterItem(TcxValueTypeClass AValueTypeClass) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), AValueTypeClass), FItems.end());
}

TcxValueTypeClassList* ValueTypeClassList() {
  static const std::unique_ptr<TcxValueTypeClassList> list = std::make_unique<TcxValueTypeClassList>();
  return list.get();
}

void AddValueTypeClass(TcxValueTypeClass AValueTypeClass) { ValueTypeClassList()->RegisterItem(AValueTypeClass); }

void RemoveValueTypeClass(TcxValueTypeClass AValueTypeClass) {
  ValueTypeClassList()->UnregisterItem(AValueTypeClass);
}

void RegisterValueTypeClasses() {
  for (TcxValueTypeClass type :
       {TcxStringValueType::Class(), TcxWideStringValueType::Class(), TcxSmallintValueType::Class(),
        TcxIntegerValueType::Class(), TcxWordValueType::Class(), TcxBooleanValueType::Class(),
        TcxFloatValueType::Class(), TcxCurrencyValueType::Class(), TcxDateTimeValueType::Class(),
        TcxLargeIntValueType::Class(), TcxFMTBcdValueType::Class(), TcxSQLTimeStampValueType::Class(),
        TcxVariantValueType::Class(), TcxObjectValueType::Class()})
    AddValueTypeClass(type);
}

void InstallFilterValueTypeQueries() {
  SetFilterValueTypeQueries(
      [](const TObject* AValueTypeClass) {
        const auto* type = dynamic_cast<const TcxValueType*>(AValueTypeClass);
        return type && type->IsTextType();
      },
      [](const TObject* AValueTypeClass, Variant& AValue) {
        const auto* type = dynamic_cast<const TcxValueType*>(AValueTypeClass);
        return !type || type->AcceptsVariant(AValue);
      });
}
