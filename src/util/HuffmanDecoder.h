#pragma once
// Table-driven decoding of a HuffmanTree bit stream. Short codes resolve with one look-up of the
// next TableBits bits; the format does not bound code lengths, so longer codes continue with a
// walk down the tree from the node the table reaches.
#include "util/HuffmanTree.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mvk::util {

class HuffmanDecoder {
public:
    static constexpr unsigned TableBits = 11;

    // The tree needs at least two leaves (one leaf has no bits to decode).
    explicit HuffmanDecoder(const HuffmanTree& tree);

    // Writes at most `limit` bytes to `out` and returns how many it wrote: fewer when the stream
    // ends inside a code. Never reads outside [bits, bits + size).
    size_t decode(const uint8_t* bits, size_t size, uint8_t* out, size_t limit) const;

private:
    class BitReader;

    std::vector<uint16_t> singleCodeTable(const HuffmanTree& tree) const;
    void pairUp(const std::vector<uint16_t>& single);
    bool decodeSlow(BitReader& reader, uint8_t& value) const;
    bool walk(BitReader& reader, int node, uint8_t& value) const;

    // A look-up of the next tableBits bits yields the one or two whole codes they start with:
    // bits 0-7 the bits both take, 8-15 the first value, 16-23 the second, 24-27 the first
    // code's length, 28-29 how many codes. Bit 31 marks a code longer than the table, with the
    // tree node reached after tableBits bits in bits 8-23.
    static constexpr uint32_t LongCode = 0x80000000u;
    std::vector<uint32_t> table;
    unsigned tableBits = 0;
    int leafCount = 0;
    std::vector<uint8_t> values;
    std::vector<std::array<uint16_t, 2>> children;
};

} // namespace mvk::util
