#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/sha256.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using pliego::testing::TempFolder;

namespace {

struct DigestCase {
  std::string input;
  const char* digest;
};

// The examples of FIPS 180-2 and the empty text.
TEST(Sha256, KnownDigests) {
  const DigestCase cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) EXPECT_EQ(sha256Hex(c.input), c.digest) << c.input.size() << " bytes";
}

// Lengths around the block and padding limits, fed whole and in uneven pieces.
TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  for (const std::size_t size : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u}) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 37 + 11) & 0xff);
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < size; at += step, step = step * 2 + 1)
      pieces.add(std::string_view(bytes).substr(at, step));
    EXPECT_EQ(pieces.hex(), sha256Hex(bytes)) << size;
  }
}

// The file's digest is the one the system's sha256sum gives.
TEST(Sha256, FileDigestMatchesTheSystemTool) {
  TempFolder folder;
  const std::string path = folder.file("libro.pdf");
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>((i * 131 + i / 7) & 0xff);
  folder.write("libro.pdf", bytes);
  const auto digest = sha256OfFile(path);
  ASSERT_TRUE(digest);
  EXPECT_EQ(*digest, sha256Hex(bytes));
#ifndef _WIN32
  std::FILE* tool = popen(("sha256sum '" + path + "'").c_str(), "r");
  ASSERT_NE(tool, nullptr);
  char out[65] = {};
  ASSERT_EQ(std::fread(out, 1, 64, tool), 64u);
  pclose(tool);
  EXPECT_EQ(*digest, std::string(out));
#endif
  EXPECT_FALSE(sha256OfFile(folder.file("no_existe.pdf")));
}

}  // namespace
