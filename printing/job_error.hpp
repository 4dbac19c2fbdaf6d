#pragma once
#include <stdexcept>
#include <string>

namespace pliego {

// A print job step that failed; the text is what the user is told instead of
// the job's final message.
class JobError : public std::runtime_error {
 public:
  explicit JobError(const std::string& message) : std::runtime_error(message) {}
};

// The user stopped the job.
class JobCancelled : public JobError {
 public:
  using JobError::JobError;
};

}  // namespace pliego
