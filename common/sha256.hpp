#pragma once
// SHA-256 (FIPS 180-4) of bytes or of a file, as 64 lower-case hex digits.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pliego {

class Sha256 {
 public:
  Sha256();
  void add(std::string_view bytes);
  // The digest of everything added; the object is spent afterwards.
  std::string hex();

 private:
  void block(const unsigned char* data);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> pending_{};
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

std::string sha256Hex(std::string_view bytes);
// Nothing when the file cannot be read to its end.
std::optional<std::string> sha256OfFile(const std::string& path);

}  // namespace pliego
