// The encoded form byte for byte, round trips over many shapes of input, and damaged or hostile
// chunks: the decoder must stay inside the bytes it was given, size its output from them rather
// than from the header, and agree with a bit-by-bit tree walk.
#include "util/DataChunk.h"
#include "datachunk/WalkingDecoder.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
    for (uint32_t word : {DataChunk::Magic, DataChunk::Version, entries, length})
        putUint32(bytes, word);
    return bytes;
}

void putEntry(Bytes& bytes, uint8_t value, uint32_t count) {
    bytes.push_back(value);
    putUint32(bytes, count);
}

struct TableEntry {
    char value;
    uint32_t count;
};

// An encoded chunk assembled by hand: header, table in the given order, then the stream bytes.
Bytes encodedForm(uint32_t length, const std::vector<TableEntry>& table, const Bytes& stream) {
    Bytes bytes = header(static_cast<uint32_t>(table.size()), length);
    for (const TableEntry& entry : table)
        putEntry(bytes, static_cast<uint8_t>(entry.value), entry.count);
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}

// "abb" with the given claimed length: table a (1), b (2), one stream byte 0b110.
Bytes abbClaiming(uint32_t length) {
    return encodedForm(length, {{'a', 1}, {'b', 2}}, {6});
}

DataChunk chunkOf(const std::string& text) {
    return DataChunk(text.data(), text.size());
}

std::string textOf(const DataChunk& chunk) {
    return std::string(chunk.bytes().begin(), chunk.bytes().end());
}

// Counts growing like the Fibonacci numbers, held at the 32-bit limit: the deepest code tree
// their total allows.
std::vector<uint32_t> fibonacciCounts(int values) {
    std::vector<uint32_t> counts;
    uint64_t previous = 1;
    uint64_t current = 1;
    for (int value = 0; value < values; ++value) {
        counts.push_back(static_cast<uint32_t>(current));
        const uint64_t next = std::min<uint64_t>(previous + current, 0xffffffffu);
        previous = current;
        current = next;
    }
    return counts;
}

// `values` byte values, each as often as its Fibonacci count.
Bytes fibonacciBytes(int values) {
    Bytes bytes;
    const std::vector<uint32_t> counts = fibonacciCounts(values);
    for (int value = 0; value < values; ++value)
        bytes.insert(bytes.end(), counts[value], static_cast<uint8_t>(value));
    return bytes;
}

void expectRoundTrip(const Bytes& original) {
    const DataChunk encoded = DataChunk(original).encode();
    ASSERT_TRUE(encoded.isEncoded(true));
    ASSERT_EQ(encoded.decode().bytes(), original) << "size " << original.size();
}

TEST(DataChunkTest, LoadFileReadsEveryByteAndRefusesWhatItCannotRead) {
    qvn::test::TestEnvironment environment;
    std::string binary = "line\r\nzero\0byte\xff";
    binary.resize(200000, '\x80');
    DataChunk chunk;
    ASSERT_TRUE(chunk.loadFile(environment.writeFile("files/blob.prm", binary)));
    EXPECT_EQ(textOf(chunk), binary);
    EXPECT_TRUE(chunk.loadFile(environment.writeFile("files/empty.prm", "")));
    EXPECT_TRUE(chunk.empty());

    chunk = chunkOf("kept");
    EXPECT_FALSE(chunk.loadFile(environment.root() + "/files/missing.prm"));
    EXPECT_FALSE(chunk.loadFile(environment.root() + "/files"));
    EXPECT_EQ(textOf(chunk), "kept");
}

TEST(DataChunkTest, EncodedFormByteForByte) {
    const std::pair<std::string, Bytes> cases[] = {
        {"", encodedForm(0, {}, {})},
        // A single byte value has an empty bit stream.
        {"aaaa", encodedForm(4, {{'a', 4}}, {})},
        // a (1) then b (2): a is the left child (0), b the right (1); bits 0,1,1 make 6.
        {"abb", abbClaiming(3)},
        // b+a (2) lands after c (2), so c is merged with it and sits nearest the root: c = 0,
        // b = 1,0, a = 1,1. "abcc" packs 1,1, 1,0, 0, 0 into 0b000111.
        {"abcc", encodedForm(4, {{'b', 1}, {'a', 1}, {'c', 2}}, {7})},
    };
    for (const auto& [text, form] : cases) {
        const DataChunk encoded = chunkOf(text).encode();
        EXPECT_EQ(encoded.bytes(), form) << text;
        EXPECT_TRUE(encoded.isEncoded(true)) << text;
        EXPECT_EQ(textOf(encoded.decode()), text);
    }
    // The tree follows the stored order, so the same text has a different stream per order.
    EXPECT_EQ(textOf(DataChunk(encodedForm(3, {{'b', 1}, {'c', 1}, {'a', 1}}, {26})).decode()),
              "abc");
}

TEST(DataChunkTest, DataWithoutTheHeaderPassesThroughUnchanged) {
    const std::string texts[] = {"<QVT_Plugin name=\"x\"/>", std::string(15, '\0')};
    for (const std::string& text : texts)
        EXPECT_EQ(textOf(chunkOf(text).decode()), text);

    // A good magic with a wrong version, or more than 256 entries, is not the encoded form.
    Bytes wrongVersion = abbClaiming(3);
    wrongVersion[4] = 101;
    EXPECT_EQ(DataChunk(wrongVersion).decode().bytes(), wrongVersion);
    Bytes tooManyEntries = header(257, 0);
    EXPECT_FALSE(DataChunk(tooManyEntries).isEncoded(false));
    EXPECT_EQ(DataChunk(tooManyEntries).decode().bytes(), tooManyEntries);
}

TEST(DataChunkTest, TableCheckWantsEveryEntryAndNonDecreasingCounts) {
    const DataChunk unordered(encodedForm(3, {{'b', 2}, {'a', 1}}, {1}));
    EXPECT_TRUE(unordered.isEncoded(false));
    EXPECT_FALSE(unordered.isEncoded(true));
    // Counts are unsigned: 2^31 sorts after 1.
    EXPECT_TRUE(DataChunk(encodedForm(0, {{'a', 1}, {'b', 0x80000000u}}, {})).isEncoded(true));

    Bytes truncated = encodedForm(3, {{'a', 1}, {'b', 2}}, {});
    truncated.pop_back();
    EXPECT_TRUE(DataChunk(truncated).isEncoded(false));
    EXPECT_FALSE(DataChunk(truncated).isEncoded(true));
    Bytes shortHeader = header(0, 0);
    shortHeader.pop_back();
    EXPECT_FALSE(DataChunk(shortHeader).isEncoded(false));
}

TEST(DataChunkTest, RoundTripsUniformSkewedAndNearlyConstantBytes) {
    std::mt19937 random(1234);
    for (double skew : {0.0, 1.0, 3.0}) {
        // skew 0 is uniform; larger values weigh low byte values ever more heavily.
        std::vector<double> weights(256);
        for (int value = 0; value < 256; ++value)
            weights[value] = std::pow(value + 1.0, -skew);
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        for (size_t size : {0u, 1u, 2u, 5u, 64u, 79u, 4099u, 300001u}) {
            Bytes bytes(size);
            for (uint8_t& byte : bytes)
                byte = static_cast<uint8_t>(pick(random));
            expectRoundTrip(bytes);
        }
    }
    for (size_t size : {1u, 63u, 64u, 65u, 1000u}) {
        expectRoundTrip(Bytes(size, 0));
        Bytes twoValues(size, 'x');
        twoValues.back() = 'y';
        expectRoundTrip(twoValues);
    }
    // 28 values over 800 KB reach codes of 27 bits, far longer than the look-up table; then the
    // rarest values at the very end, where the stream runs out.
    Bytes deep = fibonacciBytes(28);
    std::shuffle(deep.begin(), deep.end(), std::mt19937(7));
    expectRoundTrip(deep);
    std::sort(deep.begin(), deep.end(), std::greater<>());
    expectRoundTrip(deep);
}

TEST(DataChunkDecodeBoundsTest, OutputIsBoundedByTheBytesPresentNotByTheHeader) {
    // The padding zeros read as 'a': eight one-bit codes is all one stream byte can carry.
    EXPECT_EQ(textOf(DataChunk(abbClaiming(100)).decode()), "abbaaaaa");
    EXPECT_EQ(textOf(DataChunk(abbClaiming(0xffffffffu)).decode()), "abbaaaaa");
    EXPECT_TRUE(DataChunk(encodedForm(0xffffffffu, {{'a', 1}, {'b', 2}}, {})).decode().empty());

    // One value: bounded by its count and the length; no entries describe no bytes.
    EXPECT_EQ(textOf(DataChunk(encodedForm(0xffffffffu, {{'q', 3}}, {})).decode()), "qqq");
    EXPECT_EQ(textOf(DataChunk(encodedForm(3, {{'q', 0xffffffffu}}, {})).decode()), "qqq");
    EXPECT_TRUE(DataChunk(header(0, 0xffffffffu)).decode().empty());

    // A truncated table decodes to nothing.
    for (uint32_t entries : {1u, 2u, 256u}) {
        Bytes bytes = header(entries, 50);
        for (uint32_t i = 0; i + 1 < entries; ++i)
            putEntry(bytes, static_cast<uint8_t>(i), i + 1);
        bytes.push_back('z'); // a partial last entry
        EXPECT_TRUE(DataChunk(bytes).decode().empty()) << entries << " entries";
    }
}

TEST(DataChunkDecodeBoundsTest, EveryCutOfAnEncodingDecodesToTheWholeCodesBeforeTheCut) {
    // Codes from 1 to 15 bits, the rarest values placed last.
    Bytes original = fibonacciBytes(16);
    std::shuffle(original.begin(), original.end() - 40, std::mt19937(3));
    std::reverse(original.end() - 40, original.end());
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
        } else if (cut < streamStart) {
            EXPECT_TRUE(decoded.empty());
        } else {
            ASSERT_EQ(decoded, walkDecode(truncated)) << "cut at " << cut;
            ASSERT_TRUE(std::equal(decoded.begin(), decoded.end(), original.begin()));
            ASSERT_TRUE(cut + 1 == encoded.size() || decoded.size() <= previousSize);
            previousSize = decoded.size();
        }
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
    for (int round = 0; round < 400; ++round) {
        const uint32_t entries = 2 + random() % 255;
        const size_t streamSize = random() % 3000;
        const uint32_t length = round % 3 == 0 ? 0xffffffffu : random() % 20000;
        Bytes bytes = header(entries, length);
        for (uint32_t i = 0; i < entries; ++i) {
            const uint32_t counts[] = {static_cast<uint32_t>(random()),
                                       static_cast<uint32_t>(random() % 4), uint32_t{1} << (i % 32),
                                       1000 + static_cast<uint32_t>(random() % 8)};
            putEntry(bytes, static_cast<uint8_t>(random()), counts[round % 4]);
        }
        for (size_t i = 0; i < streamSize; ++i)
            bytes.push_back(static_cast<uint8_t>(random()));
        const DataChunk chunk(bytes);
        const Bytes decoded = chunk.decode().bytes();
        ASSERT_EQ(decoded, walkDecode(chunk)) << "round " << round;
        ASSERT_LE(decoded.size(), std::min<size_t>(length, streamSize * 8));
    }

    // Ascending Fibonacci counts up to the 32-bit limit: the deepest conforming tree, codes of
    // about 45 bits, so walks cross several buffer refills.
    Bytes deep = header(46, 0xffffffffu);
    const std::vector<uint32_t> counts = fibonacciCounts(46);
    for (int value = 0; value < 46; ++value)
        putEntry(deep, static_cast<uint8_t>(value), counts[value]);
    for (int i = 0; i < 4000; ++i)
        deep.push_back(static_cast<uint8_t>(random() | random()));
    const DataChunk chunk(deep);
    const Bytes decoded = chunk.decode().bytes();
    EXPECT_GT(decoded.size(), 100u);
    EXPECT_EQ(decoded, walkDecode(chunk));
}

} // namespace
