#pragma once
// Line-by-line reading and writing of 8-bit text files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace pliego {

// Reads a text file line by line with block reads. A line ends at CR LF, at
// a lone CR or at a lone LF; a last line without an end still counts; a
// Ctrl+Z byte (0x1A) ends the file. Bytes are copied as they are.
class LineReader {
 public:
  LineReader() = default;
  explicit LineReader(const std::filesystem::path& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool open(const std::filesystem::path& path);
  // True when no further line can be read (also after a read error).
  bool atEnd();
  // Reads the next line into `line` without its end; false at the end.
  bool next(std::string& line);
  // True when reading failed (as opposed to reaching the end).
  bool failed() const { return failed_; }
  void close();

 private:
  bool fill();
  bool skipPendingLineFeed();

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  bool afterCarriageReturn_ = false;
};

// Writes lines, each followed by CR LF, through a large buffer. The first
// failed write or close makes `ok()` false for good.
class LineWriter {
 public:
  LineWriter() = default;
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Creates the file, or empties it when it exists.
  bool create(const std::filesystem::path& path);
  void write(std::string_view line);
  // Writes `count` copies of `line`.
  void writeRepeated(std::string_view line, std::int64_t count);
  bool close();
  bool ok() const { return ok_; }

 private:
  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  bool ok_ = true;
};

}  // namespace pliego
