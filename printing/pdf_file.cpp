#include "printing/pdf_file.hpp"

#include <zlib.h>

#include <charconv>
#include <cmath>

#include "common/code_page.hpp"
#include "platform/files.hpp"

namespace pliego {

struct PdfFile::Deflater {
  z_stream z{};
  bool ready = false;
  std::string out;
  Deflater() { ready = deflateInit(&z, Z_DEFAULT_COMPRESSION) == Z_OK; }
  ~Deflater() {
    if (ready) deflateEnd(&z);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
};

namespace {

constexpr std::size_t kFileBuffer = 1 << 20;

}  // namespace

PdfFile::PdfFile(const std::string& path) : deflater_(std::make_unique<Deflater>()) {
  file_ = openFile(path, "wb");
  failed_ = !file_ || !deflater_->ready;
  if (file_) std::setvbuf(file_, nullptr, _IOFBF, kFileBuffer);
  // The version, then a comment of bytes above 127 that marks the file as binary.
  write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfFile::~PdfFile() {
  if (file_) std::fclose(file_);
}

int PdfFile::reserve() {
  offsets_.push_back(0);
  return static_cast<int>(offsets_.size() - 1);
}

void PdfFile::begin(int number) {
  if (number <= 0 || static_cast<std::size_t>(number) >= offsets_.size()) {
    failed_ = true;
    return;
  }
  offsets_[static_cast<std::size_t>(number)] = written_;
  write(std::to_string(number) + " 0 obj\n");
}

void PdfFile::object(int number, std::string_view value) {
  begin(number);
  write(value);
  write("\nendobj\n");
}

void PdfFile::stream(int number, std::string_view dictionary, std::string_view data, bool compress) {
  const std::string_view bytes = compress ? deflated(data) : data;
  begin(number);
  write("<<");
  write(dictionary);
  if (compress) write("/Filter/FlateDecode");
  write("/Length " + std::to_string(bytes.size()) + ">>\nstream\n");
  write(bytes);
  write("\nendstream\nendobj\n");
}

std::string_view PdfFile::deflated(std::string_view data) {
  z_stream& z = deflater_->z;
  std::string& out = deflater_->out;
  if (!deflater_->ready || deflateReset(&z) != Z_OK) {
    failed_ = true;
    return {};
  }
  out.resize(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
    failed_ = true;
    return {};
  }
  return std::string_view(out.data(), z.total_out);
}

void PdfFile::write(std::string_view bytes) {
  if (failed_ || !file_) {
    failed_ = true;
    return;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
  hash_.add(bytes);
  written_ += bytes.size();
}

bool PdfFile::close(int root, int info, std::string_view id) {
  const std::uint64_t table = written_;
  write("xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f\r\n");
  char entry[32];
  for (std::size_t number = 1; number < offsets_.size(); ++number) {
    if (offsets_[number] == 0) failed_ = true;  // reserved and never written
    std::snprintf(entry, sizeof entry, "%010llu 00000 n\r\n", static_cast<unsigned long long>(offsets_[number]));
    write(entry);
  }
  write("trailer\n<</Size " + std::to_string(offsets_.size()) + "/Root " + std::to_string(root) + " 0 R/Info " +
        std::to_string(info) + " 0 R/ID[<" + std::string(id) + "><" + std::string(id) + ">]>>\nstartxref\n" +
        std::to_string(table) + "\n%%EOF\n");
  sha256_ = hash_.hex();
  if (file_ && std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

std::string pdfNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
  std::string number(text, result.ptr);
  if (number.find('.') != std::string::npos) {
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
  }
  return number == "-0" ? "0" : number;
}

std::string pdfTextString(std::string_view cp1252) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex = "<FEFF";
  for (const char c : cp1252) {
    const char32_t character = unicodeOfCp1252(static_cast<unsigned char>(c));
    for (const int shift : {12, 8, 4, 0}) hex += kHex[(character >> shift) & 0xF];
  }
  return hex + ">";
}

}  // namespace pliego
