#pragma once
// Storage for the nodes and child lists that one read of a document creates: they are cut from
// large blocks instead of coming one by one from the heap. Each block counts the allocations
// still alive in it and goes back to the heap with the last one, so a tree keeps only the
// blocks its surviving nodes sit in, and nodes may outlive the arena and move between trees
// and threads. The arena also holds the document's own copy of the text, a block of its own
// that the nodes' names, texts and attributes point into; each node that points into it counts
// as one use.
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace mvk::util::xml {

class NodeArena {
public:
    struct Block {
        std::atomic<size_t> live;
    };

    // `inputBytes` sizes the blocks: a small document takes a small first block.
    explicit NodeArena(size_t inputBytes);
    // Gives up the arena's own hold on its current block; allocations keep theirs.
    ~NodeArena();
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    // Storage of `bytes` aligned for pointers, counted as one allocation of the block stored in
    // `home`. Requests too large for a block come from the heap and set `home` to null.
    void* allocate(size_t bytes, Block*& home) {
        bytes = (bytes + Alignment - 1) / Alignment * Alignment;
        if (static_cast<size_t>(limit - next) < bytes)
            return allocateSlowly(bytes, home);
        void* storage = next;
        next += bytes;
        ++handedOut;
        home = current;
        return storage;
    }

    // Copies the text into the arena's text block and returns the copy (`bytes` may be zero).
    char* copyText(const char* text, size_t bytes);
    // The text block, and one more node that points into it.
    Block* textBlock() { return text; }
    void useText() { ++textUses; }

    // One allocation of `block` is gone; the last one frees the block.
    static void release(Block* block) { release(block, 1); }
    static void release(Block* block, size_t count);

    // Releases of many allocations at once (a tree being destroyed), summed per block so a
    // whole tree costs few atomic operations. A node, its lists and its text usually sit in a
    // handful of blocks at a time, so a few blocks are summed at once.
    class Releases {
    public:
        Releases() = default;
        ~Releases() { flush(); }
        Releases(const Releases&) = delete;
        Releases& operator=(const Releases&) = delete;
        void add(Block* block) {
            if (pending[lastHit].block == block) {
                ++pending[lastHit].count;
                return;
            }
            for (Pending& slot : pending) {
                if (slot.block == block) {
                    ++slot.count;
                    lastHit = static_cast<size_t>(&slot - pending);
                    return;
                }
            }
            lastHit = nextSlot;
            Pending& slot = pending[nextSlot];
            nextSlot = (nextSlot + 1) % Slots;
            if (slot.block != nullptr)
                release(slot.block, slot.count);
            slot = {block, 1};
        }
        // The same for a document's text block, which every node of the tree holds.
        void addText(Block* block) {
            if (block != text.block) {
                if (text.block != nullptr)
                    release(text.block, text.count);
                text = {block, 0};
            }
            ++text.count;
        }
        void flush() {
            if (text.block != nullptr)
                release(text.block, text.count);
            text = {};
            for (Pending& slot : pending) {
                if (slot.block != nullptr)
                    release(slot.block, slot.count);
                slot = {};
            }
        }

    private:
        static constexpr size_t Slots = 4;
        struct Pending {
            Block* block = nullptr;
            size_t count = 0;
        };
        Pending pending[Slots];
        Pending text;
        size_t nextSlot = 0;
        size_t lastHit = 0;
    };

private:
    static constexpr size_t Alignment = alignof(std::max_align_t);

    // A new block or, for a large request, the heap.
    void* allocateSlowly(size_t bytes, Block*& home);
    void startBlock(size_t bytes);
    void leaveBlock();
    // Trades a block's reserve for the `uses` it really handed out.
    static void settle(Block* block, size_t uses);

    Block* current = nullptr;
    Block* text = nullptr;
    size_t textUses = 0;
    size_t handedOut = 0;
    char* next = nullptr;
    char* limit = nullptr;
    size_t blockBytes;
};

} // namespace mvk::util::xml
