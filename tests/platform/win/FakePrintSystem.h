// A print system in memory for the printing tests: destinations and their
// capabilities as a test sets them, and the jobs it receives.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/PrintSystem.h"

struct FakeJob {
  std::string printer;
  win::PrintJobTicket ticket;
  std::string data;
  bool finished = false;
  bool cancelled = false;
};

class FakePrintSystem : public win::PrintSystem {
 public:
  bool reachable = true;
  std::vector<win::PrintDestination> destinations;
  std::map<std::string, win::PrintDeviceInfo> devices;
  std::string refuseJob;     // OpenJob fails with this text
  std::string refuseFinish;  // Finish fails with this text
  std::vector<std::shared_ptr<FakeJob>> jobs;

  // "Office": A4 (also without borders), Letter and a 100 x 150 mm card;
  // trays auto, top, bottom, manual; duplex; up to 99 collated copies.
  static win::PrintDeviceInfo Office() {
    win::PrintDeviceInfo d;
    d.dpiX = d.dpiY = 600;
    d.media = {{"iso_a4_210x297mm", "A4", 20990, 29704, 500, 1000, 494, 1000},
               {"iso_a4_210x297mm.borderless", "A4", 21000, 29700, 0, 0, 0, 0},
               {"na_letter_8.5x11in", "US Letter", 21590, 27940, 635, 635, 635, 635},
               {"om_card_100x150mm", "Card 100x150mm", 10000, 15000, 0, 0, 0, 0}};
    d.defaultMedia = "iso_a4_210x297mm";
    d.sources = {"auto", "top", "bottom", "manual"};
    d.defaultSource = "auto";
    d.sides = {"one-sided", "two-sided-long-edge", "two-sided-short-edge"};
    d.defaultSides = "one-sided";
    d.maxCopies = 99;
    d.collate = true;
    return d;
  }

  bool ListDestinations(std::vector<win::PrintDestination>& out, std::string& error) override {
    if (!reachable) {
      error = "Connection refused";
      return false;
    }
    out = destinations;
    return true;
  }

  bool Describe(const std::string& name, win::PrintDeviceInfo& info, std::string& error) override {
    auto it = devices.find(name);
    if (!reachable || it == devices.end()) {
      error = "The printer or class does not exist.";
      return false;
    }
    info = it->second;
    return true;
  }

  std::unique_ptr<win::PrintJobStream> OpenJob(const std::string& name, const win::PrintJobTicket& ticket,
                                               std::string& error) override {
    if (!refuseJob.empty() || !devices.count(name)) {
      error = refuseJob.empty() ? "The printer or class does not exist." : refuseJob;
      return nullptr;
    }
    auto job = std::make_shared<FakeJob>();
    job->printer = name;
    job->ticket = ticket;
    jobs.push_back(job);
    return std::make_unique<Stream>(job, refuseFinish, static_cast<int>(jobs.size()) + 100);
  }

 private:
  class Stream : public win::PrintJobStream {
   public:
    Stream(std::shared_ptr<FakeJob> job, std::string refuse, int id)
        : job_(std::move(job)), refuse_(std::move(refuse)), id_(id) {}
    bool Write(const void* data, size_t size) override {
      job_->data.append(static_cast<const char*>(data), size);
      return true;
    }
    bool Finish(int& jobId) override {
      if (!refuse_.empty()) return false;
      job_->finished = true;
      jobId = id_;
      return true;
    }
    void Cancel() override { job_->cancelled = true; }
    std::string ErrorText() const override { return refuse_; }

   private:
    std::shared_ptr<FakeJob> job_;
    std::string refuse_;
    int id_;
  };
};
