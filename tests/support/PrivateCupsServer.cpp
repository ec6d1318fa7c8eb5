#include "tests/support/PrivateCupsServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The test printer. Its filter line hands PDF documents to the device as they
// came (gziptoany copies what is not compressed).
constexpr const char* kPpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "VXNTEST.PPD"
*Manufacturer: "VXN"
*Product: "(Test Printer)"
*ModelName: "VXN Test Printer"
*ShortNickName: "VXN Test Printer"
*NickName: "VXN Test Printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 gziptoany"
*cupsFilter: "application/vnd.cups-raw 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A5/A5: "<</PageSize[420 595]>>setpagedevice"
*PageSize Legal/US Legal: "<</PageSize[612 1008]>>setpagedevice"
*PageSize B5/JIS B5: "<</PageSize[516 729]>>setpagedevice"
*PageSize Card/Card 100x150mm: "<</PageSize[283 425]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion A5/A5: "<</PageSize[420 595]>>setpagedevice"
*PageRegion Legal/US Legal: "<</PageSize[612 1008]>>setpagedevice"
*PageRegion B5/JIS B5: "<</PageSize[516 729]>>setpagedevice"
*PageRegion Card/Card 100x150mm: "<</PageSize[283 425]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "14.17 28.35 581 813.65"
*ImageableArea Letter/US Letter: "18 18 594 774"
*ImageableArea A5/A5: "14.17 14.17 406 581"
*ImageableArea Legal/US Legal: "18 18 594 990"
*ImageableArea B5/JIS B5: "14.17 14.17 502 715"
*ImageableArea Card/Card 100x150mm: "0 0 283 425"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension A5/A5: "420 595"
*PaperDimension Legal/US Legal: "612 1008"
*PaperDimension B5/JIS B5: "516 729"
*PaperDimension Card/Card 100x150mm: "283 425"
*OpenUI *InputSlot/Media Source: PickOne
*OrderDependency: 20 AnySetup *InputSlot
*DefaultInputSlot: Auto
*InputSlot Auto/Automatic: ""
*InputSlot Upper/Upper Tray: ""
*InputSlot Lower/Lower Tray: ""
*InputSlot Manual/Manual Feed: ""
*CloseUI: *InputSlot
*OpenUI *Duplex/2-Sided: PickOne
*OrderDependency: 30 AnySetup *Duplex
*DefaultDuplex: None
*Duplex None/Off: ""
*Duplex DuplexNoTumble/Long Edge: ""
*Duplex DuplexTumble/Short Edge: ""
*CloseUI: *Duplex
*DefaultResolution: 600dpi
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
)ppd";

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string FindProgram(const std::string& name) {
  std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  path += ":/usr/sbin:/sbin:/usr/bin:/bin";
  std::stringstream dirs(path);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    std::string candidate = dir + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// Starts a program with its output going to logPath.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& logPath) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int FreePort() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

bool Answers(int port) {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return false;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

PrivateCupsServer::~PrivateCupsServer() { Stop(); }

bool PrivateCupsServer::Fail(std::string problem) {
  problem_ = std::move(problem);
  return false;
}

bool PrivateCupsServer::Start() {
  std::string cupsd = FindProgram("cupsd");
  if (cupsd.empty())
    return Fail("cupsd is not installed: the printing tests need the cups package (bash scripts/setup.sh)");
  if (FindProgram("lpadmin").empty())
    return Fail("lpadmin is not installed: the printing tests need the cups-client package (bash scripts/setup.sh)");
  std::string pattern = (fs::temp_directory_path() / "vxn-cups-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return Fail("Cannot make a folder for the private CUPS server");
  folder_ = pattern;
  // The scheduler's helpers run as another user and must reach the folder.
  ::chmod(folder_.c_str(), 0755);
  for (const char* sub : {"root", "cache", "state", "spool", "tmp", "log", "out"}) fs::create_directories(folder_ + "/" + sub);
  ::chmod((folder_ + "/out").c_str(), 0777);
  int port = FreePort();
  if (port == 0) return Fail("No free local port for the private CUPS server");
  server_ = "localhost:" + std::to_string(port);

  std::string files = "ServerRoot " + folder_ + "/root\nCacheDir " + folder_ + "/cache\nStateDir " + folder_ +
                      "/state\nRequestRoot " + folder_ + "/spool\nTempDir " + folder_ + "/tmp\nErrorLog " +
                      folder_ + "/log/error_log\nAccessLog " + folder_ + "/log/access_log\nPageLog " + folder_ +
                      "/log/page_log\nPrintcap " + folder_ + "/printcap\nFileDevice Yes\nSandboxing relaxed\n";
  // As root the scheduler refuses to run its helpers as root.
  if (::geteuid() == 0) files += "User lp\nGroup lp\nSystemGroup root\n";
  std::string conf = "LogLevel info\nListen 127.0.0.1:" + std::to_string(port) +
                     "\nBrowsing No\nDefaultAuthType None\nWebInterface No\nMaxJobs 0\n"
                     "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                     "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
  if (!WriteText(folder_ + "/root/cups-files.conf", files) || !WriteText(folder_ + "/root/cupsd.conf", conf) ||
      !WriteText(folder_ + "/test-printer.ppd", kPpd))
    return Fail("Cannot write the private CUPS server's configuration in " + folder_);

  pid_ = Spawn({cupsd, "-f", "-c", folder_ + "/root/cupsd.conf", "-s", folder_ + "/root/cups-files.conf"},
               folder_ + "/log/cupsd.out");
  if (pid_ < 0) return Fail("Cannot start " + cupsd);
  for (int waited = 0; waited < 15000; waited += 50) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return Fail("The private CUPS server stopped at once:\n" + ReadText(folder_ + "/log/cupsd.out") + LogTail());
    }
    if (Answers(port)) return true;
    Pause(50);
  }
  return Fail("The private CUPS server does not answer on " + server_ + ":\n" + LogTail());
}

void PrivateCupsServer::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    bool gone = false;
    for (int waited = 0; waited < 5000 && !gone; waited += 20) {
      gone = ::waitpid(pid_, &status, WNOHANG) == pid_;
      if (!gone) Pause(20);
    }
    if (!gone) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    folder_.clear();
  }
}

bool PrivateCupsServer::Admin(const std::string& tool, const std::vector<std::string>& args) {
  std::string program = FindProgram(tool);
  if (program.empty()) return Fail(tool + " is not installed (bash scripts/setup.sh)");
  std::vector<std::string> argv{program, "-h", server_};
  argv.insert(argv.end(), args.begin(), args.end());
  std::string log = folder_ + "/log/" + tool + ".out";
  pid_t pid = Spawn(argv, log);
  if (pid < 0) return Fail("Cannot start " + program);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  return Fail(tool + " failed: " + ReadText(log));
}

std::string PrivateCupsServer::AddQueue(const std::string& name) {
  std::string device = folder_ + "/out/" + name + ".out";
  if (!Admin("lpadmin", {"-p", name, "-E", "-v", "file://" + device, "-P", folder_ + "/test-printer.ppd"}))
    return "";
  return device;
}

std::string PrivateCupsServer::WaitForPdf(const std::string& path, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    std::string data = ReadText(path);
    size_t end = data.rfind("%%EOF");
    if (end != std::string::npos && data.find_first_not_of("\r\n", end + 5) == std::string::npos) return data;
    Pause(50);
  }
  return "";
}

std::string PrivateCupsServer::WaitForBytes(const std::string& path, size_t bytes, int timeoutMs) const {
  for (int waited = 0; waited <= timeoutMs; waited += 50) {
    std::string data = ReadText(path);
    if (data.size() >= bytes) return data;
    Pause(50);
  }
  return "";
}

std::string PrivateCupsServer::LogTail() const {
  std::string log = ReadText(folder_ + "/log/error_log");
  if (log.size() > 4000) log = log.substr(log.size() - 4000);
  return log;
}
