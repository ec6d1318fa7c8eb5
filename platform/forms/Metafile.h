// Recorded pictures: the drawing calls made on a metafile's canvas, kept in
// drawing order and replayed onto any canvas, scaled into any rectangle, and
// saved and loaded in a format of our own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"

enum class TMetafileRecordKind : uint8_t {
  // State: the drawing records that follow use it.
  Pen = 1,
  Brush,
  Font,
  // Drawing.
  MoveTo,
  LineTo,
  Rectangle,
  RoundRect,
  Ellipse,
  Polygon,
  Polyline,
  FillRect,
  FrameRect,
  FocusRect,
  Pixel,
  TextOut,
  TextRect,
  Graphic,
};

// One recorded call. Points are in the picture's coordinates:
//   MoveTo, LineTo, Pixel, TextOut     one point
//   rectangles, ellipses, Graphic      two corners
//   RoundRect                          two corners and the corner ellipse's size
//   TextRect                           two corners and the text's origin
//   Polygon, Polyline                  one or more
// Values:
//   Pen      colour, style, mode, width
//   Brush    colour, style (a pattern bitmap in Graphic)
//   Font     height, colour, charset, pitch, style bits (the name in Text)
//   Pixel    colour
//   Graphic  the copy mode it is drawn with
struct TMetafileRecord {
  TMetafileRecordKind Kind = TMetafileRecordKind::MoveTo;
  std::vector<TPoint> Points;
  std::vector<Integer> Values;
  std::string Text;
  std::shared_ptr<TGraphic> Graphic;
  // What a drawing record covers (text: the text's box); empty for state.
  TRect Bounds;
};

class TMetafileCanvas;

// Width and Height are the picture's own size in pixels; Draw scales the
// recording from (0, 0, Width, Height) into the target rectangle and clips
// to it.
class TMetafile : public TGraphic {
  VXN_DECLARE_CLASS(TMetafile)

 public:
  TMetafile() = default;
  ~TMetafile() override;

  bool Empty() const override { return Records_.empty() || Width_ == 0 || Height_ == 0; }
  Integer Width() const override { return Width_; }
  Integer Height() const override { return Height_; }
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  const std::vector<TMetafileRecord>& Records() const { return Records_; }
  void Clear();

  // Loading raises EInvalidGraphic "Metafile is not valid" for anything
  // that is not a whole metafile of ours.
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  void Assign(TPersistent* Source) override;

 private:
  friend class TMetafileCanvas;
  void Append(TMetafileRecord Record);
  void CanvasChanged(TObject* Sender);

  Integer Width_ = 0;
  Integer Height_ = 0;
  std::vector<TMetafileRecord> Records_;
  TMetafileCanvas* Recorder_ = nullptr;
};

// Records into a metafile, which it clears when made; each drawing call is
// in the metafile at once. A metafile without a size grows to cover what is
// drawn. Text is measured on a memory DC like ReferenceDevice (null: the
// screen). Reading pixels gives nothing useful: a recording has none, and
// GDI calls made on Handle directly are not recorded.
class TMetafileCanvas : public TCanvas {
  VXN_DECLARE_CLASS(TMetafileCanvas)

 public:
  TMetafileCanvas(TMetafile* AMetafile, win::HDC ReferenceDevice);
  ~TMetafileCanvas() override;

  TMetafile* Metafile() const { return Metafile_; }

  void SetPixels(Integer X, Integer Y, TColor Value) override;
  void MoveTo(Integer X, Integer Y) override;
  void LineTo(Integer X, Integer Y) override;
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  using TCanvas::Rectangle;
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) override;
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  using TCanvas::Ellipse;
  void Polygon(const std::vector<TPoint>& Points) override;
  void Polyline(const std::vector<TPoint>& Points) override;
  void FillRect(const TRect& R) override;
  void FrameRect(const TRect& R) override;
  void DrawFocusRect(const TRect& R) override;
  void TextOut(Integer X, Integer Y, const std::string& Text) override;
  void TextRect(const TRect& R, Integer X, Integer Y, const std::string& Text) override;
  void Draw(Integer X, Integer Y, TGraphic* Graphic) override;
  void StretchDraw(const TRect& R, TGraphic* Graphic) override;
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) override;
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) override;

 private:
  friend class TMetafile;
  void Record(TMetafileRecordKind Kind, std::vector<TPoint> Points, TRect Bounds);
  void Record(TMetafileRecord Record, bool WithPen, bool WithBrush, bool WithFont);
  void RecordGraphic(const TRect& R, std::shared_ptr<TGraphic> Graphic, TCopyMode Mode);
  TMetafile* Target();
  Integer PenMargin() const;

  TMetafile* Metafile_;
  win::HDC DC_ = nullptr;
  bool GrowSize_ = false;
  // The state last written into the recording.
  std::vector<Integer> Pen_, Brush_, Font_;
  std::string FontName_;
};

// Registers TMetafile by name (form files and recordings name it); the
// folder's start-up calls it.
void RegisterMetafileClasses();
