#include "common/text_search.hpp"

#include <algorithm>
#include <cstring>

#include "common/text.hpp"

namespace pliego {

// Horspool's search: the byte under the needle's last position tells how far
// the needle may move on.
TextSearch::TextSearch(std::string_view needle, bool ignoreCase) : needle_(needle) {
  for (int c = 0; c < 256; ++c) {
    const char folded = ignoreCase ? upperAscii(static_cast<char>(c)) : static_cast<char>(c);
    fold_[c] = static_cast<unsigned char>(folded);
  }
  for (auto& c : needle_) c = static_cast<char>(fold_[static_cast<unsigned char>(c)]);
  const std::size_t m = needle_.size();
  for (int c = 0; c < 256; ++c) {
    skip_[c] = m;
    for (std::size_t i = 0; i + 1 < m; ++i)
      if (fold_[c] == static_cast<unsigned char>(needle_[i])) skip_[c] = m - 1 - i;
  }
  if (m > 0) {
    const auto last = static_cast<unsigned char>(needle_.back());
    anchored_ = std::count(fold_, fold_ + 256, last) == 1;
  }
}

std::size_t TextSearch::find(const char* data, std::size_t size) const {
  const std::size_t m = needle_.size();
  if (m == 0) return 0;
  if (size < m) return size;
  const auto* text = reinterpret_cast<const unsigned char*>(data);
  const auto* needle = reinterpret_cast<const unsigned char*>(needle_.data());
  const unsigned char last = needle[m - 1];
  const auto matchesAt = [&](std::size_t at) {
    std::size_t k = 0;
    while (k + 1 < m && fold_[text[at + k]] == needle[k]) ++k;
    return k + 1 == m;
  };
  if (anchored_) {
    // The last byte has no other case: memchr finds its few places fast.
    for (std::size_t from = m - 1; from < size;) {
      const void* hit = std::memchr(text + from, last, size - from);
      if (!hit) break;
      const auto end = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - text);
      if (matchesAt(end + 1 - m)) return end + 1 - m;
      from = end + 1;
    }
    return size;
  }
  for (std::size_t at = 0; at <= size - m;) {
    const unsigned char c = text[at + m - 1];
    if (fold_[c] == last && matchesAt(at)) return at;
    at += skip_[c];
  }
  return size;
}

}  // namespace pliego
