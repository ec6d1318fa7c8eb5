#include "script/fs_iclassesrtti.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/rtl/ObjectHandles.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

namespace {

TEST(ClassesBindingTest, StringListsInPascalAndJScript) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var l: TStringList; i: Integer;
begin
  l := TStringList.Create;
  l.Add('pear'); l.Add('apple'); l.Add('fig');
  l.Sorted := True;
  Log(l.CommaText);
  if l.Find('fig', i) then Log(i);
  Log(l[2] + ' ' + l.Strings[0]);
  l.Values['k'] := 'v'; Log(l.Values['k']); Log(l.IndexOfName('k'));
  Log(l.Count); Log(l.ClassName);
  l.Free;
end.)"),
            "apple,fig,pear 1 pear apple v 2 4 TStringList");
  EXPECT_EQ(r.Run("JScript", R"(var l = new TStringList;
l.Text = "a\nb";
l.Insert(0, "z");
Log(l.Count); Log(l[0] + l[2]);
l.Free();)"),
            "3 zb");
}

TEST(ClassesBindingTest, StreamsReadWriteAndSeek) {
  Runner r;
  const std::string file = ::testing::TempDir() + "script_stream.bin";
  const std::string source = R"(var f: TFileStream; m: TMemoryStream; s: String; n: Integer;
begin
  f := TFileStream.Create(')" + file + R"(', fmCreate);
  Log(f.Write('abcdefgh', 8));
  f.Free;
  f := TFileStream.Create(')" + file + R"(', fmOpenRead);
  f.Seek(-3, soFromEnd);
  n := f.Read(s, 10);
  Log(n); Log(s);
  m := TMemoryStream.Create;
  f.Position := 0;
  Log(m.CopyFrom(f, 4)); Log(m.Size);
  Log(m.Write('xyz', 100));
  f.Free; m.Free;
end.)";
  EXPECT_EQ(r.Run("PascalScript", source), "8 3 fgh 4 4 3");
  std::remove(file.c_str());
}

TEST(ClassesBindingTest, FreeOnlyWhatTheScriptMade) {
  Runner r;
  TStringList hostList;
  r.Script->DeclaredBy = fsDeclaredByModules;
  r.Script->DeclareObject("HostList", &hostList);
  r.Script->DeclaredBy = fsDeclaredByScript;
  EXPECT_EQ(r.Run("PascalScript", "begin HostList.Free end."),
            "raised: Cannot free TStringList: the script did not create it");
  EXPECT_EQ(r.Run("PascalScript", "begin HostList.Add('x'); Log(HostList.Count) end."), "1");
  // A freed object's handle is dead everywhere.
  EXPECT_EQ(r.Run("PascalScript", R"(var a, b: TStringList;
begin a := TStringList.Create; b := a; a.Free; b.Add('x') end.)").substr(0, 8),
            "raised: ");
  // Duplicates outside its enumeration is refused.
  EXPECT_EQ(r.Run("PascalScript", R"(var l: TStringList;
begin l := TStringList.Create; try l.Duplicates := 7 finally l.Free end end.)"),
            "raised: Invalid value 7 for Duplicates");
}

TEST(ClassesBindingTest, XmlItemsAndLists) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var d: TfsXMLDocument; i: TfsXMLItem; l: TList;
begin
  d := TfsXMLDocument.Create;
  d.Root.Name := 'root';
  i := d.Root.Add; i.Name := 'a'; i.Text := 'x="1"';
  Log(d.Root.Count); Log(d.Root[0].Prop('x')); Log(d.Root.Find('A'));
  l := TList.Create;
  l.Add(i); l.Add(d);
  Log(l.Count); Log(l.IndexOf(d));
  l.Free; d.Free;
end.)"),
            "1 1 0 2 1");
}

}  // namespace
