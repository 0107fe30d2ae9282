#pragma once

namespace mvk::gui::componentinterface {

// Common base of the kind interfaces, so an owner can ask a component for its kind's operations
// and test the answer with dynamic_cast (see interfaceOf()).
class Interface {
public:
    virtual ~Interface() = default;
};

} // namespace mvk::gui::componentinterface
