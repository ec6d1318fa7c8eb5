// The expression language of data-set filters, query conditions and
// aggregate fields, parsed once against a data set's fields and evaluated
// over records' data values.
//
//   condition  := or-expr
//   or-expr    := and-expr { OR and-expr }
//   and-expr   := not-expr { AND not-expr }
//   not-expr   := NOT not-expr | predicate
//   predicate  := value [ op value            op: = <> != < <= > >=
//                       | IS [NOT] NULL
//                       | [NOT] LIKE value      % any text, _ one character
//                       | [NOT] BETWEEN value AND value
//                       | [NOT] IN ( value { , value } ) ]
//   value      := term { (+|-) term }         arithmetic: aggregates only
//   term       := factor { (*|/) factor }
//   factor     := - factor | ( condition ) | 'text' | number | TRUE | FALSE
//               | NULL | field | [field name] | :param
//               | SUM|AVG|COUNT|MIN|MAX ( value | * )   aggregates only
//
// Field names are the fields' names (or their Origin), bare when they are
// identifiers and in brackets otherwise; only data fields can be used.
// Texts are in single quotes with inner quotes doubled; dates are texts. A
// comparison with NULL (= NULL, <> NULL, IS [NOT] NULL) tests for a missing
// value; any other comparison involving a missing value is unknown, and a
// record passes only a condition that is true. Without foNoPartialCompare a
// text ending in * compared by = or <> with a text field matches the
// values that begin with the rest. foCaseInsensitive makes every text
// comparison ignore case.
//
// Errors raise EDatabaseError with the class library's text followed by
// " at position N" (1-based, in characters).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/DataSetTypes.h"
#include "platform/rtl/Variants.h"

class TDataSet;

enum class TExprParserMode { Filter, Query, Aggregate };

// Answers a parameter's current value; False for a name that is not there.
using TExprParamLookup = std::function<bool(std::string_view Name, Variant& Value)>;
// Calls its argument once per record with the record's data values.
using TExprRecordWalk = std::function<void(const std::function<void(const std::vector<Variant>&)>&)>;

class TFilterExpression {
 public:
  TFilterExpression(const TDataSet& DataSet, std::string_view Text, TFilterOptions Options,
                    TExprParserMode Mode, TExprParamLookup Params = nullptr);
  ~TFilterExpression();
  TFilterExpression(const TFilterExpression&) = delete;
  TFilterExpression& operator=(const TFilterExpression&) = delete;

  // Filter and query conditions: whether a record with these data values
  // (by FieldNo - 1) passes.
  bool Evaluate(const std::vector<Variant>& Values) const;
  // Aggregates: the value over the records Walk visits (Null for none).
  Variant Aggregate(const TExprRecordWalk& Walk) const;
  // The type of an aggregate's value.
  TFieldType ResultType() const { return ResultType_; }

  struct Node;

 private:
  std::unique_ptr<Node> Root_;
  TFilterOptions Options_;
  TExprParserMode Mode_;
  TExprParamLookup Params_;
  TFieldType ResultType_ = ftUnknown;
  std::vector<Node*> Aggregates_;
};

// LIKE with % (any run of characters) and _ (one character), on characters
// (UTF-8 code points); time grows with text length times pattern length.
bool LikeMatches(std::string_view Text, std::string_view Pattern, bool CaseInsensitive);
