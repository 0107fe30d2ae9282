#pragma once
#include "gui/componentinterface/Interface.h"

#include <cstdint>

namespace mvk::gui::componentinterface {

class Dialog : public Interface {
public:
    // Makes the window application-modal, sends the modal-run event and runs the window's own
    // modal loop; returns its result.
    virtual int32_t runModal() = 0;
    virtual bool isModal() const = 0;
    virtual bool isTopmost() const = 0;
    virtual void setTopmost(bool topmost) = 0;
};

} // namespace mvk::gui::componentinterface
