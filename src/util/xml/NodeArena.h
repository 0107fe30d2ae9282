#pragma once
// Storage for the nodes and child lists that one read of a document creates: they are cut from
// large blocks instead of coming one by one from the heap. Each block counts the allocations
// still alive in it and goes back to the heap with the last one, so a tree keeps only the
// blocks its surviving nodes sit in, and nodes may outlive the arena and move between trees
// and threads.
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

    // One allocation of `block` is gone; the last one frees the block.
    static void release(Block* block) { release(block, 1); }
    static void release(Block* block, size_t count);

    // Releases of many allocations at once (a tree being destroyed), summed per run of the
    // same block so a whole tree costs few atomic operations.
    class Releases {
    public:
        Releases() = default;
        ~Releases() { flush(); }
        Releases(const Releases&) = delete;
        Releases& operator=(const Releases&) = delete;
        void add(Block* block) {
            if (block != pending) {
                flush();
                pending = block;
            }
            ++count;
        }
        void flush() {
            if (pending != nullptr)
                release(pending, count);
            pending = nullptr;
            count = 0;
        }

    private:
        Block* pending = nullptr;
        size_t count = 0;
    };

private:
    static constexpr size_t Alignment = alignof(std::max_align_t);

    // A new block or, for a large request, the heap.
    void* allocateSlowly(size_t bytes, Block*& home);
    void startBlock(size_t bytes);
    void leaveBlock();

    Block* current = nullptr;
    size_t handedOut = 0;
    char* next = nullptr;
    char* limit = nullptr;
    size_t blockBytes;
};

} // namespace mvk::util::xml
