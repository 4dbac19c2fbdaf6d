#include "common/text.hpp"

#include <algorithm>

namespace pliego {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string toUpperAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), upperAscii);
  return out;
}

namespace {
std::string_view trimWhere(std::string_view text, bool (*isTrimmed)(char)) {
  while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
  return text;
}
bool isSpace(char c) { return c == ' '; }
}  // namespace

std::string_view trimSpaces(std::string_view text) { return trimWhere(text, isSpace); }

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

namespace {
bool matchesUpperAt(std::string_view text, std::size_t at, std::string_view upperNeedle) {
  for (std::size_t k = 0; k < upperNeedle.size(); ++k)
    if (upperAscii(text[at + k]) != upperNeedle[k]) return false;
  return true;
}
}  // namespace

bool containsUpperAscii(std::string_view text, std::string_view upperNeedle) {
  if (upperNeedle.empty()) return true;
  if (text.size() < upperNeedle.size()) return false;
  const char anchor = upperNeedle.back();
  const std::size_t tail = upperNeedle.size() - 1;
  if (anchor < 'A' || anchor > 'Z') {
    // The needle ends in a byte without case: find it with a plain search
    // and compare what stands before it.
    for (std::size_t at = text.find(anchor, tail); at != std::string_view::npos;
         at = text.find(anchor, at + 1))
      if (matchesUpperAt(text, at - tail, upperNeedle)) return true;
    return false;
  }
  for (std::size_t i = 0; i + tail < text.size(); ++i)
    if (matchesUpperAt(text, i, upperNeedle)) return true;
  return false;
}

}  // namespace pliego
