#pragma once
// The writes of the private-profile functions as each system does them,
// after private_profile.cpp has refused what would break a line.
#include <string>
#include <vector>

#include "settings/private_profile.hpp"

namespace pliego {

int systemWriteProfileString(const char* section, const char* key, const char* value, const char* path);

std::vector<std::string> systemWriteProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                   const char* path);

}  // namespace pliego
