#pragma once
// The two private-profile operations through which cInifile reaches its file.
// A null pointer stands for an argument that is not given. On Windows they are
// the kernel32 functions; elsewhere our own implementation behaves the same.
#include <cstdint>

namespace pliego {

// Section and key given: the key's value, or the default, at most size - 1
// bytes. Key null: the section's key names, each followed by a NUL. Section
// null: the file's section names likewise. Returns the bytes placed, not
// counting the closing NUL.
std::uint32_t getPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, std::uint32_t size, const char* path);

// Value given: stores it. Value null: removes the key. Key null: removes the
// section. Returns nonzero on success, 0 on failure.
int writePrivateProfileString(const char* section, const char* key, const char* value, const char* path);

}  // namespace pliego
