#include "platform/identity.hpp"

#include <windows.h>

namespace pliego {

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

}  // namespace pliego
