#include "platform/locked_append.hpp"

#include <cstdint>
#include <string>

#include "platform/file_lock.hpp"
#include "platform/shared_file.hpp"

namespace pliego {

namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(2);

// What goes before the bytes: the first line in a new file, and a line end
// after a last line that lost its own (a hand edit, an append cut short), so
// that the new line is never glued to it.
std::string withLeadIn(std::int64_t size, char lastByte, std::string_view firstLine, std::string_view bytes) {
  std::string all;
  if (size == 0)
    all = firstLine;
  else if (lastByte == '\r')
    all = "\n";
  else if (lastByte != '\n')
    all = "\r\n";
  all += bytes;
  return all;
}

char lastByteOf(const SharedFile& file, std::int64_t size) {
  char last = '\n';
  if (size > 0 && !byteAt(file, size - 1, last)) last = '\n';
  return last;
}

}  // namespace

// The lock covers a byte far past any real end of the file, so that readers
// of the file are never kept out while an append runs (on Windows).
std::error_code appendLocked(const std::string& path, std::string_view firstLine, std::string_view bytes,
                             std::chrono::milliseconds patience, const std::atomic<bool>* cancel) {
  SharedFile file = openSharedFile(path, SharedAccess::Append, SharedCreation::OrCreate, true);
  if (!file.ok()) return file.error;
  const std::error_code lock =
      lockFile(file, LockSpan::PastTheEnd, {std::chrono::steady_clock::now() + patience, kRetryPause, cancel});
  if (lock && lock != LockError::NotOffered) return lock;  // refused: nothing is written
  const bool locked = !lock;
  const std::optional<std::int64_t> size = sizeOf(file);
  std::error_code written = size ? std::error_code() : std::make_error_code(std::errc::io_error);
  if (size) {
    written = writeAtEnd(file, withLeadIn(*size, lastByteOf(file, *size), firstLine, bytes));
    // Without the lock another workstation's line may follow: it is kept.
    if (written && locked) cutBackTo(file, *size);
  }
  if (locked) unlockFile(file, LockSpan::PastTheEnd);
  if (!file.close() && !written) written = std::make_error_code(std::errc::io_error);
  return written;
}

}  // namespace pliego
