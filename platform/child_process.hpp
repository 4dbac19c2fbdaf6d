#pragma once
// A program the launcher started, kept until its ending has been asked for.
// Starting, polling and letting go of it are done per system.
#include <cstdint>
#include <string>
#include <system_error>

#include "platform/launcher.hpp"

namespace pliego {

struct Child {
  std::uint64_t id = 0;
  Ending ending;
  bool ended = false;
  std::intptr_t process = 0;  // its HANDLE on Windows, its process number on Linux
  int errorOutput = -1;       // the read end of its error output (Linux)
};

// Starts `command` into `child`; no error when it started.
std::error_code launch(const Command& command, Child& child);
// Notes in `child` whether it has ended, without waiting.
void poll(Child& child);
// Lets go of what is still open for `child`.
void release(Child& child);

}  // namespace pliego
