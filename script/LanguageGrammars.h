// The registry of script languages: each is a grammar document (script XML)
// held as text under the language's name. The four built-in grammars are
// resources compiled into the program and registered at start-up in the
// order JScript, BasicScript, C++Script, PascalScript.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Replaces the text of an existing entry of that name, else appends one.
void AddLanguageGrammar(std::string_view name, std::string_view text);
// The text registered under name (case-insensitive); raises
// "Language '%s' not found" when there is none.
std::string FindLanguageGrammar(std::string_view name);
// Registered names, in registration order.
std::vector<std::string> LanguageGrammarNames();

// Registers the built-in grammars from the program's resources.
void RegisterBuiltInGrammars();
