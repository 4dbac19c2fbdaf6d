#include "common/line_writer.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/system_io.hpp"

namespace pliego {

namespace {
constexpr std::size_t kWriteBuffer = 1 << 20;
constexpr std::size_t kMemoryWriteBuffer = 1 << 16;
}  // namespace

LineWriter::~LineWriter() { close(); }

bool LineWriter::create(const std::string& path) {
  std::FILE* file = openFile(path, "wb");
  const int error = errno;
  adopt(file);
  if (!file) error_ = error;
  return file != nullptr;
}

void LineWriter::adopt(std::FILE* file) {
  close();
  ok_ = file != nullptr;
  mirrorFailed_ = false;
  error_ = 0;
  file_ = file;
  if (!file_) return;
  std::setvbuf(file_, nullptr, _IONBF, 0);  // our own buffer goes out in large blocks
  buffer_.resize(kWriteBuffer);
}

void LineWriter::fail(bool inMirror) {
  if (ok_) error_ = errno;
  if (ok_ && inMirror) mirrorFailed_ = true;
  ok_ = false;
}

void LineWriter::mirrorTo(std::FILE* file) {
  if (mirror_) std::fclose(mirror_);
  mirror_ = file;
  if (mirror_) std::setvbuf(mirror_, nullptr, _IONBF, 0);
}

void LineWriter::createInMemory(std::string& target) {
  close();
  ok_ = true;
  mirrorFailed_ = false;
  memory_ = &target;
  buffer_.resize(kMemoryWriteBuffer);
}

void LineWriter::createDiscarding() {
  close();
  ok_ = true;
  mirrorFailed_ = false;
  discarding_ = true;
  buffer_.resize(kMemoryWriteBuffer);
}

void LineWriter::put(const char* data, std::size_t size) {
  if (!ok_ || size == 0 || discarding_) return;
  if (memory_)
    memory_->append(data, size);
  else if (std::fwrite(data, 1, size, file_) != size)
    return fail();
  if (mirror_ && std::fwrite(data, 1, size, mirror_) != size) fail(true);
}

void LineWriter::flush() {
  if (pieces_.empty()) {
    put(buffer_.data(), used_);
  } else {
    if (used_ > ownFrom_) pieces_.emplace_back(buffer_.data() + ownFrom_, used_ - ownFrom_);
    putPieces();
  }
  pieces_.clear();
  used_ = ownFrom_ = 0;
}

void LineWriter::write(std::string_view line) {
  if (!file_ && !memory_ && !discarding_) ok_ = false;
  if (!ok_) return;
  const std::size_t size = line.size() + 2;
  if (size > buffer_.size() - used_) {
    flush();
    if (size > buffer_.size()) {
      put(line.data(), line.size());
      put("\r\n", 2);
      return;
    }
  }
  char* to = buffer_.data() + used_;
  std::memcpy(to, line.data(), line.size());
  to[line.size()] = '\r';
  to[line.size() + 1] = '\n';
  used_ += size;
}

void LineWriter::writeBytes(std::string_view bytes) {
  if (!file_ && !memory_ && !discarding_) ok_ = false;
  if (!ok_) return;
  if (bytes.size() > buffer_.size() - used_) {
    flush();
    if (bytes.size() > buffer_.size()) return put(bytes.data(), bytes.size());
  }
  std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

// Fills the buffer with one copy, then doubles what is there.
void LineWriter::writeRepeated(std::string_view line, std::int64_t count) {
  const std::size_t unit = line.size() + 2;
  while (count > 0 && ok_) {
    if (unit > buffer_.size() - used_) flush();
    if (unit > buffer_.size() || !ok_) {
      write(line);
      --count;
      continue;
    }
    const auto fits = static_cast<std::int64_t>((buffer_.size() - used_) / unit);
    const auto copies = static_cast<std::size_t>(std::min(count, fits));
    write(line);
    char* first = buffer_.data() + used_ - unit;
    for (std::size_t done = 1; done < copies;) {
      const std::size_t more = std::min(done, copies - done);
      std::memcpy(first + done * unit, first, more * unit);
      done += more;
    }
    used_ += (copies - 1) * unit;
    count -= static_cast<std::int64_t>(copies);
  }
}

bool LineWriter::close() {
  if (file_ || memory_ || discarding_) flush();
  if (file_ && std::fclose(file_) != 0) fail();
  if (mirror_ && std::fclose(mirror_) != 0) fail(true);
  file_ = mirror_ = nullptr;
  memory_ = nullptr;
  discarding_ = false;
  return ok_;
}

}  // namespace pliego
