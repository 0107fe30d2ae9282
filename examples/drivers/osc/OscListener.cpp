#include "OscListener.h"

#include "OscPacket.h"
#include "unidevice/Control.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
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
// Datagrams taken by one call: a burst costs one wake-up, a steady stream one call per datagram.
constexpr unsigned int Batch = 16;

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
    socketFd = fd;
    target = std::move(inbox);
    stopping.store(false, std::memory_order_relaxed);
    received.store(0, std::memory_order_relaxed);
    reader = std::thread([this] { run(); });
    return true;
}

void OscListener::stop() {
    if (socketFd < 0)
        return;
    // Shutting the socket down wakes a reader blocked in it, and every later read returns at
    // once, so the flag is seen whenever the thread gets there. (On an unconnected datagram
    // socket the call reports ENOTCONN, yet it does both.)
    stopping.store(true, std::memory_order_release);
    shutdown(socketFd, SHUT_RDWR);
    reader.join();
    close(socketFd);
    socketFd = -1;
    target.reset();
}

// The thread sleeps in the kernel until datagrams come and takes every one waiting in one call,
// so a datagram costs one system call and no poll.
void OscListener::run() {
    // Named, so a profile or `top -H` tells the listener from the host's threads.
    pthread_setname_np(pthread_self(), ThreadName);
    std::vector<unsigned char> buffer(Batch * DatagramRoom);
    iovec pieces[Batch];
    mmsghdr headers[Batch];
    for (unsigned int i = 0; i < Batch; ++i) {
        pieces[i] = iovec{buffer.data() + i * DatagramRoom, DatagramRoom};
        headers[i] = mmsghdr{};
        headers[i].msg_hdr.msg_iov = &pieces[i];
        headers[i].msg_hdr.msg_iovlen = 1;
    }
    for (;;) {
        const int got = recvmmsg(socketFd, headers, Batch, MSG_WAITFORONE, nullptr);
        if (stopping.load(std::memory_order_acquire))
            return;
        if (got < 0) {
            if (errno == EINTR || errno == ENOMEM || errno == ENOBUFS)
                continue;
            return;
        }
        received.fetch_add(static_cast<uint64_t>(got), std::memory_order_relaxed);
        for (int i = 0; i < got; ++i)
            deliver(pieces[i].iov_base, headers[i].msg_len, *target);
    }
}

void OscListener::deliver(const void* data, size_t size, LatestValues& inbox) {
    OscPacket::read(data, size, [&inbox](const OscValue& value) {
        const double clamped = std::clamp(value.value, -1.0, 1.0);
        inbox.store(value.address, value.argument, clamped, value.stamp, [&] {
            const std::string address = value.address;
            return SlotInfo{address, value.argument,
                            address + " [" + std::to_string(value.argument) + "]",
                            value.button ? Binary : Finite};
        });
    });
}

} // namespace mvk::examples
