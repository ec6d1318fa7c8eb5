#include "platform/forms/Dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/MessageDialogs.h"
#include "tests/support/TempFolder.h"

using namespace formstest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(TStrings* S) {
  std::vector<std::string> v;
  for (Integer i = 0; i < S->Count(); ++i) v.push_back(S->Strings(i));
  return v;
}

// A folder with data files, a text file and a sub-folder; the dialog hook
// drives the file form with Drive and answers questions from Answers.
class DialogsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    fs::create_directories(Dir / "sub");
    for (const char* f : {"a.dat", "b.DAT", "c.txt", ".hidden.dat"}) std::ofstream(Dir / f) << "x";
    previous_ = SetDialogHook([this](TForm* Form) -> TModalResult {
      if (auto* files = dynamic_cast<TFileDialogForm*>(Form)) {
        Drive(files);
        return files->ModalResult();
      }
      Questions.push_back(Form->Caption());
      if (Answers.empty()) return mrOk;
      TModalResult a = Answers.front();
      Answers.pop_front();
      return a;
    });
  }
  void TearDown() override {
    SetDialogHook(previous_);
    FormsTest::TearDown();
  }

  // Types a name and presses OK.
  static void Enter(TFileDialogForm* F, const std::string& Name) {
    F->FileNameEdit()->SetText(Name);
    F->Accept();
  }

  TempFolder folder_{"dialogs"};
  fs::path Dir = folder_.Path();
  std::function<void(TFileDialogForm*)> Drive;
  std::deque<TModalResult> Answers;
  std::vector<std::string> Questions;

 private:
  TDialogHook previous_;
};

TEST(FileFilterTest, ParsesPairsAndMatchesMasks) {
  auto f = ParseFileFilter("Data File(*.dat)|*.dat|Pictures|*.bmp; *.PNG|All files|*.*");
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].Description, "Data File(*.dat)");
  EXPECT_EQ(f[1].Patterns, (std::vector<std::string>{"*.bmp", "*.PNG"}));
  EXPECT_TRUE(ParseFileFilter("").empty());
  EXPECT_EQ(ParseFileFilter("Odd|").front().Patterns, (std::vector<std::string>{"*"}));
  struct Case {
    const char* Name;
    const char* Mask;
    bool Match;
  } cases[] = {{"radio.dat", "*.dat", true}, {"RADIO.DAT", "*.dat", true}, {"radio.dat.bak", "*.dat", false},
               {"noext", "*.*", true},       {"a1.dat", "a?.dat", true},   {"a12.dat", "a?.dat", false},
               {"x.png", "*.bmp", false},    {"abcabd", "*abd", true}};
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.Name, c.Mask), c.Match) << c.Name << " " << c.Mask;
}

TEST_F(DialogsTest, OpenDialogFiltersNavigatesAndInsistsOnAnExistingFile) {
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Data File(*.dat)|*.dat|All files|*.*");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(TOpenOptions{ofHideReadOnly, ofFileMustExist, ofPathMustExist});
  dialog.SetTitle("Open data");
  Drive = [&](TFileDialogForm* F) {
    EXPECT_EQ(F->Caption(), "Open data");
    EXPECT_EQ(Lines(F->FileList()->Items()), (std::vector<std::string>{"a.dat", "b.DAT"}));
    EXPECT_EQ(Lines(F->FolderList()->Items()), (std::vector<std::string>{"..", "sub"}));
    F->SetFilterIndex(2);
    EXPECT_EQ(Lines(F->FileList()->Items()), (std::vector<std::string>{"a.dat", "b.DAT", "c.txt"}));
    Enter(F, "*.txt");  // a typed mask filters
    EXPECT_EQ(Lines(F->FileList()->Items()), (std::vector<std::string>{"c.txt"}));
    Enter(F, "sub");  // a folder name opens the folder
    EXPECT_EQ(fs::path(F->Folder()).filename(), "sub");
    EXPECT_TRUE(F->FileList()->Items()->Count() == 0);
    F->ChangeFolder("..");
    Enter(F, "missing.dat");
    EXPECT_EQ(F->ModalResult(), mrNone);  // refused with a message
    EXPECT_EQ(Questions.size(), 1u);
    Enter(F, "b.DAT");
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(fs::path(dialog.FileName()), Dir / "b.DAT");
  EXPECT_EQ(dialog.FilterIndex(), 2);

  // Cancelled: the file name stays as it was.
  Drive = [](TFileDialogForm* F) { F->SetModalResult(mrCancel); };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(fs::path(dialog.FileName()), Dir / "b.DAT");
}

TEST_F(DialogsTest, SaveDialogAsksBeforeReplacingAFile) {
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Data File(*.dat)|*.dat");
  dialog.SetDefaultExt("dat");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(TOpenOptions{ofOverwritePrompt, ofHideReadOnly});
  Answers = {mrNo, mrYes};
  Drive = [&](TFileDialogForm* F) {
    EXPECT_EQ(F->Caption(), "Save As");
    Enter(F, "a");  // becomes a.dat, which exists: "No" keeps the dialog up
    EXPECT_EQ(F->ModalResult(), mrNone);
    EXPECT_EQ(Questions.size(), 1u);
    Enter(F, "a");  // "Yes" replaces
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(Questions.size(), 2u);
  EXPECT_EQ(fs::path(dialog.FileName()), Dir / "a.dat");

  // A new name needs no question; the start folder is the one of FileName.
  Questions.clear();
  Drive = [&](TFileDialogForm* F) {
    EXPECT_EQ(F->FileNameEdit()->GetText(), "a.dat");
    Enter(F, "new");
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(Questions.empty());
  EXPECT_EQ(fs::path(dialog.FileName()), Dir / "new.dat");
}

TEST_F(DialogsTest, SmallDialogsTakeTheirAnswers) {
  TColorDialog color(nullptr);
  color.SetColor(clBlue);
  TFontDialog font(nullptr);
  TPrintDialog print(nullptr);
  TPrinterSetupDialog setup(nullptr);
  SetDialogHook([](TForm* Form) -> TModalResult {
    if (auto* swatch = dynamic_cast<TPanel*>(Form->FindComponent("Color9"))) swatch->OnClick(swatch);
    if (auto* e = dynamic_cast<TEdit*>(Form->FindComponent("FontName"))) e->SetText("Liberation Sans");
    if (auto* e = dynamic_cast<TEdit*>(Form->FindComponent("FontSize"))) e->SetText("12");
    if (auto* e = dynamic_cast<TEdit*>(Form->FindComponent("Copies"))) e->SetText("3");
    if (auto* e = dynamic_cast<TEdit*>(Form->FindComponent("FromPage"))) e->SetText("5");
    if (auto* e = dynamic_cast<TEdit*>(Form->FindComponent("ToPage"))) e->SetText("2");
    return mrOk;
  });
  ASSERT_TRUE(color.Execute());
  EXPECT_EQ(color.Color(), clRed);
  ASSERT_TRUE(font.Execute());
  EXPECT_EQ(font.Font()->GetName(), "Liberation Sans");
  EXPECT_EQ(font.Font()->GetSize(), 12);
  ASSERT_TRUE(print.Execute());
  EXPECT_EQ(print.Copies(), 3);
  EXPECT_EQ(print.FromPage(), 2);  // a reversed range is put in order
  EXPECT_EQ(print.ToPage(), 5);
  EXPECT_TRUE(setup.Execute());

  SetDialogHook([](TForm*) -> TModalResult { return mrCancel; });
  color.SetColor(clBlue);
  EXPECT_FALSE(color.Execute());
  EXPECT_EQ(color.Color(), clBlue);
  EXPECT_FALSE(print.Execute());
  EXPECT_EQ(print.Copies(), 3);
}

}  // namespace
