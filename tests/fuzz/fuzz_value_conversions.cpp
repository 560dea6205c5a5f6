// Number reading from texts and typed reads from byte arrays on arbitrary
// bytes: no crash, the fold is stable, ToInteger agrees with strtoll on the
// folded text, and a chain of ReadBytesValue calls always reaches the end.
#include "runtime/bytes.h"
#include "runtime/conversions.h"
#include "tests/fuzz/text_fuzz_input.h"

#include <climits>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text(reinterpret_cast<const char*>(data), size);

    const Text folded = FoldFullWidth(text);
    FUZZ_CHECK(folded.size() <= text.size());
    FUZZ_CHECK(FoldFullWidth(folded) == folded);

    const int value = ToInteger(text);
    FUZZ_CHECK(value == ToInteger(folded));
    const long long reference = std::strtoll(folded.c_str(), nullptr, 10);
    FUZZ_CHECK(value == static_cast<int>(reference < INT_MIN ? INT_MIN : reference > INT_MAX ? INT_MAX : reference));
    (void)ToReal(text);

    // The first byte picks the types of a chain of reads over the rest.
    if (size < 1) return 0;
    const ByteArray bytes(data + 1, data + size);
    int position = 1;
    std::size_t reads = 0;
    while (position != -1) {
        const int type = 1 + (data[(reads + position) % size] % 10);
        const int before = position;
        const BytesValue read = ReadBytesValue(bytes, type, position);
        FUZZ_CHECK(static_cast<int>(read.index()) == type - 1);
        FUZZ_CHECK(position == -1 || position > before);
        FUZZ_CHECK(++reads <= bytes.size() + 1);
    }
    return 0;
}
