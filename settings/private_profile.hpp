#pragma once
// The two private-profile operations through which cInifile reaches its file.
// A null pointer stands for an argument that is not given. On Windows they are
// the kernel32 functions; elsewhere our own implementation behaves the same.
#include <cstdint>
#include <string>
#include <vector>

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

// True when the file can be read, or does not exist (it then reads as empty);
// false when it is there and cannot be read (a read of it gives defaults).
bool privateProfileReadable(const char* path);

struct ProfileEntry {
  std::string key, value;
};

// Stores every entry under `section`. Our own implementation makes it one
// locked rewrite of the file: all the entries are stored or none. With the
// platform's functions each entry is a write of its own. Returns the keys
// that were not stored, in the order given.
std::vector<std::string> writePrivateProfileEntries(const char* section, const std::vector<ProfileEntry>& entries,
                                                    const char* path);

}  // namespace pliego
