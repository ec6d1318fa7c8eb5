#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::vector<std::string> items(const TStrings& list) { return list.ToVector(); }

template <typename E, typename F>
void expectError(F action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message, message);
  }
}

TEST(TStringList, BadIndexRaisesWithTheIndexInTheMessage) {
  TStringList list;
  list.Add("a");
  expectError<EStringListError>([&] { list.Get(1); }, "List index out of bounds (1)");
  expectError<EStringListError>([&] { list.Get(-1); }, "List index out of bounds (-1)");
  expectError<EStringListError>([&] { list.Put(5, "x"); }, "List index out of bounds (5)");
  expectError<EStringListError>([&] { list.Delete(1); }, "List index out of bounds (1)");
  expectError<EStringListError>([&] { list.Insert(2, "x"); }, "List index out of bounds (2)");
  expectError<EStringListError>([&] { list.Objects(3); }, "List index out of bounds (3)");
  expectError<EStringListError>([&] { list.Exchange(0, 7); }, "List index out of bounds (7)");
  expectError<EStringListError>([&] { list.Move(0, 4); }, "List index out of bounds (4)");
  expectError<EStringListError>([&] { list.SetCapacity(0); }, "List capacity out of bounds (0)");
  EXPECT_EQ(items(list), std::vector<std::string>{"a"});
}

TEST(TStringList, SortedFindAndDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "banana"}) list.Add(s);
  EXPECT_EQ(items(list), (std::vector<std::string>{"Apple", "banana", "fig", "pear"}));

  struct Case {
    const char* s;
    bool found;
    Integer index;
  };
  const Case cases[] = {{"apple", true, 0}, {"FIG", true, 2}, {"pear", true, 3},
                        {"a", false, 0},    {"cherry", false, 2}, {"zz", false, 4}};
  for (const Case& c : cases) {
    Integer index = -5;
    EXPECT_EQ(list.Find(c.s, index), c.found) << c.s;
    EXPECT_EQ(index, c.index) << c.s;
  }
  EXPECT_EQ(list.IndexOf("BANANA"), 1);
  EXPECT_EQ(list.IndexOf("cherry"), -1);

  // dupIgnore: the existing index comes back and nothing is added.
  EXPECT_EQ(list.Add("FIG"), 2);
  EXPECT_EQ(list.Count(), 4);
  // dupError raises and leaves the list alone.
  list.SetDuplicates(dupError);
  try {
    list.Add("fig");
    ADD_FAILURE();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "String list does not allow duplicates");
  }
  EXPECT_EQ(list.Count(), 4);
  // dupAccept adds before the equal ones, and Find finds the first of them.
  list.SetDuplicates(dupAccept);
  EXPECT_EQ(list.Add("FIG"), 2);
  EXPECT_EQ(list.Add("fig"), 2);
  Integer index = -1;
  EXPECT_TRUE(list.Find("Fig", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(items(list), (std::vector<std::string>{"Apple", "banana", "fig", "FIG", "fig", "pear"}));

  // Positional changes are refused on a sorted list.
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  EXPECT_THROW(list.Put(0, "x"), EStringListError);
}

TEST(TStringList, CaseSensitiveResortsAndCompares) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (const char* s : {"b", "B", "a", "A"}) list.Add(s);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("b"), list.IndexOf("b"));
  EXPECT_NE(list.IndexOf("b"), list.IndexOf("B"));
  for (Integer i = 1; i < list.Count(); ++i) EXPECT_LE(AnsiCompareStr(list[i - 1], list[i]), 0);
}

TEST(TStringList, SortingOnAndOffAndObjectsFollowTheirStrings) {
  TStringList list;
  TObject o1, o2, o3;
  list.AddObject("c", &o3);
  list.AddObject("a", &o1);
  list.AddObject("b", &o2);
  list.SetSorted(true);
  EXPECT_EQ(items(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list.Objects(0), &o1);
  EXPECT_EQ(list.Objects(2), &o3);
  EXPECT_EQ(list.IndexOfObject(&o2), 1);
  list.SetSorted(false);
  list.Exchange(0, 2);
  list.Move(0, 1);
  EXPECT_EQ(items(list), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(list.Objects(1), &o3);
}

TEST(TStringList, InconsistentCustomSortEnds) {
  std::mt19937 random(7);
  const std::vector<std::pair<const char*, TStringListSortCompare>> comparisons = {
      {"random", [&](TStringList&, Integer, Integer) { return static_cast<Integer>(random() % 3) - 1; }},
      {"always less", [](TStringList&, Integer, Integer) { return -1; }},
      {"always greater", [](TStringList&, Integer, Integer) { return 1; }},
      {"index garbage", [](TStringList&, Integer a, Integer b) { return (a * 7 + b * 13) % 5 - 2; }},
      {"all equal", [](TStringList&, Integer, Integer) { return 0; }},
  };
  for (const auto& [name, compare] : comparisons) {
    TStringList list;
    for (int i = 0; i < 200; ++i) list.Add(IntToStr(i));
    list.CustomSort(compare);
    // Still a permutation of the same strings.
    std::vector<std::string> got = items(list);
    std::sort(got.begin(), got.end());
    std::vector<std::string> want;
    for (int i = 0; i < 200; ++i) want.push_back(IntToStr(i));
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << name;
  }

  // A comparison that removes strings while the sort runs must not make the
  // sort read past the end: it is not asked again once the list changed.
  TStringList list;
  for (int i = 0; i < 50; ++i) list.Add(IntToStr(i));
  int calls = 0;
  list.CustomSort([&](TStringList& l, Integer a, Integer b) {
    ++calls;
    l.Delete(0);
    return a - b;
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(list.Count(), 49);
}

TEST(TStringList, CustomSortIsStable) {
  TStringList list;
  for (const char* s : {"b1", "a1", "b2", "a2", "b3"}) list.Add(s);
  list.CustomSort([](TStringList& l, Integer a, Integer b) { return Integer(l[a][0]) - Integer(l[b][0]); });
  EXPECT_EQ(items(list), (std::vector<std::string>{"a1", "a2", "b1", "b2", "b3"}));
}

TEST(TStrings, CommaTextBothWays) {
  struct Case {
    std::vector<std::string> list;
    const char* text;
  };
  const Case written[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", "b"}, "a,b"},
      {{"a b", "c"}, "\"a b\",c"},
      {{"x,y"}, "\"x,y\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"a", "", "b"}, "a,,b"},
      {{"tab\there"}, "\"tab\there\""},
      {{"中文", "x"}, "中文,x"},
  };
  for (const Case& c : written) {
    TStringList list;
    list.AddStrings(c.list);
    EXPECT_EQ(list.CommaText(), c.text);
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(items(back), c.list) << c.text;
  }

  const Case read[] = {
      {{"a", "b", "c"}, "a b,c"},             // blanks separate items
      {{"a", "b"}, "  a ,  b  "},
      {{"a", "", "b"}, "a,,b"},
      {{"a", ""}, "a,"},                      // a final delimiter adds an empty item
      {{"x y", "z"}, "\"x y\",z"},
      {{"q\"q"}, "\"q\"\"q\""},
      {{"open"}, "\"open"},                   // missing closing quote takes the rest
      {{"a", "b"}, "\"a\"b"},
      {{}, ""},
      {{}, "   "},
  };
  for (const Case& c : read) {
    TStringList list;
    list.Add("old");
    list.SetCommaText(c.text);
    EXPECT_EQ(items(list), c.list) << "[" << c.text << "]";
  }
  TStringList nul;
  nul.SetCommaText(std::string_view("cut\0,more", 9));
  EXPECT_EQ(items(nul), std::vector<std::string>{"cut"});
}

TEST(TStrings, DelimitedTextUsesDelimiterAndQuote) {
  TStringList list;
  list.SetDelimiter(';');
  list.SetQuoteChar('\'');
  list.AddStrings(std::vector<std::string>{"a;b", "it's", "c,d", "e"});
  EXPECT_EQ(list.DelimitedText(), "'a;b';'it''s';c,d;e");
  TStringList back;
  back.SetDelimiter(';');
  back.SetQuoteChar('\'');
  back.SetDelimitedText(list.DelimitedText());
  EXPECT_EQ(items(back), items(list));
  // CommaText keeps to ',' and '"' whatever the delimiter.
  EXPECT_EQ(list.CommaText(), "a;b,it's,\"c,d\",e");
}

TEST(TStrings, NamesAndValues) {
  TStringList list;
  list.SetText("Port=COM1\r\nBaud = 2400\r\nnovalue\r\nEmpty=\r\nport=second");
  EXPECT_EQ(list.Names(0), "Port");
  EXPECT_EQ(list.Names(1), "Baud ");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Values("PORT"), "COM1");  // the first of equal names, any case
  EXPECT_EQ(list.Values("Baud "), " 2400");
  EXPECT_EQ(list.Values("Baud"), "");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.IndexOfName("empty"), 3);
  EXPECT_EQ(list.ValueFromIndex(0), "COM1");
  EXPECT_EQ(list.ValueFromIndex(2), "");

  list.SetValues("port", "COM2");  // replaces, keeps the place
  EXPECT_EQ(list[0], "port=COM2");
  list.SetValues("New", "v");  // appends
  EXPECT_EQ(list[list.Count() - 1], "New=v");
  list.SetValues("Empty", "");  // an empty value deletes the pair
  EXPECT_EQ(list.IndexOfName("Empty"), -1);

  list.SetNameValueSeparator(':');
  list.Clear();
  list.Add("a:1=2");
  EXPECT_EQ(list.Values("a"), "1=2");
  list.SetValueFromIndex(0, "3");
  EXPECT_EQ(list[0], "a:3");
}

TEST(TStrings, TextSplitsAtEveryLineBreakAndWritesCrLf) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc\r\n\r\nd", {"a", "b", "c", "", "d"}},
      {"\r\n", {""}},
      {"a\n\n", {"a", ""}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(items(list), c.lines) << c.text;
  }
  TStringList list;
  list.AddStrings(std::vector<std::string>{"x", "", "y"});
  EXPECT_EQ(list.Text(), "x\r\n\r\ny\r\n");
}

class ChangeCounter : public TObject {
 public:
  void Changing(TObject*) { ++changing; }
  void Changed(TObject*) { ++changed; }
  int changing = 0, changed = 0;
};

TEST(TStringList, ChangeEventsBracketChangesOncePerUpdate) {
  TStringList list;
  ChangeCounter counter;
  list.OnChanging = TNotifyEvent(&counter, &ChangeCounter::Changing);
  list.OnChange = TNotifyEvent(&counter, &ChangeCounter::Changed);
  list.Add("a");
  EXPECT_EQ(counter.changing, 1);
  EXPECT_EQ(counter.changed, 1);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.SetText("x\ny\nz");
  list.EndUpdate();
  EXPECT_EQ(counter.changed, 1);
  list.EndUpdate();
  EXPECT_EQ(counter.changing, 2);
  EXPECT_EQ(counter.changed, 2);

  // SetText and CommaText are one change each.
  list.SetCommaText("1,2,3");
  EXPECT_EQ(counter.changed, 3);
  list.EndUpdate();  // an unmatched EndUpdate is harmless
  EXPECT_EQ(counter.changed, 3);
}

TEST(TStrings, AssignAddStringsAndStreams) {
  TStringList source;
  TObject object;
  source.AddObject("one", &object);
  source.Add("two");
  source.SetDelimiter(';');

  TStringList copy;
  copy.Add("old");
  copy.Assign(source);
  EXPECT_EQ(items(copy), items(source));
  EXPECT_EQ(copy.Objects(0), &object);
  EXPECT_EQ(copy.Delimiter(), ';');
  TStringList viaPersistent;
  viaPersistent.Assign(static_cast<TPersistent*>(&source));
  EXPECT_EQ(items(viaPersistent), items(source));
  TPersistent notStrings;
  try {
    viaPersistent.Assign(&notStrings);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TPersistent to a TStringList");
  }
  copy.AddStrings(copy);  // adding itself doubles it
  EXPECT_EQ(copy.Count(), 4);
  EXPECT_TRUE(source.Equals(source));
  EXPECT_FALSE(copy.Equals(source));

  TMemoryStream stream;
  source.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 10);
  stream.SetPosition(0);
  TStringList loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(items(loaded), items(source));

  // A byte-order mark is not part of the first line.
  TStringStream withBom("\xEF\xBB\xBF" "first\nsecond");
  loaded.LoadFromStream(withBom);
  EXPECT_EQ(items(loaded), (std::vector<std::string>{"first", "second"}));
}

TEST(TList, OperationsAndErrors) {
  int a = 1, b = 2, c = 3;
  TList list;
  list.Add(&c);
  list.Add(&a);
  list.Add(nullptr);
  list.Insert(1, &b);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.IndexOf(&b), 1);
  list.Pack();
  EXPECT_EQ(list.Count(), 3);
  list.Sort([](Pointer x, Pointer y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
  EXPECT_EQ(list.First(), &a);
  EXPECT_EQ(list.Last(), &c);
  EXPECT_EQ(list.Remove(&b), 1);
  EXPECT_EQ(list.Remove(&b), -1);
  EXPECT_EQ(list.Extract(&c), &c);
  EXPECT_EQ(list.Count(), 1);
  try {
    list.Items(1);
    ADD_FAILURE();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (1)");
  }
  EXPECT_THROW(list.Insert(3, &a), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.SetCapacity(0), EListError);

  // An inconsistent comparison leaves some permutation and returns.
  TList many;
  std::vector<int> values(300);
  for (int& v : values) many.Add(&v);
  many.Sort([](Pointer, Pointer) { return std::rand() % 3 - 1; });
  EXPECT_EQ(many.Count(), 300);
  for (int& v : values) EXPECT_GE(many.IndexOf(&v), 0);
}

}  // namespace
