#pragma once
// Listens on one UDP port on its own thread and stores every OSC value that arrives into a
// device's latest-value slots. Starting and stopping happen on the host's thread; the host never
// waits for the network.
#include "../common/LatestValues.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace mvk::examples {

class OscListener {
public:
    // Learned controls per device; names past this are ignored (see LatestValues).
    static constexpr size_t ControlCap = 1024;
    // The reading thread's name, as the system lists it.
    static constexpr const char* ThreadName = "osc listener";

    OscListener() = default;
    OscListener(const OscListener&) = delete;
    OscListener& operator=(const OscListener&) = delete;
    ~OscListener() { stop(); }

    // Binds the port (on 127.0.0.1 only, or on every interface) and starts reading into `inbox`.
    // False, with the reason in error(), when the port cannot be had.
    bool start(uint16_t port, bool loopbackOnly, std::shared_ptr<LatestValues> inbox);
    // Stops reading and closes the port; the values stay where they are.
    void stop();
    bool running() const { return socketFd >= 0; }
    const std::string& error() const { return failure; }
    // Datagrams taken since the start, decodable or not.
    uint64_t datagrams() const { return received.load(std::memory_order_relaxed); }

    // Stores one datagram's values; what the thread does with each datagram.
    static void deliver(const void* data, size_t size, LatestValues& inbox);

private:
    void run();

    int socketFd = -1;
    std::atomic<bool> stopping{false};
    std::thread reader;
    std::shared_ptr<LatestValues> target;
    std::string failure;
    std::atomic<uint64_t> received{0};
};

} // namespace mvk::examples
