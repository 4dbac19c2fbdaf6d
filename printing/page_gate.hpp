#pragma once
// Between the layout and the work file: counts the pages of the laid-out
// book as they begin, sends the lines of the pages asked for and passes over
// the others, and keeps count of what it sent.
#include <cstdint>
#include <string_view>

#include "common/line_reader.hpp"
#include "common/line_writer.hpp"
#include "printing/page_selection.hpp"

namespace pliego {

// The most lines one run may hold when nothing else bounds it.
inline constexpr std::int64_t kNoLimit = std::int64_t{1} << 40;

// Takes the pages sent, page by page, besides the work file (a PDF of them).
class PageSink {
 public:
  virtual ~PageSink() = default;
  // A page sent begins: the lines that follow are its own.
  virtual void beginPage(std::int64_t folio) = 0;
  // One line, without its end.
  virtual void line(std::string_view line) = 0;
  // Lines that each end in CR LF.
  void lines(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
      std::size_t end = bytes.find('\n', at);
      if (end == std::string_view::npos) end = bytes.size();
      std::size_t stop = end;
      if (stop > at && bytes[stop - 1] == '\r') --stop;
      line(bytes.substr(at, stop - at));
      at = end + 1;
    }
  }
};

class PageGate {
 public:
  PageGate(LineWriter& out, const PageSelection& selection, PageSink* pages = nullptr)
      : out_(out), selection_(selection), pages_(pages), sending_(selection.sends(selection.firstFolio)) {}

  // The top of the book's next page: the lines between pages and the header
  // block that open it belong to it. The first page begins by itself.
  void beginPage() {
    ++index_;
    const std::int64_t folio = selection_.folioOf(index_);
    sending_ = selection_.sends(folio);
    // Once pages were sent, the rest of the book is not needed; a selection
    // that sends nothing goes on to the end, so that the book's size is known.
    past_ = pagesSent_ > 0 && selection_.pastEnd(folio);
  }

  // A line handed out in pieces comes with the reader of its `rest`.
  void write(std::string_view line, LineReader* rest = nullptr) {
    if (!noteLines(1)) return;
    // A line too long to hold reaches the PDF by its first piece only.
    if (pages_) pages_->line(line);
    if (!rest || !rest->continues()) return out_.write(line);
    out_.writeBytes(line);
    std::string_view piece;
    while (rest->continues() && rest->next(piece)) {
      if (rest->continues())
        out_.writeBytes(piece);
      else
        out_.write(piece);
    }
  }
  // `count` lines that already carry their ends, lent by the line reader.
  void writeRun(std::string_view bytes, std::int64_t count) {
    if (count <= 0 || !noteLines(count)) return;
    out_.writeBorrowed(bytes);
    if (pages_) pages_->lines(bytes);
  }
  void writeRepeated(std::string_view line, std::int64_t count) {
    if (count <= 0 || !noteLines(count)) return;
    out_.writeRepeated(line, count);
    for (std::int64_t i = 0; pages_ && i < count; ++i) pages_->line(line);
  }

  // False after a failed write, and once every page asked for has been sent.
  bool ok() const { return out_.ok() && !past_; }

  // The book's pages laid out so far, and what of them was sent.
  std::int64_t bookPages() const { return anyLine_ ? index_ : 0; }
  std::int64_t pagesSent() const { return pagesSent_; }
  std::int64_t linesSent() const { return linesSent_; }
  std::int64_t firstFolioSent() const { return firstSent_; }
  std::int64_t lastFolioSent() const { return lastSent_; }

 private:
  // Counts lines of the current page; true when they are to be sent.
  bool noteLines(std::int64_t count) {
    anyLine_ = true;
    if (!sending_) return false;
    if (lastSentIndex_ != index_) {
      lastSentIndex_ = index_;
      lastSent_ = selection_.folioOf(index_);
      if (pagesSent_++ == 0) firstSent_ = lastSent_;
      if (pages_) pages_->beginPage(lastSent_);
    }
    linesSent_ += count;
    return true;
  }

  LineWriter& out_;
  const PageSelection& selection_;
  PageSink* pages_;
  std::int64_t index_ = 1;  // the book's page now being laid out, 1 for its first
  bool sending_;
  bool past_ = false;
  bool anyLine_ = false;
  std::int64_t lastSentIndex_ = 0;
  std::int64_t pagesSent_ = 0, linesSent_ = 0, firstSent_ = 0, lastSent_ = 0;
};

}  // namespace pliego
