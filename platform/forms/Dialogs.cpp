#include "platform/forms/Dialogs.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/forms/MessageDialogs.h"
#include "platform/rtl/SysUtils.h"

namespace fs = std::filesystem;

// ===========================================================================

VXN_IMPLEMENT_CLASS(TCommonDialog, TComponent)

TModalResult TCommonDialog::Run(TForm* Form) {
  if (OnShow) OnShow(this);
  // The hook is read by swapping it out and back: MessageDialogs keeps it.
  TDialogHook hook = SetDialogHook(nullptr);
  SetDialogHook(hook);
  TModalResult result = hook ? hook(Form) : Form->ShowModal();
  if (OnClose) OnClose(this);
  return result;
}

std::vector<TFileFilter> ParseFileFilter(const std::string& Filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= Filter.size()) {
    size_t bar = Filter.find('|', start);
    if (bar == std::string::npos) bar = Filter.size();
    parts.push_back(Filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<TFileFilter> result;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TFileFilter f{parts[i], {}};
    size_t s = 0;
    const std::string& masks = parts[i + 1];
    while (s <= masks.size()) {
      size_t semi = masks.find(';', s);
      if (semi == std::string::npos) semi = masks.size();
      std::string m = Trim(masks.substr(s, semi - s));
      if (!m.empty()) f.Patterns.push_back(m);
      s = semi + 1;
    }
    if (f.Patterns.empty()) f.Patterns.push_back("*");
    result.push_back(std::move(f));
  }
  return result;
}

bool MatchesMask(const std::string& Name, const std::string& Mask) {
  // "*.*" means every file, also those without a dot.
  if (Mask == "*.*" || Mask == "*") return true;
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
  while (n < Name.size()) {
    if (m < Mask.size() && (Mask[m] == '?' || lower(Mask[m]) == lower(Name[n]))) {
      ++n;
      ++m;
    } else if (m < Mask.size() && Mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (starM != std::string::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < Mask.size() && Mask[m] == '*') ++m;
  return m == Mask.size();
}

// ===========================================================================
// TFileDialogForm

VXN_IMPLEMENT_CLASS(TFileDialogForm, TForm)

namespace {

template <typename T>
T* Place(TForm* Form, const char* Name, Integer L, Integer T_, Integer W, Integer H) {
  auto* c = new T(Form);
  c->SetName(Name);
  c->SetParent(Form);
  c->SetBounds(L, T_, W, H);
  return c;
}

bool HasWildcard(const std::string& S) { return S.find_first_of("*?") != std::string::npos; }

}  // namespace

TFileDialogForm::TFileDialogForm(TComponent* AOwner, TOpenDialog* Dialog) : TForm(AOwner), Dialog_(Dialog) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetBounds(0, 0, 440, 330);
  SetCaption(!Dialog->Title().empty() ? Dialog->Title() : (Dialog->IsSaveDialog() ? "Save As" : "Open"));
  FolderLabel_ = Place<TLabel>(this, "FolderLabel", 8, 8, 420, 15);
  FolderLabel_->SetAutoSize(false);
  Folders_ = Place<TListBox>(this, "Folders", 8, 28, 160, 190);
  Files_ = Place<TListBox>(this, "Files", 176, 28, 250, 190);
  auto* nameLabel = Place<TLabel>(this, "FileNameLabel", 8, 230, 80, 15);
  nameLabel->SetCaption("File &name:");
  FileName_ = Place<TEdit>(this, "FileName", 96, 226, 240, 21);
  nameLabel->SetFocusControl(FileName_);
  auto* typeLabel = Place<TLabel>(this, "FileTypeLabel", 8, 262, 80, 15);
  typeLabel->SetCaption("Files of &type:");
  Types_ = Place<TComboBox>(this, "FileType", 96, 258, 240, 21);
  Types_->SetStyle(csDropDownList);
  typeLabel->SetFocusControl(Types_);
  Ok_ = Place<TButton>(this, "OK", 346, 225, 80, 25);
  Ok_->SetCaption(Dialog->IsSaveDialog() ? "&Save" : "&Open");
  Ok_->SetDefault(true);
  Cancel_ = Place<TButton>(this, "Cancel", 346, 257, 80, 25);
  Cancel_->SetCaption("Cancel");
  Cancel_->SetCancel(true);
  Cancel_->SetModalResult(mrCancel);

  Ok_->OnClick = TNotifyEvent(this, &TFileDialogForm::OkClick);
  Folders_->OnDblClick = TNotifyEvent(this, &TFileDialogForm::FolderDblClick);
  Files_->OnClick = TNotifyEvent(this, &TFileDialogForm::FileClick);
  Files_->OnDblClick = TNotifyEvent(this, &TFileDialogForm::FileDblClick);
  Types_->OnChange = TNotifyEvent(this, &TFileDialogForm::TypeChange);

  Filters_ = ParseFileFilter(Dialog->Filter());
  if (Filters_.empty()) Filters_.push_back({"All files (*.*)", {"*.*"}});
  for (const TFileFilter& f : Filters_) Types_->Items()->Add(f.Description);

  // The start folder: the one of the given file name, else InitialDir, else
  // the current one.
  std::error_code ec;
  fs::path given(Dialog->FileName());
  std::string start = Dialog->InitialDir();
  if (given.has_parent_path() && fs::is_directory(given.parent_path(), ec)) start = given.parent_path().string();
  if (start.empty() || !fs::is_directory(start, ec)) start = fs::current_path(ec).string();
  FileName_->SetText(given.filename().string());
  FilterIndex_ = std::clamp<Integer>(Dialog->FilterIndex(), 1, static_cast<Integer>(Filters_.size()));
  Types_->SetItemIndex(FilterIndex_ - 1);
  ChangeFolder(start);
}

void TFileDialogForm::ChangeFolder(const std::string& Path) {
  std::error_code ec;
  fs::path p(Path);
  if (p.is_relative() && !Folder_.empty()) p = fs::path(Folder_) / p;
  p = fs::weakly_canonical(fs::absolute(p, ec), ec);
  if (ec || !fs::is_directory(p, ec)) return;
  Folder_ = p.string();
  FolderLabel_->SetCaption(Folder_);
  Refill();
}

void TFileDialogForm::SetFilterIndex(Integer Index) {
  if (Index < 1 || Index > static_cast<Integer>(Filters_.size())) return;
  FilterIndex_ = Index;
  CustomPatterns_.clear();
  if (Types_->ItemIndex() != Index - 1) Types_->SetItemIndex(Index - 1);
  Refill();
}

void TFileDialogForm::Refill() {
  const std::vector<std::string>& patterns =
      CustomPatterns_.empty() ? Filters_[static_cast<size_t>(FilterIndex_ - 1)].Patterns : CustomPatterns_;
  std::vector<std::string> folders, files;
  std::error_code ec;
  for (fs::directory_iterator it(Folder_, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden, as the file manager shows them
    std::error_code e2;
    if (it->is_directory(e2)) {
      folders.push_back(name);
    } else if (std::any_of(patterns.begin(), patterns.end(), [&](const std::string& m) { return MatchesMask(name, m); })) {
      files.push_back(name);
    }
  }
  auto byName = [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; };
  std::sort(folders.begin(), folders.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  Folders_->Items()->Clear();
  if (fs::path(Folder_).has_parent_path() && fs::path(Folder_) != fs::path(Folder_).root_path())
    Folders_->Items()->Add("..");
  for (const std::string& f : folders) Folders_->Items()->Add(f);
  Files_->Items()->Clear();
  for (const std::string& f : files) Files_->Items()->Add(f);
}

void TFileDialogForm::Accept() {
  std::string name = Trim(FileName_->GetText());
  if (name.empty()) return;
  std::error_code ec;
  fs::path p(name);
  if (p.is_relative()) p = fs::path(Folder_) / p;
  if (HasWildcard(name)) {
    // A mask typed into the name field filters the list instead.
    if (p.has_parent_path()) ChangeFolder(p.parent_path().string());
    CustomPatterns_ = {p.filename().string()};
    Refill();
    FileName_->SetText("");
    return;
  }
  if (fs::is_directory(p, ec)) {
    ChangeFolder(p.string());
    FileName_->SetText("");
    return;
  }
  TOpenOptions options = Dialog_->Options();
  if (!p.has_extension() && !Dialog_->DefaultExt().empty()) {
    std::string ext = Dialog_->DefaultExt();
    if (ext[0] != '.') ext = "." + ext;
    p += ext;
  }
  if (options.Contains(ofPathMustExist) && !fs::is_directory(p.parent_path(), ec)) {
    MessageDlg(p.parent_path().string() + "\nThe path does not exist.", mtWarning, TMsgDlgButtons{mbOK});
    return;
  }
  bool exists = fs::exists(p, ec);
  if (options.Contains(ofFileMustExist) && !exists) {
    MessageDlg(p.filename().string() + "\nFile not found.\nCheck the file name and try again.", mtWarning,
               TMsgDlgButtons{mbOK});
    return;
  }
  if (Dialog_->IsSaveDialog() && options.Contains(ofOverwritePrompt) && exists) {
    if (MessageDlg(p.filename().string() + " already exists.\nDo you want to replace it?", mtWarning,
                   TMsgDlgButtons{mbYes, mbNo}) != mrYes)
      return;
  }
  Result_ = p.string();
  SetModalResult(mrOk);
}

void TFileDialogForm::OkClick(TObject*) { Accept(); }

void TFileDialogForm::FolderDblClick(TObject*) {
  Integer i = Folders_->ItemIndex();
  if (i < 0) return;
  std::string sub = Folders_->Items()->Strings(i);
  ChangeFolder(sub == ".." ? fs::path(Folder_).parent_path().string() : (fs::path(Folder_) / sub).string());
}

void TFileDialogForm::FileClick(TObject*) {
  Integer i = Files_->ItemIndex();
  if (i >= 0) FileName_->SetText(Files_->Items()->Strings(i));
}

void TFileDialogForm::FileDblClick(TObject* Sender) {
  FileClick(Sender);
  Accept();
}

void TFileDialogForm::TypeChange(TObject*) { SetFilterIndex(Types_->ItemIndex() + 1); }

// ===========================================================================

VXN_IMPLEMENT_CREATABLE_CLASS(TOpenDialog, TCommonDialog)
VXN_PUBLISH(TOpenDialog) {
  P.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  P.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  P.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  P.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  P.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  P.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
      .Default(static_cast<int64_t>(TOpenOptions{ofHideReadOnly, ofEnableSizing}.Bits()));
  P.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

bool TOpenDialog::Execute() {
  std::unique_ptr<TFileDialogForm> form(new TFileDialogForm(nullptr, this));
  TModalResult result = Run(form.get());
  if (result != mrOk || form->Result().empty()) return false;
  FileName_ = form->Result();
  FilterIndex_ = form->ResultFilterIndex();
  return true;
}

VXN_IMPLEMENT_CREATABLE_CLASS(TSaveDialog, TOpenDialog)

// ===========================================================================
// The small dialogs: a form with OK and Cancel at the bottom right.

namespace {

std::unique_ptr<TForm> SmallDialog(const std::string& Caption, Integer W, Integer H) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetBounds(0, 0, W, H);
  form->SetCaption(Caption);
  auto* ok = Place<TButton>(form.get(), "OK", W - 180, H - 70, 80, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Place<TButton>(form.get(), "Cancel", W - 92, H - 70, 80, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  return form;
}

TEdit* LabelledEdit(TForm* Form, const char* Name, const std::string& Caption, Integer Top, const std::string& Text) {
  auto* label = Place<TLabel>(Form, (std::string(Name) + "Label").c_str(), 8, Top + 3, 90, 15);
  label->SetCaption(Caption);
  auto* edit = Place<TEdit>(Form, Name, 104, Top, 150, 21);
  edit->SetText(Text);
  label->SetFocusControl(edit);
  return edit;
}

Integer EditNumber(TEdit* Edit, Integer Fallback) { return StrToIntDef(Trim(Edit->GetText()), Fallback); }

const TColor kBasicColors[16] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple, clTeal, clGray,
                                 clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

// The colour form remembers the swatch pressed last.
class TColorPickForm : public TForm {
 public:
  explicit TColorPickForm(TColor Initial) : TForm(nullptr), Chosen(Initial) {}
  TColor Chosen;
  void SwatchClick(TObject* Sender) {
    auto* p = static_cast<TPanel*>(Sender);
    Chosen = p->Color();
    for (Integer i = 0; i < ControlCount(); ++i)
      if (auto* s = dynamic_cast<TPanel*>(Controls(i))) s->SetBevelOuter(s == p ? bvLowered : bvRaised);
  }
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TColorDialog, TCommonDialog)
VXN_PUBLISH(TColorDialog) { P.Property("Color", &TColorDialog::Color, &TColorDialog::SetColor); }

bool TColorDialog::Execute() {
  TColorPickForm form(Color_);
  form.SetBorderStyle(bsDialog);
  form.SetPosition(poScreenCenter);
  form.SetBounds(0, 0, 240, 180);
  form.SetCaption(Title().empty() ? "Color" : Title());
  for (Integer i = 0; i < 16; ++i) {
    auto* swatch = Place<TPanel>(&form, ("Color" + std::to_string(i)).c_str(), 8 + (i % 8) * 27, 8 + (i / 8) * 27, 24, 24);
    swatch->SetCaption("");
    swatch->SetColor(kBasicColors[i]);
    swatch->SetBevelOuter(kBasicColors[i] == Color_ ? bvLowered : bvRaised);
    swatch->OnClick = TNotifyEvent(&form, &TColorPickForm::SwatchClick);
  }
  auto* ok = Place<TButton>(&form, "OK", 60, 110, 80, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Place<TButton>(&form, "Cancel", 148, 110, 80, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  if (Run(&form) != mrOk) return false;
  Color_ = form.Chosen;
  return true;
}

VXN_IMPLEMENT_CREATABLE_CLASS(TFontDialog, TCommonDialog)
VXN_PUBLISH(TFontDialog) { P.Property("Font", &TFontDialog::Font, &TFontDialog::SetFont); }

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), Font_(new TFont) {}

TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  auto form = SmallDialog(Title().empty() ? "Font" : Title(), 280, 150);
  TEdit* name = LabelledEdit(form.get(), "FontName", "&Font:", 8, Font_->GetName());
  TEdit* size = LabelledEdit(form.get(), "FontSize", "&Size:", 36, IntToStr(Font_->GetSize()));
  if (Run(form.get()) != mrOk) return false;
  std::string n = Trim(name->GetText());
  if (!n.empty()) Font_->SetName(n);
  Integer s = EditNumber(size, Font_->GetSize());
  if (s > 0) Font_->SetSize(s);
  return true;
}

VXN_IMPLEMENT_CREATABLE_CLASS(TPrintDialog, TCommonDialog)
VXN_PUBLISH(TPrintDialog) {
  P.Property("Copies", &TPrintDialog::Copies, &TPrintDialog::SetCopies).Default(1);
  P.Property("FromPage", &TPrintDialog::FromPage, &TPrintDialog::SetFromPage).Default(0);
  P.Property("ToPage", &TPrintDialog::ToPage, &TPrintDialog::SetToPage).Default(0);
}

bool TPrintDialog::Execute() {
  auto form = SmallDialog(Title().empty() ? "Print" : Title(), 280, 180);
  TEdit* copies = LabelledEdit(form.get(), "Copies", "&Copies:", 8, IntToStr(Copies_));
  TEdit* from = LabelledEdit(form.get(), "FromPage", "&From page:", 36, FromPage_ ? IntToStr(FromPage_) : "");
  TEdit* to = LabelledEdit(form.get(), "ToPage", "&To page:", 64, ToPage_ ? IntToStr(ToPage_) : "");
  if (Run(form.get()) != mrOk) return false;
  Copies_ = std::max<Integer>(1, EditNumber(copies, Copies_));
  FromPage_ = std::max<Integer>(0, EditNumber(from, 0));
  ToPage_ = std::max<Integer>(0, EditNumber(to, 0));
  if (ToPage_ && FromPage_ > ToPage_) std::swap(FromPage_, ToPage_);
  return true;
}

VXN_IMPLEMENT_CREATABLE_CLASS(TPrinterSetupDialog, TCommonDialog)

bool TPrinterSetupDialog::Execute() {
  auto form = SmallDialog(Title().empty() ? "Print Setup" : Title(), 280, 110);
  return Run(form.get()) == mrOk;
}

void RegisterDialogsClasses() {
  RegisterClasses({TOpenDialog::StaticClass(), TSaveDialog::StaticClass(), TColorDialog::StaticClass(),
                   TFontDialog::StaticClass(), TPrintDialog::StaticClass(), TPrinterSetupDialog::StaticClass()});
}
