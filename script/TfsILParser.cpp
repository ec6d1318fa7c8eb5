#include "script/TfsILParser.h"

#include <algorithm>
#include <unordered_map>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "script/LanguageGrammars.h"

VXN_IMPLEMENT_CLASS(TfsILParser, TObject)

enum class TfsILParser::Kind {
  RuleDef,
  Char,
  Keyword,
  Ident,
  Number,
  String,
  FrString,
  Eol,
  Sequence,
  Switch,
  OptionalSwitch,
  Loop,
  OptionalLoop,
  Optional,
  Reference,
};

// A grammar element with its attributes read once.
struct TfsILParser::ElementInfo {
  Kind ElementKind = Kind::Sequence;
  std::string Text;  // lower case
  std::string Node;
  std::string AddName;
  std::string AddText;
  bool HasAddText = false;
  std::string Err;  // the error's message, resolved
  bool HasErr = false;
  bool Term = false;
  bool Skip0 = false;  // char: no skipping before it
  bool Skip1 = false;  // loop: forgive the last failed round
  TfsXMLItem* Rule = nullptr;  // Reference: the rule definition
};

namespace {

// Grammar rule levels in use on this thread, nested parsers of units included.
thread_local int gGrammarDepth = 0;

struct TooDeep {};

const char* const kGenericSyntaxError = "Syntax error";
const char* const kTooDeep = "Program is nested too deeply";

std::string Attr(const std::string& name, const std::string& value) {
  return " " + name + "=\"" + EscapeScriptXml(value) + "\"";
}

// The unescaped value of attribute name in one output line.
std::string LineAttribute(const std::string& line, const std::string& name) {
  TfsXMLItem item;
  const size_t blank = line.find(' ');
  if (blank != std::string::npos) item.Text = line.substr(blank + 1);
  return item.Prop(name);
}

}  // namespace

TfsILParser::TfsILParser(TfsScript* script)
    : TargetScript(script),
      GrammarDoc(std::make_unique<TfsXMLDocument>()),
      ProgramDoc(std::make_unique<TfsXMLDocument>()),
      Lexer(std::make_unique<TfsParser>()),
      LoadedUnits(std::make_shared<std::vector<std::string>>()),
      Sources(std::make_shared<std::vector<std::pair<std::string, std::string>>>()) {}

TfsILParser::~TfsILParser() = default;

void TfsILParser::SelectLanguage(std::string_view name) {
  Lexer->Reset();
  RequireDeclarations = true;
  LanguageName = name;
  const std::string text = FindLanguageGrammar(name);
  TStringStream stream(text);
  GrammarDoc->LoadFromStream(stream);
  GrammarRoot = GrammarDoc->Root();

  const Integer parserIndex = GrammarRoot->Find("parser");
  if (parserIndex >= 0) {
    TfsXMLItem* parser = GrammarRoot->Items(parserIndex);
    const Integer keywordsIndex = parser->Find("keywords");
    if (keywordsIndex >= 0) {
      TfsXMLItem* keywords = parser->Items(keywordsIndex);
      for (Integer i = 0; i < keywords->Count(); ++i) Lexer->AddKeyword(keywords->Items(i)->Name);
    }
    for (Integer i = 0; i < parser->Count(); ++i) {
      TfsXMLItem* setting = parser->Items(i);
      const std::string key = LowerCase(setting->Name);
      const std::string value = setting->Prop("text");
      if (key == "commentline1") Lexer->CommentLine1 = value;
      else if (key == "commentline2") Lexer->CommentLine2 = value;
      else if (key == "commentblock1") Lexer->SetCommentBlock1(value);
      else if (key == "commentblock2") Lexer->SetCommentBlock2(value);
      else if (key == "stringquotes") Lexer->StringQuotes = value;
      else if (key == "hexsequence") Lexer->HexSequence = value;
      else if (key == "identchars") Lexer->SetIdentChars(value);
      else if (key == "skipchar") Lexer->SkipChar = value;
      else if (key == "skipeol") Lexer->SkipEOL = value != "0";
      else if (key == "casesensitive") Lexer->CaseSensitive = value == "1";
      else if (key == "declarevars") RequireDeclarations = value != "0";
    }
  }
  if (TargetScript && TargetScript->ExtendedIdentChars) {
    std::string high;
    for (int c = 128; c < 256; ++c) high.push_back(static_cast<char>(c));
    TfsParser::TCharSet chars = Lexer->IdentChars();
    std::string all;
    for (int c = 0; c < 256; ++c)
      if (chars.test(static_cast<size_t>(c))) all.push_back(static_cast<char>(c));
    Lexer->SetIdentChars(all + high);
  }
  CompileGrammar();
}

// Reads every element's attributes once and links references to their rule
// definitions; an element's Data is its index into FInfos.
void TfsILParser::CompileGrammar() {
  FInfos.clear();
  std::unordered_map<std::string, TfsXMLItem*> rules;
  for (Integer i = 0; i < GrammarRoot->Count(); ++i) {
    TfsXMLItem* rule = GrammarRoot->Items(i);
    rules.emplace(AnsiLowerCase(rule->Name), rule);  // the first of a name wins
  }
  std::unordered_map<std::string, std::string> errors;
  if (const Integer p = GrammarRoot->Find("parser"); p >= 0) {
    TfsXMLItem* parser = GrammarRoot->Items(p);
    if (const Integer e = parser->Find("errors"); e >= 0) {
      TfsXMLItem* list = parser->Items(e);
      for (Integer i = 0; i < list->Count(); ++i)
        errors.emplace(AnsiLowerCase(list->Items(i)->Name), list->Items(i)->Prop("text"));
    }
  }
  static const std::unordered_map<std::string, Kind> kinds = {
      {"char", Kind::Char},         {"keyword", Kind::Keyword},
      {"ident", Kind::Ident},       {"number", Kind::Number},
      {"string", Kind::String},     {"frstring", Kind::FrString},
      {"eol", Kind::Eol},           {"sequence", Kind::Sequence},
      {"switch", Kind::Switch},     {"optionalswitch", Kind::OptionalSwitch},
      {"loop", Kind::Loop},         {"optionalloop", Kind::OptionalLoop},
      {"optional", Kind::Optional},
  };
  std::vector<std::pair<TfsXMLItem*, bool>> work;
  for (Integer i = 0; i < GrammarRoot->Count(); ++i) work.emplace_back(GrammarRoot->Items(i), true);
  while (!work.empty()) {
    auto [element, isRule] = work.back();
    work.pop_back();
    ElementInfo info;
    const std::string name = AnsiLowerCase(element->Name);
    if (isRule) {
      info.ElementKind = Kind::RuleDef;
    } else if (auto k = kinds.find(name); k != kinds.end()) {
      info.ElementKind = k->second;
    } else {
      info.ElementKind = Kind::Reference;
      auto rule = rules.find(name);
      info.Rule = rule == rules.end() ? nullptr : rule->second;
    }
    info.Text = LowerCase(element->Prop("text"));
    info.Node = element->Prop("node");
    info.AddName = element->Prop("add");
    info.HasAddText = (" " + UpperCase(element->Text)).find(" ADDTEXT=\"") != std::string::npos;
    info.AddText = element->Prop("addtext");
    const std::string err = element->Prop("err");
    if (!err.empty()) {
      info.HasErr = true;
      auto e = errors.find(AnsiLowerCase(err));
      info.Err = e == errors.end() ? err : e->second;
    }
    info.Term = element->Prop("term") == "1";
    const std::string skip = element->Prop("skip");
    info.Skip0 = skip == "0";
    info.Skip1 = skip == "1";
    element->Data = static_cast<NativeInt>(FInfos.size());
    FInfos.push_back(std::move(info));
    for (Integer i = 0; i < element->Count(); ++i) work.emplace_back(element->Items(i), false);
  }
}

const TfsILParser::ElementInfo& TfsILParser::Info(const TfsXMLItem* element) const {
  return FInfos[static_cast<size_t>(element->Data)];
}

std::string TfsILParser::ErrorText(const std::string& errName) const {
  if (const Integer p = GrammarRoot->Find("parser"); p >= 0) {
    TfsXMLItem* parser = GrammarRoot->Items(p);
    if (const Integer e = parser->Find("errors"); e >= 0) {
      TfsXMLItem* list = parser->Items(e);
      if (const Integer i = list->Find(errName); i >= 0) return list->Items(i)->Prop("text");
    }
  }
  return {};
}

void TfsILParser::NoteReached() { FFurthest = std::max(FFurthest, Lexer->Position()); }

std::string TfsILParser::PositionAfterSpaces(Integer entry) {
  const Integer saved = Lexer->Position();
  Lexer->SetPosition(entry);
  Lexer->SkipSpaces();
  const std::string text = Lexer->PositionToText();
  Lexer->SetPosition(saved);
  return text;
}

void TfsILParser::RecordError(const ElementInfo& info, Integer entry) {
  if (!info.HasErr || !ErrorMessage.empty()) return;
  ErrorMessage = info.Err;
  ErrorPos = PositionAfterSpaces(entry);
  ForgivableError = info.Term;
}

bool TfsILParser::MatchGrammarRule(TfsXMLItem* element) {
  if (gGrammarDepth >= fsMaxGrammarDepth) throw TooDeep{};
  ++gGrammarDepth;
  struct DepthGuard {
    ~DepthGuard() { --gGrammarDepth; }
  } guard;
  return MatchElement(element);
}

bool TfsILParser::MatchChildren(TfsXMLItem* element) {
  for (Integer i = 0; i < element->Count(); ++i)
    if (!MatchGrammarRule(element->Items(i))) return false;
  return true;
}

bool TfsILParser::MatchLoop(TfsXMLItem* element, const ElementInfo& info, bool optional) {
  const Integer entry = Lexer->Position();
  int count = 0;
  bool lastOk = false;
  Integer after = entry;
  for (;;) {
    ++count;
    const Integer start = Lexer->Position();
    lastOk = MatchChildren(element);
    after = Lexer->Position();
    if (lastOk && !info.Text.empty()) {
      Lexer->SkipSpaces();
      if (Lexer->ReadChar() != info.Text) {
        Lexer->SetPosition(after);
        break;
      }
    }
    if (!lastOk || Lexer->Position() == start) break;
  }
  bool result = lastOk;
  if (count >= 2 && !lastOk) {
    result = true;
    Lexer->SetPosition(after);
    if (info.Skip1 || ForgivableError) {
      ErrorMessage.clear();
      ErrorPos.clear();
      ForgivableError = false;
    }
  }
  if (optional && !result) {
    Lexer->SetPosition(entry);
    return true;
  }
  return result;
}

bool TfsILParser::MatchElement(TfsXMLItem* element) {
  const ElementInfo& info = Info(element);
  const Integer entry = Lexer->Position();
  const size_t mark = Output.size();
  bool matched = false;
  std::string token;

  switch (info.ElementKind) {
    case Kind::RuleDef:
      matched = true;
      break;
    case Kind::Char:
    case Kind::Keyword:
    case Kind::Ident:
    case Kind::Number:
    case Kind::String:
    case Kind::FrString: {
      switch (info.ElementKind) {
        case Kind::Char:
          if (!info.Skip0) Lexer->SkipSpaces();
          token = Lexer->ReadChar();
          break;
        case Kind::Keyword: token = Lexer->ReadWord(); break;
        case Kind::Ident: token = Lexer->ReadIdent(); break;
        case Kind::Number: token = Lexer->ReadNumber(); break;
        case Kind::String: token = Lexer->ReadString(); break;
        default: {
          token = Lexer->ReadBracketedText();
          if (!token.empty()) {
            // The bracketed text becomes a call of Get with the text as a string.
            const std::string pos = Attr("pos", Lexer->PositionToText());
            Output.push_back("<dsgn" + pos + ">");
            Output.push_back("<node" + Attr("text", "Get") + pos + "/>");
            Output.push_back("<expr" + pos + ">");
            Output.push_back("<string" + Attr("text", "'" + token + "'") + pos + "/>");
            Output.push_back("</expr>");
            Output.push_back("</dsgn>");
          }
          break;
        }
      }
      matched = !token.empty() &&
                (info.Text.empty() ||
                 (Lexer->CaseSensitive ? token == info.Text : SameText(token, info.Text)));
      if (matched) NoteReached();
      break;
    }
    case Kind::Eol:
      matched = Lexer->SkipLineEnd();
      if (matched) NoteReached();
      break;
    case Kind::Sequence:
      matched = true;
      break;
    case Kind::Switch:
    case Kind::OptionalSwitch:
      for (Integer i = 0; i < element->Count(); ++i)
        if (MatchGrammarRule(element->Items(i))) return true;
      if (info.ElementKind == Kind::OptionalSwitch) return true;
      RecordError(info, entry);
      Lexer->SetPosition(entry);
      return false;
    case Kind::Optional:
      if (!MatchChildren(element)) Lexer->SetPosition(entry);
      return true;
    case Kind::Loop:
    case Kind::OptionalLoop: {
      const bool ok = MatchLoop(element, info, info.ElementKind == Kind::OptionalLoop);
      if (!ok) Lexer->SetPosition(entry);
      return ok;
    }
    case Kind::Reference:
      if (!info.Rule) throw Exception("Invalid language definition");
      matched = MatchGrammarRule(info.Rule);
      break;
  }

  if (matched) {
    if (info.ElementKind != Kind::RuleDef && !info.Node.empty()) WrapOutput(info.Node, mark, entry);
    if (!info.AddName.empty()) {
      const std::string text = info.HasAddText ? info.AddText : token;
      Output.push_back("<" + info.AddName + Attr("text", text) +
                       Attr("pos", Lexer->PositionToText()) + "/>");
    }
    matched = MatchChildren(element);
  }
  if (!matched) {
    RecordError(info, entry);
    Lexer->SetPosition(entry);
  }
  if (info.ElementKind == Kind::RuleDef) {
    if (matched && !info.Node.empty())
      WrapOutput(info.Node, mark, entry);
    else if (!matched)
      Output.resize(std::min(Output.size(), mark));
  }
  return matched;
}

void TfsILParser::WrapOutput(const std::string& node, size_t mark, Integer entry) {
  if (AnsiSameText(node, "uses")) {
    LoadUnits(mark);
    return;
  }
  std::string start = "<" + node + Attr("pos", PositionAfterSpaces(entry));
  if (AnsiSameText(node, "expr")) start += Attr("pos1", Lexer->PositionToText());
  start += ">";
  mark = std::min(mark, Output.size());
  Output.insert(Output.begin() + static_cast<std::ptrdiff_t>(mark), start);
  Output.push_back("</" + node + ">");
}

// The file elements of a uses clause become the compiled units, from the
// last one backwards, each inserted where the clause stood.
void TfsILParser::LoadUnits(size_t mark) {
  std::vector<std::string> files(Output.begin() + static_cast<std::ptrdiff_t>(mark), Output.end());
  Output.resize(mark);
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    std::string unitName = LineAttribute(*it, "text");
    if (unitName.size() >= 2 && unitName.front() == unitName.back() &&
        (unitName.front() == '\'' || unitName.front() == '"'))
      unitName = unitName.substr(1, unitName.size() - 2);
    const bool known = std::any_of(LoadedUnits->begin(), LoadedUnits->end(),
                                   [&](const std::string& u) { return AnsiSameText(u, unitName); });
    if (known) continue;
    const std::string unitText = CompileUnit(unitName);
    Output.insert(Output.begin() + static_cast<std::ptrdiff_t>(mark),
                  {"<uses" + Attr("unit", unitName) + ">", unitText, "</uses>"});
    mark += 3;
  }
}

std::string TfsILParser::CompileUnit(const std::string& unitName) {
  LoadedUnits->push_back(unitName);
  TStringList lines;
  if (TargetScript && TargetScript->OnGetUnit) {
    std::string text;
    TargetScript->OnGetUnit(TargetScript, unitName, text);
    lines.SetText(text);
  } else {
    lines.LoadFromFile(unitName);
  }
  if (lines.Count() == 0) return {};
  std::string source;
  for (Integer i = 0; i < lines.Count(); ++i) source += lines.Strings(i) + "\r\n";

  TfsILParser nested(TargetScript);
  nested.CurrentUnit = unitName;
  nested.SelectLanguage(LanguageName);
  nested.LoadedUnits = LoadedUnits;
  nested.Sources = Sources;
  if (nested.BuildIntermediateProgram(source)) {
    TStringStream out;
    nested.ProgramDoc->SaveToStream(out);
    std::string text = out.DataString();
    const std::string header = "<?xml version=\"1.0\"?>";
    if (text.compare(0, header.size(), header) == 0) text.erase(0, header.size());
    return text;
  }
  if (ErrorMessage.empty()) {
    ErrorMessage = TargetScript ? TargetScript->ErrorText : nested.ErrorMessage;
    ErrorPos = TargetScript ? TargetScript->ErrorPosition : nested.ErrorPos;
    ForgivableError = false;
  }
  if (TargetScript && TargetScript->ErrorUnitName.empty()) TargetScript->ErrorUnitName = unitName;
  return {};
}

bool TfsILParser::BuildIntermediateProgram(std::string_view text) {
  Output.clear();
  ErrorMessage.clear();
  ErrorPos.clear();
  ForgivableError = false;
  Lexer->SetText(text);
  FFurthest = 1;
  Sources->emplace_back(CurrentUnit, std::string(text));

  // A first line "#language Name" selects the grammar for the rest.
  Integer start = 1;
  if (!text.empty() && text[0] == '#') {
    Lexer->SetPosition(2);
    const bool autoSkip = Lexer->AutoSkip;
    Lexer->AutoSkip = false;
    const std::string word = Lexer->ReadWord();
    Lexer->AutoSkip = autoSkip;
    if (SameText(word, "language")) {
      const size_t from = static_cast<size_t>(Lexer->Position() - 1);
      size_t cr = text.find('\r', from);
      const std::string name = Trim(std::string(text.substr(from, cr == std::string_view::npos ? std::string_view::npos : cr - from)));
      SelectLanguage(name);
      Lexer->SetText(text);
      start = cr == std::string_view::npos ? static_cast<Integer>(text.size()) + 1
                                            : static_cast<Integer>(cr) + 3;
    }
  }
  Lexer->SetPosition(std::min<Integer>(start, static_cast<Integer>(text.size()) + 1));
  FFurthest = Lexer->Position();

  if (GrammarRoot->Find("program") < 0) {
    TfsXMLItem* program = GrammarRoot->Add();
    program->Name = "program";
    CompileGrammar();
  }
  TfsXMLItem* program = GrammarRoot->Items(GrammarRoot->Find("program"));

  bool matched = false;
  try {
    matched = MatchGrammarRule(program);
  } catch (const TooDeep&) {
    if (ErrorMessage.empty() || ForgivableError) {
      ErrorMessage = kTooDeep;
      ErrorPos = Lexer->PositionToText();
    }
    matched = false;
  }

  // Only blanks, line ends and comments may follow the program.
  auto skipRest = [this] {
    for (;;) {
      const Integer before = Lexer->Position();
      Lexer->SkipSpaces();
      Lexer->SkipLineEnd();
      if (Lexer->Position() == before) break;
    }
    return Lexer->Position() > Lexer->Size();
  };
  if (matched && ErrorMessage.empty() && !skipRest()) {
    const std::string own = ErrorText("err3");
    ErrorMessage = own.empty() ? kGenericSyntaxError : own;
    ErrorPos = Lexer->PositionToText();
  }
  if (!matched && ErrorMessage.empty()) {
    // A text of nothing but blanks and comments is an empty program.
    Lexer->SetPosition(start);
    if (skipRest()) {
      matched = true;
      Output.clear();
    } else {
      ErrorMessage = kGenericSyntaxError;
      ErrorPos = Lexer->PositionToText(FFurthest);
    }
  }

  bool ok = matched && ErrorMessage.empty();
  if (ok) {
    std::string doc = "<?xml version=\"1.0\"?>\r\n<program>\r\n";
    for (const std::string& line : Output) doc += line + "\r\n";
    doc += "</program>\r\n";
    TStringStream stream(doc);
    ProgramDoc->LoadFromStream(stream);
    if (const Integer types = GrammarRoot->Find("types"); types >= 0) {
      TfsXMLItem* copy = ProgramDoc->Root()->Add();
      copy->CopyFrom(*GrammarRoot->Items(types));
    }
  }
  if (TargetScript) {
    TargetScript->ErrorText = ErrorMessage;
    TargetScript->ErrorPosition = ErrorPos;
  }
  return ok;
}
