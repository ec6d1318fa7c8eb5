// Inside of the text engine: the fixed font set, resolved faces with their
// metrics, and shaped text. Only modules of the win layer include this.
//
// Every face is shaped with kerning and ligatures off, so that the width of
// a text is the sum of its characters' widths, as GDI's is; measuring and
// drawing both read the same shaped advances and so agree to the pixel.
#pragma once

#include <pango/pangocairo.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VXN_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VXN_LEAK_CHECKER 1
#endif
#endif
#if VXN_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
#endif

#include "platform/win/GdiFonts.h"
#include "platform/win/GdiPrivate.h"

namespace win::gdi {

// fontconfig keeps its patterns, char sets and caches behind offset-encoded
// pointers that the leak checker cannot follow, so everything it allocates
// looks lost at exit. Calls into the font libraries run with the checker
// looking away; the reports are then about our own memory only, and the exit
// check does not have to sift thousands of false ones.
struct FontLibraryCall {
#if VXN_LEAK_CHECKER
  FontLibraryCall() { __lsan_disable(); }
  ~FontLibraryCall() { __lsan_enable(); }
#else
  FontLibraryCall() {}  // user-provided, so a guard variable is not "unused"
#endif
  FontLibraryCall(const FontLibraryCall&) = delete;
  FontLibraryCall& operator=(const FontLibraryCall&) = delete;
};

// Byte length of the UTF-8 character at s[i] (1 for a byte that starts no
// valid sequence, which then stands for one character of its own).
int Utf8CharLength(std::string_view s, size_t i);
// The code point at s[i] (U+FFFD for an invalid byte).
uint32_t Utf8Decode(std::string_view s, size_t i);

// One run of glyphs in one font, as pango shaped it.
struct ShapedRun {
  PangoFont* font = nullptr;  // owned reference
  PangoGlyphString* glyphs = nullptr;
  std::vector<int> clusterByte;     // per glyph: first byte of its character
  std::vector<int> offsetInCluster; // per glyph: pango units from its character's start
};

struct ShapedText {
  ShapedText() = default;
  ShapedText(const ShapedText&) = delete;
  ShapedText& operator=(const ShapedText&) = delete;
  ~ShapedText();
  // Per byte: the advance in pixels of the character starting there; 0 for
  // the continuation bytes of a character.
  std::vector<int> advance;
  std::vector<ShapedRun> runs;
};

class FontFace {
 public:
  FontFace() = default;
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;
  ~FontFace();

  // The shaped form of text (cached; valid until the next call on this face).
  const ShapedText& Shape(std::string_view text);
  // Advance of one code point.
  int CharWidth(uint32_t codePoint);

  std::string family;  // the installed family drawn with
  PangoFontDescription* desc = nullptr;
  PangoContext* context = nullptr;  // shared, owned by the engine
  TEXTMETRIC tm{};
  double em = 0;                  // pixels
  double escapement = 0;          // radians, counter-clockwise
  bool underline = false;
  bool strikeOut = false;
  int underlinePos = 1;           // pixels below the baseline
  int underlineThickness = 1;
  int strikeoutPos = 3;           // pixels above the baseline
  int strikeoutThickness = 1;

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, std::unique_ptr<ShapedText>, Hash, std::equal_to<>> shaped_;
  std::unordered_map<uint32_t, int> charWidths_;
};

struct FontObject : GdiObject {
  FontObject() : GdiObject(ObjKind::Font) {}
  int Describe(int size, void* out) const override;

  LOGFONT lf{};
  std::shared_ptr<FontFace> face;  // resolved on first use
};

// The installed family a face name stands for.
std::string MapFaceName(const LOGFONT& lf);
// The resolved face of a font object (resolving and caching it on first use).
FontFace& FaceOf(FontObject& font);
// The face of the DC's selected font (the system font when none is).
FontFace& DCFace(DCObject& dc);

}  // namespace win::gdi
