#pragma once
// Where the next line ends in a block of bytes.
#include <cstddef>

namespace pliego {

// The first CR or LF in `data`, or `size` when there is none. Scans 16 or 32
// bytes at a time where the processor can.
std::size_t findLineEnd(const char* data, std::size_t size);

}  // namespace pliego
