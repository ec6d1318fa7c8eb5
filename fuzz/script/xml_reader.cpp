// Loads arbitrary bytes as a script XML document, writes it back and loads
// that again; the reader may refuse input but must never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "script/fs_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TStringStream in(std::string(reinterpret_cast<const char*>(data), size));
  TfsXMLDocument doc;
  try {
    doc.LoadFromStream(in);
  } catch (const Exception&) {
    return 0;
  }
  TStringStream out;
  doc.SaveToStream(out);
  TStringStream again(out.DataString());
  TfsXMLDocument second;
  try {
    second.LoadFromStream(again);
  } catch (const Exception&) {
  }
  for (int i = 0; i < doc.Root()->Count(); ++i) (void)doc.Root()->Items(i)->Prop("text");
  return 0;
}
