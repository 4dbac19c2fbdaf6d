#pragma once
// Line-by-line reading of 8-bit text files, or of bytes in memory.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_search.hpp"

namespace pliego {

// Reads text line by line with block reads. A line ends at CR LF, at a lone
// CR or at a lone LF; a last line without an end still counts; a Ctrl+Z byte
// (0x1A) ends the text. Lines are handed out as views into the block, valid
// until the next call; bytes are never changed. A line longer than
// kLongestHeld is handed out in pieces, so that the memory the reader takes
// stays the same for any text: its length and its marker are known from its
// first piece on (the reader looks ahead to its end, then reads it again).
class LineReader {
 public:
  // Called after every block read with the bytes read so far; returning
  // false stops the reading as if the text ended there.
  using BlockHook = std::function<bool(std::uint64_t bytesRead)>;

  LineReader() = default;
  explicit LineReader(const std::string& path) { open(path); }
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool open(const std::string& path);
  // Reads a file opened elsewhere ("rb"), and closes it at the end; false
  // when there is none.
  bool adopt(std::FILE* file);
  // Reads `bytes` (which must outlive the reader) in blocks of `blockSize`.
  void openMemory(std::string_view bytes, std::size_t blockSize = kBlockSize);
  // Starts again from the first byte.
  bool rewind();
  void close();

  // True when no further line can be read (also after a failure or a stop).
  bool atEnd();
  // The next line without its end, or the next piece of a long one; false
  // at the end.
  bool next(std::string_view& line);
  // The next line whole, however long.
  bool next(std::string& line);
  // The line handed out goes on in the next call's piece.
  bool continues() const { return continues_; }
  // The length of the line handed out last (of the whole line, for a piece).
  std::int64_t lineLength() const { return lineLength_; }
  // Passes over the pieces of the line handed out that are still to come.
  void skipRestOfLine();

  // Whole lines handed out at once: their bytes as they stand, each line
  // with its CR LF; how many lines; the length of the longest without its end.
  struct Run {
    std::string_view bytes;
    std::int64_t lines = 0;
    std::int64_t widest = 0;
  };
  // The next lines, up to `maxLines`, as long as they end in CR LF within
  // the block and do not hold the watched marker. The run is empty when the
  // next line is not such a line: `next` then hands it out. Valid until the
  // next call.
  Run takeLines(std::int64_t maxLines);

  // Looks out for `marker` in every block; `marked()` then tells whether the
  // line last handed out holds it.
  void watchFor(std::string_view marker, bool ignoreCase);
  bool marked() const { return marked_; }
  const TextSearch& watched() const { return search_; }

  void setBlockHook(BlockHook hook) { hook_ = std::move(hook); }
  // Called before the block's bytes are moved or overwritten, so that views
  // into them that were lent on can be let go.
  void setBeforeReuse(std::function<void()> hook) { beforeReuse_ = std::move(hook); }
  // The size of the whole text in bytes (0 when unknown).
  std::uint64_t size() const { return size_; }
  // True when reading failed (as opposed to reaching the end).
  bool failed() const { return failed_; }
  // True when the block hook stopped the reading.
  bool stopped() const { return stopped_; }

  static constexpr std::size_t kBlockSize = 1 << 18;
  static constexpr std::size_t kLongestHeld = 4 * kBlockSize;

 private:
  void reset();
  bool startLongLine(std::size_t begin, std::string_view& line);
  bool nextPiece(std::string_view& line);
  struct LongRest {
    std::uint64_t length = 0;  // the line's bytes after those held
    bool marked = false;       // the whole line holds the marker
  };
  LongRest measureRest(std::size_t begin);
  void seekTo(std::uint64_t offset);
  bool refill(std::size_t keepFrom);
  std::size_t readBlock(char* into, std::size_t room);
  std::size_t lineEnd();
  void markLine(std::size_t begin, std::size_t end);

  std::FILE* file_ = nullptr;
  std::string_view memory_;
  std::size_t memoryAt_ = 0;
  std::size_t blockSize_ = kBlockSize;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;     // first byte not yet handed out
  std::size_t end_ = 0;     // end of the bytes in the buffer
  std::size_t scan_ = 0;    // where the search for the current line's end goes on
  std::size_t nextMark_ = 0;
  bool markKnown_ = false;
  bool marked_ = false;
  bool pendingLineFeed_ = false;  // a CR ended the last block: an LF may follow
  bool pendingLineEnd_ = false;   // a long line's last piece was handed out: its end follows
  bool continues_ = false;
  std::uint64_t longLeft_ = 0;    // bytes of the long line not yet handed out
  std::int64_t lineLength_ = 0;
  bool textEnded_ = false;        // Ctrl+Z seen, end of file, failure or stop
  bool failed_ = false;
  bool stopped_ = false;
  std::uint64_t bytesRead_ = 0;
  std::uint64_t size_ = 0;
  TextSearch search_;
  BlockHook hook_;
  std::function<void()> beforeReuse_;
};

}  // namespace pliego
