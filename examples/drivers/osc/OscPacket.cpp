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

} // namespace

bool OscPacket::isToggleAddress(std::string_view address) {
    const size_t slash = address.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? address
                                                                  : address.substr(slash + 1);
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

int OscPacket::readMessage(const unsigned char* data, size_t size, uint64_t stamp,
                           const Sink& sink) {
    if (size == 0 || data[0] != '/' || std::memchr(data, 0, size) == nullptr)
        return 0;
    // liblo takes a copy of what it decodes and leaves the datagram as it is.
    int result = 0;
    lo_message message =
        lo_message_deserialise(const_cast<unsigned char*>(data), size, &result);
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
