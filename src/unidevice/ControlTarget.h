#pragma once

namespace mvk::unidevice {

class Control;

// Anything that can be bound to a control (properties, emulated controls). A control tells its
// targets when it dies, so none of them keeps a dangling pointer.
class ControlTarget {
public:
    virtual void controlDeleted(Control* control) = 0;
    virtual ~ControlTarget() = default;
};

} // namespace mvk::unidevice
