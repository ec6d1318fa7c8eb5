// The common dialogs: open and save as a file browser form of our own, and
// colour, font, print and printer set-up as small forms. Execute shows the
// dialog modal, or hands it to the dialog hook (SetDialogHook) so that tests
// answer it instead of a person.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"

VXN_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
         ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
         ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
         ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden)
using TOpenOptions = TSet<TOpenOption>;

class TCommonDialog : public TComponent {
  VXN_DECLARE_CLASS(TCommonDialog)

 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  virtual bool Execute() = 0;
  std::string Title() const { return Title_; }
  void SetTitle(const std::string& Value) { Title_ = Value; }
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  // Shows Form modal (or passes it to the dialog hook) and answers the
  // modal result; OnShow and OnClose frame it.
  TModalResult Run(TForm* Form);

 private:
  std::string Title_;
};

// One entry of a filter string "Description|*.a;*.b|...".
struct TFileFilter {
  std::string Description;
  std::vector<std::string> Patterns;
};
std::vector<TFileFilter> ParseFileFilter(const std::string& Filter);
// Case-insensitive wildcard match of a file name ('*' and '?').
bool MatchesMask(const std::string& Name, const std::string& Mask);

class TOpenDialog;

// The browser form: the folder in a label, its sub-folders and the files
// of the chosen type in two lists, a file-name field and a type box.
class TFileDialogForm : public TForm {
  VXN_DECLARE_CLASS(TFileDialogForm)

 public:
  TFileDialogForm(TComponent* AOwner, TOpenDialog* Dialog);

  std::string Folder() const { return Folder_; }
  void ChangeFolder(const std::string& Path);
  void SetFilterIndex(Integer Index);  // 1-based
  TListBox* FolderList() const { return Folders_; }
  TListBox* FileList() const { return Files_; }
  TEdit* FileNameEdit() const { return FileName_; }
  TComboBox* FileTypeBox() const { return Types_; }
  TButton* OkButton() const { return Ok_; }
  // What the OK button does: navigates, filters or accepts the name (after
  // the checks the options ask for); sets ModalResult only on acceptance.
  void Accept();
  std::string Result() const { return Result_; }
  Integer ResultFilterIndex() const { return FilterIndex_; }

 private:
  void Refill();
  void OkClick(TObject* Sender);
  void FolderDblClick(TObject* Sender);
  void FileClick(TObject* Sender);
  void FileDblClick(TObject* Sender);
  void TypeChange(TObject* Sender);

  TOpenDialog* Dialog_;
  std::vector<TFileFilter> Filters_;
  std::vector<std::string> CustomPatterns_;
  std::string Folder_;
  std::string Result_;
  Integer FilterIndex_ = 1;
  TLabel* FolderLabel_;
  TListBox* Folders_;
  TListBox* Files_;
  TEdit* FileName_;
  TComboBox* Types_;
  TButton* Ok_;
  TButton* Cancel_;
};

class TOpenDialog : public TCommonDialog {
  VXN_DECLARE_CLASS(TOpenDialog)

 public:
  explicit TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

  std::string DefaultExt() const { return DefaultExt_; }
  void SetDefaultExt(const std::string& Value) { DefaultExt_ = Value; }
  std::string FileName() const { return FileName_; }
  void SetFileName(const std::string& Value) { FileName_ = Value; }
  std::string Filter() const { return Filter_; }
  void SetFilter(const std::string& Value) { Filter_ = Value; }
  Integer FilterIndex() const { return FilterIndex_; }
  void SetFilterIndex(Integer Value) { FilterIndex_ = Value; }
  std::string InitialDir() const { return InitialDir_; }
  void SetInitialDir(const std::string& Value) { InitialDir_ = Value; }
  TOpenOptions Options() const { return Options_; }
  void SetOptions(TOpenOptions Value) { Options_ = Value; }
  bool Execute() override;
  virtual bool IsSaveDialog() const { return false; }

 private:
  std::string DefaultExt_;
  std::string FileName_;
  std::string Filter_;
  std::string InitialDir_;
  Integer FilterIndex_ = 1;
  TOpenOptions Options_ = TOpenOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
  VXN_DECLARE_CLASS(TSaveDialog)

 public:
  using TOpenDialog::TOpenDialog;
  bool IsSaveDialog() const override { return true; }
};

// Sixteen basic colours to pick from.
class TColorDialog : public TCommonDialog {
  VXN_DECLARE_CLASS(TColorDialog)

 public:
  using TCommonDialog::TCommonDialog;
  TColor Color() const { return Color_; }
  void SetColor(TColor Value) { Color_ = Value; }
  bool Execute() override;

 private:
  TColor Color_ = clBlack;
};

// Font name and size.
class TFontDialog : public TCommonDialog {
  VXN_DECLARE_CLASS(TFontDialog)

 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  TFont* Font() const { return Font_.get(); }
  void SetFont(TFont* Value) { Font_->Assign(Value); }
  bool Execute() override;

 private:
  std::unique_ptr<TFont> Font_;
};

// The number of copies and the page range.
class TPrintDialog : public TCommonDialog {
  VXN_DECLARE_CLASS(TPrintDialog)

 public:
  using TCommonDialog::TCommonDialog;
  Integer Copies() const { return Copies_; }
  void SetCopies(Integer Value) { Copies_ = Value; }
  Integer FromPage() const { return FromPage_; }
  void SetFromPage(Integer Value) { FromPage_ = Value; }
  Integer ToPage() const { return ToPage_; }
  void SetToPage(Integer Value) { ToPage_ = Value; }
  bool Execute() override;

 private:
  Integer Copies_ = 1;
  Integer FromPage_ = 0;
  Integer ToPage_ = 0;
};

// Confirms the printer; the choice of printer itself is the printer object's.
class TPrinterSetupDialog : public TCommonDialog {
  VXN_DECLARE_CLASS(TPrinterSetupDialog)

 public:
  using TCommonDialog::TCommonDialog;
  bool Execute() override;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterDialogsClasses();
