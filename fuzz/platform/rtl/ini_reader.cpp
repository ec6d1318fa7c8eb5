// Ini files come from the user's disk: any bytes must parse, and the
// operations the program runs on a parsed file must keep their rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TIniLines lines;
  lines.Parse(text);

  TStringList list;
  const std::vector<std::string> sections = lines.SectionNames();
  for (const std::string& section : sections) {
    for (const std::string& key : lines.SectionKeys(section)) {
      std::string value;
      if (!lines.Find(section, key, value)) std::abort();  // every listed key can be read
      if (value.size() > 4 * IniValueMaxChars) std::abort();
    }
    lines.SectionValues(section);
  }

  // A write is read back as written (trimmed, without line breaks), and the
  // file still parses to the same sections plus at most the new one.
  TIniLines copy = lines;
  const std::string section = sections.empty() ? "S" : sections.front();
  copy.Write(section, "fuzzkey", "fuzz value");
  std::string back;
  if (!copy.Find(section, "FUZZKEY", back) || back != "fuzz value") std::abort();
  TIniLines reparsed;
  reparsed.Parse(copy.Compose());
  if (!reparsed.Find(section, "fuzzkey", back) || back != "fuzz value") std::abort();
  copy.DeleteKey(section, "fuzzkey");
  if (copy.Find(section, "fuzzkey", back)) std::abort();
  copy.EraseSection(section);
  if (copy.HasSection(section)) std::abort();
  return 0;
}
