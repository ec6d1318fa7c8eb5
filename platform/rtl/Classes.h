// Lists and string lists of the class library: TList of pointers, the
// abstract TStrings with its text forms (Text, CommaText, DelimitedText,
// name=value pairs) and TStringList, the sortable list that keeps an object
// beside each string.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Components.h"
#include "platform/rtl/Delegates.h"
#include "platform/rtl/System.h"

class TStream;

using Pointer = void*;

inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";

// Stable merge sort of the permutation `order` (indexes 0..n-1) with a
// three-way comparison of two original indexes. It calls the comparison only
// on valid indexes and finishes after O(n log n) calls whatever the
// comparison answers, so an inconsistent comparison gives some order but
// never a crash or an endless loop.
void SortIndexes(std::vector<Integer>& order, const std::function<Integer(Integer, Integer)>& compare);

// ---------------------------------------------------------------------------
// TList: a list of untyped pointers. A bad index raises EListError.

using TListSortCompare = Integer (*)(Pointer Item1, Pointer Item2);

class TList : public TObject {
  VXN_DECLARE_CLASS(TList)

 public:
  TList() = default;
  ~TList() override;

  Integer Add(Pointer Item);
  virtual void Clear();
  void Delete(Integer Index);
  void Exchange(Integer Index1, Integer Index2);
  Pointer Extract(Pointer Item);  // removes the first occurrence, nil when absent
  Pointer First() const;
  Pointer Last() const;
  Integer IndexOf(Pointer Item) const;
  void Insert(Integer Index, Pointer Item);
  void Move(Integer CurIndex, Integer NewIndex);
  Integer Remove(Pointer Item);  // index it had, -1 when absent
  void Pack();                   // drops the nil entries
  // Accepts a TListSortCompare or any callable of the same shape.
  void Sort(const std::function<Integer(Pointer, Pointer)>& Compare);
  void Assign(const TList& Source);

  Integer Count() const { return static_cast<Integer>(items_.size()); }
  void SetCount(Integer NewCount);  // new entries are nil
  Integer Capacity() const { return capacity_; }
  void SetCapacity(Integer NewCapacity);
  Pointer Items(Integer Index) const;
  void SetItems(Integer Index, Pointer Item);
  Pointer operator[](Integer Index) const { return Items(Index); }
  const std::vector<Pointer>& List() const { return items_; }

 protected:
  enum TListNotification { lnAdded, lnExtracted, lnDeleted };
  // Told after an item was added and after it left the list (not for nil).
  virtual void Notify(Pointer, TListNotification) {}
  [[noreturn]] static void Error(const char* Msg, Integer Data);

 private:
  std::vector<Pointer> items_;
  Integer capacity_ = 0;
};

// ---------------------------------------------------------------------------
// TStrings: the abstract string list. Descendants supply storage through the
// virtual Get/Put/GetObject/PutObject/GetCount/Insert/Delete/Clear; every
// other operation is built on those, so a list box's items and a memo's lines
// behave like a TStringList.
//
// Text forms:
// - Text: every string followed by CR LF. Setting it splits at CR LF, LF or
//   CR; a break at the very end adds no empty string.
// - DelimitedText (CommaText is the same with ',' and '"'): a string that
//   contains a blank or control character, the quote or the delimiter is
//   quoted, quotes inside doubled; a list of one empty string is two quotes.
//   Reading, blanks and control characters separate items just like the
//   delimiter; a quoted item may contain them; a delimiter at the very end
//   adds an empty item; text ends at the first NUL.
// - Names/Values: "name=value" with NameValueSeparator; names compare through
//   CompareStrings (case-insensitive unless the list says otherwise).

class TStrings : public TPersistent {
  VXN_DECLARE_CLASS(TStrings)

 public:
  TStrings() = default;
  ~TStrings() override = default;

  // Storage, supplied by descendants.
  virtual Integer GetCount() const = 0;
  virtual std::string Get(Integer Index) const = 0;
  virtual void Put(Integer Index, const std::string& S);
  virtual TObject* GetObject(Integer Index) const;
  virtual void PutObject(Integer Index, TObject* AObject);
  virtual void Insert(Integer Index, const std::string& S) = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;
  virtual Integer GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(Integer) {}

  virtual Integer Add(const std::string& S);
  virtual Integer AddObject(const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  void InsertObject(Integer Index, const std::string& S, TObject* AObject);
  virtual void AddStrings(const TStrings& Strings);
  void AddStrings(const std::vector<std::string>& Strings);
  // Copies strings, objects and the text-form settings of another list;
  // other sources go to TPersistent (AssignTo, or EConvertError).
  void Assign(TPersistent* Source) override;
  void Assign(const TStrings& Source);
  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }
  bool Equals(const TStrings& Other) const;  // same strings in the same order
  virtual void Exchange(Integer Index1, Integer Index2);
  virtual Integer IndexOf(const std::string& S) const;
  Integer IndexOfName(const std::string& Name) const;
  Integer IndexOfObject(TObject* AObject) const;
  virtual void Move(Integer CurIndex, Integer NewIndex);

  // Reads the rest of the stream (a UTF-8 byte-order mark is skipped) / writes
  // Text. A file that cannot be opened raises EFOpenError / EFCreateError.
  virtual void LoadFromStream(TStream& Stream);
  virtual void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

  Integer Count() const { return GetCount(); }
  Integer Capacity() const { return GetCapacity(); }
  std::string Strings(Integer Index) const { return Get(Index); }
  std::string operator[](Integer Index) const { return Get(Index); }
  void SetStrings(Integer Index, const std::string& S) { Put(Index, S); }
  TObject* Objects(Integer Index) const { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }

  std::string Names(Integer Index) const;
  std::string Values(const std::string& Name) const;
  // An empty value deletes the pair; otherwise it is replaced or added.
  void SetValues(const std::string& Name, const std::string& Value);
  std::string ValueFromIndex(Integer Index) const;
  void SetValueFromIndex(Integer Index, const std::string& Value);
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char C) { nameValueSeparator_ = C; }

  std::string Text() const;
  virtual void SetText(std::string_view Value);
  std::string CommaText() const;
  void SetCommaText(std::string_view Value);
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view Value);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char C) { delimiter_ = C; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char C) { quoteChar_ = C; }

  std::vector<std::string> ToVector() const;

  // < 0, 0 or > 0; case-insensitive here, TStringList follows CaseSensitive.
  virtual Integer CompareStrings(std::string_view S1, std::string_view S2) const;

 protected:
  // Called on the first BeginUpdate (true) and the last EndUpdate (false).
  virtual void SetUpdateState(bool) {}
  [[noreturn]] static void Error(const char* Msg, Integer Data);

 private:
  std::string delimitedText(char delimiter, char quote) const;
  void setDelimitedText(std::string_view value, char delimiter, char quote);

  Integer updateCount_ = 0;
  char nameValueSeparator_ = '=';
  char delimiter_ = ',';
  char quoteChar_ = '"';
};

// ---------------------------------------------------------------------------
// TStringList. A sorted list keeps its order on Add (Insert and Put raise
// EStringListError "Operation not allowed on sorted list"); Duplicates then
// decides what adding an existing string does. Find is a binary search on a
// sorted list: the index of the match (the first of equal strings under
// dupAccept) or of the place where the string belongs. OnChanging and OnChange
// fire around each change, once for a whole BeginUpdate/EndUpdate bracket.
// The list does not own its objects.

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Compares the strings at two indexes of the list, as CustomSort calls it.
using TStringListSortCompare = std::function<Integer(TStringList& List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
  VXN_DECLARE_CLASS(TStringList)

 public:
  TStringList() = default;
  ~TStringList() override;

  Integer GetCount() const override { return static_cast<Integer>(items_.size()); }
  std::string Get(Integer Index) const override;
  void Put(Integer Index, const std::string& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void Insert(Integer Index, const std::string& S) override;
  void InsertObject(Integer Index, const std::string& S, TObject* AObject);
  void Delete(Integer Index) override;
  void Clear() override;
  Integer GetCapacity() const override { return capacity_; }
  void SetCapacity(Integer NewCapacity) override;

  Integer Add(const std::string& S) override;
  Integer AddObject(const std::string& S, TObject* AObject) override;
  void Exchange(Integer Index1, Integer Index2) override;
  Integer IndexOf(const std::string& S) const override;
  bool Find(const std::string& S, Integer& Index) const;
  virtual void Sort();
  // Sorts with a comparison of two indexes; the comparison may be
  // inconsistent (see SortIndexes). Does nothing on a sorted list.
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);

  Integer CompareStrings(std::string_view S1, std::string_view S2) const override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::string String;
    TObject* Object = nullptr;
  };
  void insertItem(Integer Index, const std::string& S, TObject* AObject);
  void checkIndex(Integer Index) const;

  std::vector<Item> items_;
  Integer capacity_ = 0;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
