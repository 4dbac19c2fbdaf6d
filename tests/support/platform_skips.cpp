#include "support/platform_skips.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pliego::testing {

bool runningUnderWine() {
#ifdef _WIN32
  // Wine's ntdll exports its version; Windows' does not.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

}  // namespace pliego::testing
