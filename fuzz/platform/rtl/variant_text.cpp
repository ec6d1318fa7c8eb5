// Text reaching Variants from data files, scripts and editors: every
// conversion either succeeds or raises one of the class library's exceptions,
// and decimal text survives a round trip through TBcd.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SqlTimSt.h"
#include "platform/rtl/Variants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFormatSettingsPin pin(TFormatSettings::English());
  std::string text(reinterpret_cast<const char*>(data), size);
  Variant v(text);
  const TVarType kinds[] = {varSmallint, varInteger, varSingle,  varDouble,  varCurrency,
                            varDate,     varOleStr,  varBoolean, varByte,    varWord,
                            varLongWord, varInt64,   varFMTBcd,  varSQLTimeStamp};
  for (TVarType kind : kinds) {
    try {
      Variant converted = VarAsType(v, kind);
      (void)VarToStr(converted);
    } catch (const Exception&) {
    }
  }
  try {
    (void)(v + 1);
    (void)(v < Variant(2.5));
    (void)VarNot(v);
  } catch (const Exception&) {
  }

  TBcd bcd;
  if (TryStrToBcd(text, bcd)) {
    TBcd again;
    if (!TryStrToBcd(BcdToStr(bcd), again) || BcdCompare(bcd, again) != 0) std::abort();
    try {
      (void)BcdMultiply(bcd, bcd);
      (void)BcdDivide(IntegerToBcd(1), bcd);
    } catch (const Exception&) {
    }
  }
  return 0;
}
