#pragma once
// Takes one OSC datagram apart into numeric values: every numeric argument of every message,
// in order, bundles and nested bundles included. Messages of numbers only are read here in place;
// liblo decodes the others. The bundle frames around them are walked here, every length checked
// against the bytes present.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace mvk::examples {

struct OscValue {
    const char* address;
    int32_t argument;   // position among all the message's arguments
    double value;       // finite; the caller decides the range
    bool button;        // a toggle: a true/false argument, an integer 0 or 1, or a press address
    uint64_t stamp;     // the enclosing bundle's time tag, 0 for "now"
};

class OscPacket {
public:
    using Sink = std::function<void(const OscValue&)>;

    // Deepest bundle nesting taken; anything deeper is dropped.
    static constexpr int MaxDepth = 8;

    // Hands every value of the datagram to `sink`. Returns how many messages were decoded; a
    // malformed part is skipped, together with whatever follows it in the same frame.
    static int read(const void* data, size_t size, const Sink& sink);

    // True for addresses whose last part names a push button or toggle ("/1/push3",
    // "/deck/press", "/toggle1").
    static bool isToggleAddress(std::string_view address);

private:
    static int readElement(const unsigned char* data, size_t size, uint64_t stamp, int depth,
                           const Sink& sink);
    static int readMessage(const unsigned char* data, size_t size, uint64_t stamp,
                           const Sink& sink);
    // False, having read nothing, for a message that is not numbers only.
    static bool readNumbers(const unsigned char* data, size_t size, uint64_t stamp,
                            const Sink& sink);
};

} // namespace mvk::examples
