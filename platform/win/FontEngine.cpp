#include "platform/win/FontEngine.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <pango/pangofc-fontmap.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

namespace win::gdi {


// UTF-8 ------------------------------------------------------------------------

int Utf8CharLength(std::string_view s, size_t i) {
  auto b = static_cast<unsigned char>(s[i]);
  int n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (n <= 1 || b == 0xC0 || b == 0xC1 || b > 0xF4) return 1;
  if (i + static_cast<size_t>(n) > s.size()) return 1;
  for (int k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0xC0) != 0x80) return 1;
  // Overlong three- and four-byte forms and surrogates are not characters.
  uint32_t cp = Utf8Decode(s, i);
  if ((n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
    return 1;
  return n;
}

uint32_t Utf8Decode(std::string_view s, size_t i) {
  auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return b;
  int n = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || i + static_cast<size_t>(n) > s.size()) return 0xFFFD;
  uint32_t cp = b & (0x7F >> n);
  for (int k = 1; k < n; ++k) {
    auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((c & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (c & 0x3F);
  }
  return cp;
}

namespace {

// The fixed font set --------------------------------------------------------------

const char* const kFamilies[] = {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans",
                                 "DejaVu Serif",    "DejaVu Sans Mono", "WenQuanYi Micro Hei"};

struct FontUnits {
  double upem = 2048;
  double winAscent = 1854;
  double winDescent = 434;
  double hheaAscent = 1854;
  double hheaDescent = -434;
  double lineGap = 67;
  double avgWidth = 904;
  double maxAdvance = 4096;
  bool fixed = false;
  double underlinePos = -217;
  double underlineThickness = 150;
  double strikeoutPos = 530;
  double strikeoutSize = 102;
};

struct Engine {
  FcConfig* config = nullptr;
  PangoFontMap* map = nullptr;
  PangoContext* aliased = nullptr;
  PangoContext* smooth = nullptr;
  PangoAttrList* attrs = nullptr;
  std::map<std::string, std::shared_ptr<FontFace>> faces;
  std::map<std::string, FontUnits> units;
};

// The font set is built from the installed files of the fixed families
// alone, with no configuration rules: what a text looks like does not depend
// on the machine's fontconfig set-up, and fallback for characters a family
// lacks (Chinese in a Latin face) can only land on WenQuanYi.
FcConfig* BuildFontSet() {
  // The font map otherwise loads fontconfig's default set-up on a thread of
  // its own, out of the leak checker's sight; loading it here first leaves
  // that thread nothing to do.
  FcInit();
  FcConfig* system = FcInitLoadConfigAndFonts();
  FcConfig* ours = FcConfigCreate();
  if (system) {
    FcPattern* all = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_WIDTH, FC_WEIGHT, nullptr);
    FcFontSet* set = FcFontList(system, all, os);
    std::vector<std::string> files;
    for (int i = 0; set && i < set->nfont; ++i) {
      FcPattern* p = set->fonts[i];
      FcChar8* family = nullptr;
      FcChar8* file = nullptr;
      int width = FC_WIDTH_NORMAL;
      int weight = FC_WEIGHT_REGULAR;
      if (FcPatternGetString(p, FC_FAMILY, 0, &family) != FcResultMatch) continue;
      if (FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch) continue;
      FcPatternGetInteger(p, FC_WIDTH, 0, &width);
      FcPatternGetInteger(p, FC_WEIGHT, 0, &weight);
      // Condensed and light cuts carry the plain family name too; they would
      // be picked for it now and then.
      if (width != FC_WIDTH_NORMAL || weight < FC_WEIGHT_BOOK) continue;
      bool wanted = false;
      for (const char* f : kFamilies) wanted = wanted || std::strcmp(reinterpret_cast<const char*>(family), f) == 0;
      std::string path = reinterpret_cast<const char*>(file);
      if (wanted && std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    // Faces without a bold or italic cut (WenQuanYi) get them synthesized,
    // as GDI does; these two rules are the whole configuration.
    static const char kSynthetic[] = R"(<?xml version="1.0"?><fontconfig>
<match target="font">
  <test name="weight" compare="less_eq"><const>medium</const></test>
  <test target="pattern" name="weight" compare="more_eq"><const>demibold</const></test>
  <edit name="embolden" mode="assign"><bool>true</bool></edit>
  <edit name="weight" mode="assign"><const>bold</const></edit>
</match>
<match target="font">
  <test name="slant" compare="eq"><const>roman</const></test>
  <test target="pattern" name="slant" compare="not_eq"><const>roman</const></test>
  <edit name="matrix" mode="assign"><times><name>matrix</name>
    <matrix><double>1</double><double>0.2</double><double>0</double><double>1</double></matrix></times></edit>
  <edit name="slant" mode="assign"><const>oblique</const></edit>
</match>
</fontconfig>)";
    FcConfigParseAndLoadFromMemory(ours, reinterpret_cast<const FcChar8*>(kSynthetic), FcFalse);
    for (const std::string& f : files) FcConfigAppFontAddFile(ours, reinterpret_cast<const FcChar8*>(f.c_str()));
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(os);
    FcPatternDestroy(all);
    FcConfigDestroy(system);
  }
  return ours;
}

PangoContext* MakeContext(PangoFontMap* map, bool smooth) {
  PangoContext* ctx = pango_font_map_create_context(map);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(o, smooth ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_FULL);
  // Whole-pixel advances: a text is as wide on the screen as it measures.
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_subpixel_order(o, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  pango_cairo_context_set_font_options(ctx, o);
  cairo_font_options_destroy(o);
  pango_cairo_context_set_resolution(ctx, 96);
  pango_context_set_round_glyph_positions(ctx, TRUE);
  return ctx;
}

Engine& TheEngine() {
  static Engine* e = [] {
    FontLibraryCall quiet;
    auto* en = new Engine;  // lives as long as the process
    en->config = BuildFontSet();
    en->map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(en->map), en->config);
    en->aliased = MakeContext(en->map, false);
    en->smooth = MakeContext(en->map, true);
    en->attrs = pango_attr_list_new();
    pango_attr_list_insert(en->attrs, pango_attr_font_features_new("-kern,-liga,-clig,-dlig,-calt"));
    return en;
  }();
  return *e;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

struct Alias {
  const char* name;
  const char* family;
};
const Alias kAliases[] = {
    {"ms sans serif", "Liberation Sans"},  {"microsoft sans serif", "Liberation Sans"},
    {"ms shell dlg", "Liberation Sans"},   {"ms shell dlg 2", "Liberation Sans"},
    {"arial", "Liberation Sans"},          {"tahoma", "Liberation Sans"},
    {"system", "Liberation Sans"},         {"verdana", "DejaVu Sans"},
    {"courier new", "Liberation Mono"},    {"courier", "Liberation Mono"},
    {"fixedsys", "Liberation Mono"},       {"terminal", "Liberation Mono"},
    {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
    {"ms serif", "Liberation Serif"},      {"宋体", "WenQuanYi Micro Hei"},
    {"simsun", "WenQuanYi Micro Hei"},     {"ms song", "WenQuanYi Micro Hei"},
    {"新宋体", "WenQuanYi Micro Hei"},     {"nsimsun", "WenQuanYi Micro Hei"},
    {"黑体", "WenQuanYi Micro Hei"},       {"simhei", "WenQuanYi Micro Hei"},
};

FontUnits ReadUnits(Engine& e, const std::string& family, int weight, bool italic) {
  FontLibraryCall quiet;
  std::string key = family + "|" + std::to_string(weight) + "|" + (italic ? "i" : "r");
  if (auto it = e.units.find(key); it != e.units.end()) return it->second;
  FontUnits u;
  PangoFontDescription* d = pango_font_description_new();
  pango_font_description_set_family(d, family.c_str());
  pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
  pango_font_description_set_style(d, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(d, 64.0 * PANGO_SCALE);
  PangoFont* font = pango_context_load_font(e.aliased, d);
  pango_font_description_free(d);
  if (font && PANGO_IS_CAIRO_FONT(font)) {
    cairo_scaled_font_t* sf = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
    FT_Face face = sf ? cairo_ft_scaled_font_lock_face(sf) : nullptr;
    if (face) {
      u.upem = face->units_per_EM ? face->units_per_EM : 2048;
      u.hheaAscent = face->ascender;
      u.hheaDescent = face->descender;
      u.lineGap = face->height - (face->ascender - face->descender);
      u.maxAdvance = face->max_advance_width;
      u.fixed = FT_IS_FIXED_WIDTH(face);
      u.underlinePos = face->underline_position;
      u.underlineThickness = face->underline_thickness;
      u.winAscent = face->ascender;
      u.winDescent = -face->descender;
      u.avgWidth = 0;
      u.strikeoutPos = u.upem * 0.26;
      u.strikeoutSize = u.underlineThickness;
      if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
          u.winAscent = os2->usWinAscent;
          u.winDescent = os2->usWinDescent;
        }
        u.avgWidth = os2->xAvgCharWidth;
        u.strikeoutPos = os2->yStrikeoutPosition;
        u.strikeoutSize = os2->yStrikeoutSize;
      }
      cairo_ft_scaled_font_unlock_face(sf);
    }
  }
  if (font) g_object_unref(font);
  e.units[key] = u;
  return u;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

BYTE FamilyBits(const std::string& family) {
  if (family.find("Serif") != std::string::npos) return FF_ROMAN;
  if (family.find("Mono") != std::string::npos) return FF_MODERN;
  return FF_SWISS;
}

std::shared_ptr<FontFace> Resolve(const LOGFONT& lf) {
  FontLibraryCall quiet;
  Engine& e = TheEngine();
  std::string family = MapFaceName(lf);
  int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::min<int>(lf.lfWeight, 1000);
  bool italic = lf.lfItalic != 0;
  bool smooth = lf.lfQuality == ANTIALIASED_QUALITY || lf.lfQuality == CLEARTYPE_QUALITY ||
                lf.lfQuality == CLEARTYPE_NATURAL_QUALITY;
  FontUnits u = ReadUnits(e, family, weight, italic);
  double cellUnits = u.winAscent + u.winDescent;
  // A positive height asks for the cell (ascent + descent), a negative one
  // for the character height (the em); 0 is the default cell of 16 pixels.
  int cell = lf.lfHeight > 0 ? std::min<int>(lf.lfHeight, 4000) : lf.lfHeight == 0 ? 16 : 0;
  double em = cell > 0 ? cell * u.upem / cellUnits : -static_cast<double>(lf.lfHeight);
  em = std::min(em, 2000.0);
  char key[256];
  std::snprintf(key, sizeof key, "%s|%.4f|%d|%d|%d|%d|%d|%d|%d", family.c_str(), em, weight, italic,
                lf.lfUnderline != 0, lf.lfStrikeOut != 0, static_cast<int>(lf.lfEscapement), smooth, cell);
  if (auto it = e.faces.find(key); it != e.faces.end()) return it->second;

  auto f = std::make_shared<FontFace>();
  f->family = family;
  f->em = em;
  f->context = smooth ? e.smooth : e.aliased;
  f->desc = pango_font_description_new();
  pango_font_description_set_family(f->desc, family.c_str());
  pango_font_description_set_weight(f->desc, static_cast<PangoWeight>(weight));
  pango_font_description_set_style(f->desc, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(f->desc, em * PANGO_SCALE);
  f->escapement = lf.lfEscapement * M_PI / 1800.0;
  f->underline = lf.lfUnderline != 0;
  f->strikeOut = lf.lfStrikeOut != 0;

  double scale = em / u.upem;
  TEXTMETRIC& tm = f->tm;
  tm.tmAscent = Round(u.winAscent * scale);
  tm.tmDescent = Round(u.winDescent * scale);
  if (cell > 0) tm.tmDescent = cell - tm.tmAscent;
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - Round(em));
  double hheaLine = u.hheaAscent - u.hheaDescent + u.lineGap;
  tm.tmExternalLeading = std::max(0, Round((hheaLine - cellUnits) * scale));
  tm.tmAveCharWidth = Round(u.avgWidth * scale);
  tm.tmMaxCharWidth = Round(u.maxAdvance * scale);
  tm.tmWeight = weight;
  tm.tmItalic = italic;
  tm.tmUnderlined = lf.lfUnderline != 0;
  tm.tmStruckOut = lf.lfStrikeOut != 0;
  tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (u.fixed ? 0 : TMPF_FIXED_PITCH) |
                                          FamilyBits(family));
  bool chinese = family == "WenQuanYi Micro Hei";
  tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? (chinese ? GB2312_CHARSET : ANSI_CHARSET) : lf.lfCharSet;
  f->underlinePos = std::max(1, Round(-u.underlinePos * scale));
  f->underlineThickness = std::max(1, Round(u.underlineThickness * scale));
  f->strikeoutPos = std::max(1, Round(u.strikeoutPos * scale));
  f->strikeoutThickness = std::max(1, Round(u.strikeoutSize * scale));
  if (f->underlinePos + f->underlineThickness > tm.tmDescent)
    f->underlinePos = std::max(0, static_cast<int>(tm.tmDescent) - f->underlineThickness);
  if (tm.tmAveCharWidth <= 0) tm.tmAveCharWidth = f->CharWidth('x');
  if (tm.tmMaxCharWidth <= 0) tm.tmMaxCharWidth = f->CharWidth('W');
  e.faces[key] = f;
  return f;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string MapFaceName(const LOGFONT& lf) {
  std::string_view name(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  // "@" names are the vertical forms of Far-East faces.
  if (!name.empty() && name[0] == '@') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string low = Lower(name);
  for (const Alias& a : kAliases)
    if (low == a.name) return a.family;
  for (const char* f : kFamilies)
    if (low == Lower(f)) return f;
  if (lf.lfCharSet == GB2312_CHARSET || lf.lfCharSet == CHINESEBIG5_CHARSET) return "WenQuanYi Micro Hei";
  int family = lf.lfPitchAndFamily & 0xF0;
  if ((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH || family == FF_MODERN) return "Liberation Mono";
  if (family == FF_ROMAN) return "Liberation Serif";
  return "Liberation Sans";
}

// Shaped text ------------------------------------------------------------------------

ShapedText::~ShapedText() {
  for (ShapedRun& r : runs) {
    if (r.font) g_object_unref(r.font);
    if (r.glyphs) pango_glyph_string_free(r.glyphs);
  }
}

FontFace::~FontFace() {
  if (desc) pango_font_description_free(desc);
}

const ShapedText& FontFace::Shape(std::string_view text) {
  FontLibraryCall quiet;
  if (auto it = shaped_.find(text); it != shaped_.end()) return *it->second;
  // Plenty for a screenful of captions and cells; dropping all at once keeps
  // the cache free of bookkeeping.
  if (shaped_.size() >= 4096) shaped_.clear();
  auto st = std::make_unique<ShapedText>();
  // Bytes that start no character and control characters are shaped as
  // single-byte stand-ins so that byte offsets stay those of the caller's
  // text; control characters then take no room and show nothing.
  std::string clean(text);
  std::vector<bool> control(clean.size(), false);
  for (size_t i = 0; i < clean.size();) {
    int n = Utf8CharLength(clean, i);
    if (n == 1 && (static_cast<unsigned char>(clean[i]) >= 0x80 || IsControl(static_cast<unsigned char>(clean[i])))) {
      control[i] = IsControl(static_cast<unsigned char>(clean[i]));
      clean[i] = control[i] ? ' ' : '?';
    }
    i += static_cast<size_t>(n);
  }
  st->advance.assign(clean.size(), 0);
  std::vector<int> units(clean.size(), 0);
  if (!clean.empty()) {
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_attributes(layout, TheEngine().attrs);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    pango_layout_set_text(layout, clean.data(), static_cast<int>(clean.size()));
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
    for (GSList* l = line ? line->runs : nullptr; l; l = l->next) {
      auto* gi = static_cast<PangoGlyphItem*>(l->data);
      ShapedRun r;
      r.font = static_cast<PangoFont*>(g_object_ref(gi->item->analysis.font));
      r.glyphs = pango_glyph_string_copy(gi->glyphs);
      int n = r.glyphs->num_glyphs;
      r.clusterByte.resize(static_cast<size_t>(n));
      r.offsetInCluster.resize(static_cast<size_t>(n));
      int prevCluster = -1;
      int offset = 0;
      int prevWidth = 0;
      for (int i = 0; i < n; ++i) {
        PangoGlyphInfo& g = r.glyphs->glyphs[i];
        int cb = gi->item->offset + r.glyphs->log_clusters[i];
        if (cb < 0 || cb >= static_cast<int>(clean.size())) cb = 0;
        if (control[static_cast<size_t>(cb)]) {
          g.glyph = PANGO_GLYPH_EMPTY;
          g.geometry.width = 0;
        }
        offset = cb == prevCluster ? offset + prevWidth : 0;
        r.clusterByte[static_cast<size_t>(i)] = cb;
        r.offsetInCluster[static_cast<size_t>(i)] = offset;
        units[static_cast<size_t>(cb)] += g.geometry.width;
        prevCluster = cb;
        prevWidth = g.geometry.width;
      }
      st->runs.push_back(std::move(r));
    }
    g_object_unref(layout);
  }
  for (size_t i = 0; i < units.size(); ++i) st->advance[i] = PANGO_PIXELS(units[i]);
  ShapedText& ref = *st;
  shaped_.emplace(std::string(text), std::move(st));
  return ref;
}

int FontFace::CharWidth(uint32_t cp) {
  FontLibraryCall quiet;
  if (auto it = charWidths_.find(cp); it != charWidths_.end()) return it->second;
  char buf[4];
  int n;
  if (cp < 0x80) {
    buf[0] = static_cast<char>(cp);
    n = 1;
  } else if (cp < 0x800) {
    buf[0] = static_cast<char>(0xC0 | (cp >> 6));
    buf[1] = static_cast<char>(0x80 | (cp & 0x3F));
    n = 2;
  } else if (cp < 0x10000) {
    buf[0] = static_cast<char>(0xE0 | (cp >> 12));
    buf[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buf[2] = static_cast<char>(0x80 | (cp & 0x3F));
    n = 3;
  } else {
    buf[0] = static_cast<char>(0xF0 | ((cp >> 18) & 0x07));
    buf[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    buf[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    buf[3] = static_cast<char>(0x80 | (cp & 0x3F));
    n = 4;
  }
  const ShapedText& s = Shape(std::string_view(buf, static_cast<size_t>(n)));
  int w = 0;
  for (int a : s.advance) w += a;
  charWidths_[cp] = w;
  return w;
}

// Font objects ---------------------------------------------------------------------

int FontObject::Describe(int size, void* out) const {
  if (!out) return static_cast<int>(sizeof(LOGFONT));
  int n = std::min<int>(size, static_cast<int>(sizeof(LOGFONT)));
  if (n <= 0) return 0;
  std::memcpy(out, &lf, static_cast<size_t>(n));
  return n;
}

FontFace& FaceOf(FontObject& font) {
  if (!font.face) font.face = Resolve(font.lf);
  return *font.face;
}

FontFace& DCFace(DCObject& dc) {
  auto* f = static_cast<FontObject*>(LookupAny(dc.s.font));
  if (!f || f->kind != ObjKind::Font) f = static_cast<FontObject*>(LookupAny(StockObject(SYSTEM_FONT)));
  return FaceOf(*f);
}

void MakeStockFonts() {
  struct Stock {
    int index;
    int height;
    int weight;
    const char* face;
    BYTE pitch;
  };
  const Stock stock[] = {
      {SYSTEM_FONT, 16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS},
      {DEVICE_DEFAULT_FONT, 16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS},
      {DEFAULT_GUI_FONT, -11, FW_NORMAL, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS},
      {ANSI_VAR_FONT, 13, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS},
      {ANSI_FIXED_FONT, 12, FW_NORMAL, "Courier", FIXED_PITCH | FF_MODERN},
      {OEM_FIXED_FONT, 12, FW_NORMAL, "Terminal", FIXED_PITCH | FF_MODERN},
      {SYSTEM_FIXED_FONT, 15, FW_NORMAL, "Fixedsys", FIXED_PITCH | FF_MODERN},
  };
  for (const Stock& s : stock) {
    auto f = std::make_unique<FontObject>();
    f->lf.lfHeight = s.height;
    f->lf.lfWeight = s.weight;
    f->lf.lfPitchAndFamily = s.pitch;
    std::snprintf(f->lf.lfFaceName, LF_FACESIZE, "%s", s.face);
    SetStockObject(s.index, std::move(f));
  }
}

}  // namespace win::gdi
