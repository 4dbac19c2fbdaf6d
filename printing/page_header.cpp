#include "printing/page_header.hpp"

#include <algorithm>

namespace pliego {

std::string pageStamp(std::string_view text, std::int64_t page) {
  const std::string label = std::string(kStampLabel) + std::to_string(page);
  const std::size_t room = kStampWidth - std::min(label.size(), kStampWidth);
  std::string line(text.substr(0, room));
  line.resize(room, ' ');
  line += label;
  return line;
}

std::string headerPrinterCodes(const std::vector<std::string>& header) {
  std::string codes;
  for (const auto& line : header) codes += printerCodesOf(line);
  return codes;
}

}  // namespace pliego
