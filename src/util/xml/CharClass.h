#pragma once
// Byte classes of the XML dialect as 256-entry tables, so the reader and writer never call the
// locale-dependent <cctype> functions per character. The classes are those of the plain-ASCII
// locale: files must read and write the same whatever locale the host process runs in.
#include <array>
#include <cstddef>
#include <cstdint>

namespace mvk::util::xml::charclass {

enum : uint8_t {
    Space = 1,    // isspace: space, \t, \n, \v, \f, \r
    HexDigit = 2, // isxdigit
    Kept = 4,     // written as itself by the escaper: isalnum, ispunct or the space, minus & and <
    NameEnd = 8,  // ends an attribute name: whitespace or "="
    TagNameStop = 16, // stops the scan of a tag name: whitespace (its end) or "&" (a reference)
};

constexpr std::array<uint8_t, 256> makeTable() {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        uint8_t bits = 0;
        if (c == ' ' || (c >= '\t' && c <= '\r'))
            bits |= Space | NameEnd | TagNameStop;
        if (c == '&')
            bits |= TagNameStop;
        if (c == '=')
            bits |= NameEnd;
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
            bits |= HexDigit;
        if (c >= 0x20 && c <= 0x7e && c != '&' && c != '<')
            bits |= Kept;
        table[static_cast<size_t>(c)] = bits;
    }
    return table;
}

inline constexpr std::array<uint8_t, 256> table = makeTable();

inline bool is(char c, uint8_t bits) {
    return (table[static_cast<unsigned char>(c)] & bits) != 0;
}

} // namespace mvk::util::xml::charclass
