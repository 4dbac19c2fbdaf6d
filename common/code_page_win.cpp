#include "common/code_page.hpp"

namespace pliego {

// Windows gives narrow text in its ANSI code page, 1252 in the offices.
std::string systemToCp1252(std::string_view text) { return std::string(text); }
std::string cp1252ToSystem(std::string_view text) { return std::string(text); }

}  // namespace pliego
