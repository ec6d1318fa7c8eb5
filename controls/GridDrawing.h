// The drawing calls one paint of the cell grid makes. The grid paints
// through the GDI drawing over its canvas; a descendant may put another in
// between (one that records a paint, say).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"

struct TGridFont {
  std::string Name;
  Integer Size = 8;
  TFontStyles Style;
  friend bool operator==(const TGridFont&, const TGridFont&) = default;
};

class TGridDrawing {
 public:
  virtual ~TGridDrawing() = default;

  // Clipping: R within the paint's own clip (SetClip), or the present clip
  // narrowed further (IntersectClip); ResetClip goes back to the paint's.
  virtual void SetClip(const TRect& R) = 0;
  virtual void IntersectClip(const TRect& R) = 0;
  virtual void ResetClip() = 0;

  virtual void FillRect(const TRect& R, TColor Color) = 0;
  // Two points per line, all in one call; widths above 1 are geometric pens
  // with flat ends and mitre joins.
  virtual void Lines(const std::vector<TPoint>& Points, TColor Color, Integer Width) = 0;
  // One line of the canvas pen kind (end point excluded).
  virtual void Line(TPoint From, TPoint To, TColor Color, Integer Width, TPenStyle Style) = 0;
  // A rectangle outlined and filled in one colour.
  virtual void Box(const TRect& R, TColor Color, Integer PenWidth) = 0;
  virtual void Edge(const TRect& R, win::UINT EdgeKind, win::UINT Flags) = 0;
  virtual void FocusRect(const TRect& R) = 0;
  // DrawText with DT_CALCRECT: the height the text takes within Width.
  virtual Integer TextHeight(const std::string& Text, const TGridFont& Font, Integer Width,
                             win::UINT Flags) = 0;
  // DrawText over a transparent background.
  virtual void Text(const std::string& Text, const TGridFont& Font, TColor Color, const TRect& R,
                    win::UINT Flags) = 0;
};

// The drawing on a canvas's device context (which must have one).
std::unique_ptr<TGridDrawing> NewGdiGridDrawing(TCanvas* Canvas);
