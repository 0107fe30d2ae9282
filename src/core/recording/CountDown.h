#pragma once
// What the record manager needs from the countdown shown before a take: the window that shows
// the remaining seconds implements it. The record clock never depends on it.
#include <cstdint>
#include <string>

namespace mvk::qvn::core {

class CountDown {
public:
    virtual ~CountDown() = default;
    // Shows the countdown starting at `seconds`.
    virtual void start(int32_t seconds) = 0;
    // Shows `text` (the seconds left) in place of the previous value.
    virtual void update(const std::string& text) = 0;
    virtual void hide() = 0;
};

} // namespace mvk::qvn::core
