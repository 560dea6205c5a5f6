// The one way the runtime stops the program on an unrecoverable condition.
// The portable core raises it; the program installs the handler that shows
// the "错误" box and exits with -1 (Windows), tests install one that records.
#pragma once

#include "runtime/value_types.h"

constexpr int kNoErrorCode = -1;

// Fatal error codes of the runtime's table.
enum FatalCode : int {
    kFatalIndexAboveCount = 1,
    kFatalNotANumber = 2,
    kFatalDimensionMismatch = 3,
    kFatalIndexBelowOne = 4,
    kFatalTypeMismatch = 5,
    kFatalStackError = 6,
    kFatalNoReturnValue = 7,
    kFatalCompareOnlyEqual = 8,
    kFatalChoiceIndex = 9,
    kFatalRedimNegative = 10,
    kFatalBadArgumentType = 11,
};

// "运行时出错!\r\n\r\n" [+ "错误代码：N\r\n\r\n"] [+ "错误信息：message\r\n"]
Text FatalErrorText(const Text& message, int code = kNoErrorCode);

// A handler must not return: it ends the process (or, in tests, throws).
using FatalErrorHandler = void (*)(const Text& fullText, const Text& message, int code);
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);

[[noreturn]] void FatalRuntimeError(const Text& message, int code = kNoErrorCode);
