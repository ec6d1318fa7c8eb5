#include "suite/data/cxDataStreams.h"

#include <cstring>

#include "platform/rtl/ExtendedFloat.h"
#include "platform/rtl/SysUtils.h"

namespace {

enum : Byte {
  tagNull = 0,
  tagList = 1,
  tagInt8 = 2,
  tagInt16 = 3,
  tagInt32 = 4,
  tagExtended = 5,
  tagString = 6,
  tagFalse = 8,
  tagTrue = 9,
  tagLString = 12,
  tagNil = 13,
  tagSingle = 15,
  tagCurrency = 16,
  tagDate = 17,
  tagWString = 18,
};

// Values are little-endian on the stream whatever the machine's order.
template <typename T>
T FetchLittle(TStream* stream) {
  Byte bytes[sizeof(T)];
  stream->ReadBuffer(bytes, sizeof(T));
  uint64_t raw = 0;
  for (size_t i = sizeof(T); i-- > 0;) raw = (raw << 8) | bytes[i];
  T value;
  if constexpr (sizeof(T) == 8) {
    std::memcpy(&value, &raw, 8);
  } else {
    const auto narrow = static_cast<std::conditional_t<sizeof(T) == 4, uint32_t,
                                                       std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>(raw);
    std::memcpy(&value, &narrow, sizeof(T));
  }
  return value;
}

template <typename T>
void PutLittle(TStream* stream, T value) {
  uint64_t raw = 0;
  std::memcpy(&raw, &value, sizeof(T));
  Byte bytes[sizeof(T)];
  for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<Byte>(raw >> (8 * i));
  stream->WriteBuffer(bytes, sizeof(T));
}

[[noreturn]] void RaiseReadError() { throw EReadError(SReadError); }
[[noreturn]] void RaiseWriteError() { throw EWriteError(SWriteError); }

// A length read from the stream must be non-negative and cover no more than
// what the stream still holds, so hostile input never drives an allocation.
void CheckLength(TStream* stream, Int64 length, Int64 unitSize) {
  if (length < 0) RaiseReadError();
  const Int64 left = stream->Size() - stream->Position();
  if (left < 0 || length > left / unitSize) RaiseReadError();
}

std::string ReadBytes(TStream* stream, Int64 length) {
  CheckLength(stream, length, 1);
  std::string text(static_cast<size_t>(length), '\0');
  if (length > 0) stream->ReadBuffer(text.data(), length);
  return text;
}

std::u16string ReadWide(TStream* stream, Int64 length) {
  CheckLength(stream, length, 2);
  std::u16string text(static_cast<size_t>(length), u'\0');
  for (auto& unit : text) unit = static_cast<char16_t>(FetchLittle<uint16_t>(stream));
  return text;
}

void PutTaggedInteger(TStream* stream, Int64 value) {
  if (value >= -128 && value <= 127) {
    PutByte(stream, tagInt8);
    PutLittle<int8_t>(stream, static_cast<int8_t>(value));
  } else if (value >= -32768 && value <= 32767) {
    PutByte(stream, tagInt16);
    PutLittle<int16_t>(stream, static_cast<int16_t>(value));
  } else {
    PutByte(stream, tagInt32);
    PutLittle<int32_t>(stream, static_cast<int32_t>(value));
  }
}

void PutString(TStream* stream, const std::string& text) {
  if (text.size() <= 255) {
    PutByte(stream, tagString);
    PutByte(stream, static_cast<Byte>(text.size()));
  } else {
    PutByte(stream, tagLString);
    PutInt32(stream, static_cast<Integer>(text.size()));
  }
  if (!text.empty()) stream->WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

Variant FetchTagged(TStream* stream, int depth);

Variant FetchArray(TStream* stream, int depth) {
  if (depth >= MaxStreamVariantDepth) RaiseReadError();
  Int64 count = 0;
  switch (FetchByte(stream)) {
    case tagInt8: count = FetchLittle<int8_t>(stream); break;
    case tagInt16: count = FetchLittle<int16_t>(stream); break;
    case tagInt32: count = FetchLittle<int32_t>(stream); break;
    default: RaiseReadError();
  }
  // Every element takes at least its tag byte.
  CheckLength(stream, count, 1);
  Variant array = VarArrayCreate({0, static_cast<Integer>(count - 1)}, varVariant);
  for (Integer i = 0; i < count; ++i) VarArrayPut(array, FetchTagged(stream, depth + 1), {i});
  return array;
}

Variant FetchTagged(TStream* stream, int depth) {
  switch (FetchByte(stream)) {
    case tagNull: return Null();
    case tagList: return FetchArray(stream, depth);
    case tagInt8: return VarAsType(Variant(static_cast<int>(FetchLittle<int8_t>(stream))), varShortInt);
    case tagInt16: return VarAsType(Variant(static_cast<int>(FetchInt16(stream))), varSmallint);
    case tagInt32: return Variant(FetchInt32(stream));
    case tagExtended: return Variant(FetchExtended(stream));
    case tagString: return Variant(ReadBytes(stream, FetchByte(stream)));
    case tagFalse: return Variant(false);
    case tagTrue: return Variant(true);
    case tagLString: return Variant(ReadBytes(stream, FetchInt32(stream)));
    case tagNil: return Unassigned();
    case tagSingle: return Variant(FetchLittle<float>(stream));
    case tagCurrency: return Variant(FetchCurrency(stream));
    case tagDate: return VarFromDateTime(FetchDateTime(stream));
    case tagWString: return Variant(ReadWide(stream, FetchInt32(stream)));
    default: RaiseReadError();
  }
}

void PutTagged(TStream* stream, const Variant& value) {
  if (VarIsArray(value)) {
    if (VarArrayDimCount(value) != 1) RaiseWriteError();
    const Integer low = VarArrayLowBound(value, 1);
    const Integer high = VarArrayHighBound(value, 1);
    PutByte(stream, tagList);
    PutTaggedInteger(stream, static_cast<Int64>(high) - low + 1);
    for (Integer i = low; i <= high; ++i) PutTagged(stream, VarArrayGet(value, {i}));
    return;
  }
  switch (VarType(value) & varTypeMask) {
    case varEmpty: PutByte(stream, tagNil); return;
    case varNull: PutByte(stream, tagNull); return;
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte: PutTaggedInteger(stream, value.AsInteger()); return;
    case varSingle:
      PutByte(stream, tagSingle);
      PutLittle<float>(stream, static_cast<float>(value.AsDouble()));
      return;
    case varDouble:
      PutByte(stream, tagExtended);
      PutExtended(stream, value.AsDouble());
      return;
    case varCurrency:
      PutByte(stream, tagCurrency);
      PutCurrency(stream, value.AsCurrency());
      return;
    case varDate:
      PutByte(stream, tagDate);
      PutDateTime(stream, value.AsDateTime());
      return;
    case varOleStr:
      PutByte(stream, tagWString);
      PutWideText(stream, value.AsWideString());
      return;
    case varBoolean: PutByte(stream, value.AsBoolean() ? tagTrue : tagFalse); return;
    case varString: PutString(stream, value.AsString()); return;
    default: {
      std::string text;
      try {
        text = VarToStr(value);
      } catch (...) {
        RaiseWriteError();
      }
      PutString(stream, text);
    }
  }
}

}  // namespace

Byte FetchByte(TStream* AStream) { return FetchLittle<uint8_t>(AStream); }
void FetchByte(TStream* AStream, Byte& AValue) { AValue = FetchByte(AStream); }
Boolean FetchBoolean(TStream* AStream) { return FetchByte(AStream) != 0; }
void FetchBoolean(TStream* AStream, Boolean& AValue) { AValue = FetchBoolean(AStream); }
SmallInt FetchInt16(TStream* AStream) { return FetchLittle<int16_t>(AStream); }
void FetchInt16(TStream* AStream, SmallInt& AValue) { AValue = FetchInt16(AStream); }
Word FetchUInt16(TStream* AStream) { return FetchLittle<uint16_t>(AStream); }
void FetchUInt16(TStream* AStream, Word& AValue) { AValue = FetchUInt16(AStream); }
Integer FetchInt32(TStream* AStream) { return FetchLittle<int32_t>(AStream); }
void FetchInt32(TStream* AStream, Integer& AValue) { AValue = FetchInt32(AStream); }
Int64 FetchInt64(TStream* AStream) { return FetchLittle<int64_t>(AStream); }
void FetchInt64(TStream* AStream, Int64& AValue) { AValue = FetchInt64(AStream); }
Currency FetchCurrency(TStream* AStream) { return Currency::FromScaled(FetchInt64(AStream)); }
void FetchCurrency(TStream* AStream, Currency& AValue) { AValue = FetchCurrency(AStream); }
TDateTime FetchDateTime(TStream* AStream) { return FetchLittle<double>(AStream); }
void FetchDateTime(TStream* AStream, TDateTime& AValue) { AValue = FetchDateTime(AStream); }

Double FetchExtended(TStream* AStream) {
  uint8_t bytes[10];
  AStream->ReadBuffer(bytes, sizeof bytes);
  return Extended80ToDouble(bytes);
}
void FetchExtended(TStream* AStream, Double& AValue) { AValue = FetchExtended(AStream); }

std::string FetchText(TStream* AStream) { return ReadBytes(AStream, FetchInt32(AStream)); }
void FetchText(TStream* AStream, std::string& AValue) { AValue = FetchText(AStream); }
std::u16string FetchWideText(TStream* AStream) { return ReadWide(AStream, FetchInt32(AStream)); }
void FetchWideText(TStream* AStream, std::u16string& AValue) { AValue = FetchWideText(AStream); }

void PutByte(TStream* AStream, Byte AValue) { PutLittle<uint8_t>(AStream, AValue); }
void PutBoolean(TStream* AStream, Boolean AValue) { PutByte(AStream, AValue ? 1 : 0); }
void PutInt16(TStream* AStream, SmallInt AValue) { PutLittle<int16_t>(AStream, AValue); }
void PutUInt16(TStream* AStream, Word AValue) { PutLittle<uint16_t>(AStream, AValue); }
void PutInt32(TStream* AStream, Integer AValue) { PutLittle<int32_t>(AStream, AValue); }
void PutInt64(TStream* AStream, Int64 AValue) { PutLittle<int64_t>(AStream, AValue); }
void PutCurrency(TStream* AStream, Currency AValue) { PutInt64(AStream, AValue.Value); }
void PutDateTime(TStream* AStream, TDateTime AValue) { PutLittle<double>(AStream, AValue); }

void PutExtended(TStream* AStream, Double AValue) {
  uint8_t bytes[10];
  DoubleToExtended80(AValue, bytes);
  AStream->WriteBuffer(bytes, sizeof bytes);
}

void PutText(TStream* AStream, const std::string& AValue) {
  PutInt32(AStream, static_cast<Integer>(AValue.size()));
  if (!AValue.empty()) AStream->WriteBuffer(AValue.data(), static_cast<Int64>(AValue.size()));
}

void PutWideText(TStream* AStream, const std::u16string& AValue) {
  PutInt32(AStream, static_cast<Integer>(AValue.size()));
  for (char16_t unit : AValue) PutLittle<uint16_t>(AStream, unit);
}

void FetchVariant(TStream* AStream, Variant& AValue) { AValue = FetchTagged(AStream, 0); }
Variant FetchVariant(TStream* AStream) { return FetchTagged(AStream, 0); }
void PutVariant(TStream* AStream, const Variant& AValue) { PutTagged(AStream, AValue); }
