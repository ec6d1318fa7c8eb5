#include "tests/support/SimulatedRadio.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
const std::string kHandshake = "PROGRAM";

}  // namespace

SimulatedRadio::SimulatedRadio(int comNumber, std::string modelCode)
    : comNumber_(comNumber), modelCode_(std::move(modelCode)), memory_(MemorySize) {
  int slave = -1;
  char name[128] = {};
  if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  slavePath_ = name;
  termios t{};
  tcgetattr(master_, &t);
  cfmakeraw(&t);
  tcsetattr(master_, TCSANOW, &t);
  // Without any open slave a master reads EIO and polls as hung up; the
  // radio's own slave descriptor keeps the line up until the PC opens it.
  slaveKeeper_ = slave;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  std::vector<uint8_t> pattern = Pattern(MemorySize);
  memory_.assign(pattern.begin(), pattern.end());
  envName_ = "VXN_COM" + std::to_string(comNumber_);
  setenv(envName_.c_str(), slavePath_.c_str(), 1);
}

SimulatedRadio::~SimulatedRadio() {
  stop_ = true;
  if (wakeWrite_ >= 0) {
    char c = 0;
    (void)!write(wakeWrite_, &c, 1);
  }
  if (thread_.joinable()) thread_.join();
  if (master_ >= 0) close(master_);
  if (slaveKeeper_ >= 0) close(slaveKeeper_);
  if (wakeRead_ >= 0) close(wakeRead_);
  if (wakeWrite_ >= 0) close(wakeWrite_);
  unsetenv(envName_.c_str());
}

std::vector<uint8_t> SimulatedRadio::Pattern(int count) {
  std::vector<uint8_t> bytes(count);
  for (int i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}

void SimulatedRadio::Start() {
  thread_ = std::thread([this] { Run(); });
}

void SimulatedRadio::HangUp() {
  stop_ = true;
  char c = 0;
  (void)!write(wakeWrite_, &c, 1);
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> guard(lock_);
  if (master_ >= 0) close(master_);
  master_ = -1;
  if (slaveKeeper_ >= 0) close(slaveKeeper_);
  slaveKeeper_ = -1;
}

int SimulatedRadio::PendingOnSlave() const {
  std::lock_guard<std::mutex> guard(lock_);
  int pending = 0;
  if (slaveKeeper_ < 0 || ioctl(slaveKeeper_, FIONREAD, &pending) != 0) return -1;
  return pending;
}

std::vector<uint8_t> SimulatedRadio::Memory() const {
  std::lock_guard<std::mutex> guard(lock_);
  return memory_;
}

std::vector<uint8_t> SimulatedRadio::Received() const {
  std::lock_guard<std::mutex> guard(lock_);
  return received_;
}

void SimulatedRadio::Run() {
  while (!stop_) {
    pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    int n = poll(fds, 2, 100);
    if (n < 0 || stop_) break;
    if (fds[0].revents & POLLIN) {
      uint8_t buf[256];
      ssize_t got = read(master_, buf, sizeof buf);
      if (got <= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      for (ssize_t i = 0; i < got && !stop_; ++i) Handle(buf[i]);
    } else if (fds[0].revents & (POLLHUP | POLLERR)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}

void SimulatedRadio::Send(const std::vector<uint8_t>& bytes) {
  if (silent_ || fault_ == Fault::Silence) return;
  int baud = pacingBaud_;
  for (uint8_t b : bytes) {
    if (baud > 0) std::this_thread::sleep_for(std::chrono::microseconds(11 * 1000000LL / baud));
    if (stop_) return;
    (void)!write(master_, &b, 1);
  }
}

void SimulatedRadio::Handle(uint8_t byte) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    received_.push_back(byte);
  }
  pending_.push_back(byte);
  switch (phase_) {
    case 0: {  // the handshake word, wherever it starts
      if (pending_.size() > kHandshake.size()) pending_.erase(pending_.begin());
      if (std::string(pending_.begin(), pending_.end()) == kHandshake) {
        pending_.clear();
        phase_ = 1;
        silent_ = false;
        ended_ = false;
        Send({fault_ == Fault::WrongHandshakeByte ? kNak : kAck});
      }
      return;
    }
    case 1: {
      pending_.clear();
      if (byte != 0x02) return;
      std::string code = fault_ == Fault::WrongIdentity ? std::string("ZZ99") : modelCode_;
      std::vector<uint8_t> identity(16, 0x20);
      identity[0] = 0x49;
      for (int i = 0; i < 4; ++i) identity[1 + i] = static_cast<uint8_t>(code[i]);
      identity[15] = 0x00;
      phase_ = 2;
      Send(identity);
      return;
    }
    case 2: {
      pending_.clear();
      if (byte == 0x45) {
        phase_ = 0;
        ended_ = true;
        return;
      }
      if (byte != kAck) return;
      phase_ = 3;
      Send({kAck});
      return;
    }
    default: break;
  }

  // Block phase: one command at a time.
  uint8_t command = pending_[0];
  if (command == kAck) {
    pending_.clear();
    Send({kAck});
    return;
  }
  if (command == 0x45) {
    pending_.clear();
    phase_ = 0;
    ended_ = true;
    return;
  }
  if (command == 0x52) {
    if (pending_.size() < 4) return;
    int address = (pending_[1] << 8) | pending_[2];
    pending_.clear();
    int done = blocksRead_;
    if ((fault_ == Fault::SilenceAfterBlock || fault_ == Fault::HangUpAfterBlock) && done >= faultBlock_) {
      if (fault_ == Fault::HangUpAfterBlock) {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
        close(master_);
        master_ = -1;
        if (slaveKeeper_ >= 0) close(slaveKeeper_);
        slaveKeeper_ = -1;
      } else {
        silent_ = true;
      }
      return;
    }
    std::vector<uint8_t> reply = {0x57, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), 0x08};
    {
      std::lock_guard<std::mutex> guard(lock_);
      for (int i = 0; i < 8; ++i) reply.push_back(address + i < MemorySize ? memory_[address + i] : 0xFF);
    }
    ++blocksRead_;
    Send(reply);
    return;
  }
  if (command == 0x57) {
    if (pending_.size() < 12) return;
    int address = (pending_[1] << 8) | pending_[2];
    {
      std::lock_guard<std::mutex> guard(lock_);
      for (int i = 0; i < 8; ++i)
        if (address + i < MemorySize) memory_[address + i] = pending_[4 + i];
    }
    pending_.clear();
    ++blocksWritten_;
    Send({kAck});
    return;
  }
  // Anything else is line noise to the radio.
  pending_.clear();
}
