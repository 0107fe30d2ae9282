// Any bytes round-trip through Base64; any text decodes without crashing, to nothing when its
// length is not a multiple of 4, and a decodable text without padding re-encodes to itself.
#include "util/DataChunk.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using mvk::util::DataChunk;
    const std::string text = DataChunk::base64Encode(data, size);
    require(text.size() == (size + 2) / 3 * 4);
    require(DataChunk::base64Decode(text) == DataChunk(data, size));

    const std::string_view arbitrary(reinterpret_cast<const char*>(data), size);
    const DataChunk decoded = DataChunk::base64Decode(arbitrary);
    require(decoded.size() <= size / 4 * 3);
    if (size % 4 != 0)
        require(decoded.empty());
    if (!decoded.empty() && arbitrary.find('=') == std::string_view::npos) {
        // Without padding every character carries six bits that the encoder writes back.
        require(DataChunk::base64Encode(decoded) == arbitrary);
    }
    return 0;
}
