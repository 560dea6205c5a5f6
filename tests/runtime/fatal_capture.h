// Turns FatalRuntimeError into a C++ exception for the duration of a test, so
// a test can check the message and code instead of ending the process.
#pragma once

#include "runtime/fatal.h"

#include <gtest/gtest.h>

struct CapturedFatal {
    Text message;
    int code;
};

class FatalCapture : public ::testing::Test {
protected:
    void SetUp() override { previous_ = SetFatalErrorHandler(&Throw); }
    void TearDown() override { SetFatalErrorHandler(previous_); }

    // Runs `call` and returns the fatal error it raised; fails the test when
    // it returned normally.
    template <typename Call>
    CapturedFatal ExpectFatal(Call call) {
        try {
            call();
        } catch (const CapturedFatal& fatal) {
            return fatal;
        }
        ADD_FAILURE() << "no fatal error was raised";
        return {Text(), kNoErrorCode};
    }

private:
    static void Throw(const Text&, const Text& message, int code) { throw CapturedFatal{message, code}; }
    FatalErrorHandler previous_ = nullptr;
};
