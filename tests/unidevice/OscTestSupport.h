#pragma once
// A free UDP port, a liblo sender aimed at it, a wait for input that arrives on another thread
// and the binding that names a control: what the tests of the threaded drivers share.
#include "util/xml/Element.h"

#include <lo/lo.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace qvn::test {

// A binding as an input profile stores it: the device, the control's type and index.
inline mvk::util::xml::Element controlBinding(const std::string& device, const std::string& type,
                                              int index) {
    mvk::util::xml::Element element = mvk::util::xml::Tag("control");
    element.attribute("device") = device;
    element.attribute("type") = type;
    element.attribute("index") = std::to_string(index);
    return element;
}

// A port nothing listens on right now (the system's choice of a free one).
inline uint16_t freeUdpPort() {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Polls `done` until it holds or `limit` has passed; true when it held.
inline bool waitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

// The first IPv4 address of this machine that is not a loopback one; empty when there is none.
inline std::string outsideAddress() {
    ifaddrs* all = nullptr;
    std::string found;
    if (getifaddrs(&all) != 0)
        return found;
    for (ifaddrs* at = all; at != nullptr && found.empty(); at = at->ifa_next) {
        if (at->ifa_addr == nullptr || at->ifa_addr->sa_family != AF_INET)
            continue;
        const auto* address = reinterpret_cast<const sockaddr_in*>(at->ifa_addr);
        if ((ntohl(address->sin_addr.s_addr) >> 24) == 127)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
        found = text;
    }
    freeifaddrs(all);
    return found;
}

// True when this process could take the UDP port on `host` itself, that is when nobody listens
// there.
inline bool udpPortFree(uint16_t port, const char* host = "127.0.0.1") {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, host, &address.sin_addr);
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

class OscSender {
public:
    explicit OscSender(uint16_t port, const char* host = "127.0.0.1")
        : target(lo_address_new(host, std::to_string(port).c_str())) {}
    ~OscSender() { lo_address_free(target); }
    OscSender(const OscSender&) = delete;
    OscSender& operator=(const OscSender&) = delete;

    lo_address address() const { return target; }
    void fader(const char* path, float value) const { lo_send(target, path, "f", value); }
    // Bytes as they are, for what liblo's sender would never produce.
    void raw(const void* bytes, size_t size) const {
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<uint16_t>(std::stoi(lo_address_get_port(target))));
        inet_pton(AF_INET, lo_address_get_hostname(target), &to.sin_addr);
        sendto(fd, bytes, size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        close(fd);
    }

private:
    lo_address target;
};

} // namespace qvn::test
