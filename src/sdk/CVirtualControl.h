#pragma once
// A value a tool instance publishes as a control of its own input device, so that anything
// that binds to devices can use it like a hardware axis or button.
#include <cstdint>
#include <string>

namespace mvk::qvn {

// What plug-in code passes with extension 41 to ask for a virtual control.
struct VirtualControlDescriptor {
    std::string name;
    int32_t index = 0;
    uint32_t kind = 0; // control kind bits: 1 binary, 2 trinary, 4 finite, 8 infinite
};

// Handed back by extension 41 and passed to the code with extension 40 when the value is due.
class CVirtualControl {
public:
    // The previous value becomes the current one's, `value` becomes current.
    virtual void setValue(double value) = 0;
    virtual double getValue() const = 0;
    virtual const std::string& getControlName() const = 0;

protected:
    ~CVirtualControl() = default;
};

} // namespace mvk::qvn
