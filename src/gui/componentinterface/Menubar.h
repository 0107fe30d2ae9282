#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>

namespace mvk::gui::componentinterface {

class Menubar : public Interface {
public:
    // Enables or greys out every item with that id.
    virtual void setItemEnabled(int32_t id, bool enabled) = 0;
};

} // namespace mvk::gui::componentinterface
