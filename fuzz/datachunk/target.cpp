// Any bytes must round-trip through encode() and decode(); any bytes read as an encoded chunk,
// as they stand and behind a valid magic and version, must decode within the stated bounds and
// exactly as the bit-by-bit reference reader does.
#include "datachunk/WalkingDecoder.h"
#include "util/DataChunk.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using mvk::util::DataChunk;
using mvk::util::testing::readLittleEndian;
using mvk::util::testing::walkDecode;

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkDecode(const DataChunk& chunk) {
    if (!chunk.isEncoded(false)) {
        require(chunk.decode() == chunk);
        return;
    }
    const uint32_t n = readLittleEndian(chunk.data() + 8);
    const uint32_t length = readLittleEndian(chunk.data() + 12);
    const size_t tableEnd = DataChunk::HeaderSize + size_t{n} * DataChunk::EntrySize;
    if (n == 1 && chunk.size() >= tableEnd) {
        // One value may legitimately stand for up to 4 GiB; keep the fuzzer's memory small.
        const uint32_t count = readLittleEndian(chunk.data() + DataChunk::HeaderSize + 1);
        if (std::min(length, count) > (1u << 20))
            return;
    }
    const DataChunk decoded = chunk.decode();
    require(decoded.size() <= length);
    if (n < 2 || chunk.size() < tableEnd)
        return;
    require(decoded.size() <= (chunk.size() - tableEnd) * 8);
    require(decoded.bytes() == walkDecode(chunk));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DataChunk input(data, size);
    const DataChunk encoded = input.encode();
    require(encoded.isEncoded(true));
    require(encoded.decode() == input);

    checkDecode(input);
    static_assert(DataChunk::Magic == 0x5331ca && DataChunk::Version == 100);
    const uint8_t header[] = {0xca, 0x31, 0x53, 0, 100, 0, 0, 0};
    DataChunk withHeader(header, sizeof header);
    withHeader.append(data, size);
    checkDecode(withHeader);
    return 0;
}
