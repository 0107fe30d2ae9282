#pragma once
// One MIDI input port, named after the port. Control changes, notes and pitch bend become
// controls as they are first used.
#include "../common/LearningDevice.h"

namespace mvk::examples {

class MidiDevice : public LearningDevice {
public:
    using LearningDevice::LearningDevice;

    // What a MIDI value is called and what kind it is.
    static SlotInfo slotFor(int type, int32_t index);

protected:
    bool describe(const std::string& type, int32_t index, SlotInfo& info) const override;
};

} // namespace mvk::examples
