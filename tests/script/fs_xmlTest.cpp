#include "script/fs_xml.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string Save(const TfsXMLDocument& doc) {
  TStringStream s;
  doc.SaveToStream(s);
  return s.DataString();
}

void Load(TfsXMLDocument& doc, const std::string& text) {
  TStringStream s(text);
  doc.LoadFromStream(s);
}

TEST(TfsXMLTest, TreesSurviveAWriteAndARead) {
  TfsXMLDocument doc;
  doc.Root()->Name = "program";
  TfsXMLItem* var = doc.Root()->Add();
  var->Name = "var";
  var->Text = "text=\"" + EscapeScriptXml("a \"quoted\" <b> & &quot; line\r\n") + "\" pos=\"1:2\"";
  doc.Root()->Add()->Name = "empty";
  TfsXMLItem* nested = var->Add();
  nested->Name = "type";
  nested->Text = " text=\"Integer\"";

  const std::string flat = Save(doc);
  EXPECT_EQ(flat.find('\n'), std::string::npos);
  EXPECT_NE(flat.find("<empty/>"), std::string::npos);
  EXPECT_NE(flat.find("<type text=\"Integer\"/>"), std::string::npos);  // no second blank

  TfsXMLDocument again;
  Load(again, flat);
  ASSERT_EQ(again.Root()->Count(), 2);
  EXPECT_EQ(again.Root()->Items(0)->Prop("text"), "a \"quoted\" <b> & &quot; line\r\n");
  EXPECT_EQ(again.Root()->Items(0)->Items(0)->Prop("TEXT"), "Integer");
  EXPECT_EQ(Save(again), flat);

  doc.AutoIndent = true;
  const std::string indented = Save(doc);
  EXPECT_NE(indented.find("\r\n  <var "), std::string::npos);
  EXPECT_NE(indented.find("\r\n    <type"), std::string::npos);
  TfsXMLDocument fromIndented;
  Load(fromIndented, indented);
  EXPECT_EQ(Save(fromIndented), flat);
}

TEST(TfsXMLTest, AttributesNeedABlankBeforeTheirName) {
  TfsXMLItem item;
  item.Text = "pos1=\"9:9\" pos=\"1:5\" xtext=\"no\"";
  EXPECT_EQ(item.Prop("pos"), "1:5");
  EXPECT_EQ(item.Prop("pos1"), "9:9");
  EXPECT_EQ(item.Prop("text"), "");
  EXPECT_EQ(item.Prop("missing"), "");
}

TEST(TfsXMLTest, ReaderFormats) {
  struct {
    const char* text;
    bool valid;
    const char* root;
    int children;
  } cases[] = {
      {"<?xml version=\"1.0\"?><a><b/><c x=\"1\" /></a>", true, "a", 2},
      {"<?xml version=\"1.0\"?><!-- <not> a tag --><a><b></B></a>", true, "a", 1},
      {"<?xml version=\"1.0\"?><a><b/>", true, "a", 1},  // cut off after a complete element
      {"<?xml?>text outside tags<a/>", true, "a", 0},
      {"<a/>", false, "", 0},
      {"<?xml?><a><b></c></a>", false, "", 0},
      {"<?xml?><a <b/></a>", false, "", 0},
      {"<?xml?><a><b", false, "", 0},
  };
  for (const auto& c : cases) {
    TfsXMLDocument doc;
    if (!c.valid) {
      EXPECT_THROW(Load(doc, c.text), Exception) << c.text;
      continue;
    }
    ASSERT_NO_THROW(Load(doc, c.text)) << c.text;
    EXPECT_EQ(doc.Root()->Name, c.root) << c.text;
    EXPECT_EQ(doc.Root()->Count(), c.children) << c.text;
  }
}

TEST(TfsXMLTest, ReaderLeavesTheStreamAfterWhatItConsumed) {
  std::string text = "<?xml?><a>";
  for (int i = 0; i < 800; ++i) text += "<item n=\"" + std::to_string(i) + "\"/>";
  text += "</a>TAIL";
  TStringStream s(text);
  TfsXMLDocument doc;
  doc.LoadFromStream(s);
  EXPECT_EQ(doc.Root()->Count(), 800);
  EXPECT_EQ(doc.Root()->Items(799)->Prop("n"), "799");
  EXPECT_EQ(s.Position(), static_cast<Int64>(text.size() - 4));
}

TEST(TfsXMLTest, ItemOperations) {
  TfsXMLItem root;
  TfsXMLItem* a = root.FindItem("A");
  EXPECT_EQ(root.Find("a"), 0);
  EXPECT_EQ(root.FindItem("a"), a);
  TfsXMLItem* b = a->Add();
  b->Name = "b";
  b->Data = 7;
  EXPECT_EQ(b->Root(), &root);

  root.AddItem(b);  // moves from a to root
  EXPECT_EQ(a->Count(), 0);
  EXPECT_EQ(b->Parent(), &root);
  auto* first = new TfsXMLItem;
  first->Name = "first";
  root.InsertItem(0, first);
  EXPECT_EQ(root.Items(0)->Name, "first");

  TfsXMLItem copy;
  copy.CopyFrom(root);
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Items(2)->Data, 7);
  EXPECT_THROW(copy.Items(3), EListError);

  delete first;  // leaves its parent's list
  EXPECT_EQ(root.Count(), 2);
}

std::string Nested(int levels) {
  std::string text = "<?xml version=\"1.0\"?>";
  for (int i = 0; i < levels; ++i) text += "<a>";
  return text;  // the end of the stream closes them
}

TEST(TfsXMLTest, NestingIsBoundedOnReadAndWrite) {
  TfsXMLDocument doc;
  Load(doc, Nested(fsMaxXMLDepth));
  const std::string saved = Save(doc);
  Load(doc, saved);
  try {
    Load(doc, Nested(fsMaxXMLDepth + 1));
    FAIL() << "too deep a document loaded";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Invalid file format");
  }
  try {
    Load(doc, Nested(1000000));
    FAIL() << "a million levels loaded";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Invalid file format");
  }

  // A tree built in memory beyond the limit is refused by the writer; copying
  // and freeing it cost no stack.
  TfsXMLDocument deep;
  TfsXMLItem* leaf = deep.Root();
  leaf->Name = "a";
  for (int i = 0; i < 200000; ++i) {
    leaf = leaf->Add();
    leaf->Name = "a";
  }
  EXPECT_THROW(Save(deep), Exception);
  TfsXMLItem copy;
  copy.CopyFrom(*deep.Root());
  EXPECT_EQ(copy.Count(), 1);
}

TEST(TfsXMLTest, CyclesAreRefused) {
  TfsXMLItem root;
  TfsXMLItem* a = root.Add();
  TfsXMLItem* b = a->Add();
  b->Name = "b";
  EXPECT_THROW(a->AddItem(a), Exception);
  EXPECT_THROW(b->AddItem(&root), Exception);
  EXPECT_THROW(b->InsertItem(0, a), Exception);
  EXPECT_EQ(b->Parent(), a);  // the refused moves changed nothing
  EXPECT_EQ(a->Parent(), &root);

  EXPECT_THROW(root.CopyFrom(*b), Exception);  // clearing root would free b
  EXPECT_EQ(root.Items(0)->Items(0), b);
  TfsXMLItem other;
  other.CopyFrom(*a);
  EXPECT_EQ(other.Items(0)->Name, "b");
  // From an ancestor: a copy of the tree as it stands once a is cleared,
  // not an endless copy of the copy.
  a->CopyFrom(root);
  ASSERT_EQ(a->Count(), 1);
  EXPECT_EQ(a->Items(0)->Count(), 0);
}

TEST(TfsXMLTest, EscapesAreSymmetric) {
  const std::string samples[] = {"plain", "&", "&#10;", "&quot;", "\"<>\r\n", "中文 & \"x\""};
  for (const auto& s : samples) EXPECT_EQ(UnescapeScriptXml(EscapeScriptXml(s)), s) << s;
  EXPECT_EQ(UnescapeScriptXml("&#65;&#20013;&quot;&amp;&#x;"), "A中\"&amp;&#x;");
  EXPECT_EQ(EscapeScriptXml("a&b"), "a&#38;b");
}

}  // namespace
