#pragma once
// The one way the program opens a file of the shared folder: reports, work
// files, the lock, the record and the INI alike.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace pliego {

enum class SharedAccess { Read, Write, ReadWrite, Append /* read, and write at the end */ };
enum class SharedCreation { Existing, OrCreate, MustBeNew };

// Why a file is refused for what stands at its name.
enum class FileError {
  NotPlain = 1,  // a link, a folder, a device, a pipe, or a file of several names
  Exists,        // a plain file, where a new one was to be made
};

const std::error_category& fileErrorCategory();

inline std::error_code make_error_code(FileError error) { return {static_cast<int>(error), fileErrorCategory()}; }

}  // namespace pliego

template <>
struct std::is_error_code_enum<pliego::FileError> : std::true_type {};

namespace pliego {

// What stands at the name must be a plain file with no other name: a link
// (even to a plain file), a folder, a named pipe, a device, or a file that
// has other names too is refused by name and left as it was. Nothing ever
// blocks the opening: a named pipe is refused, not waited on.
struct SharedFile {
#ifdef _WIN32
  void* handle = nullptr;
  bool ok() const { return handle != nullptr; }
#else
  int fd = -1;
  bool ok() const { return fd >= 0; }
#endif
  std::error_code error;  // why it is not open: a FileError, or the system's code
  bool notPlain() const { return error == FileError::NotPlain || error == FileError::Exists; }

  SharedFile() = default;
  SharedFile(SharedFile&& other) noexcept { *this = std::move(other); }
  SharedFile& operator=(SharedFile&& other) noexcept;
  SharedFile(const SharedFile&) = delete;
  SharedFile& operator=(const SharedFile&) = delete;
  ~SharedFile() { close(); }
  // False when closing reported an error.
  bool close();
  // Hands the open file over to the C library (`mode` as for fdopen); the
  // object is then empty. Nothing when that fails (the file is closed).
  std::FILE* release(const char* mode);
};

// Opens `path` by the rule above. `everyoneWrites`: a file every
// workstation writes (work files, the lock, the record, the INI's
// temporaries); on Linux such a file of ours in a folder its group may
// write is given that group and read and write for it, whatever the umask.
SharedFile openSharedFile(const std::string& path, SharedAccess access, SharedCreation creation,
                          bool everyoneWrites);

// The size of the open file; nothing when the system cannot tell it.
std::optional<std::int64_t> sizeOf(const SharedFile& file);
// The file's byte at `offset`; nothing when it cannot be read.
bool byteAt(const SharedFile& file, std::int64_t offset, char& byte);
// Writes all of `bytes` at the file's end (a file opened to write, not to
// append, must be written from its start).
std::error_code writeAtEnd(const SharedFile& file, std::string_view bytes);
// Cuts the file back to `size` bytes.
void cutBackTo(const SharedFile& file, std::int64_t size);

#ifndef _WIN32
// What `everyoneWrites` does, for a file of ours open as `fd` at `path`.
void shareWithFolderGroup(int fd, const std::string& path);
#endif

}  // namespace pliego
