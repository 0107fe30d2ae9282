#pragma once
#include "gui/componentinterface/Box.h"

namespace mvk::gui::componentinterface {

// Frame styles of "list", "border" and "label".
enum class FrameStyle { Normal, None, Thin, Sunken, Raised };

class List : public Box {
public:
    virtual FrameStyle getStyle() const = 0;
    virtual void setStyle(FrameStyle style) = 0;
    virtual void setVertical(bool vertical) = 0;
    virtual bool isVertical() const = 0;
};

} // namespace mvk::gui::componentinterface
