#include <fcntl.h>
#include <linux/sockios.h>
#include <netdb.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/printer_error.hpp"
#include "platform/raw_output.hpp"

namespace pliego {

namespace {

constexpr int kLookMs = 100;  // how often a wait looks at the cancel flag

std::error_code lastError() { return {errno, std::generic_category()}; }

bool cancelled(const RawOutputLimits& limits) { return limits.cancel && limits.cancel->load(); }

// Waits for `events` on `fd`, looking at the cancel flag between short
// waits; gives up after `limits.noProgress`.
std::error_code waitFor(int fd, short events, const RawOutputLimits& limits) {
  const auto deadline = std::chrono::steady_clock::now() + limits.noProgress;
  for (;;) {
    if (cancelled(limits)) return PrinterError::Cancelled;
    pollfd watched{fd, events, 0};
    const int ready = ::poll(&watched, 1, kLookMs);
    if (ready > 0) return {};
    if (ready < 0 && errno != EINTR) return lastError();
    if (std::chrono::steady_clock::now() >= deadline) return PrinterError::NoProgress;
  }
}

class FdOutput : public RawOutput {
 public:
  FdOutput(int fd, bool socket, RawOutputLimits limits) : fd_(fd), socket_(socket), limits_(limits) {}
  ~FdOutput() override { ::close(fd_); }
  FdOutput(const FdOutput&) = delete;
  FdOutput& operator=(const FdOutput&) = delete;

  std::error_code write(std::string_view bytes) override {
    while (!bytes.empty()) {
      if (cancelled(limits_)) return PrinterError::Cancelled;
      const ssize_t put = socket_ ? ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                                  : ::write(fd_, bytes.data(), bytes.size());
      if (put > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(put));
        continue;
      }
      if (put < 0 && errno == EINTR) continue;
      if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return lastError();
      if (const auto error = waitFor(fd_, POLLOUT, limits_)) return error;
    }
    return {};
  }

  // A socket is done when the printer has acknowledged every byte.
  std::error_code finish() override {
    if (!socket_) return {};
    ::shutdown(fd_, SHUT_WR);
    auto deadline = std::chrono::steady_clock::now() + limits_.noProgress;
    int left = 0, before = -1;
    while (::ioctl(fd_, SIOCOUTQ, &left) == 0 && left > 0) {
      if (cancelled(limits_)) return PrinterError::Cancelled;
      if (left != before) deadline = std::chrono::steady_clock::now() + limits_.noProgress;
      if (std::chrono::steady_clock::now() >= deadline) return PrinterError::NoProgress;
      before = left;
      ::poll(nullptr, 0, kLookMs);
    }
    return {};
  }

 private:
  int fd_;
  bool socket_;
  RawOutputLimits limits_;
};

std::error_code connectOne(int fd, const addrinfo& address, const RawOutputLimits& limits) {
  if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return {};
  if (errno != EINPROGRESS) return lastError();
  if (const auto error = waitFor(fd, POLLOUT, limits)) return error;
  int failure = 0;
  socklen_t size = sizeof failure;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &size) != 0) return lastError();
  return failure ? std::error_code(failure, std::generic_category()) : std::error_code();
}

}  // namespace

std::unique_ptr<RawOutput> connectToPrinter(const std::string& host, std::uint16_t port,
                                            const RawOutputLimits& limits, std::error_code& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
    error = PrinterError::HostNotFound;
    return nullptr;
  }
  error = PrinterError::HostNotFound;
  for (const addrinfo* address = found; address; address = address->ai_next) {
    const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address->ai_protocol);
    if (fd < 0) {
      error = lastError();
      continue;
    }
    error = connectOne(fd, *address, limits);
    if (!error) {
      ::freeaddrinfo(found);
      return std::make_unique<FdOutput>(fd, true, limits);
    }
    ::close(fd);
    if (error == PrinterError::Cancelled) break;
  }
  ::freeaddrinfo(found);
  return nullptr;
}

std::unique_ptr<RawOutput> openPrinterDevice(const std::string& path, const RawOutputLimits& limits,
                                             std::error_code& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = lastError();
    return nullptr;
  }
  struct stat status{};
  if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) {
    error = PrinterError::NotADevice;
    ::close(fd);
    return nullptr;
  }
  error.clear();
  return std::make_unique<FdOutput>(fd, false, limits);
}

}  // namespace pliego
