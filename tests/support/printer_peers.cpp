#ifndef _WIN32
#include "support/printer_peers.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace pliego::testing {

namespace {

int listenOnLoopback(std::uint16_t& port, int receiveBuffer) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(fd, 8) != 0) {
    ::close(fd);
    return -1;
  }
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  return fd;
}

bool canConnect(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

LoopbackPrinter::LoopbackPrinter(Mode mode) : mode_(mode) {
  listener_ = listenOnLoopback(port_, mode == Mode::NeverReads ? 4096 : 0);
  thread_ = std::thread([this] { serve(); });
}

LoopbackPrinter::~LoopbackPrinter() {
  stop_ = true;
  thread_.join();
  for (const int fd : held_) ::close(fd);
  ::close(listener_);
}

void LoopbackPrinter::serve() {
  std::vector<pollfd> watched{{listener_, POLLIN, 0}};
  char block[65536];
  while (!stop_) {
    if (::poll(watched.data(), watched.size(), 50) <= 0) continue;
    if (watched[0].revents & POLLIN) {
      const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        ++accepted_;
        if (mode_ == Mode::NeverReads) {
          const std::lock_guard lock(mutex_);
          held_.push_back(fd);
        } else {
          watched.push_back({fd, POLLIN, 0});
        }
      }
    }
    for (std::size_t i = 1; i < watched.size(); ++i) {
      if (!(watched[i].revents & (POLLIN | POLLHUP))) continue;
      const ssize_t got = ::read(watched[i].fd, block, sizeof block);
      if (got > 0) {
        const std::lock_guard lock(mutex_);
        bytes_.append(block, static_cast<std::size_t>(got));
        continue;
      }
      ::close(watched[i].fd);
      watched.erase(watched.begin() + static_cast<std::ptrdiff_t>(i--));
      ++closed_;
    }
  }
  for (std::size_t i = 1; i < watched.size(); ++i) ::close(watched[i].fd);
}

std::string LoopbackPrinter::received(int connections, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (closed_ < connections && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const std::lock_guard lock(mutex_);
  return bytes_;
}

std::uint16_t LoopbackPrinter::refusingPort() {
  std::uint16_t port = 0;
  const int fd = listenOnLoopback(port, 0);
  ::close(fd);
  return port;
}

CupsServer::CupsServer() {
  if (::geteuid() != 0) return;
  char pattern[] = "/tmp/pliego-cups-XXXXXX";
  if (!::mkdtemp(pattern)) return;
  folder_ = pattern;
  ::chmod(folder_.c_str(), 0755);  // the lp user runs the backends
  for (const char* sub : {"/spool", "/cache", "/state", "/log", "/root"}) {
    std::filesystem::create_directories(folder_ + sub);
    ::chmod((folder_ + sub).c_str(), 0755);
  }
  const int probe = listenOnLoopback(port_, 0);
  ::close(probe);
  writeText(folder_ + "/cupsd.conf",
            "Listen 127.0.0.1:" + std::to_string(port_) +
                "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\nMaxJobs 0\n"
                "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                "<Location /admin>\n Order allow,deny\n Allow all\n</Location>\n"
                "<Policy default>\n <Limit All>\n  Order deny,allow\n  Allow all\n </Limit>\n</Policy>\n");
  writeText(folder_ + "/cups-files.conf",
            "User lp\nGroup lp\nSystemGroup root\nSandboxing Relaxed\nServerBin /usr/lib/cups\n"
            "DataDir /usr/share/cups\nServerRoot " + folder_ + "/root\nRequestRoot " + folder_ +
                "/spool\nTempDir " + folder_ + "/spool\nCacheDir " + folder_ + "/cache\nStateDir " + folder_ +
                "/state\nAccessLog " + folder_ + "/log/access_log\nErrorLog " + folder_ +
                "/log/error_log\nPageLog " + folder_ + "/log/page_log\n");
  const std::string conf = folder_ + "/cupsd.conf", files = folder_ + "/cups-files.conf";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int quiet = ::open("/dev/null", O_RDWR);
    ::dup2(quiet, 1);
    ::dup2(quiet, 2);
    ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  pid_ = pid;
  for (int tries = 0; tries < 200 && !canConnect(port_); ++tries) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

CupsServer::~CupsServer() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

std::string CupsServer::address() const { return "127.0.0.1:" + std::to_string(port_); }

std::string CupsServer::run(const std::string& command) const {
  const std::string line = "CUPS_SERVER=" + address() + " " + command + " 2>/dev/null";
  std::FILE* pipe = ::popen(line.c_str(), "r");
  if (!pipe) return {};
  std::string output;
  char block[4096];
  while (const std::size_t got = std::fread(block, 1, sizeof block, pipe)) output.append(block, got);
  return ::pclose(pipe) == 0 ? output : std::string();
}

bool CupsServer::addRawQueue(const std::string& name, const std::string& uri) const {
  const std::string line =
      "CUPS_SERVER=" + address() + " /usr/sbin/lpadmin -p " + name + " -E -v " + uri + " -m raw >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

std::string CupsServer::pendingJobs(const std::string& queue) const { return run("lpstat -o " + queue); }

}  // namespace pliego::testing
#endif
