#include <gtest/gtest.h>

#include <cerrno>

#include "common/line_writer.hpp"
#include "common/system_io.hpp"
#include "common/text.hpp"
#include "support/platform_skips.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

TEST(LineWriter, EndsEveryLineWithCrLfAndReportsFailure) {
  PLIEGO_SKIP_ON_WINDOWS("it writes to /dev/full, which Windows has not");
  TempFolder dir;
  LineWriter out;
  ASSERT_TRUE(out.create(dir.file("out.txt")));
  out.write("uno");
  out.writeRepeated(kBlankLine, 2);
  out.write("");
  ASSERT_TRUE(out.close());
  EXPECT_EQ(dir.read("out.txt"), "uno\r\n \r\n \r\n\r\n");
  EXPECT_FALSE(out.create(dir.file("no/such/folder.txt")));
  EXPECT_FALSE(out.ok());

  LineWriter full;
  ASSERT_TRUE(full.create("/dev/full"));
  full.writeRepeated(std::string(1000, 'x'), 5000);
  EXPECT_FALSE(full.close());
}

// The preview's copy is written as the work file is, and a failure of the
// copy alone is told apart from one of the work file.
TEST(LineWriter, MirrorGetsEveryByteAndItsFailureIsToldApart) {
  TempFolder dir;
  LineWriter out;
  ASSERT_TRUE(out.create(dir.file("work.txt")));
  out.mirrorTo(openFile(dir.file("copy.txt"), "wb"));
  out.write("uno");
  out.writeBytes("dos\r\ntres\r\n");
  out.writeRepeated(kBlankLine, 3);
  ASSERT_TRUE(out.close());
  EXPECT_EQ(dir.read("work.txt"), "uno\r\ndos\r\ntres\r\n \r\n \r\n \r\n");
  EXPECT_EQ(dir.read("copy.txt"), dir.read("work.txt"));
  EXPECT_FALSE(out.mirrorFailed());

  LineWriter full;
  ASSERT_TRUE(full.create(dir.file("work.txt")));
  full.mirrorTo(openFile("/dev/full", "wb"));
  full.writeRepeated(std::string(1000, 'x'), 5000);
  EXPECT_FALSE(full.close());
  EXPECT_TRUE(full.mirrorFailed());
  EXPECT_EQ(full.error(), ENOSPC);

  LineWriter workFull;
  ASSERT_TRUE(workFull.create("/dev/full"));
  workFull.mirrorTo(openFile(dir.file("copy.txt"), "wb"));
  workFull.writeRepeated(std::string(1000, 'x'), 5000);
  EXPECT_FALSE(workFull.close());
  EXPECT_FALSE(workFull.mirrorFailed());
}

// Borrowed bytes reach the file, and its mirror, in their place among the
// lines written around them, as they were until they were let go.
TEST(LineWriter, BorrowedBytesGoOutInOrderAsTheyWereWhenLetGo) {
  TempFolder dir;
  std::string expected;
  LineWriter out;
  ASSERT_TRUE(out.create(dir.file("work.txt")));
  out.mirrorTo(openFile(dir.file("copy.txt"), "wb"));
  for (int round = 0; round < 300; ++round) {
    std::string block(5000 + static_cast<std::size_t>(round) * 37, static_cast<char>('a' + round % 26));
    const std::string small = "corto " + std::to_string(round) + "\r\n";
    out.write("linea " + std::to_string(round));
    out.writeBorrowed(block);
    out.writeBorrowed(small);
    out.writeRepeated(kBlankLine, round % 3);
    out.writeBorrowed(std::string_view(block).substr(0, 4096));
    expected += "linea " + std::to_string(round) + "\r\n" + block + small;
    for (int i = 0; i < round % 3; ++i) expected += " \r\n";
    expected += block.substr(0, 4096);
    out.releaseBorrowed();
    block.assign(block.size(), '#');  // what the block holds afterwards is not written
  }
  ASSERT_TRUE(out.close());
  EXPECT_TRUE(dir.read("work.txt") == expected);
  EXPECT_TRUE(dir.read("copy.txt") == expected);

  LineWriter full;
  ASSERT_TRUE(full.create("/dev/full"));
  const std::string block(100000, 'x');
  full.writeBorrowed(block);
  full.releaseBorrowed();
  EXPECT_FALSE(full.close());
  EXPECT_EQ(full.error(), ENOSPC);
}

TEST(LineWriter, RunsAndLongLinesAcrossTheBufferAreWrittenWhole) {
  std::string bulk, single;
  LineWriter a, b;
  a.createInMemory(bulk);
  b.createInMemory(single);
  const std::string longLine(200000, 'L');
  for (std::int64_t count : {0, 1, 5, 70000}) {
    a.writeRepeated(kBlankLine, count);
    for (std::int64_t i = 0; i < count; ++i) b.write(kBlankLine);
    a.write(longLine);
    b.write(longLine);
    a.writeRepeated("ab", 3);
    b.write("ab"), b.write("ab"), b.write("ab");
  }
  a.writeRepeated(longLine, 2);
  b.write(longLine), b.write(longLine);
  ASSERT_TRUE(a.close());
  ASSERT_TRUE(b.close());
  EXPECT_EQ(bulk.size(), single.size());
  EXPECT_TRUE(bulk == single);
  EXPECT_EQ(bulk.size(), 70006u * 3 + 6u * 200002 + 12u * 4);
}

}  // namespace
