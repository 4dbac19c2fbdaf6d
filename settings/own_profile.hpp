#pragma once
// Our own implementation of the private-profile operations, for platforms
// without them: the same observable behaviour, with every write one locked
// rewrite of the whole file into a temporary file renamed over the old one.
// See private_profile.hpp for the meaning of the arguments.
#include <cstdint>
#include <string>
#include <vector>

#include "settings/private_profile.hpp"

namespace pliego {

std::uint32_t ownGetPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                         char* buffer, std::uint32_t size, const char* path);
int ownWritePrivateProfileString(const char* section, const char* key, const char* value, const char* path);
std::vector<std::string> ownWritePrivateProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                       const char* path);
bool ownPrivateProfileReadable(const char* path);

}  // namespace pliego
