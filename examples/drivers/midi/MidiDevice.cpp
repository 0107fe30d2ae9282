#include "MidiDevice.h"

#include "MidiDecoder.h"

namespace mvk::examples {

using unidevice::ControlKind::Binary;
using unidevice::ControlKind::Finite;

SlotInfo MidiDevice::slotFor(int type, int32_t index) {
    const auto kind = static_cast<MidiValue::Type>(type);
    return SlotInfo{MidiDecoder::typeName(kind), index, MidiDecoder::describe(kind, index),
                    kind == MidiValue::Type::Note ? Binary : Finite};
}

bool MidiDevice::describe(const std::string& type, int32_t index, SlotInfo& info) const {
    MidiValue::Type kind{};
    if (!MidiDecoder::fromName(type, index, kind))
        return false;
    info = slotFor(static_cast<int>(kind), index);
    return true;
}

} // namespace mvk::examples
