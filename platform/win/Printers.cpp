#include "platform/win/Printers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/rtl/FileUtils.h"
#include "platform/win/Windows.h"

namespace win {

namespace {

constexpr const char* kVirtualName = "Virtual PDF Printer";
constexpr int kVirtualDpi = 600;
constexpr int kVirtualMargin = 500;  // 5 mm
// Two sizes within 1 mm are the same paper.
constexpr int kSameSize = 100;

thread_local std::string lastErrorText;

std::string& VirtualFolderSetting() {
  static std::string folder;
  return folder;
}

PrinterModel VirtualPrinter() {
  PrinterModel m;
  m.name = kVirtualName;
  m.isVirtual = true;
  m.dpiX = m.dpiY = kVirtualDpi;
  for (const PaperSize& p : PaperSizeTable()) {
    PrinterPaper paper;
    paper.code = p.code;
    paper.name = p.name;
    paper.width = p.width * 10;
    paper.length = p.length * 10;
    paper.left = paper.top = paper.right = paper.bottom = kVirtualMargin;
    if (p.code == DMPAPER_A4) m.defaultPaper = m.papers.size();
    m.papers.push_back(std::move(paper));
  }
  m.bins = BinsForSources({"auto"});
  return m;
}

short DuplexOfSides(const std::string& sides) {
  if (sides == "two-sided-long-edge") return DMDUP_VERTICAL;
  if (sides == "two-sided-short-edge") return DMDUP_HORIZONTAL;
  return DMDUP_SIMPLEX;
}

const char* SidesOfDuplex(int duplex) {
  switch (duplex) {
    case DMDUP_VERTICAL: return "two-sided-long-edge";
    case DMDUP_HORIZONTAL: return "two-sided-short-edge";
    default: return "one-sided";
  }
}

bool HasSides(const PrinterModel& m, const char* sides) {
  return std::find(m.sides.begin(), m.sides.end(), sides) != m.sides.end();
}

const PaperBin* FindBin(const PrinterModel& m, int code) {
  for (const PaperBin& b : m.bins)
    if (b.code == code) return &b;
  return nullptr;
}

// The printer's paper closest to a size, within 1 mm; one of the wanted code
// wins among equals.
const PrinterPaper* MatchPaper(const PrinterModel& m, int width, int length, int code) {
  const PrinterPaper* best = nullptr;
  int bestDistance = 0;
  for (const PrinterPaper& p : m.papers) {
    int dw = std::abs(p.width - width);
    int dl = std::abs(p.length - length);
    if (dw > kSameSize || dl > kSameSize) continue;
    int distance = dw + dl;
    bool better = !best || distance < bestDistance ||
                  (distance == bestDistance && p.code == code && best->code != code);
    if (better) {
      best = &p;
      bestDistance = distance;
    }
  }
  return best;
}

// 14993 -> "149.93", 10000 -> "100".
std::string Millimetres(int hundredths) {
  std::string s = std::to_string(hundredths / 100);
  int fraction = hundredths % 100;
  if (fraction != 0) {
    s += '.';
    s += static_cast<char>('0' + fraction / 10);
    if (fraction % 10) s += static_cast<char>('0' + fraction % 10);
  }
  return s;
}

// A self-describing media name that print systems take for any size.
std::string CustomMediaName(int width, int length) {
  std::string dims = Millimetres(width) + "x" + Millimetres(length) + "mm";
  return "custom_" + dims + "_" + dims;
}

void CopyName(char* to, size_t size, const std::string& from) {
  std::memset(to, 0, size);
  std::memcpy(to, from.data(), std::min(from.size(), size - 1));
}

}  // namespace

int PrintFail(DWORD code, std::string text) {
  lastErrorText = std::move(text);
  SetLastError(code);
  return 0;
}

std::string GetLastPrintErrorText() { return lastErrorText; }

const char* VirtualPrinterName() { return kVirtualName; }

std::string VirtualPrinterFolder() {
  if (!VirtualFolderSetting().empty()) return VirtualFolderSetting();
  const char* home = std::getenv("HOME");
  if (home && *home && DirectoryExists(home)) return home;
  return ExcludeTrailingPathDelimiter(GetTempPath());
}

void SetVirtualPrinterFolder(const std::string& folder) { VirtualFolderSetting() = folder; }

std::vector<PrintDestination> ListPrinters() {
  std::vector<PrintDestination> list;
  std::string error;
  if (!CurrentPrintSystem().ListDestinations(list, error) || list.empty())
    return {{kVirtualName, VirtualPrinterFolder(), true}};
  if (std::none_of(list.begin(), list.end(), [](const PrintDestination& d) { return d.isDefault; }))
    list.front().isDefault = true;
  return list;
}

bool LoadPrinter(const std::string& name, PrinterModel& model) {
  if (name == kVirtualName) {
    model = VirtualPrinter();
    return true;
  }
  if (name.empty()) return PrintFail(ERROR_INVALID_PRINTER_NAME, "No printer name given");
  PrintDeviceInfo info;
  std::string error;
  if (!CurrentPrintSystem().Describe(name, info, error)) return PrintFail(ERROR_INVALID_PRINTER_NAME, error);
  model = PrinterModel{};
  model.name = name;
  model.dpiX = info.dpiX > 0 ? info.dpiX : kVirtualDpi;
  model.dpiY = info.dpiY > 0 ? info.dpiY : kVirtualDpi;
  for (const PrintMedia& media : info.media) {
    PrinterPaper p;
    p.code = PaperCodeForSize(media.width, media.length);
    const PaperSize* standard = FindPaperSize(p.code);
    // One entry per standard paper: a printer lists some twice (with and
    // without borders).
    if (standard && std::any_of(model.papers.begin(), model.papers.end(),
                                [&](const PrinterPaper& q) { return q.code == p.code; })) {
      if (media.name == info.defaultMedia)
        for (size_t i = 0; i < model.papers.size(); ++i)
          if (model.papers[i].code == p.code) model.defaultPaper = i;
      continue;
    }
    p.name = standard ? standard->name : (media.displayName.empty() ? media.name : media.displayName);
    p.media = media.name;
    p.width = media.width;
    p.length = media.length;
    p.left = media.left;
    p.top = media.top;
    p.right = media.right;
    p.bottom = media.bottom;
    if (media.name == info.defaultMedia) model.defaultPaper = model.papers.size();
    model.papers.push_back(std::move(p));
  }
  if (model.papers.empty()) {
    // A printer that names no media still prints on something: A4, edge to edge.
    const PaperSize* a4 = FindPaperSize(DMPAPER_A4);
    model.papers.push_back({a4->code, a4->name, std::string(), a4->width * 10, a4->length * 10, 0, 0, 0, 0});
  }
  model.bins = BinsForSources(info.sources);
  for (const PaperBin& b : model.bins)
    if (b.source == info.defaultSource) model.defaultBin = b.code;
  model.sides = info.sides;
  model.defaultDuplex = DuplexOfSides(info.defaultSides);
  model.maxCopies = std::max(1, info.maxCopies);
  model.collate = info.collate;
  return true;
}

PageSetup SetupFor(const PrinterModel& printer, const DEVMODE* mode) {
  const PrinterPaper& fallback = printer.papers[printer.defaultPaper];
  PageSetup s;
  s.paperCode = fallback.code;
  int width = fallback.width;
  int length = fallback.length;
  if (mode && (mode->dmFields & DM_PAPERSIZE)) {
    if (mode->dmPaperSize == DMPAPER_USER) {
      s.paperCode = DMPAPER_USER;
    } else if (const PaperSize* p = FindPaperSize(mode->dmPaperSize)) {
      s.paperCode = p->code;
      width = p->width * 10;
      length = p->length * 10;
    }
  }
  if (mode && (mode->dmFields & DM_PAPERWIDTH) && mode->dmPaperWidth > 0) width = mode->dmPaperWidth * 10;
  if (mode && (mode->dmFields & DM_PAPERLENGTH) && mode->dmPaperLength > 0) length = mode->dmPaperLength * 10;
  int left = fallback.left, top = fallback.top, right = fallback.right, bottom = fallback.bottom;
  if (const PrinterPaper* p = MatchPaper(printer, width, length, s.paperCode)) {
    left = p->left;
    top = p->top;
    right = p->right;
    bottom = p->bottom;
    s.media = p->media;
  } else if (!printer.isVirtual) {
    s.media = CustomMediaName(width, length);
  }
  s.landscape = mode && (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE;
  if (!s.landscape) {
    s.width = width;
    s.length = length;
    s.left = left;
    s.top = top;
    s.right = right;
    s.bottom = bottom;
  } else {
    // The sheet turns a quarter counter-clockwise: its top edge becomes the
    // page's left.
    s.width = length;
    s.length = width;
    s.left = top;
    s.top = right;
    s.right = bottom;
    s.bottom = left;
  }
  return s;
}

void DefaultDevMode(const PrinterModel& printer, DEVMODE& mode) {
  mode = DEVMODE{};
  const PrinterPaper& paper = printer.papers[printer.defaultPaper];
  CopyName(mode.dmDeviceName, sizeof mode.dmDeviceName, printer.name);
  CopyName(mode.dmFormName, sizeof mode.dmFormName, paper.name);
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY |
                  DM_COLOR | DM_YRESOLUTION | DM_COLLATE | DM_FORMNAME;
  mode.dmOrientation = DMORIENT_PORTRAIT;
  mode.dmPaperSize = paper.code;
  // Width and length are marked only for a size without a code: marked, they
  // would override any code a caller sets later.
  if (paper.code == DMPAPER_USER) {
    mode.dmFields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    mode.dmPaperWidth = static_cast<short>((paper.width + 5) / 10);
    mode.dmPaperLength = static_cast<short>((paper.length + 5) / 10);
  }
  mode.dmScale = 100;
  mode.dmCopies = 1;
  mode.dmDefaultSource = printer.defaultBin;
  mode.dmPrintQuality = static_cast<short>(printer.dpiX);
  mode.dmYResolution = static_cast<short>(printer.dpiY);
  mode.dmColor = DMCOLOR_COLOR;
  mode.dmCollate = DMCOLLATE_FALSE;
  if (HasSides(printer, "two-sided-long-edge") || HasSides(printer, "two-sided-short-edge")) {
    mode.dmFields |= DM_DUPLEX;
    mode.dmDuplex = printer.defaultDuplex;
  }
}

void MergeDevMode(const PrinterModel& printer, DEVMODE& into, const DEVMODE& from) {
  DWORD f = from.dmFields;
  if ((f & DM_ORIENTATION) && (from.dmOrientation == DMORIENT_PORTRAIT || from.dmOrientation == DMORIENT_LANDSCAPE)) {
    into.dmOrientation = from.dmOrientation;
    into.dmFields |= DM_ORIENTATION;
  }
  if ((f & DM_PAPERSIZE) && (from.dmPaperSize == DMPAPER_USER || FindPaperSize(from.dmPaperSize))) {
    into.dmPaperSize = from.dmPaperSize;
    into.dmFields |= DM_PAPERSIZE;
    if (const PaperSize* p = FindPaperSize(from.dmPaperSize)) {
      into.dmFields &= ~(DM_PAPERWIDTH | DM_PAPERLENGTH);
      into.dmPaperWidth = 0;
      into.dmPaperLength = 0;
      CopyName(into.dmFormName, sizeof into.dmFormName, p->name);
    }
  }
  if ((f & DM_PAPERWIDTH) && from.dmPaperWidth > 0) {
    into.dmPaperWidth = from.dmPaperWidth;
    into.dmFields |= DM_PAPERWIDTH;
  }
  if ((f & DM_PAPERLENGTH) && from.dmPaperLength > 0) {
    into.dmPaperLength = from.dmPaperLength;
    into.dmFields |= DM_PAPERLENGTH;
  }
  if ((f & DM_COPIES) && from.dmCopies > 0) {
    into.dmCopies = static_cast<short>(std::min<int>(from.dmCopies, printer.maxCopies));
    into.dmFields |= DM_COPIES;
  }
  if ((f & DM_COLLATE) && (from.dmCollate == DMCOLLATE_FALSE || from.dmCollate == DMCOLLATE_TRUE)) {
    into.dmCollate = from.dmCollate;
    into.dmFields |= DM_COLLATE;
  }
  if ((f & DM_DEFAULTSOURCE) && (from.dmDefaultSource == DMBIN_AUTO || FindBin(printer, from.dmDefaultSource))) {
    into.dmDefaultSource = from.dmDefaultSource;
    into.dmFields |= DM_DEFAULTSOURCE;
  }
  if ((f & DM_DUPLEX) && from.dmDuplex >= DMDUP_SIMPLEX && from.dmDuplex <= DMDUP_HORIZONTAL &&
      (from.dmDuplex == DMDUP_SIMPLEX || HasSides(printer, SidesOfDuplex(from.dmDuplex)))) {
    into.dmDuplex = from.dmDuplex;
    into.dmFields |= DM_DUPLEX;
  }
  if ((f & DM_COLOR) && (from.dmColor == DMCOLOR_MONOCHROME || from.dmColor == DMCOLOR_COLOR)) {
    into.dmColor = from.dmColor;
    into.dmFields |= DM_COLOR;
  }
  if ((f & DM_SCALE) && from.dmScale > 0) {
    into.dmScale = from.dmScale;
    into.dmFields |= DM_SCALE;
  }
}

PrintJobTicket TicketFor(const PrinterModel& printer, const DEVMODE* mode, const PageSetup& setup, int orientation,
                         const std::string& title, const char* format) {
  PrintJobTicket t;
  t.title = title;
  t.format = format;
  t.media = setup.media;
  t.orientation = orientation;
  if (!mode) return t;
  DWORD f = mode->dmFields;
  if ((f & DM_COPIES) && mode->dmCopies > 1) t.copies = std::min<int>(mode->dmCopies, printer.maxCopies);
  if ((f & DM_COLLATE) && t.copies > 1) t.collate = mode->dmCollate == DMCOLLATE_TRUE ? 1 : 0;
  if ((f & DM_DUPLEX) && HasSides(printer, SidesOfDuplex(mode->dmDuplex))) t.sides = SidesOfDuplex(mode->dmDuplex);
  if ((f & DM_DEFAULTSOURCE) && mode->dmDefaultSource != DMBIN_AUTO)
    if (const PaperBin* b = FindBin(printer, mode->dmDefaultSource)) t.source = b->source;
  return t;
}

std::string VirtualJobPath(const std::string& title, const char* extension) {
  std::string base;
  for (char c : title) base += (c == '/' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
  if (base.empty() || base == "." || base == "..") base = "Document";
  std::string folder = IncludeTrailingPathDelimiter(VirtualPrinterFolder());
  std::string path = folder + base + extension;
  for (int n = 2; FileExists(path); ++n) path = folder + base + " (" + std::to_string(n) + ")" + extension;
  return path;
}

}  // namespace win
