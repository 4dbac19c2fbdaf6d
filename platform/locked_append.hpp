#pragma once
// Appending to a file that several workstations share: each append holds an
// exclusive lock on the file, so two appends never interleave.
#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <system_error>

namespace pliego {

// Appends `bytes` to `path`, creating the file when missing; a file that is
// new (empty) first gets `firstLine`, one whose last line has no end gets
// CR LF first. The lock is tried in short steps until `patience` has passed
// or `cancel` is set (then LockError::Busy, nothing written). A write that
// fails is cut off again. A file system that offers no locks is written
// without one, in a single write at the end of the file; any other fault of
// the lock writes nothing. The file is opened by the shared folder's rule
// (openSharedFile): anything but a plain file of one name fails. {} when
// the bytes are in the file.
std::error_code appendLocked(const std::string& path, std::string_view firstLine, std::string_view bytes,
                             std::chrono::milliseconds patience, const std::atomic<bool>* cancel = nullptr);

}  // namespace pliego
