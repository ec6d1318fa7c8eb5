// Loads the input as a metafile; what loads must save, load again to the
// same bytes, and replay onto a small bitmap.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/forms/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream in;
  in.WriteBuffer(data, static_cast<Int64>(size));
  in.SetPosition(0);
  TMetafile m;
  try {
    m.LoadFromStream(in);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  TMemoryStream out;
  m.SaveToStream(out);
  const std::string first(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
  out.SetPosition(0);
  TMetafile again;
  again.LoadFromStream(out);
  TMemoryStream second;
  again.SaveToStream(second);
  if (std::string(static_cast<const char*>(second.Memory()), static_cast<size_t>(second.Size())) != first)
    __builtin_trap();
  TBitmap target;
  target.SetSize(24, 16);
  target.Canvas()->StretchDraw(Rect(2, 2, 22, 14), &again);
  return 0;
}
