// The grammar interpreter: turns script source into the intermediate program
// by walking the language's grammar over the lexer. A recursive matcher with
// ordered choice and backtracking reads tokens and writes the program as
// lines of XML while it matches; errors are recorded, not raised, and the
// first one decides the compile. Units named in uses clauses are compiled by
// nested parsers and pasted into the output. The same object then loads the
// intermediate program into the script.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/TfsDesignator.h"
#include "script/TfsExpression.h"
#include "script/TfsStatements.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_iparser.h"
#include "script/fs_xml.h"

// Deepest nesting of grammar rules while matching. Deeper sources (brackets
// or blocks nested hundreds deep) fail with a compile error instead of
// exhausting the stack; every level of the intermediate program needs at
// least one rule level, so its documents stay within fsMaxXMLDepth.
inline constexpr int fsMaxGrammarDepth = 900;

// Most elements an array declaration may have.
inline constexpr Int64 fsMaxArrayElements = 16 * 1024 * 1024;

class TfsILParser : public TObject {
  VXN_DECLARE_CLASS(TfsILParser)

 public:
  explicit TfsILParser(TfsScript* script);
  ~TfsILParser() override;

  // Configures the lexer from the named grammar ("Language '%s' not found").
  void SelectLanguage(std::string_view name);
  // Matches the grammar over text; on success ProgramDoc holds the
  // intermediate program. The script receives the error text and position.
  bool BuildIntermediateProgram(std::string_view text);
  // Matches one rule element at the lexer's position.
  bool MatchGrammarRule(TfsXMLItem* element);

  // The loader: builds the script's items and statements from ProgramDoc.
  // The first error stops loading; the script gets its message, position and
  // unit, and keeps what was loaded before it.
  void LoadIntermediateProgram();
  // Loads a program element (an already compiled program or unit).
  void LoadProgramElement(TfsXMLItem* program);
  enum TfsDesignatorMode { dmPlain = 0, dmConstructor = 1, dmDelete = 2 };
  std::unique_ptr<TfsExpression> BuildExpression(TfsXMLItem* element, TfsScript* script);
  std::unique_ptr<TfsDesignator> BuildDesignator(TfsXMLItem* element, TfsScript* script,
                                                 TfsDesignatorMode mode = dmPlain);
  std::unique_ptr<TfsSetExpression> BuildSet(TfsXMLItem* element, TfsScript* script);

  // Hidden variables of the with statements being loaded, innermost last.
  std::vector<std::string> ActiveWiths;
  TfsXMLItem* CurrentRoot = nullptr;
  std::string ErrorPosition;  // position of the element handled last

  TfsScript* TargetScript;
  std::string LanguageName;
  std::unique_ptr<TfsXMLDocument> GrammarDoc;
  TfsXMLItem* GrammarRoot = nullptr;
  std::unique_ptr<TfsXMLDocument> ProgramDoc;
  std::unique_ptr<TfsParser> Lexer;
  bool RequireDeclarations = true;
  std::string CurrentUnit;
  // Units compiled already; shared with nested parsers.
  std::shared_ptr<std::vector<std::string>> LoadedUnits;
  // Source texts of the main program ("") and of compiled units, for the
  // source text of expressions.
  std::shared_ptr<std::vector<std::pair<std::string, std::string>>> Sources;

  // State of one BuildIntermediateProgram run.
  std::vector<std::string> Output;
  std::string ErrorMessage;
  std::string ErrorPos;
  bool ForgivableError = false;

 private:
  struct ElementInfo;
  enum class Kind;
  void CompileGrammar();
  const ElementInfo& Info(const TfsXMLItem* element) const;
  bool MatchElement(TfsXMLItem* element);
  bool MatchChildren(TfsXMLItem* element);
  bool MatchLoop(TfsXMLItem* element, const ElementInfo& info, bool optional);
  void RecordError(const ElementInfo& info, Integer entry);
  std::string PositionAfterSpaces(Integer entry);
  void WrapOutput(const std::string& node, size_t mark, Integer entry);
  void LoadUnits(size_t mark);
  std::string CompileUnit(const std::string& unitName);
  std::string ErrorText(const std::string& errName) const;
  void NoteReached();

  // Loader helpers (TfsILLoader.cpp).
  void LoadBlock(TfsXMLItem* element, TfsScript* script);
  void DeclareRoutines(TfsXMLItem* element, TfsScript* script);
  void DeclareRoutine(TfsXMLItem* element, TfsScript* script);
  void Dispatch(TfsXMLItem* element, TfsScript* script, TfsStatement* list);
  void DispatchChildren(TfsXMLItem* element, TfsScript* script, TfsStatement* list);
  void DispatchAssignment(TfsXMLItem* element, TfsScript* script, TfsStatement* list);
  void DispatchFor(TfsXMLItem* element, TfsScript* script, TfsStatement* list);
  void DispatchWith(TfsXMLItem* element, TfsScript* script, TfsStatement* list);
  void DispatchUses(TfsXMLItem* element, TfsScript* script);
  TfsCustomVariable* MakeVariable(TfsXMLItem* element, Integer nameIndex, TfsScript* script,
                                  TfsStatement* list, bool isParam, bool byReference);
  std::pair<std::string, TfsVarType> LookupType(const std::string& typeText, TfsScript* script);
  void AddExpressionItems(TfsExpression& e, TfsXMLItem* element, TfsScript* script);
  void CheckArguments(TfsDesignator& d, TfsScript* script);
  std::string SourceBetween(const std::string& pos, const std::string& pos1) const;
  void SetPosition(const TfsXMLItem* element);
  template <typename T>
  T* NewStatement(TfsXMLItem* element, TfsScript* script, TfsStatement* list);

  std::vector<ElementInfo> FInfos;
  Integer FFurthest = 1;
};
