#pragma once
// The plainest possible reader of the encoded form: one bit at a time down the code tree. Tests and
// the fuzz target hold the table-driven decoder against it.
#include "util/DataChunk.h"
#include "util/HuffmanTree.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace mvk::util::testing {

inline uint32_t readLittleEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

// Expects a chunk that passes isEncoded(false) with at least two table entries, all present.
inline std::vector<uint8_t> walkDecode(const DataChunk& chunk) {
    const uint32_t n = readLittleEndian(chunk.data() + 8);
    const uint32_t length = readLittleEndian(chunk.data() + 12);
    std::vector<HuffmanTree::Entry> entries;
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t* entry = chunk.data() + DataChunk::HeaderSize + i * DataChunk::EntrySize;
        entries.push_back({entry[0], readLittleEndian(entry + 1)});
    }
    const HuffmanTree tree(entries);
    const size_t streamStart = DataChunk::HeaderSize + n * DataChunk::EntrySize;
    std::vector<uint8_t> out;
    int node = tree.root();
    for (size_t bit = streamStart * 8; bit < chunk.size() * 8 && out.size() < length; ++bit) {
        node = tree.child(node, chunk[bit / 8] >> (bit % 8) & 1);
        if (tree.isLeaf(node)) {
            out.push_back(tree.value(node));
            node = tree.root();
        }
    }
    return out;
}

} // namespace mvk::util::testing
