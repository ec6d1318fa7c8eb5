#include "suite/editors/cxSolidBrushCache.h"

#include <algorithm>
#include <array>

#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/SysColors.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxSolidBrushCache, TObject)

namespace {

constexpr Integer kSystemBrushCount = 31;

struct BrushModuleState {
  std::unique_ptr<TcxSolidBrushCache> cache;
  bool systemBrushesReady = false;
  std::array<HBRUSH, kSystemBrushCount> systemBrushes{};
};

BrushModuleState& ModuleState() {
  // Never destroyed: shut-down frees the cache in order instead.
  static BrushModuleState& state = *new BrushModuleState;
  return state;
}

uint32_t Unsigned(TColor AColor) { return static_cast<uint32_t>(AColor); }

}  // namespace

TcxSolidBrushCache::TcxSolidBrushCache(Integer ACapacity)
    : FCapacity(std::max<Integer>(ACapacity, 1)),
      FColors(static_cast<size_t>(FCapacity)),
      FBrushes(static_cast<size_t>(FCapacity)),
      FUseCounts(static_cast<size_t>(FCapacity)),
      FPaintStamps(static_cast<size_t>(FCapacity)),
      FNotifier(std::make_unique<TcxSystemPaletteChangedNotifier>(true)) {
  FNotifier->OnSystemPaletteChanged = TNotifyEvent(this, &TcxSolidBrushCache::SystemPaletteChanged);
}

TcxSolidBrushCache::~TcxSolidBrushCache() {
  FNotifier.reset();
  FPaintLevel = 0;
  Clear();
}

Integer TcxSolidBrushCache::FindPosition(uint32_t AColor) const {
  if (FCount == 0) return 0;
  Integer low = 0, high = FCount - 1;
  while (high - low > 1) {
    const Integer middle = (low + high) / 2;
    const uint32_t c = Unsigned(FColors[middle]);
    if (c == AColor) return middle;
    if (AColor < c)
      high = middle;
    else
      low = middle;
  }
  if (AColor <= Unsigned(FColors[low])) return low;
  if (AColor <= Unsigned(FColors[high])) return high;
  return high + 1;
}

Integer TcxSolidBrushCache::LeastUsed() const {
  // An entry handed out in the open paint is taken only when every one was.
  Integer best = -1;
  for (bool allowPinned : {false, true}) {
    for (Integer i = 0; i < FCount; ++i) {
      const bool pinned = FPaintLevel > 0 && FPaintStamps[i] == FPaintNumber;
      if (pinned && !allowPinned) continue;
      if (best < 0 || FUseCounts[i] < FUseCounts[best]) best = i;
    }
    if (best >= 0) break;
  }
  return best;
}

void TcxSolidBrushCache::Evict(Integer I) {
  // Deleting a brush that a paint still holds would leave it drawing with a
  // dead handle: it is retired until the paint ends.
  if (FPaintLevel > 0 && FPaintStamps[I] == FPaintNumber)
    FRetired.push_back(FBrushes[I]);
  else
    DeleteObject(FBrushes[I]);
  for (Integer j = I; j < FCount - 1; ++j) {
    FColors[j] = FColors[j + 1];
    FBrushes[j] = FBrushes[j + 1];
    FUseCounts[j] = FUseCounts[j + 1];
    FPaintStamps[j] = FPaintStamps[j + 1];
  }
  --FCount;
}

HBRUSH TcxSolidBrushCache::Brush(TColor AColor) {
  const uint32_t color = Unsigned(AColor);
  BrushModuleState& s = ModuleState();
  if (s.systemBrushesReady && color >= 0xFF000000u && color <= 0xFF00001Eu) return s.systemBrushes[color & 0xFF];

  Integer pos = FindPosition(color);
  if (pos < FCount && Unsigned(FColors[pos]) == color) {
    ++FUseCounts[pos];
    if (FPaintLevel > 0) FPaintStamps[pos] = FPaintNumber;
    return FBrushes[pos];
  }
  if (FCount == FCapacity) {
    const Integer victim = LeastUsed();
    Evict(victim);
    if (pos > victim) --pos;
  }
  // A new entry starts just above the least used one, so that the next miss
  // evicts an older entry instead of this one (two colours would otherwise
  // keep evicting each other).
  uint32_t startCount = 0;
  if (FCount > 0) startCount = *std::min_element(FUseCounts.begin(), FUseCounts.begin() + FCount) + 1;
  for (Integer j = FCount; j > pos; --j) {
    FColors[j] = FColors[j - 1];
    FBrushes[j] = FBrushes[j - 1];
    FUseCounts[j] = FUseCounts[j - 1];
    FPaintStamps[j] = FPaintStamps[j - 1];
  }
  FColors[pos] = AColor;
  FBrushes[pos] = CreateSolidBrush(ColorToRGB(AColor));
  FUseCounts[pos] = startCount;
  FPaintStamps[pos] = FPaintLevel > 0 ? FPaintNumber : 0;
  ++FCount;
  return FBrushes[pos];
}

void TcxSolidBrushCache::Clear() {
  while (FCount > 0) Evict(FCount - 1);
  if (FPaintLevel == 0) {
    for (HBRUSH b : FRetired) DeleteObject(b);
    FRetired.clear();
  }
}

void TcxSolidBrushCache::EndPaint() {
  if (FPaintLevel == 0 || --FPaintLevel > 0) return;
  for (HBRUSH b : FRetired) DeleteObject(b);
  FRetired.clear();
  ++FPaintNumber;
}

// ---------------------------------------------------------------------------

TcxBrushCachePaint::TcxBrushCachePaint() {
  if (TcxSolidBrushCache* cache = SolidBrushCache()) cache->BeginPaint();
}

TcxBrushCachePaint::~TcxBrushCachePaint() {
  if (TcxSolidBrushCache* cache = SolidBrushCache()) cache->EndPaint();
}

TcxSolidBrushCache* SolidBrushCache() { return ModuleState().cache.get(); }

HBRUSH CachedSolidBrush(TColor AColor) {
  TcxSolidBrushCache* cache = SolidBrushCache();
  return cache ? cache->Brush(AColor) : nullptr;
}

void FillRectWithColor(TCanvas* ACanvas, const TRect& R, TColor AColor) {
  const RECT r{R.Left, R.Top, R.Right, R.Bottom};
  FillRect(ACanvas->Handle(), &r, CachedSolidBrush(AColor));
}

void FillRectWithColor(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  FillRectWithColor(ACanvas->Canvas, R, AColor);
}

void InitializeSolidBrushCache() {
  BrushModuleState& s = ModuleState();
  if (s.cache) return;
  for (Integer i = 0; i < kSystemBrushCount; ++i) s.systemBrushes[i] = GetSysColorBrush(i);
  s.systemBrushesReady = true;
  s.cache = std::make_unique<TcxSolidBrushCache>(128);
}

void FinalizeSolidBrushCache() {
  BrushModuleState& s = ModuleState();
  s.cache.reset();
  s.systemBrushesReady = false;
  s.systemBrushes.fill(nullptr);
}
