// A radio on the master side of a pseudo-terminal. It answers the radio's
// side of the link protocol: "PROGRAM" -> 0x06; 0x02 -> the 16-byte identity
// (model code in bytes 1-4); 0x06 -> 0x06; 'R' hi lo 0x08 -> 12 bytes (4 echo
// bytes, then 8 data bytes); 'W' hi lo 0x08 + 8 bytes -> 0x06; 'E' ends the
// session. It keeps a 448-byte memory, can pace its answers at the wire rate
// (2400 baud, 8N2: 11 bits a byte) and can be told to misbehave.
//
// The slave side is published as COMn through VXN_COMn for the lifetime of
// the object.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class SimulatedRadio {
 public:
  enum class Fault {
    None,
    Silence,              // never answers anything
    WrongHandshakeByte,   // answers the handshake with 0x15 instead of 0x06
    WrongIdentity,        // the identity carries another model code
    SilenceAfterBlock,    // stops answering after FaultBlock read blocks
    HangUpAfterBlock,     // closes the master after FaultBlock read blocks
  };

  static constexpr int MemorySize = 448;

  // Publishes the slave as COM<comNumber>. Model code: four ASCII characters.
  explicit SimulatedRadio(int comNumber, std::string modelCode = "N41A");
  ~SimulatedRadio();
  SimulatedRadio(const SimulatedRadio&) = delete;
  SimulatedRadio& operator=(const SimulatedRadio&) = delete;

  void SetFault(Fault fault, int block = 0) {
    fault_ = fault;
    faultBlock_ = block;
  }
  // Paces every byte sent at 11 bits at the given baud rate (0: no pacing).
  void SetPacing(int baud) { pacingBaud_ = baud; }

  // Starts answering; the memory holds the pattern byte(i) = i * 7 + 3.
  void Start();
  // Stops answering and closes the master (a hang-up seen from the slave).
  void HangUp();

  const std::string& SlavePath() const { return slavePath_; }
  // Bytes sent that no reader of the slave has taken from the line yet (a
  // hang-up discards them); -1 after the hang-up.
  int PendingOnSlave() const;
  int Master() const { return master_; }
  std::vector<uint8_t> Memory() const;
  // The bytes the radio's memory holds at radio addresses 0..count-1.
  static std::vector<uint8_t> Pattern(int count);
  // Everything received from the PC so far.
  std::vector<uint8_t> Received() const;
  int BlocksRead() const { return blocksRead_; }
  int BlocksWritten() const { return blocksWritten_; }
  bool SessionEnded() const { return ended_; }

 private:
  void Run();
  void Send(const std::vector<uint8_t>& bytes);
  void Handle(uint8_t byte);

  int comNumber_;
  std::string envName_;
  std::string modelCode_;
  std::string slavePath_;
  int master_ = -1;
  int slaveKeeper_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<Fault> fault_{Fault::None};
  std::atomic<int> faultBlock_{0};
  std::atomic<int> pacingBaud_{0};
  mutable std::mutex lock_;
  std::vector<uint8_t> memory_;
  std::vector<uint8_t> received_;
  std::vector<uint8_t> pending_;  // the command being collected
  std::atomic<int> blocksRead_{0};
  std::atomic<int> blocksWritten_{0};
  std::atomic<bool> ended_{false};
  bool silent_ = false;
  int phase_ = 0;  // 0 handshake, 1 identity, 2 start, 3 blocks
};
