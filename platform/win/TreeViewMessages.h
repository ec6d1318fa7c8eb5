// The messages, notifications and records of the tree-view window class
// (TVM_*, TVN_*, TVITEMA and the rest), which code talking to a tree window
// uses; the tree view of the class library answers and sends them.
#pragma once

#include <cstdint>

#include "platform/win/ChildNotify.h"
#include "platform/win/WinTypes.h"

namespace win {

struct TREEITEM;
using HTREEITEM = TREEITEM*;

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;

constexpr UINT TVE_COLLAPSE = 1;
constexpr UINT TVE_EXPAND = 2;
constexpr UINT TVE_TOGGLE = 3;

constexpr UINT TVGN_ROOT = 0;
constexpr UINT TVGN_NEXT = 1;
constexpr UINT TVGN_PREVIOUS = 2;
constexpr UINT TVGN_PARENT = 3;
constexpr UINT TVGN_CHILD = 4;
constexpr UINT TVGN_FIRSTVISIBLE = 5;
constexpr UINT TVGN_NEXTVISIBLE = 6;
constexpr UINT TVGN_PREVIOUSVISIBLE = 7;
constexpr UINT TVGN_CARET = 9;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

constexpr UINT TVN_FIRST = static_cast<UINT>(-400);
constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;
constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFD));

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;
// Image numbers inside the state: 0 is none, so image n is stored as n + 1
// (INDEXTOOVERLAYMASK comes with the image lists).
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }

inline char* const LPSTR_TEXTCALLBACKA = reinterpret_cast<char*>(static_cast<intptr_t>(-1));

struct TVITEMA {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  // Read by insertions and TVM_SETITEMA; written (cchTextMax bytes at most,
  // with the terminating zero) by TVM_GETITEMA.
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};

struct TVINSERTSTRUCTA {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEMA item;
};

struct TVHITTESTINFO {
  POINT pt{};
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

struct NMTREEVIEWA {
  NMHDR hdr;
  UINT action = 0;
  HTREEITEM itemOld = nullptr;
  HTREEITEM itemNew = nullptr;
  POINT ptDrag{};
};

// TVN_BEGINLABELEDITA and TVN_ENDLABELEDITA; on ending, pszText is nil when
// the edit was cancelled.
struct NMTVDISPINFOA {
  NMHDR hdr;
  TVITEMA item;
};

}  // namespace win
