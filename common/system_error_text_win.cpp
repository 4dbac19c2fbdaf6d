#include "common/system_error_text.hpp"

namespace pliego {

std::string systemCodeText(int code) { return windowsErrorText(static_cast<unsigned long>(code)); }

}  // namespace pliego
