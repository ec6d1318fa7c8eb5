// Resources compiled into the program: form files, pictures, language files
// and cursors, looked up by name and type, and the string table.
//
// The build compiles named files into a library with vxn_add_resources
// (cmake/VxnResources.cmake); each generated module registers its table here
// when the program starts. Names and types compare case-insensitively.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

class EResNotFound : public Exception {
  VXN_DECLARE_CLASS(EResNotFound)

 public:
  using Exception::Exception;
};

inline constexpr const char* SResNotFound = "Resource %s not found";

struct TResourceEntry {
  const char* Name;
  const char* Type;  // "FORM", "BITMAP", "CURSOR", "TEXT", ...
  const unsigned char* Data;
  size_t Size;
};

// Adds a table; the entries must live for the whole run. A later entry of
// the same name and type hides an earlier one.
void RegisterResources(const TResourceEntry* Entries, size_t Count);

// The bytes of a resource; FindResource answers false when absent,
// LoadResource raises EResNotFound "Resource %s not found".
bool FindResource(std::string_view Name, std::string_view Type, std::string_view& Data);
std::string_view LoadResource(std::string_view Name, std::string_view Type);

// A read-only stream over a resource's bytes.
class TResourceStream : public TCustomMemoryStream {
  VXN_DECLARE_CLASS(TResourceStream)

 public:
  TResourceStream(std::string_view Name, std::string_view Type);
};

// The string table: texts by number. LoadResString passes each text through
// the hook (the suite's translation routine) before returning it; a number
// without text gives "".
void RegisterResourceString(Integer Id, std::string Text);
using TResourceStringHook = std::function<std::string(Integer Id, const std::string& Text)>;
void SetResourceStringHook(TResourceStringHook Hook);  // empty restores the identity
std::string LoadResString(Integer Id);
