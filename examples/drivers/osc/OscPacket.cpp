#include "OscPacket.h"

#include <lo/lo.h>

#include <cmath>
#include <cstring>

namespace mvk::examples {

namespace {

constexpr unsigned char BundleTag[8] = {'#', 'b', 'u', 'n', 'd', 'l', 'e', 0};
// A time tag of 1 means "immediately".
constexpr uint64_t Immediately = 1;

uint32_t bigEndian32(const unsigned char* at) {
    return (uint32_t(at[0]) << 24) | (uint32_t(at[1]) << 16) | (uint32_t(at[2]) << 8) | at[3];
}

bool isBundle(const unsigned char* data, size_t size) {
    return size >= sizeof BundleTag && std::memcmp(data, BundleTag, sizeof BundleTag) == 0;
}

uint64_t bigEndian64(const unsigned char* at) {
    return (uint64_t(bigEndian32(at)) << 32) | bigEndian32(at + 4);
}

// Where the zero-padded string that starts at `from` ends (its terminator and padding to four
// bytes included); 0 when it runs past `size` or its padding is not all zeros.
size_t paddedStringEnd(const unsigned char* data, size_t size, size_t from) {
    const void* terminator = std::memchr(data + from, 0, size - from);
    if (terminator == nullptr)
        return 0;
    const size_t end = ((static_cast<const unsigned char*>(terminator) - data) | 3) + 1;
    if (end > size)
        return 0;
    for (size_t at = static_cast<const unsigned char*>(terminator) - data; at < end; ++at)
        if (data[at] != 0)
            return 0;
    return end;
}

// The bytes an argument of this type takes, or -1 for a type this reader leaves to liblo.
int numberSize(char type) {
    switch (type) {
    case LO_FLOAT:
    case LO_INT32:
        return 4;
    case LO_DOUBLE:
    case LO_INT64:
        return 8;
    case LO_TRUE:
    case LO_FALSE:
        return 0;
    default:
        return -1;
    }
}

} // namespace

bool OscPacket::isToggleAddress(std::string_view address) {
    const size_t slash = address.rfind('/');
    const std::string_view last =
        slash == std::string_view::npos ? address : address.substr(slash + 1);
    for (const std::string_view word : {"press", "push", "toggle"})
        if (last.substr(0, word.size()) == word)
            return true;
    return false;
}

int OscPacket::read(const void* data, size_t size, const Sink& sink) {
    if (data == nullptr || size == 0)
        return 0;
    return readElement(static_cast<const unsigned char*>(data), size, 0, 0, sink);
}

int OscPacket::readElement(const unsigned char* data, size_t size, uint64_t stamp, int depth,
                           const Sink& sink) {
    if (!isBundle(data, size))
        return readMessage(data, size, stamp, sink);
    if (depth >= MaxDepth || size < 16)
        return 0;
    const uint64_t tag = (uint64_t(bigEndian32(data + 8)) << 32) | bigEndian32(data + 12);
    const uint64_t own = tag == Immediately ? 0 : tag;
    int decoded = 0;
    size_t at = 16;
    // Elements apply in the order they are written; a length that runs past the end ends the
    // bundle, as nothing after it can be framed.
    while (at + 4 <= size) {
        const uint32_t length = bigEndian32(data + at);
        at += 4;
        if (length == 0 || length % 4 != 0 || length > size - at)
            break;
        decoded += readElement(data + at, length, own, depth + 1, sink);
        at += length;
    }
    return decoded;
}

// What a control surface or a sensor app sends is numbers only: such a message, exactly framed,
// is read in place, without the four allocations liblo makes for each message it decodes (at ten
// thousand messages a second they were a sixth of the listener's time). Anything else, and
// anything odd, is liblo's to decode or refuse.
bool OscPacket::readNumbers(const unsigned char* data, size_t size, uint64_t stamp,
                            const Sink& sink) {
    const size_t typesAt = paddedStringEnd(data, size, 0);
    if (typesAt == 0 || typesAt >= size || data[typesAt] != ',')
        return false;
    const size_t argumentsAt = paddedStringEnd(data, size, typesAt);
    if (argumentsAt == 0)
        return false;
    const char* types = reinterpret_cast<const char*>(data + typesAt + 1);
    size_t needed = argumentsAt;
    for (const char* type = types; *type != '\0'; ++type) {
        const int bytes = numberSize(*type);
        if (bytes < 0)
            return false;
        needed += static_cast<size_t>(bytes);
    }
    if (needed != size)
        return false;
    const char* address = reinterpret_cast<const char*>(data);
    const bool toggle = isToggleAddress(address);
    size_t at = argumentsAt;
    for (int32_t i = 0; types[i] != '\0'; ++i) {
        double value = 0.0;
        bool button = toggle;
        switch (types[i]) {
        case LO_FLOAT: {
            const uint32_t bits = bigEndian32(data + at);
            float number = 0.0f;
            std::memcpy(&number, &bits, sizeof number);
            value = number;
            break;
        }
        case LO_INT32: {
            const auto number = static_cast<int32_t>(bigEndian32(data + at));
            value = number;
            button = button || number == 0 || number == 1;
            break;
        }
        case LO_DOUBLE: {
            const uint64_t bits = bigEndian64(data + at);
            std::memcpy(&value, &bits, sizeof value);
            break;
        }
        case LO_INT64: {
            const auto number = static_cast<int64_t>(bigEndian64(data + at));
            value = static_cast<double>(number);
            button = button || number == 0 || number == 1;
            break;
        }
        default: // true or false
            value = types[i] == LO_TRUE ? 1.0 : 0.0;
            button = true;
            break;
        }
        at += static_cast<size_t>(numberSize(types[i]));
        if (std::isfinite(value))
            sink(OscValue{address, i, value, button, stamp});
    }
    return true;
}

int OscPacket::readMessage(const unsigned char* data, size_t size, uint64_t stamp,
                           const Sink& sink) {
    if (size == 0 || data[0] != '/' || std::memchr(data, 0, size) == nullptr)
        return 0;
    if (readNumbers(data, size, stamp, sink))
        return 1;
    // liblo takes a copy of what it decodes and leaves the datagram as it is.
    int result = 0;
    lo_message message = lo_message_deserialise(const_cast<unsigned char*>(data), size, &result);
    if (message == nullptr)
        return 0;
    const char* address = reinterpret_cast<const char*>(data);
    const char* types = lo_message_get_types(message);
    lo_arg** argv = lo_message_get_argv(message);
    const int count = lo_message_get_argc(message);
    const bool toggle = isToggleAddress(address);
    for (int i = 0; i < count && types != nullptr && types[i] != '\0'; ++i) {
        double value = 0.0;
        bool button = toggle;
        switch (types[i]) {
        case LO_FLOAT:
            value = argv[i]->f;
            break;
        case LO_DOUBLE:
            value = argv[i]->d;
            break;
        case LO_INT32:
            value = argv[i]->i;
            button = button || argv[i]->i == 0 || argv[i]->i == 1;
            break;
        case LO_INT64:
            value = static_cast<double>(argv[i]->h);
            button = button || argv[i]->h == 0 || argv[i]->h == 1;
            break;
        case LO_TRUE:
            value = 1.0;
            button = true;
            break;
        case LO_FALSE:
            value = 0.0;
            button = true;
            break;
        default:
            continue;
        }
        if (!std::isfinite(value))
            continue;
        sink(OscValue{address, i, value, button, stamp});
    }
    lo_message_free(message);
    return 1;
}

} // namespace mvk::examples
