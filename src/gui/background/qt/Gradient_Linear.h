#pragma once
#include "gui/background/Gradient_Linear.h"

class QLinearGradient;

namespace mvk::gui::background::qt {

class Gradient_Linear : public background::Gradient_Linear {
public:
    using background::Gradient_Linear::Gradient_Linear;
    void paint(Component* component) override;
    // The gradient exactly as painted.
    QLinearGradient gradient() const;
};

} // namespace mvk::gui::background::qt
