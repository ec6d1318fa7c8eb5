// Typed values on a stream, as the data layer writes them: little-endian, no
// filler, no header. Strings carry an Int32 length; a whole Variant carries a
// one-byte tag in front of its payload.
//
//   fixed forms                       tagged Variant (tag byte, then payload)
//   Byte, Boolean     1 byte          0 Null          -          12 long string  Int32 n, n bytes
//   Int16, UInt16     2 bytes         1 array   count, n items   13 Unassigned   -
//   Int32             4 bytes         2 int8    1 byte           15 single       4 bytes
//   Int64, Currency   8 bytes         3 int16   2 bytes          16 currency     8 bytes
//   DateTime          8 bytes         4 int32   4 bytes          17 date         8 bytes (double)
//   Extended         10 bytes         5 extended 10 bytes        18 wide string  Int32 n, 2n bytes
//   Text          Int32 n + n         6 short string 1 byte n, n bytes
//   WideText      Int32 n + 2n        8 False, 9 True  -
//
// An array's count is itself a tagged integer (tag 2, 3 or 4). Reading checks
// lengths and counts against the bytes the stream has left before it
// allocates anything, and arrays nest at most MaxStreamVariantDepth deep;
// every refused input is EReadError "Stream read error".
#pragma once

#include <string>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Variants.h"

inline constexpr int MaxStreamVariantDepth = 64;

Byte FetchByte(TStream* AStream);
void FetchByte(TStream* AStream, Byte& AValue);
Boolean FetchBoolean(TStream* AStream);
void FetchBoolean(TStream* AStream, Boolean& AValue);
SmallInt FetchInt16(TStream* AStream);
void FetchInt16(TStream* AStream, SmallInt& AValue);
Word FetchUInt16(TStream* AStream);
void FetchUInt16(TStream* AStream, Word& AValue);
Integer FetchInt32(TStream* AStream);
void FetchInt32(TStream* AStream, Integer& AValue);
Int64 FetchInt64(TStream* AStream);
void FetchInt64(TStream* AStream, Int64& AValue);
Currency FetchCurrency(TStream* AStream);
void FetchCurrency(TStream* AStream, Currency& AValue);
TDateTime FetchDateTime(TStream* AStream);
void FetchDateTime(TStream* AStream, TDateTime& AValue);
// The 80-bit extended real, rounded to a double.
Double FetchExtended(TStream* AStream);
void FetchExtended(TStream* AStream, Double& AValue);
std::string FetchText(TStream* AStream);
void FetchText(TStream* AStream, std::string& AValue);
std::u16string FetchWideText(TStream* AStream);
void FetchWideText(TStream* AStream, std::u16string& AValue);

void PutByte(TStream* AStream, Byte AValue);
void PutBoolean(TStream* AStream, Boolean AValue);
void PutInt16(TStream* AStream, SmallInt AValue);
void PutUInt16(TStream* AStream, Word AValue);
void PutInt32(TStream* AStream, Integer AValue);
void PutInt64(TStream* AStream, Int64 AValue);
void PutCurrency(TStream* AStream, Currency AValue);
void PutDateTime(TStream* AStream, TDateTime AValue);
void PutExtended(TStream* AStream, Double AValue);
void PutText(TStream* AStream, const std::string& AValue);
void PutWideText(TStream* AStream, const std::u16string& AValue);

// Integers come back in the smallest of the three widths (ShortInt, Smallint,
// Integer), doubles exactly, Word, LongWord, Int64 and the data kinds as text.
void FetchVariant(TStream* AStream, Variant& AValue);
Variant FetchVariant(TStream* AStream);
// EWriteError "Stream write error" for an array of more than one dimension or
// a value that has no text.
void PutVariant(TStream* AStream, const Variant& AValue);
