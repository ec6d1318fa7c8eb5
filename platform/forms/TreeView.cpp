#include "platform/forms/ComCtrls.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/forms/Forms.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "platform/rtl/ScopeExit.h"

using namespace win;
using namespace forms;

namespace {

// Trees from outside (form files) may not nest without end.
constexpr Integer kMaxStoredDepth = 256;

// The tree's own timers.
constexpr UINT_PTR kEditTimer = 0x7E01;    // a second click on the selection
constexpr UINT_PTR kTipTimer = 0x7E02;     // the mouse resting on a clipped label
constexpr UINT_PTR kChangeTimer = 0x7E03;  // ChangeDelay

// Where a node stands in the list that owns it (end() when it is not there).
auto PlaceOf(const std::vector<std::unique_ptr<TTreeNode>>& List, const TTreeNode* Node) {
  return std::find_if(List.begin(), List.end(), [Node](const auto& n) { return n.get() == Node; });
}
auto PlaceOf(std::vector<std::unique_ptr<TTreeNode>>& List, const TTreeNode* Node) {
  return std::find_if(List.begin(), List.end(), [Node](const auto& n) { return n.get() == Node; });
}

// The nodes of a list as it stands now, for walks that may change the list.
std::vector<TTreeNode*> Listed(const std::vector<std::unique_ptr<TTreeNode>>& List) {
  std::vector<TTreeNode*> nodes;
  for (const auto& n : List) nodes.push_back(n.get());
  return nodes;
}

}  // namespace

// ===========================================================================
// TTreeNode

VXN_IMPLEMENT_CREATABLE_CLASS(TTreeNode, TPersistent)

TTreeNode::TTreeNode(TTreeNodes* AOwner) : Owner_(AOwner) {}

TTreeNode::~TTreeNode() = default;

TTreeView* TTreeNode::TreeView() const { return Owner_ ? Owner_->Owner() : nullptr; }

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const {
  return Parent_ ? Parent_->Children_ : Owner_->Roots_;
}

void TTreeNode::Changed() {
  if (TTreeView* tv = TreeView()) tv->NodesChanged();
}

void TTreeNode::SetText(const std::string& Value) {
  if (Text_ == Value) return;
  Text_ = Value;
  TTreeView* tv = TreeView();
  if (tv && (tv->SortType() == stText || tv->SortType() == stBoth)) {
    tv->SortChildren(Siblings(), false, false);
  }
  Changed();
}

void TTreeNode::SetImageIndex(Integer Value) {
  ImageIndex_ = Value;
  Changed();
}

void TTreeNode::SetSelectedIndex(Integer Value) {
  SelectedIndex_ = Value;
  Changed();
}

void TTreeNode::SetStateIndex(Integer Value) {
  StateIndex_ = Value;
  Changed();
}

void TTreeNode::SetOverlayIndex(Integer Value) {
  OverlayIndex_ = Value;
  Changed();
}

void TTreeNode::SetData(void* Value) {
  Data_ = Value;
  TTreeView* tv = TreeView();
  if (tv && (tv->SortType() == stData || tv->SortType() == stBoth)) tv->SortChildren(Siblings(), false, true);
}

Integer TTreeNode::Level() const {
  Integer level = 0;
  for (TTreeNode* p = Parent_; p; p = p->Parent_) ++level;
  return level;
}

Integer TTreeNode::Index() const { return static_cast<Integer>(PlaceOf(Siblings(), this) - Siblings().begin()); }

Integer TTreeNode::AbsoluteIndex() const {
  Integer index = 0;
  for (TTreeNode* n = Owner_->GetFirstNode(); n; n = n->GetNext(), ++index)
    if (n == this) return index;
  return -1;
}

TTreeNode* TTreeNode::Item(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  return Children_[static_cast<size_t>(Index)].get();
}

TTreeNode* TTreeNode::getNextSibling() const {
  const auto& list = Siblings();
  auto it = PlaceOf(list, this);
  return (it == list.end() || it + 1 == list.end()) ? nullptr : (it + 1)->get();
}

TTreeNode* TTreeNode::getPrevSibling() const {
  const auto& list = Siblings();
  auto it = PlaceOf(list, this);
  return (it == list.end() || it == list.begin()) ? nullptr : (it - 1)->get();
}

TTreeNode* TTreeNode::GetNext() const {
  if (!Children_.empty()) return Children_.front().get();
  for (const TTreeNode* n = this; n; n = n->Parent_)
    if (TTreeNode* s = n->getNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* prev = getPrevSibling();
  if (!prev) return Parent_;
  while (prev->HasChildren()) prev = prev->GetLastChild();
  return prev;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (Expanded_ && !Children_.empty()) return Children_.front().get();
  for (const TTreeNode* n = this; n; n = n->Parent_)
    if (TTreeNode* s = n->getNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* prev = getPrevSibling();
  if (!prev) return Parent_;
  while (prev->Expanded_ && prev->HasChildren()) prev = prev->GetLastChild();
  return prev;
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = Parent_; p; p = p->Parent_)
    if (!p->Expanded_) return false;
  return true;
}

bool TTreeNode::HasAsParent(TTreeNode* Value) const {
  for (TTreeNode* p = Parent_; p; p = p->Parent_)
    if (p == Value) return true;
  return false;
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value == Expanded_) return;
  if (TTreeView* tv = TreeView()) {
    tv->ExpandNode(this, Value);
  } else {
    Expanded_ = Value;
  }
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse)
    for (TTreeNode* child : Listed(Children_)) child->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  if (Recurse)
    for (TTreeNode* child : Listed(Children_)) child->Collapse(true);
  SetExpanded(false);
}

void TTreeNode::SetSelected(bool Value) {
  TTreeView* tv = TreeView();
  if (!tv) {
    Selected_ = Value;
    return;
  }
  if (Value) {
    if (tv->MultiSelect() && tv->Selected() && tv->Selected() != this)
      tv->Subselect(this);
    else
      tv->SetSelected(this);
  } else if (tv->Selected() == this) {
    tv->SetSelected(nullptr);
  } else if (Selected_) {
    Selected_ = false;
    auto& sel = tv->Selections_;
    sel.erase(std::remove(sel.begin(), sel.end(), this), sel.end());
    tv->Invalidate();
  }
}

bool TTreeNode::Focused() const {
  TTreeView* tv = TreeView();
  return tv && tv->Selected() == this;
}

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = Parent_; p; p = p->Parent_)
    if (!p->Expanded_) p->SetExpanded(true);
  TTreeView* tv = TreeView();
  if (!tv) return;
  Integer row = tv->RowOf(this);
  if (row < 0) return;
  Integer page = std::max<Integer>(1, tv->ClientHeight() / tv->ItemHeight());
  if (row < tv->TopRow_) tv->ScrollTo(row, tv->ScrollLeft_);
  else if (row >= tv->TopRow_ + page) tv->ScrollTo(row - page + 1, tv->ScrollLeft_);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TTreeView* tv = TreeView();
  if (!tv) return {};
  Integer row = tv->RowOf(this);
  if (row < 0) return {};
  Integer h = tv->ItemHeight();
  Integer top = (row - tv->TopRow_) * h;
  if (!TextOnly) return {0, top, tv->ClientWidth(), top + h};
  Integer left = tv->LabelLeft(Level(), this);
  return {left, top, left + tv->LabelWidth(this), top + h};
}

bool TTreeNode::EditText() {
  TTreeView* tv = TreeView();
  if (!tv || !tv->HandleAllocated()) return false;
  return tv->Perform(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(ItemId())) != 0;
}

void TTreeNode::Delete() { Owner_->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (!Children_.empty()) Owner_->Delete(Children_.back().get());
}

void TTreeNode::MoveTo(TTreeNode* Destination) {
  if (Destination == this || (Destination && Destination->HasAsParent(this))) return;
  auto& from = Siblings();
  auto place = PlaceOf(from, this);
  std::unique_ptr<TTreeNode> self = std::move(*place);
  from.erase(place);
  Parent_ = Destination;
  Siblings().push_back(std::move(self));
  Changed();
}

void TTreeNode::AlphaSort(bool Recurse) {
  if (TTreeView* tv = TreeView()) {
    tv->SortChildren(Children_, Recurse, tv->OnCompare.Assigned());
    tv->NodesChanged();
  }
}

void TTreeNode::Assign(TPersistent* Source) {
  auto* node = dynamic_cast<TTreeNode*>(Source);
  if (!node) {
    TPersistent::Assign(Source);
    return;
  }
  Text_ = node->Text_;
  ImageIndex_ = node->ImageIndex_;
  SelectedIndex_ = node->SelectedIndex_;
  StateIndex_ = node->StateIndex_;
  OverlayIndex_ = node->OverlayIndex_;
  Data_ = node->Data_;
  Changed();
}

// ===========================================================================
// TTreeNodes

VXN_IMPLEMENT_CLASS(TTreeNodes, TPersistent)

TTreeNodes::TTreeNodes(TTreeView* AOwner) : Owner_(AOwner) {}

TTreeNodes::~TTreeNodes() = default;

Integer TTreeNodes::Count() const {
  Integer count = 0;
  for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext()) ++count;
  return count;
}

TTreeNode* TTreeNodes::Item(Integer Index) const {
  if (Index >= 0) {
    Integer i = 0;
    for (TTreeNode* n = GetFirstNode(); n; n = n->GetNext(), ++i)
      if (i == Index) return n;
  }
  throw EListError(SListIndexError, {Index});
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* Parent, size_t Position, const std::string& S, void* Ptr) {
  if (!Owner_ || !Owner_->HandleAllocated()) return InsertNode(Parent, Position, S, Ptr);
  const auto& list = Parent ? Parent->Children_ : Roots_;
  TVINSERTSTRUCTA ins;
  ins.hParent = Parent ? Parent->ItemId() : TVI_ROOT;
  ins.hInsertAfter = Position == 0 ? TVI_FIRST : (Position >= list.size() ? TVI_LAST : list[Position - 1]->ItemId());
  ins.item.mask = TVIF_TEXT | TVIF_PARAM;
  ins.item.pszText = const_cast<char*>(S.c_str());  // only read
  ins.item.lParam = reinterpret_cast<LPARAM>(Ptr);
  return reinterpret_cast<TTreeNode*>(Owner_->Perform(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, size_t Position, const std::string& S, void* Ptr) {
  std::unique_ptr<TTreeNode> made;
  if (Owner_ && Owner_->OnCreateNodeClass) {
    TClass cls = TTreeNode::StaticClass();
    Owner_->OnCreateNodeClass(Owner_, cls);
    // Only a creatable descendant of TTreeNode can stand in for one.
    if (cls && cls != TTreeNode::StaticClass() && cls->InheritsFrom(TTreeNode::StaticClass()) && cls->OwnerFactory) {
      OwnedObject<TObject> object(cls->OwnerFactory(this));
      if (auto* node = dynamic_cast<TTreeNode*>(object.get())) {
        object.release();
        made.reset(node);
      }
    }
  }
  if (!made) made = std::make_unique<TTreeNode>(this);
  TTreeNode* node = made.get();
  node->Parent_ = Parent;
  node->Text_ = S;
  node->Data_ = Ptr;
  auto& list = Parent ? Parent->Children_ : Roots_;
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(Position, list.size())), std::move(made));
  if (Owner_) {
    if (Owner_->SortType() != stNone) {
      bool byData = Owner_->SortType() == stData;
      Owner_->SortChildren(list, false, byData);
    }
    if (Owner_->OnAddition) Owner_->OnAddition(Owner_, node);
    Owner_->NodesChanged();
  }
  return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& S) { return AddObject(Sibling, S, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  TTreeNode* parent = Sibling ? Sibling->Parent_ : nullptr;
  return InsertAt(parent, static_cast<size_t>(-1), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
  return InsertAt(Sibling ? Sibling->Parent_ : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& S) { return AddChildObject(Parent, S, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr) {
  return InsertAt(Parent, static_cast<size_t>(-1), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) { return InsertAt(Parent, 0, S, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::string& S) { return InsertObject(Sibling, S, nullptr); }

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  if (!Sibling) return InsertAt(nullptr, static_cast<size_t>(-1), S, Ptr);
  return InsertAt(Sibling->Parent_, static_cast<size_t>(Sibling->Index()), S, Ptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node || Node->Deleting_) return;
  Node->Deleting_ = true;
  // Children go first so that listeners never see a node whose parent is gone.
  while (!Node->Children_.empty()) Delete(Node->Children_.back().get());
  if (Owner_) Owner_->NodeDeleting(Node);
  auto& list = Node->Siblings();
  auto place = PlaceOf(list, Node);
  std::unique_ptr<TTreeNode> gone = std::move(*place);
  list.erase(place);
  gone.reset();
  if (Owner_) Owner_->NodesChanged();
}

void TTreeNodes::Clear() {
  BeginUpdate();
  while (!Roots_.empty()) Delete(Roots_.back().get());
  EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++UpdateCount_; }

void TTreeNodes::EndUpdate() {
  if (UpdateCount_ > 0 && --UpdateCount_ == 0 && Owner_) Owner_->NodesChanged();
}

void TTreeNodes::Assign(TPersistent* Source) {
  auto* nodes = dynamic_cast<TTreeNodes*>(Source);
  if (!nodes) {
    TPersistent::Assign(Source);
    return;
  }
  if (nodes == this) return;
  BeginUpdate();
  Clear();
  TMemoryStream stream;
  nodes->WriteData(stream);
  stream.SetPosition(0);
  ReadData(stream);
  EndUpdate();
}

void TTreeNodes::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream& S) { ReadData(S); }, [this](TStream& S) { WriteData(S); }, !Roots_.empty());
}

// Stored nodes ("Items.Data"), all integers little-endian 32-bit:
//   count of roots
//   per node, depth first:
//     | ImageIndex | SelectedIndex | StateIndex | OverlayIndex | Data | child count |
//     | text length | text bytes (UTF-8) |  then the node's children
namespace {

void PutInt(TStream& S, Integer V) {
  unsigned char b[4] = {static_cast<unsigned char>(V), static_cast<unsigned char>(V >> 8),
                        static_cast<unsigned char>(V >> 16), static_cast<unsigned char>(V >> 24)};
  S.WriteBuffer(b, 4);
}

Integer GetInt(TStream& S) {
  unsigned char b[4];
  S.ReadBuffer(b, 4);
  return static_cast<Integer>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

void WriteNode(TStream& S, TTreeNode* N) {
  PutInt(S, N->ImageIndex());
  PutInt(S, N->SelectedIndex());
  PutInt(S, N->StateIndex());
  PutInt(S, N->OverlayIndex());
  PutInt(S, static_cast<Integer>(reinterpret_cast<intptr_t>(N->Data())));
  PutInt(S, N->Count());
  PutInt(S, static_cast<Integer>(N->Text().size()));
  S.WriteBuffer(N->Text().data(), static_cast<Int64>(N->Text().size()));
  for (Integer i = 0; i < N->Count(); ++i) WriteNode(S, N->Item(i));
}

}  // namespace

void TTreeNodes::WriteData(TStream& Stream) {
  PutInt(Stream, static_cast<Integer>(Roots_.size()));
  for (const auto& root : Roots_) WriteNode(Stream, root.get());
}

void TTreeNodes::ReadData(TStream& Stream) {
  // Counts and lengths come from a file: each is checked against what the
  // stream can still hold before anything is allocated.
  auto count = [&Stream](Int64 unit) {
    Integer n = GetInt(Stream);
    if (n < 0 || static_cast<Int64>(n) * unit > Stream.Size() - Stream.Position())
      throw EReadError("Invalid stored tree nodes");
    return n;
  };
  constexpr Int64 kNodeBytes = 7 * 4;
  // One node at a time with an explicit stack keeps deep files off the C++ stack.
  struct Pending {
    TTreeNode* Parent;
    Integer Left;
  };
  Clear();
  BeginUpdate();
  ScopeExit updated([this] { EndUpdate(); });
  std::vector<Pending> stack{{nullptr, count(kNodeBytes)}};
  while (!stack.empty()) {
    if (stack.back().Left == 0) {
      stack.pop_back();
      continue;
    }
    --stack.back().Left;
    Integer image = GetInt(Stream), selected = GetInt(Stream), state = GetInt(Stream), overlay = GetInt(Stream);
    Integer data = GetInt(Stream);
    Integer children = count(kNodeBytes);
    Integer len = count(1);
    std::string text(static_cast<size_t>(len), '\0');
    if (len) Stream.ReadBuffer(text.data(), len);
    TTreeNode* node =
        InsertAt(stack.back().Parent, static_cast<size_t>(-1), text, reinterpret_cast<void*>(intptr_t{data}));
    node->ImageIndex_ = image;
    node->SelectedIndex_ = selected;
    node->StateIndex_ = state;
    node->OverlayIndex_ = overlay;
    if (children > 0) {
      if (static_cast<Integer>(stack.size()) > kMaxStoredDepth) throw EReadError("Invalid stored tree nodes");
      stack.push_back({node, children});
    }
  }
}

// ===========================================================================
// The tree's helpers: the edit control over a label and the tip that shows a
// clipped label whole.

class TTreeLabelEdit : public TCustomEdit {
 public:
  explicit TTreeLabelEdit(TTreeView* Tree) : TCustomEdit(nullptr), Tree_(Tree) {
    SetVisible(false);
    SetAutoSelect(true);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomEdit::CreateParams(Params);
    // A thin frame, as the native tree's editor has.
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    Params.Style |= WS_BORDER;
  }
  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_GETDLGCODE:
        // Enter and Escape belong to the edit, never to the form's buttons.
        TCustomEdit::WndProc(Message);
        Message.Result |= DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
      case WM_KEYDOWN:
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
          if (Live()) Tree_->FinishEdit(Message.WParam == VK_ESCAPE, true);
          Message.Result = 0;
          return;
        }
        break;
      case WM_CHAR:
        if (Message.WParam == '\r' || Message.WParam == 0x1B) {
          Message.Result = 0;
          return;
        }
        break;
      case WM_KILLFOCUS:
        TCustomEdit::WndProc(Message);
        if (Live()) Tree_->FinishEdit(false, false);
        return;
      default: break;
    }
    TCustomEdit::WndProc(Message);
  }
  void Change() override {
    TCustomEdit::Change();
    if (Live()) Tree_->PlaceEditor();
  }

 private:
  bool Live() const { return Tree_->Editor_.get() == this && Tree_->EditNode_; }
  TTreeView* Tree_;
};

class TTreeTip : public THintWindow {
 public:
  explicit TTreeTip(TTreeView* Tree) : THintWindow(nullptr), Tree_(Tree) {}

 protected:
  // The tip lies over the label it shows: the mouse keeps talking to the
  // tree through it.
  void WndProc(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        Tree_->TrackTip(TreePoint(Message.LParam));
        return;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        TPoint p = TreePoint(Message.LParam);
        Tree_->HideTip();
        if (Tree_->HandleAllocated())
          PostMessage(Tree_->Handle(), Message.Msg, Message.WParam, MAKELPARAM(p.X, p.Y));
        return;
      }
      default: break;
    }
    THintWindow::WndProc(Message);
  }
  // One line, unbroken, at the spot the tree computed.
  void Paint() override {
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    c->TextOut(1, 1, Caption());
    c->Brush()->SetStyle(bsSolid);
  }
  void CMMouseLeave(TMessage& Message) override {
    THintWindow::CMMouseLeave(Message);
    POINT p;
    if (!GetCursorPos(&p) || !Tree_->HandleAllocated() || WindowFromPoint(p) != Tree_->Handle()) Tree_->HideTip();
  }

 private:
  TPoint TreePoint(LPARAM lp) { return Tree_->ScreenToClient(ClientToScreen(PointFromLParam(lp))); }
  TTreeView* Tree_;
};

// ===========================================================================
// TTreeView

VXN_IMPLEMENT_CLASS(TCustomTreeView, TCustomControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TTreeView, TCustomTreeView)
VXN_PUBLISH(TTreeView) {
  P.Property("AutoExpand", &TTreeView::AutoExpand, &TTreeView::SetAutoExpand).Default(false);
  P.Property("BorderStyle", &TTreeView::BorderStyle, &TTreeView::SetBorderStyle).Default(bsSingle);
  P.Property("ChangeDelay", &TTreeView::ChangeDelay, &TTreeView::SetChangeDelay).Default(0);
  P.Property("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection).Default(true);
  P.Property("HotTrack", &TTreeView::HotTrack, &TTreeView::SetHotTrack).Default(false);
  P.Property("Images", &TTreeView::Images, &TTreeView::SetImages);
  P.Property("Indent", &TTreeView::Indent, &TTreeView::SetIndent).Default(19);
  P.Property("MultiSelect", &TTreeView::MultiSelect, &TTreeView::SetMultiSelect).Default(false);
  P.Property("MultiSelectStyle", &TTreeView::MultiSelectStyle, &TTreeView::SetMultiSelectStyle)
      .Default(static_cast<int64_t>(TMultiSelectStyle{msControlSelect}.Bits()));
  P.Property("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(false);
  P.Property("RightClickSelect", &TTreeView::RightClickSelect, &TTreeView::SetRightClickSelect).Default(false);
  P.Property("RowSelect", &TTreeView::RowSelect, &TTreeView::SetRowSelect).Default(false);
  P.Property("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons).Default(true);
  P.Property("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines).Default(true);
  P.Property("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(true);
  P.Property("SortType", &TTreeView::SortType, &TTreeView::SetSortType).Default(stNone);
  P.Property("StateImages", &TTreeView::StateImages, &TTreeView::SetStateImages);
  P.Property("ToolTips", &TTreeView::ToolTips, &TTreeView::SetToolTips).Default(true);
  P.Property("Items", &TTreeView::Items, &TTreeView::SetItems);
  P.Event("OnAddition", &TTreeView::OnAddition);
  P.Event("OnAdvancedCustomDraw", &TTreeView::OnAdvancedCustomDraw);
  P.Event("OnAdvancedCustomDrawItem", &TTreeView::OnAdvancedCustomDrawItem);
  P.Event("OnCancelEdit", &TTreeView::OnCancelEdit);
  P.Event("OnChange", &TTreeView::OnChange);
  P.Event("OnChanging", &TTreeView::OnChanging);
  P.Event("OnCollapsed", &TTreeView::OnCollapsed);
  P.Event("OnCollapsing", &TTreeView::OnCollapsing);
  P.Event("OnCompare", &TTreeView::OnCompare);
  P.Event("OnCreateNodeClass", &TTreeView::OnCreateNodeClass);
  P.Event("OnCustomDraw", &TTreeView::OnCustomDraw);
  P.Event("OnCustomDrawItem", &TTreeView::OnCustomDrawItem);
  P.Event("OnDeletion", &TTreeView::OnDeletion);
  P.Event("OnEdited", &TTreeView::OnEdited);
  P.Event("OnEditing", &TTreeView::OnEditing);
  P.Event("OnExpanded", &TTreeView::OnExpanded);
  P.Event("OnExpanding", &TTreeView::OnExpanding);
  P.Event("OnGetImageIndex", &TTreeView::OnGetImageIndex);
  P.Event("OnGetSelectedIndex", &TTreeView::OnGetSelectedIndex);
}

TTreeView::TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner), Items_(new TTreeNodes(this)) {
  ControlStyle += csOpaque;
  ControlStyle += csDoubleClicks;
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  ImagesLink_.OnChange = TNotifyEvent(this, &TTreeView::ImagesChanged);
  StateImagesLink_.OnChange = TNotifyEvent(this, &TTreeView::ImagesChanged);
}

void TTreeView::ImagesChanged(TObject*) { NodesChanged(); }

TTreeView::~TTreeView() {
  // The editor and the tip go silently: no edit event reaches a tree
  // being destroyed.
  EditNode_ = ClickEditNode_ = TipNode_ = nullptr;
  {
    // Taken out first: the editor must not find itself the tree's editor
    // while it goes.
    OwnedObject<TTreeLabelEdit> editor = std::move(Editor_);
  }
  Tip_ = nullptr;
  // Nodes go without notifications: the control is half gone.
  Items_->Owner_ = nullptr;
  Selections_.clear();
  Selected_ = Anchor_ = Hot_ = nullptr;
}

void TTreeView::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  // The label editor is a child window: the tree's painting leaves it be.
  Params.Style |= WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN;
  if (BorderStyle_ == bsSingle) {
    if (Ctl3D()) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
}

void TTreeView::CMCtl3DChanged(TMessage& Message) {
  TCustomTreeView::CMCtl3DChanged(Message);
  if (BorderStyle_ == bsSingle && HandleAllocated()) PostMessage(Handle(), CM_RECREATEWND, 0, 0);
}

void TTreeView::SetBorderStyle(TBorderStyle Value) {
  if (BorderStyle_ == Value) return;
  BorderStyle_ = Value;
  RecreateWnd();
}

#define VXN_TREE_SETTER(Name, Field)     \
  void TTreeView::Set##Name(bool Value) { \
    if (Field == Value) return;          \
    Field = Value;                       \
    NodesChanged();                      \
  }
VXN_TREE_SETTER(HideSelection, HideSelection_)
VXN_TREE_SETTER(HotTrack, HotTrack_)
VXN_TREE_SETTER(RowSelect, RowSelect_)
VXN_TREE_SETTER(ShowButtons, ShowButtons_)
VXN_TREE_SETTER(ShowLines, ShowLines_)
VXN_TREE_SETTER(ShowRoot, ShowRoot_)
#undef VXN_TREE_SETTER

void TTreeView::SetReadOnly(bool Value) {
  ReadOnly_ = Value;
  if (Value) EndEditing(true);
}

void TTreeView::SetToolTips(bool Value) {
  ToolTips_ = Value;
  if (!Value) HideTip();
}

void TTreeView::SetIndent(Integer Value) {
  Value = std::max<Integer>(Value, 0);
  if (Indent_ == Value) return;
  Indent_ = Value;
  NodesChanged();
}

void TTreeView::SetMultiSelect(bool Value) {
  if (MultiSelect_ == Value) return;
  MultiSelect_ = Value;
  if (!Value) ClearSelection(true);
}

void TTreeView::SetSortType(TSortType Value) {
  if (SortType_ == Value) return;
  SortType_ = Value;
  if (Value != stNone) {
    SortChildren(Items_->Roots_, true, Value == stData);
    NodesChanged();
  }
}

void TTreeView::SetImages(TCustomImageList* Value) {
  if (Images_) Images_->RemoveFreeNotification(this);
  Images_ = Value;
  LinkImages(ImagesLink_, Value);
  if (Value) Value->FreeNotification(this);
  NodesChanged();
}

void TTreeView::SetStateImages(TCustomImageList* Value) {
  if (StateImages_) StateImages_->RemoveFreeNotification(this);
  StateImages_ = Value;
  LinkImages(StateImagesLink_, Value);
  if (Value) Value->FreeNotification(this);
  NodesChanged();
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == Images_) Images_ = nullptr;
    if (AComponent == StateImages_) StateImages_ = nullptr;
  }
}

Integer TTreeView::ItemHeight() const {
  // One line of the control's font with a pixel of air above and below,
  // never less than a small image.
  Integer h = std::abs(Font()->GetHeight());
  if (h == 0) h = 13;
  h = std::max<Integer>(h + 4, 16);
  if (Images_) h = std::max<Integer>(h, Images_->Height() + 2);
  if (StateImages_) h = std::max<Integer>(h, StateImages_->Height() + 2);
  return h;
}

std::vector<TTreeView::Row> TTreeView::VisibleRows() const {
  std::vector<Row> rows;
  for (TTreeNode* n = Items_->GetFirstNode(); n; n = n->GetNextVisible()) rows.push_back({n, n->Level()});
  return rows;
}

Integer TTreeView::RowOf(const TTreeNode* Node) const {
  if (!Node || !Node->IsVisible()) return -1;
  Integer row = 0;
  for (TTreeNode* n = Items_->GetFirstNode(); n; n = n->GetNextVisible(), ++row)
    if (n == Node) return row;
  return -1;
}

Integer TTreeView::ContentLeft(Integer Level) const {
  Integer columns = Level + ((ShowRoot_ && (ShowLines_ || ShowButtons_)) ? 1 : 0);
  return columns * Indent_ + 3 - ScrollLeft_;
}

Integer TTreeView::LabelLeft(Integer Level, const TTreeNode* Node) const {
  Integer x = ContentLeft(Level);
  if (StateImages_ && Node->StateIndex() >= 0) x += StateImages_->Width();
  if (Images_) x += Images_->Width() + 1;
  return x;
}

Integer TTreeView::LabelWidth(const TTreeNode* Node) const { return TextWidth(Node->Text(), Node->Bold_) + 4; }

Integer TTreeView::TextWidth(const std::string& Text, bool Bold) const { return TextSize(Text, Bold).cx; }

TSize TTreeView::TextSize(const std::string& Text, bool Bold) const {
  TTreeView* self = const_cast<TTreeView*>(this);
  TCanvas* c = self->Canvas();
  bool own = !c->HandleAllocated();
  HDC dc = nullptr;
  if (own) {
    dc = GetDC(nullptr);
    c->SetHandle(dc);
  }
  // Measuring in the middle of painting must leave the painter's font alone.
  auto saved = std::make_unique<TFont>();
  saved->Assign(c->Font());
  c->Font()->Assign(Font());
  if (Bold) c->Font()->SetStyle(c->Font()->GetStyle() + fsBold);
  TSize size = c->TextExtent(Text);
  c->Font()->Assign(saved.get());
  if (own) {
    c->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
  }
  return size;
}

UINT TTreeView::HitTest(Integer X, Integer Y, TTreeNode** Node) const {
  *Node = nullptr;
  TTreeView* self = const_cast<TTreeView*>(this);
  Integer cw = self->ClientWidth(), ch = self->ClientHeight();
  UINT flags = 0;
  if (Y < 0) flags |= TVHT_ABOVE;
  if (Y >= ch) flags |= TVHT_BELOW;
  if (X < 0) flags |= TVHT_TOLEFT;
  if (X >= cw) flags |= TVHT_TORIGHT;
  if (flags) return flags;
  Integer row = TopRow_ + Y / ItemHeight();
  auto rows = VisibleRows();
  if (row >= static_cast<Integer>(rows.size())) return TVHT_NOWHERE;
  TTreeNode* n = rows[static_cast<size_t>(row)].Node;
  *Node = n;
  Integer level = rows[static_cast<size_t>(row)].Level;
  Integer left = ContentLeft(level);
  Integer labelLeft = LabelLeft(level, n);
  Integer labelRight = labelLeft + LabelWidth(n);
  if (X >= labelRight) return TVHT_ONITEMRIGHT;
  if (X >= labelLeft) return TVHT_ONITEMLABEL;
  if (X >= left) {
    bool onState = StateImages_ && n->StateIndex() >= 0 && X < left + StateImages_->Width();
    return onState ? TVHT_ONITEMSTATEICON : TVHT_ONITEMICON;
  }
  bool hasButtonColumn = n->Parent() || ShowRoot_;
  if (ShowButtons_ && n->HasChildren() && hasButtonColumn && X >= left - Indent_ - 3 && X < left - 3)
    return TVHT_ONITEMBUTTON;
  return TVHT_ONITEMINDENT;
}

TTreeNode* TTreeView::GetNodeAt(Integer X, Integer Y) const {
  TTreeNode* node;
  UINT flags = HitTest(X, Y, &node);
  if (RowSelect_) return node;
  return (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMSTATEICON)) ? node : nullptr;
}

THitTests TTreeView::GetHitTestInfoAt(Integer X, Integer Y) const {
  TTreeNode* node;
  UINT flags = HitTest(X, Y, &node);
  THitTests result;
  if (flags & TVHT_ABOVE) result += htAbove;
  if (flags & TVHT_BELOW) result += htBelow;
  if (flags & TVHT_NOWHERE) result += htNowhere;
  if (flags & TVHT_ONITEMBUTTON) result += htOnButton;
  if (flags & TVHT_ONITEMICON) result += htOnIcon;
  if (flags & TVHT_ONITEMINDENT) result += htOnIndent;
  if (flags & TVHT_ONITEMLABEL) result += htOnLabel;
  if (flags & TVHT_ONITEMRIGHT) result += htOnRight;
  if (flags & TVHT_ONITEMSTATEICON) result += htOnStateIcon;
  if (flags & TVHT_TOLEFT) result += htToLeft;
  if (flags & TVHT_TORIGHT) result += htToRight;
  if (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)) result += htOnItem;
  return result;
}

TTreeNode* TTreeView::Selections(Integer Index) const {
  if (Index < 0 || Index >= SelectionCount()) throw EListError(SListIndexError, {Index});
  return Selections_[static_cast<size_t>(Index)];
}

bool TTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  if (allow) SendNotify(TVN_SELCHANGINGA, Selected_, Node);
  return allow;
}

void TTreeView::Change(TTreeNode* Node) {
  SendNotify(TVN_SELCHANGEDA, nullptr, Node);
  if (ChangeDelay_ > 0 && HandleAllocated()) {
    // Quick moves through the tree report only where they end.
    ChangePending_ = true;
    SetTimer(Handle(), kChangeTimer, static_cast<UINT>(ChangeDelay_), nullptr);
    return;
  }
  if (OnChange) OnChange(this, Node);
}

void TTreeView::DoChange() {
  if (HandleAllocated()) KillTimer(Handle(), kChangeTimer);
  if (!ChangePending_) return;
  ChangePending_ = false;
  if (OnChange) OnChange(this, Selected_);
}

bool TTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}

bool TTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}

void TTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

void TTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

bool TTreeView::ExpandNode(TTreeNode* Node, bool Open) {
  if (Node->Expanded_ == Open) return true;
  if (Open ? !CanExpand(Node) : !CanCollapse(Node)) return false;
  SendNotify(TVN_ITEMEXPANDINGA, nullptr, Node, Open ? TVE_EXPAND : TVE_COLLAPSE);
  Node->Expanded_ = Open;
  // A selection hidden under a collapsed node moves up to that node.
  if (!Open && Selected_ && Selected_->HasAsParent(Node)) SetSelected(Node);
  NodesChanged();
  SendNotify(TVN_ITEMEXPANDEDA, nullptr, Node, Open ? TVE_EXPAND : TVE_COLLAPSE);
  if (Open)
    Expand(Node);
  else
    Collapse(Node);
  return true;
}

void TTreeView::SetSelected(TTreeNode* Value) {
  if (Value && Value->TreeView() != this) return;  // a node of another tree
  if (Value == Selected_ && (Selections_.size() <= 1)) return;
  if (Value != Selected_ && !CanChange(Value)) return;
  for (TTreeNode* n : Selections_) n->Selected_ = false;
  Selections_.clear();
  if (Selected_) Selected_->Selected_ = false;
  Selected_ = Value;
  Anchor_ = Value;
  if (Value) {
    Value->Selected_ = true;
    Selections_.push_back(Value);
    Value->MakeVisible();
  }
  Invalidate();
  Change(Value);
}

void TTreeView::Subselect(TTreeNode* Node, bool Validate) {
  if (!Node || !MultiSelect_) return;
  if (Validate && MultiSelectStyle_.Contains(msSiblingOnly) && Selected_ && Node->Parent() != Selected_->Parent())
    return;
  if (!Selected_) {
    SetSelected(Node);
    return;
  }
  if (Node->Selected_) return;
  Node->Selected_ = true;
  Selections_.push_back(Node);
  Invalidate();
}

void TTreeView::Select(std::span<TTreeNode* const> Nodes) {
  std::vector<TTreeNode*> wanted;
  for (TTreeNode* n : Nodes)
    if (n && n->TreeView() == this && std::find(wanted.begin(), wanted.end(), n) == wanted.end()) wanted.push_back(n);
  if (wanted.empty()) return;
  if (!MultiSelect_) {
    SetSelected(wanted.back());
    return;
  }
  ClearSelection(false);
  for (TTreeNode* n : wanted) {
    if (!Selected_) {
      SetSelected(n);
      continue;
    }
    if (!CanChange(n)) continue;
    n->Selected_ = true;
    Selections_.push_back(n);
    Selected_ = n;
    Anchor_ = n;
    Change(n);
  }
  Invalidate();
}

void TTreeView::Select(TList* Nodes) {
  if (!Nodes) return;
  std::vector<TTreeNode*> nodes;
  for (Pointer p : Nodes->List()) nodes.push_back(static_cast<TTreeNode*>(p));
  Select(std::span<TTreeNode* const>(nodes));
}

void TTreeView::Deselect(TTreeNode* Node) {
  if (!Node || Node->TreeView() != this || !Node->Selected_) return;
  Node->Selected_ = false;
  Selections_.erase(std::remove(Selections_.begin(), Selections_.end(), Node), Selections_.end());
  if (Anchor_ == Node) Anchor_ = nullptr;
  if (Selected_ == Node) {
    Selected_ = Selections_.empty() ? nullptr : Selections_.back();
    Anchor_ = Selected_;
    Change(Selected_);
  }
  Invalidate();
}

void TTreeView::ClearSelection(bool KeepPrimary) {
  for (TTreeNode* n : Selections_)
    if (!(KeepPrimary && n == Selected_)) n->Selected_ = false;
  Selections_.clear();
  if (KeepPrimary && Selected_) {
    Selections_.push_back(Selected_);
  } else if (Selected_) {
    TTreeNode* old = Selected_;
    Selected_ = nullptr;
    old->Selected_ = false;
    Change(nullptr);
  }
  Invalidate();
}

TTreeNode* TTreeView::FindNextToSelect() const {
  if (!Selected_) return nullptr;
  auto usable = [](TTreeNode* n) { return n && !n->Selected_; };
  for (TTreeNode* n = Selected_->getNextSibling(); n; n = n->getNextSibling())
    if (usable(n)) return n;
  for (TTreeNode* n = Selected_->getPrevSibling(); n; n = n->getPrevSibling())
    if (usable(n)) return n;
  for (TTreeNode* p = Selected_->Parent(); p; p = p->Parent())
    if (usable(p)) return p;
  return nullptr;
}

void TTreeView::Select(TTreeNode* Node, TShiftState ShiftState) {
  if (!Node) return;
  if (MultiSelect_ && ShiftState.Contains(ssCtrl) && MultiSelectStyle_.Contains(msControlSelect)) {
    if (Node->Selected_ && Node != Selected_) {
      Node->Selected_ = false;
      Selections_.erase(std::remove(Selections_.begin(), Selections_.end(), Node), Selections_.end());
      Invalidate();
      return;
    }
    if (!Selected_) {
      SetSelected(Node);
      return;
    }
    if (!CanChange(Node)) return;
    if (!Node->Selected_) {
      Node->Selected_ = true;
      Selections_.push_back(Node);
    }
    Selected_ = Node;
    Anchor_ = Node;
    Invalidate();
    Change(Node);
    return;
  }
  if (MultiSelect_ && ShiftState.Contains(ssShift) && MultiSelectStyle_.Contains(msShiftSelect) && Anchor_) {
    if (!CanChange(Node)) return;
    TTreeNode* anchor = Anchor_;
    for (TTreeNode* n : Selections_) n->Selected_ = false;
    Selections_.clear();
    Integer a = RowOf(anchor), b = RowOf(Node);
    if (a < 0) a = b;
    auto rows = VisibleRows();
    for (Integer i = std::min(a, b); i <= std::max(a, b); ++i) {
      TTreeNode* n = rows[static_cast<size_t>(i)].Node;
      if (MultiSelectStyle_.Contains(msSiblingOnly) && n->Parent() != Node->Parent()) continue;
      n->Selected_ = true;
      Selections_.push_back(n);
    }
    Selected_ = Node;
    Anchor_ = anchor;
    Node->MakeVisible();
    Invalidate();
    Change(Node);
    return;
  }
  SetSelected(Node);
}

TTreeNode* TTreeView::TopItem() const {
  auto rows = VisibleRows();
  return TopRow_ < static_cast<Integer>(rows.size()) ? rows[static_cast<size_t>(TopRow_)].Node : nullptr;
}

void TTreeView::SetTopItem(TTreeNode* Value) {
  Integer row = RowOf(Value);
  if (row >= 0) ScrollTo(row, ScrollLeft_);
}

void TTreeView::FullExpand() {
  for (TTreeNode* n : Listed(Items_->Roots_)) n->Expand(true);
}

void TTreeView::FullCollapse() {
  for (TTreeNode* n : Listed(Items_->Roots_)) n->Collapse(true);
}

void TTreeView::SortChildren(std::vector<std::unique_ptr<TTreeNode>>& List, bool Recurse, bool UseCompare) {
  auto compare = [this, UseCompare](const std::unique_ptr<TTreeNode>& first, const std::unique_ptr<TTreeNode>& second) {
    TTreeNode* a = first.get();
    TTreeNode* b = second.get();
    Integer result = 0;
    if (UseCompare && OnCompare) {
      OnCompare(this, a, b, 0, result);
    } else if (UseCompare) {
      result = a->Data() < b->Data() ? -1 : (a->Data() > b->Data() ? 1 : 0);
    } else {
      result = AnsiCompareText(a->Text(), b->Text());
    }
    return result < 0;
  };
  std::stable_sort(List.begin(), List.end(), compare);
  if (Recurse)
    for (const auto& n : List) SortChildren(n->Children_, true, UseCompare);
}

bool TTreeView::AlphaSort(bool ARecurse) {
  SortChildren(Items_->Roots_, ARecurse, OnCompare.Assigned());
  NodesChanged();
  return true;
}

void TTreeView::NodeDeleting(TTreeNode* Node) {
  // An edit of the node ends while the node still exists.
  if (EditNode_ == Node) FinishEdit(true, true);
  if (ClickEditNode_ == Node) ClickEditNode_ = nullptr;
  if (TipNode_ == Node) HideTip();
  SendNotify(TVN_DELETEITEMA, Node, nullptr);
  if (OnDeletion) OnDeletion(this, Node);
  if (Hot_ == Node) Hot_ = nullptr;
  if (Anchor_ == Node) Anchor_ = nullptr;
  if (Node->Selected_) {
    Node->Selected_ = false;
    Selections_.erase(std::remove(Selections_.begin(), Selections_.end(), Node), Selections_.end());
  }
  if (Selected_ == Node) {
    // As the native tree does, the selection moves to a neighbour rather
    // than vanishing; while the whole tree is cleared it just goes. The
    // neighbour is that of the whole subtree going, never a part of it.
    TTreeNode* top = Node;
    for (TTreeNode* p = Node->Parent(); p; p = p->Parent())
      if (p->Deleting_) top = p;
    TTreeNode* next = nullptr;
    if (!Items_->UpdateCount_) {
      next = top->getNextSibling();
      if (!next) next = top->getPrevSibling();
      if (!next) next = top->Parent();
    }
    Selected_ = nullptr;
    if (next) {
      SetSelected(next);
    } else {
      Change(nullptr);
    }
  }
}

void TTreeView::NodesChanged() {
  if (Items_->UpdateCount_ > 0 || Painting_) return;
  auto rows = static_cast<Integer>(VisibleRows().size());
  Integer page = std::max<Integer>(1, ClientHeight() / ItemHeight());
  if (TopRow_ > std::max<Integer>(0, rows - page)) TopRow_ = std::max<Integer>(0, rows - page);
  UpdateScrollBars();
  Invalidate();
  if (EditNode_) {
    // The edited label moved or went out of sight.
    if (RowOf(EditNode_) < 0) FinishEdit(false, true);
    else PlaceEditor();
  }
}

void TTreeView::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  auto rows = VisibleRows();
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = static_cast<int>(rows.size()) - 1;
  si.nPage = static_cast<UINT>(std::max<Integer>(1, ClientHeight() / ItemHeight()));
  si.nPos = TopRow_;
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
  Integer widest = 0;
  for (auto& r : rows) widest = std::max(widest, LabelLeft(r.Level, r.Node) + ScrollLeft_ + LabelWidth(r.Node));
  si.nMax = widest;
  si.nPage = static_cast<UINT>(std::max<Integer>(1, ClientWidth()));
  si.nPos = ScrollLeft_;
  SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
}

void TTreeView::ScrollTo(Integer TopRow, Integer Left) {
  Integer rows = static_cast<Integer>(VisibleRows().size());
  Integer page = std::max<Integer>(1, ClientHeight() / ItemHeight());
  TopRow = std::clamp<Integer>(TopRow, 0, std::max<Integer>(0, rows - page));
  Left = std::max<Integer>(0, Left);
  if (TopRow == TopRow_ && Left == ScrollLeft_) return;
  // Scrolling takes the edit away from its label: it ends as focus loss does.
  FinishEdit(false, true);
  HideTip();
  TopRow_ = TopRow;
  ScrollLeft_ = Left;
  UpdateScrollBars();
  Invalidate();
}

void TTreeView::SendNotify(UINT Code, TTreeNode* Old, TTreeNode* New, UINT Action) {
  if (!HandleAllocated()) return;
  HWND parent = GetParent(Handle());
  if (!parent) return;
  NMTREEVIEWA nm;
  nm.hdr.hwndFrom = Handle();
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Handle(), GWLP_ID));
  nm.hdr.code = Code;
  nm.action = Action;
  nm.itemOld = Old ? Old->ItemId() : nullptr;
  nm.itemNew = New ? New->ItemId() : nullptr;
  SendMessage(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

namespace {

// A node handle from a message is trusted only when it is a node of this tree.
TTreeNode* NodeOf(TTreeNodes* Items, LPARAM lp) {
  auto* wanted = reinterpret_cast<TTreeNode*>(lp);
  if (!wanted) return nullptr;
  for (TTreeNode* n = Items->GetFirstNode(); n; n = n->GetNext())
    if (n == wanted) return n;
  return nullptr;
}

}  // namespace

LRESULT TTreeView::TreeMessage(TMessage& Message, bool& Handled) {
  Handled = true;
  switch (Message.Msg) {
    case TVM_GETCOUNT: return Items_->Count();
    case TVM_GETINDENT: return Indent_;
    case TVM_SETINDENT: SetIndent(static_cast<Integer>(Message.WParam)); return 0;
    case TVM_GETITEMHEIGHT: return ItemHeight();
    case TVM_INSERTITEMA: {
      auto* ins = reinterpret_cast<const TVINSERTSTRUCTA*>(Message.LParam);
      if (!ins) return 0;
      TTreeNode* parent = nullptr;
      if (ins->hParent && ins->hParent != TVI_ROOT) {
        parent = NodeOf(Items_.get(), reinterpret_cast<LPARAM>(ins->hParent));
        if (!parent) return 0;
      }
      const auto& list = parent ? parent->Children_ : Items_->Roots_;
      size_t position = list.size();
      if (ins->hInsertAfter == TVI_FIRST) {
        position = 0;
      } else if (ins->hInsertAfter && ins->hInsertAfter != TVI_LAST && ins->hInsertAfter != TVI_SORT) {
        auto* after = reinterpret_cast<TTreeNode*>(ins->hInsertAfter);
        auto it = PlaceOf(list, after);
        if (it != list.end()) position = static_cast<size_t>(it - list.begin()) + 1;
      }
      const TVITEMA& item = ins->item;
      bool hasText = (item.mask & TVIF_TEXT) && item.pszText && item.pszText != LPSTR_TEXTCALLBACKA;
      std::string text = hasText ? item.pszText : "";
      void* data = (item.mask & TVIF_PARAM) ? reinterpret_cast<void*>(item.lParam) : nullptr;
      TTreeNode* node = Items_->InsertNode(parent, position, text, data);
      if (item.mask & TVIF_IMAGE) node->ImageIndex_ = item.iImage;
      if (item.mask & TVIF_SELECTEDIMAGE) node->SelectedIndex_ = item.iSelectedImage;
      if (ins->hInsertAfter == TVI_SORT && SortType_ == stNone) {
        SortChildren(parent ? parent->Children_ : Items_->Roots_, false, false);
        NodesChanged();
      }
      return reinterpret_cast<LRESULT>(node);
    }
    case TVM_DELETEITEM: {
      TTreeNode* n = NodeOf(Items_.get(), Message.LParam);
      if (!n) return FALSE;
      n->Delete();
      return TRUE;
    }
    case TVM_EXPAND: {
      TTreeNode* n = NodeOf(Items_.get(), Message.LParam);
      if (!n) return FALSE;
      UINT code = static_cast<UINT>(Message.WParam) & 3;
      bool expand = code == TVE_EXPAND || (code == TVE_TOGGLE && !n->Expanded());
      return ExpandNode(n, expand) ? TRUE : FALSE;
    }
    case TVM_SELECTITEM: {
      TTreeNode* n = NodeOf(Items_.get(), Message.LParam);
      if (Message.WParam == TVGN_CARET) SetSelected(n);
      else if (Message.WParam == TVGN_FIRSTVISIBLE && n) SetTopItem(n);
      else return FALSE;
      return TRUE;
    }
    case TVM_GETNEXTITEM: {
      TTreeNode* n = NodeOf(Items_.get(), Message.LParam);
      TTreeNode* r = nullptr;
      switch (Message.WParam) {
        case TVGN_ROOT: r = Items_->GetFirstNode(); break;
        case TVGN_CARET: r = Selected_; break;
        case TVGN_FIRSTVISIBLE: r = TopItem(); break;
        case TVGN_NEXT: r = n ? n->getNextSibling() : nullptr; break;
        case TVGN_PREVIOUS: r = n ? n->getPrevSibling() : nullptr; break;
        case TVGN_PARENT: r = n ? n->Parent() : nullptr; break;
        case TVGN_CHILD: r = n ? n->GetFirstChild() : Items_->GetFirstNode(); break;
        case TVGN_NEXTVISIBLE: r = n ? n->GetNextVisible() : nullptr; break;
        case TVGN_PREVIOUSVISIBLE: r = n ? n->GetPrevVisible() : nullptr; break;
        default: break;
      }
      return reinterpret_cast<LRESULT>(r);
    }
    case TVM_HITTEST: {
      auto* info = reinterpret_cast<TVHITTESTINFO*>(Message.LParam);
      if (!info) return 0;
      TTreeNode* n;
      info->flags = HitTest(info->pt.x, info->pt.y, &n);
      info->hItem = n ? n->ItemId() : nullptr;
      return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_GETITEMA:
    case TVM_SETITEMA: {
      auto* item = reinterpret_cast<TVITEMA*>(Message.LParam);
      if (!item) return FALSE;
      TTreeNode* n = NodeOf(Items_.get(), reinterpret_cast<LPARAM>(item->hItem));
      if (!n) return FALSE;
      ItemMessage(n, *item, Message.Msg == TVM_SETITEMA);
      return TRUE;
    }
    case TVM_EDITLABELA: {
      TTreeLabelEdit* editor = BeginEdit(NodeOf(Items_.get(), Message.LParam));
      return editor ? reinterpret_cast<LRESULT>(editor->Handle()) : 0;
    }
    case TVM_GETEDITCONTROL:
      return EditNode_ && Editor_ ? reinterpret_cast<LRESULT>(Editor_->Handle()) : 0;
    case TVM_ENDEDITLABELNOW: {
      if (!EditNode_) return FALSE;
      FinishEdit(Message.WParam != 0, true);
      return TRUE;
    }
    case TVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(Message.LParam);
      if (!rect) return FALSE;
      // The node handle comes in the first field of the rectangle.
      TTreeNode* n = NodeOf(Items_.get(), *reinterpret_cast<LPARAM*>(rect));
      if (!n || RowOf(n) < 0) return FALSE;
      TRect r = n->DisplayRect(Message.WParam != 0);
      *rect = RECT{r.Left, r.Top, r.Right, r.Bottom};
      return TRUE;
    }
    // Scrolling is the window's own too: a wrapper may send it to the
    // default handling with its own scroll bar as the sender.
    case WM_MOUSEWHEEL: {
      int delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
      ScrollTo(TopRow_ - delta / 120 * 3, ScrollLeft_);
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
      bool vert = Message.Msg == WM_VSCROLL;
      Integer pos = vert ? TopRow_ : ScrollLeft_;
      Integer line = vert ? 1 : Indent_;
      Integer page = vert ? std::max<Integer>(1, ClientHeight() / ItemHeight()) : ClientWidth();
      switch (LOWORD(Message.WParam)) {
        case SB_LINEUP: pos -= line; break;
        case SB_LINEDOWN: pos += line; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = HIWORD(Message.WParam); break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = 1 << 20; break;
        default: break;
      }
      if (vert) ScrollTo(pos, ScrollLeft_);
      else {
        Integer widest = 0;
        for (auto& r : VisibleRows()) widest = std::max(widest, LabelLeft(r.Level, r.Node) + ScrollLeft_ + LabelWidth(r.Node));
        ScrollTo(TopRow_, std::min<Integer>(pos, std::max<Integer>(0, widest - ClientWidth())));
      }
      return 0;
    }
    default: Handled = false; return 0;
  }
}

void TTreeView::ItemMessage(TTreeNode* Node, TVITEMA& Item, bool Set) {
  // Image numbers travel in the state 1-based (0: none) and four bits wide.
  auto packed = [](Integer Index) { return static_cast<UINT>(std::clamp<Integer>(Index + 1, 0, 15)); };
  if (!Set) {
    if (Item.mask & TVIF_TEXT) {
      if (Item.pszText && Item.pszText != LPSTR_TEXTCALLBACKA && Item.cchTextMax > 0) {
        // Never beyond the caller's buffer, never half a character.
        size_t room = static_cast<size_t>(Item.cchTextMax) - 1;
        size_t n = std::min(room, Node->Text_.size());
        while (n > 0 && n < Node->Text_.size() && (static_cast<unsigned char>(Node->Text_[n]) & 0xC0) == 0x80) --n;
        std::memcpy(Item.pszText, Node->Text_.data(), n);
        Item.pszText[n] = '\0';
      }
    }
    if (Item.mask & TVIF_IMAGE) Item.iImage = Node->ImageIndex_;
    if (Item.mask & TVIF_SELECTEDIMAGE) Item.iSelectedImage = Node->SelectedIndex_;
    if (Item.mask & TVIF_PARAM) Item.lParam = reinterpret_cast<LPARAM>(Node->Data_);
    if (Item.mask & TVIF_CHILDREN) Item.cChildren = Node->HasChildren() ? 1 : 0;
    if (Item.mask & TVIF_STATE) {
      UINT state = (Node->Selected_ ? TVIS_SELECTED : 0) | (Node->Expanded_ ? TVIS_EXPANDED : 0) |
                   (Node->Bold_ ? TVIS_BOLD : 0) | INDEXTOOVERLAYMASK(static_cast<int>(packed(Node->OverlayIndex_))) |
                   INDEXTOSTATEIMAGEMASK(packed(Node->StateIndex_));
      Item.state = state & Item.stateMask;
    }
    return;
  }
  if ((Item.mask & TVIF_TEXT) && Item.pszText != LPSTR_TEXTCALLBACKA)
    Node->SetText(Item.pszText ? Item.pszText : "");
  if (Item.mask & TVIF_IMAGE) Node->ImageIndex_ = Item.iImage;
  if (Item.mask & TVIF_SELECTEDIMAGE) Node->SelectedIndex_ = Item.iSelectedImage;
  if (Item.mask & TVIF_PARAM) Node->Data_ = reinterpret_cast<void*>(Item.lParam);
  if (Item.mask & TVIF_STATE) {
    UINT mask = Item.stateMask;
    if (mask & TVIS_BOLD) Node->Bold_ = (Item.state & TVIS_BOLD) != 0;
    if (mask & TVIS_OVERLAYMASK) Node->OverlayIndex_ = static_cast<Integer>((Item.state & TVIS_OVERLAYMASK) >> 8) - 1;
    if (mask & TVIS_STATEIMAGEMASK)
      Node->StateIndex_ = static_cast<Integer>((Item.state & TVIS_STATEIMAGEMASK) >> 12) - 1;
    if (mask & TVIS_EXPANDED) {
      // As the native tree does: the state changes without the expansion
      // notifications; a selection hidden by it still moves up.
      Node->Expanded_ = (Item.state & TVIS_EXPANDED) != 0;
      if (!Node->Expanded_ && Selected_ && Selected_->HasAsParent(Node)) SetSelected(Node);
    }
    if (mask & TVIS_SELECTED) {
      bool want = (Item.state & TVIS_SELECTED) != 0;
      if (want != Node->Selected_) Node->SetSelected(want);
    }
  }
  NodesChanged();
}

LRESULT TTreeView::SendDispInfo(UINT Code, TTreeNode* Node, char* Text) {
  if (!HandleAllocated()) return 0;
  HWND parent = GetParent(Handle());
  if (!parent) return 0;
  NMTVDISPINFOA info;
  info.hdr.hwndFrom = Handle();
  info.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Handle(), GWLP_ID));
  info.hdr.code = Code;
  info.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  info.item.hItem = Node->ItemId();
  info.item.state = (Node->Selected_ ? TVIS_SELECTED : 0) | (Node->Expanded_ ? TVIS_EXPANDED : 0);
  info.item.pszText = Text;
  info.item.cchTextMax = Text ? static_cast<int>(std::strlen(Text)) + 1 : 0;
  info.item.iImage = Node->ImageIndex_;
  info.item.iSelectedImage = Node->SelectedIndex_;
  info.item.lParam = reinterpret_cast<LPARAM>(Node->Data_);
  return SendMessage(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

bool TTreeView::CanEdit(TTreeNode* Node) {
  bool allow = true;
  if (OnEditing) OnEditing(this, Node, allow);
  return allow;
}

void TTreeView::Edit(TTreeNode* Node, std::string& S) {
  if (OnEdited) OnEdited(this, Node, S);
}

TTreeLabelEdit* TTreeView::BeginEdit(TTreeNode* Node) {
  if (!Node || ReadOnly_ || !HandleAllocated()) return nullptr;
  FinishEdit(false, true);
  HideTip();
  KillTimer(Handle(), kEditTimer);
  ClickEditNode_ = nullptr;
  Node->MakeVisible();
  if (RowOf(Node) < 0) return nullptr;
  // The parent (TVN_BEGINLABELEDITA answered nonzero) and OnEditing may
  // refuse; either may also have deleted the node.
  std::string text = Node->Text();
  if (SendDispInfo(TVN_BEGINLABELEDITA, Node, text.data()) != 0) return nullptr;
  if (NodeOf(Items_.get(), reinterpret_cast<LPARAM>(Node)) != Node || !CanEdit(Node)) return nullptr;
  if (NodeOf(Items_.get(), reinterpret_cast<LPARAM>(Node)) != Node || RowOf(Node) < 0 || ReadOnly_) return nullptr;
  if (!Editor_) {
    Editor_.reset(new TTreeLabelEdit(this));
    Editor_->SetParent(this);
  }
  Editor_->Font()->Assign(Font());
  Editor_->SetText(Node->Text());
  EditNode_ = Node;
  PlaceEditor();
  Editor_->SetVisible(true);
  // Straight to the window: a tree on a form not yet shown may still edit.
  win::SetFocus(Editor_->Handle());
  Editor_->SelectAll();
  Invalidate();
  return Editor_.get();
}

void TTreeView::PlaceEditor() {
  if (!EditNode_ || !Editor_) return;
  TRect r = EditNode_->DisplayRect(true);
  // Wide enough for the text typed so far, within the window.
  Integer want = TextWidth(Editor_->GetText(), EditNode_->Bold_) + 12;
  Integer width = std::max<Integer>(r.Width(), want);
  width = std::max<Integer>(std::min<Integer>(width, ClientWidth() - r.Left), std::min<Integer>(r.Width(), 16));
  Editor_->SetBounds(r.Left, r.Top, width, r.Height());
}

void TTreeView::EndEditing(bool Cancel) { FinishEdit(Cancel, true); }

void TTreeView::FinishEdit(bool Cancel, bool KeepFocus) {
  TTreeNode* node = EditNode_;
  if (!node || !Editor_) return;
  // Cleared first: every way out below (focus moving, handlers) may call
  // back in and must find no edit running.
  EditNode_ = nullptr;
  std::string text = Editor_->GetText();
  if (KeepFocus && Editor_->HandleAllocated() && GetFocus() == Editor_->Handle() && HandleAllocated())
    win::SetFocus(Handle());
  Editor_->SetVisible(false);
  Invalidate();
  SendDispInfo(TVN_ENDLABELEDITA, node, Cancel ? nullptr : text.data());
  if (NodeOf(Items_.get(), reinterpret_cast<LPARAM>(node)) != node) return;
  if (Cancel) {
    if (OnCancelEdit) OnCancelEdit(this, node);
    return;
  }
  // The node's text changes only to what OnEdited leaves.
  Edit(node, text);
  if (NodeOf(Items_.get(), reinterpret_cast<LPARAM>(node)) == node) node->SetText(text);
}

bool TTreeView::LabelClipped(TTreeNode* Node) const {
  TRect r = Node->DisplayRect(true);
  TTreeView* self = const_cast<TTreeView*>(this);
  return r.Width() > 0 && (r.Left < 0 || r.Right > self->ClientWidth());
}

void TTreeView::TrackTip(TPoint ClientPos) {
  TTreeNode* node = nullptr;
  if (ToolTips_ && !EditNode_ && Enabled() && HandleAllocated()) {
    TTreeNode* hit;
    UINT flags = HitTest(ClientPos.X, ClientPos.Y, &hit);
    if (hit && (flags & TVHT_ONITEMLABEL) && LabelClipped(hit)) node = hit;
  }
  if (node == TipNode_) return;
  bool wasShown = Tip_ && Tip_->HandleAllocated() && IsWindowVisible(Tip_->Handle());
  HideTip();
  TipNode_ = node;
  if (!node) return;
  // Moving from one tip to the next needs no new rest.
  if (wasShown) ShowTip();
  else SetTimer(Handle(), kTipTimer, static_cast<UINT>(std::max<Integer>(Application->HintPause, 1)), nullptr);
}

void TTreeView::ShowTip() {
  if (HandleAllocated()) KillTimer(Handle(), kTipTimer);
  if (!TipNode_ || RowOf(TipNode_) < 0) return;
  if (!Tip_) Tip_.reset(new TTreeTip(this));
  Tip_->Font()->Assign(Font());
  if (TipNode_->Bold_) Tip_->Font()->SetStyle(Tip_->Font()->GetStyle() + fsBold);
  TRect r = TipNode_->DisplayRect(true);
  TSize text = TextSize(TipNode_->Text(), TipNode_->Bold_);
  Integer textHeight = TextSize("Wg", TipNode_->Bold_).cy;
  // The tip's text lands on the label's own: the label writes two pixels
  // in, the tip one pixel inside its frame.
  TPoint at = ClientToScreen({r.Left, r.Top + (r.Height() - textHeight) / 2 - 2});
  Tip_->ActivateHint({at.X, at.Y, at.X + text.cx + 6, at.Y + textHeight + 4}, TipNode_->Text());
}

void TTreeView::HideTip() {
  if (HandleAllocated()) KillTimer(Handle(), kTipTimer);
  TipNode_ = nullptr;
  if (Tip_ && Tip_->HandleAllocated() && IsWindowVisible(Tip_->Handle())) Tip_->SetVisible(false);
}

void TTreeView::WndProc(TMessage& Message) {
  bool handled = false;
  LRESULT result = TreeMessage(Message, handled);
  if (handled) {
    Message.Result = result;
    return;
  }
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      NodesChanged();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(Message);
      Invalidate();
      return;
    case WM_MOUSEMOVE:
      if (HotTrack_) {
        TPoint p = PointFromLParam(Message.LParam);
        TTreeNode* hot = GetNodeAt(p.X, p.Y);
        if (hot != Hot_) {
          Hot_ = hot;
          Invalidate();
        }
      }
      TrackTip(PointFromLParam(Message.LParam));
      break;
    case WM_TIMER:
      if (Message.WParam == kEditTimer) {
        KillTimer(Handle(), kEditTimer);
        TTreeNode* node = ClickEditNode_;
        ClickEditNode_ = nullptr;
        if (node && node == Selected_ && GetFocus() == Handle()) node->EditText();
        return;
      }
      if (Message.WParam == kTipTimer) {
        ShowTip();
        return;
      }
      if (Message.WParam == kChangeTimer) {
        DoChange();
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      HideTip();
      break;
    case WM_DESTROY:
      // The editor is our child window: it goes with us, and the edit with it.
      EndEditing(true);
      HideTip();
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TTreeView::DefaultHandler(TMessage& Message) {
  bool handled = false;
  LRESULT result = TreeMessage(Message, handled);
  if (handled) Message.Result = result;
  else TCustomControl::DefaultHandler(Message);
}

void TTreeView::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  // The tip lies under the mouse over its label: moving onto it is no leaving.
  POINT p;
  bool onTip = Tip_ && Tip_->HandleAllocated() && IsWindowVisible(Tip_->Handle()) && GetCursorPos(&p) &&
               WindowFromPoint(p) == Tip_->Handle();
  if (!onTip) HideTip();
  if (Hot_) {
    Hot_ = nullptr;
    Invalidate();
  }
}

void TTreeView::WMLButtonDown(TMessage& Message) {
  TPoint p = PointFromLParam(Message.LParam);
  TShiftState shift = KeysToShiftState(static_cast<WORD>(Message.WParam));
  HideTip();
  bool hadFocus = HandleAllocated() && GetFocus() == Handle();
  if (CanFocus() && !Focused()) SetFocus();
  TTreeNode* node;
  UINT flags = HitTest(p.X, p.Y, &node);
  // A second click on the selected label edits it, unless it turns out to
  // be half of a double click.
  KillTimer(Handle(), kEditTimer);
  ClickEditNode_ = nullptr;
  if (node && node == Selected_ && hadFocus && !ReadOnly_ && (flags & TVHT_ONITEMLABEL) &&
      !shift.Contains(ssShift) && !shift.Contains(ssCtrl)) {
    ClickEditNode_ = node;
    SetTimer(Handle(), kEditTimer, GetDoubleClickTime(), nullptr);
  }
  if (node && (flags & TVHT_ONITEMBUTTON)) {
    ExpandNode(node, !node->Expanded());
  } else if (node && (RowSelect_ || (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON | TVHT_ONITEMSTATEICON)))) {
    Select(node, shift);
    if (AutoExpand_ && node->HasChildren() && !node->Expanded()) ExpandNode(node, true);
  }
  TCustomControl::WMLButtonDown(Message);
}

void TTreeView::WMLButtonDblClk(TMessage& Message) {
  KillTimer(Handle(), kEditTimer);
  ClickEditNode_ = nullptr;
  TPoint p = PointFromLParam(Message.LParam);
  TTreeNode* node;
  UINT flags = HitTest(p.X, p.Y, &node);
  if (node && (flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)) && node->HasChildren())
    ExpandNode(node, !node->Expanded());
  TCustomControl::WMLButtonDblClk(Message);
}

void TTreeView::WMRButtonDown(TMessage& Message) {
  if (RightClickSelect_) {
    TPoint p = PointFromLParam(Message.LParam);
    if (TTreeNode* node = GetNodeAt(p.X, p.Y)) SetSelected(node);
  }
  TCustomControl::WMRButtonDown(Message);
}

void TTreeView::SetFocusNode(TTreeNode* Node, TShiftState ShiftState) {
  if (!Node) return;
  if (MultiSelect_ && ShiftState.Contains(ssShift)) Select(Node, TShiftState{ssShift});
  else SetSelected(Node);
}

void TTreeView::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  auto rows = VisibleRows();
  if (rows.empty()) return;
  TTreeNode* sel = Selected_;
  Integer page = std::max<Integer>(1, ClientHeight() / ItemHeight());
  switch (Key) {
    case VK_UP:
      SetFocusNode(sel ? sel->GetPrevVisible() : rows.front().Node, Shift);
      break;
    case VK_DOWN:
      SetFocusNode(sel ? sel->GetNextVisible() : rows.front().Node, Shift);
      break;
    case VK_HOME: SetFocusNode(rows.front().Node, Shift); break;
    case VK_END: SetFocusNode(rows.back().Node, Shift); break;
    case VK_PRIOR:
    case VK_NEXT: {
      Integer row = sel ? RowOf(sel) : 0;
      row += Key == VK_NEXT ? page - 1 : -(page - 1);
      row = std::clamp<Integer>(row, 0, static_cast<Integer>(rows.size()) - 1);
      SetFocusNode(rows[static_cast<size_t>(row)].Node, Shift);
      break;
    }
    case VK_LEFT:
      if (!sel) break;
      if (sel->Expanded() && sel->HasChildren()) ExpandNode(sel, false);
      else if (sel->Parent()) SetSelected(sel->Parent());
      break;
    case VK_RIGHT:
      if (!sel || !sel->HasChildren()) break;
      if (!sel->Expanded()) ExpandNode(sel, true);
      else SetSelected(sel->GetFirstChild());
      break;
    case VK_ADD:
      if (sel && sel->HasChildren()) ExpandNode(sel, true);
      break;
    case VK_SUBTRACT:
      if (sel) ExpandNode(sel, false);
      break;
    case VK_MULTIPLY:
      if (sel) sel->Expand(true);
      break;
    case VK_F2:
      if (sel) sel->EditText();
      break;
    default: return;
  }
  Key = 0;
}

namespace {

// The tree's dotted lines: every other pixel, starting on an even one.
void DottedLine(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor Color) {
  if (X1 == X2) {
    for (Integer y = Y1 + ((Y1 & 1) ? 1 : 0); y < Y2; y += 2) C->SetPixels(X1, y, Color);
  } else {
    for (Integer x = X1 + ((X1 & 1) ? 1 : 0); x < X2; x += 2) C->SetPixels(x, Y1, Color);
  }
}

}  // namespace

void TTreeView::Paint() {
  // Handlers set image indexes while we draw: that must not ask for
  // another painting.
  Painting_ = true;
  ScopeExit painted([this] { Painting_ = false; });
  PaintNodes();
}

void TTreeView::PaintNodes() {
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  c->Font()->Assign(Font());
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  bool defaultDraw = true;
  if (OnCustomDraw) OnCustomDraw(this, client, defaultDraw);
  if (defaultDraw && OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, client, cdPrePaint, defaultDraw);
  if (!defaultDraw) return;

  auto rows = VisibleRows();
  Integer h = ItemHeight();
  bool focused = HandleAllocated() && GetFocus() == Handle();
  bool rootColumn = ShowRoot_ && (ShowLines_ || ShowButtons_);
  TColor lineColor = clGrayText;
  for (Integer i = TopRow_; i < static_cast<Integer>(rows.size()); ++i) {
    Integer top = (i - TopRow_) * h;
    if (top >= client.Bottom) break;
    TTreeNode* node = rows[static_cast<size_t>(i)].Node;
    Integer level = rows[static_cast<size_t>(i)].Level;
    Integer iconLeft = ContentLeft(level);
    Integer left = LabelLeft(level, node);
    TRect labelRect{left, top, left + LabelWidth(node), top + h};
    TRect rowRect{0, top, client.Right, top + h};

    TCustomDrawState state;
    if (node->Selected_) state += cdsSelected;
    if (node == Selected_ && focused) state += cdsFocused;
    if (node == Hot_) state += cdsHot;
    if (!Enabled()) state += cdsDisabled;
    bool itemDefault = true;
    bool paintImages = true;
    c->Brush()->SetColor(Color());
    c->Font()->Assign(Font());
    if (OnCustomDrawItem) OnCustomDrawItem(this, node, state, itemDefault);
    if (itemDefault && OnAdvancedCustomDrawItem)
      OnAdvancedCustomDrawItem(this, node, state, cdPrePaint, paintImages, itemDefault);
    if (!itemDefault) continue;

    // Lines and buttons in the columns left of the label.
    Integer midY = top + h / 2;
    bool hasColumn = node->Parent() || rootColumn;
    Integer colX = iconLeft - 3 - Indent_ / 2 - 1;
    if (ShowLines_ && hasColumn) {
      DottedLine(c, colX, midY, iconLeft - 3, midY, lineColor);
      bool firstRoot = !node->Parent() && !node->getPrevSibling();
      DottedLine(c, colX, firstRoot ? midY : top, colX, node->getNextSibling() ? top + h : midY + 1, lineColor);
      Integer x = colX;
      for (TTreeNode* p = node->Parent(); p; p = p->Parent()) {
        x -= Indent_;
        if (p->getNextSibling() && (p->Parent() || rootColumn)) DottedLine(c, x, top, x, top + h, lineColor);
      }
    }
    ScopedTheme glyphs(u"TreeView");
    if (ShowButtons_ && hasColumn && node->HasChildren() && glyphs) {
      // The style's glyph, centred where the classic box would be.
      TRect box{colX - 4, midY - 4, colX + 5, midY + 5};
      c->Brush()->SetColor(Color());
      c->FillRect(box);
      SIZE g{16, 16};
      GetThemePartSize(glyphs.get(), c->Handle(), TVP_GLYPH, GLPS_CLOSED, nullptr, TS_TRUE, &g);
      RECT at{colX - g.cx / 2, midY - g.cy / 2, colX - g.cx / 2 + g.cx, midY - g.cy / 2 + g.cy};
      c->RequiredState();
      DrawThemeBackground(glyphs.get(), c->Handle(), TVP_GLYPH, node->Expanded() ? GLPS_OPENED : GLPS_CLOSED, &at,
                          nullptr);
    } else if (ShowButtons_ && hasColumn && node->HasChildren()) {
      TRect box{colX - 4, midY - 4, colX + 5, midY + 5};
      c->Brush()->SetColor(Color());
      c->FillRect(box);
      c->Brush()->SetColor(clGrayText);
      c->FrameRect(box);
      c->Pen()->SetColor(clWindowText);
      c->MoveTo(colX - 2, midY);
      c->LineTo(colX + 3, midY);
      if (!node->Expanded()) {
        c->MoveTo(colX, midY - 2);
        c->LineTo(colX, midY + 3);
      }
    }

    Integer x = iconLeft;
    if (StateImages_ && node->StateIndex() >= 0) {
      if (paintImages)
        StateImages_->Draw(c, x, top + (h - StateImages_->Height()) / 2, node->StateIndex(), Enabled());
      x += StateImages_->Width();
    }
    if (Images_ && paintImages) {
      bool selectedImage = node->Selected_ && node == Selected_;
      if (selectedImage && OnGetSelectedIndex) OnGetSelectedIndex(this, node);
      if (!selectedImage && OnGetImageIndex) OnGetImageIndex(this, node);
      Integer index = selectedImage ? node->SelectedIndex() : node->ImageIndex();
      Integer y = top + (h - Images_->Height()) / 2;
      if (index >= 0 && node->OverlayIndex() >= 0)
        Images_->DrawOverlay(c, x, y, index, node->OverlayIndex(), Enabled());
      else if (index >= 0)
        Images_->Draw(c, x, y, index, Enabled());
    }

    bool showSelected = node->Selected_ && (focused || !HideSelection_);
    TRect fill = RowSelect_ ? rowRect : labelRect;
    TColor textColor = Font()->GetColor();
    if (showSelected) {
      c->Brush()->SetColor(focused ? clHighlight : clBtnFace);
      c->FillRect(fill);
      textColor = focused ? clHighlightText : clWindowText;
    } else if (node == Hot_) {
      textColor = clHighlight;
    }
    if (!Enabled()) textColor = clGrayText;
    c->Font()->SetColor(textColor);
    if (node == Hot_) c->Font()->SetStyle(c->Font()->GetStyle() + fsUnderline);
    if (node->Bold_) c->Font()->SetStyle(c->Font()->GetStyle() + fsBold);
    // The label's background is already painted (or is the tree's own).
    c->Brush()->SetStyle(bsClear);
    c->TextOut(left + 2, top + (h - c->TextHeight("Wg")) / 2, node->Text());
    c->Brush()->SetStyle(bsSolid);
    if (node == Selected_ && focused) c->DrawFocusRect(fill);
    if (OnAdvancedCustomDrawItem) {
      bool unusedImages = true, unusedDefault = true;
      OnAdvancedCustomDrawItem(this, node, state, cdPostPaint, unusedImages, unusedDefault);
    }
  }
  if (OnAdvancedCustomDraw) {
    bool unused = true;
    OnAdvancedCustomDraw(this, client, cdPostPaint, unused);
  }
}
