// Helpers shared by the unit tests.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <string>

// Runs f and returns what it printed on standard output.
template <typename F>
std::string printed_by(F f) {
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}
