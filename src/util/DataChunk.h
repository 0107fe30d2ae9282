#pragma once
// A growable byte buffer with the system's own compact encoding (a static Huffman code whose
// frequency table travels in front of the bit stream) and the Base64 text form that carries such
// buffers where only text can go.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mvk::util {

class DataChunk {
public:
    // Header fields of the encoded form (32-bit little-endian each).
    static constexpr uint32_t Magic = 5452234;
    static constexpr uint32_t Version = 100;
    static constexpr uint32_t MaxEntries = 256;
    static constexpr size_t HeaderSize = 16;
    static constexpr size_t EntrySize = 5;

    DataChunk() = default;
    // Copies `length` bytes from `data`; a null `data` gives `length` zero bytes.
    DataChunk(const void* data, size_t length);
    explicit DataChunk(std::vector<uint8_t> bytes) : buffer(std::move(bytes)) {}

    size_t size() const { return buffer.size(); }
    bool empty() const { return buffer.empty(); }
    const uint8_t* data() const { return buffer.data(); }
    uint8_t* data() { return buffer.data(); }
    uint8_t operator[](size_t index) const { return buffer[index]; }
    uint8_t& operator[](size_t index) { return buffer[index]; }
    const std::vector<uint8_t>& bytes() const { return buffer; }

    void append(const void* data, size_t length);
    // New bytes are zero.
    void resize(size_t length) { buffer.resize(length); }
    void clear() { buffer.clear(); }

    bool operator==(const DataChunk& other) const = default;

    // Replaces the contents by the whole file; false (contents unchanged) when the file cannot be
    // opened or read.
    bool loadFile(const std::string& path);

    // A new chunk in the encoded form. A chunk of 4 GiB or more cannot be described by the
    // 32-bit header and comes back as an unencoded copy.
    DataChunk encode() const;
    // A new chunk with the original bytes; a chunk that fails isEncoded(false) comes back
    // unchanged. Damaged input decodes as far as its bytes go and never reads past them.
    DataChunk decode() const;
    // The header check (magic, version, at most 256 entries); with `checkTable` also that the
    // table is present and its counts never decrease.
    bool isEncoded(bool checkTable) const;

    static std::string base64Encode(const void* data, size_t length);
    static std::string base64Encode(const DataChunk& bytes) {
        return base64Encode(bytes.data(), bytes.size());
    }
    // Empty when the length is not a multiple of 4 or any character where a value is needed lies
    // outside the alphabet.
    static DataChunk base64Decode(std::string_view text);

private:
    std::vector<uint8_t> buffer;
};

} // namespace mvk::util
