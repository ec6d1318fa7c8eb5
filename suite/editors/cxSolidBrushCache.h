// Solid brushes by colour for the editors' painting: one cache for the whole
// run, looked up by binary search, at most its capacity of brushes alive,
// the least used one evicted when it is full; system colours come from the
// system's own brushes and never enter it. A system colour change empties
// the cache.
#pragma once

#include <memory>
#include <vector>

#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeels.h"

class TcxSolidBrushCache : public TObject {
  VXN_DECLARE_CLASS(TcxSolidBrushCache)

 public:
  explicit TcxSolidBrushCache(Integer ACapacity = 128);
  ~TcxSolidBrushCache() override;

  // The cache keeps the brush; callers never delete it.
  win::HBRUSH Brush(TColor AColor);
  void Clear();

  // While a paint is open, a brush handed out in it is never deleted: an
  // eviction that hits it only retires it until the outermost paint ends.
  void BeginPaint() { ++FPaintLevel; }
  void EndPaint();

  Integer Capacity() const { return FCapacity; }
  Integer Count() const { return FCount; }
  // Entry I in colour order (tests).
  TColor ColorAt(Integer I) const { return FColors[I]; }
  uint32_t UseCountAt(Integer I) const { return FUseCounts[I]; }
  Integer RetiredCount() const { return static_cast<Integer>(FRetired.size()); }

 private:
  Integer FindPosition(uint32_t AColor) const;
  Integer LeastUsed() const;
  void Evict(Integer I);
  void SystemPaletteChanged(TObject*) { Clear(); }

  Integer FCapacity;
  Integer FCount = 0;
  std::vector<TColor> FColors;
  std::vector<win::HBRUSH> FBrushes;
  std::vector<uint32_t> FUseCounts;
  // The paint number an entry was last handed out in (0: none).
  std::vector<uint32_t> FPaintStamps;
  uint32_t FPaintNumber = 1;
  Integer FPaintLevel = 0;
  std::vector<win::HBRUSH> FRetired;
  std::unique_ptr<TcxSystemPaletteChangedNotifier> FNotifier;
};

// Opens a paint of the shared cache for the length of a scope.
class TcxBrushCachePaint {
 public:
  TcxBrushCachePaint();
  ~TcxBrushCachePaint();
  TcxBrushCachePaint(const TcxBrushCachePaint&) = delete;
  TcxBrushCachePaint& operator=(const TcxBrushCachePaint&) = delete;
};

// The shared cache; null before start-up and after shut-down.
TcxSolidBrushCache* SolidBrushCache();
// The brush of a colour from the shared cache (a system colour's own brush).
win::HBRUSH CachedSolidBrush(TColor AColor);
inline win::HBRUSH CachedSolidBrush(TCanvas*, TColor AColor) { return CachedSolidBrush(AColor); }
inline win::HBRUSH CachedSolidBrush(TcxCanvas*, TColor AColor) { return CachedSolidBrush(AColor); }
void FillRectWithColor(TCanvas* ACanvas, const TRect& R, TColor AColor);
void FillRectWithColor(TcxCanvas* ACanvas, const TRect& R, TColor AColor);

void InitializeSolidBrushCache();
void FinalizeSolidBrushCache();
