#include "util/HuffmanDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace mvk::util {

// Bits come least-significant first. The buffer holds `count` valid bits from bit 0 upwards; any
// bits above them are either zero or the stream's own next bits, so a table look-up may peek past
// `count` and only has to check a code's length against it.
class HuffmanDecoder::BitReader {
public:
    BitReader(const uint8_t* bits, size_t size) : next(bits), end(bits + size) {}

    bool canRefillFast() const { return end - next >= 8; }
    // Tops the buffer up to at least 56 bits with one unaligned load; needs canRefillFast().
    void refillFast() {
        uint64_t word;
        std::memcpy(&word, next, sizeof word);
        if constexpr (std::endian::native == std::endian::big)
            word = byteSwap(word);
        buffer |= word << count;
        next += (63 - count) >> 3;
        count |= 56;
    }
    // Byte by byte, for the last bytes of the stream.
    void refillSafe() {
        while (count <= 56 && next < end) {
            buffer |= uint64_t{*next++} << count;
            count += 8;
        }
    }
    uint64_t peek() const { return buffer; }
    unsigned available() const { return count; }
    void consume(unsigned bits) {
        buffer >>= bits;
        count -= bits;
    }

private:
    static uint64_t byteSwap(uint64_t word) {
        uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i, word >>= 8)
            swapped = swapped << 8 | (word & 0xff);
        return swapped;
    }

    const uint8_t* next;
    const uint8_t* end;
    uint64_t buffer = 0;
    unsigned count = 0;
};

HuffmanDecoder::HuffmanDecoder(const HuffmanTree& tree) : leafCount(tree.leafCount()) {
    values.resize(leafCount);
    for (int leaf = 0; leaf < leafCount; ++leaf)
        values[leaf] = tree.value(leaf);
    children.resize(leafCount > 0 ? leafCount - 1 : 0);
    for (int node = leafCount; node < 2 * leafCount - 1; ++node)
        for (int branch = 0; branch < 2; ++branch)
            children[node - leafCount][branch] = static_cast<uint16_t>(tree.child(node, branch));
    uint32_t deepest = 0;
    for (const HuffmanTree::Code& code : tree.codes())
        deepest = std::max(deepest, code.length);
    // A small tree gets a small table: building it costs more than decoding a short stream.
    tableBits = std::min<unsigned>(TableBits, deepest);
    pairUp(singleCodeTable(tree));
}

// One code per look-up: value | length << 8, or 0x8000 | the node at depth tableBits.
std::vector<uint16_t> HuffmanDecoder::singleCodeTable(const HuffmanTree& tree) const {
    std::vector<uint16_t> single(size_t{1} << tableBits, 0);
    struct Pending {
        int node;
        unsigned depth;
        uint32_t bits;
    };
    std::vector<Pending> pending{{tree.root(), 0, 0}};
    while (!pending.empty()) {
        const Pending item = pending.back();
        pending.pop_back();
        if (tree.isLeaf(item.node)) {
            const auto entry = static_cast<uint16_t>(tree.value(item.node) | item.depth << 8);
            for (size_t index = item.bits; index < single.size(); index += size_t{1} << item.depth)
                single[index] = entry;
        } else if (item.depth == tableBits) {
            single[item.bits] = static_cast<uint16_t>(0x8000 | item.node);
        } else {
            pending.push_back({tree.child(item.node, 0), item.depth + 1, item.bits});
            pending.push_back(
                {tree.child(item.node, 1), item.depth + 1, item.bits | 1u << item.depth});
        }
    }
    return single;
}

// Decoding is bound by the chain look-up, shift, next look-up; taking a second code from the
// same look-up whenever its bits are all inside the index shortens that chain.
void HuffmanDecoder::pairUp(const std::vector<uint16_t>& single) {
    table.resize(single.size());
    for (size_t index = 0; index < single.size(); ++index) {
        const uint32_t first = single[index];
        if (first & 0x8000) {
            table[index] = LongCode | (first & 0x7fff) << 8;
            continue;
        }
        const uint32_t firstLength = first >> 8;
        uint32_t entry = firstLength | (first & 0xff) << 8 | firstLength << 24 | 1u << 28;
        const uint32_t second = single[index >> firstLength];
        const uint32_t secondLength = second >> 8;
        if (!(second & 0x8000) && firstLength + secondLength <= tableBits)
            entry = (firstLength + secondLength) | (first & 0xff) << 8 | (second & 0xff) << 16 |
                    firstLength << 24 | 2u << 28;
        table[index] = entry;
    }
}

size_t HuffmanDecoder::decode(const uint8_t* bits, size_t size, uint8_t* out, size_t limit) const {
    // Five look-ups of at most 11 bits fit in the 56 bits a fast refill guarantees; each writes
    // two bytes, the second of which a one-code entry leaves to be overwritten.
    constexpr size_t LookUpsPerRefill = 5;
    static_assert(LookUpsPerRefill * TableBits <= 56);
    BitReader reader(bits, size);
    const uint32_t* entries = table.data();
    const uint64_t mask = (uint64_t{1} << tableBits) - 1;
    size_t produced = 0;
    while (produced < limit) {
        if (reader.canRefillFast() && limit - produced >= 2 * LookUpsPerRefill) {
            reader.refillFast();
            size_t lookUps = 0;
            for (; lookUps < LookUpsPerRefill; ++lookUps) {
                const uint32_t entry = entries[reader.peek() & mask];
                if (entry & LongCode)
                    break;
                out[produced] = static_cast<uint8_t>(entry >> 8);
                out[produced + 1] = static_cast<uint8_t>(entry >> 16);
                produced += entry >> 28;
                reader.consume(entry & 63);
            }
            if (lookUps == LookUpsPerRefill)
                continue;
        }
        uint8_t value;
        if (!decodeSlow(reader, value))
            break;
        out[produced++] = value;
    }
    return produced;
}

// One code with every length checked against the bits that are really there: used for long codes
// and for the end of the stream.
bool HuffmanDecoder::decodeSlow(BitReader& reader, uint8_t& value) const {
    reader.refillSafe();
    if (reader.available() == 0)
        return false;
    const uint32_t entry = table[reader.peek() & ((uint64_t{1} << tableBits) - 1)];
    if (!(entry & LongCode)) {
        const unsigned length = entry >> 24 & 15;
        if (length > reader.available())
            return false;
        reader.consume(length);
        value = static_cast<uint8_t>(entry >> 8);
        return true;
    }
    if (reader.available() < tableBits)
        return false;
    reader.consume(tableBits);
    return walk(reader, static_cast<int>(entry >> 8 & 0xffff), value);
}

bool HuffmanDecoder::walk(BitReader& reader, int node, uint8_t& value) const {
    while (node >= leafCount) {
        if (reader.available() == 0) {
            reader.refillSafe();
            if (reader.available() == 0)
                return false;
        }
        node = children[node - leafCount][reader.peek() & 1];
        reader.consume(1);
    }
    value = values[node];
    return true;
}

} // namespace mvk::util
