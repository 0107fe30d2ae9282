#include "util/AVar.h"
#include "sdk/CVariableModUndo.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace qvn::test {
namespace {

using Curve = mvk::util::AVar_Linear<double>;
using Key = Curve::Key;

Curve curveOf(const std::vector<Key>& keys) {
    Curve curve;
    for (const Key& key : keys)
        curve.setKey(key.time, key.value);
    return curve;
}

std::vector<uint8_t> blockOf(const Curve& curve) {
    std::vector<uint8_t> block(curve.serializedSize());
    curve.write(block.data(), block.size());
    return block;
}

// Writes the low `width` bytes of `value` at `offset`, lowest first, when they fit.
void putBytes(std::vector<uint8_t>& block, size_t offset, uint64_t value, size_t width) {
    if (offset + width > block.size())
        return;
    for (size_t i = 0; i < width; ++i)
        block[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void putU32(std::vector<uint8_t>& block, size_t offset, uint32_t value) {
    putBytes(block, offset, value, 4);
}

// Bytes that end exactly where readable memory ends: reading one byte too far faults.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::vector<uint8_t>& bytes) {
        page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        memory = static_cast<uint8_t*>(
            mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(memory + page, page, PROT_NONE);
        start = memory + page - bytes.size();
        if (!bytes.empty())
            std::memcpy(start, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { munmap(memory, 2 * page); }
    const uint8_t* data() const { return start; }

private:
    size_t page = 0;
    uint8_t* memory = nullptr;
    uint8_t* start = nullptr;
};

const std::vector<Key> sample = {{-1.5, 2.0}, {0.0, 0.1}, {3.0, -7.0}};

TEST(AVarTest, BlocksCarryTheLittleEndianLayoutAndReadBackExactly) {
    const Curve curve = curveOf(sample);
    ASSERT_EQ(curve.serializedSize(), 64u);
    const std::vector<uint8_t> block = blockOf(curve);
    const std::vector<uint8_t> header = {16, 0, 0, 0, 48, 0, 0, 0, 100, 0, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 16), header);
    // -1.5 is 0xBFF8000000000000, lowest byte first.
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 16, block.begin() + 24),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF8, 0xBF}));

    Curve read = curveOf({{9, 9}});
    read.read(block.data(), block.size());
    EXPECT_TRUE(read.sameKeys(curve));

    // Too small for the keys: only the header goes out; too small for that: nothing.
    std::vector<uint8_t> small(63, 0xAA);
    curve.write(small.data(), small.size());
    EXPECT_EQ(std::vector<uint8_t>(small.begin(), small.begin() + 16), header);
    EXPECT_EQ(small[16], 0xAA);
    std::vector<uint8_t> tiny(15, 0xAA);
    curve.write(tiny.data(), tiny.size());
    EXPECT_EQ(tiny, std::vector<uint8_t>(15, 0xAA));
}

TEST(AVarTest, DamagedBlocksLeaveTheCurveOrPlaceholderKeys) {
    const Curve before = curveOf({{5, 5}});
    const std::vector<uint8_t> good = blockOf(curveOf(sample));

    std::vector<uint8_t> version101 = good;
    putU32(version101, 8, 101);
    std::vector<uint8_t> header12 = good;
    putU32(header12, 0, 12);
    for (const auto* block : {&version101, &header12}) {
        Curve curve = before;
        curve.read(block->data(), block->size());
        EXPECT_TRUE(curve.sameKeys(before));
    }

    // The count says three keys, the payload size two: three keys at -1, none of the data.
    std::vector<uint8_t> payload = good;
    putU32(payload, 4, 32);
    Curve placeholders = before;
    placeholders.read(payload.data(), payload.size());
    EXPECT_EQ(placeholders.allKeys(), (std::vector<Key>{{-1, 0}, {-1, 0}, {-1, 0}}));

    // Cut short anywhere, a block is never read past its end and changes nothing.
    for (size_t length = 0; length < good.size(); ++length) {
        const GuardedBytes bytes(std::vector<uint8_t>(good.begin(), good.begin() + length));
        Curve curve = before;
        curve.read(bytes.data(), length);
        EXPECT_TRUE(curve.sameKeys(before)) << length;
    }
    // A count no buffer could back asks for nothing.
    std::vector<uint8_t> huge(good.begin(), good.begin() + 16);
    putU32(huge, 4, 0);
    putU32(huge, 12, 0xFFFFFFFF);
    Curve curve = before;
    curve.read(huge.data(), huge.size());
    EXPECT_TRUE(curve.sameKeys(before));
}

TEST(AVarTest, ACursorGivesTheSameValuesForwardBackwardAndAfterJumps) {
    Curve curve;
    for (int i = 0; i < 50; ++i)
        curve.setKey(i * 0.1, std::sin(i * 0.7) * 3);
    std::vector<double> times;
    for (int i = -3; i < 60; ++i)
        times.push_back(i * 0.05);
    for (int i = 60; i > -3; --i)
        times.push_back(i * 0.037);
    for (double t : {4.9, 0.0, 2.5, 2.5, 0.35, 4.85, -1.0, 4.95, 1.0 / 3})
        times.push_back(t);
    size_t cursor = 0;
    for (double t : times)
        EXPECT_EQ(curve.valueAt(t, cursor), curve.valueAt(t)) << t;
    size_t stale = 1000;
    EXPECT_EQ(curve.valueAt(2.55, stale), curve.valueAt(2.55));
    EXPECT_EQ(Curve().valueAt(1, cursor), 0);
}

// A curve read from a block may hold its keys out of order, twice at one time or at NaN; a
// cursor walking it must still answer exactly what a plain look-up does, and so must a curve
// that was in order until a NaN key was set.
TEST(AVarTest, ACursorOverKeysOutOfOrderAnswersLikeAPlainLookUp) {
    auto bits = [](double value) { return std::bit_cast<uint64_t>(value); };
    auto blockWith = [](const std::vector<Key>& keys) {
        std::vector<uint8_t> block(16 + 16 * keys.size());
        putU32(block, 0, 16);
        putU32(block, 4, static_cast<uint32_t>(16 * keys.size()));
        putU32(block, 8, 100);
        putU32(block, 12, static_cast<uint32_t>(keys.size()));
        for (size_t i = 0; i < keys.size(); ++i) {
            putBytes(block, 16 + 16 * i, std::bit_cast<uint64_t>(keys[i].time), 8);
            putBytes(block, 24 + 16 * i, std::bit_cast<uint64_t>(keys[i].value), 8);
        }
        return block;
    };
    const double nan = std::nan("");
    std::vector<Curve> curves;
    for (const std::vector<Key>& keys :
         std::vector<std::vector<Key>>{{{0.5, 1}, {0.1, -2}, {0.3, 4}, {0.9, 8}, {0.7, -0.0}},
                                       {{0.1, 1}, {0.1, 3}, {0.4, -5}, {0.4, 7}, {0.8, 2}},
                                       {{0.2, 1}, {nan, 6}, {0.6, -3}, {1.0, 2}},
                                       {{0.0, 1}, {0.3, -2}, {0.6, 5}}}) {
        Curve curve;
        const std::vector<uint8_t> block = blockWith(keys);
        curve.read(block.data(), block.size());
        ASSERT_EQ(curve.keyCount(), keys.size());
        curves.push_back(curve);
    }
    Curve laterNaN = curveOf({{0.0, 1}, {0.25, -1}, {0.5, 3}, {0.75, 0}});
    laterNaN.setKey(nan, 9);
    curves.push_back(laterNaN);
    for (size_t c = 0; c < curves.size(); ++c) {
        const Curve& curve = curves[c];
        size_t cursor = 0;
        for (int step = -2; step <= 24; ++step) {
            const double t = step * 0.05;
            EXPECT_EQ(bits(curve.valueAt(t, cursor)), bits(curve.valueAt(t)))
                << "curve " << c << " at " << t;
        }
        for (const Key& key : curve.allKeys())
            EXPECT_EQ(bits(curve.valueAt(key.time, cursor)), bits(curve.valueAt(key.time)))
                << "curve " << c << " at its key " << key.time;
    }
}

TEST(AVarTest, TheVariableRecordSwapsOnceOnUndoAndBackOnRedo) {
    auto lifetime = std::make_shared<const int>(0);
    std::vector<int> variable = {1};
    mvk::qvn::CVariableModUndo<std::vector<int>> record(&variable, lifetime);
    variable = {2};
    record.redo(); // nothing undone yet
    EXPECT_EQ(variable, std::vector<int>{2});
    record.restore(true);
    record.restore(true);
    EXPECT_EQ(variable, std::vector<int>{1});
    record.redo();
    record.redo();
    EXPECT_EQ(variable, std::vector<int>{2});

    // A restore that is no undo takes the present value as the one to come back to.
    variable = {3};
    record.restore(false);
    variable = {4};
    record.restore(true);
    EXPECT_EQ(variable, std::vector<int>{3});

    // Once the owner has gone, the record keeps its hands off.
    record.redo();
    lifetime.reset();
    record.restore(true);
    EXPECT_EQ(variable, std::vector<int>{4});
}

} // namespace
} // namespace qvn::test
