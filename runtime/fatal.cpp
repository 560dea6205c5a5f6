#include "runtime/fatal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

void DefaultFatalHandler(const Text& fullText, const Text&, int) {
    std::fwrite(fullText.data(), 1, fullText.size(), stderr);
    std::fflush(stderr);
    std::_Exit(-1);
}

std::atomic<FatalErrorHandler> gFatalHandler{&DefaultFatalHandler};

}  // namespace

Text FatalErrorText(const Text& message, int code) {
    Text text = "运行时出错!\r\n\r\n";
    if (code != kNoErrorCode) {
        text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
    }
    if (!message.empty()) {
        text += "错误信息：" + message + "\r\n";
    }
    return text;
}

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler) {
    return gFatalHandler.exchange(handler ? handler : &DefaultFatalHandler);
}

void FatalRuntimeError(const Text& message, int code) {
    gFatalHandler.load()(FatalErrorText(message, code), message, code);
    // A handler that returns breaks the contract; never continue past a fatal error.
    std::_Exit(-1);
}
