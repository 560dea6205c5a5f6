#include "app/update_state.h"

#include "app/manifest_core.h"
#include "app/utc_time.h"

namespace {

constexpr char kFloor[] = "floor";
constexpr char kPublished[] = "published";

}  // namespace

UpdateState ParseUpdateState(const Text& text) {
    UpdateState state;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == Text::npos) end = text.size();
        Text line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t equals = line.find('=');
        if (equals == Text::npos) continue;
        const Text name = line.substr(0, equals), value = line.substr(equals + 1);
        if (name == kFloor && IsNumericVersion(value)) {
            state.floor = value;
        } else if (name == kPublished) {
            if (const std::optional<std::int64_t> time = ParseUtcTime(value)) state.newestPublished = time;
        }
    }
    return state;
}

Text FormatUpdateState(const UpdateState& state) {
    Text text;
    if (IsNumericVersion(state.floor)) text += Text(kFloor) + "=" + state.floor + "\r\n";
    if (state.newestPublished) text += Text(kPublished) + "=" + FormatUtcTime(*state.newestPublished) + "\r\n";
    return text;
}

UpdateState AdvanceUpdateState(const UpdateState& state, const Text& installedVersion,
                               std::optional<std::int64_t> publishedAt) {
    UpdateState next = state;
    if (IsNumericVersion(installedVersion) &&
        (!IsNumericVersion(state.floor) || CompareVersions(installedVersion, state.floor) > 0)) {
        next.floor = installedVersion;
    }
    if (publishedAt && (!state.newestPublished || *publishedAt > *state.newestPublished)) {
        next.newestPublished = publishedAt;
    }
    return next;
}
