// The print system under the printing calls: its destinations, what each
// can do, and jobs sent to it. CUPS serves unless something else is put in
// its place (tests do, where a real server is not wanted).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace win {

// A destination as the print system lists it.
struct PrintDestination {
  std::string name;
  std::string port;  // where it prints to, for showing
  bool isDefault = false;
};

// A media size; lengths in hundredths of a millimetre, portrait.
struct PrintMedia {
  std::string name;         // the print system's name ("iso_a4_210x297mm")
  std::string displayName;  // for people; may be empty
  int width = 0;
  int length = 0;
  int left = 0;  // unprintable margins
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// What a destination offers.
struct PrintDeviceInfo {
  int dpiX = 0;
  int dpiY = 0;
  std::vector<PrintMedia> media;
  std::string defaultMedia;            // a name from media; empty = the first
  std::vector<std::string> sources;    // media sources ("auto", "tray-1" ...)
  std::string defaultSource;
  std::vector<std::string> sides;      // "one-sided", "two-sided-long-edge" ...
  std::string defaultSides;
  int maxCopies = 1;
  bool collate = false;
};

// The options of one job. Empty texts and zero numbers are left to the
// destination's defaults.
struct PrintJobTicket {
  std::string title;
  std::string format;       // "application/pdf" or "application/vnd.cups-raw"
  std::string media;
  int orientation = 0;      // 3 portrait, 4 landscape
  int copies = 0;
  int collate = -1;         // -1 unset, 0 uncollated, 1 collated
  std::string sides;
  std::string source;
};

// A job being sent. Every call answers whether it worked; when one did not,
// ErrorText says why in the print system's words.
class PrintJobStream {
 public:
  virtual ~PrintJobStream() = default;
  virtual bool Write(const void* data, size_t size) = 0;
  // Closes the document; the job then belongs to the print system.
  virtual bool Finish(int& jobId) = 0;
  // Withdraws the job (nothing is printed).
  virtual void Cancel() = 0;
  virtual std::string ErrorText() const = 0;
};

class PrintSystem {
 public:
  virtual ~PrintSystem() = default;
  // False when the print system cannot be reached, with the reason.
  virtual bool ListDestinations(std::vector<PrintDestination>& destinations, std::string& error) = 0;
  virtual bool Describe(const std::string& name, PrintDeviceInfo& info, std::string& error) = 0;
  // Null on failure, with the reason.
  virtual std::unique_ptr<PrintJobStream> OpenJob(const std::string& name, const PrintJobTicket& ticket,
                                                  std::string& error) = 0;
};

constexpr const char* kPdfFormat = "application/pdf";
constexpr const char* kRawFormat = "application/vnd.cups-raw";

// The print system in use; CUPS (the default server) until replaced.
PrintSystem& CurrentPrintSystem();
// Puts a print system in place and returns the one it replaces; null puts
// CUPS back.
std::unique_ptr<PrintSystem> SetPrintSystem(std::unique_ptr<PrintSystem> system);

}  // namespace win
