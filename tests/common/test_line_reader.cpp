#include <gtest/gtest.h>

#include <algorithm>

#include "common/line_reader.hpp"
#include "common/line_writer.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

std::vector<std::string> readAll(const TempFolder& dir, const std::string& bytes) {
  dir.write("in.txt", bytes);
  LineReader in(dir.file("in.txt"));
  std::vector<std::string> lines;
  std::string line;
  while (in.next(line)) lines.push_back(line);
  EXPECT_FALSE(in.failed());
  return lines;
}

TEST(LineReader, EveryLineEndAndTheEndOfText) {
  TempFolder dir;
  using L = std::vector<std::string>;
  const std::pair<std::string, L> cases[] = {
      {"", L{}},
      {"a\r\nb\r\n", L{"a", "b"}},
      {"a\nb", L{"a", "b"}},
      {"a\rb\r", L{"a", "b"}},
      {"a\r\n\r\nb", L{"a", "", "b"}},
      {"\n", L{""}},
      {"a\r\n\x1a", L{"a"}},
      {"a\x1a" "b\r\n", L{"a"}},
      {"\x1a" "a", L{}},
      {"\xC1\xD1\t\x1b" "E\r\n", L{"\xC1\xD1\t\x1b" "E"}},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(readAll(dir, bytes), expected);
}

TEST(LineReader, CrLfSplitAcrossReadBlocksIsOneLineEnd) {
  TempFolder dir;
  for (std::size_t length : {65535u, 65534u, 65536u, 200000u}) {
    const std::string longLine(length, 'x');
    EXPECT_EQ(readAll(dir, longLine + "\r\nsiguiente\r\n"), (std::vector<std::string>{longLine, "siguiente"}))
        << length;
  }
}

// The same text read from memory in blocks of every small size gives the
// same lines: line ends, CR LF pairs and Ctrl+Z may fall on any boundary.
TEST(LineReader, AnyBlockSizeGivesTheSameLines) {
  const std::string bytes = "uno\r\ndos\rtres\n\r\n\r\rcuatro \xD1\x1b" "E\r\n" + std::string(300, 'x') + "\r\nfin";
  TempFolder dir;
  const auto expected = readAll(dir, bytes);
  ASSERT_EQ(expected.size(), 9u);
  for (const std::string& text : {bytes, bytes + "\r\n", bytes + "\r", bytes + "\x1a" "resto\r\n"})
    for (std::size_t blockSize = 1; blockSize <= 12; ++blockSize) {
      LineReader in;
      in.openMemory(text, blockSize);
      std::vector<std::string> lines;
      std::string line;
      while (in.next(line)) lines.push_back(line);
      EXPECT_EQ(lines, expected) << "blocks of " << blockSize;
      EXPECT_TRUE(in.rewind());
      ASSERT_TRUE(in.next(line));
      EXPECT_EQ(line, "uno");
    }
}

TEST(LineReader, WatchedMarkerIsFoundOnItsLineAcrossBlocks) {
  const std::string bytes = "a SALDO FINAL: 1\r\nsaldo final\r\nx saldo Final: 2\nSALDO\r\nFINAL:\r\nSALDO FINAL:";
  const std::vector<bool> expected{true, false, true, false, false, true};
  for (std::size_t blockSize : {1u, 3u, 5u, 13u, 1000u}) {
    LineReader in;
    in.openMemory(bytes, blockSize);
    in.watchFor("SALDO FINAL:", true);
    std::vector<bool> marked;
    std::string_view line;
    while (in.next(line)) marked.push_back(in.marked());
    EXPECT_EQ(marked, expected) << "blocks of " << blockSize;
  }
  LineReader exact;
  exact.openMemory("Tasas de I.V.A.: 1\ntasas de i.v.a.: 2\n");
  exact.watchFor("Tasas de I.V.A.:", false);
  std::string_view line;
  ASSERT_TRUE(exact.next(line));
  EXPECT_TRUE(exact.marked());
  ASSERT_TRUE(exact.next(line));
  EXPECT_FALSE(exact.marked());
}

// Lines taken in runs, between lines taken one by one, come out exactly as
// the lines one by one do: a run holds only lines ending in CR LF and never
// the marked line, whatever the block size and the most lines asked for.
TEST(LineReader, RunsGiveTheSameLinesAsOneByOne) {
  const std::string bytes = "uno\r\ndos\r\ntres\n\r\ncuatro\rcinco SALDO FINAL: 1\r\nseis\r\n\r\n" +
                            std::string(70, 'x') + "\r\ndiez\n\nsiete\r\nsaldo final: 2\r\nocho\r\nnueve\r";
  struct ReadBack {
    std::string out;
    std::vector<bool> marks;
    std::int64_t runLines = 0;
  };
  // The text written back as CR LF lines: taken in runs of up to `most`
  // lines between single lines, or one by one when `most` is 0.
  const auto readBack = [&](std::size_t blockSize, std::int64_t most) {
    ReadBack result;
    LineWriter writer;
    writer.createInMemory(result.out);
    LineReader in;
    in.openMemory(bytes, blockSize);
    in.watchFor("SALDO FINAL:", true);
    for (bool more = true; more;) {
      const auto run = most > 0 ? in.takeLines(most) : LineReader::Run{};
      EXPECT_LE(run.lines, most);
      if (run.lines > 0) {
        EXPECT_FALSE(in.marked());
        std::int64_t widest = 0, lines = 0;
        for (std::size_t at = 0, end; at < run.bytes.size(); at = end + 2, ++lines) {
          end = run.bytes.find("\r\n", at);
          EXPECT_NE(end, std::string_view::npos);
          if (end == std::string_view::npos) break;
          widest = std::max(widest, static_cast<std::int64_t>(end - at));
        }
        EXPECT_EQ(lines, run.lines);
        EXPECT_EQ(widest, run.widest);
        writer.writeBytes(run.bytes);
        result.marks.insert(result.marks.end(), static_cast<std::size_t>(run.lines), false);
        result.runLines += run.lines;
        continue;
      }
      std::string_view line;
      if ((more = in.next(line))) writer.write(line), result.marks.push_back(in.marked());
    }
    writer.close();
    return result;
  };
  const ReadBack expected = readBack(1000, 0);
  for (std::size_t blockSize : {1u, 2u, 7u, 16u, 33u, 1000u})
    for (std::int64_t most : {1, 2, 3, 100}) {
      const ReadBack got = readBack(blockSize, most);
      EXPECT_EQ(got.out, expected.out) << "blocks of " << blockSize << ", runs of " << most;
      EXPECT_EQ(got.marks, expected.marks) << "blocks of " << blockSize << ", runs of " << most;
      if (blockSize == 1000) {
        EXPECT_GT(got.runLines, 4) << most;
      }
    }
}

// A line longer than the reader holds comes out in pieces, from memory and
// from a file alike: its length and its marker (also where the marker lies
// across two blocks) are known from its first piece, and the lines around
// it are as they are.
TEST(LineReader, ALongLineComesInPiecesWithItsLengthAndItsMarkerKnownFromTheFirst) {
  TempFolder dir;
  const std::size_t size = 3 * LineReader::kLongestHeld + 12345;
  const std::size_t straddling = 6 * LineReader::kBlockSize - 10;  // across a block's end, after "antes"
  struct Case {
    std::string end;  // what follows the long line
    std::size_t markerAt;
    std::vector<std::string> after;
  };
  const Case cases[] = {{"\r\ndespues\r\n", straddling, {"despues"}},
                        {"\rdespues", std::string::npos, {"despues"}},
                        {"\n\r\n", size - 6, {""}},
                        {"", 10, {}},
                        {"\x1A" "nunca\r\n", std::string::npos, {}}};
  for (const auto& c : cases) {
    for (const bool fromFile : {false, true}) {
      SCOPED_TRACE(std::to_string(c.markerAt) + (fromFile ? " file" : " memory"));
      std::string longLine(size, 'x');
      if (c.markerAt != std::string::npos) longLine.replace(c.markerAt, 6, "SALDO:");
      const std::string text = "antes\r\n" + longLine + c.end;
      LineReader in;
      if (fromFile) {
        dir.write("largo.txt", text);
        ASSERT_TRUE(in.open(dir.file("largo.txt")));
      } else {
        in.openMemory(text);
      }
      in.watchFor("saldo:", true);
      std::string_view piece;
      ASSERT_TRUE(in.next(piece));
      EXPECT_EQ(piece, "antes");
      EXPECT_FALSE(in.continues());
      ASSERT_TRUE(in.next(piece));
      EXPECT_EQ(in.lineLength(), static_cast<std::int64_t>(size));
      EXPECT_EQ(in.marked(), c.markerAt != std::string::npos);
      std::string whole(piece);
      int pieces = 1;
      while (in.continues() && in.next(piece)) {
        EXPECT_LE(piece.size(), LineReader::kLongestHeld + LineReader::kBlockSize);
        whole += piece;
        ++pieces;
      }
      EXPECT_GE(pieces, 3);
      EXPECT_TRUE(whole == longLine);
      std::vector<std::string> after;
      std::string line;
      while (in.next(line)) after.push_back(line);
      EXPECT_EQ(after, c.after);
      EXPECT_FALSE(in.failed());
    }
  }
}

TEST(LineReader, BlockHookSeesTheBytesReadAndMayStopTheReading) {
  const std::string bytes(1000, '\n');
  LineReader in;
  in.openMemory(bytes, 100);
  std::vector<std::uint64_t> seen;
  in.setBlockHook([&](std::uint64_t read) {
    seen.push_back(read);
    return read < 300;
  });
  int lines = 0;
  for (std::string_view line; in.next(line);) ++lines;
  EXPECT_EQ(seen, (std::vector<std::uint64_t>{100, 200, 300}));
  EXPECT_EQ(lines, 200);
  EXPECT_TRUE(in.stopped());
  EXPECT_TRUE(in.atEnd());
}

TEST(LineReader, MissingFileDoesNotOpen) {
  TempFolder dir;
  LineReader in;
  EXPECT_FALSE(in.open(dir.file("no.txt")));
  EXPECT_TRUE(in.atEnd());
}

}  // namespace
