#pragma once
// Turns the bytes of one MIDI input into control values: control changes, notes and pitch bend,
// per channel. Keeps running status across messages; skips system exclusive data however it is
// split, and real-time bytes wherever they fall.
#include <cstddef>
#include <cstdint>
#include <string>

namespace mvk::examples {

struct MidiValue {
    enum class Type { ControlChange, Note, PitchBend };
    Type type;
    int channel;   // 1 .. 16
    int number;    // controller or note number; 0 for pitch bend
    double value;  // CC 0 .. 1, note velocity 0 .. 1 (0 when released), pitch bend -1 .. 1
};

class MidiDecoder {
public:
    // Feeds bytes; `emit(const MidiValue&)` is called for each complete message.
    template <class Emit> void feed(const unsigned char* bytes, size_t size, Emit&& emit) {
        for (size_t i = 0; i < size; ++i) {
            MidiValue value{};
            if (take(bytes[i], value))
                emit(value);
        }
    }

    // The binding names of a value: type "cc", "note" or "pitchbend", and an index that tells
    // channels apart.
    static std::string typeName(MidiValue::Type type);
    static int32_t indexOf(const MidiValue& value);
    // "CC 7 ch 1", "Note 60 ch 10", "Pitch bend ch 2".
    static std::string describe(MidiValue::Type type, int32_t index);
    // The other way round; false for names no MIDI input makes.
    static bool fromName(const std::string& type, int32_t index, MidiValue::Type& out);

private:
    bool take(unsigned char byte, MidiValue& out);

    unsigned char status = 0;  // running status, 0 when none
    unsigned char data[2] = {0, 0};
    int have = 0;
    bool inSysEx = false;
};

} // namespace mvk::examples
