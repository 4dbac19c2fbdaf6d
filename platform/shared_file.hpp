#pragma once
// The one way the program opens a file of the shared folder: reports, work
// files, the lock, the record and the INI alike.
#include <cstdio>
#include <string>

namespace pliego {

enum class SharedAccess { Read, Write, ReadWrite, Append /* read, and write at the end */ };
enum class SharedCreation { Existing, OrCreate, MustBeNew };

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
  int error = 0;          // the errno (or Windows code) of a failure
  bool notPlain = false;  // refused for what stands at the name

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

#ifndef _WIN32
// What `everyoneWrites` does, for a file of ours open as `fd` at `path`.
void shareWithFolderGroup(int fd, const std::string& path);
#endif

}  // namespace pliego
