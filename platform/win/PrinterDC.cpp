#include "platform/win/PrinterDC.h"

#include <cairo-pdf.h>

#include <cmath>
#include <memory>
#include <string>

#include "platform/win/GdiPrivate.h"
#include "platform/win/JobOutput.h"
#include "platform/win/Printers.h"

namespace win {

using namespace gdi;

namespace {

// Device units for a length in hundredths of a millimetre.
int DeviceUnits(int hundredthsMm, int dpi) {
  return static_cast<int>(std::lround(hundredthsMm * static_cast<double>(dpi) / 2540.0));
}

double Points(int hundredthsMm) { return hundredthsMm * 72.0 / 2540.0; }

int NextDocumentNumber() {
  static int next = 0;
  return ++next;
}

struct PrinterDocument : DCExtension {
  PrinterModel printer;
  DEVMODE mode;
  PageSetup setup;
  bool informationOnly = false;

  // Drawing outside a page goes to an empty surface and leaves no trace.
  cairo_surface_t* idleSurface = nullptr;
  cairo_t* idleCr = nullptr;

  // The open document.
  bool inDocument = false;
  bool inPage = false;
  int number = 0;
  std::string title;
  cairo_surface_t* pdf = nullptr;
  cairo_t* pageCr = nullptr;
  std::unique_ptr<JobOutput> file;  // print to file, the virtual printer
  std::string spooled;              // the PDF for the print system
  bool discard = false;
  std::string writeError;
  DEVMODE documentMode;
  PageSetup firstPage;
  int pages = 0;
  int landscapePages = 0;

  PrinterDocument() {
    idleSurface = cairo_image_surface_create(CAIRO_FORMAT_A8, 0, 0);
    idleCr = cairo_create(idleSurface);
  }
  ~PrinterDocument() override {
    if (inDocument) CloseDocument(false);
    cairo_destroy(idleCr);
    cairo_surface_destroy(idleSurface);
  }

  static cairo_status_t WritePdf(void* closure, const unsigned char* data, unsigned int length) {
    auto* doc = static_cast<PrinterDocument*>(closure);
    if (doc->discard) return CAIRO_STATUS_SUCCESS;
    if (!doc->file) {
      doc->spooled.append(reinterpret_cast<const char*>(data), length);
      return CAIRO_STATUS_SUCCESS;
    }
    if (doc->file->Write(data, length)) return CAIRO_STATUS_SUCCESS;
    if (doc->writeError.empty()) doc->writeError = GetLastPrintErrorText();
    return CAIRO_STATUS_WRITE_ERROR;
  }

  // The PDF's own failure, with the file's reason when writing it failed.
  std::string PdfError() const {
    if (!writeError.empty()) return writeError;
    return std::string("Making the PDF failed: ") + cairo_status_to_string(cairo_surface_status(pdf));
  }

  // Finishes (keep) or drops the document; the DC draws nowhere afterwards.
  void CloseDocument(bool keep) {
    discard = !keep;
    if (pageCr) cairo_destroy(pageCr);
    pageCr = nullptr;
    if (pdf) {
      cairo_surface_finish(pdf);
      if (keep && cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
        PrintFail(ERROR_WRITE_FAULT, PdfError());
        keep = false;
      }
      cairo_surface_destroy(pdf);
    }
    pdf = nullptr;
    if (file && !keep) file->Abort();
    file.reset();
    spooled.clear();
    spooled.shrink_to_fit();
    inDocument = inPage = false;
    discard = false;
    writeError.clear();
  }
};

PrinterDocument* DocumentOf(DCObject* dc) {
  return dc ? dynamic_cast<PrinterDocument*>(dc->extension.get()) : nullptr;
}

PrinterDocument* LookupDocument(HDC hdc, DCObject*& dc) {
  dc = LookupDC(hdc);
  PrinterDocument* doc = DocumentOf(dc);
  if (!doc) PrintFail(ERROR_INVALID_HANDLE, "Not a printer DC");
  return doc;
}

// The DC's metrics for the paper of the device mode in effect.
void ApplySetup(DCObject& dc, PrinterDocument& doc) {
  doc.setup = SetupFor(doc.printer, &doc.mode);
  const PageSetup& s = doc.setup;
  int dpiX = doc.printer.dpiX;
  int dpiY = doc.printer.dpiY;
  dc.dpiX = dpiX;
  dc.dpiY = dpiY;
  dc.technology = DT_RASPRINTER;
  dc.physicalWidth = DeviceUnits(s.width, dpiX);
  dc.physicalHeight = DeviceUnits(s.length, dpiY);
  dc.physicalOffsetX = DeviceUnits(s.left, dpiX);
  dc.physicalOffsetY = DeviceUnits(s.top, dpiY);
  dc.vectorWidth = std::max(1, DeviceUnits(s.width - s.left - s.right, dpiX));
  dc.vectorHeight = std::max(1, DeviceUnits(s.length - s.top - s.bottom, dpiY));
  InvalidateClip(dc);
}

HDC MakePrinterDC(const char* device, const DEVMODE* mode, bool informationOnly) {
  auto doc = std::make_unique<PrinterDocument>();
  if (!device) return PrintFail(ERROR_INVALID_PRINTER_NAME, "No printer name given"), nullptr;
  if (!LoadPrinter(device, doc->printer)) return nullptr;
  DefaultDevMode(doc->printer, doc->mode);
  if (mode) MergeDevMode(doc->printer, doc->mode, *mode);
  doc->informationOnly = informationOnly;
  auto dc = std::make_unique<DCObject>();
  dc->dcKind = DCKind::Vector;
  dc->cr = cairo_reference(doc->idleCr);
  ApplySetup(*dc, *doc);
  dc->extension = std::move(doc);
  return NewDC(std::move(dc));
}

// The orientation the job asks for: the pages' own when they all share one.
// A PDF page already has its orientation, and a printer that is told
// "landscape" turns the portrait pages of a mixed job as well.
int JobOrientation(const PrinterDocument& doc) {
  if (doc.landscapePages == doc.pages) return 4;
  if (doc.landscapePages == 0) return 3;
  return 0;
}

}  // namespace

HDC CreateDC(const char* driver, const char* device, const char* output, const DEVMODE* mode) {
  (void)driver;
  (void)output;
  return MakePrinterDC(device, mode, false);
}

HDC CreateIC(const char* driver, const char* device, const char* output, const DEVMODE* mode) {
  (void)driver;
  (void)output;
  return MakePrinterDC(device, mode, true);
}

HDC ResetDC(HDC hdc, const DEVMODE* mode) {
  DCObject* dc = nullptr;
  PrinterDocument* doc = LookupDocument(hdc, dc);
  if (!doc) return nullptr;
  if (!mode) return PrintFail(ERROR_INVALID_PARAMETER, "No device mode given"), nullptr;
  if (doc->inPage) return PrintFail(ERROR_INVALID_PARAMETER, "The device mode cannot change inside a page"), nullptr;
  DefaultDevMode(doc->printer, doc->mode);
  MergeDevMode(doc->printer, doc->mode, *mode);
  ApplySetup(*dc, *doc);
  return hdc;
}

int StartDoc(HDC hdc, const DOCINFO* info) {
  DCObject* dc = nullptr;
  PrinterDocument* doc = LookupDocument(hdc, dc);
  if (!doc) return SP_ERROR;
  if (doc->informationOnly) return PrintFail(ERROR_INVALID_HANDLE, "An information context cannot print"), SP_ERROR;
  if (doc->inDocument) return PrintFail(ERROR_INVALID_PARAMETER, "A document is already open"), SP_ERROR;
  doc->title = info && info->lpszDocName ? info->lpszDocName : "";
  if (info && info->lpszOutput && *info->lpszOutput) {
    doc->file = JobOutput::ToFile(info->lpszOutput);
    if (!doc->file) return SP_ERROR;
  } else if (doc->printer.isVirtual) {
    doc->file = JobOutput::ToFile(VirtualJobPath(doc->title, ".pdf"));
    if (!doc->file) return SP_ERROR;
  }
  doc->inDocument = true;
  doc->pdf = cairo_pdf_surface_create_for_stream(&PrinterDocument::WritePdf, doc, Points(doc->setup.width),
                                                 Points(doc->setup.length));
  if (cairo_surface_status(doc->pdf) != CAIRO_STATUS_SUCCESS) {
    std::string error = doc->PdfError();
    doc->CloseDocument(false);
    return PrintFail(ERROR_WRITE_FAULT, error), SP_ERROR;
  }
  if (!doc->title.empty()) cairo_pdf_surface_set_metadata(doc->pdf, CAIRO_PDF_METADATA_TITLE, doc->title.c_str());
  doc->pageCr = cairo_create(doc->pdf);
  cairo_set_antialias(doc->pageCr, CAIRO_ANTIALIAS_NONE);
  doc->documentMode = doc->mode;
  doc->pages = 0;
  doc->landscapePages = 0;
  doc->number = NextDocumentNumber();
  return doc->number;
}

int StartPage(HDC hdc) {
  DCObject* dc = nullptr;
  PrinterDocument* doc = LookupDocument(hdc, dc);
  if (!doc) return SP_ERROR;
  if (!doc->inDocument) return PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open"), SP_ERROR;
  if (doc->inPage) return PrintFail(ERROR_INVALID_PARAMETER, "A page is already open"), SP_ERROR;
  const PageSetup& s = doc->setup;
  cairo_pdf_surface_set_size(doc->pdf, Points(s.width), Points(s.length));
  cairo_t* cr = doc->pageCr;
  cairo_identity_matrix(cr);
  cairo_scale(cr, 72.0 / dc->dpiX, 72.0 / dc->dpiY);
  cairo_translate(cr, dc->physicalOffsetX, dc->physicalOffsetY);
  cairo_destroy(dc->cr);
  dc->cr = cairo_reference(cr);
  if (doc->pages == 0) doc->firstPage = s;
  if (s.landscape) ++doc->landscapePages;
  ++doc->pages;
  doc->inPage = true;
  return 1;
}

int EndPage(HDC hdc) {
  DCObject* dc = nullptr;
  PrinterDocument* doc = LookupDocument(hdc, dc);
  if (!doc) return SP_ERROR;
  if (!doc->inPage) return PrintFail(ERROR_SPL_NO_STARTDOC, "No page is open"), SP_ERROR;
  cairo_show_page(doc->pageCr);
  cairo_destroy(dc->cr);
  dc->cr = cairo_reference(doc->idleCr);
  doc->inPage = false;
  if (cairo_surface_status(doc->pdf) != CAIRO_STATUS_SUCCESS)
    return PrintFail(ERROR_WRITE_FAULT, doc->PdfError()), SP_ERROR;
  return 1;
}

int EndDoc(HDC hdc) {
  DCObject* dc = nullptr;
  PrinterDocument* doc = LookupDocument(hdc, dc);
  if (!doc) return SP_ERROR;
  if (!doc->inDocument) return PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open"), SP_ERROR;
  if (doc->inPage && EndPage(hdc) <= 0) {
    doc->CloseDocument(false);
    return SP_ERROR;
  }
  // Finishing writes the rest of the PDF: keep what CloseDocument would drop.
  cairo_destroy(doc->pageCr);
  doc->pageCr = nullptr;
  cairo_surface_finish(doc->pdf);
  if (cairo_surface_status(doc->pdf) != CAIRO_STATUS_SUCCESS) {
    std::string error = doc->PdfError();
    doc->CloseDocument(false);
    return PrintFail(ERROR_WRITE_FAULT, error), SP_ERROR;
  }
  int result = doc->number;
  if (doc->file) {
    int unused = 0;
    if (!doc->file->Finish(unused)) result = SP_ERROR;
  } else if (doc->pages > 0) {
    PrintJobTicket ticket = TicketFor(doc->printer, &doc->documentMode, doc->firstPage, JobOrientation(*doc),
                                      doc->title, kPdfFormat);
    std::unique_ptr<JobOutput> job = JobOutput::ToPrinter(doc->printer.name, ticket);
    int jobId = 0;
    if (job && job->Write(doc->spooled.data(), doc->spooled.size()) && job->Finish(jobId))
      result = jobId > 0 ? jobId : result;
    else
      result = SP_ERROR;
  }
  // The file is complete (or was removed by its own failure).
  doc->file.reset();
  doc->CloseDocument(true);
  return result;
}

int AbortDoc(HDC hdc) {
  DCObject* dc = nullptr;
  PrinterDocument* doc = LookupDocument(hdc, dc);
  if (!doc) return SP_ERROR;
  if (!doc->inDocument) return PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open"), SP_ERROR;
  if (doc->inPage) {
    cairo_destroy(dc->cr);
    dc->cr = cairo_reference(doc->idleCr);
  }
  doc->CloseDocument(false);
  return 1;
}

}  // namespace win
