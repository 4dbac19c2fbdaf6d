#pragma once
// The calling thread's last Windows error, as the error code platform
// functions report. Included after <windows.h>.
#include <system_error>

namespace pliego {

inline std::error_code lastWindowsError() { return {static_cast<int>(GetLastError()), std::system_category()}; }

}  // namespace pliego
