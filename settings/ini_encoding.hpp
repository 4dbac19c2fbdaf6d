#pragma once
// The encodings an INI file can come in. A file that starts with a
// byte-order mark (UTF-8, UTF-16 little- or big-endian) is text in that
// encoding: the private-profile functions see it converted to the code page
// (Windows-1252, "?" for a character it lacks) and write new text back in the
// file's own encoding. Any other file is code-page bytes as they are.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pliego {

enum class IniEncoding { CodePage, Utf8, Utf16Le, Utf16Be };

// A file's text in the code page, and where in the file each byte of it
// came from.
class DecodedIni {
 public:
  explicit DecodedIni(const std::string& file);

  IniEncoding encoding() const { return encoding_; }
  const std::string& text() const { return text_; }
  // The file offset of text position `at` (0 to text().size()).
  std::size_t fileOffset(std::size_t at) const;
  // The file with text [begin, end) replaced by `insert`, encoded as the file
  // is; every other byte of the file stays as it was.
  std::string spliced(const std::string& file, std::size_t begin, std::size_t end, std::string_view insert) const;

 private:
  void add(char c, std::size_t from);
  void decodeUtf8(const std::string& file, std::size_t from);
  void decodeUtf16(const std::string& file, std::size_t from, bool bigEndian);

  IniEncoding encoding_ = IniEncoding::CodePage;
  std::string text_;
  std::vector<std::size_t> origin_;  // empty for the code page: offsets are equal
  std::size_t end_ = 0;              // file offset of the end of the text
};

// The code-page bytes `text` in `encoding` (without a mark).
std::string encodeIni(std::string_view text, IniEncoding encoding);

}  // namespace pliego
