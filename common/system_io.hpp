#pragma once
// The C library's calls that differ by system: file positions past 2 GB and
// the local time.
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace pliego {

// fseek and ftell with 64-bit offsets.
bool seekFile(std::FILE* file, std::int64_t offset, int from);
std::int64_t tellFile(std::FILE* file);

// `when` in the computer's time zone.
std::tm localTime(std::time_t when);

}  // namespace pliego
