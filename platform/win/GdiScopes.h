// Scope guards for GDI and window state. Each takes a piece of state when it
// is made and gives it back when its scope ends, also when a painter throws:
// a paint that is always ended, an object that is always deselected, a DC
// that is always restored, released or deleted, a capture that is always
// let go.
#pragma once

#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"

namespace win {

// A guard stands for one piece of state in one scope: it is never copied.
struct Unmovable {
  Unmovable() = default;
  Unmovable(const Unmovable&) = delete;
  Unmovable& operator=(const Unmovable&) = delete;
};

// BeginPaint ... EndPaint.
class PaintScope : Unmovable {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  HDC Dc() const { return dc_; }
  const PAINTSTRUCT& Paint() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_;
  HDC dc_;
};

// SelectObject, and the object it replaced selected again at the end.
class ObjectSelection : Unmovable {
 public:
  ObjectSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~ObjectSelection() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC ... RestoreDC.
class SavedDc : Unmovable {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// CreateCompatibleDC ... DeleteDC.
class MemoryDc : Unmovable {
 public:
  explicit MemoryDc(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC ... ReleaseDC (a null window gives the screen's DC).
class WindowDc : Unmovable {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  HDC Dc() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A GDI object (bitmap, pen, brush, font, region) deleted at the end.
class OwnedGdiObject : Unmovable {
 public:
  explicit OwnedGdiObject(HGDIOBJ object = nullptr) : object_(object) {}
  ~OwnedGdiObject() {
    if (object_) DeleteObject(object_);
  }
  HGDIOBJ Get() const { return object_; }
  // Hands the object over: it is no longer deleted here.
  HGDIOBJ Release() {
    HGDIOBJ object = object_;
    object_ = nullptr;
    return object;
  }

 private:
  HGDIOBJ object_;
};

// SetCapture ... ReleaseCapture, unless the capture has moved on meanwhile.
class CaptureScope : Unmovable {
 public:
  explicit CaptureScope(HWND hwnd) : hwnd_(hwnd) { SetCapture(hwnd); }
  ~CaptureScope() {
    if (GetCapture() == hwnd_) ReleaseCapture();
  }

 private:
  HWND hwnd_;
};

}  // namespace win
