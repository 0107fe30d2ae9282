#pragma once
// The code tree behind DataChunk's encoding. Encoder and decoder must grow the very same tree from
// the table, so both go through this one builder.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mvk::util {

class HuffmanTree {
public:
    struct Entry {
        uint8_t value;
        uint32_t count;
    };
    // A leaf's code: the branches from the root, the root's branch in bit 0 (1 = right child).
    // Only the first 64 branches are kept in `bits`; `length` is the full depth.
    struct Code {
        uint64_t bits = 0;
        uint32_t length = 0;
    };

    // Builds over the entries in the given order. Leaves are nodes 0 to n-1 in that order, inner
    // nodes follow in the order they were made, so a child's id is always below its parent's.
    explicit HuffmanTree(const std::vector<Entry>& entries);

    int leafCount() const { return static_cast<int>(entries.size()); }
    // -1 for an empty table; the single leaf when there is one entry.
    int root() const { return rootNode; }
    bool isLeaf(int node) const { return node < leafCount(); }
    uint8_t value(int leaf) const { return entries[leaf].value; }
    // Child 0 (left) or 1 (right) of an inner node.
    int child(int node, int branch) const { return children[node - leafCount()][branch]; }

    // Codes of the leaves, indexed like the leaves.
    std::vector<Code> codes() const;

private:
    void build();

    std::vector<Entry> entries;
    std::vector<std::array<int, 2>> children;
    int rootNode = -1;
};

} // namespace mvk::util
