#pragma once
// Who prints: the workstation's and the user's names, as the operating
// system gives them.
#include <string>

namespace pliego {

// The computer's network name; "" when it cannot be told.
std::string workstationName();

// The name of the user running the program; "" when it cannot be told.
std::string userName();

}  // namespace pliego
