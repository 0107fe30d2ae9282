#pragma once
#include "gui/background/Color.h"

namespace mvk::gui::background::qt {

class Color : public background::Color {
public:
    using background::Color::Color;
    void paint(Component* component) override;
};

} // namespace mvk::gui::background::qt
