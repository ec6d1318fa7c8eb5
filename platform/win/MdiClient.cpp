#include "platform/win/MdiClient.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

namespace win {

namespace {

// The active child of each client window (the user-interface thread's only).
std::unordered_map<HWND, HWND>& ActiveChildren() {
  static std::unordered_map<HWND, HWND> map;
  return map;
}

bool IsMdiChildOf(HWND client, HWND child) {
  return child && IsWindow(child) && GetParent(child) == client &&
         (static_cast<DWORD>(GetWindowLong(child, GWL_EXSTYLE)) & WS_EX_MDICHILD);
}

// The client's MDI children in z-order, the top one first.
std::vector<HWND> ChildrenOf(HWND client) {
  std::vector<HWND> out;
  for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsMdiChildOf(client, w)) out.push_back(w);
  return out;
}

// A destroyed child is nobody's active child any more.
HWND ActiveChildOf(HWND client) {
  auto it = ActiveChildren().find(client);
  return it != ActiveChildren().end() && IsMdiChildOf(client, it->second) ? it->second : nullptr;
}

void MoveChild(HWND child, int x, int y, int width, int height) {
  SetWindowPos(child, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Maximising and restoring change a shown child; a hidden one keeps its place.
void ShowChildState(HWND child, int show) {
  if (IsWindowVisible(child)) ShowWindow(child, show);
}

void Activate(HWND client, HWND child) {
  HWND old = ActiveChildOf(client);
  if (!IsMdiChildOf(client, child) || child == old) return;
  const bool maximized = old && IsZoomed(old);
  ActiveChildren()[client] = child;
  BringWindowToTop(child);
  // The caption bars show which child is active, and only while the frame is
  // active itself.
  HWND frame = GetParent(client);
  const bool frameActive = frame && GetActiveWindow() == frame;
  if (old) SendMessage(old, WM_NCACTIVATE, FALSE, 0);
  SendMessage(child, WM_NCACTIVATE, frameActive ? TRUE : FALSE, 0);
  if (old) SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  // A maximised child hands its state to the one taking over.
  if (maximized) {
    if (!IsZoomed(child)) ShowChildState(child, SW_MAXIMIZE);
    ShowChildState(old, SW_RESTORE);
  }
  // The keyboard goes with the activation.
  HWND focus = GetFocus();
  if (frameActive && focus != child && !IsChild(child, focus)) SetFocus(child);
}

void Cascade(HWND client, const RECT& area) {
  const std::vector<HWND> list = ChildrenOf(client);
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const int w = area.right * 2 / 3, h = area.bottom * 2 / 3;
  int i = 0;
  // Bottom of the z-order first, so that the active child ends on top.
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (IsIconic(*it)) continue;
    if (IsZoomed(*it)) ShowChildState(*it, SW_RESTORE);
    MoveChild(*it, i * step, i * step, w, h);
    ++i;
  }
}

void Tile(HWND client, const RECT& area, bool horizontal) {
  std::vector<HWND> list = ChildrenOf(client);
  list.erase(std::remove_if(list.begin(), list.end(), [](HWND w) { return IsIconic(w) != FALSE; }), list.end());
  const int n = static_cast<int>(list.size());
  for (int i = 0; i < n; ++i) {
    HWND child = list[static_cast<size_t>(i)];
    if (IsZoomed(child)) ShowChildState(child, SW_RESTORE);
    if (horizontal) {
      const int top = area.bottom * i / n, bottom = area.bottom * (i + 1) / n;
      MoveChild(child, 0, top, area.right, bottom - top);
    } else {
      const int left = area.right * i / n, right = area.right * (i + 1) / n;
      MoveChild(child, left, 0, right - left, area.bottom);
    }
  }
}

// Minimised children in a row along the client's bottom edge.
void ArrangeIcons(HWND client, const RECT& area) {
  const int iconWidth = 160;
  const int iconHeight = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
  int i = 0;
  for (HWND child : ChildrenOf(client))
    if (IsIconic(child)) MoveChild(child, i++ * iconWidth, area.bottom - iconHeight, iconWidth, iconHeight);
}

}  // namespace

MINMAXINFO MdiMaximizedPlace(HWND child) {
  RECT r{0, 0, 0, 0};
  DWORD style = 0, ex = 0;
  if (child) {
    GetClientRect(GetParent(child), &r);
    style = static_cast<DWORD>(GetWindowLong(child, GWL_STYLE));
    ex = static_cast<DWORD>(GetWindowLong(child, GWL_EXSTYLE));
  }
  AdjustWindowRectEx(&r, style & ~(WS_MAXIMIZE | WS_MINIMIZE), FALSE, ex);
  MINMAXINFO mm{};
  mm.ptMaxPosition = {r.left, r.top};
  mm.ptMaxSize = {r.right - r.left, r.bottom - r.top};
  return mm;
}

void RegisterMdiClientClass() {
  WNDCLASSEX existing;
  if (GetClassInfoEx(nullptr, kMdiClientClassName, &existing)) return;
  WNDCLASSEX wc;
  wc.lpfnWndProc = &MdiClientWindowProc;
  wc.lpszClassName = kMdiClientClassName;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_APPWORKSPACE + 1));
  RegisterClassEx(&wc);
}

LRESULT MdiClientWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  RECT area;
  GetClientRect(hwnd, &area);
  switch (msg) {
    case WM_MDIGETACTIVE: return reinterpret_cast<LRESULT>(ActiveChildOf(hwnd));
    case WM_MDIACTIVATE: Activate(hwnd, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_MDINEXT: {
      const std::vector<HWND> list = ChildrenOf(hwnd);
      HWND active = ActiveChildOf(hwnd);
      if (list.size() < 2 || !active) return 0;
      auto it = std::find(list.begin(), list.end(), active);
      const size_t at = it == list.end() ? 0 : static_cast<size_t>(it - list.begin());
      if (lParam == 0) {
        // The next child comes forward; the active one goes to the back.
        Activate(hwnd, list[(at + 1) % list.size()]);
        SetWindowPos(active, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      } else {
        Activate(hwnd, list.back());
      }
      return 0;
    }
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE:
      if (HWND child = reinterpret_cast<HWND>(wParam); IsMdiChildOf(hwnd, child))
        ShowChildState(child, msg == WM_MDIMAXIMIZE ? SW_MAXIMIZE : SW_RESTORE);
      return 0;
    case WM_MDIDESTROY:
      if (HWND child = reinterpret_cast<HWND>(wParam); IsMdiChildOf(hwnd, child)) DestroyWindow(child);
      return 0;
    case WM_MDICASCADE: Cascade(hwnd, area); return 0;
    case WM_MDITILE: Tile(hwnd, area, (wParam & MDITILE_HORIZONTAL) != 0); return 0;
    case WM_MDIICONARRANGE: ArrangeIcons(hwnd, area); return 0;
    case WM_SIZE:
      // Maximised children keep filling the client.
      for (HWND child : ChildrenOf(hwnd))
        if (IsZoomed(child)) {
          const MINMAXINFO mm = MdiMaximizedPlace(child);
          SetWindowPos(child, nullptr, mm.ptMaxPosition.x, mm.ptMaxPosition.y, mm.ptMaxSize.x, mm.ptMaxSize.y,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        }
      break;
    case WM_NCDESTROY: ActiveChildren().erase(hwnd); break;
    default: break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace win
