#include "util/DataChunk.h"

#include "platform/FileSystem.h"
#include "util/HuffmanDecoder.h"
#include "util/HuffmanTree.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace mvk::util {

namespace {

uint32_t readUint32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

uint8_t* writeUint32(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i, value >>= 8)
        *out++ = static_cast<uint8_t>(value);
    return out;
}

void storeUint64(uint8_t* out, uint64_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &value, sizeof value);
    } else {
        for (int i = 0; i < 8; ++i, value >>= 8)
            out[i] = static_cast<uint8_t>(value);
    }
}

// ---- encoding -------------------------------------------------------------------------------

std::array<uint32_t, 256> countBytes(const uint8_t* bytes, size_t size) {
    // Four interleaved histograms keep runs of one byte value from stalling on a single counter.
    std::array<std::array<uint32_t, 256>, 4> partial{};
    size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        ++partial[0][bytes[i]];
        ++partial[1][bytes[i + 1]];
        ++partial[2][bytes[i + 2]];
        ++partial[3][bytes[i + 3]];
    }
    for (; i < size; ++i)
        ++partial[0][bytes[i]];
    std::array<uint32_t, 256> counts{};
    for (int value = 0; value < 256; ++value)
        counts[value] =
            partial[0][value] + partial[1][value] + partial[2][value] + partial[3][value];
    return counts;
}

// Leaves from value 255 down to 0, then a stable sort by count: equal counts keep descending
// byte values, one of the orders a reader must accept.
std::vector<HuffmanTree::Entry> sortedLeaves(const std::array<uint32_t, 256>& counts) {
    std::vector<HuffmanTree::Entry> leaves;
    for (int value = 255; value >= 0; --value)
        if (counts[value] != 0)
            leaves.push_back({static_cast<uint8_t>(value), counts[value]});
    std::stable_sort(leaves.begin(), leaves.end(),
                     [](const auto& a, const auto& b) { return a.count < b.count; });
    return leaves;
}

// Codes of at most 57 bits go out whole through the 64-bit accumulator. Counts summing to less
// than 2^32 bound a code tree's depth to under 48 (the lightest path grows like the Fibonacci
// numbers), so every code the encoder makes qualifies.
struct EncoderCode {
    uint64_t bits = 0;
    uint32_t length = 0;
};

uint8_t* writeBits(const uint8_t* in, size_t size, const std::array<EncoderCode, 256>& codes,
                   uint8_t* out) {
    uint64_t pending = 0;
    unsigned count = 0;
    for (size_t i = 0; i < size; ++i) {
        const EncoderCode code = codes[in[i]];
        pending |= code.bits << count;
        count += code.length;
        if (count >= 64) {
            storeUint64(out, pending);
            out += 8;
            count -= 64;
            // The code's bits that did not fit; a shift by the full length gives 0.
            pending = code.bits >> (code.length - count);
        }
    }
    for (; count > 0; count = count > 8 ? count - 8 : 0, pending >>= 8)
        *out++ = static_cast<uint8_t>(pending);
    return out;
}

// ---- decoding -------------------------------------------------------------------------------

DataChunk decodeSingleValue(const HuffmanTree::Entry& entry, uint32_t length) {
    // Every code is empty, so the count is all that describes the output.
    std::vector<uint8_t> bytes(std::min(length, entry.count), entry.value);
    return DataChunk(std::move(bytes));
}

// ---- Base64 ---------------------------------------------------------------------------------

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Two output characters per 12 input bits.
constexpr std::array<std::array<char, 2>, 4096> makeEncodePairs() {
    std::array<std::array<char, 2>, 4096> pairs{};
    for (int bits = 0; bits < 4096; ++bits)
        pairs[bits] = {Alphabet[bits >> 6], Alphabet[bits & 63]};
    return pairs;
}
constexpr auto EncodePairs = makeEncodePairs();

constexpr int8_t sextet(int c) {
    for (int i = 0; i < 64; ++i)
        if (Alphabet[i] == c)
            return static_cast<int8_t>(i);
    return -1;
}

// One table per position of a group, each value already shifted to where its bits land in the
// three output bytes read as a little-endian word. A character outside the alphabet sets bit 24,
// so one test per group catches it.
constexpr uint32_t Invalid = 0x01000000;
constexpr std::array<uint32_t, 256> makeDecodeTable(int position) {
    std::array<uint32_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const int8_t v = sextet(c);
        if (v < 0) {
            table[c] = Invalid;
            continue;
        }
        const auto u = static_cast<uint32_t>(v);
        switch (position) {
        case 0:
            table[c] = u << 2;
            break;
        case 1:
            table[c] = u >> 4 | (u & 15) << 12;
            break;
        case 2:
            table[c] = (u >> 2) << 8 | (u & 3) << 22;
            break;
        default:
            table[c] = u << 16;
            break;
        }
    }
    return table;
}
constexpr std::array<std::array<uint32_t, 256>, 4> DecodeTables = {
    makeDecodeTable(0), makeDecodeTable(1), makeDecodeTable(2), makeDecodeTable(3)};

uint32_t decodeGroupWord(const uint8_t* group) {
    return DecodeTables[0][group[0]] | DecodeTables[1][group[1]] | DecodeTables[2][group[2]] |
           DecodeTables[3][group[3]];
}

void storeGroup(uint8_t* out, uint32_t word) {
    out[0] = static_cast<uint8_t>(word);
    out[1] = static_cast<uint8_t>(word >> 8);
    out[2] = static_cast<uint8_t>(word >> 16);
}

// A group that failed the fast test: "=" stands for a zero value in the last two positions and
// drops one output byte each. Returns the bytes written, or -1 for a character without a value.
int decodePaddedGroup(const uint8_t* group, uint8_t* out) {
    std::array<uint8_t, 4> values = {group[0], group[1], group[2], group[3]};
    int dropped = 0;
    for (int position = 2; position < 4; ++position) {
        if (values[position] == '=') {
            values[position] = 'A';
            ++dropped;
        }
    }
    const uint32_t word = decodeGroupWord(values.data());
    if (word & Invalid)
        return -1;
    storeGroup(out, word);
    return 3 - dropped;
}

} // namespace

DataChunk::DataChunk(const void* data, size_t length) {
    if (data == nullptr) {
        buffer.assign(length, 0);
        return;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    buffer.assign(bytes, bytes + length);
}

void DataChunk::append(const void* data, size_t length) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    buffer.insert(buffer.end(), bytes, bytes + length);
}

bool DataChunk::loadFile(const std::string& path) {
    std::string contents;
    if (!platform::readRegularFile(path, contents))
        return false;
    buffer.assign(contents.begin(), contents.end());
    return true;
}

bool DataChunk::isEncoded(bool checkTable) const {
    if (buffer.size() < HeaderSize)
        return false;
    const uint8_t* header = buffer.data();
    const uint32_t entries = readUint32(header + 8);
    if (readUint32(header) != Magic || readUint32(header + 4) != Version || entries > MaxEntries)
        return false;
    if (!checkTable)
        return true;
    if (buffer.size() - HeaderSize < entries * EntrySize)
        return false;
    const uint8_t* table = header + HeaderSize;
    for (uint32_t i = 1; i < entries; ++i) {
        const uint8_t* entry = table + i * EntrySize;
        if (readUint32(entry - EntrySize + 1) > readUint32(entry + 1))
            return false;
    }
    return true;
}

DataChunk DataChunk::encode() const {
    if (buffer.size() > std::numeric_limits<uint32_t>::max())
        return *this;
    const auto counts = countBytes(buffer.data(), buffer.size());
    const std::vector<HuffmanTree::Entry> leaves = sortedLeaves(counts);
    const HuffmanTree tree(leaves);
    const std::vector<HuffmanTree::Code> treeCodes = tree.codes();

    std::array<EncoderCode, 256> codes{};
    uint64_t totalBits = 0;
    for (size_t leaf = 0; leaf < leaves.size(); ++leaf) {
        codes[leaves[leaf].value] = {treeCodes[leaf].bits, treeCodes[leaf].length};
        totalBits += uint64_t{leaves[leaf].count} * treeCodes[leaf].length;
    }

    const size_t streamStart = HeaderSize + leaves.size() * EntrySize;
    const size_t encodedSize = streamStart + static_cast<size_t>((totalBits + 7) / 8);
    // Eight spare bytes let the bit writer store whole 64-bit words up to the end.
    std::vector<uint8_t> encoded(encodedSize + 8);
    uint8_t* out = writeUint32(encoded.data(), Magic);
    out = writeUint32(out, Version);
    out = writeUint32(out, static_cast<uint32_t>(leaves.size()));
    out = writeUint32(out, static_cast<uint32_t>(buffer.size()));
    for (const HuffmanTree::Entry& leaf : leaves) {
        *out++ = leaf.value;
        out = writeUint32(out, leaf.count);
    }
    writeBits(buffer.data(), buffer.size(), codes, out);
    encoded.resize(encodedSize);
    return DataChunk(std::move(encoded));
}

DataChunk DataChunk::decode() const {
    if (!isEncoded(false))
        return *this;
    const uint8_t* header = buffer.data();
    const uint32_t entryCount = readUint32(header + 8);
    const uint32_t length = readUint32(header + 12);
    const size_t tableEnd = HeaderSize + size_t{entryCount} * EntrySize;
    if (entryCount == 0 || buffer.size() < tableEnd)
        return DataChunk();

    std::vector<HuffmanTree::Entry> entries(entryCount);
    for (uint32_t i = 0; i < entryCount; ++i) {
        const uint8_t* entry = header + HeaderSize + i * EntrySize;
        entries[i] = {entry[0], readUint32(entry + 1)};
    }
    if (entryCount == 1)
        return decodeSingleValue(entries[0], length);

    const HuffmanTree tree(entries);
    const HuffmanDecoder decoder(tree);
    const size_t streamSize = buffer.size() - tableEnd;
    // Every code has at least one bit: the stream bounds the output whatever the header claims.
    const size_t limit = std::min<uint64_t>(length, uint64_t{streamSize} * 8);
    std::vector<uint8_t> decoded(limit);
    decoded.resize(decoder.decode(header + tableEnd, streamSize, decoded.data(), limit));
    return DataChunk(std::move(decoded));
}

std::string DataChunk::base64Encode(const void* data, size_t length) {
    const auto* in = static_cast<const uint8_t*>(data);
    std::string text((length + 2) / 3 * 4, '=');
    char* out = text.data();
    size_t i = 0;
    for (; i + 3 <= length; i += 3, out += 4) {
        const uint32_t bits = uint32_t{in[i]} << 16 | uint32_t{in[i + 1]} << 8 | in[i + 2];
        std::memcpy(out, EncodePairs[bits >> 12].data(), 2);
        std::memcpy(out + 2, EncodePairs[bits & 0xfff].data(), 2);
    }
    const size_t rest = length - i;
    if (rest == 0)
        return text;
    const uint32_t bits = uint32_t{in[i]} << 16 | (rest == 2 ? uint32_t{in[i + 1]} << 8 : 0);
    out[0] = Alphabet[bits >> 18];
    out[1] = Alphabet[bits >> 12 & 63];
    if (rest == 2)
        out[2] = Alphabet[bits >> 6 & 63];
    return text;
}

DataChunk DataChunk::base64Decode(std::string_view text) {
    if (text.size() % 4 != 0)
        return DataChunk();
    const auto* in = reinterpret_cast<const uint8_t*>(text.data());
    const size_t groups = text.size() / 4;
    // One spare byte: a group is stored as a whole 32-bit word.
    std::vector<uint8_t> bytes(groups * 3 + 1);
    uint8_t* out = bytes.data();
    for (size_t group = 0; group < groups; ++group, in += 4) {
        const uint32_t word = decodeGroupWord(in);
        if (!(word & Invalid)) {
            if constexpr (std::endian::native == std::endian::little)
                std::memcpy(out, &word, sizeof word);
            else
                storeGroup(out, word);
            out += 3;
            continue;
        }
        const int written = decodePaddedGroup(in, out);
        if (written < 0)
            return DataChunk();
        out += written;
    }
    bytes.resize(static_cast<size_t>(out - bytes.data()));
    return DataChunk(std::move(bytes));
}

} // namespace mvk::util
