#include "platform/shared_file.hpp"

namespace pliego {

namespace {

class FileErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "shared file"; }
  std::string message(int value) const override { return "shared file error " + std::to_string(value); }
};

}  // namespace

const std::error_category& fileErrorCategory() {
  static const FileErrorCategory category;
  return category;
}

}  // namespace pliego
