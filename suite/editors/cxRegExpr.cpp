#include "suite/editors/cxRegExpr.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <optional>
#include <utility>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Utf8.h"
#include "suite/foundation/cxClasses.h"

VXN_IMPLEMENT_CLASS(TcxRegExprError, TObject)
VXN_IMPLEMENT_CLASS(EcxRegExprError, Exception)
VXN_IMPLEMENT_CLASS(TcxRegExpr, TObject)

namespace {

// ---------------------------------------------------------------------------
// Message texts, by identifier.

enum class Msg {
  StreamNotAssigned,
  StreamEmpty,
  PlusNotApplicable,
  StarNotApplicable,
  AltEmpty,
  BlockEmpty,
  Illegal,
  IllegalQuantifier,
  IllegalInteger,
  TooBigReference,
  EmptyEnumeration,
  SubrangeOrder,
  HexExpected,
  HexExpectedFound,
  Missing,
  Unnecessary,
  SpaceAfterBackslash,
  NotCompiled,
  IncorrectParameterQuantifier,
  ParameterNotApplicable,
  Line,
  Char,
  NestedTooDeeply,
  TooComplex,
};

constexpr const char* kMessages[] = {
    "The source stream is not assigned",
    "The source stream is empty",
    "The '+' quantifier cannot be applied here",
    "The '*' quantifier cannot be applied here",
    "The alternative should not be empty",
    "The block should not be empty",
    "Illegal '%s'",
    "Illegal quantifier '%s'",
    "Illegal integer value",
    "Too big reference number",
    "Can't create empty enumeration",
    "The starting character of the subrange must be less than the finishing one",
    "Hexadecimal number expected",
    "Hexadecimal number expected but '%s' found",
    "Missing '%s'",
    "Unnecessary '%s'",
    "The space character is not allowed after '\\'",
    "Regular expression is not compiled",
    "Incorrect parameter quantifier",
    "The parameter quantifier cannot be applied here",
    "Line",
    "Char",
    "Groups are nested too deeply",
    "The regular expression is too complex",
};

std::string Text(Msg id) { return TranslateResourceString(kMessages[static_cast<int>(id)]); }
std::string Text(Msg id, std::string_view arg) { return Format(Text(id), {arg}); }

// Repeat counts above this, and expansions that would clone more states than
// the budget in one pattern, are refused instead of exhausting memory (the
// original cloned without limit).
constexpr int64_t kMaxRepeatCount = 1000;
constexpr int64_t kMaxClonedStates = 100000;
// The whole automaton: its states and the links between them. Every typed
// character walks the links of the current states, so this also bounds the
// cost of one keystroke.
constexpr int64_t kMaxStates = 200000;
constexpr int64_t kMaxLinks = 1000000;
// States that one run of forced characters may visit.
constexpr size_t kMaxForcedRunWork = 200000;
// Parsing nests one call per "(".
constexpr int kMaxGroupDepth = 500;
// Cloning, linking and freeing the parse tree recurse once per level. Groups,
// quantifiers stacked on one item (a+? is (a+)?) and the optional chain of a
// repeat count ({0,1000} is 1000 levels) all add levels.
constexpr int kMaxTreeDepth = 2000;

bool IsSpaceChar(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == 0;
}

bool IsDigitChar(char32_t c) { return c >= '0' && c <= '9'; }

char32_t UpperChar(char32_t c) { return static_cast<char32_t>(std::towupper(static_cast<wint_t>(c))); }

char32_t TimeSeparatorChar() { return static_cast<unsigned char>(DefaultFormatSettings().TimeSeparator); }
char32_t DateSeparatorChar() { return static_cast<unsigned char>(DefaultFormatSettings().DateSeparator); }

char32_t FirstChar(std::string_view s) {
  size_t pos = 0;
  return s.empty() ? 0 : Utf8Decode(s, pos);
}

// Identifies one walk over a graph (see TcxRegExprState::Mark).
std::atomic<uint64_t> g_markStamp{0};
uint64_t NewMark() { return g_markStamp.fetch_add(1, std::memory_order_relaxed) + 1; }

// Block states passed by the walks of this thread, the hidden part of their
// cost (see CompleteForced).
thread_local size_t g_blockVisits = 0;

}  // namespace

// ---------------------------------------------------------------------------
// Tokens.

enum class LexemKind : uint8_t {
  Literal = 0,
  Operator = 1,
  Integer = 2,
  Any = 3,
  Word = 4,
  NonWord = 5,
  Digit = 6,
  NonDigit = 7,
  Space = 8,
  NonSpace = 9,
  BackReference = 10,
  DateSeparator = 11,
  TimeSeparator = 12,
};

struct TcxLexem {
  Integer Column;
  LexemKind Kind;
  Integer Line;
  std::string Text;

  bool IsOperator(char c) const { return Kind == LexemKind::Operator && Text.size() == 1 && Text[0] == c; }
};

using TcxLexems = std::vector<TcxLexem>;

// ---------------------------------------------------------------------------
// Character matchers.

class TcxRegExprItem {
 public:
  virtual ~TcxRegExprItem() = default;
  virtual bool Matches(char32_t& ch, bool caseInsensitive) const = 0;
  virtual std::unique_ptr<TcxRegExprItem> Clone() const = 0;
  // The one character this matcher stands for, when it accepts exactly one
  // fixed character (a literal or a separator).
  virtual bool StandsFor(char32_t& ch) const {
    (void)ch;
    return false;
  }
};

namespace {

class TcxRegExprSymbol : public TcxRegExprItem {
 public:
  explicit TcxRegExprSymbol(char32_t ch) : ch_(ch) {}
  bool Matches(char32_t& ch, bool caseInsensitive) const override {
    if (ch == ch_) return true;
    if (caseInsensitive && UpperChar(ch) == UpperChar(ch_)) {
      ch = ch_;
      return true;
    }
    return false;
  }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprSymbol>(ch_); }
  bool StandsFor(char32_t& ch) const override {
    ch = ch_;
    return true;
  }

 private:
  char32_t ch_;
};

class TcxRegExprTimeSeparator : public TcxRegExprItem {
 public:
  bool Matches(char32_t& ch, bool) const override { return ch == TimeSeparatorChar(); }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprTimeSeparator>(); }
  bool StandsFor(char32_t& ch) const override {
    ch = TimeSeparatorChar();
    return true;
  }
};

class TcxRegExprDateSeparator : public TcxRegExprItem {
 public:
  bool Matches(char32_t& ch, bool) const override { return ch == DateSeparatorChar(); }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprDateSeparator>(); }
  bool StandsFor(char32_t& ch) const override {
    ch = DateSeparatorChar();
    return true;
  }
};

class TcxRegExprSubrange : public TcxRegExprItem {
 public:
  TcxRegExprSubrange(char32_t first, char32_t last) : first_(first), last_(last) {}
  bool Matches(char32_t& ch, bool) const override { return first_ <= ch && ch <= last_; }
  std::unique_ptr<TcxRegExprItem> Clone() const override {
    return std::make_unique<TcxRegExprSubrange>(first_, last_);
  }

 private:
  char32_t first_, last_;
};

class TcxRegExprEnumeration : public TcxRegExprItem {
 public:
  explicit TcxRegExprEnumeration(bool inverse) : Inverse(inverse) {}
  bool Inverse;
};

class TcxRegExprUserEnumeration : public TcxRegExprEnumeration {
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Matches(char32_t& ch, bool caseInsensitive) const override {
    for (const auto& item : Items)
      if (item->Matches(ch, caseInsensitive)) return !Inverse;
    return Inverse;
  }
  std::unique_ptr<TcxRegExprItem> Clone() const override {
    auto copy = std::make_unique<TcxRegExprUserEnumeration>(Inverse);
    for (const auto& item : Items) copy->Items.push_back(item->Clone());
    return copy;
  }
  std::vector<std::unique_ptr<TcxRegExprItem>> Items;
};

template <bool (*Accepts)(char32_t)>
class ClassMatcher : public TcxRegExprEnumeration {
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Matches(char32_t& ch, bool) const override { return Accepts(ch) != Inverse; }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<ClassMatcher>(Inverse); }
};

bool IsIdLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || IsDigitChar(c);
}

using TcxRegExprDigit = ClassMatcher<IsDigitChar>;
using TcxRegExprIdLetter = ClassMatcher<IsIdLetter>;
using TcxRegExprSpace = ClassMatcher<IsSpaceChar>;

class TcxRegExprAll : public TcxRegExprItem {
 public:
  bool Matches(char32_t&, bool) const override { return true; }
  std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprAll>(); }
};

}  // namespace

// ---------------------------------------------------------------------------
// States of the graph.

class TcxRegExprState;

class TcxRegExprStates {
 public:
  // Keeps each state once; mark identifies the set being built.
  void Add(TcxRegExprState* state, uint64_t mark);
  bool Empty() const { return Items.empty(); }
  bool HasFinal() const;
  bool ForcedChar(char32_t& ch) const;
  TcxRegExprStates Following() const;

  std::vector<TcxRegExprState*> Items;
};

class TcxRegExprState {
 public:
  virtual ~TcxRegExprState() = default;
  virtual std::unique_ptr<TcxRegExprState> Clone() const = 0;
  virtual const TcxRegExprItem* Matcher() const { return nullptr; }
  virtual bool IsFinal() const { return false; }
  // Block states pass through to their successors; simple states match.
  virtual bool IsBlock() const { return false; }

  std::vector<TcxRegExprState*> Successors;  // not owned
  uint64_t Mark = 0;                         // last set (simple) or walk (block) that met this state
};

class TcxRegExprSimpleState : public TcxRegExprState {
 public:
  explicit TcxRegExprSimpleState(std::unique_ptr<TcxRegExprItem> matcher) : matcher_(std::move(matcher)) {}
  std::unique_ptr<TcxRegExprState> Clone() const override {
    auto copy = std::make_unique<TcxRegExprSimpleState>(matcher_ ? matcher_->Clone() : nullptr);
    copy->Final = Final;
    return copy;
  }
  const TcxRegExprItem* Matcher() const override { return matcher_.get(); }
  bool IsFinal() const override { return Final; }
  bool Accepts(char32_t& ch, bool caseInsensitive) const { return matcher_ && matcher_->Matches(ch, caseInsensitive); }

  bool Final = false;

 private:
  std::unique_ptr<TcxRegExprItem> matcher_;
};

// A pass-through state at the start or finish of a group, never final.
class TcxRegExprBlockState : public TcxRegExprState {
 public:
  std::unique_ptr<TcxRegExprState> Clone() const override { return std::make_unique<TcxRegExprBlockState>(); }
  bool IsBlock() const override { return true; }
};

namespace {

// Walks from the roots through block states to the simple states behind
// them and hands each simple state to visit. A walk meets each block state
// once (mark), which drops duplicates and ends cycles of block states (a
// repeated group that can match nothing). The walk keeps its own stack: a
// chain of empty groups is as long as the automaton is large.
template <typename Visit>
void WalkToSimpleStates(const std::vector<TcxRegExprState*>& roots, uint64_t mark, Visit&& visit) {
  std::vector<TcxRegExprState*> stack(roots.rbegin(), roots.rend());
  while (!stack.empty()) {
    TcxRegExprState* state = stack.back();
    stack.pop_back();
    if (!state->IsBlock()) {
      visit(static_cast<TcxRegExprSimpleState*>(state));
      continue;
    }
    if (state->Mark == mark) continue;
    state->Mark = mark;
    ++g_blockVisits;
    stack.insert(stack.end(), state->Successors.rbegin(), state->Successors.rend());
  }
}

// The successors of every state of a set, in order.
std::vector<TcxRegExprState*> SuccessorsOf(const std::vector<TcxRegExprState*>& states) {
  std::vector<TcxRegExprState*> result;
  for (const TcxRegExprState* s : states) result.insert(result.end(), s->Successors.begin(), s->Successors.end());
  return result;
}

}  // namespace

void TcxRegExprStates::Add(TcxRegExprState* state, uint64_t mark) {
  if (state->Mark == mark) return;
  state->Mark = mark;
  Items.push_back(state);
}

bool TcxRegExprStates::HasFinal() const {
  return std::any_of(Items.begin(), Items.end(), [](const TcxRegExprState* s) { return s->IsFinal(); });
}

bool TcxRegExprStates::ForcedChar(char32_t& ch) const {
  if (Items.empty()) return false;
  char32_t forced = 0;
  for (size_t i = 0; i < Items.size(); ++i) {
    const TcxRegExprItem* matcher = Items[i]->Matcher();
    char32_t c = 0;
    if (!matcher || !matcher->StandsFor(c)) return false;
    if (i == 0)
      forced = c;
    else if (c != forced)
      return false;
  }
  ch = forced;
  return true;
}

TcxRegExprStates TcxRegExprStates::Following() const {
  TcxRegExprStates result;
  const uint64_t mark = NewMark();
  WalkToSimpleStates(SuccessorsOf(Items), mark, [&](TcxRegExprSimpleState* s) { result.Add(s, mark); });
  return result;
}

// ---------------------------------------------------------------------------
// Quantifiers.

namespace {

class TcxRegExprQuantifier {
 public:
  virtual ~TcxRegExprQuantifier() = default;
  virtual bool CanSkip() const = 0;
  virtual bool CanRepeat() const = 0;
  virtual std::unique_ptr<TcxRegExprQuantifier> Clone() const = 0;
};

template <bool Skip, bool Repeat>
class QuantifierOf : public TcxRegExprQuantifier {
 public:
  bool CanSkip() const override { return Skip; }
  bool CanRepeat() const override { return Repeat; }
  std::unique_ptr<TcxRegExprQuantifier> Clone() const override { return std::make_unique<QuantifierOf>(); }
};

using TcxRegExprQuestionQuantifier = QuantifierOf<true, false>;
using TcxRegExprStarQuantifier = QuantifierOf<true, true>;
using TcxRegExprPlusQuantifier = QuantifierOf<false, true>;

std::unique_ptr<TcxRegExprQuantifier> MakeQuantifier(char op) {
  switch (op) {
    case '?': return std::make_unique<TcxRegExprQuestionQuantifier>();
    case '*': return std::make_unique<TcxRegExprStarQuantifier>();
    default: return std::make_unique<TcxRegExprPlusQuantifier>();
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Parse tree.

class TcxRegExprParserItem;

struct TcxRegExprParserAlt {
  std::vector<std::unique_ptr<TcxRegExprParserItem>> Items;
};

using TcxRegExprParserAlts = std::vector<std::unique_ptr<TcxRegExprParserAlt>>;

class TcxRegExprParserItem {
 public:
  virtual ~TcxRegExprParserItem() = default;

  // A missing quantifier stands for "exactly once".
  bool CanBeMissing() const { return Quantifier && Quantifier->CanSkip(); }
  bool CanRepeat() const { return Quantifier && Quantifier->CanRepeat(); }

  virtual bool CanEmpty() const = 0;
  virtual std::unique_ptr<TcxRegExprParserItem> Clone() const = 0;
  virtual void SetFinal() = 0;
  virtual TcxRegExprState* Entry() = 0;
  virtual TcxRegExprState* Exit() = 0;

  std::unique_ptr<TcxRegExprQuantifier> Quantifier;
  // States of this subtree and its levels of nesting, this item included;
  // a group works them out once, when its contents are complete (Seal).
  int64_t States = 1;
  int Depth = 1;
};

namespace {

bool AllCanBeMissing(const TcxRegExprParserAlt& alt) {
  return std::all_of(alt.Items.begin(), alt.Items.end(), [](const auto& i) { return i->CanBeMissing(); });
}

bool AllCanEmpty(const TcxRegExprParserAlt& alt) {
  return std::all_of(alt.Items.begin(), alt.Items.end(), [](const auto& i) { return i->CanEmpty(); });
}

void MarkFinal(TcxRegExprParserAlt& alt);

class TcxRegExprParserSimpleItem : public TcxRegExprParserItem {
 public:
  explicit TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprSimpleState> state) : State(std::move(state)) {}
  bool CanEmpty() const override { return CanBeMissing(); }
  std::unique_ptr<TcxRegExprParserItem> Clone() const override {
    std::unique_ptr<TcxRegExprSimpleState> state(static_cast<TcxRegExprSimpleState*>(State->Clone().release()));
    auto copy = std::make_unique<TcxRegExprParserSimpleItem>(std::move(state));
    if (Quantifier) copy->Quantifier = Quantifier->Clone();
    return copy;
  }
  void SetFinal() override { State->Final = true; }
  TcxRegExprState* Entry() override { return State.get(); }
  TcxRegExprState* Exit() override { return State.get(); }

  std::unique_ptr<TcxRegExprSimpleState> State;
};

class TcxRegExprParserBlockItem : public TcxRegExprParserItem {
 public:
  bool CanEmpty() const override { return CanBeMissing() || contentCanEmpty_; }
  std::unique_ptr<TcxRegExprParserItem> Clone() const override {
    auto copy = std::make_unique<TcxRegExprParserBlockItem>();
    if (Quantifier) copy->Quantifier = Quantifier->Clone();
    for (const auto& alt : Alts) {
      auto altCopy = std::make_unique<TcxRegExprParserAlt>();
      for (const auto& item : alt->Items) altCopy->Items.push_back(item->Clone());
      copy->Alts.push_back(std::move(altCopy));
    }
    copy->States = States;
    copy->Depth = Depth;
    copy->contentCanEmpty_ = contentCanEmpty_;
    return copy;
  }
  // Works out size, depth and whether the contents can match nothing, once
  // the alternatives are complete (asking the children again at every
  // quantifier made stacked quantifiers quadratic).
  void Seal() {
    States = 2;
    int depth = 0;
    contentCanEmpty_ = false;
    for (const auto& alt : Alts) {
      for (const auto& item : alt->Items) {
        States += item->States;
        depth = std::max(depth, item->Depth);
      }
      contentCanEmpty_ = contentCanEmpty_ || AllCanEmpty(*alt);
    }
    Depth = depth + 1;
  }
  void SetFinal() override {
    for (auto& alt : Alts) MarkFinal(*alt);
  }
  TcxRegExprState* Entry() override { return &StartState; }
  TcxRegExprState* Exit() override { return &FinishState; }

  TcxRegExprParserAlts Alts;
  TcxRegExprBlockState StartState;
  TcxRegExprBlockState FinishState;

 private:
  bool contentCanEmpty_ = false;
};

// Marks the states at which the alternative can end. The walk goes on past
// every item that can match nothing; the original stopped at a group that
// can only be passed because its contents can be empty, so "b" was not a
// complete match of b(a?) (mended).
void MarkFinal(TcxRegExprParserAlt& alt) {
  for (size_t k = alt.Items.size(); k-- > 0;) {
    alt.Items[k]->SetFinal();
    if (!alt.Items[k]->CanEmpty()) break;
  }
}

void AddEntryStates(TcxRegExprParserAlt& alt, TcxRegExprState& from) {
  for (auto& item : alt.Items) {
    from.Successors.push_back(item->Entry());
    if (!item->CanBeMissing()) break;
  }
}

void LinkBlock(TcxRegExprParserBlockItem& block);

void LinkAlt(TcxRegExprParserAlt& alt) {
  for (size_t i = 0; i < alt.Items.size(); ++i) {
    TcxRegExprParserItem& item = *alt.Items[i];
    TcxRegExprState* exit = item.Exit();
    for (size_t j = i + 1; j < alt.Items.size(); ++j) {
      exit->Successors.push_back(alt.Items[j]->Entry());
      if (!alt.Items[j]->CanBeMissing()) break;
    }
    if (item.CanRepeat()) exit->Successors.push_back(item.Entry());
    if (auto* block = dynamic_cast<TcxRegExprParserBlockItem*>(&item)) LinkBlock(*block);
  }
}

// How many items a walk over the alternative meets from its start, going on
// past items that can be missing and including the first that cannot; and
// the same from its end backward.
size_t EntryRun(const TcxRegExprParserAlt& alt) {
  const auto& items = alt.Items;
  for (size_t i = 0; i < items.size(); ++i)
    if (!items[i]->CanBeMissing()) return i + 1;
  return items.size();
}

size_t ExitRun(const TcxRegExprParserAlt& alt) {
  const auto& items = alt.Items;
  for (size_t k = items.size(); k-- > 0;)
    if (!items[k]->CanBeMissing()) return items.size() - k;
  return items.size();
}

int64_t BlockLinks(const TcxRegExprParserBlockItem& block);

// The successor links LinkAlt makes for the alternative, its groups' own
// included, counted before anything is linked: a?a?a?... links every item to
// every later one.
int64_t AltLinks(const TcxRegExprParserAlt& alt) {
  const auto& items = alt.Items;
  const size_t n = items.size();
  int64_t links = 0;
  size_t nextSolid = n;  // the first item after i that cannot be missing
  for (size_t i = n; i-- > 0;) {
    if (i + 1 < n) links += static_cast<int64_t>(std::min(nextSolid, n - 1) - i);
    if (items[i]->CanRepeat()) ++links;
    if (const auto* block = dynamic_cast<const TcxRegExprParserBlockItem*>(items[i].get()))
      links += BlockLinks(*block);
    if (!items[i]->CanBeMissing()) nextSolid = i;
  }
  return links;
}

int64_t BlockLinks(const TcxRegExprParserBlockItem& block) {
  int64_t links = 0;
  bool passable = false;
  for (const auto& alt : block.Alts) {
    links += static_cast<int64_t>(EntryRun(*alt) + ExitRun(*alt)) + AltLinks(*alt);
    passable = passable || AllCanBeMissing(*alt);
  }
  return links + (passable ? 1 : 0);
}

void LinkBlock(TcxRegExprParserBlockItem& block) {
  bool passable = false;
  for (auto& alt : block.Alts) {
    AddEntryStates(*alt, block.StartState);
    passable = passable || AllCanBeMissing(*alt);
  }
  if (passable) block.StartState.Successors.push_back(&block.FinishState);
  for (auto& alt : block.Alts) {
    LinkAlt(*alt);
    for (size_t k = alt->Items.size(); k-- > 0;) {
      alt->Items[k]->Exit()->Successors.push_back(&block.FinishState);
      if (!alt->Items[k]->CanBeMissing()) break;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Automaton.


class TcxRegExprAutomat {
 public:
  TcxRegExprAutomat(TcxRegExpr& owner, TcxRegExprParserAlts alts)
      : owner_(owner), alts_(std::move(alts)), start_(nullptr) {
    bool startFinal = false;
    for (auto& alt : alts_) AddEntryStates(*alt, start_);
    for (auto& alt : alts_) LinkAlt(*alt);
    for (auto& alt : alts_) {
      MarkFinal(*alt);
      // Mended like MarkFinal: an alternative that can match nothing makes
      // the empty text a complete match.
      startFinal = startFinal || AllCanEmpty(*alt);
    }
    start_.Final = startFinal;
    Reset();
  }

  void Reset() {
    current_.Items.assign(1, &start_);
    history_.clear();
  }

  bool IsStart() const { return !current_.Items.empty() && current_.Items.front() == &start_; }
  bool IsFinal() const { return current_.HasFinal(); }

  // One character without completion. Every state is asked about the
  // character as typed: a literal that matched it case-insensitively must not
  // hand its own spelling to the states after it ("ab|[A-Z]c" takes "A" as
  // "[A-Z]c|ab" does). The character comes back as typed when some state
  // took it so, else in the spelling of the first literal that took it.
  bool Step(char32_t& ch) {
    TcxRegExprStates next;
    const uint64_t mark = NewMark();
    const bool caseInsensitive = owner_.CaseInsensitive();
    const char32_t typed = ch;
    bool takenAsTyped = false;
    std::optional<char32_t> respelled;
    WalkToSimpleStates(SuccessorsOf(current_.Items), mark, [&](TcxRegExprSimpleState* s) {
      char32_t c = typed;
      if (!s->Accepts(c, caseInsensitive)) return;
      next.Add(s, mark);
      if (c == typed)
        takenAsTyped = true;
      else if (!respelled)
        respelled = c;
    });
    if (next.Empty()) return false;
    if (!takenAsTyped && respelled) ch = *respelled;
    history_.push_back(std::move(current_));
    current_ = std::move(next);
    return true;
  }

  bool Next(char32_t& ch) {
    if (!Step(ch)) return false;
    if (!current_.HasFinal() && owner_.AutoComplete()) CompleteForced();
    return true;
  }

  bool Prev() {
    if (owner_.AutoComplete()) DropForced();
    if (history_.empty()) return false;
    current_ = std::move(history_.back());
    history_.pop_back();
    return true;
  }

  void CompleteForced() {
    // The work of one run is bounded: sets may grow with every forced
    // character (each "+" passed stays in the set), so a long run over a
    // large pattern would cost its length squared in time and in history,
    // and a run that came back to an earlier set would never end. Past the
    // bound the rest is left for the user to type.
    const size_t visitsBefore = g_blockVisits;
    size_t work = 0;
    for (;;) {
      if (current_.HasFinal()) return;
      TcxRegExprStates following = current_.Following();
      char32_t ch = 0;
      if (!following.ForcedChar(ch)) return;
      work += following.Items.size();
      if (work + (g_blockVisits - visitsBefore) > kMaxForcedRunWork) return;
      owner_.DoForcedCharAdded(ch);
      history_.push_back(std::move(current_));
      current_ = std::move(following);
    }
  }

  void DropForced() {
    char32_t ch = 0;
    while (current_.ForcedChar(ch) && !history_.empty()) {
      TcxRegExprStates& previous = history_.back();
      if (previous.HasFinal() || !previous.Following().ForcedChar(ch)) return;
      owner_.DoForcedCharRemoved();
      current_ = std::move(previous);
      history_.pop_back();
    }
  }

 private:
  TcxRegExpr& owner_;
  TcxRegExprParserAlts alts_;
  TcxRegExprSimpleState start_;
  TcxRegExprStates current_;
  std::vector<TcxRegExprStates> history_;
};

// ---------------------------------------------------------------------------
// Compiler: tokens, then the parse tree.

class RegExprCompiler {
 public:
  RegExprCompiler(TcxRegExpr& owner, std::string_view text) : owner_(owner), text_(text) {}

  void Tokenize();
  TcxRegExprParserAlts Parse();

 private:
  enum class AltEnd { Tokens, Bar, Close };

  void Error(Integer line, Integer column, std::string message) {
    owner_.errors_.Add(line, column, std::move(message));
  }
  void ErrorAt(const TcxLexem& lexem, std::string message) { Error(lexem.Line, lexem.Column, std::move(message)); }
  // Errors where the text ends inside a construct stand after its last character.
  void ErrorAtEnd(std::string message) { Error(line_, column_ + 1, std::move(message)); }

  // Reading, with the position of the character just read.
  bool ReadChar(char32_t& c);
  bool PeekChar(char32_t& c) const;
  bool PeekNonSpace(char32_t& c) const;
  void Add(LexemKind kind, std::string text, Integer line, Integer column) {
    lexems_.push_back({column, kind, line, std::move(text)});
  }
  void AddHere(LexemKind kind, std::string text) { Add(kind, std::move(text), line_, column_); }

  void QuotedRun();
  void Escape(Integer line, Integer column);
  void Set();
  void RepeatCount();

  void ParseAlts(TcxRegExprParserAlts& alts, bool inGroup);
  AltEnd ParseAlt(TcxRegExprParserAlt& alt, bool inGroup);
  std::unique_ptr<TcxRegExprParserItem> ParseSet(const TcxLexem& open);
  void ApplyQuantifier(std::unique_ptr<TcxRegExprParserItem>& item, char op, const TcxLexem& at);
  void ParseRepeat(std::unique_ptr<TcxRegExprParserItem>& item, const TcxLexem& open);
  void SkipRepeatCount();
  bool ReadCount(int64_t& value);
  // Reports that the parse tree would nest too deeply (once per pattern);
  // answers whether the item is too deep.
  bool TooDeep(const TcxRegExprParserItem& item, const TcxLexem& at, int extraLevels = 0);
  void CheckSize(const TcxRegExprParserAlts& alts);

  TcxRegExpr& owner_;
  std::string_view text_;
  size_t pos_ = 0;
  Integer line_ = 1;
  Integer column_ = 0;
  TcxLexems lexems_;
  size_t next_ = 0;
  std::vector<TcxRegExprParserItem*> groups_;  // in the order their "(" was met
  std::vector<std::unique_ptr<TcxRegExprParserItem>> replaced_;  // originals of expanded repeats
  int64_t cloned_ = 0;  // states made by copies (repeats, back references)
  bool tooDeepReported_ = false;
};

// A line ends at LF, or at a CR not followed by LF; the original counted
// lines at CR only, so patterns with LF line ends reported line 1 (mended).
bool RegExprCompiler::ReadChar(char32_t& c) {
  if (pos_ >= text_.size()) return false;
  c = Utf8Decode(text_, pos_);
  if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) {
    ++line_;
    column_ = 0;
  } else if (c != '\r') {
    ++column_;
  }
  return true;
}

bool RegExprCompiler::PeekChar(char32_t& c) const {
  if (pos_ >= text_.size()) return false;
  size_t p = pos_;
  c = Utf8Decode(text_, p);
  return true;
}

bool RegExprCompiler::PeekNonSpace(char32_t& c) const {
  size_t p = pos_;
  while (p < text_.size()) {
    c = Utf8Decode(text_, p);
    if (!IsSpaceChar(c)) return true;
  }
  return false;
}

void RegExprCompiler::Tokenize() {
  int depth = 0;
  char32_t c;
  while (ReadChar(c)) {
    if (IsSpaceChar(c)) continue;
    const Integer line = line_, column = column_;
    switch (c) {
      case '\'': QuotedRun(); break;
      case '(':
        if (++depth == kMaxGroupDepth + 1) Error(line_, column_, Text(Msg::NestedTooDeeply));
        AddHere(LexemKind::Operator, "(");
        break;
      case ')':
        --depth;
        AddHere(LexemKind::Operator, ")");
        break;
      case '*':
      case '+':
      case '?':
      case '|': AddHere(LexemKind::Operator, std::string(1, static_cast<char>(c))); break;
      case '.': AddHere(LexemKind::Any, "."); break;
      case '/': AddHere(LexemKind::DateSeparator, "/"); break;
      case ':': AddHere(LexemKind::TimeSeparator, ":"); break;
      case '[':
        AddHere(LexemKind::Operator, "[");
        Set();
        break;
      case '\\': Escape(line, column); break;
      case '{':
        AddHere(LexemKind::Operator, "{");
        RepeatCount();
        break;
      default: AddHere(LexemKind::Literal, Utf8Encode(c)); break;
    }
  }
  if (depth > 0) Error(0, 0, Text(Msg::Missing, ")"));
  if (depth < 0) Error(0, 0, Text(Msg::Unnecessary, ")"));
}

void RegExprCompiler::QuotedRun() {
  char32_t c;
  for (;;) {
    if (!ReadChar(c)) {
      ErrorAtEnd(Text(Msg::Missing, " ' "));
      return;
    }
    if (c == '\'') {
      char32_t n;
      if (!PeekChar(n) || n != '\'') return;
      ReadChar(n);
    }
    AddHere(LexemKind::Literal, Utf8Encode(c));
  }
}

void RegExprCompiler::Escape(Integer line, Integer column) {
  char32_t c;
  if (!ReadChar(c)) return;  // a backslash at the very end is ignored
  auto add = [&](LexemKind kind, std::string text) { Add(kind, std::move(text), line, column); };
  auto literal = [&](char32_t ch) { add(LexemKind::Literal, Utf8Encode(ch)); };
  if (c >= '1' && c <= '9') return add(LexemKind::BackReference, Utf8Encode(c));
  if (IsSpaceChar(c)) return Error(line_, column_, Text(Msg::SpaceAfterBackslash));
  switch (c) {
    case 'w': return add(LexemKind::Word, "w");
    case 'W': return add(LexemKind::NonWord, "W");
    case 'd': return add(LexemKind::Digit, "d");
    case 'D': return add(LexemKind::NonDigit, "D");
    case 's': return add(LexemKind::Space, "s");
    case 'S': return add(LexemKind::NonSpace, "S");
    case 't': return literal('\t');
    case 'n': return literal('\n');
    case 'r': return literal('\r');
    case 'f': return literal('\f');
    case 'a': return literal(7);
    case 'e': return literal(27);
    case 'p': return literal(static_cast<unsigned char>(DefaultFormatSettings().DecimalSeparator));
    case 'x': {
      char32_t code = 0;
      for (int i = 0; i < 2; ++i) {
        char32_t h;
        if (!ReadChar(h)) return ErrorAtEnd(Text(Msg::HexExpected));
        int digit = -1;
        if (h >= '0' && h <= '9') digit = static_cast<int>(h - '0');
        if (h >= 'a' && h <= 'f') digit = static_cast<int>(h - 'a' + 10);
        if (h >= 'A' && h <= 'F') digit = static_cast<int>(h - 'A' + 10);
        if (digit < 0) return Error(line_, column_, Text(Msg::HexExpectedFound, Utf8Encode(h)));
        code = code * 16 + static_cast<char32_t>(digit);
      }
      return literal(code);
    }
    default: return literal(c);  // "0", and any other character taken as itself
  }
}

void RegExprCompiler::Set() {
  bool first = true;
  char32_t c;
  for (;;) {
    if (!ReadChar(c)) return ErrorAtEnd(Text(Msg::Missing, "]"));
    if (IsSpaceChar(c)) continue;
    const Integer line = line_, column = column_;
    switch (c) {
      case '\'': QuotedRun(); break;
      case '/': AddHere(LexemKind::DateSeparator, "/"); break;
      case ':': AddHere(LexemKind::TimeSeparator, ":"); break;
      case '\\': Escape(line, column); break;
      case ']': return AddHere(LexemKind::Operator, "]");
      default:
        if (first && c == '^') {
          AddHere(LexemKind::Operator, "^");
        } else if (!first && c == '-') {
          char32_t n;
          if (!PeekNonSpace(n)) {
            AddHere(LexemKind::Operator, "-");
            while (ReadChar(n)) {
            }
            return ErrorAtEnd(Text(Msg::Missing, "]"));
          }
          AddHere(n == ']' ? LexemKind::Literal : LexemKind::Operator, "-");
        } else {
          AddHere(LexemKind::Literal, Utf8Encode(c));
        }
        break;
    }
    first = false;
  }
}

void RegExprCompiler::RepeatCount() {
  char32_t c;
  for (;;) {
    if (!ReadChar(c)) return ErrorAtEnd(Text(Msg::Missing, "}"));
    if (IsSpaceChar(c)) continue;
    if (IsDigitChar(c)) {
      const Integer line = line_, column = column_;
      std::string digits(1, static_cast<char>(c));
      char32_t n;
      while (PeekChar(n) && IsDigitChar(n)) {
        ReadChar(n);
        digits += static_cast<char>(n);
      }
      Add(LexemKind::Integer, std::move(digits), line, column);
    } else if (c == ',') {
      AddHere(LexemKind::Operator, ",");
    } else if (c == '}') {
      return AddHere(LexemKind::Operator, "}");
    } else {
      Error(line_, column_, Text(Msg::Illegal, c == '\'' ? " ' " : Utf8Encode(c)));
    }
  }
}

TcxRegExprParserAlts RegExprCompiler::Parse() {
  TcxRegExprParserAlts alts;
  ParseAlts(alts, false);
  if (owner_.errors_.Count() == 0) CheckSize(alts);
  return alts;
}

bool RegExprCompiler::TooDeep(const TcxRegExprParserItem& item, const TcxLexem& at, int extraLevels) {
  if (item.Depth + extraLevels <= kMaxTreeDepth) return false;
  if (!tooDeepReported_) ErrorAt(at, Text(Msg::NestedTooDeeply));
  tooDeepReported_ = true;
  return true;
}

// The automaton must stay within a fixed size, whatever the pattern.
void RegExprCompiler::CheckSize(const TcxRegExprParserAlts& alts) {
  int64_t states = 1, links = 0;
  for (const auto& alt : alts) {
    for (const auto& item : alt->Items) states += item->States;
    links += static_cast<int64_t>(EntryRun(*alt)) + AltLinks(*alt);
  }
  if (states > kMaxStates || links > kMaxLinks) Error(0, 0, Text(Msg::TooComplex));
}

void RegExprCompiler::ParseAlts(TcxRegExprParserAlts& alts, bool inGroup) {
  for (;;) {
    // The alternative joins its list before its items are read, so that a
    // back reference inside the group copies what has been parsed so far.
    alts.push_back(std::make_unique<TcxRegExprParserAlt>());
    if (ParseAlt(*alts.back(), inGroup) != AltEnd::Bar) return;
  }
}

namespace {

std::unique_ptr<TcxRegExprParserItem> SimpleItem(std::unique_ptr<TcxRegExprItem> matcher) {
  return std::make_unique<TcxRegExprParserSimpleItem>(std::make_unique<TcxRegExprSimpleState>(std::move(matcher)));
}

std::unique_ptr<TcxRegExprItem> ClassMatcherOf(LexemKind kind) {
  switch (kind) {
    case LexemKind::Any: return std::make_unique<TcxRegExprAll>();
    case LexemKind::Word: return std::make_unique<TcxRegExprIdLetter>(false);
    case LexemKind::NonWord: return std::make_unique<TcxRegExprIdLetter>(true);
    case LexemKind::Digit: return std::make_unique<TcxRegExprDigit>(false);
    case LexemKind::NonDigit: return std::make_unique<TcxRegExprDigit>(true);
    case LexemKind::Space: return std::make_unique<TcxRegExprSpace>(false);
    case LexemKind::NonSpace: return std::make_unique<TcxRegExprSpace>(true);
    case LexemKind::DateSeparator: return std::make_unique<TcxRegExprDateSeparator>();
    case LexemKind::TimeSeparator: return std::make_unique<TcxRegExprTimeSeparator>();
    default: return nullptr;
  }
}

// Gives the item the quantifier; an item that already has one is wrapped in
// a group that takes it, so a+? is (a+)?.
void SetQuantifier(std::unique_ptr<TcxRegExprParserItem>& item, std::unique_ptr<TcxRegExprQuantifier> q) {
  if (!item->Quantifier) {
    item->Quantifier = std::move(q);
    return;
  }
  auto group = std::make_unique<TcxRegExprParserBlockItem>();
  group->Alts.push_back(std::make_unique<TcxRegExprParserAlt>());
  group->Alts.back()->Items.push_back(std::move(item));
  group->Seal();
  group->Quantifier = std::move(q);
  item = std::move(group);
}

}  // namespace

RegExprCompiler::AltEnd RegExprCompiler::ParseAlt(TcxRegExprParserAlt& alt, bool inGroup) {
  if (next_ >= lexems_.size()) {
    Error(0, 0, Text(Msg::AltEmpty));
    return AltEnd::Tokens;
  }
  if (lexems_[next_].IsOperator('|')) {
    ErrorAt(lexems_[next_++], Text(Msg::AltEmpty));
    return AltEnd::Bar;
  }
  if (inGroup && lexems_[next_].IsOperator(')')) {
    ErrorAt(lexems_[next_++], Text(Msg::BlockEmpty));
    return AltEnd::Close;
  }
  // The target of a following quantifier.
  std::unique_ptr<TcxRegExprParserItem>* last = nullptr;
  auto add = [&](std::unique_ptr<TcxRegExprParserItem> item) {
    alt.Items.push_back(std::move(item));
    last = &alt.Items.back();
  };
  while (next_ < lexems_.size()) {
    const TcxLexem& lexem = lexems_[next_++];
    switch (lexem.Kind) {
      case LexemKind::Literal:
        add(SimpleItem(std::make_unique<TcxRegExprSymbol>(FirstChar(lexem.Text))));
        break;
      case LexemKind::Integer: ErrorAt(lexem, Text(Msg::IllegalInteger)); break;
      case LexemKind::BackReference: {
        const size_t n = static_cast<size_t>(lexem.Text[0] - '0');
        if (n > groups_.size()) {
          ErrorAt(lexem, Text(Msg::TooBigReference));
          break;
        }
        const TcxRegExprParserItem& group = *groups_[n - 1];
        cloned_ += group.States;
        if (cloned_ > kMaxClonedStates) {
          ErrorAt(lexem, Text(Msg::IncorrectParameterQuantifier));
          break;
        }
        add(group.Clone());
        break;
      }
      case LexemKind::Operator:
        switch (lexem.Text[0]) {
          case '(': {
            auto group = std::make_unique<TcxRegExprParserBlockItem>();
            groups_.push_back(group.get());
            ParseAlts(group->Alts, true);
            group->Seal();
            TooDeep(*group, lexem);
            add(std::move(group));
            break;
          }
          case '[': add(ParseSet(lexem)); break;
          case '|': return AltEnd::Bar;
          case ')':
            if (inGroup) return AltEnd::Close;
            ErrorAt(lexem, Text(Msg::Illegal, ")"));
            break;
          case ']':
          case '}':
          case '-': ErrorAt(lexem, Text(Msg::Illegal, lexem.Text)); break;
          case '?':
          case '*':
          case '+':
            if (!last)
              ErrorAt(lexem, Text(Msg::IllegalQuantifier, lexem.Text));
            else
              ApplyQuantifier(*last, lexem.Text[0], lexem);
            break;
          case '{':
            if (!last)
              ErrorAt(lexem, Text(Msg::IncorrectParameterQuantifier));
            else
              ParseRepeat(*last, lexem);
            break;
          default: break;  // a stray "," and the like
        }
        break;
      default: add(SimpleItem(ClassMatcherOf(lexem.Kind))); break;
    }
  }
  return AltEnd::Tokens;
}

void RegExprCompiler::ApplyQuantifier(std::unique_ptr<TcxRegExprParserItem>& item, char op, const TcxLexem& at) {
  if (op == '*' && item->CanEmpty()) return ErrorAt(at, Text(Msg::StarNotApplicable));
  if (op == '+' && item->CanEmpty()) return ErrorAt(at, Text(Msg::PlusNotApplicable));
  // A quantifier stacked on another wraps the item in one more group.
  if (item->Quantifier && TooDeep(*item, at, 1)) return;
  SetQuantifier(item, MakeQuantifier(op));
}

bool RegExprCompiler::ReadCount(int64_t& value) {
  if (next_ >= lexems_.size() || lexems_[next_].Kind != LexemKind::Integer) return false;
  const std::string& digits = lexems_[next_].Text;
  value = 0;
  for (char d : digits) {
    value = value * 10 + (d - '0');
    if (value > kMaxRepeatCount) return false;
  }
  ++next_;
  return true;
}

void RegExprCompiler::SkipRepeatCount() {
  while (next_ < lexems_.size() &&
         (lexems_[next_].Kind == LexemKind::Integer || lexems_[next_].IsOperator(',')))
    ++next_;
  if (next_ < lexems_.size() && lexems_[next_].IsOperator('}')) ++next_;
}

void RegExprCompiler::ParseRepeat(std::unique_ptr<TcxRegExprParserItem>& item, const TcxLexem& open) {
  auto fail = [&]() {
    ErrorAt(next_ < lexems_.size() ? lexems_[next_] : open, Text(Msg::IncorrectParameterQuantifier));
    SkipRepeatCount();
  };
  int64_t n = 0, m = 0;
  bool unlimited = false;
  if (!ReadCount(n)) return fail();
  if (next_ < lexems_.size() && lexems_[next_].IsOperator('}')) {
    m = n;
  } else if (next_ < lexems_.size() && lexems_[next_].IsOperator(',')) {
    ++next_;
    if (next_ < lexems_.size() && lexems_[next_].IsOperator('}')) {
      unlimited = true;
    } else {
      const size_t at = next_;
      if (!ReadCount(m) || m < n) {
        next_ = at;
        return fail();
      }
      if (next_ >= lexems_.size() || !lexems_[next_].IsOperator('}')) return fail();
    }
  } else {
    return fail();
  }
  ++next_;  // "}"

  if (item->CanBeMissing()) return ErrorAt(open, Text(Msg::ParameterNotApplicable));
  const int64_t copies = n + (unlimited ? 1 : m - n);
  // Copies, plus a group for each level of the optional chain.
  cloned_ += copies * item->States + 2 * (m - n + 2);
  if (cloned_ > kMaxClonedStates) return ErrorAt(open, Text(Msg::IncorrectParameterQuantifier));
  // The group, the levels of the chain and a group around a quantified copy.
  if (TooDeep(*item, open, static_cast<int>(unlimited ? 2 : m - n + 2))) return;

  // n copies, then either one copy with "*" or the chain of optional levels
  // n .. m-1, each a "?" group of a copy and the next level: x{2,4} is
  // xx(x(x)?)?, and x{1,} is x x*, so it accepts a single x.
  auto group = std::make_unique<TcxRegExprParserBlockItem>();
  group->Alts.push_back(std::make_unique<TcxRegExprParserAlt>());
  auto& items = group->Alts.back()->Items;
  for (int64_t i = 0; i < n; ++i) items.push_back(item->Clone());
  if (unlimited) {
    auto copy = item->Clone();
    SetQuantifier(copy, MakeQuantifier('*'));
    items.push_back(std::move(copy));
  } else if (m > n) {
    auto chain = item->Clone();
    SetQuantifier(chain, MakeQuantifier('?'));
    for (int64_t level = m - 2; level >= n; --level) {
      auto outer = std::make_unique<TcxRegExprParserBlockItem>();
      outer->Alts.push_back(std::make_unique<TcxRegExprParserAlt>());
      outer->Alts.back()->Items.push_back(item->Clone());
      outer->Alts.back()->Items.push_back(std::move(chain));
      outer->Seal();
      outer->Quantifier = MakeQuantifier('?');
      chain = std::move(outer);
    }
    items.push_back(std::move(chain));
  }
  group->Seal();
  // The original stays alive: a back reference may still copy it.
  replaced_.push_back(std::move(item));
  item = std::move(group);
}

std::unique_ptr<TcxRegExprParserItem> RegExprCompiler::ParseSet(const TcxLexem& open) {
  auto set = std::make_unique<TcxRegExprUserEnumeration>(false);
  if (next_ < lexems_.size() && lexems_[next_].IsOperator('^')) {
    set->Inverse = true;
    ++next_;
  }
  if (next_ < lexems_.size() && lexems_[next_].IsOperator(']')) {
    ErrorAt(open, Text(Msg::EmptyEnumeration));
    ++next_;
    return SimpleItem(std::move(set));
  }
  while (next_ < lexems_.size()) {
    const TcxLexem& lexem = lexems_[next_++];
    if (lexem.IsOperator(']')) break;
    if (lexem.IsOperator('-')) {
      ErrorAt(lexem, Text(Msg::Illegal, "-"));
      continue;
    }
    if (next_ + 1 < lexems_.size() && lexems_[next_].IsOperator('-') && !lexems_[next_ + 1].IsOperator(']')) {
      const char32_t first = FirstChar(lexem.Text);
      const char32_t last = FirstChar(lexems_[next_ + 1].Text);
      next_ += 2;
      if (first < last)
        set->Items.push_back(std::make_unique<TcxRegExprSubrange>(first, last));
      else
        ErrorAt(lexem, Text(Msg::SubrangeOrder));
      continue;
    }
    if (auto matcher = ClassMatcherOf(lexem.Kind))
      set->Items.push_back(std::move(matcher));
    else
      set->Items.push_back(std::make_unique<TcxRegExprSymbol>(FirstChar(lexem.Text)));
  }
  return SimpleItem(std::move(set));
}

// ---------------------------------------------------------------------------

std::string TcxRegExprError::FullText() const {
  std::string text;
  if (Line > 0) {
    text = Text(Msg::Line) + std::to_string(Line);
    if (Column > 0) text += ", " + Text(Msg::Char) + std::to_string(Column);
    text += ": ";
  }
  return text + Message;
}

void TcxRegExprErrors::Add(Integer line, Integer column, std::string message) {
  items_.push_back(std::make_unique<TcxRegExprError>(line, column, std::move(message)));
}

TcxRegExpr::TcxRegExpr() = default;

TcxRegExpr::~TcxRegExpr() = default;

void TcxRegExpr::Clear() {
  source_.reset();
  errors_.Clear();
  automat_.reset();
  compiled_ = false;
}

void TcxRegExpr::Compile(std::string_view pattern) {
  TCustomMemoryStream stream(pattern.data(), static_cast<Int64>(pattern.size()));
  Compile(&stream);
}

void TcxRegExpr::Compile(TStream* stream) {
  Clear();
  if (!stream) {
    errors_.Add(0, 0, Text(Msg::StreamNotAssigned));
    throw EcxRegExprError(&errors_);
  }
  source_ = std::make_unique<TMemoryStream>();
  source_->LoadFromStream(*stream);
  const std::string_view text(static_cast<const char*>(source_->Memory()), static_cast<size_t>(source_->Size()));
  size_t pos = 0;
  bool blank = true;
  while (blank && pos < text.size()) blank = IsSpaceChar(Utf8Decode(text, pos));
  if (blank) {
    errors_.Add(0, 0, Text(Msg::StreamEmpty));
    throw EcxRegExprError(&errors_);
  }
  RegExprCompiler compiler(*this, text);
  compiler.Tokenize();
  if (errors_.Count() > 0) throw EcxRegExprError(&errors_);
  TcxRegExprParserAlts alts = compiler.Parse();
  if (errors_.Count() > 0) throw EcxRegExprError(&errors_);
  automat_ = std::make_unique<TcxRegExprAutomat>(*this, std::move(alts));
  compiled_ = true;
  if (autoComplete_) automat_->CompleteForced();
}

void TcxRegExpr::CheckCompiled() const {
  if (!compiled_) throw Exception(Text(Msg::NotCompiled));
}

void TcxRegExpr::Reset() {
  CheckCompiled();
  automat_->Reset();
}

bool TcxRegExpr::IsStart() const {
  CheckCompiled();
  return automat_->IsStart();
}

bool TcxRegExpr::IsFinal() const {
  CheckCompiled();
  return automat_->IsFinal();
}

bool TcxRegExpr::Next(char32_t& ch) {
  CheckCompiled();
  return automat_->Next(ch);
}

bool TcxRegExpr::Prev() {
  CheckCompiled();
  return automat_->Prev();
}

std::string TcxRegExpr::FilterText(std::string_view text) {
  CheckCompiled();
  std::string result;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    char32_t ch = Utf8Decode(text, pos);
    if (automat_->Step(ch)) result.append(text.substr(start, pos - start));
  }
  return result;
}

void TcxRegExpr::SetAutoComplete(bool value) {
  const bool switchedOn = value && !autoComplete_;
  autoComplete_ = value;
  if (switchedOn && compiled_) automat_->CompleteForced();
}
