#pragma once
// An open handle that a started program inherits: a file descriptor on
// Linux, a HANDLE on Windows.
#include <cstdint>

namespace pliego {

using InheritableHandle = std::intptr_t;
inline constexpr InheritableHandle kNoHandle = -1;

}  // namespace pliego
