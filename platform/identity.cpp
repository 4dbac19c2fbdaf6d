#include "platform/identity.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>
#endif

namespace pliego {

#ifdef _WIN32

std::string workstationName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

std::string userName() {
  char name[257] = {};
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) && size > 0 ? std::string(name, size - 1) : std::string();
}

#else

std::string workstationName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

// The account of the process, as the system's user database names it; the
// login name of the session when the database has no entry for it.
std::string userName() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
    return found->pw_name;
  const char* login = std::getenv("USER");
  return login ? login : "";
}

#endif

}  // namespace pliego
