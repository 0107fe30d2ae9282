#include "util/HuffmanTree.h"

namespace mvk::util {

HuffmanTree::HuffmanTree(const std::vector<Entry>& entries) : entries(entries) {
    build();
}

// The list stays ordered by count: positions i and i + 1 are always the two lightest nodes not yet
// merged, and a merged node goes after every node of equal count. Node ids are stable while the
// list holds their positions, so nothing needs renumbering when a node is inserted.
void HuffmanTree::build() {
    const size_t n = entries.size();
    if (n == 0)
        return;
    // Sums in 64 bits: a damaged table may hold counts whose 32-bit sum would wrap.
    std::vector<uint64_t> counts(2 * n - 1);
    std::vector<int> list(n);
    list.reserve(2 * n - 1);
    for (size_t leaf = 0; leaf < n; ++leaf) {
        counts[leaf] = entries[leaf].count;
        list[leaf] = static_cast<int>(leaf);
    }
    children.reserve(n - 1);
    for (size_t i = 0; i + 1 < list.size(); i += 2) {
        const int left = list[i];
        const int right = list[i + 1];
        const int node = static_cast<int>(n + children.size());
        counts[node] = counts[left] + counts[right];
        children.push_back({left, right});
        size_t j = i + 2;
        while (j < list.size() && counts[node] >= counts[list[j]])
            ++j;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), node);
    }
    rootNode = list.back();
}

std::vector<HuffmanTree::Code> HuffmanTree::codes() const {
    const int n = leafCount();
    std::vector<Code> nodeCodes(n == 0 ? 0 : 2 * n - 1);
    // Parents have higher ids than their children, so one downward sweep reaches every node.
    for (int node = rootNode; node >= n; --node) {
        const Code parent = nodeCodes[node];
        for (int branch = 0; branch < 2; ++branch) {
            Code code = parent;
            if (branch == 1 && code.length < 64)
                code.bits |= uint64_t{1} << code.length;
            ++code.length;
            nodeCodes[child(node, branch)] = code;
        }
    }
    nodeCodes.resize(n);
    return nodeCodes;
}

} // namespace mvk::util
