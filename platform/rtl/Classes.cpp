#include "platform/rtl/Classes.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/ScopeExit.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TList, TObject)
VXN_IMPLEMENT_CLASS(TStrings, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TStringList, TStrings)

void SortIndexes(std::vector<Integer>& order, const std::function<Integer(Integer, Integer)>& compare) {
  // Bottom-up merge sort: every step advances one of two bounded cursors, so
  // the number of comparisons is fixed by the size alone.
  const size_t n = order.size();
  if (n < 2) return;
  std::vector<Integer> buffer(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n);
      const size_t hi = std::min(lo + 2 * width, n);
      size_t a = lo, b = mid, out = lo;
      while (a < mid && b < hi) {
        // Take the right element only when it is strictly smaller: stable.
        if (compare(order[b], order[a]) < 0)
          buffer[out++] = order[b++];
        else
          buffer[out++] = order[a++];
      }
      while (a < mid) buffer[out++] = order[a++];
      while (b < hi) buffer[out++] = order[b++];
    }
    order.swap(buffer);
  }
}

// ---------------------------------------------------------------------------
// TList

TList::~TList() { TList::Clear(); }

void TList::Error(const char* Msg, Integer Data) { throw EListError(Format(Msg, {Data})); }

Integer TList::Add(Pointer Item) {
  const Integer index = Count();
  items_.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return index;
}

void TList::Clear() {
  // Notify may look at the list, so the items leave one by one.
  while (!items_.empty()) {
    Pointer item = items_.back();
    items_.pop_back();
    if (item) Notify(item, lnDeleted);
  }
  capacity_ = 0;
}

void TList::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  Pointer item = items_[Index];
  items_.erase(items_.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

void TList::Exchange(Integer Index1, Integer Index2) {
  if (Index1 < 0 || Index1 >= Count()) Error(SListIndexError, Index1);
  if (Index2 < 0 || Index2 >= Count()) Error(SListIndexError, Index2);
  std::swap(items_[Index1], items_[Index2]);
}

Pointer TList::Extract(Pointer Item) {
  const Integer index = IndexOf(Item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  if (Item) Notify(Item, lnExtracted);
  return Item;
}

Pointer TList::First() const { return Items(0); }
Pointer TList::Last() const { return Items(Count() - 1); }

Integer TList::IndexOf(Pointer Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : static_cast<Integer>(it - items_.begin());
}

void TList::Insert(Integer Index, Pointer Item) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  items_.insert(items_.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  if (CurIndex < 0 || CurIndex >= Count()) Error(SListIndexError, CurIndex);
  if (NewIndex < 0 || NewIndex >= Count()) Error(SListIndexError, NewIndex);
  Pointer item = items_[CurIndex];
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, item);
}

Integer TList::Remove(Pointer Item) {
  const Integer index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void TList::Pack() { std::erase(items_, nullptr); }

void TList::Sort(const std::function<Integer(Pointer, Pointer)>& Compare) {
  if (items_.size() < 2) return;
  std::vector<Integer> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<Integer>(i);
  const std::vector<Pointer> items = items_;
  SortIndexes(order, [&](Integer a, Integer b) { return Compare(items[a], items[b]); });
  for (size_t i = 0; i < order.size(); ++i) items_[i] = items[order[i]];
}

void TList::Assign(const TList& Source) {
  if (&Source == this) return;
  Clear();
  for (Pointer p : Source.items_) Add(p);
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0) Error(SListCountError, NewCount);
  while (Count() > NewCount) Delete(Count() - 1);
  items_.resize(NewCount, nullptr);
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < Count()) Error(SListCapacityError, NewCapacity);
  items_.reserve(NewCapacity);
  capacity_ = NewCapacity;
}

Pointer TList::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  return items_[Index];
}

void TList::SetItems(Integer Index, Pointer Item) {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
  Pointer old = items_[Index];
  if (old == Item) return;
  items_[Index] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const char* Msg, Integer Data) { throw EStringListError(Format(Msg, {Data})); }

void TStrings::Put(Integer Index, const std::string& S) {
  // Keeps the object beside the replaced string.
  TObject* object = GetObject(Index);
  BeginUpdate();
  ScopeExit updated([this] { EndUpdate(); });
  Delete(Index);
  InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(Integer) const { return nullptr; }
void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::Add(const std::string& S) {
  const Integer index = GetCount();
  Insert(index, S);
  return index;
}

Integer TStrings::AddObject(const std::string& S, TObject* AObject) {
  const Integer index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::InsertObject(Integer Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

namespace {
// Runs EndUpdate however the bracket is left.
struct UpdateBracket {
  TStrings& list;
  explicit UpdateBracket(TStrings& l) : list(l) { list.BeginUpdate(); }
  ~UpdateBracket() { list.EndUpdate(); }
};
}  // namespace

void TStrings::AddStrings(const TStrings& Strings) {
  UpdateBracket bracket(*this);
  // A list may add itself: take the count first.
  const Integer n = Strings.GetCount();
  for (Integer i = 0; i < n; ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TStrings::AddStrings(const std::vector<std::string>& Strings) {
  UpdateBracket bracket(*this);
  for (const std::string& s : Strings) Add(s);
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* strings = dynamic_cast<TStrings*>(Source)) {
    Assign(*strings);
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  UpdateBracket bracket(*this);
  Clear();
  nameValueSeparator_ = Source.nameValueSeparator_;
  delimiter_ = Source.delimiter_;
  quoteChar_ = Source.quoteChar_;
  AddStrings(Source);
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ <= 0) return;
  if (--updateCount_ == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& Other) const {
  const Integer n = GetCount();
  if (n != Other.GetCount()) return false;
  for (Integer i = 0; i < n; ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  UpdateBracket bracket(*this);
  std::string s1 = Get(Index1);
  TObject* o1 = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s1);
  PutObject(Index2, o1);
}

Integer TStrings::IndexOf(const std::string& S) const {
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

Integer TStrings::IndexOfName(const std::string& Name) const {
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i) {
    const std::string s = Get(i);
    const size_t p = s.find(nameValueSeparator_);
    if (p != std::string::npos && CompareStrings(std::string_view(s).substr(0, p), Name) == 0) return i;
  }
  return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  UpdateBracket bracket(*this);
  std::string s = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  if (NewIndex < 0 || NewIndex >= GetCount()) Error(SListIndexError, NewIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, object);
}

void TStrings::LoadFromStream(TStream& Stream) {
  const Int64 size = Stream.Size() - Stream.Position();
  std::string data(static_cast<size_t>(std::max<Int64>(size, 0)), '\0');
  const Int64 got = data.empty() ? 0 : Stream.Read(data.data(), static_cast<Int64>(data.size()));
  data.resize(static_cast<size_t>(std::max<Int64>(got, 0)));
  std::string_view text(data);
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  SetText(text);
}

void TStrings::SaveToStream(TStream& Stream) const {
  const std::string text = Text();
  Stream.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

std::string TStrings::Names(Integer Index) const {
  const std::string s = Get(Index);
  const size_t p = s.find(nameValueSeparator_);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::Values(const std::string& Name) const {
  const Integer index = IndexOfName(Name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  const Integer index = IndexOfName(Name);
  if (!Value.empty()) {
    std::string line = Name + nameValueSeparator_ + Value;
    if (index < 0)
      Add(line);
    else
      Put(index, line);
  } else if (index >= 0) {
    Delete(index);
  }
}

std::string TStrings::ValueFromIndex(Integer Index) const {
  const std::string s = Get(Index);
  const size_t p = s.find(nameValueSeparator_);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const std::string& Value) {
  if (Value.empty()) {
    if (Index >= 0) Delete(Index);
    return;
  }
  if (Index < 0) {
    Add(std::string(1, nameValueSeparator_) + Value);
    return;
  }
  Put(Index, Names(Index) + nameValueSeparator_ + Value);
}

std::string TStrings::Text() const {
  std::string result;
  const Integer n = GetCount();
  for (Integer i = 0; i < n; ++i) {
    result += Get(i);
    result += "\r\n";
  }
  return result;
}

void TStrings::SetText(std::string_view Value) {
  UpdateBracket bracket(*this);
  Clear();
  size_t pos = 0;
  while (pos < Value.size()) {
    size_t end = Value.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      Add(std::string(Value.substr(pos)));
      break;
    }
    Add(std::string(Value.substr(pos, end - pos)));
    pos = end + 1;
    if (Value[end] == '\r' && pos < Value.size() && Value[pos] == '\n') ++pos;
  }
}

std::string TStrings::delimitedText(char delimiter, char quote) const {
  const Integer n = GetCount();
  if (n == 1 && Get(0).empty()) return std::string(2, quote);
  std::string result;
  for (Integer i = 0; i < n; ++i) {
    const std::string s = Get(i);
    const bool needsQuotes = std::any_of(s.begin(), s.end(), [&](char c) {
      return static_cast<unsigned char>(c) <= ' ' || c == quote || c == delimiter;
    });
    if (i > 0) result += delimiter;
    result += needsQuotes ? AnsiQuotedStr(s, quote) : s;
  }
  return result;
}

void TStrings::setDelimitedText(std::string_view value, char delimiter, char quote) {
  const size_t nul = value.find('\0');
  if (nul != std::string_view::npos) value = value.substr(0, nul);
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  UpdateBracket bracket(*this);
  Clear();
  size_t p = 0;
  const size_t n = value.size();
  while (p < n && blank(value[p])) ++p;
  while (p < n) {
    std::string item;
    if (value[p] == quote) {
      // Quoted: a doubled quote is one quote; a missing end takes the rest.
      ++p;
      while (p < n) {
        if (value[p] == quote) {
          if (p + 1 < n && value[p + 1] == quote) {
            item += quote;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += value[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && !blank(value[p]) && value[p] != delimiter) ++p;
      item.assign(value.substr(start, p - start));
    }
    Add(item);
    while (p < n && blank(value[p])) ++p;
    if (p < n && value[p] == delimiter) {
      if (p + 1 == n) Add(std::string());
      do ++p;
      while (p < n && blank(value[p]));
    }
  }
}

std::string TStrings::CommaText() const { return delimitedText(',', '"'); }
void TStrings::SetCommaText(std::string_view Value) { setDelimitedText(Value, ',', '"'); }
std::string TStrings::DelimitedText() const { return delimitedText(delimiter_, quoteChar_); }
void TStrings::SetDelimitedText(std::string_view Value) { setDelimitedText(Value, delimiter_, quoteChar_); }

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> result;
  const Integer n = GetCount();
  result.reserve(n);
  for (Integer i = 0; i < n; ++i) result.push_back(Get(i));
  return result;
}

Integer TStrings::CompareStrings(std::string_view S1, std::string_view S2) const {
  return AnsiCompareText(S1, S2);
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
}

void TStringList::checkIndex(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

std::string TStringList::Get(Integer Index) const {
  checkIndex(Index);
  return items_[Index].String;
}

void TStringList::Put(Integer Index, const std::string& S) {
  if (sorted_) throw EStringListError(SSortedListError);
  checkIndex(Index);
  Changing();
  items_[Index].String = S;
  Changed();
}

TObject* TStringList::GetObject(Integer Index) const {
  checkIndex(Index);
  return items_[Index].Object;
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  checkIndex(Index);
  Changing();
  items_[Index].Object = AObject;
  Changed();
}

void TStringList::Insert(Integer Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const std::string& S, TObject* AObject) {
  if (sorted_) throw EStringListError(SSortedListError);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  insertItem(Index, S, AObject);
}

void TStringList::insertItem(Integer Index, const std::string& S, TObject* AObject) {
  Changing();
  items_.insert(items_.begin() + Index, Item{S, AObject});
  Changed();
}

void TStringList::Delete(Integer Index) {
  checkIndex(Index);
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  capacity_ = 0;
  Changed();
}

void TStringList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
  items_.reserve(NewCapacity);
  capacity_ = NewCapacity;
}

Integer TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const std::string& S, TObject* AObject) {
  Integer index;
  if (!sorted_) {
    index = GetCount();
  } else if (Find(S, index)) {
    switch (duplicates_) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError(SDuplicateString);
      case dupAccept:
        break;
    }
  }
  insertItem(index, S, AObject);
  return index;
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  checkIndex(Index1);
  checkIndex(Index2);
  Changing();
  std::swap(items_[Index1], items_[Index2]);
  Changed();
}

Integer TStringList::IndexOf(const std::string& S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  Integer index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, Integer& Index) const {
  bool found = false;
  Integer lo = 0, hi = GetCount() - 1;
  while (lo <= hi) {
    const Integer mid = lo + (hi - lo) / 2;
    const Integer c = CompareStrings(items_[mid].String, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList& list, Integer a, Integer b) {
    return list.CompareStrings(list.items_[a].String, list.items_[b].String);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (sorted_ || items_.size() < 2) return;
  Changing();
  // The items stay in place while the comparison runs, because it reads the
  // list by index; the order is applied afterwards.
  std::vector<Integer> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<Integer>(i);
  const size_t n = items_.size();
  SortIndexes(order, [&](Integer a, Integer b) {
    // A comparison that changed the list must not make us read past its end.
    if (items_.size() != n) return 0;
    return Compare(*this, a, b);
  });
  if (items_.size() == n) {
    std::vector<Item> sorted;
    sorted.reserve(n);
    for (Integer i : order) sorted.push_back(std::move(items_[i]));
    items_.swap(sorted);
  }
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (sorted_ == Value) return;
  if (Value) Sort();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (caseSensitive_ == Value) return;
  caseSensitive_ = Value;
  if (sorted_) {
    sorted_ = false;
    Sort();
    sorted_ = true;
  }
}

Integer TStringList::CompareStrings(std::string_view S1, std::string_view S2) const {
  return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}
