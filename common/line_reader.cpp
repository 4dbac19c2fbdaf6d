#include "common/line_reader.hpp"

#include <algorithm>
#include <cstring>

#include "common/line_end.hpp"
#include "common/system_io.hpp"

namespace pliego {

namespace {
constexpr char kEndOfText = 0x1A;

// The size of an open file, which is then read from its start again.
std::uint64_t fileSize(std::FILE* file) {
  if (!seekFile(file, 0, SEEK_END)) return 0;
  const auto size = tellFile(file);
  seekFile(file, 0, SEEK_SET);
  return size > 0 ? static_cast<std::uint64_t>(size) : 0;
}
}  // namespace

LineReader::~LineReader() { close(); }

void LineReader::reset() {
  memoryAt_ = pos_ = end_ = scan_ = 0;
  markKnown_ = marked_ = false;
  pendingLineFeed_ = pendingLineEnd_ = continues_ = textEnded_ = failed_ = stopped_ = false;
  longLeft_ = 0;
  lineLength_ = 0;
  bytesRead_ = 0;
}

bool LineReader::open(const std::string& path) { return adopt(openFile(path, "rb")); }

bool LineReader::adopt(std::FILE* file) {
  close();
  reset();
  blockSize_ = kBlockSize;
  file_ = file;
  if (!file_) {
    textEnded_ = true;
    return false;
  }
  std::setvbuf(file_, nullptr, _IONBF, 0);  // the blocks are read straight into our buffer
  size_ = fileSize(file_);
  buffer_.resize(blockSize_);
  return true;
}

void LineReader::openMemory(std::string_view bytes, std::size_t blockSize) {
  close();
  reset();
  memory_ = bytes;
  size_ = bytes.size();
  blockSize_ = std::max<std::size_t>(blockSize, 1);
  buffer_.resize(blockSize_);
}

bool LineReader::rewind() {
  if (file_ && std::fseek(file_, 0, SEEK_SET) != 0) {
    failed_ = textEnded_ = true;
    return false;
  }
  reset();
  return true;
}

void LineReader::close() {
  if (beforeReuse_) beforeReuse_();
  if (file_) std::fclose(file_);
  file_ = nullptr;
  memory_ = {};
  size_ = 0;
  textEnded_ = true;
  pos_ = end_ = 0;
}

void LineReader::watchFor(std::string_view marker, bool ignoreCase) {
  search_ = TextSearch(marker, ignoreCase);
  markKnown_ = false;
}

std::size_t LineReader::readBlock(char* into, std::size_t room) {
  if (file_) {
    const std::size_t count = std::fread(into, 1, room, file_);
    if (count == 0 && std::ferror(file_)) failed_ = true;
    return count;
  }
  const std::size_t count = std::min(room, memory_.size() - memoryAt_);
  if (count > 0) std::memcpy(into, memory_.data() + memoryAt_, count);
  memoryAt_ += count;
  return count;
}

// Moves the bytes from `keepFrom` on (a line not yet ended) to the front of
// the buffer and reads the next block after them. False when nothing more
// could be read; the kept bytes stay in place all the same.
bool LineReader::refill(std::size_t keepFrom) {
  if (beforeReuse_) beforeReuse_();
  const std::size_t keep = end_ - keepFrom;
  if (keep > 0 && keepFrom > 0) std::memmove(buffer_.data(), buffer_.data() + keepFrom, keep);
  pos_ = 0;
  scan_ = end_ = keep;
  markKnown_ = false;
  if (textEnded_) return false;
  if (buffer_.size() - keep < blockSize_) buffer_.resize(std::max(buffer_.size() * 2, keep + blockSize_));
  char* block = buffer_.data() + keep;
  std::size_t count = readBlock(block, blockSize_);
  bytesRead_ += count;
  if (count == 0) {
    textEnded_ = true;
    return false;
  }
  if (const void* stop = std::memchr(block, kEndOfText, count)) {
    count = static_cast<std::size_t>(static_cast<const char*>(stop) - block);
    textEnded_ = true;
  }
  if (hook_ && !hook_(bytesRead_)) {
    stopped_ = textEnded_ = true;
    return false;
  }
  end_ = keep + count;
  return count > 0;
}

bool LineReader::atEnd() {
  if (pos_ == end_ && !refill(pos_)) return true;
  if (pendingLineEnd_) {
    pendingLineEnd_ = false;
    const char c = buffer_[pos_];
    if (c == '\r' || c == '\n') {
      pendingLineFeed_ = c == '\r';
      if (++pos_ == end_ && !refill(pos_)) return true;
    }
  }
  if (pendingLineFeed_) {
    pendingLineFeed_ = false;
    if (buffer_[pos_] == '\n' && ++pos_ == end_ && !refill(pos_)) return true;
  }
  return false;
}

// The first CR or LF from `scan_` on, or `end_`.
std::size_t LineReader::lineEnd() { return scan_ + findLineEnd(buffer_.data() + scan_, end_ - scan_); }

void LineReader::markLine(std::size_t begin, std::size_t end) {
  if (search_.empty()) return;
  if (!markKnown_ || nextMark_ < begin) {
    nextMark_ = begin + search_.find(buffer_.data() + begin, end_ - begin);
    markKnown_ = true;
  }
  marked_ = nextMark_ < end;
}

bool LineReader::next(std::string_view& line) {
  if (longLeft_ > 0) return nextPiece(line);
  marked_ = continues_ = false;
  if (atEnd()) return false;
  scan_ = pos_;
  for (;;) {
    const std::size_t begin = pos_;
    const std::size_t hit = lineEnd();
    if (hit < end_) {
      line = std::string_view(buffer_.data() + begin, hit - begin);
      lineLength_ = static_cast<std::int64_t>(line.size());
      markLine(begin, hit);
      pos_ = hit + 1;
      if (buffer_[hit] == '\r') {
        if (pos_ < end_) {
          if (buffer_[pos_] == '\n') ++pos_;
        } else {
          pendingLineFeed_ = true;
        }
      }
      return true;
    }
    if (end_ - begin >= kLongestHeld && !textEnded_) return startLongLine(begin, line);
    if (!refill(begin)) {  // a last line without an end
      line = std::string_view(buffer_.data(), end_);
      lineLength_ = static_cast<std::int64_t>(line.size());
      markLine(0, end_);
      pos_ = end_;
      return true;
    }
  }
}

// The bytes held are the line's first piece.
bool LineReader::startLongLine(std::size_t begin, std::string_view& line) {
  const LongRest rest = measureRest(begin);
  line = std::string_view(buffer_.data() + begin, end_ - begin);
  pos_ = end_;
  lineLength_ = static_cast<std::int64_t>(line.size() + rest.length);
  marked_ = rest.marked;
  longLeft_ = rest.length;
  continues_ = longLeft_ > 0;
  pendingLineEnd_ = !continues_;
  return true;
}

bool LineReader::nextPiece(std::string_view& line) {
  continues_ = false;
  if (pos_ == end_ && !refill(pos_)) {  // the text ended sooner than it did when it was measured
    longLeft_ = 0;
    line = {};
    return true;
  }
  const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(end_ - pos_, longLeft_));
  line = std::string_view(buffer_.data() + pos_, take);
  pos_ += take;
  longLeft_ -= take;
  continues_ = longLeft_ > 0;
  pendingLineEnd_ = !continues_;
  return true;
}

// Reads on, in blocks of its own, to the line's end, looking for the marker
// across the blocks too, then goes back to where the reading was.
LineReader::LongRest LineReader::measureRest(std::size_t begin) {
  LongRest rest;
  const std::size_t overlap = search_.empty() ? 0 : search_.size() - 1;
  rest.marked = !search_.empty() && search_.find(buffer_.data() + begin, end_ - begin) < end_ - begin;
  std::vector<char> block(overlap + blockSize_);
  std::size_t carry = std::min(overlap, end_ - begin);
  std::memcpy(block.data(), buffer_.data() + end_ - carry, carry);
  const std::uint64_t resume = bytesRead_;
  for (bool ended = false; !ended;) {
    char* const fresh = block.data() + carry;
    std::size_t count = readBlock(fresh, blockSize_);
    if (count == 0) break;
    if (const void* stop = std::memchr(fresh, kEndOfText, count)) {
      count = static_cast<std::size_t>(static_cast<const char*>(stop) - fresh);
      ended = true;
    }
    if (const std::size_t hit = findLineEnd(fresh, count); hit < count) {
      count = hit;
      ended = true;
    }
    rest.length += count;
    const std::size_t seen = carry + count;
    if (!rest.marked && !search_.empty()) rest.marked = search_.find(block.data(), seen) < seen;
    carry = std::min(overlap, seen);
    std::memmove(block.data(), block.data() + seen - carry, carry);
    if (hook_ && !hook_(bytesRead_)) {
      stopped_ = textEnded_ = true;
      break;
    }
  }
  seekTo(resume);
  return rest;
}

void LineReader::seekTo(std::uint64_t offset) {
  if (!file_) {
    memoryAt_ = static_cast<std::size_t>(offset);
    return;
  }
  const bool sought = seekFile(file_, static_cast<std::int64_t>(offset), SEEK_SET);
  if (!sought) failed_ = textEnded_ = true;
}

void LineReader::skipRestOfLine() {
  std::string_view piece;
  while (continues_ && next(piece)) {
  }
}

LineReader::Run LineReader::takeLines(std::int64_t maxLines) {
  Run run;
  marked_ = false;
  if (maxLines <= 0 || atEnd()) return run;
  const char* const base = buffer_.data();
  if (!search_.empty() && (!markKnown_ || nextMark_ < pos_)) {
    nextMark_ = pos_ + search_.find(base + pos_, end_ - pos_);
    markKnown_ = true;
  }
  // A line is free of the marker while the marker's next place is not
  // before its end.
  const std::size_t lastEnd = search_.empty() ? end_ : std::min(end_, nextMark_);
  const std::size_t first = pos_;
  std::size_t at = pos_;
  while (run.lines < maxLines) {
    const std::size_t hit = at + findLineEnd(base + at, end_ - at);
    if (hit + 1 >= end_ || hit > lastEnd || base[hit] != '\r' || base[hit + 1] != '\n') break;
    run.widest = std::max(run.widest, static_cast<std::int64_t>(hit - at));
    ++run.lines;
    at = hit + 2;
  }
  run.bytes = std::string_view(base + first, at - first);
  pos_ = at;
  return run;
}

bool LineReader::next(std::string& line) {
  std::string_view view;
  const bool read = next(view);
  line.assign(view);
  while (continues_ && next(view)) line.append(view);
  return read;
}

}  // namespace pliego
