#pragma once
// Tests that cannot pass on a system skip themselves there, each with its
// reason, next to what they test. Whole files of Linux-only tests say so at
// their top and build to nothing on Windows.
#include <gtest/gtest.h>

namespace pliego::testing {

// True when the tests run on Wine rather than on Windows.
bool runningUnderWine();

}  // namespace pliego::testing

// Windows behaviour that Wine does not have.
#define PLIEGO_SKIP_UNDER_WINE(reason) \
  if (::pliego::testing::runningUnderWine()) GTEST_SKIP() << "Wine: " << (reason)

// Linux behaviour that Windows does not have.
#ifdef _WIN32
#define PLIEGO_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "Windows: " << (reason)
#else
#define PLIEGO_SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif
