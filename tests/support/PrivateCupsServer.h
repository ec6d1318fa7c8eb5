// A CUPS scheduler of the test's own: started from a fresh temporary folder
// with its own configuration (file devices allowed) on a free local port,
// and stopped with the folder removed. The machine's own CUPS is neither used
// nor changed. Queues print to files in the folder and pass PDF documents
// through untouched, so a test can look at exactly what a job sent.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class PrivateCupsServer {
 public:
  PrivateCupsServer() = default;
  ~PrivateCupsServer();
  PrivateCupsServer(const PrivateCupsServer&) = delete;
  PrivateCupsServer& operator=(const PrivateCupsServer&) = delete;

  // Starts the scheduler and waits until it answers. False, with Problem()
  // saying why, when it cannot be started.
  bool Start();
  const std::string& Problem() const { return problem_; }
  // "localhost:<port>", for the print system and the command-line tools.
  const std::string& Server() const { return server_; }

  // Adds a queue of the test printer (papers A4, Letter, A5, Legal, JIS B5
  // and 100 x 150 mm; trays auto, upper, lower, manual; duplex; 600 dpi) whose
  // device is a file; returns the file's path, empty on failure (Problem()).
  std::string AddQueue(const std::string& name);
  // Runs lpadmin, cupsreject, cupsdisable ... against this server ("-h" is
  // added). True when the tool succeeded; else Problem() holds its output.
  bool Admin(const std::string& tool, const std::vector<std::string>& args);

  // Waits until the file holds a complete PDF (or at least bytes bytes) and
  // returns its contents; empty after the time-out.
  std::string WaitForPdf(const std::string& path, int timeoutMs = 15000) const;
  std::string WaitForBytes(const std::string& path, size_t bytes, int timeoutMs = 15000) const;

  // The end of the scheduler's error log, for failure messages.
  std::string LogTail() const;

 private:
  bool Fail(std::string problem);
  void Stop();

  std::string folder_;
  std::string server_;
  std::string problem_;
  pid_t pid_ = -1;
};
