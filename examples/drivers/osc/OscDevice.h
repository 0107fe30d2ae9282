#pragma once
// One listening port, named "OSC :<port>". Every address with numeric arguments becomes
// controls as it first arrives: type the address, index the argument's position.
#include "../common/LearningDevice.h"

#include <cstdint>
#include <string>

namespace mvk::examples {

class OscDevice : public LearningDevice {
public:
    OscDevice(uint16_t port, int32_t devindex);

    uint16_t port() const { return listenPort; }
    static std::string nameFor(uint16_t port) { return "OSC :" + std::to_string(port); }

protected:
    // Any address may come; before it does, a press-style address is taken for a button and
    // every other one for an axis.
    bool describe(const std::string& type, int32_t index, SlotInfo& info) const override;

private:
    uint16_t listenPort;
};

} // namespace mvk::examples
