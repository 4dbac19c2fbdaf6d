#pragma once
// The reasons the system gives for a failed file or device operation, told
// in Spanish: in words for the cases users meet, by number for the rest
// (the system's own text would be English). Each text completes a sentence such as "No se pudo abrir ...: <text>".
#include <string>
#include <system_error>

namespace pliego {

// An errno value.
std::string systemErrorText(int errnoValue);

// A Windows error code (GetLastError).
std::string windowsErrorText(unsigned long code);

// A code of std::system_category: an errno on Linux, a Windows code on Windows.
std::string systemCodeText(int code);

// An error code from the standard library: its errno or Windows value.
std::string systemErrorText(const std::error_code& error);

}  // namespace pliego
