// Damaged and hostile encoded chunks: the decoder must stay inside the bytes it was given, size
// its output from them rather than from the header, and agree with a bit-by-bit tree walk.
#include "datachunk/WalkingDecoder.h"
#include "util/DataChunk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using mvk::util::DataChunk;
using mvk::util::testing::walkDecode;
using Bytes = std::vector<uint8_t>;

void putUint32(Bytes& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i, value >>= 8)
        bytes.push_back(static_cast<uint8_t>(value));
}

Bytes header(uint32_t entries, uint32_t length) {
    Bytes bytes;
    putUint32(bytes, 5452234);
    putUint32(bytes, 100);
    putUint32(bytes, entries);
    putUint32(bytes, length);
    return bytes;
}

void putEntry(Bytes& bytes, uint8_t value, uint32_t count) {
    bytes.push_back(value);
    putUint32(bytes, count);
}

// "abb" with the given claimed length: table a (1), b (2), one stream byte 0b110.
Bytes abbClaiming(uint32_t length) {
    Bytes bytes = header(2, length);
    putEntry(bytes, 'a', 1);
    putEntry(bytes, 'b', 2);
    bytes.push_back(6);
    return bytes;
}

std::string textOf(const DataChunk& chunk) {
    return std::string(chunk.bytes().begin(), chunk.bytes().end());
}

TEST(DataChunkDecodeBoundsTest, ClaimedLengthBeyondTheStreamDecodesOnlyTheBitsPresent) {
    // The padding zeros read as 'a': eight one-bit codes is all one stream byte can carry.
    EXPECT_EQ(textOf(DataChunk(abbClaiming(100)).decode()), "abbaaaaa");
    EXPECT_EQ(textOf(DataChunk(abbClaiming(0xffffffffu)).decode()), "abbaaaaa");
    EXPECT_EQ(textOf(DataChunk(abbClaiming(2)).decode()), "ab");
    EXPECT_TRUE(DataChunk(abbClaiming(0)).decode().empty());

    Bytes noStream = abbClaiming(0xffffffffu);
    noStream.pop_back();
    EXPECT_TRUE(DataChunk(noStream).decode().empty());
}

TEST(DataChunkDecodeBoundsTest, SingleValueOutputIsBoundedByItsCount) {
    Bytes hugeLength = header(1, 0xffffffffu);
    putEntry(hugeLength, 'q', 3);
    EXPECT_EQ(textOf(DataChunk(hugeLength).decode()), "qqq");

    Bytes hugeCount = header(1, 3);
    putEntry(hugeCount, 'q', 0xffffffffu);
    EXPECT_EQ(textOf(DataChunk(hugeCount).decode()), "qqq");

    // No entries describe no bytes, whatever the length says.
    EXPECT_TRUE(DataChunk(header(0, 0xffffffffu)).decode().empty());
}

TEST(DataChunkDecodeBoundsTest, TruncatedTableDecodesToNothing) {
    for (uint32_t entries : {1u, 2u, 256u}) {
        Bytes bytes = header(entries, 50);
        for (uint32_t i = 0; i + 1 < entries; ++i)
            putEntry(bytes, static_cast<uint8_t>(i), i + 1);
        bytes.push_back('z'); // a partial last entry
        EXPECT_TRUE(DataChunk(bytes).decode().empty()) << entries << " entries";
    }
}

// An encoding whose codes run from 1 to 15 bits, the rarest values placed last.
Bytes deepText() {
    Bytes bytes;
    uint32_t previous = 1;
    uint32_t current = 1;
    for (int value = 0; value < 16; ++value) {
        bytes.insert(bytes.end(), current, static_cast<uint8_t>('A' + value));
        const uint32_t next = previous + current;
        previous = current;
        current = next;
    }
    std::shuffle(bytes.begin(), bytes.end() - 40, std::mt19937(3));
    std::reverse(bytes.end() - 40, bytes.end());
    return bytes;
}

TEST(DataChunkDecodeBoundsTest, EveryCutOfAnEncodingDecodesToTheWholeCodesBeforeTheCut) {
    const Bytes original = deepText();
    const DataChunk encoded = DataChunk(original).encode();
    ASSERT_EQ(encoded.decode().bytes(), original);
    const size_t streamStart = 16 + 5 * 16;
    size_t previousSize = 0;
    for (size_t cut = encoded.size(); cut-- > 0;) {
        // An exactly sized copy, so a sanitizer sees any read past the cut.
        const DataChunk truncated(encoded.data(), cut);
        const Bytes decoded = truncated.decode().bytes();
        if (cut < 16) {
            EXPECT_EQ(decoded, truncated.bytes());
            continue;
        }
        if (cut < streamStart) {
            EXPECT_TRUE(decoded.empty());
            continue;
        }
        ASSERT_EQ(decoded, walkDecode(truncated)) << "cut at " << cut;
        ASSERT_TRUE(std::equal(decoded.begin(), decoded.end(), original.begin()));
        if (cut + 1 < encoded.size()) {
            ASSERT_LE(decoded.size(), previousSize);
        }
        previousSize = decoded.size();
    }
}

TEST(DataChunkDecodeBoundsTest, ShorterClaimedLengthStopsExactlyThere) {
    // Long enough for the fast path, which may take two codes per look-up.
    std::mt19937 random(11);
    Bytes original(20000);
    for (uint8_t& byte : original)
        byte = static_cast<uint8_t>('a' + random() % 3 + (random() % 50 == 0 ? random() % 60 : 0));
    const DataChunk encoded = DataChunk(original).encode();
    for (uint32_t length = 0; length < 20000; length += length < 64 ? 1 : 997) {
        Bytes bytes = encoded.bytes();
        for (int i = 0; i < 4; ++i)
            bytes[12 + i] = static_cast<uint8_t>(length >> (8 * i));
        ASSERT_EQ(DataChunk(bytes).decode().bytes(),
                  Bytes(original.begin(), original.begin() + length))
            << "length " << length;
    }
}

// Random tables in any order with any counts (zero, equal, huge), random streams and lengths:
// whatever tree such a table grows, both readers must produce the same bytes.
TEST(DataChunkDecodeBoundsTest, HostileTablesDecodeLikeATreeWalk) {
    std::mt19937 random(99);
    std::uniform_int_distribution<uint32_t> anyCount(0, 0xffffffffu);
    for (int round = 0; round < 400; ++round) {
        const uint32_t entries = 2 + random() % 255;
        const size_t streamSize = random() % 3000;
        const uint32_t length = round % 3 == 0 ? 0xffffffffu : random() % 20000;
        Bytes bytes = header(entries, length);
        for (uint32_t i = 0; i < entries; ++i) {
            uint32_t count;
            switch (round % 4) {
            case 0:
                count = anyCount(random);
                break;
            case 1:
                count = random() % 4;
                break;
            case 2:
                count = uint32_t{1} << (i % 32);
                break;
            default:
                count = 1000 + static_cast<uint32_t>(random() % 8);
                break;
            }
            putEntry(bytes, static_cast<uint8_t>(random()), count);
        }
        for (size_t i = 0; i < streamSize; ++i)
            bytes.push_back(static_cast<uint8_t>(random()));
        const DataChunk chunk(bytes);
        const Bytes decoded = chunk.decode().bytes();
        ASSERT_EQ(decoded, walkDecode(chunk)) << "round " << round;
        ASSERT_LE(decoded.size(), std::min<size_t>(length, streamSize * 8));
    }
}

TEST(DataChunkDecodeBoundsTest, CodesAsLongAsThirtyTwoBitCountsAllowDecodeLikeATreeWalk) {
    // Ascending Fibonacci counts up to the 32-bit limit: the deepest conforming tree, codes of
    // about 45 bits, so walks cross several buffer refills.
    Bytes bytes = header(46, 0xffffffffu);
    uint32_t previous = 1;
    uint32_t current = 1;
    for (int value = 0; value < 46; ++value) {
        putEntry(bytes, static_cast<uint8_t>(value), current);
        const uint64_t next = uint64_t{previous} + current;
        previous = current;
        current = static_cast<uint32_t>(std::min<uint64_t>(next, 0xffffffffu));
    }
    std::mt19937 random(5);
    for (int i = 0; i < 4000; ++i)
        bytes.push_back(static_cast<uint8_t>(random() | random()));
    const DataChunk chunk(bytes);
    const Bytes decoded = chunk.decode().bytes();
    EXPECT_GT(decoded.size(), 100u);
    EXPECT_EQ(decoded, walkDecode(chunk));
}

} // namespace
