#include "common/line_io.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pliego {

namespace {
constexpr std::size_t kBlockSize = 1 << 16;
constexpr std::size_t kWriteBuffer = 1 << 20;
constexpr char kEndOfText = 0x1A;

std::FILE* openFile(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
  return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
  return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}
}  // namespace

LineReader::LineReader(const std::filesystem::path& path) { open(path); }
LineReader::~LineReader() { close(); }

bool LineReader::open(const std::filesystem::path& path) {
  close();
  file_ = openFile(path, false);
  pos_ = end_ = 0;
  eof_ = failed_ = afterCarriageReturn_ = false;
  if (!file_) return false;
  buffer_.resize(kBlockSize);
  return true;
}

void LineReader::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool LineReader::fill() {
  if (pos_ < end_) return true;
  if (!file_ || eof_) return false;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  pos_ = 0;
  if (end_ == 0) {
    eof_ = true;
    failed_ = std::ferror(file_) != 0;
    return false;
  }
  return true;
}

// The LF of a CR LF pair may start the next block.
bool LineReader::skipPendingLineFeed() {
  if (!afterCarriageReturn_) return true;
  afterCarriageReturn_ = false;
  if (!fill()) return false;
  if (buffer_[pos_] == '\n') ++pos_;
  return true;
}

bool LineReader::atEnd() {
  if (!skipPendingLineFeed() || !fill()) return true;
  if (buffer_[pos_] == kEndOfText) {
    eof_ = true;
    pos_ = end_;
    return true;
  }
  return false;
}

bool LineReader::next(std::string& line) {
  line.clear();
  if (atEnd()) return false;
  while (fill()) {
    const char* begin = buffer_.data() + pos_;
    const char* stop = buffer_.data() + end_;
    const char* hit = std::find_if(begin, stop, [](char c) { return c == '\r' || c == '\n' || c == kEndOfText; });
    line.append(begin, hit);
    pos_ += static_cast<std::size_t>(hit - begin);
    if (hit == stop) continue;
    if (*hit == kEndOfText) {
      eof_ = true;
      pos_ = end_;
      return true;
    }
    ++pos_;
    afterCarriageReturn_ = *hit == '\r';
    return true;
  }
  return true;  // a last line without an end
}

LineWriter::~LineWriter() { close(); }

bool LineWriter::create(const std::filesystem::path& path) {
  close();
  ok_ = true;
  file_ = openFile(path, true);
  if (!file_) {
    ok_ = false;
    return false;
  }
  buffer_.resize(kWriteBuffer);
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  return true;
}

void LineWriter::write(std::string_view line) {
  if (!file_ || !ok_) {
    ok_ = false;
    return;
  }
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fwrite("\r\n", 1, 2, file_) != 2)
    ok_ = false;
}

void LineWriter::writeRepeated(std::string_view line, std::int64_t count) {
  for (std::int64_t i = 0; i < count && ok_; ++i) write(line);
}

bool LineWriter::close() {
  if (file_) {
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
  }
  return ok_;
}

}  // namespace pliego
