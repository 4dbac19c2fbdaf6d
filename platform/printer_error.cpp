#include "platform/printer_error.hpp"

#include <string>

namespace pliego {

namespace {

class PrinterErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "printer"; }
  std::string message(int value) const override { return "printer error " + std::to_string(value); }
};

}  // namespace

const std::error_category& printerErrorCategory() {
  static const PrinterErrorCategory category;
  return category;
}

}  // namespace pliego
