// The encoded form byte for byte, the buffer itself and round trips over many shapes of input.
#include "util/DataChunk.h"
#include "support/TestEnvironment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using mvk::util::DataChunk;
using Bytes = std::vector<uint8_t>;

void putUint32(Bytes& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i, value >>= 8)
        bytes.push_back(static_cast<uint8_t>(value));
}

struct TableEntry {
    char value;
    uint32_t count;
};

// An encoded chunk assembled by hand: header, table in the given order, then the stream bytes.
Bytes encodedForm(uint32_t length, const std::vector<TableEntry>& table, const Bytes& stream) {
    Bytes bytes;
    putUint32(bytes, 5452234);
    putUint32(bytes, 100);
    putUint32(bytes, static_cast<uint32_t>(table.size()));
    putUint32(bytes, length);
    for (const TableEntry& entry : table) {
        bytes.push_back(static_cast<uint8_t>(entry.value));
        putUint32(bytes, entry.count);
    }
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}

DataChunk chunkOf(const std::string& text) {
    return DataChunk(text.data(), text.size());
}

std::string textOf(const DataChunk& chunk) {
    return std::string(chunk.bytes().begin(), chunk.bytes().end());
}

TEST(DataChunkTest, ConstructionCopiesOrZeroFillsAndTheBufferGrows) {
    const char source[] = {'x', '\0', 'y'};
    DataChunk chunk(source, 3);
    EXPECT_EQ(chunk.bytes(), (Bytes{'x', 0, 'y'}));
    EXPECT_EQ(DataChunk(nullptr, 4).bytes(), Bytes(4, 0));
    EXPECT_TRUE(DataChunk(nullptr, 0).empty());

    DataChunk copy = chunk;
    copy[0] = 'z';
    copy.append("!!", 2);
    EXPECT_EQ(chunk[0], 'x');
    EXPECT_EQ(textOf(copy), std::string("z\0y!!", 5));
}

TEST(DataChunkTest, LoadFileReadsEveryByteAndRefusesWhatItCannotRead) {
    qvn::test::TestEnvironment environment;
    std::string binary = "line\r\nzero\0byte\xff";
    binary.resize(200000, '\x80');
    const std::string path = environment.writeFile("files/blob.prm", binary);

    DataChunk chunk;
    ASSERT_TRUE(chunk.loadFile(path));
    EXPECT_EQ(textOf(chunk), binary);

    const std::string emptyPath = environment.writeFile("files/empty.prm", "");
    EXPECT_TRUE(chunk.loadFile(emptyPath));
    EXPECT_TRUE(chunk.empty());

    chunk = chunkOf("kept");
    EXPECT_FALSE(chunk.loadFile(environment.root() + "/files/missing.prm"));
    EXPECT_FALSE(chunk.loadFile(environment.root() + "/files"));
    EXPECT_EQ(textOf(chunk), "kept");
}

TEST(DataChunkTest, EmptyBufferEncodesToTheBareHeader) {
    const DataChunk encoded = DataChunk().encode();
    EXPECT_EQ(encoded.bytes(), encodedForm(0, {}, {}));
    EXPECT_TRUE(encoded.isEncoded(true));
    EXPECT_TRUE(encoded.decode().empty());
}

TEST(DataChunkTest, SingleByteValueHasAnEmptyBitStream) {
    const DataChunk encoded = chunkOf("aaaa").encode();
    EXPECT_EQ(encoded.size(), 21u);
    EXPECT_EQ(encoded.bytes(), encodedForm(4, {{'a', 4}}, {}));
    EXPECT_EQ(textOf(encoded.decode()), "aaaa");
}

TEST(DataChunkTest, CodesPackLeastSignificantBitFirst) {
    // a (1) then b (2): a is the left child (0), b the right (1); bits 0,1,1 make 6.
    const DataChunk encoded = chunkOf("abb").encode();
    EXPECT_EQ(encoded.bytes(), encodedForm(3, {{'a', 1}, {'b', 2}}, {6}));
    EXPECT_EQ(textOf(encoded.decode()), "abb");
}

TEST(DataChunkTest, MergedNodeGoesAfterEqualCounts) {
    // b+a (2) lands after c (2), so c is merged with it and sits nearest the root: c = 0,
    // b = 1,0, a = 1,1. "abcc" packs 1,1, 1,0, 0, 0 into 0b000111.
    const DataChunk encoded = chunkOf("abcc").encode();
    EXPECT_EQ(encoded.bytes(), encodedForm(4, {{'b', 1}, {'a', 1}, {'c', 2}}, {7}));
    EXPECT_EQ(textOf(encoded.decode()), "abcc");
}

TEST(DataChunkTest, DecoderAcceptsEveryOrderOfEqualCounts) {
    // The tree follows the stored order, so the same text has a different stream per order.
    EXPECT_EQ(textOf(DataChunk(encodedForm(3, {{'c', 1}, {'b', 1}, {'a', 1}}, {14})).decode()),
              "abc");
    EXPECT_EQ(textOf(DataChunk(encodedForm(3, {{'a', 1}, {'b', 1}, {'c', 1}}, {13})).decode()),
              "abc");
    EXPECT_EQ(textOf(DataChunk(encodedForm(3, {{'b', 1}, {'c', 1}, {'a', 1}}, {26})).decode()),
              "abc");
    EXPECT_EQ(chunkOf("abc").encode().bytes(),
              encodedForm(3, {{'c', 1}, {'b', 1}, {'a', 1}}, {14}));
}

TEST(DataChunkTest, DataWithoutTheHeaderPassesThroughUnchanged) {
    const std::string texts[] = {"", "<QVT_Plugin name=\"x\"/>", std::string(15, '\0'),
                                 std::string(100, '\xff')};
    for (const std::string& text : texts)
        EXPECT_EQ(textOf(chunkOf(text).decode()), text);

    // A good magic with a wrong version, or more than 256 entries, is not the encoded form.
    Bytes wrongVersion = encodedForm(3, {{'a', 1}, {'b', 2}}, {6});
    wrongVersion[4] = 101;
    EXPECT_EQ(DataChunk(wrongVersion).decode().bytes(), wrongVersion);
    Bytes tooManyEntries = encodedForm(0, {}, {});
    tooManyEntries[8] = 1;
    tooManyEntries[9] = 1; // 257
    EXPECT_FALSE(DataChunk(tooManyEntries).isEncoded(false));
    EXPECT_EQ(DataChunk(tooManyEntries).decode().bytes(), tooManyEntries);
}

TEST(DataChunkTest, TableCheckWantsEveryEntryAndNonDecreasingCounts) {
    EXPECT_TRUE(DataChunk(encodedForm(3, {{'a', 1}, {'b', 2}}, {6})).isEncoded(true));
    const DataChunk unordered(encodedForm(3, {{'b', 2}, {'a', 1}}, {1}));
    EXPECT_TRUE(unordered.isEncoded(false));
    EXPECT_FALSE(unordered.isEncoded(true));
    // Counts are unsigned: 2^31 sorts after 1.
    EXPECT_TRUE(DataChunk(encodedForm(0, {{'a', 1}, {'b', 0x80000000u}}, {})).isEncoded(true));

    Bytes truncated = encodedForm(3, {{'a', 1}, {'b', 2}}, {});
    truncated.pop_back();
    EXPECT_TRUE(DataChunk(truncated).isEncoded(false));
    EXPECT_FALSE(DataChunk(truncated).isEncoded(true));
    Bytes shortHeader = encodedForm(0, {}, {});
    shortHeader.pop_back();
    EXPECT_FALSE(DataChunk(shortHeader).isEncoded(false));
}

// Round trips ----------------------------------------------------------------------------------

Bytes randomBytes(std::mt19937& random, size_t size, double skew) {
    // skew 0 is uniform; larger values weigh low byte values ever more heavily.
    std::vector<double> weights(256);
    for (int value = 0; value < 256; ++value)
        weights[value] = std::pow(value + 1.0, -skew);
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    Bytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(pick(random));
    return bytes;
}

void expectRoundTrip(const Bytes& original) {
    const DataChunk encoded = DataChunk(original).encode();
    ASSERT_TRUE(encoded.isEncoded(true));
    ASSERT_EQ(encoded.decode().bytes(), original) << "size " << original.size();
}

TEST(DataChunkTest, RoundTripsUniformSkewedAndNearlyConstantBytes) {
    std::mt19937 random(1234);
    for (double skew : {0.0, 1.0, 3.0}) {
        for (size_t size = 0; size < 80; ++size)
            expectRoundTrip(randomBytes(random, size, skew));
        for (size_t size : {1000u, 4099u, 65536u, 300001u})
            expectRoundTrip(randomBytes(random, size, skew));
    }
    for (size_t size : {1u, 63u, 64u, 65u, 1000u}) {
        expectRoundTrip(Bytes(size, 0));
        Bytes twoValues(size, 'x');
        twoValues.back() = 'y';
        expectRoundTrip(twoValues);
    }
}

TEST(DataChunkTest, RoundTripsCodesFarLongerThanTheLookUpTable) {
    // Counts growing like the Fibonacci numbers give the deepest tree their total allows:
    // 28 values over 800 KB reach codes of 27 bits.
    Bytes bytes;
    uint32_t previous = 1;
    uint32_t current = 1;
    for (int value = 0; value < 28; ++value) {
        bytes.insert(bytes.end(), current, static_cast<uint8_t>(value));
        const uint32_t next = previous + current;
        previous = current;
        current = next;
    }
    std::shuffle(bytes.begin(), bytes.end(), std::mt19937(7));
    expectRoundTrip(bytes);
    // The rarest values at the very end, where the stream runs out.
    std::sort(bytes.begin(), bytes.end(), std::greater<>());
    expectRoundTrip(bytes);
}

} // namespace
