#include "script/LanguageGrammars.h"

#include <utility>

#include "platform/rtl/Resources.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::vector<std::pair<std::string, std::string>>& Registry() {
  static std::vector<std::pair<std::string, std::string>> entries;
  return entries;
}

// Built-in languages and the resource names of their grammars.
const std::pair<const char*, const char*> kBuiltIn[] = {
    {"JScript", "JScript"},
    {"BasicScript", "BasicScript"},
    {"C++Script", "CppScript"},
    {"PascalScript", "PascalScript"},
};

}  // namespace

void AddLanguageGrammar(std::string_view name, std::string_view text) {
  for (auto& [n, t] : Registry()) {
    if (AnsiSameText(n, name)) {
      t = text;
      return;
    }
  }
  Registry().emplace_back(std::string(name), std::string(text));
}

std::string FindLanguageGrammar(std::string_view name) {
  for (const auto& [n, t] : Registry())
    if (AnsiSameText(n, name)) return t;
  throw Exception(Format("Language '%s' not found", {std::string(name)}));
}

std::vector<std::string> LanguageGrammarNames() {
  std::vector<std::string> names;
  for (const auto& entry : Registry()) names.push_back(entry.first);
  return names;
}

void RegisterBuiltInGrammars() {
  for (const auto& [language, resource] : kBuiltIn)
    AddLanguageGrammar(language, LoadResource(resource, "GRAMMAR"));
}
