#include "OscListener.h"

#include "OscPacket.h"
#include "unidevice/Control.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace mvk::examples {

using unidevice::ControlKind::Binary;
using unidevice::ControlKind::Finite;

namespace {

// Room for bursts from a phone that sends every sensor at once while the thread is descheduled.
constexpr int ReceiveBuffer = 1 << 20;
// Larger than any UDP datagram.
constexpr size_t DatagramRoom = 65536;

} // namespace

bool OscListener::start(uint16_t port, bool loopbackOnly, std::shared_ptr<LatestValues> inbox) {
    stop();
    failure.clear();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        failure = std::strerror(errno);
        return false;
    }
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &ReceiveBuffer, sizeof ReceiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        failure = std::strerror(errno);
        close(fd);
        return false;
    }
    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        failure = std::strerror(errno);
        close(fd);
        return false;
    }
    socketFd = fd;
    target = std::move(inbox);
    received.store(0, std::memory_order_relaxed);
    reader = std::thread([this] { run(); });
    return true;
}

void OscListener::stop() {
    if (socketFd < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd, &one, sizeof one);
    reader.join();
    close(socketFd);
    close(wakeFd);
    socketFd = -1;
    wakeFd = -1;
    target.reset();
}

void OscListener::run() {
    std::vector<unsigned char> buffer(DatagramRoom);
    pollfd watched[2] = {{socketFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (watched[1].revents != 0)
            return;
        // Drain a batch before polling again; under a flood the stop signal is still seen after
        // every batch.
        for (int taken = 0; taken < 256; ++taken) {
            const ssize_t got = recv(socketFd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got < 0)
                break;
            received.fetch_add(1, std::memory_order_relaxed);
            deliver(buffer.data(), static_cast<size_t>(got), *target);
        }
    }
}

void OscListener::deliver(const void* data, size_t size, LatestValues& inbox) {
    OscPacket::read(data, size, [&inbox](const OscValue& value) {
        const std::string address = value.address;
        const double clamped = std::clamp(value.value, -1.0, 1.0);
        inbox.store(address, value.argument, clamped, value.stamp, [&] {
            return SlotInfo{address, value.argument,
                            address + " [" + std::to_string(value.argument) + "]",
                            value.button ? Binary : Finite};
        });
    });
}

} // namespace mvk::examples
