#pragma once
// An append-only list for undo records that may grow very large (a value for every key a long
// take replaced). Its elements stay where they are: it grows by blocks, each twice the one
// before up to 2 MB, so a record of a few keys stays small while a large one neither copies
// what it holds nor asks the system for memory page by page.
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qvn::host {

template <class T> class RecordBlocks {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    RecordBlocks() = default;
    RecordBlocks(const RecordBlocks&) = delete;
    RecordBlocks& operator=(const RecordBlocks&) = delete;

    size_t size() const { return count; }
    bool empty() const { return count == 0; }

    T& operator[](size_t index) { return at(index); }
    const T& operator[](size_t index) const { return const_cast<RecordBlocks*>(this)->at(index); }
    T& back() { return at(count - 1); }

    void push_back(const T& value) {
        if (count == capacity)
            grow();
        at(count++) = value;
    }

private:
    static constexpr size_t HugePage = size_t{2} << 20;
    static constexpr size_t FirstBlock = 16;
    // The elements of the largest block: 2 MB of them (at least the first block's).
    static constexpr size_t LargestBlock =
        std::bit_floor(HugePage / sizeof(T)) > FirstBlock ? std::bit_floor(HugePage / sizeof(T))
                                                          : FirstBlock;
    // Blocks 0 to Doublings - 1 double in size; every later one is the largest.
    static constexpr size_t Doublings = std::countr_zero(LargestBlock / FirstBlock);
    static constexpr size_t DoubledTotal = FirstBlock * ((size_t{1} << Doublings) - 1);

    struct Free {
        void operator()(T* block) const { std::free(block); }
    };

    static size_t blockSize(size_t block) {
        return block < Doublings ? FirstBlock << block : LargestBlock;
    }

    T& at(size_t index) {
        if (index < DoubledTotal) {
            // Block k starts at FirstBlock * (2^k - 1).
            const size_t scaled = index / FirstBlock + 1;
            const auto block = static_cast<size_t>(std::bit_width(scaled) - 1);
            return blocks[block][index - FirstBlock * ((size_t{1} << block) - 1)];
        }
        const size_t beyond = index - DoubledTotal;
        return blocks[Doublings + beyond / LargestBlock][beyond % LargestBlock];
    }

    void grow() {
        const size_t elements = blockSize(blocks.size());
        const size_t bytes = elements * sizeof(T);
        void* memory = nullptr;
        if (bytes >= HugePage) {
            memory = std::aligned_alloc(HugePage, bytes);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
            // Where the system offers large pages on request, a block of this size takes one
            // at a time instead of five hundred small ones.
            if (memory != nullptr)
                madvise(memory, bytes, MADV_HUGEPAGE);
#endif
        } else {
            memory = std::malloc(bytes);
        }
        if (memory == nullptr)
            throw std::bad_alloc();
        blocks.emplace_back(static_cast<T*>(memory));
        capacity += elements;
    }

    std::vector<std::unique_ptr<T[], Free>> blocks;
    size_t count = 0;
    size_t capacity = 0;
};

} // namespace qvn::host
