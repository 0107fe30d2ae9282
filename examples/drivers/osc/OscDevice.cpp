#include "OscDevice.h"

#include "OscListener.h"
#include "OscPacket.h"

namespace mvk::examples {

using unidevice::ControlKind::Binary;
using unidevice::ControlKind::Finite;

OscDevice::OscDevice(uint16_t port, int32_t devindex)
    : LearningDevice(nameFor(port), devindex,
                     std::make_shared<LatestValues>(OscListener::ControlCap)),
      listenPort(port) {}

bool OscDevice::describe(const std::string& type, int32_t index, SlotInfo& info) const {
    if (type.empty() || type[0] != '/' || index < 0)
        return false;
    info = SlotInfo{type, index, type + " [" + std::to_string(index) + "]",
                    OscPacket::isToggleAddress(type) ? Binary : Finite};
    return true;
}

} // namespace mvk::examples
