#pragma once
#include "gui/componentinterface/List.h"

namespace mvk::gui::componentinterface {

// A frame around a vertical box.
class Border : public Box {
public:
    virtual FrameStyle getStyle() const = 0;
    virtual void setStyle(FrameStyle style) = 0;
};

} // namespace mvk::gui::componentinterface
