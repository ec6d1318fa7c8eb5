#include "platform/win/WinSpool.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>

#include "platform/win/JobOutput.h"
#include "platform/win/Printers.h"
#include "platform/win/Windows.h"

namespace win {

namespace {

struct OpenedPrinter {
  std::string name;
  std::unique_ptr<JobOutput> rawJob;
};

// Handles are the addresses of their records; a handle is good while its
// record is listed here.
std::map<HANDLE, std::unique_ptr<OpenedPrinter>>& Handles() {
  static std::map<HANDLE, std::unique_ptr<OpenedPrinter>> handles;
  return handles;
}

OpenedPrinter* LookupPrinter(HANDLE h) {
  auto it = Handles().find(h);
  if (it != Handles().end()) return it->second.get();
  PrintFail(ERROR_INVALID_HANDLE, "Not a printer handle");
  return nullptr;
}

PrinterPropertiesPrompt& Prompt() {
  static PrinterPropertiesPrompt prompt = nullptr;
  return prompt;
}

DWORD NextLocalJobId() {
  static DWORD next = 0;
  return ++next;
}

bool EqualsNoCase(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

PrintDestination DefaultOf(const std::vector<PrintDestination>& list) {
  for (const PrintDestination& d : list)
    if (d.isDefault) return d;
  return list.front();
}

// Copies text into a fixed field of size characters, cut to fit, terminated.
void PutFixed(char* to, size_t size, const std::string& text) {
  std::memset(to, 0, size);
  std::memcpy(to, text.data(), std::min(text.size(), size - 1));
}

}  // namespace

BOOL EnumPrinters(DWORD flags, const char* name, DWORD level, BYTE* buffer, DWORD size, DWORD* needed,
                  DWORD* returned) {
  if (!needed || !returned) return PrintFail(ERROR_INVALID_PARAMETER, "No place for the result");
  *needed = 0;
  *returned = 0;
  if (name && *name) return PrintFail(ERROR_INVALID_PARAMETER, "Printers of other servers are not listed");
  if (level != 4 && level != 5) return PrintFail(ERROR_INVALID_LEVEL, "Only levels 4 and 5 are listed");
  std::vector<PrintDestination> list;
  if (flags & PRINTER_ENUM_DEFAULT)
    list.push_back(DefaultOf(ListPrinters()));
  else if (flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS))
    list = ListPrinters();
  size_t record = level == 4 ? sizeof(PRINTER_INFO_4) : sizeof(PRINTER_INFO_5);
  size_t total = record * list.size();
  for (const PrintDestination& d : list) total += d.name.size() + 1 + (level == 5 ? d.port.size() + 1 : 0);
  *needed = static_cast<DWORD>(total);
  if (size < total || (total > 0 && !buffer))
    return PrintFail(ERROR_INSUFFICIENT_BUFFER, "The buffer is too small for the printer list");
  char* text = reinterpret_cast<char*>(buffer) + record * list.size();
  auto put = [&](const std::string& s) {
    char* at = text;
    std::memcpy(at, s.c_str(), s.size() + 1);
    text += s.size() + 1;
    return at;
  };
  for (size_t i = 0; i < list.size(); ++i) {
    const PrintDestination& d = list[i];
    DWORD attributes = PRINTER_ATTRIBUTE_LOCAL | (d.isDefault ? PRINTER_ATTRIBUTE_DEFAULT : 0);
    if (level == 4) {
      PRINTER_INFO_4 info{put(d.name), nullptr, attributes};
      std::memcpy(buffer + i * record, &info, sizeof info);
    } else {
      char* printerName = put(d.name);
      PRINTER_INFO_5 info{printerName, put(d.port), attributes, 15000, 45000};
      std::memcpy(buffer + i * record, &info, sizeof info);
    }
  }
  *returned = static_cast<DWORD>(list.size());
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL GetDefaultPrinter(char* buffer, DWORD* size) {
  if (!size) return PrintFail(ERROR_INVALID_PARAMETER, "No size given");
  std::string name = DefaultOf(ListPrinters()).name;
  DWORD wanted = static_cast<DWORD>(name.size() + 1);
  if (!buffer || *size < wanted) {
    *size = wanted;
    return PrintFail(ERROR_INSUFFICIENT_BUFFER, "The buffer is too small for the printer's name");
  }
  std::memcpy(buffer, name.c_str(), wanted);
  *size = wanted;
  return TRUE;
}

DWORD GetProfileString(const char* section, const char* key, const char* defaultText, char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  std::string value = defaultText ? defaultText : "";
  if (EqualsNoCase(section, "windows") && EqualsNoCase(key, "device")) {
    PrintDestination d = DefaultOf(ListPrinters());
    value = d.name + ",winspool," + d.port;
  }
  size_t n = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

BOOL OpenPrinter(const char* printerName, HANDLE* printer, PRINTER_DEFAULTS* defaults) {
  (void)defaults;  // every printer may be used; there are no access rights to ask for
  if (!printer) return PrintFail(ERROR_INVALID_PARAMETER, "No place for the handle");
  *printer = nullptr;
  PrinterModel model;
  if (!printerName || !LoadPrinter(printerName, model))
    return printerName ? FALSE : PrintFail(ERROR_INVALID_PRINTER_NAME, "No printer name given");
  auto opened = std::make_unique<OpenedPrinter>();
  opened->name = printerName;
  HANDLE h = opened.get();
  Handles()[h] = std::move(opened);
  *printer = h;
  return TRUE;
}

BOOL ClosePrinter(HANDLE printer) {
  if (!LookupPrinter(printer)) return FALSE;
  Handles().erase(printer);  // an open raw job is withdrawn with its record
  return TRUE;
}

void SetPrinterPropertiesPrompt(PrinterPropertiesPrompt prompt) { Prompt() = prompt; }

LONG DocumentProperties(HWND owner, HANDLE printer, const char* deviceName, DEVMODE* output, const DEVMODE* input,
                        DWORD mode) {
  std::string name;
  if (printer) {
    OpenedPrinter* p = LookupPrinter(printer);
    if (!p) return -1;
    name = p->name;
  } else if (deviceName) {
    name = deviceName;
  }
  PrinterModel model;
  if (!LoadPrinter(name, model)) return -1;
  if (mode == 0) return static_cast<LONG>(sizeof(DEVMODE));
  if ((mode & DM_OUT_BUFFER) && !output) return PrintFail(ERROR_INVALID_PARAMETER, "No device mode to write"), -1;
  DEVMODE work;
  DefaultDevMode(model, work);
  if ((mode & DM_IN_BUFFER) && input) MergeDevMode(model, work, *input);
  LONG result = 1;  // IDOK
  if (mode & DM_IN_PROMPT) {
    DEVMODE edited = work;
    if (Prompt() && Prompt()(owner, model.name.c_str(), edited)) {
      MergeDevMode(model, work, edited);
    } else {
      result = 2;  // IDCANCEL
    }
  }
  if (mode & DM_OUT_BUFFER) *output = work;
  return result;
}

int DeviceCapabilities(const char* device, const char* port, WORD capability, char* output, const DEVMODE* mode) {
  (void)port;
  (void)mode;
  PrinterModel model;
  if (!device || !LoadPrinter(device, model)) {
    if (!device) PrintFail(ERROR_INVALID_PRINTER_NAME, "No printer name given");
    return -1;
  }
  auto list = [&](size_t count, auto&& write) {
    if (output)
      for (size_t i = 0; i < count; ++i) write(i);
    return static_cast<int>(count);
  };
  switch (capability) {
    case DC_PAPERS:
      return list(model.papers.size(), [&](size_t i) {
        WORD code = static_cast<WORD>(model.papers[i].code);
        std::memcpy(output + i * sizeof code, &code, sizeof code);
      });
    case DC_PAPERNAMES:
      return list(model.papers.size(), [&](size_t i) { PutFixed(output + i * 64, 64, model.papers[i].name); });
    case DC_PAPERSIZE:
      return list(model.papers.size(), [&](size_t i) {
        POINT size{(model.papers[i].width + 5) / 10, (model.papers[i].length + 5) / 10};
        std::memcpy(output + i * sizeof size, &size, sizeof size);
      });
    case DC_BINS:
      return list(model.bins.size(), [&](size_t i) {
        WORD code = static_cast<WORD>(model.bins[i].code);
        std::memcpy(output + i * sizeof code, &code, sizeof code);
      });
    case DC_BINNAMES:
      return list(model.bins.size(), [&](size_t i) { PutFixed(output + i * 24, 24, model.bins[i].name); });
    case DC_ENUMRESOLUTIONS:
      return list(1, [&](size_t) {
        LONG pair[2] = {model.dpiX, model.dpiY};
        std::memcpy(output, pair, sizeof pair);
      });
    case DC_DUPLEX:
      return std::any_of(model.sides.begin(), model.sides.end(),
                         [](const std::string& s) { return s.rfind("two-sided", 0) == 0; })
                 ? 1
                 : 0;
    case DC_COLLATE: return model.collate ? 1 : 0;
    case DC_COPIES: return model.maxCopies;
    case DC_ORIENTATION: return 90;
    case DC_SIZE: return static_cast<int>(sizeof(DEVMODE));
    case DC_EXTRA: return 0;
    case DC_FIELDS: {
      DEVMODE defaults;
      DefaultDevMode(model, defaults);
      return static_cast<int>(defaults.dmFields | DM_PAPERLENGTH | DM_PAPERWIDTH);
    }
    default: PrintFail(ERROR_NOT_SUPPORTED, "The printer does not answer that capability"); return -1;
  }
}

DWORD StartDocPrinter(HANDLE printer, DWORD level, const BYTE* docInfo) {
  OpenedPrinter* p = LookupPrinter(printer);
  if (!p) return 0;
  if (level != 1) return PrintFail(ERROR_INVALID_LEVEL, "Only level 1 documents are printed");
  if (!docInfo) return PrintFail(ERROR_INVALID_PARAMETER, "No document information");
  if (p->rawJob) return PrintFail(ERROR_INVALID_PARAMETER, "A document is already open on this handle");
  const auto* info = reinterpret_cast<const DOC_INFO_1*>(docInfo);
  std::string title = info->pDocName ? info->pDocName : "";
  if (info->pOutputFile && *info->pOutputFile) {
    p->rawJob = JobOutput::ToFile(info->pOutputFile);
  } else if (p->name == VirtualPrinterName()) {
    p->rawJob = JobOutput::ToFile(VirtualJobPath(title, ".prn"));
  } else {
    PrintJobTicket ticket;
    ticket.title = title;
    ticket.format = kRawFormat;
    p->rawJob = JobOutput::ToPrinter(p->name, ticket);
  }
  return p->rawJob ? NextLocalJobId() : 0;
}

BOOL StartPagePrinter(HANDLE printer) {
  OpenedPrinter* p = LookupPrinter(printer);
  if (!p) return FALSE;
  // A raw stream has no pages of its own; the bytes say where pages end.
  return p->rawJob ? TRUE : PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open");
}

BOOL WritePrinter(HANDLE printer, const void* data, DWORD size, DWORD* written) {
  if (written) *written = 0;
  OpenedPrinter* p = LookupPrinter(printer);
  if (!p) return FALSE;
  if (!p->rawJob) return PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open");
  if (size > 0 && !data) return PrintFail(ERROR_INVALID_PARAMETER, "No data");
  if (!p->rawJob->Write(data, size)) return FALSE;
  if (written) *written = size;
  return TRUE;
}

BOOL EndPagePrinter(HANDLE printer) { return StartPagePrinter(printer); }

BOOL EndDocPrinter(HANDLE printer) {
  OpenedPrinter* p = LookupPrinter(printer);
  if (!p) return FALSE;
  if (!p->rawJob) return PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open");
  std::unique_ptr<JobOutput> job = std::move(p->rawJob);
  int jobId = 0;
  return job->Finish(jobId) ? TRUE : FALSE;
}

BOOL AbortPrinter(HANDLE printer) {
  OpenedPrinter* p = LookupPrinter(printer);
  if (!p) return FALSE;
  if (!p->rawJob) return PrintFail(ERROR_SPL_NO_STARTDOC, "No document is open");
  p->rawJob->Abort();
  p->rawJob.reset();
  return TRUE;
}

}  // namespace win
