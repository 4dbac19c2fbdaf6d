#include "platform/shared_file.hpp"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <utility>

#include "platform/files.hpp"
#include "platform/last_error_win.hpp"

namespace pliego {

SharedFile& SharedFile::operator=(SharedFile&& other) noexcept {
  if (this == &other) return *this;
  close();
  handle = std::exchange(other.handle, nullptr);
  error = other.error;
  return *this;
}

bool SharedFile::close() {
  const bool closed = !handle || CloseHandle(handle);
  handle = nullptr;
  return closed;
}

std::FILE* SharedFile::release(const char* mode) {
  if (!handle) return nullptr;
  const bool reading = mode[0] == 'r';
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), (reading ? _O_RDONLY : 0) | _O_BINARY);
  if (fd < 0) {
    close();
    return nullptr;
  }
  handle = nullptr;
  std::FILE* file = _fdopen(fd, mode);
  if (!file) _close(fd);
  return file;
}

namespace {

DWORD accessRights(SharedAccess access) {
  switch (access) {
    case SharedAccess::Read: return GENERIC_READ;
    case SharedAccess::Write: return GENERIC_WRITE;
    case SharedAccess::ReadWrite:
    case SharedAccess::Append: break;
  }
  return GENERIC_READ | GENERIC_WRITE;
}

DWORD disposition(SharedCreation creation) {
  switch (creation) {
    case SharedCreation::Existing: return OPEN_EXISTING;
    case SharedCreation::OrCreate: return OPEN_ALWAYS;
    case SharedCreation::MustBeNew: break;
  }
  return CREATE_NEW;
}

bool plainWithOneName(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
         !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
         info.nNumberOfLinks <= 1;
}

}  // namespace

// A link is opened as itself (never followed) and then refused.
SharedFile openSharedFile(const std::string& path, SharedAccess access, SharedCreation creation, bool) {
  SharedFile result;
  const std::wstring wide = nativePath(path).wstring();
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (creation == SharedCreation::MustBeNew ||
       (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)))) {
    const bool plain = !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
    result.error = plain ? FileError::Exists : FileError::NotPlain;
    return result;
  }
  HANDLE h = CreateFileW(wide.c_str(), accessRights(access), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, disposition(creation), FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    result.error = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                       ? std::error_code(FileError::Exists)
                       : std::error_code(static_cast<int>(error), std::system_category());
    return result;
  }
  if (!plainWithOneName(h)) {
    CloseHandle(h);
    result.error = FileError::NotPlain;
    return result;
  }
  result.handle = h;
  return result;
}

std::optional<std::int64_t> sizeOf(const SharedFile& file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size)) return std::nullopt;
  return size.QuadPart;
}

bool byteAt(const SharedFile& file, std::int64_t offset, char& byte) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  return ReadFile(file.handle, &byte, 1, &read, &at) && read == 1;
}

std::error_code writeAtEnd(const SharedFile& file, std::string_view bytes) {
  OVERLAPPED atEnd{};
  atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
  DWORD written = 0;
  if (!WriteFile(file.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &atEnd))
    return lastWindowsError();
  return written == bytes.size() ? std::error_code() : std::make_error_code(std::errc::io_error);
}

void cutBackTo(const SharedFile& file, std::int64_t size) {
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = size;
  SetFileInformationByHandle(file.handle, FileEndOfFileInfo, &end, sizeof end);
}

}  // namespace pliego
