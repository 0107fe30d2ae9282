#pragma once
// What the core tells its host about each recorded take once it is stopped: the core node
// ("CORE") broadcasts a message with the id below whose data points at a TakeReport, valid
// during the call only. Hosts subscribe a node of their own to the core to receive it.
#include <cstdint>

namespace mvk::qvn {

struct TakeReport {
    // Samples recorded (the countdown records none).
    int32_t samples = 0;
    // Samples recorded in a tick after that tick's first one: the clock had run ahead of the
    // sampling and they were caught up late.
    int32_t lateSamples = 0;
    // The most wall-clock milliseconds by which the record clock had passed a sample's time
    // when the sample was recorded.
    double maxLagMilliseconds = 0.0;
    // Times of the first and the last recorded sample (seconds); both 0 without samples.
    double firstSampleTime = 0.0;
    double lastSampleTime = 0.0;
};

constexpr int32_t MessageTakeFinished = 30600;

} // namespace mvk::qvn
