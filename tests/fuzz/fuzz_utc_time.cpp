// The manifest's time parser on arbitrary bytes: a text it reads is written
// back byte for byte, and every time from 1970 to 9999 reads back as itself.
#include <cstring>

#include "app/utc_time.h"
#include "tests/fuzz/text_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::int64_t> seconds = ParseUtcTime(text);
    if (seconds) {
        FUZZ_CHECK(*seconds >= 0);
        FUZZ_CHECK(FormatUtcTime(*seconds) == text);
    }
    if (size >= 8) {
        std::int64_t any = 0;
        std::memcpy(&any, data, 8);
        const Text written = FormatUtcTime(any);
        const std::optional<std::int64_t> read = ParseUtcTime(written);
        if (written == "?") {
            FUZZ_CHECK(!read);
        } else {
            FUZZ_CHECK(read && *read == any);
        }
    }
    return 0;
}
