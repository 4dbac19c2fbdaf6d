#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "platform/last_error_win.hpp"
#include "platform/printer_error.hpp"
#include "platform/raw_output.hpp"

namespace pliego {

namespace {

constexpr long kLookMs = 100;  // how often a wait looks at the cancel flag

std::error_code socketError() { return {WSAGetLastError(), std::system_category()}; }

bool cancelled(const RawOutputLimits& limits) { return limits.cancel && limits.cancel->load(); }

bool winsockReady() {
  static const bool ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return ready;
}

// Waits until `s` can be written, looking at the cancel flag between short
// waits; gives up after `limits.noProgress`.
std::error_code waitWritable(SOCKET s, const RawOutputLimits& limits) {
  const auto deadline = std::chrono::steady_clock::now() + limits.noProgress;
  for (;;) {
    if (cancelled(limits)) return PrinterError::Cancelled;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval look{0, kLookMs * 1000};
    const int ready = select(0, nullptr, &writable, &failed, &look);
    if (ready == SOCKET_ERROR) return socketError();
    if (ready > 0 && FD_ISSET(s, &failed)) {
      int failure = 0;
      int size = sizeof failure;
      getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&failure), &size);
      return {failure ? failure : WSAECONNREFUSED, std::system_category()};
    }
    if (ready > 0) return {};
    if (std::chrono::steady_clock::now() >= deadline) return PrinterError::NoProgress;
  }
}

class SocketOutput : public RawOutput {
 public:
  SocketOutput(SOCKET s, RawOutputLimits limits) : socket_(s), limits_(limits) {}
  ~SocketOutput() override { closesocket(socket_); }
  SocketOutput(const SocketOutput&) = delete;
  SocketOutput& operator=(const SocketOutput&) = delete;

  std::error_code write(std::string_view bytes) override {
    while (!bytes.empty()) {
      if (cancelled(limits_)) return PrinterError::Cancelled;
      const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
      const int put = send(socket_, bytes.data(), size, 0);
      if (put > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(put));
        continue;
      }
      if (WSAGetLastError() != WSAEWOULDBLOCK) return socketError();
      if (const auto error = waitWritable(socket_, limits_)) return error;
    }
    return {};
  }

  std::error_code finish() override {
    shutdown(socket_, SD_SEND);
    return {};
  }

 private:
  SOCKET socket_;
  RawOutputLimits limits_;
};

class DeviceOutput : public RawOutput {
 public:
  explicit DeviceOutput(HANDLE handle) : handle_(handle) {}
  ~DeviceOutput() override { CloseHandle(handle_); }
  DeviceOutput(const DeviceOutput&) = delete;
  DeviceOutput& operator=(const DeviceOutput&) = delete;

  std::error_code write(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD put = 0;
      const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
      if (!WriteFile(handle_, bytes.data(), size, &put, nullptr)) return lastWindowsError();
      if (put == 0) return PrinterError::NoProgress;
      bytes.remove_prefix(put);
    }
    return {};
  }
  std::error_code finish() override { return {}; }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<RawOutput> connectToPrinter(const std::string& host, std::uint16_t port,
                                            const RawOutputLimits& limits, std::error_code& error) {
  if (!winsockReady()) {
    error = socketError();
    return nullptr;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
    error = PrinterError::HostNotFound;
    return nullptr;
  }
  error = PrinterError::HostNotFound;
  for (const addrinfo* address = found; address; address = address->ai_next) {
    SOCKET s = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (s == INVALID_SOCKET) {
      error = socketError();
      continue;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, address->ai_addr, static_cast<int>(address->ai_addrlen)) == 0 ||
        WSAGetLastError() == WSAEWOULDBLOCK) {
      error = waitWritable(s, limits);
    } else {
      error = socketError();
    }
    if (!error) {
      freeaddrinfo(found);
      return std::make_unique<SocketOutput>(s, limits);
    }
    closesocket(s);
    if (error == PrinterError::Cancelled) break;
  }
  freeaddrinfo(found);
  return nullptr;
}

// A device (LPT1, USB001) or a printer shared by another computer
// (\\PC\EPSON) opened as a file; writes wait as the system makes them wait.
std::unique_ptr<RawOutput> openPrinterDevice(const std::string& path, const RawOutputLimits&,
                                             std::error_code& error) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = lastWindowsError();
    return nullptr;
  }
  // A file on a drive is not a printer; a share (\\PC\EPSON) may read as one.
  const bool onDrive = path.size() > 2 && path[1] == ':';
  if (onDrive && GetFileType(handle) == FILE_TYPE_DISK) {
    CloseHandle(handle);
    error = PrinterError::NotADevice;
    return nullptr;
  }
  error.clear();
  return std::make_unique<DeviceOutput>(handle);
}

}  // namespace pliego
