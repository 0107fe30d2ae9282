#include "MidiDecoder.h"

#include <algorithm>

namespace mvk::examples {

namespace {

constexpr int Controllers = 128;

// Data bytes a channel message of this status carries.
int dataBytes(unsigned char status) {
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    default:
        return 2;
    }
}

} // namespace

bool MidiDecoder::take(unsigned char byte, MidiValue& out) {
    if (byte >= 0xF8)
        return false;  // real-time: may fall anywhere, changes nothing
    if (byte == 0xF0) {
        inSysEx = true;
        status = 0;
        return false;
    }
    if (byte >= 0x80) {
        inSysEx = false;
        // System common messages end running status; their data is not ours.
        status = byte < 0xF0 ? byte : 0;
        have = 0;
        return false;
    }
    if (inSysEx || status == 0)
        return false;
    data[have++] = byte;
    if (have < dataBytes(status))
        return false;
    have = 0;  // running status: the next data bytes start another message of the same kind
    const int channel = (status & 0x0F) + 1;
    switch (status & 0xF0) {
    case 0x80:
        out = {MidiValue::Type::Note, channel, data[0], 0.0};
        return true;
    case 0x90:
        out = {MidiValue::Type::Note, channel, data[0], data[1] / 127.0};
        return true;
    case 0xB0:
        out = {MidiValue::Type::ControlChange, channel, data[0], data[1] / 127.0};
        return true;
    case 0xE0: {
        const int bend = data[0] | (data[1] << 7);
        out = {MidiValue::Type::PitchBend, channel, 0, std::clamp((bend - 8192) / 8191.0, -1.0, 1.0)};
        return true;
    }
    default:
        return false;  // program change, aftertouch: not controls here
    }
}

std::string MidiDecoder::typeName(MidiValue::Type type) {
    switch (type) {
    case MidiValue::Type::ControlChange: return "cc";
    case MidiValue::Type::Note: return "note";
    default: return "pitchbend";
    }
}

int32_t MidiDecoder::indexOf(const MidiValue& value) {
    if (value.type == MidiValue::Type::PitchBend)
        return value.channel - 1;
    return (value.channel - 1) * Controllers + value.number;
}

std::string MidiDecoder::describe(MidiValue::Type type, int32_t index) {
    if (type == MidiValue::Type::PitchBend)
        return "Pitch bend ch " + std::to_string(index + 1);
    const std::string channel = " ch " + std::to_string(index / Controllers + 1);
    const std::string number = std::to_string(index % Controllers);
    return (type == MidiValue::Type::Note ? "Note " : "CC ") + number + channel;
}

bool MidiDecoder::fromName(const std::string& type, int32_t index, MidiValue::Type& out) {
    if (type == "cc" || type == "note") {
        out = type == "cc" ? MidiValue::Type::ControlChange : MidiValue::Type::Note;
        return index >= 0 && index < 16 * Controllers;
    }
    if (type == "pitchbend") {
        out = MidiValue::Type::PitchBend;
        return index >= 0 && index < 16;
    }
    return false;
}

} // namespace mvk::examples
