// Reads filter criteria from the input. A refused stream must leave the
// criteria as they were; an accepted one must write back bytes that read
// and write again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxFilter.h"

namespace {

struct TLink : TObject {};

// Item numbers 0..3 map to four links; other numbers to none.
class TFuzzCriteria : public TcxFilterCriteria {
 public:
  TLink Links[4];
  Integer ItemLinkID(TObject* AItemLink) override {
    for (Integer i = 0; i < 4; ++i)
      if (AItemLink == &Links[i]) return i;
    return -1;
  }
  TObject* ItemLinkByID(Integer AID) override { return AID >= 0 && AID < 4 ? &Links[AID] : nullptr; }
};

std::string Written(TcxFilterCriteria& criteria) {
  TMemoryStream stream;
  criteria.WriteCriteria(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

void ReadFrom(TcxFilterCriteria& criteria, const std::string& bytes) {
  TCustomMemoryStream stream(bytes.data(), static_cast<Int64>(bytes.size()));
  criteria.ReadCriteria(&stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzCriteria criteria;
  criteria.Root()->AddCondition(&criteria.Links[0], foEqual, 1, "1");
  const std::string before = Written(criteria);
  try {
    ReadFrom(criteria, std::string(reinterpret_cast<const char*>(data), size));
  } catch (const EReadError&) {
    if (Written(criteria) != before) __builtin_trap();
    return 0;
  }
  const std::string first = Written(criteria);
  TFuzzCriteria again;
  ReadFrom(again, first);
  if (Written(again) != first) __builtin_trap();
  return 0;
}
