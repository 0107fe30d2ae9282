#pragma once
#include "gui/componentinterface/Interface.h"

#include <string>

namespace mvk::gui::componentinterface {

class TextBox : public Interface {
public:
    virtual std::string getText() const = 0;
    virtual void setText(const std::string& text) = 0;
};

} // namespace mvk::gui::componentinterface
