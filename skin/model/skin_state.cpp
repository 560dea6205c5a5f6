#include "skin/model/skin_state.h"

#include <atomic>

namespace {

std::atomic<SkinState*> gState{nullptr};

}  // namespace

SkinState::SkinState(HICON appIcon) : appIcon_(appIcon) {
    settings_.backColour = ::GetSysColor(COLOR_BTNFACE);
    gState.store(this);
}

SkinState::~SkinState() {
    SkinState* self = this;
    gState.compare_exchange_strong(self, nullptr);
}

SkinState* SkinState::Instance() { return gState.load(); }

void SkinState::ReleaseAll() {
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        forms_.clear();
        memoryDcRegistry_.clear();
    }
    appIcon_.Reset();
}

SkinSettings SkinState::Settings() {
    return WithSettings([](SkinSettings& s) { return s; });
}

PaintContext SkinState::PaintContextNow(bool withImage) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    PaintContext context;
    context.backColour = settings_.backColour;
    context.accentColour = settings_.accentColour;
    if (withImage) context.backImage = settings_.backImage;
    context.backMode = settings_.backMode;
    context.appIcon = appIcon_.Get();
    context.initialSizePending = settings_.initialSizePending;
    return context;
}

FormSkin* SkinState::Form(int index) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (index < 1 || index > static_cast<int>(forms_.size())) return nullptr;
    return forms_[index - 1].get();
}

int SkinState::FormIndexOf(HWND window) {
    if (!window) return 0;
    // The list is short and in this process; Hw_lbID holds the same index,
    // but reading a property is a round trip to the window server under Wine.
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return FindForm(forms_, window);
}

HHOOK SkinState::ExchangeMessageBoxHook(HHOOK hook) {
    const DWORD thread = ::GetCurrentThreadId();
    std::lock_guard<std::recursive_mutex> guard(lock_);
    for (auto it = messageBoxHooks_.begin(); it != messageBoxHooks_.end(); ++it) {
        if (it->first != thread) continue;
        HHOOK previous = it->second;
        if (hook) {
            it->second = hook;
        } else {
            messageBoxHooks_.erase(it);
        }
        return previous;
    }
    if (hook) messageBoxHooks_.emplace_back(thread, hook);
    return nullptr;
}

HHOOK SkinState::TakeMessageBoxHook() { return ExchangeMessageBoxHook(nullptr); }

HHOOK SkinState::MessageBoxHook() {
    const DWORD thread = ::GetCurrentThreadId();
    std::lock_guard<std::recursive_mutex> guard(lock_);
    for (const auto& entry : messageBoxHooks_) {
        if (entry.first == thread) return entry.second;
    }
    return nullptr;
}

std::size_t SkinState::MessageBoxHookCount() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return messageBoxHooks_.size();
}
