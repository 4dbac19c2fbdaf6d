#pragma once
// A limit on the size of the files this process writes: the way tests make a
// write fail part-way, as a full disk would, even when they run as root.
#include <signal.h>
#include <sys/resource.h>

namespace pliego::testing {

// Limits the size of the files this process writes, which stops writes even
// for root; the signal that the limit raises is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, previous_);
  }

 private:
  rlimit old_{};
  decltype(SIG_IGN) previous_{};
};

}  // namespace pliego::testing
