// Any bytes read as a curve block either leave the curve as it was, give placeholder keys, or
// give keys that write back as exactly the bytes read; and whatever keys a block gives, look-ups
// and new keys stay within the curve.
#include "util/AVar.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using Curve = mvk::util::AVar_Linear<double>;

void require(bool condition) {
    if (!condition)
        std::abort();
}

uint32_t at(const uint8_t* data, size_t offset) {
    return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
           static_cast<uint32_t>(data[offset + 2]) << 16 |
           static_cast<uint32_t>(data[offset + 3]) << 24;
}

void checkRead(const uint8_t* data, size_t size) {
    Curve before;
    before.setKey(5, 5);
    Curve curve = before;
    curve.read(data, size);

    const bool readable =
        size >= 16 && at(data, 0) == 16 && at(data, 8) == 100 && at(data, 12) <= (size - 16) / 16;
    if (!readable) {
        require(curve.sameKeys(before));
        return;
    }
    const uint32_t count = at(data, 12);
    require(curve.keyCount() == count);
    if (at(data, 4) != 16 * count) {
        for (const auto& key : curve.allKeys())
            require(key.time == -1.0 && key.value == 0.0);
    } else {
        std::vector<uint8_t> written(curve.serializedSize());
        curve.write(written.data(), written.size());
        require(std::memcmp(written.data(), data, written.size()) == 0);
    }
    for (double time : {-1.0, 0.0, 1e300, std::numeric_limits<double>::quiet_NaN()})
        (void)curve.valueAt(time);
    curve.setKey(0.5, 1);
    curve.setKey(std::numeric_limits<double>::quiet_NaN(), 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkRead(data, size);
    // The same bytes behind a valid header, so the key data itself gets exercised.
    const uint32_t count = static_cast<uint32_t>(size / 16);
    std::vector<uint8_t> block(16 + size);
    const uint32_t header[] = {16, 16 * count, 100, count};
    for (size_t i = 0; i < 16; ++i)
        block[i] = static_cast<uint8_t>(header[i / 4] >> (8 * (i % 4)));
    if (size > 0)
        std::memcpy(block.data() + 16, data, size);
    checkRead(block.data(), block.size());
    return 0;
}
