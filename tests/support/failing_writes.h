#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace mavu::test {

// While it lives, every write to a file in this process fails (EFBIG), also
// for root, for whom no permission bit stops a write.
class FailingWrites {
 public:
  FailingWrites() {
    getrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, SIG_IGN);
    rlimit none = saved_;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
  }
  ~FailingWrites() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, SIG_DFL);
  }
  FailingWrites(const FailingWrites&) = delete;
  FailingWrites& operator=(const FailingWrites&) = delete;

 private:
  rlimit saved_{};
};

}  // namespace mavu::test
