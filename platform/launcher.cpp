#include "platform/launcher.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/child_process.hpp"

namespace pliego {

namespace {
constexpr auto kPollPause = std::chrono::milliseconds(20);
}  // namespace

std::string describe(const Command& command) {
  std::string text = command.program;
  for (const auto& argument : command.arguments) text += " " + argument;
  return text;
}


struct SystemLauncher::Children {
  std::mutex mutex;
  std::vector<Child> list;
  std::uint64_t lastId = 0;
  std::uint64_t trackedId = 0;

  void pollAll() {
    for (Child& child : list) poll(child);
  }
  const Child* find(std::uint64_t id) const {
    const auto at = std::find_if(list.begin(), list.end(), [id](const Child& child) { return child.id == id; });
    return at == list.end() ? nullptr : &*at;
  }
  // Polls every child until `ended` says so or the time is out.
  template <typename Test>
  bool pollUntil(std::chrono::milliseconds timeout, Test ended) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      {
        const std::lock_guard lock(mutex);
        pollAll();
        if (ended()) return true;
      }
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(kPollPause);
    }
  }
};

SystemLauncher::SystemLauncher() : children_(std::make_unique<Children>()) {}

SystemLauncher::~SystemLauncher() {
  for (Child& child : children_->list) release(child);
}

std::error_code SystemLauncher::launchWatched(const Command& command, bool tracked) {
  Child child;
  child.ending.command = describe(command);
  child.ending.tracked = tracked;
  if (const std::error_code error = launch(command, child)) return error;
  const std::lock_guard lock(children_->mutex);
  child.id = ++children_->lastId;
  if (tracked) children_->trackedId = child.id;
  children_->list.push_back(std::move(child));
  return {};
}

std::error_code SystemLauncher::start(const Command& command) { return launchWatched(command, false); }

std::error_code SystemLauncher::startTracked(const Command& command) { return launchWatched(command, true); }

bool SystemLauncher::waitForTracked(std::chrono::milliseconds timeout) {
  return children_->pollUntil(timeout, [this] {
    const Child* tracked = children_->find(children_->trackedId);
    return !tracked || tracked->ended;
  });
}

std::optional<Ending> SystemLauncher::waitForLastStarted(std::chrono::milliseconds timeout) {
  std::optional<Ending> ending;
  children_->pollUntil(timeout, [this, &ending] {
    auto& list = children_->list;
    const auto last = std::find_if(list.begin(), list.end(),
                                   [this](const Child& child) { return child.id == children_->lastId; });
    if (last == list.end()) return true;
    if (!last->ended) return false;
    ending = std::move(last->ending);
    list.erase(last);
    return true;
  });
  return ending;
}

std::vector<Ending> SystemLauncher::takeEndings() {
  const std::lock_guard lock(children_->mutex);
  children_->pollAll();
  std::vector<Ending> endings;
  auto& list = children_->list;
  for (Child& child : list)
    if (child.ended) endings.push_back(std::move(child.ending));
  std::erase_if(list, [](const Child& child) { return child.ended; });
  return endings;
}

}  // namespace pliego
