#pragma once
// A PDF file written front to back as its objects come: each object goes out
// when it is made, and only the objects' places are kept for the cross
// reference table at the end, so that a book of any length is written in
// the same small memory. The bytes are hashed on their way out.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/sha256.hpp"

namespace pliego {

class PdfFile {
 public:
  // Creates the file at `path` (system encoding) and writes the header.
  explicit PdfFile(const std::string& path);
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  // True once anything could not be written; nothing usable is in the file.
  bool failed() const { return failed_; }

  // A number for an object written later.
  int reserve();
  // Object `number` whole: "<< dictionary >>" or any other value.
  void object(int number, std::string_view value);
  // A stream object: `dictionary` holds its entries without /Length, which
  // is added; the data is compressed with Flate when asked.
  void stream(int number, std::string_view dictionary, std::string_view data, bool compress);

  // Writes the cross reference table and the trailer, and closes the file.
  // `id` is the file identifier, 32 hex digits. False when any write failed.
  bool close(int root, int info, std::string_view id);
  // The SHA-256 of the bytes written; only after close.
  const std::string& sha256() const { return sha256_; }

 private:
  struct Deflater;
  void begin(int number);
  void write(std::string_view bytes);
  std::string_view deflated(std::string_view data);

  std::FILE* file_ = nullptr;
  std::unique_ptr<Deflater> deflater_;
  std::vector<std::uint64_t> offsets_{0};  // by object number; 0 for none yet
  std::uint64_t written_ = 0;
  Sha256 hash_;
  std::string sha256_;
  bool failed_ = false;
};

// A PDF number: at most four decimals, no exponent, a point whatever the locale.
std::string pdfNumber(double value);
// A text string for the document's information: UTF-16BE in hex with its
// byte order mark, from Windows-1252 bytes.
std::string pdfTextString(std::string_view cp1252);

}  // namespace pliego
