// In-place editing: the grid's side (showing, filling, moving and hiding the
// editor, writing its text back through the validated cell texts) and the
// editor itself, a borderless multi-line mask edit that hands navigation
// keys back to the grid.
#include <algorithm>

#include "controls/CellGrid.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

using namespace win;

namespace {

constexpr const char* kDateEditMask = "9999/99/99;1; ";
constexpr const char* kTimeEditMask = "00:00:00;1; ";

Integer CharCount(const std::string& s) {
  Integer n = 0;
  for (size_t pos = 0; pos < s.size();) {
    Utf8Decode(s, pos);
    ++n;
  }
  return n;
}

// The byte offset of character index n.
size_t ByteOffset(const std::string& s, Integer n) {
  size_t pos = 0;
  for (Integer i = 0; i < n && pos < s.size(); ++i) Utf8Decode(s, pos);
  return pos;
}

}  // namespace

// --- The grid's side -------------------------------------------------------------------------

TInplaceEdit* TCustomCellGrid::CreateInplaceEditor() {
  return new TInplaceEdit(this);
}

bool TCustomCellGrid::CanShowEditor() {
  return Options_.Contains(goEditing) && !Options_.Contains(goRowSelect) && EditorMode_ &&
         !Designing() && HandleAllocated() &&
         (Options_.Contains(goAlwaysShowEditor) || GridFocused()) &&
         !Cells_->At(Current_.X, Current_.Y).ReadOnly;
}

bool TCustomCellGrid::CanEditAcceptKey(char32_t Key) {
  (void)Key;
  return true;
}

bool TCustomCellGrid::CanGridAcceptKey(Word Key, TShiftState Shift) {
  (void)Key;
  (void)Shift;
  return true;
}

bool TCustomCellGrid::CanEditModify() {
  return CanModify_;
}

Integer TCustomCellGrid::GetEditLimit() {
  return 0;
}

std::string TCustomCellGrid::GetEditMask(Integer ACol, Integer ARow) {
  std::string value;
  OnGetEditMask(this, ACol, ARow, value);
  return value;
}

std::string TCustomCellGrid::GetEditText(Integer ACol, Integer ARow) {
  const TCellInfo& cell = Cells_->At(ACol, ARow);
  const TCellInfo& topLeft = Cells_->At(cell.MergeRect.Left, cell.MergeRect.Top);
  std::string value = cell.ShowForeText ? topLeft.ForeText : topLeft.BackText;
  OnGetEditText(this, ACol, ARow, value);
  return value;
}

void TCustomCellGrid::SetEditText(Integer ACol, Integer ARow, const std::string& Value) {
  TCellInfo& cell = Cells_->At(ACol, ARow);
  EditRefused_ = false;
  if (cell.ShowForeText) {
    if (Value != cell.ForeText) EditRefused_ = !WriteForeText(ACol, ARow, Value);
  } else if (Value != cell.BackText) {
    SetCellBackText(ACol, ARow, Value);
  }
  OnSetEditText(this, ACol, ARow, Value);
}

void TCustomCellGrid::UpdateText() {
  if (EditingCell_.X < 0 || !InplaceEdit_) return;
  SetEditText(EditingCell_.X, EditingCell_.Y, InplaceEdit_->GetText());
}

void TCustomCellGrid::ShowEditor() {
  if (Current_.X < TopLeft_.X || Current_.Y < TopLeft_.Y) {
    TGridCoord maxTL = CalcMaxTopLeft({ColCount_ - 1, RowCount_ - 1}, CalcDrawInfo());
    MoveTopLeft(std::max(std::min(Current_.X, maxTL.X), FixedCols_ + 1),
                std::max(std::min(Current_.Y, maxTL.Y), FixedRows_ + 1));
  }
  EditorMode_ = true;
  UpdateEdit();
}

void TCustomCellGrid::ShowEditorChar(char32_t Ch) {
  ShowEditor();
  // Mended: a character meant for an editor that cannot show (a read-only
  // cell) goes nowhere, rather than into a hidden editor.
  if (InplaceEdit_ && InplaceEdit_->WindowVisible() && EditingCell_.X >= 0)
    PostMessage(InplaceEdit_->Handle(), WM_CHAR, static_cast<WPARAM>(Ch), 0);
}

void TCustomCellGrid::HideEditor() {
  EditorMode_ = false;
  HideEdit(false);
}

// Writes the editor's text back and hides it. Mended: the editing cell is
// cleared before the write, so a hide that the write itself sets off (the
// error box taking the focus) finds nothing to write; a refused value is
// reported once, and with KeepOnRefusal the editor stays open with it.
bool TCustomCellGrid::HideEdit(bool KeepOnRefusal) {
  if (WritingBack_ || !InplaceEdit_) return true;
  const TGridCoord cell = EditingCell_;
  if (cell.X >= 0) {
    EditingCell_ = {-1, -1};
    std::string text = InplaceEdit_->GetText();
    // Untouched text that the editor showed in another form (a number
    // without its thousand separators) writes back what the cell holds.
    if (text == InplaceEdit_->StartText() && text != GetEditText(cell.X, cell.Y)) {
      const TCellInfo& c = Cells_->At(cell.X, cell.Y);
      text = c.ShowForeText ? c.ForeText : c.BackText;
    }
    {
      WritingBack_ = true;
      ScopeExit done([this] { WritingBack_ = false; });
      SetEditText(cell.X, cell.Y, text);
    }
    if (EditRefused_ && KeepOnRefusal) {
      EditRefused_ = false;
      EditingCell_ = cell;
      EditorMode_ = true;
      if (InplaceEdit_->HandleAllocated() && GridFocused()) win::SetFocus(InplaceEdit_->Handle());
      return false;
    }
    EditRefused_ = false;
    if (OnHideEdit) OnHideEdit(this, cell.X, cell.Y, text);
  }
  EditingCell_ = {-1, -1};
  if (cell.X >= 0) InplaceEdit_->DoExit();
  InplaceEdit_->Hide();
  return true;
}

void TCustomCellGrid::UpdateEdit() {
  if (!CanShowEditor()) return;
  bool filled = false;
  if (!InplaceEdit_) {
    InplaceEdit_.reset(CreateInplaceEditor());
    InplaceEdit_->SetParent(this);
    filled = true;
  } else if (!(Current_ == EditingCell_)) {
    HideEdit(false);
    filled = true;
  }
  if (filled) {
    EditingCell_ = Current_;
    InplaceEdit_->UpdateContents();
    CanModify_ = InplaceEdit_->MaxLength() != -1;
  }
  if (!CanShowEditor()) return;
  const TGridRect range = Cells_->MergeRectOf(Current_.X, Current_.Y);
  const TRect a = CellRect(range.Left, range.Top), b = CellRect(range.Right, range.Bottom);
  InplaceEdit_->Move({a.Left + 2, a.Top + 2, b.Right - 2, b.Bottom - 2});
  if (filled && !InplaceEdit_->GetText().empty()) InplaceEdit_->Deselect();
}

void TCustomCellGrid::SetEditorMode(bool Value) {
  if (!Value) {
    HideEditor();
    return;
  }
  ShowEditor();
  if (InplaceEdit_ && InplaceEdit_->HandleAllocated()) InplaceEdit_->Deselect();
}

void TCustomCellGrid::SelectAllEditorText() {
  if (!InplaceEdit_) return;
  try {
    InplaceEdit_->SetSel(0, CharCount(InplaceEdit_->EditText()));
  } catch (const std::exception&) {
    // Nothing to select in an editor without a window yet.
  }
}

// --- The editor ------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TInplaceEdit, TCustomMaskEdit)

// The grid owns its editor (and frees it) itself, not as a component owner.
TInplaceEdit::TInplaceEdit(TComponent* AOwner)
    : TCustomMaskEdit(nullptr), Grid_(dynamic_cast<TCustomCellGrid*>(AOwner)) {
  SetTabStop(false);
  SetBorderStyle(bsNone);
  DoubleBuffered = false;
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  Params.Style &= ~(ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE);
}

bool TInplaceEdit::WindowVisible() {
  return HandleAllocated() && IsWindowVisible(Handle());
}

void TInplaceEdit::BoundsChanged() {
  if (!HandleAllocated()) return;
  RECT r;
  win::GetClientRect(Handle(), &r);
  r.left += 2;
  r.top += 2;
  r.right -= 2;
  SendMessage(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  SendMessage(Handle(), EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::UpdateContents() {
  SetEditMask("");
  SetText("");
  const TGridCoord cur = Grid_->CurrentCell();
  Cell_ = Grid_->CellAt(cur.X, cur.Y);
  std::string text = Grid_->GetEditText(cur.X, cur.Y);
  if (Cell_->ShowForeText) {
    std::string mask;
    switch (Cell_->DataStyle) {
      case dsText:
        mask = Grid_->GetEditMask(cur.X, cur.Y);
        break;
      case dsDate:
        mask = kDateEditMask;
        break;
      case dsTime:
        mask = kTimeEditMask;
        break;
      default:
        break;
    }
    if (Cell_->DataStyle == dsNumber && Cell_->ThousandSep) {
      const char sep = DefaultFormatSettings().ThousandSeparator;
      text.erase(std::remove(text.begin(), text.end(), sep), text.end());
      text = Trim(text);
    }
    SetEditMask(mask);
    SetMaxLength(Grid_->GetEditLimit());
  } else {
    SetMaxLength(0);
  }
  SetText(text);
  StartText_ = GetText();
  SetColor(Cell_->FillColor);
  Font()->SetName(Cell_->FontName);
  Font()->SetSize(Cell_->FontSize);
  Font()->SetStyle(Cell_->FontStyle);
  Font()->SetColor(Cell_->FontColor);
}

void TInplaceEdit::InvalidateAround() {
  if (!HandleAllocated()) return;
  ValidateRect(Handle(), nullptr);
  InvalidateRect(Handle(), nullptr, TRUE);
  if (Grid_->HandleAllocated()) {
    RECT r{Left(), Top(), Left() + Width(), Top() + Height()};
    InvalidateRect(Grid_->Handle(), &r, FALSE);
  }
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw) {
  if (Loc.Right <= Loc.Left || Loc.Bottom <= Loc.Top) {
    Hide();
    return;
  }
  HandleNeeded();
  InvalidateAround();
  SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
  SetWindowPos(Handle(), HWND_TOP, Loc.Left, Loc.Top, Loc.Width(), Loc.Height(),
               SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOACTIVATE);
  BoundsChanged();
  if (Redraw) Invalidate();
  if (Grid_->GridFocused() && GetFocus() != Handle()) win::SetFocus(Handle());
}

void TInplaceEdit::Move(const TRect& Loc) {
  InternalMove(Loc, true);
}

void TInplaceEdit::UpdateLoc(const TRect& Loc) {
  InternalMove(Loc, !WindowVisible());
}

void TInplaceEdit::Hide() {
  if (!WindowVisible()) return;
  InvalidateAround();
  const bool hadFocus = GetFocus() == Handle();
  SetWindowPos(
      Handle(), nullptr, 0, 0, 0, 0,
      SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (hadFocus && Grid_->HandleAllocated()) win::SetFocus(Grid_->Handle());
}

void TInplaceEdit::Deselect() {
  if (!HandleAllocated()) return;
  Integer end = CharCount(EditText());
  SetSel(end, end);
}

bool TInplaceEdit::AtRightEnd() {
  Integer start = 0, stop = 0;
  GetSel(start, stop);
  return stop == CharCount(EditText()) && (start == 0 || start == stop);
}

bool TInplaceEdit::AtLeftEnd() {
  Integer start = 0, stop = 0;
  GetSel(start, stop);
  return start == 0 && (start == stop || stop == CharCount(EditText()));
}

void TInplaceEdit::SendToGrid(Word& Key, TShiftState Shift) {
  Grid_->KeyDown(Key, Shift);
  Key = 0;
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  const bool ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) return SendToGrid(Key, Shift);
      break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      return SendToGrid(Key, Shift);
    case VK_ESCAPE:
      SetText(StartText_);
      return SendToGrid(Key, Shift);
    case VK_END:
      if (!ctrl && AtRightEnd()) {
        Key = VK_RIGHT;
        return SendToGrid(Key, Shift);
      }
      break;
    case VK_HOME:
      if (!ctrl && AtLeftEnd()) {
        Key = VK_LEFT;
        return SendToGrid(Key, Shift);
      }
      break;
    case VK_LEFT:
      if (!ctrl && AtLeftEnd()) return SendToGrid(Key, Shift);
      break;
    case VK_RIGHT:
      if (!ctrl && AtRightEnd()) return SendToGrid(Key, Shift);
      break;
    case VK_INSERT:
      if (Shift.Empty()) return SendToGrid(Key, Shift);
      if (Shift == TShiftState{ssShift} && !Grid_->CanEditModify()) {
        Key = 0;
        return;
      }
      break;
    case VK_F2:
      Grid_->OnKeyDown(Grid_, Key, Shift);
      if (Key == VK_F2) {
        Deselect();
        Key = 0;
      }
      return;
    case VK_DELETE:
      if (!Grid_->CanEditModify()) {
        Key = 0;
        return;
      }
      break;
  }
  if (Key == 0) return;
  Grid_->OnKeyDown(Grid_, Key, Shift);
  if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char32_t& Key) {
  Grid_->KeyPress(Key);
  if (Key == 0) return;
  if (Key >= 0x20 && !Grid_->CanEditAcceptKey(Key)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  switch (Key) {
    case 9:
    case 27:
      Key = 0;
      return;
    case 8:
    case 22:
    case 24:
      if (!Grid_->CanEditModify()) {
        Key = 0;
        return;
      }
      break;
    case 13: {
      Integer start = 0, stop = 0;
      GetSel(start, stop);
      if (start == 0 && stop == CharCount(EditText()))
        Deselect();
      else
        SetSel(0, CharCount(EditText()));
      Key = 0;
      return;
    }
    default:
      if (Key >= 0x20 && !Grid_->CanEditModify()) {
        Key = 0;
        return;
      }
      break;
  }
  if (Cell_ && Cell_->DataStyle == dsNumber) {
    switch (Key) {
      case 3:
      case 8:
      case 22:
      case 24:
      case 26:
        break;
      default: {
        // Mended: a number takes only what a number is written with, and a
        // typed character replaces the selection as in any edit.
        const TFormatSettings& fs = DefaultFormatSettings();
        const bool numeric =
            (Key >= U'0' && Key <= U'9') || Key == U'+' || Key == U'-' ||
            Key == static_cast<char32_t>(static_cast<unsigned char>(fs.DecimalSeparator)) ||
            Key == static_cast<char32_t>(static_cast<unsigned char>(fs.ThousandSeparator));
        if (!numeric) {
          MessageBeep(0);
          Key = 0;
          return;
        }
      }
    }
  }
  TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
  Grid_->KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick() {
  Grid_->DblClick();
}

// Mended: a blank required position is reported in the grid's box, once,
// without pulling the focus back; the write to the cell validates the value
// again. While the grid is writing the text back it says so itself.
void TInplaceEdit::ValidateEdit() {
  if (!IsMasked() || !Modified() || Grid_->EditingCell().X < 0) return;
  EditMaskFormat mask(EditMask());
  std::u32string edit;
  const std::string shown = EditText();
  for (size_t pos = 0; pos < shown.size();) edit += Utf8Decode(shown, pos);
  bool blank = true;
  for (size_t i = 0; i < edit.size() && i < mask.Size(); ++i)
    if (!mask.IsLiteral(i) && edit[i] != mask.Blank() && edit[i] != U' ') blank = false;
  if (blank || mask.FirstMissing(edit) >= mask.Size()) return;
  Grid_->ShowCautionBox(SGridInvalidInput);
}

void TInplaceEdit::PasteText() {
  std::string clip;
  if (!GetClipboardText(Handle(), &clip)) return;
  Integer start = 0, stop = 0;
  GetSel(start, stop);
  const std::string text = EditText();
  const size_t a = ByteOffset(text, start), b = ByteOffset(text, stop);
  SetEditText(text.substr(0, a) + clip + text.substr(b));
  SetModified(true);
  const Integer caret = start + CharCount(clip);
  SetSel(caret, caret);
}

void TInplaceEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED:
      // The grid alone shows and hides the editor.
      return;
    case WM_GETDLGCODE:
      TCustomMaskEdit::WndProc(Message);
      if (Grid_->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_CLEAR:
    case WM_CUT:
      if (!Grid_->CanEditModify()) return;
      break;
    case WM_PASTE:
      if (!Grid_->CanEditModify()) return;
      if (!Cell_ || Cell_->DataStyle != dsText) {
        PasteText();
        return;
      }
      break;
    case WM_LBUTTONDOWN:
      if (ClickTime_ != 0 && static_cast<DWORD>(GetMessageTime()) - ClickTime_ <
                                 static_cast<DWORD>(GetDoubleClickTime())) {
        Message.Msg = WM_LBUTTONDBLCLK;
        ClickTime_ = 0;
      }
      break;
    case WM_KILLFOCUS: {
      TCustomMaskEdit::WndProc(Message);
      auto to = reinterpret_cast<HWND>(Message.WParam);
      HWND grid = Grid_->HandleAllocated() ? Grid_->Handle() : nullptr;
      // Leaving for a window outside the grid leaves the grid.
      if (grid && to != grid && !(to && IsChild(grid, to))) Grid_->Perform(CM_EXIT, 0, 0);
      return;
    }
    default:
      break;
  }
  TCustomMaskEdit::WndProc(Message);
}
