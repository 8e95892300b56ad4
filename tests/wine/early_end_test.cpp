// Cases that end the program before GoogleTest prints its summary, each
// chosen with --gtest_filter by a test that expects the run to fail.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(EarlyEnd, Crash) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

TEST(EarlyEnd, EndsWithoutSummary) {
    std::exit(0);
}

} // namespace
