// Reads a tagged Variant from the input; whatever reads back is written and
// read again, and a second write must give the same bytes as the first.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxDataStreams.h"

namespace {

std::string Bytes(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TCustomMemoryStream input(data, static_cast<Int64>(size));
  Variant value;
  try {
    FetchVariant(&input, value);
  } catch (const EReadError&) {
    return 0;
  }
  TMemoryStream first;
  PutVariant(&first, value);
  first.SetPosition(0);
  const Variant again = FetchVariant(&first);
  TMemoryStream second;
  PutVariant(&second, again);
  if (Bytes(first) != Bytes(second)) __builtin_trap();
  return 0;
}
