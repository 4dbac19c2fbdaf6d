#pragma once
// The colour profile of a PDF/A output intent: sRGB as an ICC version 2
// display profile, made here so that the PDF needs no file of the system.
#include <string>

namespace pliego {

inline constexpr const char* kSrgbName = "sRGB IEC61966-2.1";

std::string srgbProfile();

}  // namespace pliego
