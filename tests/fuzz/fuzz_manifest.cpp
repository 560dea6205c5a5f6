// Manifest cutting and what a signed build decides from arbitrary server
// bytes: the fields are pieces of the text, a fresh manifest has readable
// times within the policy, a signed update only ever goes up, and the state
// file's text reads back as written.
#include <cstring>

#include "app/manifest_core.h"
#include "app/update_state.h"
#include "app/utc_time.h"
#include "tests/fuzz/text_fuzz_input.h"

namespace {

bool IsPieceOf(const Text& field, const Text& text) { return field.empty() || text.find(field) != Text::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Layout: flags, the clock (8 bytes), the newest accepted time (8 bytes), the manifest.
    constexpr std::size_t kHeader = 17;
    if (size < kHeader) return 0;
    const std::uint8_t flags = data[0];
    std::int64_t now = 0, newest = 0;
    std::memcpy(&now, data + 1, 8);
    std::memcpy(&newest, data + 9, 8);
    // Times the clients can meet: 1970 to 9999.
    constexpr std::int64_t kSpan = 253402300800;
    now = static_cast<std::int64_t>(static_cast<std::uint64_t>(now) % kSpan);
    newest = static_cast<std::int64_t>(static_cast<std::uint64_t>(newest) % kSpan);
    const Text text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    const UpdateManifest m = CutManifest(text);
    for (const Text* field : {&m.latestVersion, &m.updateAddress, &m.checksum, &m.size, &m.publishedAt, &m.expiresAt}) {
        FUZZ_CHECK(IsPieceOf(*field, text));
    }

    FreshnessPolicy policy;
    policy.requireFields = flags & 1;
    policy.now = now;
    if (flags & 2) policy.newestAccepted = newest;
    const FreshnessCheck check = CheckFreshness(m, policy);
    if (check.verdict == Freshness::Fresh) {
        FUZZ_CHECK(check.publishedAt && check.expiresAt);
        FUZZ_CHECK(*check.publishedAt <= *check.expiresAt);
        FUZZ_CHECK(*check.expiresAt + kClockSkewSeconds >= now);
        FUZZ_CHECK(!policy.newestAccepted || *policy.newestAccepted <= *check.publishedAt);
        FUZZ_CHECK(FormatUtcTime(*check.publishedAt) == m.publishedAt);
        FUZZ_CHECK(FormatUtcTime(*check.expiresAt) == m.expiresAt);
    }
    if (check.verdict == Freshness::NoFields) FUZZ_CHECK(!policy.requireFields);
    if (check.Accepted() && policy.requireFields) FUZZ_CHECK(check.verdict == Freshness::Fresh);

    // The local version and the floor come from the input too.
    const Text local = m.currentVersionField, floor = m.dayIntro;
    const UpdateDecision decision = DecideUpdateKind(flags & 4 ? "http://x" : "", local, m, true, floor);
    if (decision == UpdateDecision::MainExecutable || decision == UpdateDecision::FullInstaller ||
        decision == UpdateDecision::Idle || decision == UpdateDecision::MalformedChecksum) {
        FUZZ_CHECK(IsNumericVersion(m.latestVersion));
        FUZZ_CHECK(CompareVersions(m.latestVersion, EffectiveInstalledVersion(local, floor)) > 0);
        if (IsNumericVersion(floor)) FUZZ_CHECK(CompareVersions(m.latestVersion, floor) > 0);
    }

    const UpdateState state = ParseUpdateState(text);
    const Text written = FormatUpdateState(state);
    const UpdateState again = ParseUpdateState(written);
    FUZZ_CHECK(again.floor == state.floor && again.newestPublished == state.newestPublished);
    FUZZ_CHECK(FormatUpdateState(again) == written);
    const UpdateState advanced = AdvanceUpdateState(state, m.latestVersion, check.publishedAt);
    if (IsNumericVersion(state.floor)) FUZZ_CHECK(CompareVersions(advanced.floor, state.floor) >= 0);
    if (state.newestPublished) FUZZ_CHECK(*advanced.newestPublished >= *state.newestPublished);
    return 0;
}
