#include "util/DataChunk.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using mvk::util::DataChunk;

std::string encode(const std::string& bytes) {
    return DataChunk::base64Encode(bytes.data(), bytes.size());
}

std::string decode(const std::string& text) {
    const DataChunk bytes = DataChunk::base64Decode(text);
    return std::string(bytes.bytes().begin(), bytes.bytes().end());
}

TEST(Base64Test, LengthsZeroToFiveAndTheLastTwoSymbols) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(encode(bytes), text);
        EXPECT_EQ(decode(text), bytes) << text;
    }
    EXPECT_EQ(encode("\xfb\xff"), "+/8=");
    // "=" in the last two places of a group drops one byte each, in any group of the text.
    EXPECT_EQ(decode("Zg==Zm8=Zm9v"), "ffofoo");
    EXPECT_EQ(decode("Zm=v"), "f`");
}

TEST(Base64Test, InvalidTextDecodesToNothing) {
    // Lengths that are not a multiple of 4, and "=" where a value is needed.
    for (const std::string text :
         {"Zm9", "Zm9vY", "Zm9vYg===", "=AAA", "A===", "Zm9vA==="})
        EXPECT_TRUE(DataChunk::base64Decode(text).empty()) << text;
    // One character outside the alphabet anywhere empties the whole result.
    const std::string valid = "Zm9vYmFyYmF6cXV4";
    ASSERT_EQ(decode(valid), "foobarbazqux");
    for (char bad : {'-', '\n', '\0', '\xff'}) {
        for (size_t position = 0; position < valid.size(); ++position) {
            std::string text = valid;
            text[position] = bad;
            EXPECT_TRUE(DataChunk::base64Decode(text).empty()) << int(bad) << " at " << position;
        }
    }
}

TEST(Base64Test, RandomBytesRoundTripAtEveryLength) {
    std::mt19937 random(42);
    for (size_t length = 0; length < 300; ++length) {
        std::string bytes(length, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random());
        const std::string text = encode(bytes);
        ASSERT_EQ(text.size(), (length + 2) / 3 * 4);
        ASSERT_EQ(decode(text), bytes) << "length " << length;
    }
}

} // namespace
