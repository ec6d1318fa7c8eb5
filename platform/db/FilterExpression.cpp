#include "platform/db/FilterExpression.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/db/DataSet.h"
#include "platform/db/DbConsts.h"
#include "platform/db/Field.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Utf8.h"

namespace {

// Deeper nesting than this is refused rather than risking the stack.
constexpr int MaxNesting = 200;

enum class TTokenKind { End, Word, Bracketed, Text, Number, Param, Symbol };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  std::string Text;  // the word, name, text or symbol
  size_t Pos = 0;    // byte offset in the expression
  Variant Number;
};

// How values of a field compare with constants.
enum class TValueClass { Text, Number, Date, Boolean, Other };

TValueClass ClassOfFieldType(TFieldType t) {
  switch (t) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftMemo:
    case ftFmtMemo:
    case ftGuid:
    case ftOraClob:
      return TValueClass::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
    case ftFMTBcd:
      return TValueClass::Number;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return TValueClass::Date;
    case ftBoolean:
      return TValueClass::Boolean;
    default:
      return TValueClass::Other;
  }
}

bool IsWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '.' || c >= 0x80; }

bool TryParseIsoDate(std::string_view s, TDateTime& value) {
  // yyyy-mm-dd[ hh:nn[:ss]]
  unsigned y, mo, d, h = 0, mi = 0, se = 0;
  std::string text(Trim(s));
  int used = 0;
  if (std::sscanf(text.c_str(), "%4u-%2u-%2u%n", &y, &mo, &d, &used) != 3) return false;
  std::string rest = Trim(text.substr(static_cast<size_t>(used)));
  if (!rest.empty()) {
    int n = std::sscanf(rest.c_str(), "%2u:%2u:%2u", &h, &mi, &se);
    if (n < 2) return false;
  }
  TDateTime date, time;
  if (!TryEncodeDate(static_cast<Word>(y), static_cast<Word>(mo), static_cast<Word>(d), date)) return false;
  if (!TryEncodeTime(static_cast<Word>(h), static_cast<Word>(mi), static_cast<Word>(se), 0, time)) return false;
  value = date + time;
  return true;
}

// The text of a value; False for a value without one (a date outside the
// years 100..9999).
bool TextOf(const Variant& v, std::string& out) {
  try {
    out = VarToStr(v);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool CoerceValue(TValueClass cls, const Variant& v, Variant& out);

// Turns a constant into the form its field's values have; False when it
// cannot have that form.
bool Coerce(TValueClass cls, const Variant& v, Variant& out) {
  try {
    return CoerceValue(cls, v, out);
  } catch (const Exception&) {
    return false;
  }
}

bool CoerceValue(TValueClass cls, const Variant& v, Variant& out) {
  if (VarIsClear(v)) {
    out = v;
    return true;
  }
  switch (cls) {
    case TValueClass::Text:
      out = Variant(VarToStr(v));
      return true;
    case TValueClass::Number: {
      if (VarIsNumeric(v) && v.VType() != varBoolean) {
        out = v;
        return true;
      }
      if (!VarIsStr(v)) return false;
      std::string s = Trim(VarToStr(v));
      Int64 i = 0;
      if (TryStrToInt64(s, i)) {
        out = Variant(static_cast<long long>(i));
        return true;
      }
      double d = 0;
      Integer code = 0;
      Val(s, d, code);
      if (code != 0 || s.empty()) return false;
      out = Variant(d);
      return true;
    }
    case TValueClass::Date: {
      if (v.VType() == varDate) {
        out = v;
        return true;
      }
      if (VarIsNumeric(v) && v.VType() != varBoolean) {
        out = VarFromDateTime(v.AsDouble());
        return true;
      }
      if (!VarIsStr(v)) return false;
      std::string s = VarToStr(v);
      TDateTime d = 0;
      if (TryStrToDateTime(s, d) || TryParseIsoDate(s, d)) {
        out = VarFromDateTime(d);
        return true;
      }
      return false;
    }
    case TValueClass::Boolean: {
      if (v.VType() == varBoolean) {
        out = v;
        return true;
      }
      if (VarIsStr(v)) {
        std::string s = Trim(VarToStr(v));
        if (SameText(s, "True")) out = Variant(true);
        else if (SameText(s, "False")) out = Variant(false);
        else return false;
        return true;
      }
      if (VarIsNumeric(v)) {
        out = Variant(v.AsDouble() != 0);
        return true;
      }
      return false;
    }
    case TValueClass::Other:
      out = v;
      return true;
  }
  return false;
}

enum class TTri { False, True, Unknown };

TTri Not3(TTri t) { return t == TTri::Unknown ? t : (t == TTri::True ? TTri::False : TTri::True); }
TTri FromBool(bool b) { return b ? TTri::True : TTri::False; }

std::u32string Decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) out.push_back(Utf8Decode(s, pos));
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------

bool LikeMatches(std::string_view Text, std::string_view Pattern, bool CaseInsensitive) {
  std::u32string t = CaseInsensitive ? Decode(AnsiUpperCase(Text)) : Decode(Text);
  std::u32string p = CaseInsensitive ? Decode(AnsiUpperCase(Pattern)) : Decode(Pattern);
  size_t ti = 0, pi = 0, star = std::u32string::npos, mark = 0;
  while (ti < t.size()) {
    if (pi < p.size() && p[pi] == U'%') {
      star = pi++;
      mark = ti;
    } else if (pi < p.size() && (p[pi] == U'_' || p[pi] == t[ti])) {
      ++pi;
      ++ti;
    } else if (star != std::u32string::npos) {
      pi = star + 1;
      ti = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'%') ++pi;
  return pi == p.size();
}

// ---------------------------------------------------------------------------

enum class TNodeKind { Or, And, Not, Compare, IsNull, Like, Between, In, BoolValue, Const, Field, Param, Arith, Negate, Agg };

struct TFilterExpression::Node {
  TNodeKind Kind = TNodeKind::Const;
  std::vector<std::unique_ptr<Node>> Kids;
  std::string Op;          // comparison operator; for Arith the operators between kids
  bool Negated = false;    // NOT LIKE, NOT BETWEEN, NOT IN, IS NOT NULL, <> NULL
  bool NullLiteral = false;
  bool Partial = false;    // = / <> against "text*"
  Variant Value;           // constants (already in the compared field's form)
  Integer FieldIndex = -1;
  TFieldType FieldType = ftUnknown;
  TValueClass Class = TValueClass::Other;  // how the compared values compare
  std::string Name;        // field or parameter name, aggregate function
  size_t Pos = 0;
  // Aggregates.
  char Func = 0;  // S(um) A(vg) C(ount) N (min) X (max)
  bool CountAll = false;
  mutable Variant Acc;
  mutable Int64 Count = 0;
  mutable Variant Result;

  bool IsCondition() const {
    switch (Kind) {
      case TNodeKind::Or:
      case TNodeKind::And:
      case TNodeKind::Not:
      case TNodeKind::Compare:
      case TNodeKind::IsNull:
      case TNodeKind::Like:
      case TNodeKind::Between:
      case TNodeKind::In:
      case TNodeKind::BoolValue:
        return true;
      default:
        return false;
    }
  }
};

using TNode = TFilterExpression::Node;
using TNodePtr = std::unique_ptr<TNode>;

namespace {

class TParser {
 public:
  TParser(const TDataSet& ds, std::string_view text, TFilterOptions options, TExprParserMode mode,
          const TExprParamLookup& params)
      : DataSet_(ds), Text_(text), Options_(options), Mode_(mode), Params_(params) {
    Advance();
  }

  TNodePtr ParseAll() {
    TNodePtr root;
    if (Mode_ == TExprParserMode::Aggregate) {
      root = ParseValue();
      if (!root->IsCondition() && !HasAggregate(*root)) Fail(SExprNotAgg, {}, root->Pos);
      CheckAggregate(*root, false);
    } else {
      root = AsCondition(ParseCondition());
    }
    if (Tok_.Kind != TTokenKind::End) Fail(SExprTermination, {}, Tok_.Pos);
    return root;
  }

  std::vector<TNode*> Aggregates;

 private:
  // --- errors ---------------------------------------------------------------
  [[noreturn]] void Fail(const char* format, TVarRecs args, size_t pos) {
    std::string message = args.size() ? Format(format, args) : std::string(format);
    Integer charPos = static_cast<Integer>(Utf8CharIndex(Text_, std::min(pos, Text_.size()))) + 1;
    throw EDatabaseError(Format(SExprAtPosition, {message, charPos}));
  }

  std::string Describe(const TToken& t) const {
    switch (t.Kind) {
      case TTokenKind::End:
        return SExprNothing;
      case TTokenKind::Text:
        return QuotedStr(t.Text);
      case TTokenKind::Bracketed:
        return "[" + t.Text + "]";
      case TTokenKind::Param:
        return ":" + t.Text;
      default:
        return t.Text;
    }
  }

  // --- lexer ----------------------------------------------------------------
  void Advance() {
    size_t& i = Cursor_;
    while (i < Text_.size() && static_cast<unsigned char>(Text_[i]) <= ' ') ++i;
    Tok_ = TToken();
    Tok_.Pos = i;
    if (i >= Text_.size()) return;
    unsigned char c = static_cast<unsigned char>(Text_[i]);
    if (IsWordStart(c)) {
      size_t start = i;
      while (i < Text_.size() && IsWordChar(static_cast<unsigned char>(Text_[i]))) ++i;
      Tok_.Kind = TTokenKind::Word;
      Tok_.Text = std::string(Text_.substr(start, i - start));
      return;
    }
    if (c == '[') {
      size_t close = Text_.find(']', i + 1);
      if (close == std::string_view::npos) Fail(SExprNameError, {}, i);
      Tok_.Kind = TTokenKind::Bracketed;
      Tok_.Text = std::string(Text_.substr(i + 1, close - i - 1));
      i = close + 1;
      return;
    }
    if (c == '\'') {
      std::string text;
      size_t j = i + 1;
      for (;;) {
        if (j >= Text_.size()) Fail(SExprStringError, {}, i);
        if (Text_[j] == '\'') {
          if (j + 1 < Text_.size() && Text_[j + 1] == '\'') {
            text += '\'';
            j += 2;
            continue;
          }
          break;
        }
        text += Text_[j++];
      }
      Tok_.Kind = TTokenKind::Text;
      Tok_.Text = std::move(text);
      i = j + 1;
      return;
    }
    if (std::isdigit(c) || (c == '.' && i + 1 < Text_.size() && std::isdigit(static_cast<unsigned char>(Text_[i + 1])))) {
      size_t start = i;
      bool isFloat = false;
      while (i < Text_.size() && std::isdigit(static_cast<unsigned char>(Text_[i]))) ++i;
      if (i < Text_.size() && Text_[i] == '.') {
        isFloat = true;
        ++i;
        while (i < Text_.size() && std::isdigit(static_cast<unsigned char>(Text_[i]))) ++i;
      }
      if (i < Text_.size() && (Text_[i] == 'e' || Text_[i] == 'E')) {
        size_t j = i + 1;
        if (j < Text_.size() && (Text_[j] == '+' || Text_[j] == '-')) ++j;
        if (j < Text_.size() && std::isdigit(static_cast<unsigned char>(Text_[j]))) {
          isFloat = true;
          i = j;
          while (i < Text_.size() && std::isdigit(static_cast<unsigned char>(Text_[i]))) ++i;
        }
      }
      std::string text(Text_.substr(start, i - start));
      Tok_.Kind = TTokenKind::Number;
      Tok_.Text = text;
      Int64 n = 0;
      if (!isFloat && TryStrToInt64(text, n)) {
        Tok_.Number = n >= INT32_MIN && n <= INT32_MAX ? Variant(static_cast<int>(n)) : Variant(static_cast<long long>(n));
      } else {
        double d = 0;
        Integer code = 0;
        Val(text, d, code);
        if (code != 0 || !std::isfinite(d)) Fail(SExprRangeError, {}, start);
        Tok_.Number = Variant(d);
      }
      return;
    }
    if (c == ':' && Mode_ == TExprParserMode::Query && i + 1 < Text_.size() &&
        IsWordStart(static_cast<unsigned char>(Text_[i + 1]))) {
      size_t start = ++i;
      while (i < Text_.size() && IsWordChar(static_cast<unsigned char>(Text_[i]))) ++i;
      Tok_.Kind = TTokenKind::Param;
      Tok_.Text = std::string(Text_.substr(start, i - start));
      return;
    }
    static const char* const symbols[] = {"<>", "<=", ">=", "!=", "=", "<", ">", "(", ")", ",", "+", "-", "*", "/"};
    for (const char* s : symbols) {
      std::string_view sym(s);
      if (Text_.substr(i, sym.size()) == sym) {
        Tok_.Kind = TTokenKind::Symbol;
        Tok_.Text = std::string(sym);
        i += sym.size();
        return;
      }
    }
    size_t len = std::max<size_t>(1, Utf8CharLength(Text_, i));
    Fail(SExprInvalidChar, {std::string(Text_.substr(i, len))}, i);
  }

  bool IsSymbol(const char* s) const { return Tok_.Kind == TTokenKind::Symbol && Tok_.Text == s; }
  bool IsWord(const char* w) const { return Tok_.Kind == TTokenKind::Word && SameText(Tok_.Text, w); }
  bool IsKeyword() const {
    static const char* const words[] = {"AND", "OR", "NOT", "LIKE", "BETWEEN", "IN", "IS", "NULL", "TRUE", "FALSE"};
    for (const char* w : words)
      if (IsWord(w)) return true;
    return false;
  }

  void Enter(size_t pos) {
    if (++Depth_ > MaxNesting) Fail(SExprIncorrect, {}, pos);
  }
  void Leave() { --Depth_; }

  // --- grammar --------------------------------------------------------------
  TNodePtr MakeNode(TNodeKind kind, size_t pos) {
    auto n = std::make_unique<TNode>();
    n->Kind = kind;
    n->Pos = pos;
    return n;
  }

  TNodePtr ParseCondition() {
    Enter(Tok_.Pos);
    TNodePtr left = ParseAnd();
    if (IsWord("OR")) {
      TNodePtr node = MakeNode(TNodeKind::Or, left->Pos);
      node->Kids.push_back(AsCondition(std::move(left)));
      while (IsWord("OR")) {
        Advance();
        node->Kids.push_back(AsCondition(ParseAnd()));
      }
      left = std::move(node);
    }
    Leave();
    return left;
  }

  TNodePtr ParseAnd() {
    TNodePtr left = ParseNot();
    if (IsWord("AND")) {
      TNodePtr node = MakeNode(TNodeKind::And, left->Pos);
      node->Kids.push_back(AsCondition(std::move(left)));
      while (IsWord("AND")) {
        Advance();
        node->Kids.push_back(AsCondition(ParseNot()));
      }
      left = std::move(node);
    }
    return left;
  }

  TNodePtr ParseNot() {
    if (IsWord("NOT")) {
      size_t pos = Tok_.Pos;
      Enter(pos);
      Advance();
      TNodePtr node = MakeNode(TNodeKind::Not, pos);
      node->Kids.push_back(AsCondition(ParseNot()));
      Leave();
      return node;
    }
    return ParsePredicate();
  }

  TNodePtr ParsePredicate() {
    TNodePtr left = ParseValue();
    size_t pos = Tok_.Pos;
    if (Tok_.Kind == TTokenKind::Symbol &&
        (Tok_.Text == "=" || Tok_.Text == "<>" || Tok_.Text == "!=" || Tok_.Text == "<" || Tok_.Text == "<=" ||
         Tok_.Text == ">" || Tok_.Text == ">=")) {
      std::string op = Tok_.Text == "!=" ? "<>" : Tok_.Text;
      Advance();
      TNodePtr right = ParseValue();
      if (left->NullLiteral || right->NullLiteral) {
        if (op != "=" && op != "<>") Fail(SExprBadNullTest, {}, pos);
        TNodePtr node = MakeNode(TNodeKind::IsNull, pos);
        node->Negated = op == "<>";
        node->Kids.push_back(left->NullLiteral ? std::move(right) : std::move(left));
        CheckValue(*node->Kids[0]);
        return node;
      }
      TNodePtr node = MakeNode(TNodeKind::Compare, pos);
      node->Op = op;
      node->Kids.push_back(std::move(left));
      node->Kids.push_back(std::move(right));
      PrepareOperands(*node);
      if ((op == "=" || op == "<>") && node->Class == TValueClass::Text && !Options_.Contains(foNoPartialCompare)) {
        for (auto& kid : node->Kids) {
          if (kid->Kind != TNodeKind::Const || !VarIsStr(kid->Value)) continue;
          std::string s = VarToStr(kid->Value);
          if (!s.empty() && s.back() == '*') {
            s.pop_back();
            kid->Value = Variant(s);
            node->Partial = true;
          }
        }
      }
      return node;
    }
    if (IsWord("IS")) {
      Advance();
      TNodePtr node = MakeNode(TNodeKind::IsNull, pos);
      if (IsWord("NOT")) {
        node->Negated = true;
        Advance();
      }
      if (!IsWord("NULL")) Fail(SExprExpected, {Describe(Tok_)}, Tok_.Pos);
      Advance();
      CheckValue(*left);
      node->Kids.push_back(std::move(left));
      return node;
    }
    bool negated = false;
    if (IsWord("NOT")) {
      negated = true;
      Advance();
      if (!IsWord("LIKE") && !IsWord("BETWEEN") && !IsWord("IN")) Fail(SInvalidKeywordUse, {}, pos);
    }
    if (IsWord("LIKE")) {
      Advance();
      TNodePtr node = MakeNode(TNodeKind::Like, pos);
      node->Negated = negated;
      node->Kids.push_back(std::move(left));
      node->Kids.push_back(ParseValue());
      for (auto& kid : node->Kids) CheckValue(*kid);
      node->Class = TValueClass::Text;
      for (auto& kid : node->Kids)
        if (kid->Kind == TNodeKind::Const) kid->Value = Variant(VarToStr(kid->Value));
      return node;
    }
    if (IsWord("BETWEEN")) {
      Advance();
      TNodePtr node = MakeNode(TNodeKind::Between, pos);
      node->Negated = negated;
      node->Kids.push_back(std::move(left));
      node->Kids.push_back(ParseValue());
      if (!IsWord("AND")) Fail(SExprIncorrect, {}, Tok_.Pos);
      Advance();
      node->Kids.push_back(ParseValue());
      PrepareOperands(*node);
      return node;
    }
    if (IsWord("IN")) {
      Advance();
      TNodePtr node = MakeNode(TNodeKind::In, pos);
      node->Negated = negated;
      node->Kids.push_back(std::move(left));
      if (!IsSymbol("(")) Fail(SExprNoLParen, {Describe(Tok_)}, Tok_.Pos);
      Advance();
      if (IsSymbol(")")) Fail(SExprEmptyInList, {}, Tok_.Pos);
      for (;;) {
        node->Kids.push_back(ParseValue());
        if (IsSymbol(",")) {
          Advance();
          continue;
        }
        if (IsSymbol(")")) break;
        Fail(SExprNoRParenOrComma, {Describe(Tok_)}, Tok_.Pos);
      }
      Advance();
      PrepareOperands(*node);
      return node;
    }
    return left;
  }

  TNodePtr ParseValue() {
    TNodePtr left = ParseTerm();
    if (IsSymbol("+") || IsSymbol("-")) {
      if (Mode_ != TExprParserMode::Aggregate) Fail(SExprNoArith, {}, Tok_.Pos);
      TNodePtr node = MakeNode(TNodeKind::Arith, left->Pos);
      CheckValue(*left);
      node->Kids.push_back(std::move(left));
      while (IsSymbol("+") || IsSymbol("-")) {
        node->Op += Tok_.Text;
        Advance();
        node->Kids.push_back(ParseTerm());
        CheckValue(*node->Kids.back());
      }
      left = std::move(node);
    }
    return left;
  }

  TNodePtr ParseTerm() {
    TNodePtr left = ParseFactor();
    if (IsSymbol("*") || IsSymbol("/")) {
      if (Mode_ != TExprParserMode::Aggregate) Fail(SExprNoArith, {}, Tok_.Pos);
      TNodePtr node = MakeNode(TNodeKind::Arith, left->Pos);
      CheckValue(*left);
      node->Kids.push_back(std::move(left));
      while (IsSymbol("*") || IsSymbol("/")) {
        node->Op += Tok_.Text;
        Advance();
        node->Kids.push_back(ParseFactor());
        CheckValue(*node->Kids.back());
      }
      left = std::move(node);
    }
    return left;
  }

  TNodePtr ParseFactor() {
    size_t pos = Tok_.Pos;
    if (IsSymbol("-") || IsSymbol("+")) {
      bool minus = Tok_.Text == "-";
      Enter(pos);
      Advance();
      if (Tok_.Kind == TTokenKind::Number) {
        TNodePtr node = MakeNode(TNodeKind::Const, pos);
        node->Value = minus ? VarNeg(Tok_.Number) : Tok_.Number;
        Advance();
        Leave();
        return node;
      }
      if (Mode_ != TExprParserMode::Aggregate) Fail(SExprNoArith, {}, pos);
      TNodePtr inner = ParseFactor();
      CheckValue(*inner);
      Leave();
      if (!minus) return inner;
      TNodePtr node = MakeNode(TNodeKind::Negate, pos);
      node->Kids.push_back(std::move(inner));
      return node;
    }
    if (IsSymbol("(")) {
      Enter(pos);
      Advance();
      TNodePtr inner = Mode_ == TExprParserMode::Aggregate ? ParseValue() : ParseCondition();
      if (!IsSymbol(")")) Fail(SExprNoRParen, {Describe(Tok_)}, Tok_.Pos);
      Advance();
      Leave();
      return inner;
    }
    switch (Tok_.Kind) {
      case TTokenKind::Text: {
        TNodePtr node = MakeNode(TNodeKind::Const, pos);
        node->Value = Variant(Tok_.Text);
        Advance();
        return node;
      }
      case TTokenKind::Number: {
        TNodePtr node = MakeNode(TNodeKind::Const, pos);
        node->Value = Tok_.Number;
        Advance();
        return node;
      }
      case TTokenKind::Param: {
        Variant probe;
        if (!Params_ || !Params_(Tok_.Text, probe)) Fail(SParameterNotFound, {Tok_.Text}, pos);
        TNodePtr node = MakeNode(TNodeKind::Param, pos);
        node->Name = Tok_.Text;
        Advance();
        return node;
      }
      case TTokenKind::Bracketed: {
        std::string name = Tok_.Text;
        Advance();
        return FieldNode(name, pos);
      }
      case TTokenKind::Word: {
        if (IsWord("TRUE") || IsWord("FALSE")) {
          TNodePtr node = MakeNode(TNodeKind::Const, pos);
          node->Value = Variant(IsWord("TRUE"));
          Advance();
          return node;
        }
        if (IsWord("NULL")) {
          TNodePtr node = MakeNode(TNodeKind::Const, pos);
          node->Value = Null();
          node->NullLiteral = true;
          Advance();
          return node;
        }
        if (IsKeyword()) Fail(SExprExpected, {Describe(Tok_)}, pos);
        std::string name = Tok_.Text;
        Advance();
        if (IsSymbol("(")) {
          char func = SameText(name, "SUM") ? 'S' : SameText(name, "AVG") ? 'A' : SameText(name, "COUNT") ? 'C'
                    : SameText(name, "MIN") ? 'N' : SameText(name, "MAX") ? 'X' : 0;
          if (!func) Fail(SFieldNotFound, {name}, pos);
          if (Mode_ != TExprParserMode::Aggregate) Fail(SExprNoAggFilter, {}, pos);
          return AggregateNode(func, name, pos);
        }
        return FieldNode(name, pos);
      }
      default:
        Fail(SExprExpected, {Describe(Tok_)}, pos);
    }
  }

  TNodePtr AggregateNode(char func, const std::string& name, size_t pos) {
    Enter(pos);
    Advance();  // past "("
    TNodePtr node = MakeNode(TNodeKind::Agg, pos);
    node->Func = func;
    node->Name = name;
    if (func == 'C' && IsSymbol("*")) {
      node->CountAll = true;
      Advance();
    } else {
      node->Kids.push_back(ParseValue());
      CheckValue(*node->Kids.back());
    }
    if (!IsSymbol(")")) Fail(SExprNoRParen, {Describe(Tok_)}, Tok_.Pos);
    Advance();
    Leave();
    Aggregates.push_back(node.get());
    return node;
  }

  TNodePtr FieldNode(const std::string& name, size_t pos) {
    TField* field = DataSet_.FindField(name);
    if (!field) {
      for (TField* f : DataSet_.Fields().Items())
        if (!f->Origin().empty() && AnsiSameText(f->Origin(), name)) {
          field = f;
          break;
        }
    }
    if (!field) Fail(SFieldNotFound, {name}, pos);
    if ((field->FieldKind() != fkData && field->FieldKind() != fkInternalCalc) || field->FieldNo() <= 0 ||
        field->DataType() == ftDataSet)
      Fail(SExprBadField, {field->FieldName()}, pos);
    TNodePtr node = MakeNode(TNodeKind::Field, pos);
    node->Name = field->FieldName();
    node->FieldIndex = field->FieldNo() - 1;
    node->FieldType = field->DataType();
    return node;
  }

  // --- checks and preparation -----------------------------------------------
  void CheckValue(const TNode& n) {
    if (n.NullLiteral) Fail(SExprBadNullTest, {}, n.Pos);
    if (n.IsCondition()) Fail(SExprTypeMis, {}, n.Pos);
  }

  TNodePtr AsCondition(TNodePtr n) {
    if (n->IsCondition()) return n;
    if (n->NullLiteral) Fail(SExprBadNullTest, {}, n->Pos);
    bool boolean = (n->Kind == TNodeKind::Field && n->FieldType == ftBoolean) ||
                   (n->Kind == TNodeKind::Const && n->Value.VType() == varBoolean) || n->Kind == TNodeKind::Param;
    if (!boolean) {
      if (n->Kind == TNodeKind::Field) Fail(SExprNotBoolean, {n->Name}, n->Pos);
      Fail(SExprIncorrect, {}, n->Pos);
    }
    TNodePtr wrap = MakeNode(TNodeKind::BoolValue, n->Pos);
    wrap->Kids.push_back(std::move(n));
    return wrap;
  }

  // Chooses how the operands compare (by the first field among them) and
  // puts the constants in that form.
  void PrepareOperands(TNode& node) {
    for (auto& kid : node.Kids) CheckValue(*kid);
    TValueClass cls = TValueClass::Other;
    bool found = false;
    for (auto& kid : node.Kids)
      if (kid->Kind == TNodeKind::Field) {
        TValueClass c = ClassOfFieldType(kid->FieldType);
        if (!found) cls = c;
        else if (c != cls) cls = TValueClass::Other;
        found = true;
      }
    if (!found) {
      bool allText = true;
      for (auto& kid : node.Kids)
        if (!(kid->Kind == TNodeKind::Const && VarIsStr(kid->Value))) allText = false;
      if (allText) cls = TValueClass::Text;
    }
    node.Class = cls;
    for (auto& kid : node.Kids) {
      if (kid->Kind != TNodeKind::Const) continue;
      Variant out;
      if (!Coerce(cls, kid->Value, out)) Fail(SExprTypeMis, {}, kid->Pos);
      kid->Value = out;
    }
  }

  void CheckAggregate(const TNode& n, bool insideAggregate) {
    if (n.IsCondition()) Fail(SExprTypeMis, {}, n.Pos);
    if (n.Kind == TNodeKind::Agg) {
      if (insideAggregate) Fail(SExprIncorrect, {}, n.Pos);
      for (auto& kid : n.Kids) CheckAggregate(*kid, true);
      return;
    }
    if (n.Kind == TNodeKind::Field && !insideAggregate) Fail(SExprBadScope, {}, n.Pos);
    for (auto& kid : n.Kids) CheckAggregate(*kid, insideAggregate);
  }

  static bool HasAggregate(const TNode& n) {
    if (n.Kind == TNodeKind::Agg) return true;
    for (auto& kid : n.Kids)
      if (HasAggregate(*kid)) return true;
    return false;
  }

  const TDataSet& DataSet_;
  std::string_view Text_;
  TFilterOptions Options_;
  TExprParserMode Mode_;
  const TExprParamLookup& Params_;
  size_t Cursor_ = 0;
  TToken Tok_;
  int Depth_ = 0;
};

// --- evaluation ---------------------------------------------------------------

struct TEvaluator {
  const std::vector<Variant>& Row;
  const TExprParamLookup& Params;
  bool CaseInsensitive;

  Variant Value(const TNode& n) const {
    switch (n.Kind) {
      case TNodeKind::Const:
        return n.Value;
      case TNodeKind::Field:
        return n.FieldIndex < static_cast<Integer>(Row.size()) ? Row[static_cast<size_t>(n.FieldIndex)] : Null();
      case TNodeKind::Param: {
        Variant v;
        if (!Params || !Params(n.Name, v)) return Null();
        return v;
      }
      case TNodeKind::Agg:
        return n.Result;
      case TNodeKind::Negate:
        try {
          return VarNeg(Value(*n.Kids[0]));
        } catch (const Exception&) {
          return Null();
        }
      case TNodeKind::Arith: {
        Variant acc = Value(*n.Kids[0]);
        try {
          for (size_t i = 1; i < n.Kids.size(); ++i) {
            Variant v = Value(*n.Kids[i]);
            switch (n.Op[i - 1]) {
              case '+': acc = VarAdd(acc, v); break;
              case '-': acc = VarSub(acc, v); break;
              case '*': acc = VarMul(acc, v); break;
              default: acc = VarDiv(acc, v); break;
            }
          }
        } catch (const Exception&) {
          return Null();
        }
        return acc;
      }
      default:
        return Null();
    }
  }

  // A value in the form of the compared class; False when it has none.
  static bool Operand(TValueClass cls, const TNode& n, const Variant& v, Variant& out) {
    if (n.Kind == TNodeKind::Param) return Coerce(cls, v, out);
    out = v;
    return true;
  }

  // < 0, 0, > 0; False when the values cannot be compared.
  bool Compare(TValueClass cls, const Variant& a, const Variant& b, int& result) const {
    if (cls == TValueClass::Text || (VarIsStr(a) && VarIsStr(b))) {
      std::string sa, sb;
      if (!TextOf(a, sa) || !TextOf(b, sb)) return false;
      Integer r = CaseInsensitive ? AnsiCompareText(sa, sb) : CompareStr(sa, sb);
      result = r < 0 ? -1 : r > 0 ? 1 : 0;
      return true;
    }
    try {
      switch (VarCompareValue(a, b)) {
        case vrEqual: result = 0; return true;
        case vrLessThan: result = -1; return true;
        case vrGreaterThan: result = 1; return true;
        default: return false;
      }
    } catch (const Exception&) {
      return false;
    }
  }

  bool StartsWith(const Variant& value, const Variant& prefix) const {
    std::string s, p;
    if (!TextOf(value, s) || !TextOf(prefix, p)) return false;
    if (CaseInsensitive) {
      s = AnsiUpperCase(s);
      p = AnsiUpperCase(p);
    }
    return s.size() >= p.size() && s.compare(0, p.size(), p) == 0;
  }

  TTri Cond(const TNode& n) const {
    switch (n.Kind) {
      case TNodeKind::Or: {
        TTri result = TTri::False;
        for (auto& kid : n.Kids) {
          TTri t = Cond(*kid);
          if (t == TTri::True) return TTri::True;
          if (t == TTri::Unknown) result = TTri::Unknown;
        }
        return result;
      }
      case TNodeKind::And: {
        TTri result = TTri::True;
        for (auto& kid : n.Kids) {
          TTri t = Cond(*kid);
          if (t == TTri::False) return TTri::False;
          if (t == TTri::Unknown) result = TTri::Unknown;
        }
        return result;
      }
      case TNodeKind::Not:
        return Not3(Cond(*n.Kids[0]));
      case TNodeKind::BoolValue: {
        Variant v = Value(*n.Kids[0]);
        if (VarIsClear(v)) return TTri::Unknown;
        Variant b;
        if (!Coerce(TValueClass::Boolean, v, b)) return TTri::Unknown;
        return FromBool(b.AsBoolean());
      }
      case TNodeKind::IsNull: {
        bool isNull = VarIsClear(Value(*n.Kids[0]));
        return FromBool(n.Negated ? !isNull : isNull);
      }
      case TNodeKind::Compare: {
        Variant a, b;
        Variant ra = Value(*n.Kids[0]), rb = Value(*n.Kids[1]);
        if (VarIsClear(ra) || VarIsClear(rb)) return TTri::Unknown;
        if (!Operand(n.Class, *n.Kids[0], ra, a) || !Operand(n.Class, *n.Kids[1], rb, b)) return TTri::Unknown;
        if (n.Partial) {
          std::string ta, tb;
          if (!TextOf(a, ta) || !TextOf(b, tb)) return TTri::Unknown;
          bool left = n.Kids[1]->Kind == TNodeKind::Const;
          bool match = left ? StartsWith(a, b) : StartsWith(b, a);
          return FromBool(n.Op == "=" ? match : !match);
        }
        int c = 0;
        if (!Compare(n.Class, a, b, c)) return TTri::Unknown;
        const std::string& op = n.Op;
        if (op == "=") return FromBool(c == 0);
        if (op == "<>") return FromBool(c != 0);
        if (op == "<") return FromBool(c < 0);
        if (op == "<=") return FromBool(c <= 0);
        if (op == ">") return FromBool(c > 0);
        return FromBool(c >= 0);
      }
      case TNodeKind::Like: {
        Variant v = Value(*n.Kids[0]), p = Value(*n.Kids[1]);
        std::string text, pattern;
        if (VarIsClear(v) || VarIsClear(p) || !TextOf(v, text) || !TextOf(p, pattern)) return TTri::Unknown;
        bool match = LikeMatches(text, pattern, CaseInsensitive);
        return FromBool(n.Negated ? !match : match);
      }
      case TNodeKind::Between: {
        Variant x, lo, hi;
        Variant rx = Value(*n.Kids[0]), rlo = Value(*n.Kids[1]), rhi = Value(*n.Kids[2]);
        if (VarIsClear(rx) || VarIsClear(rlo) || VarIsClear(rhi)) return TTri::Unknown;
        if (!Operand(n.Class, *n.Kids[0], rx, x) || !Operand(n.Class, *n.Kids[1], rlo, lo) ||
            !Operand(n.Class, *n.Kids[2], rhi, hi))
          return TTri::Unknown;
        int c1 = 0, c2 = 0;
        if (!Compare(n.Class, lo, x, c1) || !Compare(n.Class, x, hi, c2)) return TTri::Unknown;
        bool inside = c1 <= 0 && c2 <= 0;
        return FromBool(n.Negated ? !inside : inside);
      }
      case TNodeKind::In: {
        Variant rx = Value(*n.Kids[0]), x;
        if (VarIsClear(rx)) return TTri::Unknown;
        if (!Operand(n.Class, *n.Kids[0], rx, x)) return TTri::Unknown;
        TTri result = TTri::False;
        for (size_t i = 1; i < n.Kids.size(); ++i) {
          Variant re = Value(*n.Kids[i]), e;
          if (VarIsClear(re) || !Operand(n.Class, *n.Kids[i], re, e)) {
            result = TTri::Unknown;
            continue;
          }
          int c = 0;
          if (Compare(n.Class, x, e, c) && c == 0) {
            result = TTri::True;
            break;
          }
        }
        return n.Negated ? Not3(result) : result;
      }
      default:
        return TTri::Unknown;
    }
  }
};

TFieldType ResultTypeOf(const TNode& n) {
  switch (n.Kind) {
    case TNodeKind::Agg:
      if (n.Func == 'C') return ftInteger;
      if (n.Func == 'A') return ftFloat;
      if (!n.Kids.empty() && n.Kids[0]->Kind == TNodeKind::Field) {
        TFieldType t = n.Kids[0]->FieldType;
        if (n.Func == 'S' && (t == ftSmallint || t == ftWord || t == ftAutoInc)) return ftInteger;
        return t;
      }
      return ftFloat;
    case TNodeKind::Const:
      switch (n.Value.VType()) {
        case varInteger: return ftInteger;
        case varInt64: return ftLargeint;
        case varString: return ftString;
        case varBoolean: return ftBoolean;
        default: return ftFloat;
      }
    default:
      return ftFloat;
  }
}

}  // namespace

// ---------------------------------------------------------------------------

TFilterExpression::TFilterExpression(const TDataSet& DataSet, std::string_view Text, TFilterOptions Options,
                                     TExprParserMode Mode, TExprParamLookup Params)
    : Options_(Options), Mode_(Mode), Params_(std::move(Params)) {
  TParser parser(DataSet, Text, Options, Mode, Params_);
  Root_ = parser.ParseAll();
  Aggregates_ = std::move(parser.Aggregates);
  if (Mode == TExprParserMode::Aggregate) ResultType_ = ResultTypeOf(*Root_);
}

TFilterExpression::~TFilterExpression() = default;

bool TFilterExpression::Evaluate(const std::vector<Variant>& Values) const {
  TEvaluator eval{Values, Params_, Options_.Contains(foCaseInsensitive)};
  return eval.Cond(*Root_) == TTri::True;
}

Variant TFilterExpression::Aggregate(const TExprRecordWalk& Walk) const {
  for (Node* a : Aggregates_) {
    a->Acc = Null();
    a->Count = 0;
    a->Result = Null();
  }
  bool ci = Options_.Contains(foCaseInsensitive);
  Walk([&](const std::vector<Variant>& row) {
    TEvaluator eval{row, Params_, ci};
    for (Node* a : Aggregates_) {
      if (a->CountAll) {
        ++a->Count;
        continue;
      }
      Variant v = eval.Value(*a->Kids[0]);
      if (VarIsClear(v)) continue;
      ++a->Count;
      try {
        switch (a->Func) {
          case 'S':
          case 'A':
            a->Acc = VarIsNull(a->Acc) ? v : VarAdd(a->Acc, v);
            break;
          case 'N':
          case 'X': {
            int c = 0;
            if (VarIsNull(a->Acc) || (eval.Compare(TValueClass::Other, v, a->Acc, c) && (a->Func == 'N' ? c < 0 : c > 0)))
              a->Acc = v;
            break;
          }
          default:
            break;
        }
      } catch (const Exception&) {
        // A value that does not add up (text in a sum) leaves the sum alone.
      }
    }
  });
  for (Node* a : Aggregates_) {
    switch (a->Func) {
      case 'C':
        a->Result = Variant(static_cast<long long>(a->Count));
        if (a->Count <= INT32_MAX) a->Result = Variant(static_cast<int>(a->Count));
        break;
      case 'A':
        if (a->Count > 0 && !VarIsNull(a->Acc)) {
          try {
            a->Result = Variant(a->Acc.AsDouble() / static_cast<double>(a->Count));
          } catch (const Exception&) {
            a->Result = Null();
          }
        }
        break;
      default:
        a->Result = a->Acc;
        break;
    }
  }
  std::vector<Variant> none;
  TEvaluator eval{none, Params_, ci};
  return eval.Value(*Root_);
}
