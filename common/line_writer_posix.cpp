// The writer's borrowed runs on Linux: handed to the system in one writev.
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "common/line_writer.hpp"

namespace pliego {

namespace {

// Writes every piece, in order, in as few calls as the system allows.
bool writeAllPieces(int fd, const std::vector<std::string_view>& pieces) {
  std::vector<iovec> parts(pieces.size());
  for (std::size_t i = 0; i < pieces.size(); ++i)
    parts[i] = {const_cast<char*>(pieces[i].data()), pieces[i].size()};
  iovec* part = parts.data();
  iovec* const end = part + parts.size();
  while (part < end) {
    const ssize_t written = ::writev(fd, part, static_cast<int>(std::min<std::ptrdiff_t>(end - part, IOV_MAX)));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    for (auto left = static_cast<std::size_t>(written); left > 0 && part < end;) {
      const std::size_t taken = std::min(left, part->iov_len);
      part->iov_base = static_cast<char*>(part->iov_base) + taken;
      part->iov_len -= taken;
      left -= taken;
      if (part->iov_len == 0) ++part;
    }
    while (part < end && part->iov_len == 0) ++part;
  }
  return true;
}

// Borrowed runs shorter than this are copied: a copy costs less than a piece.
constexpr std::size_t kSmallestBorrowed = 4096;
constexpr std::size_t kMostPieces = 256;

}  // namespace

void LineWriter::putPieces() {
  if (!ok_) return;
  if (!writeAllPieces(fileno(file_), pieces_)) return fail();
  if (mirror_ && !writeAllPieces(fileno(mirror_), pieces_)) fail(true);
}

void LineWriter::writeBorrowed(std::string_view bytes) {
  if (memory_ || discarding_ || bytes.size() < kSmallestBorrowed) return writeBytes(bytes);
  if (!file_) ok_ = false;
  if (!ok_) return;
  if (used_ > ownFrom_) pieces_.emplace_back(buffer_.data() + ownFrom_, used_ - ownFrom_);
  ownFrom_ = used_;
  pieces_.push_back(bytes);
  if (pieces_.size() >= kMostPieces) flush();
}

}  // namespace pliego
