// The print system over libcups: destinations of a CUPS server, their media,
// sources and resolution, and jobs sent as IPP documents.
#pragma once

#include <string>

#include "platform/win/PrintSystem.h"

namespace win {

class CupsPrintSystem : public PrintSystem {
 public:
  // server: "host:port" or a socket path; empty means the user's default
  // server (CUPS_SERVER, client.conf, the local scheduler).
  explicit CupsPrintSystem(std::string server = std::string());

  bool ListDestinations(std::vector<PrintDestination>& destinations, std::string& error) override;
  bool Describe(const std::string& name, PrintDeviceInfo& info, std::string& error) override;
  std::unique_ptr<PrintJobStream> OpenJob(const std::string& name, const PrintJobTicket& ticket,
                                          std::string& error) override;

 private:
  // libcups keeps its server per thread: each call points it at ours.
  void SelectServer() const;

  std::string server_;
};

}  // namespace win
