#include "common/system_error_text.hpp"

namespace pliego {

std::string systemCodeText(int code) { return systemErrorText(code); }

}  // namespace pliego
