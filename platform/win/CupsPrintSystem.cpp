#include "platform/win/CupsPrintSystem.h"

#include <cups/cups.h>

#include <algorithm>
#include <cmath>

namespace win {

namespace {

// Every CUPS call that can fail leaves its text here.
std::string LastCupsText(const char* what) {
  const char* text = cupsLastErrorString();
  std::string message = what;
  if (text && *text) message += std::string(": ") + text;
  return message;
}

bool Failed(ipp_status_t status) { return status > IPP_STATUS_OK_EVENTS_COMPLETE; }

// A destination with its connection and capabilities, freed together.
struct Destination {
  cups_dest_t* dest = nullptr;
  http_t* http = nullptr;
  cups_dinfo_t* info = nullptr;

  Destination() = default;
  Destination(const Destination&) = delete;
  Destination& operator=(const Destination&) = delete;
  ~Destination() {
    if (info) cupsFreeDestInfo(info);
    if (http) httpClose(http);
    if (dest) cupsFreeDests(1, dest);
  }

  bool Open(const std::string& name, std::string& error) {
    dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    if (!dest) {
      error = LastCupsText(("No printer \"" + name + "\"").c_str());
      return false;
    }
    char resource[1024];
    http = cupsConnectDest(dest, CUPS_DEST_FLAGS_NONE, 30000, nullptr, resource, sizeof resource, nullptr,
                           nullptr);
    if (!http) {
      error = LastCupsText(("Cannot reach printer \"" + name + "\"").c_str());
      return false;
    }
    info = cupsCopyDestInfo(http, dest);
    if (!info) {
      error = LastCupsText(("Cannot read the capabilities of printer \"" + name + "\"").c_str());
      return false;
    }
    return true;
  }

  ipp_attribute_t* Supported(const char* option) { return cupsFindDestSupported(http, dest, info, option); }

  // The destination's own default (lpoptions) first, then the printer's.
  std::string Default(const char* option) {
    if (const char* v = cupsGetOption(option, dest->num_options, dest->options)) return v;
    ipp_attribute_t* a = cupsFindDestDefault(http, dest, info, option);
    const char* v = a ? ippGetString(a, 0, nullptr) : nullptr;
    return v ? v : "";
  }
};

std::vector<std::string> Strings(ipp_attribute_t* a) {
  std::vector<std::string> values;
  for (int i = 0; a && i < ippGetCount(a); ++i)
    if (const char* s = ippGetString(a, i, nullptr)) values.emplace_back(s);
  return values;
}

// The port to show: the device's URI without any user name or password in
// it, else the queue's own URI.
std::string PortOf(const cups_dest_t& dest) {
  const char* device = cupsGetOption("device-uri", dest.num_options, dest.options);
  if (device && *device) {
    std::string uri = device;
    size_t scheme = uri.find("://");
    if (scheme != std::string::npos) {
      size_t hostStart = scheme + 3;
      size_t at = uri.find('@', hostStart);
      size_t slash = uri.find('/', hostStart);
      if (at != std::string::npos && (slash == std::string::npos || at < slash)) uri.erase(hostStart, at + 1 - hostStart);
    }
    return uri;
  }
  const char* queue = cupsGetOption("printer-uri-supported", dest.num_options, dest.options);
  return queue ? queue : "";
}

void ReadResolution(Destination& d, PrintDeviceInfo& info) {
  ipp_attribute_t* a = cupsFindDestDefault(d.http, d.dest, d.info, "printer-resolution");
  if (!a || ippGetValueTag(a) != IPP_TAG_RESOLUTION) a = d.Supported("printer-resolution");
  if (a && ippGetValueTag(a) == IPP_TAG_RESOLUTION) {
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    int x = ippGetResolution(a, 0, &y, &units);
    double scale = units == IPP_RES_PER_CM ? 2.54 : 1.0;
    info.dpiX = static_cast<int>(std::lround(x * scale));
    info.dpiY = static_cast<int>(std::lround(y * scale));
  }
  // A printer that does not say prints vector pages as finely as it can.
  if (info.dpiX <= 0 || info.dpiY <= 0) info.dpiX = info.dpiY = 600;
}

void ReadMedia(Destination& d, PrintDeviceInfo& info) {
  int count = cupsGetDestMediaCount(d.http, d.dest, d.info, CUPS_MEDIA_FLAGS_DEFAULT);
  for (int i = 0; i < count; ++i) {
    cups_size_t size;
    if (!cupsGetDestMediaByIndex(d.http, d.dest, d.info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size)) continue;
    PrintMedia m;
    m.name = size.media;
    const char* shown = cupsLocalizeDestMedia(d.http, d.dest, d.info, CUPS_MEDIA_FLAGS_DEFAULT, &size);
    m.displayName = shown ? shown : "";
    m.width = size.width;
    m.length = size.length;
    m.left = size.left;
    m.top = size.top;
    m.right = size.right;
    m.bottom = size.bottom;
    info.media.push_back(std::move(m));
  }
  std::string wanted = d.Default("media");
  auto known = [&](const std::string& name) {
    return std::any_of(info.media.begin(), info.media.end(), [&](const PrintMedia& m) { return m.name == name; });
  };
  if (!wanted.empty() && !known(wanted)) {
    // The default may be named differently from the list's entry of that size.
    cups_size_t size;
    if (cupsGetDestMediaByName(d.http, d.dest, d.info, wanted.c_str(), CUPS_MEDIA_FLAGS_DEFAULT, &size))
      wanted = size.media;
  }
  info.defaultMedia = known(wanted) ? wanted : "";
}

class CupsJob : public PrintJobStream {
 public:
  CupsJob(std::unique_ptr<Destination> d, int jobId) : d_(std::move(d)), jobId_(jobId) {}
  ~CupsJob() override {
    if (!finished_) Cancel();
  }

  bool Write(const void* data, size_t size) override {
    if (finished_ || failed_) return Fail("The job is closed");
    if (cupsWriteRequestData(d_->http, static_cast<const char*>(data), size) != HTTP_STATUS_CONTINUE) {
      failed_ = true;
      return Fail(LastCupsText("Sending the document failed"));
    }
    return true;
  }

  bool Finish(int& jobId) override {
    if (finished_ || failed_) return Fail(error_.empty() ? "The job is closed" : error_);
    ipp_status_t status = cupsFinishDestDocument(d_->http, d_->dest, d_->info);
    if (Failed(status)) {
      failed_ = true;
      return Fail(LastCupsText("The printer refused the document"));
    }
    finished_ = true;
    jobId = jobId_;
    return true;
  }

  void Cancel() override {
    if (finished_) return;
    finished_ = true;
    // The connection may be in the middle of the document: a fresh one
    // withdraws the job.
    httpClose(d_->http);
    d_->http = nullptr;
    char resource[1024];
    d_->http = cupsConnectDest(d_->dest, CUPS_DEST_FLAGS_NONE, 30000, nullptr, resource, sizeof resource,
                               nullptr, nullptr);
    if (d_->http) cupsCancelDestJob(d_->http, d_->dest, jobId_);
  }

  std::string ErrorText() const override { return error_; }

 private:
  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }

  std::unique_ptr<Destination> d_;
  int jobId_;
  bool finished_ = false;
  bool failed_ = false;
  std::string error_;
};

}  // namespace

CupsPrintSystem::CupsPrintSystem(std::string server) : server_(std::move(server)) {}

void CupsPrintSystem::SelectServer() const {
  thread_local std::string selected;  // empty: libcups' own choice
  if (selected == server_) return;
  cupsSetServer(server_.empty() ? nullptr : server_.c_str());
  selected = server_;
}

bool CupsPrintSystem::ListDestinations(std::vector<PrintDestination>& destinations, std::string& error) {
  SelectServer();
  destinations.clear();
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  if (count == 0 && Failed(cupsLastError())) {
    error = LastCupsText("The print system cannot be reached");
    cupsFreeDests(count, dests);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    const cups_dest_t& d = dests[i];
    // Instances are option sets of a queue, not printers of their own.
    if (d.instance) continue;
    destinations.push_back({d.name, PortOf(d), d.is_default != 0});
  }
  cupsFreeDests(count, dests);
  return true;
}

bool CupsPrintSystem::Describe(const std::string& name, PrintDeviceInfo& info, std::string& error) {
  SelectServer();
  info = PrintDeviceInfo{};
  Destination d;
  if (!d.Open(name, error)) return false;
  ReadResolution(d, info);
  ReadMedia(d, info);
  info.sources = Strings(d.Supported("media-source"));
  info.defaultSource = d.Default("media-source");
  info.sides = Strings(d.Supported("sides"));
  info.defaultSides = d.Default("sides");
  info.maxCopies = 1;
  if (ipp_attribute_t* copies = d.Supported("copies"); copies && ippGetValueTag(copies) == IPP_TAG_RANGE) {
    int upper = 1;
    ippGetRange(copies, 0, &upper);
    info.maxCopies = std::max(1, upper);
  }
  std::vector<std::string> handling = Strings(d.Supported("multiple-document-handling"));
  info.collate = std::find(handling.begin(), handling.end(), "separate-documents-collated-copies") != handling.end();
  return true;
}

std::unique_ptr<PrintJobStream> CupsPrintSystem::OpenJob(const std::string& name, const PrintJobTicket& ticket,
                                                         std::string& error) {
  SelectServer();
  auto d = std::make_unique<Destination>();
  if (!d->Open(name, error)) return nullptr;
  int count = 0;
  cups_option_t* options = nullptr;
  auto add = [&](const char* option, const std::string& value) {
    if (!value.empty()) count = cupsAddOption(option, value.c_str(), count, &options);
  };
  add(CUPS_MEDIA, ticket.media);
  add(CUPS_MEDIA_SOURCE, ticket.source);
  add(CUPS_SIDES, ticket.sides);
  if (ticket.orientation) add(CUPS_ORIENTATION, std::to_string(ticket.orientation));
  if (ticket.copies > 0) add(CUPS_COPIES, std::to_string(ticket.copies));
  if (ticket.collate >= 0)
    add("multiple-document-handling",
        ticket.collate ? "separate-documents-collated-copies" : "separate-documents-uncollated-copies");
  int jobId = 0;
  ipp_status_t status = cupsCreateDestJob(d->http, d->dest, d->info, &jobId, ticket.title.c_str(), count, options);
  cupsFreeOptions(count, options);
  if (Failed(status) || jobId <= 0) {
    error = LastCupsText(("Printer \"" + name + "\" refused the job").c_str());
    return nullptr;
  }
  const char* format = ticket.format.empty() ? CUPS_FORMAT_PDF : ticket.format.c_str();
  if (cupsStartDestDocument(d->http, d->dest, d->info, jobId, ticket.title.c_str(), format, 0, nullptr, 1) !=
      HTTP_STATUS_CONTINUE) {
    error = LastCupsText(("Printer \"" + name + "\" refused the document").c_str());
    CupsJob(std::move(d), jobId).Cancel();
    return nullptr;
  }
  return std::make_unique<CupsJob>(std::move(d), jobId);
}

}  // namespace win
