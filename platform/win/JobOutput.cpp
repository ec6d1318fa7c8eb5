#include "platform/win/JobOutput.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Printers.h"
#include "platform/win/WinSpool.h"

namespace win {

JobOutput::JobOutput() = default;

JobOutput::~JobOutput() { Abort(); }

std::unique_ptr<JobOutput> JobOutput::ToFile(const std::string& path) {
  std::unique_ptr<JobOutput> out(new JobOutput);
  out->path_ = path;
  try {
    out->file_ = std::make_unique<TFileStream>(path, fmCreate, 0644);
  } catch (const Exception& e) {
    out->closed_ = true;  // nothing was made that needs removing
    PrintFail(ERROR_WRITE_FAULT, e.Message);
    return nullptr;
  }
  return out;
}

std::unique_ptr<JobOutput> JobOutput::ToPrinter(const std::string& printer, const PrintJobTicket& ticket) {
  std::string error;
  std::unique_ptr<PrintJobStream> job = CurrentPrintSystem().OpenJob(printer, ticket, error);
  if (!job) {
    PrintFail(ERROR_PRINT_SYSTEM, error);
    return nullptr;
  }
  std::unique_ptr<JobOutput> out(new JobOutput);
  out->job_ = std::move(job);
  return out;
}

bool JobOutput::Write(const void* data, size_t size) {
  if (closed_) return PrintFail(ERROR_SPL_NO_STARTDOC, "The job is closed");
  if (size == 0) return true;
  if (job_) return job_->Write(data, size) || PrintFail(ERROR_PRINT_SYSTEM, job_->ErrorText());
  try {
    file_->WriteBuffer(data, static_cast<Int64>(size));
  } catch (const Exception& e) {
    return PrintFail(ERROR_WRITE_FAULT, e.Message);
  }
  return true;
}

bool JobOutput::Finish(int& jobId) {
  jobId = 0;
  if (closed_) return PrintFail(ERROR_SPL_NO_STARTDOC, "The job is closed");
  if (job_) {
    if (!job_->Finish(jobId)) {
      std::string text = job_->ErrorText();
      Abort();
      return PrintFail(ERROR_PRINT_SYSTEM, text);
    }
    closed_ = true;
    return true;
  }
  closed_ = true;
  file_.reset();
  return true;
}

void JobOutput::Abort() {
  if (closed_) return;
  closed_ = true;
  if (job_) {
    job_->Cancel();
    return;
  }
  file_.reset();
  DeleteFile(path_);
}

}  // namespace win
