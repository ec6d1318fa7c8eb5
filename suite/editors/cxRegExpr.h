// Regular expressions of the mask editor: a compiler from the pattern text
// to a state graph, and an incremental matcher that walks that graph one
// typed character at a time, completing and removing the characters that
// the pattern forces.
//
// Syntax (spaces and line breaks outside quotes are ignored):
//   'text'          literal run ('' inside gives one quote)
//   ( ) |           group, alternative (groups nest at most 500 deep)
//   * + ? {n} {n,} {n,m}   quantifiers (counts up to 1000)
//   .               any character
//   /  :            the locale's date / time separator (read while matching)
//   [abc] [^a-z]    set, inverse set, range
//   \1..\9          a copy of the pattern of group N (not of its text)
//   \w \W \d \D \s \S  classes;  \t \n \r \f \a \e \p (decimal separator)
//   \xHH            character with that code;  \c  any other c literally
//
// Characters are UTF-8 code points.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Delegates.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

class TcxRegExprError : public TObject {
  VXN_DECLARE_CLASS(TcxRegExprError)

 public:
  TcxRegExprError(Integer line, Integer column, std::string message)
      : Line(line), Column(column), Message(std::move(message)) {}

  // "Line<n>, Char<c>: <message>"; the position parts are left out when
  // they are 0.
  std::string FullText() const;

  Integer Line;
  Integer Column;
  std::string Message;
};

class TcxRegExprErrors {
 public:
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  const TcxRegExprError& Items(Integer index) const { return *items_.at(static_cast<size_t>(index)); }
  const TcxRegExprError& operator[](Integer index) const { return Items(index); }
  void Add(Integer line, Integer column, std::string message);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TcxRegExprError>> items_;
};

// Raised by a failed compile. It has no text of its own: the errors stay in
// the expression's list, which the exception refers to.
class EcxRegExprError : public Exception {
  VXN_DECLARE_CLASS(EcxRegExprError)

 public:
  explicit EcxRegExprError(const TcxRegExprErrors* errors) : Exception(std::string()), Errors(errors) {}

  const TcxRegExprErrors* Errors;
};

class TcxRegExprAutomat;

class TcxRegExpr : public TObject {
  VXN_DECLARE_CLASS(TcxRegExpr)

 public:
  using TForcedCharAddedEvent = TDelegate<void(char32_t Ch)>;
  using TForcedCharRemovedEvent = TDelegate<void()>;

  TcxRegExpr();
  ~TcxRegExpr() override;

  // Compiles the whole stream (from its start); raises EcxRegExprError with
  // every error of the failing stage. A nil stream is an error too.
  void Compile(TStream* stream);
  void Compile(std::string_view pattern);
  void Clear();

  bool Compiled() const { return compiled_; }
  const TcxRegExprErrors& Errors() const { return errors_; }
  // The compiled pattern, nil when not compiled.
  TStream* SourceStream() const { return compiled_ ? source_.get() : nullptr; }

  // Matching; each raises Exception "Regular expression is not compiled"
  // before a successful compile.
  void Reset();
  bool IsStart() const;
  bool IsFinal() const;
  // Accepts or refuses one character; a literal of the pattern may replace
  // the character by its own spelling (case-insensitive matching).
  bool Next(char32_t& ch);
  bool Prev();
  // The characters of text that the pattern accepts from the current point
  // on, as they stand in text; refused ones are skipped. No completion.
  std::string FilterText(std::string_view text);

  bool CaseInsensitive() const { return caseInsensitive_; }
  void SetCaseInsensitive(bool value) { caseInsensitive_ = value; }
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value);

  TForcedCharAddedEvent OnForcedCharAdded;
  TForcedCharRemovedEvent OnForcedCharRemoved;

 private:
  friend class TcxRegExprAutomat;
  friend class RegExprCompiler;

  void CheckCompiled() const;
  void DoForcedCharAdded(char32_t ch) { OnForcedCharAdded(ch); }
  void DoForcedCharRemoved() { OnForcedCharRemoved(); }

  std::unique_ptr<TMemoryStream> source_;
  TcxRegExprErrors errors_;
  std::unique_ptr<TcxRegExprAutomat> automat_;
  bool compiled_ = false;
  bool caseInsensitive_ = false;
  bool autoComplete_ = false;
};
