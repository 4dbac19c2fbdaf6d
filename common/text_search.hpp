#pragma once
// A fixed text looked for in blocks of bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace pliego {

// Finds a fixed text in blocks of bytes, optionally without regard to ASCII
// letter case (the needle is then given in upper case).
class TextSearch {
 public:
  TextSearch() = default;
  TextSearch(std::string_view needle, bool ignoreCase);
  // Offset of the first occurrence in `data`, or `size` when there is none.
  std::size_t find(const char* data, std::size_t size) const;
  bool in(std::string_view text) const { return !empty() && find(text.data(), text.size()) < text.size(); }
  bool empty() const { return needle_.empty(); }
  std::size_t size() const { return needle_.size(); }

 private:
  std::string needle_;
  unsigned char fold_[256] = {};
  std::size_t skip_[256] = {};
  bool anchored_ = false;  // the needle's last byte stands only for itself
};

}  // namespace pliego
