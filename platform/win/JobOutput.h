// Where the bytes of a print job go: a file (print to file, the virtual
// printer) or a job of the print system. Failures are recorded as the last
// printing error (Printers.h).
#pragma once

#include <memory>
#include <string>

#include "platform/win/PrintSystem.h"

class TFileStream;

namespace win {

class JobOutput {
 public:
  // Creates (or empties) the file now; null on failure.
  static std::unique_ptr<JobOutput> ToFile(const std::string& path);
  // Opens a job on the printer now; null on failure.
  static std::unique_ptr<JobOutput> ToPrinter(const std::string& printer, const PrintJobTicket& ticket);

  JobOutput(const JobOutput&) = delete;
  JobOutput& operator=(const JobOutput&) = delete;
  // An output neither finished nor aborted is aborted.
  ~JobOutput();

  bool Write(const void* data, size_t size);
  // Completes the file or hands the job over; jobId is the print system's
  // number of the job (0 for a file).
  bool Finish(int& jobId);
  // Removes the file or withdraws the job.
  void Abort();

  const std::string& Path() const { return path_; }

 private:
  JobOutput();

  std::string path_;
  std::unique_ptr<TFileStream> file_;
  std::unique_ptr<PrintJobStream> job_;
  bool closed_ = false;
};

}  // namespace win
