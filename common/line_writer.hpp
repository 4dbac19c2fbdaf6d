#pragma once
// Writing lines of 8-bit text to files, or to bytes in memory.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace pliego {

// Writes lines, each followed by CR LF, through one large buffer written in
// large blocks, to a file or to a string. The first failed write or close
// makes `ok()` false for good.
class LineWriter {
 public:
  LineWriter() = default;
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Creates the file, or empties it when it exists.
  bool create(const std::string& path);
  // Writes to a file opened elsewhere, and closes it at the end.
  void adopt(std::FILE* file);
  // Appends everything written to `target`.
  void createInMemory(std::string& target);
  // Takes every line and keeps none: for a layout whose pages go elsewhere.
  void createDiscarding();
  // Writes everything to `file` as well, from here on, and closes it at the
  // end. Its failure also makes `ok()` false; `mirrorFailed()` tells it apart.
  void mirrorTo(std::FILE* file);
  bool mirrorFailed() const { return mirrorFailed_; }
  void write(std::string_view line);
  // Writes bytes as they are (lines that already carry their ends).
  void writeBytes(std::string_view bytes);
  // The same for bytes that stay where they are until `releaseBorrowed()`:
  // a file gets them from there, without a copy.
  void writeBorrowed(std::string_view bytes);
  // Writes out what was borrowed, after which it may change.
  void releaseBorrowed() {
    if (!pieces_.empty()) flush();
  }
  // Writes `count` copies of `line`.
  void writeRepeated(std::string_view line, std::int64_t count);
  bool close();
  bool ok() const { return ok_; }
  // The errno of the first failed write or close (0 when none was seen).
  int error() const { return error_; }

 private:
  void flush();
  void fail(bool inMirror = false);
  void put(const char* data, std::size_t size);
  void putPieces();

  std::FILE* file_ = nullptr;
  std::FILE* mirror_ = nullptr;
  std::string* memory_ = nullptr;
  bool discarding_ = false;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  // What waits to be written, in order, while bytes are borrowed: borrowed
  // bytes and stretches of the buffer; the buffer from `ownFrom_` on follows.
  std::vector<std::string_view> pieces_;
  std::size_t ownFrom_ = 0;
  bool ok_ = true;
  bool mirrorFailed_ = false;
  int error_ = 0;
};

}  // namespace pliego
