#include "platform/file_lock.hpp"

#include <thread>
#include <utility>

namespace pliego {

namespace {

constexpr auto kWorkLockPause = std::chrono::milliseconds(50);

class LockErrorCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "lock"; }
  std::string message(int value) const override { return "lock error " + std::to_string(value); }
};

bool stopped(const LockPatience& patience) {
  return std::chrono::steady_clock::now() >= patience.deadline || (patience.cancel && patience.cancel->load());
}

}  // namespace

const std::error_category& lockErrorCategory() {
  static const LockErrorCategory category;
  return category;
}

std::error_code lockFile(const SharedFile& file, LockSpan span, const LockPatience& patience) {
  for (;;) {
    const std::error_code tried = tryLockFile(file, span);
    if (tried != LockError::Busy || stopped(patience)) return tried;
    std::this_thread::sleep_for(patience.pause);
  }
}

std::error_code FileLock::acquire(const std::string& path, std::chrono::milliseconds timeout) {
  release();
  SharedFile file;
  if (const std::error_code refused = openLockFile(path, file)) return refused;
  const std::error_code locked =
      lockFile(file, LockSpan::Whole, {std::chrono::steady_clock::now() + timeout, kWorkLockPause});
  if (!locked) file_ = std::move(file);
  return locked;
}

}  // namespace pliego
