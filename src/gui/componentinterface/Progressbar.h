#pragma once
#include "gui/componentinterface/Interface.h"

namespace mvk::gui::componentinterface {

class Progressbar : public Interface {
public:
    // The progress as a fraction, 1.0 being complete.
    virtual double getProgress() const = 0;
    virtual void setProgress(double progress) = 0;
};

} // namespace mvk::gui::componentinterface
