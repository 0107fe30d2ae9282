#include "util/xml/NodeArena.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace mvk::util::xml {

namespace {

constexpr size_t Alignment = alignof(std::max_align_t);
constexpr size_t HeaderBytes = (sizeof(NodeArena::Block) + Alignment - 1) / Alignment * Alignment;
// A node with its share of child lists takes about two to three times the bytes of its text, so
// the first block is sized from the input; later blocks double up to the largest size.
constexpr size_t SmallestBlock = 2048;
constexpr size_t LargestBlock = 256 * 1024;
constexpr size_t Reserve = size_t{1} << 62;

} // namespace

NodeArena::NodeArena(size_t inputBytes)
    : blockBytes(std::clamp(inputBytes * 3, SmallestBlock, LargestBlock)) {}

NodeArena::~NodeArena() {
    leaveBlock();
    if (text != nullptr)
        settle(text, textUses);
}

char* NodeArena::copyText(const char* source, size_t bytes) {
    char* memory = static_cast<char*>(::operator new(HeaderBytes + bytes));
    if (text != nullptr)
        settle(text, textUses);
    text = new (memory) Block{{Reserve}};
    textUses = 0;
    char* copy = memory + HeaderBytes;
    if (bytes > 0)
        std::memcpy(copy, source, bytes);
    return copy;
}

void* NodeArena::allocateSlowly(size_t bytes, Block*& home) {
    if (bytes > blockBytes / 4) {
        home = nullptr;
        return ::operator new(bytes);
    }
    startBlock(blockBytes);
    blockBytes = std::min(blockBytes * 2, LargestBlock);
    void* storage = next;
    next += bytes;
    ++handedOut;
    home = current;
    return storage;
}

// While the arena fills a block, the block's count holds a large reserve instead of the
// allocations handed out: releases during the read cannot bring it to zero, and handing out
// costs no atomic operation. Leaving the block trades the reserve for the real number.
void NodeArena::startBlock(size_t bytes) {
    char* memory = static_cast<char*>(::operator new(HeaderBytes + bytes));
    leaveBlock();
    current = new (memory) Block{{Reserve}};
    next = memory + HeaderBytes;
    limit = next + bytes;
}

void NodeArena::leaveBlock() {
    if (current == nullptr)
        return;
    settle(current, handedOut);
    current = nullptr;
    handedOut = 0;
}

void NodeArena::settle(Block* block, size_t uses) {
    // Adding (uses - Reserve) modulo 2^64; zero left means every allocation already died.
    const size_t before = block->live.fetch_add(uses - Reserve, std::memory_order_acq_rel);
    if (before + uses - Reserve == 0) {
        block->~Block();
        ::operator delete(static_cast<void*>(block));
    }
}

void NodeArena::release(Block* block, size_t count) {
    if (block->live.fetch_sub(count, std::memory_order_acq_rel) != count)
        return;
    block->~Block();
    ::operator delete(static_cast<void*>(block));
}

} // namespace mvk::util::xml
